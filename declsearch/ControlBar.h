// The results window's bars and their sections: a window that holds flat push buttons with
// pictures and information fields, paints a panel-like frame and lays the sections out by their
// own horizontal and vertical alignment.
#pragma once

#include "declsearch/ButtonGlyph.h"

#include "vcl/Controls.h"
#include "vcl/ListCtrls.h"

namespace declsearch {

enum THAlign { haNone, haLeft, haCenter, haRight };
enum TVAlign { vaNone, vaTop, vaCenter, vaBottom };
enum TKWBevelCut { bvNone, bvLowered, bvRaised };
enum TKWBorderStyle { kbsNone, kbsSingle };
enum TKWFrameOption : unsigned { foLeft = 1, foRight = 2, foTop = 4, foBottom = 8 };
using TKWFrameOptions = unsigned;

inline const char* const ParentTypeError = "Parent must be of type TKWControlBar to change this value";
inline const char* const AutoResizeError = "Property AutoResize must be True to change this value";

class TCustomControlBar;

// The size bounds and the place in a bar that the button, information and list sections share.
class TSectionPlace {
public:
    explicit TSectionPlace(vcl::TControl* AControl) : FControl(AControl) {}

    bool AutoResize() const { return FAutoResize; }
    void SetAutoResize(bool Value);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int Value);
    int MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(int Value);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int Value);
    int MinHeight() const { return FMinHeight; }
    void SetMinHeight(int Value);
    THAlign HAlign() const { return FHAlign; }
    void SetHAlign(THAlign Value);
    TVAlign VAlign() const { return FVAlign; }
    void SetVAlign(TVAlign Value);
    bool Fixed() const { return FFixed; }
    void SetFixed(bool Value);

    // Cuts a size to the bounds that are set.
    void FitWidth(int& Width) const;
    void FitHeight(int& Height) const;
    // After the control moved or changed size: the bar places its aligned sections again.
    void Moved() const;
    TCustomControlBar* Bar() const;
    void RealignBar() const;

private:
    bool Reading() const;
    // Both refuse and tell the user when the section may not take the value now.
    bool CheckBar() const;
    bool CheckAutoResize() const;

    vcl::TControl* FControl;
    bool FAutoResize = false;
    int FMaxWidth = -1, FMaxHeight = -1, FMinWidth = -1, FMinHeight = -1;
    THAlign FHAlign = haNone;
    TVAlign FVAlign = vaNone;
    bool FFixed = false;
};

// A section's place properties, kept by its place.
class TPlacedSection {
public:
    bool AutoResize() const { return FPlace.AutoResize(); }
    void SetAutoResize(bool Value) { FPlace.SetAutoResize(Value); }
    int MaxWidth() const { return FPlace.MaxWidth(); }
    void SetMaxWidth(int Value) { FPlace.SetMaxWidth(Value); }
    int MaxHeight() const { return FPlace.MaxHeight(); }
    void SetMaxHeight(int Value) { FPlace.SetMaxHeight(Value); }
    int MinWidth() const { return FPlace.MinWidth(); }
    void SetMinWidth(int Value) { FPlace.SetMinWidth(Value); }
    int MinHeight() const { return FPlace.MinHeight(); }
    void SetMinHeight(int Value) { FPlace.SetMinHeight(Value); }
    THAlign HAlign() const { return FPlace.HAlign(); }
    void SetHAlign(THAlign Value) { FPlace.SetHAlign(Value); }
    TVAlign VAlign() const { return FPlace.VAlign(); }
    void SetVAlign(TVAlign Value) { FPlace.SetVAlign(Value); }
    bool Fixed() const { return FPlace.Fixed(); }
    void SetFixed(bool Value) { FPlace.SetFixed(Value); }

protected:
    explicit TPlacedSection(vcl::TControl* Section) : FPlace(Section) {}

    TSectionPlace FPlace;
};

class TKWCustomSection : public vcl::TGraphicControl, public TGlyphOwner, public TPlacedSection {
public:
    explicit TKWCustomSection(vcl::TComponent* AOwner);
    ~TKWCustomSection() override;

    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    vcl::TBitmap* Glyph() const { return FGlyph->Glyph(); }
    void SetGlyph(vcl::TBitmap* Value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int NumGlyphs() const { return FGlyph->NumGlyphs(); }
    void SetNumGlyphs(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    vcl::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(vcl::TAlignment Value);
    TButtonStyle Style() const { return FStyle; }
    void SetStyle(TButtonStyle Value);
    TButtonState State() const { return FState; }
    vcl::TNotifyEvent OnPaint;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    vcl::TAlignment GlyphAlignment() const override { return FAlignment; }
    TButtonGlyph* ButtonGlyph() const { return FGlyph.get(); }

    // The number of sections alive; the shared pattern goes with the last.
    static int LivingSections();

protected:
    void CMEnabledChanged(vcl::TMessage& Message) override;
    void CMFontChanged(vcl::TMessage& Message) override;
    void CMTextChanged(vcl::TMessage& Message) override;
    void CMSysColorChange(vcl::TMessage& Message) override;
    bool ReadingForm() const { return ComponentState() & vcl::csReading; }
    TCustomControlBar* Bar() const;
    void UpdateExclusive();

    std::unique_ptr<TButtonGlyph> FGlyph;
    TButtonState FState = bsUp;
    bool FDragging = false;
    bool FAllowAllUp = false;
    int FGroupIndex = 0;
    bool FDown = false;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    vcl::TAlignment FAlignment = vcl::TAlignment::taCenter;
    TButtonStyle FStyle = bsAutoDetect;
};

// A flat push button with a picture, a caption and a down state shared within a group.
class TKWControlSection : public TKWCustomSection {
public:
    explicit TKWControlSection(vcl::TComponent* AOwner);
    void Click() override;

protected:
    void Paint() override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void WMLButtonDblClk(vcl::TMessage& Message) override;
    void CMButtonPressed(vcl::TMessage& Message) override;
    void CMDialogChar(vcl::TMessage& Message) override;
};

// A label with bevels, a border and frames on chosen sides.
class TKWInfoSection : public TKWCustomSection {
public:
    explicit TKWInfoSection(vcl::TComponent* AOwner);

    TKWBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TKWBevelCut Value);
    TKWBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TKWBevelCut Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value);
    TKWBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TKWBorderStyle Value);
    TKWFrameOptions Options() const { return FOptions; }
    void SetOptions(TKWFrameOptions Value);
    vcl::TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(vcl::TColor Value);

protected:
    void Paint() override;

private:
    TKWBevelCut FBevelInner = bvNone;
    TKWBevelCut FBevelOuter = bvLowered;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TKWBorderStyle FBorderStyle = kbsNone;
    TKWFrameOptions FOptions = foLeft | foRight | foTop | foBottom;
    vcl::TColor FBorderColor = vcl::clBtnFace;
};

// A combo box that a bar places like its other sections.
class TKWListSection : public vcl::TComboBox, public TPlacedSection {
public:
    explicit TKWListSection(vcl::TComponent* AOwner) : vcl::TComboBox(AOwner), TPlacedSection(this) {}


    // A new width keeps to the width bounds; a new height to the height bounds only with AutoResize.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
};

class TCustomControlBar : public vcl::TCustomControl {
public:
    explicit TCustomControlBar(vcl::TComponent* AOwner);

    vcl::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(vcl::TAlignment Value);
    TKWBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TKWBevelCut Value);
    TKWBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TKWBevelCut Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value);
    TKWBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TKWBorderStyle Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    TButtonStyle Style() const { return FStyle; }
    void SetStyle(TButtonStyle Value);
    bool Locked() const { return FLocked; }
    void SetLocked(bool Value) { FLocked = Value; }

    vcl::TNotifyEvent OnResize;

    // The bar's layout rectangle: the client inside border and bevels.
    vcl::TRect InnerRect();
    // Places the children; Active is the control being moved or resized, if any.
    void AlignSections(vcl::TControl* Active);

protected:
    void Paint() override;
    void CreateParams(vcl::TCreateParams& Params) override;
    void AlignControls(vcl::TControl* AControl, vcl::TRect& Rect) override;
    void WMSize(vcl::TMessage& Message) override;
    void CMTextChanged(vcl::TMessage& Message) override;
    void DefineProperties(vcl::TFiler* Filer) override;
    void Loaded() override;

private:
    void Changed(bool Realign);
    void PlaceSections(vcl::TControl* AControl, vcl::TRect& Rect);
    bool FAligning = false;

    vcl::TAlignment FAlignment = vcl::TAlignment::taCenter;
    TKWBevelCut FBevelInner = bvNone;
    TKWBevelCut FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TKWBorderStyle FBorderStyle = kbsNone;
    int FMargin = 0;
    TButtonStyle FStyle = bsAutoDetect;
    bool FLocked = false;
};

class TKWControlBar : public TCustomControlBar {
public:
    using TCustomControlBar::TCustomControlBar;
};

// Draws the frames of a bevel, a border and an inner bevel, shrinking the rectangle.
void DrawPanelFrames(vcl::TCanvas* Canvas, vcl::TRect& Rect, bool NewStyle, TKWBevelCut Outer, TKWBevelCut Inner,
                     int BevelWidth, int BorderWidth, vcl::TColor BorderColor);

void RegisterControlBar();

} // namespace declsearch
