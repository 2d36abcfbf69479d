// The search: the file list, the settings, and one scan over every file of the list.
#include "declsearch/Results.h"

#include "declsearch/SourceFiles.h"
#include "rtl/CodePages.h"

namespace declsearch {

void TResultsModel::ScanFiles(const std::vector<std::string>& files, const TSearchSettings& settings,
                              int tabWidth) {
    ClearResults();
    FGotoLine = -1;
    TLineScanner scanner(settings, tabWidth);
    std::vector<std::string> lines;
    std::vector<TScanHit> hits;
    for (const std::string& name : files) {
        if (!ReadFileLines(name, lines)) {
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
        for (std::size_t i = 0; i < lines.size(); ++i) {
            int lineNo = static_cast<int>(i) + 1;
            if (lineNo % 100 == 0 && OnProcessMessages) OnProcessMessages();
            hits.clear();
            scanner.ScanLine(lineNo, lines[i], hits);
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
        lines.clear();
    }
    FinishSearch();
}

} // namespace declsearch
