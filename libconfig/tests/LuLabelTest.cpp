#include "libconfig/LuLabel.h"

#include "testing/UiTest.h"

#include <algorithm>
#include <functional>
#include <tuple>
#include <vector>

namespace libconfig {
namespace {

using namespace vcl;
using testing_support::TRobot;
using testing_support::UiTest;

// The colours of the label's area as its form shows them.
struct TGrid {
    int W = 0, H = 0;
    std::vector<win::COLORREF> Px;
    win::COLORREF At(int X, int Y) const {
        if (X < 0 || Y < 0 || X >= W || Y >= H) return win::CLR_INVALID;
        return Px[std::size_t(Y * W + X)];
    }
};

class LuLabelTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = BareForm(0, 0, 200, 60);
        Form->SetColor(clBtnFace);
        Label = new TLuLabel(Form);
        Label->SetParent(Form);
        Label->SetAutoSize(false);
        Label->SetBounds(10, 10, 150, 40);
        Label->Font()->SetHeight(-24);
        Label->Font()->SetStyle(fsBold);
        Label->Font()->SetColor(clNavy);
        Label->SetCaption("Vorl");
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    TGrid Grab() {
        Form->Repaint();
        TGrid g;
        g.W = Label->Width();
        g.H = Label->Height();
        win::HDC dc = win::GetDC(Form->Handle());
        for (int y = 0; y < g.H; ++y)
            for (int x = 0; x < g.W; ++x) g.Px.push_back(win::GetPixel(dc, Label->Left() + x, Label->Top() + y));
        win::ReleaseDC(Form->Handle(), dc);
        return g;
    }
    // Where the text alone, in place, puts ink.
    std::vector<bool> Ink() {
        TTextStyle kept = Label->TextStyle();
        Label->SetTextStyle(TTextStyle::tsNone);
        TGrid g = Grab();
        Label->SetTextStyle(kept);
        std::vector<bool> ink;
        for (win::COLORREF c : g.Px) ink.push_back(c != ColorToRGB(clBtnFace));
        return ink;
    }

    TForm* Form = nullptr;
    TLuLabel* Label = nullptr;
};

TEST_F(LuLabelTest, EachStyleLaysItsCopiesUnderTheTextAtTheirOffsets) {
    const win::COLORREF face = ColorToRGB(clBtnFace), hi = ColorToRGB(clBtnHighlight),
                        sh = ColorToRGB(clBtnShadow), navy = ColorToRGB(clNavy),
                        grey = ColorToRGB(clGrayText), red = ColorToRGB(clRed);
    struct TCase {
        const char* What;
        TTextStyle Style;
        bool Enabled;
        int Depth;
        // Copies in the order drawn: offset and colour.
        std::vector<std::tuple<int, int, win::COLORREF>> Copies;
        win::COLORREF Text;
    };
    const TCase cases[] = {
        {"raised", TTextStyle::tsRaised, true, 2, {{1, 1, sh}, {-1, -1, hi}}, navy},
        {"recessed", TTextStyle::tsRecessed, true, 2, {{1, 1, hi}, {-1, -1, sh}}, navy},
        {"shadow", TTextStyle::tsShadow, true, 3, {{3, 3, red}}, navy},
        {"shadow at depth 0", TTextStyle::tsShadow, true, 0, {{0, 0, red}}, navy},
        {"plain", TTextStyle::tsNone, true, 2, {}, navy},
        {"disabled raised", TTextStyle::tsRaised, false, 2, {{1, 1, sh}, {-1, -1, hi}}, grey},
        {"disabled recessed", TTextStyle::tsRecessed, false, 2, {{1, 1, hi}, {-1, -1, sh}}, grey},
    };
    std::vector<bool> ink = Ink();
    ASSERT_GT(std::count(ink.begin(), ink.end(), true), 50);
    int W = Label->Width(), H = Label->Height();
    auto inked = [&](int x, int y) { return x >= 0 && y >= 0 && x < W && y < H && ink[std::size_t(y * W + x)]; };
    for (const TCase& c : cases) {
        Label->SetTextStyle(c.Style);
        Label->SetShadowDepth(c.Depth);
        Label->SetShadowColor(clRed);
        Label->SetEnabled(c.Enabled);
        TGrid g = Grab();
        int wrong = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                win::COLORREF want = face;
                for (auto [dx, dy, colour] : c.Copies)
                    if (inked(x - dx, y - dy)) want = colour;
                if (inked(x, y)) want = c.Text;
                if (g.At(x, y) != want && wrong++ == 0)
                    ADD_FAILURE() << c.What << ": pixel " << x << "," << y << " is " << std::hex << g.At(x, y)
                                  << ", expected " << want;
            }
        EXPECT_EQ(wrong, 0) << c.What;
    }
}

TEST_F(LuLabelTest, TransparentLabelLeavesItsBackgroundAndLongCaptionsAreCut) {
    Label->SetColor(clWhite);
    Label->SetTextStyle(TTextStyle::tsNone);
    Label->SetCaption("");
    EXPECT_EQ(Grab().At(0, 0), ColorToRGB(clWhite));
    Label->SetTransparent(true);
    EXPECT_EQ(Grab().At(0, 0), ColorToRGB(clBtnFace));

    // Right-aligned, a 256th character would end at the right edge; it is not drawn.
    Label->Font()->SetHeight(-11);
    Label->SetAlignment(TAlignment::taRightJustify);
    Label->SetCaption(std::string(255, ' ') + "W");
    TGrid g = Grab();
    for (int x = 0; x < g.W; ++x)
        for (int y = 0; y < g.H; ++y) ASSERT_EQ(g.At(x, y), ColorToRGB(clBtnFace)) << x << "," << y;
}

TEST_F(LuLabelTest, Screenshot) {
    Label->SetTextStyle(TTextStyle::tsShadow);
    Form->Repaint();
    EXPECT_TRUE(TRobot::Screenshot("/tmp/lulabel.png", Form->Handle()));
}

} // namespace
} // namespace libconfig
