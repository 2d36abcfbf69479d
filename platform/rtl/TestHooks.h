// What tests reach in the runtime besides its contract. Implementations in Files.cpp and
// Clock.cpp.
#pragma once

#include "rtl/Clock.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace rtl {

// Asked at each commit of an atomic rewrite (TAtomicFile) with the target's name; a non-zero
// error code makes that commit fail with it, as a full disk would. An empty hook removes it.
void SetWriteFailureHook(std::function<int(std::string_view fileName)> hook);

// Tests advance a manual clock instead of sleeping. It stands still until advanced; Now moves
// with the ticks.
void UseManualClock(std::uint64_t startTicks = 0, TDateTime startNow = 46023.375 /* 2026-01-01 09:00 */);
void UseSystemClock();
bool IsManualClock();
void AdvanceClock(std::uint64_t milliseconds);
void SetClockNow(TDateTime now);

} // namespace rtl
