// The results of a declaration search as the results window shows them: the rows in scan order,
// the visible rows under expanded file headers, the selection, the counts and status text, and
// what the user chose to go to. The window binds the callbacks and draws; this holds the rules.
// Implementations in Results.cpp and Search.cpp.
#pragma once

#include "declsearch/Commands.h"
#include "declsearch/Scanner.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace declsearch {

class TKwRegIniFile;
class TIdeHooks;

// One row of the results.
struct TProcLine {
    std::string FileName; // empty for an error row and for "Nothing found"
    int32_t Line = 0;     // 1-based; 0 for a file header, an error row and "Nothing found"
    int32_t Pos = 0;      // match column; 0 for a file header, -1 for rows that cannot be gone to
    std::string Key;      // the highlighted name, search text or section keyword
    bool Expanded = true; // file headers only
    TRowKind Kind = TRowKind::Hit;
    int32_t TextPos = 0;  // where the match stands in the row text, 0 when it is not shown

    bool IsHeader() const { return Line == 0; }
};

struct TResultRow {
    std::string Text;
    TProcLine Row;
};

struct TVisibleRow {
    std::string Text;
    int Index = 0; // into the results
};

// An entry of the list's popup menu of files.
struct TFileMenuItem {
    std::string Name;    // "File" followed by the header's index in the results
    std::string Caption; // the short file name
    std::string Hint;    // the full file name
};

// A name of at most 32 characters stays whole; a longer one keeps its drive and its end.
std::string ShortFileName(std::string_view fileName);

class TResultsModel {
public:
    TResultsModel() = default;
    TResultsModel(const TResultsModel&) = delete;
    TResultsModel& operator=(const TResultsModel&) = delete;

    // What a command hands in and reads back.
    const std::string& CurrentFile() const { return FCurrentFile; }
    void SetCurrentFile(std::string value) { FCurrentFile = std::move(value); }
    const std::vector<std::string>& ProjectUnits() const { return FProjectUnits; }
    void SetProjectUnits(std::vector<std::string> value) { FProjectUnits = std::move(value); }
    TCommand NextAction() const { return FNextAction; }
    void SetNextAction(TCommand value) { FNextAction = value; }
    int32_t GotoLine() const { return FGotoLine; }
    int32_t GotoColumn() const { return FGotoColumn; }
    // Forgets an earlier choice, so that a showing moves the editor only for its own.
    void ClearGoto() {
        FGotoLine = -1;
        FGotoColumn = 0;
    }

    // Display settings as the last search read them.
    const std::string& FontName() const { return FFontName; }
    int FontSize() const { return FFontSize; }
    uint32_t MatchColor() const { return FMatchColor; }

    const std::vector<TResultRow>& Results() const { return FResults; }
    const std::vector<TVisibleRow>& Visible() const { return FVisible; }
    // The selected visible row, -1 for none.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int index);
    const TProcLine* SelectedRow() const;
    bool ListEnabled() const { return FListEnabled; }
    int FileCount() const { return FFileCount; }
    int HitCount() const { return FHitCount; }
    // The status line's file name.
    const std::string& StatusFileName() const { return FStatusFileName; }

    // The whole search over the files the store and the command give.
    void Search(TKwRegIniFile& store, const TIdeHooks& hooks);
    // Steps of the search after the file list and the settings are known.
    void ScanFiles(const std::vector<std::string>& files, const TSearchSettings& settings, int tabWidth);
    // The files a search reads: the chosen files of the store, else its scope.
    std::vector<std::string> SearchFiles(TKwRegIniFile& store) const;

    void ClearResults();
    void AddRow(std::string text, TProcLine row);
    // Drops sections and file headers without hits; gives the files and hits that stay.
    void CountAndPrune(int& files, int& hits);
    void RebuildVisibleList();

    void ExpandAll(bool expanded);
    // Left and Right on the list: act on a selected header only; true when a row is selected.
    bool CollapseSelected();
    bool ExpandSelected();
    // A double click: goes to a line row, folds or unfolds a header. True when the window closes.
    bool ActivateSelected();

    void UpdateStatus();
    // Selects the first visible line row whose text holds text; false when none does.
    bool SpeedSearch(std::string_view text, bool caseSensitive);
    std::vector<TFileMenuItem> FileMenuItems() const;
    void FileMenuItemClick(std::string_view hint);
    // Goto on the selected row; true when the window is to close.
    bool GotoSelected();

    // Bound by the window.
    std::function<void(bool busy)> OnBusy;       // hourglass on and off
    std::function<void()> OnProcessMessages;     // every 100 lines
    std::function<void()> OnDisplaySettings;     // font and match colour were read
    std::function<void()> OnListChanged;         // visible rows, selection or enabled state
    std::function<void()> OnStatusChanged;       // status file name or counts

private:
    void SetExpanded(int visibleIndex, bool expanded);
    void ListChanged() const;
    void StatusChanged() const;
    void FinishSearch();

    std::vector<TResultRow> FResults;
    std::vector<TVisibleRow> FVisible;
    int FItemIndex = -1;
    bool FListEnabled = true;
    int FFileCount = 0;
    int FHitCount = 0;
    std::string FStatusFileName;

    std::string FCurrentFile;
    std::vector<std::string> FProjectUnits;
    TCommand FNextAction = cmdNone;
    int32_t FGotoLine = -1;
    int32_t FGotoColumn = 0;

    std::string FFontName = "Courier New";
    int FFontSize = 10;
    uint32_t FMatchColor = 255;
};

} // namespace declsearch
