// Delvo's options: one registry key of the current user used as an ini file, kept open while
// the library is loaded, and the search settings read from it. Implementations in OptionsStore.cpp.
#pragma once

#include "declsearch/Scanner.h"
#include "rtl/Registry.h"

#include <memory>
#include <string>

namespace declsearch {

inline constexpr const char* OptionsKeyPath = "Software\\Kwentra\\Delvo";

// Sections are subkeys of the key, every value is text (integers in decimal, Booleans "1" or
// "0"); a missing value, one that is no number where a number is read, or one stored as another
// type than text reads as the caller's default.
class TKwRegIniFile : public rtl::TRegIniFile {
public:
    // Creates the key when it is missing.
    TKwRegIniFile(rtl::HKEY rootKey, const std::string& keyPath);

    std::string ReadString(const std::string& section, const std::string& ident, const std::string& defaultValue);
    int ReadInteger(const std::string& section, const std::string& ident, int defaultValue);
    bool ReadBool(const std::string& section, const std::string& ident, bool defaultValue);
};

// The store under HKEY_CURRENT_USER\Software\Kwentra\Delvo.
std::unique_ptr<TKwRegIniFile> OpenOptionsStore();

// The settings of the next search: section "Options Last", and "Comment" and "Indent" of
// section "Interface".
TSearchSettings LoadSearchOptions(TKwRegIniFile& store);

} // namespace declsearch
