// libzestor.so: the expert library's one export.
#include "experts/Experts.h"

extern "C" __attribute__((visibility("default"))) bool INITEXPERT0016(host::TIToolServices* toolServices,
                                                                     host::TExpertRegisterProc registerProc,
                                                                     host::TExpertTerminateProc* terminate) {
    try {
        return experts::InitExpert(toolServices, registerProc, terminate);
    } catch (...) {
        experts::ReportExpertException();
        return false;
    }
}
