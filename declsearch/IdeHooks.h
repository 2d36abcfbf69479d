// The binding to the IDE's hook library DUVIV32, loaded from the folder of this library: its
// procedures, each possibly absent, and wrappers that do nothing and give 0 without them.
// Implementations in IdeHooks.cpp.
#pragma once

#include "host/HookLibrary.h"
#include "rtl/Modules.h"

#include <string>
#include <string_view>

namespace declsearch {

class TIdeHooks {
public:
    TIdeHooks() = default;
    ~TIdeHooks();
    TIdeHooks(const TIdeHooks&) = delete;
    TIdeHooks& operator=(const TIdeHooks&) = delete;

    // Loads DUVIV32 from the folder of libraryFileName (the part up to its last "\" or ":") and
    // looks up every procedure; false when the library cannot be loaded.
    bool Load(std::string_view libraryFileName);
    void Free();

    bool Loaded() const { return FModule != nullptr; }
    rtl::HMODULE Module() const { return FModule; }
    const host::TIDEHookProcs& Procs() const { return FProcs; }

    int SetIDEKeyHook(const char* name, const char* caption, int shortCut, host::TIDEHookCallback callback,
                      void* object) const;
    std::string GetIDEParamStr(const char* name) const;
    int GetIDEParamInt(const char* name) const;
    void GotoIDELine(const char* fileName, int line, int column) const;
    int GetIDEShortCut(const char* text) const;
    void IDEActivate(int active) const;

    // The IDE's TAB width in blanks, 1 to 255; 8 when the hook library gives none.
    int TabRack() const;

private:
    rtl::HMODULE FModule = nullptr;
    host::TIDEHookProcs FProcs;
};

// The library's one binding.
TIdeHooks& IdeHooks();
// The start-up and shut-down steps of the module that links this (registered here): the first
// loads the binding from the folder of that module, the second frees the hook library.
void LoadIdeHooks();
void FreeIdeHooks();

} // namespace declsearch
