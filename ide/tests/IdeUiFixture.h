// A window-system test with the example project copied to C:\PROJECTS\Demo and an IDE over it.
#pragma once

#include "ide/Ide.h"
#include "ide/IdeWindows.h"
#include "IdeFixture.h"
#include "rtl/Paths.h"
#include "testing/UiTest.h"

#include <memory>
#include <string>

namespace ide_test {

class IdeUiTest : public testing_support::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        FOldDir = rtl::GetCurrentDir();
        CopyDemoProject(Root.Path());
        Ide = std::make_unique<ide::TIde>();
    }
    // The IDE's windows go before the window system is reset.
    void TearDown() override {
        Ide.reset();
        rtl::SetCurrentDir(FOldDir);
        UiTest::TearDown();
    }

    // Chooses by captions from the main window's menu bar ("&Tools|&Options...").
    static void ChooseMenu(testing_support::TRobot& Robot, const std::string& Path) {
        Robot.ChooseMenu(testing_support::TBy::Class("TAppBuilder"), Path);
    }
    // Lets the robot's steps play out through the IDE's message loop.
    void PlayOutInIde(testing_support::TRobot& Robot, int Rounds, int After) {
        EXPECT_TRUE(testing_support::PlayOut(Robot, Rounds, After, [this] { Ide->Windows()->ProcessMessages(); }))
            << Robot.Describe();
    }

    std::unique_ptr<ide::TIde> Ide;

private:
    std::string FOldDir;
};

} // namespace ide_test
