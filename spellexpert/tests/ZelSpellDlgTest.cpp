#include "spellexpert/SpellQuillo.h"
#include "spellexpert/QuilloDialog.h"

#include "spellengine/Dictionary.h"
#include "spellengine/EngineMessages.h"
#include "spellengine/tests/DctFixture.h"

#include "editor/ZelNotebook.h"
#include "editor/tests/TestEntryField.h"
#include "editor/tests/ZelEditorTestSupport.h"

#include "rtl/Paths.h"
#include "win/TestHooks.h"

#include <deque>
#include <optional>
#include <tuple>

using namespace spellexpert;
using namespace spellengine;
using namespace vcl;
using editor_test::TTestEntryField;
using testing_support::TBy;
using testing_support::TRobot;

namespace {

// What the robot does with one offered word: a replacement typed first (when not empty) and
// the button it clicks.
struct TAnswer {
    std::string Button;
    std::string Replacement = {};
};

class TScriptedZel;

class TScriptedQuilloDlg : public TQuilloDlg {
public:
    TScriptedQuilloDlg(TComponent* AOwner, TScriptedZel* Script) : TQuilloDlg(AOwner), FScript(Script) {}
    void FocusReplacement() override;

private:
    TScriptedZel* FScript;
};

// The editor component with the product dialog, answered by the robot from a script; the
// message boxes of the check's end are answered with OK and recorded.
class TScriptedZel : public TZelSpellDlg {
public:
    using TZelSpellDlg::TZelSpellDlg;

    void SetDialogType(TDialogTypes Value) override {
        TZelSpellDlg::SetDialogType(Value);
        delete Dialog();
        AdoptDialog(Make<TScriptedQuilloDlg>(DialogOwner(), this));
    }

    void Offered(TAbsSpellDialog* D) {
        std::string word;
        D->GetReplacement(word);
        Offers.push_back(word);
        if (Script.empty()) return;
        TAnswer a = Script.front();
        Script.pop_front();
        if (!a.Replacement.empty()) D->SetReplacement(a.Replacement);
        Robot->Wait(1000);
        if (!ShotPath.empty()) {
            Robot->Do([path = ShotPath] { EXPECT_TRUE(TRobot::Screenshot(path)); });
            ShotPath.clear();
        }
        Robot->Click(TBy::Name(a.Button));
        if (Script.empty() && EndMessage) AnswerModal();
    }

    void AnswerModal() {
        Robot->OnNextModal([this](win::HWND box) { Messages.push_back(TRobot::ChildText(box, "Message")); });
        Robot->AnswerNextModal(TBy::Name("OK"));
    }

    TRobot* Robot = nullptr;
    std::deque<TAnswer> Script;
    bool EndMessage = true;
    // A picture of the screen at the next offered word.
    std::string ShotPath;
    std::vector<std::string> Offers;
    std::vector<std::string> Messages;
};

void TScriptedQuilloDlg::FocusReplacement() {
    TQuilloDlg::FocusReplacement();
    if (Result() == srWaiting && FScript) FScript->Offered(this);
}

const std::string kNoErrors = "No errors found. Spell checking complete...";
const std::string kComplete = "Spell checking complete.";

class ZelSpellDlgTest : public editor_test::EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        if (!dct_fixture::HaveEnglishDct()) GTEST_SKIP() << "ENGLISH.DCT is not built";
        Robot.emplace();
        Field = new TTestEntryField(Form, editor::fmSimple, editor::fdString, "X");
        Field->SetName("efText");
        Field->SetParent(Form);
        Field->SetMaxLength(40);
        Field->SetBounds(8, 230, 300, Field->Height());
        Spell = Make<TScriptedZel>(Form);
        Spell->Robot = &*Robot;
        Spell->SetAutoSuggest(false);
        Spell->SetConfirmAdd(false);
        Spell->SetDictionaryPath(rtl::ExtractFilePath(rtl::WinPath(dct_fixture::EnglishDct())));
        Spell->SetUserDictionary(rtl::WinPath(Root.Path()) + "\\USER.DIC");
    }
    void TearDown() override {
        if (Spell) Spell->FreeDictionary();
        EditorTest::TearDown();
    }

    int Check(TControl* Control, const std::vector<TAnswer>& Script, bool EndMessage) {
        Spell->Offers.clear();
        Spell->Messages.clear();
        Spell->EndMessage = EndMessage;
        Spell->Script.assign(Script.begin(), Script.end());
        if (Script.empty() && EndMessage) Spell->AnswerModal();
        const int r = Spell->SpellCheck(Control);
        EXPECT_TRUE(Robot->Done()) << Robot->Describe();
        return r;
    }

    std::optional<TRobot> Robot;
    TTestEntryField* Field = nullptr;
    TScriptedZel* Spell = nullptr;
};

} // namespace

// Each choice over an editor of several paragraphs: the text, the caret and selection kept
// from before the check, and the modified flag.
TEST_F(ZelSpellDlgTest, EachChoiceOverTheEditor) {
    const struct {
        const char* Name;
        const char* Before; // the notation of the editor tests
        std::vector<TAnswer> Script;
        std::vector<std::string> Offers;
        const char* After;
        int Result;
        bool Modified;
        std::string Message;
    } cases[] = {
        {"skip", "teh {cat|}\n\nwrold", {{"btnSkip"}, {"btnSkip"}}, {"teh", "wrold"}, "teh {cat|}\n\nwrold", 0, false,
         kNoErrors},
        {"longer replacement, the walk goes on after it", "te|h cat\n\nwrold teh",
         {{"btnReplace", "thethe"}, {"btnSkip"}, {"btnReplace", "the"}}, {"teh", "wrold", "teh"},
         "th|ethe cat\n\nwrold the", 1, true, kComplete},
        {"change all", "teh cat teh\nteh|", {{"btnReplaceAll", "the"}}, {"teh"}, "the cat the\nthe|", 1, true,
         kComplete},
        {"skip all", "wrold wrold\n{|wrold}", {{"btnSkipAll"}}, {"wrold"}, "wrold wrold\n{|wrold}", 0, false,
         kNoErrors},
        {"add", "|qzzy cat qzzy", {{"btnAdd"}}, {"qzzy"}, "|qzzy cat qzzy", 0, false, kNoErrors},
        {"close after a replacement", "teh wrold|", {{"btnReplace", "the"}, {"btnClose"}}, {"teh", "wrold"},
         "the wrold|", 2, true, ""},
        {"only empty paragraphs", "|\n\n", {}, {}, "|\n\n", 0, false, kNoErrors},
    };
    Spell->ShotPath = std::string(SUITE_BINARY_DIR) + "/spellexpert/editorcheck.png";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Load(*Editor, c.Before);
        EXPECT_EQ(Check(Editor, c.Script, !c.Message.empty()), c.Result);
        EXPECT_EQ(Spell->Offers, c.Offers);
        EXPECT_EQ(State(*Editor), c.After);
        EXPECT_EQ(Editor->GetModified(), c.Modified);
        EXPECT_EQ(Spell->Messages, c.Message.empty() ? std::vector<std::string>{} : std::vector{c.Message});
        EXPECT_TRUE(Editor->HideSelection()) << "given back";
        Spell->FreeDictionary();
        Spell->SkipAllWords().Clear();
        Spell->ChangeFromWords().Clear();
        Spell->ChangeToWords().Clear();
    }
}

TEST_F(ZelSpellDlgTest, ReplacingTheWordSelectsItAgainFirst) {
    Load(*Editor, "teh cat|");
    auto buffer = TCalvexEditor::NewOnEditor(Editor);
    std::string word;
    buffer->GetNextWord(word);
    ASSERT_EQ(word, "teh");
    buffer->SelectWord();
    EXPECT_EQ(State(*Editor), "{teh|} cat");
    Editor->SetCaretPosition(1, 8); // the user moves the caret while the dialog waits
    buffer->ReplaceWord("the");
    EXPECT_EQ(State(*Editor), "the| cat");
    buffer->GetNextWord(word);
    EXPECT_EQ(word, "cat");

    // A read-only editor keeps its text and says so; the walk goes on after the word.
    std::vector<std::string> messages;
    auto old = SetEngineMessageProc([&](const std::string& m) { messages.push_back(m); });
    Load(*Editor, "teh wrold|");
    Editor->SetReadOnly(true);
    buffer = TCalvexEditor::NewOnEditor(Editor);
    buffer->GetNextWord(word);
    buffer->ReplaceWord("a");
    EXPECT_EQ(Editor->GetPara(1), "teh wrold");
    EXPECT_EQ(messages.size(), 1u);
    buffer->GetNextWord(word);
    EXPECT_EQ(word, "wrold");
    SetEngineMessageProc(old);
}

// Selecting the word to offer shows it at once, in one paint, with the pixels a whole refresh
// of the editor would give: on the same row, on the next, a page down, far down, far to the
// right, and back up to the top.
TEST_F(ZelSpellDlgTest, TheSelectedWordIsShownAtOnceAsAWholeRefreshWouldShowIt) {
    std::string text;
    for (int i = 1; i <= 200; ++i) {
        text += "word" + std::to_string(i) + " more" + std::to_string(i);
        if (i == 120) text += std::string(150, ' ') + "far";
        text += "\n";
    }
    Load(*Editor, text + "top|");
    Editor->SetHideSelection(false);
    Editor->SetTopLine(1);
    Application->ProcessMessages();
    const win::HWND h = Editor->Handle();
    const struct {
        std::int32_t Para;
        const char* Word;
    } cases[] = {{1, "word1"}, {1, "more1"}, {2, "word2"}, {20, "more20"}, {21, "word21"},
                 {120, "more120"}, {120, "far"}, {121, "word121"}, {201, "top"}};
    auto buffer = TCalvexEditor::NewOnEditor(Editor);
    std::string word;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Word);
        do buffer->GetNextWord(word);
        while (!word.empty() && !(buffer->CurrentPara() == c.Para && word == c.Word));
        ASSERT_EQ(word, c.Word);
        const int before = win::PaintCountsOf(h).client;
        buffer->SelectWord();
        EXPECT_EQ(win::PaintCountsOf(h).client, before + 1) << "shown at once, in one paint";
        std::int32_t l1, l2;
        int c1, c2;
        ASSERT_TRUE(Editor->GetSelection(l1, c1, l2, c2));
        EXPECT_EQ(std::make_tuple(l1, c1, l2, c2),
                  std::make_tuple(c.Para, buffer->WordStart(), c.Para, buffer->WordEnd()));
        const std::vector<win::COLORREF> shown = ClientPixels(*Editor);
        Editor->RefreshView(true);
        EXPECT_TRUE(shown == ClientPixels(*Editor)) << "differs from a whole refresh";
    }
    // The search back to the top for the last word leaves nothing behind.
    buffer->GetNextWord(word);
    EXPECT_EQ(word, "");
}

TEST_F(ZelSpellDlgTest, WordPositionOnTheScreen) {
    std::string text;
    for (int i = 1; i <= 30; ++i) text += "line " + std::to_string(i) + (i < 30 ? "\n" : "");
    Load(*Editor, text + "|");
    Editor->SetTopLine(5);
    auto buffer = TCalvexEditor::NewOnEditor(Editor);
    std::string word;
    for (int i = 0; i < 7 * 2 + 1; ++i) buffer->GetNextWord(word); // "line" of paragraph 8
    ASSERT_EQ(buffer->CurrentPara(), 8);
    EXPECT_EQ(buffer->GetWordScreenY(), Editor->ClientOrigin().y + 3 * Editor->LineHeight());
}

TEST_F(ZelSpellDlgTest, EachChoiceOverTheEntryField) {
    const struct {
        const char* Name;
        const char* Text;
        std::vector<TAnswer> Script;
        const char* After;
        int Result;
        bool Modified;
    } cases[] = {
        {"skip", "teh cat", {{"btnSkip"}}, "teh cat", 0, false},
        {"replace with a longer word", "teh wrold cat", {{"btnReplace", "thethe"}, {"btnReplace", "world"}},
         "thethe world cat", 1, true},
        {"close", "teh wrold", {{"btnClose"}}, "teh wrold", 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Field->SetFieldText(c.Text);
        Field->SetModified(false);
        Field->SetSelection(1, 3);
        EXPECT_EQ(Check(Field, c.Script, c.Result != 2), c.Result);
        EXPECT_EQ(Field->GetFieldText(), c.After);
        EXPECT_EQ(Field->GetModified(), c.Modified);
        EXPECT_EQ(Field->GetSelStart(), 1);
        EXPECT_EQ(Field->GetSelLength(), 2);
        Spell->FreeDictionary();
    }
}

TEST_F(ZelSpellDlgTest, AFieldRefusesWhatItCannotHold) {
    std::vector<std::string> messages;
    auto old = SetEngineMessageProc([&](const std::string& m) { messages.push_back(m); });
    Field->SetMaxLength(10);
    Field->SetFieldText("teh cat");
    auto buffer = TCalvexField::NewOnField(Field);
    std::string word;
    buffer->GetNextWord(word);
    buffer->SelectWord();
    EXPECT_EQ(Field->GetSelStart(), 0);
    EXPECT_EQ(Field->GetSelLength(), 3);
    buffer->ReplaceWord("thoroughly");
    EXPECT_EQ(Field->GetFieldText(), "teh cat") << "left as it was";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("does not fit"), std::string::npos) << messages[0];
    buffer->GetNextWord(word);
    EXPECT_EQ(word, "cat") << "the walk goes on after the word";

    auto* flag = new TTestEntryField(Form, editor::fmSimple, editor::fdBoolean, "X");
    flag->SetParent(Form);
    flag->SetFieldText("True");
    const std::string before = flag->GetFieldText();
    auto flagBuffer = TCalvexField::NewOnField(flag);
    flagBuffer->GetNextWord(word);
    ASSERT_FALSE(word.empty());
    flagBuffer->ReplaceWord("Truth");
    EXPECT_EQ(flag->GetFieldText(), before);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[1].find("holds no text"), std::string::npos) << messages[1];
    SetEngineMessageProc(old);
}

TEST_F(ZelSpellDlgTest, CheckAllFieldsStopsAtACancel) {
    Load(*Editor, "teh|");
    Field->SetFieldText("wrold");
    // The editor comes first among the form's components: cancelled there, the field is not
    // checked and nothing is reported.
    EXPECT_EQ([&] {
        Spell->Offers.clear();
        Spell->Messages.clear();
        Spell->EndMessage = false;
        Spell->Script = {{"btnClose"}};
        return Spell->CheckAllFields(Form, true);
    }(), 2);
    EXPECT_EQ(Spell->Offers, std::vector<std::string>{"teh"});
    EXPECT_TRUE(Spell->Messages.empty());

    // Both checked: one replacement counts for the whole run, reported once.
    Spell->Offers.clear();
    Spell->Script = {{"btnReplace", "the"}, {"btnSkip"}};
    Spell->EndMessage = true;
    EXPECT_EQ(Spell->CheckAllFields(Form, true), 1);
    EXPECT_TRUE(Robot->Done()) << Robot->Describe();
    EXPECT_EQ(Spell->Offers, (std::vector<std::string>{"teh", "wrold"}));
    EXPECT_EQ(Spell->Messages, std::vector<std::string>{kComplete});
    EXPECT_EQ(Editor->GetPara(1), "the");
    EXPECT_TRUE(Spell->ReportResult());
    EXPECT_FALSE(Spell->Dialog()->Visible());
}

TEST_F(ZelSpellDlgTest, WordCountOfEditorAndField) {
    Load(*Editor, "one two\n\nthree one|");
    Field->SetFieldText("alpha beta alpha");
    int total = 0, unique = 0;
    Spell->WordCount(Editor, total, unique);
    EXPECT_EQ(total, 4);
    EXPECT_EQ(unique, 3);
    Spell->WordCount(Field, total, unique);
    EXPECT_EQ(total, 3);
    EXPECT_EQ(unique, 2);
}

TEST_F(ZelSpellDlgTest, TheNotebookTurnsToTheCheckedControl) {
    auto* book = new editor::TZelNotebook(Form);
    book->SetParent(Form);
    book->SetBounds(320, 8, 200, 150);
    book->Pages().Add("First");
    book->Pages().Add("Second");
    auto* page = static_cast<editor::TZelNotebookPage*>(book->Pages().Objects(1));
    ASSERT_TRUE(page);
    auto* inner = new TTestEntryField(Form, editor::fmSimple, editor::fdString, "X");
    inner->SetParent(page);
    ASSERT_NE(book->ActivePageName(), page->Caption());
    Spell->BringControlToFront(inner);
    EXPECT_EQ(book->ActivePageName(), page->Caption());
}

TEST_F(ZelSpellDlgTest, TheProductComponentAlwaysShowsItsOwnDialog) {
    auto* owner = Make<TForm>(Application);
    auto* quillo = Make<TSpellQuillo>(owner);
    for (TDialogTypes type : {TDialogTypes::dtWordPerfect, TDialogTypes::dtMSWord, TDialogTypes::dtWordPro96}) {
        quillo->SetShowGlyphs(type != TDialogTypes::dtMSWord);
        quillo->SetDialogType(type);
        auto* dialog = dynamic_cast<TQuilloDlg*>(quillo->Dialog());
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->Owner(), owner);
        EXPECT_EQ(static_cast<TBitBtn*>(dialog->btnReplace)->Glyph()->Empty(), type == TDialogTypes::dtMSWord);
    }
    quillo->SetSuggestions(25);
    EXPECT_EQ(quillo->Dialog()->Suggestions(), 25);
}
