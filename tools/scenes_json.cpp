// The screenshot scenes as JSON, for the page's tour (tools/web-screenshots.cjs): each
// scene's name, tab, texts, button, scroll values and planner steps, UTF-8 on stdout.
#include "common/numtext.h"
#include "tools/scenes.h"

#include <cstdio>
#include <string>

namespace {

using namespace korvane;

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (char c : text)
        out += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
    return out + '"';
}

template <typename Entries> std::string pairs(const Entries &entries)
{
    std::string out = "[";
    for (const auto &[name, value] : entries) {
        out += (out.size() > 1 ? ",[" : "[") + quoted(name) + ',';
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, int>)
            out += std::to_string(value) + ']';
        else
            out += quoted(toUtf8(value)) + ']';
    }
    return out + ']';
}

} // namespace

int main()
{
    std::string out = "[";
    for (const tour::Scene &scene : tour::Scenes)
        out += std::string(out.size() > 1 ? "," : "") + "{\"name\":" + quoted(scene.name) +
               ",\"tab\":" + std::to_string(scene.tab) + ",\"entries\":" + pairs(scene.entries) +
               ",\"button\":" + quoted(scene.button) + ",\"scrolls\":" + pairs(scene.scrolls) +
               ",\"planner\":" + pairs(scene.planner) +
               ",\"plannerRow\":" + quoted(scene.plannerRow) +
               ",\"plannerClick\":" + quoted(scene.plannerClick) + '}';
    std::fputs((out + "]\n").c_str(), stdout);
    return 0;
}
