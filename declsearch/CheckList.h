// The checking of the options dialog's file list: which items are checked, kept as a list of item
// keys in item order, with the check and change events. The list control draws from it.
#pragma once

#include "vcl/Graphics.h"

#include "rtl/StringLists.h"

#include <functional>
#include <memory>

namespace declsearch {

using TKwCheckEvent = std::function<void(vcl::TObject* Sender, int Index, bool& Value)>;

class TKwCheckItems {
public:
    explicit TKwCheckItems(vcl::TObject* ASender = nullptr);
    ~TKwCheckItems();
    TKwCheckItems(const TKwCheckItems&) = delete;
    TKwCheckItems& operator=(const TKwCheckItems&) = delete;

    // The item texts, as the list shows them.
    rtl::TStringList* Items() const { return FItems.get(); }
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
    int FBatch = 0;
    bool FChanged = false;
    bool FUpdating = false;
};

// A check picture made ready for the list: the source's pixels of WindowKey take the window
// colour and those of ControlKey the control's colour.
void PrepareCheckPicture(vcl::TBitmap* Source, vcl::TBitmap* Dest, vcl::TColor ControlColor, vcl::TColor ControlKey,
                         vcl::TColor WindowKey);

} // namespace declsearch
