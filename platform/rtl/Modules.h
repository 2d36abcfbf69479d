// Modules: the program and the shared libraries it loads, by Windows-form name, with the
// start-up and shut-down steps of their units. Implementations in Modules.cpp.
#pragma once

#include <string>
#include <string_view>

// Each module has its own hidden copy of this symbol (the C++ runtime's module handle).
extern "C" void* __dso_handle __attribute__((visibility("hidden")));

// The module of the code where a call is written. Calls that act on "the calling module" take it
// as a defaulted last argument, so it is taken at the call site and a call that is forwarded or
// compiled as a jump still names its own module. A layer that forwards such a call for its own
// callers takes the same argument and passes it on.
#define RTL_CALLER_MODULE (static_cast<const void*>(&__dso_handle))

namespace rtl {

// A module handle is the module's load address, as on Windows; 0 names no module (or, where
// the call says so, the caller's).
struct TModuleBase;
using HMODULE = TModuleBase*;
using HINSTANCE = HMODULE;
using FARPROC = void*;

// "<folder>\DUVIV32" or "DUVIV32.DLL" loads libduviv32.so from that folder (found without regard
// to case); a name ending in ".so" is taken as it is. Without a folder the program's folder is
// tried, then the current folder, then the system's library search. Each call adds a reference;
// the module's units start up on its first load. 0 on failure: see LoadLibraryError.
HMODULE LoadLibrary(std::string_view fileName);
// Drops a reference; at the last one the module's units shut down in reverse order and the
// module is unloaded. False for a handle LoadLibrary did not give.
bool FreeLibrary(HMODULE module);
// Why the calling thread's last LoadLibrary failed, naming the file.
std::string LoadLibraryError();

FARPROC GetProcAddress(HMODULE module, const char* procName);
template <class Proc>
Proc GetProcAddressAs(HMODULE module, const char* procName) {
    return reinterpret_cast<Proc>(GetProcAddress(module, procName));
}

// A loaded module by its name without folder ("DUVIV32", "duviv32.dll", "libduviv32.so");
// nullptr or "" gives the program.
HMODULE GetModuleHandle(const char* moduleName);
// The module that holds an address (a function or an object of it).
HMODULE ModuleOfAddress(const void* address);
// The module of the calling code.
HMODULE HInstance(const void* caller = RTL_CALLER_MODULE);

// Windows-form full name of a module; module 0 is the module of the calling code.
std::string GetModuleFileName(HMODULE module = nullptr, const void* caller = RTL_CALLER_MODULE);
// Buffer form: copies at most size - 1 characters and a zero; returns the number copied.
int GetModuleFileName(HMODULE module, char* buffer, int size, const void* caller = RTL_CALLER_MODULE);

// One unit's start-up and shut-down steps. Declare one static object per unit that needs them:
//     static rtl::TUnitInit unit(&InitUnit, &FinishUnit);
// Its start-up runs when the module is loaded, the units of a module in link order; the
// shut-down steps run in reverse order when the module is unloaded (the program's at exit).
// A start-up step that raises stops the module's remaining start-ups: LoadLibrary then shuts
// down the units already started and fails; for the program, the message goes to standard
// error, the units already started shut down and the program ends with exit code 217.
class TUnitInit {
public:
    using TStep = void (*)();
    explicit TUnitInit(TStep init, TStep fini = nullptr);
    ~TUnitInit();
    TUnitInit(const TUnitInit&) = delete;
    TUnitInit& operator=(const TUnitInit&) = delete;
};

} // namespace rtl
