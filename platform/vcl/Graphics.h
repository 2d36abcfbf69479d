// Drawing objects of the class library: colours with the system colours, fonts, pens, brushes,
// the canvas over a device context, and bitmaps. Implementations in Graphics.cpp.
#pragma once

#include "vcl/Persistent.h"

#include "rtl/Exceptions.h"
#include "rtl/Streams.h"
#include "win/Windows.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vcl {

RTL_DECLARE_EXCEPTION(EInvalidGraphic, rtl::Exception);
RTL_DECLARE_EXCEPTION(EInvalidGraphicOperation, rtl::Exception);
RTL_DECLARE_EXCEPTION(EOutOfResources, rtl::Exception);

// A colour: 0x00BBGGRR, or a system colour (0x80000000 | COLOR_ index) resolved when drawn.
using TColor = std::int32_t;

constexpr TColor clSystemColor = TColor(0x80000000u);
constexpr TColor clScrollBar = clSystemColor | win::COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | win::COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | win::COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | win::COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | win::COLOR_MENU;
constexpr TColor clWindow = clSystemColor | win::COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | win::COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | win::COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | win::COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | win::COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | win::COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | win::COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | win::COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | win::COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | win::COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | win::COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | win::COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | win::COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | win::COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | win::COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | win::COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | win::COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | win::COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | win::COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | win::COLOR_INFOBK;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The colour as drawn now: a system colour looked up, any other value as it stands.
win::COLORREF ColorToRGB(TColor Color);

using TNotifyEvent = std::function<void(TObject* Sender)>;

// Pens, brushes and fonts: a description that makes its GDI object when first asked.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    void Changed();
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;
enum class TFontPitch { fpDefault, fpVariable, fpFixed };

class TFont : public TGraphicsObject {
public:
    TFont();
    ~TFont() override;

    void Assign(TPersistent* Source) override;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value);
    // Points; Height is the character height in pixels, given as a negative number.
    int Size() const;
    void SetSize(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value) { FPixelsPerInch = Value; }

    win::HFONT Handle();

private:
    void Change();

    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    TFontStyles FStyle = 0;
    TColor FColor = clWindowText;
    TFontPitch FPitch = TFontPitch::fpDefault;
    int FPixelsPerInch = 96;
    win::HFONT FHandle = nullptr;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum class TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TGraphicsObject {
public:
    TPen() = default;
    ~TPen() override;
    void Assign(TPersistent* Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode Value);

    win::HPEN Handle();

private:
    void Change();
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = TPenStyle::psSolid;
    TPenMode FMode = TPenMode::pmCopy;
    win::HPEN FHandle = nullptr;
};

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBitmap;

class TBrush : public TGraphicsObject {
public:
    TBrush() = default;
    ~TBrush() override;
    void Assign(TPersistent* Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);
    // A pattern brush of the bitmap's top-left 8 x 8 pixels; the brush keeps no link to it.
    TBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TBitmap* Value);

    win::HBRUSH Handle();

private:
    void Change();
    TColor FColor = clWhite;
    TBrushStyle FStyle = TBrushStyle::bsSolid;
    TBitmap* FBitmap = nullptr;
    win::HBRUSH FHandle = nullptr;
};

using TRect = win::RECT;
using TPoint = win::POINT;
inline TRect Rect(int Left, int Top, int Right, int Bottom) { return TRect{Left, Top, Right, Bottom}; }
inline TPoint Point(int X, int Y) { return TPoint{X, Y}; }

using TCopyMode = win::DWORD;
constexpr TCopyMode cmSrcCopy = win::SRCCOPY;
constexpr TCopyMode cmSrcAnd = win::SRCAND;
constexpr TCopyMode cmSrcPaint = win::SRCPAINT;
constexpr TCopyMode cmSrcInvert = win::SRCINVERT;
constexpr TCopyMode cmNotSrcCopy = win::NOTSRCCOPY;
constexpr TCopyMode cmMergePaint = win::MERGEPAINT;
constexpr TCopyMode cmPatCopy = win::PATCOPY;
constexpr TCopyMode cmBlackness = win::BLACKNESS;
constexpr TCopyMode cmWhiteness = win::WHITENESS;
constexpr TCopyMode cmDstInvert = win::DSTINVERT;

class TGraphic;

// Drawing on a device context with the canvas's font, pen and brush, selected before each call.
class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    win::HDC Handle();
    void SetHandle(win::HDC Value); // the canvas does not own a handle given to it
    bool HandleAllocated() const { return FHandle != nullptr; }

    TFont* Font() const { return FFont.get(); }
    TPen* Pen() const { return FPen.get(); }
    TBrush* Brush() const { return FBrush.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
    TPoint PenPos();
    void SetPenPos(TPoint Value) { MoveTo(Value.x, Value.y); }

    TColor Pixels(int X, int Y);
    void SetPixels(int X, int Y, TColor Value);
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void FillRect(const TRect& Rect);
    void FrameRect(const TRect& Rect);
    void Polygon(const std::vector<TPoint>& Points);
    void Polyline(const std::vector<TPoint>& Points);
    void TextOut(int X, int Y, const std::string& Text);
    void TextRect(const TRect& Rect, int X, int Y, const std::string& Text);
    int TextWidth(const std::string& Text);
    int TextHeight(const std::string& Text);
    win::SIZE TextExtent(const std::string& Text);
    void Draw(int X, int Y, TGraphic* Graphic);
    // The graphic fitted into Rect.
    void StretchDraw(const TRect& Rect, TGraphic* Graphic);
    void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
    // Copies Source with every pixel of Color replaced by the brush.
    void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);
    void DrawFocusRect(const TRect& Rect);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    // Descendants make a handle on first use (a bitmap's memory DC, a control's window DC).
    virtual void CreateHandle() {}
    void Changing();
    void Changed();

private:
    enum : unsigned { stFont = 1, stPen = 2, stBrush = 4 };
    void Require(unsigned State);
    win::HDC DeviceHandle();
    void Deselect();

    win::HDC FHandle = nullptr;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    TCopyMode FCopyMode = cmSrcCopy;
    unsigned FSelected = 0;
    win::HGDIOBJ FOldFont = nullptr, FOldPen = nullptr, FOldBrush = nullptr;
};

// Something a canvas can draw.
class TGraphic : public TPersistent {
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;
    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    friend class TPicture;
    virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
    // The picture as a stored form keeps it.
    virtual void ReadData(rtl::TStream& Stream) = 0;
    virtual void WriteData(rtl::TStream& Stream) = 0;
    void Changed();
};

// A device-dependent bitmap with a canvas of its own over a memory DC.
class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;
    void Assign(TPersistent* Source) override;

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    bool Empty() const override { return FWidth == 0 || FHeight == 0; }
    void SetWidth(int Value) { SetSize(Value, FHeight); }
    void SetHeight(int Value) { SetSize(FWidth, Value); }
    void SetSize(int AWidth, int AHeight);
    bool Monochrome() const { return FMonochrome; }
    void SetMonochrome(bool Value);
    // The colour of the bottom-left pixel unless set.
    TColor TransparentColor();
    void SetTransparentColor(TColor Value) { FTransparentColor = Value; }

    TCanvas* Canvas();
    win::HBITMAP Handle();
    // Takes the bitmap over.
    void SetHandle(win::HBITMAP Value);
    win::HBITMAP ReleaseHandle();

    // A .bmp file's bytes: 1, 4, 8, 24 or 32 bits per pixel.
    void LoadFromBytes(const void* Data, std::size_t Size);
    void LoadFromFile(const std::string& FileName);
    // A bitmap resource of a module; module 0 is the one whose code calls the class library.
    void LoadFromResourceName(void* Instance, const std::string& ResName);
    void LoadFromResourceID(void* Instance, int ResID);
    // The picture as a .bmp file: 24 bits per pixel, or 1 for a monochrome bitmap; empty when
    // the bitmap is.
    std::string SaveToBytes();

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    // A stored form keeps the picture as "Data": its size in 4 bytes, then the .bmp file.
    void DefineProperties(TFiler* Filer) override;
    void ReadData(rtl::TStream& Stream) override;
    void WriteData(rtl::TStream& Stream) override;

private:
    friend class TBitmapCanvas;
    void FreeImage();
    void Rebuild(int AWidth, int AHeight, bool AMono);

    int FWidth = 0, FHeight = 0;
    bool FMonochrome = false;
    TColor FTransparentColor = clDefault;
    win::HBITMAP FHandle = nullptr;
    std::unique_ptr<TCanvas> FCanvas;
};

// An icon: a picture with a mask, drawn through the window system's icons. Loaded from .ico
// files (the 32 x 32 image when there is one, else the first) of 1, 4, 8, 24 or 32 bits.
class TIcon : public TGraphic {
public:
    TIcon();
    ~TIcon() override;
    void Assign(TPersistent* Source) override;

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    bool Empty() const override { return FData.empty(); }
    // Made on first use; the icon owns it.
    win::HICON Handle();

    void LoadFromBytes(const void* Data, std::size_t Size);
    void LoadFromFile(const std::string& FileName);
    void LoadFromResourceName(void* Instance, const std::string& ResName);
    void LoadFromResourceID(void* Instance, int ResID);
    // The .ico file it was loaded from; empty when the icon is.
    const std::string& SaveToBytes() const { return FData; }

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    void ReadData(rtl::TStream& Stream) override;
    void WriteData(rtl::TStream& Stream) override;

private:
    void FreeHandle();

    std::string FData;
    int FWidth = 0, FHeight = 0;
    std::vector<unsigned char> FColourBits, FMaskBits; // as CreateBitmap takes them
    win::HICON FHandle = nullptr;
};

// Holds one graphic, a bitmap or an icon, and tells of every change.
class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    // A picture, a bitmap or an icon is copied; nullptr empties the picture.
    void Assign(TPersistent* Source) override;

    TGraphic* Graphic() const { return FGraphic.get(); }
    void SetGraphic(TGraphic* Value) { Assign(Value); }
    // The bitmap or icon held, an empty one of that kind replacing anything else.
    TBitmap* Bitmap();
    TIcon* Icon();
    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }
    // A .bmp or .ico file, by its extension.
    void LoadFromFile(const std::string& FileName);

    TNotifyEvent OnChange;

protected:
    // "Data": the graphic's class name (a length byte and the name), then the graphic's data.
    void DefineProperties(TFiler* Filer) override;

private:
    void Take(std::unique_ptr<TGraphic> Graphic);
    void Changed();

    std::unique_ptr<TGraphic> FGraphic;
};

} // namespace vcl
