#include "testing/Xvfb.h"

#include <cerrno>
#include <fcntl.h>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

TXvfb::TXvfb(int Width, int Height) {
    int fds[2];
    if (pipe(fds) != 0) return;
    FPid = fork();
    if (FPid == 0) {
        close(fds[0]);
        std::string screen = std::to_string(Width) + "x" + std::to_string(Height) + "x24";
        std::string fd = std::to_string(fds[1]);
        int devnull = ::open("/dev/null", O_WRONLY);
        if (devnull >= 0) {
            dup2(devnull, 1);
            dup2(devnull, 2);
        }
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (FPid < 0) {
        close(fds[0]);
        return;
    }
    // The server writes its display number once it accepts connections.
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (poll(&p, 1, 10000) > 0) {
        char c;
        ssize_t n = read(fds[0], &c, 1);
        if (n <= 0 || c == '\n') break;
        number += c;
    }
    close(fds[0]);
    if (number.empty()) {
        kill(FPid, SIGTERM);
        waitpid(FPid, nullptr, 0);
        FPid = -1;
        return;
    }
    FDisplay = ":" + number;
}

TXvfb::~TXvfb() {
    if (FPid > 0) {
        kill(FPid, SIGTERM);
        waitpid(FPid, nullptr, 0);
    }
}

int RunOnDisplay(const TXvfb& Server, const std::string& Command) {
    std::string line = "DISPLAY=" + Server.Display() + " " + Command;
    int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace testing_support
