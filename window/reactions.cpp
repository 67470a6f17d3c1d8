#include "reactions.h"

#include <algorithm>
#include <utility>

#include "announcements.h"

namespace quorvane {
namespace {

bool IsInput(const ControlEntry& control) {
    return control.input.has_value();
}

std::optional<TextSpan> Selection(const Caret& caret) {
    if (caret.selectionStart == caret.selectionEnd) return std::nullopt;
    return TextSpan{std::min(caret.selectionStart, caret.selectionEnd),
                    std::max(caret.selectionStart, caret.selectionEnd)};
}

}  // namespace

Reactions::Reactions(WindowView& view, NumberFormat format)
    : view_(view), format_(std::move(format)) {}

bool Reactions::Edited(const ControlEntry& control) const {
    return control.input && edited_[std::size_t(*control.input)];
}

std::optional<std::uint32_t> Reactions::Colour(const ControlEntry& control) const {
    return Edited(control) ? kBlue : control.colour;
}

std::optional<double> Reactions::Power() {
    return quorvane::Power(view_, format_);
}

void Reactions::Load() {
    Power();  // the worked example is on show from the start
}

void Reactions::TextChanged(const ControlEntry& control) {
    if (!IsInput(control)) return;
    // Any change of text, typed or set by the program, shows blue for good: nothing turns a box
    // red again.
    edited_[std::size_t(*control.input)] = true;
    view_.Recolour(control);
}

void Reactions::TextArriving(const ControlEntry& control) {
    if (IsInput(control) && !view_.HasFocus(control)) view_.Focus(control);
}

KeyAction Reactions::KeyPressed(const ControlEntry& control, Key key, Caret caret) {
    const bool editable = IsInput(control);
    switch (key) {
        case Key::AccessKey:  // as a click: the box is left first, then Calculate acts
            view_.Focus(Row("Command1"));
            Clicked(Row("Command1"));
            return {.swallow = true};
        case Key::Enter:  // left to the box: a single-line box inserts nothing
            if (editable) InputFinished(control, true);
            if (&control != &Row("Command1")) return {};
            Clicked(control);  // Enter presses the focused button; no button is the default
            return {.swallow = true};
        case Key::Escape:  // no cancel button
            return {.swallow = true};
        case Key::KeypadDecimal:  // the user's separator, as spreadsheets type it
            if (!editable) return {};
            return {.swallow = true,
                    .replace = TextSpan{std::min(caret.selectionStart, caret.selectionEnd),
                                        std::max(caret.selectionStart, caret.selectionEnd)},
                    .with = format_.decimal};
        case Key::WordBack:
        case Key::WordForward: {  // a box holds one number: one word
            if (!editable) return {.swallow = control.kind == ControlKind::TextBox};
            const TextSpan span =
                WordKeyDeletion(caret.length, caret.cursor, caret.selectionStart,
                                caret.selectionEnd, key == Key::WordBack);
            if (span.start == span.end) return {.swallow = true};
            return {.swallow = true, .replace = span};
        }
        case Key::Copy:  // the whole result, even an empty one: no older number stays behind
            if (&control != &Row("P") || Selection(caret)) return {};
            return {.swallow = true, .copy = view_.Text(control)};
    }
    return {};
}

void Reactions::FocusLeft(const ControlEntry& from, const ControlEntry* to) {
    if (IsInput(from) && to && to != &from && !movingFocus_) InputFinished(from, false);
}

void Reactions::Clicked(const ControlEntry& control) {
    if (&control == &Row("LiveCalc"))
        LiveRecalc();
    else if (&control == &Row("Command1"))
        Power();
    else
        return;
    AnnouncePower();
}

void Reactions::PressBegun() {
    pressed_ = true;
}

void Reactions::PressEnded() {
    pressed_ = false;
    if (!pending_.empty()) view_.ScheduleDelivery();
}

void Reactions::InputFinished(const ControlEntry& box, bool byEnter) {
    const std::string before = view_.Text(Row("P"));
    const bool refused = box.input == Input::Efficiency && CheckEfficiencyLimit();
    LiveRecalc();
    // Enter asks for the result; merely leaving a box says only what changed.
    if (byEnter || refused || view_.Text(Row("P")) != before) AnnouncePower(refused);
}

void Reactions::LiveRecalc() {
    if (view_.Checked(Row("LiveCalc")) == LiveState::Unchecked)
        view_.SetText(Row("P"), "");
    else
        Power();  // checked or greyed
}

bool Reactions::CheckEfficiencyLimit() {
    const ControlEntry& box = Row("E");
    const NumberRead efficiency = ReadNumber(view_.Text(box), format_);
    // No number: nothing to compare; the recalculation that follows empties the result.
    if (efficiency.error || efficiency.value <= 100) return false;
    view_.SetText(box, "");
    if (!Edited(box)) TextChanged(box);
    // At once, not later: a deferred focus change would swallow the click that moved it. The
    // toolkit tells screen readers of the control that was left for only after this, so they
    // are told again, once that is done, where the focus is.
    movingFocus_ = true;
    view_.Focus(box);
    movingFocus_ = false;
    Queue({.words = {}, .urgent = false, .focus = &box});
    return true;
}

// The result, spoken wherever the focus is: "Power 6.983 kilowatts". A refusal already said
// that the result is empty: a click that left the refused box does not say it again over it.
void Reactions::AnnouncePower(bool efficiencyRefused) {
    const std::string power = view_.Text(Row("P"));
    const bool refusalPending = std::ranges::any_of(pending_, &Message::urgent);
    if (!efficiencyRefused && refusalPending && power.empty()) return;
    Queue({.words = PowerAnnouncement(power, efficiencyRefused),
           .urgent = efficiencyRefused,
           .focus = nullptr});
}

void Reactions::Queue(Message message) {
    if (pending_.empty()) view_.ScheduleDelivery();
    pending_.push_back(std::move(message));
}

void Reactions::Deliver() {
    if (pressed_) return;  // the press's end delivers
    const std::vector<Message> messages = std::exchange(pending_, {});
    for (const Message& message : messages) {
        if (!message.focus)
            view_.Say(message.words, message.urgent);
        else if (view_.HasFocus(*message.focus))  // unless the user has moved on
            view_.TellFocus(*message.focus);
    }
}

}  // namespace quorvane
