// Timings of the registry store: reading values from a large user.reg and committing values one
// by one. Not a test; run by hand: registry_bench [keys] [writes].
#include "rtl/Registry.h"
#include "rtl/WinRoot.h"
#include "testing/TempWinRoot.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

std::string KeyName(int i) { return "\\Software\\Bench\\Key" + std::to_string(i); }

void WriteValues(int count, const char* what) {
    auto start = std::chrono::steady_clock::now();
    rtl::TRegistry reg;
    reg.OpenKey("\\Software\\Bench\\Writes", true);
    for (int i = 0; i < count; ++i) reg.WriteInteger("Value" + std::to_string(i), i);
    double ms = Since(start);
    std::printf("write %d values one by one (%s): %.1f ms, %.3f ms each\n", count, what, ms, ms / count);
}

} // namespace

int main(int argc, char** argv) {
    int keys = argc > 1 ? std::atoi(argv[1]) : 10000;
    int writes = argc > 2 ? std::atoi(argv[2]) : 1000;
    testing_support::TempWinRoot root;

    WriteValues(writes, "empty registry");

    {
        std::ofstream out(rtl::UserRegistryFile(), std::ios::binary);
        out << "REGEDIT4\r\n\r\n";
        for (int i = 0; i < keys; ++i)
            out << "[HKEY_CURRENT_USER" << KeyName(i) << "]\r\n\"Value\"=\"text " << i << "\"\r\n\r\n";
    }
    auto start = std::chrono::steady_clock::now();
    long total = 0;
    {
        rtl::TRegistry reg;
        for (int i = 0; i < keys; ++i) {
            if (!reg.OpenKey(KeyName(i), false)) {
                std::fprintf(stderr, "key %d missing\n", i);
                return 1;
            }
            total += static_cast<long>(reg.ReadString("Value").size());
        }
    }
    double ms = Since(start);
    std::printf("read %d values from a registry of %d keys: %.1f ms (first read parses the file), %.2f us each\n",
                keys, keys, ms, 1000.0 * ms / keys);

    start = std::chrono::steady_clock::now();
    {
        rtl::TRegistry reg;
        for (int i = 0; i < keys; ++i) {
            reg.OpenKey(KeyName(i), false);
            total += static_cast<long>(reg.ReadString("Value").size());
        }
    }
    ms = Since(start);
    std::printf("read them again (cached tree): %.1f ms, %.2f us each\n", ms, 1000.0 * ms / keys);

    WriteValues(writes, ("registry of " + std::to_string(keys) + " keys").c_str());
    return total > 0 ? 0 : 1;
}
