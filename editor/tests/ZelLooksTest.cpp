#include "editor/ZelLooks.h"

#include "editor/ZelController.h"
#include "editor/ZelExceptions.h"
#include "rtl/FormFiles.h"
#include "rtl/Streams.h"
#include "testing/UiTest.h"
#include "vcl/Streaming.h"
#include "win/Gdi.h"
#include "win/Windows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace editor;
using testing_support::UiTest;
using vcl::Make;

namespace {

using S = TZelCaretShape;
using A = TZelCaretAlign;

class ZelCaretUi : public UiTest {
protected:
    // A form with a controller and one library control of 100 x 60 pixels, shown and painted.
    void SetUp() override {
        UiTest::SetUp();
        Form = Make<vcl::TForm>(vcl::Application);
        Form->SetBorderStyle(vcl::TFormBorderStyle::bsNone);
        Form->SetBounds(0, 0, 120, 80);
        new TZelController(Form);
        Control = new TZelBase(Form);
        Control->SetParent(Form);
        Control->SetBounds(0, 0, 100, 60);
        Form->Show();
        win::UpdateWindow(Form->Handle());
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }

    // The pixels of the control that differ from its background, as a bounding box. Read from
    // the screen, since a DC of the control itself takes the caret out.
    win::RECT Drawn() {
        win::POINT origin{0, 0};
        win::ClientToScreen(Control->Handle(), &origin);
        win::HDC dc = win::GetDC(nullptr);
        const win::COLORREF back = win::GetPixel(dc, origin.x + 99, origin.y + 59);
        win::RECT box{1000, 1000, -1, -1};
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 100; ++x)
                if (win::GetPixel(dc, origin.x + x, origin.y + y) != back) {
                    box.left = std::min<int>(box.left, x);
                    box.top = std::min<int>(box.top, y);
                    box.right = std::max<int>(box.right, x + 1);
                    box.bottom = std::max<int>(box.bottom, y + 1);
                }
        win::ReleaseDC(nullptr, dc);
        return box;
    }

    vcl::TForm* Form = nullptr;
    TZelBase* Control = nullptr;
};

void ExpectBox(const win::RECT& r, int left, int top, int right, int bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

} // namespace

TEST(ZelCaret, ShapeSizeAndOffsetInTheCell) {
    struct Case {
        S shape;
        int cellH, cellW;
        int height, width, dx, dy;
        A align;
    };
    const Case cases[] = {
        {S::csHorzLine, 16, 8, 2, 8, 0, 14, A::caBottom},
        {S::csHalfBlock, 15, 8, 7, 8, 0, 8, A::caBottom},
        {S::csBlock, 16, 8, 16, 8, 0, 0, A::caLeft},
        {S::csVertLine, 16, 8, 16, 2, 0, 0, A::caLeft},
    };
    for (const Case& c : cases) {
        TZelSingleCaret caret(nullptr);
        caret.CaretType()->SetShape(c.shape);
        caret.SetCellHeight(c.cellH);
        caret.SetCellWidth(c.cellW);
        SCOPED_TRACE(static_cast<int>(c.shape));
        EXPECT_EQ(caret.CaretType()->Align(), c.align);
        EXPECT_EQ(caret.CaretType()->CaretHeight(), c.height);
        EXPECT_EQ(caret.CaretType()->CaretWidth(), c.width);
        EXPECT_EQ(caret.Dx(), c.dx);
        EXPECT_EQ(caret.Dy(), c.dy);
        EXPECT_FALSE(caret.Linked()); // no window: stays unlinked without error
        caret.SetLinked(true);
        EXPECT_FALSE(caret.Linked());
    }
}

TEST(ZelCaret, AlignmentsOfACustomCaret) {
    struct Case {
        A align;
        int dx, dy;
    };
    // A 4 x 6 caret in a 15 x 9 cell; halves round towards zero.
    const Case cases[] = {{A::caLeft, 0, 4}, {A::caTop, 2, 0}, {A::caRight, 5, 4},
                          {A::caBottom, 2, 9}, {A::caCenter, 2, 4}};
    for (const Case& c : cases) {
        TZelSingleCaret caret(nullptr);
        caret.SetCellHeight(15);
        caret.SetCellWidth(9);
        TZelCaret& look = *caret.CaretType();
        look.SetShape(S::csCustom);
        look.SetCaretWidth(4);
        look.SetCaretHeight(6);
        look.SetAlign(c.align);
        EXPECT_EQ(caret.Dx(), c.dx) << static_cast<int>(c.align);
        EXPECT_EQ(caret.Dy(), c.dy) << static_cast<int>(c.align);
    }
}

TEST(ZelCaret, LookSettersTellTheirListenerOfRealChangesOnly) {
    TZelCaret look;
    int changes = 0;
    look.OnChange = [&](vcl::TObject*) { ++changes; };
    look.SetCaretHeight(0);  // below 1: ignored
    look.SetCaretWidth(-3);
    look.SetCaretHeight(10); // unchanged
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(look.CaretHeight(), 10);
    look.SetBitmapHotSpotX(3); // stored, but not a change while the shape is not a bitmap
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(look.BitmapHotSpotX(), 3);
    look.SetBitmap(nullptr);
    EXPECT_EQ(changes, 0);

    vcl::TBitmap image;
    image.SetSize(5, 12);
    look.SetBitmap(&image);
    look.SetShape(S::csBitmap);
    EXPECT_EQ(look.CaretHeight(), 12);
    EXPECT_EQ(look.CaretWidth(), 5);
    look.SetBitmapHotSpotY(2);
    look.SetIsGray(true);
    look.SetBlinkTime(300);
    EXPECT_EQ(changes, 5);
}

TEST(ZelCaret, OneLookSharedByTwoCaretsOutlivesTheFirst) {
    auto look = std::make_shared<TZelCaret>();
    auto first = std::make_unique<TZelSingleCaret>(nullptr);
    TZelSingleCaret second(nullptr);
    first->SetCaretType(look);
    second.SetCaretType(look);
    first.reset();
    look->SetShape(S::csBlock); // heard by the second caret only
    EXPECT_EQ(second.Dx(), 0);
    EXPECT_EQ(look->CaretWidth(), 10);
    EXPECT_EQ(look.use_count(), 2);
}

TEST_F(ZelCaretUi, CaretShapesAreDrawnIntoTheWindowsPixels) {
    TZelCaretPair caret(Control);
    caret.SetCellHeight(16);
    caret.SetCellWidth(8);
    Control->SetFocus();
    caret.SetLinked(true);
    ASSERT_TRUE(caret.Linked());
    caret.SetVisible(true);
    caret.SetPosition(10, 20);
    ExpectBox(Drawn(), 10, 20, 12, 36); // insert: a vertical line

    caret.SetInsertMode(false);
    EXPECT_TRUE(caret.Linked());
    ExpectBox(Drawn(), 10, 20, 18, 36); // overwrite: a block

    caret.CaretOvr()->SetShape(S::csHorzLine);
    ExpectBox(Drawn(), 10, 34, 18, 36);

    caret.SetInsertMode(true);
    ExpectBox(Drawn(), 10, 20, 12, 36);

    caret.SetVisible(false);
    ExpectBox(Drawn(), 1000, 1000, -1, -1);
    caret.SetVisible(true);
    caret.SetPosition(-1, 5); // not placed
    EXPECT_EQ(caret.X(), TZelSingleCaret::NotPlaced);
    ExpectBox(Drawn(), 1000, 1000, -1, -1);
}

TEST_F(ZelCaretUi, LinkingSetsTheLooksBlinkTimeAndUnlinkingRestoresIt) {
    const unsigned system = win::GetCaretBlinkTime();
    auto caret = std::make_unique<TZelSingleCaret>(Control);
    caret->CaretType()->SetBlinkTime(static_cast<std::uint16_t>(system + 100));
    caret->SetLinked(true);
    EXPECT_EQ(win::GetCaretBlinkTime(), system + 100);
    caret->SetLinked(false);
    EXPECT_EQ(win::GetCaretBlinkTime(), system);
    // Freed while linked: the blink time is given back too.
    caret->SetLinked(true);
    caret.reset();
    EXPECT_EQ(win::GetCaretBlinkTime(), system);
}

TEST(ZelColors, ColourPairTellsItsListenerAndReturnsToItsDefaults) {
    TZelColors colors(vcl::clHighlightText, vcl::clHighlight);
    std::vector<std::pair<vcl::TColor, vcl::TColor>> heard;
    colors.OnChange = [&](vcl::TObject* sender) {
        EXPECT_EQ(sender, &colors);
        heard.emplace_back(colors.BackColor(), colors.TextColor());
    };
    EXPECT_TRUE(colors.UseDefault());
    EXPECT_EQ(colors.BackColor(), vcl::clHighlight);
    colors.SetBackColor(vcl::clHighlight); // unchanged: nothing
    EXPECT_TRUE(heard.empty());

    colors.SetBackColor(vcl::clRed);
    EXPECT_FALSE(colors.UseDefault());
    colors.SetBackColor(vcl::clHighlight); // back to the default does not set UseDefault again
    EXPECT_FALSE(colors.UseDefault());
    colors.SetTextColor(vcl::clBlack);
    colors.SetUseDefault(true);
    EXPECT_EQ(colors.BackColor(), vcl::clHighlight);
    EXPECT_EQ(colors.TextColor(), vcl::clHighlightText);
    const std::vector<std::pair<vcl::TColor, vcl::TColor>> expected = {
        {vcl::clRed, vcl::clHighlightText},
        {vcl::clHighlight, vcl::clHighlightText},
        {vcl::clHighlight, vcl::clBlack},
        {vcl::clHighlight, vcl::clHighlightText},
    };
    EXPECT_EQ(heard, expected);

    TZelColors field(vcl::clBlack, vcl::clRed);
    field.SetBackColor(vcl::clYellow);
    colors.Assign(&field);
    EXPECT_EQ(colors.BackColor(), vcl::clYellow);
    EXPECT_EQ(colors.TextColor(), vcl::clBlack);
    vcl::TFont font;
    EXPECT_ANY_THROW(colors.Assign(&font));
}

namespace {

class TColorsHolder : public vcl::TComponent {
public:
    explicit TColorsHolder(vcl::TComponent* AOwner) : vcl::TComponent(AOwner) {}
    TZelColors* HighlightColors() { return &FColors; }
    TZelCaret* CaretOvr() { return &FCaret; }
    TZelFixedFont* FixedFont() { return &FFont; }
    TZelColors FColors{vcl::clHighlightText, vcl::clHighlight};
    TZelCaret FCaret;
    TZelFixedFont FFont;
};

void RegisterHolder() {
    vcl::RegisterClass<TColorsHolder>(
        "TColorsHolder", "TComponent",
        {vcl::ClassProperty<TColorsHolder>("HighlightColors", &TColorsHolder::HighlightColors),
         vcl::ClassProperty<TColorsHolder>("CaretOvr", &TColorsHolder::CaretOvr),
         vcl::ClassProperty<TColorsHolder>("FixedFont", &TColorsHolder::FixedFont)});
}

} // namespace

TEST(ZelLooksStored, LooksRoundTripAndColoursLeaveUseDefaultOut) {
    RegisterHolder();
    TColorsHolder written(nullptr);
    written.SetName("Holder");
    written.HighlightColors()->SetBackColor(vcl::clRed);
    written.CaretOvr()->SetShape(TZelCaretShape::csHalfBlock);
    written.FixedFont()->SetName("Terminal");
    written.FixedFont()->SetStyle(vcl::fsBold);
    rtl::TMemoryStream stream;
    vcl::WriteComponentToStream(&written, stream);
    const std::string bytes(static_cast<const char*>(stream.Memory()), stream.Size());
    EXPECT_NE(bytes.find("HighlightColors.BackColor"), std::string::npos);
    EXPECT_EQ(bytes.find("UseDefault"), std::string::npos);

    stream.SetPosition(0);
    TColorsHolder read(nullptr);
    vcl::ReadComponentFromStream(stream, &read);
    EXPECT_EQ(read.HighlightColors()->BackColor(), vcl::clRed);
    EXPECT_EQ(read.HighlightColors()->TextColor(), vcl::clHighlightText);
    EXPECT_EQ(read.CaretOvr()->Shape(), TZelCaretShape::csHalfBlock);
    EXPECT_EQ(read.CaretOvr()->Align(), TZelCaretAlign::caBottom);
    EXPECT_EQ(read.FixedFont()->Name(), "Terminal");
    EXPECT_EQ(read.FixedFont()->Style(), vcl::fsBold);
}

TEST(ZelFixedFont, FixedPitchFacesInEnumerationOrder) {
    RefreshFixedPitchFaces();
    const std::vector<std::string> expected = {"Courier", "Courier New", "Fixedsys", "Terminal"};
    EXPECT_EQ(FixedPitchFaces(), expected);
    EXPECT_TRUE(IsFixedPitchFace("Courier New"));
    EXPECT_FALSE(IsFixedPitchFace("courier new")); // compared exactly
    EXPECT_FALSE(IsFixedPitchFace("Arial"));
}

TEST(ZelFixedFont, OnlyFixedPitchFacesAreTaken) {
    TZelFixedFont font;
    int changes = 0;
    font.OnChange = [&](vcl::TObject*) { ++changes; };
    EXPECT_EQ(font.Name(), "Courier");
    font.SetName("Arial");
    EXPECT_EQ(font.Name(), "Courier");
    EXPECT_EQ(changes, 0);
    font.SetName("Terminal");
    font.SetSize(12);
    font.SetStyle(vcl::fsBold);
    font.SetColor(vcl::clRed);
    EXPECT_EQ(changes, 4);

    vcl::TFont proportional;
    proportional.SetName("Times New Roman");
    proportional.SetSize(20);
    EXPECT_THROW(font.Assign(&proportional), EInvalidFixedFont);
    EXPECT_EQ(font.Name(), "Terminal");
    EXPECT_EQ(font.Size(), 12);
    TZelColors notAFont(vcl::clBlack, vcl::clWhite);
    EXPECT_THROW(font.Assign(&notAFont), EInvalidFontParam);
    EXPECT_THROW(font.Assign(nullptr), EInvalidFontParam);
    EXPECT_EQ(changes, 4);

    vcl::TFont fixed;
    fixed.SetName("Courier New");
    fixed.SetSize(9);
    font.Assign(&fixed);
    EXPECT_EQ(font.Name(), "Courier New");
    EXPECT_EQ(font.Size(), 9);
    TZelFixedFont other;
    other.Assign(&font);
    EXPECT_EQ(other.Name(), "Courier New");
    EXPECT_EQ(changes, 5);
}

TEST(ZelLooksStored, AStoredUseDefaultIsReadAndIgnored) {
    RegisterHolder();
    const std::string text = "object Holder: TColorsHolder\r\n"
                             "  HighlightColors.BackColor = clRed\r\n"
                             "  HighlightColors.UseDefault = True\r\n"
                             "  FixedFont.Name = 'Arial'\r\n"
                             "end\r\n";
    rtl::TMemoryStream in, binary;
    in.Write(text.data(), static_cast<std::int64_t>(text.size()));
    in.SetPosition(0);
    rtl::ObjectTextToBinary(in, binary);
    binary.SetPosition(0);
    TColorsHolder read(nullptr);
    vcl::ReadComponentFromStream(binary, &read);
    EXPECT_EQ(read.HighlightColors()->BackColor(), vcl::clRed);
    EXPECT_FALSE(read.HighlightColors()->UseDefault());
    EXPECT_EQ(read.FixedFont()->Name(), FixedPitchFaces().front()); // a proportional face is ignored
}
