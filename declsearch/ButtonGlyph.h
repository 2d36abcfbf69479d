// The picture-and-caption drawing of the bar's sections: a picture strip cut into state images,
// each prepared once and kept in an image list shared by every glyph of that image size; and the
// button face the button sections are painted with.
#pragma once

#include "vcl/Controls.h"
#include "vcl/StdCtrls.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace declsearch {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };

// Whether a style draws the new look: auto-detect follows the system's shell look.
bool IsNewStyle(TButtonStyle Style);

// A growable set of bits held in 32-bit words.
class TBitPool {
public:
    int Size() const { return FSize; }
    void SetSize(int Value);
    void SetBit(int Index);
    void ClearBit(int Index);
    bool Bit(int Index) const;
    // The first clear bit below the size; -1 when all are set.
    int OpenBit() const;

private:
    std::vector<std::uint32_t> FWords;
    int FSize = 0;
};

// An image list of one image size whose slots are handed out and back; a handed-back image stays
// until its slot is used again.
class TGlyphList {
public:
    TGlyphList(int AWidth, int AHeight);
    ~TGlyphList();
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return FCount; }
    int ImageCount() const { return int(FImages.size()); }
    // Takes a slot and stores the image there: without a mask, or masked by a colour.
    int Add(vcl::TBitmap* Image);
    int AddMasked(vcl::TBitmap* Image, vcl::TColor MaskColor);
    void Delete(int Index);
    void Draw(vcl::TCanvas* Canvas, int X, int Y, int Index);

private:
    int AllocateIndex();
    int FWidth, FHeight;
    // One single-image list per slot, so that a slot can be refilled in place.
    std::vector<std::unique_ptr<vcl::TImageList>> FImages;
    TBitPool FUsed;
    int FCount = 0;
};

// The shared glyph lists, one per image size.
class TGlyphCache {
public:
    TGlyphCache() = default;
    TGlyphCache(const TGlyphCache&) = delete;
    TGlyphCache& operator=(const TGlyphCache&) = delete;
    TGlyphList* GetList(int AWidth, int AHeight);
    // A list with no used slot left is freed.
    void ReturnList(TGlyphList* List);
    bool Empty() const { return FLists.empty(); }
    int ListCount() const { return int(FLists.size()); }

private:
    std::vector<std::unique_ptr<TGlyphList>> FLists;
};

// The cache while any glyph exists (null otherwise).
TGlyphCache* GlyphCache();

// The 8 x 8 checkered pattern of the exclusive state; made on first need.
vcl::TBitmap* SectionPattern();
void FreeSectionPattern();

// What the glyph reads from its section.
class TGlyphOwner {
public:
    virtual vcl::TAlignment GlyphAlignment() const = 0;

protected:
    ~TGlyphOwner() = default;
};

class TButtonGlyph {
public:
    explicit TButtonGlyph(TGlyphOwner* AOwner);
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    vcl::TBitmap* Glyph() const { return FOriginal.get(); }
    void SetGlyph(vcl::TBitmap* Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    vcl::TColor TransparentColor() const { return FTransparentColor; }
    // The list holding the prepared images, and the image of a state (-1 while unprepared).
    TGlyphList* List() const { return FGlyphList; }
    int ImageIndex(TButtonState State) const { return FIndexs[State]; }

    void Invalidate();
    // Draws picture and caption; answers the caption's rectangle.
    vcl::TRect Draw(vcl::TCanvas* Canvas, const vcl::TRect& Client, TButtonState State, int Spacing,
                    int Margin, TButtonLayout Layout, const std::string& Caption);

    vcl::TNotifyEvent OnChange;

private:
    void GlyphChanged(vcl::TObject* Sender);
    void HookCanvas();
    int CreateButtonGlyph(TButtonState State);
    void DrawButtonGlyph(vcl::TCanvas* Canvas, vcl::TPoint GlyphPos, TButtonState State);
    void DrawButtonText(vcl::TCanvas* Canvas, const std::string& Caption, vcl::TRect TextBounds,
                        TButtonState State);
    void CalcButtonLayout(vcl::TCanvas* Canvas, const vcl::TRect& Client, const std::string& Caption,
                          TButtonLayout Layout, int Margin, int Spacing, vcl::TPoint& GlyphPos,
                          vcl::TRect& TextBounds);

    TGlyphOwner* FOwner;
    std::unique_ptr<vcl::TBitmap> FOriginal;
    TGlyphList* FGlyphList = nullptr;
    int FIndexs[4] = {-1, -1, -1, -1};
    vcl::TColor FTransparentColor = vcl::clOlive;
    int FNumGlyphs = 1;
    bool FQuiet = false;
};

// Paints a button face; answers the face inside the frame.
vcl::TRect DrawButtonFace(vcl::TCanvas* Canvas, const vcl::TRect& Client, int BevelWidth,
                          TButtonStyle Style, bool IsRounded, bool IsDown, bool IsFocused);

// A frame Width pixels wide: TopLeft along the top and left, BottomRight along the others;
// Rect shrinks by the frame.
void Frame3D(vcl::TCanvas* Canvas, vcl::TRect& Rect, vcl::TColor TopLeft, vcl::TColor BottomRight, int Width);

} // namespace declsearch
