// The page's window: the shared reactions over the page's controls. The page's script carries
// each event in through an export and does what the view asks through the imports below; texts
// cross as UTF-8 in this module's memory. Boxes are numbered by Input, the result box is 4.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app_info.h"
#include "colour_rule.h"
#include "control_table.h"
#include "reactions.h"
#include "rules.h"

#define IMPORT(name) __attribute__((import_module("page"), import_name(#name)))
#define EXPORT(name) extern "C" __attribute__((export_name(#name)))

extern "C" {
IMPORT(text) int PageText(int box, char* buffer, int capacity);  // the text's full length
IMPORT(set_text) void PageSetText(int box, const char* text, int length);
IMPORT(live_state) int PageLiveState();  // 0 unchecked, 1 checked, 2 greyed
IMPORT(show_edited) void PageShowEdited(int box);
IMPORT(has_focus) int PageHasFocus(int box);
IMPORT(focus) void PageFocus(int box);
IMPORT(schedule_delivery) void PageScheduleDelivery();
IMPORT(say) void PageSay(const char* words, int length, int urgent);
}

namespace quorvane {
namespace {

constexpr int kPowerBox = 4;

// Texts from the page and to it: the page writes into this, and the module writes its answers
// here for the page to read.
std::string exchange(1024, '\0');

std::string PageTextOf(int box) {
    std::string text(64, '\0');
    int length = PageText(box, text.data(), int(text.size()));
    if (length > int(text.size())) {
        text.resize(std::size_t(length));
        length = PageText(box, text.data(), length);
    }
    text.resize(std::size_t(length));
    return text;
}

class WebView final : public WindowView {
  public:
    Reactions* reactions = nullptr;

    std::string InputText(Input input) override { return PageTextOf(int(input)); }
    void SetPowerText(std::string_view text) override {
        PageSetText(kPowerBox, text.data(), int(text.size()));
    }
    std::string PowerText() override { return PageTextOf(kPowerBox); }
    LiveState LiveCalcState() override { return LiveState(PageLiveState()); }
    void EmptyInput(Input input) override {
        PageSetText(int(input), "", 0);
        reactions->TextChanged(input);  // a page's own change of a value raises no event
    }
    void ShowEdited(Input input) override { PageShowEdited(int(input)); }
    bool HasFocus(Input input) override { return PageHasFocus(int(input)) != 0; }
    void FocusInput(Input input) override { PageFocus(int(input)); }
    void ScheduleDelivery() override { PageScheduleDelivery(); }
    void Say(const std::string& words, bool urgent) override {
        PageSay(words.data(), int(words.size()), urgent);
    }
    // The page moves the focus back into the box; where it already is, a screen reader knows.
    void TellFocus(Input input) override {
        if (!HasFocus(input)) PageFocus(int(input));
    }
};

WebView view;
std::optional<Reactions> reactions;

Input InputOf(int box) { return Input(box); }

// The exchange's text up to the n-th unit separator (U+001F).
std::string_view Field(std::string_view text, int n) {
    for (; n > 0; --n) text.remove_prefix(std::min(text.find('\x1F') + 1, text.size()));
    return text.substr(0, text.find('\x1F'));
}

void AppendJson(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (std::uint8_t(c) >= 0x20) out += c;
    }
    out += '"';
}

const char* KindName(ControlKind kind) {
    constexpr std::array names = {"label", "textbox", "checkbox", "button", "picture", "line"};
    return names[std::size_t(kind)];
}

// One control as the page needs it: its place in twips, its texts (a box's default written in
// the user's notation), and what screen readers hear.
void AppendControl(std::string& out, const ControlEntry& c, const NumberFormat& format) {
    out += "{\"name\":";
    AppendJson(out, c.name);
    out += ",\"kind\":\"" + std::string(KindName(c.kind)) + "\",\"text\":";
    AppendJson(out, DefaultText(c, format));
    for (const auto& [key, value] : {std::pair{"left", c.left}, {"top", c.top},
                                     {"width", c.width}, {"height", c.height}, {"x2", c.x2},
                                     {"input", c.input ? int(*c.input) : -1},
                                     {"colour", c.colour ? int(*c.colour) : -1},
                                     {"readOnly", int(c.readOnly)}, {"checked", int(c.checked)}})
        out += ",\"" + std::string(key) + "\":" + std::to_string(value);
    for (const auto& [key, value] : {std::pair{"accessibleName", c.accessibleName},
                                     {"description", c.description}, {"caption", c.caption},
                                     {"resource", c.resource}}) {
        out += ",\"" + std::string(key) + "\":";
        AppendJson(out, value ? value : "");
    }
    out += '}';
}

}  // namespace
}  // namespace quorvane

using namespace quorvane;

// Where the page writes texts for the module and reads its answers.
EXPORT(exchange) char* Exchange(int capacity) {
    if (capacity > int(exchange.size())) exchange.resize(std::size_t(capacity));
    return exchange.data();
}

// The user's notation: decimal, group, minus and plus in the exchange, apart by U+001F.
EXPORT(start) void Start(int last, int middle, int leadingMax, int zero, int length) {
    const std::string_view texts(exchange.data(), std::size_t(length));
    NumberFormat format{.decimal = std::string(Field(texts, 0)),
                        .group = std::string(Field(texts, 1)),
                        .groupSizes = {last, middle, leadingMax},
                        .zero = char32_t(zero),
                        .minus = std::string(Field(texts, 2)),
                        .plus = std::string(Field(texts, 3))};
    reactions.emplace(view, std::move(format));
    view.reactions = &*reactions;
}

// The controls in the order the focus takes them, then the rest; the title. As JSON in the
// exchange; returns its length.
EXPORT(table) int Table() {
    std::string out = "{\"title\":";
    AppendJson(out, app::kDisplayName);
    out += ",\"width\":" + std::to_string(kClientWidth) +
           ",\"height\":" + std::to_string(kClientHeight) + ",\"controls\":[";
    std::vector<const ControlEntry*> controls = FocusOrder();
    for (const ControlEntry& entry : kControls)
        if (entry.tab < 0) controls.push_back(&entry);
    for (const ControlEntry* entry : controls) {
        AppendControl(out, *entry, reactions->Format());
        out += ',';
    }
    out.back() = ']';
    out += '}';
    Exchange(int(out.size()));
    out.copy(exchange.data(), out.size());
    return int(out.size());
}

EXPORT(load) void Load() { reactions->Load(); }
EXPORT(text_changed) void TextChanged(int box) { reactions->TextChanged(InputOf(box)); }
EXPORT(text_arriving) void TextArriving(int box) { reactions->TextArriving(InputOf(box)); }
EXPORT(enter_typed) void EnterTyped(int box) { reactions->EnterTyped(InputOf(box)); }
EXPORT(focus_left) void FocusLeft(int box) { reactions->FocusLeft(InputOf(box)); }
EXPORT(live_calc_clicked) void LiveCalcClicked() { reactions->LiveCalcClicked(); }
EXPORT(calculate_pressed) void CalculatePressed() { reactions->CalculatePressed(); }
EXPORT(deliver) void Deliver() { reactions->Deliver(); }
EXPORT(moving_focus) int MovingFocus() { return reactions->MovingFocus(); }

// The colour rule on 0x00BBGGRR words: the colour to draw text meant to be `wanted` in on
// `background`, given the page's face and field colours.
EXPORT(legible) int LegibleColour(int wanted, int background, int face, int field) {
    const bool light = LightWithWhiteFields(FromColourWord(std::uint32_t(face)),
                                            FromColourWord(std::uint32_t(field)));
    return int(ToColourWord(Legible(FromColourWord(std::uint32_t(wanted)),
                                    FromColourWord(std::uint32_t(background)), light)));
}
// The formula's ink, or with `paper` its paper, on the page's colours.
EXPORT(formula_ink) int FormulaInkOf(int face, int field, int text, int paper) {
    const Ink ink = FormulaInk(FromColourWord(std::uint32_t(face)),
                               FromColourWord(std::uint32_t(field)),
                               FromColourWord(std::uint32_t(text)));
    return int(ToColourWord(paper ? ink.paper : ink.ink));
}
