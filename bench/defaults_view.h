// The window's default texts as a view for Power: what the benchmarks compute, natively and in
// WebAssembly alike.
#pragma once

#include <string>
#include <string_view>

#include "control_table.h"
#include "power.h"

class DefaultsView : public quorvane::CalculatorView {
  public:
    std::string InputText(quorvane::Input input) override {
        return quorvane::InputRow(input).text;
    }
    void SetPowerText(std::string_view text) override { shown = text; }
    std::string shown;
};
