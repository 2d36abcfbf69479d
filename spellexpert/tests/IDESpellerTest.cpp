#include "spellexpert/IDESpeller.h"
#include "IdeHighlightFixture.h"
#include "spellexpert/Settings.h"
#include "spellexpert/SyntaxColour.h"
#include "spellexpert/WordFilter.h"

#include "rtl/Paths.h"
#include "testing/Robot.h"
#include "testing/UiTest.h"
#include "win/Messages.h"
#include "win/Windows.h"

#include <cstdio>
#include <fstream>
#include <sstream>

using namespace spellexpert;

namespace {

class IDESpellerTest : public testing_support::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Settings() = {};
        spellexpert_test::UseIdeHighlight();
        Window = new TIDESpeller(vcl::Application);
        Window->Show();
    }
    void TearDown() override {
        delete Window;
        Settings() = {};
        SetDefaultAttributes();
        UiTest::TearDown();
    }
    static void Write(const std::string& Name, const std::string& Text) {
        std::ofstream(rtl::HostPath(Name), std::ios::binary) << Text;
    }
    TIDESpeller* Window = nullptr;
};

TEST_F(IDESpellerTest, AFreePascalUnitIsShownColoured) {
    std::ifstream in("/usr/share/fpcsrc/3.2.2/rtl/inc/strings.pp", std::ios::binary);
    if (!in)
        GTEST_SKIP() << "no Free Pascal sources";
    std::stringstream ss;
    ss << in.rdbuf();
    Write("C:\\strings.pas", ss.str());
    Window->LoadFile("C:\\strings.pas");
    Window->ShowFileInEditor("C:\\strings.pas");
    EXPECT_EQ(Window->Caption(), "C:\\STRINGS.PAS");
    EXPECT_EQ(Window->TabControl1->Tabs()->Strings(0), "strings.pas");
    EXPECT_EQ(Window->Status->SimpleText(), "Spell Checking Unit...");
    ASSERT_NE(SyntaxList, nullptr);
    EXPECT_EQ(SyntaxList->LineCount(), Window->Editor1->ParaCount());
    EXPECT_TRUE(static_cast<bool>(Window->Editor1->OnDrawLine));
    EXPECT_EQ(Window->Editor1->FixedFont()->Size(), 10); // the IDE's editor font
    Window->Editor1->SetCaretPosition(30, 5);
    Window->Editor1->SetTopLine(20);
    int col = 0;
    const std::int32_t line = Window->Editor1->GetCaretPosition(col);
    char want[16];
    std::snprintf(want, sizeof want, "%4d:%4d", static_cast<int>(line), col);
    EXPECT_EQ(Window->Status->Panels()->Items(0)->Text(), want);
    Window->Editor1->SetTopLine(1);
    Window->Editor1->Update();
    ASSERT_TRUE(testing_support::TRobot::Screenshot(std::string(SUITE_BINARY_DIR) + "/spellexpert/idespeller.png",
                                                    Window->Handle()));
}

TEST_F(IDESpellerTest, WhatIsCheckedFollowsTheExtension) {
    const struct {
        const char* Name;
        bool SyntaxHi;
        const char* Status;
        bool Painted;
    } cases[] = {
        {"C:\\P.DPR", true, "Spell Checking Project File...", true},
        {"C:\\F.DFM", true, "Spell Checking Form...", false},
        {"C:\\u.pas", false, "Spell Checking Unit...", false},
        {"C:\\notes.txt", true, "Spell Checking File...", true},
    };
    for (const auto& c : cases) {
        Write(c.Name, "x := 'a';\n{ b }\n");
        Settings().SyntaxHi = c.SyntaxHi;
        Window->LoadFile(c.Name);
        Window->ShowFileInEditor(c.Name);
        EXPECT_EQ(Window->Status->SimpleText(), c.Status) << c.Name;
        EXPECT_EQ(static_cast<bool>(Window->Editor1->OnDrawLine), c.Painted) << c.Name;
        ASSERT_NE(SyntaxList, nullptr) << "always made, for the filter";
        EXPECT_EQ(SyntaxList->GetLineAttributes(2), "ccccc");
    }
}

TEST_F(IDESpellerTest, ClosingTheWindowMidWalkCancelsIt) {
    Write("C:\\u.pas", "x := 'one';\n" + std::string(200, ' ') + "y;\nz := 'two';\n");
    Window->LoadFile("C:\\u.pas");
    Window->ShowFileInEditor("C:\\u.pas");
    auto filter = TMyBuffer::NewOnEditor(Window->Editor1);
    std::string w;
    filter->GetNextWord(w);
    ASSERT_EQ(w, "one");
    win::PostMessage(Window->Handle(), win::WM_CLOSE, 0, 0);
    filter->GetNextWord(w);
    EXPECT_EQ(w, "");
    EXPECT_TRUE(filter->Aborted());
    EXPECT_EQ(SyntaxList, nullptr);
    EXPECT_FALSE(Window->Visible()); // hidden, not freed
}

} // namespace
