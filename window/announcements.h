// What screen readers are told when the result changes, in both windows' words.
#pragma once

#include <string>
#include <string_view>

#include "control_table.h"

namespace quorvane {

// "Power 6.983 kilowatts", "Power empty"; after a refused efficiency led by
// "Pump Efficiency above 100 refused. ".
inline std::string PowerAnnouncement(std::string_view powerText, bool efficiencyRefused) {
    const ControlEntry& power = Row("P");
    std::string message = efficiencyRefused
                              ? std::string(Row("E").accessibleName) + " above 100 refused. "
                              : std::string();
    message += std::string(power.accessibleName) + ' ';
    message +=
        powerText.empty() ? std::string("empty") : std::string(powerText) + ' ' + power.description;
    return message;
}

}  // namespace quorvane
