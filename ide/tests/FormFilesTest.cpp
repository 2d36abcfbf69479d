// Every IDE window laid out by a form file is made from its resource and writes
// that file back.
#include "testing/FormFiles.h"
#include "IdeUiFixture.h"
#include "ide/TestHooks.h"

#include <string>
#include <vector>

namespace {

class FormFilesTest : public ide_test::IdeUiTest {};

TEST_F(FormFilesTest, EveryFormResourceReadsBackAsItsFormFile) {
  Ide->ShowWindows();
  testing_support::ExpectOwnFormsReadBack(
      {"TAPPBUILDER", "TPROPERTYINSPECTOR", "TEDITWINDOW", "TPROJECTMANAGER",
       "TWINDOWLIST"},
      ide::FormResourceNames(), ide::FormResourceMismatches());
}

} // namespace
