#include "testing/UiTest.h"

#include "vcl/ListCtrls.h"
#include "vcl/StdCtrls.h"

#include <string>
#include <vector>

using namespace vcl;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

// A parent that records the list-box notifications it gets, then lets them go back to the box.
class TRecorder : public TCustomControl {
public:
    explicit TRecorder(TComponent* AOwner) : TCustomControl(AOwner) { FControlStyle |= csAcceptsControls; }
    std::vector<unsigned> Codes;

protected:
    void Dispatch(TMessage& M) override {
        if (M.Msg == win::WM_COMMAND) Codes.push_back(win::HIWORD(std::uintptr_t(M.WParam)));
        TCustomControl::Dispatch(M);
    }
};

class ListBoxTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = Make<TForm>(Application);
        Form->SetBounds(50, 50, 300, 260);
        Holder = Make<TRecorder>(Form);
        Holder->SetParent(Form);
        Holder->SetBounds(0, 0, 280, 220);
        List = Make<TListBox>(Form);
        List->SetName("lbxFiles");
        List->SetParent(Holder);
        List->SetBounds(10, 10, 150, 100);
        List->OnClick = [this](TObject*) { ++Clicks; };
        List->OnDblClick = [this](TObject*) { ++DblClicks; };
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    void Fill(int N) {
        for (int i = 0; i < N; ++i) List->Items()->Add("Item " + std::to_string(i));
    }
    void Run(TRobot& Robot) { testing_support::PlayOut(Robot, 40); }
    win::LRESULT Send(unsigned Msg, win::WPARAM W, win::LPARAM L) {
        return win::SendMessage(List->Handle(), Msg, W, L);
    }
    win::POINT CentreOf(int Index) {
        TRect r = List->ItemRect(Index);
        return win::POINT{r.left + 20, (r.top + r.bottom) / 2};
    }

    TForm* Form = nullptr;
    TRecorder* Holder = nullptr;
    TListBox* List = nullptr;
    int Clicks = 0, DblClicks = 0;
};

std::string TextAt(win::HWND Wnd, int Index) {
    auto len = win::SendMessage(Wnd, LB_GETTEXTLEN, win::WPARAM(Index), 0);
    if (len < 0) return "<err>";
    std::string s(std::size_t(len) + 1, '\0');
    win::SendMessage(Wnd, LB_GETTEXT, win::WPARAM(Index), reinterpret_cast<win::LPARAM>(s.data()));
    s.resize(std::size_t(len));
    return s;
}

} // namespace

TEST_F(ListBoxTest, MessagesAndItemsShowTheSameLinesAndTheSelectionFollowsItsLine) {
    win::HWND h = List->Handle();
    EXPECT_EQ(Send(LB_ADDSTRING, 0, reinterpret_cast<win::LPARAM>("beta")), 0);
    EXPECT_EQ(Send(LB_ADDSTRING, 0, reinterpret_cast<win::LPARAM>("delta")), 1);
    EXPECT_EQ(Send(LB_INSERTSTRING, 0, reinterpret_cast<win::LPARAM>("alpha")), 0);
    EXPECT_EQ(Send(LB_INSERTSTRING, win::WPARAM(-1), reinterpret_cast<win::LPARAM>("omega")), 3);
    List->Items()->Insert(2, "gamma");
    ASSERT_EQ(Send(LB_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(List->Items()->Text(), "alpha\r\nbeta\r\ngamma\r\ndelta\r\nomega\r\n");
    EXPECT_EQ(TextAt(h, 2), "gamma");

    EXPECT_EQ(Send(LB_SETCURSEL, 3, 0), 3);
    EXPECT_EQ(List->ItemIndex(), 3);
    List->Items()->Insert(0, "zero");         // before the selection: it moves down with its line
    EXPECT_EQ(Send(LB_GETCURSEL, 0, 0), 4);
    EXPECT_EQ(Send(LB_DELETESTRING, 1, 0), 5); // before it again
    EXPECT_EQ(List->ItemIndex(), 3);
    EXPECT_EQ(TextAt(h, List->ItemIndex()), "delta");
    List->Items()->Delete(3);                   // the selected line itself
    EXPECT_EQ(List->ItemIndex(), -1);

    // Bad indexes are refused without touching anything.
    EXPECT_EQ(Send(LB_DELETESTRING, 9, 0), LB_ERR);
    EXPECT_EQ(Send(LB_INSERTSTRING, 9, reinterpret_cast<win::LPARAM>("x")), LB_ERR);
    EXPECT_EQ(Send(LB_ADDSTRING, 0, 0), LB_ERR);
    EXPECT_EQ(Send(LB_GETTEXTLEN, 4, 0), LB_ERR);
    EXPECT_EQ(Send(LB_GETTEXT, 0, 0), LB_ERR);
    EXPECT_EQ(Send(LB_SETCURSEL, 7, 0), LB_ERR);
    EXPECT_EQ(List->ItemIndex(), -1);
    EXPECT_EQ(Send(LB_GETCOUNT, 0, 0), 4);

    List->SetItemIndex(1);
    Send(LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(List->Items()->Count(), 0);
    EXPECT_EQ(List->ItemIndex(), -1);
    EXPECT_EQ(List->TopIndex(), 0);
    EXPECT_TRUE(Holder->Codes.empty()); // changes by code notify nobody
}

TEST_F(ListBoxTest, SortedAddsGoToTheirPlace) {
    List->SetSorted(true);
    for (const char* s : {"pear", "apple", "fig"}) Send(LB_ADDSTRING, 0, reinterpret_cast<win::LPARAM>(s));
    EXPECT_EQ(Send(LB_ADDSTRING, 0, reinterpret_cast<win::LPARAM>("banana")), 1);
    EXPECT_EQ(List->Items()->Text(), "apple\r\nbanana\r\nfig\r\npear\r\n");
    // An insert into a sorted box goes to its place too, so the lines stay sorted.
    EXPECT_EQ(Send(LB_INSERTSTRING, 0, reinterpret_cast<win::LPARAM>("zz")), 4);
    EXPECT_EQ(TextAt(List->Handle(), 4), "zz");
    List->SetItemIndex(1);
    List->SetSorted(false);
    EXPECT_EQ(List->ItemIndex(), 1); // nothing moved
    List->Items()->Add("cherry");
    List->SetItemIndex(5);
    List->SetSorted(true);
    EXPECT_EQ(TextAt(List->Handle(), 2), "cherry");
    EXPECT_EQ(List->ItemIndex(), 2); // the selection goes with its line
}

TEST_F(ListBoxTest, ClicksAndKeysSelectAndNotifyTheParent) {
    Fill(20);
    List->SetFocus();
    int h = List->ItemHeight();
    int visible = List->ClientHeight() / h;
    ASSERT_GT(visible, 3);

    TRobot robot;
    robot.ClickAt(List->Handle(), CentreOf(2));
    Run(robot);
    EXPECT_EQ(List->ItemIndex(), 2);
    EXPECT_EQ(Holder->Codes, std::vector<unsigned>{LBN_SELCHANGE});
    EXPECT_EQ(Clicks, 1);
    EXPECT_TRUE(List->Focused());

    struct {
        unsigned Key;
        int Index;
    } steps[] = {
        {win::VK_DOWN, 3}, {win::VK_UP, 2}, {win::VK_END, 19}, {win::VK_HOME, 0},
        {win::VK_NEXT, visible - 1}, {win::VK_NEXT, 2 * (visible - 1)}, {win::VK_PRIOR, visible - 1},
    };
    for (auto& s : steps) {
        Holder->Codes.clear();
        TRobot keys;
        keys.Key(s.Key);
        Run(keys);
        EXPECT_EQ(List->ItemIndex(), s.Index) << "key " << s.Key;
        EXPECT_EQ(Holder->Codes, std::vector<unsigned>{LBN_SELCHANGE}) << "key " << s.Key;
        // The selection is always in view.
        EXPECT_LE(List->TopIndex(), s.Index);
        EXPECT_LE(List->ItemRect(s.Index).bottom, List->ClientHeight());
    }
    // Keys that do not move the selection say nothing.
    TRobot more;
    more.Key(win::VK_HOME);
    more.Key(win::VK_UP);
    Run(more);
    Holder->Codes.clear();
    TRobot again;
    again.Key(win::VK_UP);
    Run(again);
    EXPECT_EQ(List->ItemIndex(), 0);
    EXPECT_TRUE(Holder->Codes.empty());
    EXPECT_EQ(Clicks, 1 + 7 + 1);
}

TEST_F(ListBoxTest, DoubleClickSelectsAndNotifies) {
    Fill(5);
    TRobot robot;
    robot.ClickAt(List->Handle(), CentreOf(3));
    robot.ClickAt(List->Handle(), CentreOf(3));
    Run(robot);
    EXPECT_EQ(List->ItemIndex(), 3);
    EXPECT_EQ(DblClicks, 1);
    ASSERT_FALSE(Holder->Codes.empty());
    EXPECT_EQ(Holder->Codes.back(), LBN_DBLCLK);
    // Below the last line nothing is selected or double-clicked.
    TRobot below;
    below.ClickAt(List->Handle(), win::POINT{20, List->ClientHeight() - 2});
    below.ClickAt(List->Handle(), win::POINT{20, List->ClientHeight() - 2});
    Run(below);
    EXPECT_EQ(List->ItemIndex(), 3);
    EXPECT_EQ(DblClicks, 1);
}

TEST_F(ListBoxTest, TopIndexScrollsWithinTheLinesAndDrivesTheScrollBar) {
    List->SetStyle(TListBoxStyle::lbOwnerDrawFixed);
    List->SetItemHeight(20);
    List->SetClientHeight(100); // five lines in view
    Fill(12);
    EXPECT_EQ(Send(LB_GETITEMHEIGHT, 0, 0), 20);

    win::SCROLLINFO si;
    si.fMask = win::SIF_ALL;
    ASSERT_TRUE(win::GetScrollInfo(List->Handle(), win::SB_VERT, &si));
    EXPECT_EQ(si.nPage, 5u);
    EXPECT_EQ(si.nMax, 11);

    List->SetTopIndex(100);
    EXPECT_EQ(List->TopIndex(), 7); // the last line at the bottom, no further
    EXPECT_EQ(Send(LB_SETTOPINDEX, 3, 0), 0);
    EXPECT_EQ(Send(LB_GETTOPINDEX, 0, 0), 3);
    EXPECT_EQ(Send(LB_SETTOPINDEX, 12, 0), LB_ERR);

    win::RECT r{};
    ASSERT_EQ(Send(LB_GETITEMRECT, 5, reinterpret_cast<win::LPARAM>(&r)), 1);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.bottom, 60);
    EXPECT_EQ(List->ItemRect(1).top, -40);
    EXPECT_EQ(List->ItemAtPos(Point(5, 45), true), 5);
    EXPECT_EQ(List->ItemAtPos(Point(5, 45), false), 5);
    EXPECT_EQ(win::LOWORD(std::uintptr_t(Send(LB_ITEMFROMPOINT, 0, win::MAKELPARAM(5, 45)))), 5);
    EXPECT_EQ(win::HIWORD(std::uintptr_t(Send(LB_ITEMFROMPOINT, 0, win::MAKELPARAM(5, 45)))), 0);

    struct {
        int Code;
        int Top;
    } scrolls[] = {{win::SB_LINEDOWN, 4}, {win::SB_PAGEDOWN, 7}, {win::SB_LINEDOWN, 7}, {win::SB_LINEUP, 6},
                   {win::SB_PAGEUP, 2}, {win::SB_TOP, 0}, {win::SB_BOTTOM, 7}};
    for (auto& s : scrolls) {
        Send(win::WM_VSCROLL, win::MAKEWPARAM(s.Code, 0), 0);
        EXPECT_EQ(List->TopIndex(), s.Top) << "code " << s.Code;
        EXPECT_EQ(win::GetScrollPos(List->Handle(), win::SB_VERT), s.Top);
    }

    // Past the last line at the top of the client area.
    List->SetTopIndex(7);
    EXPECT_EQ(List->ItemAtPos(Point(5, 99), true), 11);
    List->Items()->Delete(11);
    List->Items()->Delete(10);
    EXPECT_EQ(List->TopIndex(), 5); // no empty room left at the bottom
    EXPECT_EQ(List->ItemAtPos(Point(5, 99), true), 9);

    // Few enough lines to fit: no scrolling and no bar.
    List->Items()->Clear();
    Fill(3);
    List->SetTopIndex(2);
    EXPECT_EQ(List->TopIndex(), 0);
    EXPECT_EQ(List->ItemAtPos(Point(5, 90), true), -1);
    EXPECT_EQ(List->ItemAtPos(Point(5, 90), false), 3);
    EXPECT_EQ(win::HIWORD(std::uintptr_t(Send(LB_ITEMFROMPOINT, 0, win::MAKELPARAM(5, 90)))), 1);
}

TEST_F(ListBoxTest, OwnerDrawFixedDrawsEachVisibleLineInItsRect) {
    List->SetStyle(TListBoxStyle::lbOwnerDrawFixed);
    List->SetItemHeight(18);
    List->SetClientHeight(18 * 4 + 5); // four whole lines and part of a fifth
    Fill(10);
    List->SetTopIndex(2);
    List->SetItemIndex(3);
    struct TCall {
        int Index;
        TRect Rect;
        TOwnerDrawState State;
    };
    std::vector<TCall> calls;
    List->OnDrawItem = [&](TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State) {
        calls.push_back({Index, Rect, State});
        auto* box = static_cast<TListBox*>(Control);
        TCanvas* c = box->Canvas();
        c->Brush()->SetColor(State & odSelected ? clNavy : (Index % 2 ? clSilver : clWhite));
        c->FillRect(Rect);
        c->Font()->SetColor(State & odSelected ? clWhite : clRed);
        c->TextOut(Rect.left + 4, Rect.top + 2, box->Items()->Get(Index));
    };
    List->Repaint();
    ASSERT_EQ(calls.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(calls[std::size_t(i)].Index, 2 + i);
        EXPECT_EQ(calls[std::size_t(i)].Rect, Rect(0, 18 * i, List->ClientWidth(), 18 * i + 18));
        EXPECT_EQ(bool(calls[std::size_t(i)].State & odSelected), 2 + i == 3);
    }
    TRobot::Screenshot("/tmp/vcl-listbox-ownerdraw.png", Form->Handle());

    // The standard style draws the text itself and leaves the event alone.
    calls.clear();
    List->SetStyle(TListBoxStyle::lbStandard);
    List->Repaint();
    EXPECT_TRUE(calls.empty());
    TRobot::Screenshot("/tmp/vcl-listbox-standard.png", Form->Handle());
}

TEST_F(ListBoxTest, OwnerDrawVariableMeasuresEachLine) {
    List->SetStyle(TListBoxStyle::lbOwnerDrawVariable);
    std::vector<int> measured;
    List->OnMeasureItem = [&](TWinControl*, int Index, int& Height) {
        measured.push_back(Index);
        Height = 10 + 5 * Index;
        if (Index == 4) Height = 0; // never nothing: a line stays reachable
    };
    std::vector<std::pair<int, TRect>> drawn;
    List->OnDrawItem = [&](TWinControl*, int Index, TRect Rect, TOwnerDrawState) { drawn.push_back({Index, Rect}); };
    List->SetClientHeight(60);
    Fill(6);
    // Heights 10, 15, 20, 25, 1, 35.
    EXPECT_EQ(List->ItemRect(2), Rect(0, 25, List->ClientWidth(), 45));
    EXPECT_EQ(Send(LB_GETITEMHEIGHT, 3, 0), 25);
    EXPECT_EQ(Send(LB_GETITEMHEIGHT, 4, 0), 1);
    EXPECT_EQ(List->ItemAtPos(Point(3, 50), true), 3);
    EXPECT_GE(measured.size(), 6u);

    List->Repaint();
    ASSERT_EQ(drawn.size(), 4u); // 10 + 15 + 20 reach 45, the fourth starts in view
    EXPECT_EQ(drawn[3].first, 3);
    EXPECT_EQ(drawn[3].second, Rect(0, 45, List->ClientWidth(), 70));

    // The last lines, 25 + 1 + 35 high, do not fit together in 60: the top stops at line 4.
    List->SetTopIndex(99);
    EXPECT_EQ(List->TopIndex(), 4);
    EXPECT_EQ(Send(LB_SETITEMHEIGHT, 5, win::MAKELPARAM(12, 0)), 0);
    EXPECT_EQ(Send(LB_GETITEMHEIGHT, 5, 0), 12);
    EXPECT_EQ(Send(LB_SETITEMHEIGHT, 5, win::MAKELPARAM(0, 0)), LB_ERR);
}

namespace {

class ComboBoxTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = Make<TForm>(Application);
        Form->SetBounds(50, 50, 300, 260);
        Combo = Make<TComboBox>(Form);
        Combo->SetStyle(TComboBoxStyle::csDropDownList);
        Combo->SetName("comboAlias");
        Combo->SetParent(Form);
        Combo->SetBounds(10, 10, 150, 21);
        for (const char* s : {"Default", "Delphi 2", "Tools", "Network"}) Combo->Items()->Add(s);
        Combo->OnChange = [this](TObject*) { Changes.push_back(Combo->ItemIndex()); };
        Form->Show();
        Combo->SetFocus();
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    void Run(TRobot& Robot) { testing_support::PlayOut(Robot, 40); }
    TForm* Form = nullptr;
    TComboBox* Combo = nullptr;
    std::vector<int> Changes;
};

} // namespace

TEST_F(ComboBoxTest, KeysOnTheFaceChooseLinesAndFireChange) {
    Combo->SetItemIndex(1);
    EXPECT_TRUE(Changes.empty()); // by code: no event
    TRobot robot;
    for (unsigned k : {win::VK_DOWN, win::VK_DOWN, win::VK_DOWN, win::VK_HOME, win::VK_UP, win::VK_END})
        robot.Key(k);
    Run(robot);
    // The last Down is past the end and Up at the top changes nothing: no event for them.
    EXPECT_EQ(Changes, (std::vector<int>{2, 3, 0, 3}));
    EXPECT_FALSE(Combo->DroppedDown());
    Combo->SetItemIndex(9);
    EXPECT_EQ(Combo->ItemIndex(), -1);
}

TEST_F(ComboBoxTest, TheListDropsUnderTheFaceAndAClickChoosesALine) {
    Combo->SetItemIndex(0);
    TRobot robot;
    robot.ClickAt(Combo->Handle(), win::POINT{140, 10});
    Run(robot);
    ASSERT_TRUE(Combo->DroppedDown());
    win::HWND list = Combo->List()->Handle();
    EXPECT_TRUE(win::IsWindowVisible(list));
    win::RECT face{}, drop{};
    win::GetWindowRect(Combo->Handle(), &face);
    win::GetWindowRect(list, &drop);
    EXPECT_EQ(drop.top, face.bottom);
    EXPECT_EQ(drop.left, face.left);
    EXPECT_EQ(Combo->List()->ItemIndex(), 0);
    // The form keeps the activation and the face the focus.
    EXPECT_EQ(win::GetActiveWindow(), Form->Handle());
    EXPECT_TRUE(Combo->Focused());
    TRobot::Screenshot("/tmp/vcl-combo-dropped.png");

    TRect line = Combo->List()->ItemRect(2);
    TRobot pick;
    pick.ClickAt(list, win::POINT{10, (line.top + line.bottom) / 2});
    Run(pick);
    EXPECT_FALSE(Combo->DroppedDown());
    EXPECT_FALSE(win::IsWindowVisible(list));
    EXPECT_EQ(Combo->ItemIndex(), 2);
    EXPECT_EQ(Changes, std::vector<int>{2});
    EXPECT_TRUE(Combo->Focused());
}

TEST_F(ComboBoxTest, EscapeCancelsAndEnterAcceptsTheLineMovedTo) {
    // Escape and Enter close the list, not the form through its buttons.
    auto* cancelButton = Make<TButton>(Form);
    cancelButton->SetParent(Form);
    cancelButton->SetBounds(10, 200, 75, 25);
    cancelButton->SetCancel(true);
    int cancels = 0;
    cancelButton->OnClick = [&](TObject*) { ++cancels; };
    Combo->SetItemIndex(1);
    TRobot cancel;
    cancel.Key(win::VK_F4);
    cancel.Key(win::VK_DOWN);
    cancel.Key(win::VK_ESCAPE);
    Run(cancel);
    EXPECT_FALSE(Combo->DroppedDown());
    EXPECT_EQ(Combo->ItemIndex(), 1);
    EXPECT_TRUE(Changes.empty());

    TRobot accept;
    accept.Key(win::VK_DOWN, false, false, true);
    accept.Key(win::VK_DOWN);
    accept.Key(win::VK_DOWN);
    accept.Key(win::VK_RETURN);
    Run(accept);
    EXPECT_FALSE(Combo->DroppedDown());
    EXPECT_EQ(Combo->ItemIndex(), 3);
    EXPECT_EQ(Changes, std::vector<int>{3});
    EXPECT_EQ(cancels, 0);

    // Leaving the face closes the list without a choice.
    Combo->SetDroppedDown(true);
    TRobot away;
    away.Key(win::VK_UP);
    away.Do([&] { cancelButton->SetFocus(); });
    Run(away);
    EXPECT_FALSE(Combo->DroppedDown());
    EXPECT_EQ(Combo->ItemIndex(), 3);
    EXPECT_EQ(Changes, std::vector<int>{3});
}

TEST_F(UiTest, AListBoxTakesLinesBeforeItHasAParentOrAWindow) {
    auto* form = Make<TForm>(Application);
    auto* list = Make<TListBox>(form);
    list->SetBounds(0, 0, 100, 60);
    for (int i = 0; i < 30; ++i) list->Items()->Add("line " + std::to_string(i));
    list->SetItemIndex(25);
    EXPECT_FALSE(list->HandleAllocated());
    EXPECT_GT(list->TopIndex(), 0); // scrolled to the selection already
    list->SetParent(form);
    form->Show();
    win::SCROLLINFO si;
    si.fMask = win::SIF_ALL;
    ASSERT_TRUE(win::GetScrollInfo(list->Handle(), win::SB_VERT, &si));
    EXPECT_EQ(si.nPos, list->TopIndex());
    EXPECT_EQ(win::SendMessage(list->Handle(), LB_GETCURSEL, 0, 0), 25);
    // A larger font makes taller lines.
    int before = list->ItemHeight();
    list->Font()->SetSize(list->Font()->Size() * 2);
    EXPECT_GT(list->ItemHeight(), before);
    delete form;
}

TEST_F(ComboBoxTest, AFormGoesWhileItsListIsDropped) {
    Combo->SetDroppedDown(true);
    ASSERT_TRUE(Combo->DroppedDown());
    delete Form;
    Form = nullptr;
    EXPECT_TRUE(Changes.empty());
}

TEST_F(ListBoxTest, MultipleSelectionByCtrlAndShiftFollowsTheLines) {
    Fill(8);
    List->SetMultiSelect(true);
    List->SetFocus();
    auto press = [&](int Index, unsigned Keys) {
        win::POINT p = CentreOf(Index);
        Send(win::WM_LBUTTONDOWN, win::MK_LBUTTON | Keys, win::MAKELPARAM(p.x, p.y));
        Send(win::WM_LBUTTONUP, Keys, win::MAKELPARAM(p.x, p.y));
    };
    auto selection = [&] {
        std::string s;
        for (int i = 0; i < List->Items()->Count(); ++i) s += List->Selected(i) ? '1' : '0';
        return s;
    };
    press(1, 0);
    press(4, win::MK_SHIFT);
    EXPECT_EQ(selection(), "01111000");
    press(2, win::MK_CONTROL);
    EXPECT_EQ(selection(), "01011000");
    EXPECT_EQ(List->SelCount(), 3);
    EXPECT_EQ(List->ItemIndex(), 2); // the focused line
    press(6, 0);
    EXPECT_EQ(selection(), "00000010");

    TRobot keys;
    keys.Key(win::VK_DOWN, true);
    keys.Key(win::VK_UP, false, true); // Ctrl moves the focus only
    keys.Key(win::VK_UP, false, true);
    keys.Key(win::VK_SPACE, false, true);
    Run(keys);
    EXPECT_EQ(selection(), "00000111");
    EXPECT_EQ(List->ItemIndex(), 5);

    // The selection moves with its lines, and goes with a deleted one.
    List->Items()->Insert(0, "new");
    EXPECT_EQ(selection(), "000000111");
    List->Items()->Delete(6);
    EXPECT_EQ(selection(), "00000011");
    EXPECT_EQ(List->SelCount(), 2);
    List->SetSelected(0, true);
    EXPECT_EQ(List->SelCount(), 3);
    EXPECT_THROW(List->Selected(8), rtl::EListError);

    // Without ExtendedSelect a click turns a line on and off.
    List->SetExtendedSelect(false);
    press(0, 0);
    press(1, 0);
    EXPECT_EQ(selection(), "01000011");
    EXPECT_EQ(Holder->Codes.back(), LBN_SELCHANGE);
}

TEST_F(ListBoxTest, IntegralHeightShowsWholeLinesOnly) {
    Fill(30);
    auto wholeLines = [&] { return List->ClientHeight() % List->ItemHeight() == 0; };
    List->SetBounds(10, 10, 150, 101);
    ASSERT_FALSE(wholeLines()) << "the height must leave part of a line";
    List->SetIntegralHeight(true);
    EXPECT_TRUE(wholeLines());
    EXPECT_GT(List->Height(), 101 - List->ItemHeight());
    EXPECT_LT(List->Height(), 101);
    // A new size and a new line height are fitted again.
    List->SetBounds(10, 10, 150, 150);
    EXPECT_TRUE(wholeLines());
    EXPECT_GT(List->Height(), 150 - List->ItemHeight());
    List->SetStyle(TListBoxStyle::lbOwnerDrawFixed);
    List->SetItemHeight(22);
    EXPECT_TRUE(wholeLines());
    // The last line in view is whole, so scrolling to the end shows it all.
    List->SetTopIndex(100);
    EXPECT_EQ(List->ItemRect(29).bottom, List->ClientHeight());
    // Lines of their own heights cannot all fit: the box keeps its size.
    List->SetStyle(TListBoxStyle::lbOwnerDrawVariable);
    List->SetBounds(10, 10, 150, 101);
    EXPECT_EQ(List->Height(), 101);

    // A box given whole lines before it has a window gets them when it is made, as the
    // search-path order window's list does.
    auto* other = Make<TListBox>(Form);
    other->SetIntegralHeight(true);
    other->SetBounds(10, 120, 370, 199);
    EXPECT_EQ(other->Height(), 199);
    other->SetParent(Holder);
    other->HandleNeeded();
    EXPECT_EQ(other->ClientHeight() % other->ItemHeight(), 0);
    EXPECT_GT(other->Height(), 199 - other->ItemHeight());
}
