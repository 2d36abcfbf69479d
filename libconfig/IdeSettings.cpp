// Reading the IDE's library registry key into a configuration and writing one back.
#include "libconfig/AliasStore.h"

#include "rtl/Registry.h"
#include "rtl/SysUtils.h"

namespace libconfig {
namespace {

// The store's and the key's integer form: decimal, or hexadecimal after "0x"; anything else 0.
int ParseInt(const std::string& text) {
    const std::string s = rtl::Trim(text);
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) return rtl::StrToIntDef("$" + s.substr(2), 0);
    return rtl::StrToIntDef(s, 0);
}

// Opens the library key for one read or write and closes it at once, also when an error passes.
class TLibraryKey {
public:
    TLibraryKey() { FReg.OpenKey(std::string("\\") + LibraryKey, true); }
    ~TLibraryKey() { FReg.CloseKey(); }
    rtl::TRegistry& operator*() { return FReg; }
    rtl::TRegistry* operator->() { return &FReg; }

private:
    rtl::TRegistry FReg;
};

} // namespace

void ReadIDESettings(TAliasValues& values) {
    TLibraryKey key;
    const std::string searchPath = key->ReadString("SearchPath");
    const std::string library = key->ReadString("ComponentLibrary");
    const bool saveSource = ParseInt(key->ReadString("SaveLibrarySource")) != 0;
    const int mapFile = ParseInt(key->ReadString("MapFile"));
    const bool debugInfo = ParseInt(key->ReadString("DebugInfo")) != 0;
    const bool warnings = ParseInt(key->ReadString("ShowWarnings")) != 0;
    const bool hints = ParseInt(key->ReadString("ShowHints")) != 0;
    const std::string unitAliases = key->ReadString("UnitAliases");

    values.LibraryFile = library;
    values.UnitAliases = unitAliases;
    values.SearchPath = SplitText(searchPath, ';');
    if (mapFile >= 0 && mapFile <= 3) values.MapFile = mapFile;
    values.SaveSource = saveSource;
    values.DebugInfo = debugInfo;
    values.Warnings = warnings;
    values.Hints = hints;
}

TApplyResult ApplyToIDE(const TAliasValues& v) {
    if (IsIDERunning()) return {true, "Delphi IDE is running, library configuration cannot be changed!"};
    {
        TLibraryKey key;
        key->WriteString("ComponentLibrary", v.LibraryFile);
        key->WriteString("SearchPath", JoinText(v.SearchPath));
        key->WriteString("UnitAliases", v.UnitAliases);
        key->WriteString("SaveLibrarySource", std::to_string(BoolToInt(v.SaveSource)));
        key->WriteString("MapFile", std::to_string(v.MapFile));
        key->WriteString("DebugInfo", std::to_string(BoolToInt(v.DebugInfo)));
        key->WriteString("ShowWarnings", std::to_string(BoolToInt(v.Warnings)));
        key->WriteString("ShowHints", std::to_string(BoolToInt(v.Hints)));
    }
    return {false, "Registry updated. New library configuration\nwill take effect next time you start Delphi."};
}

} // namespace libconfig
