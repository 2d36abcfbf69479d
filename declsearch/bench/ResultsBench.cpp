// The results window over a large search: the time from the search's end to the window painted,
// and the time to page through every row, with the number of rows painted on the way.
//   declsearch_results_bench [folder]   (default: the Free Pascal rtl)
#include "declsearch/MainDlg.h"

#include "rtl/Paths.h"
#include "testing/TempWinRoot.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

using namespace declsearch;
namespace fs = std::filesystem;

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

} // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : "/usr/share/fpcsrc/3.2.2/rtl";
    testing_support::TempWinRoot root;
    vcl::InitApplication();

    std::vector<std::string> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string ext = it->path().extension().string();
        if (it->is_regular_file() && (ext == ".pp" || ext == ".pas" || ext == ".inc"))
            files.push_back(rtl::WinPath(it->path().string()));
    }
    std::sort(files.begin(), files.end());

    // The scan alone, for the part of the time that is the window's.
    TResultsModel bare;
    auto start = std::chrono::steady_clock::now();
    bare.ScanFiles(files, TSearchSettings{}, 8);
    double scan = Seconds(start);

    std::unique_ptr<TMainDlg> made(vcl::Make<TMainDlg>(nullptr, nullptr));
    TMainDlg& dlg = *made;
    // The list box takes the rows when the search ends.
    double fill = 0;
    auto inner = dlg.Results().OnListChanged;
    dlg.Results().OnListChanged = [&] {
        auto t = std::chrono::steady_clock::now();
        inner();
        fill += Seconds(t);
    };
    dlg.Results().ScanFiles(files, TSearchSettings{}, 8);
    start = std::chrono::steady_clock::now();
    dlg.Show();
    win::UpdateWindow(dlg.Handle());
    double shown = Seconds(start);
    long firstPaint = dlg.RowsPainted();
    int rows = dlg.ListBox->Items()->Count();
    std::printf("%zu files, %d rows (%d hits)\n", files.size(), rows, dlg.Results().HitCount());
    std::printf("scan %.3f s; from the scan's end: rows into the list %.3f s, window shown and painted %.3f s, "
                "together %.3f s (%ld rows painted)\n", scan, fill, shown, fill + shown, firstPaint);

    dlg.ListBox->SetFocus();
    dlg.ListBox->SetItemIndex(0);
    win::UpdateWindow(dlg.ListBox->Handle());
    long before = dlg.RowsPainted();
    int pages = 0;
    start = std::chrono::steady_clock::now();
    while (dlg.ListBox->ItemIndex() < rows - 1 && pages < rows) {
        win::SendMessage(dlg.ListBox->Handle(), win::WM_KEYDOWN, win::VK_NEXT, 0);
        win::UpdateWindow(dlg.ListBox->Handle());
        ++pages;
    }
    double paged = Seconds(start);
    std::printf("paged through every row: %d pages in %.3f s (%.3f ms a page), %ld rows painted\n", pages, paged,
                pages ? paged * 1000 / pages : 0.0, dlg.RowsPainted() - before);
    dlg.Hide();
    return 0;
}
