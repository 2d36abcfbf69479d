// A declaration-search library reduced to its two exports, for the IDE's loading tests.
#include "host/LibraryExports.h"

namespace {
host::TIToolServices* GServices = nullptr;
}

extern "C" __attribute__((visibility("default"))) void Initialize(host::TIToolServices* services) {
    if (!GServices)
        GServices = services;
    if (GServices)
        GServices->GetParentHandle();
}

extern "C" __attribute__((visibility("default"))) void CloseUp() {
    if (GServices)
        GServices->GetCurrentFile();
}
