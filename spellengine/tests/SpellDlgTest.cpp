#include "spellengine/SpellDlg.h"

#include "spellengine/Dictionary.h"
#include "spellengine/EngineMessages.h"
#include "spellengine/WordForm.h"

#include "DctFixture.h"

#include "rtl/FormFiles.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"
#include "vcl/Notebooks.h"
#include "vcl/Streaming.h"
#include "testing/UiTest.h"

#include <deque>
#include <memory>
#include <typeindex>
#include <optional>
#include <fstream>
#include <sstream>

using namespace spellengine;
using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

// What the robot does with one offered word: a replacement typed first (when not empty), the
// button it clicks, and the button of a message box that click brings up (when not empty).
struct TAnswer {
    std::string Button;
    std::string Replacement = {};
    std::string Modal = {};
};

class TScriptedSpellDlg;

// A layout that tells the script when it waits for the user on an offered word.
template <class Base>
class TScripted : public Base {
public:
    TScripted(TComponent* AOwner, TScriptedSpellDlg* Script) : Base(AOwner), FScript(Script) {}
    void FocusReplacement() override;

private:
    TScriptedSpellDlg* FScript;
};

// The component with a script of answers that the robot gives through the dialog's buttons,
// each queued when its word is offered; it records the offered words and the message boxes.
class TScriptedSpellDlg : public TSpellDlg {
public:
    using TSpellDlg::TSpellDlg;

    void SetDialogType(TDialogTypes Value) override {
        TSpellDlg::SetDialogType(Value);
        delete Dialog();
        switch (Value) {
        case TDialogTypes::dtWordPerfect: AdoptDialog(Make<TScripted<TWPSpellDlg>>(DialogOwner(), this)); break;
        case TDialogTypes::dtMSWord: AdoptDialog(Make<TScripted<TMSSpellDlg>>(DialogOwner(), this)); break;
        case TDialogTypes::dtWordPro96: AdoptDialog(Make<TScripted<TW96SpellDlg>>(DialogOwner(), this)); break;
        }
    }

    void Offered(TAbsSpellDialog* D) {
        std::string word;
        D->GetReplacement(word);
        Offers.push_back(word);
        if (OnOffer) OnOffer(D);
        if (Script.empty()) return; // the test's loop then ends idle, which fails it
        TAnswer a = Script.front();
        Script.pop_front();
        if (!a.Replacement.empty()) D->SetReplacement(a.Replacement);
        Robot->Wait(1000); // two clicks on one button are no double click
        if (a.Button == "(close the window)")
            Robot->Do([D] { D->Close(); });
        else if (a.Button == "(quit)")
            Robot->Do([] { Application->Terminate(); });
        else
            Robot->Click(TBy::Name(a.Button));
        if (!a.Modal.empty()) AnswerModal(a.Modal);
        if (Script.empty() && EndMessage) AnswerModal("OK");
    }

    void AnswerModal(const std::string& Button) {
        Robot->OnNextModal([this](win::HWND box) { Messages.push_back(TRobot::ChildText(box, "Message")); });
        Robot->AnswerNextModal(TBy::Name(Button));
    }

    void DoWordNotFound(TCustomEdit*, const std::string& Word, int Position) override {
        NotFound.push_back(Word + "@" + std::to_string(Position));
    }

    TRobot* Robot = nullptr;
    std::vector<std::string> NotFound;
    std::deque<TAnswer> Script;
    // Whether the check ends with a message box, answered after the last scripted answer.
    bool EndMessage = true;
    std::vector<std::string> Offers;
    std::vector<std::string> Messages;
    std::function<void(TAbsSpellDialog*)> OnOffer;
};

template <class Base>
void TScripted<Base>::FocusReplacement() {
    Base::FocusReplacement();
    if (this->Result() == srWaiting && FScript) FScript->Offered(this);
}

std::string ReadFile(const std::string& winName) {
    std::ifstream in(rtl::HostPath(winName), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class SpellDlgTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Robot.emplace();
        if (!dct_fixture::HaveEnglishDct()) GTEST_SKIP() << "ENGLISH.DCT is not built";
        Form = Make<TForm>(Application);
        Form->SetBounds(20, 300, 400, 200);
        Memo = new TMemo(Form);
        Memo->SetName("Memo");
        Memo->SetParent(Form);
        Memo->SetBounds(8, 8, 380, 150);
        Form->Show();
        Spell = Make<TScriptedSpellDlg>(Form);
        Spell->Robot = &*Robot;
        Spell->SetAutoSuggest(false);
        Spell->SetDictionaryPath(rtl::ExtractFilePath(rtl::WinPath(dct_fixture::EnglishDct())));
        Spell->SetUserDictionary(UserList());
    }
    std::string UserList() const { return rtl::WinPath(Root.Path()) + "\\USER.DIC"; }

    // Runs a check of the memo over Text with the script.
    int CheckMemo(const std::string& Text, std::vector<TAnswer> Script) {
        Memo->SetText(Text);
        Memo->SetModified(false);
        Spell->Script.assign(Script.begin(), Script.end());
        if (Script.empty() && Spell->EndMessage) Spell->AnswerModal("OK");
        int r = Spell->SpellCheck(Memo);
        EXPECT_TRUE(Robot->Done()) << Robot->Describe();
        return r;
    }

    // Made after the window system is reset, which drops message hooks.
    std::optional<TRobot> Robot;
    TForm* Form = nullptr;
    TMemo* Memo = nullptr;
    TScriptedSpellDlg* Spell = nullptr;
};

const std::string kNoErrors = "No errors found. Spell checking complete...";
const std::string kComplete = "Spell checking complete.";

} // namespace

TEST_F(SpellDlgTest, EachChoiceOverAMemo) {
    const struct Case {
        const char* Name;
        const char* Text;
        std::vector<TAnswer> Script;
        std::vector<std::string> Offers;
        const char* Want;
        int Result;
        bool Modified;
        std::string Message;
    } cases[] = {
        {"skip", "teh cat teh", {{"btnSkip"}, {"btnSkip"}}, {"teh", "teh"}, "teh cat teh", 0, false, kNoErrors},
        {"replace", "teh cat teh", {{"btnReplace", "the"}, {"btnSkip"}}, {"teh", "teh"}, "the cat teh", 1, true,
         kComplete},
        {"replace by the word itself", "Teh cat", {{"btnReplace"}}, {"Teh"}, "Teh cat", 1, false, kComplete},
        {"replace in letter case only", "teh cat", {{"btnReplace", "TEH"}}, {"teh"}, "TEH cat", 1, true,
         kComplete},
        {"skip all", "recieve cat recieve wrold recieve", {{"btnSkipAll"}, {"btnSkip"}}, {"recieve", "wrold"},
         "recieve cat recieve wrold recieve", 0, false, kNoErrors},
        {"close", "teh cat wrold", {{"btnClose"}}, {"teh"}, "teh cat wrold", 2, false, ""},
        {"window closed", "teh cat wrold", {{"(close the window)"}}, {"teh"}, "teh cat wrold", 2, false, ""},
        {"replace, then close", "teh cat wrold", {{"btnReplace", "the"}, {"btnClose"}}, {"teh", "wrold"},
         "the cat wrold", 2, true, ""},
        {"no unknown word", "the cat sat", {}, {}, "the cat sat", 0, false, kNoErrors},
        {"one letter and digits are never offered", "x 1996 q7 teh", {{"btnSkip"}, {"btnSkip"}}, {"q7", "teh"}, "x 1996 q7 teh",
         0, false, kNoErrors},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Spell->Offers.clear();
        Spell->Messages.clear();
        Spell->EndMessage = !c.Message.empty();
        EXPECT_EQ(CheckMemo(c.Text, c.Script), c.Result);
        EXPECT_EQ(Spell->Offers, c.Offers);
        EXPECT_EQ(Memo->Text(), c.Want);
        EXPECT_EQ(Memo->Modified(), c.Modified);
        EXPECT_EQ(Spell->Messages, c.Message.empty() ? std::vector<std::string>{} : std::vector{c.Message});
        EXPECT_FALSE(Spell->Dialog()->Visible());
        EXPECT_TRUE(ActiveDictionary()) << "a check leaves the dictionary open";
        Spell->FreeDictionary();
    }
}

TEST_F(SpellDlgTest, ChangeAllAndSkipAllLastAsLongAsTheComponent) {
    Spell->SetDialogType(TDialogTypes::dtMSWord);
    EXPECT_EQ(CheckMemo("teh cat wrold teh", {{"btnReplaceAll", "the"}, {"btnSkipAll"}}), 1);
    EXPECT_EQ(Memo->Text(), "the cat wrold the");
    EXPECT_EQ(Spell->Offers, (std::vector<std::string>{"teh", "wrold"}));
    // A later check replaces and passes over silently, and counts nothing as replaced.
    Spell->Offers.clear();
    Spell->Messages.clear();
    EXPECT_EQ(CheckMemo("Wrold teh", {}), 0);
    EXPECT_EQ(Memo->Text(), "Wrold the");
    EXPECT_TRUE(Memo->Modified());
    EXPECT_TRUE(Spell->Offers.empty());
    EXPECT_EQ(Spell->Messages, std::vector<std::string>{kNoErrors});
    EXPECT_EQ(Spell->ChangeFromWords().Count(), 1);
}

TEST_F(SpellDlgTest, AddWithAndWithoutConfirmation) {
    // Confirmed: the word goes into the user list, and later occurrences are known.
    EXPECT_EQ(CheckMemo("teh cat teh", {{"btnAdd", "", "Yes"}}), 0);
    EXPECT_EQ(Spell->Offers, std::vector<std::string>{"teh"});
    EXPECT_EQ(Spell->Messages, (std::vector<std::string>{"Add \"teh\" to dictionary?", kNoErrors}));
    EXPECT_EQ(ReadFile(UserList()), "teh\r\n");

    // Refused: it stays unknown.
    Spell->Offers.clear();
    Spell->Messages.clear();
    EXPECT_EQ(CheckMemo("wrold wrold", {{"btnAdd", "", "No"}, {"btnSkip"}}), 0);
    EXPECT_EQ(Spell->Offers, (std::vector<std::string>{"wrold", "wrold"}));
    EXPECT_EQ(ReadFile(UserList()), "teh\r\n");

    // Without confirmation it is added at once.
    Spell->SetConfirmAdd(false);
    Spell->Offers.clear();
    Spell->Messages.clear();
    EXPECT_EQ(CheckMemo("wrold cat wrold", {{"btnAdd"}}), 0);
    EXPECT_EQ(Spell->Offers, std::vector<std::string>{"wrold"});
    EXPECT_EQ(Spell->Messages, std::vector<std::string>{kNoErrors});
    EXPECT_EQ(ReadFile(UserList()), "teh\r\nwrold\r\n");
}

TEST_F(SpellDlgTest, PlainTextBuffer) {
    const struct Case {
        const char* Name;
        std::vector<TAnswer> Script;
        int Result;
        bool Modified;
    } cases[] = {
        {"skip", {{"btnSkip"}, {"btnSkip"}}, 0, false},
        {"replace", {{"btnReplace", "the"}, {"btnSkip"}}, 1, true},
        {"replace by the word itself", {{"btnReplace"}, {"btnSkip"}}, 1, false},
        {"close", {{"btnClose"}}, 2, false},
    };
    const char* text = "teh cat wrold";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Spell->Offers.clear();
        Spell->EndMessage = c.Result != 2;
        Spell->Script.assign(c.Script.begin(), c.Script.end());
        auto buffer = TPCharBuffer::NewOnPChar(text);
        EXPECT_EQ(Spell->CheckBuffer(*buffer), c.Result);
        EXPECT_TRUE(Robot->Done()) << Robot->Describe();
        EXPECT_EQ(buffer->GetModified(), c.Modified);
        EXPECT_STREQ(buffer->Source(), "teh cat wrold") << "the caller's text is not changed";
    }
}

TEST_F(SpellDlgTest, AutoCorrectionFromAFileReadOncePerFile) {
    const std::string list = rtl::WinPath(Root.Path()) + "\\AUTO.TXT";
    dct_fixture::WriteRaw(rtl::HostPath(list), "teh=the\r\nno equals sign\r\n=empty\r\nempty=\r\nwrold=world\r\n");
    Spell->SetAutoCorrectList(list);
    EXPECT_EQ(CheckMemo("Teh cat wrold", {}), 0);
    EXPECT_EQ(Memo->Text(), "the cat world");
    EXPECT_TRUE(Memo->Modified());
    EXPECT_TRUE(Spell->Offers.empty());
    EXPECT_EQ(CheckMemo("teh", {}), 0);
    EXPECT_EQ(Spell->ChangeFromWords().Count(), 2) << "the pairs are not appended again";

    // A missing file is reported and the check goes on without it.
    Spell->SetAutoCorrectList("MISSING.TXT");
    Spell->ChangeFromWords().Clear();
    Spell->ChangeToWords().Clear();
    Spell->Messages.clear();
    Spell->AnswerModal("OK");
    EXPECT_EQ(CheckMemo("teh", {{"btnSkip"}}), 0);
    EXPECT_EQ(Spell->Messages, (std::vector<std::string>{"MISSING.TXT file not found.", kNoErrors}));
}

TEST_F(SpellDlgTest, CheckAllFieldsStopsAtTheCancelledOne) {
    auto edit = [&](const char* name, const char* text) {
        auto* e = new TEdit(Form);
        e->SetName(name);
        e->SetParent(Form);
        e->SetBounds(8, 160, 100, 21);
        e->SetText(text);
        return e;
    };
    Memo->SetText("teh cat");
    TEdit* second = edit("Second", "the wrold");
    TEdit* third = edit("Third", "recieve");
    Spell->Script = {{"btnReplace", "the"}, {"btnClose"}};
    Spell->EndMessage = false;
    EXPECT_EQ(Spell->CheckAllFields(Form, true), 2);
    EXPECT_TRUE(Robot->Done()) << Robot->Describe();
    EXPECT_EQ(Spell->Offers, (std::vector<std::string>{"teh", "wrold"}));
    EXPECT_EQ(Memo->Text(), "the cat");
    EXPECT_EQ(second->Text(), "the wrold");
    EXPECT_EQ(third->Text(), "recieve") << "not reached";
    EXPECT_TRUE(Spell->Messages.empty());
    EXPECT_FALSE(ActiveDictionary());
    EXPECT_FALSE(Spell->Dialog()->Visible());
    EXPECT_TRUE(Spell->ReportResult());

    // Done with every field, one closing message for all of them.
    Spell->Offers.clear();
    Spell->Script = {{"btnSkip"}, {"btnReplace", "receive"}};
    Spell->EndMessage = true;
    EXPECT_EQ(Spell->CheckAllFields(Form, true), 1);
    EXPECT_TRUE(Robot->Done()) << Robot->Describe();
    EXPECT_EQ(Spell->Offers, (std::vector<std::string>{"wrold", "recieve"}));
    EXPECT_EQ(third->Text(), "receive");
    EXPECT_EQ(Spell->Messages, std::vector<std::string>{kComplete});
}

TEST_F(SpellDlgTest, DictionaryThatCannotBeOpened) {
    Spell->SetDictionaryPath("c:\\nowhere");
    Memo->SetText("teh");
    Memo->SetModified(true);
    Spell->AnswerModal("OK");
    EXPECT_EQ(Spell->SpellCheck(Memo), 2);
    EXPECT_TRUE(Robot->Done()) << Robot->Describe();
    EXPECT_EQ(Spell->Messages, std::vector<std::string>{"Error opening dictionary C:\\NOWHERE\\ENGLISH.DCT"});
    EXPECT_TRUE(Memo->Modified()) << "unsaved changes still read as such";
    EXPECT_FALSE(ActiveDictionary());
}

TEST_F(SpellDlgTest, FiftyWordCharactersEndTheCheckAsCancelled) {
    Memo->SetText("teh " + std::string(50, 'a') + " wrold");
    Spell->Script = {{"btnSkip", "", "OK"}};
    Spell->EndMessage = false;
    EXPECT_EQ(Spell->SpellCheck(Memo), 2);
    EXPECT_TRUE(Robot->Done()) << Robot->Describe();
    EXPECT_EQ(Spell->Offers, std::vector<std::string>{"teh"});
    EXPECT_EQ(Spell->Messages, std::vector<std::string>{"Aborting spell check (Invalid word): \r" + std::string(50, 'a')});
    EXPECT_FALSE(Spell->Dialog()->Visible());
}

TEST_F(SpellDlgTest, ForceModalDisablesTheOtherWindowsOnlyWhileTheCheckRuns) {
    Spell->SetForceModal(true);
    bool formEnabledDuringCheck = true;
    Spell->OnOffer = [&](TAbsSpellDialog*) { formEnabledDuringCheck = win::IsWindowEnabled(Form->Handle()); };
    EXPECT_EQ(CheckMemo("teh", {{"btnSkip"}}), 0);
    EXPECT_FALSE(formEnabledDuringCheck);
    EXPECT_TRUE(win::IsWindowEnabled(Form->Handle()));

    // Also when the loop leaves with an exception.
    Spell->OnOffer = [&](TAbsSpellDialog*) { throw rtl::Exception("gone"); };
    Memo->SetText("teh");
    EXPECT_THROW(Spell->SpellCheck(Memo), rtl::Exception);
    EXPECT_TRUE(win::IsWindowEnabled(Form->Handle()));
}

TEST_F(SpellDlgTest, SettingsAndTheDictionaryFolder) {
    Spell->AnswerModal("OK");
    Spell->SetSuggestions(0);
    EXPECT_TRUE(Robot->Done()) << Robot->Describe();
    EXPECT_EQ(Spell->Messages, std::vector<std::string>{"Invlid number of suggestions."});
    EXPECT_EQ(Spell->Suggestions(), 1);
    EXPECT_EQ(Spell->Dialog()->Suggestions(), 1);
    Spell->SetSuggestions(25);
    EXPECT_EQ(Spell->Dialog()->Suggestions(), 25);

    std::string folder = rtl::ExtractFilePath(rtl::WinPath(dct_fixture::EnglishDct()));
    folder.pop_back();
    for (char& c : folder) c = char(std::tolower(static_cast<unsigned char>(c)));
    Spell->SetDictionaryPath(folder);
    Spell->SetDictionaryName("");
    ASSERT_TRUE(Spell->OpenDictionary());
    EXPECT_EQ(Spell->DictionaryPath(), rtl::UpperCase(folder) + "\\");
    EXPECT_EQ(Spell->DictionaryName(), "ENGLISH.DCT");
    Spell->Close();
    EXPECT_FALSE(ActiveDictionary());

    // Another layout keeps the settings.
    Spell->SetShowGlyphs(false);
    Spell->SetDialogType(TDialogTypes::dtWordPro96);
    auto* w96 = dynamic_cast<TW96SpellDlg*>(Spell->Dialog());
    ASSERT_TRUE(w96);
    EXPECT_EQ(w96->Suggestions(), 25);
    EXPECT_TRUE(w96->btnAdd->Glyph()->Empty());
    EXPECT_TRUE(w96->Font()->Style() & fsBold);

    Spell->Messages.clear();
    Spell->AnswerModal("OK");
    EXPECT_EQ(Spell->SpellCheck(Form), 0);
    EXPECT_EQ(Spell->Messages, std::vector<std::string>{"Error : Unknown control."});
}

TEST_F(SpellDlgTest, AutoShiftMovesTheDialogAwayFromTheWord) {
    Spell->SetAutoShift(true);
    Memo->SetText("cat\r\ncat\r\nteh");
    int top = -1;
    Spell->OnOffer = [&](TAbsSpellDialog* d) {
        top = d->Top();
        d->Update();
        TRobot::Screenshot("/tmp/spell-check.png");
    };
    // The memo's third line lies below the middle of the screen.
    Form->SetTop(Screen->Height() / 2 - 10);
    EXPECT_EQ(CheckMemo(Memo->Text(), {{"btnSkip"}}), 0);
    EXPECT_EQ(top, 10);
    Form->SetTop(20);
    EXPECT_EQ(CheckMemo(Memo->Text(), {{"btnSkip"}}), 0);
    EXPECT_EQ(top, Screen->Height() - Spell->Dialog()->Height() - 10);
}

TEST_F(SpellDlgTest, CheckWhileTyping) {
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    edit->SetBounds(8, 160, 200, 21);
    Spell->ChangeFromWords().Add("teh");
    Spell->ChangeToWords().Add("the");
    struct Case {
        const char* Text;
        int Caret;
        char Key;
        bool AutoReplace;
        const char* Want;
        int WantCaret;
        std::vector<std::string> NotFound;
    } cases[] = {
        {"see teh", 7, ' ', true, "see the", 7, {}},
        {"see teh, ok", 8, '\r', true, "see the, ok", 8, {}},
        {"see wrold", 9, ' ', false, "see wrold", 9, {"wrold@4"}},
        {"see world", 9, ' ', false, "see world", 9, {}},
        {"see wrold", 9, 'x', false, "see wrold", 9, {}},
        {"  ", 2, ' ', false, "  ", 2, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        Spell->NotFound.clear();
        edit->SetText(c.Text);
        edit->SetSelStart(c.Caret);
        char key = c.Key;
        Spell->CheckTyping(edit, c.AutoReplace, key);
        EXPECT_EQ(edit->Text(), c.Want);
        EXPECT_EQ(edit->SelStart(), c.WantCaret);
        EXPECT_EQ(Spell->NotFound, c.NotFound);
    }
}

TEST_F(SpellDlgTest, QuittingTheApplicationCancelsTheCheck) {
    Spell->EndMessage = false;
    EXPECT_EQ(CheckMemo("teh cat", {{"(quit)"}}), 2);
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(SpellDlgTest, TheCheckedControlIsBroughtToFrontThroughNotebookPages) {
    // An edit on the second page of a plain notebook that lies on the third page of a tabbed one.
    auto* tabbed = new TTabbedNotebook(Form);
    tabbed->SetParent(Form);
    tabbed->SetBounds(8, 8, 380, 180);
    tabbed->Pages()->Clear();
    for (const char* caption : {"One", "Two", "Three"}) tabbed->Pages()->Add(caption);
    auto* outer = static_cast<TWinControl*>(tabbed->Pages()->Objects(2));
    auto* plain = new TNotebook(Form);
    plain->SetParent(outer);
    plain->SetBounds(4, 4, 300, 100);
    plain->Pages()->Add("Second");
    auto* inner = static_cast<TWinControl*>(plain->Pages()->Objects(1));
    auto* edit = new TEdit(Form);
    edit->SetParent(inner);
    edit->SetBounds(4, 4, 200, 21);
    edit->SetText("teh");
    tabbed->SetPageIndex(0);
    plain->SetPageIndex(0);
    Memo->SetVisible(false);
    Application->ProcessMessages();
    ASSERT_FALSE(win::IsWindowVisible(edit->Handle()));

    bool shown = false;
    Spell->OnOffer = [&](TAbsSpellDialog*) { shown = win::IsWindowVisible(edit->Handle()); };
    Spell->Script = {{"btnSkip"}};
    EXPECT_EQ(Spell->SpellCheck(edit), 0);
    EXPECT_TRUE(Robot->Done()) << Robot->Describe();
    EXPECT_TRUE(shown);
    EXPECT_EQ(tabbed->PageIndex(), 2);
    EXPECT_EQ(plain->PageIndex(), 1);
}

namespace {

std::string StoredText(TComponent* Component) {
    rtl::TMemoryStream binary, text;
    WriteComponentToStream(Component, binary);
    binary.SetPosition(0);
    rtl::ObjectBinaryToText(binary, text);
    return std::string(static_cast<const char*>(text.Memory()), std::size_t(text.Size()));
}

class StoredSpellDlgTest : public UiTest {};

// The dialog is made once the whole component is read, so it has the settings stored after
// the style, and the component writes them back.
TEST_F(StoredSpellDlgTest, AComponentReadFromAFormMakesItsDialogWithItsSettings) {
    const struct {
        const char* Style;
        std::type_index Dialog;
    } cases[] = {
        {"dtWordPerfect", typeid(TWPSpellDlg)},
        {"dtMSWord", typeid(TMSSpellDlg)},
        {"dtWordPro96", typeid(TW96SpellDlg)},
    };
    for (const auto& c : cases) {
        const std::string text = std::string("object Form1: TForm\n  object Spell1: TSpellDlg\n") +
                                 "    DialogStyle = " + c.Style + "\n    Font.Height = -15\n    Suggestions = 5\n"
                                 "  end\nend\n";
        rtl::TMemoryStream in, binary;
        in.Write(text.data(), std::int64_t(text.size()));
        in.SetPosition(0);
        rtl::ObjectTextToBinary(in, binary);
        binary.SetPosition(0);
        std::unique_ptr<TForm> form(Make<TForm>(Application));
        ReadComponentFromStream(binary, form.get());
        auto* spell = dynamic_cast<TSpellDlg*>(form->FindComponent("Spell1"));
        ASSERT_NE(spell, nullptr) << c.Style;
        ASSERT_NE(spell->Dialog(), nullptr) << c.Style;
        EXPECT_EQ(std::type_index(typeid(*spell->Dialog())), c.Dialog) << c.Style;
        EXPECT_EQ(spell->Dialog()->Font()->Height(), -15) << c.Style;
        EXPECT_EQ(spell->Dialog()->Suggestions(), 5) << c.Style;
        const std::string written = StoredText(spell);
        for (const std::string& line : {std::string("DialogStyle = ") + c.Style, std::string("Suggestions = 5"),
                                        std::string("Font.Height = -15")}) {
            if (line == "DialogStyle = dtWordPerfect") continue;  // the default is not written
            EXPECT_NE(written.find(line), std::string::npos) << line;
        }
    }
}

} // namespace
