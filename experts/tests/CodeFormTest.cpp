#include "experts/CodeForm.h"

#include "experts/Library.h"
#include "experts/PropDefaults.h"
#include "ide/Ide.h"
#include "ide/IdeSettings.h"
#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "rtl/Registry.h"
#include "rtl/SysUtils.h"
#include "testing/UiTest.h"
#include "rtl/TestHooks.h"
#include "win/Windows.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

namespace experts {
namespace {

using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

std::string ReadFile(const std::string& Name) {
    std::ifstream in(rtl::HostPath(Name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& Name, const std::string& Text) {
    std::filesystem::create_directories(std::filesystem::path(rtl::HostPath(Name)).parent_path());
    std::ofstream(rtl::HostPath(Name), std::ios::binary) << Text;
}

// The names, descriptions and codes of the list, in list order.
struct TEntry {
    std::string Name, Description, Code;
    friend bool operator==(const TEntry&, const TEntry&) = default;
};
std::ostream& operator<<(std::ostream& o, const TEntry& e) {
    return o << "[" << e.Name << "|" << e.Description << "|" << e.Code << "]";
}

class CodeFormTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Ide = std::make_unique<ide::TIde>(); // writes the IDE's own template file
        ToolServices = Ide->ToolServices();
    }
    void TearDown() override {
        delete Form;
        Form = nullptr;
        ToolServices = nullptr;
        Ide.reset();
        UiTest::TearDown();
    }

    TfrmCodeForm* Open() {
        Form = Make<TfrmCodeForm>(Application);
        Form->Show();
        Idle();
        return Form;
    }
    void Reopen() {
        delete Form;
        Form = nullptr;
        Open();
    }
    void Idle() {
        for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    }
    void Run(TRobot& Robot) {
        testing_support::PlayOut(Robot, 300, 0);
        Idle();
        EXPECT_TRUE(Robot.Done()) << Robot.Describe();
    }
    // A click on a speed button of the button bar.
    void Press(TRobot& Robot, TSpeedButton* Button) {
        Robot.ClickAt(Form->pnlButtons->Handle(), {Button->Left() + 12, Button->Top() + 12});
    }
    void Choose(TRobot& Robot, const std::string& Name) {
        Robot.Do([this, Name] {
            Form->lstName->SetItemIndex(Form->lstName->Items()->IndexOf(Name));
            Form->lstNameClick(Form->lstName);
        });
    }
    // Replaces the text of an edit or the memo as typing does.
    void Retype(TRobot& Robot, const char* Control, const std::string& Text) {
        Robot.Click(TBy::Name(Control));
        Robot.Do([this, Control] { dynamic_cast<TCustomEdit*>(Form->FindComponent(Control))->SelectAll(); });
        Robot.Type(Text);
    }
    std::vector<TEntry> Entries() const {
        std::vector<TEntry> out;
        for (int i = 0; i < Form->lstName->Items()->Count(); ++i) {
            const TCodeFrag* f = Form->Snippet(i);
            out.push_back({Form->lstName->Items()->Get(i), f->Description, f->Code});
        }
        return out;
    }
    // Answers the next message box with the button, keeping its text.
    void Answer(TRobot& Robot, const std::string& Button) {
        Robot.OnNextModal([this](win::HWND box) { Shown.push_back(TRobot::ChildText(box, "Message")); });
        Robot.AnswerNextModal(TBy::Name(Button));
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (int i = 0; i < Form->lstName->Items()->Count(); ++i) out.push_back(Form->lstName->Items()->Get(i));
        return out;
    }

    // Each of the two rows and columns of a sunken frame is one colour from end to end: nothing
    // that lay over the control is left on it.
    static void ExpectPlainFrame(TWinControl* Control) {
        win::RECT r;
        win::GetWindowRect(Control->Handle(), &r);
        win::HDC dc = win::GetDC(nullptr);
        auto differs = [dc](int X, int Y, int X0, int Y0) { return win::GetPixel(dc, X, Y) != win::GetPixel(dc, X0, Y0); };
        for (int i = 0; i < 2; ++i) {
            for (int x = r.left + 2; x < r.right - 2; ++x)
                if (differs(x, r.top + i, r.left + 2, r.top + i)) {
                    ADD_FAILURE() << "top row " << i << " differs at x " << x - r.left;
                    break;
                }
            for (int y = r.top + 2; y < r.bottom - 2; ++y)
                if (differs(r.left + i, y, r.left + i, r.top + 2)) {
                    ADD_FAILURE() << "left column " << i << " differs at y " << y - r.top;
                    break;
                }
        }
        win::ReleaseDC(nullptr, dc);
    }

    std::unique_ptr<ide::TIde> Ide;
    TfrmCodeForm* Form = nullptr;
    std::vector<std::string> Shown;
};

TEST_F(CodeFormTest, ListsTheIdesTemplatesSortedAndLooksRight) {
    Open();
    EXPECT_EQ(Form->CodeFile(), ide::CodeTemplateFile);
    EXPECT_EQ(Names(), (std::vector<std::string>{"arrayc", "arrayd", "beginend", "cases", "fors", "ifs", "trye",
                                                 "tryf", "whiles"}));
    EXPECT_EQ(Entries()[2], (TEntry{"beginend", "begin end", "begin\r\n  |\r\nend;\r\n"}));
    EXPECT_EQ(Form->Caption(), "Quick Code Expert");
    EXPECT_EQ(Form->Width(), 550);
    EXPECT_EQ(Form->Height(), 258);
    EXPECT_EQ(Form->EditMode(), emBrowse);
    EXPECT_FALSE(Form->btnInsert->Enabled());
    EXPECT_FALSE(Form->btnSave->Enabled());
    EXPECT_FALSE(Form->btnCancel->Enabled());
    EXPECT_FALSE(Form->edtName->Visible());
    EXPECT_EQ(Form->edtDescription->Width(), Form->pnlDescription->Width() - 58);

    TRobot robot;
    Choose(robot, "beginend");
    Run(robot);
    EXPECT_TRUE(Form->btnInsert->Enabled());
    EXPECT_EQ(Form->mmoCode->Text(), "begin\r\n  |\r\nend;\r\n");
    EXPECT_EQ(Form->edtDescription->Text(), "begin end");
    EXPECT_TRUE(TRobot::Screenshot(std::string(SUITE_BINARY_DIR) + "/experts-quick-code.png", Form->Handle()));
}

} // namespace
} // namespace experts

namespace experts {
namespace {

const std::string kFile = "C:\\SNIPPETS\\CODE.DCI";

// The snippet file named in the registry.
void UseCodeFile(const std::string& Text) {
    WriteFile(kFile, Text);
    rtl::TRegistry reg;
    reg.OpenKey(ZestorKey, true);
    reg.WriteString("CodeFile", kFile);
}

TEST_F(CodeFormTest, ReadsHeadersAndWritesTheFileBackWithTheLinesBeforeTheFirstHeader) {
    UseCodeFile("; kept\r\n"
                "\r\n"
                "[zed | last one]\r\n"
                "z := 1;\r\n"
                "[arr | array declaration]\r\n"
                "array[0..9] of Byte;\r\n"
                "  x   \r\n"
                "\r\n"
                "[plain]\r\n"
                "[odd | a | b]\r\n"
                "begin\n"
                "end;");
    Open();
    EXPECT_EQ(Entries(), (std::vector<TEntry>{{"arr", "array declaration", "array[0..9] of Byte;\r\n  x   \r\n\r\n"},
                                              {"odd", "a | b", "begin\r\nend;\r\n"},
                                              {"plain", "", ""},
                                              {"zed", "last one", "z := 1;\r\n"}}));
    // With nothing new the file is written back byte for byte, line breaks and blanks included.
    const std::string original = ReadFile(kFile);
    Form->SaveSnippets(kFile);
    EXPECT_EQ(ReadFile(kFile), original);
    // A changed entry is written anew in its place: its code right-trimmed, the others as read.
    Form->Snippet(0)->Description = "arrays";
    Form->Snippet(2)->Code = "inherited;\r\n";
    Form->SaveSnippets(kFile);
    EXPECT_EQ(ReadFile(kFile), "; kept\r\n"
                               "\r\n"
                               "[zed | last one]\r\n"
                               "z := 1;\r\n"
                               "[arr | arrays]\r\n"
                               "array[0..9] of Byte;\r\n"
                               "  x\r\n"
                               "[plain | ]\r\n"
                               "inherited;\r\n"
                               "[odd | a | b]\r\n"
                               "begin\n"
                               "end;");

    // A file without a header has no snippets, and its text survives a save.
    UseCodeFile("just text\r\n");
    Form->LoadSnippets(kFile);
    EXPECT_TRUE(Names().empty());
    Form->SaveSnippets(kFile);
    EXPECT_EQ(ReadFile(kFile), "just text\r\n");
}

// Template files built at random from the pieces that matter (header forms, same names, blank
// and padded lines, three kinds of line break, a missing last break, text before the first
// header): read and written back they keep their bytes; with every entry written anew they read
// back as the same entries, and a second save changes nothing.
TEST_F(CodeFormTest, TemplateFilesSurviveLoadAndSave) {
    UseCodeFile("");
    Open();
    const char* const names[] = {"ifs", "IFS", "arr", "x |", "a|b", "zed", "", "caf\xe9", "[in]"};
    const char* const descriptions[] = {"", "if statement", " padded  ", "a | b", "|", "caf\xe9"};
    const char* const lines[] = {"begin", "  x := 1;  ", "", "   ", "\tend;", "a [b]", "caf\xe9", "x|y", "; note"};
    const char* const breaks[] = {"\r\n", "\n", "\r"};
    std::mt19937 random(45);
    auto pick = [&](const auto& from) { return from[random() % std::size(from)]; };
    for (int round = 0; round < 100; ++round) {
        std::vector<std::string> file;
        for (unsigned i = random() % 3; i > 0; --i) file.push_back(pick(lines));
        for (unsigned e = random() % 7; e > 0; --e) {
            const std::string name = pick(names), description = pick(descriptions);
            switch (random() % 6) {
            case 0: file.push_back("[" + name + "]"); break;
            // No separator: all of it is the name, which the format keeps without trailing blanks.
            case 1: file.push_back("[" + name + "|" + rtl::TrimRight(description) + "]"); break;
            case 2: file.push_back("[" + name + " | " + description); break; // no closing bracket
            case 3: file.push_back("["); break;
            default: file.push_back("[" + name + " | " + description + "]"); break;
            }
            for (unsigned l = random() % 5; l > 0; --l) file.push_back(pick(lines));
        }
        std::string text;
        for (std::size_t i = 0; i < file.size(); ++i) {
            text += file[i];
            if (i + 1 < file.size() || random() % 2) text += pick(breaks);
        }
        WriteFile(kFile, text);
        Form->LoadSnippets(kFile);
        Form->SaveSnippets(kFile);
        ASSERT_EQ(ReadFile(kFile), text) << "round " << round;

        // Every entry written anew: codes right-trimmed, descriptions too, names and order kept.
        std::vector<TEntry> expected = Entries();
        for (TEntry& e : expected) {
            e.Description = rtl::TrimRight(e.Description);
            e.Code = rtl::TrimRight(e.Code);
            if (!e.Code.empty()) e.Code += "\r\n";
        }
        for (int i = 0; i < Form->lstName->Items()->Count(); ++i) Form->Snippet(i)->Raw.clear();
        Form->SaveSnippets(kFile);
        const std::string rewritten = ReadFile(kFile);
        Form->LoadSnippets(kFile);
        ASSERT_EQ(Entries(), expected) << "round " << round << "\n" << text;
        Form->SaveSnippets(kFile);
        ASSERT_EQ(ReadFile(kFile), rewritten) << "round " << round;
    }
}

TEST_F(CodeFormTest, AddChangeAndDeleteRewriteTheFile) {
    const std::string before = ReadFile(ide::CodeTemplateFile);
    Open();
    TRobot robot;
    // Add: the name edit shows, the list is off until the snippet is saved.
    Press(robot, Form->btnAdd);
    robot.Do([&] {
        EXPECT_EQ(Form->EditMode(), emAdding);
        EXPECT_TRUE(Form->edtName->Visible());
        EXPECT_FALSE(Form->lstName->Enabled());
        EXPECT_FALSE(Form->btnDelete->Enabled());
        EXPECT_TRUE(Form->btnSave->Enabled());
    });
    robot.Type("repeats");
    Retype(robot, "edtDescription", "repeat statement");
    robot.Click(TBy::Name("mmoCode"));
    robot.Type("repeat\r  |\runtil ;");
    robot.Do([&] { TRobot::Screenshot(std::string(SUITE_BINARY_DIR) + "/experts-quick-code-adding.png", Form->Handle()); });
    Press(robot, Form->btnSave);
    Run(robot);
    EXPECT_EQ(Form->EditMode(), emBrowse);
    EXPECT_FALSE(Form->edtName->Visible());
    ExpectPlainFrame(Form->lstName);
    EXPECT_EQ(Form->lstName->Items()->Get(Form->lstName->ItemIndex()), "repeats");
    // The file keeps its order (the IDE's arrayd before arrayc) and the new snippet comes last.
    EXPECT_EQ(ReadFile(ide::CodeTemplateFile),
              before + "[repeats | repeat statement]\r\nrepeat\r\n  |\r\nuntil ;\r\n");

    // Change: typing in browse mode is a modification, saved to the chosen snippet.
    Choose(robot, "ifs");
    Retype(robot, "edtDescription", "if | then");
    robot.Do([&] { EXPECT_EQ(Form->EditMode(), emModified); });
    Press(robot, Form->btnSave);
    Run(robot);
    const std::string changed = ReadFile(ide::CodeTemplateFile);
    EXPECT_NE(changed.find("[ifs | if | then]\r\nif | then\r\nbegin\r\nend;\r\n"), std::string::npos) << changed;
    Reopen();
    EXPECT_EQ(Entries()[5], (TEntry{"ifs", "if | then", "if | then\r\nbegin\r\nend;\r\n"}));

    // Delete: the last entry goes, the one before it is chosen; no question asked.
    Choose(robot, "whiles");
    Press(robot, Form->btnDelete);
    Run(robot);
    EXPECT_EQ(Names().back(), "tryf");
    EXPECT_EQ(Form->lstName->ItemIndex(), Form->lstName->Items()->Count() - 1);
    EXPECT_EQ(Form->edtDescription->Text(), "try finally");
    EXPECT_EQ(ReadFile(ide::CodeTemplateFile).find("whiles"), std::string::npos);
    EXPECT_TRUE(Shown.empty());
    // Deleting inside the list chooses the entry that took its place.
    Choose(robot, "cases");
    Press(robot, Form->btnDelete);
    Run(robot);
    EXPECT_EQ(Form->lstName->Items()->Get(Form->lstName->ItemIndex()), "fors");
}

TEST_F(CodeFormTest, ANameGivenTwiceSavesToTheNewSnippet) {
    Open();
    TRobot robot;
    Press(robot, Form->btnAdd);
    robot.Type("ifs");
    Retype(robot, "edtDescription", "my if");
    robot.Click(TBy::Name("mmoCode"));
    robot.Type("if x then");
    Press(robot, Form->btnSave);
    Run(robot);
    Reopen();
    std::vector<TEntry> ifs;
    for (const TEntry& e : Entries())
        if (e.Name == "ifs") ifs.push_back(e);
    // The new one after the older, in the list and in the file, before and after reading it again.
    ASSERT_EQ(ifs.size(), 2u);
    const TEntry older{"ifs", "if statement", "if | then\r\nbegin\r\nend;\r\n"}, added{"ifs", "my if", "if x then\r\n"};
    EXPECT_EQ(ifs, (std::vector<TEntry>{older, added}));
    // Saved and read again and again, they do not swap.
    for (int round = 0; round < 3; ++round) {
        Form->Snippet(0)->Description = "round " + std::to_string(round);
        Form->SaveSnippets(Form->CodeFile());
        Form->LoadSnippets(Form->CodeFile());
        ifs.clear();
        for (const TEntry& e : Entries())
            if (e.Name == "ifs") ifs.push_back(e);
        EXPECT_EQ(ifs, (std::vector<TEntry>{older, added})) << "round " << round;
    }
}

TEST_F(CodeFormTest, AFailedRewriteKeepsTheFileAndWhatWasTyped) {
    const std::string before = ReadFile(ide::CodeTemplateFile);
    Open();
    rtl::SetWriteFailureHook([](std::string_view) { return 28; }); // no space left
    TRobot robot;
    Choose(robot, "fors");
    Retype(robot, "edtDescription", "for loop");
    Press(robot, Form->btnSave);
    Answer(robot, "OK");
    Run(robot);
    EXPECT_EQ(Form->EditMode(), emModified);
    EXPECT_EQ(Form->edtDescription->Text(), "for loop");
    EXPECT_EQ(Form->Snippet(Form->lstName->ItemIndex())->Description, "for statement");

    Press(robot, Form->btnAdd);
    robot.Type("news");
    Press(robot, Form->btnSave);
    Answer(robot, "OK");
    Choose(robot, "cases");
    Press(robot, Form->btnCancel);
    Choose(robot, "cases");
    Press(robot, Form->btnDelete);
    Answer(robot, "OK");
    Run(robot);
    rtl::SetWriteFailureHook({});
    ASSERT_EQ(Shown.size(), 3u);
    for (const std::string& message : Shown) EXPECT_NE(message.find("DELPHI32.DCI"), std::string::npos) << message;
    EXPECT_EQ(ReadFile(ide::CodeTemplateFile), before);
    EXPECT_EQ(Names(), (std::vector<std::string>{"arrayc", "arrayd", "beginend", "cases", "fors", "ifs", "trye",
                                                 "tryf", "whiles"}));
    EXPECT_EQ(Form->edtDescription->Text(), "case statement");
}

TEST_F(CodeFormTest, ClosingWithUnsavedChangesAsks) {
    Open();
    TRobot robot;
    // Alt+F4 while a snippet is being added: Cancel keeps the window and the typing.
    Press(robot, Form->btnAdd);
    robot.Type("news");
    robot.Key(win::VK_F4, false, false, true);
    Answer(robot, "Cancel");
    Run(robot);
    EXPECT_TRUE(Form->Visible());
    EXPECT_EQ(Form->edtName->Text(), "news");
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_EQ(Shown[0], "Quick Code Expert\rDo you want to save your changes ?");

    // The close box: Yes saves and closes.
    robot.Do([&] { win::PostMessage(Form->Handle(), win::WM_SYSCOMMAND, win::SC_CLOSE, 0); });
    Answer(robot, "Yes");
    Run(robot);
    EXPECT_FALSE(Form->Visible());
    EXPECT_NE(ReadFile(ide::CodeTemplateFile).find("[news | ]"), std::string::npos);

    // The Close button after a change: No drops it and closes.
    Form->Show();
    Choose(robot, "fors");
    Retype(robot, "edtDescription", "changed");
    Press(robot, Form->btnClose);
    Answer(robot, "No");
    Run(robot);
    EXPECT_FALSE(Form->Visible());
    EXPECT_EQ(Form->EditMode(), emBrowse);
    EXPECT_EQ(Form->edtDescription->Text(), "for statement");
    EXPECT_EQ(ReadFile(ide::CodeTemplateFile).find("changed"), std::string::npos);

    // Yes while the new snippet has no name: the window stays for the name.
    Form->Show();
    Press(robot, Form->btnAdd);
    Press(robot, Form->btnClose);
    Answer(robot, "Yes");
    Run(robot);
    EXPECT_TRUE(Form->Visible());
    EXPECT_EQ(Form->EditMode(), emAdding);
    // In browse mode the window closes without a question.
    Press(robot, Form->btnCancel);
    Press(robot, Form->btnClose);
    Run(robot);
    EXPECT_FALSE(Form->Visible());
    EXPECT_EQ(Shown.size(), 4u);
}

TEST_F(CodeFormTest, ThePlaceListWidthAndFontAreKeptAcrossOpenings) {
    Open();
    EXPECT_EQ(Form->Left(), (Screen->Width() - 550) / 2) << "centred while nothing is stored";
    EXPECT_EQ(Form->pnlLeft->Width(), 150);
    EXPECT_EQ(Form->mmoCode->Font()->Name(), "Courier New");
    TRobot robot;
    robot.ClickAt(Form->mmoCode->Handle(), {40, 40}, win::WM_RBUTTONDOWN);
    std::vector<std::string> items;
    robot.Do([&] { items = TRobot::OpenMenuItems(); });
    robot.ChooseMenu("Font");
    robot.AnswerFontDialog("Arial", "Regular", 12);
    Run(robot);
    EXPECT_EQ(items, (std::vector<std::string>{"Cut", "Copy", "Paste", "-", "Font"}));
    for (TControl* c : std::initializer_list<TControl*>{Form->mmoCode, Form->lstName, Form->edtName}) {
        EXPECT_EQ(c->Font()->Name(), "Arial") << c->Name();
        EXPECT_EQ(c->Font()->Size(), 12) << c->Name();
    }
    Form->SetBounds(30, 40, 600, 300);
    Form->pnlLeft->SetWidth(200);
    Form->Close();
    Reopen();
    EXPECT_EQ(Form->BoundsRect(), Rect(30, 40, 630, 340));
    EXPECT_EQ(Form->pnlLeft->Width(), 200);
    EXPECT_EQ(Form->mmoCode->Font()->Name(), "Arial");
    EXPECT_EQ(Form->lstName->Font()->Size(), 12);
    EXPECT_EQ(Form->edtName->Width(), Form->lstName->Width() - win::GetSystemMetrics(win::SM_CXVSCROLL));

    // The smallest size the window can be dragged to leaves room for the buttons.
    win::MINMAXINFO info{};
    win::SendMessage(Form->Handle(), win::WM_GETMINMAXINFO, 0, reinterpret_cast<win::LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, Form->lstName->Width() + Form->btnClose->Left() + 90);
    EXPECT_EQ(info.ptMinTrackSize.y, 150);
}

TEST_F(CodeFormTest, AMissingOrUnreadableSettingTakesTheDesignedValue) {
    {
        rtl::TRegistry reg;
        reg.OpenKey(ZestorKey, true);
        reg.WriteInteger("PosLeft", 10);
        reg.WriteString("PosTop", "not a number");
        reg.WriteInteger("ListWidth", 180);
        reg.WriteString("CodeFile", "C:\\NOWHERE\\NONE.DCI");
    }
    TRobot robot;
    Answer(robot, "OK");
    Open();
    Run(robot);
    EXPECT_EQ(Shown, std::vector<std::string>{"Could not load code snippets"});
    EXPECT_TRUE(Names().empty());
    EXPECT_EQ(Form->Left(), 10);
    EXPECT_EQ(Form->Top(), (Screen->Height() - 258) / 2);
    EXPECT_EQ(Form->Width(), 550);
    EXPECT_EQ(Form->Height(), 258);
    EXPECT_EQ(Form->pnlLeft->Width(), 180);
    EXPECT_EQ(Form->mmoCode->Font()->Name(), "Courier New");
}

TEST_F(CodeFormTest, RefreshReadsTheFileAgainAndTypingWithoutASnippetAsksForAName) {
    Open();
    TRobot robot;
    Choose(robot, "fors");
    Run(robot);
    WriteFile(ide::CodeTemplateFile, "[fors | for loop]\r\nfor i := 0 to 9 do\r\n[news | new one]\r\nx;\r\n");
    Press(robot, Form->btnRefresh);
    Run(robot);
    EXPECT_EQ(Names(), (std::vector<std::string>{"fors", "news"}));
    EXPECT_EQ(Form->edtDescription->Text(), "for loop") << "the snippet shown before is shown again";
    EXPECT_EQ(Form->mmoCode->Text(), "for i := 0 to 9 do\r\n");
    EXPECT_EQ(Form->EditMode(), emBrowse);

    // Code typed with no snippet chosen is kept and saved once it has a name.
    Form->ClearForBrowsing();
    robot.Click(TBy::Name("mmoCode"));
    robot.Type("y;");
    Press(robot, Form->btnSave);
    robot.Do([&] { EXPECT_EQ(Form->EditMode(), emAdding); });
    robot.Type("ys");
    Press(robot, Form->btnSave);
    Run(robot);
    EXPECT_EQ(ReadFile(ide::CodeTemplateFile),
              "[fors | for loop]\r\nfor i := 0 to 9 do\r\n[news | new one]\r\nx;\r\n[ys | ]\r\ny;\r\n");
}

TEST_F(CodeFormTest, DraggingTheSplitterWidensTheListAndTheNameEdit) {
    Open();
    TRobot robot;
    robot.Drag(Form->pnlMove->Handle(), {2, 60}, {62, 60});
    Run(robot);
    EXPECT_EQ(Form->pnlLeft->Width(), 210);
    EXPECT_EQ(Form->edtName->Width(), Form->lstName->Width() - win::GetSystemMetrics(win::SM_CXVSCROLL));
}

class CodeInsertTest : public CodeFormTest {
protected:
    void SetUp() override {
        CodeFormTest::SetUp();
        WriteFile("C:\\SRC\\Unit1.pas", "unit Unit1;\r\n"
                                        "\r\n"
                                        "procedure Go;\r\n"
                                        "begin\r\n"
                                        "        Done;\r\n"
                                        "end;\r\n");
        ASSERT_TRUE(Ide->OpenFile("C:\\SRC\\Unit1.pas"));
        Open();
    }
    void InsertAt(int Col, int Line, const std::string& Snippet) {
        Ide->CurrentBuffer()->SetPos(0, host::TEditPos{std::int16_t(Col), Line});
        Ide->CallLog().Clear();
        TRobot robot;
        Choose(robot, Snippet);
        Press(robot, Form->btnInsert);
        Run(robot);
    }
};

TEST_F(CodeInsertTest, TheSnippetIsIndentedToTheCursorColumn) {
    struct TCase {
        int Col, Line;
        std::string Expected;
        int Top;
    } cases[] = {
        // Column 9 inside the text: the snippet goes in front of its character, the rest follows it.
        {9, 5, "unit Unit1;\r\n\r\nprocedure Go;\r\nbegin\r\n                begin\r\n          |\r\n        end;\r\nDone;\r\nend;\r\n", 4},
        // Column 9 past the end of an empty line: the snippet goes in front of the line.
        {9, 2, "unit Unit1;\r\n        begin\r\n          |\r\n        end;\r\n\r\nprocedure Go;\r\nbegin\r\n        Done;\r\nend;\r\n", 1},
        // Column 1 of line 1: no indentation, the top line stays 1.
        {1, 1, "begin\r\n  |\r\nend;\r\nunit Unit1;\r\n\r\nprocedure Go;\r\nbegin\r\n        Done;\r\nend;\r\n", 1},
    };
    const std::string original = Ide->CurrentBuffer()->Text();
    for (const TCase& c : cases) {
        Ide->CurrentBuffer()->SetText(original);
        InsertAt(c.Col, c.Line, "beginend");
        EXPECT_EQ(Ide->CurrentBuffer()->Text(), c.Expected) << "column " << c.Col << " line " << c.Line;
        EXPECT_EQ(Ide->CurrentBuffer()->Pos(0), (host::TEditPos{1, c.Line})) << "column " << c.Col;
        EXPECT_EQ(Ide->CurrentBuffer()->Pos(1).Line, c.Top) << "column " << c.Col;
        std::vector<std::string> calls = Ide->CallLog().Texts();
        EXPECT_NE(std::find(calls.begin(), calls.end(), "View.SetPos(1, " + std::to_string(c.Top) + ", 1)"), calls.end())
            << "column " << c.Col;
    }
    EXPECT_TRUE(Shown.empty());
}

TEST_F(CodeInsertTest, NothingToInsertOrTheWrongFileIsTold) {
    TRobot robot;
    Choose(robot, "beginend");
    Retype(robot, "mmoCode", "   ");
    Press(robot, Form->btnInsert);
    Answer(robot, "OK");
    Run(robot);
    WriteFile("C:\\SRC\\Notes.txt", "text\r\n");
    ASSERT_TRUE(Ide->OpenFile("C:\\SRC\\Notes.txt"));
    Choose(robot, "ifs");
    Press(robot, Form->btnInsert);
    Answer(robot, "OK");
    Run(robot);
    EXPECT_EQ(Shown, (std::vector<std::string>{"Quick Code Expert\rThere is no code to insert",
                                               "You can only insert code into a Unit or Project file"}));
    EXPECT_EQ(Ide->Buffers().Find(rtl::ExpandFileName("C:\\SRC\\Unit1.pas"))->Text().find("begin\r\n  |"),
              std::string::npos);
}

} // namespace
} // namespace experts
