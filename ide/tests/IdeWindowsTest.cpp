// The IDE's windows through the window system: seen from another process, placed from the desktop
// file and written back, the menu clicked and its shortcuts pressed, messages in a box.
#include "IdeFixture.h"
#include "IdeUiFixture.h"
#include "ide/Ide.h"
#include "ide/IdeWindows.h"
#include "ide/WinNames.h"
#include "rtl/Paths.h"
#include "testing/UiTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

using testing_support::TBy;
using testing_support::TRobot;

namespace {

using ide_test::DemoDir;
constexpr int CtrlAltX = 0xC058;

class IdeWindowsTest : public ide_test::IdeUiTest {
protected:
    std::string DiskText(const std::string& winName) const {
        auto t = ide::ReadWholeFile(winName);
        return t ? *t : std::string("<missing>");
    }
    static win::RECT WindowRect(win::HWND wnd) {
        win::RECT r{};
        win::GetWindowRect(wnd, &r);
        return r;
    }
    static ide::TWindowPlace PlaceOf(win::HWND wnd) {
        win::RECT r = WindowRect(wnd);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    // Lets the loop run until the robot is done (the clock is the test's; nothing sleeps).
    void RunRobot(TRobot& robot) { PlayOutInIde(robot, 200, 1); }
};

struct TCallbackLog {
    std::vector<std::string> Names;
};

int Callback(void* object, const char* name) {
    static_cast<TCallbackLog*>(object)->Names.push_back(name);
    return 0;
}

TEST_F(IdeWindowsTest, TheWindowsAreTopLevelWithTheirClassesAndTheMainOneIsTheParentHandle) {
    ASSERT_TRUE(Ide->ToolServices()->OpenProject(DemoDir + "Demo.dpr"));
    ide::TIdeWindows& windows = Ide->ShowWindows();
    win::HWND main = win::FindWindow("TAppBuilder", nullptr);
    ASSERT_TRUE(main);
    EXPECT_EQ(main, windows.MainWindow());
    EXPECT_EQ(win::GetWindowText(main), "Delphi 2.0 - Demo");
    EXPECT_EQ(Ide->ToolServices()->GetParentHandle(), reinterpret_cast<host::THandle>(main));
    EXPECT_EQ(win::FindWindow("TPropertyInspector", nullptr), windows.PropertyInspector());
    EXPECT_EQ(win::FindWindow("TEditWindow", nullptr), windows.EditWindow());
    for (win::HWND w : {windows.MainWindow(), windows.PropertyInspector(), windows.EditWindow()}) {
        EXPECT_EQ(win::GetWindowLong(w, win::GWL_STYLE) & win::WS_CHILD, 0) << "top-level";
        EXPECT_TRUE(win::IsWindowVisible(w));
    }
    // The editor shows the current file; opening another makes it the one shown.
    EXPECT_EQ(win::GetWindowText(windows.EditWindow()), "Demo.dpr");
    ASSERT_TRUE(Ide->ToolServices()->OpenFile(DemoDir + "Helpers.pas"));
    windows.ProcessMessages();
    EXPECT_EQ(win::GetWindowText(windows.EditWindow()), "Helpers.pas");

    // Shutdown destroys them, after the project has been closed.
    Ide->Shutdown();
    EXPECT_FALSE(win::IsWindow(main));
    EXPECT_EQ(win::FindWindow("TAppBuilder", nullptr), nullptr);
    EXPECT_EQ(Ide->ToolServices()->GetParentHandle(), 0u);
}

TEST_F(IdeWindowsTest, WindowPlacesComeFromTheDesktopFileAndAreWrittenBackOnSaveAndClose) {
    ASSERT_TRUE(Ide->ToolServices()->OpenProject(DemoDir + "Demo.dpr"));
    ide::TIdeWindows& windows = Ide->ShowWindows();
    EXPECT_EQ(PlaceOf(windows.EditWindow()), (ide::TWindowPlace{240, 130, 520, 360}));
    EXPECT_EQ(PlaceOf(windows.PropertyInspector()), (ide::TWindowPlace{2, 104, 190, 400}));

    win::SetWindowPos(windows.EditWindow(), nullptr, 300, 150, 500, 340, win::SWP_NOZORDER);
    ASSERT_TRUE(Ide->ToolServices()->SaveProject());
    std::string dsk = DiskText(DemoDir + "Demo.DSK");
    EXPECT_NE(dsk.find("[EditWindow0]\r\nCreate=1\r\nLeft=300\r\nTop=150\r\nWidth=500\r\nHeight=340"),
              std::string::npos)
        << dsk;
    EXPECT_NE(dsk.find("[Main Window]"), std::string::npos) << "the rest of the file stays";

    win::SetWindowPos(windows.PropertyInspector(), nullptr, 5, 110, 200, 420, win::SWP_NOZORDER);
    ASSERT_TRUE(Ide->ToolServices()->CloseProject());
    dsk = DiskText(DemoDir + "Demo.DSK");
    EXPECT_NE(dsk.find("Left=5\r\nTop=110\r\nWidth=200\r\nHeight=420"), std::string::npos) << dsk;

    // Opened again, the project puts the windows back where it left them.
    win::SetWindowPos(windows.EditWindow(), nullptr, 0, 0, 100, 100, win::SWP_NOZORDER);
    ASSERT_TRUE(Ide->ToolServices()->OpenProject(DemoDir + "Demo.dpr"));
    EXPECT_EQ(PlaceOf(windows.EditWindow()), (ide::TWindowPlace{300, 150, 500, 340}));
    EXPECT_EQ(PlaceOf(windows.PropertyInspector()), (ide::TWindowPlace{5, 110, 200, 420}));
}

TEST_F(IdeWindowsTest, AHookItemIsChosenByItsShortCutInAnyIdeWindowAndFromTheMenu) {
    ASSERT_TRUE(Ide->ToolServices()->OpenProject(DemoDir + "Demo.dpr"));
    ide::TIdeWindows& windows = Ide->ShowWindows();
    TCallbackLog log;
    Ide->AddHookItem("SearchExecute", "Search Execute", CtrlAltX, &Callback, &log);
    Ide->AddHookItem(nullptr, "-", 0, nullptr, nullptr);
    Ide->AddHookItem("SearchOptions", "Search Options", 0, &Callback, &log);

    TRobot robot;
    robot.Do([&] { win::SetFocus(windows.MainWindow()); });
    robot.Key('X', false, true, true);
    robot.Key('Y', false, true, true); // no item has it
    robot.Do([&] { win::SetFocus(windows.EditWindow()); });
    robot.Key('X', false, true, true);
    RunRobot(robot);
    EXPECT_EQ(log.Names, (std::vector<std::string>{"SearchExecute", "SearchExecute"}));

    // Through the menu: the Search menu on the bar, then the item in it, which shows its
    // shortcut; the separator between them is no item to choose.
    log.Names.clear();
    TRobot clicks;
    std::vector<std::string> shown;
    ChooseMenu(clicks, "&Search");
    clicks.Do([&] {
        shown = TRobot::OpenMenuItems();
        TRobot::Screenshot(std::string(SUITE_BINARY_DIR) + "/ide-search-menu.png");
    });
    clicks.ChooseMenu("-");
    clicks.ChooseMenu("Search Options");
    RunRobot(clicks);
    EXPECT_EQ(shown, (std::vector<std::string>{"Search Execute\tCtrl+Alt+X", "-", "Search Options"}));
    EXPECT_EQ(log.Names, (std::vector<std::string>{"SearchOptions"}));
    EXPECT_TRUE(TRobot::OpenMenuItems().empty()) << "the menu closes after the choice";

    // An open menu closes on Escape and on a click in another IDE window; nothing is chosen.
    TRobot away;
    ChooseMenu(away, "&Search");
    away.Key(win::VK_ESCAPE);
    away.Do([&] { EXPECT_TRUE(TRobot::OpenMenuItems().empty()) << "after Escape"; });
    ChooseMenu(away, "&Search");
    away.ClickAt(windows.EditWindow(), {40, 40});
    RunRobot(away);
    EXPECT_TRUE(TRobot::OpenMenuItems().empty()) << "after a click elsewhere";
    EXPECT_EQ(log.Names, (std::vector<std::string>{"SearchOptions"}));

    // The place of a shown item, for other programs' tests: the bar's items always.
    win::HWND wnd = nullptr;
    win::POINT p{};
    ASSERT_TRUE(windows.ItemPlace("SearchMenu", wnd, p));
    EXPECT_EQ(wnd, windows.MainWindow());
    EXPECT_LT(p.y, 0) << "above the client area";
    EXPECT_FALSE(windows.ItemPlace("SearchOptions", wnd, p)) << "not while its menu is closed";
}

// Dark pixels in a band of rows of a window's client area.
int InkIn(win::HWND wnd, int top, int bottom) {
    win::RECT r{};
    win::GetClientRect(wnd, &r);
    win::HDC dc = win::GetDC(wnd);
    int ink = 0;
    for (int y = top; y < std::min<int>(bottom, r.bottom); ++y)
        for (int x = 0; x < r.right; ++x) {
            win::COLORREF c = win::GetPixel(dc, x, y);
            ink += (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF) < 200;
        }
    win::ReleaseDC(wnd, dc);
    return ink;
}

TEST_F(IdeWindowsTest, TheCodeEditorShowsViewZeroOfTheCurrentBufferAsItChanges) {
    ASSERT_TRUE(Ide->ToolServices()->OpenProject(DemoDir + "Demo.dpr"));
    ide::TIdeWindows& windows = Ide->ShowWindows();
    win::HWND view = windows.CodeView();
    ASSERT_TRUE(win::IsChild(windows.EditWindow(), view));
    windows.ProcessMessages();
    // The first lines of the project file: "program Demo;", a blank line, "uses".
    int firstLine = InkIn(view, 0, 17);
    EXPECT_GT(firstLine, 50);

    // An edit the core makes is shown.
    auto buffer = Ide->CurrentBuffer();
    buffer->SetText("");
    windows.ProcessMessages();
    EXPECT_LT(InkIn(view, 0, 200), 20) << "only the cursor is left";
    buffer->SetText("x\r\nprogram Demo;");
    windows.ProcessMessages();
    EXPECT_LT(InkIn(view, 0, 17), firstLine / 2);
    // The top line of view 0 is the first line shown.
    buffer->SetPos(1, {1, 2});
    windows.ProcessMessages();
    EXPECT_NEAR(InkIn(view, 0, 17), firstLine, firstLine / 10);
}

TEST_F(IdeWindowsTest, ACursorMovedOutOfSightScrollsTheCodeEditorToIt) {
    ASSERT_TRUE(Ide->ToolServices()->OpenProject(DemoDir + "Demo.dpr"));
    ide::TIdeWindows& windows = Ide->ShowWindows();
    std::string text;
    for (int i = 1; i <= 200; ++i) text += "line " + std::to_string(i) + "\r\n";
    auto buffer = Ide->CurrentBuffer();
    buffer->SetText(text);
    windows.ProcessMessages();
    struct Case {
        int Line;
        bool Scrolls;
    } cases[] = {{5, false}, {150, true}, {152, false}, {3, true}, {200, true}};
    for (const Case& c : cases) {
        int before = buffer->Pos(1).Line;
        buffer->SetPos(0, {1, c.Line});
        windows.ProcessMessages();
        int top = buffer->Pos(1).Line;
        EXPECT_EQ(top != before, c.Scrolls) << "line " << c.Line;
        // The cursor's row is among the shown rows, some below it too when it scrolled.
        EXPECT_LE(top, c.Line) << "line " << c.Line;
        EXPECT_LT(c.Line, top + 15) << "line " << c.Line;
        if (c.Scrolls && c.Line > 20) {
            EXPECT_GT(c.Line, top + 2) << "line " << c.Line;
        }
    }
}

TEST_F(IdeWindowsTest, MessagesAndErrorsLeavingAClickGoInAMessageBox) {
    ide::TIdeWindows& windows = Ide->ShowWindows();
    ide::TMenuItem* tools = Ide->Menu().Find("ToolsMenu");
    ide::TMenuItem* item = tools->Add("ToolsBadItem", "Bad");
    item->OnClick = [](host::TIMenuItemIntf*) { throw rtl::Exception("The expert failed"); };
    Ide->Menu().Changed();

    std::vector<std::string> boxes;
    TRobot robot;
    ChooseMenu(robot, "&Tools|Bad");
    robot.OnNextModal([&](win::HWND box) { boxes.push_back(TRobot::ChildText(box, "Message")); });
    robot.AnswerNextModal(TBy::Name("OK"));
    RunRobot(robot);
    // A library's raise-exception call: the box runs its own loop, the robot answers it.
    robot.OnNextModal([&](win::HWND box) { boxes.push_back(TRobot::ChildText(box, "Message")); });
    robot.AnswerNextModal(TBy::Name("OK"));
    Ide->ToolServices()->RaiseException("Cannot find the unit");
    RunRobot(robot);
    EXPECT_EQ(boxes, (std::vector<std::string>{"The expert failed", "Cannot find the unit"}));
    // The IDE goes on.
    EXPECT_TRUE(win::IsWindowVisible(windows.MainWindow()));
}

TEST_F(IdeWindowsTest, AnotherProcessFindsTheMainWindowUntilTheIdeExits) {
    int go[2], done[2];
    ASSERT_EQ(pipe(go), 0);
    ASSERT_EQ(pipe(done), 0);
    // The child may not return into the test runner: it reports and leaves with _exit.
    Ide.reset();
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        char c = 'n';
        {
            ide::TIde child;
            if (child.OpenProject(DemoDir + "Demo.dpr")) {
                child.ShowWindows();
                c = 'y';
            }
            (void)!write(go[1], &c, 1);
            (void)!read(done[0], &c, 1);
            child.Shutdown();
        }
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(go[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    win::HWND found = win::FindWindow("TAppBuilder", nullptr);
    ASSERT_TRUE(found);
    EXPECT_EQ(win::GetClassName(found), "TAppBuilder");
    EXPECT_EQ(win::GetWindowText(found), "Delphi 2.0 - Demo");
    EXPECT_TRUE(win::FindWindow("TPropertyInspector", nullptr));
    win::DWORD owner = 0;
    win::GetWindowThreadProcessId(found, &owner);
    EXPECT_EQ(owner, win::DWORD(pid));

    (void)!write(done[1], "x", 1);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(win::FindWindow("TAppBuilder", nullptr), nullptr);
    EXPECT_EQ(win::FindWindow("TPropertyInspector", nullptr), nullptr);
    for (int fd : {go[0], go[1], done[0], done[1]})
        close(fd);
}

} // namespace
