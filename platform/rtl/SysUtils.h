// The class library's string, number and date routines over cp1252 text held in std::string.
// Positions in the Pascal* helpers count from 1. Implementations in SysUtils.cpp.
#pragma once

#include "rtl/Clock.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace rtl {

// --- Blanks and letter case ---

// Blanks and control characters (every byte up to ' ') are trimmed.
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

// ASCII letters only.
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
// Every cp1252 letter.
std::string AnsiUpperCase(std::string_view s);
std::string AnsiLowerCase(std::string_view s);

// --- Comparison: < 0, 0 or > 0 ---

int CompareStr(std::string_view a, std::string_view b);  // byte order, case counts
int CompareText(std::string_view a, std::string_view b); // byte order, ASCII case ignored
bool SameText(std::string_view a, std::string_view b);
// cp1252 order with letter case folded; AnsiCompareStr then puts a lower-case letter before
// its capital when the texts differ only in case.
int AnsiCompareText(std::string_view a, std::string_view b);
int AnsiCompareStr(std::string_view a, std::string_view b);
bool AnsiSameText(std::string_view a, std::string_view b);

// --- Numbers ---

std::string IntToStr(long long value);
// Upper-case hex digits of the 32-bit value, at least digits of them.
std::string IntToHex(int value, int digits);
// Pascal reading: leading blanks, then an optional sign, then decimal digits or '$' and hex
// digits, and nothing after them. Hex takes all 32 bits ("$FFFFFFFF" is -1).
bool TryStrToInt(std::string_view s, int& value);
// Raises EConvertError "'<s>' is not a valid integer value".
int StrToInt(std::string_view s);
int StrToIntDef(std::string_view s, int defaultValue);

// --- 1-based positions, as the Pascal string routines count ---

// Position of the first sub in s, 0 when absent (or when sub is empty).
int PascalPos(std::string_view sub, std::string_view s);
// Count characters from index; an index below 1 counts as 1, one past the end gives "".
std::string PascalCopy(std::string_view s, int index, int count);
// Removes count characters from index; an index outside 1..length changes nothing.
void PascalDelete(std::string& s, int index, int count);
// Inserts source before index; an index past the end appends, below 1 prepends.
void PascalInsert(std::string_view source, std::string& s, int index);

std::string StringOfChar(char ch, int count);
// Single quotes around s, inner quotes doubled.
std::string QuotedStr(std::string_view s);

// --- Format ---

// One argument of Format: a number, a floating-point value or a text.
class TFormatArg {
public:
    enum class TKind { Int, UInt, Float, Text };

    TFormatArg(int v) : FKind(TKind::Int), FInt(v) {}
    TFormatArg(long v) : FKind(TKind::Int), FInt(v) {}
    TFormatArg(long long v) : FKind(TKind::Int), FInt(v) {}
    TFormatArg(unsigned v) : FKind(TKind::UInt), FUInt(v) {}
    TFormatArg(unsigned long v) : FKind(TKind::UInt), FUInt(v) {}
    TFormatArg(unsigned long long v) : FKind(TKind::UInt), FUInt(v) {}
    TFormatArg(double v) : FKind(TKind::Float), FFloat(v) {}
    TFormatArg(char v) : FKind(TKind::Text), FText(1, v) {}
    TFormatArg(const char* v) : FKind(TKind::Text), FText(v ? v : "") {}
    TFormatArg(std::string_view v) : FKind(TKind::Text), FText(v) {}
    TFormatArg(const std::string& v) : FKind(TKind::Text), FText(v) {}

    TKind Kind() const { return FKind; }
    long long AsInt() const { return FInt; }
    unsigned long long AsUInt() const { return FUInt; }
    double AsFloat() const { return FFloat; }
    const std::string& AsText() const { return FText; }

private:
    TKind FKind;
    long long FInt = 0;
    unsigned long long FUInt = 0;
    double FFloat = 0;
    std::string FText;
};

// Specifiers: "%" [index ":"] ["-"] [width] ["." precision] type, with type one of
// d (precision: least digits), u, x (upper-case hex), s (precision: most characters),
// f, e, g, n (precision: decimals, 2 by default for f and n); "%%" is a percent sign.
// A bad specifier or an argument of the wrong kind raises EConvertError
// "Format '<format>' invalid or incompatible with argument"; a missing argument
// "No argument for format '<format>'".
std::string Format(std::string_view format, std::initializer_list<TFormatArg> args);

// --- Dates and times (TDateTime: days since 30 December 1899, the fraction the time) ---

// English names; index 1 is January (or Sunday), index 0 is empty.
extern const std::array<std::string_view, 13> ShortMonthNames;
extern const std::array<std::string_view, 13> LongMonthNames;
extern const std::array<std::string_view, 8> ShortDayNames;
extern const std::array<std::string_view, 8> LongDayNames;

// The patterns and texts of the international settings that FormatDateTime falls back on.
extern std::string ShortDateFormat; // "M/d/yy"
extern std::string LongDateFormat;  // "dddd, MMMM dd, yyyy"
extern std::string ShortTimeFormat; // "h:mm AMPM"
extern std::string LongTimeFormat;  // "h:mm:ss AMPM"
extern std::string TimeAMString;    // "AM"
extern std::string TimePMString;    // "PM"
extern char DateSeparator;          // '/'
extern char TimeSeparator;          // ':'

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// Raise EConvertError "Invalid argument to date encode" / "Invalid argument to time encode".
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
void DecodeDate(TDateTime date, int& year, int& month, int& day);
void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec);
// 1 is Sunday, 7 Saturday.
int DayOfWeek(TDateTime date);

// Pattern letters, in any case: c (short date, then long time unless midnight), d dd ddd dddd
// ddddd (short date) dddddd (long date), m mm mmm mmmm (minutes right after h or hh), yy yyyy,
// h hh, n nn, s ss, z zzz, t (short time) tt (long time), am/pm and a/p (12-hour clock, the
// pattern's own letter case), ampm (TimeAMString/TimePMString), '/' and ':' the separators,
// text in single or double quotes as it stands.
std::string FormatDateTime(std::string_view format, TDateTime dateTime);

} // namespace rtl
