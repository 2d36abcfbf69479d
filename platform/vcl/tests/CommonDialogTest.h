// The fixture of the common dialogs' tests: the dialog a test sets up, run modally with the
// robot's steps, and the parts of the form it shows found by name.
#pragma once

#include "testing/UiTest.h"

#include <exception>
#include <functional>

template <class TDialog>
class CommonDialogTest : public testing_support::UiTest {
protected:
    void TearDown() override {
        delete Dialog;
        UiTest::TearDown();
    }
    // Runs Execute with the robot's steps; the steps must all have run.
    bool Execute(testing_support::TRobot& Robot) {
        bool result = false;
        try {
            result = Dialog->Execute();
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what() << " at: " << Robot.Describe();
        }
        EXPECT_TRUE(Robot.Done()) << Robot.Describe();
        return result;
    }
    // Steps that act inside the dialog once it is up.
    static void InDialog(testing_support::TRobot& Robot, std::function<void(vcl::TForm*)> Action) {
        Robot.OnNextModal(
            [Action](win::HWND Wnd) { Action(dynamic_cast<vcl::TForm*>(vcl::TWinControl::FromHandle(Wnd))); });
    }
    template <class T>
    static T* Find(vcl::TForm* Form, const char* Name) {
        return dynamic_cast<T*>(Form->FindComponent(Name));
    }

    TDialog* Dialog = nullptr;
};
