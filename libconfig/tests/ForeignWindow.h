// A top-level window of a given class in a process of its own, as another program's window.
#pragma once

#include "win/Windows.h"

#include <cstdint>

#include <sys/wait.h>
#include <unistd.h>

namespace libconfig {

inline win::LRESULT ForeignWindowProc(win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
    return win::DefWindowProc(h, m, w, l);
}

// A process of its own with one top-level window of the class, until told to end.
class ForeignWindow {
public:
    explicit ForeignWindow(const char* className) {
        int up[2], down[2];
        if (pipe(up) != 0 || pipe(down) != 0) return;
        FPid = fork();
        if (FPid == 0) {
            close(up[0]);
            close(down[1]);
            win::WNDCLASS wc;
            wc.lpfnWndProc = ForeignWindowProc;
            wc.lpszClassName = className;
            wc.hInstance = reinterpret_cast<win::HINSTANCE>(std::uintptr_t(0x400000));
            win::RegisterClass(&wc);
            win::HWND w = win::CreateWindowEx(0, className, "Delphi 2.0", win::WS_OVERLAPPED | win::WS_VISIBLE, 0, 0,
                                              400, 80, nullptr, nullptr, wc.hInstance, nullptr);
            char c = w ? 'y' : 'n';
            (void)!write(up[1], &c, 1);
            (void)!read(down[0], &c, 1);
            _exit(0);
        }
        close(up[1]);
        close(down[0]);
        FDown = down[1];
        char c = 0;
        FReady = read(up[0], &c, 1) == 1 && c == 'y';
        close(up[0]);
    }
    ~ForeignWindow() { End(); }
    bool Ready() const { return FReady; }
    // The child ends without destroying its window: its entry must be seen as dead.
    void End() {
        if (FPid <= 0) return;
        close(FDown);
        waitpid(FPid, nullptr, 0);
        FPid = -1;
    }

private:
    pid_t FPid = -1;
    int FDown = -1;
    bool FReady = false;
};

} // namespace libconfig
