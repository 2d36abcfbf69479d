// Helpers of the runtime's tests: raw file contents, and a limit that makes writes fail as a
// full disk would (the tests run as root, so read-only files do not stop them).
#pragma once

#include <csignal>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>

namespace rtl_test {

inline void WriteRaw(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

inline std::string ReadRaw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Files may grow no larger than limit bytes while it lives.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t limit) {
        ::getrlimit(RLIMIT_FSIZE, &FOld);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit l = FOld;
        l.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &l);
    }
    ~TFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
    rlimit FOld{};
    void (*FOldHandler)(int);
};

} // namespace rtl_test

#include "testing/TempWinRoot.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace rtl_test {

// A test with a machine root of its own and files named under it.
class RootFiles : public ::testing::Test {
protected:
    testing_support::TempWinRoot root;

    // A Windows-form name for a host path under the test's root.
    std::string Name(const std::string& leaf) const {
        std::string name = "Z:" + root.Path() + "/" + leaf;
        std::replace(name.begin(), name.end(), '/', '\\');
        return name;
    }
    void WriteHost(const std::string& leaf, const std::string& bytes) const { WriteRaw(root.Path() + "/" + leaf, bytes); }
    std::string ReadHost(const std::string& leaf) const { return ReadRaw(root.Path() + "/" + leaf); }
};

} // namespace rtl_test
