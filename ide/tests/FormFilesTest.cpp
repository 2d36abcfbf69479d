// Every IDE window laid out by a form file is made from its resource and writes that file back.
#include "IdeUiFixture.h"
#include "ide/TestHooks.h"

#include <string>
#include <vector>

namespace {

class FormFilesTest : public ide_test::IdeUiTest {};

TEST_F(FormFilesTest, EveryFormResourceReadsBackAsItsFormFile) {
    Ide->ShowWindows();
    EXPECT_FALSE(ide::FormResourceNames().empty());
    EXPECT_EQ(ide::FormResourceMismatches(), std::vector<std::string>{});
}

} // namespace
