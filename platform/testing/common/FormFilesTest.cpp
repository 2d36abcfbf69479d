// Every window laid out by a form file is made from its resource and writes that file back: the
// check of a module whose test program registers the classes of every form it carries. Compiled
// into each such program (suite_tests ... COMMON FormFilesTest), with the program's own copy of
// the class library.
#include "vcl/Streaming.h"
#include "vcl/TestHooks.h"

#include "testing/UiTest.h"

#include <string>
#include <vector>

namespace {

class FormFilesTest : public testing_support::UiTest {};

TEST_F(FormFilesTest, EveryFormResourceReadsBackAsItsFormFile) {
    EXPECT_FALSE(vcl::FormResourceNames().empty());
    EXPECT_EQ(vcl::FormResourceMismatches(), std::vector<std::string>{});
}

} // namespace
