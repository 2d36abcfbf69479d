// Check boxes, radio buttons, group boxes and bevels. Implementations in ButtonCtrls.cpp.
#pragma once

#include "vcl/StdCtrls.h"

#include "rtl/StringLists.h"

#include <memory>
#include <vector>

namespace vcl {

// What a check box and a radio button share: a mark beside a caption, toggled by a click inside
// the control, the space bar or the caption's accelerator.
class TButtonControl : public TPushControl {
public:
    explicit TButtonControl(TComponent* AOwner);

    // taRightJustify: the mark on the left and the caption to its right; taLeftJustify the
    // other way round. A centred mark has no meaning and is refused.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

protected:
    // What the user's click, space bar or accelerator does.
    virtual void Toggle() = 0;
    void Push() override { Toggle(); }
    virtual void DrawMark(win::HDC DC, const win::RECT& Box) = 0;

    void Paint() override;
    void CMEnter(TMessage& Message) override;
    void CMExit(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;

private:
    TAlignment FAlignment = TAlignment::taRightJustify;
};

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// A user's click steps unchecked, grayed (when AllowGrayed), checked, unchecked.
// OnClick runs on every change of State, from the user or from code.
class TCheckBox : public TButtonControl {
public:
    explicit TCheckBox(TComponent* AOwner);

    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState Value);
    bool Checked() const { return FState == TCheckBoxState::cbChecked; }
    void SetChecked(bool Value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }

protected:
    void Toggle() override;
    void DrawMark(win::HDC DC, const win::RECT& Box) override;
    void WMGetDlgCode(TMessage& Message) override;

private:
    TCheckBoxState FState = TCheckBoxState::cbUnchecked;
    bool FAllowGrayed = false;
};

// One of a set: checking it unchecks the other radio buttons of the same parent. Only the checked
// one is a Tab stop; the arrow keys move to the next or previous one of the set and check it.
class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* AOwner);

    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);

protected:
    void Toggle() override;
    void DrawMark(win::HDC DC, const win::RECT& Box) override;
    void KeyDown(unsigned& Key, TShiftState Shift) override;
    void WMGetDlgCode(TMessage& Message) override;

private:
    bool FChecked = false;
};

// A captioned etched frame around the controls it holds; its accelerator focuses the first of them.
class TGroupBox : public TCustomControl {
public:
    explicit TGroupBox(TComponent* AOwner);

protected:
    void Paint() override;
    void CMDialogChar(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
};

// A group box of radio buttons made from its items, laid out top to bottom in Columns columns.
// OnClick runs whenever the checked item changes, by the user or by code.
class TRadioGroup : public TGroupBox {
public:
    explicit TRadioGroup(TComponent* AOwner);
    ~TRadioGroup() override;

    // One radio button for each line; changing them remakes the buttons.
    rtl::TStringList* Items() const { return FItems.get(); }
    void SetItems(const rtl::TStrings& Value) { FItems->Assign(Value); }
    // 1 to 16.
    int Columns() const { return FColumns; }
    void SetColumns(int Value);
    // -1: none checked; values past the last item check the last.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    // The button of an item, for finding it.
    TRadioButton* Buttons(int Index) const { return FButtons.at(std::size_t(Index)); }

protected:
    void Loaded() override;
    void WMSize(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;

private:
    class TGroupButton;
    friend class TGroupButton;
    void ItemsChanged();
    void UpdateButtons();
    void ArrangeButtons();
    void ButtonClicked(TRadioButton* Button);

    std::unique_ptr<rtl::TStringList> FItems;
    std::vector<TRadioButton*> FButtons; // children of the group, made and freed by it
    int FColumns = 1;
    int FItemIndex = -1;
    bool FUpdating = false;
};

enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine };
enum class TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* AOwner);

    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape Value);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle Value);

protected:
    void Paint() override;

private:
    TBevelShape FShape = TBevelShape::bsBox;
    TBevelStyle FStyle = TBevelStyle::bsLowered;
};

} // namespace vcl
