// The IDE's hook library, libduviv32.so: the 14 procedures a library loads by name, each reaching
// the running IDE through ide_core. Without a running IDE each does nothing and gives 0.
#include "host/HookLibrary.h"
#include "ide/CallLog.h"
#include "ide/Ide.h"
#include "vcl/Menus.h"

#include <string>

#define DUVIV_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::string Text(const char* s) { return s ? std::string(s) : std::string(); }

// No exception leaves the library.
template <class F>
auto Guarded(F&& f, decltype(f()) fallback) noexcept -> decltype(f()) {
    try {
        return f();
    } catch (...) {
        return fallback;
    }
}

int Unused(const char* name) {
    ide::RecordCall(name);
    return 0;
}

} // namespace

DUVIV_EXPORT int SetIDEKeyHook(const char* name, const char* caption, int shortCut, host::TIDEHookCallback callback,
                               void* object) {
    return Guarded(
        [&] {
            ide::RecordCall("SetIDEKeyHook", {Text(name), Text(caption), std::to_string(shortCut)});
            ide::TIde* ide = ide::TIde::Current();
            return ide ? ide->AddHookItem(name, caption, shortCut, callback, object) : 0;
        },
        0);
}

DUVIV_EXPORT int SetIDEMacroHook() { return Guarded([] { return Unused("SetIDEMacroHook"); }, 0); }
DUVIV_EXPORT int SetIDEWordHook() { return Guarded([] { return Unused("SetIDEWordHook"); }, 0); }
DUVIV_EXPORT int SetIDEMenuHook() { return Guarded([] { return Unused("SetIDEMenuHook"); }, 0); }

DUVIV_EXPORT void GetIDEParamStr(std::string* result, const char* name) {
    Guarded(
        [&] {
            ide::RecordCall("GetIDEParamStr", {Text(name)});
            ide::TIde* ide = ide::TIde::Current();
            if (result && ide)
                *result = ide->EditorParamStr(Text(name));
            return 0;
        },
        0);
}

DUVIV_EXPORT int GetIDEParamInt(const char* name) {
    return Guarded(
        [&] {
            ide::RecordCall("GetIDEParamInt", {Text(name)});
            ide::TIde* ide = ide::TIde::Current();
            return ide ? ide->EditorParamInt(Text(name)) : 0;
        },
        0);
}

DUVIV_EXPORT void GotoIDELine(const char* fileName, int line, int column) {
    Guarded(
        [&] {
            ide::RecordCall("GotoIDELine", {Text(fileName), std::to_string(line), std::to_string(column)});
            if (ide::TIde* ide = ide::TIde::Current())
                ide->GotoLine(Text(fileName), line, column);
            return 0;
        },
        0);
}

DUVIV_EXPORT int DeleteIDEText() { return Guarded([] { return Unused("DeleteIDEText"); }, 0); }
DUVIV_EXPORT int InsertIDEText() { return Guarded([] { return Unused("InsertIDEText"); }, 0); }

DUVIV_EXPORT int GetIDEShortCut(const char* text) {
    return Guarded(
        [&] {
            ide::RecordCall("GetIDEShortCut", {Text(text)});
            return static_cast<int>(vcl::TextToShortCut(Text(text)));
        },
        0);
}

DUVIV_EXPORT int GetIDECaption() { return Guarded([] { return Unused("GetIDECaption"); }, 0); }
DUVIV_EXPORT int GetIDEMenu() { return Guarded([] { return Unused("GetIDEMenu"); }, 0); }
DUVIV_EXPORT int FreeIDEMenu() { return Guarded([] { return Unused("FreeIDEMenu"); }, 0); }

DUVIV_EXPORT void IDEActivate(int active) {
    Guarded(
        [&] {
            ide::RecordCall("IDEActivate", {std::to_string(active)});
            if (ide::TIde* ide = ide::TIde::Current())
                ide->SetActive(active != 0);
            return 0;
        },
        0);
}

// The signatures above are the ones callers bind.
static_assert(std::is_same_v<decltype(&SetIDEKeyHook), host::TSetIDEKeyHook>);
static_assert(std::is_same_v<decltype(&GetIDEParamStr), host::TGetIDEParamStr>);
static_assert(std::is_same_v<decltype(&GetIDEParamInt), host::TGetIDEParamInt>);
static_assert(std::is_same_v<decltype(&GotoIDELine), host::TGotoIDELine>);
static_assert(std::is_same_v<decltype(&GetIDEShortCut), host::TGetIDEShortCut>);
static_assert(std::is_same_v<decltype(&IDEActivate), host::TIDEActivate>);
