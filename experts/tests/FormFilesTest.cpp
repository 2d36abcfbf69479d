// Every window laid out by a form file is made from its resource and writes that file back.
#include "vcl/Streaming.h"
#include "vcl/TestHooks.h"

#include "testing/UiTest.h"

#include <string>
#include <vector>

namespace experts {
namespace {

class FormFilesTest : public testing_support::UiTest {};

TEST_F(FormFilesTest, EveryFormResourceReadsBackAsItsFormFile) {
    EXPECT_EQ(vcl::FormResourceNames(), (std::vector<std::string>{"TFRMPROPERTIES", "TFRMCODEFORM"}));
    EXPECT_EQ(vcl::FormResourceMismatches(), std::vector<std::string>{});
}

} // namespace
} // namespace experts
