#include "editor/ZelSearch.h"

#include "rtl/CodePages.h"

namespace editor {

TBMTable BMMakeTable(std::string_view pattern) {
    TBMTable table;
    auto cap = [](std::size_t n) { return static_cast<std::uint8_t>(n > 255 ? 255 : n); };
    table.fill(cap(pattern.size()));
    for (std::size_t i = 0; i + 1 < pattern.size(); ++i)
        table[static_cast<unsigned char>(pattern[i])] = cap(pattern.size() - 1 - i);
    return table;
}

namespace {

template <typename Fold>
bool Horspool(std::string_view buffer, const TBMTable& table, std::string_view pattern,
              std::size_t& position, Fold fold) {
    const std::size_t m = pattern.size();
    if (m == 0 || m > buffer.size()) return false;
    std::size_t at = 0;
    while (at + m <= buffer.size()) {
        char last = fold(buffer[at + m - 1]);
        if (last == pattern[m - 1]) {
            std::size_t i = 0;
            while (i + 1 < m && fold(buffer[at + i]) == pattern[i]) ++i;
            if (i + 1 >= m) {
                position = at;
                return true;
            }
        }
        std::size_t shift = table[static_cast<unsigned char>(last)];
        at += shift == 0 ? 1 : shift;
    }
    return false;
}

} // namespace

bool BMSearch(std::string_view buffer, const TBMTable& table, std::string_view pattern,
              std::size_t& position) {
    return Horspool(buffer, table, pattern, position, [](char c) { return c; });
}

bool BMSearchUC(std::string_view buffer, const TBMTable& table, std::string_view pattern,
                std::size_t& position) {
    return Horspool(buffer, table, pattern, position, [](char c) { return rtl::CharUpper(c); });
}

} // namespace editor
