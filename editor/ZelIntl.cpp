// International settings from WIN.INI and the date and time parsing of the entry fields.
#include "editor/ZelIntl.h"

#include "editor/ZelExceptions.h"
#include "rtl/IniFiles.h"
#include "rtl/SysUtils.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace editor {

namespace {

std::string ReadIntlString(const char* key, const char* def) {
    char buffer[256];
    rtl::GetProfileString("intl", key, def, buffer, sizeof buffer);
    return buffer;
}

// The first character of the value; an empty value keeps the default rather than a zero byte.
char ReadIntlChar(const char* key, char def) {
    const char defText[2] = {def, 0};
    std::string value = ReadIntlString(key, defText);
    return value.empty() ? def : value[0];
}

std::uint8_t ReadIntlByte(const char* key, int def) {
    return static_cast<std::uint8_t>(rtl::GetProfileInt("intl", key, def));
}

std::string Cut(std::string s, std::size_t max) {
    if (s.size() > max) s.resize(max);
    return s;
}

char TableChar(int id, char def) {
    std::string s = ZelLoadStr(id);
    return s.size() == 1 ? s[0] : def;
}

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

std::string UpperStr(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = Upper(c);
    return r;
}

// Start of the first run of letter (either case) in picture, or npos.
std::size_t RunStart(std::string_view picture, char letter) {
    std::size_t lo = picture.find(Lower(letter));
    std::size_t up = picture.find(Upper(letter));
    return std::min(lo, up);
}

std::size_t RunLength(std::string_view picture, std::size_t start, char letter) {
    std::size_t end = start;
    while (end < picture.size() && Lower(picture[end]) == Lower(letter)) ++end;
    return end - start;
}

// The value of one field of a date or time string laid out by picture.
int ExtractField(std::string_view picture, std::string_view s, char letter, int def) {
    std::size_t start = RunStart(picture, letter);
    if (start == std::string_view::npos || picture.size() != s.size()) return def;
    std::size_t length = RunLength(picture, start, letter);
    std::string text;
    for (std::size_t i = start; i < start + length; ++i)
        if (s[i] != ' ') text += s[i];
    if (text.empty()) return -1;
    if (Lower(letter) == 'n') {
        std::string padded = UpperStr(text);
        padded.resize(std::max(padded.size(), length), ' ');
        for (int month = 1; month <= 12; ++month) {
            std::string name = UpperStr(rtl::LongMonthNames[month]);
            name.resize(padded.size(), ' ');
            if (name == padded) return month;
        }
        return -1;
    }
    std::int32_t value = 0;
    return Str2Long(text, value) ? value : -1;
}

} // namespace

TZelIntlSup::TZelIntlSup() {
    TrueChar = TableChar(STrueChar, TrueChar);
    FalseChar = TableChar(SFalseChar, FalseChar);
    YesChar = TableChar(SYesChar, YesChar);
    NoChar = TableChar(SNoChar, NoChar);
    ReadIntl();
}

void TZelIntlSup::ReadIntl() {
    DecimalChar = ReadIntlChar("sDecimal", '.');
    CommaChar = ReadIntlChar("sThousand", ',');
    CurrencyDigits = ReadIntlByte("iCurrDigits", 2);
    NegCurrFormat = ReadIntlByte("iNegCurr", 0);
    ListChar = ReadIntlChar("sList", ',');
    Country = ReadIntlString("sCountry", "");
    CurrencyLtStr = Cut(ReadIntlString("sCurrency", "$"), 5);
    CurrencyRtStr = CurrencyLtStr;
    CurrencyFormat = ReadIntlByte("iCurrency", 0);
    if (CurrencyFormat == 2) CurrencyLtStr = Cut(CurrencyLtStr + ' ', 5);
    if (CurrencyFormat == 3) CurrencyRtStr = Cut(' ' + CurrencyRtStr, 5);
    HourLeadingZero = rtl::GetProfileInt("intl", "iTLZero", 0) != 0;
    TimeSepChar = ReadIntlChar("sTime", ':');
    SlashChar = ReadIntlChar("sDate", '/');
    AMString = Cut(ReadIntlString("s1159", "AM"), 5);
    PMString = Cut(ReadIntlString("s2359", "PM"), 5);
    ShortDatePicture = Cut(ReadIntlString("sShortDate", "MM/dd/yy"), 29);
    std::replace(ShortDatePicture.begin(), ShortDatePicture.end(), SlashChar, '/');
    SetLongDatePicture(ReadIntlString("sLongDate", "dddd, MMMM dd, yyyy"));
}

void TZelIntlSup::SetLongDatePicture(std::string p) {
    static constexpr char slotLetters[3] = {'f', 'g', 'h'};
    for (int slot = 0; slot < 3; ++slot) {
        LiteralText[slot].clear();
        std::size_t open = p.find('\'');
        if (open == std::string::npos) continue;
        p.erase(open, 1);
        std::size_t close = p.find('\'', open);
        if (close == std::string::npos) continue;
        std::size_t length = close - open;
        std::size_t kept = std::min<std::size_t>(length, 6);
        LiteralText[slot] = p.substr(open, kept);
        p.replace(open, length + 1, kept, slotLetters[slot]);
    }
    auto widen = [&p](const char* run, char to) {
        std::size_t start = p.find(run);
        if (start == std::string::npos) return;
        std::size_t end = start;
        while (end < p.size() && p[end] == run[0]) p[end++] = to;
    };
    widen("ddd", 'w');
    widen("MMM", 'n');
    for (std::size_t i = 0; i < p.size(); ++i)
        if ((p[i] == ',' || p[i] == '.') && (i + 1 >= p.size() || p[i + 1] != ' '))
            p.insert(i + 1, 1, ' ');
    LongDatePicture = Cut(std::move(p), 39);
}

std::string TZelIntlSup::DateMask(bool FourDigitYear) const {
    std::string mask = ShortDatePicture;
    for (char letter : {'d', 'm', 'y'}) {
        std::size_t start = mask.find(letter);
        if (start == std::string::npos) start = mask.find(Upper(letter));
        if (start == std::string::npos) continue;
        const char written = mask[start];
        const std::size_t length = RunLength(mask, start, written);
        const std::size_t wanted = letter == 'y' && FourDigitYear ? 4 : 2;
        if (length < wanted) mask.insert(start, wanted - length, written);
        if (letter == 'y') continue;
        const std::size_t now = std::max(length, wanted);
        char to = written;
        if (length == 1 && written == letter) to = Upper(letter);
        if (length == 2 && written == Upper(letter)) to = letter;
        for (std::size_t i = start; i < start + now; ++i) mask[i] = to;
    }
    return mask;
}

std::string TZelIntlSup::TimeMask(bool WithSeconds) const {
    std::string mask = "hh:mm:ss";
    if (!HourLeadingZero) mask[0] = 'H';
    if (!WithSeconds) mask.resize(5);
    if (!AMString.empty() || !PMString.empty())
        mask += ' ' + std::string(std::max(AMString.size(), PMString.size()), 't');
    return mask;
}

bool TZelIntlSup::DateStringToDMY(std::string_view Picture, std::string_view S, int& Day,
                                  int& Month, int& Year, int Epoch) const {
    if (Picture.size() != S.size()) return false;
    Month = ExtractField(Picture, S, 'n', 0);
    if (Month == 0) Month = ExtractField(Picture, S, 'm', CurrentMonth);
    Day = ExtractField(Picture, S, 'd', 1);
    Year = ExtractField(Picture, S, 'y', CurrentYear);
    return ValidDate(Day, Month, Year, Epoch);
}

TDayNumber TZelIntlSup::DateStringToDate(std::string_view Picture, std::string_view S,
                                         int Epoch) const {
    int day = 0, month = 0, year = 0;
    if (!DateStringToDMY(Picture, S, day, month, year, Epoch)) return BadDate;
    return DMYToDate(day, month, year, Epoch);
}

TDayNumber TZelIntlSup::DateStringToDate(const char* Picture, const char* S, int Epoch) const {
    if (!Picture || !S) return BadDate;
    return DateStringToDate(std::string_view(Picture), std::string_view(S), Epoch);
}

bool TZelIntlSup::TimeStringToHMS(std::string_view Picture, std::string_view S, int& Hours,
                                  int& Minutes, int& Seconds) const {
    if (Picture.size() != S.size()) return false;
    Hours = ExtractField(Picture, S, 'h', 0);
    Minutes = ExtractField(Picture, S, 'm', 0);
    Seconds = ExtractField(Picture, S, 's', 0);
    if (Hours == -1 || Minutes == -1 || Seconds == -1) return false;
    std::size_t start = RunStart(Picture, 't');
    if (start != std::string_view::npos && !AMString.empty() && !PMString.empty()) {
        std::size_t length = RunLength(Picture, start, 't');
        std::string text = UpperStr(TrimTrailPChar(S.substr(start, length)));
        if (text.empty())
            Hours = -1;
        else if (text == UpperStr(Cut(PMString, length))) {
            if (Hours > 12) Hours = -1;
            else if (Hours < 12) Hours += 12;
        } else if (text == UpperStr(Cut(AMString, length))) {
            if (Hours == 0 || Hours > 12) Hours = -1;
            else if (Hours == 12) Hours = 0;
        } else
            Hours = -1;
    }
    return ValidTime(Hours, Minutes, Seconds);
}

TTimeOfDay TZelIntlSup::TimeStringToTime(std::string_view Picture, std::string_view S) const {
    int h = 0, m = 0, s = 0;
    if (!TimeStringToHMS(Picture, S, h, m, s)) return -1;
    return HMSToTime(static_cast<std::uint8_t>(h), static_cast<std::uint8_t>(m),
                     static_cast<std::uint8_t>(s));
}

TTimeOfDay TZelIntlSup::TimeStringToTime(const char* Picture, const char* S) const {
    if (!Picture || !S) return -1;
    return TimeStringToTime(std::string_view(Picture), std::string_view(S));
}

TZelUserData::TZelUserData() {
    for (auto& set : UserCharSet) {
        set.set();
        set.reset(0);
    }
    for (int i = 0; i < 8; ++i) SubstChar[i] = static_cast<char>(241 + i);
}

TZelIntlSup& DefaultIntlSup() {
    static const std::unique_ptr<TZelIntlSup> instance = std::make_unique<TZelIntlSup>();
    return *instance;
}

TZelUserData& DefaultUserData() {
    static const std::unique_ptr<TZelUserData> instance = std::make_unique<TZelUserData>();
    return *instance;
}

} // namespace editor
