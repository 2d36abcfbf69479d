// An IDE over a machine root of its own with one unit open as the current file, and Zestor's
// tool-services global pointing at it.
#pragma once

#include "experts/Library.h"
#include "ide/Ide.h"
#include "rtl/Paths.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace experts_test {

class UnitFixture : public ::testing::Test {
protected:
    UnitFixture() {
        Ide = std::make_unique<ide::TIde>();
        experts::ToolServices = Ide->ToolServices();
    }
    ~UnitFixture() override {
        experts::ToolServices = nullptr;
        Ide.reset();
    }

    // Writes the text (LF line ends are loaded as CR LF) and makes it the current file.
    void OpenUnit(const std::string& text, const std::string& name = "C:\\SRC\\Unit1.pas") {
        std::filesystem::create_directories(std::filesystem::path(rtl::HostPath(name)).parent_path());
        std::ofstream(rtl::HostPath(name), std::ios::binary) << text;
        Ide->Buffers().Close(rtl::ExpandFileName(name)); // a fresh buffer from the new text
        ASSERT_TRUE(Ide->OpenFile(name));
    }
    std::string BufferText() const { return Ide->CurrentBuffer()->Text(); }

    testing_support::TempWinRoot Root;
    std::unique_ptr<ide::TIde> Ide;
};

} // namespace experts_test
