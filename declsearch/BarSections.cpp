// The sections a control bar holds: the shared base with its picture and place, the button
// section and the information section.
#include "declsearch/ControlBar.h"

#include "vcl/Dialogs.h"

#include <algorithm>
#include <cmath>

namespace declsearch {

using namespace vcl;

namespace {

int Living = 0;

void ShowError(const char* Text) { MessageDlg(Text, TMsgDlgType::mtError, mbOK, 0); }

} // namespace

int TKWCustomSection::LivingSections() { return Living; }

TKWCustomSection::TKWCustomSection(TComponent* AOwner)
    : TGraphicControl(AOwner), TPlacedSection(this), FGlyph(std::make_unique<TButtonGlyph>(this)) {
    FGlyph->OnChange = [this](TObject*) { Invalidate(); };
    SetParentFont(true);
    ++Living;
}

TKWCustomSection::~TKWCustomSection() {
    FGlyph.reset();
    if (--Living == 0) FreeSectionPattern();
}

TCustomControlBar* TKWCustomSection::Bar() const { return dynamic_cast<TCustomControlBar*>(Parent()); }

void TKWCustomSection::UpdateExclusive() {
    if (FGroupIndex == 0 || !Parent()) return;
    TMessage m{CM_BUTTONPRESSED, win::WPARAM(FGroupIndex), win::LPARAM(this), 0};
    Parent()->Broadcast(m);
}

void TKWCustomSection::SetDown(bool Value) {
    if (FGroupIndex == 0) Value = false;
    if (Value == FDown) return;
    if (FDown && !FAllowAllUp) return;
    FDown = Value;
    FState = Value ? bsExclusive : bsUp;
    Invalidate();
    if (Value) UpdateExclusive();
}

void TKWCustomSection::SetAllowAllUp(bool Value) {
    if (Value == FAllowAllUp) return;
    FAllowAllUp = Value;
    UpdateExclusive();
}

void TKWCustomSection::SetGroupIndex(int Value) {
    if (Value == FGroupIndex) return;
    FGroupIndex = Value;
    UpdateExclusive();
}

void TKWCustomSection::SetGlyph(TBitmap* Value) {
    FGlyph->SetGlyph(Value);
    Invalidate();
}

void TKWCustomSection::SetNumGlyphs(int Value) {
    Value = std::clamp(Value, 1, 4);
    if (Value == FGlyph->NumGlyphs()) return;
    FGlyph->SetNumGlyphs(Value);
    Invalidate();
}

void TKWCustomSection::SetLayout(TButtonLayout Value) {
    if (Value == FLayout) return;
    FLayout = Value;
    Invalidate();
}

void TKWCustomSection::SetMargin(int Value) {
    if (Value == FMargin || Value < -1) return;
    FMargin = Value;
    Invalidate();
}

void TKWCustomSection::SetSpacing(int Value) {
    if (Value == FSpacing) return;
    FSpacing = Value;
    Invalidate();
}

void TKWCustomSection::SetAlignment(TAlignment Value) {
    if (Value == FAlignment) return;
    FAlignment = Value;
    Invalidate();
}

void TKWCustomSection::SetStyle(TButtonStyle Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    Invalidate();
}

void TKWCustomSection::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (!ReadingForm()) {
        FPlace.FitWidth(AWidth);
        FPlace.FitHeight(AHeight);
    }
    bool moved = ALeft != Left() || ATop != Top() || AWidth != Width() || AHeight != Height();
    TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (moved) FPlace.Moved();
}

void TKWListSection::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (!(ComponentState() & csReading)) {
        if (AWidth != Width()) FPlace.FitWidth(AWidth);
        if (AHeight != Height() && FPlace.AutoResize()) FPlace.FitHeight(AHeight);
    }
    bool moved = ALeft != Left() || ATop != Top() || AWidth != Width() || AHeight != Height();
    TComboBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (moved) FPlace.Moved();
}

TCustomControlBar* TSectionPlace::Bar() const { return dynamic_cast<TCustomControlBar*>(FControl->Parent()); }

bool TSectionPlace::Reading() const { return FControl->ComponentState() & csReading; }

void TSectionPlace::RealignBar() const {
    if (TCustomControlBar* bar = Bar()) {
        bar->Realign();
        bar->AlignSections(nullptr);
    }
}

void TSectionPlace::Moved() const {
    if (FHAlign != haNone || FVAlign != vaNone)
        if (TCustomControlBar* bar = Bar()) bar->AlignSections(FControl);
}

bool TSectionPlace::CheckBar() const {
    if (Bar()) return true;
    if (!Reading()) ShowError(ParentTypeError);
    return false;
}

bool TSectionPlace::CheckAutoResize() const {
    if (FAutoResize) return true;
    if (!Reading()) ShowError(AutoResizeError);
    return false;
}

void TSectionPlace::SetAutoResize(bool Value) {
    // A stored form may name the section's bar only later; its value is kept.
    if (!Reading() && !CheckBar()) return;
    if (Value == FAutoResize) return;
    FAutoResize = Value;
    if (!Value) FMaxWidth = FMaxHeight = FMinWidth = FMinHeight = -1;
}

void TSectionPlace::SetMaxWidth(int Value) {
    if (Reading()) { FMaxWidth = Value; return; }
    if (!CheckAutoResize() || !Bar() || Value == FMaxWidth) return;
    if (Value != -1 && FMinWidth != -1 && Value < FMinWidth) return;
    FMaxWidth = Value != -1 ? std::max(Value, FControl->Width()) : Value;
}

void TSectionPlace::SetMaxHeight(int Value) {
    if (Reading()) { FMaxHeight = Value; return; }
    if (!CheckAutoResize() || !Bar() || Value == FMaxHeight) return;
    if (Value != -1 && FMinHeight != -1 && Value < FMinHeight) return;
    FMaxHeight = Value != -1 ? std::max(Value, FControl->Height()) : Value;
}

void TSectionPlace::SetMinWidth(int Value) {
    if (Reading()) { FMinWidth = Value; return; }
    if (!CheckAutoResize() || !Bar() || Value == FMinWidth) return;
    if (Value != -1 && FMaxWidth != -1 && Value > FMaxWidth) return;
    FMinWidth = Value != -1 ? std::min(Value, FControl->Width()) : Value;
}

void TSectionPlace::SetMinHeight(int Value) {
    if (Reading()) { FMinHeight = Value; return; }
    if (!CheckAutoResize() || !Bar() || Value == FMinHeight) return;
    if (Value != -1 && FMaxHeight != -1 && Value > FMaxHeight) return;
    FMinHeight = Value != -1 ? std::min(Value, FControl->Height()) : Value;
}

void TSectionPlace::SetHAlign(THAlign Value) {
    if (Value == FHAlign || (!Bar() && !Reading())) return;
    FHAlign = Value;
    RealignBar();
}

void TSectionPlace::SetVAlign(TVAlign Value) {
    if (Value == FVAlign || (!Bar() && !Reading())) return;
    FVAlign = Value;
    RealignBar();
}

void TSectionPlace::SetFixed(bool Value) {
    if (!Reading() && !CheckBar()) return;
    if (Value == FFixed) return;
    FFixed = Value;
    RealignBar();
}

void TSectionPlace::FitWidth(int& Width) const {
    if (FMaxWidth != -1) Width = std::min(Width, FMaxWidth);
    if (FMinWidth != -1) Width = std::max(Width, FMinWidth);
}

void TSectionPlace::FitHeight(int& Height) const {
    if (FMaxHeight != -1) Height = std::min(Height, FMaxHeight);
    if (FMinHeight != -1) Height = std::max(Height, FMinHeight);
}

void TKWCustomSection::CMEnabledChanged(TMessage& M) {
    TGraphicControl::CMEnabledChanged(M);
    Invalidate();
}
void TKWCustomSection::CMFontChanged(TMessage& M) {
    TGraphicControl::CMFontChanged(M);
    Invalidate();
}
void TKWCustomSection::CMTextChanged(TMessage& M) {
    TGraphicControl::CMTextChanged(M);
    Invalidate();
}
void TKWCustomSection::CMSysColorChange(TMessage& M) {
    TGraphicControl::CMSysColorChange(M);
    FGlyph->Invalidate();
    Invalidate();
}

TKWControlSection::TKWControlSection(TComponent* AOwner) : TKWCustomSection(AOwner) {
    // The section reports its clicks itself, after the down state has changed.
    FControlStyle = csCaptureMouse | csOpaque | csSetCaption;
    SetBounds(0, 0, 25, 25);
}

void TKWControlSection::Click() { TKWCustomSection::Click(); }

void TKWControlSection::Paint() {
    if (!Enabled() && !IsDesigning()) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = FDown ? bsExclusive : bsUp;
    }
    TCanvas* c = Canvas();
    TRect face = DrawButtonFace(c, Rect(0, 0, Width(), Height()), 1, FStyle, false,
                                FState == bsDown || FState == bsExclusive, false);
    if (FState == bsExclusive) {
        c->Brush()->SetBitmap(SectionPattern());
        c->FillRect(face);
        c->Brush()->SetBitmap(nullptr);
        c->Brush()->SetColor(clBtnFace);
    }
    c->SetFont(Font());
    FGlyph->Draw(c, face, FState, FSpacing, FMargin, FLayout, Caption());
}

void TKWControlSection::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TKWCustomSection::MouseDown(Button, Shift, X, Y);
    if (Button == TMouseButton::mbLeft && Enabled()) {
        if (!FDown) {
            FState = bsDown;
            Repaint();
        }
        FDragging = true;
    }
}

void TKWControlSection::MouseMove(TShiftState Shift, int X, int Y) {
    TKWCustomSection::MouseMove(Shift, X, Y);
    if (!FDragging) return;
    bool inside = X >= 0 && X < Width() && Y >= 0 && Y < Height();
    TButtonState next = FDown ? bsExclusive : (inside ? bsDown : bsUp);
    if (next != FState) {
        FState = next;
        Invalidate();
    }
}

void TKWControlSection::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TKWCustomSection::MouseUp(Button, Shift, X, Y);
    if (!FDragging || Button != TMouseButton::mbLeft) return;
    FDragging = false;
    bool inside = X >= 0 && X < Width() && Y >= 0 && Y < Height();
    FState = bsUp;
    if (FGroupIndex == 0) {
        Invalidate();
    } else if (inside) {
        SetDown(!FDown);
        // A down section that could not be raised shows as down again.
        if (FDown) FState = bsExclusive;
        Invalidate();
    } else {
        if (FDown) FState = bsExclusive;
        Invalidate();
    }
    if (inside) Click();
}

void TKWControlSection::WMLButtonDblClk(TMessage& M) {
    // The second press of a double click is a press like the first.
    TKWCustomSection::WMLButtonDown(M);
    if (FDown) DblClick();
}

void TKWControlSection::CMButtonPressed(TMessage& M) {
    auto* sender = reinterpret_cast<TKWCustomSection*>(M.LParam);
    if (int(M.WParam) != FGroupIndex || sender == this || !sender) return;
    if (sender->Down() && FDown) {
        FDown = false;
        FState = bsUp;
        Invalidate();
    }
    FAllowAllUp = sender->AllowAllUp();
}

void TKWControlSection::CMDialogChar(TMessage& M) {
    if (IsAccel(unsigned(M.WParam), Caption()) && Enabled() && Visible()) {
        Click();
        M.Result = 1;
    }
}

TKWInfoSection::TKWInfoSection(TComponent* AOwner) : TKWCustomSection(AOwner) {
    FControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks | csOpaque | csSetCaption;
    SetBounds(0, 0, 185, 41);
    SetParentColor(false);
    SetColor(clBtnFace);
}

void TKWInfoSection::SetBevelInner(TKWBevelCut Value) {
    if (Value == FBevelInner) return;
    FBevelInner = Value;
    Invalidate();
}
void TKWInfoSection::SetBevelOuter(TKWBevelCut Value) {
    if (Value == FBevelOuter) return;
    FBevelOuter = Value;
    Invalidate();
}
void TKWInfoSection::SetBevelWidth(int Value) {
    if (Value == FBevelWidth || Value < 0) return;
    FBevelWidth = Value;
    Invalidate();
}
void TKWInfoSection::SetBorderWidth(int Value) {
    if (Value == FBorderWidth || Value < 0) return;
    FBorderWidth = Value;
    Invalidate();
}
void TKWInfoSection::SetBorderStyle(TKWBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    Invalidate();
}
void TKWInfoSection::SetOptions(TKWFrameOptions Value) {
    Value &= foLeft | foRight | foTop | foBottom;
    if (Value == FOptions) return;
    FOptions = Value;
    Invalidate();
    FPlace.RealignBar();
}
void TKWInfoSection::SetBorderColor(TColor Value) {
    if (Value == FBorderColor) return;
    FBorderColor = Value;
    Invalidate();
}

void TKWInfoSection::Paint() {
    if (!Enabled() && !IsDesigning()) FState = bsDisabled;
    else if (FState == bsDisabled) FState = bsUp;
    TCanvas* c = Canvas();
    TRect outer = Rect(0, 0, Width(), Height());
    TRect r = outer;
    DrawPanelFrames(c, r, IsNewStyle(FStyle), FBevelOuter, FBevelInner, FBevelWidth, FBorderWidth, FBorderColor);
    // Sides left out of Options lose their frames to the fill.
    TRect fill = r;
    if (!(FOptions & foLeft)) fill.left = outer.left;
    if (!(FOptions & foRight)) fill.right = outer.right;
    if (!(FOptions & foTop)) fill.top = outer.top;
    if (!(FOptions & foBottom)) fill.bottom = outer.bottom;
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(fill);
    c->SetFont(Font());
    int th = c->TextHeight("W");
    TRect text = r;
    text.top = (r.top + r.bottom) / 2 - th / 2;
    text.bottom = text.top + th;
    // A caption too long for the section stays inside it, off its neighbours.
    win::HDC dc = c->Handle();
    int saved = win::SaveDC(dc);
    win::IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    FGlyph->Draw(c, text, FState, FSpacing, FMargin, FLayout, Caption());
    win::RestoreDC(dc, saved);
}

} // namespace declsearch
