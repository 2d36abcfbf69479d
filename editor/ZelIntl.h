// The international settings of Windows as the entry fields use them, read from the [intl]
// section of WIN.INI, with the default date and time masks and the parsing of dates and times
// against a picture; and the definitions of the eight user mask characters.
// Implementations in ZelIntl.cpp.
#pragma once

#include "editor/ZelUtils.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

namespace editor {

class TZelIntlSup {
public:
    // The defaults, then WIN.INI.
    TZelIntlSup();

    std::string CurrencyLtStr = "$"; // at most 5 characters
    std::string CurrencyRtStr;       // at most 5 characters
    char DecimalChar = '.';
    char CommaChar = ',';
    std::uint8_t CurrencyDigits = 2;
    char ListChar = ',';
    char SlashChar = '/';
    char TrueChar = 'T';
    char FalseChar = 'F';
    char YesChar = 'Y';
    char NoChar = 'N';
    std::string AMString; // at most 5 characters
    std::string PMString; // at most 5 characters
    char TimeSepChar = ':';
    std::string Country;
    std::uint8_t CurrencyFormat = 0;
    // The quoted literals of the long date picture, standing there as "f", "g" and "h".
    std::array<std::string, 3> LiteralText;
    std::string LongDatePicture;  // at most 39 characters
    std::uint8_t NegCurrFormat = 0;
    std::string ShortDatePicture; // at most 29 characters
    bool HourLeadingZero = false;

    std::string DateMask(bool FourDigitYear) const;
    std::string TimeMask(bool WithSeconds) const;

    // Fields missing from the picture take defaults: month the current month, day 1, year the
    // current year. The year comes back as written; the epoch completes it for the check.
    bool DateStringToDMY(std::string_view Picture, std::string_view S, int& Day, int& Month,
                         int& Year, int Epoch) const;
    TDayNumber DateStringToDate(std::string_view Picture, std::string_view S, int Epoch) const;
    // Null texts are not dates.
    TDayNumber DateStringToDate(const char* Picture, const char* S, int Epoch) const;
    bool TimeStringToHMS(std::string_view Picture, std::string_view S, int& Hours, int& Minutes,
                         int& Seconds) const;
    TTimeOfDay TimeStringToTime(std::string_view Picture, std::string_view S) const;
    TTimeOfDay TimeStringToTime(const char* Picture, const char* S) const;

private:
    void ReadIntl();
    void SetLongDatePicture(std::string Picture);
};

// The definitions of the eight user mask characters.
class TZelUserData {
public:
    TZelUserData();

    std::array<std::bitset<256>, 8> UserCharSet; // every character from 1 to 255
    std::array<std::uint8_t, 8> ForceCase{};     // 0: none
    std::array<char, 8> SubstChar{};             // the characters 241 to 248
};

inline std::uint16_t MaxWord(std::uint16_t A, std::uint16_t B) { return A > B ? A : B; }

// The library-wide instances, made on first use (after the machine's WIN.INI is in place) and
// not read again while the library runs.
TZelIntlSup& DefaultIntlSup();
TZelUserData& DefaultUserData();

} // namespace editor
