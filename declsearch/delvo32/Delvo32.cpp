// libdelvo32.so: the declaration search's two exports. No exception leaves the library.
#include "declsearch/IdeCommands.h"

#include "vcl/Forms.h"

namespace {
void Report() {
    try {
        if (vcl::Application) vcl::Application->HandleException(nullptr);
    } catch (...) {
    }
}
} // namespace

extern "C" __attribute__((visibility("default"))) void Initialize(host::TIToolServices* toolServices) {
    try {
        declsearch::InitializeDelvo(toolServices);
    } catch (...) {
        Report();
    }
}

extern "C" __attribute__((visibility("default"))) void CloseUp() {
    try {
        declsearch::CloseUpDelvo();
    } catch (...) {
        Report();
    }
}
