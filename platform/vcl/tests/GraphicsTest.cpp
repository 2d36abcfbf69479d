#include "testing/UiTest.h"

#include "vcl/Controls.h"
#include "vcl/Graphics.h"

using namespace vcl;
using testing_support::UiTest;

TEST_F(UiTest, FontSizeAndHeightFollowThePixelsPerInch) {
    struct Case {
        int Size, Height;
    } cases[] = {{8, -11}, {10, -13}, {12, -16}, {24, -32}};
    for (auto& c : cases) {
        TFont font;
        font.SetSize(c.Size);
        EXPECT_EQ(font.Height(), c.Height) << c.Size;
        font.SetHeight(c.Height);
        EXPECT_EQ(font.Size(), c.Size) << c.Size;
    }
    int changes = 0;
    TFont font;
    font.OnChange = [&](TObject*) { ++changes; };
    font.SetStyle(fsBold | fsItalic);
    font.SetColor(clRed);
    font.SetName("Courier New");
    font.SetName("Courier New");
    EXPECT_EQ(changes, 3);
    TFont copy;
    copy.Assign(&font);
    EXPECT_EQ(copy.Name(), "Courier New");
    EXPECT_EQ(copy.Style(), TFontStyles(fsBold | fsItalic));
    TPen pen;
    EXPECT_THROW(pen.Assign(&font), rtl::EConvertError);
}

TEST_F(UiTest, CanvasDrawsOnABitmapWithTheWindowsPixelRules) {
    TBitmap bmp;
    bmp.SetSize(20, 10);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 20, 10));
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(clYellow);
    c->Rectangle(2, 2, 8, 8);
    struct Case {
        int X, Y;
        TColor Want;
    } cases[] = {
        {2, 2, clBlack}, {7, 7, clBlack}, {8, 8, clWhite}, {4, 4, clYellow}, {0, 0, clWhite},
    };
    for (auto& k : cases) EXPECT_EQ(c->Pixels(k.X, k.Y), k.Want) << k.X << "," << k.Y;
    c->MoveTo(10, 1);
    c->LineTo(15, 1);
    EXPECT_EQ(c->Pixels(14, 1), clBlack);
    EXPECT_EQ(c->Pixels(15, 1), clWhite); // the last point is left out
    EXPECT_EQ(c->PenPos(), Point(15, 1));
    c->SetPixels(19, 9, clBlue);
    EXPECT_EQ(bmp.TransparentColor(), clWhite); // the bottom-left pixel
    EXPECT_GT(c->TextWidth("WWW"), c->TextWidth("i"));
    // Resizing keeps what fits; a copy owns its own pixels.
    bmp.SetSize(25, 12);
    EXPECT_EQ(bmp.Canvas()->Pixels(4, 4), clYellow);
    TBitmap copy;
    copy.Assign(&bmp);
    bmp.Canvas()->SetPixels(4, 4, clRed);
    EXPECT_EQ(copy.Canvas()->Pixels(4, 4), clYellow);
    EXPECT_THROW(bmp.SetSize(-1, 3), EInvalidGraphic);
}

TEST_F(UiTest, MonochromeBitmapsAndBmpDataWithBadInputRefused) {
    TBitmap mono;
    mono.SetMonochrome(true);
    mono.SetSize(8, 8);
    mono.Canvas()->Brush()->SetColor(clBlack);
    mono.Canvas()->FillRect(Rect(0, 0, 4, 8));
    EXPECT_EQ(mono.Canvas()->Pixels(1, 1), clBlack);
    EXPECT_EQ(mono.Canvas()->Pixels(6, 1), clWhite);
    // A 2 x 1 24-bit .bmp: blue then red (bottom-up rows, BGR).
    unsigned char file[] = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0,
                            1, 0, 24, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                            255, 0, 0, 0, 0, 255, 0, 0};
    TBitmap bmp;
    bmp.LoadFromBytes(file, sizeof file);
    EXPECT_EQ(bmp.Width(), 2);
    EXPECT_EQ(bmp.Canvas()->Pixels(0, 0), clBlue);
    EXPECT_EQ(bmp.Canvas()->Pixels(1, 0), clRed);
    EXPECT_THROW(bmp.LoadFromBytes(file, 40), EInvalidGraphic);   // truncated
    EXPECT_THROW(bmp.LoadFromBytes("GIF89a", 6), EInvalidGraphic); // not a bitmap
    EXPECT_EQ(bmp.Width(), 2); // the old picture stays
}

TEST_F(UiTest, ImageListDrawsMaskedPicturesOverTheBackground) {
    TBitmap strip;
    strip.SetSize(8, 4); // two 4 x 4 pictures: fuchsia stands for transparent
    strip.Canvas()->Brush()->SetColor(clFuchsia);
    strip.Canvas()->FillRect(Rect(0, 0, 8, 4));
    strip.Canvas()->Brush()->SetColor(clGreen);
    strip.Canvas()->FillRect(Rect(1, 1, 3, 3));
    strip.Canvas()->Brush()->SetColor(clNavy);
    strip.Canvas()->FillRect(Rect(4, 0, 8, 4));
    TImageList images(nullptr, 4, 4);
    EXPECT_EQ(images.AddMasked(&strip, clFuchsia), 0);
    EXPECT_EQ(images.Count(), 2);
    EXPECT_EQ(images.Add(&strip, nullptr), 2); // without a mask: drawn as it is
    TBitmap target;
    target.SetSize(12, 4);
    target.Canvas()->Brush()->SetColor(clSilver);
    target.Canvas()->FillRect(Rect(0, 0, 12, 4));
    images.Draw(target.Canvas(), 0, 0, 0);
    images.Draw(target.Canvas(), 4, 0, 1);
    images.Draw(target.Canvas(), 8, 0, 2);
    EXPECT_EQ(target.Canvas()->Pixels(0, 0), clSilver);  // transparent
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), clGreen);
    EXPECT_EQ(target.Canvas()->Pixels(5, 0), clNavy);
    EXPECT_EQ(target.Canvas()->Pixels(8, 0), clFuchsia); // no mask
    // An explicit mask: white where the background shows through.
    TBitmap mask;
    mask.SetMonochrome(true);
    mask.SetSize(4, 4);
    mask.Canvas()->Brush()->SetColor(clWhite);
    mask.Canvas()->FillRect(Rect(0, 0, 4, 4));
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(1, 1, 3, 3));
    TBitmap first;
    first.SetSize(4, 4);
    first.Canvas()->CopyRect(Rect(0, 0, 4, 4), strip.Canvas(), Rect(0, 0, 4, 4));
    EXPECT_EQ(images.Add(&first, &mask), 4);
    images.Draw(target.Canvas(), 8, 0, 4);
    EXPECT_EQ(target.Canvas()->Pixels(8, 0), clFuchsia); // the earlier picture shows through
    EXPECT_EQ(target.Canvas()->Pixels(9, 1), clGreen);
    EXPECT_THROW(images.Add(&strip, &mask), EInvalidGraphic); // the mask covers half of it
    EXPECT_EQ(images.Count(), 5);
    EXPECT_THROW(images.Delete(9), rtl::EListError);
}

TEST(ColorTest, SystemColoursResolveWhenDrawn) {
    EXPECT_EQ(ColorToRGB(clBtnFace), win::GetSysColor(win::COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clRed), win::RGB(255, 0, 0));
    EXPECT_EQ(ColorToRGB(clNavy), win::RGB(0, 0, 128));
}

TEST_F(UiTest, BitmapLoadsFromTheCallingModulesResources) {
    TBitmap bmp;
    bmp.LoadFromResourceName(nullptr, "RedTop");
    EXPECT_EQ(bmp.Width(), 4);
    EXPECT_EQ(bmp.Height(), 2);
    EXPECT_EQ(bmp.Canvas()->Pixels(3, 0), clRed);
    EXPECT_EQ(bmp.Canvas()->Pixels(3, 1), clWhite);
    EXPECT_THROW(bmp.LoadFromResourceName(nullptr, "NOSUCH"), rtl::EResNotFound);
}

TEST_F(UiTest, PatternBrushesAndBrushCopyReplaceTheTransparentColour) {
    TBitmap pattern;
    pattern.SetMonochrome(true);
    pattern.SetSize(8, 8);
    pattern.Canvas()->Brush()->SetColor(clBlack);
    pattern.Canvas()->FillRect(Rect(0, 0, 8, 4)); // top half 0 bits
    TBitmap target;
    target.SetSize(8, 8);
    TCanvas* c = target.Canvas();
    c->Brush()->SetBitmap(&pattern);
    win::SetTextColor(c->Handle(), win::RGB(255, 0, 0)); // 0 bits take the text colour
    win::SetBkColor(c->Handle(), win::RGB(0, 0, 255));
    win::HDC dc = c->Handle();
    win::RECT all{0, 0, 8, 8};
    win::FillRect(dc, &all, c->Brush()->Handle());
    EXPECT_EQ(c->Pixels(2, 1), clRed);
    EXPECT_EQ(c->Pixels(2, 6), clBlue);

    TBitmap glyph;
    glyph.SetSize(4, 4);
    glyph.Canvas()->Brush()->SetColor(clOlive);
    glyph.Canvas()->FillRect(Rect(0, 0, 4, 4));
    glyph.Canvas()->SetPixels(1, 1, clBlack);
    TBitmap dest;
    dest.SetSize(4, 4);
    dest.Canvas()->Brush()->SetColor(clAqua);
    dest.Canvas()->BrushCopy(Rect(0, 0, 4, 4), &glyph, Rect(0, 0, 4, 4), clOlive);
    EXPECT_EQ(dest.Canvas()->Pixels(0, 0), clAqua);
    EXPECT_EQ(dest.Canvas()->Pixels(1, 1), clBlack);
}

TEST_F(UiTest, ScreenListsTheWindowsFacesAndItsSize) {
    rtl::TStrings* fonts = Screen->Fonts();
    for (const char* face : {"Arial", "Courier New", "MS Sans Serif", "Times New Roman"})
        EXPECT_GE(fonts->IndexOf(face), 0) << face;
    EXPECT_EQ(Screen->Width(), 1024);
    EXPECT_EQ(Screen->Height(), 768);
    EXPECT_EQ(Screen->PixelsPerInch(), 96);
}
