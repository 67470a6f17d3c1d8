// The window's behaviour, once for every front end: what each reaction does, in which order, and
// what screen readers are told, and when. A front end turns its toolkit's events into these
// calls and carries out what its WindowView is asked to do.
//
// The path of an edit:
//  1. Typing changes a box's text: TextChanged turns that box blue for good. The result box
//     keeps its text while the user types.
//  2. Enter in an input box (EnterTyped) or the focus moving from it to another control of the
//     window (FocusLeft) finishes the input.
//  3. For the efficiency box, the limit comes first: above 100 the box is emptied and the focus
//     put back into it, at once, so that a click that moved the focus still acts.
//  4. LiveRecalc: with "Perform Live Calculations" unchecked it empties the result box; checked
//     or greyed, it runs Power.
//  5. What screen readers hear is queued and handed out (Deliver) once the focus events of the
//     same key press or click are out: a screen reader that stops speech on a focus change
//     would cut it off.
// The Calculate button and the window's load run Power whatever the check box says.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "number_text.h"
#include "power.h"

namespace quorvane {

enum class LiveState { Unchecked, Checked, Greyed };

// What the reactions need of a window, beyond the four texts and the result that Power reads
// and writes.
class WindowView : public CalculatorView {
  public:
    virtual std::string PowerText() = 0;
    virtual LiveState LiveCalcState() = 0;
    // Empties the box; its text-changed reaction runs at once, nested.
    virtual void EmptyInput(Input input) = 0;
    // The box's text colour: blue for good.
    virtual void ShowEdited(Input input) = 0;
    virtual bool HasFocus(Input input) = 0;
    // Moves the focus into the box at once.
    virtual void FocusInput(Input input) = 0;
    // Asks for Deliver to be called once the events of the current action have gone out.
    virtual void ScheduleDelivery() = 0;
    // Has screen readers speak `words` wherever the focus is; `urgent` ones must not be cut off
    // by what follows.
    virtual void Say(const std::string& words, bool urgent) = 0;
    // Tells screen readers again that the box has the focus.
    virtual void TellFocus(Input input) = 0;

  protected:
    ~WindowView() = default;
};

// One thing screen readers are told: words, or that the focus is in a box.
struct Message {
    std::string words;           // empty for a focus message
    bool urgent = false;         // a refusal: nothing may cut it off
    std::optional<Input> focus;  // told again, if the box still has the focus
    friend bool operator==(const Message&, const Message&) = default;
};

class Reactions {
  public:
    Reactions(WindowView& view, NumberFormat format);

    const NumberFormat& Format() const { return format_; }
    bool Edited(Input input) const { return edited_[Index(input)]; }
    // True while the window moves the focus itself: that is no leaving of a box.
    bool MovingFocus() const { return movingFocus_; }

    std::optional<double> Power();

    void Load();
    void TextChanged(Input input);
    // A text dropped onto a box, or put there by a screen reader: the box takes the focus first,
    // as typing does, so that the box left reacts now and this one when it is left.
    void TextArriving(Input input);
    void EnterTyped(Input input);
    // The focus moved from the box to another control of this window; another application, or
    // the box's own context menu, is none.
    void FocusLeft(Input input);
    void LiveCalcClicked();
    void CalculatePressed();

    // What screen readers are told now, in order.
    void Deliver();

  private:
    static std::size_t Index(Input input) { return std::size_t(input); }
    void InputFinished(Input input, bool byEnter);
    void LiveRecalc();
    bool CheckEfficiencyLimit();  // true when it refused the efficiency
    void AnnouncePower(bool efficiencyRefused = false);
    void Queue(Message message);

    WindowView& view_;
    NumberFormat format_;
    std::array<bool, 4> edited_{};  // by Input: the text has changed, it shows blue
    bool movingFocus_ = false;
    std::vector<Message> pending_;
};

}  // namespace quorvane
