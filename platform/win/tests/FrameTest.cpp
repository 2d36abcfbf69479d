// Window frames: caption buttons and their commands, the system menu, moving and sizing within
// the tracking limits, minimized and maximized places, context help and a new screen size.
#include "WinTestSupport.h"

#include <string>

using namespace wintest;

namespace {

class Frames : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        WNDCLASS wc;
        wc.style = CS_NOCLOSE;
        wc.lpfnWndProc = CALLBACK_Recorder;
        wc.hInstance = TestInstance();
        wc.lpszClassName = "TNoClose";
        RegisterClass(&wc);
    }
    void TearDown() override {
        WinTest::TearDown();
        UnregisterClass("TNoClose", TestInstance());
    }

    HWND Framed(DWORD style, DWORD exStyle, const char* cls = "TRecorder", RECT r = RECT{100, 100, 400, 300}) {
        HWND h = CreateWindowEx(exStyle, cls, "Frame", style | WS_VISIBLE, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, nullptr, nullptr, TestInstance(), nullptr);
        SetActiveWindow(h);
        SetFocus(h);
        Pump();
        return h;
    }
    // A click at a point of the window (window coordinates), pressed and let go there; the keys
    // after it are for a loop the click starts.
    void ClickAt(HWND h, POINT p, bool twice = false, std::initializer_list<UINT> then = {}) {
        RECT r;
        GetWindowRect(h, &r);
        POINT s{r.left + p.x, r.top + p.y};
        for (int i = 0; i < (twice ? 2 : 1); ++i) {
            PostMouseInput(WM_LBUTTONDOWN, s);
            PostMouseInput(WM_LBUTTONUP, s);
        }
        Keys(then);
        Pump();
    }
    void Drag(HWND h, POINT from, int dx, int dy) {
        RECT r;
        GetWindowRect(h, &r);
        POINT s{r.left + from.x, r.top + from.y};
        PostMouseInput(WM_LBUTTONDOWN, s);
        PostMouseInput(WM_MOUSEMOVE, POINT{s.x + dx / 2, s.y + dy / 2});
        PostMouseInput(WM_MOUSEMOVE, POINT{s.x + dx, s.y + dy});
        PostMouseInput(WM_LBUTTONUP, POINT{s.x + dx, s.y + dy});
        Pump();
    }
    void Keys(std::initializer_list<UINT> keys) {
        for (UINT k : keys) {
            PostKeyInput(WM_KEYDOWN, k);
            PostKeyInput(WM_KEYUP, k);
        }
    }
    // The system commands the window got, its system menu opening as 1.
    std::vector<UINT> Commands(HWND h) {
        std::vector<UINT> out;
        for (auto& l : Log())
            if (l.hwnd == h && l.msg == WM_SYSCOMMAND) out.push_back(UINT(l.wParam));
            else if (l.hwnd == h && l.msg == WM_INITMENUPOPUP && HIWORD(std::uintptr_t(l.lParam))) out.push_back(1);
        return out;
    }
    static RECT RectOf(HWND h) {
        RECT r;
        GetWindowRect(h, &r);
        return r;
    }
    static COLORREF At(HWND h, int x, int y) {
        HDC dc = GetWindowDC(h);
        COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(h, dc);
        return c;
    }
};

constexpr UINT Menu = 1; // the system menu opened
constexpr DWORD Sizeable = WS_OVERLAPPEDWINDOW;
constexpr DWORD DialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

TEST_F(Frames, EachHitPointGivesItsCommandWhenClickedAndReleased) {
    struct Point {
        POINT at;
        int ht;
        UINT command; // 0: none
    };
    struct Case {
        const char* name;
        DWORD style, exStyle;
        const char* cls;
        bool closeGreyedInMenu;
        std::vector<Point> points;
    };
    // A 300 x 200 window: a sizeable frame is 4 pixels, a fixed one 3; the caption 18 pixels with
    // 16 x 14 boxes (a tool window's 14 with a 12 x 10 close box), 2 pixels in from its right.
    const std::vector<Point> sizeable = {
        {{286, 13}, HTCLOSE, SC_CLOSE},          {{268, 13}, HTMAXBUTTON, SC_MAXIMIZE},
        {{252, 13}, HTMINBUTTON, SC_MINIMIZE},   {{12, 13}, HTSYSMENU, Menu},
        {{150, 13}, HTCAPTION, SC_MOVE | HTCAPTION},
        {{1, 100}, HTLEFT, SC_SIZE | WMSZ_LEFT}, {{298, 100}, HTRIGHT, SC_SIZE | WMSZ_RIGHT},
        {{150, 1}, HTTOP, SC_SIZE | WMSZ_TOP},   {{150, 198}, HTBOTTOM, SC_SIZE | WMSZ_BOTTOM},
        {{1, 1}, HTTOPLEFT, SC_SIZE | WMSZ_TOPLEFT}, {{298, 1}, HTTOPRIGHT, SC_SIZE | WMSZ_TOPRIGHT},
        {{1, 198}, HTBOTTOMLEFT, SC_SIZE | WMSZ_BOTTOMLEFT}, {{298, 198}, HTBOTTOMRIGHT, SC_SIZE | WMSZ_BOTTOMRIGHT},
        {{150, 100}, HTCLIENT, 0},
    };
    const std::vector<Case> cases = {
        {"sizeable", Sizeable, 0, "TRecorder", false, sizeable},
        {"dialog with ?", DialogStyle, WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP, "TRecorder", false,
         {{{287, 12}, HTCLOSE, SC_CLOSE},
          {{269, 12}, HTHELP, SC_CONTEXTHELP},
          {{12, 12}, HTCAPTION, SC_MOVE | HTCAPTION},
          {{1, 100}, HTBORDER, 0},
          {{298, 198}, HTBORDER, 0}}},
        {"dialog", DialogStyle, WS_EX_DLGMODALFRAME, "TRecorder", false,
         {{{287, 12}, HTCLOSE, SC_CLOSE}, {{269, 12}, HTCAPTION, SC_MOVE | HTCAPTION}}},
        {"tool window", DialogStyle, WS_EX_TOOLWINDOW, "TRecorder", false,
         {{{289, 10}, HTCLOSE, SC_CLOSE}, {{275, 10}, HTCAPTION, SC_MOVE | HTCAPTION}, {{8, 10}, HTCAPTION, SC_MOVE | HTCAPTION}}},
        {"no close class", Sizeable, 0, "TNoClose", false,
         {{{286, 13}, HTCLOSE, 0}, {{268, 13}, HTMAXBUTTON, SC_MAXIMIZE}}},
        {"close greyed in the menu", Sizeable, 0, "TRecorder", true,
         {{{286, 13}, HTCLOSE, 0}, {{252, 13}, HTMINBUTTON, SC_MINIMIZE}}},
        {"no maximize box", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, "TRecorder", false,
         {{{269, 12}, HTMAXBUTTON, 0}, {{253, 12}, HTMINBUTTON, SC_MINIMIZE}}},
    };
    for (const Case& c : cases)
        for (const Point& p : c.points) {
            Log().clear();
            HWND h = Framed(c.style, c.exStyle, c.cls);
            if (c.closeGreyedInMenu) EnableMenuItem(GetSystemMenu(h, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
            // The command is noted and not carried out; an open system menu is closed by Escape.
            Handlers()[h] = [](HWND, UINT m, WPARAM, LPARAM, LRESULT*) { return m == WM_SYSCOMMAND; };
            RECT r = RectOf(h);
            EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(r.left + p.at.x, r.top + p.at.y)), p.ht)
                << c.name << " at " << p.at.x << "," << p.at.y;
            if (p.command == Menu) ClickAt(h, p.at, false, {VK_ESCAPE});
            else ClickAt(h, p.at);
            std::vector<UINT> want;
            if (p.command) want.push_back(p.command);
            EXPECT_EQ(Commands(h), want) << c.name << " at " << p.at.x << "," << p.at.y;
            DestroyWindow(h);
            rtl::AdvanceClock(1000);
        }
}

TEST_F(Frames, APressedBoxShowsPushedAndLettingGoElsewhereTakesItBack) {
    HWND h = Framed(Sizeable, 0);
    RECT r = RectOf(h);
    std::vector<COLORREF> corner; // the close box's top-left pixel each time the loop looks
    SetMessageHook([](void* data) {
        auto* seen = static_cast<std::pair<HWND, std::vector<COLORREF>*>*>(data);
        seen->second->push_back(At(seen->first, 278, 6));
    }, new std::pair<HWND, std::vector<COLORREF>*>(h, &corner));
    PostMouseInput(WM_LBUTTONDOWN, POINT{r.left + 286, r.top + 13});
    PostMouseInput(WM_MOUSEMOVE, POINT{r.left + 200, r.top + 13});
    PostMouseInput(WM_MOUSEMOVE, POINT{r.left + 284, r.top + 12});
    PostMouseInput(WM_MOUSEMOVE, POINT{r.left + 150, r.top + 100});
    PostMouseInput(WM_LBUTTONUP, POINT{r.left + 150, r.top + 100});
    Pump();
    MessageHook hook = SetMessageHook(nullptr, nullptr);
    delete static_cast<std::pair<HWND, std::vector<COLORREF>*>*>(hook.data);
    EXPECT_TRUE(IsWindow(h)) << "let go outside the box: no close";
    // Raised (white edge), pushed (black edge), raised when the mouse left, pushed on coming
    // back, raised at the end.
    std::vector<COLORREF> changes;
    for (COLORREF c : corner)
        if (changes.empty() || changes.back() != c) changes.push_back(c);
    EXPECT_EQ(changes, (std::vector<COLORREF>{RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0),
                                              RGB(255, 255, 255)}));
    EXPECT_EQ(At(h, 278, 6), RGB(255, 255, 255));
}

TEST_F(Frames, CaptionAndBoxesHaveTheirSizes) {
    struct Case {
        const char* name;
        DWORD exStyle;
        int frame, caption, boxW, boxH;
    };
    for (const Case& c : {Case{"normal", 0, 4, 18, 16, 14}, Case{"tool window", WS_EX_TOOLWINDOW, 4, 14, 12, 10}}) {
        HWND h = Framed(Sizeable, c.exStyle);
        const COLORREF navy = GetSysColor(COLOR_ACTIVECAPTION), face = GetSysColor(COLOR_BTNFACE);
        int f = c.frame, right = 300 - f - 2;
        EXPECT_EQ(At(h, 150, f), navy) << c.name;
        EXPECT_EQ(At(h, 150, f + c.caption - 1), navy) << c.name;
        EXPECT_EQ(At(h, 150, f + c.caption), face) << c.name << ": the line under the caption";
        // The close box: white top-left, black bottom-right, the caption around it.
        EXPECT_EQ(At(h, right - c.boxW, f + 2), RGB(255, 255, 255)) << c.name;
        EXPECT_EQ(At(h, right - 1, f + 2 + c.boxH - 1), RGB(0, 0, 0)) << c.name;
        EXPECT_EQ(At(h, right - c.boxW - 1, f + 2), navy) << c.name;
        EXPECT_EQ(At(h, right, f + 2), navy) << c.name;
        EXPECT_EQ(At(h, right - c.boxW, f + 1), navy) << c.name;
        EXPECT_EQ(At(h, right - c.boxW, f + 2 + c.boxH), navy) << c.name;
        DestroyWindow(h);
    }
}

TEST_F(Frames, SystemMenuItemsAndGreyStatesPerStyle) {
    struct Case {
        const char* name;
        DWORD style, exStyle;
        int show;
        const char* cls;
        std::string items; // "-" marks a greyed item
    };
    const std::vector<Case> cases = {
        {"sizeable", Sizeable, 0, SW_SHOWNORMAL, "TRecorder", "&Restore- &Move &Size Mi&nimize Ma&ximize | &Close\tAlt+F4"},
        {"maximized", Sizeable, 0, SW_SHOWMAXIMIZED, "TRecorder",
         "&Restore &Move- &Size- Mi&nimize Ma&ximize- | &Close\tAlt+F4"},
        {"minimized", Sizeable, 0, SW_MINIMIZE, "TRecorder", "&Restore &Move &Size- Mi&nimize- Ma&ximize | &Close\tAlt+F4"},
        {"single frame, minimize only", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, SW_SHOWNORMAL,
         "TRecorder", "&Restore- &Move &Size- Mi&nimize Ma&ximize- | &Close\tAlt+F4"},
        {"dialog", DialogStyle, WS_EX_DLGMODALFRAME, SW_SHOWNORMAL, "TRecorder", "&Move &Close\tAlt+F4"},
        {"tool window", DialogStyle, WS_EX_TOOLWINDOW, SW_SHOWNORMAL, "TRecorder", "&Move &Close\tAlt+F4"},
        {"no close class", Sizeable, 0, SW_SHOWNORMAL, "TNoClose",
         "&Restore- &Move &Size Mi&nimize Ma&ximize | &Close\tAlt+F4-"},
    };
    for (const Case& c : cases) {
        Log().clear();
        HWND h = Framed(c.style, c.exStyle, c.cls);
        ShowWindow(h, c.show);
        SetActiveWindow(h);
        std::string seen;
        Handlers()[h] = [&](HWND, UINT m, WPARAM w, LPARAM l, LRESULT*) {
            if (m != WM_INITMENUPOPUP || !HIWORD(std::uintptr_t(l))) return false;
            HMENU menu = reinterpret_cast<HMENU>(w);
            for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                UINT state = GetMenuState(menu, UINT(i), MF_BYPOSITION);
                if (!seen.empty()) seen += ' ';
                seen += (state & MF_SEPARATOR) ? "|" : GetMenuString(menu, UINT(i), MF_BYPOSITION);
                if (state & MF_GRAYED) seen += '-';
            }
            return false;
        };
        // Alt+Space opens it, Escape closes it.
        PostKeyInput(WM_KEYDOWN, VK_MENU);
        PostKeyInput(WM_KEYDOWN, VK_SPACE);
        PostKeyInput(WM_KEYUP, VK_SPACE);
        PostKeyInput(WM_KEYDOWN, VK_ESCAPE);
        PostKeyInput(WM_KEYUP, VK_MENU);
        Pump();
        EXPECT_EQ(seen, c.items) << c.name;
        EXPECT_EQ(GetMenuItemCount(GetSystemMenu(h, FALSE)), int(std::count(c.items.begin(), c.items.end(), ' ') + 1));
        Handlers().erase(h);
        DestroyWindow(h);
    }
}

TEST_F(Frames, TheSystemMenuOpensOnARightClickAndItsChoiceIsCarriedOut) {
    HWND h = Framed(Sizeable, 0);
    HMENU menu = GetSystemMenu(h, FALSE);
    AppendMenu(menu, MF_STRING, 0x0100, "&Extra");
    RECT r = RectOf(h);
    POINT at{r.left + 150, r.top + 13};
    PostMouseInput(WM_RBUTTONDOWN, at);
    PostMouseInput(WM_RBUTTONUP, at);
    Keys({VK_UP, VK_RETURN}); // the last item: the program's own
    Pump();
    EXPECT_EQ(Commands(h), (std::vector<UINT>{Menu, 0x0100}));
    EXPECT_EQ(GetSystemMenu(h, TRUE), nullptr);
    EXPECT_EQ(GetMenuItemCount(GetSystemMenu(h, FALSE)), 7) << "revert drops the program's item";
}

TEST_F(Frames, DraggingMovesAndSizesWithinTheTrackingLimits) {
    // As a dialog whose width is fixed at 197 and whose height is at least 380.
    HWND h = Framed(WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU, 0, "TRecorder", RECT{1, 99, 198, 479});
    Handlers()[h] = [](HWND, UINT m, WPARAM, LPARAM l, LRESULT*) {
        if (m == WM_GETMINMAXINFO) {
            auto* mm = reinterpret_cast<MINMAXINFO*>(l);
            mm->ptMinTrackSize = POINT{197, 380};
            mm->ptMaxTrackSize = POINT{197, GetSystemMetrics(SM_CYSCREEN)};
        }
        return false;
    };
    Drag(h, POINT{100, 10}, 30, 20);
    EXPECT_EQ(RectOf(h), (RECT{31, 119, 228, 499}));
    Log().clear();
    Drag(h, POINT{196, 200}, 80, 0); // the right border
    EXPECT_EQ(RectOf(h), (RECT{31, 119, 228, 499})) << "the width stays 197";
    EXPECT_EQ(MessagesOf(h, {WM_ENTERSIZEMOVE, WM_SIZING, WM_EXITSIZEMOVE}),
              (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_SIZING, WM_SIZING, WM_EXITSIZEMOVE}));
    Drag(h, POINT{100, 379}, 0, 60); // the bottom border
    EXPECT_EQ(RectOf(h), (RECT{31, 119, 228, 559}));
    Drag(h, POINT{0, 0}, -50, 400); // the top-left corner, down past the smallest height
    EXPECT_EQ(RectOf(h), (RECT{31, 179, 228, 559}));
    // From the keyboard: Move, two steps right and one down, Enter; then Size, Escape.
    Keys({VK_RIGHT, VK_RIGHT, VK_DOWN, VK_RETURN});
    SendMessage(h, WM_SYSCOMMAND, SC_MOVE, 0);
    EXPECT_EQ(RectOf(h), (RECT{47, 187, 244, 567}));
    Keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_ESCAPE});
    SendMessage(h, WM_SYSCOMMAND, SC_SIZE, 0);
    EXPECT_EQ(RectOf(h), (RECT{47, 187, 244, 567})) << "Escape puts it back";
    Keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RIGHT, VK_RETURN});
    SendMessage(h, WM_SYSCOMMAND, SC_SIZE, 0);
    EXPECT_EQ(RectOf(h), (RECT{47, 187, 244, 583})) << "down picks the bottom edge; across it, only the corner";
}

TEST_F(Frames, DoubleClickMaximizesAndRestoresAndMinimizedWindowsLineUpAtTheBottom) {
    HWND h = Framed(Sizeable, 0);
    ClickAt(h, POINT{150, 13}, true);
    EXPECT_TRUE(IsZoomed(h));
    EXPECT_EQ(RectOf(h), (RECT{-4, -4, 1028, 772}));
    EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(1027, 300)), HTBORDER) << "no sizing while maximized";
    rtl::AdvanceClock(1000);
    ClickAt(h, POINT{150, 13}, true);
    EXPECT_FALSE(IsZoomed(h));
    EXPECT_EQ(RectOf(h), (RECT{100, 100, 400, 300}));

    HWND other = Framed(Sizeable, 0, "TRecorder", RECT{200, 200, 500, 400});
    ShowWindow(h, SW_MINIMIZE);
    ShowWindow(other, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(h));
    EXPECT_EQ(RectOf(h), (RECT{0, 744, 160, 768}));
    EXPECT_EQ(RectOf(other), (RECT{160, 744, 320, 768}));
    EXPECT_NE(GetActiveWindow(), other);
    RECT client;
    GetClientRect(h, &client);
    EXPECT_TRUE(IsRectEmpty(&client));
    EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(140, 755)), HTCLOSE);
    // Its first box restores it.
    rtl::AdvanceClock(1000);
    ClickAt(other, POINT{112, 10});
    EXPECT_FALSE(IsIconic(other));
    EXPECT_EQ(RectOf(other), (RECT{200, 200, 500, 400}));
    rtl::AdvanceClock(1000);
    ClickAt(h, POINT{60, 10}, true);
    EXPECT_EQ(RectOf(h), (RECT{100, 100, 400, 300}));
}

TEST_F(Frames, ANewScreenSizeMovesMaximizedAndMinimizedWindowsAndIsAnnounced) {
    HWND big = Framed(Sizeable, 0);
    HWND small = Framed(Sizeable, 0, "TRecorder", RECT{50, 50, 250, 150});
    HWND plain = Framed(Sizeable, 0, "TRecorder", RECT{300, 300, 500, 400});
    ShowWindow(big, SW_SHOWMAXIMIZED);
    ShowWindow(small, SW_MINIMIZE);
    Log().clear();
    SetScreenSize(800, 600);
    EXPECT_EQ(RectOf(big), (RECT{-4, -4, 804, 604}));
    EXPECT_EQ(RectOf(small), (RECT{0, 576, 160, 600}));
    EXPECT_EQ(RectOf(plain), (RECT{300, 300, 500, 400}));
    RECT work;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work, (RECT{0, 0, 800, 600}));
    for (HWND h : {big, small, plain}) {
        auto it = std::find_if(Log().begin(), Log().end(), [&](const Logged& l) { return l.hwnd == h && l.msg == WM_DISPLAYCHANGE; });
        ASSERT_NE(it, Log().end());
        EXPECT_EQ(it->lParam, MAKELPARAM(800, 600));
    }
    ShowWindow(small, SW_RESTORE);
    EXPECT_EQ(RectOf(small), (RECT{50, 50, 250, 150}));
}

TEST_F(Frames, ContextHelpSendsWmHelpToTheClickedControlAndOnToItsParent) {
    HWND h = Framed(DialogStyle, WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP);
    HWND child = Child(h, 20, 20, 80, 30, WS_CHILD | WS_VISIBLE, 7);
    std::vector<std::pair<HWND, HWND>> asked; // who was asked, about which control
    std::vector<int> ids;
    Handler note = [&](HWND w, UINT m, WPARAM, LPARAM l, LRESULT*) {
        if (m == WM_HELP) {
            auto* info = reinterpret_cast<const HELPINFO*>(l);
            asked.push_back({w, info->hItemHandle});
            ids.push_back(info->iCtrlId);
        }
        return false;
    };
    Handlers()[h] = Handlers()[child] = note;
    bool helpCursor = false;
    SetMessageHook([](void* data) {
        if (GetCursor() == LoadCursor(nullptr, IDC_HELP)) *static_cast<bool*>(data) = true;
    }, &helpCursor);
    RECT r = RectOf(h), cr = RectOf(child);
    PostMouseInput(WM_LBUTTONDOWN, POINT{r.left + 269, r.top + 12});
    PostMouseInput(WM_LBUTTONUP, POINT{r.left + 269, r.top + 12});
    PostMouseInput(WM_LBUTTONDOWN, POINT{cr.left + 5, cr.top + 5});
    PostMouseInput(WM_LBUTTONUP, POINT{cr.left + 5, cr.top + 5});
    Pump();
    SetMessageHook(nullptr, nullptr);
    EXPECT_TRUE(helpCursor);
    EXPECT_NE(GetCursor(), LoadCursor(nullptr, IDC_HELP));
    EXPECT_EQ(asked, (std::vector<std::pair<HWND, HWND>>{{child, child}, {h, child}}));
    EXPECT_EQ(ids, (std::vector<int>{7, 7}));
    EXPECT_TRUE(MessagesOf(child, {WM_LBUTTONDOWN}).empty()) << "the click is help's, not the control's";

    // Escape ends it without help.
    Log().clear();
    rtl::AdvanceClock(1000);
    Keys({VK_ESCAPE});
    SendMessage(h, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
    EXPECT_TRUE(MessagesOf(child, {WM_HELP}).empty());
    EXPECT_EQ(GetCapture(), nullptr);
}

} // namespace
