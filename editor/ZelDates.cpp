#include "editor/ZelDates.h"

#include "rtl/Clock.h"

#include <chrono>
#include <cmath>

namespace editor {

namespace {

std::chrono::year_month_day Today() {
    using namespace std::chrono;
    // The runtime's day 0 is 30 December 1899.
    auto day = static_cast<int>(std::floor(rtl::Date()));
    return year_month_day{sys_days{year{1899} / December / 30} + days{day}};
}

} // namespace

std::uint16_t CurrentYear = static_cast<std::uint16_t>(static_cast<int>(Today().year()));
std::uint8_t CurrentMonth = static_cast<std::uint8_t>(static_cast<unsigned>(Today().month()));

int CompleteYear(int year, int epoch) {
    if (year < 0 || year >= 100) return year;
    int century = epoch / 100 * 100;
    return year < epoch % 100 ? century + 100 + year : century + year;
}

bool IsLeapYear(int year) {
    return year % 4 == 0 && year % 4000 != 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int month, int year, int epoch) {
    year = CompleteYear(year, epoch);
    if (year < 1600 || year > 3999 || month < 1 || month > 12) return 0;
    switch (month) {
    case 2: return IsLeapYear(year) ? 29 : 28;
    case 4: case 6: case 9: case 11: return 30;
    default: return 31;
    }
}

bool ValidDate(int day, int month, int year, int epoch) {
    return day >= 1 && day <= DaysInMonth(month, year, epoch);
}

TDayNumber DMYToDate(int day, int month, int year, int epoch) {
    year = CompleteYear(year, epoch);
    if (!ValidDate(day, month, year, epoch)) return BadDate;
    if (year == 1600 && month < 3) return month == 1 ? day - 1 : day + 30;
    int y = year - 1600;
    int m = month;
    if (month < 3) {
        --y;
        m += 12;
    }
    return (y / 100) * 146097 / 4 + (y % 100) * 1461 / 4 + (153 * m - 457) / 5 + day + 59;
}

TTimeOfDay HMSToTime(std::uint8_t hours, std::uint8_t minutes, std::uint8_t seconds) {
    return ((hours % 24) * 3600 + minutes * 60 + seconds) % 86400;
}

bool ValidTime(int hours, int minutes, int seconds) {
    return hours >= 0 && hours <= 23 && minutes >= 0 && minutes <= 59 && seconds >= 0 &&
           seconds <= 59;
}

} // namespace editor
