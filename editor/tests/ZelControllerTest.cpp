#include "editor/ZelController.h"

#include "editor/ZelExceptions.h"
#include "testing/UiTest.h"
#include "rtl/Streams.h"
#include "vcl/StdCtrls.h"
#include "vcl/Streaming.h"
#include "win/Windows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace editor;
using testing_support::UiTest;
using vcl::Make;

namespace {

struct TFiring {
    int Handle;
    std::uint16_t Interval;
    std::int32_t Elapsed;
};

// Advances the manual clock in steps of the pool's tick, handing each due timer message on.
void RunClock(unsigned Milliseconds, unsigned Step = 10) {
    for (unsigned t = 0; t < Milliseconds; t += Step) {
        rtl::AdvanceClock(Step);
        vcl::Application->ProcessMessages();
    }
}

class ZelTimerPool : public UiTest {};
class ZelControllerUi : public UiTest {};

} // namespace

TEST_F(ZelTimerPool, SharedIntervalIsTheLargestCommonStepOfTheTriggers) {
    struct Case {
        std::vector<std::uint16_t> intervals;
        std::uint16_t expected;
    };
    const Case cases[] = {
        {{}, 0},
        {{100, 150}, 55}, // the reduction reaches 50, raised to the system tick
        {{1000, 500}, 500},
        {{1000}, 1000},
        {{30}, 55},
        {{600, 900, 1500}, 300},
        {{65535}, 65535}, // the longest trigger alone still runs a timer
    };
    for (const Case& c : cases) {
        TZelTimerPool pool(nullptr);
        for (std::uint16_t interval : c.intervals) pool.AddTrigger(interval, true);
        EXPECT_EQ(pool.Interval(), c.expected) << c.intervals.size() << " triggers";
        EXPECT_EQ(pool.ActiveCount(), c.intervals.size());
    }
}

TEST_F(ZelTimerPool, TriggersFireOnTheWindowTimerAndOneShotsGo) {
    TZelTimerPool pool(nullptr);
    std::vector<TFiring> own, all;
    const int every = pool.AddTrigger(100, true, [&](vcl::TObject* sender, int h, std::uint16_t i, std::int32_t e) {
        EXPECT_EQ(sender, &pool);
        own.push_back({h, i, e});
    });
    const int once = pool.AddTrigger(250, false);
    pool.OnAllTriggers = [&](vcl::TObject*, int h, std::uint16_t i, std::int32_t e) { all.push_back({h, i, e}); };
    EXPECT_EQ(pool.Interval(), 55); // 250 % 100 leaves 50
    RunClock(300);

    // The 100 ms trigger fired about every 100 ms, never later than the timer's tick allows.
    ASSERT_GE(own.size(), 2u);
    for (const TFiring& f : own) {
        EXPECT_EQ(f.Handle, every);
        EXPECT_EQ(f.Interval, 100);
    }
    EXPECT_GE(own[0].Elapsed, 100 - 27);
    EXPECT_LE(own[0].Elapsed, 100 + 55);
    int onceFired = 0;
    for (const TFiring& f : all) onceFired += f.Handle == once;
    EXPECT_EQ(onceFired, 1);
    EXPECT_FALSE(pool.HasTrigger(once));
    EXPECT_EQ(pool.ActiveCount(), 1);
    EXPECT_EQ(pool.Interval(), 100); // recomputed without the one-shot

    const std::size_t before = own.size();
    pool.RemoveTrigger(every);
    pool.RemoveTrigger(12345); // unknown: nothing happens
    EXPECT_EQ(pool.Interval(), 0);
    RunClock(300);
    EXPECT_EQ(own.size(), before);
}

TEST_F(ZelTimerPool, ALoneTriggerOfTheLongestIntervalFires) {
    TZelTimerPool pool(nullptr);
    std::vector<TFiring> fired;
    pool.AddTrigger(65535, false, [&](vcl::TObject*, int h, std::uint16_t i, std::int32_t e) {
        fired.push_back({h, i, e});
    });
    RunClock(65000, 500);
    EXPECT_TRUE(fired.empty());
    RunClock(1000, 500);
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0].Interval, 65535);
    EXPECT_GE(fired[0].Elapsed, 65535 - 27);
    EXPECT_EQ(pool.Interval(), 0);
}

TEST_F(ZelTimerPool, InactiveTriggersDoNotFireAndNoTimerRunsForThem) {
    TZelTimerPool pool(nullptr);
    int fired = 0;
    const int h = pool.AddTrigger(100, true, [&](vcl::TObject*, int, std::uint16_t, std::int32_t) { ++fired; });
    pool.SetTriggerActive(h, false);
    EXPECT_EQ(pool.ActiveCount(), 0);
    EXPECT_EQ(pool.Interval(), 0);
    RunClock(300);
    EXPECT_EQ(fired, 0);
    pool.SetTriggerActive(h, true);
    RunClock(300);
    EXPECT_GE(fired, 2);
}

TEST_F(ZelTimerPool, AnEventThatRaisesEndsTheWalkAndGoesToTheApplication) {
    TZelTimerPool pool(nullptr);
    std::vector<std::string> reported;
    vcl::Application->OnException = [&](vcl::TObject*, const std::exception& e) { reported.push_back(e.what()); };
    int later = 0;
    const int self = pool.AddTrigger(100, true, [&](vcl::TObject*, int, std::uint16_t, std::int32_t) {
        throw rtl::Exception("trigger failed");
    });
    pool.AddTrigger(100, true, [&](vcl::TObject*, int, std::uint16_t, std::int32_t) { ++later; });
    RunClock(120);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], "trigger failed");
    EXPECT_EQ(later, 0);
    // An event may remove its own trigger and the walk goes on with the next.
    pool.RemoveTrigger(self);
    pool.AddTrigger(100, true, [&](vcl::TObject* s, int h, std::uint16_t, std::int32_t) {
        static_cast<TZelTimerPool*>(s)->RemoveTrigger(h);
    });
    RunClock(120);
    EXPECT_GE(later, 1);
    vcl::Application->OnException = nullptr;
}

TEST_F(ZelControllerUi, EpochTakesOnlyYearsFrom1600To3999) {
    TZelController controller(nullptr);
    EXPECT_EQ(controller.Epoch(), 1900);
    const std::pair<int, int> cases[] = {{1599, 1900}, {1600, 1600}, {4000, 1600}, {3999, 3999}};
    for (auto [set, expected] : cases) {
        controller.SetEpoch(set);
        EXPECT_EQ(controller.Epoch(), expected) << set;
    }
    EXPECT_TRUE(controller.InsertMode());
    EXPECT_FALSE(controller.ErrorPending());
    EXPECT_EQ(controller.EntryCommands().TableCount(), 3);
}

TEST_F(ZelControllerUi, PoolTriggersReachTheControllersEvent) {
    TZelController controller(nullptr);
    std::vector<int> seen;
    controller.OnTimerTrigger = [&](vcl::TObject* sender, int h, std::uint16_t, std::int32_t) {
        EXPECT_EQ(sender, &controller.TimerPool());
        seen.push_back(h);
    };
    const int h = controller.TimerPool().AddTrigger(200, false);
    RunClock(300);
    EXPECT_EQ(seen, std::vector<int>{h});
}

TEST_F(ZelControllerUi, ControlWithoutAControllerRaisesWhenItsWindowIsMade) {
    auto* form = Make<vcl::TForm>(vcl::Application);
    auto* control = new TZelBase(form);
    control->SetParent(form);
    EXPECT_THROW(control->Handle(), ENoControllerAssigned);
    EXPECT_FALSE(control->HandleAllocated());

    // Being designed, it does without.
    control->SetDesigning(true);
    EXPECT_NO_THROW(control->Handle());
    EXPECT_FALSE(control->ControllerAssigned());
    delete form;
}

TEST_F(ZelControllerUi, ControlTakesItsFormsControllerOrTheOneItWasGiven) {
    auto* form = Make<vcl::TForm>(vcl::Application);
    auto* control = new TZelBase(form);
    control->SetParent(form);
    auto* other = new TZelController(nullptr);
    auto* mine = new TZelController(form); // inserted into the form: the control takes it
    EXPECT_EQ(control->Controller(), mine);

    auto* explicitControl = new TZelBase(form);
    explicitControl->SetController(other);
    explicitControl->SetParent(form);
    form->Show();
    EXPECT_TRUE(control->HandleAllocated());
    EXPECT_EQ(explicitControl->Controller(), other);

    // A controller freed elsewhere is let go.
    delete other;
    EXPECT_FALSE(explicitControl->ControllerAssigned());
    delete mine;
    EXPECT_FALSE(control->ControllerAssigned());
    delete form;
}

TEST_F(ZelControllerUi, ControllerFindsAControllerAddedAfterTheControl) {
    auto* form = Make<vcl::TForm>(vcl::Application);
    auto* control = new TZelBase(form);
    control->SetParent(form);
    auto* first = new TZelController(form);
    new TZelController(form);
    form->Show();
    EXPECT_EQ(control->Controller(), first);
    delete form;
}

TEST_F(ZelControllerUi, SpecialButtonsAreKnownByWindowAndForgottenWhenFreed) {
    auto* form = Make<vcl::TForm>(vcl::Application);
    auto* controller = new TZelController(form);
    auto* cancel = new vcl::TButton(form);
    cancel->SetParent(form);
    auto* ok = new vcl::TButton(form);
    ok->SetParent(form);
    controller->SetBtnCancel(cancel);
    form->Show();
    EXPECT_TRUE(controller->IsSpecialButton(cancel->Handle()));
    EXPECT_FALSE(controller->IsSpecialButton(ok->Handle()));
    delete cancel;
    EXPECT_EQ(controller->BtnCancel(), nullptr);
    EXPECT_FALSE(controller->IsSpecialButton(nullptr));
    delete form;
}

TEST_F(ZelControllerUi, RefocusMessageGivesTheControlTheFocus) {
    auto* form = Make<vcl::TForm>(vcl::Application);
    auto* controller = new TZelController(form);
    auto* first = new vcl::TButton(form);
    first->SetParent(form);
    auto* second = new TZelBase(form);
    second->SetParent(form);
    second->SetBounds(0, 40, 50, 20);
    second->SetTabStop(true);
    form->Show();
    first->SetFocus();
    vcl::Application->ProcessMessages();
    ASSERT_EQ(win::GetFocus(), first->Handle());

    win::PostMessage(controller->Handle(), ZM_REFOCUS, 0, reinterpret_cast<win::LPARAM>(second));
    vcl::Application->ProcessMessages();
    EXPECT_EQ(win::GetFocus(), second->Handle());

    // A control freed before the message is handled is not touched.
    auto* gone = new TZelBase(form);
    gone->SetParent(form);
    win::PostMessage(controller->Handle(), ZM_REFOCUS, 0, reinterpret_cast<win::LPARAM>(gone));
    delete gone;
    vcl::Application->ProcessMessages();
    EXPECT_EQ(win::GetFocus(), second->Handle());
    delete form;
}

TEST_F(ZelControllerUi, ErrorReportGoesToTheErrorEvent) {
    TZelController controller(nullptr);
    vcl::TObject* sender = nullptr;
    std::uint16_t code = 0;
    std::string text;
    controller.OnError = [&](vcl::TObject* s, std::uint16_t c, const std::string& m) {
        sender = s;
        code = c;
        text = m;
    };
    vcl::TObject field;
    controller.DoOnError(&field, 7, "Value out of range");
    EXPECT_EQ(sender, &field);
    EXPECT_EQ(code, 7);
    EXPECT_EQ(text, "Value out of range");
}

TEST_F(ZelControllerUi, StoredControllerKeepsItsEpochAndTables) {
    TZelController written(nullptr);
    written.SetName("Controller1");
    written.SetEpoch(1950);
    written.EntryCommands().CreateTable("Mine", false);
    rtl::TMemoryStream stream;
    vcl::WriteComponentToStream(&written, stream);
    stream.SetPosition(0);
    TZelController read(nullptr);
    vcl::ReadComponentFromStream(stream, &read);
    EXPECT_EQ(read.Epoch(), 1950);
    ASSERT_EQ(read.EntryCommands().TableCount(), 4);
    EXPECT_NE(read.EntryCommands().GetTable("Mine"), nullptr);
}

TEST_F(ZelControllerUi, ErrorReportWithoutAnEventShowsAnErrorBox) {
    TZelController controller(nullptr);
    testing_support::TRobot robot;
    std::string text;
    robot.OnNextModal([&](win::HWND box) { text = testing_support::TRobot::ChildText(box, "Message"); });
    robot.AnswerNextModal(testing_support::TBy::Name("OK"));
    vcl::TObject field;
    controller.DoOnError(&field, 3, "Date is not valid");
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    EXPECT_EQ(text, "Date is not valid");
}
