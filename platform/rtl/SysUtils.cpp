// String, number and date routines of the runtime; declarations in SysUtils.h.
#include "rtl/SysUtils.h"

#include "rtl/CodePages.h"
#include "rtl/Exceptions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace rtl {

// --- Blanks and letter case ---

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

int Sign(int v) { return (v > 0) - (v < 0); }

} // namespace

std::string Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

std::string TrimLeft(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s) {
    std::size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1])) --n;
    return std::string(s.substr(0, n));
}

std::string UpperCase(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = AsciiUpper(c);
    return r;
}

std::string LowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = AsciiLower(c);
    return r;
}

std::string AnsiUpperCase(std::string_view s) { return CharUpperStr(s); }
std::string AnsiLowerCase(std::string_view s) { return CharLowerStr(s); }

// --- Comparison ---

int CompareStr(std::string_view a, std::string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        int d = static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]);
        if (d != 0) return d;
    }
    return Sign(static_cast<int>(a.size() > b.size()) - static_cast<int>(a.size() < b.size()));
}

int CompareText(std::string_view a, std::string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        int d = static_cast<unsigned char>(AsciiUpper(a[i])) - static_cast<unsigned char>(AsciiUpper(b[i]));
        if (d != 0) return d;
    }
    return Sign(static_cast<int>(a.size() > b.size()) - static_cast<int>(a.size() < b.size()));
}

bool SameText(std::string_view a, std::string_view b) { return CompareText(a, b) == 0; }

int AnsiCompareText(std::string_view a, std::string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        int d = static_cast<unsigned char>(CharLower(a[i])) - static_cast<unsigned char>(CharLower(b[i]));
        if (d != 0) return Sign(d);
    }
    return Sign(static_cast<int>(a.size() > b.size()) - static_cast<int>(a.size() < b.size()));
}

int AnsiCompareStr(std::string_view a, std::string_view b) {
    if (int r = AnsiCompareText(a, b); r != 0) return r;
    // Same letters: the first difference in case decides, lower case first.
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        return IsCharLower(a[i]) ? -1 : 1;
    }
    return 0;
}

bool AnsiSameText(std::string_view a, std::string_view b) { return AnsiCompareText(a, b) == 0; }

// --- Numbers ---

std::string IntToStr(long long value) { return std::to_string(value); }

std::string IntToHex(int value, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(value));
    std::string r(buf);
    if (digits > static_cast<int>(r.size())) r.insert(0, static_cast<std::size_t>(digits) - r.size(), '0');
    return r;
}

bool TryStrToInt(std::string_view s, int& value) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    bool hex = i < s.size() && s[i] == '$';
    if (hex) ++i;
    if (i == s.size()) return false;

    unsigned long long acc = 0;
    const unsigned long long limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    for (; i < s.size(); ++i) {
        char c = s[i];
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else return false;
        acc = acc * (hex ? 16 : 10) + static_cast<unsigned>(d);
        if (acc > limit) return false;
    }
    auto bits = static_cast<std::uint32_t>(acc);
    if (negative) bits = 0u - bits;
    value = static_cast<int>(static_cast<std::int32_t>(bits));
    return true;
}

int StrToInt(std::string_view s) {
    int v = 0;
    if (!TryStrToInt(s, v)) throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
    return v;
}

int StrToIntDef(std::string_view s, int defaultValue) {
    int v = 0;
    return TryStrToInt(s, v) ? v : defaultValue;
}

// --- 1-based positions ---

int PascalPos(std::string_view sub, std::string_view s) {
    if (sub.empty()) return 0;
    std::size_t p = s.find(sub);
    return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

std::string PascalCopy(std::string_view s, int index, int count) {
    if (index < 1) index = 1;
    auto start = static_cast<std::size_t>(index - 1);
    if (count <= 0 || start >= s.size()) return {};
    return std::string(s.substr(start, static_cast<std::size_t>(count)));
}

void PascalDelete(std::string& s, int index, int count) {
    if (index < 1 || static_cast<std::size_t>(index) > s.size() || count <= 0) return;
    s.erase(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
}

void PascalInsert(std::string_view source, std::string& s, int index) {
    if (index < 1) index = 1;
    auto at = std::min(static_cast<std::size_t>(index - 1), s.size());
    s.insert(at, source);
}

std::string StringOfChar(char ch, int count) {
    return count > 0 ? std::string(static_cast<std::size_t>(count), ch) : std::string();
}

std::string QuotedStr(std::string_view s) {
    std::string r = "'";
    for (char c : s) {
        if (c == '\'') r += '\'';
        r += c;
    }
    r += '\'';
    return r;
}

// --- Format ---

namespace {

[[noreturn]] void FormatError(std::string_view format) {
    throw EConvertError("Format '" + std::string(format) + "' invalid or incompatible with argument");
}

// Inserts thousands separators into the integer part of a fixed-point number.
std::string WithThousands(const std::string& fixed) {
    std::size_t start = (!fixed.empty() && fixed[0] == '-') ? 1 : 0;
    std::size_t end = fixed.find('.');
    if (end == std::string::npos) end = fixed.size();
    std::string r = fixed.substr(0, start);
    for (std::size_t i = start; i < end; ++i) {
        if (i > start && (end - i) % 3 == 0) r += ',';
        r += fixed[i];
    }
    return r + fixed.substr(end);
}

std::string FormatFloatArg(char type, double v, int precision) {
    if (!std::isfinite(v)) return std::isnan(v) ? "NAN" : (v > 0 ? "INF" : "-INF");
    char buf[400];
    switch (type) {
    case 'f':
    case 'n':
        std::snprintf(buf, sizeof buf, "%.*f", precision < 0 ? 2 : std::min(precision, 18), v);
        return type == 'n' ? WithThousands(buf) : std::string(buf);
    case 'e':
        std::snprintf(buf, sizeof buf, "%.*E", precision < 0 ? 14 : std::max(0, std::min(precision, 18) - 1), v);
        return buf;
    default: // 'g'
        std::snprintf(buf, sizeof buf, "%.*G", precision < 0 ? 15 : std::max(1, std::min(precision, 18)), v);
        return buf;
    }
}

} // namespace

std::string Format(std::string_view format, std::initializer_list<TFormatArg> args) {
    std::string out;
    std::size_t next = 0; // the argument the next specifier without index takes
    std::size_t i = 0;
    auto readNumber = [&](int& n) {
        bool any = false;
        n = 0;
        while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
            if (n > 100000) FormatError(format);
            n = n * 10 + (format[i++] - '0');
            any = true;
        }
        return any;
    };
    while (i < format.size()) {
        char c = format[i++];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i < format.size() && format[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        int width = 0, precision = -1, number = 0;
        bool left = false;
        std::size_t mark = i;
        if (readNumber(number) && i < format.size() && format[i] == ':') {
            next = static_cast<std::size_t>(number);
            ++i;
        } else {
            i = mark;
        }
        if (i < format.size() && format[i] == '-') {
            left = true;
            ++i;
        }
        readNumber(width);
        if (i < format.size() && format[i] == '.') {
            ++i;
            if (!readNumber(precision)) FormatError(format);
        }
        if (i >= format.size()) FormatError(format);
        char type = static_cast<char>(AsciiLower(format[i++]));
        if (next >= args.size()) throw EConvertError("No argument for format '" + std::string(format) + "'");
        const TFormatArg& arg = *(args.begin() + next++);
        using K = TFormatArg::TKind;

        std::string text;
        switch (type) {
        case 'd':
        case 'u':
        case 'x': {
            if (arg.Kind() != K::Int && arg.Kind() != K::UInt) FormatError(format);
            bool negative = false;
            unsigned long long magnitude;
            if (type == 'x') {
                // A negative Integer shows its 32-bit pattern.
                magnitude = arg.Kind() == K::UInt ? arg.AsUInt()
                          : (arg.AsInt() < 0 && arg.AsInt() >= std::numeric_limits<std::int32_t>::min()
                                 ? static_cast<std::uint32_t>(arg.AsInt())
                                 : static_cast<unsigned long long>(arg.AsInt()));
            } else if (arg.Kind() == K::UInt) {
                magnitude = arg.AsUInt();
            } else if (type == 'u' && arg.AsInt() < 0) {
                magnitude = static_cast<std::uint32_t>(arg.AsInt());
            } else {
                negative = arg.AsInt() < 0;
                magnitude = negative ? 0ull - static_cast<unsigned long long>(arg.AsInt())
                                     : static_cast<unsigned long long>(arg.AsInt());
            }
            char buf[32];
            std::snprintf(buf, sizeof buf, type == 'x' ? "%llX" : "%llu", magnitude);
            text = buf;
            if (precision > static_cast<int>(text.size()))
                text.insert(0, static_cast<std::size_t>(precision) - text.size(), '0');
            if (negative) text.insert(0, 1, '-');
            break;
        }
        case 'f':
        case 'e':
        case 'g':
        case 'n': {
            double v;
            if (arg.Kind() == K::Float) v = arg.AsFloat();
            else if (arg.Kind() == K::Int) v = static_cast<double>(arg.AsInt());
            else if (arg.Kind() == K::UInt) v = static_cast<double>(arg.AsUInt());
            else FormatError(format);
            text = FormatFloatArg(type, v, precision);
            break;
        }
        case 's':
            if (arg.Kind() != K::Text) FormatError(format);
            text = arg.AsText();
            if (precision >= 0 && static_cast<std::size_t>(precision) < text.size()) text.resize(static_cast<std::size_t>(precision));
            break;
        default:
            FormatError(format);
        }
        if (width > static_cast<int>(text.size())) {
            std::string pad(static_cast<std::size_t>(width) - text.size(), ' ');
            text = left ? text + pad : pad + text;
        }
        out += text;
    }
    return out;
}

// --- Dates and times ---

const std::array<std::string_view, 13> ShortMonthNames = {
    "", "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const std::array<std::string_view, 13> LongMonthNames = {
    "", "January", "February", "March", "April", "May", "June",
    "July", "August", "September", "October", "November", "December"};
const std::array<std::string_view, 8> ShortDayNames = {"", "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const std::array<std::string_view, 8> LongDayNames = {
    "", "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

std::string ShortDateFormat = "M/d/yy";
std::string LongDateFormat = "dddd, MMMM dd, yyyy";
std::string ShortTimeFormat = "h:mm AMPM";
std::string LongTimeFormat = "h:mm:ss AMPM";
std::string TimeAMString = "AM";
std::string TimePMString = "PM";
char DateSeparator = '/';
char TimeSeparator = ':';

namespace {

constexpr long long MSecsPerDay = 86400000;
constexpr long long DaysTo1970 = 25569;       // 30 Dec 1899 to 1 Jan 1970
constexpr long long DaysFromYear1 = 693594;   // 1 Jan 0001 (day 1) to 30 Dec 1899

// Days since 1 Jan 1970 of a civil date, and back (proleptic Gregorian calendar).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (month <= 2));
}

// The whole days (signed, towards zero) and the milliseconds of the day, rounded together so
// that a time a hair before midnight becomes the next day.
void Split(TDateTime dt, long long& days, long long& msOfDay) {
    if (!std::isfinite(dt) || std::fabs(dt) > 3.0e6) throw EConvertError("Invalid argument to date decode");
    long long total = std::llround(std::fabs(dt) * static_cast<double>(MSecsPerDay));
    days = total / MSecsPerDay;
    if (dt < 0) days = -days;
    msOfDay = total % MSecsPerDay;
}

} // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return days[month - 1] + (month == 2 && IsLeapYear(year));
}

TDateTime EncodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        throw EConvertError("Invalid argument to date encode");
    return static_cast<TDateTime>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + DaysTo1970);
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999)
        throw EConvertError("Invalid argument to time encode");
    return static_cast<TDateTime>(((hour * 60LL + min) * 60 + sec) * 1000 + msec) / static_cast<double>(MSecsPerDay);
}

void DecodeDate(TDateTime date, int& year, int& month, int& day) {
    long long days, ms;
    Split(date, days, ms);
    CivilFromDays(days - DaysTo1970, year, month, day);
}

void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec) {
    long long days, ms;
    Split(time, days, ms);
    msec = static_cast<int>(ms % 1000);
    ms /= 1000;
    sec = static_cast<int>(ms % 60);
    ms /= 60;
    min = static_cast<int>(ms % 60);
    hour = static_cast<int>(ms / 60);
}

int DayOfWeek(TDateTime date) {
    long long days, ms;
    Split(date, days, ms);
    long long n = (days + DaysFromYear1) % 7;
    if (n < 0) n += 7;
    return static_cast<int>(n) + 1;
}

namespace {

class TDateFormatter {
public:
    explicit TDateFormatter(TDateTime dt) {
        DecodeDate(dt, FYear, FMonth, FDay);
        DecodeTime(dt, FHour, FMin, FSec, FMSec);
        FDayOfWeek = DayOfWeek(dt);
    }

    std::string Run(std::string_view format, int level = 0) {
        std::string out;
        char lastToken = ' ';
        std::size_t i = 0;
        auto count = [&](char token) {
            std::size_t n = 1;
            while (i < format.size() && AsciiUpper(format[i]) == token) ++i, ++n;
            return n;
        };
        auto two = [](int v) {
            std::string s = std::to_string(v);
            if (v >= 0 && v < 10) s.insert(s.begin(), '0');
            return s;
        };
        while (i < format.size()) {
            char raw = format[i++];
            char token = AsciiUpper(raw);
            if (token >= 'A' && token <= 'Z') {
                if (token == 'M' && lastToken == 'H') token = 'N';
                lastToken = token;
            }
            switch (token) {
            case 'Y':
                out += count('Y') <= 2 ? two(FYear % 100) : std::to_string(FYear);
                break;
            case 'M': {
                std::size_t n = count('M');
                if (n == 1) out += std::to_string(FMonth);
                else if (n == 2) out += two(FMonth);
                else if (n == 3) out += ShortMonthNames[static_cast<std::size_t>(FMonth)];
                else out += LongMonthNames[static_cast<std::size_t>(FMonth)];
                break;
            }
            case 'D': {
                std::size_t n = count('D');
                if (n == 1) out += std::to_string(FDay);
                else if (n == 2) out += two(FDay);
                else if (n == 3) out += ShortDayNames[static_cast<std::size_t>(FDayOfWeek)];
                else if (n == 4) out += LongDayNames[static_cast<std::size_t>(FDayOfWeek)];
                else if (level < 2) out += Run(n == 5 ? ShortDateFormat : LongDateFormat, level + 1);
                break;
            }
            case 'H': {
                std::size_t n = count('H');
                int h = FHour;
                if (TwelveHourClockFollows(format.substr(i))) {
                    h %= 12;
                    if (h == 0) h = 12;
                }
                out += n == 1 ? std::to_string(h) : two(h);
                break;
            }
            case 'N': {
                std::size_t n = raw == 'm' || raw == 'M' ? count('M') : count('N');
                out += n == 1 ? std::to_string(FMin) : two(FMin);
                break;
            }
            case 'S':
                out += count('S') == 1 ? std::to_string(FSec) : two(FSec);
                break;
            case 'Z': {
                std::string ms = std::to_string(FMSec);
                out += count('Z') == 1 ? ms : std::string(3 - ms.size(), '0') + ms;
                break;
            }
            case 'T':
                if (level < 2) out += Run(count('T') == 1 ? ShortTimeFormat : LongTimeFormat, level + 1);
                break;
            case 'C':
                count('C');
                if (level < 2) {
                    out += Run(ShortDateFormat, level + 1);
                    if (FHour != 0 || FMin != 0 || FSec != 0 || FMSec != 0) out += ' ' + Run(LongTimeFormat, level + 1);
                }
                break;
            case 'A': {
                std::string_view rest = format.substr(i - 1);
                bool pm = FHour >= 12;
                if (StartsWithText(rest, "am/pm")) {
                    out += rest.substr(pm ? 3 : 0, 2);
                    i += 4;
                } else if (StartsWithText(rest, "a/p")) {
                    out += rest[pm ? 2 : 0];
                    i += 2;
                } else if (StartsWithText(rest, "ampm")) {
                    out += pm ? TimePMString : TimeAMString;
                    i += 3;
                } else {
                    out += raw;
                }
                break;
            }
            case '/':
                out += DateSeparator;
                break;
            case ':':
                out += TimeSeparator;
                break;
            case '\'':
            case '"': {
                std::size_t close = format.find(raw, i);
                if (close == std::string_view::npos) close = format.size();
                out += format.substr(i, close - i);
                i = std::min(close + 1, format.size());
                break;
            }
            default:
                out += raw;
            }
        }
        return out;
    }

private:
    static bool StartsWithText(std::string_view s, std::string_view prefix) {
        return s.size() >= prefix.size() && CompareText(s.substr(0, prefix.size()), prefix) == 0;
    }

    // An am/pm specifier later in the pattern, outside quotes, switches hours to 12.
    static bool TwelveHourClockFollows(std::string_view rest) {
        char quote = 0;
        for (std::size_t i = 0; i < rest.size(); ++i) {
            char c = rest[i];
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == '\'' || c == '"') {
                quote = c;
            } else if (AsciiUpper(c) == 'A') {
                std::string_view s = rest.substr(i);
                if (StartsWithText(s, "am/pm") || StartsWithText(s, "a/p") || StartsWithText(s, "ampm")) return true;
            }
        }
        return false;
    }

    int FYear, FMonth, FDay, FHour, FMin, FSec, FMSec, FDayOfWeek;
};

} // namespace

std::string FormatDateTime(std::string_view format, TDateTime dateTime) {
    TDateFormatter f(dateTime);
    return f.Run(format.empty() ? std::string_view("c") : format);
}

} // namespace rtl
