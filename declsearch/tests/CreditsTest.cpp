#include "declsearch/Credits.h"

#include "testing/UiTest.h"
#include "vcl/Forms.h"
#include "vcl/Streaming.h"

#include "rtl/Streams.h"

#include <map>
#include <set>

using namespace vcl;
using namespace declsearch;
using testing_support::TRobot;

namespace {

class CreditsTest : public testing_support::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = BareForm(0, 0, 160, 120);
        Panel = new TCredits(Form);
        Panel->SetParent(Form);
        Panel->SetBounds(10, 10, 120, 90);
        Form->Show();
        win::UpdateWindow(Form->Handle());
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    // Lets the clock run and the timer messages through.
    void Run(unsigned Ms) {
        for (unsigned t = 0; t < Ms; t += 10) {
            TRobot::AdvanceClock(10);
            Application->ProcessMessages();
        }
    }
    std::map<win::COLORREF, int> Colours() {
        win::HDC dc = win::GetDC(Form->Handle());
        std::map<win::COLORREF, int> seen;
        for (int y = 0; y < Panel->Height(); ++y)
            for (int x = 0; x < Panel->Width(); ++x) ++seen[win::GetPixel(dc, Panel->Left() + x, Panel->Top() + y)];
        win::ReleaseDC(Form->Handle(), dc);
        return seen;
    }

    TForm* Form = nullptr;
    TCredits* Panel = nullptr;
};

} // namespace

TEST_F(CreditsTest, TimerScrollsTheLinesUpAndBringsThemBackFromBelow) {
    Panel->Credits()->Add("Declaration search");
    Panel->Credits()->Add("by the team");
    Panel->SetIncrement(3);
    Panel->SetStarted(true);
    EXPECT_EQ(Panel->ScrollOffset(), 91);
    Run(50);
    EXPECT_EQ(Panel->ScrollOffset(), 88);
    Run(500);
    EXPECT_EQ(Panel->ScrollOffset(), 58);
    TRobot::Screenshot("/tmp/dc/credits.png", Form->Handle());
    // Two lines of 11 pixels: once below -32 the text starts again at the bottom.
    while (Panel->ScrollOffset() >= 0) Run(50);
    int last = 0;
    for (int i = 0; i < 20; ++i) {
        last = Panel->ScrollOffset();
        Run(50);
        if (Panel->ScrollOffset() > last) break;
    }
    EXPECT_LT(last, -32 + 3);
    EXPECT_EQ(Panel->ScrollOffset(), 91);
    Panel->SetStarted(false);
    int stopped = Panel->ScrollOffset();
    Run(200);
    EXPECT_EQ(Panel->ScrollOffset(), stopped);
}

TEST_F(CreditsTest, PolygonsBounceInsideAndTheirCountIsTakenOnlyWhileStopped) {
    Panel->SetNumberPolygons(2);
    Panel->SetStarted(true);
    Panel->SetNumberPolygons(4); // ignored while running
    EXPECT_EQ(Panel->NumberPolygons(), 2);
    for (int i = 0; i < 100; ++i) {
        Panel->Tick();
        for (int p = 0; p < 2; ++p)
            for (const auto& v : Panel->Polygon(p)) {
                ASSERT_GE(v.X, 0);
                ASSERT_LE(v.X, Panel->Width());
                ASSERT_GE(v.Y, 0);
                ASSERT_LE(v.Y, Panel->Height());
                ASSERT_TRUE(std::abs(v.DX) >= 1 && std::abs(v.DX) <= 3);
            }
    }
    auto seen = Colours();
    EXPECT_GT(seen[win::RGB(0, 0, 255)], 0) << "first outline blue";
    EXPECT_GT(seen[win::RGB(0, 128, 0)], 0) << "second outline green";
    EXPECT_EQ(seen.count(win::RGB(255, 0, 0)), 0u) << "third not drawn";
    TRobot::Screenshot("/tmp/dc/credits-polygons.png", Form->Handle());
    Panel->SetStarted(false);
    Panel->SetNumberPolygons(6);
    Panel->SetNumberPolygons(-1);
    EXPECT_EQ(Panel->NumberPolygons(), 2);
    Panel->SetIncrement(0);
    Panel->SetIncrement(6);
    EXPECT_EQ(Panel->Increment(), 1);
}

TEST_F(CreditsTest, WithoutPolygonsOnlyTextAndBackgroundShow) {
    Panel->SetNumberPolygons(0);
    Panel->SetBackground(clNavy);
    Panel->Credits()->Add("WWWW");
    Panel->SetStarted(true);
    Run(400);
    std::set<win::COLORREF> colours;
    for (auto& [c, n] : Colours()) colours.insert(c);
    EXPECT_TRUE(colours.count(win::RGB(0, 0, 128)));
    EXPECT_TRUE(colours.count(win::RGB(255, 255, 255)));
    for (win::COLORREF c : colours)
        EXPECT_TRUE(c == win::RGB(0, 0, 128) || c == win::RGB(255, 255, 255)) << std::hex << c;
}

TEST_F(CreditsTest, ALostWindowStopsTheAnimationButKeepsTheLines) {
    Panel->Credits()->Add("kept");
    Panel->SetStarted(true);
    Form->RemoveControl(Panel);
    delete Panel;
    Run(100); // no timer left for a freed control
    Panel = new TCredits(Form);
    Panel->SetParent(Form);
    Panel->Credits()->Add("line");
    Panel->SetStarted(true);
    Panel->RecreateWnd();
    Panel->HandleNeeded();
    EXPECT_FALSE(Panel->Started());
    EXPECT_EQ(Panel->Credits()->Count(), 1);
    int offset = Panel->ScrollOffset();
    Run(200);
    EXPECT_EQ(Panel->ScrollOffset(), offset);
}

TEST_F(CreditsTest, LinesAndSettingsAreStoredWithTheForm) {
    RegisterCredits();
    Panel->Credits()->Add("first");
    Panel->Credits()->Add("second");
    Panel->SetIncrement(4);
    Panel->SetNumberPolygons(1);
    Panel->SetPolygon1Color(clAqua);
    rtl::TMemoryStream s;
    WriteComponentToStream(Panel, s);
    s.SetPosition(0);
    std::unique_ptr<TComponent> read(ReadComponentFromStream(s, nullptr));
    auto* copy = dynamic_cast<TCredits*>(read.get());
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->Credits()->Count(), 2);
    EXPECT_EQ(copy->Credits()->Get(1), "second");
    EXPECT_EQ(copy->Increment(), 4);
    EXPECT_EQ(copy->NumberPolygons(), 1);
    EXPECT_EQ(copy->Polygon1Color(), clAqua);
    EXPECT_FALSE(copy->Started());
}
