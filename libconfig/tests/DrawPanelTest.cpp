#include "libconfig/DrawPanel.h"

#include "testing/UiTest.h"

namespace libconfig {
namespace {

using namespace vcl;
using testing_support::TRobot;
using testing_support::UiTest;

TEST_F(UiTest, DrawPanelPaintsItselfThenLetsItsOwnerPaintOver) {
    auto* form = BareForm(0, 0, 120, 80);
    auto* panel = new TDrawPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 100, 60);
    panel->SetCaption("Paths");
    int paints = 0;
    panel->OnPaint = [&](TObject* Sender) {
        ++paints;
        EXPECT_EQ(Sender, panel);
        panel->Canvas()->Brush()->SetColor(clRed);
        panel->Canvas()->FillRect(Rect(40, 20, 60, 40));
    };
    form->Show();
    form->Repaint();
    EXPECT_GT(paints, 0);
    win::HDC dc = win::GetDC(panel->Handle());
    EXPECT_EQ(win::GetPixel(dc, 50, 30), ColorToRGB(clRed)) << "over the caption";
    EXPECT_EQ(win::GetPixel(dc, 0, 0), ColorToRGB(clBtnHighlight)) << "the panel's own bevel";
    EXPECT_EQ(win::GetPixel(dc, 99, 59), ColorToRGB(clBtnShadow));
    EXPECT_EQ(win::GetPixel(dc, 5, 30), ColorToRGB(clBtnFace));
    win::ReleaseDC(panel->Handle(), dc);
    EXPECT_TRUE(TRobot::Screenshot("/tmp/drawpanel.png", form->Handle()));
    delete form;
}

} // namespace
} // namespace libconfig
