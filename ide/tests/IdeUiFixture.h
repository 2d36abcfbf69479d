// A window-system test with the example project copied to C:\PROJECTS\Demo and an IDE over it.
#pragma once

#include "ide/Ide.h"
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

    std::unique_ptr<ide::TIde> Ide;

private:
    std::string FOldDir;
};

} // namespace ide_test
