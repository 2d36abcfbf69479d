#include "rtl/CodePages.h"
#include "rtl/Modules.h"
#include "rtl/Paths.h"

#include "testing/Shell.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Steps = std::vector<std::string>;

class Modules : public testing::Test {
protected:
    void SetUp() override {
        log = (fs::temp_directory_path() / ("rtl-steps-" + std::to_string(::getpid()) + ".log")).string();
        fs::remove(log);
        ::setenv("RTL_STEP_LOG", log.c_str(), 1);
        ::unsetenv("RTL_FAIL_UNIT");
        // The folder and the name in capitals: both are found without regard to case.
        folder = rtl::CharUpperStr(rtl::WinPath(RTL_TEST_MODULE_DIR));
    }
    void TearDown() override {
        ::unsetenv("RTL_STEP_LOG");
        ::unsetenv("RTL_FAIL_UNIT");
        fs::remove(log);
    }
    Steps TakeSteps() {
        Steps steps;
        std::ifstream in(log);
        for (std::string line; std::getline(in, line);) steps.push_back(line);
        fs::remove(log);
        return steps;
    }

    testing_support::TempWinRoot root;
    std::string log;
    std::string folder;
};

TEST_F(Modules, LoadsByWindowsNameAndRunsUnitStepsInOrder) {
    rtl::HMODULE module = rtl::LoadLibrary(folder + "\\RTLTESTMOD");
    ASSERT_NE(module, nullptr) << rtl::LoadLibraryError();
    EXPECT_EQ(TakeSteps(), (Steps{"init A", "init B", "init Exports"}));

    auto add = rtl::GetProcAddressAs<int (*)(int, int)>(module, "ModAdd");
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add(2, 3), 5);
    EXPECT_EQ(rtl::GetProcAddress(module, "NoSuchProc"), nullptr);

    // the module names itself in Windows form, as seen from inside and from outside
    const std::string expected = rtl::WinPath(std::string(RTL_TEST_MODULE_DIR) + "/librtltestmod.so");
    char buffer[512];
    auto ownName = rtl::GetProcAddressAs<int (*)(char*, int)>(module, "ModOwnFileName");
    ASSERT_NE(ownName, nullptr);
    EXPECT_EQ(ownName(buffer, sizeof buffer), int(expected.size()));
    EXPECT_EQ(std::string(buffer), expected);
    EXPECT_EQ(rtl::GetModuleFileName(module), expected);
    EXPECT_EQ(ownName(buffer, 4), 3);
    EXPECT_EQ(std::string(buffer), expected.substr(0, 3));
    EXPECT_EQ(rtl::GetModuleHandle("RTLTESTMOD.DLL"), module);
    EXPECT_EQ(rtl::GetModuleHandle("librtltestmod.so"), module);

    // a second load shares the module; only the last free shuts it down, in reverse order
    EXPECT_EQ(rtl::LoadLibrary(folder + "\\rtltestmod.dll"), module);
    EXPECT_TRUE(rtl::FreeLibrary(module));
    EXPECT_EQ(TakeSteps(), Steps{});
    EXPECT_TRUE(rtl::FreeLibrary(module));
    EXPECT_EQ(TakeSteps(), (Steps{"fini B", "fini A"}));
    EXPECT_FALSE(rtl::FreeLibrary(module));

    // loaded again, it starts again
    module = rtl::LoadLibrary(std::string(RTL_TEST_MODULE_DIR) + "/librtltestmod.so");
    ASSERT_NE(module, nullptr) << rtl::LoadLibraryError();
    EXPECT_EQ(TakeSteps(), (Steps{"init A", "init B", "init Exports"}));
    EXPECT_TRUE(rtl::FreeLibrary(module));
    EXPECT_EQ(TakeSteps(), (Steps{"fini B", "fini A"}));
}

TEST_F(Modules, FailedStartUpWindsBackAndFailsTheLoad) {
    ::setenv("RTL_FAIL_UNIT", "B", 1);
    EXPECT_EQ(rtl::LoadLibrary(folder + "\\RTLTESTMOD"), nullptr);
    std::string error = rtl::LoadLibraryError();
    EXPECT_NE(error.find("RTLTESTMOD"), std::string::npos) << error;
    EXPECT_NE(error.find("unit B refused to start"), std::string::npos) << error;
    EXPECT_EQ(TakeSteps(), (Steps{"init A", "fini A"}));

    ::unsetenv("RTL_FAIL_UNIT");
    rtl::HMODULE module = rtl::LoadLibrary(folder + "\\RTLTESTMOD");
    ASSERT_NE(module, nullptr) << rtl::LoadLibraryError();
    EXPECT_EQ(TakeSteps(), (Steps{"init A", "init B", "init Exports"}));
    EXPECT_TRUE(rtl::FreeLibrary(module));
    EXPECT_EQ(TakeSteps(), (Steps{"fini B", "fini A"}));
}

TEST_F(Modules, MissingLibraryFailsWithItsName) {
    const char* names[] = {"C:\\NOWHERE\\DUVIV32", "DUVIV32-NOT-HERE.DLL", ""};
    for (const char* name : names) {
        EXPECT_EQ(rtl::LoadLibrary(name), nullptr) << name;
        EXPECT_NE(rtl::LoadLibraryError().find(std::string("\"") + name + "\""), std::string::npos)
            << rtl::LoadLibraryError();
    }
    EXPECT_FALSE(rtl::FreeLibrary(nullptr));
    EXPECT_EQ(rtl::GetProcAddress(nullptr, "ModAdd"), nullptr);
    EXPECT_EQ(rtl::GetModuleHandle("NOTLOADED"), nullptr);
}

TEST_F(Modules, ProgramUnitsStartBeforeMainAndFinishAtExit) {
    EXPECT_EQ(std::system(RTL_TEST_PROGRAM), 0);
    EXPECT_EQ(TakeSteps(), (Steps{"init A", "init B", "main", "fini B", "fini A"}));

    ::setenv("RTL_FAIL_UNIT", "B", 1);
    std::string cmd = std::string(RTL_TEST_PROGRAM) + " 2>&1";
    int status = -1;
    std::string output = testing_support::Shell(cmd, &status);
    EXPECT_EQ(WEXITSTATUS(status), 217);
    EXPECT_NE(output.find("unit B refused to start"), std::string::npos) << output;
    EXPECT_EQ(TakeSteps(), (Steps{"init A", "fini A"}));
}

int LocalFunction() { return 1; }

TEST(ModuleOfCaller, TheProgramAndItsLibraries) {
    testing_support::TempWinRoot root; // names in Windows form touch the machine root
    const std::string self = rtl::WinPath(fs::canonical("/proc/self/exe").string());
    EXPECT_EQ(rtl::GetModuleFileName(), self);
    EXPECT_EQ(rtl::GetModuleFileName(rtl::GetModuleHandle(nullptr)), self);
    EXPECT_EQ(rtl::HInstance(), rtl::GetModuleHandle(nullptr));
    EXPECT_EQ(rtl::ModuleOfAddress(reinterpret_cast<const void*>(&LocalFunction)), rtl::GetModuleHandle(""));

    rtl::HMODULE runtime = rtl::GetModuleHandle("PLATFORM_RTL");
    ASSERT_NE(runtime, nullptr);
    EXPECT_NE(runtime, rtl::GetModuleHandle(nullptr));
    std::string name = rtl::GetModuleFileName(runtime);
    EXPECT_EQ(name.substr(name.size() - 19), "\\libplatform_rtl.so") << name;
    EXPECT_NE(rtl::GetProcAddress(runtime, "_ZN3rtl11LoadLibraryESt17basic_string_viewIcSt11char_traitsIcEE"), nullptr);
}

} // namespace
