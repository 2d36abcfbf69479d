#include "testing/UiTest.h"

#include "vcl/Buttons.h"
#include "vcl/DialogBuilding.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Streaming.h"

#include "rtl/Files.h"
#include "rtl/Streams.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using namespace vcl;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

void Put16(std::string& s, unsigned v) {
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}
void Put32(std::string& s, std::uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

// One 4-bit image of an .ico file: a red Size-6 square from (Inset, Inset) with a blue 4 x 4
// corner at its top left; the rest transparent.
std::string IconImage(int Size, int Inset) {
    std::string img;
    Put32(img, 40);
    Put32(img, std::uint32_t(Size));
    Put32(img, std::uint32_t(Size * 2));
    Put16(img, 1);
    Put16(img, 4);
    for (int i = 0; i < 6; ++i) Put32(img, 0);
    // The colour table (blue, green, red, 0): 0 black, 1 red, 2 blue.
    Put32(img, 0x000000);
    Put32(img, 0xFF0000);
    Put32(img, 0x0000FF);
    for (int i = 3; i < 16; ++i) Put32(img, 0);
    auto inside = [&](int x, int y) { return x >= Inset && y >= Inset && x < Size - Inset && y < Size - Inset; };
    const int xorStride = ((Size * 4 + 31) / 32) * 4, andStride = ((Size + 31) / 32) * 4;
    for (int row = Size - 1; row >= 0; --row) { // bottom-up
        std::string line(std::size_t(xorStride), '\0');
        for (int x = 0; x < Size; ++x) {
            int index = !inside(x, row) ? 0 : (x < Inset + 4 && row < Inset + 4) ? 2 : 1;
            line[std::size_t(x / 2)] = char(line[std::size_t(x / 2)] | (x % 2 ? index : index << 4));
        }
        img += line;
    }
    for (int row = Size - 1; row >= 0; --row) {
        std::string line(std::size_t(andStride), '\0');
        for (int x = 0; x < Size; ++x)
            if (!inside(x, row)) line[std::size_t(x / 8)] = char(line[std::size_t(x / 8)] | (0x80 >> (x % 8)));
        img += line;
    }
    return img;
}

// An .ico file of the given images (size, inset), in that order.
std::string IconFile(std::vector<std::pair<int, int>> Images) {
    std::vector<std::string> parts;
    for (auto [size, inset] : Images) parts.push_back(IconImage(size, inset));
    std::string file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, unsigned(parts.size()));
    std::uint32_t at = 6 + 16 * std::uint32_t(parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        file += char(Images[i].first);
        file += char(Images[i].first);
        file += char(16);
        file += char(0);
        Put16(file, 1);
        Put16(file, 4);
        Put32(file, std::uint32_t(parts[i].size()));
        Put32(file, at);
        at += std::uint32_t(parts[i].size());
    }
    for (auto& p : parts) file += p;
    return file;
}

// A 20 x 10 bitmap: left half red, right half blue, a lime bottom-left pixel.
std::unique_ptr<TBitmap> TwoColours() {
    auto b = std::make_unique<TBitmap>();
    b->SetSize(20, 10);
    b->Canvas()->Brush()->SetColor(clRed);
    b->Canvas()->FillRect(Rect(0, 0, 10, 10));
    b->Canvas()->Brush()->SetColor(clBlue);
    b->Canvas()->FillRect(Rect(10, 0, 20, 10));
    b->Canvas()->SetPixels(0, 9, clLime);
    return b;
}

class ImagesTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = Make<TForm>(Application);
        Form->SetCaption("Images");
        Form->SetBounds(100, 100, 420, 300);
        Form->SetColor(clWhite);
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    TImage* Add(const char* Name, int Left, int Top, int Width, int Height) {
        return AddControl<TImage>(Form, Form, Name, Left, Top, Width, Height);
    }
    win::COLORREF Pixel(int X, int Y) { return testing_support::ClientPixel(Form, X, Y); }
    TForm* Form = nullptr;
};

const win::COLORREF Red = 0x0000FF, Blue = 0xFF0000, White = 0xFFFFFF;

} // namespace

TEST_F(ImagesTest, AnIconIsDrawnThroughItsMaskTheRightWayUp) {
    std::string file = IconFile({{16, 2}, {32, 6}});
    TIcon icon;
    icon.LoadFromBytes(file.data(), file.size());
    EXPECT_EQ(icon.Width(), 32) << "the 32 x 32 image is taken";
    EXPECT_EQ(icon.Height(), 32);
    TBitmap canvas;
    canvas.SetSize(40, 40);
    canvas.Canvas()->Brush()->SetColor(clLime);
    canvas.Canvas()->FillRect(Rect(0, 0, 40, 40));
    // The DC's own colours do not change how the mask goes on.
    win::SetTextColor(canvas.Canvas()->Handle(), win::RGB(255, 0, 255));
    win::SetBkColor(canvas.Canvas()->Handle(), win::RGB(0, 128, 0));
    ASSERT_TRUE(win::DrawIcon(canvas.Canvas()->Handle(), 4, 4, icon.Handle()));
    EXPECT_EQ(canvas.Canvas()->Pixels(4 + 1, 4 + 1), clLime);
    EXPECT_EQ(canvas.Canvas()->Pixels(4 + 7, 4 + 7), clBlue);
    EXPECT_EQ(canvas.Canvas()->Pixels(4 + 24, 4 + 24), clRed);
    EXPECT_EQ(canvas.Canvas()->Pixels(4 + 30, 4 + 30), clLime);

    win::ICONINFO info;
    ASSERT_TRUE(win::GetIconInfo(icon.Handle(), &info));
    win::BITMAP bm;
    win::GetObject(info.hbmMask, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmWidth, 32);
    win::DeleteObject(info.hbmMask);
    win::DeleteObject(info.hbmColor);
    EXPECT_FALSE(win::DrawIcon(canvas.Canvas()->Handle(), 0, 0, win::LoadIcon(nullptr, win::MAKEINTRESOURCE(32512))));
}

TEST_F(ImagesTest, AnIconComesFromTheModulesResources) {
    TIcon icon;
    icon.LoadFromResourceName(nullptr, "disc");
    ASSERT_EQ(icon.Width(), 32);
    TBitmap canvas;
    canvas.SetSize(32, 32);
    canvas.Canvas()->Brush()->SetColor(clYellow);
    canvas.Canvas()->FillRect(Rect(0, 0, 32, 32));
    canvas.Canvas()->Draw(0, 0, &icon);
    EXPECT_EQ(canvas.Canvas()->Pixels(16, 16), clGreen);
    EXPECT_EQ(canvas.Canvas()->Pixels(0, 0), clYellow);
    EXPECT_THROW(icon.LoadFromResourceName(nullptr, "NOSUCHICON"), rtl::EResNotFound);
    EXPECT_EQ(icon.Width(), 32) << "a missing resource leaves the icon as it was";
}

TEST_F(ImagesTest, DamagedIconFilesAreRefused) {
    std::string good = IconFile({{32, 6}});
    auto with = [&](std::size_t At, char Value) {
        std::string s = good;
        s[At] = Value;
        return s;
    };
    const std::string cases[] = {
        "", good.substr(0, 5), with(2, 2) /* a cursor */, with(4, 0) /* no image */,
        good.substr(0, 22 + 30) /* cut inside the header */, good.substr(0, good.size() - 10) /* cut mask */,
        with(18, char(0x7F)) /* offset past the end */, with(22 + 14, 3) /* 3 bits a pixel */,
        with(22 + 16, 1) /* compressed */,
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        TIcon icon;
        EXPECT_THROW(icon.LoadFromBytes(cases[i].data(), cases[i].size()), EInvalidGraphic) << "case " << i;
        EXPECT_TRUE(icon.Empty()) << "case " << i;
    }
}

TEST_F(ImagesTest, PicturesAreDrawnAtTheCornerCentredOrStretched) {
    auto bitmap = TwoColours();
    std::string file = IconFile({{32, 6}});
    auto* corner = Add("imgCorner", 10, 10, 40, 30);
    corner->Picture()->Assign(bitmap.get());
    auto* centred = Add("imgCentred", 60, 10, 40, 30);
    centred->SetCenter(true);
    centred->SetPicture(corner->Picture());
    auto* stretched = Add("imgStretched", 110, 10, 40, 30);
    stretched->SetStretch(true);
    stretched->Picture()->Assign(bitmap.get());
    auto* iconCentred = Add("imgIcon", 10, 60, 60, 60);
    iconCentred->SetCenter(true);
    iconCentred->Picture()->Icon()->LoadFromBytes(file.data(), file.size());
    auto* iconStretched = Add("imgIconStretched", 100, 60, 64, 64);
    iconStretched->SetStretch(true);
    iconStretched->SetPicture(iconCentred->Picture());
    auto* sized = Add("imgSized", 200, 10, 5, 5);
    sized->SetAutoSize(true);
    sized->Picture()->Assign(bitmap.get());
    auto* see = Add("imgTransparent", 200, 60, 20, 10);
    see->SetTransparent(true);
    auto lime = TwoColours();
    lime->Canvas()->Brush()->SetColor(clLime);
    lime->Canvas()->FillRect(Rect(0, 0, 5, 10));
    see->Picture()->Assign(lime.get());
    Form->Show();
    Form->Update();
    ASSERT_TRUE(TRobot::Screenshot("/tmp/vcl-images.png", Form->Handle()));

    struct Probe {
        int X, Y;
        win::COLORREF Colour;
    } probes[] = {
        {10 + 5, 10 + 5, Red}, {10 + 15, 10 + 5, Blue}, {10 + 25, 10 + 5, White},          // at the corner
        {60 + 10 + 5, 10 + 10 + 5, Red}, {60 + 5, 10 + 5, White}, {60 + 31, 10 + 15, White}, // centred
        {110 + 1, 10 + 28, 0x00FF00}, {110 + 18, 10 + 2, Red}, {110 + 22, 10 + 28, Blue},   // stretched
        {10 + 14 + 7, 60 + 14 + 7, Blue}, {10 + 14 + 20, 60 + 14 + 20, Red}, {10 + 14 + 2, 60 + 14 + 2, White},
        {100 + 2 * 7, 60 + 2 * 7, Blue}, {100 + 2 * 24, 60 + 2 * 24, Red}, {100 + 4, 60 + 4, White},
        {200 + 2, 60 + 5, White}, {200 + 7, 60 + 5, Red}, {200 + 15, 60 + 5, Blue},         // transparent
    };
    for (const Probe& p : probes) EXPECT_EQ(Pixel(p.X, p.Y), p.Colour) << p.X << "," << p.Y;
    EXPECT_EQ(sized->Width(), 20);
    EXPECT_EQ(sized->Height(), 10);
    EXPECT_EQ(stretched->DestRect().right, 40);
}

TEST_F(ImagesTest, AStoredFormKeepsTheImagesPictures) {
    auto bitmap = TwoColours();
    std::string file = IconFile({{32, 6}});
    auto* b = Add("imgBitmap", 10, 10, 40, 30);
    b->Picture()->Assign(bitmap.get());
    b->SetStretch(true);
    auto* i = Add("imgIcon", 60, 10, 40, 40);
    i->Picture()->Icon()->LoadFromBytes(file.data(), file.size());
    i->SetCenter(true);
    i->SetTransparent(true);
    Add("imgEmpty", 110, 10, 20, 20);

    rtl::TMemoryStream s;
    WriteComponentToStream(Form, s);
    auto* copy = Make<TForm>(Application);
    s.SetPosition(0);
    ReadComponentFromStream(s, copy);
    auto* b2 = dynamic_cast<TImage*>(copy->FindComponent("imgBitmap"));
    auto* i2 = dynamic_cast<TImage*>(copy->FindComponent("imgIcon"));
    auto* e2 = dynamic_cast<TImage*>(copy->FindComponent("imgEmpty"));
    ASSERT_TRUE(b2 && i2 && e2);
    EXPECT_TRUE(b2->Stretch());
    auto* readBitmap = dynamic_cast<TBitmap*>(b2->Picture()->Graphic());
    ASSERT_TRUE(readBitmap);
    EXPECT_EQ(readBitmap->Width(), 20);
    EXPECT_EQ(readBitmap->Canvas()->Pixels(3, 3), clRed);
    EXPECT_EQ(readBitmap->Canvas()->Pixels(13, 3), clBlue);
    EXPECT_EQ(readBitmap->Canvas()->Pixels(0, 9), clLime);
    auto* readIcon = dynamic_cast<TIcon*>(i2->Picture()->Graphic());
    ASSERT_TRUE(readIcon);
    EXPECT_EQ(readIcon->SaveToBytes(), file);
    EXPECT_TRUE(i2->Center());
    EXPECT_TRUE(i2->Transparent());
    EXPECT_EQ(e2->Picture()->Graphic(), nullptr);
    delete copy;

    // A picture of an unknown class is refused, and the form read so far is given back.
    std::string bytes(static_cast<std::size_t>(s.Size()), '\0');
    s.SetPosition(0);
    s.Read(bytes.data(), s.Size());
    auto at = bytes.find("\x05TIcon");
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, 6, "\x05TIcoX");
    rtl::TMemoryStream bad;
    bad.Write(bytes.data(), std::int64_t(bytes.size()));
    bad.SetPosition(0);
    auto* other = Make<TForm>(Application);
    EXPECT_THROW(ReadComponentFromStream(bad, other), EInvalidGraphic);
    EXPECT_EQ(other->ComponentCount(), 0);
    delete other;
}

TEST_F(ImagesTest, PicturesLoadFromFilesByTheirExtension) {
    std::string file = IconFile({{32, 6}});
    std::string ico = Root.Path() + "/app.ico";
    rtl::WriteFileAtomic(ico, file);
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    picture.LoadFromFile(ico);
    EXPECT_NE(dynamic_cast<TIcon*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 32);
    EXPECT_GE(changes, 1);
    EXPECT_THROW(picture.LoadFromFile(Root.Path() + "/notes.txt"), EInvalidGraphic);
    EXPECT_NE(picture.Graphic(), nullptr) << "a refused file leaves the picture as it was";
    picture.Assign(nullptr);
    EXPECT_EQ(picture.Graphic(), nullptr);
}

// A dialog made of the whole family: an image with an icon on a lowered panel, speed buttons
// with pictures, and a bottom panel of bitmap buttons, one in the older outlined style.
TEST_F(ImagesTest, ADialogOfPanelsImagesAndButtonsLooksRight) {
    Form->SetColor(clBtnFace);
    Form->SetCaption("Quillo Checking Expert");
    Form->SetBorderStyle(TFormBorderStyle::bsDialog);
    Form->SetClientSize(300, 170);
    auto* main = new TPanel(Form);
    main->SetParent(Form);
    main->SetAlign(TAlign::alClient);
    main->SetBevelInner(TPanelBevel::bvLowered);
    main->SetBorderWidth(2);
    main->SetCaption("");
    auto* image = new TImage(Form);
    image->SetParent(main);
    image->SetBounds(12, 12, 40, 40);
    image->SetCenter(true);
    std::string file = IconFile({{32, 6}});
    image->Picture()->Icon()->LoadFromBytes(file.data(), file.size());
    for (int i = 0; i < 3; ++i) {
        auto* sb = new TSpeedButton(Form);
        sb->SetParent(main);
        sb->SetBounds(70 + 25 * i, 12, 25, 25);
        sb->SetGroupIndex(1);
        sb->SetCaption(std::string(1, char('A' + i)));
        if (i == 1) sb->SetDown(true);
    }
    auto* bar = new TPanel(Form);
    bar->SetParent(Form);
    bar->SetAlign(TAlign::alBottom);
    bar->SetHeight(41);
    bar->SetCaption("");
    auto* ok = new TBitBtn(Form);
    ok->SetParent(bar);
    ok->SetBounds(8, 8, 85, 27);
    ok->SetKind(TBitBtnKind::bkOK);
    auto* close = new TBitBtn(Form);
    close->SetParent(bar);
    close->SetBounds(104, 8, 85, 27);
    close->SetKind(TBitBtnKind::bkCancel);
    close->SetCaption("Close");
    auto* old = new TBitBtn(Form);
    old->SetParent(bar);
    old->SetBounds(200, 8, 85, 27);
    old->SetKind(TBitBtnKind::bkHelp);
    old->SetStyle(TButtonStyle::bsWin31);
    Form->Show();
    ok->SetFocus();
    Form->Update();
    ASSERT_TRUE(TRobot::Screenshot("/tmp/vcl-family.png", Form->Handle()));
    EXPECT_EQ(bar->Top(), 170 - 41);
    // The icon sits centred in its image; the old-style button has a dark outline with rounded
    // corners and a two-pixel highlight inside it.
    EXPECT_EQ(Pixel(main->Left() + 4 + 12 + 4 + 20, main->Top() + 4 + 12 + 4 + 20), Red);
    win::HDC dc = win::GetDC(bar->Handle());
    EXPECT_EQ(win::GetPixel(dc, 200, 8 + 13), ColorToRGB(clWindowFrame));
    EXPECT_EQ(win::GetPixel(dc, 200, 8), ColorToRGB(clBtnFace));
    EXPECT_EQ(win::GetPixel(dc, 201, 8 + 13), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(win::GetPixel(dc, 202, 8 + 13), ColorToRGB(clBtnHighlight));
    win::ReleaseDC(bar->Handle(), dc);
}
