#include "declsearch/CheckBox.h"
#include "declsearch/CheckList.h"
#include "declsearch/ControlBar.h"
#include "declsearch/Credits.h"

#include "vcl/StoredControls.h"

#include <algorithm>

namespace declsearch {

using namespace vcl;

TKwCheckBox::TKwCheckBox(TComponent* AOwner) : TCustomControl(AOwner) {
    // Clicks come from the state changes, not from the mouse handling of the base.
    FControlStyle = csSetCaption | csDoubleClicks;
    SetBounds(0, 0, 98, 20);
    SetTabStop(true);
}

void TKwCheckBox::Changed(bool FireClick) {
    if (HandleAllocated()) Repaint();
    if (FireClick) Click();
}

void TKwCheckBox::SetAlignment(int Value) {
    if (Value == FAlignment) return;
    FAlignment = Value;
    Changed(true);
}

void TKwCheckBox::SetBevel(TKwBevel Value) {
    if (Value == FBevel) return;
    FBevel = Value;
    Changed(true);
}

void TKwCheckBox::SetState(TKwCheckState Value) {
    if (Value == FState) return;
    FState = Value;
    Changed(true);
}

void TKwCheckBox::SetCheckColor(TColor Value) {
    if (Value == FCheckColor) return;
    FCheckColor = Value;
    Invalidate();
}

void TKwCheckBox::SetBevelColor(TColor Value) {
    if (Value == FBevelColor) return;
    FBevelColor = Value;
    Invalidate();
}

void TKwCheckBox::SetCheckStyle(TKwCheckStyle Value) {
    if (Value == FCheckStyle) return;
    FCheckStyle = Value;
    if (FState == kcsChecked) Invalidate();
}

TRect TKwCheckBox::BoxRect() const {
    int h = Height(), w = Width();
    int left = FAlignment == 0 ? 1 : w - 14;
    // Right and bottom exclusive: 13 pixels across.
    return Rect(left, h / 2 - 6, left + 13, h / 2 + 7);
}

TRect TKwCheckBox::CaptionRect() {
    TCanvas* c = Canvas();
    c->SetFont(Font());
    std::string text = Caption();
    win::RECT measure = Rect(0, 0, 0, 0);
    (void)c->TextWidth("W");
    win::DrawText(c->Handle(), text.c_str(), int(text.size()), &measure, win::DT_CALCRECT | win::DT_SINGLELINE);
    int tw = measure.right, th = std::max<int>(measure.bottom, c->TextHeight("W"));
    int x = FAlignment == 0 ? 18 : 1;
    int top = Font()->Height() / 2 + Height() / 2 - 1;
    TRect r = Rect(x - 1, top, x - 1 + tw + 3, top + th + 1);
    if (FAlignment != 0) r.right = std::min<int>(r.right, BoxRect().left - 5);
    return r;
}

void TKwCheckBox::DrawMark(TCanvas* C, const TRect& Box) {
    int l = Box.left, t = Box.top; // the box's first pixel; its last is l + 12, t + 12
    C->Pen()->SetColor(FCheckColor);
    C->Pen()->SetWidth(1);
    auto line = [&](int x1, int y1, int x2, int y2) {
        C->MoveTo(x1, y1);
        C->LineTo(x2, y2);
    };
    switch (FCheckStyle) {
    case csCross:
        for (int d = -1; d <= 1; ++d) {
            line(l + 3 + d, t + 3, l + 10 + d, t + 10);
            line(l + 9 + d, t + 3, l + 2 + d, t + 10);
        }
        break;
    case csOK:
        for (int d = 0; d <= 1; ++d) {
            line(l + 3, t + 5 + d, l + 5, t + 7 + d);
            line(l + 5, t + 7 + d, l + 10, t + 2 + d);
        }
        break;
    case csPoint:
        for (int y = t + 4; y <= t + 8; ++y) line(l + 4, y, l + 9, y);
        break;
    }
}

void TKwCheckBox::Paint() {
    TCanvas* c = Canvas();
    TRect client = ClientRect();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(client);
    TRect box = BoxRect();
    int l = box.left, t = box.top, r = box.right - 1, b = box.bottom - 1;
    c->Pen()->SetWidth(1);
    if (Ctl3D()) {
        bool raised = FBevel == kbRaised;
        c->Brush()->SetColor(raised ? clBtnFace : FBevelColor);
        c->FillRect(box);
        TColor tl = raised ? clBtnHighlight : clBtnShadow;
        TColor br = raised ? clBtnShadow : clBtnHighlight;
        c->Pen()->SetColor(tl);
        c->MoveTo(l, b);
        c->LineTo(l, t);
        c->LineTo(r + 1, t);
        c->Pen()->SetColor(br);
        c->MoveTo(r, t + 1);
        c->LineTo(r, b);
        c->LineTo(l, b);
        if (!raised) {
            c->Pen()->SetColor(clBlack);
            c->MoveTo(l + 1, b - 1);
            c->LineTo(l + 1, t + 1);
            c->LineTo(r, t + 1);
        }
    } else {
        c->Pen()->SetColor(clBlack);
        c->Brush()->SetColor(Color());
        c->Rectangle(l, t, r + 1, b + 1);
    }
    if (FState == kcsChecked) DrawMark(c, box);
    else if (FState == kcsGrayed) {
        c->Brush()->SetColor(clBtnShadow);
        c->FillRect(Rect(l + 2, t + 2, r - 1, b - 1));
    }
    // The caption on the control's colour.
    TRect cap = CaptionRect();
    c->SetFont(Font());
    if (!Enabled()) c->Font()->SetColor(clGrayText);
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    std::string text = Caption();
    (void)c->TextWidth("W");
    win::HDC dc = c->Handle();
    win::SetTextColor(dc, ColorToRGB(c->Font()->Color()));
    win::SetBkColor(dc, ColorToRGB(Color()));
    win::SetBkMode(dc, win::OPAQUE);
    c->FillRect(cap);
    TRect textRect = Rect(cap.left + 1, cap.top, cap.right, cap.bottom);
    win::DrawText(dc, text.c_str(), int(text.size()), &textRect, win::DT_SINGLELINE | win::DT_LEFT | win::DT_TOP);
    c->Brush()->SetColor(Color());
    c->FrameRect(cap);
    if (FFocused) c->DrawFocusRect(cap);
}

void TKwCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == TMouseButton::mbLeft && Enabled()) {
        if (CanFocus() && !Focused()) SetFocus();
        FMouseDown = true;
        win::SetCapture(Handle());
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TKwCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == TMouseButton::mbLeft && FMouseDown) {
        FMouseDown = false;
        if (win::GetCapture() == Handle()) win::ReleaseCapture();
        if (X >= 0 && Y >= 0 && X < Width() && Y < Height()) SetChecked(!Checked());
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TKwCheckBox::KeyDown(unsigned& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == win::VK_SPACE) SetChecked(!Checked());
}

void TKwCheckBox::DoEnter() {
    FFocused = true;
    Invalidate();
    TCustomControl::DoEnter();
}

void TKwCheckBox::DoExit() {
    FFocused = false;
    FMouseDown = false;
    Invalidate();
    TCustomControl::DoExit();
}

void TKwCheckBox::CMTextChanged(TMessage&) { Invalidate(); }
void TKwCheckBox::CMEnabledChanged(TMessage& M) {
    TCustomControl::CMEnabledChanged(M);
    Invalidate();
}
void TKwCheckBox::CMFontChanged(TMessage& M) {
    TCustomControl::CMFontChanged(M);
    Invalidate();
}
void TKwCheckBox::CMColorChanged(TMessage& M) {
    TCustomControl::CMColorChanged(M);
    Invalidate();
}
void TKwCheckBox::CMCtl3DChanged(TMessage& M) {
    TCustomControl::CMCtl3DChanged(M);
    Invalidate();
}

} // namespace declsearch

namespace declsearch {

void RegisterDeclsearchControls() {
    using namespace vcl;
    static bool done = false;
    if (done) return;
    done = true;
    RegisterCheckList();
    RegisterCredits();
    RegisterControlBar();
    RegisterClass<TKwCheckBox>("TKwCheckBox", "", With<TKwCheckBox>(WinControlProperties<TKwCheckBox>(), {
        IntegerProperty<TKwCheckBox>("Alignment", &TKwCheckBox::Alignment, &TKwCheckBox::SetAlignment).WithDefault(0),
        EnumProperty<TKwCheckBox>("Bevel", &TKwCheckBox::Bevel, &TKwCheckBox::SetBevel, {"bvLowered", "bvRaised"})
            .WithDefault(kbLowered),
        ColorProperty<TKwCheckBox>("CheckColor", &TKwCheckBox::CheckColor, &TKwCheckBox::SetCheckColor)
            .WithDefault(clBlack),
        ColorProperty<TKwCheckBox>("BevelColor", &TKwCheckBox::BevelColor, &TKwCheckBox::SetBevelColor)
            .WithDefault(clWhite),
        EnumProperty<TKwCheckBox>("CheckStyle", &TKwCheckBox::CheckStyle, &TKwCheckBox::SetCheckStyle,
                                  {"csCross", "csOK", "csPoint"}).WithDefault(csOK),
        EnumProperty<TKwCheckBox>("State", &TKwCheckBox::State, &TKwCheckBox::SetState,
                                  {"cbUnchecked", "cbChecked", "cbGrayed"}).WithDefault(kcsUnchecked),
    }));
}

} // namespace declsearch
