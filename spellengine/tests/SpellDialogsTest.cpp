#include "spellengine/SpellDialogs.h"

#include "spellengine/Dictionary.h"
#include "spellengine/EngineMessages.h"

#include "DctFixture.h"

#include "rtl/Paths.h"
#include "testing/UiTest.h"

#include <algorithm>
#include <optional>

using namespace spellengine;
using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

class SpellDialogsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        if (!dct_fixture::HaveEnglishDct()) GTEST_SKIP() << "ENGLISH.DCT is not built";
        Robot.emplace();
        SetActiveDictionary(std::make_unique<TDictionary>());
        ASSERT_TRUE(ActiveDictionary()->OpenMain(rtl::WinPath(dct_fixture::EnglishDct())));
    }
    void TearDown() override {
        SetActiveDictionary(nullptr);
        UiTest::TearDown();
    }

    template <class T>
    T* Shown() {
        auto* d = Make<T>(Application);
        d->SetLeft(100);
        d->SetTop(100);
        d->Show();
        return d;
    }

    static std::vector<std::string> Items(TAbsSpellDialog* D) {
        std::vector<std::string> out;
        for (int i = 0; i < D->lstSuggest->Items()->Count(); ++i) out.push_back(D->lstSuggest->Items()->Strings(i));
        return out;
    }

    // Lets messages run until the robot has done its steps and the input they made is taken.
    void Settle() {
        EXPECT_TRUE(testing_support::PlayOut(*Robot, 100)) << Robot->Describe();
    }

    std::optional<TRobot> Robot;
};

} // namespace

// Each layout filled as the check loop fills it, with a look at the window.
TEST_F(SpellDialogsTest, LayoutsFilledWithAWordAndSuggestions) {
    {
        auto* d = Shown<TWPSpellDlg>();
        EXPECT_EQ(d->Caption(), "Spell Checker");
        EXPECT_EQ(d->ClientWidth(), 412);
        EXPECT_EQ(d->ClientHeight(), 224);
        d->SetStatusText("Not found:");
        d->SetBadWord("Speling");
        d->SetReplacement("Speling");
        d->ShowSuggestions();
        EXPECT_FALSE(Items(d).empty());
        EXPECT_EQ(Items(d)[0], "Spelling") << "capitalised like the word";
        EXPECT_EQ(d->edtWord->Text(), "Spelling");
        EXPECT_EQ(d->ActiveControl(), d->btnReplace);
        EXPECT_EQ(d->lblNotFound->Caption(), "Speling");
        EXPECT_FALSE(d->pnlIcons->Visible());
        EXPECT_EQ(d->lstSuggest->Height(), 161);
        d->Update();
        TRobot::Screenshot("/tmp/spell-wp.png", d->Handle());
    }
    {
        auto* d = Shown<TMSSpellDlg>();
        EXPECT_EQ(d->Caption(), "Spelling");
        EXPECT_EQ(d->ClientWidth(), 512);
        EXPECT_EQ(d->ClientHeight(), 242);
        d->SetAccentIcons(acSpanish);
        d->SetStatusText("Not in Dictionary:");
        d->SetBadWord("recieve");
        d->SetReplacement("recieve");
        d->ShowSuggestions();
        EXPECT_EQ(d->edtCurWord->Text(), "recieve");
        EXPECT_NE(std::find(Items(d).begin(), Items(d).end(), "receive"), Items(d).end());
        EXPECT_TRUE(d->pnlIcons->Visible());
        EXPECT_EQ(d->lstSuggest->Height(), 113);
        d->Update();
        TRobot::Screenshot("/tmp/spell-ms.png", d->Handle());
    }
    {
        auto* d = Shown<TW96SpellDlg>();
        EXPECT_EQ(d->ClientWidth(), 627);
        EXPECT_EQ(d->ClientHeight(), 89);
        EXPECT_EQ(d->BorderStyle(), TFormBorderStyle::bsNone);
        d->SetStatusText("Word in Question:");
        d->SetReplacement("tele");
        unsigned key = 'E';
        d->QuickSuggest(d->edtWord, key, 0);
        ASSERT_FALSE(Items(d).empty());
        for (const std::string& w : Items(d)) EXPECT_EQ(w.substr(0, 4), "tele") << "completions of the typed text";
        EXPECT_EQ(d->lstSuggest->Height(), 72);
        d->Update();
        TRobot::Screenshot("/tmp/spell-w96.png", d->Handle());
    }
}

TEST_F(SpellDialogsTest, SuggestionListAndReplacementBox) {
    auto* d = Shown<TWPSpellDlg>();
    // No suggestion: the box keeps its text and the Replace button still gets the focus.
    d->SetReplacement("9999zzzz");
    d->edtWord->SetFocus();
    d->ShowSuggestions();
    EXPECT_TRUE(Items(d).empty());
    EXPECT_EQ(d->edtWord->Text(), "9999zzzz");
    EXPECT_EQ(d->ActiveControl(), d->btnReplace);

    // A double click on a suggestion takes it and stores Replace in one step.
    d->SetReplacement("wrold");
    d->ShowSuggestions();
    ASSERT_GE(Items(d).size(), 2u);
    d->SetResult(srWaiting);
    const std::string second = Items(d)[1];
    Robot->ClickAt(d->lstSuggest->Handle(), {5, d->lstSuggest->ItemHeight() + 3});
    Robot->ClickAt(d->lstSuggest->Handle(), {5, d->lstSuggest->ItemHeight() + 3});
    Settle();
    EXPECT_EQ(d->edtWord->Text(), second);
    EXPECT_EQ(d->Result(), srReplace);

    // Typing in the box lists completions; clearing it empties the list; Ctrl does nothing.
    d->SetResult(srWaiting);
    d->edtWord->SetText("");
    d->edtWord->SetFocus();
    Robot->Type("hous");
    Settle();
    ASSERT_FALSE(Items(d).empty());
    EXPECT_EQ(Items(d)[0].substr(0, 4), "hous");
    unsigned key = 'S';
    d->edtWord->SetText("");
    d->QuickSuggest(d->edtWord, key, ssCtrl);
    EXPECT_FALSE(Items(d).empty()) << "with Ctrl held the list stays";
    d->QuickSuggest(d->edtWord, key, 0);
    EXPECT_TRUE(Items(d).empty());

    // Accents on twice lay out as once.
    d->SetAccentIcons(acSpanish);
    const TRect once = d->lstSuggest->BoundsRect();
    d->SetAccentIcons(acSpanish);
    EXPECT_EQ(d->lstSuggest->BoundsRect(), once);
    d->SetAccentIcons(0);
    EXPECT_EQ(d->lstSuggest->Height(), 161);

    // An accent button types its letter at the caret.
    d->SetAccentIcons(acSpanish);
    d->edtWord->SetText("ma");
    d->edtWord->SetSelStart(2);
    auto* n = static_cast<TControl*>(d->FindComponent("btnN"));
    Robot->ClickAt(d->pnlIcons->Handle(), {n->Left() + 5, n->Top() + 5});
    Settle();
    EXPECT_EQ(d->edtWord->Text(), "ma\xF1");
}

TEST_F(SpellDialogsTest, EnterEditMovesOnAndChangesCase) {
    auto* d = Shown<TMSSpellDlg>();
    d->edtWord->SetFocus();
    d->edtWord->SetText("hello World");
    Robot->Key(win::VK_RETURN);
    Settle();
    EXPECT_EQ(d->edtWord->Text(), "hello World") << "Enter is not typed";
    EXPECT_NE(d->ActiveControl(), d->edtWord);

    d->edtWord->SetFocus();
    Robot->Key(win::VK_UP, false, true);
    Settle();
    EXPECT_EQ(d->edtWord->Text(), "HELLO WORLD");
    Robot->Key(win::VK_DOWN, false, true);
    Settle();
    EXPECT_EQ(d->edtWord->Text(), "Hello world");
}

// Every layout's buttons reach the handlers their form files name; the word-processor layout
// has no Replace All.
TEST_F(SpellDialogsTest, ButtonsStoreTheirCodes) {
    const std::pair<const char*, int> buttons[] = {
        {"btnReplace", srReplace}, {"btnReplaceAll", srReplaceAll}, {"btnAdd", srAdd},
        {"btnSkip", srSkip},       {"btnSkipAll", srSkipAll},       {"btnClose", srClose},
    };
    // One at a time, so that each click lands on the layout it is meant for.
    auto clickEach = [&](TAbsSpellDialog* d) {
        for (const auto& [name, code] : buttons) {
            auto* button = dynamic_cast<TButton*>(d->FindComponent(name));
            if (!button) {
                EXPECT_EQ(d->Name() + std::string(name), "WPSpellDlgbtnReplaceAll");
                continue;
            }
            d->SetResult(srWaiting);
            Robot->Wait(1000);
            Robot->ClickAt(button->Handle(), {button->Width() / 2, button->Height() / 2});
            Settle();
            EXPECT_EQ(d->Result(), code) << d->Name() << "." << name;
        }
    };
    auto* wp = Shown<TWPSpellDlg>();
    clickEach(wp);
    delete wp;
    auto* w96 = Shown<TW96SpellDlg>();
    clickEach(w96);
    delete w96;
    auto* d = Shown<TMSSpellDlg>();
    clickEach(d);
    d->DisableSkip();
    EXPECT_FALSE(d->btnSkip->Enabled());
    EXPECT_FALSE(d->btnSkipAll->Enabled());
    d->EnableSkip();
    EXPECT_TRUE(d->btnSkipAll->Enabled());
}

TEST_F(SpellDialogsTest, GlyphsCanBeHidden) {
    auto* d = Shown<TWPSpellDlg>();
    EXPECT_FALSE(d->btnAdd->Glyph()->Empty());
    d->HideGlyphs();
    EXPECT_TRUE(d->btnAdd->Glyph()->Empty());
    EXPECT_TRUE(static_cast<TBitBtn*>(d->btnReplace)->Glyph()->Empty());
}

TEST_F(SpellDialogsTest, LanguageCaptionsAndTheTypedWordCheck) {
    auto* wp = Shown<TWPSpellDlg>();
    EXPECT_EQ(wp->btnSkipAll->Caption(), "Skip A&lways") << "the stored caption until a language is set";
    wp->SetLabelLanguage(TLanguages::lgEnglish);
    EXPECT_EQ(wp->btnSkipAll->Caption(), "Skip &Always");
    EXPECT_EQ(wp->lblFound->Caption(), "Found");
    EXPECT_EQ(wp->Caption(), "Spell Checker");

    auto* w96 = Shown<TW96SpellDlg>();
    w96->SetLabelLanguage(TLanguages::lgEnglish);
    EXPECT_EQ(w96->btnClose->Caption(), "&Done");
    // Leaving the replacement box tells whether the typed word is known.
    for (const auto& [typed, status] : {std::pair{"hello", "Word Found:"}, std::pair{"helo", "Word in Question:"}}) {
        w96->edtWord->SetFocus();
        w96->edtWord->SetText(typed);
        w96->lstSuggest->SetFocus();
        EXPECT_EQ(w96->lblFound->Caption(), status) << typed;
    }
}
