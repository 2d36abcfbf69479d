// Calendar, character-set and string routines of the editor library.
#include "editor/ZelUtils.h"

#include "rtl/Clock.h"
#include "rtl/CodePages.h"

#include <chrono>
#include <cmath>

namespace editor {

namespace {

std::bitset<256> MakeAlphaChars() {
    std::bitset<256> set;
    for (unsigned char c : std::string_view(" ,-.")) set[c] = true;
    for (int c = 'A'; c <= 'Z'; ++c) set[c] = true;
    for (int c = 'a'; c <= 'z'; ++c) set[c] = true;
    for (int c = 128; c < 256; ++c)
        if (rtl::IsCharAlpha(static_cast<char>(c))) set[c] = true;
    return set;
}

std::chrono::year_month_day Today() {
    using namespace std::chrono;
    // The runtime's day 0 is 30 December 1899.
    auto day = static_cast<int>(std::floor(rtl::Date()));
    return year_month_day{sys_days{year{1899} / December / 30} + days{day}};
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

} // namespace

std::uint16_t CurrentYear = static_cast<std::uint16_t>(static_cast<int>(Today().year()));
std::uint8_t CurrentMonth = static_cast<std::uint8_t>(static_cast<unsigned>(Today().month()));
std::bitset<256> AlphaChars = MakeAlphaChars();

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

TBMTable BMMakeTable(std::string_view pattern) {
    TBMTable table;
    auto cap = [](std::size_t n) { return static_cast<std::uint8_t>(n > 255 ? 255 : n); };
    table.fill(cap(pattern.size()));
    for (std::size_t i = 0; i + 1 < pattern.size(); ++i)
        table[static_cast<unsigned char>(pattern[i])] = cap(pattern.size() - 1 - i);
    return table;
}

namespace {

template <typename Fold>
bool Horspool(std::string_view buffer, const TBMTable& table, std::string_view pattern,
              std::size_t& position, Fold fold) {
    const std::size_t m = pattern.size();
    if (m == 0 || m > buffer.size()) return false;
    std::size_t at = 0;
    while (at + m <= buffer.size()) {
        char last = fold(buffer[at + m - 1]);
        if (last == pattern[m - 1]) {
            std::size_t i = 0;
            while (i + 1 < m && fold(buffer[at + i]) == pattern[i]) ++i;
            if (i + 1 >= m) {
                position = at;
                return true;
            }
        }
        std::size_t shift = table[static_cast<unsigned char>(last)];
        at += shift == 0 ? 1 : shift;
    }
    return false;
}

} // namespace

bool BMSearch(std::string_view buffer, const TBMTable& table, std::string_view pattern,
              std::size_t& position) {
    return Horspool(buffer, table, pattern, position, [](char c) { return c; });
}

bool BMSearchUC(std::string_view buffer, const TBMTable& table, std::string_view pattern,
                std::size_t& position) {
    return Horspool(buffer, table, pattern, position, [](char c) { return rtl::CharUpper(c); });
}

std::string CharStrPChar(char c, std::size_t count) { return std::string(count, c); }

std::string DetabPChar(std::string_view source, int tabSize) {
    std::string out;
    if (tabSize <= 0) return out;
    for (char c : source) {
        if (c == '\t') {
            out.append(tabSize - out.size() % tabSize, ' ');
        } else {
            out += c;
        }
    }
    return out;
}

std::string StrChDelete(std::string_view s, std::size_t position) {
    std::string out(s);
    if (position < out.size()) out.erase(position, 1);
    return out;
}

std::string StrChInsert(std::string_view s, char c, std::size_t position) {
    std::string out(s);
    out.insert(position < out.size() ? position : out.size(), 1, c);
    return out;
}

bool StrChPos(std::string_view s, char c, std::size_t& position) {
    auto at = s.find(c);
    if (at == std::string_view::npos) return false;
    position = at;
    return true;
}

std::string StrStCopy(std::string_view s, std::size_t position, std::size_t count) {
    if (position >= s.size()) return {};
    return std::string(s.substr(position, count));
}

std::string StrStDelete(std::string_view s, std::size_t position, std::size_t count) {
    std::string out(s);
    if (position < out.size()) out.erase(position, count);
    return out;
}

bool StrStPos(std::string_view s, std::string_view sub, std::size_t& position) {
    if (sub.empty()) return false;
    auto at = s.find(sub);
    if (at == std::string_view::npos) return false;
    position = at;
    return true;
}

bool Str2Long(std::string_view s, std::int32_t& value) {
    if (s.size() > 255) {
        value = -1;
        return false;
    }
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    bool hex = false;
    if (i < s.size() && s[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    auto fail = [&](std::size_t at) {
        value = static_cast<std::int32_t>(at);
        return false;
    };
    if (i >= s.size()) return fail(i);
    std::int64_t n = 0;
    // Hexadecimal takes any 32-bit pattern, decimal the signed 32-bit range.
    const std::int64_t limit = hex ? 0xFFFFFFFFLL : (negative ? 2147483648LL : 2147483647LL);
    for (; i < s.size(); ++i) {
        int digit;
        char c = s[i];
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return fail(i);
        n = n * (hex ? 16 : 10) + digit;
        if (n > limit) return fail(i);
    }
    if (hex) n = static_cast<std::int32_t>(static_cast<std::uint32_t>(n));
    value = static_cast<std::int32_t>(negative ? -n : n);
    return true;
}

std::string TrimPChar(std::string_view s) {
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    return std::string(s);
}

std::string TrimTrailPChar(std::string_view s) {
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return std::string(s);
}

char UpCaseChar(char c) { return rtl::CharUpper(c); }

std::int16_t CompareWords(std::uint16_t a, std::uint16_t b) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(a - b));
}

void IncByWord(std::int32_t& value, std::uint16_t amount) { value += amount; }
void DecByWord(std::int32_t& value, std::uint16_t amount) { value -= amount; }

} // namespace editor
