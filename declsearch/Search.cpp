// The search: the file list, the settings, and one scan over every file of the list.
#include "declsearch/Results.h"

#include "declsearch/IdeHooks.h"
#include "declsearch/OptionsStore.h"
#include "declsearch/SourceFiles.h"
#include "rtl/CodePages.h"

namespace declsearch {

namespace {

// The hourglass for as long as the search runs, also when an error passes.
class TBusyGuard {
public:
    explicit TBusyGuard(const std::function<void(bool)>& onBusy) : FOnBusy(onBusy) {
        if (FOnBusy) FOnBusy(true);
    }
    ~TBusyGuard() {
        if (FOnBusy) FOnBusy(false);
    }
    TBusyGuard(const TBusyGuard&) = delete;
    TBusyGuard& operator=(const TBusyGuard&) = delete;

private:
    const std::function<void(bool)>& FOnBusy;
};

} // namespace

void TResultsModel::Search(TKwRegIniFile& store, const TIdeHooks& hooks) {
    TBusyGuard busy(OnBusy);
    ClearResults();
    std::vector<std::string> files = SearchFiles(store);

    int tabWidth = hooks.TabRack();
    TSearchSettings settings = LoadSearchOptions(store);
    FFontName = store.ReadString("Interface", "Font Name", "Courier New");
    FFontSize = store.ReadInteger("Interface", "Font Size", 10);
    FMatchColor = static_cast<uint32_t>(store.ReadInteger("Interface", "Color", 255));
    if (OnDisplaySettings) OnDisplaySettings();

    ScanFiles(files, settings, tabWidth);
}

std::vector<std::string> TResultsModel::SearchFiles(TKwRegIniFile& store) const {
    std::vector<std::string> files;
    std::string path = store.ReadString("User Defined", "Path", "");
    std::string folder = FolderPart(path);
    for (int i = 0;; ++i) {
        std::string name = store.ReadString("User Defined", "File" + std::to_string(i), "");
        if (name.empty()) break;
        files.push_back(ResolveInFolder(folder, name));
    }
    if (!files.empty()) return files;
    // The options window stores this when the user unchecked every file of the list.
    if (store.ReadBool("User Defined", "No File", false)) return files;

    switch (store.ReadInteger("Files", "Option", 1)) {
    case 1:
        files.push_back(FCurrentFile);
        break;
    case 2:
        if (FProjectUnits.empty())
            files.push_back(FCurrentFile);
        else
            files = FProjectUnits;
        break;
    case 3:
        files = FindFiles(path);
        break;
    default:
        break;
    }
    return files;
}

void TResultsModel::ScanFiles(const std::vector<std::string>& files, const TSearchSettings& settings,
                              int tabWidth) {
    ClearResults();
    FGotoLine = -1;
    TLineScanner scanner(settings, tabWidth);
    // One buffer for every file, scanned in place.
    TFileReader file;
    TTextMarks marks;
    std::vector<TScanHit> hits;
    for (const std::string& name : files) {
        if (!file.Read(name)) {
            TProcLine error;
            error.Pos = -1;
            error.Kind = TRowKind::Error;
            AddRow(rtl::CharUpperStr(name) + ": File could not be opened", std::move(error));
            continue;
        }
        TProcLine header;
        header.FileName = name;
        header.Kind = TRowKind::FileHeader;
        AddRow(rtl::CharUpperStr(name), std::move(header));

        scanner.Reset();
        MarkText(file.Text(), marks);
        TLineReader lines(file.Text(), &marks);
        int lineNo = 0;
        TLineSigns signs;
        for (std::string_view line; lines.Next(line, signs);) {
            ++lineNo;
            if (lineNo % 100 == 0 && OnProcessMessages) OnProcessMessages();
            hits.clear();
            scanner.ScanLine(lineNo, line, signs, hits);
            for (TScanHit& hit : hits) {
                TProcLine row;
                row.FileName = name;
                row.Line = hit.Line;
                row.Pos = hit.Pos;
                row.Key = std::move(hit.Key);
                row.Kind = hit.Kind;
                row.TextPos = hit.TextPos;
                AddRow(std::move(hit.Text), std::move(row));
            }
        }
    }
    FinishSearch();
}

} // namespace declsearch
