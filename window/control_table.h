// Every control of the calculator window, laid out in twips (1/1440 inch), as data.
#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "power.h"

namespace quorvane {

enum class ControlKind { Label, TextBox, CheckBox, Button, Picture, Line };

// Colours are 0x00BBGGRR words, red in the low byte.
inline constexpr std::uint32_t kRed = 0x000000FF;
inline constexpr std::uint32_t kBlue = 0x00FF0000;
inline constexpr std::uint32_t kPurple = 0x00800080;
inline constexpr std::uint32_t kGreen = 0x00008000;

struct ControlEntry {
    const char* name;
    ControlKind kind;
    const char* text = "";  // caption, or a text box's initial text
    int left = 0, top = 0, width = 0, height = 0;
    int tab = -1;  // place in the focus order, for the controls that take the focus
    std::optional<std::uint32_t> colour = {};  // text colour; the toolkit's default when empty
    const char* accessibleName = nullptr;
    const char* description = nullptr;  // for screen readers: the box's unit
    std::optional<Input> input = {};    // the quantity a text box holds for Power
    const char* caption = nullptr;      // text box: the label that names it
    bool readOnly = false;              // text box
    bool checked = false;               // check box
    int x2 = 0;                         // line: x of its end; it runs level from (left, top)
    const char* resource = nullptr;     // picture: the image it shows
    bool stretched = false;             // picture drawn to its frame rather than at its own size
};

inline constexpr int kClientWidth = 6990;  // twips
inline constexpr int kClientHeight = 3780;

// clang-format off
inline constexpr std::array kControls = std::to_array<ControlEntry>({
    {.name = "Label1", .kind = ControlKind::Label, .text = "Head",
     .left = 120, .top = 120, .width = 495, .height = 255},
    {.name = "H", .kind = ControlKind::TextBox, .text = "30",
     .left = 1560, .top = 120, .width = 1335, .height = 375, .tab = 1,
     .colour = kRed, .accessibleName = "Head",
     .description = "metres", .input = Input::Head, .caption = "Label1"},
    {.name = "Label2", .kind = ControlKind::Label, .text = "m",
     .left = 3000, .top = 240, .width = 735, .height = 255},
    {.name = "Label3", .kind = ControlKind::Label, .text = "Flow",
     .left = 120, .top = 600, .width = 495, .height = 255},
    {.name = "Q", .kind = ControlKind::TextBox, .text = "60",
     .left = 1560, .top = 600, .width = 1335, .height = 375, .tab = 4,
     .colour = kRed, .accessibleName = "Flow",
     .description = "cubic metres per hour", .input = Input::Flow, .caption = "Label3"},
    {.name = "Label4", .kind = ControlKind::Label, .text = "m3/hr",
     .left = 3000, .top = 720, .width = 735, .height = 255},
    {.name = "Label5", .kind = ControlKind::Label, .text = "Fluid Density",
     .left = 120, .top = 1080, .width = 975, .height = 255},
    {.name = "D", .kind = ControlKind::TextBox, .text = "997.01",
     .left = 1560, .top = 1080, .width = 1335, .height = 375, .tab = 7,
     .colour = kRed, .accessibleName = "Fluid Density",
     .description = "kilograms per cubic metre", .input = Input::Density, .caption = "Label5"},
    {.name = "Label6", .kind = ControlKind::Label, .text = "kg/m3",
     .left = 3000, .top = 1200, .width = 735, .height = 255},
    {.name = "Label7", .kind = ControlKind::Label, .text = "Pump Efficiency",
     .left = 120, .top = 1560, .width = 1335, .height = 255},
    {.name = "E", .kind = ControlKind::TextBox, .text = "70",
     .left = 1560, .top = 1560, .width = 1335, .height = 375, .tab = 10,
     .colour = kRed, .accessibleName = "Pump Efficiency",
     .description = "percent", .input = Input::Efficiency, .caption = "Label7"},
    {.name = "Label8", .kind = ControlKind::Label, .text = "%",
     .left = 3000, .top = 1680, .width = 735, .height = 255},
    {.name = "Line1", .kind = ControlKind::Line,
     .left = 120, .top = 2040, .x2 = 3840},
    {.name = "Label9", .kind = ControlKind::Label, .text = "Power",
     .left = 120, .top = 2280, .width = 1335, .height = 255},
    {.name = "P", .kind = ControlKind::TextBox,
     .left = 1560, .top = 2160, .width = 1335, .height = 375, .tab = 13,
     .colour = kPurple, .accessibleName = "Power",
     .description = "kilowatts", .caption = "Label9", .readOnly = true},
    {.name = "Label10", .kind = ControlKind::Label, .text = "kW",
     .left = 3000, .top = 2280, .width = 735, .height = 255},
    {.name = "LiveCalc", .kind = ControlKind::CheckBox, .text = "Perform Live Calculations",
     .left = 120, .top = 2760, .width = 2175, .height = 375, .tab = 16,
     .accessibleName = "Perform Live Calculations", .checked = true},
    {.name = "Command1", .kind = ControlKind::Button, .text = "&Calculate",
     .left = 5520, .top = 3240, .width = 1300, .height = 375, .tab = 15,
     .accessibleName = "Calculate"},
    {.name = "Label12", .kind = ControlKind::Label, .text = "Rev.A",
     .left = 120, .top = 3360, .width = 735, .height = 255, .colour = kGreen},
    {.name = "Label11", .kind = ControlKind::Label, .text = "By: Kestrin (08-Feb-2012)",
     .left = 1200, .top = 3360, .width = 2775, .height = 255, .colour = kGreen},
    {.name = "Image2", .kind = ControlKind::Picture,
     .left = 6000, .top = 120, .width = 825, .height = 495,
     .accessibleName = "Logo", .resource = ":/logo.svg", .stretched = true},
    {.name = "Image1", .kind = ControlKind::Picture,
     .left = 4200, .top = 960, .width = 2640, .height = 1650,
     .accessibleName = "P = γ·hp·Q / η", .resource = ":/formula.svg"},
});
// clang-format on

// Reached only through a mistake in the code: where the compiler evaluates it, the code does
// not compile.
[[noreturn]] inline void TableMistake(const char* what) {
#if defined(__cpp_exceptions)
    throw std::logic_error(what);
#else
    (void)what;
    std::abort();
#endif
}

// The row of the control called `name`; a name not in the table does not compile.
consteval const ControlEntry& Row(std::string_view name) {
    for (const ControlEntry& entry : kControls)
        if (name == entry.name) return entry;
    TableMistake("no such control");
}

// The place of a control's row in the table: a front end keeps its controls by it.
inline std::size_t RowIndex(const ControlEntry& entry) {
    return std::size_t(&entry - kControls.data());
}

// The text box that holds `input`: its name and default text.
constexpr const ControlEntry& InputRow(Input input) {
    for (const ControlEntry& entry : kControls)
        if (entry.input == input) return entry;
    TableMistake("no box for this input");
}

// Twips to device-independent pixels, rounded to the nearest: 15 twips to a pixel (1300 -> 87),
// times `factor`, which the window raises above 1 where its font needs more room.
constexpr int TwipsToPixels(int twips, double factor = 1.0) {
    return static_cast<int>(twips * factor / 15.0 + 0.5);
}

}  // namespace quorvane
