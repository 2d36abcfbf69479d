// libquillor.so: the spell-check expert's one export. No exception leaves the library.
#include "spellexpert/QuilloMain.h"
#include "spellexpert/SyntaxColour.h"

#include "rtl/Modules.h"
#include "vcl/Forms.h"

namespace {

// The IDE's editor colours and font, read once at load over the built-in ones. A registry that
// cannot be read leaves those: the load does not fail for it.
void ReadIdeLooksAtLoad() {
    try {
        spellexpert::ReadIDEHighlight();
    } catch (...) {
    }
}

rtl::TUnitInit unit(&ReadIdeLooksAtLoad);

} // namespace

extern "C" __attribute__((visibility("default"))) int QUILLOCHECK(host::TIToolServices* toolServices) {
    try {
        return spellexpert::QuilloCheck(toolServices);
    } catch (...) {
        try {
            if (vcl::Application) vcl::Application->HandleException(nullptr);
        } catch (...) {
        }
        return vcl::mrCancel;
    }
}
