#include "declsearch/CheckList.h"

#include "vcl/StdCtrls.h"
#include "vcl/StoredControls.h"

#include "rtl/Resources.h"

#include <algorithm>

namespace declsearch {

using namespace vcl;

TKwCheckItems::TKwCheckItems(TObject* ASender, rtl::TStringList* AItems)
    : FSender(ASender), FItems(AItems ? nullptr : std::make_unique<rtl::TStringList>()),
      FChecked(std::make_unique<rtl::TStringList>()), FValues(std::make_unique<rtl::TStringList>()),
      FItemsRef(AItems ? AItems : FItems.get()) {
    for (auto* list : {FItemsRef, FChecked.get(), FValues.get()}) list->SetCaseSensitive(false);
    FChecked->OnChange = [this](rtl::TStringList&) { CheckedChanged(); };
}

TKwCheckItems::~TKwCheckItems() {
    FChecked->OnChange = nullptr;
    FValues->OnChange = nullptr;
}

void TKwCheckItems::CheckedChanged() {
    FChanged = true;
    if (FBatch > 0 || FUpdating) return;
    FChanged = false;
    if (OnRedraw) OnRedraw(-1);
    if (OnChange) OnChange(FSender);
}

void TKwCheckItems::BeginCheck() { ++FBatch; }

void TKwCheckItems::EndCheck() {
    if (FBatch == 0) return;
    if (--FBatch > 0) return;
    if (FChanged) {
        FChanged = false;
        if (OnChange) OnChange(FSender);
    }
}

void TKwCheckItems::SetValues(const rtl::TStrings& Value) {
    FValues->Assign(Value);
    BeginCheck();
    for (int i = FChecked->Count() - 1; i >= 0; --i) {
        std::string key = FChecked->Get(i);
        if (FItemsRef->IndexOf(key) < 0 && FValues->IndexOf(key) < 0) FChecked->Delete(i);
    }
    EndCheck();
}

std::string TKwCheckItems::ItemKey(int Index) const {
    if (Index < 0 || Index >= FItemsRef->Count()) return {};
    if (Index < FValues->Count()) return FValues->Get(Index);
    return FItemsRef->Get(Index);
}

bool TKwCheckItems::IsItemChecked(int Index) const {
    if (Index < 0 || Index >= FItemsRef->Count()) return false;
    return FChecked->IndexOf(ItemKey(Index)) >= 0;
}

void TKwCheckItems::SetItemChecked(int Index, bool Value) {
    if (Index < 0 || Index >= FItemsRef->Count()) return;
    std::string key = ItemKey(Index);
    int at = FChecked->IndexOf(key);
    if (!Value) {
        if (at >= 0) FChecked->Delete(at);
        return;
    }
    if (at >= 0) return;
    // After the nearest checked item before it, so that the keys follow the item order.
    int insert = 0;
    for (int j = Index - 1; j >= 0; --j) {
        int prev = FChecked->IndexOf(ItemKey(j));
        if (prev >= 0) {
            insert = prev + 1;
            break;
        }
    }
    FChecked->Insert(insert, key);
}

void TKwCheckItems::Check(int Index, bool Value) {
    BeginCheck();
    if (OnCheck) OnCheck(FSender, Index, Value);
    SetItemChecked(Index, Value);
    if (OnRedraw) OnRedraw(Index);
    EndCheck();
}

void TKwCheckItems::ToggleItem(int Index) {
    if (Index < 0 || Index >= FItemsRef->Count()) return;
    Check(Index, !IsItemChecked(Index));
}

bool TKwCheckItems::IsCheckedByName(const std::string& Name) const { return FChecked->IndexOf(Name) >= 0; }

void TKwCheckItems::SetCheckedByName(const std::string& Name, bool Value) {
    int index = FValues->IndexOf(Name);
    if (index < 0 || index >= FItemsRef->Count()) index = FItemsRef->IndexOf(Name);
    if (index < 0) return;
    Check(index, Value);
}

void PrepareCheckPicture(TBitmap* Source, TBitmap* Dest, TColor ControlColor, TColor ControlKey, TColor WindowKey) {
    if (!Source || !Dest) return;
    int w = Source->Width(), h = Source->Height();
    Dest->SetSize(w, h);
    if (w == 0 || h == 0) return;
    TRect r = Rect(0, 0, w, h);
    TCanvas* c = Dest->Canvas();
    c->Brush()->SetColor(clWindow);
    c->BrushCopy(r, Source, r, WindowKey);
    TBitmap step;
    step.Assign(Dest);
    c->Brush()->SetColor(ControlColor);
    c->BrushCopy(r, &step, r, ControlKey);
}

// --- The check list control -------------------------------------------------------------------

TKwCustomCheckList::TKwCustomCheckList(TComponent* AOwner)
    : TCustomListBox(AOwner), FItemsCheck(this, Items()) {
    for (int i = 0; i < 2; ++i) {
        FSource[i] = std::make_unique<TBitmap>();
        FPrepared[i] = std::make_unique<TBitmap>();
    }
    FItemsCheck.OnCheck = [this](TObject* Sender, int Index, bool& Value) {
        if (OnCheck) OnCheck(Sender, Index, Value);
    };
    FItemsCheck.OnChange = [this](TObject* Sender) {
        if (OnChange) OnChange(Sender);
    };
    FItemsCheck.OnRedraw = [this](int Index) {
        if (!HandleAllocated()) return;
        if (Index < 0) {
            Invalidate();
        } else {
            TRect r = ItemRect(Index);
            win::InvalidateRect(Handle(), &r, false);
        }
    };
    ApplyStyle();
    Recompute3D(false);
}

TKwCustomCheckList::~TKwCustomCheckList() {
    FItemsCheck.OnRedraw = nullptr;
    FItemsCheck.OnChange = nullptr;
}

void TKwCustomCheckList::ApplyStyle() {
    SetStyle(FWordWrap ? TListBoxStyle::lbOwnerDrawVariable : TListBoxStyle::lbOwnerDrawFixed);
}

void TKwCustomCheckList::CreateParams(TCreateParams& Params) {
    TCustomListBox::CreateParams(Params);
    ApplyStyle();
}

void TKwCustomCheckList::Recompute3D(bool ColorChanged) {
    F3D = Ctl3D() && Color() != clWhite;
    LoadDefaults();
    if (ColorChanged)
        for (int i = 0; i < 2; ++i)
            if (FUserPictures & (1u << i)) Prepare(i);
    Invalidate();
}

void TKwCustomCheckList::LoadDefaults() {
    static const char* const names[2][2] = {{"KW_UNCHECK", "KW_CHECK"}, {"KW_UNCHECK3D", "KW_CHECK3D"}};
    for (int i = 0; i < 2; ++i) {
        if (FUserPictures & (1u << i)) continue;
        // A module without the default pictures draws no marks.
        const std::string_view data = rtl::LoadBitmapData(nullptr, rtl::TResId(names[F3D ? 1 : 0][i]));
        if (data.empty()) FSource[i]->SetSize(0, 0);
        else FSource[i]->LoadFromBytes(data.data(), data.size());
        Prepare(i);
    }
}

void TKwCustomCheckList::Prepare(int Which) {
    bool user = FUserPictures & (1u << Which);
    // The default pictures mark their areas in fuchsia (window) and olive (control).
    PrepareCheckPicture(FSource[Which].get(), FPrepared[Which].get(), Color(),
                        user ? FPictureControlColor : clOlive, user ? FPictureWindowColor : clFuchsia);
    FPictureWidth = std::max(FPrepared[0]->Width(), FPrepared[1]->Width());
}

void TKwCustomCheckList::SetPicture(int Which, TBitmap* Value) {
    if (Value && !Value->Empty()) {
        FSource[Which]->Assign(Value);
        FUserPictures |= 1u << Which;
        Prepare(Which);
    } else {
        FUserPictures &= ~(1u << Which);
        LoadDefaults();
    }
    Invalidate();
}

void TKwCustomCheckList::SetPictureControlColor(TColor Value) {
    if (Value == FPictureControlColor) return;
    FPictureControlColor = Value;
    for (int i = 0; i < 2; ++i)
        if (FUserPictures & (1u << i)) Prepare(i);
    Invalidate();
}

void TKwCustomCheckList::SetPictureWindowColor(TColor Value) {
    if (Value == FPictureWindowColor) return;
    FPictureWindowColor = Value;
    for (int i = 0; i < 2; ++i)
        if (FUserPictures & (1u << i)) Prepare(i);
    Invalidate();
}

void TKwCustomCheckList::SetTextAlign(TKwHAlignment Value) {
    FTextAlign = Value;
    Invalidate();
}

void TKwCustomCheckList::SetBmpHAlign(TKwLeftRight Value) {
    FBmpHAlign = Value;
    Invalidate();
}

void TKwCustomCheckList::SetBmpVAlign(TKwVAlignment Value) {
    FBmpVAlign = Value;
    Invalidate();
}

void TKwCustomCheckList::SetExpandTabs(bool Value) {
    FExpandTabs = Value;
    Invalidate();
}

void TKwCustomCheckList::SetWordWrap(bool Value) {
    if (Value == FWordWrap) return;
    FWordWrap = Value;
    ApplyStyle();
}

void TKwCustomCheckList::DefineProperties(TFiler* Filer) {
    TCustomListBox::DefineProperties(Filer);
    // Which pictures the user gave; the others are the defaults and are not stored.
    Filer->DefineBinaryProperty(
        "Data",
        [this](rtl::TStream& S) {
            unsigned char b = 0;
            if (S.Read(&b, 1) == 1) FUserPictures = b & 3u;
        },
        [this](rtl::TStream& S) {
            unsigned char b = static_cast<unsigned char>(FUserPictures);
            S.WriteBuffer(&b, 1);
        },
        FUserPictures != 0);
}

void TKwCustomCheckList::Loaded() {
    TCustomListBox::Loaded();
    F3D = Ctl3D() && Color() != clWhite;
    LoadDefaults();
    for (int i = 0; i < 2; ++i)
        if (FUserPictures & (1u << i)) Prepare(i);
}

TRect TKwCustomCheckList::TextRect(const TRect& Item) const {
    TRect r = Item;
    if (FBmpHAlign == kwLeft) {
        r.left = Item.left + FPictureWidth + 6;
        r.right = Item.right - 2;
    } else {
        r.left = Item.left + 2;
        r.right = Item.right - FPictureWidth - 6;
    }
    return r;
}

namespace {

unsigned TextFormat(TKwHAlignment Align, bool ExpandTabs, bool WordWrap) {
    unsigned f = win::DT_NOCLIP | win::DT_NOPREFIX;
    f |= Align == kwaRight ? win::DT_RIGHT : Align == kwaCenter ? win::DT_CENTER : win::DT_LEFT;
    if (ExpandTabs) f |= win::DT_EXPANDTABS | win::DT_SINGLELINE | win::DT_VCENTER;
    else if (WordWrap) f |= win::DT_WORDBREAK;
    else f |= win::DT_SINGLELINE | win::DT_VCENTER;
    return f;
}

} // namespace

void TKwCustomCheckList::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
    TCanvas* c = Canvas();
    TBitmap* pic = FPrepared[IsItemChecked(Index) ? 1 : 0].get();
    bool selected = State & odSelected;
    c->Font()->Assign(Font());
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    if (!Enabled()) c->Font()->SetColor(clGrayText);
    else if (selected) c->Font()->SetColor(clHighlightText);
    else c->Font()->SetColor(clWindowText);
    if (OnDrawItem) {
        bool handled = false;
        OnDrawItem(this, Index, Rect, State, handled);
        if (handled) return;
    }
    c->FillRect(Rect);
    TRect tr = TextRect(Rect);
    if (selected && Enabled()) c->Brush()->SetColor(clHighlight);
    c->FillRect(vcl::Rect(tr.left - 2, Rect.top, tr.right, Rect.bottom));
    std::string text = Index >= 0 && Index < Items()->Count() ? Items()->Get(Index) : std::string();
    if (text.empty()) text = " ";
    unsigned format = TextFormat(FTextAlign, FExpandTabs, FWordWrap);
    TRect measure = tr;
    int h = win::DrawText(c->Handle(), text.c_str(), int(text.size()), &measure, format | win::DT_CALCRECT);
    TRect draw = tr;
    if (h < Rect.bottom - Rect.top) {
        draw.top = Rect.top + (Rect.bottom - Rect.top - h) / 2;
        draw.bottom = draw.top + h;
    }
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    win::DrawText(c->Handle(), text.c_str(), int(text.size()), &draw, format);
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    if (!pic->Empty()) {
        int x = FBmpHAlign == kwLeft ? Rect.left + 2 : Rect.right - pic->Width() - 2;
        int lineH = c->TextHeight("W");
        int mid = FBmpVAlign == kwvTop      ? draw.top + lineH / 2
                  : FBmpVAlign == kwvBottom ? draw.bottom - lineH / 2
                                            : (draw.top + draw.bottom) / 2;
        c->Draw(x, mid - pic->Height() / 2, pic);
    }
    if (State & odFocused) c->DrawFocusRect(tr);
}

void TKwCustomCheckList::MeasureItem(int Index, int& Height) {
    if (!FWordWrap) return;
    TCanvas* c = Canvas();
    c->Font()->Assign(Font());
    std::string text = Index >= 0 && Index < Items()->Count() ? Items()->Get(Index) : std::string();
    if (text.empty()) text = " ";
    TRect tr = TextRect(vcl::Rect(0, 0, ClientWidth(), ItemHeight()));
    int h = win::DrawText(c->Handle(), text.c_str(), int(text.size()), &tr,
                          win::DT_CALCRECT | win::DT_WORDBREAK | win::DT_NOPREFIX);
    int lineH = std::max(1, c->TextHeight("W"));
    Height = std::max(1, h / lineH) * ItemHeight();
}

void TKwCustomCheckList::ToggleSelected() {
    BeginCheck();
    for (int i = 0; i < Items()->Count(); ++i) {
        bool selected = MultiSelect() ? Selected(i) : i == ItemIndex();
        if (!selected) continue;
        ToggleItem(i);
        if (i != ItemIndex() && MultiSelect()) SetSelected(i, false);
    }
    EndCheck();
}

void TKwCustomCheckList::Dispatch(TMessage& M) {
    switch (M.Msg) {
    case win::WM_LBUTTONUP:
    case win::WM_RBUTTONUP: {
        TCustomListBox::Dispatch(M);
        if (FCheckMode != cmClick) return;
        int index = ItemAtPos(Point(win::GET_X_LPARAM(M.LParam), win::GET_Y_LPARAM(M.LParam)), true);
        bool over = index >= 0 && (MultiSelect() ? Selected(index) : index == ItemIndex());
        if (over || (MultiSelect() && SelCount() > 1)) ToggleSelected();
        return;
    }
    case win::WM_LBUTTONDBLCLK: {
        TCustomListBox::Dispatch(M);
        if (FCheckMode != cmDblClick) return;
        int index = ItemAtPos(Point(win::GET_X_LPARAM(M.LParam), win::GET_Y_LPARAM(M.LParam)), true);
        if (index >= 0 && (MultiSelect() ? Selected(index) : index == ItemIndex())) ToggleSelected();
        return;
    }
    default: break;
    }
    TCustomListBox::Dispatch(M);
}

void TKwCustomCheckList::KeyPress(char& Key) {
    if (Key == ' ' && FCheckMode != cmNone) {
        ToggleSelected();
        Key = 0;
        return;
    }
    TCustomListBox::KeyPress(Key);
}

void TKwCustomCheckList::CMDialogChar(TMessage& M) {
    if (!Enabled() || !Visible()) return;
    unsigned key = unsigned(M.WParam);
    if (IsAccel(key, GetText()) && CanFocus()) {
        SetFocus();
        M.Result = 1;
        return;
    }
    for (int i = 0; i < Items()->Count(); ++i) {
        if (!IsAccel(key, Items()->Get(i))) continue;
        if (CanFocus()) SetFocus();
        SetItemIndex(i);
        ToggleItem(i);
        M.Result = 1;
        return;
    }
}

void TKwCustomCheckList::CMColorChanged(TMessage& M) {
    TCustomListBox::CMColorChanged(M);
    Recompute3D(true);
}

void TKwCustomCheckList::CMCtl3DChanged(TMessage& M) {
    TCustomListBox::CMCtl3DChanged(M);
    Recompute3D(false);
}

void TKwCustomCheckList::CMParentCtl3DChanged(TMessage& M) {
    TCustomListBox::CMParentCtl3DChanged(M);
    Recompute3D(false);
}

void TKwCustomCheckList::CMEnabledChanged(TMessage& M) {
    TCustomListBox::CMEnabledChanged(M);
    Invalidate();
}

void RegisterCheckList() {
    static bool done = false;
    if (done) return;
    done = true;
    using L = TKwCheckList;
    auto user = [](int which) {
        return [which](TPersistent* o) { return static_cast<L*>(o)->UserPicture(which == 1); };
    };
    RegisterClass<L>("TKwCheckList", "", With<L>(TextControlProperties<L>(), {
        IntegerProperty<L>("ItemHeight", &L::ItemHeight, &L::SetItemHeight),
        StringsProperty<L>("Items", &L::Items),
        BooleanProperty<L>("MultiSelect", &L::MultiSelect, &L::SetMultiSelect).WithDefault(0),
        BooleanProperty<L>("ExtendedSelect", &L::ExtendedSelect, &L::SetExtendedSelect).WithDefault(1),
        BooleanProperty<L>("Sorted", &L::Sorted, &L::SetSorted).WithDefault(0),
        StringsProperty<L>("Checked", &L::Checked),
        StringsProperty<L>("Values", &L::Values),
        ClassProperty<L>("PictureUnchecked", &L::PictureUnchecked).StoredWhen(user(0)),
        ClassProperty<L>("PictureChecked", &L::PictureChecked).StoredWhen(user(1)),
        ColorProperty<L>("PictureControlColor", &L::PictureControlColor, &L::SetPictureControlColor)
            .WithDefault(clOlive),
        ColorProperty<L>("PictureWindowColor", &L::PictureWindowColor, &L::SetPictureWindowColor)
            .WithDefault(clFuchsia),
        EnumProperty<L>("CheckMode", &L::CheckMode, &L::SetCheckMode, {"cmNone", "cmClick", "cmDblClick"})
            .WithDefault(cmClick),
        EnumProperty<L>("TextAlign", &L::TextAlign, &L::SetTextAlign, {"kwaLeft", "kwaRight", "kwaCenter"})
            .WithDefault(kwaLeft),
        EnumProperty<L>("BmpHAlign", &L::BmpHAlign, &L::SetBmpHAlign, {"kwLeft", "kwRight"}).WithDefault(kwLeft),
        EnumProperty<L>("BmpVAlign", &L::BmpVAlign, &L::SetBmpVAlign, {"kwaCenter", "kwaTop", "kwaBottom"})
            .WithDefault(kwvCenter),
        BooleanProperty<L>("ExpandTabs", &L::ExpandTabs, &L::SetExpandTabs).WithDefault(0),
        BooleanProperty<L>("WordWrap", &L::WordWrap, &L::SetWordWrap).WithDefault(0),
    }));
}

} // namespace declsearch
