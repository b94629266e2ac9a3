#pragma once

// Settings as a file keeps them: UTF-8 text, one `key = value` a line. Reading never fails:
// a line without "=" or a key twice (the first counts) is passed over, and a value that is
// no UTF-8 comes back as none, so a damaged or foreign file gives what can be read of it.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvane {

using Setting = std::pair<std::string, std::u16string>;
using ReadSetting = std::pair<std::string, std::optional<std::u16string>>;

// The settings in `bytes`, in file order: keys without the blanks around them, values
// likewise, as UTF-16.
std::vector<ReadSetting> readSettings(std::string_view bytes);

// The file of `settings`, a line each, in order.
std::string writeSettings(std::span<const Setting> settings);

// The caption of settings that could not be kept: the system's reason.
std::u16string settingsFailure(std::u16string_view reason);

} // namespace korvane
