// What a shell command prints, for the tests that run programs or look at written files with the
// machine's own tools (nm, pdfinfo, pdftotext). Header only.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace testing_support {

// The command's standard output; empty when it could not be run. Status, when given, receives
// pclose's wait status (-1 when the command could not be started).
inline std::string Shell(const std::string& Command, int* Status = nullptr) {
    std::string out;
    int status = -1;
    if (FILE* p = popen(Command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        status = pclose(p);
    }
    if (Status) *Status = status;
    return out;
}

// The dynamic symbols a shared library defines, as `nm -D --defined-only` names them.
inline std::vector<std::string> ExportedSymbols(const std::string& Library) {
    std::vector<std::string> symbols;
    std::string out = Shell("nm -D --defined-only '" + Library + "'");
    std::size_t start = 0;
    while (start < out.size()) {
        std::size_t end = out.find('\n', start);
        if (end == std::string::npos) end = out.size();
        std::string line = out.substr(start, end - start);
        if (!line.empty()) symbols.push_back(line.substr(line.rfind(' ') + 1));
        start = end + 1;
    }
    return symbols;
}

} // namespace testing_support
