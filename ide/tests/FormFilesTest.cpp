// Every IDE window laid out by a form file is made from its resource and writes that file back.
#include "IdeUiFixture.h"
#include "ide/TestHooks.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

class FormFilesTest : public ide_test::IdeUiTest {};

// The test program also carries the form resources of the tools it links, whose classes it does
// not register; those are their own modules' to check.
TEST_F(FormFilesTest, EveryFormResourceReadsBackAsItsFormFile) {
    Ide->ShowWindows();
    const std::vector<std::string> own = {"TAPPBUILDER", "TPROPERTYINSPECTOR", "TEDITWINDOW", "TPROJECTMANAGER",
                                          "TWINDOWLIST"};
    std::vector<std::string> names = ide::FormResourceNames();
    for (const std::string& name : own) EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    std::vector<std::string> problems = ide::FormResourceMismatches();
    std::erase_if(problems, [&](const std::string& p) {
        return std::none_of(own.begin(), own.end(), [&](const std::string& n) { return p.rfind(n + ":", 0) == 0; });
    });
    EXPECT_EQ(problems, std::vector<std::string>{});
}

} // namespace
