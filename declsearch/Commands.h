// The commands the search's menu items run, and the one a closed window leaves to run next; the
// values are the command numbers the windows store.
#pragma once

#include <cstdint>

namespace declsearch {

// Unscoped, so a command still reads as its number.
enum TCommand : std::uint8_t {
    cmdNone = 0,
    cmdSearch = 1,
    cmdOptions = 2,
    cmdResults = 3,
};

} // namespace declsearch
