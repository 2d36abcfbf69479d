#include "editor/ZelCounters.h"

namespace editor {

std::int16_t CompareWords(std::uint16_t a, std::uint16_t b) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(a - b));
}

void IncByWord(std::int32_t& value, std::uint16_t amount) { value += amount; }
void DecByWord(std::int32_t& value, std::uint16_t amount) { value -= amount; }

} // namespace editor
