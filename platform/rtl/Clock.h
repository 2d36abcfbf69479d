// The one clock of the suite (tick count, date and time) and the runtime's random numbers.
// Implementations in Clock.cpp; the manual clock tests advance is in rtl/TestHooks.h.
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

// Random numbers with the runtime's linear congruential generator, so that a seed repeats.
extern std::uint32_t RandSeed;
int Random(int range);  // 0 <= result < range; 0 for a range <= 0
double Random();        // 0 <= result < 1
void Randomize();       // seeds from the clock

} // namespace rtl
