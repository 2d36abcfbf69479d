// A fresh window system on the manual clock for each test, and a window class that records the
// messages it gets and lets a test answer them.
#pragma once

#include "win/Windows.h"

#include "rtl/Clock.h"
#include "rtl/TestHooks.h"
#include "testing/TempWinRoot.h"
#include "win/TestHooks.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace wintest {

using namespace win;

struct Logged {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

inline std::vector<Logged>& Log() {
    static std::vector<Logged> log;
    return log;
}

// Per-window handlers: answer a message, or nullopt-like false to fall through to the default.
using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)>;
inline std::map<HWND, Handler>& Handlers() {
    static std::map<HWND, Handler> h;
    return h;
}

inline LRESULT CALLBACK_Recorder(HWND h, UINT m, WPARAM w, LPARAM l) {
    Log().push_back({h, m, w, l});
    auto it = Handlers().find(h);
    if (it != Handlers().end()) {
        LRESULT r = 0;
        Handler copy = it->second;
        if (copy(h, m, w, l, &r)) return r;
    }
    return DefWindowProc(h, m, w, l);
}

inline HINSTANCE TestInstance() { return reinterpret_cast<HINSTANCE>(std::uintptr_t(0x400000)); }

class WinTest : public ::testing::Test {
protected:
    void SetUp() override {
        rtl::UseManualClock(1000);
        ResetWindowSystem();
        Log().clear();
        Handlers().clear();
        for (auto [name, style] : {std::pair<const char*, UINT>{"TRecorder", 0}, {"TDblRecorder", CS_DBLCLKS}}) {
            WNDCLASS wc;
            wc.style = style;
            wc.lpfnWndProc = CALLBACK_Recorder;
            wc.hInstance = TestInstance();
            wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(std::uintptr_t(COLOR_WINDOW + 1));
            wc.lpszClassName = name;
            RegisterClass(&wc);
        }
    }
    void TearDown() override {
        ResetWindowSystem();
        for (const char* n : {"TRecorder", "TDblRecorder"}) UnregisterClass(n, TestInstance());
        Handlers().clear();
        rtl::UseSystemClock();
    }

    HWND Top(int x, int y, int w, int h, DWORD style = WS_POPUP | WS_VISIBLE, const char* cls = "TRecorder",
             const char* caption = "") {
        return CreateWindowEx(0, cls, caption, style, x, y, w, h, nullptr, nullptr, TestInstance(), nullptr);
    }
    HWND Child(HWND parent, int x, int y, int w, int h, DWORD style = WS_CHILD | WS_VISIBLE, int id = 0,
               const char* cls = "TRecorder") {
        return CreateWindowEx(0, cls, "", style, x, y, w, h, parent, reinterpret_cast<HMENU>(std::intptr_t(id)),
                              TestInstance(), nullptr);
    }

    // Runs every message that is there now, painting included.
    void Pump() {
        MSG m;
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessage(&m);
        }
    }

    std::vector<UINT> MessagesOf(HWND h, std::initializer_list<UINT> only = {}) {
        std::vector<UINT> out;
        for (auto& l : Log())
            if (l.hwnd == h && (only.size() == 0 || std::find(only.begin(), only.end(), l.msg) != only.end()))
                out.push_back(l.msg);
        return out;
    }

    testing_support::TempWinRoot FRoot;
};

} // namespace wintest
