#include "spellengine/MessagePacing.h"

#include "vcl/Forms.h"
#include "win/Windows.h"

#include <chrono>

namespace spellengine {

namespace {

using Clock = std::chrono::steady_clock;

// Steps between two looks at the queue and the clock, each of which costs a lock or a clock read.
constexpr int kStepsPerLook = 64;
// The longest the walk goes on without letting the paints and timers run.
constexpr auto kInterval = std::chrono::milliseconds(4);

int gToLook = 0;
Clock::time_point gLastRun;

} // namespace

void PaceMessages() {
    if (--gToLook > 0) return;
    gToLook = kStepsPerLook;
    if (win::GetQueueStatus(0) == 0 && Clock::now() - gLastRun < kInterval) return;
    RunMessagesNow();
}

void RunMessagesNow() {
    vcl::Application->ProcessMessages();
    gLastRun = Clock::now();
    gToLook = kStepsPerLook;
}

} // namespace spellengine
