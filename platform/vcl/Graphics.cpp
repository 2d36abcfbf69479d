// Fonts, pens, brushes, the canvas and bitmaps over the window system's GDI.
#include "vcl/Graphics.h"

#include "vcl/Streaming.h"

#include "rtl/CodePages.h"
#include "rtl/Paths.h"
#include "rtl/Resources.h"

#include <algorithm>
#include <cstring>
#include <endian.h>
#include <fstream>
#include <iterator>

namespace vcl {

using namespace win;

COLORREF ColorToRGB(TColor Color) {
    if (Color < 0) return GetSysColor(int(Color & 0xFF));
    return COLORREF(Color) & 0x00FFFFFF;
}

void TGraphicsObject::Changed() {
    if (OnChange) OnChange(this);
}

// --- TFont ----------------------------------------------------------------------------------

TFont::TFont() {
    HDC dc = GetDC(nullptr);
    FPixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    if (FPixelsPerInch <= 0) FPixelsPerInch = 96;
    SetSize(8);
    FHandle = nullptr;
}

TFont::~TFont() {
    if (FHandle) DeleteObject(FHandle);
}

void TFont::Assign(TPersistent* Source) {
    if (auto* f = dynamic_cast<TFont*>(Source)) {
        FName = f->FName;
        FHeight = f->FHeight;
        FStyle = f->FStyle;
        FColor = f->FColor;
        FPitch = f->FPitch;
        FPixelsPerInch = f->FPixelsPerInch;
        Change();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TFont::Change() {
    if (FHandle) {
        DeleteObject(FHandle);
        FHandle = nullptr;
    }
    Changed();
}

void TFont::SetName(const std::string& Value) {
    if (Value.empty() || Value == FName) return;
    FName = Value;
    Change();
}

int TFont::Size() const {
    // Rounded as the class library does: -Height * 72 / ppi, to the nearest point.
    return int((-FHeight * 72 + FPixelsPerInch / 2) / FPixelsPerInch);
}

void TFont::SetSize(int Value) { SetHeight(-int((Value * FPixelsPerInch + 36) / 72)); }

void TFont::SetHeight(int Value) {
    if (Value == FHeight) return;
    FHeight = Value;
    Change();
}

void TFont::SetStyle(TFontStyles Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    Change();
}

void TFont::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    Changed(); // the colour is not part of the GDI font
}

void TFont::SetPitch(TFontPitch Value) {
    if (Value == FPitch) return;
    FPitch = Value;
    Change();
}

HFONT TFont::Handle() {
    if (!FHandle) {
        LOGFONT lf;
        lf.lfHeight = FHeight;
        lf.lfWeight = (FStyle & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (FStyle & fsItalic) ? 1 : 0;
        lf.lfUnderline = (FStyle & fsUnderline) ? 1 : 0;
        lf.lfStrikeOut = (FStyle & fsStrikeOut) ? 1 : 0;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = FPitch == TFontPitch::fpFixed      ? FIXED_PITCH
                              : FPitch == TFontPitch::fpVariable ? VARIABLE_PITCH
                                                                 : DEFAULT_PITCH;
        std::strncpy(lf.lfFaceName, FName.c_str(), LF_FACESIZE - 1);
        FHandle = CreateFontIndirect(&lf);
        if (!FHandle) throw EOutOfResources("Out of system resources");
    }
    return FHandle;
}

// --- TPen -----------------------------------------------------------------------------------

TPen::~TPen() {
    if (FHandle) DeleteObject(FHandle);
}

void TPen::Assign(TPersistent* Source) {
    if (auto* p = dynamic_cast<TPen*>(Source)) {
        FColor = p->FColor;
        FWidth = p->FWidth;
        FStyle = p->FStyle;
        FMode = p->FMode;
        Change();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TPen::Change() {
    if (FHandle) {
        DeleteObject(FHandle);
        FHandle = nullptr;
    }
    Changed();
}

void TPen::SetColor(TColor Value) {
    if (Value != FColor) { FColor = Value; Change(); }
}
void TPen::SetWidth(int Value) {
    if (Value != FWidth && Value >= 0) { FWidth = Value; Change(); }
}
void TPen::SetStyle(TPenStyle Value) {
    if (Value != FStyle) { FStyle = Value; Change(); }
}
void TPen::SetMode(TPenMode Value) {
    if (Value != FMode) { FMode = Value; Changed(); }
}

HPEN TPen::Handle() {
    if (!FHandle) {
        static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        FHandle = CreatePen(styles[int(FStyle)], FWidth, ColorToRGB(FColor));
        if (!FHandle) throw EOutOfResources("Out of system resources");
    }
    return FHandle;
}

// --- TBrush ---------------------------------------------------------------------------------

TBrush::~TBrush() {
    if (FHandle) DeleteObject(FHandle);
}

void TBrush::Assign(TPersistent* Source) {
    if (auto* b = dynamic_cast<TBrush*>(Source)) {
        FColor = b->FColor;
        FStyle = b->FStyle;
        FBitmap = b->FBitmap;
        Change();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TBrush::Change() {
    if (FHandle) {
        DeleteObject(FHandle);
        FHandle = nullptr;
    }
    Changed();
}

void TBrush::SetColor(TColor Value) {
    if (Value == FColor && FStyle != TBrushStyle::bsClear) return;
    FColor = Value;
    if (FStyle == TBrushStyle::bsClear) FStyle = TBrushStyle::bsSolid;
    Change();
}
void TBrush::SetStyle(TBrushStyle Value) {
    if (Value != FStyle) { FStyle = Value; Change(); }
}
void TBrush::SetBitmap(TBitmap* Value) {
    FBitmap = Value;
    Change();
}

HBRUSH TBrush::Handle() {
    if (!FHandle) {
        if (FBitmap && !FBitmap->Empty()) {
            FHandle = CreatePatternBrush(FBitmap->Handle());
        } else {
            LOGBRUSH lb;
            lb.lbColor = ColorToRGB(FColor);
            switch (FStyle) {
            case TBrushStyle::bsSolid: lb.lbStyle = BS_SOLID; break;
            case TBrushStyle::bsClear: lb.lbStyle = BS_NULL; break;
            default:
                lb.lbStyle = BS_HATCHED;
                lb.lbHatch = std::uintptr_t(int(FStyle) - int(TBrushStyle::bsHorizontal));
            }
            FHandle = CreateBrushIndirect(&lb);
        }
        if (!FHandle) throw EOutOfResources("Out of system resources");
    }
    return FHandle;
}

// --- TCanvas --------------------------------------------------------------------------------

TCanvas::TCanvas() : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
    FFont->OnChange = [this](TObject*) { FSelected &= ~stFont; };
    FPen->OnChange = [this](TObject*) { FSelected &= ~stPen; };
    FBrush->OnChange = [this](TObject*) { FSelected &= ~stBrush; };
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

HDC TCanvas::DeviceHandle() {
    if (!FHandle) CreateHandle();
    if (!FHandle) throw EInvalidGraphicOperation("Canvas does not allow drawing");
    return FHandle;
}

HDC TCanvas::Handle() {
    // The handle given out holds the canvas's font, pen and brush, so that drawing on it straight
    // through the window system uses them.
    HDC dc = DeviceHandle();
    if (!(FSelected & stBrush)) Require(stBrush);
    Require(stFont | stPen);
    return dc;
}

void TCanvas::SetHandle(HDC Value) {
    if (Value == FHandle) return;
    Deselect();
    FHandle = Value;
}

void TCanvas::Deselect() {
    if (FHandle) {
        if (FOldFont) SelectObject(FHandle, FOldFont);
        if (FOldPen) SelectObject(FHandle, FOldPen);
        if (FOldBrush) SelectObject(FHandle, FOldBrush);
    }
    FOldFont = FOldPen = FOldBrush = nullptr;
    FSelected = 0;
}

void TCanvas::Require(unsigned State) {
    HDC dc = DeviceHandle();
    if ((State & stFont) && !(FSelected & stFont)) {
        HGDIOBJ old = SelectObject(dc, FFont->Handle());
        if (!FOldFont) FOldFont = old;
        SetTextColor(dc, ColorToRGB(FFont->Color()));
        FSelected |= stFont;
    }
    if ((State & stPen) && !(FSelected & stPen)) {
        HGDIOBJ old = SelectObject(dc, FPen->Handle());
        if (!FOldPen) FOldPen = old;
        static const int rops[] = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN,
                                   R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN,
                                   R2_MERGEPEN, R2_NOTMERGEPEN, R2_MASKPEN, R2_NOTMASKPEN, R2_XORPEN, R2_NOTXORPEN};
        SetROP2(dc, rops[int(FPen->Mode())]);
        FSelected |= stPen;
    }
    if (State & stBrush) {
        // The background colour and mode follow the brush each time: text may have changed them.
        if (!(FSelected & stBrush)) {
            HGDIOBJ old = SelectObject(dc, FBrush->Handle());
            if (!FOldBrush) FOldBrush = old;
            FSelected |= stBrush;
        }
        SetBkColor(dc, ColorToRGB(FBrush->Color()));
        SetBkMode(dc, FBrush->Style() == TBrushStyle::bsSolid ? OPAQUE : TRANSPARENT);
    }
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}
void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

TPoint TCanvas::PenPos() {
    TPoint p;
    GetCurrentPositionEx(Handle(), &p);
    return p;
}

TColor TCanvas::Pixels(int X, int Y) {
    COLORREF c = GetPixel(Handle(), X, Y);
    return c == CLR_INVALID ? TColor(-1) : TColor(c);
}

void TCanvas::SetPixels(int X, int Y, TColor Value) {
    Changing();
    SetPixel(Handle(), X, Y, ColorToRGB(Value));
    Changed();
}

void TCanvas::MoveTo(int X, int Y) { MoveToEx(Handle(), X, Y, nullptr); }

void TCanvas::LineTo(int X, int Y) {
    Changing();
    Require(stPen | stBrush);
    win::LineTo(FHandle, X, Y);
    Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
    Changing();
    Require(stPen | stBrush);
    win::Rectangle(FHandle, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
    Changing();
    Require(stPen | stBrush);
    win::Ellipse(FHandle, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::FillRect(const TRect& Rect) {
    Changing();
    Require(stBrush);
    win::FillRect(FHandle, &Rect, FBrush->Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& Rect) {
    Changing();
    Require(stBrush);
    win::FrameRect(FHandle, &Rect, FBrush->Handle());
    Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& Points) {
    if (Points.empty()) return;
    Changing();
    Require(stPen | stBrush);
    win::Polygon(FHandle, Points.data(), int(Points.size()));
    Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& Points) {
    if (Points.empty()) return;
    Changing();
    Require(stPen | stBrush);
    win::Polyline(FHandle, Points.data(), int(Points.size()));
    Changed();
}

void TCanvas::TextOut(int X, int Y, const std::string& Text) {
    Changing();
    Require(stFont | stBrush);
    win::TextOut(FHandle, X, Y, Text.data(), int(Text.size()));
    Changed();
}

void TCanvas::TextRect(const TRect& Rect, int X, int Y, const std::string& Text) {
    Changing();
    Require(stFont | stBrush);
    UINT options = ETO_CLIPPED | (FBrush->Style() == TBrushStyle::bsSolid ? ETO_OPAQUE : 0);
    ExtTextOut(FHandle, X, Y, options, &Rect, Text.data(), UINT(Text.size()), nullptr);
    Changed();
}

win::SIZE TCanvas::TextExtent(const std::string& Text) {
    Require(stFont);
    win::SIZE s;
    GetTextExtentPoint32(FHandle, Text.data(), int(Text.size()), &s);
    return s;
}

int TCanvas::TextWidth(const std::string& Text) { return TextExtent(Text).cx; }
int TCanvas::TextHeight(const std::string& Text) { return TextExtent(Text).cy; }

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
    if (!Graphic || Graphic->Empty()) return;
    Changing();
    Graphic->Draw(this, Rect(X, Y, X + Graphic->Width(), Y + Graphic->Height()));
    Changed();
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
    if (!Graphic || Graphic->Empty()) return;
    Changing();
    Graphic->Draw(this, Rect);
    Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
    Changing();
    Require(stBrush);
    HDC src = Canvas->Handle();
    StretchBlt(FHandle, Dest.left, Dest.top, Dest.right - Dest.left, Dest.bottom - Dest.top, src,
               Source.left, Source.top, Source.right - Source.left, Source.bottom - Source.top, FCopyMode);
    Changed();
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
    if (!Bitmap || Bitmap->Empty()) return;
    Changing();
    Require(stBrush);
    int w = Dest.right - Dest.left, h = Dest.bottom - Dest.top;
    int sw = Source.right - Source.left, sh = Source.bottom - Source.top;
    HDC src = Bitmap->Canvas()->Handle();
    // A mask with 1 where the bitmap has Color, then: picture where 0, brush where 1.
    HDC maskDC = CreateCompatibleDC(nullptr);
    HBITMAP mask = CreateBitmap(sw, sh, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(maskDC, mask);
    COLORREF oldBk = SetBkColor(src, ColorToRGB(Color));
    BitBlt(maskDC, 0, 0, sw, sh, src, Source.left, Source.top, SRCCOPY);
    SetBkColor(src, oldBk);
    HDC tmpDC = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    HBITMAP tmp = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldTmp = SelectObject(tmpDC, tmp);
    StretchBlt(tmpDC, 0, 0, w, h, src, Source.left, Source.top, sw, sh, SRCCOPY);
    HGDIOBJ oldBrush = SelectObject(tmpDC, FBrush->Handle());
    SetTextColor(tmpDC, RGB(0, 0, 0));
    SetBkColor(tmpDC, RGB(255, 255, 255));
    // Where the mask is 1 the brush, elsewhere the picture: (P & M) | (D & ~M).
    StretchBlt(tmpDC, 0, 0, w, h, maskDC, 0, 0, sw, sh, 0x00E20746);
    SelectObject(tmpDC, oldBrush);
    BitBlt(FHandle, Dest.left, Dest.top, w, h, tmpDC, 0, 0, SRCCOPY);
    SelectObject(tmpDC, oldTmp);
    DeleteObject(tmp);
    DeleteDC(tmpDC);
    SelectObject(maskDC, oldMask);
    DeleteObject(mask);
    DeleteDC(maskDC);
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& Rect) {
    Changing();
    Require(stBrush);
    win::DrawFocusRect(FHandle, &Rect);
    Changed();
}

// --- TGraphic, TBitmap ----------------------------------------------------------------------

void TGraphic::Changed() {
    if (OnChange) OnChange(this);
}

class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* Owner) : FBitmap(Owner) {}
    ~TBitmapCanvas() override { FreeContext(); }
    void FreeContext() {
        HDC dc = HandleAllocated() ? Handle() : nullptr;
        if (!dc) return;
        SetHandle(nullptr);
        if (FOld) SelectObject(dc, FOld);
        FOld = nullptr;
        DeleteDC(dc);
    }

protected:
    void CreateHandle() override {
        HDC dc = CreateCompatibleDC(nullptr);
        if (!dc) throw EOutOfResources("Out of system resources");
        if (FBitmap->Empty()) FBitmap->SetSize(1, 1);
        FOld = SelectObject(dc, FBitmap->Handle());
        SetHandle(dc);
    }

private:
    TBitmap* FBitmap;
    HGDIOBJ FOld = nullptr;
};

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() { FreeImage(); }

void TBitmap::FreeImage() {
    if (FCanvas) static_cast<TBitmapCanvas*>(FCanvas.get())->FreeContext();
    if (FHandle) DeleteObject(FHandle);
    FHandle = nullptr;
}

void TBitmap::Rebuild(int AWidth, int AHeight, bool AMono) {
    HBITMAP made = nullptr;
    if (AWidth > 0 && AHeight > 0) {
        if (AMono) {
            made = CreateBitmap(AWidth, AHeight, 1, 1, nullptr);
        } else {
            HDC screen = GetDC(nullptr);
            made = CreateCompatibleBitmap(screen, AWidth, AHeight);
            ReleaseDC(nullptr, screen);
        }
        if (!made) throw EOutOfResources("Out of system resources");
        // Keep what fits of the old picture, the rest white.
        HDC dst = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dst, made);
        PatBlt(dst, 0, 0, AWidth, AHeight, WHITENESS);
        if (FHandle) {
            HDC src = FCanvas && FCanvas->HandleAllocated() ? FCanvas->Handle() : nullptr;
            HDC own = nullptr;
            HGDIOBJ srcOld = nullptr;
            if (!src) {
                own = src = CreateCompatibleDC(nullptr);
                srcOld = SelectObject(own, FHandle);
            }
            BitBlt(dst, 0, 0, std::min(AWidth, FWidth), std::min(AHeight, FHeight), src, 0, 0, SRCCOPY);
            if (own) {
                SelectObject(own, srcOld);
                DeleteDC(own);
            }
        }
        SelectObject(dst, old);
        DeleteDC(dst);
    }
    FreeImage();
    FHandle = made;
    FWidth = made ? AWidth : 0;
    FHeight = made ? AHeight : 0;
    FMonochrome = AMono;
    Changed();
}

void TBitmap::SetSize(int AWidth, int AHeight) {
    if (AWidth < 0 || AHeight < 0) throw EInvalidGraphic("Invalid bitmap size");
    if (AWidth == FWidth && AHeight == FHeight) return;
    Rebuild(AWidth, AHeight, FMonochrome);
}

void TBitmap::SetMonochrome(bool Value) {
    if (Value == FMonochrome) return;
    if (Empty()) {
        FMonochrome = Value;
        return;
    }
    Rebuild(FWidth, FHeight, Value);
}

TColor TBitmap::TransparentColor() {
    if (FTransparentColor != clDefault) return FTransparentColor;
    if (Empty()) return clDefault;
    return Canvas()->Pixels(0, FHeight - 1);
}

TCanvas* TBitmap::Canvas() {
    if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(this);
    return FCanvas.get();
}

HBITMAP TBitmap::Handle() {
    if (!FHandle && FWidth > 0 && FHeight > 0) Rebuild(FWidth, FHeight, FMonochrome);
    return FHandle;
}

void TBitmap::SetHandle(HBITMAP Value) {
    if (Value == FHandle) return;
    BITMAP info;
    if (Value && GetObject(Value, sizeof info, &info) == 0) throw EInvalidGraphic("Invalid bitmap");
    FreeImage();
    FHandle = Value;
    FWidth = Value ? info.bmWidth : 0;
    FHeight = Value ? info.bmHeight : 0;
    FMonochrome = Value && info.bmBitsPixel == 1;
    Changed();
}

HBITMAP TBitmap::ReleaseHandle() {
    if (FCanvas) static_cast<TBitmapCanvas*>(FCanvas.get())->FreeContext();
    HBITMAP h = FHandle;
    FHandle = nullptr;
    FWidth = FHeight = 0;
    return h;
}

void TBitmap::Assign(TPersistent* Source) {
    if (auto* b = dynamic_cast<TBitmap*>(Source)) {
        if (b == this) return;
        FTransparentColor = b->FTransparentColor;
        if (b->Empty()) {
            FreeImage();
            FWidth = FHeight = 0;
            FMonochrome = b->FMonochrome;
            Changed();
            return;
        }
        FreeImage();
        FWidth = FHeight = 0;
        FMonochrome = b->FMonochrome;
        Rebuild(b->FWidth, b->FHeight, b->FMonochrome);
        BitBlt(Canvas()->Handle(), 0, 0, FWidth, FHeight, b->Canvas()->Handle(), 0, 0, SRCCOPY);
        return;
    }
    TGraphic::Assign(Source);
}

void TBitmap::LoadFromBytes(const void* Data, std::size_t Size) {
    const auto* p = static_cast<const unsigned char*>(Data);
    auto u16 = [&](std::size_t at) { return unsigned(p[at]) | (unsigned(p[at + 1]) << 8); };
    auto u32 = [&](std::size_t at) { return std::uint32_t(u16(at)) | (std::uint32_t(u16(at + 2)) << 16); };
    if (!p || Size < 54 || p[0] != 'B' || p[1] != 'M') throw EInvalidGraphic("Bitmap image is not valid");
    std::uint32_t bitsAt = u32(10), headerSize = u32(14);
    std::int32_t width = std::int32_t(u32(18)), height = std::int32_t(u32(22));
    unsigned bpp = u16(28), compression = u32(30), used = u32(46);
    if (headerSize < 40 || width <= 0 || height == 0 || compression != BI_RGB ||
        (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32))
        throw EInvalidGraphic("Bitmap image is not valid");
    std::size_t colours = bpp <= 8 ? (used ? used : (1u << bpp)) : 0;
    std::size_t rowBytes = ((std::size_t(width) * bpp + 31) / 32) * 4;
    std::size_t rows = std::size_t(height < 0 ? -std::int64_t(height) : height);
    if (14 + headerSize + colours * 4 > Size || bitsAt > Size || Size - bitsAt < rowBytes * rows)
        throw EInvalidGraphic("Bitmap image is not valid");
    std::vector<unsigned char> infoBytes(sizeof(BITMAPINFO) + colours * sizeof(RGBQUAD));
    auto* info = reinterpret_cast<BITMAPINFO*>(infoBytes.data());
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = height;
    info->bmiHeader.biBitCount = WORD(bpp);
    info->bmiHeader.biClrUsed = DWORD(colours);
    std::memcpy(info->bmiColors, p + 14 + headerSize, colours * 4);
    HDC screen = GetDC(nullptr);
    HBITMAP made = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, p + bitsAt, info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (!made) throw EInvalidGraphic("Bitmap image is not valid");
    SetHandle(made);
}

void TBitmap::LoadFromFile(const std::string& FileName) {
    std::ifstream in(rtl::HostPath(FileName), std::ios::binary);
    if (!in) throw rtl::EFOpenError("Cannot open file " + FileName);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LoadFromBytes(bytes.data(), bytes.size());
}

void TBitmap::LoadFromResourceName(void* Instance, const std::string& ResName) {
    std::string_view data = rtl::LoadBitmapData(static_cast<rtl::HMODULE>(Instance), rtl::TResId(ResName));
    if (data.empty()) throw rtl::EResNotFound("Resource " + ResName + " not found");
    LoadFromBytes(data.data(), data.size());
}

void TBitmap::LoadFromResourceID(void* Instance, int ResID) {
    std::string_view data = rtl::LoadBitmapData(static_cast<rtl::HMODULE>(Instance), rtl::TResId(ResID));
    if (data.empty()) throw rtl::EResNotFound("Resource " + std::to_string(ResID) + " not found");
    LoadFromBytes(data.data(), data.size());
}

std::string TBitmap::SaveToBytes() {
    if (Empty()) return {};
    const int w = FWidth, h = FHeight;
    const unsigned bpp = FMonochrome ? 1 : 24;
    const std::size_t rowBytes = ((std::size_t(w) * bpp + 31) / 32) * 4;
    const std::size_t colours = FMonochrome ? 2 : 0;
    // The rows come out bottom-up as 24-bit BGR; a monochrome picture is packed to bits.
    BITMAPINFO info;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biBitCount = 24;
    const std::size_t rgbRow = ((std::size_t(w) * 24 + 31) / 32) * 4;
    std::vector<unsigned char> rgb(rgbRow * std::size_t(h));
    HDC screen = GetDC(nullptr);
    int got = GetDIBits(screen, Handle(), 0, UINT(h), rgb.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (got <= 0) throw EInvalidGraphic("Bitmap image is not valid");
    std::vector<unsigned char> bits(rowBytes * std::size_t(h));
    for (int y = 0; y < h; ++y) {
        const unsigned char* in = &rgb[std::size_t(y) * rgbRow];
        unsigned char* out = &bits[std::size_t(y) * rowBytes];
        if (!FMonochrome) {
            std::memcpy(out, in, std::size_t(w) * 3);
            continue;
        }
        for (int x = 0; x < w; ++x)
            if (in[x * 3] | in[x * 3 + 1] | in[x * 3 + 2]) out[x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
    }
    const std::size_t bitsAt = 14 + 40 + colours * 4, size = bitsAt + bits.size();
    std::string file(size, '\0');
    auto put16 = [&](std::size_t at, unsigned v) {
        file[at] = char(v & 0xFF);
        file[at + 1] = char((v >> 8) & 0xFF);
    };
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, std::uint32_t(size));
    put32(10, std::uint32_t(bitsAt));
    put32(14, 40);
    put32(18, std::uint32_t(w));
    put32(22, std::uint32_t(h));
    put16(26, 1);
    put16(28, bpp);
    put32(34, std::uint32_t(bits.size()));
    put32(46, std::uint32_t(colours));
    if (FMonochrome) put32(54 + 4, 0x00FFFFFF); // black, then white
    std::memcpy(&file[bitsAt], bits.data(), bits.size());
    return file;
}

void TBitmap::ReadData(rtl::TStream& Stream) {
    std::uint32_t size = 0;
    if (Stream.Size() - Stream.Position() < 4 || Stream.Read(&size, 4) != 4)
        throw EInvalidGraphic("Bitmap image is not valid");
    size = le32toh(size);
    if (std::int64_t(size) > Stream.Size() - Stream.Position()) throw EInvalidGraphic("Bitmap image is not valid");
    if (size == 0) {
        SetHandle(nullptr);
        return;
    }
    std::string bytes(size, '\0');
    if (Stream.Read(bytes.data(), size) != std::int64_t(size)) throw EInvalidGraphic("Bitmap image is not valid");
    LoadFromBytes(bytes.data(), bytes.size());
}

void TBitmap::WriteData(rtl::TStream& Stream) {
    std::string bytes = SaveToBytes();
    std::uint32_t size = htole32(std::uint32_t(bytes.size()));
    Stream.Write(&size, 4);
    Stream.Write(bytes.data(), std::int64_t(bytes.size()));
}

void TBitmap::DefineProperties(TFiler* Filer) {
    Filer->DefineBinaryProperty(
        "Data", [this](rtl::TStream& Stream) { ReadData(Stream); }, [this](rtl::TStream& Stream) { WriteData(Stream); },
        !Empty());
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& R) {
    HDC src = Canvas()->Handle();
    HDC dst = ACanvas->Handle();
    StretchBlt(dst, R.left, R.top, R.right - R.left, R.bottom - R.top, src, 0, 0, FWidth, FHeight,
               ACanvas->CopyMode());
}

// --- TIcon ----------------------------------------------------------------------------------

TIcon::TIcon() = default;

TIcon::~TIcon() { FreeHandle(); }

void TIcon::FreeHandle() {
    if (FHandle) DestroyIcon(FHandle);
    FHandle = nullptr;
}

void TIcon::Assign(TPersistent* Source) {
    if (auto* icon = dynamic_cast<TIcon*>(Source)) {
        if (icon == this) return;
        FreeHandle();
        FData = icon->FData;
        FWidth = icon->FWidth;
        FHeight = icon->FHeight;
        FColourBits = icon->FColourBits;
        FMaskBits = icon->FMaskBits;
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

void TIcon::LoadFromBytes(const void* Data, std::size_t Size) {
    const auto* p = static_cast<const unsigned char*>(Data);
    auto invalid = [] { throw EInvalidGraphic("Icon image is not valid"); };
    auto u16 = [&](std::size_t at) { return unsigned(p[at]) | (unsigned(p[at + 1]) << 8); };
    auto u32 = [&](std::size_t at) { return std::uint32_t(u16(at)) | (std::uint32_t(u16(at + 2)) << 16); };
    if (!p || Size < 6 || u16(0) != 0 || u16(2) != 1 || u16(4) == 0) invalid();
    const unsigned count = u16(4);
    if (Size < 6 + std::size_t(count) * 16) invalid();
    // The 32 x 32 image when there is one, else the first.
    std::size_t entry = 6;
    for (unsigned i = 0; i < count; ++i)
        if (p[6 + i * 16] == 32 && p[6 + i * 16 + 1] == 32) {
            entry = 6 + std::size_t(i) * 16;
            break;
        }
    const std::size_t at = u32(entry + 12), length = u32(entry + 8);
    if (at >= Size || length > Size - at || length < 40) invalid();
    const unsigned char* img = p + at;
    auto i16 = [&](std::size_t o) { return unsigned(img[o]) | (unsigned(img[o + 1]) << 8); };
    auto i32 = [&](std::size_t o) { return std::uint32_t(i16(o)) | (std::uint32_t(i16(o + 2)) << 16); };
    const std::uint32_t header = i32(0);
    const std::int32_t width = std::int32_t(i32(4)), doubled = std::int32_t(i32(8));
    const unsigned bpp = i16(14), compression = i32(16), used = i32(32);
    if (header < 40 || header > length || width <= 0 || width > 256 || doubled <= 0 || doubled % 2 ||
        doubled / 2 > 256 || compression != BI_RGB || (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32))
        invalid();
    const int w = width, h = doubled / 2;
    const std::size_t colours = bpp <= 8 ? (used ? used : (1u << bpp)) : 0;
    if (colours > 256) invalid();
    const std::size_t xorStride = ((std::size_t(w) * bpp + 31) / 32) * 4, andStride = ((std::size_t(w) + 31) / 32) * 4;
    const std::size_t tableAt = header, xorAt = tableAt + colours * 4, andAt = xorAt + xorStride * std::size_t(h);
    if (andAt + andStride * std::size_t(h) > length) invalid();
    auto colourAt = [&](int x, int row) -> std::uint32_t {
        const unsigned char* line = img + xorAt + xorStride * std::size_t(row);
        std::size_t index = 0;
        switch (bpp) {
        case 1: index = (line[x / 8] >> (7 - x % 8)) & 1; break;
        case 4: index = (line[x / 2] >> (x % 2 ? 0 : 4)) & 15; break;
        case 8: index = line[x]; break;
        default: {
            const unsigned char* px = line + std::size_t(x) * (bpp / 8);
            return std::uint32_t(px[0]) | std::uint32_t(px[1]) << 8 | std::uint32_t(px[2]) << 16;
        }
        }
        if (index >= colours) return 0;
        const unsigned char* q = img + tableAt + index * 4;
        return std::uint32_t(q[0]) | std::uint32_t(q[1]) << 8 | std::uint32_t(q[2]) << 16;
    };
    // Rows top-down, padded to 16 bits, as the window system's bitmaps take them.
    const std::size_t rgbStride = ((std::size_t(w) * 24 + 15) / 16) * 2, maskStride = ((std::size_t(w) + 15) / 16) * 2;
    std::vector<unsigned char> colour(rgbStride * std::size_t(h)), mask(maskStride * std::size_t(h));
    for (int y = 0; y < h; ++y) {
        const int row = h - 1 - y;
        const unsigned char* andLine = img + andAt + andStride * std::size_t(row);
        for (int x = 0; x < w; ++x) {
            std::uint32_t bgr = colourAt(x, row);
            unsigned char* out = &colour[std::size_t(y) * rgbStride + std::size_t(x) * 3];
            out[0] = static_cast<unsigned char>(bgr);
            out[1] = static_cast<unsigned char>(bgr >> 8);
            out[2] = static_cast<unsigned char>(bgr >> 16);
            if (andLine[x / 8] & (0x80 >> (x % 8))) mask[std::size_t(y) * maskStride + std::size_t(x) / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
        }
    }
    FreeHandle();
    FData.assign(reinterpret_cast<const char*>(p), Size);
    FWidth = w;
    FHeight = h;
    FColourBits = std::move(colour);
    FMaskBits = std::move(mask);
    Changed();
}

HICON TIcon::Handle() {
    if (!FHandle && !Empty()) {
        ICONINFO info;
        info.hbmMask = CreateBitmap(FWidth, FHeight, 1, 1, FMaskBits.data());
        info.hbmColor = CreateBitmap(FWidth, FHeight, 1, 24, FColourBits.data());
        FHandle = CreateIconIndirect(&info);
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
        if (!FHandle) throw EOutOfResources("Out of system resources");
    }
    return FHandle;
}

void TIcon::LoadFromFile(const std::string& FileName) {
    std::ifstream in(rtl::HostPath(FileName), std::ios::binary);
    if (!in) throw rtl::EFOpenError("Cannot open file " + FileName);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LoadFromBytes(bytes.data(), bytes.size());
}

void TIcon::LoadFromResourceName(void* Instance, const std::string& ResName) {
    std::string_view data = rtl::LoadIconData(static_cast<rtl::HMODULE>(Instance), rtl::TResId(ResName));
    if (data.empty()) throw rtl::EResNotFound("Resource " + ResName + " not found");
    LoadFromBytes(data.data(), data.size());
}

void TIcon::LoadFromResourceID(void* Instance, int ResID) {
    std::string_view data = rtl::LoadIconData(static_cast<rtl::HMODULE>(Instance), rtl::TResId(ResID));
    if (data.empty()) throw rtl::EResNotFound("Resource " + std::to_string(ResID) + " not found");
    LoadFromBytes(data.data(), data.size());
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& R) {
    DrawIconEx(ACanvas->Handle(), R.left, R.top, Handle(), R.right - R.left, R.bottom - R.top, 0, nullptr, DI_NORMAL);
}

void TIcon::ReadData(rtl::TStream& Stream) {
    std::string bytes(static_cast<std::size_t>(Stream.Size() - Stream.Position()), '\0');
    if (!bytes.empty() && Stream.Read(bytes.data(), std::int64_t(bytes.size())) != std::int64_t(bytes.size()))
        throw EInvalidGraphic("Icon image is not valid");
    LoadFromBytes(bytes.data(), bytes.size());
}

void TIcon::WriteData(rtl::TStream& Stream) { Stream.Write(FData.data(), std::int64_t(FData.size())); }

// --- TPicture -------------------------------------------------------------------------------

TPicture::TPicture() = default;

TPicture::~TPicture() {
    if (FGraphic) FGraphic->OnChange = nullptr;
}

void TPicture::Changed() {
    if (OnChange) OnChange(this);
}

void TPicture::Take(std::unique_ptr<TGraphic> Graphic) {
    if (FGraphic) FGraphic->OnChange = nullptr;
    FGraphic = std::move(Graphic);
    if (FGraphic) FGraphic->OnChange = [this](TObject*) { Changed(); };
    Changed();
}

void TPicture::Assign(TPersistent* Source) {
    if (!Source) {
        Take(nullptr);
        return;
    }
    if (auto* picture = dynamic_cast<TPicture*>(Source)) {
        if (picture != this) Assign(picture->Graphic());
        return;
    }
    std::unique_ptr<TGraphic> copy;
    if (dynamic_cast<TBitmap*>(Source)) copy = std::make_unique<TBitmap>();
    else if (dynamic_cast<TIcon*>(Source)) copy = std::make_unique<TIcon>();
    else {
        TPersistent::Assign(Source);
        return;
    }
    copy->Assign(Source);
    Take(std::move(copy));
}

TBitmap* TPicture::Bitmap() {
    if (!dynamic_cast<TBitmap*>(FGraphic.get())) Take(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(FGraphic.get());
}

TIcon* TPicture::Icon() {
    if (!dynamic_cast<TIcon*>(FGraphic.get())) Take(std::make_unique<TIcon>());
    return static_cast<TIcon*>(FGraphic.get());
}

void TPicture::LoadFromFile(const std::string& FileName) {
    std::string ext;
    if (auto dot = FileName.find_last_of('.'); dot != std::string::npos && FileName.find_first_of("\\/", dot) == std::string::npos)
        ext = rtl::CharUpperStr(FileName.substr(dot));
    std::unique_ptr<TGraphic> made;
    if (ext == ".BMP") {
        auto b = std::make_unique<TBitmap>();
        b->LoadFromFile(FileName);
        made = std::move(b);
    } else if (ext == ".ICO") {
        auto i = std::make_unique<TIcon>();
        i->LoadFromFile(FileName);
        made = std::move(i);
    } else {
        throw EInvalidGraphic("Unknown picture file extension (" + ext + ")");
    }
    Take(std::move(made));
}

void TPicture::DefineProperties(TFiler* Filer) {
    Filer->DefineBinaryProperty(
        "Data",
        [this](rtl::TStream& Stream) {
            unsigned char length = 0;
            if (Stream.Read(&length, 1) != 1) throw EInvalidGraphic("Invalid picture data");
            std::string name(length, '\0');
            if (length && Stream.Read(name.data(), length) != length) throw EInvalidGraphic("Invalid picture data");
            std::unique_ptr<TGraphic> made;
            if (name == "TBitmap") made = std::make_unique<TBitmap>();
            else if (name == "TIcon") made = std::make_unique<TIcon>();
            else throw EInvalidGraphic("Unknown picture class " + name);
            made->ReadData(Stream);
            Take(std::move(made));
        },
        [this](rtl::TStream& Stream) {
            std::string name = FGraphic->ClassName();
            unsigned char length = static_cast<unsigned char>(name.size());
            Stream.Write(&length, 1);
            Stream.Write(name.data(), length);
            FGraphic->WriteData(Stream);
        },
        FGraphic && !FGraphic->Empty());
}

} // namespace vcl
