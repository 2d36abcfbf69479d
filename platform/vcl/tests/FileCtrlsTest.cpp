#include "testing/UiTest.h"

#include "vcl/FileCtrls.h"

#include "rtl/Exceptions.h"
#include "rtl/Paths.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace vcl;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

template <class T>
std::vector<std::string> Lines(T* List) {
    std::vector<std::string> out;
    for (int i = 0; i < List->Items()->Count(); ++i) out.push_back(List->Items()->Get(i));
    return out;
}

// A machine root with a project in mixed case, and a form with the three lists, linked, a label
// for the folder and an edit field for the file.
class FileCtrlsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        namespace fs = std::filesystem;
        fs::path c = fs::path(Root.Path()) / "drive_c";
        for (const char* dir : {"Projects/Demo/Forms", "Projects/Demo/inc", "Projects/Other"})
            fs::create_directories(c / dir);
        for (const char* file : {"Projects/Demo/Unit1.PAS", "Projects/Demo/main.dpr", "Projects/Demo/Readme.txt",
                                 "Projects/Demo/helpers.pas", "Projects/Demo/Defs.INC", "Projects/Demo/.hidden.pas"})
            std::ofstream(c / file) << "x";
        ASSERT_TRUE(rtl::SetCurrentDir("C:\\Projects"));

        Form = Make<TForm>(Application);
        Form->SetBounds(40, 40, 340, 260);
        Form->SetCaption("Lists");
        Edit = Make<TEdit>(Form);
        Edit->SetName("edtFile");
        Edit->SetParent(Form);
        Edit->SetBounds(8, 8, 150, 21);
        Files = Make<TFileListBox>(Form);
        Files->SetName("lstFiles");
        Files->SetParent(Form);
        Files->SetBounds(8, 34, 150, 120);
        Folder = Make<TLabel>(Form);
        Folder->SetName("lblFolder");
        Folder->SetParent(Form);
        Folder->SetBounds(170, 12, 150, 13);
        Dirs = Make<TDirectoryListBox>(Form);
        Dirs->SetName("lstDirs");
        Dirs->SetParent(Form);
        Dirs->SetBounds(170, 34, 150, 120);
        Drives = Make<TDriveComboBox>(Form);
        Drives->SetName("cbDrives");
        Drives->SetParent(Form);
        Drives->SetBounds(170, 164, 150, 21);
        Ok = Make<TButton>(Form);
        Ok->SetName("btnOk");
        Ok->SetParent(Form);
        Ok->SetCaption("OK");
        Ok->SetBounds(8, 190, 75, 25);
        Ok->SetDefault(true);
        Ok->OnClick = [this](TObject*) { ++OkClicks; };

        Files->SetFileEdit(Edit);
        Dirs->SetFileList(Files);
        Dirs->SetDirLabel(Folder);
        Drives->SetDirList(Dirs);
        Dirs->OnChange = [this](TObject*) { DirChanges.push_back(Dirs->Directory()); };
        Files->OnChange = [this](TObject*) { FileChanges.push_back(Files->FileName()); };
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        UiTest::TearDown();
    }
    void Run(TRobot& Robot) { EXPECT_TRUE(testing_support::PlayOut(Robot, 60)) << Robot.Describe(); }
    win::POINT LineOf(TCustomListBox* List, int Index) {
        TRect r = List->ItemRect(Index);
        return win::POINT{r.left + 40, (r.top + r.bottom) / 2};
    }

    TForm* Form = nullptr;
    TEdit* Edit = nullptr;
    TFileListBox* Files = nullptr;
    TLabel* Folder = nullptr;
    TDirectoryListBox* Dirs = nullptr;
    TDriveComboBox* Drives = nullptr;
    TButton* Ok = nullptr;
    int OkClicks = 0;
    std::vector<std::string> DirChanges, FileChanges;
};

TEST_F(FileCtrlsTest, TheFolderListShowsTheWayDownThenTheFoldersBelowInTheirOwnCase) {
    EXPECT_EQ(Dirs->Directory(), "C:\\Projects");
    Dirs->SetDirectory("c:\\PROJECTS\\demo");
    EXPECT_EQ(Dirs->Directory(), "C:\\Projects\\Demo");
    EXPECT_EQ(Lines(Dirs), (std::vector<std::string>{"C:\\", "Projects", "Demo", "Forms", "inc"}));
    EXPECT_EQ(Dirs->ItemIndex(), 2);
    EXPECT_EQ(Dirs->GetItemPath(0), "C:\\");
    EXPECT_EQ(Dirs->GetItemPath(1), "C:\\Projects");
    EXPECT_EQ(Dirs->GetItemPath(4), "C:\\Projects\\Demo\\inc");
    EXPECT_EQ(Folder->Caption(), "C:\\Projects\\Demo");
    EXPECT_EQ(Files->Directory(), "C:\\Projects\\Demo");
    EXPECT_EQ(DirChanges, std::vector<std::string>{"C:\\Projects\\Demo"});

    // A relative name goes from the current folder; a trailing '\' changes nothing.
    Dirs->SetDirectory("Other\\");
    EXPECT_EQ(Dirs->Directory(), "C:\\Projects\\Other");
    Dirs->SetDirectory("C:\\");
    EXPECT_EQ(Lines(Dirs), (std::vector<std::string>{"C:\\", "Projects", "windows"}));
    EXPECT_EQ(Dirs->ItemIndex(), 0);

    // A folder that is not there is refused, and the list stays.
    EXPECT_THROW(Dirs->SetDirectory("C:\\Projects\\Nowhere"), rtl::EInOutError);
    EXPECT_THROW(Files->SetDirectory("C:\\Projects\\Demo\\Unit1.pas"), rtl::EInOutError);
    EXPECT_EQ(Dirs->Directory(), "C:\\");
    EXPECT_EQ(Files->Directory(), "C:\\");
    EXPECT_EQ(DirChanges.size(), 3u);
}

TEST_F(FileCtrlsTest, DoubleClickAndEnterOpenTheChosenFolder) {
    Dirs->SetDirectory("C:\\Projects\\Demo");
    Dirs->SetFocus();
    TRobot robot;
    robot.ClickAt(Dirs->Handle(), LineOf(Dirs, 3));
    robot.ClickAt(Dirs->Handle(), LineOf(Dirs, 3), win::WM_LBUTTONDBLCLK);
    Run(robot);
    EXPECT_EQ(Dirs->Directory(), "C:\\Projects\\Demo\\Forms");
    EXPECT_EQ(Folder->Caption(), "C:\\Projects\\Demo\\Forms");

    // Home chooses the root without opening it; Enter opens it and does not press OK.
    TRobot keys;
    keys.Key(win::VK_HOME);
    keys.Do([&] { EXPECT_EQ(Dirs->Directory(), "C:\\Projects\\Demo\\Forms"); });
    keys.Key(win::VK_RETURN);
    Run(keys);
    EXPECT_EQ(Dirs->Directory(), "C:\\");
    EXPECT_EQ(OkClicks, 0);

    // Enter on the folder already open goes to the form's default button.
    TRobot again;
    again.Key(win::VK_RETURN);
    Run(again);
    EXPECT_EQ(Dirs->Directory(), "C:\\");
    EXPECT_EQ(OkClicks, 1);
    EXPECT_EQ(DirChanges, (std::vector<std::string>{"C:\\Projects\\Demo", "C:\\Projects\\Demo\\Forms", "C:\\"}));
}

TEST_F(FileCtrlsTest, MasksWithSeveralPatternsListTheMatchingFilesOnce) {
    Dirs->SetDirectory("C:\\Projects\\Demo");
    struct Case {
        const char* mask;
        std::vector<std::string> files;
    } cases[] = {
        {"*.*", {"Defs.INC", "helpers.pas", "main.dpr", "Readme.txt", "Unit1.PAS"}},
        {"", {"Defs.INC", "helpers.pas", "main.dpr", "Readme.txt", "Unit1.PAS"}},
        {"*.pas", {"helpers.pas", "Unit1.PAS"}},
        {"*.pa?;*.dpr", {"helpers.pas", "main.dpr", "Unit1.PAS"}},
        {"*.PAS; *.inc ;u*.*", {"Defs.INC", "helpers.pas", "Unit1.PAS"}},
        {"*.dcu", {}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        Files->SetMask(cases[i].mask);
        EXPECT_EQ(Lines(Files), cases[i].files) << "case " << i << ": " << cases[i].mask;
        EXPECT_EQ(Edit->Text(), std::string(cases[i].mask).empty() ? "*.*" : cases[i].mask) << "case " << i;
    }
}

TEST_F(FileCtrlsTest, AClickedFileIsTheFileNameAndShowsInTheEdit) {
    Dirs->SetDirectory("C:\\Projects\\Demo");
    Files->SetMask("*.pas;*.dpr");
    EXPECT_EQ(Files->FileName(), "");
    EXPECT_EQ(Edit->Text(), "*.pas;*.dpr");
    FileChanges.clear();
    TRobot robot;
    robot.ClickAt(Files->Handle(), LineOf(Files, 1));
    Run(robot);
    EXPECT_EQ(Files->FileName(), "C:\\Projects\\Demo\\main.dpr");
    EXPECT_EQ(Edit->Text(), "main.dpr");
    EXPECT_EQ(FileChanges, std::vector<std::string>{"C:\\Projects\\Demo\\main.dpr"});

    // A name with a folder goes there; in any case it finds the file.
    Files->SetFileName("c:\\projects\\demo\\UNIT1.pas");
    EXPECT_EQ(Files->FileName(), "C:\\Projects\\Demo\\Unit1.PAS");
    EXPECT_EQ(Edit->Text(), "Unit1.PAS");
    // A mask that still lists it keeps the choice; opening another folder takes it away, even
    // where a file has the same name, and shows the mask again.
    Files->SetMask("*.pas");
    EXPECT_EQ(Files->FileName(), "C:\\Projects\\Demo\\Unit1.PAS");
    std::ofstream(std::filesystem::path(Root.Path()) / "drive_c/Projects/Other/Unit1.PAS") << "x";
    Dirs->SetDirectory("C:\\Projects\\Other");
    EXPECT_EQ(Files->FileName(), "");
    EXPECT_EQ(Lines(Files), std::vector<std::string>{"Unit1.PAS"});
    EXPECT_EQ(Edit->Text(), "*.pas");
}

TEST_F(FileCtrlsTest, ChoosingADriveRefillsTheFolderListAndComesBackToWhereItWas) {
    Dirs->SetDirectory("C:\\Projects\\Demo");
    EXPECT_EQ(Lines(Drives), (std::vector<std::string>{"c:", "z:"}));
    EXPECT_EQ(Drives->Drive(), 'C');
    Drives->SetFocus();
    TRobot robot;
    robot.Key(win::VK_DOWN);
    Run(robot);
    EXPECT_EQ(Drives->Drive(), 'Z');
    EXPECT_EQ(Dirs->Drive(), 'Z');
    ASSERT_FALSE(Lines(Dirs).empty());
    EXPECT_EQ(Lines(Dirs)[0], "Z:\\");
    EXPECT_EQ(Files->Drive(), 'Z');
    EXPECT_EQ(Folder->Caption().substr(0, 3), "Z:\\");

    // Back on C: the list shows the folder it showed last there.
    Drives->SetDrive('c');
    EXPECT_EQ(Dirs->Directory(), "C:\\Projects\\Demo");
    EXPECT_EQ(Drives->ItemIndex(), 0);
    // A drive the machine does not have changes nothing.
    Drives->SetDrive('Q');
    EXPECT_EQ(Drives->Drive(), 'C');
    EXPECT_EQ(Dirs->Directory(), "C:\\Projects\\Demo");
}

TEST_F(FileCtrlsTest, ALabelOfFixedWidthShowsAShortenedFolder) {
    namespace fs = std::filesystem;
    fs::create_directories(fs::path(Root.Path()) / "drive_c/Projects/Demo/Forms/A rather long folder name/Deeper");
    Folder->SetAutoSize(false);
    Folder->SetWidth(150);
    Dirs->SetDirectory("C:\\Projects\\Demo\\Forms\\A rather long folder name\\Deeper");
    std::string shown = Folder->Caption();
    EXPECT_EQ(shown.substr(0, 6), "C:\\...") << shown;
    EXPECT_EQ(shown.substr(shown.size() - 7), "\\Deeper") << shown;
    EXPECT_LE(Folder->Canvas()->TextWidth(shown), 150);
    TRobot::Screenshot("/tmp/vcl-filectrls.png", Form->Handle());
}

TEST_F(FileCtrlsTest, LinkedControlsFreedFirstAreForgotten) {
    delete Files;
    delete Folder;
    Files = nullptr;
    Folder = nullptr;
    Dirs->SetDirectory("C:\\Projects\\Demo");
    delete Dirs;
    Dirs = nullptr;
    Drives->SetDrive('Z');
    EXPECT_EQ(Drives->Drive(), 'Z');
}

} // namespace
