// The options store.
#include "declsearch/OptionsStore.h"

namespace declsearch {

TKwRegIniFile::TKwRegIniFile(rtl::HKEY rootKey, const std::string& keyPath) : rtl::TRegIniFile(rootKey, keyPath) {}

std::string TKwRegIniFile::ReadString(const std::string& section, const std::string& ident,
                                      const std::string& defaultValue) {
    try {
        return rtl::TRegIniFile::ReadString(section, ident, defaultValue);
    } catch (const rtl::ERegistryException&) {
        // Stored as another type than text, by something other than this library.
        return defaultValue;
    }
}

int TKwRegIniFile::ReadInteger(const std::string& section, const std::string& ident, int defaultValue) {
    try {
        return rtl::TRegIniFile::ReadInteger(section, ident, defaultValue);
    } catch (const rtl::ERegistryException&) {
        return defaultValue;
    }
}

bool TKwRegIniFile::ReadBool(const std::string& section, const std::string& ident, bool defaultValue) {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

std::unique_ptr<TKwRegIniFile> OpenOptionsStore() {
    return std::make_unique<TKwRegIniFile>(rtl::HKEY_CURRENT_USER, OptionsKeyPath);
}

TSearchSettings LoadSearchOptions(TKwRegIniFile& store) {
    const std::string last = "Options Last";
    TSearchSettings s;
    s.Function = store.ReadBool(last, "Function", true);
    s.Procedure = store.ReadBool(last, "Procedure", true);
    s.Interface = store.ReadBool(last, "Interface", true);
    s.Implementation = store.ReadBool(last, "Implementation", true);
    s.Class = store.ReadBool(last, "Class", false);
    s.Constructor = store.ReadBool(last, "Constructor", false);
    s.Destructor = store.ReadBool(last, "Destructor", false);
    s.Field = store.ReadBool(last, "Field", false);
    s.ClassFunction = store.ReadBool(last, "Class Function", false);
    s.ClassProcedure = store.ReadBool(last, "Class Procedure", false);
    s.Property = store.ReadBool(last, "Property", false);
    s.ClassName = store.ReadString(last, "Class Name", "");
    s.SearchText = store.ReadString(last, "Search Text", "");
    s.CaseSensitive = store.ReadBool(last, "Case Sensitive", false);
    s.WordSearch = store.ReadBool(last, "Word Search", false);
    s.Comment = store.ReadBool("Interface", "Comment", true);
    s.Indent = store.ReadBool("Interface", "Indent", true);
    return s;
}

} // namespace declsearch
