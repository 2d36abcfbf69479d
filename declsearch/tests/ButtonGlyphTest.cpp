#include "declsearch/ButtonGlyph.h"

#include "testing/UiTest.h"

#include <memory>

using namespace vcl;
using namespace declsearch;

namespace {

struct TOwner : TGlyphOwner {
    TAlignment Align = TAlignment::taCenter;
    TAlignment GlyphAlignment() const override { return Align; }
};

// A strip of Count images of Size x Size: image i filled with Colors[i], bottom-left pixel
// olive (the transparent colour) and a black pixel at (2, 2).
std::unique_ptr<TBitmap> Strip(int Count, int Size, std::vector<TColor> Colors = {clRed, clBlue, clLime, clYellow}) {
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(Count * Size, Size);
    TCanvas* c = bmp->Canvas();
    for (int i = 0; i < Count; ++i) {
        c->Brush()->SetColor(Colors[std::size_t(i) % Colors.size()]);
        c->FillRect(Rect(i * Size, 0, (i + 1) * Size, Size));
        c->SetPixels(i * Size, Size - 1, clOlive);
        c->SetPixels(i * Size + 2, 2, clBlack);
    }
    return bmp;
}

class GlyphTest : public testing_support::UiTest {};

} // namespace

TEST(BitPool, FindsTheFirstClearBitAndGrowsZeroFilled) {
    TBitPool pool;
    EXPECT_EQ(pool.OpenBit(), -1);
    pool.SetSize(40);
    for (int i = 0; i < 40; ++i) pool.SetBit(i);
    EXPECT_EQ(pool.OpenBit(), -1);
    pool.ClearBit(33);
    EXPECT_EQ(pool.OpenBit(), 33);
    pool.SetBit(70); // grows
    EXPECT_EQ(pool.Size(), 71);
    EXPECT_FALSE(pool.Bit(69));
    EXPECT_EQ(pool.OpenBit(), 33);
    pool.SetSize(10);
    pool.SetSize(64);
    EXPECT_FALSE(pool.Bit(33)) << "bits dropped by shrinking stay clear";
}

TEST_F(GlyphTest, StripWidthGivesTheNumberOfImages) {
    struct Case { int W, H; int Images; } cases[] = {
        {64, 16, 4}, {80, 16, 1}, {32, 16, 2}, {16, 16, 1}, {17, 16, 3} /* not a multiple: kept */};
    for (auto& k : cases) {
        TOwner owner;
        TButtonGlyph glyph(&owner);
        glyph.SetNumGlyphs(3);
        TBitmap bmp;
        bmp.SetSize(k.W, k.H);
        glyph.SetGlyph(&bmp);
        EXPECT_EQ(glyph.NumGlyphs(), k.Images) << k.W << "x" << k.H;
    }
    TOwner owner;
    TButtonGlyph glyph(&owner);
    glyph.SetNumGlyphs(0);
    EXPECT_EQ(glyph.NumGlyphs(), 1);
}

TEST_F(GlyphTest, TransparentColourFollowsTheBottomLeftPixel) {
    TOwner owner;
    TButtonGlyph glyph(&owner);
    EXPECT_EQ(glyph.TransparentColor(), clOlive);
    auto strip = Strip(1, 16);
    strip->Canvas()->SetPixels(0, 15, clTeal);
    glyph.SetGlyph(strip.get());
    EXPECT_EQ(glyph.TransparentColor(), clTeal);
    int changes = 0;
    glyph.OnChange = [&](TObject*) { ++changes; };
    glyph.Glyph()->Canvas()->SetPixels(0, 15, clMaroon);
    EXPECT_EQ(glyph.TransparentColor(), clMaroon);
    EXPECT_GE(changes, 1);
}

TEST_F(GlyphTest, GlyphsOfOneSizeShareAListThatGoesWithTheLastUser) {
    TOwner owner;
    TBitmap canvasBmp;
    canvasBmp.SetSize(60, 30);
    auto a = std::make_unique<TButtonGlyph>(&owner);
    auto b = std::make_unique<TButtonGlyph>(&owner);
    auto c = std::make_unique<TButtonGlyph>(&owner);
    auto s16 = Strip(2, 16);
    auto s8 = Strip(1, 8);
    a->SetGlyph(s16.get());
    b->SetGlyph(s16.get());
    c->SetGlyph(s8.get());
    for (auto* g : {a.get(), b.get(), c.get()})
        g->Draw(canvasBmp.Canvas(), Rect(0, 0, 60, 30), bsUp, 4, -1, blGlyphLeft, "");
    ASSERT_NE(a->List(), nullptr);
    EXPECT_EQ(a->List(), b->List());
    EXPECT_NE(a->List(), c->List());
    EXPECT_EQ(GlyphCache()->ListCount(), 2);
    EXPECT_NE(a->ImageIndex(bsUp), b->ImageIndex(bsUp));
    TGlyphList* shared = b->List();
    int bIndex = b->ImageIndex(bsUp);
    a.reset();
    EXPECT_EQ(shared->Count(), 1);
    EXPECT_EQ(b->ImageIndex(bsUp), bIndex);
    // The freed slot is taken again before the list grows.
    b->Draw(canvasBmp.Canvas(), Rect(0, 0, 60, 30), bsExclusive, 4, -1, blGlyphLeft, "");
    EXPECT_EQ(shared->ImageCount(), 2);
    b.reset();
    EXPECT_EQ(GlyphCache()->ListCount(), 1);
    c.reset();
    EXPECT_EQ(GlyphCache(), nullptr);
}

TEST_F(GlyphTest, StateImagesComeFromTheirPlaceInTheStrip) {
    TOwner owner;
    TButtonGlyph glyph(&owner);
    auto strip = Strip(2, 16);
    glyph.SetGlyph(strip.get());
    TBitmap out;
    out.SetSize(16, 16);
    TRect client = Rect(0, 0, 16, 16);
    glyph.Draw(out.Canvas(), client, bsDown, 0, 0, blGlyphLeft, "");
    EXPECT_EQ(glyph.ImageIndex(bsDown), -1) << "a two-image strip has no down image";
    EXPECT_EQ(out.Canvas()->Pixels(8, 8), clRed);
    // Transparent pixels take the face.
    EXPECT_EQ(ColorToRGB(out.Canvas()->Pixels(0, 15)), ColorToRGB(clBtnFace));
    glyph.Draw(out.Canvas(), client, bsDisabled, 0, 0, blGlyphLeft, "");
    EXPECT_EQ(out.Canvas()->Pixels(8, 8), clBlue) << "second image for disabled";
    // Exclusive draws through its mask: the transparent pixel keeps what was there.
    out.Canvas()->Brush()->SetColor(clAqua);
    out.Canvas()->FillRect(client);
    glyph.Draw(out.Canvas(), client, bsExclusive, 0, 0, blGlyphLeft, "");
    EXPECT_EQ(out.Canvas()->Pixels(0, 15), clAqua);
    EXPECT_EQ(out.Canvas()->Pixels(8, 8), clRed);
}

TEST_F(GlyphTest, SingleImageDisabledIsEmbossedFromItsDarkPixels) {
    for (bool mono : {false, true}) {
        TOwner owner;
        TButtonGlyph glyph(&owner);
        auto strip = Strip(1, 16, {clWhite});
        if (mono) strip->SetMonochrome(true);
        glyph.SetGlyph(strip.get());
        TBitmap out;
        out.SetSize(16, 16);
        glyph.Draw(out.Canvas(), Rect(0, 0, 16, 16), bsDisabled, 0, 0, blGlyphLeft, "");
        TCanvas* c = out.Canvas();
        EXPECT_EQ(ColorToRGB(c->Pixels(2, 2)), ColorToRGB(clBtnShadow)) << mono;
        EXPECT_EQ(ColorToRGB(c->Pixels(3, 3)), win::RGB(255, 255, 255)) << mono;
        EXPECT_EQ(ColorToRGB(c->Pixels(8, 8)), ColorToRGB(clBtnFace)) << mono;
    }
}

TEST_F(GlyphTest, LayoutPlacesPictureAndCaptionByAlignment) {
    TBitmap out;
    out.SetSize(200, 40);
    TCanvas* c = out.Canvas();
    int tw = c->TextWidth("Go");
    auto strip = Strip(1, 16);
    struct Case {
        TAlignment Align; TButtonLayout Layout; int Margin, Spacing; int TextLeft;
    } cases[] = {
        {TAlignment::taLeftJustify, blGlyphLeft, -1, -1, 10 + 1 + 16 + 4},
        {TAlignment::taLeftJustify, blGlyphRight, -1, -1, 10 + 1},
        {TAlignment::taRightJustify, blGlyphLeft, -1, -1, 10 + 100 - (16 + tw) - 5 + 16 + 4},
        {TAlignment::taCenter, blGlyphLeft, -1, -1, 10 + (100 - 16 - tw) / 3 * 2 + 16},
        {TAlignment::taCenter, blGlyphLeft, -1, 2, 10 + 50 - (2 + 16 + tw) / 2 + 16 + 2},
        {TAlignment::taLeftJustify, blGlyphLeft, 3, -1, 10 + 3 + 16 + 4},
        {TAlignment::taLeftJustify, blGlyphTop, -1, -1, 10 + 1},
        {TAlignment::taRightJustify, blGlyphBottom, -1, -1, 10 + 100 - tw - 1},
    };
    for (auto& k : cases) {
        TOwner owner;
        owner.Align = k.Align;
        TButtonGlyph glyph(&owner);
        glyph.SetGlyph(strip.get());
        TRect r = glyph.Draw(c, Rect(10, 0, 110, 40), bsUp, k.Spacing, k.Margin, k.Layout, "Go");
        EXPECT_EQ(r.left, k.TextLeft) << int(k.Align) << " " << k.Layout << " " << k.Margin << " " << k.Spacing;
        EXPECT_EQ(r.right - r.left, tw);
    }
}

TEST_F(GlyphTest, ButtonFaceInOldAndNewLook) {
    TBitmap out;
    out.SetSize(20, 20);
    TCanvas* c = out.Canvas();
    auto rgb = [&](int x, int y) { return c->Pixels(x, y); };
    auto sys = [](TColor col) { return TColor(ColorToRGB(col)); };
    TRect r = DrawButtonFace(c, Rect(0, 0, 20, 20), 1, bsNew, false, false, false);
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(r.bottom, 19);
    EXPECT_EQ(rgb(0, 0), sys(clBtnFace));
    EXPECT_EQ(rgb(19, 19), sys(clWindowFrame));
    EXPECT_EQ(rgb(1, 1), sys(clBtnHighlight));
    EXPECT_EQ(rgb(18, 18), sys(clBtnShadow));
    r = DrawButtonFace(c, Rect(0, 0, 20, 20), 1, bsNew, false, true, false);
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(rgb(0, 0), sys(clWindowFrame));
    EXPECT_EQ(rgb(19, 19), sys(clBtnHighlight));
    EXPECT_EQ(rgb(18, 18), sys(clBtnShadow));
    r = DrawButtonFace(c, Rect(0, 0, 20, 20), 1, bsWin31, true, false, false);
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(rgb(0, 0), sys(clBtnFace)) << "rounded corner";
    EXPECT_EQ(rgb(5, 0), sys(clWindowFrame));
    EXPECT_EQ(rgb(1, 5), sys(clBtnHighlight));
    EXPECT_EQ(rgb(18, 5), sys(clBtnShadow));
    DrawButtonFace(c, Rect(0, 0, 20, 20), 1, bsWin31, false, true, false);
    EXPECT_EQ(rgb(1, 5), sys(clBtnShadow));
    EXPECT_EQ(rgb(18, 5), sys(clBtnFace));
    // Auto-detect follows the shell look.
    win::SetNewShellLook(false);
    DrawButtonFace(c, Rect(0, 0, 20, 20), 1, bsAutoDetect, false, false, false);
    EXPECT_EQ(rgb(19, 5), sys(clWindowFrame));
    EXPECT_EQ(rgb(0, 5), sys(clWindowFrame));
    win::SetNewShellLook(true);
    DrawButtonFace(c, Rect(0, 0, 20, 20), 1, bsAutoDetect, false, false, false);
    EXPECT_EQ(rgb(0, 5), sys(clBtnFace));
}
