// The results model: pruning, the visible rows, selection, status and the Goto decision.
#include "declsearch/Results.h"

#include "declsearch/LineRules.h"

namespace declsearch {

std::string ShortFileName(std::string_view fileName) {
    if (fileName.size() <= 32) return std::string(fileName);
    if (fileName[1] == ':')
        return std::string(fileName.substr(0, 3)) + "..." + std::string(fileName.substr(fileName.size() - 26));
    return std::string(fileName.substr(fileName.size() - 32));
}

void TResultsModel::ListChanged() const {
    if (OnListChanged) OnListChanged();
}

void TResultsModel::StatusChanged() const {
    if (OnStatusChanged) OnStatusChanged();
}

void TResultsModel::SetItemIndex(int index) {
    FItemIndex = index >= 0 && index < static_cast<int>(FVisible.size()) ? index : -1;
    ListChanged();
}

const TProcLine* TResultsModel::SelectedRow() const {
    if (FItemIndex < 0 || FItemIndex >= static_cast<int>(FVisible.size())) return nullptr;
    return &FResults[FVisible[FItemIndex].Index].Row;
}

void TResultsModel::ClearResults() {
    FResults.clear();
    FVisible.clear();
    FItemIndex = -1;
}

void TResultsModel::AddRow(std::string text, TProcLine row) {
    FResults.push_back({std::move(text), std::move(row)});
}

void TResultsModel::CountAndPrune(int& files, int& hits) {
    files = hits = 0;
    int sectionHits = 0;
    int fileHits = 0;
    std::vector<bool> dropped(FResults.size(), false);
    for (std::size_t i = FResults.size(); i-- > 0;) {
        const TProcLine& row = FResults[i].Row;
        bool drop = false;
        switch (row.Kind) {
        case TRowKind::Section:
            if (sectionHits > 0)
                sectionHits = 0;
            else
                drop = true;
            break;
        case TRowKind::FileHeader:
        case TRowKind::Error:
        case TRowKind::NothingFound:
            sectionHits = 0;
            if (fileHits > 0) {
                ++files;
                fileHits = 0;
            } else if (row.Kind == TRowKind::FileHeader) {
                drop = true;
            }
            break;
        case TRowKind::Hit:
            ++sectionHits;
            ++fileHits;
            ++hits;
            break;
        }
        dropped[i] = drop;
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < FResults.size(); ++i)
        if (!dropped[i]) {
            if (kept != i) FResults[kept] = std::move(FResults[i]);
            ++kept;
        }
    FResults.resize(kept);
}

void TResultsModel::RebuildVisibleList() {
    int selected = FItemIndex;
    FVisible.clear();
    FVisible.reserve(FResults.size());
    bool shown = true;
    for (std::size_t i = 0; i < FResults.size(); ++i) {
        const TResultRow& r = FResults[i];
        if (r.Row.IsHeader()) shown = r.Row.Expanded;
        if (r.Row.IsHeader() || shown) FVisible.push_back({r.Text, static_cast<int>(i)});
    }
    FItemIndex = selected < static_cast<int>(FVisible.size()) ? selected : -1;
    ListChanged();
}

void TResultsModel::ExpandAll(bool expanded) {
    for (TResultRow& r : FResults)
        if (r.Row.IsHeader()) r.Row.Expanded = expanded;
    RebuildVisibleList();
}

void TResultsModel::SetExpanded(int visibleIndex, bool expanded) {
    FResults[FVisible[visibleIndex].Index].Row.Expanded = expanded;
    RebuildVisibleList();
}

bool TResultsModel::CollapseSelected() {
    const TProcLine* row = SelectedRow();
    if (!row) return false;
    if (row->IsHeader() && row->Expanded) SetExpanded(FItemIndex, false);
    return true;
}

bool TResultsModel::ExpandSelected() {
    const TProcLine* row = SelectedRow();
    if (!row) return false;
    if (row->IsHeader() && !row->Expanded) SetExpanded(FItemIndex, true);
    return true;
}

bool TResultsModel::ActivateSelected() {
    const TProcLine* row = SelectedRow();
    if (!row) return false;
    if (!row->IsHeader()) return GotoSelected();
    SetExpanded(FItemIndex, !row->Expanded);
    return false;
}

void TResultsModel::UpdateStatus() {
    const TProcLine* row = SelectedRow();
    if (!row) return;
    FStatusFileName = ShortFileName(row->FileName);
    StatusChanged();
}

bool TResultsModel::SpeedSearch(std::string_view text, bool caseSensitive) {
    if (text.empty()) return false;
    std::string wanted = caseSensitive ? std::string(text) : LowerCase(text);
    std::string rowText;
    for (std::size_t i = 0; i < FVisible.size(); ++i) {
        if (FResults[FVisible[i].Index].Row.IsHeader()) continue;
        if (caseSensitive)
            rowText = FVisible[i].Text;
        else
            LowerCaseInto(FVisible[i].Text, rowText);
        if (Pos(wanted, rowText) > 0) {
            SetItemIndex(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

std::vector<TFileMenuItem> TResultsModel::FileMenuItems() const {
    std::vector<TFileMenuItem> items;
    for (std::size_t i = 0; i < FResults.size(); ++i) {
        const TProcLine& row = FResults[i].Row;
        if (row.Kind != TRowKind::FileHeader) continue;
        items.push_back({"File" + std::to_string(i), ShortFileName(row.FileName), row.FileName});
    }
    return items;
}

void TResultsModel::FileMenuItemClick(std::string_view hint) {
    for (std::size_t i = 0; i < FVisible.size(); ++i) {
        if (SameText(FVisible[i].Text, hint)) {
            SetItemIndex(static_cast<int>(i));
            UpdateStatus();
            return;
        }
    }
}

bool TResultsModel::GotoSelected() {
    const TProcLine* row = SelectedRow();
    if (!row || row->Pos < 0) return false;
    UpdateStatus();
    FCurrentFile = row->FileName;
    if (row->IsHeader()) {
        FGotoLine = 1;
        FGotoColumn = 1;
    } else {
        FGotoLine = row->Line;
        FGotoColumn = row->Pos;
    }
    FNextAction = cmdNone;
    return true;
}

void TResultsModel::FinishSearch() {
    CountAndPrune(FFileCount, FHitCount);
    RebuildVisibleList();
    if (FVisible.empty()) {
        TProcLine none;
        none.Pos = -1;
        none.Kind = TRowKind::NothingFound;
        AddRow("Nothing found", none);
        FVisible.push_back({"Nothing found", static_cast<int>(FResults.size()) - 1});
        FItemIndex = 0;
        FStatusFileName.clear();
        FFileCount = FHitCount = 0;
        FListEnabled = false;
        ListChanged();
        StatusChanged();
        return;
    }
    FItemIndex = 0;
    for (std::size_t i = 0; i < FVisible.size(); ++i) {
        if (FVisible[i].Index != 0) {
            FItemIndex = static_cast<int>(i);
            break;
        }
    }
    FListEnabled = true;
    ListChanged();
    UpdateStatus();
    StatusChanged();
}

} // namespace declsearch
