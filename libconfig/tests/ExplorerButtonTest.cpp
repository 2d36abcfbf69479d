#include "libconfig/ExplorerButton.h"

#include "testing/UiTest.h"

#include <memory>
#include <string>

namespace libconfig {
namespace {

using namespace vcl;
using testing_support::TRobot;
using testing_support::UiTest;

// A 16 x 16 picture on a fuchsia ground: a red square with a white and a black pixel in it.
std::unique_ptr<TBitmap> Picture() {
    auto b = std::make_unique<TBitmap>();
    b->SetSize(16, 16);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(Rect(0, 0, 16, 16));
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(4, 4, 12, 12));
    c->SetPixels(5, 5, clWhite);
    c->SetPixels(6, 6, clBlack);
    return b;
}

class ExplorerButtonTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = BareForm(0, 0, 200, 100);
        Form->SetColor(clBtnFace);
        A = AddButton(10, "&Open");
        B = AddButton(70, "Save");
        Form->Show();
        Idle();
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    TExplorerButton* AddButton(int Left, const std::string& Caption) {
        auto* b = new TExplorerButton(Form);
        b->SetParent(Form);
        b->SetLeft(Left);
        b->SetTop(10);
        b->SetCaption(Caption);
        b->OnClick = [this](TObject* Sender) { Clicks += Sender == A ? "A" : "B"; };
        return b;
    }
    void Idle() {
        for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    }
    // The form lies at the screen's origin without a frame: its client points are screen points.
    void Input(unsigned Msg, int X, int Y) {
        win::PostMouseInput(Msg, win::POINT{X, Y});
        Idle();
    }
    void ClickAt(int X, int Y) {
        Input(win::WM_MOUSEMOVE, X, Y);
        Input(win::WM_LBUTTONDOWN, X, Y);
        Input(win::WM_LBUTTONUP, X, Y);
    }
    win::COLORREF Px(int X, int Y) {
        Form->Repaint();
        win::HDC dc = win::GetDC(Form->Handle());
        win::COLORREF c = win::GetPixel(dc, X, Y);
        win::ReleaseDC(Form->Handle(), dc);
        return c;
    }
    // The colours of the button's top-left and bottom-right corners.
    std::pair<win::COLORREF, win::COLORREF> Edges(TExplorerButton* Button) {
        return {Px(Button->Left(), Button->Top()),
                Px(Button->Left() + Button->Width() - 1, Button->Top() + Button->Height() - 1)};
    }

    TForm* Form = nullptr;
    TExplorerButton* A = nullptr;
    TExplorerButton* B = nullptr;
    std::string Clicks;
    const win::COLORREF Face = ColorToRGB(clBtnFace), Light = ColorToRGB(clBtnHighlight), Dark = ColorToRGB(clBtnShadow);
};

TEST(ExplorerButtonTexts, StripAccelChars) {
    const std::pair<std::string, std::string> cases[] = {
        {"&Open", "Open"}, {"Save && Exit", "Save & Exit"}, {"End&", "End&"},
        {"a&&&b", "a&b"},  {"", ""},                        {"&", "&"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(StripAccelChars(in), out) << "'" << in << "'";
}

TEST(ExplorerButtonTexts, GreyTonesFallIntoTheDarkerToneAtEachThreshold) {
    struct TCase {
        TShadingType Shading;
        int Sum;
        TColor Tone;
    };
    const TCase cases[] = {
        {TShadingType::stMedium, 554, clWhite},      {TShadingType::stMedium, 553, clBtnHighlight},
        {TShadingType::stMedium, 232, clBtnHighlight}, {TShadingType::stMedium, 231, clBtnShadow},
        {TShadingType::stMedium, 58, clBtnShadow},   {TShadingType::stMedium, 57, clBlack},
        {TShadingType::stLight, 206, clWhite},       {TShadingType::stLight, 205, clBtnHighlight},
        {TShadingType::stLight, 127, clBtnShadow},   {TShadingType::stLight, 68, clBlack},
        {TShadingType::stDark, 336, clWhite},        {TShadingType::stDark, 335, clBtnHighlight},
        {TShadingType::stDark, 274, clBtnShadow},    {TShadingType::stDark, 175, clBlack},
        {TShadingType::stMedium, 0, clBlack},        {TShadingType::stMedium, 765, clWhite},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(MonoTone(c.Sum, c.Shading), c.Tone) << "shading " << int(c.Shading) << ", sum " << c.Sum;
}

TEST_F(ExplorerButtonTest, BevelFollowsThePointerAndThePress) {
    EXPECT_EQ(Edges(A), std::make_pair(Face, Face)) << "no border while the pointer is elsewhere";
    Input(win::WM_MOUSEMOVE, 20, 20);
    EXPECT_TRUE(A->Hot());
    EXPECT_EQ(Edges(A), std::make_pair(Light, Dark)) << "raised while hot";
    Input(win::WM_LBUTTONDOWN, 20, 20);
    EXPECT_EQ(Edges(A), std::make_pair(Dark, Light)) << "sunken while pressed";
    Input(win::WM_MOUSEMOVE, 150, 80);
    EXPECT_FALSE(A->Hot());
    EXPECT_EQ(Edges(A), std::make_pair(Face, Face)) << "pressed but the pointer left";
    Input(win::WM_MOUSEMOVE, 20, 20);
    EXPECT_EQ(Edges(A), std::make_pair(Dark, Light)) << "coming back while still held";
    Input(win::WM_LBUTTONUP, 20, 20);
    EXPECT_EQ(Clicks, "A");
    EXPECT_FALSE(A->Hot()) << "not hot after a click until the pointer moves";
    EXPECT_EQ(Edges(A), std::make_pair(Face, Face));

    A->SetBevelStyle(TButtonBevel::bsLowered);
    Input(win::WM_MOUSEMOVE, 21, 20);
    EXPECT_EQ(Edges(A), std::make_pair(Dark, Light)) << "a lowered bevel swaps the colours";
    Input(win::WM_MOUSEMOVE, 80, 20);
    EXPECT_FALSE(A->Hot()) << "leaving gives the capture back";
    Input(win::WM_MOUSEMOVE, 81, 20);
    EXPECT_TRUE(B->Hot());
}

TEST_F(ExplorerButtonTest, ReleaseOutsideOrOnADisabledButtonClicksNothing) {
    Input(win::WM_MOUSEMOVE, 20, 20);
    Input(win::WM_LBUTTONDOWN, 20, 20);
    Input(win::WM_MOUSEMOVE, 150, 80);
    Input(win::WM_LBUTTONUP, 150, 80);
    EXPECT_EQ(Clicks, "");
    EXPECT_FALSE(A->Pressed());

    A->SetEnabled(false);
    ClickAt(20, 20);
    EXPECT_EQ(Clicks, "");
    EXPECT_FALSE(A->Hot());
    ClickAt(80, 20);
    EXPECT_EQ(Clicks, "B") << "the neighbour still works";
}

TEST_F(ExplorerButtonTest, DropDownMenuOpensUnderThePressAndNeverClicks) {
    auto* menu = new TPopupMenu(Form);
    std::string chosen;
    for (const char* caption : {"&Open", "&Recent"}) {
        auto* item = new TMenuItem(menu);
        item->SetCaption(caption);
        item->OnClick = [&chosen, caption](TObject*) { chosen += caption; };
        menu->Items()->Add(item);
    }
    A->SetDropDownMenu(menu);
    auto run = [&](TRobot& Robot) {
        testing_support::PlayOut(Robot, 60, 0);
        Idle();
        EXPECT_TRUE(Robot.Done()) << Robot.Describe();
    };

    // The press opens the menu at the button's bottom-left corner; an item is chosen.
    TRobot robot;
    robot.ClickAt(Form->Handle(), win::POINT{20, 20});
    robot.Do([&] {
        EXPECT_EQ(TRobot::OpenMenuItems(), (std::vector<std::string>{"&Open", "&Recent"}));
        EXPECT_TRUE(A->Pressed());
        EXPECT_TRUE(A->Hot());
        EXPECT_EQ(Edges(A), std::make_pair(Dark, Light)) << "sunken under its menu";
        win::HWND list = TRobot::FindWindow(testing_support::TBy::Class("#32768"));
        ASSERT_TRUE(list);
        win::RECT r{};
        win::GetWindowRect(list, &r);
        EXPECT_EQ(r.left, A->Left());
        EXPECT_EQ(r.top, A->Top() + A->Height());
        TRobot::Screenshot("/tmp/libconfig-dropdown.png");
    });
    robot.ChooseMenu("Recent");
    run(robot);
    EXPECT_EQ(chosen, "&Recent");
    EXPECT_EQ(Clicks, "");
    EXPECT_FALSE(A->Pressed());
    EXPECT_FALSE(A->Hot()) << "the pointer went down to the menu";

    // A double click on the button while its menu is open: the first press closes the menu and
    // the rest of the clicking is dropped, so the menu does not open again and nothing clicks.
    TRobot again;
    again.ClickAt(Form->Handle(), win::POINT{20, 20});
    again.Do([&] {
        EXPECT_FALSE(TRobot::OpenMenuItems().empty());
        for (unsigned m : {win::WM_MOUSEMOVE, win::WM_LBUTTONDOWN, win::WM_LBUTTONUP, win::WM_LBUTTONDBLCLK, win::WM_LBUTTONUP})
            win::PostMouseInput(m, win::POINT{22, 22});
    });
    run(again);
    EXPECT_TRUE(TRobot::OpenMenuItems().empty());
    EXPECT_EQ(chosen, "&Recent");
    EXPECT_EQ(Clicks, "");
    EXPECT_FALSE(A->Pressed());
    EXPECT_TRUE(A->Hot()) << "the pointer is still over it";

    // A freed menu is forgotten, and the button clicks again.
    delete menu;
    EXPECT_EQ(A->DropDownMenu(), nullptr);
    Input(win::WM_MOUSEMOVE, 21, 21);
    ClickAt(20, 20);
    EXPECT_EQ(Clicks, "A");
}

TEST_F(ExplorerButtonTest, GroupKeepsOneButtonDown) {
    A->SetGroupIndex(1);
    B->SetGroupIndex(1);
    ClickAt(20, 20);
    EXPECT_TRUE(A->Down());
    ClickAt(80, 20);
    EXPECT_TRUE(B->Down());
    EXPECT_FALSE(A->Down());
    ClickAt(80, 20);
    EXPECT_TRUE(B->Down()) << "the only down button stays down";
    A->SetAllowAllUp(true);
    EXPECT_TRUE(B->AllowAllUp()) << "copied across the group";
    ClickAt(80, 20);
    EXPECT_FALSE(B->Down());
    EXPECT_EQ(Clicks, "ABBB");

    // A button outside a group is never down.
    A->SetGroupIndex(0);
    A->SetDown(true);
    EXPECT_FALSE(A->Down());
    B->SetDown(true);
    B->SetGroupIndex(0);
    EXPECT_FALSE(B->Down());
}

TEST_F(ExplorerButtonTest, DownButtonShowsTheDottedPatternUnderASunkenBevel) {
    A->SetCaption("");
    A->SetGroupIndex(1);
    A->SetDown(true);
    // Pattern cells of the same parity are highlight, the others face; the button's origin is even.
    EXPECT_EQ(Px(A->Left() + 4, A->Top() + 4), Light);
    EXPECT_EQ(Px(A->Left() + 5, A->Top() + 5), Light);
    EXPECT_EQ(Px(A->Left() + 5, A->Top() + 4), Face);
    EXPECT_EQ(Edges(A), std::make_pair(Dark, Light));
    A->SetShowDownPattern(false);
    EXPECT_EQ(Px(A->Left() + 4, A->Top() + 4), Face);
}

TEST_F(ExplorerButtonTest, PictureIsGreyUntilHoveredOrTheGivenNoFocusPicture) {
    A->SetCaption("");
    auto pic = Picture();
    A->SetBitmap(pic.get());
    ASSERT_FALSE(A->MonoBitmap()->Empty());
    // No caption: the 16 x 16 picture is centred in the 50 x 40 button.
    const int x0 = A->Left() + 17, y0 = A->Top() + 12;
    EXPECT_EQ(Px(x0, y0), Face) << "transparent corner";
    EXPECT_EQ(Px(x0 + 8, y0 + 8), Light) << "red: sum 255";
    EXPECT_EQ(Px(x0 + 5, y0 + 5), ColorToRGB(clWhite));
    EXPECT_EQ(Px(x0 + 6, y0 + 6), ColorToRGB(clBlack));
    Input(win::WM_MOUSEMOVE, x0 + 1, y0 + 1);
    EXPECT_EQ(Px(x0 + 8, y0 + 8), ColorToRGB(clRed)) << "the picture itself while hot";
    Input(win::WM_LBUTTONDOWN, x0 + 1, y0 + 1);
    EXPECT_EQ(Px(x0 + 12, y0 + 12), ColorToRGB(clRed)) << "one pixel right and down while pressed";
    Input(win::WM_LBUTTONUP, x0 + 1, y0 + 1);

    A->SetShadingType(TShadingType::stDark);
    Input(win::WM_MOUSEMOVE, 150, 80);
    EXPECT_EQ(Px(x0 + 8, y0 + 8), Dark) << "stDark puts 255 in the shadow tone";

    auto nofocus = std::make_unique<TBitmap>();
    nofocus->SetSize(16, 16);
    nofocus->Canvas()->Brush()->SetColor(clLime);
    nofocus->Canvas()->FillRect(Rect(1, 1, 16, 16));
    A->SetNoFocusBitmap(nofocus.get());
    EXPECT_TRUE(A->MonoBitmap()->Empty()) << "no grey copy beside a given picture";
    EXPECT_EQ(Px(x0 + 8, y0 + 8), ColorToRGB(clLime));
    A->SetOptions(A->Options() & ~boMonoDisplay);
    EXPECT_EQ(Px(x0 + 8, y0 + 8), ColorToRGB(clRed)) << "without mono display the picture always shows";
}

TEST_F(ExplorerButtonTest, DisabledButtonEmbossesItsPictureOrShowsTheDisabledOne) {
    A->SetCaption("");
    auto pic = Picture();
    A->SetBitmap(pic.get());
    A->SetEnabled(false);
    const int x0 = A->Left() + 17, y0 = A->Top() + 12;
    // The dark red square: shadow in place, highlight showing one right and down; the white
    // pixel in it is left out of the shape but covered by the highlight of its neighbour.
    EXPECT_EQ(Px(x0 + 8, y0 + 8), Dark);
    EXPECT_EQ(Px(x0 + 12, y0 + 12), Light);
    EXPECT_EQ(Px(x0 + 12, y0 + 4), Face);
    EXPECT_EQ(Px(x0 + 3, y0 + 3), Face);
    auto disabled = std::make_unique<TBitmap>();
    disabled->SetSize(16, 16);
    disabled->Canvas()->Brush()->SetColor(clBlue);
    disabled->Canvas()->FillRect(Rect(1, 1, 16, 16));
    A->SetDisabledBitmap(disabled.get());
    EXPECT_EQ(Px(x0 + 8, y0 + 8), ColorToRGB(clBlue));
    EXPECT_EQ(Px(x0, y0), Face);
}

TEST_F(ExplorerButtonTest, IconOnlyTurnsTheCaptionIntoTheHint) {
    A->SetOptions(A->Options() | boIconOnly);
    EXPECT_EQ(A->Hint(), "Open");
    EXPECT_TRUE(A->ShowHint());
    A->SetCaption("&Close");
    EXPECT_EQ(A->Hint(), "Close");
    A->SetOptions(A->Options() | boPopupMark);
    EXPECT_EQ(A->Hint(), "Close") << "other options leave a picture-only button's hint";
    A->SetOptions(A->Options() & ~boIconOnly);
    EXPECT_EQ(A->Hint(), "");
    EXPECT_FALSE(A->ShowHint());
    B->SetHint("Write the file");
    B->SetOptions(B->Options() | boIconOnly);
    B->SetOptions(B->Options() & ~boIconOnly);
    EXPECT_EQ(B->Hint(), "Write the file") << "a hint of its own stays";
}

TEST_F(ExplorerButtonTest, AcceleratorClicks) {
    Form->Perform(CM_DIALOGCHAR, 'o', 0);
    EXPECT_EQ(Clicks, "A");
    EXPECT_FALSE(A->Hot());
    A->SetEnabled(false);
    Form->Perform(CM_DIALOGCHAR, 'o', 0);
    EXPECT_EQ(Clicks, "A");
}

// The caption's size in the button's font.
win::SIZE Measure(TExplorerButton* Button, const std::string& Text) {
    win::HDC dc = win::GetDC(nullptr);
    win::HGDIOBJ old = win::SelectObject(dc, Button->Font()->Handle());
    TRect r = Rect(0, 0, Button->Width() - 4, 0);
    win::DrawText(dc, Text.c_str(), int(Text.size()), &r, win::DT_CALCRECT);
    win::SelectObject(dc, old);
    win::ReleaseDC(nullptr, dc);
    return win::SIZE{r.right, r.bottom};
}

TEST_F(ExplorerButtonTest, PictureIsPlacedByLayoutAndAlignment) {
    auto pic = Picture();
    A->SetBitmap(pic.get());
    A->SetCaption("Op");
    A->SetOptions(0);
    const win::SIZE text = Measure(A, "Op");
    const int w = text.cx, h = text.cy, top = (40 - h - 16 - 2) / 2;
    struct TCase {
        TButtonLayout Layout;
        TAlignment Alignment;
        int PicLeft, PicTop;
    };
    const TCase cases[] = {
        {TButtonLayout::blBitmapTop, TAlignment::taCenter, 17, top},
        {TButtonLayout::blBitmapTop, TAlignment::taLeftJustify, 3, top},
        {TButtonLayout::blBitmapTop, TAlignment::taRightJustify, 31, top},
        {TButtonLayout::blBitmapBottom, TAlignment::taCenter, 17, top + h + 2},
        {TButtonLayout::blBitmapLeft, TAlignment::taCenter, (50 - (16 + 2 + w)) / 2, 12},
        {TButtonLayout::blBitmapLeft, TAlignment::taRightJustify, 50 - 3 - (16 + 2 + w), 12},
        {TButtonLayout::blBitmapRight, TAlignment::taLeftJustify, 3 + w + 2, 12},
    };
    const win::COLORREF red = ColorToRGB(clRed);
    for (const TCase& c : cases) {
        A->SetLayout(c.Layout);
        A->SetAlignment(c.Alignment);
        // The red square starts 4 pixels into the picture.
        int x = A->Left() + c.PicLeft + 4, y = A->Top() + c.PicTop + 4;
        EXPECT_EQ(Px(x, y), red) << "layout " << int(c.Layout) << ", alignment " << int(c.Alignment);
        EXPECT_NE(Px(x - 1, y - 1), red) << "layout " << int(c.Layout) << ", alignment " << int(c.Alignment);
        EXPECT_EQ(Px(x + 7, y + 7), red) << "layout " << int(c.Layout) << ", alignment " << int(c.Alignment);
    }
}

TEST_F(ExplorerButtonTest, DropDownMarkIsATriangleRightOfThePicture) {
    auto pic = Picture();
    A->SetBitmap(pic.get());
    A->SetCaption("");
    auto* menu = new TPopupMenu(Form);
    A->SetDropDownMenu(menu);
    // The picture with its mark is 26 wide: it starts at 12, the mark point at 12 + 16 + 3, 12 + 8.
    const int mx = A->Left() + 31, my = A->Top() + 20;
    const win::COLORREF ink = ColorToRGB(clWindowText);
    const int widths[] = {7, 5, 3, 1};
    for (int row = 0; row < 4; ++row) {
        int y = my - 1 + row;
        EXPECT_NE(Px(mx + row - 1, y), ink) << "row " << row;
        for (int i = 0; i < widths[row]; ++i) EXPECT_EQ(Px(mx + row + i, y), ink) << "row " << row << " pixel " << i;
        EXPECT_NE(Px(mx + row + widths[row], y), ink) << "row " << row;
    }
    A->SetOptions(A->Options() & ~boPopupMark);
    EXPECT_NE(Px(mx + 3, my), ink);
}

TEST_F(ExplorerButtonTest, CaptionColours) {
    A->SetCaption("WWW");
    A->SetUnselectedFontColor(clBlue);
    auto count = [&](win::COLORREF colour) {
        Form->Repaint();
        win::HDC dc = win::GetDC(Form->Handle());
        int n = 0;
        for (int y = A->Top(); y < A->Top() + A->Height(); ++y)
            for (int x = A->Left(); x < A->Left() + A->Width(); ++x) n += win::GetPixel(dc, x, y) == colour;
        win::ReleaseDC(Form->Handle(), dc);
        return n;
    };
    EXPECT_GT(count(ColorToRGB(clBlue)), 10) << "not hovered";
    Input(win::WM_MOUSEMOVE, 20, 20);
    EXPECT_EQ(count(ColorToRGB(clBlue)), 0);
    EXPECT_GT(count(ColorToRGB(clWindowText)), 10) << "hovered: the font's colour";
    Input(win::WM_MOUSEMOVE, 150, 80);
    A->SetEnabled(false);
    EXPECT_EQ(count(ColorToRGB(clBlue)), 0);
    EXPECT_GT(count(Dark), 10) << "disabled: embossed";
    EXPECT_GT(count(Light), 10);
}

TEST_F(ExplorerButtonTest, Screenshot) {
    auto pic = Picture();
    A->SetBitmap(pic.get());
    B->SetBitmap(pic.get());
    auto* menu = new TPopupMenu(Form);
    B->SetDropDownMenu(menu);
    Input(win::WM_MOUSEMOVE, 20, 20);
    EXPECT_TRUE(TRobot::Screenshot("/tmp/explorerbutton.png", Form->Handle()));
}

} // namespace
} // namespace libconfig
