#include "testing/UiTest.h"

#include "vcl/ButtonCtrls.h"
#include "vcl/ComCtrls.h"

#include <string>
#include <vector>

using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

win::COLORREF PixelOf(TWinControl* C, int X, int Y) {
    win::HDC dc = win::GetDC(C->Handle());
    win::COLORREF c = win::GetPixel(dc, X, Y);
    win::ReleaseDC(C->Handle(), dc);
    return c;
}

// An options window of three pages, each with a control or two, an OK button under the pages
// and a status bar of two panels.
class PageControlTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = Make<TForm>(Application);
        Form->SetCaption("Options");
        Form->SetBounds(100, 100, 400, 320);
        Pages = new TPageControl(Form);
        Pages->SetName("pgcOptions");
        Pages->SetParent(Form);
        Pages->SetBounds(8, 8, 376, 220);
        Search = AddPage("tabSearch", "&Search Options", 11);
        Files = AddPage("tabFiles", "&File Options", 23);
        Display = AddPage("tabDisplay", "&Display Options", 24);
        Alpha = AddButton(Search, "btnAlpha", "Alpha", 10);
        Beta = AddButton(Search, "btnBeta", "Beta", 40);
        Gamma = AddButton(Files, "btnGamma", "Gamma", 10);
        Delta = AddButton(Display, "btnDelta", "Delta", 10);
        Ok = AddButton(Form, "btnOk", "OK", 0);
        Ok->SetBounds(8, 236, 75, 25);
        Status = new TStatusBar(Form);
        Status->SetName("barStatus");
        Status->SetParent(Form);
        Pages->OnChanging = [this](TObject*, bool& Allow) {
            Log.push_back("changing " + Pages->ActivePage()->Name());
            Allow = AllowChange;
        };
        Pages->OnChange = [this](TObject*) { Log.push_back("change " + Pages->ActivePage()->Name()); };
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    TTabSheet* AddPage(const char* Name, const char* Caption, int Help) {
        auto* page = new TTabSheet(Form);
        page->SetName(Name);
        page->SetPageControl(Pages);
        page->SetCaption(Caption);
        page->SetHelpContext(Help);
        return page;
    }
    TButton* AddButton(TWinControl* Parent, const char* Name, const char* Caption, int Top) {
        auto* b = new TButton(Form);
        b->SetName(Name);
        b->SetParent(Parent);
        b->SetCaption(Caption);
        b->SetBounds(10, Top, 75, 25);
        b->SetTabStop(true);
        return b;
    }
    void Run(TRobot& Robot) {
        for (int i = 0; i < 50 && !Robot.Done(); ++i) Application->ProcessMessages();
        Application->ProcessMessages();
        ASSERT_TRUE(Robot.Done()) << Robot.Describe();
    }
    std::string Focus() {
        TWinControl* c = Form->ActiveControl();
        return c ? c->Name() : "-";
    }
    std::string Active() { return Pages->ActivePage() ? Pages->ActivePage()->Name() : "-"; }
    void ClickTab(TRobot& Robot, int Index) {
        TRect r = Pages->TabRect(Index);
        Robot.ClickAt(Pages->Handle(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }

    TForm* Form = nullptr;
    TPageControl* Pages = nullptr;
    TTabSheet *Search, *Files, *Display;
    TButton *Alpha, *Beta, *Gamma, *Delta, *Ok;
    TStatusBar* Status = nullptr;
    std::vector<std::string> Log;
    bool AllowChange = true;
};

} // namespace

TEST_F(PageControlTest, PagesTurnByCodeClickCtrlTabAndAccelerator) {
    EXPECT_EQ(Active(), "tabSearch"); // the first page made shows at once
    EXPECT_EQ(Pages->PageCount(), 3);
    Pages->SetActivePageIndex(1);
    EXPECT_EQ(Active(), "tabFiles");
    EXPECT_TRUE(Log.empty()); // code turns pages without the events
    std::vector<std::string> seen;
    auto note = [&] { seen.push_back(Active() + "/" + Focus()); };
    TRobot robot;
    ClickTab(robot, 2);
    robot.Do(note);
    robot.Key(win::VK_TAB, false, true);
    robot.Do(note);
    robot.Key(win::VK_TAB, true, true);
    robot.Do(note);
    robot.Key('F', false, false, true);
    robot.Do(note);
    robot.Key(win::VK_LEFT); // the tabs have the focus: the arrows turn them too
    robot.Do(note);
    Run(robot);
    EXPECT_EQ(seen, (std::vector<std::string>{"tabDisplay/pgcOptions", "tabSearch/pgcOptions",
                                             "tabDisplay/pgcOptions", "tabFiles/pgcOptions",
                                             "tabSearch/pgcOptions"}));
    EXPECT_EQ(Log, (std::vector<std::string>{"changing tabFiles", "change tabDisplay", "changing tabDisplay",
                                            "change tabSearch", "changing tabSearch", "change tabDisplay",
                                            "changing tabDisplay", "change tabFiles", "changing tabFiles",
                                            "change tabSearch"}));
    // Only the active page and its controls show.
    EXPECT_TRUE(Search->Showing());
    EXPECT_FALSE(Files->Showing());
    EXPECT_FALSE(win::IsWindowVisible(Gamma->Handle()));
    EXPECT_TRUE(win::IsWindowVisible(Alpha->Handle()));
}

TEST_F(PageControlTest, ARefusedChangeKeepsThePageAndTheFocus) {
    Beta->SetFocus();
    AllowChange = false;
    TRobot robot;
    ClickTab(robot, 2);
    robot.Key(win::VK_TAB, false, true);
    robot.Key('D', false, false, true);
    Run(robot);
    EXPECT_EQ(Active(), "tabSearch");
    EXPECT_EQ(Focus(), "btnBeta");
    EXPECT_EQ(win::GetFocus(), Beta->Handle());
    EXPECT_EQ(Log, (std::vector<std::string>(3, "changing tabSearch")));
}

TEST_F(PageControlTest, TheFocusFollowsToTheNewPageAndTabSkipsHiddenPages) {
    Alpha->SetFocus();
    std::vector<std::string> seen;
    TRobot robot;
    robot.Key(win::VK_TAB, false, true);
    robot.Do([&] { seen.push_back(Focus()); });
    for (int i = 0; i < 4; ++i) {
        robot.Key(win::VK_TAB);
        robot.Do([&] { seen.push_back(Focus()); });
    }
    Run(robot);
    EXPECT_EQ(Active(), "tabFiles");
    // The first control of the new page; then Tab goes round the page control, OK and the page
    // shown, never to a control on a hidden page.
    EXPECT_EQ(seen, (std::vector<std::string>{"btnGamma", "btnOk", "pgcOptions", "btnGamma", "btnOk"}));
}

TEST_F(PageControlTest, HiddenTabsLeaveNoTabRowAndOnlyCodeTurnsThePages) {
    Pages->SetActivePage(Files);
    for (TTabSheet* page : {Search, Files, Display}) page->SetTabVisible(false);
    EXPECT_EQ(Files->TabIndex(), -1);
    TRect d = Pages->DisplayRect();
    EXPECT_EQ(d.top, 4);
    EXPECT_EQ(Files->BoundsRect(), d);
    EXPECT_EQ(d, Rect(4, 4, Pages->Width() - 4, Pages->Height() - 4));
    Gamma->SetFocus();
    TRobot robot;
    robot.Key(win::VK_TAB, false, true);
    robot.Key('D', false, false, true);
    robot.ClickAt(Pages->Handle(), {30, 2});
    Run(robot);
    EXPECT_EQ(Active(), "tabFiles");
    EXPECT_TRUE(Log.empty());
    Gamma->SetFocus();
    Pages->SetActivePage(Display);
    EXPECT_EQ(Active(), "tabDisplay");
    EXPECT_EQ(Focus(), "btnDelta"); // the focus was on the page that went
    EXPECT_EQ(Display->BoundsRect(), d);
    ASSERT_TRUE(TRobot::Screenshot("/tmp/vcl-pages-hidden-tabs.png", Form->Handle()));
    // The frame's highlight runs along the top, where the tab row was.
    EXPECT_EQ(PixelOf(Pages, 100, 1), ColorToRGB(clBtnHighlight));
}

TEST_F(PageControlTest, TheSelectedTabStandsOutAndJoinsItsPage) {
    ASSERT_TRUE(TRobot::Screenshot("/tmp/vcl-pages.png", Form->Handle()));
    win::COLORREF light = ColorToRGB(clBtnHighlight), face = ColorToRGB(clBtnFace);
    TRect sel = Pages->TabRect(0), other = Pages->TabRect(1);
    int frameTop = other.bottom;
    EXPECT_EQ(sel.top, 0);
    EXPECT_EQ(other.top, 2);
    EXPECT_LT(other.left, sel.right); // the raised tab overlaps its neighbour
    int mid = (sel.left + sel.right) / 2, midOther = (other.left + other.right) / 2;
    EXPECT_EQ(PixelOf(Pages, mid, 0), light);
    EXPECT_EQ(PixelOf(Pages, midOther, 0), face);
    EXPECT_EQ(PixelOf(Pages, midOther, 2), light);
    // Under the selected tab the frame's top line is open; under the others it is drawn.
    EXPECT_EQ(PixelOf(Pages, mid, frameTop + 1), face);
    EXPECT_EQ(PixelOf(Pages, midOther, frameTop + 1), light);
    EXPECT_EQ(Pages->IndexOfTabAt(mid, 1), 0);
    EXPECT_EQ(Pages->IndexOfTabAt(midOther, 5), 1);
    EXPECT_EQ(Pages->IndexOfTabAt(midOther, 1), -1);
    EXPECT_EQ(Pages->DisplayRect().top, frameTop + 4);
}

TEST_F(PageControlTest, PagesKeepTheirOrderHelpContextsAndTheActivePageWhenOneGoes) {
    EXPECT_EQ((std::vector<int>{Search->HelpContext(), Files->HelpContext(), Display->HelpContext()}),
              (std::vector<int>{11, 23, 24}));
    Display->SetPageIndex(0);
    EXPECT_EQ(Pages->Pages(0), Display);
    EXPECT_EQ(Search->PageIndex(), 1);
    EXPECT_EQ(Pages->ActivePageIndex(), 1);
    Files->SetTabVisible(false);
    EXPECT_EQ(Display->TabIndex(), 0);
    EXPECT_EQ(Search->TabIndex(), 1);
    EXPECT_EQ(Files->TabIndex(), -1);
    // Ctrl+Tab passes over a page whose tab is hidden.
    Pages->SelectNextPage(true);
    EXPECT_EQ(Active(), "tabDisplay");
    delete Display; // the active page goes: the next one with a tab shows
    EXPECT_EQ(Active(), "tabSearch");
    EXPECT_EQ(Pages->PageCount(), 2);
    Search->SetPageControl(nullptr);
    EXPECT_EQ(Pages->PageCount(), 1);
    EXPECT_EQ(Active(), "-"); // the one left has no tab
    EXPECT_THROW(Pages->Pages(1), rtl::EListError);
    delete Search;
}
