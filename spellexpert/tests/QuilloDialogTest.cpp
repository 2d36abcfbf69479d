#include "spellexpert/QuilloDialog.h"
#include "spellexpert/QuilloOptions.h"
#include "spellexpert/Settings.h"

#include "spellengine/Dictionary.h"
#include "spellengine/tests/DctFixture.h"

#include "rtl/IniFiles.h"
#include "rtl/Paths.h"
#include "testing/UiTest.h"

#include <optional>

using namespace spellexpert;
using namespace spellengine;
using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;

namespace {

class QuilloWindowsTest : public testing_support::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Robot.emplace();
    }
    void Settle() {
        EXPECT_TRUE(testing_support::PlayOut(*Robot, 100)) << Robot->Describe();
    }
    static std::string Shot(const std::string& Name) {
        return std::string(SUITE_BINARY_DIR) + "/spellexpert/" + Name + ".png";
    }

    std::optional<TRobot> Robot;
};

class QuilloDlgTest : public QuilloWindowsTest {
protected:
    void SetUp() override {
        QuilloWindowsTest::SetUp();
        if (!dct_fixture::HaveEnglishDct()) GTEST_SKIP() << "ENGLISH.DCT is not built";
        SetActiveDictionary(std::make_unique<TDictionary>());
        ASSERT_TRUE(ActiveDictionary()->OpenMain(rtl::WinPath(dct_fixture::EnglishDct())));
        Dlg = Make<TQuilloDlg>(Application);
        Dlg->SetLeft(40);
        Dlg->SetTop(20);
        Dlg->Show();
    }
    void TearDown() override {
        SetActiveDictionary(nullptr);
        QuilloWindowsTest::TearDown();
    }

    // Each button of the left column at the left edge, of the right column at the right one,
    // both half the client width.
    void ExpectColumns() {
        const int w = Dlg->ClientWidth();
        for (TButton* b : std::initializer_list<TButton*>{Dlg->btnSuggest, Dlg->btnReplace, Dlg->btnSkip, Dlg->btnHelp}) {
            EXPECT_EQ(b->Left(), 1) << b->Name();
            EXPECT_EQ(b->Width(), w / 2 - 1) << b->Name();
        }
        for (TButton* b : std::initializer_list<TButton*>{Dlg->btnAdd, Dlg->btnReplaceAll, Dlg->btnSkipAll, Dlg->btnClose}) {
            EXPECT_EQ(b->Left() + b->Width(), w - 1) << b->Name();
            EXPECT_EQ(b->Width(), w / 2 - 1) << b->Name();
        }
        for (TControl* c : std::initializer_list<TControl*>{Dlg->edtCurWord, Dlg->edtWord, Dlg->lstSuggest})
            EXPECT_EQ(c->Left() + c->Width(), w - 2) << c->Name();
        EXPECT_EQ(Dlg->Image1->Left(), w / 2 - Dlg->Image1->Width() / 2);
    }

    TQuilloDlg* Dlg = nullptr;
};

} // namespace

TEST_F(QuilloDlgTest, LayoutFollowsTheWidthAndKeepsItFixed) {
    EXPECT_EQ(Dlg->Caption(), "Object Inspector");
    EXPECT_EQ(Dlg->Width(), 197) << "the window's width is fixed";
    EXPECT_EQ(Dlg->Height(), 380) << "and its height at least 380";
    EXPECT_EQ(Dlg->edtCurWord->Text(), "Checking...");
    EXPECT_TRUE(Dlg->edtCurWord->ReadOnly());
    EXPECT_EQ(Dlg->lblFound->Caption(), "Not Found:");
    EXPECT_EQ(Dlg->lblChange->Caption(), "Change &To:");
    EXPECT_EQ(Dlg->btnReplaceAll->Caption(), "C&hange All");
    EXPECT_EQ(Dlg->btnHelp->Kind(), TBitBtnKind::bkHelp);
    EXPECT_TRUE(Dlg->btnClose->Cancel());
    EXPECT_FALSE(static_cast<TBitBtn*>(Dlg->btnReplace)->Glyph()->Empty());
    ExpectColumns();
    Dlg->SetStatusText("Not Found:");
    Dlg->SetBadWord("Speling");
    Dlg->SetReplacement("Speling");
    Dlg->ShowSuggestions();
    ASSERT_GT(Dlg->lstSuggest->Items()->Count(), 1);
    EXPECT_EQ(Dlg->lstSuggest->Items()->Strings(0), "Spelling");
    // Rows of 16 pixels, whatever the font.
    EXPECT_EQ(win::SendMessage(Dlg->lstSuggest->Handle(), win::LB_GETITEMHEIGHT, 0, 0), 16);
    win::RECT row{};
    ASSERT_NE(win::SendMessage(Dlg->lstSuggest->Handle(), win::LB_GETITEMRECT, 1, win::LPARAM(&row)), win::LB_ERR);
    EXPECT_EQ(row.top, 16);
    EXPECT_EQ(row.bottom, 32);
    EXPECT_EQ(Dlg->edtWord->Text(), "Spelling");
    EXPECT_EQ(Dlg->ActiveControl(), Dlg->btnReplace);
    Dlg->Update();
    ASSERT_TRUE(TRobot::Screenshot(Shot("quillodlg"), Dlg->Handle()));

    // Taller and wider: the height follows, the width does not, the columns stay at the edges.
    Dlg->SetBounds(Dlg->Left(), Dlg->Top(), 400, 520);
    EXPECT_EQ(Dlg->Width(), 197);
    EXPECT_EQ(Dlg->Height(), 520);
    ExpectColumns();
    Dlg->SetBounds(Dlg->Left(), Dlg->Top(), 197, 200);
    EXPECT_EQ(Dlg->Height(), 380);

    // The same by the mouse: the bottom-right corner dragged out and up, as a user would.
    win::RECT r;
    win::GetWindowRect(Dlg->Handle(), &r);
    TRobot robot;
    robot.Do([&] {
        win::POINT corner{r.right - 2, r.bottom - 2};
        win::PostMouseInput(win::WM_LBUTTONDOWN, corner);
        win::PostMouseInput(win::WM_MOUSEMOVE, win::POINT{corner.x + 150, corner.y + 90});
        win::PostMouseInput(win::WM_LBUTTONUP, win::POINT{corner.x + 150, corner.y + 90});
    });
    robot.Wait(1000);
    robot.Do([&] {
        win::POINT bottom{r.left + 90, r.bottom + 90 - 2};
        win::PostMouseInput(win::WM_LBUTTONDOWN, bottom);
        win::PostMouseInput(win::WM_MOUSEMOVE, win::POINT{bottom.x - 40, bottom.y - 300});
        win::PostMouseInput(win::WM_LBUTTONUP, win::POINT{bottom.x - 40, bottom.y - 300});
    });
    robot.Wait(1000);
    EXPECT_TRUE(testing_support::PlayOut(robot, 10)) << robot.Describe();
    EXPECT_EQ(Dlg->Width(), 197) << "a drag leaves the width at 197";
    EXPECT_EQ(Dlg->Height(), 380) << "and the height no lower than 380";
    EXPECT_EQ(Dlg->Left(), r.left);
    ExpectColumns();
}

TEST_F(QuilloDlgTest, ButtonsStoreTheirResults) {
    const struct {
        const char* Button;
        int Result;
    } cases[] = {
        {"btnReplace", srReplace}, {"btnReplaceAll", srReplaceAll}, {"btnAdd", srAdd},
        {"btnSkip", srSkip},       {"btnSkipAll", srSkipAll},       {"btnClose", srClose},
    };
    for (const auto& c : cases) {
        Dlg->SetResult(srWaiting);
        Robot->Click(TBy::Name(c.Button));
        Robot->Wait(1000);
        Settle();
        EXPECT_EQ(Dlg->Result(), c.Result) << c.Button;
    }
    Dlg->SetResult(srWaiting);
    Dlg->DisableSkip();
    EXPECT_FALSE(Dlg->btnSkip->Enabled());
    EXPECT_FALSE(Dlg->btnSkipAll->Enabled());
    Dlg->EnableSkip();
    EXPECT_TRUE(Dlg->btnSkipAll->Enabled());
}

TEST_F(QuilloDlgTest, TypingCompletesAndADoubleClickReplaces) {
    Robot->Click(TBy::Name("edtWord"));
    Robot->Type("spel");
    Settle();
    ASSERT_GT(Dlg->lstSuggest->Items()->Count(), 0) << "completions of the typed letters";
    EXPECT_EQ(Dlg->lstSuggest->Items()->Strings(0).substr(0, 4), "spel");
    // A word key let go over an emptied field empties the list; other keys leave it.
    Dlg->edtWord->SetText("");
    unsigned key = win::VK_BACK;
    Dlg->QuickSuggest(Dlg->edtWord, key, 0);
    EXPECT_GT(Dlg->lstSuggest->Items()->Count(), 0);
    key = 'A';
    Dlg->QuickSuggest(Dlg->edtWord, key, 0);
    EXPECT_EQ(Dlg->lstSuggest->Items()->Count(), 0);

    Dlg->SetReplacement("Speling");
    Dlg->ShowSuggestions();
    ASSERT_GT(Dlg->lstSuggest->Items()->Count(), 1);
    const std::string second = Dlg->lstSuggest->Items()->Strings(1);
    const int rowHeight = Dlg->lstSuggest->ItemHeight();
    Robot->Wait(1000);
    Robot->ClickAt(Dlg->lstSuggest->Handle(), win::POINT{10, rowHeight + rowHeight / 2}, win::WM_LBUTTONDBLCLK);
    Settle();
    EXPECT_EQ(Dlg->Result(), srReplace);
    EXPECT_EQ(Dlg->edtWord->Text(), second);
}

TEST_F(QuilloDlgTest, GlyphsCanBeHidden) {
    Dlg->HideGlyphs();
    for (int i = 0; i < Dlg->ComponentCount(); ++i) {
        if (auto* b = dynamic_cast<TBitBtn*>(Dlg->Components(i)); b && b->Kind() == TBitBtnKind::bkCustom) {
            EXPECT_TRUE(b->Glyph()->Empty()) << b->Name();
        }
    }
}

TEST_F(QuilloWindowsTest, OptionsWindowShowsAndKeepsTheSettings) {
    std::filesystem::create_directories(rtl::WindowsDir());
    std::ofstream(std::filesystem::path(rtl::WindowsDir()) / "Quillo.INI")
        << "[VmkSpell]\nAutoSuggest=0\nSuggestions=0\n[Quillo]\nOverWrite=1\nSyntaxHi=0\n";
    PutHelpFile("C:\\WINDOWS\\QUILLO.HLP");
    Application->SetHelpFile("C:\\WINDOWS\\QUILLO.HLP");
    std::unique_ptr<TfrmOptions> options(Make<TfrmOptions>(Application));
    EXPECT_EQ(options->Caption(), "Quillo Options");
    EXPECT_TRUE(options->cbOverwrite->Checked());
    EXPECT_TRUE(options->cbBackup->Checked());
    EXPECT_FALSE(options->cbSyntaxHi->Checked());
    EXPECT_FALSE(options->cbAutoSuggest->Checked());
    EXPECT_TRUE(options->cbShowGlyphs->Checked());
    // 0 is shown as it stands; the component refuses it when it is given.
    EXPECT_EQ(options->seSuggestions->Value(), 0);
    EXPECT_EQ(options->seSuggestions->MinValue(), 0);
    EXPECT_EQ(options->seSuggestions->MaxValue(), 99);

    // Help, then a change confirmed with Ok.
    Robot->Click(TBy::Name("btnHtlp"));
    Robot->Do([&] { ASSERT_TRUE(TRobot::Screenshot(Shot("quillooptions"), options->Handle())); });
    Robot->Click(TBy::Name("cbBackup"));
    Robot->Click(TBy::Name("seSuggestions"));
    Robot->Key(win::VK_UP);
    Robot->Key(win::VK_UP);
    Robot->Click(TBy::Name("btnOk"));
    EXPECT_EQ(options->ShowModal(), mrOk);
    ASSERT_EQ(RecordedHelpCalls().size(), 1u);
    EXPECT_EQ(RecordedHelpCalls()[0].Data, 200u);
    const TQuilloSettings& s = Settings();
    EXPECT_FALSE(s.Backup);
    EXPECT_EQ(s.Suggestions, 2);
    EXPECT_TRUE(s.OverWrite);
    EXPECT_FALSE(s.AutoSuggest);

    // Cancelled: the record stays, the controls keep what was left in them.
    Robot->Click(TBy::Name("cbShowGlyphs"));
    Robot->Click(TBy::Name("btnCancel"));
    EXPECT_EQ(options->ShowModal(), mrCancel);
    EXPECT_TRUE(Settings().ShowGlyphs);
    EXPECT_FALSE(options->cbShowGlyphs->Checked());
}
