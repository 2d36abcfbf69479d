// A virtual X server for the tests of the desktop display: started on a free display number,
// stopped with the object. Implementations in Xvfb.cpp.
#pragma once

#include <string>
#include <sys/types.h>

namespace testing_support {

class TXvfb {
public:
    // A screen of Width x Height at 24 bits; Display() stays empty when Xvfb is missing or fails.
    TXvfb(int Width = 1024, int Height = 768);
    ~TXvfb();
    TXvfb(const TXvfb&) = delete;
    TXvfb& operator=(const TXvfb&) = delete;

    // ":N", for DISPLAY.
    const std::string& Display() const { return FDisplay; }
    bool Running() const { return !FDisplay.empty(); }

private:
    pid_t FPid = -1;
    std::string FDisplay;
};

// Runs a shell command with DISPLAY set to the server; its exit status.
int RunOnDisplay(const TXvfb& Server, const std::string& Command);

} // namespace testing_support
