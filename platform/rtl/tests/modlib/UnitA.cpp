#include "StepLog.h"
#include "rtl/Modules.h"

namespace {
void InitA() {
    MaybeFail("A");
    NoteStep("init A");
}
void FiniA() { NoteStep("fini A"); }
rtl::TUnitInit unitA(&InitA, &FiniA);
} // namespace
