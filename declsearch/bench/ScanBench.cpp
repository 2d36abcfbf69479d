// Throughput of the declaration scanner over a tree of Pascal sources (.pp, .pas, .inc):
// once over lines already in memory, once as a whole search that also reads the files.
//   declsearch_bench [folder] [search text]
#include "declsearch/Results.h"
#include "declsearch/Scanner.h"
#include "declsearch/SourceFiles.h"
#include "rtl/Paths.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace declsearch;
namespace fs = std::filesystem;

namespace {

struct TSource {
    std::string Name;
    std::vector<std::string> Lines;
};

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void Run(const char* label, const std::vector<TSource>& sources, const std::vector<std::string>& names,
         double mebibytes, const TSearchSettings& settings) {
    // In memory: the rules alone, best of three passes.
    double best = 1e9;
    std::size_t hits = 0;
    for (int pass = 0; pass < 3; ++pass) {
        auto start = std::chrono::steady_clock::now();
        TLineScanner scanner(settings, 8);
        std::vector<TScanHit> found;
        hits = 0;
        for (const TSource& s : sources) {
            scanner.Reset();
            for (std::size_t i = 0; i < s.Lines.size(); ++i) {
                found.clear();
                scanner.ScanLine(static_cast<int>(i) + 1, s.Lines[i], found);
                for (const TScanHit& h : found) hits += h.Kind == TRowKind::Hit;
            }
        }
        best = std::min(best, Seconds(start));
    }
    // The whole search: reading, scanning, rows, pruning.
    TResultsModel model;
    auto start = std::chrono::steady_clock::now();
    model.ScanFiles(names, settings, 8);
    double whole = Seconds(start);
    std::printf("%-22s scan %8.1f MiB/s  hits %7zu | search with reading %7.1f MiB/s  files %5d  hits %7d\n", label,
                mebibytes / best, hits, mebibytes / whole, model.FileCount(), model.HitCount());
}

} // namespace

int main(int argc, char** argv) {
    fs::path root = argc > 1 ? argv[1] : "/usr/share/fpcsrc/3.2.2/rtl";
    std::string text = argc > 2 ? argv[2] : "integer";
    std::error_code ec;
    if (!fs::is_directory(root, ec)) {
        std::fprintf(stderr, "no folder %s\n", root.c_str());
        return 1;
    }
    std::vector<std::string> names;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        std::string ext = it->path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
        if (it->is_regular_file() && (ext == ".pp" || ext == ".pas" || ext == ".inc"))
            names.push_back(rtl::WinPath(it->path().string()));
    }
    std::sort(names.begin(), names.end());

    std::vector<TSource> sources;
    std::size_t bytes = 0;
    for (const std::string& n : names) {
        TSource s{n, {}};
        if (!ReadFileLines(n, s.Lines)) continue;
        for (const std::string& l : s.Lines) bytes += l.size() + 1;
        sources.push_back(std::move(s));
    }
    double mebibytes = static_cast<double>(bytes) / (1024.0 * 1024.0);
    std::printf("%zu files, %.1f MiB of lines\n", sources.size(), mebibytes);

    TSearchSettings defaults;
    Run("default options", sources, names, mebibytes, defaults);

    TSearchSettings declText = defaults;
    declText.SearchText = text;
    Run(("declarations + \"" + text + "\"").c_str(), sources, names, mebibytes, declText);

    TSearchSettings plain;
    plain.Function = plain.Procedure = false;
    plain.SearchText = text;
    Run(("text \"" + text + "\" alone").c_str(), sources, names, mebibytes, plain);
    return 0;
}
