#include "libconfig/Vorabout.h"

#include "testing/UiTest.h"

#include <memory>

namespace libconfig {
namespace {

using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;

class AboutTest : public testing_support::UiTest {};

TEST_F(AboutTest, ShowsTitleVersionAndIconAndClosesWithOk) {
    std::unique_ptr<TfrmAbout> about(Make<TfrmAbout>(Application));
    EXPECT_EQ(about->Caption(), " About");
    EXPECT_EQ(about->ClientWidth(), 302);
    EXPECT_EQ(about->ClientHeight(), 225);
    EXPECT_EQ(about->lblVersion->Caption(), "Version 1.1");
    EXPECT_EQ(about->lblFreeware->Caption(), "");
    EXPECT_EQ(about->Panel1->HelpContext(), 21);
    EXPECT_EQ(about->Image1->Picture()->Icon()->Width(), 32);

    TRobot robot;
    win::RECT r{};
    robot.Do([&] {
        win::GetWindowRect(TRobot::ModalWindow(), &r);
        TRobot::Screenshot("/tmp/libconfig-about.png", TRobot::ModalWindow());
    });
    robot.Key(win::VK_RETURN);
    EXPECT_EQ(about->ShowModal(), mrOk);
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    // Centred on the 1024 x 768 screen.
    EXPECT_EQ((r.left + r.right) / 2, 512);
    EXPECT_EQ((r.top + r.bottom) / 2, 384);

    // The OK button closes it by a click too.
    robot.Click(TBy::Caption("OK"));
    EXPECT_EQ(about->ShowModal(), mrOk);
    EXPECT_TRUE(robot.Done()) << robot.Describe();
}

} // namespace
} // namespace libconfig
