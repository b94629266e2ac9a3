#include "common/settings.h"

#include "common/numtext.h"

namespace korvane {
namespace {

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

std::vector<ReadSetting> readSettings(std::string_view bytes)
{
    std::vector<ReadSetting> settings;
    while (!bytes.empty()) {
        const std::size_t end = std::min(bytes.find('\n'), bytes.size());
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        const auto value = fromUtf8(trimmed(line.substr(equals + 1)));
        bool known = false;
        for (const ReadSetting &setting : settings)
            known = known || setting.first == key;
        if (!key.empty() && !known)
            settings.push_back({std::string(key), value});
    }
    return settings;
}

std::string writeSettings(std::span<const Setting> settings)
{
    std::string bytes;
    for (const auto &[key, value] : settings)
        bytes += key + " = " + toUtf8(value) + "\n";
    return bytes;
}

std::u16string settingsFailure(std::u16string_view reason)
{
    return u"设置未能保存：" + std::u16string(reason);
}

} // namespace korvane
