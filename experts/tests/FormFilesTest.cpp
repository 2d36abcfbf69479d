// Every window laid out by a form file is made from its resource and writes
// that file back.
#include "vcl/Streaming.h"
#include "vcl/TestHooks.h"

#include "testing/FormFiles.h"
#include "testing/UiTest.h"

#include <string>
#include <vector>

namespace experts {
namespace {

class FormFilesTest : public testing_support::UiTest {};

TEST_F(FormFilesTest, EveryFormResourceReadsBackAsItsFormFile) {
  testing_support::ExpectOwnFormsReadBack({"TFRMPROPERTIES", "TFRMCODEFORM"},
                                          vcl::FormResourceNames(),
                                          vcl::FormResourceMismatches());
}

} // namespace
} // namespace experts
