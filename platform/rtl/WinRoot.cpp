// Locating and laying out the machine root.
#include "rtl/WinRoot.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>

namespace rtl {
namespace {

std::mutex gMutex;
std::string gOverride;
std::string gMade; // the root whose folders were made last

std::string DefaultRoot() {
    if (const char* r = std::getenv("WINROOT"); r && *r) return r;
    if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x) return std::string(x) + "/winroot";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.local/share/winroot";
}

} // namespace

std::string WinRootDir() {
    std::lock_guard lock(gMutex);
    std::string root = gOverride.empty() ? DefaultRoot() : gOverride;
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    if (gMade != root) {
        std::error_code ec;
        for (const char* sub : {"/drive_c/windows", "/run", "/printer"})
            std::filesystem::create_directories(root + sub, ec);
        gMade = root;
    }
    return root;
}

std::string DriveCDir() { return WinRootDir() + "/drive_c"; }
std::string WindowsDir() { return WinRootDir() + "/drive_c/windows"; }
std::string RunDir() { return WinRootDir() + "/run"; }
std::string PrinterDir() { return WinRootDir() + "/printer"; }
std::string UserRegistryFile() { return WinRootDir() + "/user.reg"; }

void SetWinRoot(const std::string& hostDir) {
    std::lock_guard lock(gMutex);
    gOverride = hostDir;
    gMade.clear();
}

} // namespace rtl
