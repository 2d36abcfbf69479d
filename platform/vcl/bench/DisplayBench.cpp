// From a key pressed on the desktop to the changed pixels on the desktop: a virtual X server, the
// desktop display, an edit box with the focus, and key presses sent through the X test extension.
//   display_bench [presses]
#include "testing/TempWinRoot.h"
#include "testing/Xvfb.h"
#include "vcl/EditCtrls.h"
#include "vcl/Forms.h"

#include "rtl/Clock.h"
#include "rtl/TestHooks.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace vcl;
using Clock = std::chrono::steady_clock;

namespace {

// The pixels of a rectangle of the server's screen.
std::vector<unsigned long> Grab(Display* x, int left, int top, int width, int height) {
    XImage* img = XGetImage(x, DefaultRootWindow(x), left, top, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    std::vector<unsigned long> px;
    if (!img) return px;
    for (int y = 0; y < height; ++y)
        for (int xx = 0; xx < width; ++xx) px.push_back(XGetPixel(img, xx, y));
    XDestroyImage(img);
    return px;
}

} // namespace

int main(int argc, char** argv) {
    XInitThreads();
    const int presses = argc > 1 ? std::max(10, std::atoi(argv[1])) : 200;
    testing_support::TXvfb server;
    if (!server.Running()) {
        std::fprintf(stderr, "display_bench: Xvfb is not installed\n");
        return 1;
    }
    setenv("DISPLAY", server.Display().c_str(), 1);
    testing_support::TempWinRoot root;
    rtl::UseSystemClock();
    InitApplication();
    if (!win::OpenDisplay(1, "bench")) {
        std::fprintf(stderr, "display_bench: no display\n");
        return 1;
    }
    TForm* form = Make<TForm>(Application);
    form->SetBounds(100, 100, 400, 120);
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 360, 24);
    form->Show();
    edit->SetFocus();
    // A caret that blinks would change the desktop by itself.
    win::SetCaretBlinkTime(60000);
    auto pumpFor = [](int ms) {
        for (auto end = Clock::now() + std::chrono::milliseconds(ms); Clock::now() < end;) Application->ProcessMessages();
    };
    pumpFor(300);

    Display* x = XOpenDisplay(server.Display().c_str());
    const KeyCode keys[] = {XKeysymToKeycode(x, XK_a), XKeysymToKeycode(x, XK_BackSpace)};
    win::POINT at = edit->ClientToScreen(Point(0, 0));
    XTestFakeMotionEvent(x, -1, at.x + 5, at.y + 5, 0);
    XFlush(x);
    pumpFor(100);
    // A watcher on a connection of its own sees the desktop change while the program runs its
    // loop as it always does: waiting for the desktop's events between messages.
    std::atomic<bool> pressed{false}, seen{false}, quit{false};
    Clock::time_point t0, t1;
    std::vector<unsigned long> before;
    std::thread watcher([&] {
        Display* y = XOpenDisplay(server.Display().c_str());
        while (!quit) {
            if (!pressed || seen) {
                std::this_thread::sleep_for(std::chrono::microseconds(100));
                continue;
            }
            if (Grab(y, at.x, at.y, 360, 24) != before) {
                t1 = Clock::now();
                seen = true;
                // Wakes the loop, which otherwise sleeps until the desktop's next event.
                win::PostMessage(nullptr, win::WM_NULL, 0, 0);
            }
        }
        XCloseDisplay(y);
    });
    std::vector<double> ms;
    for (int i = 0; i < presses; ++i) {
        // Type a letter, then take it back, so the edit never scrolls.
        KeyCode key = keys[i % 2];
        before = Grab(x, at.x, at.y, 360, 24);
        seen = false;
        t0 = Clock::now();
        pressed = true;
        XTestFakeKeyEvent(x, key, True, 0);
        XTestFakeKeyEvent(x, key, False, 0);
        XFlush(x);
        while (!seen && Clock::now() - t0 < std::chrono::seconds(2)) {
            win::MSG m;
            if (win::PeekMessage(&m, nullptr, 0, 0, win::PM_REMOVE)) {
                win::TranslateMessage(&m);
                win::DispatchMessage(&m);
            } else {
                win::WaitMessage();
            }
        }
        pressed = false;
        if (!seen) std::fprintf(stderr, "press %d: the desktop did not change within 2 s\n", i);
        else ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        pumpFor(20);
    }
    quit = true;
    watcher.join();
    if (ms.empty()) return 1;
    std::sort(ms.begin(), ms.end());
    std::printf("key press to changed desktop pixels, %d presses: median %.2f ms, 99th percentile %.2f ms, max %.2f ms\n",
                presses, ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 99 / 100)], ms.back());
    XCloseDisplay(x);
    delete form;
    win::CloseDisplay();
    return 0;
}
