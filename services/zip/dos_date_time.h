#pragma once
// The time an archive entry's DOS date and time stand for, in local time.
#include <ctime>
#include <optional>

namespace zip_dates {

// Nullopt when the date names no time the calendar has.
std::optional<std::time_t> timeOfDosDate(unsigned long dosDateTime);

} // namespace zip_dates
