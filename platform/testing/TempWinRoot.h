// A machine root of its own for one test: a fresh temporary folder, removed afterwards.
#pragma once

#include "rtl/WinRoot.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace testing_support {

class TempWinRoot {
public:
    TempWinRoot() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "winroot-XXXXXX").string();
        char* made = mkdtemp(tmpl.data());
        FPath = made ? made : tmpl;
        rtl::SetWinRoot(FPath);
    }
    ~TempWinRoot() {
        rtl::SetWinRoot({});
        std::error_code ec;
        std::filesystem::remove_all(FPath, ec);
    }
    TempWinRoot(const TempWinRoot&) = delete;
    TempWinRoot& operator=(const TempWinRoot&) = delete;

    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

} // namespace testing_support
