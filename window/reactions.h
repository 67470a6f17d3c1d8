// The window's behaviour, once for every front end: what each key, click, press and focus change
// means, in which order, and what screen readers are told, and when. A front end reports what
// its toolkit saw in these words and carries out what its WindowView is asked to do.
//
// The path of an edit:
//  1. Typing changes a box's text: TextChanged turns that box blue for good. The result box
//     keeps its text while the user types.
//  2. Enter in an input box or the focus moving from it to another control of the window
//     finishes the input.
//  3. For the efficiency box, the limit comes first: above 100 the box is emptied and the focus
//     put back into it, at once, so that a click that moved the focus still acts.
//  4. LiveRecalc: with "Perform Live Calculations" unchecked it empties the result box; checked
//     or greyed, it runs Power.
//  5. What screen readers hear is queued and handed out (Deliver) once the action has ended: the
//     focus events of a key press are out, a mouse or touch press is released or cancelled. A
//     screen reader that stops speech on a focus change would cut it off.
// The Calculate button and the window's load run Power whatever the check box says.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "control_table.h"
#include "number_text.h"
#include "power.h"
#include "rules.h"

namespace quorvane {

enum class LiveState { Unchecked, Checked, Greyed };

// What the reactions need of a window, each control reached by its row of the table.
class WindowView : public CalculatorView {
  public:
    virtual std::string Text(const ControlEntry& control) = 0;
    // Replaces a box's text. A front end whose toolkit reports no change the program makes
    // itself need not: the reactions raise the text-changed reaction at once, nested.
    virtual void SetText(const ControlEntry& control, std::string_view text) = 0;
    virtual LiveState Checked(const ControlEntry& control) = 0;
    // The box's text colour follows Reactions::Colour: blue for good once edited.
    virtual void Recolour(const ControlEntry& control) = 0;
    virtual bool HasFocus(const ControlEntry& control) = 0;
    // Moves the focus to the control at once.
    virtual void Focus(const ControlEntry& control) = 0;
    // Asks for Deliver to be called once the events of the current action have gone out.
    virtual void ScheduleDelivery() = 0;
    // Has screen readers speak `words` wherever the focus is; `urgent` ones must not be cut off
    // by what follows.
    virtual void Say(const std::string& words, bool urgent) = 0;
    // Tells screen readers again that the control has the focus.
    virtual void TellFocus(const ControlEntry& control) = 0;

  protected:
    ~WindowView() = default;

  private:
    std::string InputText(Input input) final { return Text(InputRow(input)); }
    void SetPowerText(std::string_view text) final { SetText(Row("P"), text); }
};

// A key, as every toolkit has it, in a control of the window.
enum class Key {
    Enter,
    Escape,
    KeypadDecimal,  // the keypad's decimal key typing, not its Delete with NumLock off
    WordBack,       // Ctrl+Backspace
    WordForward,    // Ctrl+Delete
    Copy,           // Ctrl+C, or the platform's copy
    AccessKey,      // Calculate's: Alt+C
};

// Where the caret is in a box, in the toolkit's own units.
struct Caret {
    int length = 0, cursor = 0, selectionStart = 0, selectionEnd = 0;
};

// What a front end does with a key once the reactions have seen it.
struct KeyAction {
    bool swallow = false;              // the toolkit's own handling is skipped
    std::optional<TextSpan> replace = {};  // replace this span of the box's text with `with`...
    std::string with = {};                // ...and report the change as typing
    std::optional<std::string> copy = {};  // put this text on the clipboard
    friend bool operator==(const KeyAction&, const KeyAction&) = default;
};

// One thing screen readers are told: words, or that the focus is in a box.
struct Message {
    std::string words;                         // empty for a focus message
    bool urgent = false;                       // a refusal: nothing may cut it off
    const ControlEntry* focus = nullptr;       // told again, if it still has the focus
    friend bool operator==(const Message&, const Message&) = default;
};

class Reactions {
  public:
    Reactions(WindowView& view, NumberFormat format);

    const NumberFormat& Format() const { return format_; }
    bool Edited(const ControlEntry& control) const;
    // The colour word a control's text is meant to have; none for the toolkit's own.
    std::optional<std::uint32_t> Colour(const ControlEntry& control) const;

    std::optional<double> Power();

    void Load();
    void TextChanged(const ControlEntry& control);
    // A text dropped onto a box, or put there by a screen reader: the box takes the focus first,
    // as typing does, so that the box left reacts now and this one when it is left.
    void TextArriving(const ControlEntry& control);
    KeyAction KeyPressed(const ControlEntry& control, Key key, Caret caret = {});
    // The focus moved from `from` to `to`; null `to` is another application, or a menu of the
    // toolkit's own: no control of this window.
    void FocusLeft(const ControlEntry& from, const ControlEntry* to);
    // The check box (after its state changed) or the Calculate button, clicked.
    void Clicked(const ControlEntry& control);
    // A mouse, pen or touch press anywhere in the window, begun and then ended or cancelled:
    // what screen readers are told waits for its end.
    void PressBegun();
    void PressEnded();

    // What screen readers are told now, in order; nothing while a press lasts.
    void Deliver();

  private:
    void InputFinished(const ControlEntry& box, bool byEnter);
    void LiveRecalc();
    bool CheckEfficiencyLimit();  // true when it refused the efficiency
    void AnnouncePower(bool efficiencyRefused = false);
    void Queue(Message message);

    WindowView& view_;
    NumberFormat format_;
    std::array<bool, 4> edited_{};  // by Input: the text has changed, it shows blue
    bool movingFocus_ = false;      // the window moves the focus itself: no box is left
    bool pressed_ = false;
    std::vector<Message> pending_;
};

}  // namespace quorvane
