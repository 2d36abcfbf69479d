// What the test calls in its module.
#include "StepLog.h"
#include "rtl/Modules.h"

#include <string>

namespace {
void InitExports() { NoteStep("init Exports"); }
rtl::TUnitInit unitExports(&InitExports); // a unit without shut-down
} // namespace

extern "C" __attribute__((visibility("default"))) int ModAdd(int a, int b) { return a + b; }

extern "C" __attribute__((visibility("default"))) int ModOwnFileName(char* buffer, int size) {
    return rtl::GetModuleFileName(nullptr, buffer, size);
}

#include "rtl/Resources.h"

extern "C" __attribute__((visibility("default"))) int ModString(unsigned id, char* buffer, int size) {
    return rtl::LoadString(nullptr, id, buffer, size);
}
