// The checking of the options dialog's file list: which items are checked, kept as a list of item
// keys in item order, with the check and change events. The list control draws from it.
#pragma once

#include "vcl/Graphics.h"
#include "vcl/ListCtrls.h"

#include "rtl/StringLists.h"

#include <functional>
#include <memory>

namespace declsearch {

using TKwCheckEvent = std::function<void(vcl::TObject* Sender, int Index, bool& Value)>;

class TKwCheckItems {
public:
    // With AItems given, the items are that list (a list box's); otherwise a list of its own.
    explicit TKwCheckItems(vcl::TObject* ASender = nullptr, rtl::TStringList* AItems = nullptr);
    ~TKwCheckItems();
    TKwCheckItems(const TKwCheckItems&) = delete;
    TKwCheckItems& operator=(const TKwCheckItems&) = delete;

    // The item texts, as the list shows them.
    rtl::TStringList* Items() const { return FItemsRef; }
    // Keys of the checked items; letter case does not matter.
    rtl::TStringList* Checked() const { return FChecked.get(); }
    void SetChecked(const rtl::TStrings& Value) { FChecked->Assign(Value); }
    // An entry at an item's index is that item's key instead of its text.
    rtl::TStringList* Values() const { return FValues.get(); }
    // Replaces the values and drops checked keys that no longer name an item.
    void SetValues(const rtl::TStrings& Value);

    std::string ItemKey(int Index) const;
    bool IsItemChecked(int Index) const;
    void SetItemChecked(int Index, bool Value);
    void ToggleItem(int Index);
    bool IsCheckedByName(const std::string& Name) const;
    void SetCheckedByName(const std::string& Name, bool Value);

    // A batch of check changes ends with one OnChange.
    void BeginCheck();
    void EndCheck();
    // While the owner updates, changes are noted but not reported.
    void SetUpdating(bool Value) { FUpdating = Value; }

    TKwCheckEvent OnCheck;
    vcl::TNotifyEvent OnChange;
    // Asked to repaint one item (an index) or everything (-1).
    std::function<void(int Index)> OnRedraw;

private:
    void CheckedChanged();
    void Check(int Index, bool Value);

    vcl::TObject* FSender;
    std::unique_ptr<rtl::TStringList> FItems, FChecked, FValues;
    rtl::TStringList* FItemsRef;
    int FBatch = 0;
    bool FChanged = false;
    bool FUpdating = false;
};

// A check picture made ready for the list: the source's pixels of WindowKey take the window
// colour and those of ControlKey the control's colour.
void PrepareCheckPicture(vcl::TBitmap* Source, vcl::TBitmap* Dest, vcl::TColor ControlColor, vcl::TColor ControlKey,
                         vcl::TColor WindowKey);

enum TKwCheckMode { cmNone, cmClick, cmDblClick };
enum TKwHAlignment { kwaLeft, kwaRight, kwaCenter };
enum TKwLeftRight { kwLeft, kwRight };
enum TKwVAlignment { kwvCenter, kwvTop, kwvBottom };

using TKwDrawEvent = std::function<void(vcl::TObject* Sender, int Index, vcl::TRect Rect, vcl::TOwnerDrawState State,
                                        bool& Handled)>;

// A list box whose items each show a check picture; the checked items are kept as keys.
class TKwCustomCheckList : public vcl::TCustomListBox {
public:
    explicit TKwCustomCheckList(vcl::TComponent* AOwner);
    ~TKwCustomCheckList() override;

    rtl::TStringList* Checked() const { return FItemsCheck.Checked(); }
    void SetChecked(const rtl::TStrings& Value) { FItemsCheck.SetChecked(Value); }
    rtl::TStringList* Values() const { return FItemsCheck.Values(); }
    void SetValues(const rtl::TStrings& Value) { FItemsCheck.SetValues(Value); }
    std::string ItemKey(int Index) const { return FItemsCheck.ItemKey(Index); }
    bool IsItemChecked(int Index) const { return FItemsCheck.IsItemChecked(Index); }
    void SetItemChecked(int Index, bool Value) { FItemsCheck.SetItemChecked(Index, Value); }
    bool IsCheckedByName(const std::string& Name) const { return FItemsCheck.IsCheckedByName(Name); }
    void SetCheckedByName(const std::string& Name, bool Value) { FItemsCheck.SetCheckedByName(Name, Value); }
    void ToggleItem(int Index) { FItemsCheck.ToggleItem(Index); }
    // Every selected item but the focused one is toggled and deselected; the focused one toggled.
    void ToggleSelected();
    void BeginCheck() { FItemsCheck.BeginCheck(); }
    void EndCheck() { FItemsCheck.EndCheck(); }

    // User pictures; an empty one brings the default back.
    vcl::TBitmap* PictureUnchecked() const { return FSource[0].get(); }
    void SetPictureUnchecked(vcl::TBitmap* Value) { SetPicture(0, Value); }
    vcl::TBitmap* PictureChecked() const { return FSource[1].get(); }
    void SetPictureChecked(vcl::TBitmap* Value) { SetPicture(1, Value); }
    // The picture as drawn, after the colour replacement.
    vcl::TBitmap* PreparedPicture(bool Checked) const { return FPrepared[Checked ? 1 : 0].get(); }
    bool UserPicture(bool Checked) const { return FUserPictures & (Checked ? 2 : 1); }
    vcl::TColor PictureControlColor() const { return FPictureControlColor; }
    void SetPictureControlColor(vcl::TColor Value);
    vcl::TColor PictureWindowColor() const { return FPictureWindowColor; }
    void SetPictureWindowColor(vcl::TColor Value);

    TKwCheckMode CheckMode() const { return FCheckMode; }
    void SetCheckMode(TKwCheckMode Value) { FCheckMode = Value; }
    TKwHAlignment TextAlign() const { return FTextAlign; }
    void SetTextAlign(TKwHAlignment Value);
    TKwLeftRight BmpHAlign() const { return FBmpHAlign; }
    void SetBmpHAlign(TKwLeftRight Value);
    TKwVAlignment BmpVAlign() const { return FBmpVAlign; }
    void SetBmpVAlign(TKwVAlignment Value);
    bool ExpandTabs() const { return FExpandTabs; }
    void SetExpandTabs(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool Is3D() const { return F3D; }
    // The text area of an item's rectangle, beside the picture.
    vcl::TRect TextRect(const vcl::TRect& Item) const;

    TKwCheckEvent OnCheck;
    vcl::TNotifyEvent OnChange;
    // Hides the list box's event: this one may leave the drawing to the control.
    TKwDrawEvent OnDrawItem;

protected:
    void DefineProperties(vcl::TFiler* Filer) override;
    void Loaded() override;
    void CreateParams(vcl::TCreateParams& Params) override;
    void DrawItem(int Index, vcl::TRect Rect, vcl::TOwnerDrawState State) override;
    void MeasureItem(int Index, int& Height) override;
    virtual bool IsCheckList() const { return true; }
    void Dispatch(vcl::TMessage& Message) override;
    void KeyPress(char& Key) override;
    void CMDialogChar(vcl::TMessage& Message) override;
    void CMColorChanged(vcl::TMessage& Message) override;
    void CMCtl3DChanged(vcl::TMessage& Message) override;
    void CMParentCtl3DChanged(vcl::TMessage& Message) override;
    void CMEnabledChanged(vcl::TMessage& Message) override;

private:
    void SetPicture(int Which, vcl::TBitmap* Value);
    void LoadDefaults();
    void Prepare(int Which);
    void Recompute3D(bool ColorChanged);
    void ApplyStyle();

    TKwCheckItems FItemsCheck;
    std::unique_ptr<vcl::TBitmap> FSource[2], FPrepared[2];
    unsigned FUserPictures = 0; // bit 0 unchecked, bit 1 checked
    int FPictureWidth = 0;
    vcl::TColor FPictureControlColor = vcl::clOlive;
    vcl::TColor FPictureWindowColor = vcl::clFuchsia;
    bool F3D = false;
    TKwCheckMode FCheckMode = cmClick;
    TKwHAlignment FTextAlign = kwaLeft;
    TKwLeftRight FBmpHAlign = kwLeft;
    TKwVAlignment FBmpVAlign = kwvCenter;
    bool FExpandTabs = false;
    bool FWordWrap = false;
};

class TKwCheckList : public TKwCustomCheckList {
public:
    using TKwCustomCheckList::TKwCustomCheckList;
};

void RegisterCheckList();

} // namespace declsearch
