// The running-IDE check over every top-level window of the machine, other processes' included.
#include "libconfig/AliasStore.h"

#include "rtl/SysUtils.h"
#include "win/Windows.h"

namespace libconfig {

// Stops the enumeration at the first window of one of the IDE's classes.
win::BOOL EnumIDEWindowsProc(win::HWND window, win::LPARAM param) {
    char name[100] = {};
    win::GetClassName(window, name, sizeof name);
    for (const char* cls : IDEWindowClasses) {
        if (rtl::AnsiCompareText(name, cls) == 0) {
            *reinterpret_cast<bool*>(param) = true;
            return 0;
        }
    }
    return 1;
}

bool IsIDERunning() {
    bool found = false;
    win::EnumWindows(EnumIDEWindowsProc, reinterpret_cast<win::LPARAM>(&found));
    return found;
}

} // namespace libconfig
