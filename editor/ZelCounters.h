// Arithmetic on the editor library's 16-bit counters, which wrap. Implementations in
// ZelCounters.cpp.
#pragma once

#include <cstdint>

namespace editor {

std::int16_t CompareWords(std::uint16_t a, std::uint16_t b);
void IncByWord(std::int32_t& value, std::uint16_t amount);
void DecByWord(std::int32_t& value, std::uint16_t amount);

} // namespace editor
