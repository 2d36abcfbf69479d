// The image list: pictures of one size cut from a strip, each with an optional mask, drawn
// transparently where masked.
#include "vcl/Controls.h"

#include <algorithm>

namespace vcl {

using namespace win;

TImageList::TImageList(TComponent* AOwner, int AWidth, int AHeight)
    : TComponent(AOwner), FWidth(AWidth), FHeight(AHeight) {
    if (AWidth <= 0 || AHeight <= 0) throw EInvalidGraphic("Invalid image size");
}

TImageList::~TImageList() = default;

int TImageList::Add(TBitmap* Image, TBitmap* Mask) { return AddParts(Image, Mask, false, clNone); }

int TImageList::AddMasked(TBitmap* Image, TColor MaskColor) { return AddParts(Image, nullptr, true, MaskColor); }

int TImageList::AddParts(TBitmap* Image, TBitmap* Mask, bool FromColor, TColor MaskColor) {
    if (!Image || Image->Empty()) throw EInvalidGraphic("Invalid image");
    if (Mask && (Mask->Width() < Image->Width() || Mask->Height() < Image->Height()))
        throw EInvalidGraphic("The mask is smaller than the image");
    int parts = std::max(1, Image->Width() / FWidth);
    int first = Count();
    for (int i = 0; i < parts; ++i) {
        TImage entry;
        entry.Image = std::make_unique<TBitmap>();
        entry.Image->SetSize(FWidth, FHeight);
        TRect dst = Rect(0, 0, FWidth, FHeight);
        TRect src = Rect(i * FWidth, 0, i * FWidth + FWidth, FHeight);
        entry.Image->Canvas()->CopyRect(dst, Image->Canvas(), src);
        if (Mask || FromColor) {
            entry.Mask = std::make_unique<TBitmap>();
            entry.Mask->SetMonochrome(true);
            entry.Mask->SetSize(FWidth, FHeight);
            HDC m = entry.Mask->Canvas()->Handle();
            if (Mask) {
                BitBlt(m, 0, 0, FWidth, FHeight, Mask->Canvas()->Handle(), src.left, 0, SRCCOPY);
            } else {
                HDC s = Image->Canvas()->Handle();
                COLORREF old = SetBkColor(s, ColorToRGB(MaskColor));
                BitBlt(m, 0, 0, FWidth, FHeight, s, src.left, 0, SRCCOPY);
                SetBkColor(s, old);
                // The transparent pixels become black in the picture, so it can be ORed on.
                HDC p = entry.Image->Canvas()->Handle();
                SetTextColor(p, RGB(0, 0, 0));
                SetBkColor(p, RGB(255, 255, 255));
                BitBlt(p, 0, 0, FWidth, FHeight, m, 0, 0, 0x00220326); // D & ~S
            }
        }
        FImages.push_back(std::move(entry));
    }
    if (OnChange) OnChange(this);
    return first;
}

void TImageList::Delete(int Index) {
    if (Index < 0 || Index >= Count()) throw rtl::EListError("Invalid image list index");
    FImages.erase(FImages.begin() + Index);
    if (OnChange) OnChange(this);
}

void TImageList::Clear() {
    FImages.clear();
    if (OnChange) OnChange(this);
}

void TImageList::Draw(TCanvas* Canvas, int X, int Y, int Index) {
    if (Index < 0 || Index >= Count()) return;
    TImage& img = FImages[std::size_t(Index)];
    HDC dst = Canvas->Handle();
    HDC src = img.Image->Canvas()->Handle();
    if (!img.Mask) {
        BitBlt(dst, X, Y, FWidth, FHeight, src, 0, 0, SRCCOPY);
        return;
    }
    HDC mask = img.Mask->Canvas()->Handle();
    COLORREF oldText = SetTextColor(dst, RGB(0, 0, 0));
    COLORREF oldBk = SetBkColor(dst, RGB(255, 255, 255));
    // Keep the background where the mask is white, clear it where the picture goes, then OR it in.
    BitBlt(dst, X, Y, FWidth, FHeight, mask, 0, 0, SRCAND);
    if (img.Mask && !img.Image->Empty()) {
        // A picture added with its own mask may have colour under the mask: it is cleared once.
        if (!img.Clean) {
            img.Clean = std::make_unique<TBitmap>();
            img.Clean->SetSize(FWidth, FHeight);
            HDC c = img.Clean->Canvas()->Handle();
            BitBlt(c, 0, 0, FWidth, FHeight, src, 0, 0, SRCCOPY);
            SetTextColor(c, RGB(0, 0, 0));
            SetBkColor(c, RGB(255, 255, 255));
            BitBlt(c, 0, 0, FWidth, FHeight, mask, 0, 0, 0x00220326);
        }
        BitBlt(dst, X, Y, FWidth, FHeight, img.Clean->Canvas()->Handle(), 0, 0, SRCPAINT);
    }
    SetTextColor(dst, oldText);
    SetBkColor(dst, oldBk);
}

} // namespace vcl
