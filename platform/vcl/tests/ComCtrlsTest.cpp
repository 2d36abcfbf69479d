#include "testing/StoredText.h"
#include "testing/UiTest.h"

#include "vcl/ButtonCtrls.h"
#include "vcl/ComCtrls.h"
#include "vcl/Notebooks.h"
#include "vcl/Streaming.h"

#include "rtl/FormFiles.h"
#include "rtl/Streams.h"

#include <string>
#include <vector>

using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

using testing_support::ClientPixel;

// Whether any pixel of the rectangle has the colour.
bool HasColour(TWinControl* C, TRect R, TColor Colour) {
    win::COLORREF want = ColorToRGB(Colour);
    for (int y = R.top; y < R.bottom; ++y)
        for (int x = R.left; x < R.right; ++x)
            if (ClientPixel(C, x, y) == want) return true;
    return false;
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
    void Run(TRobot& Robot) { ASSERT_TRUE(testing_support::PlayOut(Robot, 50)) << Robot.Describe(); }
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
    EXPECT_EQ(ClientPixel(Pages, 100, 1), ColorToRGB(clBtnHighlight));
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
    EXPECT_EQ(ClientPixel(Pages, mid, 0), light);
    EXPECT_EQ(ClientPixel(Pages, midOther, 0), face);
    EXPECT_EQ(ClientPixel(Pages, midOther, 2), light);
    // Under the selected tab the frame's top line is open; under the others it is drawn.
    EXPECT_EQ(ClientPixel(Pages, mid, frameTop + 1), face);
    EXPECT_EQ(ClientPixel(Pages, midOther, frameTop + 1), light);
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

TEST_F(PageControlTest, StatusPanelsTakeTheirWidthsAndTheLastRunsToTheGrip) {
    TStatusPanel* page = Status->Panels()->Add();
    page->SetText("Page 1 of 3");
    page->SetWidth(85);
    TStatusPanel* hint = Status->Panels()->Add();
    hint->SetText("Insert the property");
    int w = Status->ClientWidth(), h = Status->ClientHeight();
    EXPECT_EQ(Status->BoundsRect(), Rect(0, Form->ClientHeight() - 19, Form->ClientWidth(), Form->ClientHeight()));
    TRect grip = Status->GripRect();
    EXPECT_EQ(grip, Rect(w - win::GetSystemMetrics(win::SM_CXVSCROLL), h - win::GetSystemMetrics(win::SM_CXVSCROLL), w, h));
    EXPECT_EQ(Status->PanelRect(0), Rect(0, 2, 85, h));
    EXPECT_EQ(Status->PanelRect(1), Rect(87, 2, grip.left, h));
    ASSERT_TRUE(TRobot::Screenshot("/tmp/vcl-status-panels.png", Form->Handle()));
    win::COLORREF shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight), face = ColorToRGB(clBtnFace);
    // Sunken frames: shadow on the left and top, highlight on the right and bottom; a gap between.
    EXPECT_EQ(ClientPixel(Status, 0, 10), shadow);
    EXPECT_EQ(ClientPixel(Status, 40, 2), shadow);
    EXPECT_EQ(ClientPixel(Status, 84, 10), light);
    EXPECT_EQ(ClientPixel(Status, 40, h - 1), light);
    EXPECT_EQ(ClientPixel(Status, 85, 10), face);
    EXPECT_EQ(ClientPixel(Status, 87, 10), shadow);
    EXPECT_EQ(ClientPixel(Status, grip.left - 1, 10), light);
    TColor ink = Status->Font()->Color();
    EXPECT_TRUE(HasColour(Status, Rect(1, 3, 84, h - 1), ink));
    EXPECT_TRUE(HasColour(Status, Rect(88, 3, 200, h - 1), ink));
    EXPECT_FALSE(HasColour(Status, Rect(220, 3, grip.left - 1, h - 1), ink));
    // Right-aligned, the text keeps to the panel's right end.
    page->SetAlignment(TAlignment::taRightJustify);
    Status->Update();
    EXPECT_FALSE(HasColour(Status, Rect(1, 3, 20, h - 1), ink));
    EXPECT_TRUE(HasColour(Status, Rect(60, 3, 84, h - 1), ink));

    // The simple text takes the whole bar, over the panels, which come back when it goes.
    Status->SetSimpleText("Ready");
    Status->SetSimplePanel(true);
    Status->Update();
    EXPECT_EQ(Status->PanelRect(0), Rect(0, 2, grip.left, h));
    EXPECT_EQ(Status->PanelRect(1), Rect(0, 0, 0, 0));
    EXPECT_EQ(ClientPixel(Status, 86, 2), shadow); // one top edge across the old gap
    EXPECT_FALSE(HasColour(Status, Rect(60, 3, grip.left - 1, h - 1), ink));
    ASSERT_TRUE(TRobot::Screenshot("/tmp/vcl-status-simple.png", Form->Handle()));
    Status->SetSimplePanel(false);
    Status->Update();
    EXPECT_TRUE(HasColour(Status, Rect(88, 3, 200, h - 1), ink));

    // On a form that cannot be sized there is no grip: the last panel runs to the end.
    Form->SetBorderStyle(TFormBorderStyle::bsDialog);
    EXPECT_EQ(Status->GripRect(), Rect(0, 0, 0, 0));
    EXPECT_EQ(Status->PanelRect(1).right, Status->ClientWidth());
}

TEST_F(PageControlTest, DraggingTheGripSizesTheForm) {
    int w = Form->Width(), h = Form->Height();
    TRect grip = Status->GripRect();
    TRobot robot;
    robot.Drag(Status->Handle(), {grip.left + 8, grip.top + 8}, {grip.left + 38, grip.top + 28});
    robot.Drag(Status->Handle(), {40, 8}, {80, 30}); // elsewhere on the bar nothing happens
    Run(robot);
    EXPECT_EQ(Form->Width(), w + 30);
    EXPECT_EQ(Form->Height(), h + 20);
    EXPECT_EQ(Status->BoundsRect(), Rect(0, Form->ClientHeight() - 19, Form->ClientWidth(), Form->ClientHeight()));
    EXPECT_EQ(win::GetCapture(), nullptr);
}

TEST_F(PageControlTest, TheFormRoutesApplicationHintsToItsStatusBar) {
    Status->Panels()->Add()->SetWidth(85);
    Status->Panels()->Add();
    Ok->SetHint("Insert|Insert the property");
    Alpha->SetHint("Alpha");
    Application->OnHint = [this](TObject*) { Status->Panels()->Items(1)->SetText(Application->Hint()); };
    std::vector<std::string> seen;
    TRobot robot;
    robot.MoveTo(TBy::Name("btnOk"));
    robot.Do([&] { seen.push_back(Status->Panels()->Items(1)->Text()); });
    robot.MoveTo(TBy::Name("btnAlpha"));
    robot.Do([&] { seen.push_back(Status->Panels()->Items(1)->Text()); });
    robot.MoveTo(TBy::Name("btnBeta"));
    robot.Do([&] { seen.push_back(Status->Panels()->Items(1)->Text()); });
    Run(robot);
    Application->OnHint = nullptr;
    EXPECT_EQ(seen, (std::vector<std::string>{"Insert the property", "Alpha", ""}));
}

namespace {

// The editor window's layout: a tab control filling the form over a status bar of three panels,
// with a control filling the tab control.
class TabControlTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = Make<TForm>(Application);
        Form->SetCaption("Quillo");
        Form->SetBounds(20, 20, 420, 260);
        Status = new TStatusBar(Form);
        Status->SetParent(Form);
        const struct {
            const char* Text;
            int Width;
            TAlignment Alignment;
        } panels[] = {{"249:1", 80, TAlignment::taCenter}, {"Modified", 80, TAlignment::taCenter}, {"Overwrite", 50, TAlignment::taLeftJustify}};
        for (auto& p : panels) {
            TStatusPanel* panel = Status->Panels()->Add();
            panel->SetText(p.Text);
            panel->SetWidth(p.Width);
            panel->SetAlignment(p.Alignment);
        }
        Status->SetSimpleText("Insert");
        Tabs = new TTabControl(Form);
        Tabs->SetName("TabControl1");
        Tabs->SetParent(Form);
        Tabs->SetAlign(TAlign::alClient);
        Inner = new TButton(Form);
        Inner->SetName("Editor1");
        Inner->SetParent(Tabs);
        Inner->SetAlign(TAlign::alClient);
        Tabs->OnChanging = [this](TObject*, bool& Allow) {
            Log.push_back("changing " + std::to_string(Tabs->TabIndex()));
            Allow = AllowChange;
        };
        Tabs->OnChange = [this](TObject*) { Log.push_back("change " + std::to_string(Tabs->TabIndex())); };
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    void Run(TRobot& Robot) { ASSERT_TRUE(testing_support::PlayOut(Robot, 50)) << Robot.Describe(); }

    TForm* Form = nullptr;
    TStatusBar* Status = nullptr;
    TTabControl* Tabs = nullptr;
    TButton* Inner = nullptr;
    std::vector<std::string> Log;
    bool AllowChange = true;
};

} // namespace

TEST_F(TabControlTest, TabsAboveAControlThatFillsTheRest) {
    EXPECT_EQ(Tabs->TabIndex(), -1);
    EXPECT_EQ(Inner->BoundsRect(), Rect(4, 4, Tabs->Width() - 4, Tabs->Height() - 4));
    Tabs->Tabs()->Add("PROJECT.DPR");
    EXPECT_EQ(Tabs->TabIndex(), 0); // the first tab is chosen as it comes
    EXPECT_EQ(Inner->BoundsRect(), Tabs->DisplayRect());
    EXPECT_GT(Tabs->DisplayRect().top, 20);
    EXPECT_EQ(Tabs->BoundsRect(), Rect(0, 0, Form->ClientWidth(), Form->ClientHeight() - 19));
    ASSERT_TRUE(TRobot::Screenshot("/tmp/vcl-tab-control.png", Form->Handle()));

    Tabs->Tabs()->SetStrings(0, "UNIT1.PAS");
    Tabs->Tabs()->Add("UNIT2.PAS");
    Tabs->Tabs()->Add("UNIT3.PAS");
    EXPECT_EQ(Tabs->TabIndex(), 0);
    TRobot robot;
    TRect r = Tabs->TabRect(2);
    robot.ClickAt(Tabs->Handle(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    robot.Key(win::VK_LEFT);
    robot.Do([&] { AllowChange = false; });
    robot.Key(win::VK_LEFT);
    Run(robot);
    EXPECT_EQ(Tabs->TabIndex(), 1);
    EXPECT_EQ(Log, (std::vector<std::string>{"changing 0", "change 2", "changing 2", "change 1", "changing 1"}));

    Tabs->SetTabIndex(7); // out of range: ignored
    EXPECT_EQ(Tabs->TabIndex(), 1);
    Tabs->Tabs()->Delete(2);
    EXPECT_EQ(Tabs->TabIndex(), 1);
    Tabs->Tabs()->Delete(1); // the chosen tab goes: none is chosen
    EXPECT_EQ(Tabs->TabIndex(), -1);
    Tabs->Tabs()->Clear();
    EXPECT_EQ(Inner->BoundsRect(), Rect(4, 4, Tabs->Width() - 4, Tabs->Height() - 4));
}

namespace {

// A form of pages and panels written as a form file is stored, then read into a new form.
class StoredPagesTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        RegisterComCtrls();
        RegisterNotebooks();
    }
};

} // namespace

TEST_F(StoredPagesTest, PagesPanelsAndNotebooksComeBack) {
    auto* written = Make<TForm>(Application);
    written->SetName("frmStored");
    auto* pages = new TPageControl(written);
    pages->SetName("pgcMain");
    pages->SetParent(written);
    auto* one = new TTabSheet(written);
    one->SetName("tabOne");
    one->SetPageControl(pages);
    one->SetCaption("&One");
    one->SetHelpContext(11);
    auto* two = new TTabSheet(written);
    two->SetName("tabTwo");
    two->SetPageControl(pages);
    two->SetCaption("Two");
    two->SetTabVisible(false);
    pages->SetActivePage(two);
    auto* book = new TNotebook(written);
    book->SetName("nbkInner");
    book->SetParent(one);
    book->Pages()->SetStrings(0, "First");
    book->Pages()->Add("Second");
    book->SetPageIndex(1);
    auto* tabbed = new TTabbedNotebook(written);
    tabbed->SetName("nbkTabbed");
    tabbed->SetParent(two);
    tabbed->Pages()->Add("&Advanced");
    auto* files = new TTabControl(written);
    files->SetName("tbcFiles");
    files->SetParent(static_cast<TWinControl*>(book->Pages()->Objects(1)));
    files->Tabs()->SetCommaText("A.PAS,B.PAS");
    files->SetTabIndex(1);
    auto* bar = new TStatusBar(written);
    bar->SetName("barStatus");
    bar->SetParent(written);
    TStatusPanel* first = bar->Panels()->Add();
    first->SetText("Page 1 of 3");
    first->SetWidth(85);
    first->SetAlignment(TAlignment::taCenter);
    first->SetBevel(TStatusPanelBevel::pbRaised);
    bar->Panels()->Add();
    bar->SetSimpleText("Ready");
    bar->SetSizeGrip(false);

    rtl::TStringStream binary;
    WriteComponentToStream(written, binary);
    const std::string text = testing_support::BinaryAsText(binary);
    delete written;
    for (const char* part : {"object pgcMain: TPageControl", "ActivePage = tabTwo", "object tabOne: TTabSheet",
                             "HelpContext = 11", "TabVisible = False", "object nbkInner: TNotebook",
                             "object TPage", "Caption = 'Second'", "PageIndex = 1", "Tabs.Strings = (",
                             "Panels = <", "Text = 'Page 1 of 3'", "Alignment = taCenter", "Bevel = pbRaised",
                             "Width = 85", "SimpleText = 'Ready'", "SizeGrip = False"})
        EXPECT_NE(text.find(part), std::string::npos) << part << " in\n" << text;

    auto* read = Make<TForm>(Application);
    binary.SetPosition(0);
    ReadComponentFromStream(binary, read);
    auto* pc = dynamic_cast<TPageControl*>(read->FindComponent("pgcMain"));
    ASSERT_NE(pc, nullptr);
    ASSERT_EQ(pc->PageCount(), 2);
    EXPECT_EQ(pc->Pages(0)->Caption(), "&One");
    EXPECT_EQ(pc->Pages(0)->HelpContext(), 11);
    EXPECT_FALSE(pc->Pages(1)->TabVisible());
    EXPECT_EQ(pc->ActivePage(), pc->Pages(1));
    EXPECT_FALSE(pc->Pages(0)->Visible());
    auto* nb = dynamic_cast<TNotebook*>(read->FindComponent("nbkInner"));
    ASSERT_NE(nb, nullptr);
    EXPECT_EQ(nb->Pages()->CommaText(), "First,Second");
    EXPECT_EQ(nb->ActivePage(), "Second");
    EXPECT_EQ(static_cast<TComponent*>(nb->Pages()->Objects(0))->Owner(), nb); // the notebook owns its pages
    auto* tb = dynamic_cast<TTabbedNotebook*>(read->FindComponent("nbkTabbed"));
    ASSERT_NE(tb, nullptr);
    EXPECT_EQ(tb->Pages()->CommaText(), "Default,&Advanced");
    EXPECT_EQ(tb->PageIndex(), 0);
    auto* tc = dynamic_cast<TTabControl*>(read->FindComponent("tbcFiles"));
    ASSERT_NE(tc, nullptr);
    EXPECT_EQ(tc->Parent(), nb->Pages()->Objects(1));
    EXPECT_EQ(tc->Tabs()->CommaText(), "A.PAS,B.PAS");
    EXPECT_EQ(tc->TabIndex(), 1);
    auto* sb = dynamic_cast<TStatusBar*>(read->FindComponent("barStatus"));
    ASSERT_NE(sb, nullptr);
    ASSERT_EQ(sb->Panels()->Count(), 2);
    EXPECT_EQ(sb->Panels()->Items(0)->Text(), "Page 1 of 3");
    EXPECT_EQ(sb->Panels()->Items(0)->Width(), 85);
    EXPECT_EQ(sb->Panels()->Items(0)->Alignment(), TAlignment::taCenter);
    EXPECT_EQ(sb->Panels()->Items(0)->Bevel(), TStatusPanelBevel::pbRaised);
    EXPECT_EQ(sb->Panels()->Items(1)->Width(), 50);
    EXPECT_EQ(sb->SimpleText(), "Ready");
    EXPECT_FALSE(sb->SizeGrip());
    // Written again, the form reads the same.
    rtl::TStringStream again;
    WriteComponentToStream(read, again);
    EXPECT_EQ(testing_support::BinaryAsText(again), text);
    delete read;
}

TEST_F(StoredPagesTest, ABadCollectionValueIsRefusedAndNothingIsLeftBehind) {
    std::string form = "object barStatus: TStatusBar\n  Panels = <\n    item\n      Width = 85\n      Colour = 3\n    end>\nend\n";
    rtl::TStringStream text(form), binary;
    rtl::ObjectTextToBinary(text, binary);
    binary.SetPosition(0);
    EXPECT_THROW(ReadComponentFromStream(binary, nullptr), rtl::EReadError);
    form = "object barStatus: TStatusBar\n  Panels = 'text'\nend\n";
    rtl::TStringStream text2(form), binary2;
    rtl::ObjectTextToBinary(text2, binary2);
    binary2.SetPosition(0);
    EXPECT_THROW(ReadComponentFromStream(binary2, nullptr), rtl::EReadError);
}
