#include "IdeFixture.h"

#include "host/Interface.h"

#include <vector>

using namespace ide_test;

namespace {

class ProjectTest : public IdeFixture {};

TEST_F(ProjectTest, OpenReportsFullNamesAndUnitsOfTheUsesClause) {
    EXPECT_EQ(Services->GetProjectName(), "");
    EXPECT_EQ(Services->GetUnitCount(), 0);
    ASSERT_TRUE(Services->OpenProject("c:/projects/demo/DEMO.DPR"));

    EXPECT_EQ(Services->GetProjectName(), DemoDir + "Demo.dpr");
    EXPECT_EQ(Services->GetCurrentFile(), DemoDir + "Demo.dpr");
    EXPECT_EQ(rtl::GetCurrentDir(), "C:\\PROJECTS\\Demo");
    std::vector<std::string> units;
    for (int i = 0; i < Services->GetUnitCount(); ++i)
        units.push_back(Services->GetUnitName(i));
    // A bare name is that name with ".pas" beside the project, whether or not it exists; a file
    // named with "in" is resolved on disk without regard to case.
    EXPECT_EQ(units, (std::vector<std::string>{DemoDir + "Demo.dpr", DemoDir + "Forms.pas", DemoDir + "Main.pas",
                                               DemoDir + "Shapes.pas", DemoDir + "Drawing.pas",
                                               DemoDir + "Helpers.pas"}));
    EXPECT_EQ(Services->GetUnitName(6), "");
    EXPECT_EQ(Services->GetUnitName(-1), "");
}

TEST_F(ProjectTest, MissingFilesAndProjectsChangeNothing) {
    ASSERT_TRUE(OpenDemo());
    EXPECT_FALSE(Services->OpenFile(DemoDir + "Nowhere.pas"));
    EXPECT_FALSE(Services->OpenFile(""));
    EXPECT_EQ(Services->GetCurrentFile(), DemoDir + "Demo.dpr");
    EXPECT_FALSE(Services->OpenProject(DemoDir + "Nowhere.dpr"));
    EXPECT_EQ(Services->GetProjectName(), DemoDir + "Demo.dpr");

    // Saving a file that is not open writes nothing.
    std::string before = DiskText(DemoDir + "Main.pas");
    EXPECT_FALSE(Services->SaveFile(DemoDir + "Main.pas"));
    EXPECT_FALSE(Services->SaveFile(DemoDir + "Nowhere.pas"));
    EXPECT_FALSE(std::filesystem::exists(HostFile(DemoDir + "Nowhere.pas")));
    EXPECT_EQ(DiskText(DemoDir + "Main.pas"), before);
}

TEST_F(ProjectTest, OpeningAFileMakesItCurrentFormsToo) {
    ASSERT_TRUE(OpenDemo());
    EXPECT_TRUE(Services->OpenFile(DemoDir + "main.pas"));
    EXPECT_EQ(Services->GetCurrentFile(), DemoDir + "Main.pas");
    EXPECT_TRUE(Services->OpenFile(DemoDir + "MAIN.DFM"));
    EXPECT_EQ(Services->GetCurrentFile(), DemoDir + "Main.dfm");
    // Opening an open file again keeps its buffer and its edits.
    Ide->Buffers().Find(DemoDir + "Main.pas")->SetText("edited");
    EXPECT_TRUE(Services->OpenFile(DemoDir + "Main.pas"));
    EXPECT_EQ(Ide->CurrentBuffer()->Text(), "edited");
}

TEST_F(ProjectTest, SaveWritesModifiedBuffersAndDesktopAndCloseClosesEveryBuffer) {
    ASSERT_TRUE(OpenDemo());
    ASSERT_TRUE(Services->OpenFile(DemoDir + "Main.pas"));
    ASSERT_TRUE(Services->OpenFile(DemoDir + "Helpers.pas"));
    EXPECT_EQ(Ide->Project().EditWindow, (ide::TWindowPlace{240, 130, 520, 360}));
    EXPECT_EQ(Ide->Project().PropertyInspector, (ide::TWindowPlace{2, 104, 190, 400}));

    Ide->Buffers().Find(DemoDir + "Main.pas")->SetText("unit Main;\nend.\n");
    std::string helpersOnDisk = DiskText(DemoDir + "Helpers.pas");
    Ide->Project().EditWindow = {10, 20, 300, 200};
    EXPECT_TRUE(Services->SaveProject());

    EXPECT_EQ(DiskText(DemoDir + "Main.pas"), "unit Main;\r\nend.\r\n");
    EXPECT_FALSE(Ide->Buffers().Find(DemoDir + "Main.pas")->Modified());
    EXPECT_EQ(DiskText(DemoDir + "Helpers.pas"), helpersOnDisk) << "an unmodified buffer is not written";
    std::string dsk = DiskText(DemoDir + "Demo.dsk");
    EXPECT_NE(dsk.find("[Main Window]\r\nCreate=1\r\nVisible=1\r\n"), std::string::npos) << dsk;
    EXPECT_NE(dsk.find("[EditWindow0]\r\nCreate=1\r\nLeft=10\r\nTop=20\r\nWidth=300\r\nHeight=200\r\n"),
              std::string::npos)
        << dsk;

    EXPECT_TRUE(Services->CloseProject());
    EXPECT_EQ(Services->GetProjectName(), "");
    EXPECT_EQ(Services->GetCurrentFile(), "");
    EXPECT_EQ(Services->GetUnitCount(), 0);
    EXPECT_TRUE(Ide->Buffers().Buffers().empty());
    EXPECT_EQ(Services->GetModuleInterface(DemoDir + "Main.pas"), nullptr);
}

TEST_F(ProjectTest, SaveWithoutAProjectStillSavesOpenFiles) {
    ASSERT_TRUE(Services->OpenFile(DemoDir + "Main.pas"));
    Ide->CurrentBuffer()->SetText("saved alone");
    EXPECT_FALSE(Services->SaveProject());
    EXPECT_EQ(DiskText(DemoDir + "Main.pas"), "saved alone");
}

TEST_F(ProjectTest, CloseKeepsUnsavedEditsOnDisk) {
    ASSERT_TRUE(OpenDemo());
    ASSERT_TRUE(Services->OpenFile(DemoDir + "Main.pas"));
    Ide->CurrentBuffer()->SetText("changed");
    EXPECT_TRUE(Services->CloseProject());
    EXPECT_EQ(DiskText(DemoDir + "Main.pas"), "changed");
}

TEST_F(ProjectTest, MissingDesktopGivesDefaultPlacesAndIsWrittenOnSave) {
    std::filesystem::remove(HostFile(DemoDir + "Demo.dsk"));
    ASSERT_TRUE(OpenDemo());
    EXPECT_EQ(Ide->Project().EditWindow, ide::TProject::DefaultEditWindow);
    EXPECT_EQ(Ide->Project().PropertyInspector, ide::TProject::DefaultPropertyInspector);
    EXPECT_TRUE(Services->SaveProject());
    EXPECT_EQ(DiskText(DemoDir + "Demo.dsk"),
              "[EditWindow0]\r\nLeft=210\r\nTop=119\r\nWidth=430\r\nHeight=300\r\n\r\n"
              "[PropertyInspector]\r\nLeft=1\r\nTop=99\r\nWidth=197\r\nHeight=380\r\n");
}

TEST(ParseUses, Cases) {
    struct Case {
        const char* Text;
        std::vector<std::pair<std::string, std::string>> Expected;
    };
    const Case cases[] = {
        {"program P; uses A, B in 'b.pas' {Form}, C; begin end.", {{"A", ""}, {"B", "b.pas"}, {"C", ""}}},
        {"program P;\r\n{ uses Fake; }\r\n// uses Fake2;\r\n(* uses Fake3 *)\r\nUSES X;\r\nbegin end.", {{"X", ""}}},
        {"library L; uses Sub in '..\\common\\sub.pas'; exports F; begin end.", {{"Sub", "..\\common\\sub.pas"}}},
        {"program P; begin uses end.", {}},
        {"program P; uses {$IFDEF X} A, {$ENDIF} B;", {{"A", ""}, {"B", ""}}},
        {"program P; uses A in 'it''s.pas';", {{"A", "it's.pas"}}},
        {"program P; uses", {}},
        {"", {}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        std::vector<std::pair<std::string, std::string>> got;
        for (const auto& e : ide::TProject::ParseUses(cases[i].Text))
            got.emplace_back(e.UnitName, e.InFile);
        EXPECT_EQ(got, cases[i].Expected) << "case " << i << ": " << cases[i].Text;
    }
}

} // namespace
