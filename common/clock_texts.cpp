#include "clock_texts.h"

#include "common/text.h"

namespace tarvok {

std::string timeOfDayText(int hour, int minute, int second) {
    return integerText(hour) + ":" + padLeft(integerText(minute), 2) + ":" + padLeft(integerText(second), 2);
}

std::string clockText(int hour, int minute, int second) {
    std::string t = timeOfDayText(hour, minute, second);
    if (t.size() > 1 && t[1] == ':') t = "0" + t;
    return t;
}

std::string dateText(int day, int month, int year) {
    std::string t = integerText(day) + "-" + integerText(month) + "-" + integerText(year);
    if (t.size() > 1 && t[1] == '-') t = "0" + t;
    return t;
}

}  // namespace tarvok
