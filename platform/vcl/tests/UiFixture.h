// A fresh window system, application and manual clock for each test of real windows.
#pragma once

#include "testing/Robot.h"
#include "testing/TempWinRoot.h"
#include "vcl/Forms.h"

#include "rtl/Clock.h"

#include <gtest/gtest.h>

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
        vcl::DoneApplication();
        win::ResetWindowSystem();
        rtl::UseSystemClock();
        vcl::InitApplication();
    }

    testing_support::TempWinRoot Root;
};
