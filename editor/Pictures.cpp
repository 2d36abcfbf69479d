// Data types, picture characters, text conversions and error texts of the entry fields.
#include "editor/Pictures.h"

#include "rtl/CodePages.h"
#include "rtl/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace editor {

namespace {

constexpr std::string_view InputChars = "!#123456789ABDEHKLMNOSXYabdhilmnstxy";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsDigitOrBlank(char c) { return IsDigit(c) || c == ' '; }

template <typename T>
void Put(TZelValueBuffer& b, T v) {
    static_assert(sizeof(T) <= 10);
    std::memcpy(b.data(), &v, sizeof v);
}

template <typename T>
T Get(const TZelValueBuffer& b) {
    T v;
    std::memcpy(&v, b.data(), sizeof v);
    return v;
}

// The 8-byte integer of the comp type, rounded; false beyond its limits.
bool NumberFits(std::uint8_t type, long double v) {
    if (!std::isfinite(v)) return false;
    switch (type) {
    case fdReal: return std::fabs(v) <= 1.7e38L; // the 6-byte real ends near 1.7e38
    case fdExtended: return true;
    case fdDouble: return std::fabs(v) <= 1.7e308L;
    case fdSingle: return std::fabs(v) <= 3.4e38L;
    case fdComp: return std::fabs(v) <= 9.2e18L;
    default: return false;
    }
}

std::string Pad(std::string s, std::size_t width, char fill, bool left) {
    if (s.size() >= width) return s.substr(s.size() - width);
    return left ? std::string(width - s.size(), fill) + s : s + std::string(width - s.size(), fill);
}

// Writes a number into the run of letter in out; the run is read without regard to case, as
// the parsers read it ("Hh" is one two-digit field), and one that starts in upper case pads
// with blanks instead of zeros.
void FillRun(std::string& out, std::string_view picture, char letter, int value) {
    char lower = rtl::CharLower(letter);
    for (std::size_t i = 0; i < picture.size();) {
        if (rtl::CharLower(picture[i]) != lower) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < picture.size() && rtl::CharLower(picture[j]) == lower) ++j;
        const bool blanks = rtl::IsCharUpper(picture[i]);
        std::string digits = Pad(std::to_string(value), j - i, blanks ? ' ' : '0', true);
        out.replace(i, j - i, digits);
        i = j;
    }
}

// Writes a name into the run of letter, cut or padded with blanks to the run.
void FillName(std::string& out, std::string_view picture, char letter, std::string_view name) {
    for (std::size_t i = 0; i < picture.size();) {
        if (picture[i] != letter) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < picture.size() && picture[j] == letter) ++j;
        std::string s(name.substr(0, j - i));
        s.resize(j - i, ' ');
        out.replace(i, j - i, s);
        i = j;
    }
}

// The picture with its input letters blanked, its literals kept.
std::string BlankPicture(std::string_view picture, std::string_view letters) {
    std::string out(picture);
    for (char& c : out)
        if (letters.find(c) != std::string_view::npos) c = ' ';
    return out;
}

} // namespace

std::string EntryErrorText(std::uint16_t Code, const std::string& UserText) {
    switch (Code) {
    case epRange: return "Value is not within required range";
    case epInvalid: return "Value is not valid for this field type";
    case epRequired: return "A value is required in this field";
    case epDate: return "Value is not a valid date";
    case epTime: return "Value is not a valid time";
    case epBlanks: return "This field should contain no blanks";
    case epPartial: return "This field should be either empty or completely full";
    default: return Code >= epUserError ? UserText : "Entry Error";
    }
}

bool IsPictureInputChar(char C) { return C != 0 && InputChars.find(C) != std::string_view::npos; }

std::size_t PictureLiteralCount(std::string_view Mask) {
    return static_cast<std::size_t>(std::count_if(Mask.begin(), Mask.end(), [](char c) {
        return !IsPictureInputChar(c) && c != '$' && c != ',';
    }));
}

std::string EffectivePicture(std::uint8_t FieldMode, std::string_view Mask, int MaxLength) {
    if (FieldMode == fmSimple)
        return std::string(static_cast<std::size_t>(std::max(MaxLength, 0)), Mask.empty() ? 'X' : Mask[0]);
    return std::string(Mask);
}

std::uint16_t ValueSize(std::uint8_t TypeByte, int MaxLength, std::string_view Mask,
                        bool StripLiterals) {
    switch (TypeByte & fdTypeMask) {
    case fdString: {
        int size = MaxLength + 1;
        if (TypeByte == (fdString | fdNoLiterals) && StripLiterals)
            size = MaxLength - static_cast<int>(PictureLiteralCount(Mask)) + 1;
        return static_cast<std::uint16_t>(std::clamp(size, 1, 256));
    }
    case fdChar: case fdBoolean: case fdYesNo: case fdByte: case fdShortInt: return 1;
    case fdWord: case fdInteger: return 2;
    case fdLongInt: case fdSingle: case fdDate: case fdTime: return 4;
    case fdReal: return 6;
    case fdDouble: case fdComp: return 8;
    case fdExtended: return 10;
    default: return 0;
    }
}

bool FitPictureChar(char Pic, char& Ch, char Previous, const TZelIntlSup& Intl,
                    const TZelUserData& UserData) {
    const char c = Ch;
    const char up = rtl::CharUpper(c);
    auto accept = [&](bool ok, char as) {
        if (ok) Ch = as;
        return ok;
    };
    switch (Pic) {
    case 'X': return true;
    case '!': return accept(true, up);
    case 'L': return accept(true, rtl::CharLower(c));
    case 'x': return accept(true, Previous == ' ' || Previous == 0 ? up : c);
    case 'a': return accept(IsAlphaChar(c), c);
    case 'A': return accept(IsAlphaChar(c), up);
    case 'l': return accept(IsAlphaChar(c), rtl::CharLower(c));
    case 'N': return accept(rtl::IsCharAlphaNumeric(c) || c == ' ', up);
    case '9': return accept(IsDigitOrBlank(c), c);
    case '#': return accept(IsDigitOrBlank(c) || c == '+' || c == '-', c);
    case 'i': return accept(IsDigitOrBlank(c) || c == '-', c);
    case 'E': return accept(IsDigitOrBlank(c) || c == '+' || c == '-' || c == '.' || up == 'E', up);
    case 'K': return accept(IsDigit(c) || (up >= 'A' && up <= 'F'), up);
    case 'O': return accept(c >= '0' && c <= '7', c);
    case 'b': return accept(c == '0' || c == '1', c);
    case 'B': return accept(up == rtl::CharUpper(Intl.TrueChar) || up == rtl::CharUpper(Intl.FalseChar), up);
    case 'Y': return accept(up == rtl::CharUpper(Intl.YesChar) || up == rtl::CharUpper(Intl.NoChar), up);
    case 'd': case 'D': case 'm': case 'M': case 'y': case 'h': case 'H': case 's': case 'S':
        return accept(IsDigitOrBlank(c), c);
    case 'n': return accept(IsAlphaChar(c), c);
    case 't': return accept(IsAlphaChar(c), up);
    case '1': case '2': case '3': case '4': case '5': case '6': case '7': case '8': {
        const int n = Pic - '1';
        if (c == 0 || !UserData.UserCharSet[n][static_cast<unsigned char>(c)]) return false;
        switch (UserData.ForceCase[n]) {
        case 1: Ch = up; break;
        case 2: Ch = rtl::CharLower(c); break;
        default: break;
        }
        return true;
    }
    default: return false;
    }
}

bool IntegerTextToLong(std::string_view Text, TZelNumberBase Base, std::int32_t& Value) {
    std::string s = TrimPChar(Text);
    Value = 0;
    if (s.empty()) return true;
    if (Base == TZelNumberBase::Binary) {
        std::uint32_t v = 0;
        const std::size_t n = s.size();
        for (std::size_t i = 0; i < n; ++i) {
            const char c = s[n - 1 - i];
            if (c != '0' && c != '1') return false;
            if (c == '1') {
                if (i >= 32) return false;
                v |= 1u << i;
            }
        }
        Value = static_cast<std::int32_t>(v);
        return true;
    }
    if (Base == TZelNumberBase::Octal) {
        std::uint32_t v = 0;
        for (char c : s) {
            if (c < '0' || c > '7') return false;
            if (v >= (1u << 29)) return false;
            v = (v << 3) | static_cast<std::uint32_t>(c - '0');
        }
        Value = static_cast<std::int32_t>(v);
        return true;
    }
    if (Base == TZelNumberBase::Hexadecimal && s.find('$') == std::string::npos) s.insert(0, "$");
    if (s == "-2147483648") {
        Value = std::numeric_limits<std::int32_t>::min();
        return true;
    }
    std::int32_t v = 0;
    if (!Str2Long(s, v)) return false;
    Value = v;
    return true;
}

bool NumberTextToExtended(std::string_view Text, long double& Value) {
    std::string s = TrimPChar(Text);
    Value = 0;
    if (s.empty()) return true;
    // Only plain decimal numbers: no hexadecimal floats, infinities or NaNs.
    for (char c : s)
        if (!IsDigit(c) && c != '+' && c != '-' && c != '.' && c != 'e' && c != 'E') return false;
    char* end = nullptr;
    errno = 0;
    const long double v = std::strtold(s.c_str(), &end);
    if (end != s.c_str() + s.size() || errno == ERANGE || !std::isfinite(v)) return false;
    Value = v;
    return true;
}

std::string DatePicture(const TZelIntlSup& Intl) { return Intl.DateMask(true).substr(0, 40); }
std::string TimePicture(const TZelIntlSup& Intl) { return Intl.TimeMask(true).substr(0, 40); }

bool TextToValue(std::uint8_t DataType, std::string_view Text, const TZelConvertContext& Context,
                 TZelValueBuffer& Value) {
    Value.fill(0);
    const TZelIntlSup& intl = Context.Intl ? *Context.Intl : DefaultIntlSup();
    switch (DataType) {
    case fdString:
        SetValueString(Value, Text.substr(0, 255));
        return true;
    case fdChar: {
        char c = ' ';
        if (Text.size() > 1 && Text[0] == '#') {
            std::int32_t code = 0;
            if (Str2Long(Text.substr(1, 3), code)) {
                // A code beyond the character set is refused rather than cut to its low byte.
                if (code < 0 || code > 255) return false;
                c = static_cast<char>(code);
            }
        } else if (!Text.empty()) {
            c = Text[0];
        }
        Value[0] = static_cast<std::uint8_t>(c);
        return true;
    }
    case fdBoolean: case fdYesNo: {
        bool v = false;
        if (!Text.empty()) {
            const char first = rtl::CharUpper(Text[0]);
            v = first == rtl::CharUpper(intl.TrueChar) || first == rtl::CharUpper(intl.YesChar);
        }
        Value[0] = v ? 1 : 0;
        return true;
    }
    case fdLongInt: case fdWord: case fdInteger: case fdByte: case fdShortInt: {
        std::int32_t v = 0;
        if (!IntegerTextToLong(Text, Context.Base, v)) return false;
        bool inRange = true;
        switch (DataType) {
        case fdWord: inRange = v >= 0 && v <= 65535; break;
        case fdInteger: inRange = v >= -32768 && v <= 32767; break;
        case fdByte: inRange = v >= 0 && v <= 255; break;
        case fdShortInt: inRange = v >= -128 && v <= 127; break;
        default: break;
        }
        if (!inRange) return false;
        SetValueInteger(DataType, Value, v);
        return true;
    }
    case fdReal: case fdExtended: case fdDouble: case fdSingle: case fdComp: {
        long double v = 0;
        if (!NumberTextToExtended(Text, v) || !NumberFits(DataType, v)) return false;
        SetValueNumber(DataType, Value, v);
        return true;
    }
    case fdDate: {
        const std::string picture = DatePicture(intl);
        if (Text.size() != picture.size()) return false;
        const TDayNumber d = intl.DateStringToDate(picture, Text, Context.Epoch);
        if (d == BadDate) return false;
        SetValueInteger(DataType, Value, d);
        return true;
    }
    case fdTime: {
        const std::string picture = TimePicture(intl);
        if (Text.size() != picture.size()) return false;
        const TTimeOfDay t = intl.TimeStringToTime(picture, Text);
        if (t < 0) return false;
        SetValueInteger(DataType, Value, t);
        return true;
    }
    default: return false;
    }
}

std::string ValueString(const TZelValueBuffer& Value) {
    return std::string(reinterpret_cast<const char*>(Value.data()) + 1, Value[0]);
}

void SetValueString(TZelValueBuffer& Value, std::string_view S) {
    const std::size_t n = std::min<std::size_t>(S.size(), 255);
    Value[0] = static_cast<std::uint8_t>(n);
    std::memcpy(Value.data() + 1, S.data(), n);
}

std::int32_t ValueInteger(std::uint8_t DataType, const TZelValueBuffer& Value) {
    switch (DataType) {
    case fdChar: case fdBoolean: case fdYesNo: case fdByte: return Value[0];
    case fdShortInt: return static_cast<std::int8_t>(Value[0]);
    case fdWord: return Get<std::uint16_t>(Value);
    case fdInteger: return Get<std::int16_t>(Value);
    default: return Get<std::int32_t>(Value);
    }
}

void SetValueInteger(std::uint8_t DataType, TZelValueBuffer& Value, std::int32_t N) {
    switch (DataType) {
    case fdChar: case fdBoolean: case fdYesNo: case fdByte: case fdShortInt:
        Value[0] = static_cast<std::uint8_t>(N);
        break;
    case fdWord: case fdInteger: Put(Value, static_cast<std::uint16_t>(N)); break;
    default: Put(Value, N); break;
    }
}

long double ValueNumber(std::uint8_t DataType, const TZelValueBuffer& Value) {
    switch (DataType) {
    case fdReal: return Real48ToDouble(Value.data());
    case fdExtended: return Get<long double>(Value);
    case fdDouble: return Get<double>(Value);
    case fdSingle: return Get<float>(Value);
    case fdComp: return static_cast<long double>(Get<std::int64_t>(Value));
    default: return ValueInteger(DataType, Value);
    }
}

void SetValueNumber(std::uint8_t DataType, TZelValueBuffer& Value, long double N) {
    switch (DataType) {
    case fdReal: {
        const auto r = DoubleToReal48(static_cast<double>(N));
        std::memcpy(Value.data(), r.data(), r.size());
        break;
    }
    case fdExtended: {
        // The 80-bit form: the first ten bytes of the x87 long double.
        std::uint8_t bytes[sizeof(long double)] = {};
        std::memcpy(bytes, &N, sizeof N);
        std::memcpy(Value.data(), bytes, 10);
        break;
    }
    case fdDouble: Put(Value, static_cast<double>(N)); break;
    case fdSingle: Put(Value, static_cast<float>(N)); break;
    case fdComp: Put(Value, static_cast<std::int64_t>(std::llround(N))); break;
    default: SetValueInteger(DataType, Value, static_cast<std::int32_t>(N)); break;
    }
}

std::array<std::uint8_t, 6> DoubleToReal48(double D) {
    std::array<std::uint8_t, 6> r{};
    if (D == 0 || !std::isfinite(D)) return r;
    int exp = 0;
    const double m = std::frexp(std::fabs(D), &exp); // 0.5 <= m < 1: D = m * 2^exp
    // The 6-byte real holds 1.f * 2^(e - 129), so e = exp + 128; 39 fraction bits.
    const int e = exp + 128;
    if (e <= 0) return r;
    if (e > 255) return r;
    std::uint64_t fraction = static_cast<std::uint64_t>(std::ldexp(m * 2 - 1, 39) + 0.5);
    if (fraction >> 39) fraction = 0; // rounding reached the next power of two
    r[0] = static_cast<std::uint8_t>(e);
    for (int i = 0; i < 5; ++i) r[1 + i] = static_cast<std::uint8_t>(fraction >> (8 * i));
    if (D < 0) r[5] |= 0x80;
    return r;
}

double Real48ToDouble(const std::uint8_t* Bytes) {
    if (Bytes[0] == 0) return 0;
    std::uint64_t fraction = 0;
    for (int i = 0; i < 5; ++i) fraction |= std::uint64_t{Bytes[1 + i]} << (8 * i);
    const bool negative = fraction & (std::uint64_t{1} << 39);
    fraction &= (std::uint64_t{1} << 39) - 1;
    const double v = std::ldexp(1.0 + std::ldexp(static_cast<double>(fraction), -39), Bytes[0] - 129);
    return negative ? -v : v;
}

bool DateToDMY(TDayNumber Date, int& Day, int& Month, int& Year) {
    if (Date < 0) return false;
    if (Date < 60) {
        Year = 1600;
        Month = Date < 31 ? 1 : 2;
        Day = Date < 31 ? Date + 1 : Date - 30;
        return true;
    }
    // Days from 1 March 1600, counted in 400-year eras.
    const int d = Date - 60;
    const int era = d / 146097;
    const int doe = d % 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    Day = doy - (153 * mp + 2) / 5 + 1;
    Month = mp < 10 ? mp + 3 : mp - 9;
    Year = 1600 + era * 400 + yoe + (Month <= 2 ? 1 : 0);
    return Year <= 3999 && DMYToDate(Day, Month, Year, 0) == Date;
}

std::string DateToPictureString(std::string_view Picture, TDayNumber Date, const TZelIntlSup&) {
    int day = 0, month = 0, year = 0;
    if (!DateToDMY(Date, day, month, year)) return BlankPicture(Picture, "dDmMyYnw");
    std::string out(Picture);
    FillRun(out, Picture, 'd', day);
    FillRun(out, Picture, 'm', month);
    FillRun(out, Picture, 'y', year);
    FillName(out, Picture, 'n', rtl::LongMonthNames[static_cast<std::size_t>(month)]);
    // 1 January 1600 was a Saturday; the day names start with Sunday.
    FillName(out, Picture, 'w', rtl::LongDayNames[static_cast<std::size_t>((Date + 6) % 7 + 1)]);
    return out;
}

std::string TimeToPictureString(std::string_view Picture, TTimeOfDay Time, const TZelIntlSup& Intl) {
    if (Time < 0 || Time >= 86400) return BlankPicture(Picture, "hHmMsSt");
    int hours = Time / 3600;
    const int minutes = Time / 60 % 60;
    const int seconds = Time % 60;
    const bool twelve = Picture.find('t') != std::string_view::npos && !Intl.AMString.empty() &&
                        !Intl.PMString.empty();
    std::string out(Picture);
    if (twelve) {
        FillName(out, Picture, 't', hours >= 12 ? Intl.PMString : Intl.AMString);
        hours %= 12;
        if (hours == 0) hours = 12;
    }
    FillRun(out, Picture, 'h', hours);
    FillRun(out, Picture, 'm', minutes);
    FillRun(out, Picture, 's', seconds);
    return out;
}

} // namespace editor
