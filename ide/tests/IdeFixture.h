// A machine root of its own with the small Pascal project copied to C:\PROJECTS\Demo, and an
// IDE running over it.
#pragma once

#include "ide/Ide.h"
#include "ide/WinNames.h"
#include "rtl/Paths.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace ide_test {

inline const std::string DemoDir = "C:\\PROJECTS\\Demo\\";

// The example project, copied to C:\PROJECTS\Demo under the machine root.
inline void CopyDemoProject(const std::string& rootPath) {
    namespace fs = std::filesystem;
    fs::path target = fs::path(rootPath) / "drive_c" / "PROJECTS" / "Demo";
    fs::create_directories(target);
    fs::copy(fs::path(SUITE_SOURCE_DIR) / "examples" / "Demo", target, fs::copy_options::recursive);
}

class IdeFixture : public ::testing::Test {
protected:
    IdeFixture() {
        FOldDir = rtl::GetCurrentDir();
        CopyDemoProject(Root.Path());
        Ide = std::make_unique<ide::TIde>();
        Services = Ide->ToolServices();
    }
    ~IdeFixture() override {
        Ide.reset();
        rtl::SetCurrentDir(FOldDir);
    }

    std::string HostFile(const std::string& winName) const { return rtl::HostPath(winName); }
    std::string DiskText(const std::string& winName) const {
        auto t = ide::ReadWholeFile(winName);
        return t ? *t : std::string("<missing>");
    }
    void WriteDisk(const std::string& winName, const std::string& data) const {
        std::ofstream(HostFile(winName), std::ios::binary) << data;
    }
    bool OpenDemo() { return Services->OpenProject(DemoDir + "Demo.dpr"); }

    testing_support::TempWinRoot Root;
    std::unique_ptr<ide::TIde> Ide;
    host::TIToolServices* Services = nullptr;

private:
    std::string FOldDir;
};

} // namespace ide_test
