// Small shared routines of the editor library: the library-wide set of alphabetic characters and
// string helpers, with the calendar, the search and the 16-bit counters, each in a header of its
// own included here. Implementations in ZelUtils.cpp.
#pragma once

#include "editor/ZelCounters.h"
#include "editor/ZelDates.h"
#include "editor/ZelSearch.h"

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace editor {

// Blank, ',', '-', '.', the ASCII letters and every alphabetic character from 128 up.
extern std::bitset<256> AlphaChars;
inline bool IsAlphaChar(char c) { return AlphaChars[static_cast<unsigned char>(c)]; }

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

} // namespace editor
