// The IDE hook library's procedures as a caller binds them: the C signature of each, the names
// in lookup order, and a table of addresses (each null when the library lacks it). The IDE's
// own hook library (ide/, libduviv32.so) exports them with C linkage.
#pragma once

#include <string>
#include <type_traits>

namespace host {

// Called with the chosen item's name; the result is not looked at.
using TIDEHookCallback = int (*)(void* object, const char* name);

// Adds a menu item with its caption and shortcut; choosing it calls callback(object, name).
// No name, caption "-" and no callback add a separator.
using TSetIDEKeyHook = int (*)(const char* name, const char* caption, int shortCut,
                               TIDEHookCallback callback, void* object);
using TSetIDEMacroHook = int (*)();
using TSetIDEWordHook = int (*)();
using TSetIDEMenuHook = int (*)();
// Writes the setting's text into the caller's string (which the caller empties first).
using TGetIDEParamStr = void (*)(std::string* result, const char* name);
using TGetIDEParamInt = int (*)(const char* name);
// Opens the file in the editor with the cursor at the 1-based line and column.
using TGotoIDELine = void (*)(const char* fileName, int line, int column);
using TDeleteIDEText = int (*)();
using TInsertIDEText = int (*)();
// A shortcut text ("Ctrl+Alt+X") as a shortcut value; 0 for a text that cannot be read.
using TGetIDEShortCut = int (*)(const char* text);
using TGetIDECaption = int (*)();
using TGetIDEMenu = int (*)();
using TFreeIDEMenu = int (*)();
// 0 before and 1 after a library's modal window.
using TIDEActivate = void (*)(int active);

constexpr int IDEHookCount = 14;
constexpr const char* IDEHookNames[IDEHookCount] = {
    "SetIDEKeyHook", "SetIDEMacroHook", "SetIDEWordHook", "SetIDEMenuHook", "GetIDEParamStr",
    "GetIDEParamInt", "GotoIDELine",    "DeleteIDEText",  "InsertIDEText",  "GetIDEShortCut",
    "GetIDECaption", "GetIDEMenu",      "FreeIDEMenu",    "IDEActivate",
};

// The addresses in the order of IDEHookNames.
struct TIDEHookProcs {
    TSetIDEKeyHook SetIDEKeyHook = nullptr;
    TSetIDEMacroHook SetIDEMacroHook = nullptr;
    TSetIDEWordHook SetIDEWordHook = nullptr;
    TSetIDEMenuHook SetIDEMenuHook = nullptr;
    TGetIDEParamStr GetIDEParamStr = nullptr;
    TGetIDEParamInt GetIDEParamInt = nullptr;
    TGotoIDELine GotoIDELine = nullptr;
    TDeleteIDEText DeleteIDEText = nullptr;
    TInsertIDEText InsertIDEText = nullptr;
    TGetIDEShortCut GetIDEShortCut = nullptr;
    TGetIDECaption GetIDECaption = nullptr;
    TGetIDEMenu GetIDEMenu = nullptr;
    TFreeIDEMenu FreeIDEMenu = nullptr;
    TIDEActivate IDEActivate = nullptr;
};

// Fills the table with lookup(name) for each name in order; lookup gives null when absent.
template <class Lookup>
void BindIDEHooks(TIDEHookProcs& procs, Lookup&& lookup) {
    auto bind = [&](auto& slot, const char* name) {
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(lookup(name));
    };
    bind(procs.SetIDEKeyHook, IDEHookNames[0]);
    bind(procs.SetIDEMacroHook, IDEHookNames[1]);
    bind(procs.SetIDEWordHook, IDEHookNames[2]);
    bind(procs.SetIDEMenuHook, IDEHookNames[3]);
    bind(procs.GetIDEParamStr, IDEHookNames[4]);
    bind(procs.GetIDEParamInt, IDEHookNames[5]);
    bind(procs.GotoIDELine, IDEHookNames[6]);
    bind(procs.DeleteIDEText, IDEHookNames[7]);
    bind(procs.InsertIDEText, IDEHookNames[8]);
    bind(procs.GetIDEShortCut, IDEHookNames[9]);
    bind(procs.GetIDECaption, IDEHookNames[10]);
    bind(procs.GetIDEMenu, IDEHookNames[11]);
    bind(procs.FreeIDEMenu, IDEHookNames[12]);
    bind(procs.IDEActivate, IDEHookNames[13]);
}

} // namespace host
