#include "declsearch/CheckList.h"

namespace declsearch {

using namespace vcl;

TKwCheckItems::TKwCheckItems(TObject* ASender)
    : FSender(ASender), FItems(std::make_unique<rtl::TStringList>()), FChecked(std::make_unique<rtl::TStringList>()),
      FValues(std::make_unique<rtl::TStringList>()) {
    for (auto* list : {FItems.get(), FChecked.get(), FValues.get()}) list->SetCaseSensitive(false);
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
        if (FItems->IndexOf(key) < 0 && FValues->IndexOf(key) < 0) FChecked->Delete(i);
    }
    EndCheck();
}

std::string TKwCheckItems::ItemKey(int Index) const {
    if (Index < 0 || Index >= FItems->Count()) return {};
    if (Index < FValues->Count()) return FValues->Get(Index);
    return FItems->Get(Index);
}

bool TKwCheckItems::IsItemChecked(int Index) const {
    if (Index < 0 || Index >= FItems->Count()) return false;
    return FChecked->IndexOf(ItemKey(Index)) >= 0;
}

void TKwCheckItems::SetItemChecked(int Index, bool Value) {
    if (Index < 0 || Index >= FItems->Count()) return;
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
    if (Index < 0 || Index >= FItems->Count()) return;
    Check(Index, !IsItemChecked(Index));
}

bool TKwCheckItems::IsCheckedByName(const std::string& Name) const { return FChecked->IndexOf(Name) >= 0; }

void TKwCheckItems::SetCheckedByName(const std::string& Name, bool Value) {
    int index = FValues->IndexOf(Name);
    if (index < 0 || index >= FItems->Count()) index = FItems->IndexOf(Name);
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

} // namespace declsearch
