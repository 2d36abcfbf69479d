#include "testing/UiTest.h"

#include "vcl/StdCtrls.h"

#include <string>
#include <vector>

using namespace vcl;
using testing_support::UiTest;
using testing_support::TBy;
using testing_support::TRobot;

namespace {

// A control that records the notifications it answers.
class TProbe : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<std::string> Seen;
    int Creates = 0;

protected:
    void CreateWnd() override {
        ++Creates;
        TCustomControl::CreateWnd();
    }
    void Dispatch(TMessage& M) override {
        switch (M.Msg) {
        case CM_PARENTFONTCHANGED: Seen.push_back("parent font"); break;
        case CM_PARENTCOLORCHANGED: Seen.push_back("parent colour"); break;
        case CM_PARENTCTL3DCHANGED: Seen.push_back("parent 3d"); break;
        case CM_PARENTSHOWHINTCHANGED: Seen.push_back("parent hint"); break;
        case CM_ENABLEDCHANGED: Seen.push_back("enabled"); break;
        case CM_TEXTCHANGED: Seen.push_back("text"); break;
        case CM_SYSCOLORCHANGE: Seen.push_back("system colours"); break;
        case CM_BUTTONPRESSED:
            Seen.push_back("pressed by " + reinterpret_cast<TControl*>(M.LParam)->Name());
            break;
        case win::WM_USER + 1: M.Result = 42; return;
        }
        TCustomControl::Dispatch(M);
    }
};

} // namespace

TEST_F(UiTest, HandleIsMadeOnDemandWithTheClassNameAndTheNameForTheRobot) {
    auto* form = Make<TForm>(Application);
    auto* probe = new TProbe(form);
    probe->SetName("pnlProbe");
    probe->SetParent(form);
    probe->SetBounds(10, 10, 100, 50);
    probe->SetCaption("before");
    EXPECT_FALSE(form->HandleAllocated() && probe->HandleAllocated());
    form->Show();
    ASSERT_TRUE(probe->HandleAllocated());
    EXPECT_EQ(win::GetClassName(probe->Handle()), "TProbe");
    EXPECT_EQ(win::GetClassName(form->Handle()), "TForm");
    EXPECT_EQ(TRobot::FindControl(TBy::Name("pnlProbe")), probe->Handle());
    EXPECT_EQ(TRobot::FindControl(TBy::Class("TProbe")), probe->Handle());
    EXPECT_EQ(win::SendMessage(probe->Handle(), win::WM_USER + 1, 0, 0), 42);
    // Recreating keeps the text and the place.
    win::HWND old = probe->Handle();
    probe->RecreateWnd();
    EXPECT_NE(probe->Handle(), old);
    EXPECT_EQ(probe->Creates, 2);
    EXPECT_EQ(win::GetWindowText(probe->Handle()), "before");
    win::RECT r;
    win::GetWindowRect(probe->Handle(), &r);
    EXPECT_EQ(probe->ScreenToClient(Point(r.left, r.top)), Point(0, 0));
    EXPECT_TRUE(win::IsWindowVisible(probe->Handle()));
    delete form;
    EXPECT_FALSE(win::IsWindow(old));
}

TEST_F(UiTest, ParentPropertiesFlowDownAndStopWhereAChildSetsItsOwn) {
    auto* form = Make<TForm>(Application);
    auto* a = new TProbe(form);
    auto* b = new TProbe(form);
    a->SetParent(form);
    b->SetParent(form);
    b->Font()->SetName("Courier New"); // b keeps its own font from now on
    EXPECT_FALSE(b->ParentFont());
    a->Seen.clear();
    b->Seen.clear();
    form->Font()->SetSize(12);
    form->SetColor(clWindow);
    form->SetCtl3D(false);
    form->SetShowHint(true);
    std::vector<std::string> want = {"parent font", "parent colour", "parent 3d", "parent hint"};
    EXPECT_EQ(a->Seen, want);
    EXPECT_EQ(a->Font()->Size(), 12);
    EXPECT_EQ(a->Color(), clWindow);
    EXPECT_FALSE(a->Ctl3D());
    EXPECT_TRUE(a->ShowHint());
    EXPECT_EQ(b->Font()->Name(), "Courier New");
    EXPECT_EQ(b->Font()->Size(), 8);
    b->SetParentFont(true);
    EXPECT_EQ(b->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(b->Font()->Size(), 12);
    // The system colour change reaches every control; Broadcast stops at the first that answers.
    a->Seen.clear();
    form->Perform(CM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(a->Seen, (std::vector<std::string>{"system colours"}));
    a->SetName("a");
    TMessage pressed{CM_BUTTONPRESSED, 0, win::LPARAM(a), 0};
    b->Seen.clear();
    form->Broadcast(pressed);
    EXPECT_EQ(b->Seen, (std::vector<std::string>{"pressed by a"}));
    a->Seen.clear();
    a->SetEnabled(false);
    a->SetCaption("x");
    EXPECT_EQ(a->Seen, (std::vector<std::string>{"enabled", "text"}));
    delete form;
}

TEST_F(UiTest, FocusGoesToTheFirstTabStopAndEnterExitFollowIt) {
    auto* form = Make<TForm>(Application);
    std::vector<std::string> log;
    auto add = [&](const char* name, int top) {
        auto* b = new TButton(form);
        b->SetName(name);
        b->SetParent(form);
        b->SetTop(top);
        b->OnEnter = [&log, b](TObject*) { log.push_back("enter " + b->Name()); };
        b->OnExit = [&log, b](TObject*) { log.push_back("exit " + b->Name()); };
        return b;
    };
    auto* one = add("one", 0);
    auto* two = add("two", 30);
    form->Show();
    EXPECT_EQ(form->ActiveControl(), one);
    EXPECT_TRUE(one->Focused());
    two->SetFocus();
    EXPECT_EQ(Screen->ActiveControl(), two);
    EXPECT_EQ(Screen->ActiveForm(), form);
    // A control that goes away gives the focus back to the form.
    delete two;
    EXPECT_EQ(form->ActiveControl(), nullptr);
    EXPECT_EQ(Screen->ActiveControl(), nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"enter one", "exit one", "enter two"}));
    form->Hide();
    EXPECT_FALSE(one->CanFocus());
    EXPECT_THROW(one->SetFocus(), rtl::EInvalidOperation);
    delete form;
}

TEST_F(UiTest, GraphicControlsPaintOnTheirParentAndGetItsMouse) {
    auto* form = BareForm(0, 0, 200, 100);
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetLeft(20);
    label->SetTop(30);
    label->SetCaption("WWWW");
    label->Font()->SetColor(clRed);
    EXPECT_GT(label->Width(), 20); // sized to the text
    int clicks = 0;
    label->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    win::UpdateWindow(form->Handle());
    win::HDC dc = win::GetDC(form->Handle());
    int red = 0;
    for (int x = label->Left(); x < label->Left() + label->Width(); ++x)
        for (int y = label->Top(); y < label->Top() + label->Height(); ++y)
            if (win::GetPixel(dc, x, y) == win::RGB(255, 0, 0)) ++red;
    EXPECT_EQ(win::GetPixel(dc, 5, 5), ColorToRGB(clBtnFace));
    win::ReleaseDC(form->Handle(), dc);
    EXPECT_GT(red, 10);
    TRobot robot;
    robot.ClickAt(form->Handle(), Point(label->Left() + 2, label->Top() + 2));
    for (int i = 0; i < 20 && clicks == 0; ++i) Application->ProcessMessages();
    EXPECT_EQ(clicks, 1);
    delete form;
}

TEST_F(UiTest, HelpCallsAreRecordedWithTheHelpFile) {
    PutHelpFile("C:\\WINDOWS\\QUILLO.HLP");
    Application->SetHelpFile("C:\\WINDOWS\\QUILLO.HLP");
    Application->HelpContext(17);
    Application->HelpCommand(HELP_CONTENTS, 0);
    Application->HelpCommand(HELP_PARTIALKEY, std::uintptr_t(""));
    Application->HelpCommand(HELP_HELPONHELP, 0);
    Application->HelpCommand(HELP_QUIT, 0);
    auto& calls = RecordedHelpCalls();
    ASSERT_EQ(calls.size(), 5u);
    unsigned want[] = {HELP_CONTEXT, HELP_CONTENTS, HELP_PARTIALKEY, HELP_HELPONHELP, HELP_QUIT};
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].Command, want[i]) << i;
        EXPECT_EQ(calls[i].HelpFile, "C:\\WINDOWS\\QUILLO.HLP") << i;
    }
    EXPECT_EQ(calls[0].Data, 17u);
    EXPECT_EQ(calls[2].Key, "");
}

TEST_F(UiTest, ControlCanvasDrawsOutsidePaintAndLetsTheDCGoWhenIdle) {
    auto* form = BareForm(0, 0, 100, 100);
    auto* box = new TProbe(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 40, 40);
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetAutoSize(false);
    label->SetBounds(60, 60, 20, 20);
    form->Show();
    win::UpdateWindow(form->Handle());
    box->Canvas()->SetPixels(5, 5, clRed);
    label->Canvas()->SetPixels(30, 30, clRed); // outside the label: clipped away
    label->Canvas()->SetPixels(1, 1, clBlue);
    EXPECT_TRUE(box->Canvas()->HandleAllocated());
    win::HDC dc = win::GetDC(form->Handle());
    EXPECT_EQ(win::GetPixel(dc, 15, 15), win::RGB(255, 0, 0));
    EXPECT_EQ(win::GetPixel(dc, 61, 61), win::RGB(0, 0, 255));
    EXPECT_EQ(win::GetPixel(dc, 90, 90), ColorToRGB(clBtnFace));
    win::ReleaseDC(form->Handle(), dc);
    FreeDeviceContexts();
    EXPECT_FALSE(box->Canvas()->HandleAllocated());
    delete form;
}

TEST_F(UiTest, RobotDrivesADragLoopThatReadsTheMouseState) {
    // A control that tracks the mouse in a loop of its own while the button is down.
    struct TTracker : TCustomControl {
        using TCustomControl::TCustomControl;
        std::vector<TPoint> Path;
        void MouseDown(TMouseButton, TShiftState, int X, int Y) override {
            Path.push_back(Point(X, Y));
            win::SetCapture(Handle());
            while (win::GetKeyState(win::VK_LBUTTON) < 0) {
                win::MSG msg;
                if (!win::PeekMessage(&msg, nullptr, 0, 0, win::PM_REMOVE)) {
                    win::WaitMessage();
                    continue;
                }
                if (msg.message == win::WM_MOUSEMOVE) Path.push_back(Point(win::GET_X_LPARAM(msg.lParam), win::GET_Y_LPARAM(msg.lParam)));
                if (msg.message == win::WM_LBUTTONUP) break;
            }
            win::ReleaseCapture();
        }
    };
    auto* form = BareForm(0, 0, 200, 200);
    auto* tracker = new TTracker(form);
    tracker->SetParent(form);
    tracker->SetBounds(0, 0, 200, 200);
    form->Show();
    TRobot robot;
    robot.Drag(tracker->Handle(), Point(10, 10), Point(50, 90), 4);
    testing_support::PlayOut(robot, 20);
    ASSERT_FALSE(tracker->Path.empty());
    EXPECT_EQ(tracker->Path.front(), Point(10, 10));
    EXPECT_EQ(tracker->Path.back(), Point(50, 90));
    EXPECT_EQ(tracker->Path.size(), 5u);
    delete form;
}
