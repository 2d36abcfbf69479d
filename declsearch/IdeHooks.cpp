// The hook library binding.
#include "declsearch/IdeHooks.h"

#include "rtl/Paths.h"

#include <algorithm>

namespace declsearch {

TIdeHooks::~TIdeHooks() { Free(); }

bool TIdeHooks::Load(std::string_view libraryFileName) {
    Free();
    rtl::HMODULE module = rtl::LoadLibrary(rtl::ExtractFilePath(libraryFileName) + "DUVIV32");
    if (!module) return false;
    FModule = module;
    host::BindIDEHooks(FProcs, [module](const char* name) { return rtl::GetProcAddress(module, name); });
    return true;
}

void TIdeHooks::Free() {
    FProcs = host::TIDEHookProcs{};
    if (FModule) rtl::FreeLibrary(FModule);
    FModule = nullptr;
}

int TIdeHooks::SetIDEKeyHook(const char* name, const char* caption, int shortCut, host::TIDEHookCallback callback,
                             void* object) const {
    return FProcs.SetIDEKeyHook ? FProcs.SetIDEKeyHook(name, caption, shortCut, callback, object) : 0;
}

std::string TIdeHooks::GetIDEParamStr(const char* name) const {
    std::string result;
    if (FProcs.GetIDEParamStr) FProcs.GetIDEParamStr(&result, name);
    return result;
}

int TIdeHooks::GetIDEParamInt(const char* name) const {
    return FProcs.GetIDEParamInt ? FProcs.GetIDEParamInt(name) : 0;
}

void TIdeHooks::GotoIDELine(const char* fileName, int line, int column) const {
    if (FProcs.GotoIDELine) FProcs.GotoIDELine(fileName, line, column);
}

int TIdeHooks::GetIDEShortCut(const char* text) const {
    return FProcs.GetIDEShortCut ? FProcs.GetIDEShortCut(text) : 0;
}

void TIdeHooks::IDEActivate(int active) const {
    if (FProcs.IDEActivate) FProcs.IDEActivate(active);
}

int TIdeHooks::TabRack() const {
    // 8, the IDE's own default, when the hook library gives none.
    int width = GetIDEParamInt("TabRack");
    return width > 0 ? std::min(width, 255) : 8;
}

TIdeHooks& IdeHooks() {
    static TIdeHooks hooks;
    return hooks;
}

void LoadIdeHooks() { IdeHooks().Load(rtl::GetModuleFileName()); }

void FreeIdeHooks() { IdeHooks().Free(); }

namespace {
// Bound when the library is loaded, freed when it is unloaded.
rtl::TUnitInit unit(&LoadIdeHooks, &FreeIdeHooks);
} // namespace

} // namespace declsearch
