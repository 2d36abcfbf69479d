// The entry exports of the declaration search and spell-check libraries, as the IDE looks them
// up by name (the expert library's entry is in host/Expert.h).
#pragma once

#include "host/ToolServices.h"

namespace host {

// extern "C" void Initialize(TIToolServices*)
using TInitializeProc = void (*)(TIToolServices* toolServices);
// extern "C" void CloseUp()
using TCloseUpProc = void (*)();
// extern "C" int QUILLOCHECK(TIToolServices*)
using TQuilloCheckProc = int (*)(TIToolServices* toolServices);

constexpr const char* InitializeName = "Initialize";
constexpr const char* CloseUpName = "CloseUp";
constexpr const char* QuilloCheckName = "QUILLOCHECK";

} // namespace host
