#include "spellexpert/IDESpeller.h"
#include "IdeHighlightFixture.h"
#include "spellexpert/Settings.h"
#include "spellexpert/SyntaxColour.h"
#include "spellexpert/WordFilter.h"

#include "spellengine/tests/DctFixture.h"

#include "rtl/CodePages.h"
#include "rtl/Paths.h"
#include "testing/Robot.h"
#include "testing/UiTest.h"
#include "win/Messages.h"
#include "win/Windows.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

using namespace spellexpert;

namespace {

class IDESpellerTest : public testing_support::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Settings() = {};
        spellexpert_test::UseIdeHighlight();
        Window = vcl::Make<TIDESpeller>(vcl::Application);
        Window->Show();
    }
    void TearDown() override {
        delete Window;
        Settings() = {};
        SetDefaultAttributes();
        UiTest::TearDown();
    }
    static void Write(const std::string& Name, const std::string& Text) {
        std::ofstream(rtl::HostPath(Name), std::ios::binary) << Text;
    }
    // The window's spell-check component over the built English dictionary, with a user word
    // list of the test's own.
    TSpellQuillo* EnglishSpell() {
        TSpellQuillo* spell = Window->SpellDlg1;
        spell->SetDictionaryPath(rtl::ExtractFilePath(rtl::WinPath(dct_fixture::EnglishDct())));
        spell->SetUserDictionary(rtl::WinPath(Root.Path()) + "\\USER.DIC");
        return spell;
    }
    TIDESpeller* Window = nullptr;
};

TEST_F(IDESpellerTest, AFreePascalUnitIsShownColoured) {
    std::ifstream in("/usr/share/fpcsrc/3.2.2/rtl/inc/strings.pp", std::ios::binary);
    if (!in)
        GTEST_SKIP() << "no Free Pascal sources";
    std::stringstream ss;
    ss << in.rdbuf();
    Write("C:\\strings.pas", ss.str());
    Window->LoadFile("C:\\strings.pas");
    Window->ShowFileInEditor("C:\\strings.pas");
    EXPECT_EQ(Window->Caption(), "C:\\STRINGS.PAS");
    EXPECT_EQ(Window->TabControl1->Tabs()->Strings(0), "strings.pas");
    EXPECT_EQ(Window->Status->SimpleText(), "Spell Checking Unit...");
    ASSERT_NE(SyntaxList, nullptr);
    EXPECT_EQ(SyntaxList->LineCount(), Window->Editor1->ParaCount());
    EXPECT_TRUE(static_cast<bool>(Window->Editor1->OnDrawLine));
    EXPECT_EQ(Window->Editor1->FixedFont()->Size(), 10); // the IDE's editor font
    Window->Editor1->SetCaretPosition(30, 5);
    Window->Editor1->SetTopLine(20);
    int col = 0;
    const std::int32_t line = Window->Editor1->GetCaretPosition(col);
    char want[16];
    std::snprintf(want, sizeof want, "%4d:%4d", static_cast<int>(line), col);
    EXPECT_EQ(Window->Status->Panels()->Items(0)->Text(), want);
    Window->Editor1->SetTopLine(1);
    Window->Editor1->Update();
    ASSERT_TRUE(testing_support::TRobot::Screenshot(std::string(SUITE_BINARY_DIR) + "/spellexpert/idespeller.png",
                                                    Window->Handle()));
}

TEST_F(IDESpellerTest, WhatIsCheckedFollowsTheExtension) {
    const struct {
        const char* Name;
        bool SyntaxHi;
        const char* Status;
        bool Painted;
    } cases[] = {
        {"C:\\P.DPR", true, "Spell Checking Project File...", true},
        {"C:\\F.DFM", true, "Spell Checking Form...", false},
        {"C:\\u.pas", false, "Spell Checking Unit...", false},
        {"C:\\notes.txt", true, "Spell Checking File...", true},
    };
    for (const auto& c : cases) {
        Write(c.Name, "x := 'a';\n{ b }\n");
        Settings().SyntaxHi = c.SyntaxHi;
        Window->LoadFile(c.Name);
        Window->ShowFileInEditor(c.Name);
        EXPECT_EQ(Window->Status->SimpleText(), c.Status) << c.Name;
        EXPECT_EQ(static_cast<bool>(Window->Editor1->OnDrawLine), c.Painted) << c.Name;
        ASSERT_NE(SyntaxList, nullptr) << "always made, for the filter";
        EXPECT_EQ(SyntaxList->GetLineAttributes(2), "ccccc");
    }
}

TEST_F(IDESpellerTest, TheSpellDialogTakesTheWindowsFont) {
    for (vcl::TFont* font : {Window->SpellDlg1->Font(), Window->SpellDlg1->Dialog()->Font()}) {
        EXPECT_EQ(font->Name(), "MS Sans Serif");
        EXPECT_EQ(font->Height(), -13);
        EXPECT_EQ(font->Style(), vcl::TFontStyles{vcl::fsBold});
    }
}

TEST_F(IDESpellerTest, TheEditorTakesKeysAndCaretsAsTheIdeDoes) {
    editor::TZelCommandProcessor& commands = Window->ZelController1->EntryCommands();
    ASSERT_EQ(commands.TableCount(), 3);
    const std::pair<const char*, bool> tables[] = {{"Default", true}, {"WordStar", false}, {"Grid", false}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(commands.Table(i).Name(), tables[i].first);
        EXPECT_EQ(commands.Table(i).Active(), tables[i].second) << tables[i].first;
    }
    EXPECT_EQ(Window->Editor1->CaretOvr()->Shape(), editor::TZelCaretShape::csBlock);
    EXPECT_EQ(Window->Editor1->CaretIns()->Shape(), editor::TZelCaretShape::csVertLine);
    EXPECT_EQ(Window->Editor1->HighlightColors()->BackColor(), vcl::clHighlight);
    EXPECT_EQ(Window->Editor1->HighlightColors()->TextColor(), vcl::clHighlightText);
}

TEST_F(IDESpellerTest, FormTextGoesToOemAndBackWithoutCountingAsAnEdit) {
    // Letters both pages hold come back as they were.
    const std::string lines[] = {"  Caption = 'Gr\xF6\xDF" "e na\xEFve'", "", "  Hint = '\xC4rger \xA3 5'"};
    Write("C:\\F.TXT", lines[0] + "\r\n" + lines[1] + "\r\n" + lines[2] + "\r\n");
    Window->LoadFile("C:\\F.TXT");
    Window->ShowFileInEditor("C:\\F.DFM");
    editor::TZelTextFileEditor* ed = Window->Editor1;
    ASSERT_GE(ed->ParaCount(), 3);
    for (bool modified : {false, true}) {
        ed->SetModified(modified);
        Window->ConvertLinesToOem();
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(ed->GetPara(i + 1), rtl::AnsiToOem(lines[i])) << i;
        EXPECT_EQ(ed->GetPara(1).substr(15, 4), "\x94\xE1" "e ");
        EXPECT_EQ(ed->GetModified(), modified);
        Window->ConvertLinesToAnsi();
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(ed->GetPara(i + 1), lines[i]) << i;
        EXPECT_EQ(ed->GetModified(), modified);
    }
    EXPECT_FALSE(ed->CanUndo());
}

TEST_F(IDESpellerTest, ClosingTheWindowMidWalkCancelsIt) {
    Write("C:\\u.pas", "x := 'one';\n" + std::string(200, ' ') + "y;\nz := 'two';\n");
    Window->LoadFile("C:\\u.pas");
    Window->ShowFileInEditor("C:\\u.pas");
    auto filter = TMyBuffer::NewOnEditor(Window->Editor1);
    std::string w;
    filter->GetNextWord(w);
    ASSERT_EQ(w, "one");
    win::PostMessage(Window->Handle(), win::WM_CLOSE, 0, 0);
    filter->GetNextWord(w);
    EXPECT_EQ(w, "");
    EXPECT_TRUE(filter->Aborted());
    EXPECT_EQ(SyntaxList, nullptr);
    EXPECT_FALSE(Window->Visible()); // hidden, not freed
}

// The status panels during a real check: the form file's texts name what each panel is for, and
// must not stand there while nothing was typed.
TEST_F(IDESpellerTest, TheStatusBarShowsTheEditorsStateDuringACheck) {
    if (!dct_fixture::HaveEnglishDct())
        GTEST_SKIP() << "ENGLISH.DCT is not built";
    TSpellQuillo* spell = EnglishSpell();
    Write("C:\\u.pas", "x := 'the teh cat';\ny := 'wrold';\nz := 'ktten';\n");
    Window->LoadFile("C:\\u.pas");
    Window->ShowFileInEditor("C:\\u.pas");
    auto panels = [this] {
        std::vector<std::string> out;
        for (int i = 0; i < 3; ++i) out.push_back(Window->Status->Panels()->Items(i)->Text());
        return out;
    };
    auto caret = [](int Line, int Col) {
        char text[16];
        std::snprintf(text, sizeof text, "%4d:%4d", Line, Col);
        return std::string(text);
    };
    EXPECT_EQ(panels(), (std::vector<std::string>{caret(1, 1), "", "Insert"}));

    testing_support::TRobot robot;
    std::vector<std::vector<std::string>> seen;
    auto offered = [&](const std::string& Word) {
        robot.WaitUntil("the dialog offering " + Word, [Word] {
            win::HWND d = testing_support::TRobot::FindWindow(testing_support::TBy::Name("QuilloDlg"));
            return d && testing_support::TRobot::ChildText(d, "edtCurWord") == Word &&
                   win::GetFocus() == testing_support::TRobot::FindControl(testing_support::TBy::Name("edtWord"), d);
        });
        robot.Do([&] { seen.push_back(panels()); });
    };
    offered("teh");
    robot.Click(testing_support::TBy::Name("btnSkipAll"), testing_support::TBy::Name("QuilloDlg"));
    offered("wrold");
    robot.Do([] {
        win::HWND d = testing_support::TRobot::FindWindow(testing_support::TBy::Name("QuilloDlg"));
        win::SendMessage(testing_support::TRobot::FindControl(testing_support::TBy::Name("edtWord"), d),
                         win::WM_SETTEXT, 0, win::LPARAM("world"));
    });
    robot.Click(testing_support::TBy::Name("btnReplace"), testing_support::TBy::Name("QuilloDlg"));
    offered("ktten");
    robot.Click(testing_support::TBy::Name("btnSkip"), testing_support::TBy::Name("QuilloDlg"));
    robot.AnswerNextModal(testing_support::TBy::Name("OK")); // the check is complete
    auto filter = TMyBuffer::NewOnEditor(Window->Editor1);
    spell->CheckBuffer(*filter);
    for (int i = 0; i < 5; ++i) vcl::Application->ProcessMessages();
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], (std::vector<std::string>{caret(1, 14), "", "Insert"})) << "nothing changed yet";
    EXPECT_EQ(seen[1], (std::vector<std::string>{caret(2, 12), "", "Insert"})) << "Ignore All changes nothing";
    EXPECT_EQ(seen[2], (std::vector<std::string>{caret(3, 12), "Modified", "Insert"}))
        << "the check takes the modified flag for its own use meanwhile";
    EXPECT_EQ(std::string(Window->Editor1->GetPara(2)), "y := 'world';");
    EXPECT_EQ(panels()[1], "Modified");
    Window->Editor1->SetInsertMode(false);
    for (int i = 0; i < 5; ++i) vcl::Application->ProcessMessages();
    EXPECT_EQ(panels()[2], "Overwrite");
    spell->FreeDictionary();
}

// The filter of a check whose window gets a close message as the walk sets out for its second
// word, so that the filter's own look at the queue takes it.
class TClosingFilter : public TMyBuffer {
public:
    void GetNextWord(std::string& Word) override {
        if (CloseAt && ++Words == 2)
            win::PostMessage(CloseAt, win::WM_CLOSE, 0, 0);
        TMyBuffer::GetNextWord(Word);
    }
    win::HWND CloseAt = nullptr;
    int Words = 0;

protected:
    TClosingFilter() = default;
    friend class spellengine::TAbsBuffer;
};

// A real check (dictionary, the product's dialog, the filter over the editor) whose window is
// closed: while the dialog waits on a word, and in the middle of the walk.
TEST_F(IDESpellerTest, ACheckWhoseWindowClosesEndsCancelled) {
    if (!dct_fixture::HaveEnglishDct())
        GTEST_SKIP() << "ENGLISH.DCT is not built";
    TSpellQuillo* spell = EnglishSpell();
    std::string code;
    for (int i = 0; i < 100; ++i)
        code += "x := 1; { the cat }\n";
    const struct {
        const char* Name;
        std::string Text;
        bool MidWalk;
    } cases[] = {
        {"while the dialog waits", "x := 'the teh cat';\ny := 'wrold';\n", false},
        {"in the middle of the walk", "s := 'the';\n" + code + "z := 'teh';\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Write("C:\\u.pas", c.Text);
        Window->Show();
        Window->LoadFile("C:\\u.pas");
        Window->ShowFileInEditor("C:\\u.pas");
        ASSERT_NE(SyntaxList, nullptr);
        testing_support::TRobot robot;
        auto filter = spellengine::TAbsBuffer::New<TClosingFilter>(Window->Editor1);
        if (c.MidWalk) {
            filter->CloseAt = Window->Handle();
        } else {
            robot.MoveTo(testing_support::TBy::Caption("teh")); // the word is offered
            robot.Do([this] { win::PostMessage(Window->Handle(), win::WM_CLOSE, 0, 0); });
        }
        const int result = spell->CheckBuffer(*filter);
        EXPECT_TRUE(robot.Done()) << robot.Describe();
        EXPECT_EQ(result, spellengine::scCancelled);
        EXPECT_EQ(filter->Aborted(), c.MidWalk) << "the walk saw the window go";
        EXPECT_EQ(SyntaxList, nullptr);
        EXPECT_FALSE(Window->Visible());
        EXPECT_FALSE(spell->Dialog()->Visible());
        EXPECT_EQ(std::string(Window->Editor1->GetPara(1)), c.Text.substr(0, c.Text.find('\n')))
            << "text untouched";
        spell->FreeDictionary();
    }
}

} // namespace
