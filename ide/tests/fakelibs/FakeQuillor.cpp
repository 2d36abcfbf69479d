// A spell-check library reduced to its export, for the IDE's loading tests: 1 without a project.
#include "host/LibraryExports.h"

extern "C" __attribute__((visibility("default"))) int QUILLOCHECK(host::TIToolServices* services) {
    return services->GetProjectName().empty() ? 1 : 2;
}
