// Fuzzes the layout planner: its arithmetic (plan(), paper(), the cutting and the quote), its
// window's handler from the same texts, and its settings read from the same bytes.
//
// Input: UTF-8 texts a line each, in the order the planner's events read them (its fields,
// then its lists); bytes that are no UTF-8 stand for themselves. Within a text, "{n}" repeats
// the character before it n more times, so that a short input can hold 100,000 digits. A last
// line "#e,o,w,h" picks the event, the option chosen and the diagram's size in twips. The
// whole input is also read as a settings file.
//
// Checked on every input:
//  - the arithmetic: every layout's blocks lie inside the usable area (its half, for turn and
//    tumble, the other half its mirror image) and do not overlap, and their products add up
//    to its ups; no layout holds more than the bound, and 最优 at least as many as every
//    other; the proof says "proven" exactly where 最优 meets the bound; a lock rules out what
//    it forbids; the paper and the quote agree with the ups, worked out again here; one call
//    takes well under a second;
//  - the window: its outcome names only its own controls; either the status line asks for a
//    field and every figure is "—", or exactly one enabled row is chosen, every row shows
//    what plan() gives and every method's row what quote() gives;
//  - the settings: what they set is what the window accepts, and a bad value is named once;
//    the window's own defaults read back as they were kept.

#include "common/numtext.h"
#include "fuzz/property.h"
#include "imposition/planner.h"
#include "imposition/plannerwindow.h"
#include "imposition/quote.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#define FUZZ_TARGET_NAME "planner"

namespace {

using namespace korvane;
using namespace korvane::planner;
using korvane::fuzz::g_input;

__extension__ typedef __int128 Wide;

const PanelTable &panel()
{
    return *plannerWindow.tabs.front().panel;
}

// The texts of the input, UTF-16, with the repeats expanded.
std::vector<std::u16string> textsOf(const std::uint8_t *data, std::size_t size)
{
    std::vector<std::u16string> texts(1);
    for (std::size_t i = 0; i < size;) {
        const std::uint8_t b = data[i];
        if (b == '\n') {
            texts.emplace_back();
            ++i;
            continue;
        }
        std::u16string &text = texts.back();
        if (b == '{' && !text.empty()) {
            std::size_t n = 0, j = i + 1;
            while (j < size && j < i + 7 && data[j] >= '0' && data[j] <= '9')
                n = n * 10 + (data[j++] - '0');
            if (j < size && data[j] == '}' && j > i + 1) {
                text.append(std::min<std::size_t>(n, 200'000), text.back());
                i = j + 1;
                continue;
            }
        }
        // A lead byte and its continuation bytes, or the byte alone.
        const int length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        char32_t c = length == 1 ? b : b & (0x3F >> (length - 1));
        bool whole = i + std::size_t(length) <= size;
        for (int k = 1; whole && k < length; ++k) {
            whole = (data[i + std::size_t(k)] & 0xC0) == 0x80;
            c = (c << 6) | (data[i + std::size_t(k)] & 0x3F);
        }
        if (!whole || length == 1) {
            text.push_back(char16_t(b));
            ++i;
        } else if (c >= 0x10000) {
            text.push_back(char16_t(0xD800 + ((c - 0x10000) >> 10)));
            text.push_back(char16_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
            i += std::size_t(length);
        } else {
            text.push_back(char16_t(c));
            i += std::size_t(length);
        }
    }
    return texts;
}

// "#e,o,w,h": the event, the option chosen, the diagram's size.
struct Choice
{
    std::size_t event = 0;
    int option = -1;
    int width = 7410;
    int height = 5490;
};

Choice choiceOf(std::vector<std::u16string> &texts)
{
    Choice choice;
    if (texts.empty() || texts.back().empty() || texts.back().front() != u'#')
        return choice;
    const std::string line(texts.back().begin() + 1, texts.back().end());
    texts.pop_back();
    std::array<int, 4> values{0, -1, choice.width, choice.height};
    const char *at = line.data();
    const char *end = line.data() + line.size();
    for (int &value : values) {
        at = std::from_chars(at, end, value).ptr;
        if (at < end && *at == ',')
            ++at;
    }
    choice.event = std::size_t(std::max(values[0], 0)) % panel().events.size();
    choice.option = values[1] % 4;
    choice.width = std::clamp(values[2], 0, 100'000);
    choice.height = std::clamp(values[3], 0, 100'000);
    return choice;
}

// The texts by the controls the planner reads, in order; a control past the texts keeps the
// text its row starts with.
std::u16string textOf(const std::vector<std::u16string> &texts, ControlName control)
{
    const auto &reads = panel().events.front().reads;
    const auto at = std::size_t(std::find(reads.begin(), reads.end(), control) - reads.begin());
    return at < texts.size() ? texts[at] : std::u16string(findControl(panel(), control)->text);
}

// The planner's input as the texts give it, whatever the ranges: plan() must hold nothing for
// what is out of them. The order, the full sheet and the prices follow.
struct Parsed
{
    Input input;
    Order order;
    Cutting cutting;
    Prices prices;
    std::int64_t makeReady = 0;
};

Parsed parsedOf(const std::vector<std::u16string> &texts)
{
    const auto value = [&](ControlName control) {
        return parseHundredths(textOf(texts, control), 1'000'000'000'000'000).value_or(-1);
    };
    Parsed p;
    Input &in = p.input;
    in = {value("Text51"), value("Text52"), value("Text53"), value("Text54"),
          value("Text55"), value("Text56"), value("Text57"), value("Text58")};
    imposition::methodFromText(textOf(texts, "Combo53"), in.method);
    const std::u16string lock = textOf(texts, "Combo54");
    in.lock = lock == u"只横排"   ? Lock::HorizontalOnly
              : lock == u"只竖排" ? Lock::VerticalOnly
                                  : Lock::None;
    p.order = {value("Text59") / 100, value("Text60"), value("Text61")};
    const auto whole = [&](ControlName control) {
        const std::int64_t v = value(control);
        return v % 100 == 0 ? v / 100 : -1;
    };
    p.prices = {value("Text103"),      value("Text106"),      value("Text107"), value("Text108"),
                int(whole("Text104")), int(whole("Text105")), whole("Text109")};
    // The stock list: 自动, the four stocks, 自定义.
    constexpr std::u16string_view Items[] = {u"自动",       u"正度 787 × 1092", u"大度 889 × 1194",
                                             u"850 × 1168", u"880 × 1230",      u"自定义"};
    const auto item = std::find(std::begin(Items), std::end(Items), textOf(texts, "Combo101"));
    const int stock = item == std::end(Items) ? -1 : int(item - std::begin(Items)) - 1;
    if (stock < 0)
        p.cutting = bestCutting(in.sheet1, in.sheet2);
    else if (stock == 4)
        p.cutting =
            cuttingOf(CustomStock, value("Text101"), value("Text102"), in.sheet1, in.sheet2);
    else
        p.cutting =
            cuttingOf(stock, Stocks[stock].width, Stocks[stock].length, in.sheet1, in.sheet2);
    return p;
}

struct Rect
{
    Wide x0, y0, x1, y1;
};

// Every block's cells inside `area`, none overlapping.
void checkPacked(const std::vector<Rect> &cells, const Rect &area, const std::string &what)
{
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const Rect &p = cells[i];
        EXPECT_PROPERTY(p.x0 >= area.x0 && p.y0 >= area.y0 && p.x1 <= area.x1 && p.y1 <= area.y1,
                        what + " block " + std::to_string(i));
        for (std::size_t j = 0; j < i; ++j) {
            const Rect &q = cells[j];
            EXPECT_PROPERTY(p.x1 <= q.x0 || q.x1 <= p.x0 || p.y1 <= q.y0 || q.y1 <= p.y0,
                            what + " blocks " + std::to_string(j) + ", " + std::to_string(i));
        }
    }
}

void checkLayout(const Input &in, const Result &r, const Layout &layout, const std::string &what)
{
    const Sheet &s = r.sheet;
    std::vector<Rect> cells;
    Wide products = 0;
    for (const Box &b : layout.blocks) {
        EXPECT_PROPERTY(b.rows > 0 && b.cols > 0, what);
        const Length px = b.turned ? s.pitchWidth : s.pitchLength;
        const Length py = b.turned ? s.pitchLength : s.pitchWidth;
        const Wide x = b.x - in.bleed, y = b.y - in.bleed;
        cells.push_back({x, y, x + Wide(b.cols) * px, y + Wide(b.rows) * py});
        products += Wide(b.rows) * b.cols;
    }
    EXPECT_PROPERTY(products == layout.ups, what + " ups " + std::to_string(layout.ups));
    if (cells.size() > 3000) // thousands of blocks would make the pairs slow; none are seen
        return;
    const Rect area{s.usableLeft, s.usableTop, Wide(s.usableRight) + in.gap,
                    Wide(s.usableBottom) + in.gap};
    checkPacked(cells, area, what);
    if (in.method == imposition::Method::Sheetwise)
        return;
    // The first half in its half, the second its mirror image.
    const bool turn = in.method == imposition::Method::WorkAndTurn;
    const std::size_t half = cells.size() / 2;
    EXPECT_PROPERTY(cells.size() == 2 * half, what);
    for (std::size_t i = 0; i < half; ++i) {
        const Rect &c = cells[i], &m = cells[half + i];
        if (turn)
            EXPECT_PROPERTY(2 * c.x1 <= area.x0 + area.x1 && m.x0 == area.x0 + area.x1 - c.x1 &&
                                m.x1 == area.x0 + area.x1 - c.x0 && m.y0 == c.y0,
                            what + " turn mirror");
        else
            EXPECT_PROPERTY(2 * c.y1 <= area.y0 + area.y1 && m.y0 == area.y0 + area.y1 - c.y1 &&
                                m.y1 == area.y0 + area.y1 - c.y0 && m.x0 == c.x0,
                            what + " tumble mirror");
    }
}

// The paper of `ups` and its quote under `method`, worked out again here in wide integers.
void checkQuote(std::int64_t ups, imposition::Method method, const Parsed &p)
{
    const Order &o = p.order;
    const Cutting &c = p.cutting;
    const auto got = paper(ups, o, c);
    const bool inRange = ups > 0 && o.copies >= 1 && o.copies <= MaxCopies && o.allowance >= 0 &&
                         o.allowance <= MaxAllowance && o.grammage >= MinGrammage &&
                         o.grammage <= MaxGrammage && c.width >= MinSide && c.length <= MaxSide;
    EXPECT_PROPERTY(got.has_value() == inRange, "paper in range");
    if (!got)
        return;
    const Wide net = (Wide(o.copies) + ups - 1) / ups;
    const Wide extra = (net * o.allowance + 9999) / 10000;
    const Wide full = c.pieces > 0 ? (net + extra + c.pieces - 1) / c.pieces : 0;
    const Wide grams = full * c.width * c.length * o.grammage; // tenths of kg times 1e14
    EXPECT_PROPERTY(got->netSheets == net && got->allowanceSheets == extra &&
                        got->sheets == net + extra && got->fullSheets == full &&
                        got->weightTenthsKg ==
                            (2 * grams + Wide(100'000'000'000'000)) / Wide(200'000'000'000'000),
                    "paper of " + std::to_string(ups) + " ups");
    const auto q = quote(method, ups, o, c, p.prices);
    const Prices &r = p.prices;
    if (!q)
        return;
    EXPECT_PROPERTY(c.pieces > 0 && r.front >= 1 && r.back >= 0, "a quote of bad prices");
    const std::int64_t plates =
        method == imposition::Method::Sheetwise ? r.front + r.back : r.front;
    EXPECT_PROPERTY(q->plates == plates &&
                        (method == imposition::Method::Sheetwise || r.back == r.front),
                    "plates");
    const Wide sheets = net + extra + Wide(plates) * r.makeReadyPerPlate;
    EXPECT_PROPERTY(q->paper.sheets == sheets &&
                        q->paper.fullSheets == (sheets + c.pieces - 1) / c.pieces,
                    "quoted sheets");
    const Wide press = (2 * sheets * (r.front + r.back) * r.pressPerThousand + 1000) / 2000;
    EXPECT_PROPERTY(q->pressCost == std::max<Wide>(press, r.leastPress), "press time");
    EXPECT_PROPERTY(q->plateCost == plates * r.plate && q->pressCost >= r.leastPress &&
                        q->total == q->paperCost + q->plateCost + q->pressCost &&
                        q->perCopy == (200 * Wide(q->total) + o.copies) / (2 * Wide(o.copies)),
                    "quote sums");
}

// The sheet as the input says: sides ordered, cells of the product, its bleed and a gap; the
// gripper along a long edge (both for tumble), the margin along the others.
void checkSheet(const Input &in, const Sheet &s)
{
    const bool tumble = in.method == imposition::Method::WorkAndTumble;
    EXPECT_PROPERTY(s.width == std::min(in.sheet1, in.sheet2) &&
                        s.length == std::max(in.sheet1, in.sheet2) &&
                        s.trimWidth == std::min(in.product1, in.product2) &&
                        s.trimLength == std::max(in.product1, in.product2),
                    "sides");
    EXPECT_PROPERTY(s.pitchWidth == s.trimWidth + 2 * in.bleed + in.gap &&
                        s.pitchLength == s.trimLength + 2 * in.bleed + in.gap,
                    "cells");
    EXPECT_PROPERTY(s.usableLeft == in.margin && s.usableRight == s.length - in.margin &&
                        s.usableTop == (tumble ? in.gripper : in.margin) &&
                        s.usableBottom == s.width - in.gripper,
                    "usable area");
}

void checkPlan(const Parsed &p)
{
    const Input &in = p.input;
    const auto start = std::chrono::steady_clock::now();
    const Result r = plan(in);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // A few milliseconds in a release build; the sanitizers take ten times that at most.
    EXPECT_PROPERTY(seconds < 1.0, std::to_string(seconds) + " s");
    checkSheet(in, r.sheet);
    const Layout &best = r.layout(LayoutKind::Best);
    for (std::size_t k = 0; k < LayoutKinds; ++k) {
        const Layout &layout = r.layouts[k];
        checkLayout(in, r, layout, "layout " + std::to_string(k));
        EXPECT_PROPERTY(layout.ups <= best.ups, "best holds the most");
        EXPECT_PROPERTY(!layout.ruledOut || layout.blocks.empty(), "ruled out and laid out");
        checkQuote(layout.ups, in.method, p);
    }
    EXPECT_PROPERTY(r.layout(LayoutKind::Vertical).ruledOut == (in.lock == Lock::HorizontalOnly),
                    "lock");
    EXPECT_PROPERTY(r.layout(LayoutKind::Horizontal).ruledOut == (in.lock == Lock::VerticalOnly),
                    "lock");
    EXPECT_PROPERTY(r.layout(LayoutKind::Mixed).ruledOut == (in.lock != Lock::None), "lock");
    EXPECT_PROPERTY(in.lock == Lock::None || r.decisive == BoundKind::OnePlacement, "lock");
    EXPECT_PROPERTY(best.ups <= r.bound,
                    std::to_string(best.ups) + " > " + std::to_string(r.bound));
    EXPECT_PROPERTY((r.proof == Proof::Proven) == (best.ups == r.bound), "proof");
}

std::u16string captionOf(const Update &update, ControlName label)
{
    for (const SetCaption &caption : update.captions)
        if (caption.control == label)
            return caption.text;
    return u"(not set)";
}

void checkWindow(std::vector<std::u16string> texts, const Choice &choice)
{
    const Event &event = panel().events[choice.event];
    std::vector<Reading> readings;
    for (std::size_t i = 0; i < event.reads.size(); ++i) {
        const ControlRow &row = *findControl(panel(), event.reads[i]);
        Reading reading{std::u16string(row.text), 0, {choice.width, choice.height}};
        if (i < texts.size() && row.kind != ControlKind::Option)
            reading.text = texts[i];
        if (row.kind == ControlKind::Option)
            reading.value = int(i) - int(event.reads.size() - 5) == choice.option;
        readings.push_back(reading);
    }
    const Outcome outcome = event.handle(readings);
    const std::vector<std::string> problems = checkOutcome(panel(), outcome);
    EXPECT_PROPERTY(problems.empty(), problems.empty() ? "" : problems.front());
    EXPECT_PROPERTY(std::holds_alternative<Update>(outcome), "the planner asks in no box");
    const Update &update = std::get<Update>(outcome);
    const std::u16string status = captionOf(update, "Label86");
    constexpr ControlName Ups[] = {"Label61", "Label62", "Label63", "Label64"};
    if (status.starts_with(u"请输入")) {
        EXPECT_PROPERTY(status.ends_with(u"）"), "status line");
        for (const SetCaption &caption : update.captions)
            EXPECT_PROPERTY(caption.control == "Label86" || caption.text == u"—",
                            std::string(caption.control));
        EXPECT_PROPERTY(!update.document, "a document of bad inputs");
        return;
    }
    // Accepted: the texts were all in range, so the arithmetic sees the same input, with the
    // sides of a preset picked.
    const auto &reads = event.reads;
    for (const SetText &set : update.texts) {
        const auto at =
            std::size_t(std::find(reads.begin(), reads.end(), set.control) - reads.begin());
        if (at < 4) {
            while (texts.size() <= at)
                texts.push_back(std::u16string(findControl(panel(), reads[texts.size()])->text));
            texts[at] = set.text;
        }
    }
    const Parsed p = parsedOf(texts);
    EXPECT_PROPERTY(status == (p.cutting.pieces > 0 ? u"" : u"开版尺寸大于全张"), "status line");
    int chosen = 0;
    for (const SetOption &option : update.options)
        if (option.chosen) {
            ++chosen;
            EXPECT_PROPERTY(option.enabled, "a row chosen that cannot be");
        }
    EXPECT_PROPERTY(chosen == 1, "rows chosen: " + std::to_string(chosen));
    const Result r = plan(p.input);
    for (std::size_t k = 0; k < LayoutKinds; ++k) {
        const std::u16string ups = captionOf(update, Ups[k]);
        EXPECT_PROPERTY(ups == (r.layouts[k].ruledOut ? u"—" : formatCount(r.layouts[k].ups)),
                        "row " + std::to_string(k));
    }
    // Each method's row: its best layout's ups and total, or "—" where it cannot print.
    for (int m = 0; m < 3; ++m) {
        Input other = p.input;
        other.method = imposition::Method(m);
        const auto q = quote(other.method, plan(other).layout(LayoutKind::Best).ups, p.order,
                             p.cutting, p.prices);
        const std::u16string ups = captionOf(update, "Label" + std::to_string(101 + m));
        const std::u16string total = captionOf(update, "Label" + std::to_string(122 + m));
        EXPECT_PROPERTY(ups == (q ? formatCount(q->ups) : u"—") &&
                            total == (q ? formatFixed(q->total, 2) : u"—"),
                        "method " + std::to_string(m));
    }
    EXPECT_PROPERTY(update.document && !update.document->jobLine.empty(), "no document");
    for (const GridBlock &block : update.drawing->blocks)
        EXPECT_PROPERTY(block.rows >= 0 && block.cols >= 0 && block.cellWidth >= 0 &&
                            block.cellHeight >= 0,
                        "drawing");
}

// The input as a settings file: every text it sets is one the window takes, and a bad value
// is named, once. The window's own defaults then read back as kept.
void checkSettings(std::string_view bytes)
{
    const Update read = plannerWindow.settings->read(bytes);
    std::vector<Reading> readings;
    for (ControlName name : panel().events.front().reads) {
        const ControlRow &row = *findControl(panel(), name);
        Reading reading{std::u16string(row.text), 0, {row.rect.width, row.rect.height}};
        for (const SetText &set : read.texts)
            if (set.control == name)
                reading.text = set.text;
        readings.push_back(reading);
    }
    EXPECT_PROPERTY(read.captions.size() <= 1, "settings named twice");
    for (const SetCaption &caption : read.captions)
        EXPECT_PROPERTY(caption.control == "Label86" && caption.text.starts_with(u"设置文件中的"),
                        "settings message");
    const Event &keep = *std::find_if(panel().events.begin(), panel().events.end(),
                                      [](const Event &e) { return e.source == "Command101"; });
    const Update kept = std::get<Update>(keep.handle(readings));
    // The figures the settings gave are good ones: they are kept, and read back as they are.
    EXPECT_PROPERTY(kept.settings.has_value(), "settings the window refuses");
    const Update back = plannerWindow.settings->read(kept.settings->bytes);
    EXPECT_PROPERTY(back.captions.empty(), "defaults kept and refused");
    for (const SetText &set : read.texts)
        EXPECT_PROPERTY(std::find(back.texts.begin(), back.texts.end(), set) != back.texts.end(),
                        "a setting lost: " + std::string(set.control));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    g_input.assign(reinterpret_cast<const char *>(data), std::min<std::size_t>(size, 200));
    std::vector<std::u16string> texts = textsOf(data, size);
    const Choice choice = choiceOf(texts);
    const Parsed parsed = parsedOf(texts);
    checkPlan(parsed);
    checkWindow(std::move(texts), choice);
    checkSettings({reinterpret_cast<const char *>(data), size});
    return 0;
}
