#include "rules.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace quorvane {

std::vector<const ControlEntry*> FocusOrder() {
    std::map<int, const ControlEntry*> byTab;
    for (const ControlEntry& entry : kControls)
        if (entry.kind == ControlKind::TextBox || entry.kind == ControlKind::CheckBox ||
            entry.kind == ControlKind::Button)
            byTab[entry.tab] = &entry;
    std::vector<const ControlEntry*> order;
    for (const auto& [tab, entry] : byTab) order.push_back(entry);
    return order;
}

bool TakesFocus(const ControlEntry* control) {
    return control && control->tab >= 0;
}

std::vector<const ControlEntry*> CreationOrder() {
    std::vector<const ControlEntry*> order;
    const auto add = [&order](const ControlEntry& entry) {
        if (std::ranges::find(order, &entry) == order.end()) order.push_back(&entry);
    };
    for (const ControlEntry* entry : FocusOrder()) {
        for (const ControlEntry& caption : kControls)
            if (entry->caption && std::string_view(entry->caption) == caption.name) add(caption);
        add(*entry);
    }
    for (const ControlEntry& entry : kControls) add(entry);
    return order;
}

std::string DefaultText(const ControlEntry& entry, const NumberFormat& format) {
    if (entry.kind != ControlKind::TextBox || !*entry.text) return entry.text;
    return DoubleToText(ReadNumber(entry.text, NumberFormat{}).value, format);
}

TextSpan WordKeyDeletion(int length, int cursor, int selectionStart, int selectionEnd,
                         bool towardStart) {
    if (selectionStart != selectionEnd)
        return {std::min(selectionStart, selectionEnd), std::max(selectionStart, selectionEnd)};
    return towardStart ? TextSpan{0, cursor} : TextSpan{cursor, length};
}

double FactorFor(const ControlEntry& entry, int hintWidth, int hintHeight) {
    constexpr int kCaptionSpare = 3;  // pixels beside a caption's text
    double factor = double(hintHeight) / TwipsToPixels(entry.height);
    if (entry.kind == ControlKind::Label || entry.kind == ControlKind::CheckBox ||
        entry.kind == ControlKind::Button)
        factor = std::max(factor, double(hintWidth + kCaptionSpare) / TwipsToPixels(entry.width));
    return factor;
}

bool ShrinkFont(FontSize& size, double dpi) {
    if (size.points > 0) {
        if (size.points <= kSmallestPoints) return false;
        size.points = std::max(kSmallestPoints, size.points - 0.5);
        return true;
    }
    if (size.pixels <= SmallestPixels(dpi)) return false;
    --size.pixels;
    return true;
}

int SmallestPixels(double dpi) {
    return int(std::ceil(kSmallestPoints * dpi / 72));
}

double FitToScreen(double fits, const std::function<double()>& needed,
                   const std::function<bool()>& shrink) {
    double factor = needed();
    while (factor > fits && shrink()) factor = needed();
    return std::min(factor, fits);
}

double FittingFactor(int width, int height, double pixelsPerPixel) {
    return std::min(width * 15.0 / (kClientWidth * pixelsPerPixel),
                    height * 15.0 / (kClientHeight * pixelsPerPixel));
}

}  // namespace quorvane
