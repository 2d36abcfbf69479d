// A GoogleTest fixture for tests of real windows: a machine root of its own, a fresh window
// system, a fresh application and screen of the class library, and the manual clock.
// Header only: it is compiled into the test, with the test's own copy of the class library.
#pragma once

#include "testing/Robot.h"
#include "testing/TempWinRoot.h"
#include "vcl/Forms.h"
#include "vcl/TestHooks.h"

#include "rtl/Clock.h"
#include "rtl/Files.h"
#include "rtl/Paths.h"
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

    // An empty help file on the machine root's disk, so that the help system finds it.
    static void PutHelpFile(const std::string& WindowsName) {
        rtl::ForceDirectories(rtl::ExtractFileDir(WindowsName));
        rtl::WriteFileAtomic(WindowsName, "");
    }

    // A form without a frame at a place of the screen, to hold the controls under test; the
    // application owns it.
    static vcl::TForm* BareForm(int Left, int Top, int Width, int Height) {
        auto* form = vcl::Make<vcl::TForm>(vcl::Application);
        form->SetBorderStyle(vcl::TFormBorderStyle::bsNone);
        form->SetBounds(Left, Top, Width, Height);
        return form;
    }

    TempWinRoot Root;
};

// Lets the robot's steps play out through the test's own application (see PlayOut in Robot.h).
inline bool PlayOut(TRobot& Robot, int Rounds, int After = 1) {
    return PlayOut(Robot, Rounds, After, [] { vcl::Application->ProcessMessages(); });
}

// A pixel of a control's client area as it was drawn.
inline win::COLORREF ClientPixel(vcl::TWinControl* Control, int X, int Y) {
    win::HDC dc = win::GetDC(Control->Handle());
    win::COLORREF c = win::GetPixel(dc, X, Y);
    win::ReleaseDC(Control->Handle(), dc);
    return c;
}

} // namespace testing_support
