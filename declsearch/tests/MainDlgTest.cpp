#include "declsearch/MainDlg.h"

#include "declsearch/IdeHooks.h"
#include "declsearch/LineRules.h"
#include "declsearch/OptionsStore.h"

#include "rtl/Paths.h"
#include "testing/UiTest.h"

#include <filesystem>

using namespace vcl;
using namespace declsearch;
using testing_support::TRobot;
namespace fs = std::filesystem;

namespace {

const char* const kObjpas = "/usr/share/fpcsrc/3.2.2/rtl/objpas";

class MainDlgTest : public testing_support::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        std::error_code ec;
        if (!fs::is_directory(kObjpas, ec)) GTEST_SKIP() << "no Free Pascal sources";
        Store = OpenOptionsStore();
        PutHelpFile("C:\\DELPHI\\DELVO.HLP");
        Application->SetHelpFile("C:\\DELPHI\\DELVO.HLP");
        Units = {rtl::WinPath(std::string(kObjpas) + "/math.pp"),
                 rtl::WinPath(std::string(kObjpas) + "/sysutils/sysstrh.inc"),
                 rtl::WinPath(std::string(kObjpas) + "/classes/classesh.inc")};
        Store->WriteInteger("Files", "Option", 2);
        Dlg = Make<TMainDlg>(nullptr, Store.get());
        Dlg->SetCurrentFile(Units[0]);
        Dlg->SetProjectUnits(Units);
    }
    void TearDown() override {
        delete Dlg;
        Dlg = nullptr;
        UiTest::TearDown();
    }
    void SearchAndShow() {
        Dlg->Search(Hooks);
        Dlg->Show();
        Pump();
    }
    void Pump() {
        for (int i = 0; i < 20; ++i) Application->ProcessMessages();
    }
    void Run(TRobot& robot) {
        testing_support::PlayOut(robot, 200, 0);
        Pump();
        ASSERT_TRUE(robot.Done()) << robot.Describe();
    }
    // The visible row of a kind, from the top.
    int RowOf(TRowKind Kind, int Nth = 0) {
        const auto& v = Dlg->Results().Visible();
        for (std::size_t i = 0; i < v.size(); ++i)
            if (Row(int(i)).Kind == Kind && Nth-- == 0) return int(i);
        return -1;
    }
    const TProcLine& Row(int Visible) {
        return Dlg->Results().Results()[std::size_t(Dlg->Results().Visible()[std::size_t(Visible)].Index)].Row;
    }
    win::POINT Middle(int Index) {
        TRect r = Dlg->ListBox->ItemRect(Index);
        return Point(60, (r.top + r.bottom) / 2);
    }
    int Count(TColor Colour, const TRect& R) {
        win::HWND h = Dlg->ListBox->Handle();
        win::UpdateWindow(h);
        win::HDC dc = win::GetDC(h);
        int n = 0;
        for (int y = R.top; y < R.bottom; ++y)
            for (int x = R.left; x < R.right; ++x)
                if (TColor(win::GetPixel(dc, x, y)) == TColor(ColorToRGB(Colour))) ++n;
        win::ReleaseDC(h, dc);
        return n;
    }
    std::unique_ptr<TKwRegIniFile> Store;
    std::vector<std::string> Units;
    TIdeHooks Hooks;
    TMainDlg* Dlg = nullptr;
};

} // namespace

TEST_F(MainDlgTest, ShowsTheRowsOfASearch) {
    SearchAndShow();
    EXPECT_GT(Dlg->ListBox->Items()->Count(), 200);
    EXPECT_EQ(Dlg->ClientWidth(), 572);
    EXPECT_EQ(Dlg->FileText->Caption(), "3");
    TRobot::Screenshot("/tmp/dc/maindlg.png", Dlg->Handle());
}

TEST_F(MainDlgTest, HeadersFoldByMouseKeysAndMenu) {
    SearchAndShow();
    int all = Dlg->ListBox->Items()->Count();
    ASSERT_EQ(Row(0).Kind, TRowKind::FileHeader);
    TRobot robot;
    robot.ClickAt(Dlg->ListBox->Handle(), Middle(0));
    robot.Key(win::VK_LEFT); // folds the first file
    Run(robot);
    int folded = Dlg->ListBox->Items()->Count();
    EXPECT_LT(folded, all);
    EXPECT_FALSE(Row(0).Expanded);
    EXPECT_EQ(Dlg->Results().Visible()[1].Index, Dlg->Results().Visible()[0].Index + 1 + (all - folded))
        << "the next header follows";
    robot.Key(win::VK_RIGHT);
    Run(robot);
    EXPECT_EQ(Dlg->ListBox->Items()->Count(), all);
    // A double click on a header folds it; on the header again unfolds it.
    robot.Wait(1000);
    robot.ClickAt(Dlg->ListBox->Handle(), Middle(0), win::WM_LBUTTONDBLCLK);
    Run(robot);
    EXPECT_EQ(Dlg->ListBox->Items()->Count(), folded);
    // Left and Right on a line row change nothing.
    robot.Key(win::VK_DOWN);
    robot.Key(win::VK_RIGHT);
    Run(robot);
    EXPECT_EQ(Dlg->ListBox->Items()->Count(), folded);
    // The menu folds and unfolds every file.
    TRect r = Dlg->ListBox->ItemRect(2);
    robot.ClickAt(Dlg->ListBox->Handle(), Point(40, r.top + 3), win::WM_RBUTTONDOWN);
    robot.ChooseMenu("&Collapse All");
    Run(robot);
    EXPECT_EQ(Dlg->ListBox->Items()->Count(), 3);
    TRobot::Screenshot("/tmp/dc/maindlg-collapsed.png", Dlg->Handle());
    robot.ClickAt(Dlg->ListBox->Handle(), Point(40, r.top + 3), win::WM_RBUTTONDOWN);
    robot.ChooseMenu("&Expand All");
    Run(robot);
    EXPECT_EQ(Dlg->ListBox->Items()->Count(), all);
}

TEST_F(MainDlgTest, TheMatchIsBoldInTheChosenColour) {
    Store->WriteInteger("Interface", "Color", int(clBlue));
    SearchAndShow();
    EXPECT_EQ(Dlg->MatchColor(), clBlue);
    int hit = RowOf(TRowKind::Hit, 3);
    int section = RowOf(TRowKind::Section, 1); // the first is selected
    ASSERT_GE(hit, 0);
    ASSERT_GE(section, 0);
    TRect hr = Dlg->ListBox->ItemRect(hit);
    EXPECT_GT(Count(clBlue, hr), 20) << "the name in the match colour";
    Dlg->ListBox->SetTopIndex(section);
    EXPECT_EQ(Count(clBlue, Dlg->ListBox->ItemRect(section)), 0) << "section keywords in the text colour";
    EXPECT_GT(Count(clWindowText, Dlg->ListBox->ItemRect(section)), 20);
    Dlg->ListBox->SetTopIndex(0);
    EXPECT_EQ(Count(clBlue, Dlg->ListBox->ItemRect(0)), 0) << "a header has no match";
    // Selected: highlight colours, no match colour.
    Dlg->Results().SetItemIndex(hit);
    EXPECT_EQ(Count(clBlue, hr), 0);
    EXPECT_GT(Count(clHighlight, hr), 100);
    // Bold: the name is wider than the same characters drawn plain.
    const std::string& key = Row(hit).Key;
    TCanvas* c = Dlg->ListBox->Canvas();
    c->Font()->Assign(Dlg->ListBox->Font());
    int plain = c->TextWidth(key);
    c->Font()->SetStyle(fsBold);
    int bold = c->TextWidth(key);
    c->Font()->SetStyle(0);
    Dlg->Results().SetItemIndex(0);
    win::HWND h = Dlg->ListBox->Handle();
    win::UpdateWindow(h);
    win::HDC dc = win::GetDC(h);
    int left = 10000, right = -1;
    for (int y = hr.top; y < hr.bottom; ++y)
        for (int x = 0; x < Dlg->ListBox->ClientWidth(); ++x)
            if (TColor(win::GetPixel(dc, x, y)) == TColor(ColorToRGB(clBlue))) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    win::ReleaseDC(h, dc);
    EXPECT_GT(right - left + 1, plain - 3);
    EXPECT_LE(right - left + 1, bold);
    TRobot::Screenshot("/tmp/dc/maindlg-blue.png", Dlg->Handle());
}

TEST_F(MainDlgTest, ARowWithoutItsKeyIsDrawnWholeAndPlain) {
    Store->WriteInteger("Interface", "Color", int(clBlue));
    SearchAndShow();
    TResultsModel& m = Dlg->Results();
    m.ClearResults();
    TProcLine header;
    header.FileName = "C:\\A.PAS";
    header.Kind = TRowKind::FileHeader;
    m.AddRow("C:\\A.PAS", header);
    TProcLine row;
    row.FileName = "C:\\A.PAS";
    row.Line = 7;
    row.Pos = 3;
    row.Key = "Missing";
    m.AddRow("     7  procedure Foo;", row);
    m.RebuildVisibleList();
    Pump();
    TRect r = Dlg->ListBox->ItemRect(1);
    EXPECT_EQ(Count(clBlue, r), 0);
    // The whole row is there, in the text colour: "Foo;" far to the right of the number.
    TCanvas* c = Dlg->ListBox->Canvas();
    int from = Dlg->TextIndent() + 2 + c->TextWidth("     7  procedure ");
    EXPECT_GT(Count(clWindowText, Rect(from, r.top, from + c->TextWidth("Foo;"), r.bottom)), 10);
}

TEST_F(MainDlgTest, TypingSearchesTheRows) {
    SearchAndShow();
    TRobot robot;
    robot.ClickAt(Dlg->ListBox->Handle(), Middle(0));
    robot.Type("strtoint");
    Run(robot);
    EXPECT_EQ(Dlg->Edit->Text(), "strtoint");
    EXPECT_EQ(Dlg->ActiveControl(), Dlg->Edit);
    int sel = Dlg->ListBox->ItemIndex();
    ASSERT_GT(sel, 0);
    std::string text = declsearch::LowerCase(Dlg->ListBox->Items()->Get(sel));
    EXPECT_NE(text.find("strtoint"), std::string::npos);
    for (int i = 0; i < sel; ++i) {
        if (Row(i).IsHeader()) continue;
        EXPECT_EQ(declsearch::LowerCase(Dlg->ListBox->Items()->Get(i)).find("strtoint"), std::string::npos) << i;
    }
    EXPECT_EQ(Dlg->FileNameText->Caption(), ShortFileName(Row(0).FileName)) << "the click set it, not the search";
    // Case sensitive: the lower-case text is in no row; the selection stays.
    Dlg->cbCase->SetChecked(true);
    robot.Type("x");
    Run(robot);
    EXPECT_EQ(Dlg->ListBox->ItemIndex(), sel);
    // Down from the edit box goes to the list.
    robot.Key(win::VK_DOWN);
    Run(robot);
    EXPECT_EQ(Dlg->ActiveControl(), Dlg->ListBox);
    EXPECT_EQ(Dlg->ListBox->ItemIndex(), sel + 1);
}

TEST_F(MainDlgTest, ThePopupListsTheFilesEachTimeAndJumps) {
    SearchAndShow();
    TRobot robot;
    std::vector<std::string> seen;
    robot.ClickAt(Dlg->ListBox->Handle(), Point(40, 5), win::WM_RBUTTONDOWN);
    robot.Do([&] { seen = TRobot::OpenMenuItems(); });
    robot.ChooseMenu(ShortFileName(Units[2]));
    Run(robot);
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[2], "-");
    EXPECT_EQ(seen[3], ShortFileName(Row(0).FileName));
    int sel = Dlg->ListBox->ItemIndex();
    ASSERT_GE(sel, 0);
    EXPECT_TRUE(Row(sel).IsHeader());
    EXPECT_TRUE(declsearch::SameText(Row(sel).FileName, Units[2]));
    EXPECT_EQ(Dlg->FileNameText->Caption(), ShortFileName(Row(sel).FileName));
    // A second search with one file less: the menu follows.
    Dlg->SetProjectUnits({Units[0], Units[1]});
    Dlg->Search(Hooks);
    robot.ClickAt(Dlg->ListBox->Handle(), Point(40, 5), win::WM_RBUTTONDOWN);
    robot.Do([&] { seen = TRobot::OpenMenuItems(); });
    robot.Key(win::VK_ESCAPE);
    Run(robot);
    EXPECT_EQ(seen.size(), 5u);
    EXPECT_EQ(Dlg->ListBoxMnu->Items()->Count(), 5);
}

TEST_F(MainDlgTest, TheChosenRowIsTheOutcome) {
    Dlg->Search(Hooks);
    int hit = RowOf(TRowKind::Hit, 5);
    TProcLine want = Row(hit);
    TRobot robot;
    robot.Do([&] { Dlg->ListBox->SetTopIndex(hit); });
    robot.Do([&] { robot.ClickAt(Dlg->ListBox->Handle(), Middle(hit), win::WM_LBUTTONDBLCLK); });
    EXPECT_EQ(Dlg->ShowModal(), mrOk);
    EXPECT_EQ(Dlg->GotoLine(), want.Line);
    EXPECT_EQ(Dlg->GotoColumn(), want.Pos);
    EXPECT_EQ(Dlg->CurrentFile(), want.FileName);
    EXPECT_EQ(Dlg->NextAction(), 0);
    EXPECT_FALSE(Dlg->Visible());

    // Enter on a file header: its line 1, column 1.
    int header = RowOf(TRowKind::FileHeader, 1);
    Dlg->Results().SetItemIndex(header);
    robot.Key(win::VK_RETURN);
    Dlg->ShowModal();
    EXPECT_TRUE(robot.Done());
    EXPECT_EQ(Dlg->GotoLine(), 1);
    EXPECT_EQ(Dlg->GotoColumn(), 1);
    EXPECT_EQ(Dlg->CurrentFile(), Row(header).FileName);
}

TEST_F(MainDlgTest, CancelOptionsAndHelp) {
    Dlg->Search(Hooks);
    EXPECT_EQ(Dlg->GotoLine(), -1);
    TRobot robot;
    robot.Key(win::VK_F1);
    robot.Do([&] {
        robot.ClickAt(Dlg->TopBar->Handle(), Point(Dlg->btnBack->Left() + 10, Dlg->btnBack->Top() + 10));
    });
    try {
        Dlg->ShowModal();
    } catch (const std::exception& e) {
        FAIL() << e.what() << robot.Describe();
    }
    EXPECT_EQ(Dlg->NextAction(), 2);
    EXPECT_EQ(Dlg->GotoLine(), -1);
    ASSERT_FALSE(RecordedHelpCalls().empty());
    EXPECT_EQ(RecordedHelpCalls().back().Data, 4u);
    robot.Key(win::VK_ESCAPE);
    Dlg->ShowModal();
    EXPECT_TRUE(robot.Done());
    EXPECT_EQ(Dlg->NextAction(), 0);
    EXPECT_EQ(Dlg->GotoLine(), -1);
    // Goto on "Nothing found" does nothing.
    Store->WriteString("Options Last", "Search Text", "NoSuchTextAnywhere");
    Store->WriteBool("Options Last", "Function", false);
    Store->WriteBool("Options Last", "Procedure", false);
    Dlg->Search(Hooks);
    ASSERT_EQ(Dlg->ListBox->Items()->Get(0), "Nothing found");
    Dlg->Show();
    Dlg->BtnFind->Click();
    EXPECT_TRUE(Dlg->Visible());
    EXPECT_EQ(Dlg->GotoLine(), -1);
}

TEST_F(MainDlgTest, PlacementIsStoredAndRestored) {
    Dlg->Show();
    Dlg->SetBounds(40, 30, 640, 300);
    Dlg->Hide();
    EXPECT_EQ(Store->ReadInteger("Main Coords", "Left", 0), 40);
    EXPECT_EQ(Store->ReadInteger("Main Coords", "Width", 0), 640);
    EXPECT_EQ(Store->ReadInteger("Main Coords", "WindowState", -1), 0);
    auto* again = Make<TMainDlg>(nullptr, Store.get());
    EXPECT_EQ(again->Left(), 40);
    EXPECT_EQ(again->Top(), 30);
    EXPECT_EQ(again->Height(), 300);
    delete again;
    Store->WriteInteger("Main Coords", "WindowState", 2);
    again = Make<TMainDlg>(nullptr, Store.get());
    EXPECT_EQ(again->WindowState(), TWindowState::wsMaximized);
    delete again;
    // Never smaller than 580 by 100.
    Dlg->Show();
    Dlg->SetBounds(40, 30, 200, 50);
    win::MINMAXINFO info{};
    win::SendMessage(Dlg->Handle(), win::WM_GETMINMAXINFO, 0, reinterpret_cast<win::LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 580);
    EXPECT_EQ(info.ptMinTrackSize.y, 100);
}

