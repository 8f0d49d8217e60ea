// The time and date as both programs' clocks show and speak them.
#pragma once

#include <string>
#include <string_view>

namespace tarvok {

// The text with "0" put in front when its second character is `separator`,
// which gives a one-digit first number its leading zero ("9:05" -> "09:05").
std::string withLeadingZero(std::string text, char separator);

// The time of day as the system writes it: "9:05:33".
std::string timeOfDayText(int hour, int minute, int second);

// The clock text: the time of day with a two-digit hour ("9:05:33" ->
// "09:05:33").
std::string clockText(int hour, int minute, int second);

// The short date (day-month-year, day and month without leading zeros),
// with a two-digit day ("7-12-2026" -> "07-12-2026", "17-3-1994").
std::string dateText(int day, int month, int year);

// The date with a two-digit day and month and the year as given:
// (7, 3, "2001") -> "07-03-2001", (7, 12, "01") -> "07-12-01".
std::string dayMonthYearText(int day, int month, std::string_view year);

}  // namespace tarvok
