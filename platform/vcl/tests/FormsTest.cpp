#include "testing/UiTest.h"

#include "vcl/ButtonCtrls.h"
#include "vcl/Dialogs.h"
#include "vcl/EditCtrls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/StdCtrls.h"
#include "win/TestHooks.h"

#include <string>
#include <vector>

using namespace vcl;
using testing_support::UiTest;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::ClientPixel;
using testing_support::PlayOut;

namespace {

// A dialog built in code as the suite's forms are: controls made inside the loading bracket,
// events bound to handlers of the same name.
class TfrmSample : public TForm {
public:
    explicit TfrmSample(TComponent* AOwner) : TForm(AOwner) {
        TLoadingBracket loading(this);
        SetName("frmSample");
        SetCaption("Sample");
        SetBorderStyle(TFormBorderStyle::bsDialog);
        SetPosition(TPosition::poScreenCenter);
        SetClientSize(260, 120);
        lblName = new TLabel(this);
        lblName->SetName("lblName");
        lblName->SetParent(this);
        lblName->SetBounds(8, 12, 60, 13);
        lblName->SetCaption("&Name:");
        btnOk = AddButton("btnOk", "OK", 8);
        btnOk->SetDefault(true);
        btnOk->SetModalResult(mrOk);
        btnApply = AddButton("btnApply", "&Apply", 91);
        btnCancel = AddButton("btnCancel", "Cancel", 174);
        btnCancel->SetCancel(true);
        btnCancel->SetModalResult(mrCancel);
        OnCreate = [this](TObject*) { Log.push_back("create"); };
        OnShow = [this](TObject*) { Log.push_back("show"); };
        OnActivate = [this](TObject*) { Log.push_back("activate"); };
        OnDeactivate = [this](TObject*) { Log.push_back("deactivate"); };
        OnHide = [this](TObject*) { Log.push_back("hide"); };
        OnCloseQuery = [this](TObject*, bool& CanClose) {
            Log.push_back("closequery");
            CanClose = AllowClose;
        };
        OnClose = [this](TObject*, TCloseAction& Action) {
            Log.push_back("close");
            Action = CloseAction;
        };
        btnOk->OnClick = [this](TObject*) { Log.push_back("click ok, result " + std::to_string(ModalResult())); };
        btnApply->OnClick = [this](TObject*) {
            Log.push_back("apply");
            if (ApplyThrows) throw rtl::Exception("The settings cannot be applied");
        };
    }

    TButton* AddButton(const char* name, const char* caption, int left) {
        auto* b = new TButton(this);
        b->SetName(name);
        b->SetParent(this);
        b->SetCaption(caption);
        b->SetBounds(left, 80, 75, 25);
        return b;
    }

    TLabel* lblName;
    TButton *btnOk, *btnApply, *btnCancel;
    std::vector<std::string> Log;
    bool AllowClose = true;
    bool ApplyThrows = false;
    TCloseAction CloseAction = TCloseAction::caHide;
};

} // namespace

TEST_F(UiTest, ModalResultIsSetBeforeOnClickAndFormEventsRunInOrder) {
    auto* form = Make<TfrmSample>(Application);
    TRobot robot;
    robot.Do([&] { TRobot::Screenshot("/tmp/vcl-sample-form.png", form->Handle()); });
    robot.Click(TBy::Name("btnOk"), TBy::Caption("Sample"));
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    EXPECT_EQ(form->Log, (std::vector<std::string>{"create", "show", "activate", "click ok, result 1", "closequery",
                                                   "close", "hide", "deactivate"}));
    EXPECT_FALSE(form->Visible());
}

TEST_F(UiTest, RefusedCloseQueryKeepsTheModalLoopRunning) {
    auto* form = Make<TfrmSample>(Application);
    form->AllowClose = false;
    TRobot robot;
    robot.Click(TBy::Name("btnCancel"));
    robot.Do([&] {
        EXPECT_TRUE(form->Visible());
        EXPECT_EQ(form->ModalResult(), mrNone);
        form->AllowClose = true;
    });
    robot.Key(win::VK_ESCAPE);
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_TRUE(robot.Done()) << robot.Describe();
}

TEST_F(UiTest, ShowModalDisablesTheOtherWindowsUntilItEnds) {
    auto* main = Make<TForm>(Application);
    main->SetCaption("Main");
    main->Show();
    auto* dialog = Make<TfrmSample>(Application);
    dialog->SetParentWindow(main->Handle());
    TRobot robot;
    bool sawDisabled = false;
    robot.OnNextModal([&](win::HWND modal) {
        EXPECT_EQ(modal, dialog->Handle());
        EXPECT_EQ(win::GetParent(modal), main->Handle());
        sawDisabled = !win::IsWindowEnabled(main->Handle());
    });
    robot.Key(win::VK_RETURN); // the default button
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_TRUE(sawDisabled);
    EXPECT_TRUE(win::IsWindowEnabled(main->Handle()));
    EXPECT_THROW({ main->ShowModal(); }, rtl::EInvalidOperation); // already visible
}

TEST_F(UiTest, TheWindowActiveBeforeAModalFormIsActiveAfterIt) {
    auto* main = Make<TForm>(Application);
    main->SetCaption("Main");
    main->Show();
    ASSERT_EQ(win::GetActiveWindow(), main->Handle());
    auto* dialog = Make<TfrmSample>(Application);
    dialog->SetParentWindow(main->Handle());
    TRobot robot;
    // A window of the loop's own that hides while every other is disabled leaves none active.
    robot.OnNextModal([&](win::HWND modal) {
        auto* passing = Make<TForm>(Application);
        passing->Show();
        win::EnableWindow(modal, false);
        passing->Hide();
        win::EnableWindow(modal, true);
        EXPECT_EQ(win::GetActiveWindow(), nullptr);
        delete passing;
        // The loop ends from code, with no click that would activate the dialog.
        dialog->SetModalResult(mrOk);
        win::PostMessage(modal, win::WM_NULL, 0, 0);
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    EXPECT_EQ(win::GetActiveWindow(), main->Handle());
}

TEST_F(UiTest, CloseActionsOfAModelessForm) {
    struct Case {
        TCloseAction Action;
        bool Visible, Freed;
    } cases[] = {
        {TCloseAction::caHide, false, false},
        {TCloseAction::caNone, true, false},
        {TCloseAction::caMinimize, true, false},
        {TCloseAction::caFree, false, true},
    };
    for (auto& c : cases) {
        auto* form = Make<TfrmSample>(Application);
        bool freed = false;
        form->OnDestroy = [&](TObject*) { freed = true; };
        form->CloseAction = c.Action;
        form->Show();
        form->Close();
        Application->ProcessMessages(); // a freed form goes once the queued messages ran
        EXPECT_EQ(freed, c.Freed) << int(c.Action);
        if (!freed) {
            EXPECT_EQ(form->Visible(), c.Visible) << int(c.Action);
            if (c.Action == TCloseAction::caMinimize) {
                EXPECT_EQ(form->WindowState(), TWindowState::wsMinimized);
            }
            delete form;
        }
    }
}

TEST_F(UiTest, TabMovesThroughFocusableControlsInTabOrderBothWays) {
    auto* form = Make<TfrmSample>(Application);
    auto* hidden = form->AddButton("btnHidden", "Hidden", 8);
    hidden->SetVisible(false);
    form->btnApply->SetEnabled(false);
    auto* last = form->AddButton("btnLast", "Last", 8);
    last->SetTop(40);
    last->SetTabOrder(0); // first in the order now
    std::vector<std::string> seen;
    TRobot robot;
    auto note = [&] {
        robot.Do([&] { seen.push_back(Screen->ActiveControl() ? Screen->ActiveControl()->Name() : "-"); });
    };
    note();
    for (int i = 0; i < 3; ++i) {
        robot.Key(win::VK_TAB);
        note();
    }
    robot.Key(win::VK_TAB, true);
    note();
    robot.Key(win::VK_ESCAPE);
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(seen, (std::vector<std::string>{"btnLast", "btnOk", "btnCancel", "btnLast", "btnCancel"}));
}

TEST_F(UiTest, EnterClicksTheFocusedButtonElseTheDefaultAndAltLetterItsAccelerator) {
    auto* form = Make<TfrmSample>(Application);
    TRobot robot;
    robot.Key('A', false, false, true); // Alt+A: &Apply
    robot.Do([&] { EXPECT_EQ(form->ActiveControl(), form->btnApply); });
    robot.Key(win::VK_RETURN);          // Apply has the focus: it takes Enter
    robot.Do([&] { form->btnOk->SetFocus(); });
    robot.Key(win::VK_RETURN);
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(std::count(form->Log.begin(), form->Log.end(), "apply"), 2);
}

TEST_F(UiTest, NextDialogControlMessageMovesTheFocusLikeTab) {
    auto* form = Make<TfrmSample>(Application);
    form->Show();
    EXPECT_TRUE(Application->Active());
    EXPECT_EQ(form->ActiveControl(), form->btnOk);
    win::SendMessage(form->Handle(), win::WM_NEXTDLGCTL, 0, 0);
    EXPECT_EQ(form->ActiveControl(), form->btnApply);
    win::SendMessage(form->Handle(), win::WM_NEXTDLGCTL, 1, 0);
    EXPECT_EQ(form->ActiveControl(), form->btnOk);
    win::SendMessage(form->Handle(), win::WM_NEXTDLGCTL, win::WPARAM(form->btnCancel->Handle()), 1);
    EXPECT_TRUE(form->btnCancel->Focused());
    delete form;
}

TEST_F(UiTest, KeyPreviewLetsTheFormSeeAndSwallowKeysFirst) {
    auto* form = Make<TfrmSample>(Application);
    std::vector<std::string> log;
    form->SetKeyPreview(true);
    form->OnKeyPress = [&](TObject*, char& Key) {
        log.push_back(std::string("form ") + Key);
        if (Key == 'x') Key = 0;
    };
    form->btnApply->OnKeyPress = [&](TObject*, char& Key) { log.push_back(std::string("button ") + Key); };
    TRobot robot;
    robot.Do([&] { form->btnApply->SetFocus(); });
    robot.Type("ax");
    robot.Key(win::VK_ESCAPE);
    form->ShowModal();
    EXPECT_EQ(log, (std::vector<std::string>{"form a", "button a", "form x"}));
}

TEST_F(UiTest, AlignPlacesChildrenSideBySideAndFollowsTheParentSize) {
    auto* form = BareForm(0, 0, 400, 300);
    struct Case {
        const char* Name;
        TAlign Align;
        int Size;
        TRect Want, WantAfterResize;
    } cases[] = {
        {"top", TAlign::alTop, 30, Rect(0, 0, 400, 30), Rect(0, 0, 500, 30)},
        {"bottom", TAlign::alBottom, 20, Rect(0, 280, 400, 300), Rect(0, 380, 500, 400)},
        {"left", TAlign::alLeft, 50, Rect(0, 30, 50, 280), Rect(0, 30, 50, 380)},
        {"right", TAlign::alRight, 60, Rect(340, 30, 400, 280), Rect(440, 30, 500, 380)},
        {"client", TAlign::alClient, 0, Rect(50, 30, 340, 280), Rect(50, 30, 440, 380)},
    };
    std::vector<TControl*> made;
    {
        TLoadingBracket loading(form);
        for (auto& c : cases) {
            auto* child = new TCustomControl(form);
            child->SetName(c.Name);
            child->SetBounds(5, 5, c.Size, c.Size);
            child->SetAlign(c.Align);
            child->SetParent(form);
            made.push_back(child);
        }
        // Nothing moves while loading.
        EXPECT_EQ(made[0]->BoundsRect(), Rect(5, 5, 35, 35));
    }
    form->Show();
    for (std::size_t i = 0; i < made.size(); ++i) EXPECT_EQ(made[i]->BoundsRect(), cases[i].Want) << cases[i].Name;
    form->SetBounds(0, 0, 500, 400);
    for (std::size_t i = 0; i < made.size(); ++i)
        EXPECT_EQ(made[i]->BoundsRect(), cases[i].WantAfterResize) << cases[i].Name;
    // Hiding the top control gives its room to the others.
    made[0]->SetVisible(false);
    EXPECT_EQ(made[2]->BoundsRect(), Rect(0, 0, 50, 380));
}

TEST_F(UiTest, PollingWaitIsAnsweredByTheRobot) {
    auto* form = Make<TfrmSample>(Application);
    form->Show();
    bool applied = false;
    form->btnApply->OnClick = [&](TObject*) { applied = true; };
    TRobot robot;
    robot.Click(TBy::Caption("Apply"));
    int polls = 0;
    while (!applied && polls < 1000) {
        Application->ProcessMessages();
        ++polls;
    }
    EXPECT_TRUE(applied);
    delete form;
}

TEST_F(UiTest, ExceptionInAHandlerShowsTheErrorBoxAndTheLoopGoesOn) {
    auto* form = Make<TfrmSample>(Application);
    form->ApplyThrows = true;
    std::string boxText, boxCaption;
    TRobot robot;
    robot.Click(TBy::Name("btnApply"));
    robot.OnNextModal([&](win::HWND box) {
        boxCaption = win::GetWindowText(box);
        boxText = TRobot::ChildText(box, "Message");
    });
    robot.AnswerNextModal(TBy::Caption("OK"));
    robot.Click(TBy::Name("btnOk"));
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(boxText, "The settings cannot be applied.");
    EXPECT_EQ(boxCaption, "Tests");
    // A silent abort shows nothing; OnException takes over the box.
    std::string handled;
    Application->OnException = [&](TObject*, const std::exception& E) { handled = E.what(); };
    form->btnApply->OnClick = [](TObject*) { rtl::Abort(); };
    robot.Click(TBy::Name("btnApply"));
    robot.Click(TBy::Name("btnOk"));
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(handled, "");
    form->btnApply->OnClick = [](TObject*) { throw rtl::EConvertError("bad number"); };
    robot.Click(TBy::Name("btnApply"));
    robot.Click(TBy::Name("btnOk"));
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(handled, "bad number");
}

TEST_F(UiTest, HourglassCursorShowsAtOnceAndGoesBack) {
    auto cursorId = [] {
        win::CursorInfo info;
        win::GetCursorInfoOf(win::GetCursor(), &info);
        return info.stockId;
    };
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(cursorId(), 32514);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(cursorId(), 32512);
}

TEST_F(UiTest, HintShowsAfterThePauseAndOnHintGetsTheLongText) {
    auto* form = Make<TfrmSample>(Application);
    form->btnApply->SetHint("Apply now|Applies the settings without closing");
    form->btnApply->SetShowHint(true);
    std::vector<std::string> hints;
    Application->OnHint = [&](TObject*) { hints.push_back(Application->Hint()); };
    form->Show();
    TRobot robot;
    robot.MoveTo(TBy::Name("btnApply"));
    robot.Wait(400);
    bool early = true;
    robot.Do([&] { early = Application->HintWindow() && win::IsWindowVisible(Application->HintWindow()->Handle()); });
    robot.Wait(200);
    robot.Do([] {});
    ASSERT_TRUE(testing_support::PlayOut(robot, 50)) << robot.Describe();
    EXPECT_FALSE(early);
    ASSERT_NE(Application->HintWindow(), nullptr);
    EXPECT_TRUE(win::IsWindowVisible(Application->HintWindow()->Handle()));
    EXPECT_EQ(Application->HintWindow()->Caption(), "Apply now");
    EXPECT_EQ(hints, (std::vector<std::string>{"Applies the settings without closing"}));
    delete form;
}

TEST_F(UiTest, TimerRunsOnTheTestClock) {
    int ticks = 0;
    auto* timer = new TTimer(Application);
    timer->SetInterval(100);
    timer->SetOnTimer([&](TObject*) { ++ticks; });
    TRobot::AdvanceClock(250);
    Application->ProcessMessages();
    EXPECT_EQ(ticks, 1); // one pending tick at a time
    TRobot::AdvanceClock(100);
    Application->ProcessMessages();
    EXPECT_EQ(ticks, 2);
    timer->SetEnabled(false);
    TRobot::AdvanceClock(500);
    Application->ProcessMessages();
    EXPECT_EQ(ticks, 2);
}

TEST_F(UiTest, FormsBelongToTheApplicationWindowAndKeepTheirLimits) {
    // The host's main window, made by another program's code.
    win::WNDCLASS wc;
    wc.lpfnWndProc = &win::DefWindowProc;
    wc.lpszClassName = "THostWindow";
    win::RegisterClass(&wc);
    win::HWND host = win::CreateWindowEx(0, "THostWindow", "Host", win::WS_OVERLAPPEDWINDOW | win::WS_VISIBLE, 0, 0,
                                         600, 400, nullptr, nullptr, nullptr, nullptr);
    Application->SetHandle(host); // a library's application takes the host's window
    auto* form = Make<TfrmSample>(Application);
    form->SetBorderStyle(TFormBorderStyle::bsSizeable);
    form->SetTrackingLimits(200, 150, 400, 300);
    form->SetFormStyle(TFormStyle::fsStayOnTop);
    form->Show();
    EXPECT_EQ(win::GetParent(form->Handle()), host);
    EXPECT_TRUE(win::GetWindowLong(form->Handle(), win::GWL_EXSTYLE) & win::WS_EX_TOPMOST);
    form->SetBounds(0, 0, 1000, 50);
    EXPECT_EQ(form->Width(), 400);
    EXPECT_EQ(form->Height(), 150);
    // Screen centre for the dialog.
    auto* centred = Make<TfrmSample>(nullptr);
    centred->Show();
    EXPECT_EQ(centred->Left(), (Screen->Width() - centred->Width()) / 2);
    delete centred;
    delete form;
    Application->SetHandle(nullptr);
    win::DestroyWindow(host);
}

TEST_F(UiTest, RunEndsWhenTheMainFormClosesAndIdlesBetweenMessages) {
    auto* main = Application->CreateForm<TfrmSample>();
    EXPECT_EQ(Application->MainForm(), main);
    std::vector<std::string> sizes;
    main->OnResize = [&](TObject*) { sizes.push_back(std::to_string(main->ClientWidth())); };
    int idles = 0;
    // Once everything waiting has run, the loop idles; the idle handler closes the main form.
    Application->OnIdle = [&](TObject*, bool& Done) {
        if (++idles == 1) {
            EXPECT_EQ(main->WindowState(), TWindowState::wsMaximized);
            main->Close();
        }
        Done = false;
    };
    TRobot robot;
    robot.Do([&] { main->SetWindowState(TWindowState::wsMaximized); });
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    EXPECT_EQ(idles, 1);
    EXPECT_FALSE(sizes.empty());
    EXPECT_EQ(main->Log.front(), "create");
}

TEST_F(UiTest, ShowControlAsksEveryParentToBringTheControlForward) {
    struct TPage : TCustomControl {
        using TCustomControl::TCustomControl;
        std::vector<TControl*> Asked;
        void ShowControl(TControl* AControl) override {
            Asked.push_back(AControl);
            TCustomControl::ShowControl(AControl);
        }
    };
    auto* form = Make<TForm>(Application);
    auto* outer = new TPage(form);
    outer->SetParent(form);
    auto* inner = new TPage(form);
    inner->SetParent(outer);
    auto* button = new TButton(form);
    button->SetParent(inner);
    button->SetVisible(false);
    button->Show();
    EXPECT_TRUE(button->Visible());
    EXPECT_EQ(inner->Asked, (std::vector<TControl*>{button}));
    EXPECT_EQ(outer->Asked, (std::vector<TControl*>{inner}));
    delete form;
}

TEST_F(UiTest, BorderStylesAndIconsGiveTheWindowItsFrame) {
    using namespace win;
    struct Case {
        TFormBorderStyle Style;
        TBorderIcons Icons;
        DWORD Want, WantEx, NotWanted, NotWantedEx = 0;
    } cases[] = {
        {TFormBorderStyle::bsNone, biSystemMenu, WS_POPUP, 0, WS_CAPTION | WS_THICKFRAME},
        {TFormBorderStyle::bsSingle, biSystemMenu | biMinimize, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0,
         WS_THICKFRAME | WS_MAXIMIZEBOX},
        {TFormBorderStyle::bsSizeable, biSystemMenu | biMinimize | biMaximize,
         WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, WS_POPUP},
        {TFormBorderStyle::bsDialog, biSystemMenu | biMinimize, WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
         WS_THICKFRAME | WS_MINIMIZEBOX},
        {TFormBorderStyle::bsToolWindow, biSystemMenu, WS_CAPTION, WS_EX_TOOLWINDOW, WS_THICKFRAME},
        {TFormBorderStyle::bsSizeable, 0, WS_CAPTION | WS_THICKFRAME, 0, WS_SYSMENU | WS_MINIMIZEBOX},
        // "?" only where neither minimize nor maximize stands, and only with the system menu.
        {TFormBorderStyle::bsDialog, biSystemMenu | biHelp, WS_CAPTION | WS_SYSMENU,
         WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP, WS_THICKFRAME},
        {TFormBorderStyle::bsDialog, biSystemMenu | biMinimize | biHelp, WS_CAPTION | WS_SYSMENU,
         WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP, WS_MINIMIZEBOX},
        {TFormBorderStyle::bsSingle, biSystemMenu | biHelp, WS_CAPTION | WS_SYSMENU, WS_EX_CONTEXTHELP,
         WS_MINIMIZEBOX | WS_MAXIMIZEBOX},
        {TFormBorderStyle::bsSizeable, biSystemMenu | biMinimize | biHelp, WS_MINIMIZEBOX, 0, 0, WS_EX_CONTEXTHELP},
        {TFormBorderStyle::bsSingle, biHelp, WS_CAPTION, 0, WS_SYSMENU, WS_EX_CONTEXTHELP},
    };
    for (auto& c : cases) {
        auto* form = Make<TForm>(nullptr);
        form->SetBorderStyle(c.Style);
        form->SetBorderIcons(c.Icons);
        form->SetCaption("Frame");
        form->Show();
        DWORD style = DWORD(GetWindowLong(form->Handle(), GWL_STYLE));
        DWORD ex = DWORD(GetWindowLong(form->Handle(), GWL_EXSTYLE));
        EXPECT_EQ(style & c.Want, c.Want) << int(c.Style) << " icons " << c.Icons;
        EXPECT_EQ(ex & c.WantEx, c.WantEx) << int(c.Style);
        EXPECT_EQ(style & c.NotWanted, 0u) << int(c.Style) << " icons " << c.Icons;
        EXPECT_EQ(ex & c.NotWantedEx, 0u) << int(c.Style) << " icons " << c.Icons;
        // Changing the style afterwards makes the window again, still showing.
        form->SetBorderStyle(TFormBorderStyle::bsSingle);
        EXPECT_TRUE(IsWindowVisible(form->Handle()));
        EXPECT_EQ(GetWindowText(form->Handle()), "Frame");
        delete form;
    }
}

TEST_F(UiTest, TheHelpBoxThenAClickOnAControlOpensItsHelpContext) {
    using namespace win;
    PutHelpFile("C:\\APP\\APP.HLP");
    Application->SetHelpFile("C:\\APP\\APP.HLP");
    auto* form = Make<TForm>(Application);
    form->SetBorderStyle(TFormBorderStyle::bsDialog);
    form->SetBorderIcons(biSystemMenu | biHelp);
    form->SetBounds(100, 100, 300, 200);
    form->SetHelpContext(10);
    auto* edit = new TButton(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 75, 25);
    edit->SetHelpContext(55);
    auto* plain = new TButton(form);
    plain->SetParent(form);
    plain->SetBounds(10, 50, 75, 25);
    form->Show();
    RECT r;
    GetWindowRect(form->Handle(), &r);
    TRobot robot;
    // "?" sits left of the close box; then a click on each button in turn.
    for (TButton* target : {edit, plain}) {
        robot.Do([&, target] {
            PostMouseInput(WM_LBUTTONDOWN, POINT{r.left + 269, r.top + 12});
            PostMouseInput(WM_LBUTTONUP, POINT{r.left + 269, r.top + 12});
            RECT b;
            GetWindowRect(target->Handle(), &b);
            PostMouseInput(WM_LBUTTONDOWN, POINT{b.left + 5, b.top + 5});
            PostMouseInput(WM_LBUTTONUP, POINT{b.left + 5, b.top + 5});
        });
        robot.Wait(1000);
    }
    EXPECT_TRUE(PlayOut(robot, 20)) << robot.Describe();
    const auto& calls = RecordedHelpCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].Command, HELP_CONTEXT);
    EXPECT_EQ(calls[0].Data, 55u);
    EXPECT_EQ(calls[1].Data, 10u) << "a control without a context takes its form's";
    delete form;
}

TEST_F(UiTest, TabAndArrowsShowTheFocusWhereItIsAndTheDefaultButtonMovesWithIt) {
    using namespace win;
    auto* form = Make<TForm>(Application);
    form->SetBorderStyle(TFormBorderStyle::bsDialog);
    form->SetBounds(100, 100, 320, 160);
    auto button = [&](const char* name, int left, bool isDefault) {
        auto* b = new TButton(form);
        b->SetName(name);
        b->SetParent(form);
        b->SetCaption(name);
        b->SetBounds(left, 90, 75, 25);
        b->SetDefault(isDefault);
        return b;
    };
    TButton* ok = button("OK", 10, true);
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 120, 21);
    auto* check = new TCheckBox(form);
    check->SetParent(form);
    check->SetCaption("Backup");
    check->SetBounds(10, 40, 100, 17);
    TButton* cancel = button("Cancel", 90, false);
    TButton* help = button("Help", 170, false);
    ok->SetTabOrder(0);
    form->Show();
    Application->ProcessMessages();

    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // A button's state from its pixels: 'F' focus rectangle and frame, 'D' the default's frame
    // alone, '-' neither.
    auto buttonState = [&](TButton* b) {
        bool frame = ClientPixel(b, 0, 0) == RGB(0, 0, 0);
        bool focus = ClientPixel(b, 4, 4) != face || ClientPixel(b, 5, 4) != face;
        return std::string(1, focus ? (frame ? 'F' : '?') : (frame ? 'D' : '-'));
    };
    // The check box's focus rectangle runs above its caption.
    auto checkFocus = [&] {
        for (int x = 16; x < 40; ++x)
            if (ClientPixel(check, x, 1) != face) return std::string("F");
        return std::string("-");
    };
    auto state = [&] { return buttonState(ok) + checkFocus() + buttonState(cancel) + buttonState(help); };
    // Which buttons painted, 'O', 'C', 'H' or '-' each: only those whose look changed.
    auto paints = [&] {
        std::vector<int> n;
        for (TButton* b : {ok, cancel, help}) n.push_back(PaintCountsOf(b->Handle()).client);
        return n;
    };
    auto painted = [&](const std::vector<int>& before) {
        const std::vector<int> after = paints();
        std::string s;
        for (std::size_t i = 0; i < after.size(); ++i) s += after[i] == before[i] ? '-' : "OCH"[i];
        return s;
    };
    struct Step {
        UINT Key;
        bool Shift;
        TWinControl* Focused;
        const char* Shows;   // OK, check box, Cancel, Help
        const char* Painted; // OK, Cancel, Help
    };
    const Step steps[] = {
        {0, false, ok, "F---", "---"},          {VK_TAB, false, edit, "D---", "O--"},
        {VK_TAB, false, check, "DF--", "---"},  {VK_TAB, false, cancel, "--F-", "OC-"},
        {VK_TAB, false, help, "---F", "-CH"},   {VK_TAB, false, ok, "F---", "O-H"},
        {VK_TAB, true, help, "---F", "O-H"},    {VK_UP, false, cancel, "--F-", "-CH"},
        {VK_LEFT, false, check, "DF--", "OC-"},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const Step& s = steps[i];
        const std::vector<int> before = paints();
        if (s.Key) {
            TRobot robot;
            robot.Key(s.Key, s.Shift);
            PlayOut(robot, 5);
        }
        EXPECT_EQ(form->ActiveControl(), s.Focused) << "step " << i;
        EXPECT_EQ(state(), s.Shows) << "step " << i;
        EXPECT_EQ(painted(before), s.Painted) << "step " << i;
    }
    // Disabled while it has the focus, the check box loses its rectangle.
    check->SetEnabled(false);
    Application->ProcessMessages();
    EXPECT_EQ(state(), "D---");
    delete form;
}
