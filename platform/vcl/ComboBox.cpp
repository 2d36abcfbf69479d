// The combo box: its face, the drop-down list and the edit part of csDropDown, built on the
// list box and edit control of this library.
#include "vcl/ListCtrls.h"

#include "vcl/EditCtrls.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace vcl {

using namespace win;

namespace {
constexpr int ComboButtonWidth = 16;
}

// The pop-up list of a combo box: a top-level window owned by the face that never takes the
// focus or activation from the form; the face passes it the keys while it is dropped.
class TComboBox::TComboList : public TCustomListBox {
public:
    TComboList(TComboBox* Combo) : TCustomListBox(nullptr), FCombo(Combo) { SetTabStop(false); }
    using TCustomListBox::KeyDown;

protected:
    void CreateParams(TCreateParams& Params) override {
        TCustomListBox::CreateParams(Params);
        Params.Style = (Params.Style & ~DWORD(WS_CHILD)) | WS_POPUP | WS_BORDER;
        Params.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
    }
    void Dispatch(TMessage& M) override {
        if (M.Msg == WM_MOUSEACTIVATE) {
            M.Result = MA_NOACTIVATE;
            return;
        }
        TCustomListBox::Dispatch(M);
        if (M.Msg == WM_LBUTTONUP && ItemAtPos(Point(GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam)), true) >= 0)
            FCombo->CloseUp(true);
    }

private:
    TComboBox* FCombo;
};

// The edit part of csDropDown: an edit window of its own inside the face. The face stays the
// form's active control; its key events and its dialog keys see what is typed here.
class TComboBox::TComboEdit : public TCustomEdit {
public:
    explicit TComboEdit(TComboBox* Combo) : TCustomEdit(nullptr), FCombo(Combo) {
        SetTabStop(false);
        SetParentColor(true);
    }
    using TCustomEdit::SetBuffer;

protected:
    void CreateParams(TCreateParams& Params) override {
        TCustomEdit::CreateParams(Params);
        Params.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
    }
    void Change() override { FCombo->EditChanged(); }
    void KeyDown(unsigned& Key, TShiftState Shift) override {
        FCombo->KeyDown(Key, Shift);
        if (Key != 0) TCustomEdit::KeyDown(Key, Shift);
    }
    void KeyUp(unsigned& Key, TShiftState Shift) override {
        if (FCombo->OnKeyUp) FCombo->OnKeyUp(FCombo, Key, Shift);
    }
    void KeyPress(char& Key) override {
        if (FCombo->OnKeyPress) FCombo->OnKeyPress(FCombo, Key);
        if (Key != 0) TCustomEdit::KeyPress(Key);
    }
    void WMGetDlgCode(TMessage& M) override {
        TCustomEdit::WMGetDlgCode(M);
        // While dropped, Enter and Escape close the list rather than pressing the form's buttons.
        if (FCombo->FDropped) M.Result |= DLGC_WANTALLKEYS;
    }
    void WMSetFocus(TMessage& M) override {
        HWND from = reinterpret_cast<HWND>(M.WParam);
        TCustomEdit::WMSetFocus(M);
        // The form sees the combo box as its focused control, not its part.
        if (TCustomForm* form = FCombo->ParentForm()) form->SetFocusedControl(FCombo);
        if (from != FCombo->Handle()) SelectAll();
        FCombo->Invalidate();
    }
    void WMKillFocus(TMessage& M) override {
        TCustomEdit::WMKillFocus(M);
        FCombo->EditFocusLeft(reinterpret_cast<HWND>(M.WParam));
    }

private:
    TComboBox* FCombo;
};

TComboBox::TComboBox(TComponent* AOwner)
    : TCustomControl(AOwner), FList(std::make_unique<TComboList>(this)), FEdit(std::make_unique<TComboEdit>(this)) {
    FControlStyle = csOpaque | csFixedHeight;
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    FEdit->SetParent(this);
    PlaceEdit();
}

TComboBox::~TComboBox() {
    FDropped = false;
    // The edit part goes first, with the box no longer counting on it.
    FStyle = TComboBoxStyle::csDropDownList;
    FEdit.reset();
    FList.reset();
}

rtl::TStringList* TComboBox::Items() const { return FList->Items(); }
void TComboBox::SetItems(const rtl::TStrings& Value) { FList->SetItems(Value); }
int TComboBox::ItemIndex() const { return FList->ItemIndex(); }
bool TComboBox::Sorted() const { return FList->Sorted(); }
void TComboBox::SetSorted(bool Value) { FList->SetSorted(Value); }
int TComboBox::ItemHeight() const { return FList->ItemHeight(); }
TCustomListBox* TComboBox::List() const { return FList.get(); }
TCustomEdit* TComboBox::EditControl() const { return HasEdit() ? FEdit.get() : nullptr; }

bool TComboBox::Focused() {
    HWND focus = GetFocus();
    if (!focus) return false;
    return (HandleAllocated() && focus == Handle()) || (FEdit && FEdit->HandleAllocated() && focus == FEdit->Handle()) ||
           (FList->HandleAllocated() && focus == FList->Handle());
}

void TComboBox::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
    if (Ctl3D()) Params.ExStyle |= WS_EX_CLIENTEDGE;
    else Params.Style |= WS_BORDER;
}

void TComboBox::SetStyle(TComboBoxStyle Value) {
    if (Value == TComboBoxStyle::csSimple) Value = TComboBoxStyle::csDropDown;
    if (Value == FStyle) return;
    std::string text = GetText();
    bool hadFocus = Focused();
    CloseUp(false);
    FStyle = Value;
    if (HasEdit()) {
        FEdit->SetParent(this);
        PlaceEdit();
        FSettingText = true;
        FEdit->SetBuffer(text, false);
        FSettingText = false;
        if (hadFocus) win::SetFocus(FEdit->Handle());
    } else {
        FEdit->SetParent(nullptr);
        // A typed text that names a line chooses it.
        if (ItemIndex() < 0) SetTextValue(text);
        if (hadFocus && HandleAllocated()) win::SetFocus(Handle());
    }
    Invalidate();
}

void TComboBox::SetMaxLength(int Value) {
    FMaxLength = std::max(0, Value);
    FEdit->SetMaxLength(FMaxLength);
}

int TComboBox::SelStart() { return HasEdit() ? FEdit->SelStart() : 0; }
void TComboBox::SetSelStart(int Value) {
    if (HasEdit()) FEdit->SetSelStart(Value);
}
int TComboBox::SelLength() { return HasEdit() ? FEdit->SelLength() : 0; }
void TComboBox::SetSelLength(int Value) {
    if (HasEdit()) FEdit->SetSelLength(Value);
}
std::string TComboBox::SelText() { return HasEdit() ? FEdit->SelText() : std::string(); }
void TComboBox::SetSelText(const std::string& Value) {
    if (HasEdit()) FEdit->SetSelText(Value);
}
void TComboBox::SelectAll() {
    if (HasEdit()) FEdit->SelectAll();
}

std::string TComboBox::GetText() {
    if (HasEdit()) return FEdit->Text();
    return ItemIndex() >= 0 ? Items()->Get(ItemIndex()) : std::string();
}

void TComboBox::SetTextValue(const std::string& Value) {
    if (!HasEdit()) {
        // A drop-down list shows only its lines: a text that is one of them chooses it.
        if (int i = FList->FindString(Value, -1, true); i >= 0) SetItemIndex(i);
        return;
    }
    FSettingText = true;
    FEdit->SetBuffer(Value, false);
    FSettingText = false;
}

void TComboBox::SetItemIndex(int Value) {
    FList->SetItemIndex(Value);
    if (HasEdit()) ShowItemInEdit();
    Invalidate();
}

void TComboBox::ShowItemInEdit() {
    int i = ItemIndex();
    FSettingText = true;
    FEdit->SetBuffer(i >= 0 ? Items()->Get(i) : std::string(), false);
    FSettingText = false;
    if (FEdit->Focused()) FEdit->SelectAll();
}

void TComboBox::PlaceEdit() {
    if (!HasEdit()) return;
    TRect r = ClientRect();
    FEdit->SetBounds(1, 1, std::max(0, int(r.right) - ComboButtonWidth - 1), std::max(0, int(r.bottom) - 2));
}

void TComboBox::WMSize(TMessage& M) {
    TCustomControl::WMSize(M);
    PlaceEdit();
}

void TComboBox::CMEnabledChanged(TMessage& M) {
    TCustomControl::CMEnabledChanged(M);
    if (FEdit) FEdit->SetEnabled(Enabled());
    Invalidate();
}

void TComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TComboBox::DropDown() {
    if (OnDropDown) OnDropDown(this);
}

void TComboBox::Notify(unsigned Code) {
    // The parent hands the notification back to the box, which then runs its events.
    if (HandleAllocated() && FParent && FParent->HandleAllocated())
        SendMessage(FParent->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle()), int(Code)), LPARAM(Handle()));
    else
        Perform(CN_COMMAND, MAKEWPARAM(0, int(Code)), 0);
}

void TComboBox::EditChanged() {
    if (FSettingText) return;
    // What the user types is no longer the chosen line; the dropped list follows it.
    std::string text = FEdit->Text();
    int match = FDropped && !text.empty() ? FList->FindString(text, -1, false) : -1;
    FList->SetItemIndex(match);
    Notify(CBN_EDITCHANGE);
}

void TComboBox::EditFocusLeft(HWND NewFocus) {
    if (HandleAllocated() && NewFocus == Handle()) return;
    CloseUp(false);
    Invalidate();
}

void TComboBox::ChooseByUser(int Index) {
    if (Items()->Count() == 0) return;
    Index = std::clamp(Index, 0, Items()->Count() - 1);
    if (Index == ItemIndex()) return;
    SetItemIndex(Index);
    Notify(CBN_SELCHANGE);
}

void TComboBox::SetDroppedDown(bool Value) {
    if (Value == FDropped) return;
    if (!Value) {
        CloseUp(false);
        return;
    }
    if (!HandleAllocated() || !Showing()) return;
    Notify(CBN_DROPDOWN);
    FDropped = true;
    if (HasEdit()) {
        // The list opens on the line the edit part names.
        std::string text = FEdit->Text();
        int i = FList->FindString(text, -1, true);
        if (i < 0 && !text.empty()) i = FList->FindString(text, -1, false);
        FList->SetItemIndex(i);
    }
    FStart = ItemIndex();
    FList->Font()->Assign(Font());
    int h = FList->ItemHeight();
    int lines = std::clamp(Items()->Count(), 1, FDropDownCount);
    RECT frame{};
    GetWindowRect(Handle(), &frame);
    FList->SetParentWindow(Handle());
    FList->SetBounds(frame.left, frame.bottom, frame.right - frame.left, lines * h + 2);
    ShowWindow(FList->Handle(), SW_SHOWNA);
    FList->SetTopIndex(std::max(0, ItemIndex()));
    if (!Focused()) SetFocus();
    Invalidate();
}

void TComboBox::CloseUp(bool Accept) {
    if (!FDropped) return;
    FDropped = false;
    int chosen = FList->ItemIndex();
    int start = FStart;
    if (FList->HandleAllocated()) ShowWindow(FList->Handle(), SW_HIDE);
    if (!Accept) FList->SetItemIndex(start);
    Invalidate();
    Notify(CBN_CLOSEUP);
    if (!Accept || chosen < 0) return;
    bool changed = chosen != start;
    if (HasEdit()) {
        changed = changed || FEdit->Text() != Items()->Get(chosen);
        ShowItemInEdit();
    }
    if (changed) Notify(CBN_SELCHANGE);
}

void TComboBox::KeyDown(unsigned& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0) return;
    if (FDropped) {
        bool toList = Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT ||
                      (!HasEdit() && (Key == VK_HOME || Key == VK_END));
        if (Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_F4 || (Key == VK_UP && (Shift & ssAlt)))
            CloseUp(Key != VK_ESCAPE);
        else if (toList)
            static_cast<TComboList*>(FList.get())->KeyDown(Key, Shift);
        else if (HasEdit())
            return; // typing and caret keys stay with the edit part
        Key = 0;
        return;
    }
    bool alt = Shift & ssAlt;
    switch (Key) {
    case VK_F4: SetDroppedDown(true); break;
    case VK_DOWN:
        if (alt) SetDroppedDown(true);
        else ChooseByUser(ItemIndex() + 1);
        break;
    case VK_UP: ChooseByUser(ItemIndex() < 0 ? 0 : ItemIndex() - 1); break;
    case VK_HOME:
        if (HasEdit()) return;
        ChooseByUser(0);
        break;
    case VK_END:
        if (HasEdit()) return;
        ChooseByUser(Items()->Count() - 1);
        break;
    default: return;
    }
    Key = 0;
}

void TComboBox::WMGetDlgCode(TMessage& M) {
    M.Result = DLGC_WANTARROWS | (FDropped ? DLGC_WANTALLKEYS : 0);
}

void TComboBox::Dispatch(TMessage& M) {
    switch (M.Msg) {
    case WM_SETTEXT: WMSetText(M); return;
    case CB_GETEDITSEL: CBGetEditSel(M); return;
    case CB_SETEDITSEL: CBSetEditSel(M); return;
    case CB_LIMITTEXT: CBLimitText(M); return;
    case CB_ADDSTRING: CBAddString(M); return;
    case CB_INSERTSTRING: CBInsertString(M); return;
    case CB_DELETESTRING: CBDeleteString(M); return;
    case CB_RESETCONTENT: CBResetContent(M); return;
    case CB_GETCOUNT: CBGetCount(M); return;
    case CB_GETCURSEL: CBGetCurSel(M); return;
    case CB_SETCURSEL: CBSetCurSel(M); return;
    case CB_GETLBTEXTLEN: CBGetLBTextLen(M); return;
    case CB_GETLBTEXT: CBGetLBText(M); return;
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT: CBFindString(M); return;
    case CB_SELECTSTRING: CBSelectString(M); return;
    case CB_GETITEMDATA: CBGetItemData(M); return;
    case CB_SETITEMDATA: CBSetItemData(M); return;
    case CB_GETITEMHEIGHT: CBGetItemHeight(M); return;
    case CB_SHOWDROPDOWN: CBShowDropDown(M); return;
    case CB_GETDROPPEDSTATE: CBGetDroppedState(M); return;
    case CN_COMMAND: CNCommand(M); return;
    default: TCustomControl::Dispatch(M);
    }
}

bool TComboBox::ValidIndex(WPARAM W) { return int(W) >= 0 && int(W) < Items()->Count(); }

namespace {
std::string TextOf(const TMessage& M) { return std::string(reinterpret_cast<const char*>(M.LParam)); }
} // namespace

void TComboBox::WMSetText(TMessage& M) {
    SetText(M.LParam ? TextOf(M) : std::string());
    M.Result = TRUE;
}

void TComboBox::CBGetEditSel(TMessage& M) {
    if (!HasEdit()) {
        M.Result = CB_ERR;
        return;
    }
    int s = SelStart(), e = s + SelLength();
    if (M.WParam) *reinterpret_cast<DWORD*>(M.WParam) = DWORD(s);
    if (M.LParam) *reinterpret_cast<DWORD*>(M.LParam) = DWORD(e);
    M.Result = MAKELRESULT(std::min(s, 0xFFFF), std::min(e, 0xFFFF));
}

void TComboBox::CBSetEditSel(TMessage& M) {
    if (!HasEdit()) {
        M.Result = CB_ERR;
        return;
    }
    // The low word starts, the high word ends; -1 in either as the edit message takes it.
    int s = SHORT(LOWORD(std::uintptr_t(M.LParam))), e = SHORT(HIWORD(std::uintptr_t(M.LParam)));
    SendMessage(FEdit->Handle(), EM_SETSEL, WPARAM(std::intptr_t(s)), LPARAM(std::intptr_t(e)));
    M.Result = TRUE;
}

void TComboBox::CBLimitText(TMessage& M) {
    if (!HasEdit()) {
        M.Result = CB_ERR;
        return;
    }
    SetMaxLength(int(M.WParam));
    M.Result = TRUE;
}

void TComboBox::CBAddString(TMessage& M) { M.Result = M.LParam ? Items()->Add(TextOf(M)) : CB_ERR; }

void TComboBox::CBInsertString(TMessage& M) {
    const int count = Items()->Count();
    int index = int(M.WParam) == -1 ? count : int(M.WParam);
    if (!M.LParam || index < 0 || index > count) {
        M.Result = CB_ERR;
        return;
    }
    if (Items()->Sorted()) index = Items()->Add(TextOf(M));
    else Items()->Insert(index, TextOf(M));
    M.Result = index;
}

void TComboBox::CBDeleteString(TMessage& M) {
    if (!ValidIndex(M.WParam)) {
        M.Result = CB_ERR;
        return;
    }
    Items()->Delete(int(M.WParam));
    Invalidate();
    M.Result = Items()->Count();
}

void TComboBox::CBResetContent(TMessage& M) {
    Items()->Clear();
    if (HasEdit()) ShowItemInEdit();
    Invalidate();
    M.Result = 0;
}

void TComboBox::CBGetCount(TMessage& M) { M.Result = Items()->Count(); }

void TComboBox::CBGetCurSel(TMessage& M) { M.Result = ItemIndex(); }

void TComboBox::CBSetCurSel(TMessage& M) {
    const bool valid = ValidIndex(M.WParam);
    SetItemIndex(int(M.WParam));
    M.Result = valid ? LRESULT(M.WParam) : CB_ERR;
}

void TComboBox::CBGetLBTextLen(TMessage& M) {
    M.Result = ValidIndex(M.WParam) ? LRESULT(Items()->Get(int(M.WParam)).size()) : CB_ERR;
}

void TComboBox::CBGetLBText(TMessage& M) {
    if (!ValidIndex(M.WParam) || !M.LParam) {
        M.Result = CB_ERR;
        return;
    }
    std::string s = Items()->Get(int(M.WParam));
    std::memcpy(reinterpret_cast<char*>(M.LParam), s.c_str(), s.size() + 1);
    M.Result = LRESULT(s.size());
}

void TComboBox::CBFindString(TMessage& M) {
    M.Result = M.LParam ? FList->FindString(TextOf(M), int(M.WParam), M.Msg == CB_FINDSTRINGEXACT) : CB_ERR;
}

void TComboBox::CBSelectString(TMessage& M) {
    int i = M.LParam ? FList->FindString(TextOf(M), int(M.WParam), false) : -1;
    if (i >= 0) SetItemIndex(i);
    M.Result = i >= 0 ? i : CB_ERR;
}

void TComboBox::CBGetItemData(TMessage& M) {
    M.Result = ValidIndex(M.WParam) ? LRESULT(reinterpret_cast<std::intptr_t>(Items()->Objects(int(M.WParam)))) : CB_ERR;
}

void TComboBox::CBSetItemData(TMessage& M) {
    if (!ValidIndex(M.WParam)) {
        M.Result = CB_ERR;
        return;
    }
    Items()->SetObjects(int(M.WParam), reinterpret_cast<void*>(M.LParam));
    M.Result = TRUE;
}

void TComboBox::CBGetItemHeight(TMessage& M) { M.Result = ItemHeight(); }

void TComboBox::CBShowDropDown(TMessage& M) {
    SetDroppedDown(M.WParam != 0);
    M.Result = TRUE;
}

void TComboBox::CBGetDroppedState(TMessage& M) { M.Result = FDropped; }

void TComboBox::CNCommand(TMessage& M) {
    switch (HIWORD(std::uintptr_t(M.WParam))) {
    case CBN_SELCHANGE:
        Click();
        Change();
        break;
    case CBN_EDITCHANGE: Change(); break;
    case CBN_DROPDOWN: DropDown(); break;
    default: break;
    }
    M.Result = 0;
}

void TComboBox::WMLButtonDown(TMessage& M) {
    TCustomControl::WMLButtonDown(M);
    if (RECT b = ButtonRect(); !HasEdit() || FDropped || PtInRect(&b, POINT{GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam)}))
        SetDroppedDown(!FDropped);
}

void TComboBox::WMSysKeyDown(TMessage& M) {
    // Alt+Down drops the list, as on the system's combo box.
    if (M.WParam == VK_DOWN || (M.WParam == VK_UP && FDropped)) {
        if (M.WParam == VK_DOWN && !FDropped) SetDroppedDown(true);
        else CloseUp(true);
        M.Result = 0;
        return;
    }
    TCustomControl::WMSysKeyDown(M);
}

void TComboBox::WMSetFocus(TMessage& M) {
    TCustomControl::WMSetFocus(M);
    // The edit part takes the focus the box is given.
    if (HasEdit()) win::SetFocus(FEdit->Handle());
    Invalidate();
}

void TComboBox::WMKillFocus(TMessage& M) {
    TCustomControl::WMKillFocus(M);
    if (!(HasEdit() && FEdit->HandleAllocated() && reinterpret_cast<HWND>(M.WParam) == FEdit->Handle()))
        CloseUp(false);
    Invalidate();
}

TRect TComboBox::ButtonRect() {
    TRect r = ClientRect();
    return Rect(std::max(0, int(r.right) - ComboButtonWidth), r.top, r.right, r.bottom);
}

void TComboBox::DrawFace(int Index, TRect Rect) {
    TCanvas* c = Canvas();
    std::string s = Items()->Get(Index);
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->TextRect(Rect, Rect.left + 2, Rect.top + (Rect.bottom - Rect.top - c->TextHeight(s)) / 2, s);
}

void TComboBox::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    TRect b = ButtonRect();
    TRect face = Rect(r.left, r.top, b.left, r.bottom);
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(face);
    if (!HasEdit()) {
        TRect text = Rect(face.left + 1, face.top + 1, face.right - 1, face.bottom - 1);
        bool focused = Focused() && !FDropped;
        if (focused) {
            c->Brush()->SetColor(clHighlight);
            c->FillRect(text);
            c->Font()->SetColor(clHighlightText);
        } else if (!Enabled()) {
            c->Font()->SetColor(clGrayText);
        }
        if (ItemIndex() >= 0) DrawFace(ItemIndex(), text);
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        if (focused) c->DrawFocusRect(text);
    }
    // The drop button: raised, or pushed while the list is down; its arrow.
    HDC dc = c->Handle();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(b);
    RECT edge = b;
    if (FDropped) {
        c->Brush()->SetColor(clBtnShadow);
        c->FrameRect(b);
    } else {
        DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    }
    int shift = FDropped ? 1 : 0;
    int cx = (b.left + b.right) / 2 + shift, cy = (b.top + b.bottom) / 2 - 1 + shift;
    TColor arrow = Enabled() ? clBtnText : clGrayText;
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(arrow);
    c->Pen()->SetColor(arrow);
    c->Polygon({Point(cx - 3, cy - 1), Point(cx + 3, cy - 1), Point(cx, cy + 2)});
}

} // namespace vcl
