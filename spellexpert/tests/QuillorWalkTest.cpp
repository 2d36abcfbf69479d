// A whole check through the stand-in IDE: the real libquillor.so walks a copy of the example
// project with misspelt words added, the robot answering its dialog and message boxes.
#include "ide/Ide.h"
#include "ide/tests/IdeFixture.h"
#include "rtl/Files.h"
#include "rtl/FormFiles.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"
#include "rtl/TestHooks.h"
#include "testing/UiTest.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

using testing_support::TBy;
using testing_support::TRobot;

const std::string Demo = ide_test::DemoDir;
const std::string LongRun(60, 'x');
// The form's text, with a misspelt word and an accented one in its caption.
std::string FormText(const std::string& Caption) {
    return "object MainForm: TMainForm\r\n  Left = 200\r\n  Top = 108\r\n  Caption = '" + Caption + "'\r\nend\r\n";
}

class QuillorWalkTest : public testing_support::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        FOldDir = rtl::GetCurrentDir();
        ide_test::CopyDemoProject(Root.Path());
        // The user word list is kept in the current folder.
        rtl::SetCurrentDir(rtl::WinPath(Root.Path()));
        AddMistakes();
        Ide = std::make_unique<ide::TIde>();
        ASSERT_TRUE(Ide->LoadLibrary(ide::TLibraryKind::Quillor, LibraryFile()));
        ASSERT_TRUE(Ide->OpenProject(Demo + "Demo.dpr"));
        ASSERT_TRUE(Ide->OpenFile(Demo + "Main.pas"));
        Original = Text("Main.pas");
    }
    void TearDown() override {
        rtl::SetWriteFailureHook(nullptr);
        Ide.reset();
        rtl::SetCurrentDir(FOldDir);
        UiTest::TearDown();
    }
    virtual std::string LibraryFile() { return QUILLOR_LIBRARY_FILE; }

    void Write(const std::string& Name, const std::string& Data) {
        std::ofstream(rtl::HostPath(Demo + Name), std::ios::binary | std::ios::trunc) << Data;
    }
    std::string Text(const std::string& Name) {
        auto t = ide::ReadWholeFile(Demo + Name);
        return t ? *t : std::string("<missing>");
    }
    bool Exists(const std::string& Name) { return rtl::FileExists(Demo + Name); }

    // Strings and comments with mistakes in the project file, a unit and its include file; the
    // project also names a unit that is not there.
    void AddMistakes() {
        Write("Demo.dpr", "program Demo;\r\n\r\nuses\r\n  Forms,\r\n  Main in 'MAIN.PAS' {MainForm},\r\n"
                          "  Gone in 'Gone.pas',\r\n  Helpers; { (* not a unit *) }\r\n\r\n{$R *.RES}\r\n\r\n"
                          "begin\r\n  Application.Initialize;\r\n  Application.Run;\r\nend.\r\n");
        Write("Main.pas", "unit Main;\r\n\r\ninterface\r\n\r\nuses\r\n  Forms;\r\n\r\n"
                          "type\r\n  TMainForm = class(TForm)\r\n  public\r\n    procedure Bump;\r\n  end;\r\n\r\n"
                          "implementation\r\n\r\n{$I Defs.inc}\r\n\r\n"
                          "procedure TMainForm.Bump;\r\nbegin\r\n  { Count the clickz }\r\n"
                          "  Caption := 'Helo there " + LongRun + "';\r\nend;\r\n\r\nend.\r\n");
        Write("Defs.inc", "{ Shared definitionz }\r\nconst\r\n  Greeting = 'Welcom home';\r\n");
        Write("Main.dfm", Binary(FormText("Demo Formm f\xFCr you")));
    }
    // A form's text as its binary form file.
    std::string Binary(const std::string& Text) {
        Write("Form.tmp", Text);
        rtl::ObjectTextFileToResourceFile(Demo + "Form.tmp", Demo + "Form.bin");
        std::string bytes = this->Text("Form.bin");
        std::filesystem::remove(rtl::HostPath(Demo + "Form.tmp"));
        std::filesystem::remove(rtl::HostPath(Demo + "Form.bin"));
        return bytes;
    }
    void WriteSettings(const std::string& Lines) {
        std::filesystem::create_directories(Root.Path() + "/drive_c/windows");
        std::ofstream(Root.Path() + "/drive_c/windows/Quillo.INI") << "[Quillo]\n" << Lines;
    }

    static win::HWND Dialog() { return TRobot::FindWindow(TBy::Name("QuilloDlg")); }
    // Waits until the dialog offers Word as not found and waits for a choice (the change field
    // has the focus), then presses Button, after putting Replacement in the change field when one
    // is given.
    void Answer(TRobot& Robot, const std::string& Word, const char* Button, const std::string& Replacement = "") {
        Robot.WaitUntil("the dialog offering " + Word, [Word] {
            win::HWND d = Dialog();
            return d && TRobot::ChildText(d, "lblFound") == "Not found:" && TRobot::ChildText(d, "edtCurWord") == Word &&
                   win::GetFocus() == TRobot::FindControl(TBy::Name("edtWord"), d);
        });
        if (!Replacement.empty())
            Robot.Do([Replacement] {
                win::HWND edit = TRobot::FindControl(TBy::Name("edtWord"), Dialog());
                win::SendMessage(edit, win::WM_SETTEXT, 0, win::LPARAM(Replacement.c_str()));
            });
        Robot.Click(TBy::Name(Button), TBy::Name("QuilloDlg"));
    }
    // Presses a check button of the main window, with "Check Entire Project" cleared first when
    // only the current file is to be checked.
    void Start(TRobot& Robot, const char* Button, bool Project = true) {
        if (!Project) Robot.Click(TBy::Name("cbProject"), TBy::Caption("Quillo Checking Expert"));
        Robot.Click(TBy::Name(Button), TBy::Caption("Quillo Checking Expert"));
    }
    // Takes the text of the next message box and presses Button there. (The robot's modal
    // answers would take the editor window for one while the IDE's windows are disabled.)
    void AnswerBox(TRobot& Robot, std::vector<std::string>& Texts, const char* Button = "OK") {
        Robot.WaitUntil("a message box", [this, &Texts] {
            win::HWND box = nullptr;
            win::EnumWindows([&](win::HWND w) {
                if (win::IsWindowVisible(w) && w != FLastBox && !TRobot::ChildText(w, "Message").empty()) box = w;
                return box == nullptr;
            });
            if (!box) return false;
            FLastBox = box;
            Texts.push_back(TRobot::ChildText(box, "Message"));
            return true;
        });
        // The box is the topmost window.
        Robot.Click(TBy::Name(Button));
    }
    void ExpectIdeRestored() {
        EXPECT_TRUE(rtl::SameText(Ide->ToolServices()->GetProjectName(), Demo + "Demo.dpr"));
        EXPECT_TRUE(rtl::SameText(Ide->CurrentFile(), Demo + "Main.pas"));
        EXPECT_EQ(TRobot::FindWindow(TBy::Name("QuilloDlg")), nullptr);
        EXPECT_EQ(TRobot::FindWindow(TBy::Name("IDESpeller")), nullptr);
    }

    std::unique_ptr<ide::TIde> Ide;
    std::string Original;

private:
    std::string FOldDir;
    win::HWND FLastBox = nullptr;
};

std::string Replaced(std::string Text, const std::string& From, const std::string& To) {
    const auto at = Text.find(From);
    if (at != std::string::npos) Text.replace(at, From.size(), To);
    return Text;
}

TEST_F(QuillorWalkTest, TheStringsOfTheProjectAreCheckedAndWrittenBack) {
    ide::TIdeWindows& windows = Ide->ShowWindows();
    TRobot robot;
    std::vector<std::string> boxes;
    Start(robot, "btnCheckStrings");
    // The editor window lies over the IDE's code editor and the dialog over its Object Inspector.
    win::RECT editor{}, code{}, dialog{}, inspector{};
    robot.WaitUntil("the dialog shown", [] { return Dialog() != nullptr; });
    robot.Do([&] {
        win::GetWindowRect(TRobot::FindWindow(TBy::Name("IDESpeller")), &editor);
        win::GetWindowRect(windows.EditWindow(), &code);
        win::GetWindowRect(Dialog(), &dialog);
        win::GetWindowRect(windows.PropertyInspector(), &inspector);
    });
    robot.WaitUntil("the first word offered", [] {
        return Dialog() && win::GetFocus() == TRobot::FindControl(TBy::Name("edtWord"), Dialog());
    });
    robot.Do([] { TRobot::Screenshot(std::string(SUITE_BINARY_DIR) + "/quillor-check.png"); });
    Answer(robot, "Helo", "btnReplace", "Hello");
    Answer(robot, "Welcom", "btnSkip");
    Answer(robot, "Formm", "btnReplace", "Form");
    Answer(robot, "f\xFCr", "btnSkip");
    AnswerBox(robot, boxes, "Yes"); // the form overwritten
    AnswerBox(robot, boxes, "Yes"); // Gone.pas not found: ignored
    AnswerBox(robot, boxes);
    EXPECT_EQ(Ide->RunQuilloCheck(), std::optional<int>(2));
    EXPECT_TRUE(robot.Done()) << robot.Describe();

    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0], Demo + "MAIN.DFM already exists. Overwrite?");
    EXPECT_EQ(boxes[1], Demo + "Gone.pas not found... Ignore file?");
    EXPECT_EQ(boxes[2], "Quillo Checking Complete.");
    // The form is its original but for the changed word, its accented letter kept.
    EXPECT_EQ(Text("Main.dfm"), Binary(FormText("Demo Form f\xFCr you")));
    EXPECT_EQ(Text("Main.~DF"), Binary(FormText("Demo Formm f\xFCr you")));
    // The long run is passed over, not taken for the end of the check.
    EXPECT_EQ(Text("Main.pas"), Replaced(Original, "'Helo there", "'Hello there"));
    EXPECT_EQ(Text("Main.~pa"), Original);
    EXPECT_EQ(Text("Defs.inc"), "{ Shared definitionz }\r\nconst\r\n  Greeting = 'Welcom home';\r\n");
    EXPECT_TRUE(Exists("Defs.~in"));
    EXPECT_TRUE(Exists("Demo.~dp"));
    ExpectIdeRestored();
    EXPECT_EQ(Ide->Messages(), std::vector<std::string>{});
    EXPECT_EQ(std::tie(editor.left, editor.top, editor.right, editor.bottom),
              std::tie(code.left, code.top, code.right, code.bottom));
    // The dialog keeps its own width.
    EXPECT_EQ(std::tie(dialog.left, dialog.top, dialog.bottom), std::tie(inspector.left, inspector.top, inspector.bottom));
}

TEST_F(QuillorWalkTest, TheCommentsOfTheCurrentFileWithoutBackups) {
    WriteSettings("Backup=0\n");
    TRobot robot;
    std::vector<std::string> boxes;
    Start(robot, "btnCheckComments", false);
    Answer(robot, "Defs", "btnSkipAll"); // of the include directive
    Answer(robot, "clickz", "btnReplaceAll", "clicks");
    Answer(robot, "definitionz", "btnReplace", "definitions");
    AnswerBox(robot, boxes);
    EXPECT_EQ(Ide->RunQuilloCheck(), std::optional<int>(2));
    EXPECT_TRUE(robot.Done()) << robot.Describe();

    EXPECT_EQ(boxes, std::vector<std::string>{"Quillo Checking Complete."});
    EXPECT_EQ(Text("Main.pas"), Replaced(Original, "clickz", "clicks"));
    EXPECT_EQ(Text("Defs.inc"), "{ Shared definitions }\r\nconst\r\n  Greeting = 'Welcom home';\r\n");
    for (const char* backup : {"Main.~pa", "Defs.~in", "Demo.~dp"}) EXPECT_FALSE(Exists(backup)) << backup;
    ExpectIdeRestored();
}

TEST_F(QuillorWalkTest, WithAFormCurrentItsUnitIncludeAndFormAreCheckedAndDecliningKeepsTheForm) {
    ASSERT_TRUE(Ide->OpenFile(Demo + "Main.dfm"));
    const std::string form = Text("Main.dfm");
    TRobot robot;
    std::vector<std::string> boxes;
    Start(robot, "btnCheckStrings", false);
    Answer(robot, "Helo", "btnSkip");
    Answer(robot, "Welcom", "btnSkip");
    Answer(robot, "Formm", "btnReplace", "Form");
    Answer(robot, "f\xFCr", "btnSkip");
    AnswerBox(robot, boxes, "No");
    AnswerBox(robot, boxes);
    EXPECT_EQ(Ide->RunQuilloCheck(), std::optional<int>(2));
    EXPECT_TRUE(robot.Done()) << robot.Describe();

    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(rtl::SameText(boxes[0], Demo + "Main.DFM already exists. Overwrite?")) << boxes[0];
    EXPECT_EQ(Text("Main.dfm"), form);
    // The checked text stays beside the form.
    EXPECT_NE(Text("Main.txt").find("Demo Form f\xFCr you"), std::string::npos) << Text("Main.txt");
    EXPECT_FALSE(Exists("Demo.~dp"));
    EXPECT_TRUE(rtl::SameText(Ide->CurrentFile(), Demo + "Main.PAS")) << Ide->CurrentFile();
}

TEST_F(QuillorWalkTest, AFileThatCannotBeLoadedWholeIsSkippedWithItsNameAndTheWalkGoesOn) {
    const std::string include = "{ " + std::string(40000, 'x') + " }\r\nconst Greeting = 'Welcom';\r\n";
    Write("Defs.inc", include);
    TRobot robot;
    std::vector<std::string> boxes;
    Start(robot, "btnCheckStrings", false);
    Answer(robot, "Helo", "btnSkip");
    AnswerBox(robot, boxes);
    Answer(robot, "Formm", "btnSkip");
    Answer(robot, "f\xFCr", "btnSkip");
    AnswerBox(robot, boxes);
    EXPECT_EQ(Ide->RunQuilloCheck(), std::optional<int>(2));
    EXPECT_TRUE(robot.Done()) << robot.Describe();

    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[0].find("Defs.inc was not checked."), std::string::npos) << boxes[0];
    // The walk went on, but the check is not reported complete.
    EXPECT_EQ(boxes[1], "Quillo Checking did not complete: 1 file was not checked.");
    EXPECT_EQ(Text("Defs.inc"), include);
    ExpectIdeRestored();
}

TEST_F(QuillorWalkTest, AProjectFileThatCannotBeBackedUpLeavesTheCheckNotComplete) {
    // The project's folder takes no new file: the project file's backup fails.
    rtl::SetWriteFailureHook([](std::string_view name) {
        return rtl::SameText(rtl::ExtractFileName(std::string(name)), "Demo.~dp") ? 13 : 0;
    });
    TRobot robot;
    std::vector<std::string> boxes;
    Start(robot, "btnCheckStrings");
    AnswerBox(robot, boxes);
    AnswerBox(robot, boxes);
    EXPECT_EQ(Ide->RunQuilloCheck(), std::optional<int>(2));
    EXPECT_TRUE(robot.Done()) << robot.Describe();

    EXPECT_EQ(boxes, (std::vector<std::string>{Demo + "Demo.dpr could not be backed up and was not checked.",
                                               "Quillo Checking did not complete: 1 file was not checked."}));
    EXPECT_EQ(Text("Main.pas"), Original);
    ExpectIdeRestored();
}

// Include files named with a folder and without an extension, a brace comment holding "(*", and
// replacements with an apostrophe inside the strings of a unit, an include file and the form.
TEST_F(QuillorWalkTest, IncludeFilesUnderTheUnitsFolderAndApostrophesInsideStrings) {
    Write("Main.pas", Replaced(Original, "{$I Defs.inc}", "{$I sub\\Defs.inc}\r\n{$I DEFS}\r\n{ see (* the note }"));
    Original = Text("Main.pas");
    std::filesystem::create_directories(rtl::HostPath(Demo) + "/sub");
    Write("sub\\Defs.inc", "const\r\n  Greeting = 'Welcom home';\r\n");
    Write("DEFS", "const\r\n  Other = 'dont go';\r\n");
    TRobot robot;
    std::vector<std::string> boxes;
    Start(robot, "btnCheckStrings", false);
    Answer(robot, "Helo", "btnReplace", "Hello");
    Answer(robot, "Welcom", "btnSkip");
    Answer(robot, "dont", "btnReplace", "don't");
    Answer(robot, "Formm", "btnReplace", "Form's");
    Answer(robot, "f\xFCr", "btnSkip");
    AnswerBox(robot, boxes, "Yes"); // the form overwritten
    AnswerBox(robot, boxes);
    EXPECT_EQ(Ide->RunQuilloCheck(), std::optional<int>(2));
    EXPECT_TRUE(robot.Done()) << robot.Describe();

    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1], "Quillo Checking Complete.");
    EXPECT_EQ(Text("Main.pas"), Replaced(Original, "'Helo there", "'Hello there"));
    EXPECT_EQ(Text("DEFS"), "const\r\n  Other = 'don''t go';\r\n");
    EXPECT_EQ(Text("DEFS~"), "const\r\n  Other = 'dont go';\r\n");
    EXPECT_TRUE(Exists("sub\\Defs.~in"));
    EXPECT_EQ(Text("Main.dfm"), Binary(FormText("Demo Form''s f\xFCr you")));
    ExpectIdeRestored();
}

TEST_F(QuillorWalkTest, NoSuggestionsFromTheOptionsReachTheComponentWhichRefusesThem) {
    WriteSettings("Backup=0\n[VmkSpell]\nSuggestions=0\n");
    TRobot robot;
    std::vector<std::string> boxes;
    Start(robot, "btnCheckStrings", false);
    AnswerBox(robot, boxes);
    Answer(robot, "Helo", "btnClose");
    EXPECT_EQ(Ide->RunQuilloCheck(), std::optional<int>(2));
    EXPECT_TRUE(robot.Done()) << robot.Describe();

    EXPECT_EQ(boxes, std::vector<std::string>{"Invlid number of suggestions."});
    ExpectIdeRestored();
}

// Read-only files are skipped, each with a message naming it, before any of their words is
// offered; the include file a read-only unit names is still checked.
TEST_F(QuillorWalkTest, ReadOnlyFilesAreSkippedWithTheirNamesBeforeAnyWordIsOffered) {
    namespace fs = std::filesystem;
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(rtl::HostPath(Demo + "Main.pas"), readOnly);
    fs::permissions(rtl::HostPath(Demo + "Main.dfm"), readOnly);
    const std::string form = Text("Main.dfm");
    TRobot robot;
    std::vector<std::string> boxes;
    Start(robot, "btnCheckStrings");
    AnswerBox(robot, boxes);
    robot.Do([] { TRobot::Screenshot("/tmp/quillor-read-only.png"); });
    Answer(robot, "Welcom", "btnReplace", "Welcome");
    AnswerBox(robot, boxes);
    AnswerBox(robot, boxes, "Yes"); // Gone.pas not found: ignored
    AnswerBox(robot, boxes);
    EXPECT_EQ(Ide->RunQuilloCheck(), std::optional<int>(2));
    EXPECT_TRUE(robot.Done()) << robot.Describe();

    EXPECT_EQ(boxes, (std::vector<std::string>{
                         "Cannot create file " + Demo + "MAIN.PAS: the file is read-only\r" + Demo + "MAIN.PAS was not checked.",
                         "Cannot create file " + Demo + "MAIN.DFM: the file is read-only\r" + Demo + "MAIN.DFM was not checked.",
                         Demo + "Gone.pas not found... Ignore file?",
                         "Quillo Checking did not complete: 2 files were not checked."}));
    EXPECT_EQ(Text("Main.pas"), Original);
    EXPECT_EQ(Text("Main.dfm"), form);
    EXPECT_FALSE(Exists("Main.~pa")) << "no backup of a file that is not checked";
    EXPECT_FALSE(Exists("Main.~DF"));
    EXPECT_EQ(Text("Defs.inc"), "{ Shared definitionz }\r\nconst\r\n  Greeting = 'Welcome home';\r\n");
    ExpectIdeRestored();
}

TEST_F(QuillorWalkTest, AMissingUnitNotIgnoredIsChosenInTheOpenDialog) {
    Write("Other.pas", "unit Other;\r\n\r\nconst\r\n  S = 'Wrold';\r\n\r\nend.\r\n");
    TRobot robot;
    std::vector<std::string> boxes;
    std::string title;
    Start(robot, "btnCheckStrings");
    Answer(robot, "Helo", "btnSkipAll");
    Answer(robot, "Welcom", "btnSkipAll");
    Answer(robot, "Formm", "btnSkipAll");
    Answer(robot, "f\xFCr", "btnSkipAll");
    AnswerBox(robot, boxes, "No");
    robot.OnNextModal([&title](win::HWND dialog) { title = TRobot::TextOf(dialog); });
    robot.AnswerOpenDialog(Demo + "Other.pas");
    Answer(robot, "Wrold", "btnReplace", "World");
    AnswerBox(robot, boxes);
    EXPECT_EQ(Ide->RunQuilloCheck(), std::optional<int>(2));
    EXPECT_TRUE(robot.Done()) << robot.Describe();

    EXPECT_EQ(boxes, (std::vector<std::string>{Demo + "Gone.pas not found... Ignore file?", "Quillo Checking Complete."}));
    EXPECT_EQ(title, "Open " + Demo + "Gone.pas");
    EXPECT_EQ(Text("Other.pas"), "unit Other;\r\n\r\nconst\r\n  S = 'World';\r\n\r\nend.\r\n");
    ExpectIdeRestored();
}

TEST_F(QuillorWalkTest, CancelEndsTheWalkWithNothingSavedAndNoCompletion) {
    TRobot robot;
    std::vector<std::string> boxes;
    Start(robot, "btnCheckStrings");
    Answer(robot, "Helo", "btnReplace", "Hello");
    Answer(robot, "Welcom", "btnClose");
    EXPECT_EQ(Ide->RunQuilloCheck(), std::optional<int>(2));
    EXPECT_TRUE(robot.Done()) << robot.Describe();

    EXPECT_EQ(boxes, std::vector<std::string>{});
    // The unit finished before the cancel is saved; the include file in hand is not.
    EXPECT_EQ(Text("Main.pas"), Replaced(Original, "'Helo there", "'Hello there"));
    EXPECT_EQ(Text("Defs.inc"), "{ Shared definitionz }\r\nconst\r\n  Greeting = 'Welcom home';\r\n");
    ExpectIdeRestored();
}

TEST_F(QuillorWalkTest, AFileThatCannotBeWrittenEndsTheRunWithItsErrorAndTheIdeRestored) {
    rtl::SetWriteFailureHook([](std::string_view name) {
        return rtl::SameText(rtl::ExtractFileName(std::string(name)), "Main.pas") ? 28 : 0; // disk full
    });
    TRobot robot;
    std::vector<std::string> boxes;
    Start(robot, "btnCheckStrings");
    Answer(robot, "Helo", "btnReplace", "Hello");
    AnswerBox(robot, boxes);
    EXPECT_EQ(Ide->RunQuilloCheck(), std::optional<int>(2));
    EXPECT_TRUE(robot.Done()) << robot.Describe();

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(rtl::UpperCase(boxes[0]).find("MAIN.PAS"), std::string::npos) << boxes[0];
    EXPECT_EQ(Text("Main.pas"), Original);
    ExpectIdeRestored();
}

// The library loaded from a folder of its own, without a dictionary beside it.
class QuillorNoDictionaryTest : public QuillorWalkTest {
protected:
    std::string LibraryFile() override {
        const std::filesystem::path folder = std::filesystem::path(Root.Path()) / "lib";
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(QUILLOR_LIBRARY_FILE, folder / "libquillor.so");
        return (folder / "libquillor.so").string();
    }
};

TEST_F(QuillorNoDictionaryTest, ADictionaryThatCannotBeOpenedChecksNothing) {
    TRobot robot;
    std::vector<std::string> boxes;
    Start(robot, "btnCheckStrings");
    AnswerBox(robot, boxes);
    EXPECT_EQ(Ide->RunQuilloCheck(), std::optional<int>(2));
    EXPECT_TRUE(robot.Done()) << robot.Describe();

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("Error opening dictionary ", 0), 0u) << boxes[0];
    EXPECT_FALSE(Exists("Demo.~dp"));
    EXPECT_EQ(Text("Main.pas"), Original);
    ExpectIdeRestored();
}

} // namespace
