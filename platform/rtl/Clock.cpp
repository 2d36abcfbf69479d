// Clock sources: the system's monotonic and wall clocks, or a manual one for tests.
#include "rtl/Clock.h"
#include "rtl/TestHooks.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <ctime>

namespace rtl {
namespace {

constexpr double kMsPerDay = 86400000.0;
constexpr double kUnixEpochDays = 25569.0; // 1970-01-01 as a TDateTime

std::atomic<bool> gManual{false};
std::atomic<std::uint64_t> gManualTicks{0};
double gManualNow = 0;      // the TDateTime at gManualBaseTicks
std::uint64_t gManualBaseTicks = 0;

std::uint64_t SystemTicks() {
    static const auto start = std::chrono::steady_clock::now();
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

TDateTime SystemNow() {
    std::timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    std::tm local{};
    localtime_r(&ts.tv_sec, &local);
    double seconds = static_cast<double>(ts.tv_sec) + static_cast<double>(local.tm_gmtoff) + ts.tv_nsec / 1e9;
    return kUnixEpochDays + seconds * 1000.0 / kMsPerDay;
}

} // namespace

std::uint64_t GetTickCount64() { return gManual ? gManualTicks.load() : SystemTicks(); }
std::uint32_t GetTickCount() { return static_cast<std::uint32_t>(GetTickCount64()); }

TDateTime Now() {
    if (!gManual) return SystemNow();
    return gManualNow + static_cast<double>(gManualTicks - gManualBaseTicks) / kMsPerDay;
}

TDateTime Date() { return std::floor(Now()); }
TDateTime Time() { TDateTime n = Now(); return n - std::floor(n); }

void UseManualClock(std::uint64_t startTicks, TDateTime startNow) {
    gManualTicks = startTicks;
    gManualBaseTicks = startTicks;
    gManualNow = startNow;
    gManual = true;
}

void UseSystemClock() { gManual = false; }
bool IsManualClock() { return gManual; }
void AdvanceClock(std::uint64_t milliseconds) { gManualTicks += milliseconds; }

void SetClockNow(TDateTime now) {
    gManualBaseTicks = gManualTicks;
    gManualNow = now;
}

std::uint32_t RandSeed = 0;

int Random(int range) {
    RandSeed = RandSeed * 0x08088405u + 1u;
    if (range <= 0) return 0;
    return static_cast<int>((static_cast<std::uint64_t>(RandSeed) * static_cast<std::uint32_t>(range)) >> 32);
}

double Random() {
    RandSeed = RandSeed * 0x08088405u + 1u;
    return static_cast<double>(RandSeed) / 4294967296.0;
}

void Randomize() {
    RandSeed = static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

} // namespace rtl
