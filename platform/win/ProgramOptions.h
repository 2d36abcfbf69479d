// The options every program with windows takes on its command line: --headless, --scale N and
// --screenshot FILE, and the desktop display they choose. Implementations in Display.cpp.
#pragma once

#include <string>

namespace win {

struct TScreenOptions {
    bool Headless = false;
    int Scale = 1;
    std::string Screenshot;
};

// Takes the option at argv[i] (and its value, moving i past it): 1 when taken, 0 when it is no
// screen option, -1 when it is bad (Error then says why).
int TakeScreenOption(int argc, char** argv, int& i, TScreenOptions& Options, std::string& Error);
// Opens the desktop display unless headless or no desktop is there; says so on the terminal when
// it cannot. The display closes with the returned guard.
struct TDisplayGuard {
    ~TDisplayGuard();
};
[[nodiscard]] TDisplayGuard OpenDisplayFor(const TScreenOptions& Options, const std::string& Program);

} // namespace win
