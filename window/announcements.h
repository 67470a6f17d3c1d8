// What screen readers are told when the result changes, in both windows' words.
#pragma once

#include <string>
#include <string_view>

#include "control_table.h"

namespace quorvane {

// "Power 6.983 kilowatts", "Power empty"; after a refused efficiency, where the user now is:
// "Pump Efficiency above 100 refused. Power empty. The cursor is in Pump Efficiency, now
// empty." No focus event says it, as the focus never left the box.
inline std::string PowerAnnouncement(std::string_view powerText, bool efficiencyRefused) {
    const ControlEntry& power = Row("P");
    const std::string efficiency = Row("E").accessibleName;
    std::string message = efficiencyRefused ? efficiency + " above 100 refused. " : std::string();
    message += std::string(power.accessibleName) + ' ';
    message +=
        powerText.empty() ? std::string("empty") : std::string(powerText) + ' ' + power.description;
    if (efficiencyRefused) message += ". The cursor is in " + efficiency + ", now empty.";
    return message;
}

}  // namespace quorvane
