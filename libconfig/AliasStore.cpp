// The alias store file and the list operations on it.
#include "libconfig/AliasStore.h"

#include "rtl/Files.h"
#include "rtl/IniFiles.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace libconfig {
namespace {

std::string SectionName(int number) { return "Alias" + std::to_string(number); }

void WriteValues(rtl::TIniFile& ini, const std::string& section, const TAliasValues& v) {
    ini.WriteString(section, "Alias", v.AliasName);
    ini.WriteString(section, "Filename", v.LibraryFile);
    ini.WriteString(section, "Path", JoinText(v.SearchPath));
    ini.WriteString(section, "Unit Aliases", v.UnitAliases);
    ini.WriteInteger(section, "MapFile", v.MapFile);
    ini.WriteInteger(section, "SaveSource", BoolToInt(v.SaveSource));
    ini.WriteInteger(section, "DebugInfo", BoolToInt(v.DebugInfo));
    ini.WriteInteger(section, "Hints", BoolToInt(v.Hints));
    ini.WriteInteger(section, "Warnings", BoolToInt(v.Warnings));
}

std::string ReadWhole(const std::string& hostPath, bool& exists) {
    std::ifstream in(hostPath, std::ios::binary);
    exists = static_cast<bool>(in);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// A scratch folder for building the new store beside nothing the user owns.
class TScratchDir {
public:
    TScratchDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vorl-XXXXXX").string();
        if (mkdtemp(tmpl.data())) FPath = tmpl;
    }
    ~TScratchDir() {
        std::error_code ec;
        if (!FPath.empty()) std::filesystem::remove_all(FPath, ec);
    }
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

} // namespace

TIniRecord::TIniRecord(std::string sectionName, std::string aliasName, std::string libraryFile,
                       std::string searchPath, std::string unitAliases, int mapFile, bool saveSource,
                       bool debugInfo, bool hints, bool warnings)
    : SectionName(std::move(sectionName)), AliasName(std::move(aliasName)), LibraryFile(std::move(libraryFile)),
      SearchPath(std::move(searchPath)), UnitAliases(std::move(unitAliases)), MapFile(mapFile),
      SaveSource(saveSource), DebugInfo(debugInfo), Hints(hints), Warnings(warnings) {}

TAliasValues ValuesOf(const TIniRecord& r) {
    TAliasValues v;
    v.AliasName = r.AliasName;
    v.LibraryFile = r.LibraryFile;
    v.SearchPath = SplitText(r.SearchPath, ';');
    v.UnitAliases = r.UnitAliases;
    v.MapFile = r.MapFile;
    v.SaveSource = r.SaveSource;
    v.DebugInfo = r.DebugInfo;
    v.Hints = r.Hints;
    v.Warnings = r.Warnings;
    return v;
}

int SectionNumber(std::string_view sectionName) {
    if (sectionName.size() <= 5) return 0;
    int n = 0;
    for (char c : sectionName.substr(5)) {
        if (!std::isdigit(static_cast<unsigned char>(c))) break;
        n = n * 10 + (c - '0');
    }
    return n;
}

TAliasStore::TAliasStore(std::string fileName) : FFileName(std::move(fileName)) {}

TAliasStore::~TAliasStore() { FreeRecords(); }

void TAliasStore::FreeRecords() {
    for (int i = 0; i < FAliases.Count(); ++i) delete static_cast<TIniRecord*>(FAliases.Objects(i));
    FAliases.Clear();
}

TIniRecord* TAliasStore::Record(int index) const { return static_cast<TIniRecord*>(FAliases.Objects(index)); }

std::unique_ptr<TIniRecord> ReadAlias(const rtl::TIniFile& ini, int number) {
    const std::string section = SectionName(number);
    std::string alias = ini.ReadString(section, "Alias", "");
    if (alias.empty()) return nullptr;
    return std::make_unique<TIniRecord>(section, alias, ini.ReadString(section, "Filename", ""),
                                        ini.ReadString(section, "Path", ""), ini.ReadString(section, "Unit Aliases", ""),
                                        ini.ReadInteger(section, "MapFile", 0), ini.ReadInteger(section, "SaveSource", 0) != 0,
                                        ini.ReadInteger(section, "DebugInfo", 0) != 0,
                                        ini.ReadInteger(section, "Hints", 0) != 0,
                                        ini.ReadInteger(section, "Warnings", 0) != 0);
}

void TAliasStore::LoadAll() {
    FreeRecords();
    rtl::TIniFile ini(FFileName);
    for (int n = 1;; ++n) {
        std::unique_ptr<TIniRecord> record = ReadAlias(ini, n);
        if (!record) break;
        FAliases.AddObject(record->AliasName, record.get());
        record.release();
    }
}

void TAliasStore::Save(const TAliasValues& v, TIniRecord* record) {
    const int number = record ? SectionNumber(record->SectionName) : FAliases.Count() + 1;
    const std::string section = SectionName(number);
    rtl::TIniFile ini(FFileName);
    WriteValues(ini, section, v);
    if (!record) {
        auto made = std::make_unique<TIniRecord>(section, v.AliasName, v.LibraryFile, JoinText(v.SearchPath),
                                                 v.UnitAliases, v.MapFile, v.SaveSource, v.DebugInfo, v.Hints,
                                                 v.Warnings);
        FAliases.AddObject(v.AliasName, made.get());
        made.release();
        return;
    }
    record->LibraryFile = v.LibraryFile;
    record->SearchPath = JoinText(v.SearchPath);
    record->UnitAliases = v.UnitAliases;
    record->MapFile = v.MapFile;
    record->SaveSource = v.SaveSource;
    record->DebugInfo = v.DebugInfo;
    record->Hints = v.Hints;
    record->Warnings = v.Warnings;
}

void TAliasStore::Delete(int index) {
    if (index < 0 || index >= FAliases.Count()) return;
    // The new store is built in a scratch copy and written over the old one in one rewrite, so a
    // failure leaves the file, the list and the records as they were.
    const std::string target = rtl::HostPath(FFileName);
    bool exists = false;
    const std::string old = ReadWhole(target, exists);
    TScratchDir scratch;
    if (scratch.Path().empty()) throw rtl::EIniFileException("Unable to write to " + FFileName);
    const std::string copyHost = scratch.Path() + "/store.ini";
    std::ofstream(copyHost, std::ios::binary) << old;
    const std::string copyName = rtl::WinPath(copyHost);
    // A failure in the scratch copy is one in writing the store, as the user sees it.
    try {
        rtl::TIniFile ini(copyName);
        for (int n = 1; !ini.ReadString(SectionName(n), "Alias", "").empty(); ++n) ini.EraseSection(SectionName(n));
        int number = 0;
        for (int i = 0; i < FAliases.Count(); ++i) {
            if (i == index) continue;
            WriteValues(ini, SectionName(++number), ValuesOf(*Record(i)));
        }
    } catch (const rtl::Exception&) {
        throw rtl::EIniFileException("Unable to write to " + FFileName);
    }
    bool copied = false;
    const std::string rewritten = ReadWhole(copyHost, copied);
    try {
        rtl::WriteFileAtomic(FFileName, rewritten);
    } catch (const rtl::Exception&) {
        throw rtl::EIniFileException("Unable to write to " + FFileName);
    }
    delete Record(index);
    FAliases.Delete(index);
    for (int i = 0; i < FAliases.Count(); ++i) Record(i)->SectionName = SectionName(i + 1);
}

void FreeSeparatorList(TSeparatorList& list) { list.clear(); }

void SplitText(std::string_view text, char separator, rtl::TStrings& list) {
    TSeparatorList positions;
    for (std::size_t at = text.find(separator); at != std::string_view::npos; at = text.find(separator, at + 1))
        positions.push_back(std::make_unique<TSeparatorPosition>(TSeparatorPosition{static_cast<int>(at)}));
    positions.push_back(std::make_unique<TSeparatorPosition>(TSeparatorPosition{static_cast<int>(text.size())}));
    list.Clear();
    int start = 0;
    for (const auto& p : positions) {
        if (p->Position > start) list.Add(std::string(text.substr(start, p->Position - start)));
        start = p->Position + 1;
    }
    FreeSeparatorList(positions);
}

std::vector<std::string> SplitText(std::string_view text, char separator) {
    rtl::TStringList list;
    SplitText(text, separator, list);
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
    return out;
}

std::string JoinText(const std::vector<std::string>& entries) {
    std::string out;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i) out += ';';
        out += entries[i];
    }
    return out;
}

int BoolToInt(bool value) { return value ? 1 : 0; }

} // namespace libconfig
