// The code editor as a person uses it: typing, the caret by keys and clicks, selections, the
// clipboard, undo, scrolling, one tab per open file; the host's view and writers on the same
// buffer; and the File and View commands with their questions and dialogs.
#include "IdeUiFixture.h"
#include "ide/CodeView.h"
#include "ide/Ide.h"
#include "ide/IdeWindows.h"
#include "ide/WinNames.h"
#include "testing/Robot.h"
#include "vcl/Clipbrd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

using testing_support::TBy;
using testing_support::TRobot;

namespace {

using ide::TTextPos;
using ide_test::DemoDir;

class CodeEditorTest : public ide_test::IdeUiTest {
protected:
    ide::TIdeWindows& Open(const std::string& unit = "Helpers.pas") {
        EXPECT_TRUE(Ide->OpenProject(DemoDir + "Demo.dpr"));
        ide::TIdeWindows& windows = Ide->ShowWindows();
        EXPECT_TRUE(Ide->OpenFile(DemoDir + unit));
        windows.ProcessMessages();
        return windows;
    }
    ide::TEditBuffer& Buffer() { return *Ide->CurrentBuffer(); }
    std::string Line(int n) { return Buffer().Line(n); }
    win::HWND View() { return Ide->Windows()->CodeView(); }
    // The middle of a character cell's left edge, as a click there lands before it.
    win::POINT At(int line, int col) {
        vcl::TPoint p = Ide->Windows()->View().PointOf({line, col});
        return {p.x + 1, p.y + 6};
    }
    void RunRobot(TRobot& robot) { PlayOutInIde(robot, 300, 5); }
    void WriteUnit(const std::string& name, int lines) {
        std::ofstream out(rtl::HostPath(DemoDir + name), std::ios::binary);
        for (int i = 1; i <= lines; ++i)
            out << "line " << i << "\r\n";
    }
    std::string DiskText(const std::string& winName) const {
        auto t = ide::ReadWholeFile(winName);
        return t ? *t : std::string("<missing>");
    }
};

TEST_F(CodeEditorTest, TypingMovesTheCaretByKeysAndClicksAndEditsTheBuffer) {
    Open();
    ASSERT_EQ(Line(1), "unit Helpers;");
    ASSERT_EQ(Line(3), "interface");
    TRobot robot;
    robot.ClickAt(View(), At(3, 1));
    robot.Type("xyz");
    robot.Do([&] {
        EXPECT_EQ(Line(3), "xyzinterface");
        EXPECT_EQ(Buffer().Cursor(), (TTextPos{3, 4}));
        EXPECT_EQ(win::GetFocus(), View());
    });
    robot.Key(win::VK_END);
    robot.Type(";");
    robot.Key(win::VK_HOME);
    robot.Key(win::VK_RIGHT, true);
    robot.Key(win::VK_RIGHT, true);
    robot.Key(win::VK_RIGHT, true);
    robot.Do([&] { EXPECT_EQ(Buffer().SelText(), "xyz"); });
    robot.Key('X', false, true); // Cut
    robot.Do([&] {
        EXPECT_EQ(Line(3), "interface;");
        std::string clip;
        EXPECT_TRUE(vcl::GetClipboardText(nullptr, clip));
        EXPECT_EQ(clip, "xyz");
    });
    robot.Key(win::VK_END, false, true);
    robot.Do([&] { EXPECT_EQ(Buffer().Cursor().Line, Buffer().LinesInBuffer()); });
    robot.Key(win::VK_HOME, false, true);
    robot.Key(win::VK_RIGHT, false, true); // a word on
    robot.Do([&] { EXPECT_EQ(Buffer().Cursor(), (TTextPos{1, 6})); });
    // Down keeps the column, past the end of a shorter line too.
    robot.Key(win::VK_DOWN);
    robot.Do([&] { EXPECT_EQ(Buffer().Cursor(), (TTextPos{2, 6})); });
    robot.Key(win::VK_HOME);
    robot.Key('V', false, true); // Paste on the empty line 2
    robot.Key(win::VK_RETURN);
    robot.Do([&] {
        EXPECT_EQ(Line(2), "xyz");
        EXPECT_EQ(Line(3), "");
        EXPECT_EQ(Line(4), "interface;");
    });
    robot.Key(win::VK_BACK);   // joins the lines again
    robot.Key(win::VK_LEFT);
    robot.Key(win::VK_DELETE); // the z
    robot.Key(win::VK_INSERT); // overwrite
    robot.Key(win::VK_HOME);
    robot.Type("A");
    robot.Key(win::VK_INSERT);
    robot.Key(win::VK_TAB);
    robot.Do([&] {
        EXPECT_EQ(Line(2), "A       y");
        EXPECT_EQ(Buffer().Cursor(), (TTextPos{2, 9}));
    });
    // Typing in a row is one step: Undo takes back the tab with the A (and the x it
    // overwrote), then the deleted z; Redo deletes the z again.
    robot.Key('Z', false, true);
    robot.Do([&] { EXPECT_EQ(Line(2), "xy"); });
    robot.Key('Z', false, true);
    robot.Do([&] { EXPECT_EQ(Line(2), "xyz"); });
    robot.Key('Z', true, true);
    robot.Do([&] { EXPECT_EQ(Line(2), "xy"); });
    // A click past the end of a line puts the caret there, in the blank space; typing there
    // fills the gap with blanks.
    robot.ClickAt(View(), {At(1, 20).x, At(1, 1).y});
    RunRobot(robot);
    EXPECT_EQ(Buffer().Cursor(), (TTextPos{1, 20}));
    EXPECT_TRUE(Buffer().Modified());
    // The caret the user sees is the host view's cursor.
    win::POINT caret{};
    win::GetCaretPos(&caret);
    EXPECT_EQ(caret.x, Ide->Windows()->View().PointOf({1, 20}).x);
    EXPECT_EQ(Buffer().Pos(0), (host::TEditPos{20, 1}));
    TRobot more;
    more.Type("x");
    RunRobot(more);
    EXPECT_EQ(Line(1), "unit Helpers;      x");
}

TEST_F(CodeEditorTest, DraggingSelectsAndTheWheelBarsAndPageKeysScroll) {
    WriteUnit("Long.pas", 200);
    ide::TIdeWindows& windows = Open("Long.pas");
    int rows = windows.View().VisibleRows();
    ASSERT_GT(rows, 5);
    TRobot robot;
    robot.Drag(View(), At(2, 1), At(4, 3));
    robot.Do([&] {
        EXPECT_EQ(Buffer().SelStart(), (TTextPos{2, 1}));
        EXPECT_EQ(Buffer().SelEnd(), (TTextPos{4, 3}));
        EXPECT_EQ(Buffer().SelText(), "line 2\r\nline 3\r\nli");
    });
    robot.ClickAt(View(), At(5, 2));
    robot.Do([&] { win::SendMessage(View(), win::WM_MOUSEWHEEL, win::MAKEWPARAM(0, win::WORD(-240)), 0); });
    robot.Do([&] { EXPECT_EQ(Buffer().TopLine(), 7) << "three lines a notch"; });
    robot.Do([&] { win::SendMessage(View(), win::WM_VSCROLL, win::SB_PAGEDOWN, 0); });
    robot.Do([&] { EXPECT_EQ(Buffer().TopLine(), 7 + rows - 1); });
    robot.Do([&] { win::SendMessage(View(), win::WM_VSCROLL, win::SB_LINEUP, 0); });
    robot.Do([&] { EXPECT_EQ(Buffer().TopLine(), 6 + rows - 1); });
    // The scroll bar itself, clicked on its down arrow and below its thumb.
    win::RECT client{};
    win::GetClientRect(View(), &client);
    robot.ClickAt(View(), {client.right + 8, client.bottom - 4});
    robot.Do([&] { EXPECT_EQ(Buffer().TopLine(), 7 + rows - 1) << "the down arrow"; });
    robot.ClickAt(View(), {client.right + 8, client.bottom - 24});
    robot.Do([&] { EXPECT_EQ(Buffer().TopLine(), 7 + 2 * (rows - 1)) << "the track below the thumb"; });
    // A page down moves the caret and the view by a page.
    robot.Do([&] { EXPECT_EQ(Buffer().TopLine(), 7 + 2 * (rows - 1)); });
    robot.ClickAt(View(), {10, 3});
    robot.Key(win::VK_NEXT);
    robot.Do([&] {
        EXPECT_EQ(Buffer().Cursor().Line, 7 + 3 * (rows - 1));
        EXPECT_EQ(Buffer().TopLine(), 7 + 3 * (rows - 1));
    });
    robot.Key(win::VK_END, false, true);
    robot.Do([&] {
        EXPECT_EQ(Buffer().Cursor(), (TTextPos{201, 1}));
        EXPECT_EQ(Buffer().TopLine(), 201 - rows + 1) << "the last line at the bottom";
    });
    robot.Key(win::VK_PRIOR, true);
    RunRobot(robot);
    EXPECT_EQ(Buffer().SelText().substr(0, 4), "line");
    EXPECT_FALSE(Buffer().Modified());
    win::SCROLLINFO si;
    si.fMask = win::SIF_POS | win::SIF_RANGE | win::SIF_PAGE;
    win::GetScrollInfo(View(), win::SB_VERT, &si);
    EXPECT_EQ(si.nPos, Buffer().TopLine() - 1);
    EXPECT_EQ(si.nMax, 200);
    EXPECT_EQ(int(si.nPage), rows);
}

TEST_F(CodeEditorTest, AWritersEditOutOfSightIsScrolledIntoViewAndShowsAtOnce) {
    WriteUnit("Long.pas", 200);
    ide::TIdeWindows& windows = Open("Long.pas");
    host::TInterfaceRef<host::TIModuleInterface> module(Ide->ToolServices()->GetModuleInterface(DemoDir + "Long.pas"));
    host::TInterfaceRef<host::TIEditorInterface> editor(module->GetEditorInterface());
    {
        host::TInterfaceRef<host::TIEditWriter> writer(editor->CreateWriter());
        // Before "line 150".
        std::string before = Buffer().TextBetween({1, 1}, {150, 1});
        writer->CopyTo(int(before.size()));
        writer->Insert("inserted\r\n");
    }
    windows.ProcessMessages();
    int top = Buffer().TopLine();
    EXPECT_LE(top, 150);
    EXPECT_LT(150, top + windows.View().VisibleRows());
    EXPECT_EQ(Buffer().Cursor(), (TTextPos{1, 1})) << "the cursor stays";
    // The row shows the new text: the pixels of line 150's row differ from line 151's.
    auto rowInk = [&](int line) {
        win::HDC dc = win::GetDC(View());
        int y = windows.View().PointOf({line, 1}).y, ink = 0;
        for (int yy = y; yy < y + 12; ++yy)
            for (int x = 0; x < 120; ++x)
                ink += (win::GetPixel(dc, x, yy) & 0xFFFFFF) != 0xFFFFFF;
        win::ReleaseDC(View(), dc);
        return ink;
    };
    EXPECT_NE(rowInk(150), rowInk(151));
    // Undo takes the tool's edit back like any other.
    Ide->Undo();
    EXPECT_EQ(Buffer().Line(150), "line 150");
}

TEST_F(CodeEditorTest, OneTabPerOpenFileAndAClickOnATabMakesItsFileCurrent) {
    ide::TIdeWindows& windows = Open();
    ASSERT_TRUE(Ide->OpenFile(DemoDir + "Shapes.pas"));
    windows.ProcessMessages();
    EXPECT_EQ(windows.FileTabs(), (std::vector<std::string>{"Demo", "Helpers", "Shapes"}));
    win::HWND tabs = nullptr;
    win::POINT second{};
    ASSERT_TRUE(windows.TabPlace(1, tabs, second));
    EXPECT_EQ(tabs, TRobot::FindControl(TBy::Name("FileTabs"), windows.EditWindow()));
    TRobot robot;
    robot.ClickAt(tabs, second);
    RunRobot(robot);
    EXPECT_EQ(Ide->CurrentFile(), DemoDir + "Helpers.pas");
    EXPECT_EQ(Ide->ToolServices()->GetCurrentFile(), DemoDir + "Helpers.pas");
    EXPECT_EQ(win::GetWindowText(windows.EditWindow()), "Helpers.pas");
}

TEST_F(CodeEditorTest, SaveWritesTheBufferAndCloseOfAModifiedFileAsks) {
    Open();
    const std::string disk = DiskText(DemoDir + "Helpers.pas");
    TRobot robot;
    robot.ClickAt(View(), At(1, 1));
    robot.Type("{x}");
    ChooseMenu(robot, "&File|&Save");
    RunRobot(robot);
    EXPECT_EQ(DiskText(DemoDir + "Helpers.pas"), Buffer().Text());
    EXPECT_EQ(Buffer().Line(1), "{x}unit Helpers;");
    EXPECT_FALSE(Buffer().Modified());

    // Close of a modified file: Cancel keeps it open, No drops the edit, Yes saves it.
    struct Case {
        const char* Answer;
        bool StaysOpen;
        bool Saved;
    } cases[] = {{"Cancel", true, false}, {"No", false, false}, {"Yes", false, true}};
    for (const Case& c : cases) {
        ASSERT_TRUE(Ide->OpenFile(DemoDir + "Helpers.pas"));
        const std::string before = DiskText(DemoDir + "Helpers.pas");
        std::string asked;
        TRobot close;
        close.Do([&] { win::SetFocus(View()); });
        close.Key(win::VK_END);
        close.Type(" ");
        ChooseMenu(close, "&File|&Close");
        close.OnNextModal([&](win::HWND box) { asked = TRobot::ChildText(box, "Message"); });
        close.AnswerNextModal(TBy::Name(c.Answer));
        RunRobot(close);
        EXPECT_EQ(asked, "Save changes to " + DemoDir + "Helpers.pas?") << c.Answer;
        EXPECT_EQ(Ide->Buffers().Find(DemoDir + "Helpers.pas") != nullptr, c.StaysOpen) << c.Answer;
        EXPECT_EQ(DiskText(DemoDir + "Helpers.pas") != before, c.Saved) << c.Answer;
        if (c.StaysOpen) {
            EXPECT_EQ(Ide->CurrentFile(), DemoDir + "Helpers.pas");
            EXPECT_TRUE(Buffer().Modified());
        } else {
            EXPECT_EQ(Ide->CurrentFile(), DemoDir + "Demo.dpr") << "the tab beside it";
        }
    }
    (void)disk;
}

TEST_F(CodeEditorTest, ExitWithAModifiedBufferAsksAndCancelKeepsTheIde) {
    ide::TIdeWindows& windows = Open();
    const std::string disk = DiskText(DemoDir + "Helpers.pas");
    std::vector<std::string> asked;
    TRobot robot;
    robot.ClickAt(View(), At(1, 1));
    robot.Type("broken");
    ChooseMenu(robot, "&File|E&xit");
    robot.OnNextModal([&](win::HWND box) { asked.push_back(TRobot::ChildText(box, "Message")); });
    robot.AnswerNextModal(TBy::Name("Cancel"));
    RunRobot(robot);
    EXPECT_EQ(asked, std::vector<std::string>{"Save changes to " + DemoDir + "Helpers.pas?"});
    EXPECT_TRUE(win::IsWindowVisible(windows.MainWindow()));
    EXPECT_TRUE(Ide->Project().IsOpen());

    // Alt+F4 on the main window asks the same; No leaves the file as it was on disk.
    TRobot again;
    again.Do([&] { win::SetFocus(windows.MainWindow()); });
    again.Key(win::VK_F4, false, false, true);
    again.OnNextModal([&](win::HWND box) { asked.push_back(TRobot::ChildText(box, "Message")); });
    again.AnswerNextModal(TBy::Name("No"));
    RunRobot(again);
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_FALSE(Ide->Project().IsOpen());
    EXPECT_FALSE(win::IsWindowVisible(windows.MainWindow()));
    EXPECT_EQ(DiskText(DemoDir + "Helpers.pas"), disk);
}

TEST_F(CodeEditorTest, ViewCodeEditorAfterAltF4ShowsItAgainAndAGotoLandsInIt) {
    ide::TIdeWindows& windows = Open();
    TRobot robot;
    robot.Do([&] { win::SetFocus(View()); });
    robot.Key(win::VK_F4, false, false, true);
    robot.Do([&] { EXPECT_FALSE(win::IsWindowVisible(windows.EditWindow())); });
    ChooseMenu(robot, "&View|&Code Editor");
    robot.WaitUntil("the code editor shows", [&] { return win::IsWindowVisible(windows.EditWindow()); });
    robot.Do([&] { win::SetFocus(View()); });
    robot.Key(win::VK_F4, false, false, true);
    RunRobot(robot);
    ASSERT_FALSE(win::IsWindowVisible(windows.EditWindow()));
    // What the hook library's Goto does.
    ASSERT_TRUE(Ide->GotoLine(DemoDir + "Shapes.pas", 20, 3));
    windows.ProcessMessages();
    EXPECT_TRUE(win::IsWindowVisible(windows.EditWindow()));
    EXPECT_EQ(win::GetWindowText(windows.EditWindow()), "Shapes.pas");
    EXPECT_EQ(Buffer().Cursor(), (TTextPos{20, 3}));
    EXPECT_EQ(win::GetFocus(), View());
    win::POINT caret{};
    win::GetCaretPos(&caret);
    EXPECT_EQ(caret.y, windows.View().PointOf({20, 3}).y);
}

TEST_F(CodeEditorTest, OpenThroughTheDialogAndTheProjectManagerMakeAUnitCurrent) {
    ide::TIdeWindows& windows = Open("Demo.dpr");
    TRobot robot;
    ChooseMenu(robot, "&File|&Open...");
    robot.AnswerOpenDialog("Shapes.pas");
    RunRobot(robot);
    EXPECT_EQ(Ide->ToolServices()->GetCurrentFile(), DemoDir + "Shapes.pas");

    // The Project Manager lists the units; a double click opens one.
    TRobot manager;
    ChooseMenu(manager, "&View|&Project Manager");
    RunRobot(manager);
    ASSERT_TRUE(win::IsWindowVisible(windows.ProjectManager()));
    win::HWND list = TRobot::FindControl(TBy::Name("UnitList"), windows.ProjectManager());
    ASSERT_TRUE(list);
    std::vector<std::string> units;
    int count = int(win::SendMessage(list, win::LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[260] = {};
        win::SendMessage(list, win::LB_GETTEXT, win::WPARAM(i), reinterpret_cast<win::LPARAM>(text));
        units.push_back(text);
    }
    ASSERT_GE(units.size(), 3u);
    EXPECT_EQ(units[0], "Demo.dpr");
    int helpers = int(std::find(units.begin(), units.end(), "Helpers.pas") - units.begin());
    ASSERT_LT(helpers, count);
    win::RECT item{};
    win::SendMessage(list, win::LB_GETITEMRECT, win::WPARAM(helpers), reinterpret_cast<win::LPARAM>(&item));
    // Two clicks in a row on the item are a double click.
    TRobot open;
    open.ClickAt(list, {10, int(item.top) + 3});
    open.ClickAt(list, {10, int(item.top) + 3});
    RunRobot(open);
    EXPECT_EQ(Ide->CurrentFile(), DemoDir + "Helpers.pas");
    EXPECT_TRUE(win::IsWindowVisible(windows.EditWindow()));
}

TEST_F(CodeEditorTest, SaveAsWritesAnotherFileAndOpenProjectAsksAboutTheEdits) {
    Open();
    TRobot robot;
    robot.ClickAt(View(), At(1, 1));
    robot.Type("{copy}");
    ChooseMenu(robot, "&File|Save &As...");
    robot.AnswerOpenDialog("Copy.pas");
    RunRobot(robot);
    EXPECT_EQ(Ide->CurrentFile(), DemoDir + "Copy.pas");
    EXPECT_EQ(DiskText(DemoDir + "Copy.pas"), Buffer().Text());
    EXPECT_EQ(DiskText(DemoDir + "Helpers.pas").find("{copy}"), std::string::npos);

    // Another project: the edit is asked about before the open one closes.
    std::ofstream(rtl::HostPath(DemoDir + "Other.dpr"), std::ios::binary) << "program Other;\r\nbegin\r\nend.\r\n";
    std::vector<std::string> asked;
    TRobot reopen;
    reopen.Do([&] { win::SetFocus(View()); });
    reopen.Type("!");
    ChooseMenu(reopen, "&File|Open &Project...");
    reopen.AnswerOpenDialog("Other.dpr");
    reopen.OnNextModal([&](win::HWND box) { asked.push_back(TRobot::ChildText(box, "Message")); });
    reopen.AnswerNextModal(TBy::Name("Yes"));
    RunRobot(reopen);
    EXPECT_EQ(asked, std::vector<std::string>{"Save changes to " + DemoDir + "Copy.pas?"});
    EXPECT_EQ(DiskText(DemoDir + "Copy.pas").substr(0, 7), "{copy}!");
    EXPECT_EQ(Ide->CurrentFile(), DemoDir + "Other.dpr");
    EXPECT_EQ(Ide->Buffers().Buffers().size(), 1u);
}

} // namespace
