#include "IdeFixture.h"

#include "host/Interface.h"
#include "rtl/IniFiles.h"
#include "rtl/StringLists.h"
#include "rtl/SysUtils.h"

#include <random>
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

// What a profile reader (the one the libraries use) finds in a desktop file: the two places, with
// the defaults the IDE and Quillor both give.
struct TDesktopView {
    ide::TWindowPlace Edit, Inspector;
    std::vector<std::string> Rest; // every other "section|key=value", in the reader's order
};

TDesktopView ProfileView(const std::string& dsk) {
    const rtl::TIniFile ini(dsk);
    auto place = [&](const std::string& section, ide::TWindowPlace d) {
        return ide::TWindowPlace{ini.ReadInteger(section, "Left", d.Left), ini.ReadInteger(section, "Top", d.Top),
                                 ini.ReadInteger(section, "Width", d.Width), ini.ReadInteger(section, "Height", d.Height)};
    };
    TDesktopView v{place("EditWindow0", ide::TProject::DefaultEditWindow),
                   place("PropertyInspector", ide::TProject::DefaultPropertyInspector), {}};
    rtl::TStringList sections, values;
    ini.ReadSections(sections);
    for (int i = 0; i < sections.Count(); ++i) {
        const std::string section = sections.Get(i);
        ini.ReadSectionValues(section, values);
        const bool placed = rtl::SameText(section, "EditWindow0") || rtl::SameText(section, "PropertyInspector");
        for (int k = 0; k < values.Count(); ++k) {
            const std::string entry = values.Get(k), key = entry.substr(0, entry.find('='));
            if (placed && (rtl::SameText(key, "Left") || rtl::SameText(key, "Top") || rtl::SameText(key, "Width") ||
                           rtl::SameText(key, "Height")))
                continue;
            v.Rest.push_back(rtl::UpperCase(section) + "|" + entry);
        }
    }
    return v;
}

// The IDE reads a desktop file as the libraries do, and what it writes back they read as written,
// with every other value of the file kept.
class DesktopRoundTrip : public ProjectTest {
protected:
    void Check(const std::string& text, const std::string& label) {
        SCOPED_TRACE(label);
        // A file of its own each time: one rewritten in place within a clock tick could pass for
        // the version a reader already holds.
        const std::string name = DemoDir + "Desk" + std::to_string(++FCount);
        const std::string dsk = name + ".DSK";
        WriteDisk(dsk, text);
        const TDesktopView before = ProfileView(dsk);
        ide::TProject project;
        project.Open(name + ".dpr");
        EXPECT_EQ(project.EditWindow, before.Edit) << text;
        EXPECT_EQ(project.PropertyInspector, before.Inspector) << text;

        project.EditWindow = {before.Edit.Left + 1, 2, 333, before.Edit.Height};
        project.PropertyInspector = {7, before.Inspector.Top, 8, 9};
        ASSERT_TRUE(project.WriteDesktop());
        const TDesktopView after = ProfileView(dsk);
        EXPECT_EQ(after.Edit, project.EditWindow) << text << "\n--- written\n" << DiskText(dsk);
        EXPECT_EQ(after.Inspector, project.PropertyInspector) << text << "\n--- written\n" << DiskText(dsk);
        EXPECT_EQ(after.Rest, before.Rest) << text << "\n--- written\n" << DiskText(dsk);
        ide::TProject again;
        again.Open(name + ".dpr");
        EXPECT_EQ(again.EditWindow, project.EditWindow);
        EXPECT_EQ(again.PropertyInspector, project.PropertyInspector);
    }

private:
    int FCount = 0;
};

TEST_F(DesktopRoundTrip, TheIdeAndTheProfileReaderAgreeOnEveryForm) {
    const char* cases[] = {
        "[EditWindow0]\r\nLeft=5\r\nTop=6\r\nWidth=400\r\nHeight=250\r\n[PropertyInspector]\r\nLeft=3\r\nTop=90\r\n",
        "[EditWindow0]\rLeft=5\rTop=6\rWidth=400\r[PropertyInspector]\rLeft=3\r",          // bare CRs
        "[EditWindow0]\nLeft=5\n[Other]\r\nLeft=1\r[PropertyInspector]\nWidth=150",          // mixed, no last break
        "[EditWindow0] ; the code editor\r\nLeft=7\r\nTop=8\r\n[PropertyInspector]x\r\nHeight=300\r\n",
        "  [ editwindow0 ]  \r\n  LEFT = 11 \r\n\ttop\t=\t12\r\nWidth=\"401\"\r\nHeight='251'\r\n",
        "[EditWindow0]\r\nLeft=1\r\n[EditWindow0]\r\nLeft=2\r\nTop=3\r\n",                  // the first section holds
        "[EditWindow0]\r\nLeft=1\r\nLeft=2\r\n;Top=9\r\nTop\r\n=4\r\nWidth=12px\r\nHeight=0x20\r\n",
        "[Main Window]\r\nCreate=1\r\n\r\n[EditWindow0]\r\nCreate=1\r\n\r\n[Watches]\r\nCount=0\r\n",
        "[EditWindow0\r\nLeft=6\r\n[]\r\nTop=1\r\n",
        "",
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) Check(cases[i], "case " + std::to_string(i));
}

TEST_F(DesktopRoundTrip, RandomDesktopFiles) {
    std::mt19937 rng(45);
    auto pick = [&](std::initializer_list<const char*> items) {
        return std::string(items.begin()[rng() % items.size()]);
    };
    for (int n = 0; n < 100; ++n) {
        std::string text;
        for (int line = 0, lines = int(rng() % 14); line < lines; ++line) {
            const std::string blank = pick({"", "", " ", "\t", "  "});
            if (rng() % 4 == 0) {
                text += blank + "[" + pick({"EditWindow0", "editwindow0", "PropertyInspector", "Main Window", "X", ""}) +
                        pick({"]", "]", "] x", "]]", "", " ] ;c"}) + blank;
            } else {
                text += blank + pick({"Left", "Top", "Width", "Height", "LEFT", "Create", "", ";Left"}) + blank +
                        pick({"=", "=", "= ", ""}) + blank + pick({"1", "42", "-7", "0x1F", "\"9\"", "12px", "", "=3"}) +
                        blank;
            }
            text += pick({"\r\n", "\r\n", "\n", "\r", "\r\r\n"});
        }
        Check(text, "random " + std::to_string(n));
        if (HasFailure()) break;
    }
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
