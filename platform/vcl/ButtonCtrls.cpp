// Check boxes, radio buttons, group boxes and bevels, drawn in the three-dimensional style of the
// system.
#include "vcl/ButtonCtrls.h"

#include "vcl/StoredControls.h"

#include "rtl/Exceptions.h"

#include <algorithm>
#include <vector>

namespace vcl {

using namespace win;

namespace {

constexpr int MarkSize = 13;

// Pens and brushes made for one drawing step: what the DC had is put back and ours deleted at
// the end of the scope.
class TGdiScope {
public:
    explicit TGdiScope(HDC DC) : FDC(DC) {}
    ~TGdiScope() {
        for (HGDIOBJ o : FOld) SelectObject(FDC, o);
        for (HGDIOBJ o : FMade) DeleteObject(o);
    }
    TGdiScope(const TGdiScope&) = delete;
    TGdiScope& operator=(const TGdiScope&) = delete;
    void Pen(TColor Color) { Use(CreatePen(PS_SOLID, 1, ColorToRGB(Color))); }
    void Brush(TColor Color) { Use(CreateSolidBrush(ColorToRGB(Color))); }

private:
    void Use(HGDIOBJ Obj) {
        HGDIOBJ old = SelectObject(FDC, Obj);
        if (auto mine = std::find(FMade.begin(), FMade.end(), old); mine != FMade.end()) {
            FMade.erase(mine);
            DeleteObject(old);
        } else {
            FOld.push_back(old);
        }
        FMade.push_back(Obj);
    }

    HDC FDC;
    std::vector<HGDIOBJ> FMade;
    std::vector<HGDIOBJ> FOld;
};

void DrawCaption(HDC DC, TControl* Control, TFont* Font, RECT R, unsigned Flags) {
    std::string text = Control->Caption();
    SelectObject(DC, Font->Handle());
    SetBkMode(DC, TRANSPARENT);
    if (!Control->Enabled()) {
        RECT shadow = R;
        OffsetRect(&shadow, 1, 1);
        SetTextColor(DC, ColorToRGB(clBtnHighlight));
        DrawText(DC, text.c_str(), int(text.size()), &shadow, Flags);
        SetTextColor(DC, ColorToRGB(clBtnShadow));
    } else {
        SetTextColor(DC, ColorToRGB(Font->Color()));
    }
    DrawText(DC, text.c_str(), int(text.size()), &R, Flags);
}

} // namespace

// --- TButtonControl -------------------------------------------------------------------------

TButtonControl::TButtonControl(TComponent* AOwner) : TPushControl(AOwner) {
    // The toggle runs the click itself, so the library's own click on mouse-up is left out.
    FControlStyle = csSetCaption;
    FPushOnMouseUp = true;
    SetParentColor(true);
}

void TButtonControl::SetAlignment(TAlignment Value) {
    if (Value == TAlignment::taCenter) throw rtl::EInvalidOperation("A check mark cannot be centred");
    if (Value == FAlignment) return;
    FAlignment = Value;
    Invalidate();
}

void TButtonControl::CMEnter(TMessage& M) {
    TCustomControl::CMEnter(M);
    Invalidate();
}

void TButtonControl::CMExit(TMessage& M) {
    TPushControl::CMExit(M);
    Invalidate();
}

void TButtonControl::CMTextChanged(TMessage&) { Invalidate(); }

void TButtonControl::CMEnabledChanged(TMessage& M) {
    TCustomControl::CMEnabledChanged(M);
    Invalidate();
}

void TButtonControl::Paint() {
    HDC dc = Canvas()->Handle();
    RECT r = ClientRect();
    HBRUSH face = CreateSolidBrush(ColorToRGB(Color()));
    win::FillRect(dc, &r, face);
    DeleteObject(face);
    bool markLeft = FAlignment == TAlignment::taRightJustify;
    int top = (r.bottom - MarkSize) / 2;
    int left = markLeft ? 0 : r.right - MarkSize;
    RECT box{left, top, left + MarkSize, top + MarkSize};
    DrawMark(dc, box);
    RECT text = markLeft ? RECT{MarkSize + 4, 0, r.right, r.bottom} : RECT{0, 0, r.right - MarkSize - 4, r.bottom};
    unsigned flags = DT_SINGLELINE | DT_VCENTER | (markLeft ? DT_LEFT : DT_RIGHT);
    DrawCaption(dc, this, Font(), text, flags);
    if (Focused() && !Caption().empty()) {
        std::string caption = Caption();
        RECT measured = text;
        DrawText(dc, caption.c_str(), int(caption.size()), &measured, flags | DT_CALCRECT);
        int h = measured.bottom - measured.top, w = measured.right - measured.left;
        RECT focus{markLeft ? text.left : text.right - w, (r.bottom - h) / 2, 0, 0};
        focus.right = focus.left + w;
        focus.bottom = focus.top + h;
        InflateRect(&focus, 1, 1);
        win::DrawFocusRect(dc, &focus);
    }
}

// --- TCheckBox ------------------------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
}

void TCheckBox::SetState(TCheckBoxState Value) {
    if (Value == FState) return;
    FState = Value;
    Invalidate();
    Click();
}

void TCheckBox::SetChecked(bool Value) {
    SetState(Value ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
}

void TCheckBox::Toggle() {
    switch (FState) {
    case TCheckBoxState::cbUnchecked:
        SetState(FAllowGrayed ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked);
        break;
    case TCheckBoxState::cbGrayed: SetState(TCheckBoxState::cbChecked); break;
    case TCheckBoxState::cbChecked: SetState(TCheckBoxState::cbUnchecked); break;
    }
}

void TCheckBox::WMGetDlgCode(TMessage& M) { M.Result = DLGC_BUTTON; }

void TCheckBox::DrawMark(HDC DC, const RECT& Box) {
    RECT r = Box;
    DrawEdge(DC, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    bool dim = FPressed || FState == TCheckBoxState::cbGrayed || !Enabled();
    HBRUSH back = CreateSolidBrush(ColorToRGB(dim ? clBtnFace : clWindow));
    win::FillRect(DC, &r, back);
    DeleteObject(back);
    if (FState == TCheckBoxState::cbUnchecked) return;
    TGdiScope gdi(DC);
    gdi.Pen(FState == TCheckBoxState::cbGrayed || !Enabled() ? clBtnShadow : clWindowText);
    // A tick three pixels thick: down from the left to the bottom, then up to the right.
    int x = r.left + 1, y = r.top + 3;
    for (int i = 0; i < 3; ++i) {
        MoveToEx(DC, x, y + 2 + i, nullptr);
        LineTo(DC, x + 2, y + 4 + i);
        LineTo(DC, x + 7, y - 1 + i);
    }
}

// --- TRadioButton ---------------------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool Value) {
    if (Value == FChecked) return;
    FChecked = Value;
    SetTabStop(Value);
    Invalidate();
    if (!Value) return;
    if (TWinControl* parent = Parent()) {
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (auto* other = dynamic_cast<TRadioButton*>(parent->Controls(i)); other && other != this)
                other->SetChecked(false);
    }
    Click();
}

void TRadioButton::Toggle() { SetChecked(true); }

void TRadioButton::WMGetDlgCode(TMessage& M) { M.Result = DLGC_BUTTON | DLGC_RADIOBUTTON | DLGC_WANTARROWS; }

void TRadioButton::KeyDown(unsigned& Key, TShiftState Shift) {
    bool forward = Key == VK_RIGHT || Key == VK_DOWN;
    bool arrow = forward || Key == VK_LEFT || Key == VK_UP;
    if (!arrow || !Parent()) {
        TButtonControl::KeyDown(Key, Shift);
        return;
    }
    std::vector<TWinControl*> order, set;
    Parent()->GetTabOrderList(order);
    for (TWinControl* c : order)
        if (c->Parent() == Parent() && dynamic_cast<TRadioButton*>(c) && (c == this || c->CanFocus())) set.push_back(c);
    auto at = std::find(set.begin(), set.end(), static_cast<TWinControl*>(this));
    if (set.size() < 2 || at == set.end()) return;
    std::size_t i = std::size_t(at - set.begin());
    std::size_t n = set.size();
    auto* next = static_cast<TRadioButton*>(set[forward ? (i + 1) % n : (i + n - 1) % n]);
    next->SetFocus();
    next->SetChecked(true);
    Key = 0;
}

void TRadioButton::DrawMark(HDC DC, const RECT& Box) {
    TGdiScope gdi(DC);
    bool dim = FPressed || !Enabled();
    // Two rings: shadow above and highlight below, as a sunken edge; the window colour inside.
    gdi.Pen(clBtnHighlight);
    gdi.Brush(clBtnHighlight);
    Ellipse(DC, Box.left, Box.top, Box.right, Box.bottom);
    gdi.Pen(clBtnShadow);
    gdi.Brush(dim ? clBtnFace : clWindow);
    Ellipse(DC, Box.left, Box.top, Box.right - 1, Box.bottom - 1);
    gdi.Pen(cl3DDkShadow);
    Ellipse(DC, Box.left + 1, Box.top + 1, Box.right - 2, Box.bottom - 2);
    if (FChecked) {
        TColor dot = Enabled() ? clWindowText : clBtnShadow;
        gdi.Pen(dot);
        gdi.Brush(dot);
        Ellipse(DC, Box.left + 4, Box.top + 4, Box.left + 9, Box.top + 9);
    }
}

// --- TGroupBox ------------------------------------------------------------------------------

TGroupBox::TGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    SetBounds(0, 0, 185, 105);
    SetParentColor(true);
}

void TGroupBox::CMTextChanged(TMessage&) { Invalidate(); }

void TGroupBox::CMDialogChar(TMessage& M) {
    if (IsAccel(unsigned(M.WParam), GetText()) && Showing() && Enabled()) {
        if (TWinControl* first = FindNextControl(nullptr, true, true, false)) {
            first->SetFocus();
            M.Result = 1;
            return;
        }
    }
    TCustomControl::CMDialogChar(M);
}

void TGroupBox::Paint() {
    HDC dc = Canvas()->Handle();
    RECT r = ClientRect();
    HBRUSH face = CreateSolidBrush(ColorToRGB(Color()));
    win::FillRect(dc, &r, face);
    DeleteObject(face);
    SelectObject(dc, Font()->Handle());
    std::string text = Caption();
    SIZE extent{0, 0};
    GetTextExtentPoint32(dc, "0", 1, &extent);
    RECT frame{0, extent.cy / 2, r.right, r.bottom};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (text.empty()) return;
    RECT caption{8, 0, 0, extent.cy};
    DrawText(dc, text.c_str(), int(text.size()), &caption, DT_SINGLELINE | DT_CALCRECT);
    caption.left = 8;
    caption.right = std::min<int>(caption.right, r.right - 8);
    // The caption interrupts the frame's top line.
    RECT gap{caption.left - 2, 0, caption.right + 2, extent.cy};
    HBRUSH back = CreateSolidBrush(ColorToRGB(Color()));
    win::FillRect(dc, &gap, back);
    DeleteObject(back);
    DrawCaption(dc, this, Font(), caption, DT_SINGLELINE | DT_LEFT);
}

// --- TRadioGroup ---------------------------------------------------------------------------

// A radio button of a group: its check tells the group.
class TRadioGroup::TGroupButton : public TRadioButton {
public:
    TGroupButton(TRadioGroup* Group) : TRadioButton(nullptr), FGroup(Group) {}

protected:
    void Click() override {
        TRadioButton::Click();
        if (Checked()) FGroup->ButtonClicked(this);
    }

private:
    TRadioGroup* FGroup;
};

TRadioGroup::TRadioGroup(TComponent* AOwner) : TGroupBox(AOwner), FItems(std::make_unique<rtl::TStringList>()) {
    FControlStyle = csSetCaption | csDoubleClicks;
    FItems->OnChange = [this](rtl::TStringList&) { ItemsChanged(); };
}

TRadioGroup::~TRadioGroup() {
    FItems->OnChange = nullptr;
    for (TRadioButton* b : FButtons) delete b;
    FButtons.clear();
}

void TRadioGroup::SetColumns(int Value) {
    Value = std::clamp(Value, 1, 16);
    if (Value == FColumns) return;
    FColumns = Value;
    ArrangeButtons();
    Invalidate();
}

void TRadioGroup::SetItemIndex(int Value) {
    if (IsLoading()) {
        FItemIndex = Value;
        return;
    }
    Value = std::clamp(Value, -1, int(FButtons.size()) - 1);
    if (Value == FItemIndex) return;
    FItemIndex = Value;
    FUpdating = true;
    if (Value >= 0) FButtons[std::size_t(Value)]->SetChecked(true);
    else
        for (TRadioButton* b : FButtons) b->SetChecked(false);
    FUpdating = false;
    Click();
}

void TRadioGroup::ButtonClicked(TRadioButton* Button) {
    if (FUpdating) return;
    auto it = std::find(FButtons.begin(), FButtons.end(), Button);
    if (it == FButtons.end()) return;
    FItemIndex = int(it - FButtons.begin());
    Click();
}

void TRadioGroup::ItemsChanged() {
    if (IsLoading()) return;
    if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
    UpdateButtons();
}

void TRadioGroup::Loaded() {
    TGroupBox::Loaded();
    int index = FItemIndex;
    FItemIndex = std::clamp(index, -1, FItems->Count() - 1);
    UpdateButtons();
}

void TRadioGroup::UpdateButtons() {
    FUpdating = true;
    while (int(FButtons.size()) > FItems->Count()) {
        delete FButtons.back();
        FButtons.pop_back();
    }
    while (int(FButtons.size()) < FItems->Count()) {
        auto* b = new TGroupButton(this);
        b->SetParent(this);
        FButtons.push_back(b);
    }
    for (std::size_t i = 0; i < FButtons.size(); ++i) {
        TRadioButton* b = FButtons[i];
        b->SetCaption(FItems->Get(int(i)));
        b->SetEnabled(Enabled());
        b->SetChecked(int(i) == FItemIndex);
    }
    // With none checked the first button still takes the Tab key into the group.
    if (FItemIndex < 0 && !FButtons.empty()) FButtons.front()->SetTabStop(true);
    FUpdating = false;
    ArrangeButtons();
}

void TRadioGroup::ArrangeButtons() {
    if (FButtons.empty()) return;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    // Top to bottom in each column, the rows sharing the height below the caption evenly and
    // what is left over split above and below them.
    int count = int(FButtons.size());
    int perColumn = (count + FColumns - 1) / FColumns;
    int width = (Width() - 10) / FColumns;
    int room = Height() - int(tm.tmHeight) - 5;
    int height = room / perColumn;
    int top = int(tm.tmHeight) + 1 + (room % perColumn) / 2;
    for (int i = 0; i < count; ++i)
        FButtons[std::size_t(i)]->SetBounds((i / perColumn) * width + 8, (i % perColumn) * height + top, width, height);
}

void TRadioGroup::WMSize(TMessage& M) {
    TGroupBox::WMSize(M);
    ArrangeButtons();
}

void TRadioGroup::CMFontChanged(TMessage& M) {
    TGroupBox::CMFontChanged(M);
    ArrangeButtons();
}

void TRadioGroup::CMEnabledChanged(TMessage& M) {
    TGroupBox::CMEnabledChanged(M);
    for (TRadioButton* b : FButtons) b->SetEnabled(Enabled());
}

// --- TBevel ---------------------------------------------------------------------------------

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
    FControlStyle |= csReplicatable;
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
    if (Value == FShape) return;
    FShape = Value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    Invalidate();
}

void TBevel::Paint() {
    HDC dc = Canvas()->Handle();
    bool lowered = FStyle == TBevelStyle::bsLowered;
    TColor first = lowered ? clBtnShadow : clBtnHighlight;   // top and left
    TColor second = lowered ? clBtnHighlight : clBtnShadow;  // bottom and right
    int w = Width(), h = Height();
    TGdiScope gdi(dc);
    auto line = [&](TColor c, int x1, int y1, int x2, int y2) {
        gdi.Pen(c);
        MoveToEx(dc, x1, y1, nullptr);
        LineTo(dc, x2, y2);
    };
    switch (FShape) {
    case TBevelShape::bsBox: {
        RECT r{0, 0, w, h};
        Frame3D(dc, &r, ColorToRGB(first), ColorToRGB(second), 1);
        break;
    }
    case TBevelShape::bsFrame: {
        // Two offset rectangles make the etched (lowered) or bumped (raised) frame.
        RECT outer{0, 0, w - 1, h - 1}, inner{1, 1, w, h};
        Frame3D(dc, &outer, ColorToRGB(first), ColorToRGB(first), 1);
        Frame3D(dc, &inner, ColorToRGB(second), ColorToRGB(second), 1);
        break;
    }
    case TBevelShape::bsTopLine:
        line(first, 0, 0, w, 0);
        line(second, 0, 1, w, 1);
        break;
    case TBevelShape::bsBottomLine:
        line(first, 0, h - 2, w, h - 2);
        line(second, 0, h - 1, w, h - 1);
        break;
    case TBevelShape::bsLeftLine:
        line(first, 0, 0, 0, h);
        line(second, 1, 0, 1, h);
        break;
    case TBevelShape::bsRightLine:
        line(first, w - 2, 0, w - 2, h);
        line(second, w - 1, 0, w - 1, h);
        break;
    }
}

namespace {

// The properties stored forms keep of radio groups; the buttons are made from the items.
struct TRadioGroupRegistration {
    TRadioGroupRegistration() {
        using G = TRadioGroup;
        using C = TCheckBox;
        RegisterClass<C>("TCheckBox", "", With<C>(WinControlProperties<C>(), {
            BooleanProperty<C>("TabStop", &C::TabStop, &C::SetTabStop).WithDefault(1),
            EnumProperty<C>("Alignment", &C::Alignment, &C::SetAlignment, {"taLeftJustify", "taRightJustify", "taCenter"})
                .WithDefault(int(TAlignment::taRightJustify)),
            BooleanProperty<C>("AllowGrayed", &C::AllowGrayed, &C::SetAllowGrayed).WithDefault(0),
            EnumProperty<C>("State", &C::State, &C::SetState, {"cbUnchecked", "cbChecked", "cbGrayed"})
                .WithDefault(int(TCheckBoxState::cbUnchecked)),
        }));
        using R = TRadioButton;
        RegisterClass<R>("TRadioButton", "", With<R>(WinControlProperties<R>(), {
            EnumProperty<R>("Alignment", &R::Alignment, &R::SetAlignment, {"taLeftJustify", "taRightJustify", "taCenter"})
                .WithDefault(int(TAlignment::taRightJustify)),
            BooleanProperty<R>("Checked", &R::Checked, &R::SetChecked).WithDefault(0),
        }));
        RegisterClass<TGroupBox>("TGroupBox", "", WinControlProperties<TGroupBox>());
        using V = TBevel;
        RegisterClass<V>("TBevel", "", With<V>(ControlProperties<V>(), {
            EnumProperty<V>("Shape", &V::Shape, &V::SetShape,
                            {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine"})
                .WithDefault(int(TBevelShape::bsBox)),
            EnumProperty<V>("Style", &V::Style, &V::SetStyle, {"bsLowered", "bsRaised"})
                .WithDefault(int(TBevelStyle::bsLowered)),
        }));
        RegisterClass<G>("TRadioGroup", "", With<G>(WinControlProperties<G>(), {
            IntegerProperty<G>("Columns", &G::Columns, &G::SetColumns).WithDefault(1),
            IntegerProperty<G>("ItemIndex", &G::ItemIndex, &G::SetItemIndex).WithDefault(-1),
            StringsProperty<G>("Items", &G::Items),
            BooleanProperty<G>("TabStop", &G::TabStop, &G::SetTabStop).WithDefault(0),
        }));
    }
} radioGroupRegistration;

} // namespace

} // namespace vcl
