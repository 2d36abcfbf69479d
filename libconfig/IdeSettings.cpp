// Reading the IDE's library registry key into a configuration and writing one back.
#include "libconfig/AliasStore.h"

#include "rtl/Registry.h"
#include "rtl/SysUtils.h"

#include <utility>

namespace libconfig {
namespace {

// The store's and the key's integer form: decimal, or hexadecimal after "0x"; anything else 0.
int ParseInt(const std::string& text) {
    const std::string s = rtl::Trim(text);
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) return rtl::StrToIntDef("$" + s.substr(2), 0);
    return rtl::StrToIntDef(s, 0);
}

std::string KeyName() { return std::string("HKEY_CURRENT_USER\\") + LibraryKey; }

// Opens the library key for one read or write and closes it at once, also when an error passes.
// A key that cannot be opened raises, so that nothing is read from or written to another.
class TLibraryKey {
public:
    TLibraryKey() {
        if (!FReg.OpenKey(std::string("\\") + LibraryKey, true))
            throw rtl::ERegistryException("Unable to open registry key " + KeyName());
    }
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
    if (IsIDERunning()) return {true, false, "Delphi IDE is running, library configuration cannot be changed!"};
    const std::pair<const char*, std::string> values[] = {
        {"ComponentLibrary", v.LibraryFile},
        {"SearchPath", JoinText(v.SearchPath)},
        {"UnitAliases", v.UnitAliases},
        {"SaveLibrarySource", std::to_string(BoolToInt(v.SaveSource))},
        {"MapFile", std::to_string(v.MapFile)},
        {"DebugInfo", std::to_string(BoolToInt(v.DebugInfo))},
        {"ShowWarnings", std::to_string(BoolToInt(v.Warnings))},
        {"ShowHints", std::to_string(BoolToInt(v.Hints))},
    };
    int changed = 0; // values the key now holds other than before
    try {
        TLibraryKey key;
        for (const auto& [name, value] : values) {
            bool differs = true;
            try {
                differs = key->ReadString(name) != value;
            } catch (const rtl::ERegistryException&) {
                // a value of another type: the write replaces it
            }
            key->WriteString(name, value);
            changed += differs;
        }
    } catch (const rtl::ERegistryException& e) {
        std::string message = e.Message();
        if (message.rfind("Unable to open", 0) != 0)
            message = "Unable to write to registry key " + KeyName() + " (" + message + ")";
        return {false, true,
                message + ".\n" +
                    (changed == 0 ? "The library configuration was not changed."
                                  : "The library configuration was changed only in part.")};
    }
    return {false, false, "Registry updated. New library configuration\nwill take effect next time you start Delphi."};
}

} // namespace libconfig
