// Quillor as the IDE sees it: the real libquillor.so loaded by the stand-in IDE in this process,
// its main window answered by the robot.
#include "spellexpert/QuilloMain.h"

#include "ide/Ide.h"
#include "ide/tests/IdeFixture.h"
#include "ide/tests/IdeUiFixture.h"
#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "rtl/Registry.h"
#include "rtl/SysUtils.h"
#include "testing/Shell.h"
#include "testing/UiTest.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace spellexpert {
namespace {

using testing_support::TBy;
using testing_support::TRobot;

const std::string Demo = ide_test::DemoDir;

class QuillorTest : public ide_test::IdeUiTest {
protected:
    void SetUp() override {
        IdeUiTest::SetUp();
        ASSERT_TRUE(Ide->LoadLibrary(ide::TLibraryKind::Quillor, QUILLOR_LIBRARY_FILE));
        ASSERT_EQ(Ide->Messages(), std::vector<std::string>{});
    }
    std::vector<std::string> Calls() { return Ide->CallLog().Texts(true); }
    // Presses a button of the main window and takes the text of the message box that follows.
    std::string PressAndAnswer(const char* Button, TRobot& Robot) {
        std::string message;
        Robot.Click(TBy::Name(Button), TBy::Caption("Quillo Checking Expert"));
        Robot.OnNextModal([&](win::HWND box) { message = TRobot::ChildText(box, "Message"); });
        Robot.AnswerNextModal(TBy::Name("OK"));
        return message;
    }
};

class QuillorLoadTest : public testing_support::UiTest {};

TEST_F(QuillorLoadTest, IdeColourValuesOfTheWrongTypeDoNotFailTheLoad) {
    {
        rtl::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Borland\\Delphi\\2.0\\Highlight", true));
        reg.WriteInteger("Comment", 5);
        reg.WriteString("String", "B,x,,99");
        ASSERT_TRUE(reg.OpenKey("\\Software\\Borland\\Delphi\\2.0\\Editor", true));
        reg.WriteInteger("FontName", 3);
        reg.WriteString("FontSize", "big");
    }
    ide::TIde ide;
    EXPECT_TRUE(ide.LoadLibrary(ide::TLibraryKind::Quillor, QUILLOR_LIBRARY_FILE));
    EXPECT_EQ(ide.Messages(), std::vector<std::string>{});
}

// The library reads the IDE's colours when it loads: a check shows a comment in the green the
// IDE's Highlight value gives it.
TEST_F(QuillorLoadTest, TheEditorWindowShowsCommentsInTheColourTheIdeHadAtLoad) {
    ide_test::CopyDemoProject(Root.Path());
    const std::string oldDir = rtl::GetCurrentDir();
    rtl::SetCurrentDir(rtl::WinPath(Root.Path()));
    std::ofstream(rtl::HostPath(Demo + "Main.pas"), std::ios::binary | std::ios::trunc)
        << "unit Main;\r\n{ Count the clickz }\r\ninterface\r\nimplementation\r\nend.\r\n";
    {
        rtl::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Borland\\Delphi\\2.0\\Highlight", true));
        reg.WriteString("Comment", "I,0,0,2,15");
    }
    ide::TIde ide;
    ASSERT_TRUE(ide.LoadLibrary(ide::TLibraryKind::Quillor, QUILLOR_LIBRARY_FILE));
    ASSERT_TRUE(ide.OpenProject(Demo + "Demo.dpr"));
    ASSERT_TRUE(ide.OpenFile(Demo + "Main.pas"));
    TRobot robot;
    robot.Click(TBy::Name("cbProject"), TBy::Caption("Quillo Checking Expert"));
    robot.Click(TBy::Name("btnCheckComments"), TBy::Caption("Quillo Checking Expert"));
    robot.WaitUntil("the comment drawn in green while its word is offered", [] {
        win::HWND dialog = TRobot::FindWindow(TBy::Name("QuilloDlg"));
        win::HWND window = TRobot::FindWindow(TBy::Name("IDESpeller"));
        win::HWND editor = window ? TRobot::FindControl(TBy::Name("Editor1"), window) : nullptr;
        if (!dialog || !editor || TRobot::ChildText(dialog, "edtCurWord") != "clickz")
            return false;
        win::HDC dc = win::GetDC(editor);
        int green = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 300; ++x)
                green += win::GetPixel(dc, x, y) == vcl::clGreen;
        win::ReleaseDC(editor, dc);
        return green > 0;
    });
    robot.Click(TBy::Name("btnClose"), TBy::Name("QuilloDlg"));
    EXPECT_EQ(ide.RunQuilloCheck(), std::optional<int>(2));
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    rtl::SetCurrentDir(oldDir);
}

TEST_F(QuillorTest, TheLibraryShowsOnlyItsExport) {
    auto symbols = testing_support::ExportedSymbols(QUILLOR_LIBRARY_FILE);
    EXPECT_EQ(symbols, std::vector<std::string>{"QUILLOCHECK"});
}

TEST_F(QuillorTest, TheMainWindowClosesWithTwoAndShowsItsControls) {
    TRobot robot;
    std::string caption;
    bool project = false, strings = false;
    robot.Do([&] {
        win::HWND main = TRobot::ModalWindow();
        caption = TRobot::TextOf(main);
        project = win::IsWindowEnabled(TRobot::FindControl(TBy::Name("cbProject"), main));
        strings = win::IsWindowEnabled(TRobot::FindControl(TBy::Name("btnCheckStrings"), main));
        TRobot::Screenshot(std::string(SUITE_BINARY_DIR) + "/quillor-main.png", main);
    });
    robot.Click(TBy::Name("btnCancel"), TBy::Caption("Quillo Checking Expert"));
    EXPECT_EQ(Ide->RunQuilloCheck(), std::optional<int>(2));
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    EXPECT_EQ(caption, "Quillo Checking Expert");
    EXPECT_TRUE(project);
    EXPECT_TRUE(strings);
    EXPECT_EQ(Ide->Messages(), std::vector<std::string>{});
}

TEST_F(QuillorTest, WithoutAProjectBothButtonsSayItAndNothingIsClosed) {
    for (const char* button : {"btnCheckStrings", "btnCheckComments"}) {
        Ide->CallLog().Clear();
        TRobot robot;
        std::string message = PressAndAnswer(button, robot);
        EXPECT_EQ(Ide->RunQuilloCheck(), std::optional<int>(1)) << button;
        EXPECT_TRUE(robot.Done()) << robot.Describe();
        EXPECT_EQ(message, "Project must by open for spell checking");
        for (const std::string& call : Calls()) {
            EXPECT_EQ(call.find("SaveProject"), std::string::npos) << call;
            EXPECT_EQ(call.find("CloseProject"), std::string::npos) << call;
        }
    }
}

TEST_F(QuillorTest, ARunSavesTheFileBeforeClosingAndGivesProjectAndFileBack) {
    ASSERT_TRUE(Ide->OpenProject(Demo + "Demo.dpr"));
    ASSERT_TRUE(Ide->OpenFile(Demo + "Main.pas"));
    Ide->CallLog().Clear();
    TRobot robot;
    robot.Click(TBy::Name("btnCheckComments"), TBy::Caption("Quillo Checking Expert"));
    // Cancelled at the first word offered (the resource directive's).
    robot.WaitUntil("a word offered", [] {
        win::HWND d = TRobot::FindWindow(TBy::Name("QuilloDlg"));
        return d && win::GetFocus() == TRobot::FindControl(TBy::Name("edtWord"), d);
    });
    robot.Click(TBy::Name("btnClose"), TBy::Name("QuilloDlg"));
    EXPECT_EQ(Ide->RunQuilloCheck(), std::optional<int>(2));
    EXPECT_TRUE(robot.Done()) << robot.Describe();

    std::vector<std::string> calls = Calls();
    auto at = [&](const std::string& prefix) {
        for (std::size_t i = 0; i < calls.size(); ++i)
            if (calls[i].rfind(prefix, 0) == 0) return int(i);
        return -1;
    };
    ASSERT_GE(at("SaveProject"), 0);
    ASSERT_GE(at("SaveFile"), 0);
    EXPECT_LT(at("SaveFile"), at("CloseProject"));
    EXPECT_LT(at("CloseProject"), at("OpenProject"));
    EXPECT_LT(at("OpenProject"), at("OpenFile"));
    EXPECT_TRUE(rtl::SameText(Ide->ToolServices()->GetProjectName(), Demo + "Demo.dpr"));
    EXPECT_TRUE(rtl::SameText(Ide->CurrentFile(), Demo + "Main.pas"));
}

TEST(QuillorNames, BackupNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\P\\Main.pas", "C:\\P\\Main.~pa"}, {"C:\\P\\Main.DFM", "C:\\P\\Main.~DF"},
        {"X.DPR", "X.~DP"},                     {"X.INC", "X.~IN"},
        {"X.P", "X.~P"},                        {"X.PASCAL", "X.~PA"},
        // Without an extension the mark stands alone at the end, never the name itself.
        {"C:\\P\\DEFS", "C:\\P\\DEFS~"},          {"C:\\P.D\\DEFS", "C:\\P.D\\DEFS~"},
        {"X.", "X.~"},
    };
    for (const auto& [name, backup] : cases) EXPECT_EQ(BackupName(name), backup) << name;
}

TEST(QuillorNames, IncludeDirectives) {
    const std::pair<const char*, const char*> cases[] = {
        {"{$I Defs.inc}", "C:\\P\\Defs.inc"},
        {"  {$i defs.inc } // lower case", "C:\\P\\defs.inc"},
        {"{$INCLUDE Big Name.inc}", "C:\\P\\BigName.inc"},
        {"{$Include other.inc}", "C:\\P\\other.inc"},
        {"{$I D:\\Shared\\Defs.inc}", "D:\\Shared\\Defs.inc"},
        // A relative name with a folder lies under the unit's folder too.
        {"{$I sub\\x.inc}", "C:\\P\\sub\\x.inc"},
        {"{$I ..\\Up.inc}", "C:\\P\\..\\Up.inc"},
        {"{$I \\Root\\R.inc}", "\\Root\\R.inc"},
        {"{$I+}", ""},
        {"{$IFDEF X}", ""},
        {"{$I }", ""},
        {"x := 1;", ""},
    };
    for (const auto& [line, name] : cases) EXPECT_EQ(IncludeFileOf(line, "C:\\P\\"), name) << line;
}

TEST(QuillorNames, ProjectUnitLines) {
    const std::string f = "C:\\Nowhere\\";
    struct Case {
        const char* Line;
        const char* Attrs;
        const char* Name;
    } cases[] = {
        {"  Main in 'Main.pas' {Form1},", "", "C:\\Nowhere\\Main.pas"},
        {"  Main in 'Main.pas',", "  iiii rr sssssssssss", "C:\\Nowhere\\Main.pas"},
        {"  { 'Old.pas' }", "  cccccccccccccc", ""},
        {"  Util in 'D:\\Lib\\Util.pas';", "", "D:\\Lib\\Util.pas"},
        {"  Broken in 'Broken.pas", "", ""},
        {"uses Forms;", "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ProjectUnitOf(c.Line, c.Attrs, f), c.Name) << c.Line;
}

TEST_F(QuillorTest, AProjectUnitIsTheProjectFoldersBeforeTheCurrentFolders) {
    const std::string old = rtl::GetCurrentDir();
    std::filesystem::create_directories(Root.Path() + "/drive_c/OTHER");
    for (const char* name : {"Main.pas", "Only.pas"}) std::ofstream(Root.Path() + "/drive_c/OTHER/" + name) << "unit X;";
    ASSERT_TRUE(rtl::SetCurrentDir("C:\\OTHER"));
    const std::string main = ProjectUnitOf("  Main in 'Main.pas',", "", Demo);
    const std::string only = ProjectUnitOf("  Only in 'Only.pas',", "", Demo);
    rtl::SetCurrentDir(old);
    EXPECT_EQ(main, Demo + "Main.pas");
    EXPECT_EQ(only, "Only.pas");
}

TEST_F(QuillorTest, ABackupKeepsTheDateAndIsOverwritten) {
    std::string file = Demo + "Main.pas";
    ASSERT_TRUE(rtl::FileSetDate(file, rtl::DateTimeToFileDate(rtl::EncodeDate(2001, 2, 3))) == 0);
    ASSERT_TRUE(BackupFile(file));
    ASSERT_TRUE(BackupFile(file));
    EXPECT_EQ(rtl::FileAge(Demo + "Main.~pa"), rtl::FileAge(file));
    EXPECT_EQ(ide::ReadWholeFile(Demo + "Main.~pa"), ide::ReadWholeFile(file));
    EXPECT_FALSE(BackupFile(Demo + "Missing.pas"));
}

} // namespace
} // namespace spellexpert
