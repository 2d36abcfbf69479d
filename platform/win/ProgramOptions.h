// The options every program with windows takes on its command line: --headless, --scale N,
// --screenshot FILE, --size WxH (the screen's first size) and --position X,Y (where the desktop
// window opens on the desktop), and the desktop display they choose. Implementations in
// Display.cpp.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace win {

struct TScreenOptions {
    bool Headless = false;
    int Scale = 1;
    std::string Screenshot;
    int Width = 0, Height = 0; // 0: the default screen
    bool Placed = false;
    int X = 0, Y = 0;
};

// Takes the option at argv[i] (and its value, moving i past it): 1 when taken, 0 when it is no
// screen option, -1 when it is bad (Error then says why).
int TakeScreenOption(int argc, char** argv, int& i, TScreenOptions& Options, std::string& Error);
// Reads a program's whole command line: the screen options, --help (or -h), and at most
// MaxArguments others into Arguments. What is wrong is said on the terminal with the usage line,
// which ends in ArgumentsUsage ("[project.dpr]"). Empty when the program is to run, else the
// code it exits with: 0 after --help, 2 for a bad command line.
[[nodiscard]] std::optional<int> ReadCommandLine(int argc, char** argv, const std::string& Program,
                                                 const std::string& ArgumentsUsage, std::size_t MaxArguments,
                                                 TScreenOptions& Options, std::vector<std::string>& Arguments);
// Gives the screen its size, then opens the desktop display, titled with the program's name,
// unless headless or no desktop is there; says so on the terminal when it cannot. The display
// closes with the returned guard.
struct TDisplayGuard {
    ~TDisplayGuard();
};
[[nodiscard]] TDisplayGuard OpenDisplayFor(const TScreenOptions& Options, const std::string& Program);

} // namespace win
