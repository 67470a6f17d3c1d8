// The window's reactions against a fake window: what each key, click and focus change does, in
// which order, and what screen readers are told; then the shared rules beside them, down to how
// screen readers count a box's text. Every front end runs on these.
#include "reactions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "colour_rule.h"
#include "reader_text.h"
#include "rules.h"

namespace quorvane {

void PrintTo(const Rgb& colour, std::ostream* out) {  // found by gtest beside Rgb
    *out << colour.red << "," << colour.green << "," << colour.blue;
}

namespace {

// A window as a toolkit would run it: the focus moving out of a box raises FocusLeft at once,
// nested; a text set by the program raises TextChanged, as Qt's and Win32's boxes do; a click on
// the check box toggles it first. Every request is logged in order.
class FakeWindow : public WindowView {
  public:
    Reactions reactions{*this, NumberFormat{}};
    std::map<std::string, std::string> texts = {
        {"H", "30"}, {"Q", "60"}, {"D", "997.01"}, {"E", "70"}, {"P", ""}};
    std::string focus = "H";
    LiveState live = LiveState::Checked;
    std::vector<std::string> log;
    bool scheduled = false;

    std::string Text(const ControlEntry& c) override { return texts[c.name]; }
    void SetText(const ControlEntry& c, std::string_view text) override {
        log.push_back(std::string(c.name) + "=" + std::string(text));
        Edit(c.name, std::string(text));
    }
    LiveState Checked(const ControlEntry&) override { return live; }
    void Recolour(const ControlEntry& c) override {
        if (reactions.Colour(c) == kBlue) log.push_back("blue " + std::string(c.name));
    }
    bool HasFocus(const ControlEntry& c) override { return focus == c.name; }
    void Focus(const ControlEntry& c) override {
        log.push_back("focus " + std::string(c.name));
        MoveFocus(c.name);
    }
    void ScheduleDelivery() override { scheduled = true; }
    void Say(const std::string& words, bool urgent) override {
        log.push_back((urgent ? "say! " : "say ") + words);
    }
    void TellFocus(const ControlEntry& c) override { log.push_back("tell " + std::string(c.name)); }

    static const ControlEntry& RowOf(const std::string& name) {
        for (const ControlEntry& entry : kControls)
            if (name == entry.name) return entry;
        TableMistake("no such control");  // the WebAssembly build has no exceptions
    }
    void Edit(const std::string& name, const std::string& text) {
        if (texts[name] == text) return;
        texts[name] = text;
        reactions.TextChanged(RowOf(name));
    }
    void MoveFocus(const std::string& to) {
        const std::string from = std::exchange(focus, to);
        if (from != to) reactions.FocusLeft(RowOf(from), &RowOf(to));
    }
    // A click on a control: a press that moves the focus there, if it takes it; then its
    // release, on which the control acts, even where the focus was put back meanwhile.
    void Press(const std::string& name) {
        reactions.PressBegun();
        if (TakesFocus(&RowOf(name))) MoveFocus(name);
    }
    void Release(const std::string& name, bool cancelled = false) {
        if (!cancelled && name == "LiveCalc") {
            live = live == LiveState::Unchecked ? LiveState::Checked : LiveState::Unchecked;
            reactions.Clicked(RowOf(name));
        } else if (!cancelled && name == "Command1") {
            reactions.Clicked(RowOf(name));
        }
        reactions.PressEnded();
    }
    // Steps: @Name clicks; vName presses and ^Name releases, xName cancels the press; =text
    // replaces the focused box's text; Enter, Alt+C; Tab; off and grey set the check box;
    // !Etext is a screen reader's edit of box E. What screen readers are told goes out after
    // each step, as after each event, unless the step starts with ~.
    void Perform(const std::string& steps) {
        std::istringstream words(steps);
        for (std::string step; words >> step;) {
            log.clear();
            const bool deliver = step[0] != '~';
            if (!deliver) step.erase(0, 1);
            const std::string name = step.substr(1);
            if (step[0] == '@') {
                Press(name), Release(name);
            } else if (step[0] == 'v') {
                Press(name);
            } else if (step[0] == '^' || step[0] == 'x') {
                Release(name, step[0] == 'x');
            } else if (step[0] == '=') {
                Edit(focus, name);
            } else if (step[0] == '!') {
                reactions.TextArriving(RowOf(step.substr(1, 1)));
                Edit(step.substr(1, 1), step.substr(2));
            } else if (step == "Enter" || step == "Alt+C") {
                reactions.KeyPressed(RowOf(focus), step == "Enter" ? Key::Enter : Key::AccessKey);
            } else if (step == "Tab") {
                MoveFocus(NextInFocusOrder());
            } else {
                live = step == "off" ? LiveState::Unchecked : LiveState::Greyed;
            }
            if (deliver && std::exchange(scheduled, false)) reactions.Deliver();
        }
    }
    std::string NextInFocusOrder() const {
        const auto order = FocusOrder();
        for (std::size_t i = 0; i < order.size(); ++i)
            if (focus == order[i]->name) return order[(i + 1) % order.size()]->name;
        return "?";
    }
};

std::string Joined(const std::vector<std::string>& items, const char* prefix = "") {
    std::string joined;
    for (const std::string& item : items) {
        if (!item.starts_with(prefix)) continue;
        if (!joined.empty()) joined += " | ";
        joined += item;
    }
    return joined;
}

struct ReactionRow {
    const char* steps;
    const char* power;            // the result afterwards
    const char* focus;            // where the focus is
    const char* efficiency;       // E's text
    const char* told;             // what screen readers were told in the last step ("say", "tell")
    const char* order = nullptr;  // every request of the last step, in order; null: not checked
};

#define REFUSED                                                                            \
    "tell E | say! Pump Efficiency above 100 refused. Power empty. The cursor is in Pump " \
    "Efficiency, now empty."

void PrintTo(const ReactionRow& row, std::ostream* out) {
    *out << '"' << row.steps << '"';
}

class ReactionsTest : public testing::TestWithParam<ReactionRow> {};

TEST_P(ReactionsTest, Row) {
    const ReactionRow& row = GetParam();
    FakeWindow window;
    window.reactions.Load();
    window.Perform(row.steps);
    EXPECT_EQ(window.texts["P"], row.power);
    EXPECT_EQ(window.focus, row.focus);
    EXPECT_EQ(window.texts["E"], row.efficiency);
    std::vector<std::string> told;
    for (const std::string& entry : window.log)
        if (entry.starts_with("say") || entry.starts_with("tell")) told.push_back(entry);
    EXPECT_EQ(Joined(told), row.told);
    if (row.order) {
        EXPECT_EQ(Joined(window.log), row.order);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, ReactionsTest, testing::Values(
    ReactionRow{"", "6.983", "H", "70", ""},
    ReactionRow{"=31", "6.983", "H", "70", "", "blue H"},
    ReactionRow{"@Q =120 Enter", "13.967", "Q", "70", "say Power 13.967 kilowatts"},
    ReactionRow{"@Q =120 Tab", "13.967", "D", "70", "say Power 13.967 kilowatts"},
    ReactionRow{"@Q =120 @D", "13.967", "D", "70", "say Power 13.967 kilowatts"},
    ReactionRow{"@H Tab", "6.983", "Q", "70", ""},  // unchanged, not said again
    ReactionRow{"@H Enter", "6.983", "H", "70", "say Power 6.983 kilowatts"},
    ReactionRow{"grey @Q =120 Enter", "13.967", "Q", "70", "say Power 13.967 kilowatts"},
    ReactionRow{"off @H Enter", "", "H", "70", "say Power empty"},
    ReactionRow{"off @Q =120 @Command1", "13.967", "Command1", "70", "say Power 13.967 kilowatts"},
    ReactionRow{"@LiveCalc", "", "LiveCalc", "70", "say Power empty"},
    ReactionRow{"@E =100 Enter", "4.888", "E", "100", "say Power 4.888 kilowatts"},
    ReactionRow{"@E =-70 Enter", "-6.983", "E", "-70", "say Power -6.983 kilowatts"},
    ReactionRow{"@E =abc Tab", "", "P", "abc", "say Power empty"},
    // A refusal: E emptied (and so blue) before the recalculation, the focus put back at once,
    // then screen readers told where the focus is and why, the refusal urgent.
    ReactionRow{"@E =150 Enter", "", "E", "", REFUSED,
        "E= | blue E | focus E | P= | " REFUSED},
    ReactionRow{"@E =100.01 Tab", "", "E", "", REFUSED},
    // The click that left a refused E still acts, and its "Power empty" is not said over the
    // refusal, which said it.
    ReactionRow{"@E =150 @LiveCalc", "", "E", "", REFUSED,
        "E= | blue E | focus E | P= | P= | " REFUSED},
    ReactionRow{"@E =150 @Command1", "", "E", "", REFUSED,
        "E= | blue E | focus E | P= | P= | " REFUSED},
    ReactionRow{"@E =150 Tab Tab", "", "P", "", ""},
    ReactionRow{"@E =150 Tab =90 Tab", "5.431", "P", "90", "say Power 5.431 kilowatts"},
    // A screen reader's edit is typing: the box takes the focus, the box left reacts.
    ReactionRow{"@Q =120 !E150 Tab", "", "E", "", REFUSED},
    ReactionRow{"@Q =120 !E150", "13.967", "E", "150", "say Power 13.967 kilowatts"},
    // A press held before its release: nothing is said until it ends, so that "Power empty"
    // never follows a refusal nor cuts it off.
    ReactionRow{"@E =150 vLiveCalc", "", "E", "", ""},
    ReactionRow{"@E =150 vLiveCalc ^LiveCalc", "", "E", "", REFUSED},
    ReactionRow{"@E =150 vCommand1 xCommand1", "", "E", "", REFUSED},
    ReactionRow{"@E =150 Alt+C", "", "E", "", REFUSED,
        "focus Command1 | E= | blue E | focus E | P= | P= | " REFUSED},
    // A click on a place that takes no focus leaves it in the box, which does not react yet.
    ReactionRow{"@Q =120 @Label3", "6.983", "Q", "70", ""},
    ReactionRow{"@Q =120 @Image1 Enter", "13.967", "Q", "70", "say Power 13.967 kilowatts"},
    // The refusal's own move of the focus leaves no other box; once the user has moved on, the
    // focus is not told again.
    ReactionRow{"@E =150 @Q", "", "E", "", REFUSED, "E= | blue E | focus E | P= | " REFUSED},
    ReactionRow{"@E =150 ~Tab @Q", "", "Q", "",
        "say! Pump Efficiency above 100 refused. Power empty. The cursor is in Pump "
        "Efficiency, now empty."}));
// clang-format on

// What each key means in each control, given where the caret is.
struct KeyRow {
    const char* control;
    Key key;
    Caret caret;
    KeyAction action;
};

void PrintTo(const KeyRow& row, std::ostream* out) {
    *out << "key " << int(row.key) << " in " << row.control << ", cursor " << row.caret.cursor;
}

class KeyTest : public testing::TestWithParam<KeyRow> {};

TEST_P(KeyTest, Row) {
    FakeWindow window;
    window.reactions.Load();
    EXPECT_EQ(window.reactions.KeyPressed(FakeWindow::RowOf(GetParam().control), GetParam().key,
                                          GetParam().caret),
              GetParam().action);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, KeyTest, testing::Values(
    KeyRow{"Q", Key::Enter, {}, {}},  // left to the box
    KeyRow{"Command1", Key::Enter, {}, {.swallow = true}},
    KeyRow{"Q", Key::Escape, {}, {.swallow = true}},
    KeyRow{"Q", Key::KeypadDecimal, {2, 2, 2, 2}, {true, TextSpan{2, 2}, "."}},
    KeyRow{"Q", Key::KeypadDecimal, {6, 1, 4, 1}, {true, TextSpan{1, 4}, "."}},
    KeyRow{"P", Key::KeypadDecimal, {5, 5, 5, 5}, {}},
    // A box holds one number: a word key deletes the selection, else all before or after.
    KeyRow{"D", Key::WordBack, {6, 3, 3, 3}, {true, TextSpan{0, 3}}},
    KeyRow{"D", Key::WordForward, {6, 3, 3, 3}, {true, TextSpan{3, 6}}},
    KeyRow{"D", Key::WordBack, {6, 4, 1, 4}, {true, TextSpan{1, 4}}},
    KeyRow{"D", Key::WordForward, {6, 1, 4, 1}, {true, TextSpan{1, 4}}},
    KeyRow{"H", Key::WordBack, {2, 0, 0, 0}, {.swallow = true}},  // "|30": nothing
    KeyRow{"D", Key::WordForward, {6, 6, 6, 6}, {.swallow = true}},
    KeyRow{"P", Key::WordBack, {5, 5, 5, 5}, {.swallow = true}},
    KeyRow{"P", Key::Copy, {5, 5, 5, 5}, {.swallow = true, .copy = "6.983"}},
    KeyRow{"P", Key::Copy, {5, 3, 1, 3}, {}},  // a selection is copied as it is
    KeyRow{"Q", Key::Copy, {2, 2, 2, 2}, {}}));
// clang-format on

// A box's text as screen readers count it: code points for UTF-16 units and back, the one word,
// where a long line is cut into pieces, and what a query at an offset answers. Each row: a text,
// what is asked, what comes back.
struct ReaderRow {
    const char* name;
    std::u16string text;
    std::string query;  // "units N", "points N", "word", "pieces"; "position N", "snapped N",
                        // "at|before|after N c|w|a" (character, word, all), the cursor at 2
    std::vector<int> answer;
};

void PrintTo(const ReaderRow& row, std::ostream* out) {
    *out << row.name;
}

std::vector<int> Ask(const ReaderRow& row) {
    std::istringstream words(row.query);
    std::string what, unit;
    int n = 0;
    words >> what >> n >> unit;
    const ReaderIndex index(row.text);
    const ReaderQuery query(row.text, index, 2, [&row](int at) {  // a character: a code point
        const bool pair =
            at + 1 < int(row.text.size()) && row.text[at] >= 0xD800 && row.text[at] < 0xDC00;
        return UnitSpan{at, at + (pair ? 2 : 1)};
    });
    const ReaderUnit asked = unit == "c"   ? ReaderUnit::Character
                             : unit == "w" ? ReaderUnit::Word
                                           : ReaderUnit::All;
    const auto span = [](UnitSpan s) { return std::vector<int>{s.start, s.end}; };
    if (what == "units") return {index.Units(n)};
    if (what == "points") return {index.Points(n)};
    if (what == "word") return span(WordSpan(row.text));
    if (what == "position") return {query.Position(n)};
    if (what == "snapped") return {query.Snapped(n)};
    if (what == "at") return span(query.At(query.Position(n), asked));
    if (what == "before") return span(query.Before(query.Position(n), asked));
    if (what == "after") return span(query.After(query.Position(n), asked));
    return PieceStarts(row.text);
}

std::u16string Times(std::u16string_view text, int count) {
    std::u16string repeated;
    for (int k = 0; k < count; ++k) repeated += text;
    return repeated;
}

class ReaderTextTest : public testing::TestWithParam<ReaderRow> {};

TEST_P(ReaderTextTest, Row) {
    EXPECT_EQ(Ask(GetParam()), GetParam().answer);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, ReaderTextTest, testing::Values(
    ReaderRow{"plain units", u"997.01", "units 3", {3}},
    ReaderRow{"second pair starts at unit 2", u"𝟑𝟎", "units 1", {2}},
    ReaderRow{"past the end is the end", u"𝟑𝟎", "units 9", {4}},
    ReaderRow{"after one pair, one character", u"𝟑𝟎", "points 2", {1}},
    ReaderRow{"both pairs", u"𝟑𝟎", "points 4", {2}},
    ReaderRow{"none stays none", u"𝟑𝟎", "points -1", {-1}},
    ReaderRow{"Adlam after a digit", u"1𞥓𞥐", "points 3", {2}},
    ReaderRow{"an exponent is one word", u"-6.5E+3", "word", {0, 7}},
    ReaderRow{"a group blank inside the word", u"1 000.5", "word", {0, 7}},
    ReaderRow{"blanks around are no word", u" 30\u00A0", "word", {1, 3}},
    ReaderRow{"only blanks", u"  ", "word", {2, 2}},
    ReaderRow{"-1 is the end", u"997.01", "position -1", {6}},
    ReaderRow{"-2 is the cursor", u"997.01", "position -2", {2}},
    ReaderRow{"other negative offsets are none", u"997.01", "position -5", {-1}},
    ReaderRow{"snapped into the text", u"997.01", "snapped 9", {6}},
    ReaderRow{"none snaps to the start", u"997.01", "snapped -5", {0}},
    ReaderRow{"a character", u"997.01", "at 5 c", {5, 6}},
    ReaderRow{"no character at the end", u"997.01", "at 6 c", {6, 6}},
    ReaderRow{"the word past the end", u"997.01", "at 99 w", {0, 6}},
    ReaderRow{"all of it", u"997.01", "at 3 a", {0, 6}},
    ReaderRow{"none at no offset", u"997.01", "at -5 c", {-1, -1}},
    ReaderRow{"the character before the end", u"997.01", "before -1 c", {5, 6}},
    ReaderRow{"no word before", u" 30 ", "before 3 w", {0, 0}},
    ReaderRow{"the pair after", u"𝟑𝟎", "after 0 c", {2, 4}},
    ReaderRow{"no word after", u"-6.5E+3", "after 0 w", {7, 7}},
    ReaderRow{"a short line is one piece", u"997.01", "pieces", {0, 6}},
    ReaderRow{"no blank: every 1024", Times(u"7", 3000), "pieces", {0, 1024, 2048, 3000}},
    ReaderRow{"just after a blank", Times(u"12 3 ", 300), "pieces", {0, 1023, 1500}},
    ReaderRow{"never inside a pair", u"1" + Times(u"𝟑", 1500), "pieces", {0, 1023, 2047, 3001}}));
// clang-format on

// The fit to the screen: the font shrinks while the window is too large, to 7 pt and no further,
// in points or in whole pixels; at the smallest font the window is still made to fit. A font
// here needs size / 9 of the table in points, size / 12 in pixels.
struct FitRow {
    double fits;
    FontSize font, shrunk;
    double factor, dpi = 96;
};

void PrintTo(const FitRow& row, std::ostream* out) {
    *out << row.font.points << " pt, " << row.font.pixels << " px where " << row.fits << " fits";
}

class FitTest : public testing::TestWithParam<FitRow> {};

TEST_P(FitTest, Row) {
    const FitRow& row = GetParam();
    FontSize font = row.font;
    const double factor = FitToScreen(
        row.fits,
        [&] { return std::max(1.0, font.points > 0 ? font.points / 9 : font.pixels / 12.0); },
        [&] { return ShrinkFont(font, row.dpi); });
    EXPECT_DOUBLE_EQ(factor, row.factor);
    EXPECT_DOUBLE_EQ(font.points, row.shrunk.points);
    EXPECT_EQ(font.pixels, row.shrunk.pixels);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, FitTest, testing::Values(
    FitRow{2.0, {9, 0}, {9, 0}, 1.0},  // fits as it is
    FitRow{2.0, {18, 0}, {18, 0}, 2.0},
    FitRow{1.5, {18, 0}, {13.5, 0}, 1.5},  // shrunk to fit
    FitRow{0.8, {18, 0}, {7, 0}, 0.8},     // at 7 pt, still fitted
    FitRow{0.8, {7.2, 0}, {7, 0}, 0.8},
    FitRow{0.5, {0, 14}, {0, 10}, 0.5},    // 7 pt is 9.33 px: 10 is the smallest
    FitRow{0.5, {0, 18}, {0, 14}, 0.5, 144}));
// clang-format on

TEST(Rules, FittingFactorOfAScreen) {
    EXPECT_DOUBLE_EQ(FittingFactor(466, 1000), 466 * 15.0 / 6990);
    EXPECT_DOUBLE_EQ(FittingFactor(2000, 252), 252 * 15.0 / 3780);
    EXPECT_DOUBLE_EQ(FittingFactor(699, 1000, 1.5), 1.0);
}

TEST(Rules, FocusOrderOfTheTable) {
    std::string names;
    for (const ControlEntry* entry : FocusOrder()) names += std::string(entry->name) + " ";
    EXPECT_EQ(names, "H Q D E P Command1 LiveCalc ");
    names.clear();
    for (const ControlEntry* entry : CreationOrder()) names += std::string(entry->name) + " ";
    EXPECT_EQ(names.substr(0, 62),
              "Label1 H Label3 Q Label5 D Label7 E Label9 P Command1 LiveCalc");
}

TEST(Rules, DefaultTextsInTheUsersNotation) {
    const NumberFormat german{.decimal = ",", .group = "."};
    EXPECT_EQ(DefaultText(Row("D"), german), "997,01");
    EXPECT_EQ(DefaultText(Row("H"), german), "30");
    EXPECT_EQ(DefaultText(Row("P"), german), "");
    EXPECT_EQ(DefaultText(Row("LiveCalc"), german), "Perform Live Calculations");
    const NumberFormat arabic{.decimal = "\u066B", .group = "\u066C", .zero = U'\u0660'};
    EXPECT_EQ(DefaultText(Row("D"), arabic), "\u0669\u0669\u0667\u066B\u0660\u0661");
}

// The colour words on each background, the light ones included: each as it is where it has
// 4.5:1, else the nearest of its hue that has.
struct LegibleRow {
    Rgb background, red, blue, purple, green;
};

void PrintTo(const LegibleRow& row, std::ostream* out) {
    *out << "on ";
    PrintTo(row.background, out);
}

class LegibleTest : public testing::TestWithParam<LegibleRow> {};

TEST_P(LegibleTest, Row) {
    const LegibleRow& row = GetParam();
    const std::uint32_t words[] = {kRed, kBlue, kPurple, kGreen};
    const Rgb expected[] = {row.red, row.blue, row.purple, row.green};
    for (int i = 0; i < 4; ++i) {
        const Rgb got = Legible(FromColourWord(words[i]), row.background);
        EXPECT_EQ(got, expected[i]) << i;
        EXPECT_GE(Contrast(got, row.background), 4.5) << i;
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, LegibleTest, testing::Values(
    LegibleRow{{255, 255, 255}, {238, 0, 0}, {0, 0, 255}, {128, 0, 128}, {0, 128, 0}},  // fields
    LegibleRow{{239, 239, 239}, {220, 0, 0}, {0, 0, 255}, {128, 0, 128}, {0, 126, 0}},  // Fusion
    LegibleRow{{240, 240, 240}, {220, 0, 0}, {0, 0, 255}, {128, 0, 128}, {0, 128, 0}},  // Windows
    LegibleRow{{245, 245, 245}, {226, 0, 0}, {0, 0, 255}, {128, 0, 128}, {0, 128, 0}},  // Wine
    LegibleRow{{0, 0, 0}, {255, 0, 0}, {95, 95, 255}, {206, 0, 206}, {0, 136, 0}}));
// clang-format on

TEST(Rules, FormulaInk) {
    const Rgb white{255, 255, 255}, black{}, grey{0xEF, 0xEF, 0xEF}, dark{0x22, 0x20, 0x20};
    EXPECT_EQ(FormulaInk(grey, white, black), kBlackOnWhite);
    EXPECT_EQ(FormulaInk(dark, dark, white), (Ink{white, dark}));
    EXPECT_EQ(FormulaInk(black, black, white), (Ink{white, black}));
    const Rgb silver{0xC0, 0xC0, 0xC0};
    EXPECT_EQ(FormulaInk(grey, silver, black), (Ink{black, grey}));  // the fields are not white
}

}  // namespace
}  // namespace quorvane
