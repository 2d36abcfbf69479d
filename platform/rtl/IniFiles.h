// Profile files (.ini): the profile calls over any file and over WIN.INI, and TIniFile on top of
// them. Sections and keys match without regard to case, blanks around names and values and one
// pair of surrounding quotes are stripped, and a write keeps every other line of the file as it
// was. A file name without a folder lies in the Windows folder. Implementations in IniFiles.cpp.
#pragma once

#include "rtl/Exceptions.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rtl {

class TStrings;

// The value of key in section, or defaultValue (trailing blanks dropped) when there is none,
// copied into buffer of size bytes and cut to fit with its terminating zero; the number of
// characters copied. A null key lists the section's keys, a null section the file's sections:
// each name ends in a zero and the list in a second one; a list cut short ends in two zeros
// and gives size - 2.
std::uint32_t GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                      char* buffer, std::uint32_t size, const char* fileName);
// The leading decimal number of the value (0 when it has none), or defaultValue when the key
// is missing or empty.
int GetPrivateProfileInt(const char* section, const char* key, int defaultValue, const char* fileName);
// The section's "key=value" pairs, listed as GetPrivateProfileString lists names.
std::uint32_t GetPrivateProfileSection(const char* section, char* buffer, std::uint32_t size,
                                       const char* fileName);
std::uint32_t GetPrivateProfileSectionNames(char* buffer, std::uint32_t size, const char* fileName);
// Sets key to value, making section and file when missing. A null value erases the key, a null
// key erases the section. False when the file cannot be written or a name or value would not
// read back (a line break, "=" in a key, "]" in a section).
bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* fileName);

// The same on WIN.INI.
std::uint32_t GetProfileString(const char* section, const char* key, const char* defaultValue,
                               char* buffer, std::uint32_t size);
int GetProfileInt(const char* section, const char* key, int defaultValue);

RTL_DECLARE_EXCEPTION(EIniFileException, Exception);

// One profile file. Every call goes straight to the file.
class TIniFile {
public:
    explicit TIniFile(std::string fileName);
    virtual ~TIniFile() = default;
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& FileName() const { return FFileName; }

    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& defaultValue) const;
    // Decimal, or hexadecimal after "0x"; a missing value or one that is no number gives the default.
    int ReadInteger(const std::string& section, const std::string& ident, int defaultValue) const;
    bool ReadBool(const std::string& section, const std::string& ident, bool defaultValue) const;
    // Each raises EIniFileException "Unable to write to <file name>" when the write fails.
    void WriteString(const std::string& section, const std::string& ident, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& ident, int value);
    void WriteBool(const std::string& section, const std::string& ident, bool value);

    void ReadSection(const std::string& section, TStrings& strings) const;      // key names
    void ReadSections(TStrings& strings) const;                                 // section names
    void ReadSectionValues(const std::string& section, TStrings& strings) const; // "key=value"
    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& ident);
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& ident) const;

private:
    [[noreturn]] void WriteError() const;

    std::string FFileName;
};

} // namespace rtl
