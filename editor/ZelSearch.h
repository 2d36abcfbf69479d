// Boyer-Moore-Horspool search of the editor library, exact or upper-cased. Implementations in
// ZelSearch.cpp.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace editor {

// Shifts above 255 are kept at 255, which is safe for any pattern length: the search takes the
// length from the pattern itself.
using TBMTable = std::array<std::uint8_t, 256>;
TBMTable BMMakeTable(std::string_view pattern);
// Positions count from 0. An empty pattern finds nothing.
bool BMSearch(std::string_view buffer, const TBMTable& table, std::string_view pattern,
              std::size_t& position);
// As BMSearch with the buffer upper-cased; the pattern (and its table) are given in upper case.
bool BMSearchUC(std::string_view buffer, const TBMTable& table, std::string_view pattern,
                std::size_t& position);

} // namespace editor
