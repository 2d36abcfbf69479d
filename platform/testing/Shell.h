// What a shell command prints, for the tests that look at written files with the machine's own
// tools (pdfinfo, pdftotext). Header only.
#pragma once

#include <cstdio>
#include <string>

namespace testing_support {

// The command's standard output; empty when it could not be run.
inline std::string Shell(const std::string& Command) {
    std::string out;
    if (FILE* p = popen(Command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        pclose(p);
    }
    return out;
}

} // namespace testing_support
