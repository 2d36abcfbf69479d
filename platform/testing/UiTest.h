// A GoogleTest fixture for tests of real windows: a machine root of its own, a fresh window
// system, a fresh application and screen of the class library, and the manual clock.
// Header only: it is compiled into the test, with the test's own copy of the class library.
#pragma once

#include "testing/Robot.h"
#include "testing/TempWinRoot.h"
#include "vcl/Forms.h"
#include "vcl/TestHooks.h"

#include "rtl/Clock.h"
#include "rtl/TestHooks.h"
#include "win/TestHooks.h"

#include <gtest/gtest.h>

namespace testing_support {

class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        vcl::DoneApplication();
        win::ResetWindowSystem();
        rtl::UseManualClock();
        vcl::InitApplication();
        vcl::Application->SetTitle("Tests");
        vcl::ClearRecordedHelpCalls();
    }
    void TearDown() override {
        // Forms owned by the application go while their windows are still there.
        vcl::DoneApplication();
        win::ResetWindowSystem();
        rtl::UseSystemClock();
        vcl::InitApplication();
    }

    TempWinRoot Root;
};

} // namespace testing_support
