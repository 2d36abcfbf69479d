// Calendar arithmetic of the editor library on day numbers counted from 1 January 1600, and
// times of day in seconds. Implementations in ZelDates.cpp.
#pragma once

#include <cstdint>

namespace editor {

// Day 0 is 1 January 1600; BadDate marks a date that does not exist.
using TDayNumber = std::int32_t;
constexpr TDayNumber BadDate = -1;
// Seconds since midnight.
using TTimeOfDay = std::int32_t;

// Today's year and month, taken when the library loads.
extern std::uint16_t CurrentYear;
extern std::uint8_t CurrentMonth;

// A year below 100 is completed with the epoch year.
int CompleteYear(int year, int epoch);
bool IsLeapYear(int year);
int DaysInMonth(int month, int year, int epoch);
bool ValidDate(int day, int month, int year, int epoch);
TDayNumber DMYToDate(int day, int month, int year, int epoch);
TTimeOfDay HMSToTime(std::uint8_t hours, std::uint8_t minutes, std::uint8_t seconds);
bool ValidTime(int hours, int minutes, int seconds);

} // namespace editor
