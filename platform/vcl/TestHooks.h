// What tests reach in the class library besides its contract: the calls of the help system's
// stand-in. Implementations in Application.cpp.
#pragma once

#include "win/Windows.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vcl {

// One WinHelp call, oldest first; Key is the key text of the key commands.
struct THelpCall {
    win::HWND Wnd = nullptr;
    std::string HelpFile;
    unsigned Command = 0;
    std::uintptr_t Data = 0;
    std::string Key;
};
const std::vector<THelpCall>& RecordedHelpCalls();
void ClearRecordedHelpCalls();

} // namespace vcl
