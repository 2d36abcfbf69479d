#include "StepLog.h"
#include "rtl/Modules.h"

namespace {
void InitB() {
    MaybeFail("B");
    NoteStep("init B");
}
void FiniB() { NoteStep("fini B"); }
rtl::TUnitInit unitB(&InitB, &FiniB);
} // namespace
