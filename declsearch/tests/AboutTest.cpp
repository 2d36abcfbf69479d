#include "declsearch/About.h"

#include "testing/UiTest.h"

#include <gtest/gtest.h>

#include <string>

using namespace declsearch;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

class AboutTest : public UiTest {};

std::string Lines(const rtl::TStrings& List) {
    std::string out;
    for (int i = 0; i < List.Count(); ++i) out += List.Get(i) + "\n";
    return out;
}

} // namespace

TEST_F(AboutTest, TheLibraryKnowsItsPathVersionStringsAndFixedFonts) {
    std::string path = GetModulePath();
    EXPECT_NE(path.find("declsearch_tests"), std::string::npos) << path;
    EXPECT_LE(path.size(), 254u);

    rtl::TStringList info;
    info.Add("stale");
    ASSERT_TRUE(ReadVersionInfo(info));
    EXPECT_EQ(Lines(info), "CompanyName=Delvo Software\n"
                           "FileDescription=Delvo +\n"
                           "FileVersion=2.0.1\n"
                           "InternalName=Delvo32\n"
                           "LegalCopyright=Copyright \xA9 1996-1997\n"
                           "OriginalFilename=DELVO32.DLL\n"
                           "ProductName=Delvo32\n"
                           "ProductVersion=2.0\n");

    rtl::TStringList fonts;
    fonts.Add("stale");
    GetFixedPitchFonts(fonts);
    EXPECT_GE(fonts.IndexOf("Courier New"), 0) << Lines(fonts);
    EXPECT_GE(fonts.IndexOf("Courier"), 0) << Lines(fonts);
    EXPECT_LT(fonts.IndexOf("Arial"), 0);
    EXPECT_LT(fonts.IndexOf("MS Sans Serif"), 0);
    EXPECT_LT(fonts.IndexOf("stale"), 0);
}

TEST_F(AboutTest, TheAboutBoxShowsTheVersionAndRunsItsCredits) {
    AboutDlg = vcl::Make<TAboutDlg>(vcl::Application);
    TRobot robot;
    int before = 0;
    robot.Do([&] {
        EXPECT_EQ(AboutDlg->Caption(), "About Delvo32 2.0 ...");
        EXPECT_EQ(AboutDlg->FileDescription->Caption(), "Delvo +");
        EXPECT_EQ(AboutDlg->FileVersion->Caption(), "2.0.1");
        EXPECT_TRUE(AboutDlg->Credits1->Started());
        before = AboutDlg->Credits1->ScrollOffset();
    });
    robot.Wait(500);
    robot.Do([&] {
        vcl::Application->ProcessMessages();
        EXPECT_LT(AboutDlg->Credits1->ScrollOffset(), before);
        TRobot::Screenshot(SUITE_BINARY_DIR "/delvo-about.png", AboutDlg->Handle());
    });
    robot.Click(TBy::Caption("OK"));
    EXPECT_EQ(AboutDlg->ShowModal(), vcl::mrOk);
    EXPECT_EQ(AboutDlg->Width(), 392);
    EXPECT_EQ(AboutDlg->Height(), 212);
    delete AboutDlg;
    EXPECT_EQ(AboutDlg, nullptr);
}
