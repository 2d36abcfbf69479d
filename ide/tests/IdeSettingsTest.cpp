#include "ide/IdeSettings.h"
#include "ide/Ide.h"
#include "ide/WinNames.h"

#include "rtl/Registry.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace {

const std::string Editor = "Software\\Borland\\Delphi\\2.0\\Editor";
const std::string Highlight = "Software\\Borland\\Delphi\\2.0\\Highlight";

TEST(IdeSettings, FirstStartMakesTheEditorAndHighlightValuesWithTheirTypes) {
    testing_support::TempWinRoot root;
    ide::TIde ide;
    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Editor, false));
    EXPECT_EQ(reg.GetDataType("FontName"), rtl::TRegDataType::rdString);
    EXPECT_EQ(reg.ReadString("FontName"), "Courier New");
    EXPECT_EQ(reg.GetDataType("FontSize"), rtl::TRegDataType::rdInteger);
    EXPECT_EQ(reg.ReadInteger("FontSize"), 10);
    EXPECT_EQ(reg.GetDataType("TabRack"), rtl::TRegDataType::rdInteger);
    EXPECT_EQ(reg.ReadInteger("TabRack"), 8);

    ASSERT_TRUE(reg.OpenKey("\\" + Highlight, false));
    for (const char* name : {"Plain_text", "Identifier", "Reserved_word", "Comment", "String", "Symbol", "Number"}) {
        ASSERT_EQ(reg.GetDataType(name), rtl::TRegDataType::rdString) << name;
        // Five fields, read from the end: background, foreground, two default flags, style letters.
        std::string v = reg.ReadString(name);
        EXPECT_EQ(std::count(v.begin(), v.end(), ','), 4) << name << " = " << v;
        std::string bg = v.substr(v.rfind(',') + 1);
        EXPECT_EQ(bg, "15") << name;
    }
    EXPECT_EQ(reg.ReadString("Reserved_word").substr(0, 1), "B");
    EXPECT_EQ(reg.ReadString("Comment").substr(0, 1), "I");

    auto dci = ide::ReadWholeFile(ide::CodeTemplateFile);
    ASSERT_TRUE(dci);
    EXPECT_EQ(dci->rfind("[arrayd | array declaration (var)]\r\n", 0), 0u);
    EXPECT_TRUE(std::filesystem::is_directory(root.Path() + "/drive_c/BORLAND/DELPHI 2.0/BIN"));
    EXPECT_EQ(ide::TIde::ProgramFolder(), "C:\\BORLAND\\DELPHI 2.0\\BIN\\");
}

TEST(IdeSettings, WhatIsThereIsKeptAndTheHookAnswersFromTheKeys) {
    testing_support::TempWinRoot root;
    {
        rtl::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(Editor, true));
        reg.WriteString("FontName", "Lucida Console");
        reg.WriteString("TabRack", "4");
    }
    std::filesystem::create_directories(root.Path() + "/drive_c/BORLAND/DELPHI 2.0");
    ASSERT_TRUE(ide::WriteWholeFile(ide::CodeTemplateFile, "[mine | my own]\r\nx;\r\n"));

    ide::TIde ide;
    EXPECT_EQ(ide.EditorParamStr("FontName"), "Lucida Console");
    EXPECT_EQ(ide.EditorParamStr("FontSize"), "10");
    EXPECT_EQ(ide.EditorParamInt("TabRack"), 4);
    EXPECT_EQ(ide.EditorParamInt("FontName"), 0);
    EXPECT_EQ(ide.EditorParamStr(""), "");
    EXPECT_EQ(*ide::ReadWholeFile(ide::CodeTemplateFile), "[mine | my own]\r\nx;\r\n");

    // Changes made while the IDE runs are seen at the next call.
    {
        rtl::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(Editor, false));
        reg.WriteInteger("FontSize", 12);
    }
    EXPECT_EQ(ide.EditorParamStr("FontSize"), "12");
    EXPECT_EQ(ide.EditorParamInt("FontSize"), 12);
}

TEST(TIde, OnlyOnePerProcess) {
    testing_support::TempWinRoot root;
    ide::TIde first;
    EXPECT_THROW(ide::TIde second, rtl::EInvalidOperation);
    EXPECT_EQ(ide::TIde::Current(), &first);
}

} // namespace
