#pragma once

// The page's windows in headless Chromium, for the tests, and those windows as the shared
// checks probe them: each request carried out on the page by the probe of probe.mjs with
// real input, every error box read and answered with OK there. What the windows show is read
// at once after an action and answered from until the next. The probe is started once for
// the whole test program; each test starts on a freshly loaded page.

#include "app/mainwindow.h"
#include "common/numtext.h"
#include "imposition/plannerwindow.h"
#include "tests/cases/windowprobe.h"
#include "tests/web/channel.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace korvane::web {

class PageTest : public ::testing::Test, public test::WindowProbe
{
protected:
    void SetUp() override { restart(); }
    void TearDown() override
    {
        EXPECT_EQ(std::exchange(m_pageErrors, {}), "") << "what the page reported of itself";
    }

    static std::unique_ptr<Channel> &probe()
    {
        static std::unique_ptr<Channel> channel;
        return channel;
    }
    // The probe's answer to `request`; its boxes kept for boxes(), what the page reported of
    // itself kept for the test. Throws, failing the test, where the request could not be done.
    Json call(const Request &request)
    {
        if (!probe() || !probe()->alive()) {
            const char *page = std::getenv("KORVANE_WEB_PAGE");
            probe() = std::make_unique<Channel>(KORVANE_WEB_PROBE,
                                                page ? page : KORVANE_WEB_DEFAULT_PAGE);
        }
        Json answer = probe()->ask(request);
        for (const Json &box : answer["boxes"].items())
            m_boxes.push_back({box["title"].text(), box["text"].text(), box["stopAndOk"].boolean(),
                               std::int64_t(box["afterMs"].number())});
        for (const Json &error : answer["pageErrors"].items())
            m_pageErrors += toUtf8(error.text()) + "\n";
        if (answer.has("error"))
            throw std::runtime_error(toUtf8(answer["error"].text()));
        return answer;
    }
    Json act(const Request &request)
    {
        m_state.reset();
        return call(request);
    }
    static Request about(std::string_view op, ControlName control)
    {
        return Request(op)("window", test::windowOf(control).name)("control", control);
    }
    const Json &state()
    {
        if (!m_state)
            m_state = call(Request("state"));
        return *m_state;
    }
    // The command `id` of `window`, from its control's context menu.
    Json runIn(const WindowDescription &window, std::string_view id, Request request)
    {
        for (const Tab &tab : window.tabs)
            for (const Command &command : tab.panel->commands)
                if (command.id == id)
                    return act(
                        request("window", window.name)("control", command.menuOf)("command", id));
        throw std::logic_error("no command " + std::string(id));
    }

    void restart() override
    {
        m_boxes.clear();
        act(Request("restart"));
    }
    void clickAt(ControlName control, int tab) override
    {
        act(about("click", control)("tab", tab));
    }
    void focus(ControlName control) override { act(about("focus", control)); }
    void key(const test::Key &key) override
    {
        static constexpr const char *Codes[] = {"Tab",  "Enter", "Up",       "Down",
                                                "Left", "Right", "PageUp",   "PageDown",
                                                "Home", "End",   "Character"};
        act(Request("key")("code", Codes[int(key.code)])("character",
                                                         std::u16string(1, key.character))(
            "shift", key.shift)("control", key.control)("alt", key.alt));
    }
    void enterText(ControlName control, std::u16string_view text, bool pasted) override
    {
        act(about("enter", control)("text", text)("pasted", pasted));
    }
    void pick(ControlName list, int item) override { act(about("pick", list)("item", item)); }
    void scroll(ControlName bar, ScrollRequest request, int thumb) override
    {
        static constexpr const char *Requests[] = {"LineUp",   "LineDown",      "PageUp",
                                                   "PageDown", "ThumbReleased", "ThumbDragged",
                                                   "Top",      "Bottom"};
        act(about("scroll", bar)("request", Requests[int(request)])("thumb", thumb));
    }
    void run(std::string_view command) override { runIn(mainWindow, command, Request("run")); }
    void close(const WindowDescription &window) override
    {
        act(Request("close")("window", window.name));
    }

    test::Shown shown(ControlName control) override
    {
        const Json &s = state()["controls"][test::windowOf(control).name][control];
        if (s.isNull())
            return {};
        return {s["text"].text(), s["value"].integer(), s["enabled"].boolean(),
                s["selected"].text(), std::uint32_t(s["background"].number())};
    }
    std::string focused() override { return state()["focused"].ascii(); }
    int frontPanel() override { return state()["front"].integer(); }
    bool panelsShown() override { return state()["panelsShown"].boolean(); }
    test::Spoken heard(ControlName control) override
    {
        const Json answer = call(about("heard", control));
        test::Spoken spoken{{}, answer["description"].text()};
        for (const Json &name : answer["names"].items())
            spoken.names.push_back(name.text());
        return spoken;
    }
    std::uint32_t colour(const Colour &colour) override
    {
        static constexpr const char *Roles[] = {"window", "window", "window-text", "highlight",
                                                "active-border"};
        if (colour.role == Colour::Role::Fixed)
            return std::uint32_t(colour.rgb.r << 16 | colour.rgb.g << 8 | colour.rgb.b);
        return std::uint32_t(
            call(Request("colour")("role", Roles[int(colour.role)]))["rgb"].number());
    }
    static test::Picture pictureOf(const Json &answer)
    {
        test::Picture picture{answer["width"].integer(), answer["height"].integer(), {}};
        const std::vector<std::uint8_t> rgb = fromBase64(answer["rgb"].text());
        for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
            picture.pixels.push_back(std::uint32_t(rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]));
        return picture;
    }
    // The canvas's backing store, or, `painted`, a screenshot of it.
    test::Picture picture(ControlName diagram, bool painted) override
    {
        return pictureOf(call(about("picture", diagram)("painted", painted)));
    }
    // The page at a pixel ratio of `wanted` / 96, as a browser zoomed or a screen of that
    // density gives it.
    int dpi(ControlName, int wanted) override
    {
        const Request request = Request("dpi")("wanted", wanted);
        return (wanted ? act(request) : call(request))["dpi"].integer();
    }
    std::vector<test::SeenBox> boxes() override { return std::exchange(m_boxes, {}); }
    std::vector<test::ShownWindow> windows() override
    {
        std::vector<test::ShownWindow> all;
        for (const Json &w : state()["windows"].items())
            all.push_back({w["caption"].text(), w["shown"].boolean(), w["owned"].boolean()});
        return all;
    }
    std::vector<Reading> readings(ControlName diagram, std::span<const ControlName> reads) override
    {
        const Json answer =
            call(Request("readings")("window", test::windowOf(diagram).name)("reads", reads));
        std::vector<Reading> readings;
        for (std::size_t i = 0; i < reads.size(); ++i) {
            const Json &r = answer["readings"].items().at(i);
            switch (test::rowOf(reads[i]).kind) {
            case ControlKind::Diagram:
                readings.push_back({{}, 0, {r["width"].integer(), r["height"].integer()}});
                break;
            case ControlKind::VScrollBar:
            case ControlKind::Option:
            case ControlKind::CheckBox:
                readings.push_back({{}, r["value"].integer()});
                break;
            default:
                readings.push_back({r["text"].text()});
            }
        }
        return readings;
    }
    // Kept in localStorage, as the page keeps them: the bytes a character each.
    void prepareSettings(std::string_view name, std::optional<std::string> bytes,
                         bool writable) override
    {
        Request request("settings");
        request("key", "korvane:" + std::string(name))("writable", writable);
        if (bytes) {
            std::u16string characters;
            for (const char byte : *bytes)
                characters += char16_t(static_cast<unsigned char>(byte));
            request("bytes", characters);
        } else
            request.null("bytes");
        act(request);
    }

    std::vector<test::SeenBox> m_boxes;
    std::string m_pageErrors;
    std::optional<Json> m_state;
};

} // namespace korvane::web
