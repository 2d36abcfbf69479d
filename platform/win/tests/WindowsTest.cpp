// Windows, the hierarchy, the message queue's order, timers on the manual clock, focus, capture,
// mouse routing and scroll bars.
#include "WinTestSupport.h"
#include "win/TestHooks.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <thread>

using namespace wintest;

namespace {

bool Before(const std::vector<UINT>& v, UINT a, UINT b) {
    auto ia = std::find(v.begin(), v.end(), a), ib = std::find(v.begin(), v.end(), b);
    return ia != v.end() && ib != v.end() && ia < ib;
}

class Windows : public WinTest {};

TEST_F(Windows, CreationSendsItsMessagesInOrder) {
    HWND w = Top(10, 20, 200, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_TRUE(w);
    auto m = MessagesOf(w);
    EXPECT_TRUE(Before(m, WM_GETMINMAXINFO, WM_NCCREATE));
    EXPECT_TRUE(Before(m, WM_NCCREATE, WM_NCCALCSIZE));
    EXPECT_TRUE(Before(m, WM_NCCALCSIZE, WM_CREATE));
    EXPECT_TRUE(Before(m, WM_CREATE, WM_SIZE));
    EXPECT_TRUE(Before(m, WM_SIZE, WM_SHOWWINDOW));
    EXPECT_TRUE(Before(m, WM_SHOWWINDOW, WM_ACTIVATE));
    EXPECT_EQ(GetActiveWindow(), w);
    EXPECT_EQ(GetFocus(), w); // the default WM_ACTIVATE gives the window the focus
}

TEST_F(Windows, CreateFailsForUnknownClassBadParentAndRefusedCreate) {
    EXPECT_EQ(CreateWindowEx(0, "TNoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, TestInstance(), nullptr), nullptr);
    EXPECT_EQ(Child(reinterpret_cast<HWND>(std::uintptr_t(0x7777)), 0, 0, 5, 5), nullptr);
    HWND probe = Top(0, 0, 10, 10);
    Handlers()[nullptr] = nullptr;
    // A window whose WM_CREATE answers -1 is destroyed and the call answers NULL.
    static bool refuse = true;
    WNDCLASS wc;
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_CREATE && refuse) return -1;
        return DefWindowProc(h, m, w, l);
    };
    wc.hInstance = TestInstance();
    wc.lpszClassName = "TRefuse";
    ASSERT_TRUE(RegisterClass(&wc));
    EXPECT_EQ(CreateWindowEx(0, "TRefuse", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, TestInstance(), nullptr), nullptr);
    EXPECT_TRUE(IsWindow(probe));
    ResetWindowSystem();
    UnregisterClass("TRefuse", TestInstance());
}

TEST_F(Windows, DestroyGoesParentFirstThenFreesChildrenFirst) {
    HWND p = Top(0, 0, 100, 100);
    HWND c = Child(p, 0, 0, 10, 10);
    HWND g = Child(c, 0, 0, 5, 5);
    Log().clear();
    ASSERT_TRUE(DestroyWindow(p));
    std::vector<std::pair<HWND, UINT>> seq;
    for (auto& l : Log())
        if (l.msg == WM_DESTROY || l.msg == WM_NCDESTROY) seq.push_back({l.hwnd, l.msg});
    std::vector<std::pair<HWND, UINT>> want{{p, WM_DESTROY},   {c, WM_DESTROY},   {g, WM_DESTROY},
                                            {g, WM_NCDESTROY}, {c, WM_NCDESTROY}, {p, WM_NCDESTROY}};
    EXPECT_EQ(seq, want);
    for (HWND h : {p, c, g}) EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(DestroyWindow(p));
    EXPECT_EQ(SendMessage(p, WM_GETTEXTLENGTH, 0, 0), 0);
    RECT r{1, 2, 3, 4};
    EXPECT_FALSE(GetWindowRect(c, &r));
    HWND again = Top(0, 0, 10, 10);
    EXPECT_NE(again, p); // handles are not reused, so a stale one stays invalid
}

TEST_F(Windows, OwnedWindowsGoWithTheirOwner) {
    HWND owner = Top(0, 0, 100, 100);
    HWND owned = CreateWindowEx(0, "TRecorder", "", WS_POPUP, 0, 0, 20, 20, owner, nullptr, TestInstance(), nullptr);
    EXPECT_EQ(GetParent(owned), owner);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
    HWND other = Top(0, 0, 100, 100);
    ShowWindow(owned, SW_SHOW);
    EXPECT_EQ(GetTopWindow(nullptr), owned);
    SetActiveWindow(other);
    EXPECT_EQ(GetTopWindow(nullptr), other);
    SetActiveWindow(owner); // the owner comes up with its owned window above it
    EXPECT_EQ(GetTopWindow(nullptr), owned);
    EXPECT_EQ(GetWindow(owned, GW_HWNDNEXT), owner);
    SetActiveWindow(owned);
    SetActiveWindow(other);
    SetActiveWindow(owned);
    DestroyWindow(owned); // the owner, not the topmost other window, becomes active
    EXPECT_EQ(GetActiveWindow(), owner);
    owned = CreateWindowEx(0, "TRecorder", "", WS_POPUP, 0, 0, 20, 20, owner, nullptr, TestInstance(), nullptr);
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(owned));
}

TEST_F(Windows, ZOrderAndHitTesting) {
    HWND a = Top(0, 0, 100, 100);
    HWND b = Top(50, 50, 100, 100);
    EXPECT_EQ(GetTopWindow(nullptr), b);
    EXPECT_EQ(WindowFromPoint(POINT{60, 60}), b);
    SetWindowPos(b, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(WindowFromPoint(POINT{60, 60}), a);
    HWND t = CreateWindowEx(WS_EX_TOPMOST, "TRecorder", "", WS_POPUP | WS_VISIBLE, 55, 55, 10, 10, nullptr, nullptr,
                            TestInstance(), nullptr);
    BringWindowToTop(a);
    EXPECT_EQ(GetTopWindow(nullptr), t); // topmost windows stay above the others
    EXPECT_EQ(WindowFromPoint(POINT{500, 500}), GetDesktopWindow());

    HWND c1 = Child(a, 10, 10, 30, 30, WS_CHILD | WS_VISIBLE, 1);
    HWND c2 = Child(a, 20, 20, 30, 30, WS_CHILD | WS_VISIBLE, 2);
    EXPECT_EQ(GetWindow(a, GW_CHILD), c2);
    EXPECT_EQ(GetWindow(c2, GW_HWNDNEXT), c1);
    EXPECT_EQ(WindowFromPoint(POINT{25, 25}), c2);
    EnableWindow(c2, FALSE);
    EXPECT_EQ(WindowFromPoint(POINT{25, 25}), a); // a disabled child gives way to its parent
    ShowWindow(c2, SW_HIDE);
    EXPECT_EQ(WindowFromPoint(POINT{25, 25}), c1);
    EXPECT_EQ(GetDlgItem(a, 1), c1);
    EXPECT_TRUE(IsChild(a, c1));
}

TEST_F(Windows, NonClientAreaAndCoordinates) {
    struct Case {
        DWORD style, ex;
        RECT client; // in window coordinates
    } cases[] = {
        {WS_POPUP, 0, {0, 0, 200, 100}},
        {WS_POPUP | WS_BORDER, 0, {1, 1, 199, 99}},
        {WS_POPUP | WS_BORDER, WS_EX_CLIENTEDGE, {3, 3, 197, 97}},
        {WS_POPUP | WS_CAPTION, 0, {3, 3 + 19, 197, 97}},
        {WS_POPUP | WS_THICKFRAME | WS_CAPTION, 0, {4, 4 + 19, 196, 96}},
        {WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, {3, 3 + 15, 197, 97}},
        {WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, {0, 0, 184, 84}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        HWND w = CreateWindowEx(c.ex, "TRecorder", "", c.style, 30, 40, 200, 100, nullptr, nullptr, TestInstance(), nullptr);
        RECT cr;
        GetClientRect(w, &cr);
        EXPECT_EQ(cr.right, c.client.right - c.client.left) << "case " << i;
        EXPECT_EQ(cr.bottom, c.client.bottom - c.client.top) << "case " << i;
        POINT p{0, 0};
        ClientToScreen(w, &p);
        EXPECT_EQ(p, (POINT{30 + c.client.left, 40 + c.client.top})) << "case " << i;
        ScreenToClient(w, &p);
        EXPECT_EQ(p, (POINT{0, 0})) << "case " << i;
        DestroyWindow(w);
    }
}

TEST_F(Windows, TextLongsAndDefaults) {
    HWND w = Top(0, 0, 50, 50, WS_POPUP, "TRecorder", "Caption");
    EXPECT_EQ(GetWindowText(w), "Caption");
    SetWindowText(w, "Other \xE9");
    EXPECT_EQ(GetWindowText(w), "Other \xE9");
    char buf[4];
    EXPECT_EQ(GetWindowText(w, buf, 4), 3);
    EXPECT_STREQ(buf, "Oth");
    EXPECT_EQ(GetClassName(w), "TRecorder");
    SetWindowLongPtr(w, GWL_USERDATA, 1234);
    EXPECT_EQ(GetWindowLongPtr(w, GWL_USERDATA), 1234);
    EXPECT_EQ(DWORD(GetWindowLong(w, GWL_STYLE)) & WS_POPUP, WS_POPUP);
    EXPECT_EQ(SendMessage(w, WM_GETDLGCODE, 0, 0), 0);
    HFONT f = CreateFont(-11, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    SendMessage(w, WM_SETFONT, WPARAM(f), 0);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessage(w, WM_GETFONT, 0, 0)), f);
    SetCapture(w);
    SendMessage(w, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    int tag = 5;
    EXPECT_TRUE(SetProp(w, "ControlOfs", &tag));
    EXPECT_EQ(GetProp(w, "CONTROLOFS"), &tag);
    EXPECT_EQ(RemoveProp(w, "ControlOfs"), &tag);
    EXPECT_EQ(GetProp(w, "ControlOfs"), nullptr);
    UINT m1 = RegisterWindowMessage("SuiteMessage");
    EXPECT_GE(m1, 0xC000u);
    EXPECT_EQ(RegisterWindowMessage("suitemessage"), m1);
    EXPECT_NE(RegisterWindowMessage("Other"), m1);
    HWND bogus = reinterpret_cast<HWND>(std::uintptr_t(0x123456));
    EXPECT_FALSE(IsWindow(bogus));
    EXPECT_EQ(GetWindowText(bogus, buf, 4), 0);
    EXPECT_EQ(SetFocus(bogus), nullptr);
    EXPECT_FALSE(PostMessage(bogus, WM_USER, 0, 0));
    DeleteObject(f);
    SendMessage(w, WM_SYSCOMMAND, SC_CLOSE, 0); // closes through WM_CLOSE
    EXPECT_FALSE(IsWindow(w));
}

class Queue : public WinTest {};

TEST_F(Queue, PostedInOrderAcrossWindowsThenPaintThenTimer) {
    HWND a = Top(0, 0, 50, 50);
    HWND b = Top(60, 0, 50, 50);
    Pump();
    SetTimer(a, 7, 100, nullptr);
    rtl::AdvanceClock(100);
    InvalidateRect(b, nullptr, TRUE);
    PostMessage(a, WM_USER + 1, 0, 0);
    PostMessage(b, WM_USER + 2, 0, 0);
    PostMessage(a, WM_USER + 3, 0, 0);
    Log().clear();
    EXPECT_EQ(SendMessage(a, WM_USER + 9, 0, 0), 0); // sent: at once, before anything queued
    std::vector<std::pair<HWND, UINT>> got;
    MSG m;
    for (int i = 0; i < 5 && PeekMessage(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
        got.push_back({m.hwnd, m.message});
        DispatchMessage(&m);
    }
    std::vector<std::pair<HWND, UINT>> want{
        {a, WM_USER + 1}, {b, WM_USER + 2}, {a, WM_USER + 3}, {b, WM_PAINT}, {a, WM_TIMER}};
    EXPECT_EQ(got, want);
    EXPECT_EQ(Log().front().msg, UINT(WM_USER + 9));
    EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)); // painted and the timer not due again
}

TEST_F(Queue, FiltersAndNoRemove) {
    HWND a = Top(0, 0, 50, 50);
    HWND b = Top(60, 0, 50, 50);
    Pump();
    PostMessage(a, WM_USER + 1, 0, 0);
    PostMessage(b, WM_USER + 2, 0, 0);
    MSG m;
    ASSERT_TRUE(PeekMessage(&m, b, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.message, UINT(WM_USER + 2));
    ASSERT_TRUE(PeekMessage(&m, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
    EXPECT_EQ(m.hwnd, b);
    EXPECT_FALSE(PeekMessage(&m, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
    ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, UINT(WM_USER + 1));
    PostMessage(a, WM_USER + 5, 0, 0);
    DestroyWindow(a); // what was posted to a window goes with it
    EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Queue, OnePaintPerWindowUntilValidated) {
    HWND a = Top(0, 0, 50, 50);
    Pump();
    InvalidateRect(a, nullptr, FALSE);
    RECT r{0, 0, 5, 5};
    InvalidateRect(a, &r, FALSE);
    MSG m;
    ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.message, WM_PAINT);
    ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_PAINT); // never queued: taking it does not validate
    ValidateRect(a, nullptr);
    EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
    // A window procedure that does not validate is not asked again and again.
    Handlers()[a] = [](HWND, UINT msg, WPARAM, LPARAM, LRESULT*) { return msg == WM_PAINT; };
    InvalidateRect(a, nullptr, FALSE);
    int paints = 0;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE) && paints < 5) {
        paints += m.message == WM_PAINT;
        DispatchMessage(&m);
    }
    EXPECT_EQ(paints, 1);
}

TEST_F(Queue, ChildrenRepaintUnderAParentWithoutClipChildren) {
    for (DWORD clip : {DWORD(0), WS_CLIPCHILDREN}) {
        HWND p = Top(0, 0, 100, 100, WS_POPUP | WS_VISIBLE | clip);
        HWND c = Child(p, 10, 10, 20, 20);
        HWND far = Child(p, 60, 60, 20, 20);
        Pump();
        Log().clear();
        RECT r{0, 0, 15, 15};
        InvalidateRect(p, &r, TRUE);
        Pump();
        EXPECT_EQ(MessagesOf(c, {WM_PAINT}).size(), clip ? 0u : 1u) << clip;
        EXPECT_EQ(MessagesOf(far, {WM_PAINT}).size(), 0u);
        DestroyWindow(p);
    }
}

TEST_F(Queue, AMessageFromAnotherThreadWakesTheWait) {
    rtl::UseSystemClock();
    HWND a = Top(0, 0, 50, 50);
    Pump();
    std::thread t([a] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        PostMessage(a, WM_USER + 7, 0, 0);
    });
    MSG m;
    ASSERT_TRUE(GetMessage(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, UINT(WM_USER + 7));
    t.join();
}

TEST_F(Queue, QuitAndModalLoop) {
    HWND a = Top(0, 0, 50, 50);
    Pump();
    int seen = 0;
    Handlers()[a] = [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg == WM_USER) ++seen;
        return false;
    };
    PostMessage(a, WM_USER, 0, 0);
    PostMessage(a, WM_USER, 0, 0);
    EXPECT_TRUE(RunModalLoop([&] { return seen == 2; }));
    PostQuitMessage(3);
    EXPECT_FALSE(RunModalLoop([] { return false; }));
    MSG m;
    EXPECT_EQ(GetMessage(&m, nullptr, 0, 0), FALSE); // the loop handed WM_QUIT on
    EXPECT_EQ(m.wParam, WPARAM(3));
}

TEST_F(Queue, TimersRunOnTheManualClock) {
    HWND a = Top(0, 0, 50, 50);
    Pump();
    ASSERT_EQ(SetTimer(a, 1, 100, nullptr), UINT_PTR(1));
    MSG m;
    rtl::AdvanceClock(99);
    EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
    rtl::AdvanceClock(1);
    ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(m.wParam, WPARAM(1));
    rtl::AdvanceClock(1000); // ten intervals late: still one message, not ten
    EXPECT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_TRUE(KillTimer(a, 1));
    EXPECT_FALSE(KillTimer(a, 1));
    rtl::AdvanceClock(1000);
    EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));

    static int procCalls = 0;
    procCalls = 0;
    UINT_PTR id = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { ++procCalls; });
    EXPECT_NE(id, UINT_PTR(0));
    rtl::AdvanceClock(50);
    ASSERT_TRUE(GetMessage(&m, nullptr, 0, 0));
    DispatchMessage(&m);
    EXPECT_EQ(procCalls, 1);
    KillTimer(nullptr, id);
    SetTimer(a, 2, 10, nullptr);
    DestroyWindow(a); // a window's timers die with it
    rtl::AdvanceClock(100);
    EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Queue, WaitingUnderTheManualClockEndsInsteadOfHanging) {
    HWND a = Top(0, 0, 50, 50);
    Pump();
    SetTimer(a, 1, 100, nullptr); // not due: waiting would need the clock to move
    MSG m;
    EXPECT_THROW(GetMessage(&m, nullptr, 0, 0), EMessageLoopIdle);
    EXPECT_THROW(WaitMessage(), EMessageLoopIdle);
    EXPECT_THROW(RunModalLoop([] { return false; }), EMessageLoopIdle);
}

TEST_F(Queue, TheHookFeedsWhicheverLoopRuns) {
    HWND a = Top(0, 0, 50, 50);
    Pump();
    struct Robot {
        int looks = 0;
        bool sent = false;
    } robot;
    SetMessageHook(
        [](void* d) {
            auto* r = static_cast<Robot*>(d);
            ++r->looks;
            if (!r->sent && r->looks == 3) {
                r->sent = true;
                PostMouseInput(WM_LBUTTONDOWN, POINT{10, 10});
                PostMouseInput(WM_LBUTTONUP, POINT{10, 10});
            }
            // The hook may look at the queue itself without being called again.
            MSG m;
            PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE);
        },
        &robot);
    bool clicked = false;
    Handlers()[a] = [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg == WM_LBUTTONUP) clicked = true;
        return false;
    };
    int idle = 0;
    MSG m;
    while (!clicked && idle < 10) {
        if (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
        else ++idle;
    }
    EXPECT_TRUE(clicked);
    SetMessageHook(nullptr, nullptr);
}

class Input : public WinTest {};

TEST_F(Input, FocusKeysAndTranslation) {
    HWND top = Top(0, 0, 100, 100);
    HWND e1 = Child(top, 0, 0, 50, 20);
    HWND e2 = Child(top, 0, 30, 50, 20);
    Pump();
    SetFocus(e1);
    Log().clear();
    EXPECT_EQ(SetFocus(e2), e1);
    ASSERT_EQ(Log().size(), 2u);
    EXPECT_EQ(Log()[0].hwnd, e1);
    EXPECT_EQ(Log()[0].msg, WM_KILLFOCUS);
    EXPECT_EQ(reinterpret_cast<HWND>(Log()[0].wParam), e2);
    EXPECT_EQ(Log()[1].msg, WM_SETFOCUS);
    EXPECT_EQ(reinterpret_cast<HWND>(Log()[1].wParam), e1);

    PostKeyInput(WM_KEYDOWN, VK_SHIFT);
    PostKeyInput(WM_KEYDOWN, 'A');
    PostKeyInput(WM_KEYUP, 'A');
    PostKeyInput(WM_KEYUP, VK_SHIFT);
    PostKeyInput(WM_KEYDOWN, 'B');
    PostKeyInput(WM_KEYDOWN, VK_MENU);
    PostKeyInput(WM_KEYDOWN, 'F');
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0); // nothing delivered yet
    Log().clear();
    Pump();
    std::vector<std::pair<UINT, WPARAM>> got;
    for (auto& l : Log())
        if (l.hwnd == e2 && l.msg >= WM_KEYFIRST && l.msg <= WM_KEYLAST) got.push_back({l.msg, l.wParam});
    std::vector<std::pair<UINT, WPARAM>> want{
        {WM_KEYDOWN, VK_SHIFT}, {WM_KEYDOWN, 'A'},     {WM_CHAR, 'A'},        {WM_KEYUP, 'A'},
        {WM_KEYUP, VK_SHIFT},   {WM_KEYDOWN, 'B'},     {WM_CHAR, 'b'},        {WM_SYSKEYDOWN, VK_MENU},
        {WM_SYSKEYDOWN, 'F'},   {WM_SYSCHAR, 'f'}};
    EXPECT_EQ(got, want);
    EXPECT_LT(GetKeyState(VK_MENU), 0);
    EXPECT_LT(GetKeyState('B'), 0);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    EXPECT_LT(GetAsyncKeyState(VK_MENU), 0);
}

TEST_F(Input, MouseRoutingCaptureAndActivation) {
    HWND top = Top(100, 100, 200, 200);
    HWND child = Child(top, 10, 10, 50, 50);
    Pump();
    Log().clear();
    PostMouseInput(WM_LBUTTONDOWN, POINT{120, 125});
    Pump();
    auto m = MessagesOf(child, {WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEACTIVATE, WM_LBUTTONDOWN});
    std::vector<UINT> want{WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEACTIVATE, WM_LBUTTONDOWN};
    EXPECT_EQ(m, want);
    auto down = std::find_if(Log().begin(), Log().end(), [&](const Logged& l) { return l.msg == WM_LBUTTONDOWN; });
    ASSERT_NE(down, Log().end());
    EXPECT_EQ(GET_X_LPARAM(down->lParam), 10);
    EXPECT_EQ(GET_Y_LPARAM(down->lParam), 15);
    EXPECT_EQ(down->wParam & MK_LBUTTON, WPARAM(MK_LBUTTON));
    EXPECT_LT(GetKeyState(VK_LBUTTON), 0);

    SetCapture(child);
    Log().clear();
    PostMouseInput(WM_MOUSEMOVE, POINT{500, 500});
    PostMouseInput(WM_LBUTTONUP, POINT{500, 500});
    Pump();
    auto up = MessagesOf(child, {WM_MOUSEMOVE, WM_LBUTTONUP});
    EXPECT_EQ(up, (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONUP}));
    POINT cur;
    GetCursorPos(&cur);
    EXPECT_EQ(cur, (POINT{500, 500}));
    Log().clear();
    ReleaseCapture();
    EXPECT_EQ(MessagesOf(child), (std::vector<UINT>{WM_CAPTURECHANGED}));

    // A click that the window eats through WM_MOUSEACTIVATE never arrives.
    Handlers()[child] = [](HWND, UINT msg, WPARAM, LPARAM, LRESULT* r) {
        if (msg != WM_MOUSEACTIVATE) return false;
        *r = MA_NOACTIVATEANDEAT;
        return true;
    };
    Log().clear();
    PostMouseInput(WM_LBUTTONDOWN, POINT{120, 120});
    PostMouseInput(WM_LBUTTONUP, POINT{120, 120});
    Pump();
    EXPECT_EQ(MessagesOf(child, {WM_LBUTTONDOWN}).size(), 0u);
    EXPECT_EQ(MessagesOf(child, {WM_LBUTTONUP}).size(), 1u);
}

TEST_F(Input, TransparentWindowsLetClicksThrough) {
    HWND top = Top(0, 0, 200, 200);
    HWND below = Child(top, 0, 0, 100, 100);
    HWND page = Child(top, 0, 0, 100, 100); // above `below`
    Handlers()[page] = [](HWND, UINT msg, WPARAM, LPARAM, LRESULT* r) {
        if (msg != WM_NCHITTEST) return false;
        *r = HTTRANSPARENT;
        return true;
    };
    Pump();
    Log().clear();
    PostMouseInput(WM_LBUTTONDOWN, POINT{5, 5});
    Pump();
    EXPECT_EQ(MessagesOf(below, {WM_LBUTTONDOWN}).size(), 1u);
    EXPECT_EQ(MessagesOf(page, {WM_LBUTTONDOWN}).size(), 0u);
}

TEST_F(Input, DoubleClicksOnlyForClassesThatAskAndSwappedButtons) {
    HWND plain = Top(0, 0, 50, 50);
    HWND dbl = Top(100, 0, 50, 50, WS_POPUP | WS_VISIBLE, "TDblRecorder");
    Pump();
    auto clickTwice = [&](POINT p, int gapMs) {
        PostMouseInput(WM_LBUTTONDOWN, p);
        PostMouseInput(WM_LBUTTONUP, p);
        Pump();
        rtl::AdvanceClock(UINT(gapMs));
        PostMouseInput(WM_LBUTTONDOWN, p);
        PostMouseInput(WM_LBUTTONUP, p);
        Pump();
        rtl::AdvanceClock(1000);
    };
    Log().clear();
    clickTwice(POINT{10, 10}, 100);
    EXPECT_EQ(MessagesOf(plain, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
    clickTwice(POINT{110, 10}, 100);
    EXPECT_EQ(MessagesOf(dbl, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}));
    Log().clear();
    clickTwice(POINT{110, 10}, 600); // too slow
    EXPECT_EQ(MessagesOf(dbl, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDOWN}));

    SwapMouseButton(TRUE);
    Log().clear();
    PostMouseInput(WM_LBUTTONDOWN, POINT{10, 10});
    Pump();
    EXPECT_EQ(MessagesOf(plain, {WM_LBUTTONDOWN, WM_RBUTTONDOWN}), (std::vector<UINT>{WM_RBUTTONDOWN}));
    EXPECT_LT(GetAsyncKeyState(VK_LBUTTON), 0); // physical
    EXPECT_LT(GetKeyState(VK_RBUTTON), 0);      // logical
    EXPECT_EQ(GetSystemMetrics(SM_SWAPBUTTON), 1);
}

TEST_F(Input, ModalOwnerRefusesClicks) {
    HWND owner = Top(0, 0, 100, 100);
    Pump();
    EnableWindow(owner, FALSE);
    Log().clear();
    PostMouseInput(WM_LBUTTONDOWN, POINT{10, 10});
    Pump();
    EXPECT_EQ(MessagesOf(owner, {WM_LBUTTONDOWN}).size(), 0u);
    EXPECT_EQ(MessagesOf(owner, {WM_SETCURSOR}).size(), 1u);
}

class ScrollBars : public WinTest {};

TEST_F(ScrollBars, AnEmptyRangeHidesTheBarAndGrowsTheClient) {
    HWND w = Top(0, 0, 200, 100, WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL);
    RECT r;
    GetClientRect(w, &r);
    EXPECT_EQ(r, (RECT{0, 0, 184, 84}));
    Log().clear();
    SetScrollRange(w, SB_VERT, 0, 0, TRUE);
    GetClientRect(w, &r);
    EXPECT_EQ(r, (RECT{0, 0, 200, 84}));
    auto sizes = std::count_if(Log().begin(), Log().end(), [&](const Logged& l) {
        return l.hwnd == w && l.msg == WM_SIZE && l.lParam == MAKELPARAM(200, 84);
    });
    EXPECT_EQ(sizes, 1);
    EXPECT_EQ(DWORD(GetWindowLong(w, GWL_STYLE)) & WS_VSCROLL, 0u);
    SetScrollRange(w, SB_VERT, 1, 50, TRUE);
    GetClientRect(w, &r);
    EXPECT_EQ(r.right, 184);
    EXPECT_EQ(SetScrollPos(w, SB_VERT, 70, TRUE), 1);
    EXPECT_EQ(GetScrollPos(w, SB_VERT), 50); // kept within the range
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMin = 0;
    si.nMax = 9;
    si.nPage = 20; // the page holds everything
    SetScrollInfo(w, SB_HORZ, &si, TRUE);
    GetClientRect(w, &r);
    EXPECT_EQ(r.bottom, 100);
}

// A bar's range, page, position or state changes paint that bar alone, once, after the messages
// have run: the client area and the rest of the frame are left as they are, and the bar's pixels
// are those a whole frame paints.
TEST_F(ScrollBars, ChangesPaintTheBarAloneOnceAndAsTheWholeFrameWould) {
    const DWORD style = WS_POPUP | WS_BORDER | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL;
    HWND w = Top(10, 10, 200, 150, style, "TRecorder", "Bars");
    HWND twin = Top(260, 10, 200, 150, style, "TRecorder", "Bars");
    for (HWND h : {w, twin}) {
        SetScrollRange(h, SB_VERT, 0, 10, TRUE);
        SetScrollRange(h, SB_HORZ, 0, 10, TRUE);
    }
    Pump();
    const struct {
        const char* Name;
        std::function<void(HWND)> Change;
    } cases[] = {
        {"range", [](HWND h) { SetScrollRange(h, SB_VERT, 0, 200, TRUE); }},
        {"position, several times", [](HWND h) { for (int p = 1; p <= 40; p += 3) SetScrollPos(h, SB_VERT, p, TRUE); }},
        {"page", [](HWND h) {
             SCROLLINFO si;
             si.fMask = SIF_PAGE;
             si.nPage = 50;
             SetScrollInfo(h, SB_VERT, &si, TRUE);
         }},
        {"disabled", [](HWND h) { EnableScrollBar(h, SB_HORZ, ESB_DISABLE_BOTH); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const PaintCounts before = PaintCountsOf(w), twinBefore = PaintCountsOf(twin);
        Log().clear();
        c.Change(w);
        c.Change(twin);
        EXPECT_TRUE(MessagesOf(w, {WM_NCPAINT}).empty()); // nothing painted yet
        Pump();
        EXPECT_EQ(MessagesOf(w, {WM_NCPAINT}).size(), 1u);
        EXPECT_TRUE(MessagesOf(w, {WM_PAINT, WM_ERASEBKGND}).empty());
        EXPECT_EQ(PaintCountsOf(w).client, before.client);
        EXPECT_EQ(PaintCountsOf(w).frame, before.frame);
        // The twin paints its whole frame; both look the same.
        RedrawWindow(twin, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_EQ(PaintCountsOf(twin).frame, twinBefore.frame + 1);
        HDC a = GetWindowDC(w), b = GetWindowDC(twin);
        int differ = 0;
        for (int y = 0; y < 150; ++y)
            for (int x = 0; x < 200; ++x) differ += GetPixel(a, x, y) != GetPixel(b, x, y);
        ReleaseDC(w, a);
        ReleaseDC(twin, b);
        EXPECT_EQ(differ, 0);
    }
    // A bar that goes changes the frame and the client area: both are painted, once.
    const PaintCounts before = PaintCountsOf(w);
    SetScrollRange(w, SB_HORZ, 0, 0, TRUE);
    SetScrollRange(w, SB_VERT, 0, 0, TRUE);
    Pump();
    EXPECT_EQ(PaintCountsOf(w).client, before.client + 1);
    EXPECT_EQ(PaintCountsOf(w).frame, before.frame + 1);
}

TEST_F(ScrollBars, ClicksSendScrollCodes) {
    HWND w = Top(0, 0, 100, 200, WS_POPUP | WS_VISIBLE | WS_VSCROLL);
    SetScrollRange(w, SB_VERT, 0, 100, TRUE);
    SetScrollPos(w, SB_VERT, 50, TRUE);
    Pump();
    Log().clear();
    PostMouseInput(WM_LBUTTONDOWN, POINT{90, 5});   // the up arrow
    PostMouseInput(WM_LBUTTONUP, POINT{90, 5});
    PostMouseInput(WM_LBUTTONDOWN, POINT{90, 190}); // the down arrow
    PostMouseInput(WM_LBUTTONUP, POINT{90, 190});
    PostMouseInput(WM_LBUTTONDOWN, POINT{90, 30});  // the track above the thumb
    PostMouseInput(WM_LBUTTONUP, POINT{90, 30});
    Pump();
    std::vector<int> codes;
    for (auto& l : Log())
        if (l.hwnd == w && l.msg == WM_VSCROLL) codes.push_back(LOWORD(l.wParam));
    EXPECT_EQ(codes, (std::vector<int>{SB_LINEUP, SB_ENDSCROLL, SB_LINEDOWN, SB_ENDSCROLL, SB_PAGEUP, SB_ENDSCROLL}));

    // Dragging the thumb to the end of the track: thumb-track positions, then the final position.
    SetScrollPos(w, SB_VERT, 0, TRUE);
    Log().clear();
    PostMouseInput(WM_LBUTTONDOWN, POINT{90, 20}); // on the thumb at the top of the track
    PostMouseInput(WM_MOUSEMOVE, POINT{90, 100});
    PostMouseInput(WM_MOUSEMOVE, POINT{90, 400});
    PostMouseInput(WM_LBUTTONUP, POINT{90, 400});
    Pump();
    std::vector<std::pair<int, int>> drag;
    for (auto& l : Log())
        if (l.hwnd == w && l.msg == WM_VSCROLL) drag.push_back({LOWORD(l.wParam), HIWORD(l.wParam)});
    ASSERT_EQ(drag.size(), 4u);
    EXPECT_EQ(drag[0].first, SB_THUMBTRACK);
    EXPECT_GT(drag[0].second, 0);
    EXPECT_LT(drag[0].second, 100);
    EXPECT_EQ(drag[1], (std::pair<int, int>{SB_THUMBTRACK, 100}));
    EXPECT_EQ(drag[2], (std::pair<int, int>{SB_THUMBPOSITION, 100}));
    EXPECT_EQ(drag[3].first, SB_ENDSCROLL);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollBars, AHandlerThatThrowsDuringADragLetsTheCaptureGo) {
    HWND w = Top(0, 0, 100, 200, WS_POPUP | WS_VISIBLE | WS_VSCROLL);
    SetScrollRange(w, SB_VERT, 0, 100, TRUE);
    Pump();
    Handlers()[w] = [](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT*) -> bool {
        if (msg == WM_VSCROLL && LOWORD(wParam) == SB_THUMBTRACK) throw std::runtime_error("refused");
        return false;
    };
    PostMouseInput(WM_LBUTTONDOWN, POINT{90, 20}); // on the thumb
    PostMouseInput(WM_MOUSEMOVE, POINT{90, 100});
    EXPECT_THROW(Pump(), std::runtime_error);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollBars, TrackingLimitsFromMinMaxInfo) {
    HWND w = Top(0, 0, 300, 300, WS_OVERLAPPED | WS_THICKFRAME | WS_VISIBLE);
    Handlers()[w] = [](HWND, UINT msg, WPARAM, LPARAM l, LRESULT*) {
        if (msg != WM_GETMINMAXINFO) return false;
        auto* mm = reinterpret_cast<MINMAXINFO*>(l);
        mm->ptMinTrackSize = POINT{200, 150};
        mm->ptMaxTrackSize = POINT{400, 350};
        return true;
    };
    MoveWindow(w, 0, 0, 50, 1000, TRUE);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r, (RECT{0, 0, 200, 350}));
}

} // namespace
