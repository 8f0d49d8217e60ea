// The time and date as both programs' clocks show them.
#pragma once

#include <string>

namespace tarvok {

// The time of day as the system writes it: "9:05:33".
std::string timeOfDayText(int hour, int minute, int second);

// The clock text: hours without leading zero, then "0" put in front when
// the second character is ":" ("9:05:33" -> "09:05:33").
std::string clockText(int hour, int minute, int second);

// The short date (day-month-year, day and month without leading zeros),
// with "0" put in front when the second character is "-" ("7-12-2026" ->
// "07-12-2026").
std::string dateText(int day, int month, int year);

}  // namespace tarvok
