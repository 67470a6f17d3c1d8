// The page's window: the shared reactions over the page's controls. The page's script carries
// each event in through an export, in the shared words, and does what the view asks through the
// imports below. Controls cross as their row in the table (RowIndex), -1 for none; texts cross
// as UTF-8 in this module's memory, longer answers as JSON in the exchange.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "colour_rule.h"
#include "control_table.h"
#include "reactions.h"
#include "rules.h"

#define IMPORT(name) __attribute__((import_module("page"), import_name(#name)))
#define EXPORT(name) extern "C" __attribute__((export_name(#name)))

extern "C" {
IMPORT(text) int PageText(std::size_t row);  // written into the exchange: its length
IMPORT(set_text) void PageSetText(std::size_t row, const char* text, int length);
IMPORT(checked) int PageChecked(std::size_t row);  // 0 unchecked, 1 checked, 2 greyed
IMPORT(recolour) void PageRecolour(std::size_t row);
IMPORT(has_focus) int PageHasFocus(std::size_t row);
IMPORT(focus) void PageFocus(std::size_t row);
IMPORT(schedule_delivery) void PageScheduleDelivery();
IMPORT(say) void PageSay(const char* words, int length, int urgent);
}

// A broken precondition inside the C++ library (an impossible length, memory run out) ends the
// module at once. The library's own handlers would first print why, through a printf that
// weighs a tenth of the module, to a standard error the page does not have.
[[noreturn]] void std::__libcpp_verbose_abort(const char*, ...) { __builtin_trap(); }
extern "C" [[noreturn]] void abort_message(const char*, ...) { __builtin_trap(); }

namespace quorvane {
namespace {

// Texts from the page and to it: the page writes into this, and the module writes its answers
// here for the page to read.
std::string exchange(1024, '\0');

const ControlEntry& At(int row) {
    return kControls[std::size_t(row)];
}

class WebView final : public WindowView {
  public:
    std::string Text(const ControlEntry& control) override {
        return exchange.substr(0, std::size_t(PageText(RowIndex(control))));
    }
    // A page's own change of a value raises no event: the reactions raise theirs.
    void SetText(const ControlEntry& control, std::string_view text) override {
        PageSetText(RowIndex(control), text.data(), int(text.size()));
    }
    LiveState Checked(const ControlEntry& control) override {
        return LiveState(PageChecked(RowIndex(control)));
    }
    void Recolour(const ControlEntry& control) override { PageRecolour(RowIndex(control)); }
    bool HasFocus(const ControlEntry& control) override {
        return PageHasFocus(RowIndex(control)) != 0;
    }
    void Focus(const ControlEntry& control) override { PageFocus(RowIndex(control)); }
    void ScheduleDelivery() override { PageScheduleDelivery(); }
    void Say(const std::string& words, bool urgent) override {
        PageSay(words.data(), int(words.size()), urgent);
    }
    // A page cannot have the focus told again: the refusal's words say where the cursor is.
    void TellFocus(const ControlEntry&) override {}
};

WebView view;
std::optional<Reactions> reactions;

// The exchange's text up to the n-th unit separator (U+001F).
std::string_view Field(std::string_view text, int n) {
    for (; n > 0; --n) text.remove_prefix(std::min(text.find('\x1F') + 1, text.size()));
    return text.substr(0, text.find('\x1F'));
}

std::string Json(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (std::uint8_t(c) >= 0x20) out += c;
    }
    return out + '"';
}

// An answer in the exchange for the page to read; its length.
int Answer(std::string out) {
    exchange = std::move(out);
    return int(exchange.size());
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
    reactions.emplace(view, NumberFormat{.decimal = std::string(Field(texts, 0)),
                                         .group = std::string(Field(texts, 1)),
                                         .groupSizes = {last, middle, leadingMax},
                                         .zero = char32_t(zero),
                                         .minus = std::string(Field(texts, 2)),
                                         .plus = std::string(Field(texts, 3))});
}

// The boxes' defaults in the user's notation; the focus starts at the first of the order; the
// worked example is on show.
EXPORT(load) void Load() {
    for (const ControlEntry& entry : kControls)
        if (entry.kind == ControlKind::TextBox)
            view.SetText(entry, DefaultText(entry, reactions->Format()));
    view.Focus(*FocusOrder().front());
    reactions->Load();
}
EXPORT(text_changed) void TextChanged(int row) {
    reactions->TextChanged(At(row));
}
EXPORT(text_arriving) void TextArriving(int row) {
    reactions->TextArriving(At(row));
}
EXPORT(focus_left) void FocusLeft(int from, int to) {
    reactions->FocusLeft(At(from), to < 0 ? nullptr : &At(to));
}
EXPORT(clicked) void Clicked(int row) {
    reactions->Clicked(At(row));
}
EXPORT(press_begun) void PressBegun() {
    reactions->PressBegun();
}
EXPORT(press_ended) void PressEnded() {
    reactions->PressEnded();
}
EXPORT(deliver) void Deliver() {
    reactions->Deliver();
}
EXPORT(takes_focus) int TakesFocusAt(int row) {
    return TakesFocus(row < 0 ? nullptr : &At(row));
}

// A key (Key's order) in a control with its caret, in UTF-16 units; the KeyAction as JSON in
// the exchange, with only what the page is to do: returns its length.
EXPORT(key_pressed) int KeyPressed(int row, int key, int length, int start, int end) {
    const KeyAction action = reactions->KeyPressed(
        At(row), Key(key),
        {.length = length, .cursor = end, .selectionStart = start, .selectionEnd = end});
    std::string out = "{\"swallow\":" + std::to_string(action.swallow);
    if (const auto span = action.replace)
        out += ",\"replace\":[" + std::to_string(span->start) + ',' + std::to_string(span->end) +
               "],\"with\":" + Json(action.with);
    if (action.copy) out += ",\"copy\":" + Json(*action.copy);
    return Answer(out + '}');
}

// The colour to draw a control's text in, by the shared rule on the page's face and field
// colours (0x00BBGGRR words), or -1 for the page's own.
EXPORT(colour) int ColourOf(int row, std::uint32_t face, std::uint32_t field) {
    const std::optional<std::uint32_t> wanted = reactions->Colour(At(row));
    if (!wanted) return -1;
    const Rgb behind = FromColourWord(At(row).kind == ControlKind::TextBox ? field : face);
    return int(ToColourWord(Legible(FromColourWord(*wanted), behind)));
}
// The formula's ink, or with `paper` its paper, on the page's colours.
EXPORT(formula_ink)
int FormulaInkOf(std::uint32_t face, std::uint32_t field, std::uint32_t text, int paper) {
    const Ink ink = FormulaInk(FromColourWord(face), FromColourWord(field), FromColourWord(text));
    return int(ToColourWord(paper ? ink.paper : ink.ink));
}
