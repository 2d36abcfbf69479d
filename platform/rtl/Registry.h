// The registry: HKEY_CURRENT_USER kept in the machine root's user.reg as REGEDIT4 text, shared
// by every process of the suite. The Reg* calls work on it under a file lock; TRegistry and
// TRegIniFile are the class library's faces of it. Implementations in Registry.cpp.
#pragma once

#include "rtl/Exceptions.h"
#include "rtl/Files.h" // ERROR_FILE_NOT_FOUND, shared with the file routines

#include <cstdint>
#include <string>

namespace rtl {

class TStrings;

struct HKEY__;
using HKEY = HKEY__*;
using REGSAM = std::uint32_t;

inline HKEY const HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(std::uintptr_t{0x80000000});
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001});
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t{0x80000002});
inline HKEY const HKEY_USERS = reinterpret_cast<HKEY>(std::uintptr_t{0x80000003});

// Value types.
constexpr std::uint32_t REG_NONE = 0;
constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_EXPAND_SZ = 2;
constexpr std::uint32_t REG_BINARY = 3;
constexpr std::uint32_t REG_DWORD = 4;
constexpr std::uint32_t REG_MULTI_SZ = 7;

// Access rights.
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

constexpr std::uint32_t REG_CREATED_NEW_KEY = 1;
constexpr std::uint32_t REG_OPENED_EXISTING_KEY = 2;

// Results of the Reg* calls.
constexpr long ERROR_SUCCESS = 0;
constexpr long ERROR_ACCESS_DENIED = 5;
constexpr long ERROR_INVALID_HANDLE = 6;
constexpr long ERROR_INVALID_PARAMETER = 87;
constexpr long ERROR_MORE_DATA = 234;
constexpr long ERROR_CANTWRITE = 1013;
constexpr long ERROR_KEY_DELETED = 1018;

// Only HKEY_CURRENT_USER is kept; the other roots answer ERROR_ACCESS_DENIED. Subkey paths are
// names joined by '\'; names match without regard to case and keep the case they were made with.
// A change is on disk when the call returns; a failed write changes nothing and answers
// ERROR_CANTWRITE.
long RegOpenKeyEx(HKEY key, const char* subKey, std::uint32_t options, REGSAM access, HKEY* result);
long RegCreateKeyEx(HKEY key, const char* subKey, std::uint32_t reserved, const char* className,
                    std::uint32_t options, REGSAM access, const void* security, HKEY* result,
                    std::uint32_t* disposition);
long RegCloseKey(HKEY key);
// Deletes the subkey with everything below it.
long RegDeleteKey(HKEY key, const char* subKey);
long RegDeleteValue(HKEY key, const char* valueName);
// A null data gives the size alone; a too small buffer gives ERROR_MORE_DATA and the size needed.
long RegQueryValueEx(HKEY key, const char* valueName, std::uint32_t* reserved, std::uint32_t* type,
                     unsigned char* data, std::uint32_t* dataSize);
long RegSetValueEx(HKEY key, const char* valueName, std::uint32_t reserved, std::uint32_t type,
                   const unsigned char* data, std::uint32_t dataSize);

RTL_DECLARE_EXCEPTION(ERegistryException, Exception);

enum class TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

// A current key under a root key. Key paths with a leading '\' start at the root, others at the
// current key (at the root while none is open).
class TRegistry {
public:
    TRegistry();
    virtual ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return FRootKey; }
    // Raises ERegistryException for any root but HKEY_CURRENT_USER.
    void SetRootKey(HKEY value);
    HKEY CurrentKey() const { return FCurrentKey; }
    const std::string& CurrentPath() const { return FCurrentPath; }

    // A successful open makes the key the current key; a failed one leaves none, so that the
    // values meant for the key asked for go nowhere else.
    bool OpenKey(const std::string& key, bool canCreate);
    void CloseKey();
    bool KeyExists(const std::string& key);
    bool DeleteKey(const std::string& key);
    void GetKeyNames(TStrings& strings);

    bool ValueExists(const std::string& name);
    bool DeleteValue(const std::string& name);
    void GetValueNames(TStrings& strings);
    TRegDataType GetDataType(const std::string& name);

    // A missing value reads as ""; a value of another type raises ERegistryException.
    std::string ReadString(const std::string& name);
    // A missing value or one of another type raises ERegistryException.
    int ReadInteger(const std::string& name);
    bool ReadBool(const std::string& name);
    // A failed write raises ERegistryException.
    void WriteString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, int value);
    void WriteBool(const std::string& name, bool value);

protected:
    // Values live in the current key only: with none open every value call fails, as on Windows,
    // rather than reaching the root.
    HKEY ValueKey() const { return FCurrentKey; }

private:
    HKEY BaseKey(bool relative) const { return relative && FCurrentKey ? FCurrentKey : FRootKey; }

    HKEY FRootKey;
    HKEY FCurrentKey = nullptr;
    std::string FCurrentPath;
};

// An ini file kept in the registry: the key path is the file, its subkeys the sections, and
// every value text (integers in decimal, Booleans "1"/"0"). A missing section or value reads as
// the caller's default; sections are made when written to.
class TRegIniFile : public TRegistry {
public:
    explicit TRegIniFile(const std::string& fileName);
    TRegIniFile(HKEY rootKey, const std::string& fileName);

    const std::string& FileName() const { return FFileName; }

    // A value of another type than text raises ERegistryException.
    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& defaultValue);
    // Decimal, or hexadecimal after "0x"; text that is no number gives the default.
    int ReadInteger(const std::string& section, const std::string& ident, int defaultValue);
    bool ReadBool(const std::string& section, const std::string& ident, bool defaultValue);
    void WriteString(const std::string& section, const std::string& ident, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& ident, int value);
    void WriteBool(const std::string& section, const std::string& ident, bool value);

    void ReadSection(const std::string& section, TStrings& strings);       // value names
    void ReadSections(TStrings& strings);                                  // subkey names
    void ReadSectionValues(const std::string& section, TStrings& strings); // "name=value"
    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& ident);

private:
    std::string FFileName;
};

} // namespace rtl
