// Resources compiled into each module from its resource list (tools/rescomp): bitmaps, cursors,
// icons, raw data, strings and the version block, looked up in the calling module; and the
// system's version. Implementations in Resources.cpp.
//
// The resource list is a text file, one resource a line ('#' starts a comment line):
//     BITMAP  BOOKCLS   bookcls.bmp          a .bmp file, handed out as it stands
//     CURSOR  32668     margin.cur           a .cur file (hot spot in its directory entry)
//     ICON    MAINICON  main.ico             a .ico file
//     RCDATA  CREDITS   "text\r\n"           raw bytes: a file or quoted text
//     FORM    TFRMABOUT ../Vorabout.dfm      a text form file, as the binary stream of its
//                                            object (an RCDATA named after the form's class)
//     STRING  65000     "Parameter value is invalid"
//     VERSION FileVersion "1.0"              \StringFileInfo\040904E4\FileVersion
// A name is a number (an id) or a word matched without regard to case. Files are named relative
// to the list. Quoted text is UTF-8 in the list and cp1252 in the module; it takes the escapes
// \n \r \t \\ \" and \xHH (a raw byte).
#pragma once

#include "rtl/Modules.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rtl {

constexpr unsigned RT_CURSOR = 1;
constexpr unsigned RT_BITMAP = 2;
constexpr unsigned RT_ICON = 3;
constexpr unsigned RT_STRING = 6;
constexpr unsigned RT_RCDATA = 10;
constexpr unsigned RT_VERSION = 16;

// A resource name: a number, a word, or "#123" for the number 123.
class TResId {
public:
    TResId(unsigned id) : FIsId(true), FId(id) {}
    TResId(int id) : FIsId(true), FId(unsigned(id)) {}
    TResId(const char* name) : TResId(std::string_view(name ? name : "")) {}
    TResId(std::string_view name);
    TResId(const std::string& name) : TResId(std::string_view(name)) {}

    bool IsId() const { return FIsId; }
    unsigned Id() const { return FId; }
    const std::string& Name() const { return FName; } // in capitals

private:
    bool FIsId = false;
    unsigned FId = 0;
    std::string FName;
};

// What rescomp generates; each table registers itself for the module it is compiled into.
struct TResourceEntry {
    unsigned Type;
    const char* Name;          // in capitals, or nullptr for an id
    unsigned Id;
    const unsigned char* Data;
    std::size_t Size;
};

struct TResourceTable {
    const TResourceEntry* Entries;
    std::size_t Count;
};

class TResourceRegistration {
public:
    explicit TResourceRegistration(const TResourceTable* table);
    ~TResourceRegistration();
    TResourceRegistration(const TResourceRegistration&) = delete;
    TResourceRegistration& operator=(const TResourceRegistration&) = delete;

private:
    const TResourceTable* FTable;
};

// Module 0 is the module of the calling code (see RTL_CALLER_MODULE). The data lives in the
// module: it stays valid while the module is loaded.
using HRSRC = const TResourceEntry*;
HRSRC FindResource(HMODULE module, TResId name, TResId type, const void* caller = RTL_CALLER_MODULE); // nullptr when absent
const void* LoadResource(HMODULE module, HRSRC resource);
// Every resource of a type in the module, in the order of its tables.
std::vector<HRSRC> EnumResources(HMODULE module, unsigned type, const void* caller = RTL_CALLER_MODULE);
std::size_t SizeofResource(HMODULE module, HRSRC resource);

// The bytes of a bitmap (.bmp), cursor (.cur) or icon (.ico) resource; empty when absent.
std::string_view LoadBitmapData(HMODULE module, TResId name, const void* caller = RTL_CALLER_MODULE);
std::string_view LoadCursorData(HMODULE module, TResId name, const void* caller = RTL_CALLER_MODULE);
std::string_view LoadIconData(HMODULE module, TResId name, const void* caller = RTL_CALLER_MODULE);

// A string resource: the copied length (at most bufferMax - 1, then a zero), 0 when absent.
int LoadString(HMODULE module, unsigned id, char* buffer, int bufferMax, const void* caller = RTL_CALLER_MODULE);
std::string LoadString(HMODULE module, unsigned id, const void* caller = RTL_CALLER_MODULE); // "" when absent
std::string LoadStr(unsigned id, const void* caller = RTL_CALLER_MODULE);                   // of the calling module

// Version information of a loaded module, by its file name. The block holds the strings of
// "\StringFileInfo\040904E4\" and "\VarFileInfo\Translation" (language 0x0409, code page 1252).
unsigned GetFileVersionInfoSize(std::string_view fileName, unsigned* handle); // 0: no block
bool GetFileVersionInfo(std::string_view fileName, unsigned handle, unsigned len, void* data);
// buffer points into block; len counts a string's characters with its zero.
bool VerQueryValue(const void* block, std::string_view subBlock, const void** buffer, unsigned* len);

// A Windows 95-family system: version 4.0 in the low word, the high bit set.
std::uint32_t GetVersion();

} // namespace rtl
