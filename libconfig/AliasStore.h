// Vorl's data: named library configurations (aliases) kept in an .ini file beside the program,
// read from and applied to the IDE's library registry key. Implementations in AliasStore.cpp.
#pragma once

#include "rtl/IniFiles.h"
#include "rtl/StringLists.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace libconfig {

// The nine values of one configuration, as they travel between the main window, the store and
// the registry. The search path is held as its list of folders.
struct TAliasValues {
    std::string AliasName;
    std::string LibraryFile;
    std::vector<std::string> SearchPath;
    std::string UnitAliases;
    int MapFile = 0; // 0 off, 1 segments, 2 publics, 3 detailed
    bool SaveSource = false;
    bool DebugInfo = false;
    bool Hints = false;
    bool Warnings = false;
};

// One stored alias: the section it was read from or written to and its values, the search path
// joined with ";".
class TIniRecord {
public:
    TIniRecord(std::string sectionName, std::string aliasName, std::string libraryFile, std::string searchPath,
               std::string unitAliases, int mapFile, bool saveSource, bool debugInfo, bool hints, bool warnings);

    std::string SectionName;
    std::string AliasName;
    std::string LibraryFile;
    std::string SearchPath;
    std::string UnitAliases;
    int MapFile;
    bool SaveSource;
    bool DebugInfo;
    bool Hints;
    bool Warnings;
};

// The alias list: alias names with their records as the entries' objects. The store owns the
// records and frees them with the list.
class TAliasStore {
public:
    explicit TAliasStore(std::string fileName);
    ~TAliasStore();
    TAliasStore(const TAliasStore&) = delete;
    TAliasStore& operator=(const TAliasStore&) = delete;

    const std::string& FileName() const { return FFileName; }
    rtl::TStringList& Aliases() { return FAliases; }
    TIniRecord* Record(int index) const;

    // Reads "Alias1", "Alias2", ... up to the first section without an alias name.
    void LoadAll();
    // Writes a new alias (record null) after the last one, or refreshes the record's own section.
    void Save(const TAliasValues& values, TIniRecord* record);
    // Removes the alias at index and renumbers the rest, in one rewrite of the file; on a failed
    // write nothing changes and EIniFileException "Unable to write to <file>" is raised.
    void Delete(int index);

private:
    void FreeRecords();

    std::string FFileName;
    rtl::TStringList FAliases;
};

// The alias of section "Alias<number>" as the store file holds it; null when its alias name is
// missing or empty, which ends the list.
std::unique_ptr<TIniRecord> ReadAlias(const rtl::TIniFile& ini, int number);

// A record's values in the main window's form.
TAliasValues ValuesOf(const TIniRecord& record);

// The section number of a section name "AliasN": all the digits after "Alias"; 0 when none.
int SectionNumber(std::string_view sectionName);

// The position of one separator, as SplitText collects them.
struct TSeparatorPosition {
    int Position;
};
using TSeparatorList = std::vector<std::unique_ptr<TSeparatorPosition>>;
void FreeSeparatorList(TSeparatorList& list);

// The non-empty segments of text between separators, in order.
void SplitText(std::string_view text, char separator, rtl::TStrings& list);
std::vector<std::string> SplitText(std::string_view text, char separator);
// The entries with ";" between them.
std::string JoinText(const std::vector<std::string>& entries);
int BoolToInt(bool value);

// The IDE's library settings.
inline constexpr const char* LibraryKey = "Software\\Borland\\Delphi\\2.0\\Library";
inline constexpr const char* IDEWindowClasses[] = {"TAppBuilder", "TPropertyInspector", "TProjectManager",
                                                   "TWatchWindow"};

// Reads the IDE's key into values (the alias name stays); a map level outside 0 to 3 keeps the
// one values had. A key that cannot be opened raises ERegistryException saying so.
void ReadIDESettings(TAliasValues& values);

struct TApplyResult {
    bool Refused = false; // an IDE window is open: nothing was written
    bool Failed = false;  // the key could not be opened or written: Message says which
    std::string Message;
};
// Writes the values into the IDE's key unless an IDE window is open; never into another key.
TApplyResult ApplyToIDE(const TAliasValues& values);

bool IsIDERunning();

} // namespace libconfig
