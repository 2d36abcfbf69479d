// Carets, cursors, the clipboard, beeps and the list of windows seen across processes.
#include "WinTestSupport.h"

#include "rtl/WinRoot.h"
#include "win/TestHooks.h"

#include <cstring>
#include <stdexcept>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace wintest;

namespace {

class Carets : public WinTest {};

TEST_F(Carets, ShownCaretIsInTheWindowPixelsAndBlinks) {
    HWND w = Top(0, 0, 50, 50);
    Pump();
    ASSERT_TRUE(CreateCaret(w, nullptr, 2, 10));
    SetCaretPos(5, 5);
    auto px = [&](int x, int y) {
        HDC s = GetDC(nullptr); // the screen DC does not take the caret out
        COLORREF c = GetPixel(s, x, y);
        ReleaseDC(nullptr, s);
        return c;
    };
    EXPECT_EQ(px(5, 5), RGB(255, 255, 255)); // hidden until shown
    ShowCaret(w);
    EXPECT_EQ(px(5, 5), RGB(0, 0, 0));
    EXPECT_EQ(px(6, 14), RGB(0, 0, 0));
    EXPECT_EQ(px(7, 5), RGB(255, 255, 255));
    // Painting takes it out and puts it back over the new pixels.
    Handlers()[w] = [](HWND h, UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg != WM_PAINT) return false;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 255, 255));
        RECT r{0, 0, 50, 50};
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        EndPaint(h, &ps);
        return true;
    };
    InvalidateRect(w, nullptr, FALSE);
    UpdateWindow(w);
    EXPECT_EQ(px(5, 5), RGB(127, 127, 127));
    EXPECT_EQ(px(7, 5), RGB(128, 128, 128));
    // The blink follows the clock as the loop runs.
    UINT blink = GetCaretBlinkTime();
    rtl::AdvanceClock(blink);
    MSG m;
    PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE);
    EXPECT_EQ(px(5, 5), RGB(128, 128, 128));
    rtl::AdvanceClock(blink);
    PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE);
    EXPECT_EQ(px(5, 5), RGB(127, 127, 127));
    HideCaret(w);
    EXPECT_EQ(px(5, 5), RGB(128, 128, 128));
    ShowCaret(w);
    SetCaretPos(20, 20);
    EXPECT_EQ(px(5, 5), RGB(128, 128, 128));
    EXPECT_EQ(px(20, 20), RGB(127, 127, 127));
    POINT p;
    GetCaretPos(&p);
    EXPECT_EQ(p, (POINT{20, 20}));
    DestroyCaret();
    EXPECT_EQ(px(20, 20), RGB(128, 128, 128));
    EXPECT_FALSE(ShowCaret(w));
}

TEST_F(Carets, APaintThatThrowsDoesNotLoseTheCaret) {
    HWND w = Top(0, 0, 50, 50);
    Pump();
    CreateCaret(w, nullptr, 2, 10);
    ShowCaret(w);
    Handlers()[w] = [](HWND h, UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg != WM_PAINT) return false;
        PAINTSTRUCT ps;
        BeginPaint(h, &ps);
        throw std::runtime_error("paint failed");
    };
    InvalidateRect(w, nullptr, FALSE);
    EXPECT_THROW(Pump(), std::runtime_error);
    Handlers().erase(w);
    HDC s = GetDC(nullptr);
    EXPECT_EQ(GetPixel(s, 0, 0), RGB(0, 0, 0)); // shown again once the paint has been ended
    ReleaseDC(nullptr, s);
}

TEST_F(Carets, GreyCaretInvertsEveryOtherPixel) {
    HWND w = Top(0, 0, 50, 50);
    Pump();
    CreateCaret(w, reinterpret_cast<HBITMAP>(1), 2, 2);
    ShowCaret(w);
    HDC s = GetDC(nullptr);
    int black = 0;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) black += GetPixel(s, x, y) == RGB(0, 0, 0);
    EXPECT_EQ(black, 2);
    ReleaseDC(nullptr, s);
    DestroyWindow(w); // the caret goes with its window
    EXPECT_FALSE(SetCaretPos(1, 1));
}

class Cursors : public WinTest {};

TEST_F(Cursors, StockCustomAndTheClassCursor) {
    HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    ASSERT_TRUE(arrow);
    EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), arrow);
    EXPECT_NE(LoadCursor(nullptr, IDC_IBEAM), arrow);
    EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(1)), nullptr);
    HCURSOR hsplit = LoadCursor(nullptr, "HSPLIT");
    ASSERT_TRUE(hsplit);
    EXPECT_EQ(LoadCursor(nullptr, "hsplit"), hsplit);
    EXPECT_NE(LoadCursor(nullptr, "VSPLIT"), hsplit);
    CursorInfo info;
    GetCursorInfoOf(LoadCursor(nullptr, IDC_WAIT), &info);
    EXPECT_EQ(info.stockId, 32514);

    BYTE andPlane[4 * 32], xorPlane[4 * 32];
    std::memset(andPlane, 0xFF, sizeof andPlane);
    std::memset(xorPlane, 0, sizeof xorPlane);
    HCURSOR split = CreateCursor(TestInstance(), 15, 15, 32, 32, andPlane, xorPlane);
    ASSERT_TRUE(split);
    EXPECT_EQ(CreateCursor(TestInstance(), 40, 0, 32, 32, andPlane, xorPlane), nullptr); // hot spot outside
    RegisterCursorResource(TestInstance(), MAKEINTRESOURCE(32668), split);
    EXPECT_EQ(LoadCursor(TestInstance(), MAKEINTRESOURCE(32668)), split);
    EXPECT_EQ(LoadCursor(TestInstance(), "NOSUCH"), nullptr);
    GetCursorInfoOf(split, &info);
    EXPECT_EQ(info.hotSpot, (POINT{15, 15}));

    Top(0, 0, 50, 50);
    Pump();
    SetCursor(nullptr);
    PostMouseInput(WM_MOUSEMOVE, POINT{10, 10});
    Pump();
    EXPECT_EQ(GetCursor(), arrow); // the class cursor, through the default WM_SETCURSOR
    SetCursorPos(30, 31);
    POINT p;
    GetCursorPos(&p);
    EXPECT_EQ(p, (POINT{30, 31}));
}

class Clipboard : public WinTest {};

TEST_F(Clipboard, TextInMoveableBlocks) {
    const char text[] = "Caf\xE9 au lait";
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, sizeof text);
    char* p = static_cast<char*>(GlobalLock(h));
    ASSERT_TRUE(p);
    std::memcpy(p, text, sizeof text);
    GlobalUnlock(h);
    EXPECT_EQ(SetClipboardData(CF_TEXT, h), nullptr); // not open
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_FALSE(OpenClipboard(nullptr));
    EmptyClipboard();
    EXPECT_EQ(SetClipboardData(CF_TEXT, h), h);
    EXPECT_EQ(GlobalFree(h), h); // the clipboard owns it now
    CloseClipboard();

    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr); // not open
    ASSERT_TRUE(OpenClipboard(nullptr));
    HGLOBAL got = GetClipboardData(CF_TEXT);
    ASSERT_TRUE(got);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(got)), text);
    GlobalUnlock(got);
    HGLOBAL oem = GetClipboardData(CF_OEMTEXT);
    ASSERT_TRUE(oem);
    EXPECT_EQ(static_cast<const unsigned char*>(GlobalLock(oem))[3], 0x82); // é in the OEM page
    GlobalUnlock(oem);
    EmptyClipboard();
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    CloseClipboard();

    HGLOBAL z = GlobalAlloc(GHND, 8);
    EXPECT_EQ(GlobalSize(z), 8u);
    EXPECT_EQ(static_cast<const char*>(GlobalLock(z))[7], 0);
    GlobalUnlock(z);
    EXPECT_EQ(GlobalFree(z), nullptr);
    EXPECT_EQ(GlobalLock(z), nullptr);
}

TEST(Beeps, AreRecorded) {
    ClearRecordedBeeps();
    MessageBeep(MB_ICONEXCLAMATION);
    MessageBeep(0);
    EXPECT_EQ(RecordedBeeps(), (std::vector<UINT>{MB_ICONEXCLAMATION, 0}));
    ClearRecordedBeeps();
}

class AcrossProcesses : public WinTest {};

// In a forked child: its own window system, then (after Before, which looks at the run folder
// first) a top-level window of the IDE's class.
HWND ChildIdeWindow(const char* Caption, const std::function<void()>& Before = {}) {
    ResetWindowSystem();
    if (Before) Before();
    WNDCLASS wc;
    wc.lpfnWndProc = DefWindowProc;
    wc.hInstance = TestInstance();
    wc.lpszClassName = "TAppBuilder";
    RegisterClass(&wc);
    return CreateWindowEx(0, "TAppBuilder", Caption, WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, nullptr, nullptr,
                          TestInstance(), nullptr);
}

TEST_F(AcrossProcesses, AWindowsFileIsWrittenAgainOnlyWhenWhatItHoldsChanges) {
    HWND w = Top(0, 0, 10, 10, WS_POPUP, "TRecorder", "One");
    auto file = [] {
        std::filesystem::path found;
        for (auto& e : std::filesystem::directory_iterator(rtl::RunDir()))
            if (e.path().extension() == ".win") found = e.path();
        return found;
    };
    // A rewrite renames a new file over the old one, which gives it a new inode.
    auto inode = [&] {
        struct stat st {};
        return ::stat(file().c_str(), &st) == 0 ? st.st_ino : ino_t{0};
    };
    const ino_t first = inode();
    ASSERT_NE(first, ino_t{0});
    ShowWindow(w, SW_HIDE);
    ShowWindow(w, SW_SHOW);
    SetWindowText(w, "One");
    EXPECT_EQ(inode(), first);
    SetWindowText(w, "Two");
    EXPECT_NE(inode(), first);
    std::ifstream in(file());
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("caption=Two\n"), std::string::npos) << text;
    DestroyWindow(w);
}

TEST_F(AcrossProcesses, AChildsTopLevelWindowIsSeenUntilItExits) {
    int go[2], done[2];
    ASSERT_EQ(pipe(go), 0);
    ASSERT_EQ(pipe(done), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        HWND w = ChildIdeWindow("IDE - Project1");
        char c = w ? 'y' : 'n';
        (void)!write(go[1], &c, 1);
        (void)!read(done[0], &c, 1);
        _exit(0); // no clean-up: the entry stays behind as after a crash
    }
    char c = 0;
    ASSERT_EQ(read(go[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    HWND mine = Top(0, 0, 10, 10, WS_POPUP, "TRecorder", "Mine");
    HWND found = FindWindow("TAppBuilder", nullptr);
    ASSERT_TRUE(found);
    EXPECT_NE(found, mine);
    EXPECT_TRUE(IsWindow(found));
    EXPECT_EQ(GetClassName(found), "TAppBuilder");
    EXPECT_EQ(GetWindowText(found), "IDE - Project1");
    DWORD owner = 0;
    GetWindowThreadProcessId(found, &owner);
    EXPECT_EQ(owner, DWORD(pid));
    EXPECT_EQ(FindWindow(nullptr, "IDE - Project1"), found);
    int count = 0;
    EnumWindows([&](HWND h) {
        count += h == found || h == mine;
        return true;
    });
    EXPECT_EQ(count, 2);

    (void)!write(done[1], "x", 1);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_EQ(FindWindow("TAppBuilder", nullptr), nullptr);
    EXPECT_FALSE(IsWindow(found));
    EXPECT_EQ(GetWindowText(found), "");
    // The dead process's entry has been removed; ours stays while the window exists.
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(rtl::RunDir())) files += e.path().extension() == ".win";
    EXPECT_EQ(files, 1);
    DestroyWindow(mine);
    files = 0;
    for (auto& e : std::filesystem::directory_iterator(rtl::RunDir())) files += e.path().extension() == ".win";
    EXPECT_EQ(files, 0);
    for (int fd : {go[0], go[1], done[0], done[1]}) close(fd);
}

// The run folder is listed once and then only watched: a look after another process's window came,
// changed its caption or went must show it, whatever our own windows wrote there meanwhile; a forked
// child makes a watch of its own rather than reading its parent's.
TEST_F(AcrossProcesses, AnotherProcesssWindowsAreSeenAsSoonAsTheyComeChangeAndGo) {
    HWND mine = Top(0, 0, 10, 10, WS_POPUP, "TRecorder", "Mine");
    EXPECT_EQ(FindWindow("TAppBuilder", nullptr), nullptr);
    SetWindowText(mine, "Mine, renamed");
    EXPECT_EQ(FindWindow("TAppBuilder", nullptr), nullptr);
    int go[2], step[2];
    ASSERT_EQ(pipe(go), 0);
    ASSERT_EQ(pipe(step), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        char c = 'n';
        HWND w = ChildIdeWindow("First", [&] { c = FindWindow("TRecorder", "Mine, renamed") ? 'y' : 'n'; });
        if (!w) c = 'n';
        (void)!write(go[1], &c, 1);
        (void)!read(step[0], &c, 1);
        SetWindowText(w, "Second");
        (void)!write(go[1], &c, 1);
        (void)!read(step[0], &c, 1);
        DestroyWindow(w);
        (void)!write(go[1], &c, 1);
        (void)!read(step[0], &c, 1);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(go[0], &c, 1), 1);
    EXPECT_EQ(c, 'y') << "the child sees its parent's window";
    HWND found = FindWindow("TAppBuilder", nullptr);
    EXPECT_TRUE(found);
    EXPECT_EQ(GetWindowText(found), "First");
    SetWindowText(mine, "Mine again");
    (void)!write(step[1], "x", 1);
    ASSERT_EQ(read(go[0], &c, 1), 1);
    EXPECT_EQ(FindWindow(nullptr, "Second"), found);
    (void)!write(step[1], "x", 1);
    ASSERT_EQ(read(go[0], &c, 1), 1);
    EXPECT_EQ(FindWindow("TAppBuilder", nullptr), nullptr);
    EXPECT_FALSE(IsWindow(found));
    EXPECT_EQ(FindWindow("TRecorder", nullptr), mine);
    (void)!write(step[1], "x", 1);
    int status = 0;
    waitpid(pid, &status, 0);
    DestroyWindow(mine);
    for (int fd : {go[0], go[1], step[0], step[1]}) close(fd);
}

} // namespace
