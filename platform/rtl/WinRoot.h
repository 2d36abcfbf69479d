// The emulated machine root: the one folder that holds everything the suite keeps "on Windows"
// (the registry file, drive C:, the Windows folder, the list of running windows, printer output).
// Implementations in WinRoot.cpp.
#pragma once

#include <string>

namespace rtl {

// Host paths (UTF-8, '/'), made with their folders on first use. The root is $WINROOT, else
// ${XDG_DATA_HOME:-$HOME/.local/share}/winroot.
std::string WinRootDir();
std::string DriveCDir();      // <root>/drive_c
std::string WindowsDir();     // <root>/drive_c/windows
std::string RunDir();         // <root>/run
std::string PrinterDir();     // <root>/printer
std::string UserRegistryFile(); // <root>/user.reg

// Moves the root (tests give each test its own); an empty path goes back to the environment's.
void SetWinRoot(const std::string& hostDir);

} // namespace rtl
