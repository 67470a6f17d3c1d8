// Every control of the calculator window, laid out in twips (1/1440 inch), as data.
#pragma once

#include <array>
#include <cstdint>

namespace quorvane {

enum class ControlKind { Label, TextBox, CheckBox, Button, Picture, Line };

// Colours are 0x00BBGGRR words.
inline constexpr std::uint32_t kRed = 0x000000FF;
inline constexpr std::uint32_t kBlue = 0x00FF0000;
inline constexpr std::uint32_t kPurple = 0x00800080;
inline constexpr std::uint32_t kGreen = 0x00008000;
inline constexpr std::uint32_t kDefaultColour = 0xFFFFFFFF;

inline constexpr int kNoTab = -1;

struct ControlEntry {
    const char* name;
    ControlKind kind;
    const char* text;              // caption or initial text; for a picture, its resource
    int left, top, width, height;  // for the line: x1, y1, x2, y2
    int tab;                       // place in the focus order
    std::uint32_t colour = kDefaultColour;
    const char* accessibleName = nullptr;
    bool readOnly = false;   // text box
    bool checked = false;    // check box
    bool stretched = false;  // picture drawn to its frame rather than at its own size
};

inline constexpr int kClientWidth = 6990;  // twips
inline constexpr int kClientHeight = 3780;

// clang-format off
inline constexpr std::array<ControlEntry, 22> kControls{{
    {"Label1",   ControlKind::Label,   "Head",            120,  120,  495, 255,  0},
    {"H",        ControlKind::TextBox, "30",             1560,  120, 1335, 375,  1, kRed, "Head"},
    {"Label2",   ControlKind::Label,   "m",              3000,  240,  735, 255,  2},
    {"Label3",   ControlKind::Label,   "Flow",            120,  600,  495, 255,  3},
    {"Q",        ControlKind::TextBox, "60",             1560,  600, 1335, 375,  4, kRed, "Flow"},
    {"Label4",   ControlKind::Label,   "m3/hr",          3000,  720,  735, 255,  5},
    {"Label5",   ControlKind::Label,   "Fluid Density",   120, 1080,  975, 255,  6},
    {"D",        ControlKind::TextBox, "997.01",         1560, 1080, 1335, 375,  7, kRed, "Fluid Density"},
    {"Label6",   ControlKind::Label,   "kg/m3",          3000, 1200,  735, 255,  8},
    {"Label7",   ControlKind::Label,   "Pump Efficiency", 120, 1560, 1335, 255,  9},
    {"E",        ControlKind::TextBox, "70",             1560, 1560, 1335, 375, 10, kRed, "Pump Efficiency"},
    {"Label8",   ControlKind::Label,   "%",              3000, 1680,  735, 255, 11},
    {"Line1",    ControlKind::Line,    "",                120, 2040, 3840, 2040, kNoTab},
    {"Label9",   ControlKind::Label,   "Power",           120, 2280, 1335, 255, 12},
    {"P",        ControlKind::TextBox, "",               1560, 2160, 1335, 375, 13, kPurple, "Power", true},
    {"Label10",  ControlKind::Label,   "kW",             3000, 2280,  735, 255, 14},
    {"LiveCalc", ControlKind::CheckBox, "Perform Live Calculations", 120, 2760, 2175, 375, 16,
                 kDefaultColour, "Perform Live Calculations", false, true},
    {"Command1", ControlKind::Button,  "&Calculate",     5520, 3240, 1300, 375, 15, kDefaultColour, "Calculate"},
    {"Label12",  ControlKind::Label,   "Rev.A",           120, 3360,  735, 255, 18, kGreen},
    {"Label11",  ControlKind::Label,   "By: Kestrin (08-Feb-2012)", 1200, 3360, 2775, 255, 17, kGreen},
    {"Image2",   ControlKind::Picture, ":/logo.png",     6000,  120,  825, 495, kNoTab,
                 kDefaultColour, "Logo", false, false, true},
    {"Image1",   ControlKind::Picture, ":/formula.png",  4200,  960, 2640, 1650, kNoTab,
                 kDefaultColour, "P = γ·hp·Q / η"},
}};
// clang-format on

// 15 twips to a device-independent pixel, rounded to the nearest (1300 -> 87).
constexpr int TwipsToPixels(int twips) {
    return (twips * 2 + 15) / 30;
}

}  // namespace quorvane
