// The ide program run headless: it starts, writes a screenshot and exits, or refuses bad input.
#include "IdeFixture.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() {
        ide_test::CopyDemoProject(Root.Path());
        fs::path target = fs::path(Root.Path()) / "drive_c" / "PROJECTS" / "Demo";
        Project = (target / "Demo.dpr").string();
        Shot = (fs::path(Root.Path()) / "shot.png").string();
    }

    // The program's exit code, run with this test's machine root.
    int Run(const std::string& args) {
        std::string cmd = "WINROOT='" + Root.Path() + "' '" IDE_PROGRAM_FILE "' " + args + " 2>" + Root.Path() +
                          "/stderr.txt";
        int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Stderr() {
        std::ifstream in(Root.Path() + "/stderr.txt");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    testing_support::TempWinRoot Root;
    std::string Project, Shot;
};

// Width and height from the PNG header; 0, 0 for what is no PNG file.
std::pair<std::uint32_t, std::uint32_t> PngSize(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    unsigned char h[24] = {};
    in.read(reinterpret_cast<char*>(h), sizeof h);
    static const unsigned char sig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (!in || !std::equal(sig, sig + 8, h) || std::string(reinterpret_cast<char*>(h) + 12, 4) != "IHDR")
        return {0, 0};
    auto be = [&](int at) {
        return std::uint32_t(h[at]) << 24 | std::uint32_t(h[at + 1]) << 16 | std::uint32_t(h[at + 2]) << 8 | h[at + 3];
    };
    return {be(16), be(20)};
}

TEST_F(ProgramTest, AScreenshotRunShowsTheProjectAndExits) {
    ASSERT_EQ(Run("--screenshot '" + Shot + "' '" + Project + "'"), 0) << Stderr();
    EXPECT_EQ(PngSize(Shot), (std::pair<std::uint32_t, std::uint32_t>{1024, 768}));
    // Shutting down closed the project, which wrote the window places back unchanged.
    std::ifstream dsk(fs::path(Project).replace_extension(".dsk"), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(dsk)), {});
    EXPECT_NE(text.find("Left=240"), std::string::npos) << text;
    // Without a project too.
    fs::remove(Shot);
    ASSERT_EQ(Run("--screenshot '" + Shot + "'"), 0) << Stderr();
    EXPECT_EQ(PngSize(Shot).first, 1024u);
}

TEST_F(ProgramTest, TheLibrariesBesideTheProgramAreLoadedAndUnloadedWithTheWindowsUp) {
    fs::path folder = fs::path(Root.Path()) / "bin";
    fs::create_directories(folder);
    fs::copy_file(IDE_PROGRAM_FILE, folder / "ide");
    for (const char* lib : {"libdelvo32.so", "libzestor.so", "libquillor.so"})
        fs::copy_file(fs::path(FAKE_LIBRARY_DIR) / lib, folder / lib);
    std::string cmd = "WINROOT='" + Root.Path() + "' '" + (folder / "ide").string() + "' --screenshot '" + Shot +
                      "' '" + Project + "' 2>" + Root.Path() + "/stderr.txt";
    int status = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << Stderr();
    EXPECT_EQ(WEXITSTATUS(status), 0) << Stderr();
    EXPECT_EQ(Stderr(), "");
    EXPECT_EQ(PngSize(Shot).first, 1024u);
}

TEST_F(ProgramTest, BadArgumentsAreRefusedWithAMessage) {
    struct Case {
        std::string Args;
        int Code;
        const char* Says;
    } cases[] = {
        {"--screenshot '" + Shot + "' '" + Root.Path() + "/missing.dpr'", 1, "cannot open the project"},
        {"--frobnicate", 2, "unknown option"},
        {"--screenshot", 2, "usage"},
        {"--screenshot '" + Root.Path() + "/no/such/folder/x.png'", 1, "cannot write the screenshot"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.Args), c.Code) << c.Args;
        EXPECT_NE(Stderr().find(c.Says), std::string::npos) << c.Args << ": " << Stderr();
    }
    EXPECT_FALSE(fs::exists(Shot));
}

} // namespace
