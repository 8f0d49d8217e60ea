#include "clock_texts.h"

#include "common/text.h"

namespace tarvok {

std::string withLeadingZero(std::string text, char separator) {
    if (text.size() > 1 && text[1] == separator) text.insert(text.begin(), '0');
    return text;
}

std::string timeOfDayText(int hour, int minute, int second) {
    return integerText(hour) + ":" + padLeft(integerText(minute), 2) + ":" + padLeft(integerText(second), 2);
}

std::string clockText(int hour, int minute, int second) {
    return withLeadingZero(timeOfDayText(hour, minute, second), ':');
}

std::string dateText(int day, int month, int year) {
    return withLeadingZero(integerText(day) + "-" + integerText(month) + "-" + integerText(year), '-');
}

std::string dayMonthYearText(int day, int month, std::string_view year) {
    return withLeadingZero(integerText(day) + "-" + padLeft(integerText(month), 2) + "-" + std::string(year), '-');
}

}  // namespace tarvok
