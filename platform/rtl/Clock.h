// The one clock of the suite (tick count, date and time) and the runtime's random numbers.
// Tests switch to a manual clock and advance it instead of sleeping. Implementations in Clock.cpp.
#pragma once

#include <cstdint>

namespace rtl {

// Days since 30 December 1899, the fraction the time of day.
using TDateTime = double;

std::uint32_t GetTickCount();   // milliseconds, wraps as on Windows
std::uint64_t GetTickCount64(); // milliseconds since the clock started
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Test control. A manual clock stands still until advanced; Now moves with the ticks.
void UseManualClock(std::uint64_t startTicks = 0, TDateTime startNow = 46023.375 /* 2026-01-01 09:00 */);
void UseSystemClock();
bool IsManualClock();
void AdvanceClock(std::uint64_t milliseconds);
void SetClockNow(TDateTime now);

// Random numbers with the runtime's linear congruential generator, so that a seed repeats.
extern std::uint32_t RandSeed;
int Random(int range);  // 0 <= result < range; 0 for a range <= 0
double Random();        // 0 <= result < 1
void Randomize();       // seeds from the clock

} // namespace rtl
