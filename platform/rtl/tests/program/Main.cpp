// A program whose units note their steps around main.
#include "../modlib/StepLog.h"

int main() {
    NoteStep("main");
    return 0;
}
