#include "reactions.h"

#include <algorithm>
#include <utility>

#include "announcements.h"

namespace quorvane {

Reactions::Reactions(WindowView& view, NumberFormat format)
    : view_(view), format_(std::move(format)) {}

std::optional<double> Reactions::Power() {
    return quorvane::Power(view_, format_);
}

void Reactions::Load() {
    Power();  // the worked example is on show from the start
}

void Reactions::TextChanged(Input input) {
    // Any change of text, typed or set by the program, shows blue for good: nothing turns a box
    // red again.
    edited_[Index(input)] = true;
    view_.ShowEdited(input);
}

void Reactions::TextArriving(Input input) {
    if (!view_.HasFocus(input)) view_.FocusInput(input);
}

void Reactions::EnterTyped(Input input) {
    InputFinished(input, true);
}

void Reactions::FocusLeft(Input input) {
    if (!movingFocus_) InputFinished(input, false);
}

void Reactions::LiveCalcClicked() {
    LiveRecalc();
    AnnouncePower();
}

void Reactions::CalculatePressed() {
    Power();
    AnnouncePower();
}

void Reactions::InputFinished(Input input, bool byEnter) {
    const std::string before = view_.PowerText();
    const bool refused = input == Input::Efficiency && CheckEfficiencyLimit();
    LiveRecalc();
    // Enter asks for the result; merely leaving a box says only what changed.
    if (byEnter || refused || view_.PowerText() != before) AnnouncePower(refused);
}

void Reactions::LiveRecalc() {
    if (view_.LiveCalcState() == LiveState::Unchecked)
        view_.SetPowerText("");
    else
        Power();  // checked or greyed
}

bool Reactions::CheckEfficiencyLimit() {
    const NumberRead efficiency = ReadNumber(view_.InputText(Input::Efficiency), format_);
    // No number: nothing to compare; the recalculation that follows empties the result.
    if (efficiency.error || efficiency.value <= 100) return false;
    view_.EmptyInput(Input::Efficiency);
    // At once, not later: a deferred focus change would swallow the click that moved it. The
    // toolkit tells screen readers of the control that was left for only after this, so they
    // are told again, once that is done, where the focus is.
    movingFocus_ = true;
    view_.FocusInput(Input::Efficiency);
    movingFocus_ = false;
    Queue({.words = {}, .urgent = false, .focus = Input::Efficiency});
    return true;
}

// The result, spoken wherever the focus is: "Power 6.983 kilowatts". A refusal already said
// that the result is empty: a click that left the refused box does not say it again over it.
void Reactions::AnnouncePower(bool efficiencyRefused) {
    const std::string power = view_.PowerText();
    const bool refusalPending = std::ranges::any_of(pending_, &Message::urgent);
    if (!efficiencyRefused && refusalPending && power.empty()) return;
    Queue({.words = PowerAnnouncement(power, efficiencyRefused),
           .urgent = efficiencyRefused,
           .focus = std::nullopt});
}

void Reactions::Queue(Message message) {
    if (pending_.empty()) view_.ScheduleDelivery();
    pending_.push_back(std::move(message));
}

void Reactions::Deliver() {
    const std::vector<Message> messages = std::exchange(pending_, {});
    for (const Message& message : messages) {
        if (!message.focus)
            view_.Say(message.words, message.urgent);
        else if (view_.HasFocus(*message.focus))  // unless the user has moved on
            view_.TellFocus(*message.focus);
    }
}

}  // namespace quorvane
