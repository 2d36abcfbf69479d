// The value side of the entry fields: the sixteen data types and the sizes of their typed values,
// the picture-mask characters that take input and what each accepts, the conversion of text into
// a typed value and back, and the fields' error codes with their texts.
// Implementations in Pictures.cpp.
#pragma once

#include "editor/ZelIntl.h"
#include "editor/ZelUtils.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace editor {

// Data types: the low six bits of a field's type byte.
enum TZelDataType : std::uint8_t {
    fdString, fdChar, fdBoolean, fdYesNo, fdLongInt, fdWord, fdInteger, fdByte, fdShortInt,
    fdReal, fdExtended, fdDouble, fdSingle, fdComp, fdDate, fdTime,
};
constexpr std::uint8_t fdTypeMask = 0x3F;
// Bit 6: a string value without the mask's literals (with StripLiterals).
constexpr std::uint8_t fdNoLiterals = 0x40;
constexpr std::uint8_t fdLastType = fdTime;

// Error codes of the entry fields; 0 is none.
constexpr std::uint16_t epRange = 256;
constexpr std::uint16_t epInvalid = 257;
constexpr std::uint16_t epRequired = 258;
constexpr std::uint16_t epDate = 259;
constexpr std::uint16_t epTime = 260;
constexpr std::uint16_t epBlanks = 261;
constexpr std::uint16_t epPartial = 262;
// Codes from here up are the application's own; their text is the controller's.
constexpr std::uint16_t epUserError = 32768;

// The text of an error code; UserText for the application's codes.
std::string EntryErrorText(std::uint16_t Code, const std::string& UserText);

// Field modes.
constexpr std::uint8_t fmSimple = 0;
constexpr std::uint8_t fmPicture = 1;
constexpr std::uint8_t fmNumeric = 2;

// A typed value in its own binary form, as Convert reads and stores it; a string is
// length-prefixed.
using TZelValueBuffer = std::array<std::uint8_t, 256>;

// Whether a mask character takes input; every other character is a literal.
bool IsPictureInputChar(char C);
// Mask characters that a value without literals leaves out ("$" and "," count as input).
std::size_t PictureLiteralCount(std::string_view Mask);
// The picture a field edits through: in a simple field the first mask character for every
// position up to MaxLength.
std::string EffectivePicture(std::uint8_t FieldMode, std::string_view Mask, int MaxLength);

// The size in bytes of a field's typed value. A string without literals keeps at least its
// length byte, also when the mask has as many literals as the field has characters.
std::uint16_t ValueSize(std::uint8_t TypeByte, int MaxLength, std::string_view Mask,
                        bool StripLiterals);

// What a typed character becomes at a position of picture character Pic: false when the
// position refuses it, else true with Ch in the case the picture forces. Previous is the
// character before the position (for "x", which capitalises the start of each word).
//   X any; ! any, upper case; L any, lower case; x any, a word's first letter upper case
//   a a letter (the library's alphabetic set); A the same, upper case; l the same, lower case
//   N a letter, digit or blank, upper case
//   9 a digit or blank; # a digit, blank, "+" or "-"; i a digit, blank or "-";
//   E a digit, blank, sign, ".", or "E" (a number in scientific form)
//   K a hexadecimal digit, upper case; O an octal digit; b a binary digit
//   B the true or false letter; Y the yes or no letter (both upper case)
//   1 to 8 the user character sets of UserData, with their forced case
//   d D day, m M month or minute, y year, h H hour, s S second: a digit or blank
//   n a letter of a month name; t a letter of the AM or PM text, upper case
bool FitPictureChar(char Pic, char& Ch, char Previous, const TZelIntlSup& Intl,
                    const TZelUserData& UserData);

// How integer text is read: the field's entry from its mask letters K, O, b.
enum class TZelNumberBase { Decimal, Hexadecimal, Octal, Binary };

// Integer text of data types 4-8, before their range check: trimmed; empty is 0. Octal text
// takes only the digits 0 to 7.
bool IntegerTextToLong(std::string_view Text, TZelNumberBase Base, std::int32_t& Value);
// Number text of data types 9-13 before their range check; empty is 0.
bool NumberTextToExtended(std::string_view Text, long double& Value);

// The date and time pictures that text given to a field must match in length.
std::string DatePicture(const TZelIntlSup& Intl);
std::string TimePicture(const TZelIntlSup& Intl);

// What converting a text needs besides the text.
struct TZelConvertContext {
    const TZelIntlSup* Intl = nullptr;
    int Epoch = 0;
    TZelNumberBase Base = TZelNumberBase::Decimal;
};

// Text into the typed value of a data type (0 to 15), narrowed to the type's size: false when
// the text does not convert or its value lies outside the type's range.
bool TextToValue(std::uint8_t DataType, std::string_view Text, const TZelConvertContext& Context,
                 TZelValueBuffer& Value);

// Typed values in and out of their binary forms.
std::string ValueString(const TZelValueBuffer& Value);
void SetValueString(TZelValueBuffer& Value, std::string_view S);
// Integer types 1-8 and 14, 15 as a 32-bit integer; the character and boolean types give their
// byte.
std::int32_t ValueInteger(std::uint8_t DataType, const TZelValueBuffer& Value);
void SetValueInteger(std::uint8_t DataType, TZelValueBuffer& Value, std::int32_t N);
// Number types 9-13.
long double ValueNumber(std::uint8_t DataType, const TZelValueBuffer& Value);
void SetValueNumber(std::uint8_t DataType, TZelValueBuffer& Value, long double N);

// The 6-byte real of the old Pascal compilers.
std::array<std::uint8_t, 6> DoubleToReal48(double D);
double Real48ToDouble(const std::uint8_t* Bytes);

// The date of a day number (BadDate gives false).
bool DateToDMY(TDayNumber Date, int& Day, int& Month, int& Year);
// A date or time laid out by a picture of the international settings' letters: upper-case D, M, H and S give a leading blank instead of a zero; a date that
// is BadDate or a time below 0 gives blanks at the picture's input positions.
std::string DateToPictureString(std::string_view Picture, TDayNumber Date, const TZelIntlSup& Intl);
std::string TimeToPictureString(std::string_view Picture, TTimeOfDay Time, const TZelIntlSup& Intl);

} // namespace editor
