// Buttons with pictures: the bitmap button with its stock kinds, and the speed button that works
// in groups without taking the focus. Both draw a picture strip of up to four state images beside
// their caption. Implementations in Buttons.cpp.
#pragma once

#include "vcl/StdCtrls.h"

#include <memory>

namespace vcl {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
// The images of a picture strip, in strip order.
enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
// bsAutoDetect draws the new look when the system has the new shell look.
enum class TButtonStyle { bsAutoDetect, bsWin31, bsNew };
enum class TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

class TButtonGlyph;

// The number of square state images in a picture strip, 1 to 4 (a longer strip is one picture);
// 0 when the strip is empty or does not cut into squares, and says nothing.
int GlyphCountOf(const TBitmap* Strip);
// The black pixels of the Width by Height part of Picture from Left (a monochrome picture's clear
// ones) as the set bits of a monochrome Mask, for embossing a disabled picture.
void MaskOfGlyph(TBitmap* Picture, int Left, int Width, int Height, TBitmap& Mask);

// Paints a button face in the style; answers the rectangle left for picture and caption.
TRect DrawButtonFace(TCanvas* Canvas, const TRect& Client, int BevelWidth, TButtonStyle Style, bool IsRounded,
                     bool IsDown, bool IsFocused);

// A push button with a picture. A Kind other than bkCustom gives the button its stock caption,
// picture, ModalResult and Default or Cancel; changing any of those makes it bkCustom again.
class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* AOwner);
    ~TBitBtn() override;

    TBitmap* Glyph() const;
    void SetGlyph(TBitmap* Value);
    TBitBtnKind Kind() const;
    void SetKind(TBitBtnKind Value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    // -1: the picture and caption are centred together.
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int NumGlyphs() const;
    void SetNumGlyphs(int Value);
    // -1: the space between picture and caption is shared out like the margins.
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    TButtonStyle Style() const { return FStyle; }
    void SetStyle(TButtonStyle Value);

    // bkClose closes the form and bkHelp opens the help of the nearest help context instead of
    // running OnClick; without a form or a context they click as any button.
    void Click() override;

    // What a stored form keeps: the picture and the settings of a kind only for bkCustom, the
    // caption only when it is not the kind's own.
    bool IsCustom() const { return Kind() == TBitBtnKind::bkCustom; }
    bool IsCustomCaption();

protected:
    // bsWin31 (and bsAutoDetect without the new shell look) draws the older outlined face.
    void Paint() override;
    void PaintContent(win::HDC DC, TRect Inside) override;
    void CMEnabledChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMSysColorChange(TMessage& Message) override;

private:
    std::unique_ptr<TButtonGlyph> FGlyph;
    mutable TBitBtnKind FKind = TBitBtnKind::bkCustom;
    TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    TButtonStyle FStyle = TButtonStyle::bsAutoDetect;
    bool FModifiedGlyph = false;
    bool FSettingKind = false;
};

// A flat-to-pressed button without a window. Buttons of one parent with the same GroupIndex
// (above 0) act as a set: one of them stays down, or none when AllowAllUp. A button of group 0
// springs back after every click.
class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;

    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    TBitmap* Glyph() const;
    void SetGlyph(TBitmap* Value);
    int NumGlyphs() const;
    void SetNumGlyphs(int Value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    TButtonState State() const { return FState; }

    void Click() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WMLButtonDblClk(TMessage& Message) override;
    void CMButtonPressed(TMessage& Message) override;
    void CMDialogChar(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void CMSysColorChange(TMessage& Message) override;

private:
    // Tells the other buttons of the group that this one is down, or its AllowAllUp.
    void UpdateExclusive();

    std::unique_ptr<TButtonGlyph> FGlyph;
    int FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    bool FDragging = false;
    TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    TButtonState FState = TButtonState::bsUp;
};

} // namespace vcl
