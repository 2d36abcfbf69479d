// Every window laid out by a form file is made from its resource and writes that file back.
#include "vcl/Streaming.h"
#include "vcl/TestHooks.h"

#include "testing/UiTest.h"

#include <algorithm>
#include <string>
#include <vector>

namespace experts {
namespace {

class FormFilesTest : public testing_support::UiTest {};

// The test program also carries the form resources of libraries it links for the IDE, whose
// classes it does not register; those are their own modules' to check.
TEST_F(FormFilesTest, EveryFormResourceReadsBackAsItsFormFile) {
    const std::vector<std::string> own = {"TFRMPROPERTIES", "TFRMCODEFORM"};
    std::vector<std::string> names = vcl::FormResourceNames();
    for (const std::string& name : own) EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    std::vector<std::string> problems = vcl::FormResourceMismatches();
    std::erase_if(problems, [&](const std::string& p) {
        return std::none_of(own.begin(), own.end(), [&](const std::string& n) { return p.rfind(n + ":", 0) == 0; });
    });
    EXPECT_EQ(problems, std::vector<std::string>{});
}

} // namespace
} // namespace experts
