// List boxes drawn by this library on the window system's own scroll bars; the combo box is in
// ComboBox.cpp.
#include "vcl/ListCtrls.h"

#include "vcl/EditCtrls.h"
#include "vcl/StoredControls.h"

#include "rtl/ScopeGuards.h"
#include "rtl/SysUtils.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace vcl {

using namespace win;

namespace {
TShiftState KeysToShift(WPARAM Keys) {
    return (Keys & MK_SHIFT ? TShiftState(ssShift) : 0u) | (Keys & MK_CONTROL ? TShiftState(ssCtrl) : 0u);
}
} // namespace

// The lines of a list box: every change reaches the box, and inserts and deletes move its
// selection with the line selected.
class TCustomListBox::TListBoxStrings : public rtl::TStringList {
public:
    explicit TListBoxStrings(TCustomListBox* Owner) : FOwner(Owner) {}

    int AddObject(std::string_view s, void* object) override {
        int before = Count();
        int index = Guarded([&] { return rtl::TStringList::AddObject(s, object); });
        if (Count() > before) FOwner->ItemInserted(index);
        Report();
        return index;
    }
    void Insert(int index, std::string_view s) override {
        Guarded([&] { rtl::TStringList::Insert(index, s); return 0; });
        FOwner->ItemInserted(index);
        Report();
    }
    void Delete(int index) override {
        Guarded([&] { rtl::TStringList::Delete(index); return 0; });
        FOwner->ItemDeleted(index);
        Report();
    }
    void Clear() override {
        Guarded([&] { rtl::TStringList::Clear(); return 0; });
        FOwner->FItemIndex = -1;
        FOwner->FTopIndex = 0;
        FOwner->FAnchor = -1;
        FOwner->FSelected.clear();
        Report();
    }

protected:
    void Changed() override {
        if (FDepth == 0 && UpdateCount() == 0) FOwner->ItemsChanged();
        rtl::TStringList::Changed();
    }

private:
    template <class F> int Guarded(F f) {
        ++FDepth;
        rtl::TScopeExit out([this] { --FDepth; });
        return f();
    }
    void Report() {
        if (FDepth == 0 && UpdateCount() == 0) FOwner->ItemsChanged();
    }
    TCustomListBox* FOwner;
    int FDepth = 0;
};

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TCustomControl(AOwner), FItems(std::make_unique<TListBoxStrings>(this)) {
    // Clicks and double clicks come from the notifications the window sends its parent.
    FControlStyle = csSetCaption | csOpaque;
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style |= WS_VSCROLL;
    if (Ctl3D()) Params.ExStyle |= WS_EX_CLIENTEDGE;
    else Params.Style |= WS_BORDER;
}

// --- Lines and heights ----------------------------------------------------------------------

int TCustomListBox::ItemHeight() {
    if (FStyle != TListBoxStyle::lbStandard) return FItemHeight;
    if (FFontHeight > 0) return FFontHeight;
    // Measured on the screen: the box may have no window yet, or no parent to make one in.
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    RECT r{0, 0, 0, 0};
    DrawText(dc, "Wg", 2, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    FFontHeight = std::max(1, int(r.bottom - r.top));
    return FFontHeight;
}

void TCustomListBox::SetIntegralHeight(bool Value) {
    if (Value == FIntegralHeight) return;
    FIntegralHeight = Value;
    FitHeight();
}

void TCustomListBox::FitHeight() {
    if (!FIntegralHeight || FFitting || !HandleAllocated() || FStyle == TListBoxStyle::lbOwnerDrawVariable) return;
    int rest = ClientHeight() % std::max(1, ItemHeight());
    if (rest == 0 || Height() - rest <= 0) return;
    FFitting = true;
    rtl::TScopeExit fitted([this] { FFitting = false; });
    SetBounds(Left(), Top(), Width(), Height() - rest);
}

void TCustomListBox::SetItemHeight(int Value) {
    if (Value <= 0 || Value == FItemHeight) return;
    FItemHeight = Value;
    ItemsChanged();
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    ItemsChanged();
}

void TCustomListBox::SetSorted(bool Value) {
    if (Value == FItems->Sorted()) return;
    // Sorting moves the lines: the selection goes with its line.
    struct TMark {
        std::string Text;
        void* Object;
        bool Current;
    };
    std::vector<TMark> marks;
    for (int i = 0; i < FItems->Count(); ++i)
        if (i == FItemIndex || (FMultiSelect && Selected(i))) marks.push_back({FItems->Get(i), FItems->Objects(i), i == FItemIndex});
    FItems->SetSorted(Value);
    FItemIndex = FAnchor = -1;
    FSelected.assign(std::size_t(FItems->Count()), false);
    std::vector<bool> taken(std::size_t(FItems->Count()), false);
    for (const TMark& m : marks)
        for (int i = 0; i < FItems->Count(); ++i)
            if (!taken[std::size_t(i)] && FItems->Get(i) == m.Text && FItems->Objects(i) == m.Object) {
                taken[std::size_t(i)] = true;
                if (m.Current) FItemIndex = i;
                if (FMultiSelect) FSelected[std::size_t(i)] = true;
                break;
            }
    ItemsChanged();
}

void TCustomListBox::MeasureItem(int Index, int& Height) {
    if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomListBox::Remeasure() {
    FHeights.clear();
    if (FStyle != TListBoxStyle::lbOwnerDrawVariable) return;
    FHeights.resize(std::size_t(FItems->Count()), FItemHeight);
    for (int i = 0; i < FItems->Count(); ++i) {
        MEASUREITEMSTRUCT mis;
        mis.CtlType = ODT_LISTBOX;
        mis.itemID = unsigned(i);
        mis.itemWidth = unsigned(std::max(0, ClientWidth()));
        mis.itemHeight = unsigned(FItemHeight);
        mis.itemData = reinterpret_cast<std::uintptr_t>(FItems->Objects(i));
        LPARAM lp = reinterpret_cast<LPARAM>(&mis);
        bool answered = FParent && FParent->HandleAllocated() && HandleAllocated() &&
                        SendMessage(FParent->Handle(), WM_MEASUREITEM, 0, lp) != 0;
        if (!answered) Perform(CN_MEASUREITEM, 0, lp);
        // A line never gets a height of nothing, or it could never be reached.
        FHeights[std::size_t(i)] = std::clamp(int(mis.itemHeight), 1, 255);
    }
}

int TCustomListBox::HeightOf(int Index) {
    if (FStyle == TListBoxStyle::lbOwnerDrawVariable && Index >= 0 && std::size_t(Index) < FHeights.size())
        return FHeights[std::size_t(Index)];
    return ItemHeight();
}

void TCustomListBox::ItemInserted(int Index) {
    if (FItemIndex >= 0 && Index <= FItemIndex) ++FItemIndex;
    if (FAnchor >= 0 && Index <= FAnchor) ++FAnchor;
    if (std::size_t(Index) <= FSelected.size()) FSelected.insert(FSelected.begin() + Index, false);
}

void TCustomListBox::ItemDeleted(int Index) {
    if (Index == FItemIndex) FItemIndex = -1;
    else if (Index < FItemIndex) --FItemIndex;
    if (Index == FAnchor) FAnchor = -1;
    else if (Index < FAnchor) --FAnchor;
    if (std::size_t(Index) < FSelected.size()) FSelected.erase(FSelected.begin() + Index);
}

void TCustomListBox::SetMultiSelect(bool Value) {
    if (Value == FMultiSelect) return;
    FMultiSelect = Value;
    FSelected.assign(std::size_t(FItems->Count()), false);
    if (Value && FItemIndex >= 0) FSelected[std::size_t(FItemIndex)] = true;
    Invalidate();
}

bool TCustomListBox::Selected(int Index) const {
    if (Index < 0 || Index >= FItems->Count()) throw rtl::EListError("List index out of bounds (" + std::to_string(Index) + ")");
    if (!FMultiSelect) return Index == FItemIndex;
    return std::size_t(Index) < FSelected.size() && FSelected[std::size_t(Index)];
}

void TCustomListBox::SetSelected(int Index, bool Value) {
    if (Index < 0 || Index >= FItems->Count()) throw rtl::EListError("List index out of bounds (" + std::to_string(Index) + ")");
    if (!FMultiSelect) {
        if (Value) SetItemIndex(Index);
        else if (Index == FItemIndex) SetItemIndex(-1);
        return;
    }
    FSelected.resize(std::size_t(FItems->Count()), false);
    if (FSelected[std::size_t(Index)] == Value) return;
    FSelected[std::size_t(Index)] = Value;
    Invalidate();
}

int TCustomListBox::SelCount() const {
    if (!FMultiSelect) return FItemIndex >= 0 ? 1 : 0;
    return int(std::count(FSelected.begin(), FSelected.end(), true));
}

void TCustomListBox::ItemsChanged() {
    Remeasure();
    FitHeight();
    FSelected.resize(std::size_t(FItems->Count()), false);
    if (FAnchor >= FItems->Count()) FAnchor = -1;
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
    FTopIndex = std::clamp(FTopIndex, 0, MaxTopIndex());
    UpdateScrollBar();
    Invalidate();
}

int TCustomListBox::MaxTopIndex() {
    int count = FItems->Count();
    int room = ClientHeight();
    int top = count;
    // The highest top from which the last line is still wholly in view.
    while (top > 0 && room - HeightOf(top - 1) >= 0) room -= HeightOf(--top);
    return std::min(top, std::max(0, count - 1));
}

int TCustomListBox::LastVisible() {
    int room = ClientHeight();
    int i = FTopIndex;
    int last = FTopIndex;
    while (i < FItems->Count() && room - HeightOf(i) >= 0) {
        room -= HeightOf(i);
        last = i++;
    }
    return last;
}

int TCustomListBox::FindString(const std::string& Text, int After, bool Exact) const {
    int count = FItems->Count();
    if (count == 0) return -1;
    int start = After < 0 || After >= count ? count - 1 : After;
    for (int n = 1; n <= count; ++n) {
        int i = (start + n) % count;
        const std::string& line = FItems->Get(i);
        bool match = Exact ? rtl::AnsiSameText(line, Text)
                           : line.size() >= Text.size() && rtl::AnsiSameText(std::string_view(line).substr(0, Text.size()), Text);
        if (match) return i;
    }
    return -1;
}

TRect TCustomListBox::ItemRect(int Index) {
    int y = 0;
    if (Index >= FTopIndex)
        for (int i = FTopIndex; i < Index; ++i) y += HeightOf(i);
    else
        for (int i = Index; i < FTopIndex; ++i) y -= HeightOf(i);
    return Rect(0, y, ClientWidth(), y + HeightOf(Index));
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) {
    TRect client = ClientRect();
    if (Pos.x >= 0 && Pos.x < client.right && Pos.y >= 0) {
        int y = 0;
        for (int i = FTopIndex; i < FItems->Count() && y < client.bottom; ++i) {
            y += HeightOf(i);
            if (Pos.y < y) return i;
        }
    }
    return Existing ? -1 : FItems->Count();
}

// --- Selection and scrolling ------------------------------------------------------------------

void TCustomListBox::SetItemIndex(int Value) {
    if (Value < 0 || Value >= FItems->Count()) Value = -1;
    if (Value == FItemIndex) return;
    FItemIndex = Value;
    if (Value >= 0) MakeVisible(Value);
    Invalidate();
}

void TCustomListBox::SetTopIndex(int Value) {
    Value = std::clamp(Value, 0, MaxTopIndex());
    if (Value == FTopIndex) return;
    FTopIndex = Value;
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::MakeVisible(int Index) {
    if (Index < FTopIndex) {
        SetTopIndex(Index);
        return;
    }
    while (FTopIndex < Index && Index > LastVisible()) {
        int before = FTopIndex;
        SetTopIndex(FTopIndex + 1);
        if (FTopIndex == before) break;
    }
}

void TCustomListBox::UpdateScrollBar() {
    if (!HandleAllocated()) return;
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    int maxTop = MaxTopIndex();
    if (maxTop > 0) {
        int page = std::max(1, LastVisible() - FTopIndex + 1);
        si.nMin = 0;
        si.nMax = maxTop + page - 1;
        si.nPage = unsigned(page);
        si.nPos = FTopIndex;
    }
    SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
}

void TCustomListBox::Scroll(int Code, int Position) {
    int page = std::max(1, LastVisible() - FTopIndex);
    switch (Code) {
    case SB_LINEUP: SetTopIndex(FTopIndex - 1); break;
    case SB_LINEDOWN: SetTopIndex(FTopIndex + 1); break;
    case SB_PAGEUP: SetTopIndex(FTopIndex - page); break;
    case SB_PAGEDOWN: SetTopIndex(FTopIndex + page); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: SetTopIndex(Position); break;
    case SB_TOP: SetTopIndex(0); break;
    case SB_BOTTOM: SetTopIndex(MaxTopIndex()); break;
    default: break;
    }
}

void TCustomListBox::Notify(unsigned Code) {
    if (!HandleAllocated() || !FParent || !FParent->HandleAllocated()) return;
    int id = GetDlgCtrlID(Handle());
    SendMessage(FParent->Handle(), WM_COMMAND, MAKEWPARAM(id, int(Code)), reinterpret_cast<LPARAM>(Handle()));
}

void TCustomListBox::SelectByUser(int Index, bool Always, TShiftState Shift, bool Toggle) {
    if (FItems->Count() == 0) return;
    Index = std::clamp(Index, 0, FItems->Count() - 1);
    if (!FMultiSelect) {
        bool changed = Index != FItemIndex;
        SetItemIndex(Index);
        if (changed || Always) Notify(LBN_SELCHANGE);
        return;
    }
    std::vector<bool> before = FSelected;
    int caret = FItemIndex;
    FSelected.resize(std::size_t(FItems->Count()), false);
    if (FExtendedSelect && (Shift & ssShift)) {
        if (FAnchor < 0) FAnchor = caret < 0 ? Index : caret;
        if (!(Shift & ssCtrl)) FSelected.assign(FSelected.size(), false);
        for (int i = std::min(FAnchor, Index); i <= std::max(FAnchor, Index); ++i) FSelected[std::size_t(i)] = true;
    } else if (Toggle || (FExtendedSelect && (Shift & ssCtrl))) {
        FSelected[std::size_t(Index)] = !FSelected[std::size_t(Index)];
        FAnchor = Index;
    } else if (FExtendedSelect) {
        FSelected.assign(FSelected.size(), false);
        FSelected[std::size_t(Index)] = true;
        FAnchor = Index;
    }
    FItemIndex = Index;
    MakeVisible(Index);
    Invalidate();
    if (Always || caret != Index || before != FSelected) Notify(LBN_SELCHANGE);
}

void TCustomListBox::KeyDown(unsigned& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    int count = FItems->Count();
    if (count == 0) return;
    int cur = FItemIndex;
    int page = std::max(1, LastVisible() - FTopIndex);
    int next;
    switch (Key) {
    case VK_UP: next = cur < 0 ? 0 : cur - 1; break;
    case VK_DOWN: next = cur + 1; break;
    case VK_HOME: next = 0; break;
    case VK_END: next = count - 1; break;
    case VK_PRIOR: next = cur < 0 ? 0 : cur - page; break;
    case VK_NEXT: next = cur < 0 ? 0 : cur + page; break;
    case VK_SPACE:
        if (!FMultiSelect || cur < 0) return;
        SelectByUser(cur, true, Shift, !FExtendedSelect || (Shift & ssCtrl));
        Key = 0;
        return;
    default: return;
    }
    // Ctrl moves only the focus through a multiple selection; without ExtendedSelect the
    // arrows always do.
    if (FMultiSelect && (((Shift & ssCtrl) && !(Shift & ssShift)) || !FExtendedSelect)) {
        FItemIndex = std::clamp(next, 0, count - 1);
        MakeVisible(FItemIndex);
        Invalidate();
    } else {
        SelectByUser(next, false, Shift);
    }
    Key = 0;
}

void TCustomListBox::WMGetDlgCode(TMessage& M) {
    M.Result = DLGC_WANTARROWS;
}

void TCustomListBox::WMSize(TMessage& M) {
    TCustomControl::WMSize(M);
    FitHeight();
    FTopIndex = std::clamp(FTopIndex, 0, MaxTopIndex());
    UpdateScrollBar();
}

void TCustomListBox::CMFontChanged(TMessage& M) {
    TCustomControl::CMFontChanged(M);
    FFontHeight = 0;
    ItemsChanged();
}

// --- Messages ---------------------------------------------------------------------------------

void TCustomListBox::Dispatch(TMessage& M) {
    switch (M.Msg) {
    case LB_ADDSTRING: LBAddString(M); return;
    case LB_INSERTSTRING: LBInsertString(M); return;
    case LB_DELETESTRING: LBDeleteString(M); return;
    case LB_RESETCONTENT: LBResetContent(M); return;
    case LB_GETCOUNT: LBGetCount(M); return;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT: LBFindString(M); return;
    case LB_GETCURSEL: LBGetCurSel(M); return;
    case LB_SETCURSEL: LBSetCurSel(M); return;
    case LB_GETTOPINDEX: LBGetTopIndex(M); return;
    case LB_SETTOPINDEX: LBSetTopIndex(M); return;
    case LB_GETITEMRECT: LBGetItemRect(M); return;
    case LB_ITEMFROMPOINT: LBItemFromPoint(M); return;
    case LB_GETITEMHEIGHT: LBGetItemHeight(M); return;
    case LB_SETITEMHEIGHT: LBSetItemHeight(M); return;
    case LB_GETTEXTLEN: LBGetTextLen(M); return;
    case LB_GETTEXT: LBGetText(M); return;
    case CN_COMMAND: CNCommand(M); return;
    case CN_DRAWITEM: CNDrawItem(M); return;
    case CN_MEASUREITEM: CNMeasureItem(M); return;
    case WM_VSCROLL: WMVScroll(M); return;
    case WM_CREATE: WMCreate(M); return;
    default: TCustomControl::Dispatch(M);
    }
}

bool TCustomListBox::ValidIndex(WPARAM W) const { return int(W) >= 0 && int(W) < FItems->Count(); }

void TCustomListBox::LBAddString(TMessage& M) {
    M.Result = M.LParam ? FItems->Add(reinterpret_cast<const char*>(M.LParam)) : LB_ERR;
}

void TCustomListBox::LBInsertString(TMessage& M) {
    const int count = FItems->Count();
    // -1 appends, as it does for the system's list box.
    int index = int(M.WParam) == -1 ? count : int(M.WParam);
    if (!M.LParam || index < 0 || index > count) {
        M.Result = LB_ERR;
        return;
    }
    // The lines of a sorted box stay sorted, or finding a line in them would fail.
    if (FItems->Sorted()) index = FItems->Add(reinterpret_cast<const char*>(M.LParam));
    else FItems->Insert(index, reinterpret_cast<const char*>(M.LParam));
    M.Result = index;
}

void TCustomListBox::LBDeleteString(TMessage& M) {
    if (!ValidIndex(M.WParam)) {
        M.Result = LB_ERR;
        return;
    }
    FItems->Delete(int(M.WParam));
    M.Result = FItems->Count();
}

void TCustomListBox::LBResetContent(TMessage& M) {
    FItems->Clear();
    M.Result = 0;
}

void TCustomListBox::LBGetCount(TMessage& M) { M.Result = FItems->Count(); }

void TCustomListBox::LBFindString(TMessage& M) {
    M.Result = M.LParam ? FindString(reinterpret_cast<const char*>(M.LParam), int(M.WParam), M.Msg == LB_FINDSTRINGEXACT)
                        : LB_ERR;
}

void TCustomListBox::LBGetCurSel(TMessage& M) { M.Result = FItemIndex; }

void TCustomListBox::LBSetCurSel(TMessage& M) {
    const bool valid = ValidIndex(M.WParam);
    SetItemIndex(int(M.WParam));
    M.Result = valid ? LRESULT(M.WParam) : LB_ERR;
}

void TCustomListBox::LBGetTopIndex(TMessage& M) { M.Result = FTopIndex; }

void TCustomListBox::LBSetTopIndex(TMessage& M) {
    if (!ValidIndex(M.WParam)) {
        M.Result = LB_ERR;
        return;
    }
    SetTopIndex(int(M.WParam));
    M.Result = 0;
}

void TCustomListBox::LBGetItemRect(TMessage& M) {
    if (!ValidIndex(M.WParam) || !M.LParam) {
        M.Result = LB_ERR;
        return;
    }
    *reinterpret_cast<RECT*>(M.LParam) = ItemRect(int(M.WParam));
    M.Result = 1;
}

void TCustomListBox::LBItemFromPoint(TMessage& M) {
    const int count = FItems->Count();
    TPoint p = Point(GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam));
    int index = ItemAtPos(p, true);
    bool outside = index < 0;
    if (outside) index = count == 0 ? 0 : std::clamp(ItemAtPos(p, false), 0, count - 1);
    M.Result = LRESULT(MAKELPARAM(index, outside ? 1 : 0));
}

void TCustomListBox::LBGetItemHeight(TMessage& M) {
    M.Result = FStyle == TListBoxStyle::lbOwnerDrawVariable && ValidIndex(M.WParam) ? HeightOf(int(M.WParam))
                                                                                  : ItemHeight();
}

void TCustomListBox::LBSetItemHeight(TMessage& M) {
    int h = int(LOWORD(std::uintptr_t(M.LParam)));
    if (h <= 0 || h > 255) {
        M.Result = LB_ERR;
        return;
    }
    if (FStyle == TListBoxStyle::lbOwnerDrawVariable) {
        if (!ValidIndex(M.WParam)) {
            M.Result = LB_ERR;
            return;
        }
        FHeights[std::size_t(M.WParam)] = h;
        FTopIndex = std::clamp(FTopIndex, 0, MaxTopIndex());
        UpdateScrollBar();
        Invalidate();
    } else {
        SetItemHeight(h);
    }
    M.Result = 0;
}

void TCustomListBox::LBGetTextLen(TMessage& M) {
    M.Result = ValidIndex(M.WParam) ? LRESULT(FItems->Get(int(M.WParam)).size()) : LB_ERR;
}

void TCustomListBox::LBGetText(TMessage& M) {
    // The buffer takes LB_GETTEXTLEN characters and the closing zero.
    if (!ValidIndex(M.WParam) || !M.LParam) {
        M.Result = LB_ERR;
        return;
    }
    std::string s = FItems->Get(int(M.WParam));
    std::memcpy(reinterpret_cast<char*>(M.LParam), s.c_str(), s.size() + 1);
    M.Result = LRESULT(s.size());
}

void TCustomListBox::CNCommand(TMessage& M) {
    switch (HIWORD(std::uintptr_t(M.WParam))) {
    case LBN_SELCHANGE: Click(); break;
    case LBN_DBLCLK: DblClick(); break;
    }
    M.Result = 0;
}

void TCustomListBox::CNDrawItem(TMessage& M) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(M.LParam);
    TOwnerDrawState state = 0;
    if (dis->itemState & ODS_SELECTED) state |= odSelected;
    if (dis->itemState & ODS_DISABLED) state |= odDisabled;
    if (dis->itemState & ODS_FOCUS) state |= odFocused;
    DrawItem(int(dis->itemID), dis->rcItem, state);
    M.Result = 1;
}

void TCustomListBox::CNMeasureItem(TMessage& M) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(M.LParam);
    int h = int(mis->itemHeight);
    MeasureItem(int(mis->itemID), h);
    mis->itemHeight = unsigned(std::max(0, h));
    M.Result = 1;
}

void TCustomListBox::WMVScroll(TMessage& M) {
    int code = LOWORD(std::uintptr_t(M.WParam));
    int pos = HIWORD(std::uintptr_t(M.WParam));
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
        SCROLLINFO si;
        si.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(Handle(), SB_VERT, &si)) pos = si.nTrackPos;
    }
    Scroll(code, pos);
    M.Result = 0;
}

void TCustomListBox::WMCreate(TMessage& M) {
    DefaultHandler(M);
    UpdateScrollBar();
    FitHeight();
}

void TCustomListBox::WMLButtonDown(TMessage& M) {
    int index = ItemAtPos(Point(GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam)), true);
    FTracking = true;
    SetCapture(Handle());
    if (index >= 0) SelectByUser(index, true, KeysToShift(M.WParam), FMultiSelect && !FExtendedSelect);
    TCustomControl::WMLButtonDown(M);
}

void TCustomListBox::WMMouseMove(TMessage& M) {
    if (FTracking && (M.WParam & MK_LBUTTON)) {
        int y = GET_Y_LPARAM(M.LParam);
        // Dragging past an edge scrolls a line at a time.
        // A drag in a multiple selection marks the lines from where it began; where each
        // click turns a line on and off, a drag does nothing.
        TShiftState shift = FMultiSelect ? TShiftState(ssShift) : 0;
        int index = y < 0 ? (FTopIndex > 0 ? FTopIndex - 1 : -1)
                    : y >= ClientHeight() ? LastVisible() + 1
                                          : ItemAtPos(Point(GET_X_LPARAM(M.LParam), y), true);
        if (index >= 0 && index != FItemIndex && !(FMultiSelect && !FExtendedSelect))
            SelectByUser(index, false, shift);
    }
    TCustomControl::WMMouseMove(M);
}

void TCustomListBox::WMLButtonUp(TMessage& M) {
    if (FTracking) {
        FTracking = false;
        if (GetCapture() == Handle()) ReleaseCapture();
    }
    TCustomControl::WMLButtonUp(M);
}

void TCustomListBox::WMLButtonDblClk(TMessage& M) {
    if (int index = ItemAtPos(Point(GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam)), true); index >= 0) {
        SelectByUser(index, false);
        Notify(LBN_DBLCLK);
    }
    TCustomControl::WMLButtonDblClk(M);
}

// --- Painting ---------------------------------------------------------------------------------

void TCustomListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
    if (FStyle != TListBoxStyle::lbStandard && OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    TCanvas* c = Canvas();
    c->FillRect(Rect);
    if (Index >= 0 && Index < FItems->Count()) c->TextOut(Rect.left + 2, Rect.top, FItems->Get(Index));
}

void TCustomListBox::DrawOne(int Index, const TRect& R) {
    TCanvas* c = Canvas();
    bool selected = IsSelected(Index);
    bool caret = Index == FItemIndex;
    c->Font()->Assign(Font());
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    if (selected) {
        c->Brush()->SetColor(clHighlight);
        c->Font()->SetColor(clHighlightText);
    } else {
        c->Brush()->SetColor(Color());
        if (!Enabled()) c->Font()->SetColor(clGrayText);
    }
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_LISTBOX;
    dis.CtlID = unsigned(GetDlgCtrlID(Handle()));
    dis.itemID = unsigned(Index);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = (selected ? ODS_SELECTED : 0) | (Enabled() ? 0 : ODS_DISABLED) |
                    (caret && Focused() ? ODS_FOCUS : 0);
    dis.hwndItem = Handle();
    dis.hDC = c->Handle();
    dis.rcItem = R;
    dis.itemData = reinterpret_cast<std::uintptr_t>(FItems->Objects(Index));
    LPARAM lp = reinterpret_cast<LPARAM>(&dis);
    // A parent that draws the line itself answers; otherwise the box draws it.
    bool answered = FStyle != TListBoxStyle::lbStandard && FParent && FParent->HandleAllocated() &&
                    SendMessage(FParent->Handle(), WM_DRAWITEM, WPARAM(dis.CtlID), lp) != 0;
    if (!answered) Perform(CN_DRAWITEM, WPARAM(dis.CtlID), lp);
    if ((dis.itemState & ODS_FOCUS) && FStyle == TListBoxStyle::lbStandard) Canvas()->DrawFocusRect(R);
}

void TCustomListBox::Paint() {
    TRect client = ClientRect();
    int y = 0;
    for (int i = FTopIndex; i < FItems->Count() && y < client.bottom; ++i) {
        TRect r = Rect(0, y, client.right, y + HeightOf(i));
        DrawOne(i, r);
        y = r.bottom;
    }
    if (y < client.bottom) {
        Canvas()->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(Rect(0, y, client.right, client.bottom));
    }
}

namespace {

// The properties stored forms keep of list boxes and combo boxes.
struct TListRegistration {
    TListRegistration() {
        using L = TListBox;
        RegisterClass<L>("TListBox", "", With<L>(TextControlProperties<L>(), {
            BooleanProperty<L>("ExtendedSelect", &L::ExtendedSelect, &L::SetExtendedSelect).WithDefault(1),
            BooleanProperty<L>("IntegralHeight", &L::IntegralHeight, &L::SetIntegralHeight).WithDefault(0),
            IntegerProperty<L>("ItemHeight", &L::ItemHeight, &L::SetItemHeight),
            StringsProperty<L>("Items", &L::Items),
            BooleanProperty<L>("MultiSelect", &L::MultiSelect, &L::SetMultiSelect).WithDefault(0),
            BooleanProperty<L>("Sorted", &L::Sorted, &L::SetSorted).WithDefault(0),
            EnumProperty<L>("Style", &L::Style, &L::SetStyle, {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable"})
                .WithDefault(0),
            EventProperty<L>("OnDrawItem", &L::OnDrawItem),
        }));
        using C = TComboBox;
        RegisterClass<C>("TComboBox", "", With<C>(TextControlProperties<C>(), {
            EnumProperty<C>("Style", &C::Style, &C::SetStyle, {"csDropDown", "csSimple", "csDropDownList"}).WithDefault(0),
            IntegerProperty<C>("DropDownCount", &C::DropDownCount, &C::SetDropDownCount).WithDefault(8),
            IntegerProperty<C>("MaxLength", &C::MaxLength, &C::SetMaxLength).WithDefault(0),
            BooleanProperty<C>("Sorted", &C::Sorted, &C::SetSorted).WithDefault(0),
            StringsProperty<C>("Items", &C::Items),
            StringProperty<C>("Text", &C::Text, &C::SetText),
            EventProperty<C>("OnChange", &C::OnChange),
            EventProperty<C>("OnDropDown", &C::OnDropDown),
        }));
    }
} listRegistration;

} // namespace

} // namespace vcl
