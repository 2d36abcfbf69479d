// Every window laid out by a form file is made from its resource and writes
// that file back.
#include "vcl/Streaming.h"
#include "vcl/TestHooks.h"

#include "testing/FormFiles.h"
#include "testing/UiTest.h"

#include <string>
#include <vector>

namespace declsearch {
namespace {

class FormFilesTest : public testing_support::UiTest {};

TEST_F(FormFilesTest, EveryFormResourceReadsBackAsItsFormFile) {
  testing_support::ExpectOwnFormsReadBack(
      {"TABOUTDLG", "TOPTIONSDLG", "TMAINDLG"}, vcl::FormResourceNames(),
      vcl::FormResourceMismatches());
}

} // namespace
} // namespace declsearch
