// The test module's units note their steps in the file the test names in RTL_STEP_LOG.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

inline void NoteStep(const char* step) {
    if (const char* log = std::getenv("RTL_STEP_LOG")) {
        if (std::FILE* f = std::fopen(log, "a")) {
            std::fprintf(f, "%s\n", step);
            std::fclose(f);
        }
    }
}

// RTL_FAIL_UNIT names a unit whose start-up raises.
inline void MaybeFail(const char* unit) {
    const char* fail = std::getenv("RTL_FAIL_UNIT");
    if (fail && std::strcmp(fail, unit) == 0) throw std::runtime_error(std::string("unit ") + unit + " refused to start");
}
