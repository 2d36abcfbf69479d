// libquillor.so: the spell-check expert's one export. No exception leaves the library.
#include "spellexpert/QuilloMain.h"

#include "vcl/Forms.h"

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
