// What tests reach in the class library besides its contract: the calls of the help system's
// stand-in, and the check of a module's form resources. Implementations in Application.cpp and
// Streaming.cpp.
#pragma once

#include "win/Windows.h"

#include "rtl/Modules.h"

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

// Makes the form of every form resource of the calling module, writes it and holds the text
// against the resource's: one line for each form that fails to be made or reads back otherwise
// (with the first line that differs). Empty when every form is as its form file.
std::vector<std::string> FormResourceMismatches(const void* Caller = RTL_CALLER_MODULE);

} // namespace vcl
