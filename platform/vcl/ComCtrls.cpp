// Tab controls, page controls and status bars in the three-dimensional look of the system.
#include "vcl/ComCtrls.h"

#include "vcl/StoredControls.h"

#include "rtl/SysUtils.h"

#include <algorithm>

namespace vcl {

using namespace win;

namespace {

// Space between a tab's caption and its sides.
constexpr int TabPadding = 6;
// Where the first tab begins; the selected tab stands out this far on each side.
constexpr int TabsLeft = 2;
constexpr int TabRaise = 2;
// The frame and the margin inside it.
constexpr int FrameInset = 4;
// Status panels: the space above them, and between two of them.
constexpr int PanelTop = 2;
constexpr int PanelGap = 2;

void Fill(HDC DC, const TRect& R, TColor Color) {
    HBRUSH brush = CreateSolidBrush(ColorToRGB(Color));
    win::FillRect(DC, &R, brush);
    DeleteObject(brush);
}

// A line from (X1, Y1) up to, but without, (X2, Y2).
void Line(HDC DC, int X1, int Y1, int X2, int Y2, TColor Color) {
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(Color));
    HGDIOBJ old = SelectObject(DC, pen);
    MoveToEx(DC, X1, Y1, nullptr);
    LineTo(DC, X2, Y2);
    SelectObject(DC, old);
    DeleteObject(pen);
}

// The size a caption takes in a font, its '&' markers left out.
SIZE MeasureCaption(TFont* Font, const std::string& Text) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font->Handle());
    RECT r{0, 0, 0, 0};
    std::string text = Text.empty() ? std::string(" ") : Text;
    DrawText(dc, text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteDC(dc);
    return SIZE{Text.empty() ? 0 : r.right - r.left, r.bottom - r.top};
}

// A caption drawn in the font's colour, or embossed grey for a disabled control.
void DrawCaptionText(HDC DC, const std::string& Text, RECT R, unsigned Flags, TFont* Font, bool Enabled) {
    SelectObject(DC, Font->Handle());
    SetBkMode(DC, TRANSPARENT);
    if (!Enabled) {
        RECT shadow = R;
        OffsetRect(&shadow, 1, 1);
        SetTextColor(DC, ColorToRGB(clBtnHighlight));
        DrawText(DC, Text.c_str(), int(Text.size()), &shadow, Flags);
        SetTextColor(DC, ColorToRGB(clBtnShadow));
    } else {
        SetTextColor(DC, ColorToRGB(Font->Color()));
    }
    DrawText(DC, Text.c_str(), int(Text.size()), &R, Flags);
}

bool FocusWithin(TWinControl* Control) {
    if (Control->Focused()) return true;
    HWND focus = GetFocus();
    return focus && Control->HandleAllocated() && IsChild(Control->Handle(), focus);
}

} // namespace

bool TurnPage(TWinControl* Book, TWinControl* OldPage, TWinControl* NewPage) {
    TCustomForm* form = GetParentForm(Book);
    bool focusOnOld = form && form->Showing() && OldPage && form->ActiveControl() &&
                      OldPage->ContainsControl(form->ActiveControl());
    if (focusOnOld) {
        form->SetActiveControl(OldPage);
        if (form->ActiveControl() != OldPage) return false;
    }
    if (NewPage) {
        NewPage->BringToFront();
        NewPage->SetVisible(true);
        if (focusOnOld) form->SetActiveControl(NewPage->CanFocus() ? NewPage : Book);
    }
    if (OldPage) OldPage->SetVisible(false);
    if (focusOnOld && NewPage && form->ActiveControl() == NewPage)
        if (TWinControl* first = NewPage->FindNextControl(nullptr, true, true, false)) first->SetFocus();
    return true;
}

// --- TCustomTabControl ------------------------------------------------------------------------

TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = csAcceptsControls | csDoubleClicks | csOpaque | csClickEvents;
    SetColor(clBtnFace);
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
}

int TCustomTabControl::TabRowHeight() { return MeasureCaption(Font(), "Wg").cy + 6; }

int TCustomTabControl::FrameTop() { return TabCount() > 0 ? TabRaise + TabRowHeight() : 0; }

TRect TCustomTabControl::DisplayRect() {
    TRect c = ClientRect();
    TRect r = Rect(FrameInset, FrameTop() + FrameInset, c.right - FrameInset, c.bottom - FrameInset);
    r.right = std::max(r.left, r.right);
    r.bottom = std::max(r.top, r.bottom);
    return r;
}

TRect TCustomTabControl::TabRect(int Index) {
    int n = TabCount();
    if (Index < 0 || Index >= n) return Rect(0, 0, 0, 0);
    int x = TabsLeft;
    for (int i = 0; i < Index; ++i) x += MeasureCaption(Font(), TabCaption(i)).cx + 2 * TabPadding;
    TRect r = Rect(x, TabRaise, x + MeasureCaption(Font(), TabCaption(Index)).cx + 2 * TabPadding, FrameTop());
    if (Index == SelectedTab()) {
        r.left -= TabRaise;
        r.right += TabRaise;
        r.top -= TabRaise;
        r.bottom += 1;
    }
    return r;
}

int TCustomTabControl::IndexOfTabAt(int X, int Y) {
    POINT p{X, Y};
    int selected = SelectedTab();
    TRect r = TabRect(selected);
    if (selected >= 0 && PtInRect(&r, p)) return selected;
    for (int i = 0; i < TabCount(); ++i) {
        r = TabRect(i);
        if (PtInRect(&r, p)) return i;
    }
    return -1;
}

bool TCustomTabControl::UserSelect(int Index) {
    if (Index < 0 || Index >= TabCount()) return false;
    if (Index == SelectedTab()) return true;
    if (!CanChange(Index)) return false;
    SelectTab(Index);
    Change();
    return true;
}

void TCustomTabControl::TabsChanged() {
    Invalidate();
    if (!IsLoading() && !IsDestroying()) Realign();
}

void TCustomTabControl::AlignControls(TControl* AControl, TRect& R) {
    R = DisplayRect();
    TCustomControl::AlignControls(AControl, R);
}

void TCustomTabControl::DrawTab(HDC DC, int Index, bool Selected) {
    TRect r = TabRect(Index);
    int frameTop = FrameTop();
    // The selected tab runs down over the frame's top lines, so that it joins the page.
    int bottom = Selected ? frameTop + 2 : frameTop;
    Fill(DC, Rect(r.left + 1, r.top + 1, r.right - 2, bottom), Color());
    Line(DC, r.left, bottom, r.left, r.top + 1, clBtnHighlight);
    SetPixel(DC, r.left + 1, r.top + 1, ColorToRGB(clBtnHighlight));
    Line(DC, r.left + 2, r.top, r.right - 2, r.top, clBtnHighlight);
    SetPixel(DC, r.right - 2, r.top + 1, ColorToRGB(cl3DDkShadow));
    Line(DC, r.right - 2, r.top + 2, r.right - 2, bottom, clBtnShadow);
    Line(DC, r.right - 1, r.top + 2, r.right - 1, bottom, cl3DDkShadow);
    RECT text{r.left, r.top, r.right, frameTop};
    std::string caption = TabCaption(Index);
    DrawCaptionText(DC, caption, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE, Font(), Enabled());
    if (Selected && Focused()) {
        SIZE size = MeasureCaption(Font(), caption);
        int cx = (text.left + text.right) / 2, cy = (text.top + text.bottom) / 2;
        RECT focus{cx - size.cx / 2 - 3, cy - size.cy / 2 - 1, 0, 0};
        focus.right = focus.left + size.cx + 6;
        focus.bottom = focus.top + size.cy + 2;
        win::DrawFocusRect(DC, &focus);
    }
}

void TCustomTabControl::Paint() {
    HDC dc = Canvas()->Handle();
    TRect client = ClientRect();
    Fill(dc, client, Color());
    RECT frame{0, FrameTop(), client.right, client.bottom};
    DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT);
    int selected = SelectedTab();
    for (int i = 0; i < TabCount(); ++i)
        if (i != selected) DrawTab(dc, i, false);
    if (selected >= 0 && selected < TabCount()) DrawTab(dc, selected, true);
}

void TCustomTabControl::WndProc(TMessage& M) {
    if (M.Msg == WM_LBUTTONDOWN) {
        int index = IndexOfTabAt(GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam));
        // A refused change leaves the focus where it was, too.
        if (index >= 0 && !UserSelect(index)) {
            TControl::WndProc(M);
            return;
        }
    }
    TCustomControl::WndProc(M);
}

void TCustomTabControl::KeyDown(unsigned& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0 || (Shift & (ssCtrl | ssAlt))) return;
    int selected = SelectedTab(), next;
    if (Key == VK_LEFT || Key == VK_UP) next = selected - 1;
    else if (Key == VK_RIGHT || Key == VK_DOWN) next = selected + 1;
    else return;
    if (selected < 0) next = 0;
    if (next >= 0 && next < TabCount()) UserSelect(next);
    Key = 0;
}

void TCustomTabControl::WMGetDlgCode(TMessage& M) { M.Result = DLGC_WANTARROWS; }

void TCustomTabControl::CMDialogKey(TMessage& M) {
    int count = TabCount();
    if (FCtrlTabTurns && M.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && count > 0 && FocusWithin(this)) {
        bool forward = GetKeyState(VK_SHIFT) >= 0;
        int selected = SelectedTab();
        int next = selected < 0 ? (forward ? 0 : count - 1) : (selected + (forward ? 1 : count - 1)) % count;
        UserSelect(next);
        M.Result = 1;
        return;
    }
    TCustomControl::CMDialogKey(M);
}

void TCustomTabControl::CMDialogChar(TMessage& M) {
    if (CanFocus())
        for (int i = 0; i < TabCount(); ++i)
            if (IsAccel(unsigned(M.WParam), TabCaption(i))) {
                M.Result = 1;
                UserSelect(i);
                return;
            }
    TCustomControl::CMDialogChar(M);
}

void TCustomTabControl::CMEnter(TMessage& M) {
    TCustomControl::CMEnter(M);
    Invalidate();
}

void TCustomTabControl::CMExit(TMessage& M) {
    TCustomControl::CMExit(M);
    Invalidate();
}

void TCustomTabControl::CMFontChanged(TMessage& M) {
    TCustomControl::CMFontChanged(M);
    TabsChanged();
}

void TCustomTabControl::CMEnabledChanged(TMessage& M) {
    TCustomControl::CMEnabledChanged(M);
    Invalidate();
}

// --- TTabControl -------------------------------------------------------------------------------

TTabControl::TTabControl(TComponent* AOwner) : TCustomTabControl(AOwner), FTabs(std::make_unique<rtl::TStringList>()) {
    FTabs->OnChange = [this](rtl::TStringList&) { TabsEdited(); };
}

void TTabControl::TabsEdited() {
    int count = FTabs->Count();
    bool wasEmpty = FLastCount == 0;
    FLastCount = count;
    // A stored form's tab index waits for its tabs.
    if (IsLoading()) return;
    // The first tab is chosen as it comes; a chosen tab that goes leaves none chosen.
    if (FTabIndex >= count) FTabIndex = -1;
    if (FTabIndex < 0 && wasEmpty && count > 0) FTabIndex = 0;
    TabsChanged();
}

void TTabControl::SetTabIndex(int Value) {
    if (IsLoading()) {
        FTabIndex = Value;
        return;
    }
    if (Value < -1 || Value >= FTabs->Count() || Value == FTabIndex) return;
    FTabIndex = Value;
    TabsChanged();
}

bool TTabControl::CanChange(int) {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TTabControl::Change() {
    if (OnChange) OnChange(this);
}

void TTabControl::DefineProperties(TFiler* Filer) {
    TCustomTabControl::DefineProperties(Filer);
    DefineStrings(Filer, "Tabs", *FTabs);
}

void TTabControl::Loaded() {
    TCustomTabControl::Loaded();
    if (FTabIndex < -1 || FTabIndex >= FTabs->Count()) FTabIndex = -1;
    TabsChanged();
}

// --- TTabSheet ---------------------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
    FControlStyle |= csAcceptsControls;
    SetAlign(TAlign::alClient);
    SetVisible(false);
}

TTabSheet::~TTabSheet() {
    Destroying();
    if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value) { SetParent(Value); }

void TTabSheet::SetParent(TWinControl* AParent) {
    auto* pages = dynamic_cast<TPageControl*>(AParent);
    if (FPageControl && FPageControl != pages) FPageControl->RemovePage(this);
    TWinControl::SetParent(AParent);
    if (pages && FPageControl != pages) pages->InsertPage(this);
}

int TTabSheet::PageIndex() const {
    if (!FPageControl) return -1;
    auto& pages = FPageControl->FPages;
    return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int Value) {
    if (FPageControl) FPageControl->MovePage(this, Value);
}

int TTabSheet::TabIndex() const {
    if (!FPageControl || !FTabVisible) return -1;
    auto tabs = FPageControl->VisibleTabs();
    return int(std::find(tabs.begin(), tabs.end(), this) - tabs.begin());
}

void TTabSheet::SetTabVisible(bool Value) {
    if (Value == FTabVisible) return;
    FTabVisible = Value;
    if (FPageControl) FPageControl->TabsChanged();
}

void TTabSheet::CMTextChanged(TMessage& M) {
    TWinControl::CMTextChanged(M);
    if (FPageControl) FPageControl->TabsChanged();
}

// --- TPageControl ------------------------------------------------------------------------------

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) { FCtrlTabTurns = true; }

TPageControl::~TPageControl() {
    Destroying();
    // The pages go with the control's children; none of them need come back to it.
    for (TTabSheet* page : FPages) page->FPageControl = nullptr;
    FPages.clear();
    FActivePage = nullptr;
}

TTabSheet* TPageControl::Pages(int Index) const {
    if (Index < 0 || Index >= PageCount())
        throw rtl::EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FPages[std::size_t(Index)];
}

std::vector<TTabSheet*> TPageControl::VisibleTabs() const {
    std::vector<TTabSheet*> tabs;
    for (TTabSheet* page : FPages)
        if (page->TabVisible()) tabs.push_back(page);
    return tabs;
}

int TPageControl::TabCount() { return int(VisibleTabs().size()); }

std::string TPageControl::TabCaption(int Index) { return VisibleTabs().at(std::size_t(Index))->Caption(); }

int TPageControl::SelectedTab() { return FActivePage ? FActivePage->TabIndex() : -1; }

void TPageControl::SelectTab(int Index) { ChangeActivePage(VisibleTabs().at(std::size_t(Index))); }

bool TPageControl::CanChange(int) {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TPageControl::Change() {
    if (OnChange) OnChange(this);
}

void TPageControl::InsertPage(TTabSheet* Page) {
    FPages.push_back(Page);
    Page->FPageControl = this;
    // Built in code, the first page shows at once; a stored form names its active page itself.
    if (!FActivePage && !IsLoading() && !Page->IsLoading()) ChangeActivePage(Page);
    TabsChanged();
}

void TPageControl::RemovePage(TTabSheet* Page) {
    if (Page == FActivePage) {
        TTabSheet* next = FindNextPage(Page, true, !IsDesigning());
        ChangeActivePage(next == Page ? nullptr : next);
    }
    FPages.erase(std::remove(FPages.begin(), FPages.end(), Page), FPages.end());
    Page->FPageControl = nullptr;
    TabsChanged();
}

void TPageControl::MovePage(TTabSheet* Page, int NewIndex) {
    NewIndex = std::clamp(NewIndex, 0, PageCount() - 1);
    FPages.erase(std::remove(FPages.begin(), FPages.end(), Page), FPages.end());
    FPages.insert(FPages.begin() + NewIndex, Page);
    TabsChanged();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const {
    int count = PageCount();
    if (count == 0) return nullptr;
    auto it = std::find(FPages.begin(), FPages.end(), CurPage);
    int start = it == FPages.end() ? (GoForward ? count - 1 : 0) : int(it - FPages.begin());
    int i = start;
    for (int n = 0; n < count; ++n) {
        i = GoForward ? (i + 1) % count : (i + count - 1) % count;
        TTabSheet* page = FPages[std::size_t(i)];
        if (!CheckTabVisible || page->TabVisible()) return page;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward) {
    TTabSheet* page = FindNextPage(FActivePage, GoForward, true);
    if (page && page != FActivePage && CanChange(page->TabIndex())) {
        ChangeActivePage(page);
        Change();
    }
}

void TPageControl::SetActivePage(TTabSheet* Value) {
    if (Value && Value->FPageControl != this) return;
    ChangeActivePage(Value);
}

int TPageControl::ActivePageIndex() const {
    auto it = std::find(FPages.begin(), FPages.end(), FActivePage);
    return it == FPages.end() ? -1 : int(it - FPages.begin());
}

void TPageControl::SetActivePageIndex(int Value) {
    SetActivePage(Value >= 0 && Value < PageCount() ? FPages[std::size_t(Value)] : nullptr);
}

void TPageControl::ChangeActivePage(TTabSheet* Page) {
    if (Page == FActivePage) return;
    if (TurnPage(this, FActivePage, Page)) FActivePage = Page;
    TabsChanged();
}

void TPageControl::ShowControl(TControl* AControl) {
    if (auto* page = dynamic_cast<TTabSheet*>(AControl); page && page->FPageControl == this) SetActivePage(page);
    TCustomTabControl::ShowControl(AControl);
}

void TPageControl::SetActivePageName(const std::string& Value) {
    if (IsLoading()) {
        FActivePageName = Value;
        return;
    }
    for (TTabSheet* page : FPages)
        if (rtl::SameText(page->Name(), Value)) {
            SetActivePage(page);
            return;
        }
}

void TPageControl::Loaded() {
    TCustomTabControl::Loaded();
    std::string name = FActivePageName;
    FActivePageName.clear();
    if (!name.empty()) SetActivePageName(name);
    Realign();
}

void TPageControl::DefineProperties(TFiler* Filer) {
    TCustomTabControl::DefineProperties(Filer);
    Filer->DefineProperty(
        "ActivePage",
        [this](TReader& Reader) {
            SetActivePageName(Reader.NextValue() == rtl::vaIdent ? Reader.ReadIdent() : Reader.ReadString());
        },
        [this](TWriter& Writer) { Writer.WriteIdent(FActivePage->Name()); },
        FActivePage && !FActivePage->Name().empty());
}

void TPageControl::GetChildren(const std::function<void(TComponent*)>& Proc) const {
    for (TTabSheet* page : FPages) Proc(page);
}

// --- TStatusBar --------------------------------------------------------------------------------

void TStatusPanel::Assign(TPersistent* Source) {
    auto* other = dynamic_cast<TStatusPanel*>(Source);
    if (!other) {
        TCollectionItem::Assign(Source);
        return;
    }
    FText = other->FText;
    FWidth = other->FWidth;
    FAlignment = other->FAlignment;
    FBevel = other->FBevel;
    Changed(false);
}

void TStatusPanel::SetText(const std::string& Value) {
    if (Value == FText) return;
    FText = Value;
    Changed(false);
}

void TStatusPanel::SetWidth(int Value) {
    if (Value == FWidth) return;
    FWidth = Value;
    Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment Value) {
    if (Value == FAlignment) return;
    FAlignment = Value;
    Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel Value) {
    if (Value == FBevel) return;
    FBevel = Value;
    Changed(false);
}

TStatusPanels::TStatusPanels(TStatusBar* StatusBar)
    : TCollection([](TCollection* c) -> TCollectionItem* { return new TStatusPanel(c); }), FStatusBar(StatusBar) {}

void TStatusPanels::Update(TCollectionItem*) { FStatusBar->Invalidate(); }

TStatusBar::TStatusBar(TComponent* AOwner) : TCustomControl(AOwner), FPanels(std::make_unique<TStatusPanels>(this)) {
    FControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks | csOpaque;
    SetColor(clBtnFace);
    SetBounds(0, 0, 150, 19);
    SetAlign(TAlign::alBottom);
}

TStatusBar::~TStatusBar() {
    Destroying();
    FPanels.reset();
}

void TStatusBar::SetSimplePanel(bool Value) {
    if (Value == FSimplePanel) return;
    FSimplePanel = Value;
    Invalidate();
}

void TStatusBar::SetSimpleText(const std::string& Value) {
    if (Value == FSimpleText) return;
    FSimpleText = Value;
    if (FSimplePanel) Invalidate();
}

void TStatusBar::SetSizeGrip(bool Value) {
    if (Value == FSizeGrip) return;
    FSizeGrip = Value;
    Invalidate();
}

TRect TStatusBar::GripRect() {
    auto* form = dynamic_cast<TCustomForm*>(Parent());
    if (!FSizeGrip || !form || form->BorderStyle() != TFormBorderStyle::bsSizeable ||
        form->WindowState() == TWindowState::wsMaximized)
        return Rect(0, 0, 0, 0);
    TRect c = ClientRect();
    int size = GetSystemMetrics(SM_CXVSCROLL);
    return Rect(std::max(0, c.right - size), std::max(0, c.bottom - size), c.right, c.bottom);
}

TRect TStatusBar::PanelRect(int Index) {
    TRect c = ClientRect();
    TRect grip = GripRect();
    int end = grip.right > grip.left ? grip.left : c.right;
    int count = FSimplePanel ? 1 : FPanels->Count();
    if (Index < 0 || Index >= count) return Rect(0, 0, 0, 0);
    if (FSimplePanel) return Rect(0, PanelTop, end, c.bottom);
    // Each panel ends where the widths so far add up to; the last runs to the end.
    int left = 0, right = 0;
    for (int i = 0; i <= Index; ++i) {
        left = i == 0 ? 0 : right + PanelGap;
        right = i == count - 1 ? end : right + FPanels->Items(i)->Width();
    }
    return Rect(left, PanelTop, std::max(left, right), c.bottom);
}

void TStatusBar::DrawPanel(HDC DC, TRect R, const std::string& Text, TAlignment Alignment, TStatusPanelBevel Bevel) {
    if (R.right <= R.left) return;
    if (Bevel == TStatusPanelBevel::pbLowered) Frame3D(DC, &R, ColorToRGB(clBtnShadow), ColorToRGB(clBtnHighlight), 1);
    else if (Bevel == TStatusPanelBevel::pbRaised) Frame3D(DC, &R, ColorToRGB(clBtnHighlight), ColorToRGB(clBtnShadow), 1);
    else InflateRect(&R, -1, -1);
    if (Text.empty()) return;
    RECT text{R.left + 2, R.top, R.right - 2, R.bottom};
    unsigned align = Alignment == TAlignment::taCenter ? DT_CENTER : Alignment == TAlignment::taRightJustify ? DT_RIGHT : DT_LEFT;
    SaveDC(DC);
    IntersectClipRect(DC, R.left, R.top, R.right, R.bottom);
    DrawCaptionText(DC, Text, text, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, Font(), true);
    RestoreDC(DC, -1);
}

void TStatusBar::Paint() {
    HDC dc = Canvas()->Handle();
    Fill(dc, ClientRect(), Color());
    if (FSimplePanel) {
        DrawPanel(dc, PanelRect(0), FSimpleText, TAlignment::taLeftJustify, TStatusPanelBevel::pbLowered);
    } else {
        for (int i = 0; i < FPanels->Count(); ++i) {
            TStatusPanel* p = FPanels->Items(i);
            DrawPanel(dc, PanelRect(i), p->Text(), p->Alignment(), p->Bevel());
        }
    }
    TRect grip = GripRect();
    if (grip.right <= grip.left) return;
    // Diagonal ridges towards the corner: a light line, two dark ones, a gap.
    int right = grip.right, bottom = grip.bottom, size = grip.right - grip.left;
    for (int d = 1; d < size - 1; ++d) {
        int phase = d % 4;
        if (phase == 0) continue;
        TColor c = phase == 1 ? clBtnHighlight : clBtnShadow;
        Line(dc, right - d, bottom - 1, right, bottom - 1 - d, c);
    }
}

void TStatusBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TRect grip = GripRect();
    POINT p{X, Y};
    TCustomForm* form = GetParentForm(this);
    if (Button == TMouseButton::mbLeft && form && PtInRect(&grip, p)) {
        FSizing = true;
        FSizeFrom = ClientToScreen(Point(X, Y));
        FFormWidth = form->Width();
        FFormHeight = form->Height();
        SetCapture(Handle());
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TStatusBar::MouseMove(TShiftState Shift, int X, int Y) {
    if (FSizing) {
        if (TCustomForm* form = GetParentForm(this)) {
            TPoint p = ClientToScreen(Point(X, Y));
            form->SetBounds(form->Left(), form->Top(), FFormWidth + p.x - FSizeFrom.x, FFormHeight + p.y - FSizeFrom.y);
        }
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TStatusBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FSizing && Button == TMouseButton::mbLeft) {
        FSizing = false;
        if (GetCapture() == Handle()) ReleaseCapture();
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TStatusBar::WMSetCursor(TMessage& M) {
    POINT p;
    GetCursorPos(&p);
    TPoint local = ScreenToClient(p);
    TRect grip = GripRect();
    if (PtInRect(&grip, local)) {
        win::SetCursor(LoadCursor(nullptr, IDC_SIZENWSE));
        M.Result = 1;
        return;
    }
    TCustomControl::WMSetCursor(M);
}

void TStatusBar::WMSize(TMessage& M) {
    TCustomControl::WMSize(M);
    Invalidate();
    if (OnResize && !IsLoading()) OnResize(this);
}

void TStatusBar::CMFontChanged(TMessage& M) {
    TCustomControl::CMFontChanged(M);
    Invalidate();
}

// --- Registration for stored forms -----------------------------------------------------------

void RegisterComCtrls() {
    static bool done = false;
    if (done) return;
    done = true;
    using TC = TTabControl;
    RegisterClass<TC>("TTabControl", "", With<TC>(WinControlProperties<TC>(), {
        IntegerProperty<TC>("TabIndex", &TC::TabIndex, &TC::SetTabIndex).WithDefault(-1),
        EventProperty<TC>("OnChange", &TC::OnChange),
    }));
    using S = TTabSheet;
    RegisterClass<S>("TTabSheet", "", With<S>(WinControlProperties<S>(), {
        BooleanProperty<S>("TabVisible", &S::TabVisible, &S::SetTabVisible).WithDefault(1),
    }));
    using PC = TPageControl;
    RegisterClass<PC>("TPageControl", "", With<PC>(WinControlProperties<PC>(), {
        EventProperty<PC>("OnChange", &PC::OnChange),
        EventProperty<PC>("OnChanging", &PC::OnChanging),
    }));
    using SP = TStatusPanel;
    RegisterClass<SP>("TStatusPanel", "", {
        EnumProperty<SP>("Alignment", &SP::Alignment, &SP::SetAlignment, {"taLeftJustify", "taRightJustify", "taCenter"})
            .WithDefault(int(TAlignment::taLeftJustify)),
        EnumProperty<SP>("Bevel", &SP::Bevel, &SP::SetBevel, {"pbNone", "pbLowered", "pbRaised"})
            .WithDefault(int(TStatusPanelBevel::pbLowered)),
        StringProperty<SP>("Text", &SP::Text, &SP::SetText),
        IntegerProperty<SP>("Width", &SP::Width, &SP::SetWidth),
    });
    using B = TStatusBar;
    RegisterClass<B>("TStatusBar", "", With<B>(ControlProperties<B>(), {
        ClassProperty<B>("Panels", &B::Panels),
        BooleanProperty<B>("SimplePanel", &B::SimplePanel, &B::SetSimplePanel).WithDefault(0),
        StringProperty<B>("SimpleText", &B::SimpleText, &B::SetSimpleText),
        BooleanProperty<B>("SizeGrip", &B::SizeGrip, &B::SetSizeGrip).WithDefault(1),
    }));
}

namespace {
struct TComCtrlsRegistration {
    TComCtrlsRegistration() { RegisterComCtrls(); }
} registration;
} // namespace

} // namespace vcl
