// List boxes: a window of this library's own class that shows the lines of a string list, with
// selection by mouse and keys, a vertical scroll bar and owner drawing. Implementations in
// ListCtrls.cpp.
#pragma once

#include "rtl/StringLists.h"
#include "vcl/Controls.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace vcl {

// The list-box messages, notifications and owner-draw structures of the window system.
using win::LB_ADDSTRING;
using win::LB_INSERTSTRING;
using win::LB_DELETESTRING;
using win::LB_RESETCONTENT;
using win::LB_SETCURSEL;
using win::LB_GETCURSEL;
using win::LB_GETTEXT;
using win::LB_GETTEXTLEN;
using win::LB_GETCOUNT;
using win::LB_GETTOPINDEX;
using win::LB_SETTOPINDEX;
using win::LB_GETITEMRECT;
using win::LB_SETITEMHEIGHT;
using win::LB_GETITEMHEIGHT;
using win::LB_ITEMFROMPOINT;
using win::LB_ERR;
using win::LB_FINDSTRING;
using win::LB_FINDSTRINGEXACT;
using win::LBN_SELCHANGE;
using win::LBN_DBLCLK;
using win::ODT_LISTBOX;
using win::ODA_DRAWENTIRE;
using win::ODS_SELECTED;
using win::ODS_DISABLED;
using win::ODS_FOCUS;
using win::DRAWITEMSTRUCT;
using win::MEASUREITEMSTRUCT;

enum TOwnerDrawStateFlag : unsigned { odSelected = 1, odGrayed = 2, odDisabled = 4, odChecked = 8, odFocused = 16 };
using TOwnerDrawState = unsigned;
enum class TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

class TCustomListBox : public TCustomControl {
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    // The lines shown; changes to it show at once, and keep the selected line where it can.
    rtl::TStringList* Items() const { return FItems.get(); }
    void SetItems(const rtl::TStrings& Value) { FItems->Assign(Value); }
    // -1 when no line is selected; any other value outside the lines selects none. With
    // MultiSelect it is the line that has the focus.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int Value);
    bool Sorted() const { return FItems->Sorted(); }
    void SetSorted(bool Value);
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle Value);
    // Whole lines only: the box's height shrinks until its client area ends with a whole line
    // (not for owner-draw variable lines).
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool Value);
    // The height of a line: of the font for the standard style, otherwise this one.
    int ItemHeight();
    void SetItemHeight(int Value);
    // The first line after After (-1: from the top, going round to it) that begins with Text, or
    // with Exact that is Text, without regard to case; -1 when none.
    int FindString(const std::string& Text, int After, bool Exact) const;
    // The line at a client point; -1 (Existing) or the count of lines where there is none.
    int ItemAtPos(TPoint Pos, bool Existing);
    // In client coordinates; lines above the top lie above the client area.
    TRect ItemRect(int Index);
    void Clear() { FItems->Clear(); }
    // Several lines selected at once: Ctrl and Shift with clicks and arrows (ExtendedSelect), or
    // each click and the space bar turning a line on and off.
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool Value) { FExtendedSelect = Value; }
    bool Selected(int Index) const;
    void SetSelected(int Index, bool Value);
    int SelCount() const;

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void Paint() override;
    void KeyDown(unsigned& Key, TShiftState Shift) override;
    virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
    virtual void MeasureItem(int Index, int& Height);

    void WMGetDlgCode(TMessage& Message) override;
    void WMSize(TMessage& Message) override;
    void WMLButtonDown(TMessage& Message) override;
    void WMLButtonUp(TMessage& Message) override;
    void WMLButtonDblClk(TMessage& Message) override;
    void WMMouseMove(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;

private:
    class TListBoxStrings;
    friend class TListBoxStrings;

    void LBAddString(TMessage& Message);
    void LBInsertString(TMessage& Message);
    void LBDeleteString(TMessage& Message);
    void LBResetContent(TMessage& Message);
    void LBGetCount(TMessage& Message);
    void LBFindString(TMessage& Message); // and LB_FINDSTRINGEXACT
    void LBGetCurSel(TMessage& Message);
    void LBSetCurSel(TMessage& Message);
    void LBGetTopIndex(TMessage& Message);
    void LBSetTopIndex(TMessage& Message);
    void LBGetItemRect(TMessage& Message);
    void LBItemFromPoint(TMessage& Message);
    void LBGetItemHeight(TMessage& Message);
    void LBSetItemHeight(TMessage& Message);
    void LBGetTextLen(TMessage& Message);
    void LBGetText(TMessage& Message);
    void CNCommand(TMessage& Message);
    void CNDrawItem(TMessage& Message);
    void CNMeasureItem(TMessage& Message);
    void WMVScroll(TMessage& Message);
    void WMCreate(TMessage& Message);
    bool ValidIndex(win::WPARAM W) const;

    void ItemsChanged();
    void ItemInserted(int Index);
    void ItemDeleted(int Index);
    void Remeasure();
    void FitHeight();
    int HeightOf(int Index);
    int MaxTopIndex();
    int LastVisible(); // the last line wholly in view, at least the top one
    void MakeVisible(int Index);
    void UpdateScrollBar();
    void SelectByUser(int Index, bool Always, TShiftState Shift = 0, bool Toggle = false);
    bool IsSelected(int Index) const { return FMultiSelect ? Selected(Index) : Index == FItemIndex; }
    void Notify(unsigned Code);
    void DrawOne(int Index, const TRect& Rect);
    void Scroll(int Code, int Position);

    std::unique_ptr<rtl::TStringList> FItems; // a TListBoxStrings
    std::vector<int> FHeights; // per line, for owner-draw variable
    std::vector<bool> FSelected; // per line, with MultiSelect
    int FAnchor = -1;            // where a Shift selection starts
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    int FItemIndex = -1;
    int FTopIndex = 0;
    int FItemHeight = 16;
    int FFontHeight = 0; // of the standard style's lines, measured once per font
    TListBoxStyle FStyle = TListBoxStyle::lbStandard;
    bool FTracking = false;
    bool FIntegralHeight = false;
    bool FFitting = false;
};

class TListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;
};

using win::CB_GETEDITSEL;
using win::CB_SETEDITSEL;
using win::CB_LIMITTEXT;
using win::CB_ADDSTRING;
using win::CB_INSERTSTRING;
using win::CB_DELETESTRING;
using win::CB_RESETCONTENT;
using win::CB_GETCOUNT;
using win::CB_GETCURSEL;
using win::CB_SETCURSEL;
using win::CB_GETLBTEXT;
using win::CB_GETLBTEXTLEN;
using win::CB_FINDSTRING;
using win::CB_FINDSTRINGEXACT;
using win::CB_SELECTSTRING;
using win::CB_SHOWDROPDOWN;
using win::CB_GETDROPPEDSTATE;
using win::CB_GETITEMDATA;
using win::CB_SETITEMDATA;
using win::CB_GETITEMHEIGHT;
using win::CB_ERR;
using win::CBN_SELCHANGE;
using win::CBN_DBLCLK;
using win::CBN_EDITCHANGE;
using win::CBN_DROPDOWN;
using win::CBN_CLOSEUP;

class TCustomEdit;

// csDropDown: an edit part to type in, with the lines to choose from in a list that drops under
// it. csDropDownList: a face that shows the chosen line, chosen only from the list. csSimple is
// taken as csDropDown.
enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList };

// A combo box: the face or edit part, a drop button, and a list that pops up under them.
class TComboBox : public TCustomControl {
public:
    explicit TComboBox(TComponent* AOwner);
    ~TComboBox() override;

    // Changing the style keeps the lines with their objects, the chosen line and the text (a
    // typed text that is no line gives way to the chosen line's in a drop-down list).
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    rtl::TStringList* Items() const;
    void SetItems(const rtl::TStrings& Value);
    // -1 when no line is chosen; typing in the edit part takes the choice away. Setting it by
    // code fires no OnChange; in csDropDown the edit part shows the line (nothing for -1).
    int ItemIndex() const;
    void SetItemIndex(int Value);
    bool Sorted() const;
    void SetSorted(bool Value);
    // Characters the user can type into the edit part; 0: no limit.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    // The selection in the edit part; nothing in a drop-down list.
    int SelStart();
    void SetSelStart(int Value);
    int SelLength();
    void SetSelLength(int Value);
    std::string SelText();
    void SetSelText(const std::string& Value);
    void SelectAll();
    bool DroppedDown() const { return FDropped; }
    void SetDroppedDown(bool Value);
    // Lines shown at once in the pop-up list.
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) { FDropDownCount = std::max(1, Value); }
    // The height of a line of the list.
    int ItemHeight() const;
    // The pop-up list, for finding it; it has a window only while dropped down.
    TCustomListBox* List() const;
    // The edit part of csDropDown; nullptr in a drop-down list.
    TCustomEdit* EditControl() const;
    // The face, its edit part or its list has the focus.
    bool Focused() override;

    // On each change of the text by the user: typing, or a line chosen from the list.
    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void KeyDown(unsigned& Key, TShiftState Shift) override;
    bool KeepsText() const override { return true; }
    std::string GetText() override;
    void SetTextValue(const std::string& Value) override;
    virtual void Change();
    virtual void DropDown();
    // Draws the chosen line on the face of a drop-down list, in the canvas's colours.
    virtual void DrawFace(int Index, TRect Rect);

    void WMGetDlgCode(TMessage& Message) override;
    void WMSize(TMessage& Message) override;
    void WMLButtonDown(TMessage& Message) override;
    void WMSysKeyDown(TMessage& Message) override;
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;

private:
    class TComboList;
    class TComboEdit;
    friend class TComboList;
    friend class TComboEdit;
    bool HasEdit() const { return FStyle != TComboBoxStyle::csDropDownList; }
    void CloseUp(bool Accept);
    void ChooseByUser(int Index);
    void Notify(unsigned Code);
    void PlaceEdit();
    void ShowItemInEdit();
    void EditChanged();
    void EditFocusLeft(win::HWND NewFocus);
    void WMSetText(TMessage& Message);
    void CBGetEditSel(TMessage& Message);
    void CBSetEditSel(TMessage& Message);
    void CBLimitText(TMessage& Message);
    void CBAddString(TMessage& Message);
    void CBInsertString(TMessage& Message);
    void CBDeleteString(TMessage& Message);
    void CBResetContent(TMessage& Message);
    void CBGetCount(TMessage& Message);
    void CBGetCurSel(TMessage& Message);
    void CBSetCurSel(TMessage& Message);
    void CBGetLBTextLen(TMessage& Message);
    void CBGetLBText(TMessage& Message);
    void CBFindString(TMessage& Message); // and CB_FINDSTRINGEXACT
    void CBSelectString(TMessage& Message);
    void CBGetItemData(TMessage& Message);
    void CBSetItemData(TMessage& Message);
    void CBGetItemHeight(TMessage& Message);
    void CBShowDropDown(TMessage& Message);
    void CBGetDroppedState(TMessage& Message);
    void CNCommand(TMessage& Message);
    bool ValidIndex(win::WPARAM W);
    TRect ButtonRect();

    std::unique_ptr<TCustomListBox> FList; // a TComboList
    std::unique_ptr<TComboEdit> FEdit;     // on the face only in csDropDown
    TComboBoxStyle FStyle = TComboBoxStyle::csDropDown;
    bool FDropped = false;
    bool FSettingText = false; // the edit part's text is set by code, not typed
    int FStart = -1;           // the line chosen when the list dropped
    int FDropDownCount = 8;
    int FMaxLength = 0;
};

} // namespace vcl
