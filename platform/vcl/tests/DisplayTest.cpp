// The desktop display under a virtual X server: desktop events reach a form as the right
// messages, the clipboard crosses to the desktop and back, and an idle loop sleeps.
#include "testing/TempWinRoot.h"
#include "testing/Xvfb.h"
#include "vcl/Forms.h"

#include "rtl/Clock.h"
#include "rtl/TestHooks.h"
#include "win/TestHooks.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <future>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

using namespace vcl;
using testing_support::RunOnDisplay;
using testing_support::TempWinRoot;
using testing_support::TXvfb;

// SDL and the desktop's session libraries keep a few allocations for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\nleak:libSDL2\nleak:libX11.so\nleak:libxcb\nleak:libXi.so\n";
}

namespace {

struct TSeen {
    unsigned Msg;
    unsigned WParam;
    bool operator==(const TSeen&) const = default;
};

std::string Describe(const std::vector<TSeen>& Seen) {
    std::string out;
    char buf[32];
    for (const TSeen& s : Seen) {
        std::snprintf(buf, sizeof buf, "%04X:%X ", s.Msg, s.WParam);
        out += buf;
    }
    return out;
}

// A control that takes the focus and writes down the input messages it gets.
class TProbe : public TCustomControl {
public:
    explicit TProbe(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
    void WndProc(TMessage& M) override {
        switch (M.Msg) {
        case win::WM_LBUTTONDOWN: case win::WM_LBUTTONUP: case win::WM_LBUTTONDBLCLK:
        case win::WM_RBUTTONDOWN: case win::WM_RBUTTONUP:
            Seen.push_back({M.Msg, unsigned(M.WParam)});
            LastPoint = win::POINT{win::GET_X_LPARAM(M.LParam), win::GET_Y_LPARAM(M.LParam)};
            break;
        case win::WM_KEYDOWN: case win::WM_KEYUP: case win::WM_SYSKEYDOWN: case win::WM_SYSKEYUP:
        case win::WM_CHAR: case win::WM_SYSCHAR:
            Seen.push_back({M.Msg, unsigned(M.WParam)});
            break;
        case win::WM_MOUSEWHEEL:
            Seen.push_back({M.Msg, unsigned(int(win::SHORT(win::HIWORD(M.WParam))))});
            break;
        }
        TCustomControl::WndProc(M);
    }
    std::vector<TSeen> Seen;
    win::POINT LastPoint{};
};

class DisplayTest : public ::testing::Test {
protected:
    // One server for the suite: the display's connection outlives each test.
    static void SetUpTestSuite() {
        Server = new TXvfb();
        // Keys for two characters beyond ASCII, as a European keyboard has them.
        if (Server->Running()) RunOnDisplay(*Server, "xmodmap -e 'keycode 200 = eacute' -e 'keycode 201 = EuroSign'");
    }
    static void TearDownTestSuite() {
        delete Server;
        Server = nullptr;
    }
    void SetUp() override {
        if (!Server->Running()) GTEST_SKIP() << "Xvfb is not installed";
        setenv("DISPLAY", Server->Display().c_str(), 1);
        DoneApplication();
        win::ResetWindowSystem();
        rtl::UseSystemClock();
        InitApplication();
        ASSERT_TRUE(win::OpenDisplay(1, "tests"));
        Form = Make<TForm>(Application);
        Form->SetCaption("Desktop");
        Form->SetBounds(100, 100, 300, 200);
        Probe = new TProbe(Form);
        Probe->SetParent(Form);
        Probe->SetBounds(20, 20, 200, 100);
        Form->Show();
        Probe->SetFocus();
        Pump(200);
    }
    void TearDown() override {
        if (!Server->Running()) return;
        delete Form;
        win::CloseDisplay();
        DoneApplication();
        win::ResetWindowSystem();
        InitApplication();
        unsetenv("DISPLAY");
    }
    // Lets messages run for a while on the real clock.
    static void Pump(int Milliseconds) {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(Milliseconds);
        while (std::chrono::steady_clock::now() < end) Application->ProcessMessages();
    }
    // Runs a command against the server while this process keeps answering the desktop.
    int RunPumping(const std::string& Command) {
        auto done = std::async(std::launch::async, [&] { return RunOnDisplay(*Server, Command); });
        while (done.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) Application->ProcessMessages();
        return done.get();
    }
    win::POINT ProbeOnScreen(int X, int Y) { return Probe->ClientToScreen(Point(X, Y)); }

    static TXvfb* Server;
    TempWinRoot Root;
    TForm* Form = nullptr;
    TProbe* Probe = nullptr;
};

TXvfb* DisplayTest::Server = nullptr;

} // namespace

TEST_F(DisplayTest, DesktopEventsReachTheFormAsWindowsMessages) {
    using namespace win;
    win::POINT p = ProbeOnScreen(30, 40);
    const std::string at = std::to_string(p.x) + " " + std::to_string(p.y);
    struct Case {
        std::string events;
        std::vector<TSeen> expected;
    };
    const std::vector<Case> cases = {
        {"mousemove " + at + " click 1", {{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}}},
        {"click 3", {{WM_RBUTTONDOWN, MK_RBUTTON}, {WM_RBUTTONUP, 0}}},
        {"click --repeat 2 --delay 60 1",
         {{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}, {WM_LBUTTONDBLCLK, MK_LBUTTON}, {WM_LBUTTONUP, 0}}},
        {"click 4", {{WM_MOUSEWHEEL, 120}}},
        {"click 5", {{WM_MOUSEWHEEL, unsigned(-120)}}},
        {"key a", {{WM_KEYDOWN, 'A'}, {WM_CHAR, 'a'}, {WM_KEYUP, 'A'}}},
        // The desktop lets go of the modifier first.
        {"key shift+a", {{WM_KEYDOWN, VK_SHIFT}, {WM_KEYDOWN, 'A'}, {WM_CHAR, 'A'}, {WM_KEYUP, VK_SHIFT}, {WM_KEYUP, 'A'}}},
        {"key ctrl+c", {{WM_KEYDOWN, VK_CONTROL}, {WM_KEYDOWN, 'C'}, {WM_CHAR, 3}, {WM_KEYUP, VK_CONTROL}, {WM_KEYUP, 'C'}}},
        {"key alt+f", {{WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, 'F'}, {WM_SYSCHAR, 'f'}, {WM_SYSKEYUP, VK_MENU}, {WM_KEYUP, 'F'}}},
        {"key Return", {{WM_KEYDOWN, VK_RETURN}, {WM_CHAR, 13}, {WM_KEYUP, VK_RETURN}}},
        {"key BackSpace", {{WM_KEYDOWN, VK_BACK}, {WM_CHAR, 8}, {WM_KEYUP, VK_BACK}}},
        {"key Left", {{WM_KEYDOWN, VK_LEFT}, {WM_KEYUP, VK_LEFT}}},
        {"type 'é'", {{WM_CHAR, 0xE9}}},
        {"type '€'", {{WM_CHAR, 0x80}}},
    };
    for (const Case& c : cases) {
        Probe->Seen.clear();
        ASSERT_EQ(RunPumping("LC_ALL=C.UTF-8 xdotool " + c.events), 0) << c.events;
        // Typed text arrives as characters; key downs and ups of the layout's own keys may surround them.
        const bool typed = c.events.rfind("type", 0) == 0;
        auto seenNow = [&] {
            std::vector<TSeen> seen = Probe->Seen;
            if (typed) std::erase_if(seen, [](const TSeen& s) { return s.Msg != win::WM_CHAR; });
            return seen;
        };
        // A loaded machine may be slow to deliver; then a little longer, for anything extra.
        for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
             seenNow().size() < c.expected.size() && std::chrono::steady_clock::now() < end;)
            Pump(10);
        Pump(50);
        std::vector<TSeen> seen = seenNow();
        EXPECT_EQ(seen, c.expected) << c.events << ": " << Describe(Probe->Seen);
    }
    EXPECT_EQ(Probe->LastPoint.x, 30);
    EXPECT_EQ(Probe->LastPoint.y, 40);
}

TEST_F(DisplayTest, TheClipboardCrossesToTheDesktopAndBack) {
    using namespace win;
    const std::string ours = "Gr\xFC\xDF" "e \x80 5"; // cp1252
    ASSERT_TRUE(OpenClipboard(Form->Handle()));
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, ours.size() + 1);
    std::memcpy(GlobalLock(h), ours.c_str(), ours.size() + 1);
    GlobalUnlock(h);
    SetClipboardData(CF_TEXT, h);
    CloseClipboard();

    const std::string out = std::string(std::filesystem::temp_directory_path()) + "/clip-" + std::to_string(getpid());
    ASSERT_EQ(RunPumping("xclip -o -selection clipboard > " + out), 0);
    std::FILE* f = std::fopen(out.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char buf[64] = {};
    std::size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    std::remove(out.c_str());
    EXPECT_EQ(std::string(buf, n), "Gr\u00FC\u00DFe \u20AC 5");

    ASSERT_EQ(RunPumping("printf '%s' '\u00C7a va \u00E0 l\u2019\u00E9cole' | xclip -i -selection clipboard"), 0);
    // The desktop hands its text over when asked; a loaded machine may take a moment.
    std::string text;
    for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5); std::chrono::steady_clock::now() < end;) {
        Pump(20);
        ASSERT_TRUE(OpenClipboard(Form->Handle()));
        if (HGLOBAL got = GetClipboardData(CF_TEXT)) {
            text = static_cast<const char*>(GlobalLock(got));
            GlobalUnlock(got);
        }
        CloseClipboard();
        if (!text.empty() && text != ours) break;
    }
    EXPECT_EQ(text, "\xC7" "a va \xE0 l\x92\xE9" "cole");
}

TEST_F(DisplayTest, AnIdleLoopSleeps) {
    auto cpu = [] {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
    };
    Pump(100);
    double before = cpu();
    auto start = std::chrono::steady_clock::now();
    bool done = false;
    win::UINT_PTR timer = win::SetTimer(nullptr, 0, 2000, nullptr);
    win::MSG m;
    while (!done && win::GetMessage(&m, nullptr, 0, 0)) {
        if (m.message == win::WM_TIMER && m.wParam == timer) done = true;
        win::TranslateMessage(&m);
        win::DispatchMessage(&m);
    }
    win::KillTimer(nullptr, timer);
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double used = cpu() - before;
    EXPECT_GE(wall, 1.9);
    EXPECT_LT(used / wall, 0.05) << used << " s of processor time in " << wall << " s";
}
