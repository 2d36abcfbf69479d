// The ide program on a desktop (a virtual X server): its desktop window shows the pixels of its
// headless screenshot, and closing the desktop window ends the program.
#include "IdeFixture.h"
#include "testing/TempWinRoot.h"
#include "testing/Xvfb.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// How long a wait may last before it counts as failed: every wait ends as soon as what it waits
// for is there, and a sanitized program on a machine busy with builds takes many seconds to start.
constexpr auto Patience = 90s;

class DisplayProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Server.Running()) GTEST_SKIP() << "Xvfb is not installed";
        ide_test::CopyDemoProject(Root.Path());
        Project = (fs::path(Root.Path()) / "drive_c" / "PROJECTS" / "Demo" / "Demo.dpr").string();
        // SDL and the desktop's session libraries keep a few allocations for the process's life.
        Suppressions = Root.Path() + "/lsan.supp";
        std::ofstream(Suppressions) << "leak:libdbus-1.so\nleak:libSDL2\nleak:libX11.so\nleak:libxcb\n";
        X = XOpenDisplay(Server.Display().c_str());
        ASSERT_NE(X, nullptr);
    }
    void TearDown() override {
        if (Child > 0) {
            kill(Child, SIGKILL);
            waitpid(Child, nullptr, 0);
        }
        if (X) XCloseDisplay(X);
    }

    // Starts the program on the server, in the background.
    void Start(const std::string& Args) {
        Child = fork();
        if (Child == 0) {
            setenv("DISPLAY", Server.Display().c_str(), 1);
            setenv("WINROOT", Root.Path().c_str(), 1);
            setenv("LSAN_OPTIONS", ("suppressions=" + Suppressions).c_str(), 1);
            execl("/bin/sh", "sh", "-c", (std::string("exec '" IDE_PROGRAM_FILE "' ") + Args + " 2>'" + Root.Path() +
                                          "/stderr.txt'").c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    // The desktop window of the program, once it is mapped.
    Window WaitForWindow() {
        for (auto end = std::chrono::steady_clock::now() + Patience; std::chrono::steady_clock::now() < end;) {
            Window root = DefaultRootWindow(X), parent, *children = nullptr;
            unsigned count = 0;
            Window found = 0;
            if (XQueryTree(X, root, &root, &parent, &children, &count)) {
                for (unsigned i = 0; i < count && !found; ++i) {
                    char* name = nullptr;
                    XWindowAttributes a;
                    if (XFetchName(X, children[i], &name) && name && std::string(name) == "ide" &&
                        XGetWindowAttributes(X, children[i], &a) && a.map_state == IsViewable)
                        found = children[i];
                    if (name) XFree(name);
                }
                if (children) XFree(children);
            }
            if (found) return found;
            std::this_thread::sleep_for(50ms);
        }
        return 0;
    }
    // How many pixels of the server's screen differ from the PNG file.
    long Differences(const std::string& Png) {
        cairo_surface_t* image = cairo_image_surface_create_from_png(Png.c_str());
        if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) return -1;
        const int w = cairo_image_surface_get_width(image), h = cairo_image_surface_get_height(image);
        const int stride = cairo_image_surface_get_stride(image);
        const unsigned char* data = cairo_image_surface_get_data(image);
        XImage* shown = XGetImage(X, DefaultRootWindow(X), 0, 0, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
        long differ = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                std::uint32_t want = reinterpret_cast<const std::uint32_t*>(data + std::size_t(y) * stride)[x] & 0xFFFFFF;
                if ((XGetPixel(shown, x, y) & 0xFFFFFF) != want) ++differ;
            }
        XDestroyImage(shown);
        cairo_surface_destroy(image);
        return differ;
    }
    bool Ended(int& ExitCode, std::chrono::seconds Within) {
        for (auto end = std::chrono::steady_clock::now() + Within; std::chrono::steady_clock::now() < end;) {
            if (waitpid(Child, &ExitCode, WNOHANG) == Child) {
                Child = -1;
                return true;
            }
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }
    std::string Stderr() {
        std::ifstream in(Root.Path() + "/stderr.txt");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    testing_support::TXvfb Server;
    testing_support::TempWinRoot Root;
    std::string Project, Suppressions;
    Display* X = nullptr;
    pid_t Child = -1;
};

} // namespace

TEST_F(DisplayProgramTest, TheDesktopShowsTheHeadlessScreenAndClosingItEndsTheProgram) {
    const std::string headless = Root.Path() + "/headless.png";
    std::string cmd = "WINROOT='" + Root.Path() + "' '" IDE_PROGRAM_FILE "' --headless --screenshot '" + headless +
                      "' '" + Project + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);

    Start("'" + Project + "'");
    Window shown = WaitForWindow();
    ASSERT_NE(shown, 0u) << Stderr();
    // The code editor's caret blinks; everything else is the same pixel for pixel.
    long differ = -1;
    for (auto end = std::chrono::steady_clock::now() + Patience; std::chrono::steady_clock::now() < end;) {
        differ = Differences(headless);
        if (differ >= 0 && differ <= 20) break;
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_GE(differ, 0);
    EXPECT_LE(differ, 20);

    // The desktop's close box asks the main window to close, and the program ends cleanly.
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = shown;
    e.xclient.message_type = XInternAtom(X, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(XInternAtom(X, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(X, shown, False, NoEventMask, &e);
    XFlush(X);
    int status = 0;
    ASSERT_TRUE(Ended(status, Patience)) << Stderr();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << "\n" << Stderr();
}
