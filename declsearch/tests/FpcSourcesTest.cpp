// A search over a real Pascal source tree, when the machine has the Free Pascal sources.
#include "declsearch/IdeHooks.h"
#include "declsearch/OptionsStore.h"
#include "declsearch/Results.h"

#include "rtl/Paths.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace declsearch;
namespace fs = std::filesystem;

namespace {

const char* const kTree = "/usr/share/fpcsrc/3.2.2/rtl/objpas";

bool HasHit(const TResultsModel& m, const std::string& fileEnd, int line, const std::string& key) {
    return std::any_of(m.Results().begin(), m.Results().end(), [&](const TResultRow& r) {
        const TProcLine& p = r.Row;
        return p.Kind == TRowKind::Hit && p.Line == line && p.Key == key && p.FileName.size() >= fileEnd.size() &&
               p.FileName.compare(p.FileName.size() - fileEnd.size(), fileEnd.size(), fileEnd) == 0;
    });
}

} // namespace

TEST(DeclFpcSources, ProjectUnitsOfARealTree) {
    std::error_code ec;
    if (!fs::is_directory(kTree, ec)) GTEST_SKIP() << "no Free Pascal sources at " << kTree;
    testing_support::TempWinRoot root;

    std::vector<std::string> units;
    for (fs::recursive_directory_iterator it(kTree, ec), end; !ec && it != end; it.increment(ec)) {
        std::string ext = it->path().extension().string();
        if (it->is_regular_file() && (ext == ".pp" || ext == ".pas" || ext == ".inc"))
            units.push_back(rtl::WinPath(it->path().string()));
    }
    std::sort(units.begin(), units.end());
    ASSERT_GT(units.size(), 50u);

    auto store = OpenOptionsStore();
    store->WriteInteger("Files", "Option", 2);
    store->WriteBool("Options Last", "Class", true);
    TIdeHooks hooks;
    TResultsModel model;
    int pumps = 0;
    model.OnProcessMessages = [&] { ++pumps; };
    model.SetCurrentFile(units.front());
    model.SetProjectUnits(units);
    model.Search(*store, hooks);

    for (const TResultRow& r : model.Results()) EXPECT_NE(r.Row.Kind, TRowKind::Error) << r.Text;
    EXPECT_GT(model.FileCount(), 40);
    EXPECT_GT(model.HitCount(), 2000);
    EXPECT_GT(pumps, 100);
    EXPECT_TRUE(HasHit(model, "\\sysutils\\sysstrh.inc", 105, "Trim"));
    EXPECT_TRUE(HasHit(model, "\\sysutils\\sysstr.inc", 850, "IntToStr"));
    EXPECT_TRUE(HasHit(model, "\\classes\\classesh.inc", 816, "TStringList"));
    // The forward declaration opens a class as well, as this search does.
    EXPECT_TRUE(HasHit(model, "\\classes\\classesh.inc", 798, "TStringList"));
}
