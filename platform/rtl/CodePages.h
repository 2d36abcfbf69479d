// The two code pages of the suite: ANSI (cp1252), in which all text is held, and OEM (cp437),
// in which the spell engine stores words; best-fit conversions between them and to and from
// UTF-8, for text that leaves the suite. Implementations in CodePages.cpp.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rtl {

// One character each way; a character the other page lacks becomes its best fit
// (an accented letter its base letter, OEM 158 "P", otherwise '?').
char AnsiToOemChar(char c);
char OemToAnsiChar(char c);
std::string AnsiToOem(std::string_view text);
std::string OemToAnsi(std::string_view text);
// Buffer forms: convert count bytes of source into dest (dest may equal source).
void AnsiToOemBuff(const char* source, char* dest, std::size_t count);
void OemToAnsiBuff(const char* source, char* dest, std::size_t count);

// Unicode code point of a byte; bytes cp1252 leaves undefined map to the C1 control of the same value.
char32_t AnsiToUnicode(unsigned char c);
char32_t OemToUnicode(unsigned char c);
// Byte for a code point, best fit included; '?' when there is none.
char UnicodeToAnsi(char32_t cp);
char UnicodeToOem(char32_t cp);

std::string AnsiToUtf8(std::string_view text);
// Invalid UTF-8 bytes are taken as cp1252 bytes, so any byte string converts.
std::string Utf8ToAnsi(std::string_view text);

// Character classes and case on cp1252, as the Windows calls of the same names.
bool IsCharAlpha(char c);
bool IsCharAlphaNumeric(char c);
bool IsCharUpper(char c);
bool IsCharLower(char c);
char CharUpper(char c);
char CharLower(char c);
std::string CharUpperStr(std::string_view text);
std::string CharLowerStr(std::string_view text);

} // namespace rtl
