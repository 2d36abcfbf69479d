// Small shared routines of the editor library: calendar arithmetic on day numbers counted from
// 1 January 1600, the library-wide set of alphabetic characters, Boyer-Moore-Horspool search and
// string helpers, and 16-bit counter arithmetic. Implementations in ZelUtils.cpp.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace editor {

// Day 0 is 1 January 1600; BadDate marks a date that does not exist.
using TDayNumber = std::int32_t;
constexpr TDayNumber BadDate = -1;
// Seconds since midnight.
using TTimeOfDay = std::int32_t;

// Today's year and month, taken when the library loads.
extern std::uint16_t CurrentYear;
extern std::uint8_t CurrentMonth;
// Blank, ',', '-', '.', the ASCII letters and every alphabetic character from 128 up.
extern std::bitset<256> AlphaChars;
inline bool IsAlphaChar(char c) { return AlphaChars[static_cast<unsigned char>(c)]; }

// Calendar. A year below 100 is completed with the epoch year.
int CompleteYear(int year, int epoch);
bool IsLeapYear(int year);
int DaysInMonth(int month, int year, int epoch);
bool ValidDate(int day, int month, int year, int epoch);
TDayNumber DMYToDate(int day, int month, int year, int epoch);
TTimeOfDay HMSToTime(std::uint8_t hours, std::uint8_t minutes, std::uint8_t seconds);
bool ValidTime(int hours, int minutes, int seconds);

// Boyer-Moore-Horspool. Shifts above 255 are kept at 255, which is safe for any pattern length:
// the search takes the length from the pattern itself.
using TBMTable = std::array<std::uint8_t, 256>;
TBMTable BMMakeTable(std::string_view pattern);
// Positions count from 0. An empty pattern finds nothing.
bool BMSearch(std::string_view buffer, const TBMTable& table, std::string_view pattern,
              std::size_t& position);
// As BMSearch with the buffer upper-cased; the pattern (and its table) are given in upper case.
bool BMSearchUC(std::string_view buffer, const TBMTable& table, std::string_view pattern,
                std::size_t& position);

// String helpers; positions count from 0.
std::string CharStrPChar(char c, std::size_t count);
std::string DetabPChar(std::string_view source, int tabSize);
std::string StrChDelete(std::string_view s, std::size_t position);
std::string StrChInsert(std::string_view s, char c, std::size_t position);
bool StrChPos(std::string_view s, char c, std::size_t& position);
std::string StrStCopy(std::string_view s, std::size_t position, std::size_t count);
std::string StrStDelete(std::string_view s, std::size_t position, std::size_t count);
bool StrStPos(std::string_view s, std::string_view sub, std::size_t& position);
// Decimal or hexadecimal ("$" or "0x") with an optional sign. On failure value is the position
// of the first bad character, or -1 for a text of more than 255 characters.
bool Str2Long(std::string_view s, std::int32_t& value);
std::string TrimPChar(std::string_view s);
std::string TrimTrailPChar(std::string_view s);
char UpCaseChar(char c);

// 16-bit counters.
std::int16_t CompareWords(std::uint16_t a, std::uint16_t b);
void IncByWord(std::int32_t& value, std::uint16_t amount);
void DecByWord(std::int32_t& value, std::uint16_t amount);

} // namespace editor
