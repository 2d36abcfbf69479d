#include "CommonDialogTest.h"

#include "vcl/ButtonCtrls.h"
#include "vcl/FileCtrls.h"
#include "vcl/FileDialogs.h"

#include "rtl/Paths.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

// The open dialog over a project in mixed case, set up as the spell checker sets it up.
class OpenDialogTest : public CommonDialogTest<TOpenDialog> {
protected:
    void SetUp() override {
        UiTest::SetUp();
        namespace fs = std::filesystem;
        fs::path c = fs::path(Root.Path()) / "drive_c";
        for (const char* dir : {"Projects/Demo/inc", "Projects/Other"}) fs::create_directories(c / dir);
        for (const char* file : {"Projects/Demo/Unit1.PAS", "Projects/Demo/Main.dpr", "Projects/Demo/Readme.txt",
                                 "Projects/Demo/helpers.pas", "Projects/Demo/inc/Defs.INC", "Projects/Other/x.pas"})
            std::ofstream(c / file) << "x";
        ASSERT_TRUE(rtl::SetCurrentDir("C:\\"));
        Dialog = Make<TOpenDialog>(Application);
        Dialog->SetDefaultExt("PAS");
        Dialog->SetFilter("Pascal Files (*.pa?)|*.pa?|Include Files (*.in?)|*.in?|Project Files (*.dpr)|*.dpr");
        Dialog->SetOptions(ofFileMustExist | ofHideReadOnly);
        Dialog->SetInitialDir("c:\\projects\\demo");
    }
    static std::vector<std::string> Listed(TForm* Form) {
        std::vector<std::string> out;
        auto* list = Find<TFileListBox>(Form, "FileList");
        for (int i = 0; i < list->Items()->Count(); ++i) out.push_back(list->Items()->Get(i));
        return out;
    }
};

TEST_F(OpenDialogTest, ATypedNameGetsTheDefaultExtensionAndTheCaseOnDisk) {
    TRobot robot;
    std::vector<std::string> shown;
    InDialog(robot, [&](TForm* f) {
        shown = Listed(f);
        EXPECT_EQ(f->Caption(), "Open");
        EXPECT_EQ(Find<TEdit>(f, "FileNameEdit")->Text(), "*.pa?");
        EXPECT_EQ(Find<TLabel>(f, "DirLabel")->Caption(), "C:\\Projects\\Demo");
        EXPECT_FALSE(Find<TCheckBox>(f, "ReadOnlyCheck")->Visible());
        TRobot::Screenshot("/tmp/vcl-open-dialog.png", f->Handle());
    });
    robot.AnswerOpenDialog("unit1");
    ASSERT_TRUE(Execute(robot));
    EXPECT_EQ(shown, (std::vector<std::string>{"helpers.pas", "Unit1.PAS"}));
    EXPECT_EQ(Dialog->FileName(), "C:\\Projects\\Demo\\Unit1.PAS");
    EXPECT_EQ(Dialog->FilterIndex(), 1);
}

TEST_F(OpenDialogTest, TypedMasksAndFoldersChangeTheListsAndKeepTheWindowOpen) {
    TRobot robot;
    std::vector<std::vector<std::string>> lists;
    std::vector<std::string> folders, fields;
    auto look = [&](TForm* f) {
        lists.push_back(Listed(f));
        folders.push_back(Find<TDirectoryListBox>(f, "DirList")->Directory());
        fields.push_back(Find<TEdit>(f, "FileNameEdit")->Text());
    };
    TForm* form = nullptr;
    InDialog(robot, [&](TForm* f) { form = f; });
    robot.AnswerOpenDialog("*.dpr;*.txt");
    robot.Do([&] { look(form); });
    robot.AnswerOpenDialog("inc");
    robot.Do([&] { look(form); });
    robot.AnswerOpenDialog("..\\..\\other\\*.*");
    robot.Do([&] { look(form); });
    robot.AnswerOpenDialog("\\Projects\\Demo\\main.DPR");
    ASSERT_TRUE(Execute(robot));
    ASSERT_EQ(lists.size(), 3u);
    EXPECT_EQ(lists[0], (std::vector<std::string>{"Main.dpr", "Readme.txt"}));
    EXPECT_EQ(folders[0], "C:\\Projects\\Demo");
    EXPECT_EQ(fields[0], "*.dpr;*.txt");
    EXPECT_EQ(lists[1], std::vector<std::string>{});
    EXPECT_EQ(folders[1], "C:\\Projects\\Demo\\inc");
    EXPECT_EQ(fields[1], "*.dpr;*.txt");
    EXPECT_EQ(lists[2], std::vector<std::string>{"x.pas"});
    EXPECT_EQ(folders[2], "C:\\Projects\\Other");
    EXPECT_EQ(fields[2], "*.*");
    EXPECT_EQ(Dialog->FileName(), "C:\\Projects\\Demo\\Main.dpr");
}

TEST_F(OpenDialogTest, ANameThatIsNotThereIsRefusedWithItsMessage) {
    TRobot robot;
    std::vector<std::string> messages, captions;
    auto record = [&](win::HWND box) {
        captions.push_back(win::GetWindowText(box));
        messages.push_back(TRobot::ChildText(box, "Message"));
    };
    robot.AnswerOpenDialog("nothing");
    robot.OnNextModal(record);
    robot.AnswerNextModal(TBy::Caption("OK"));
    robot.AnswerOpenDialog("Z:\\no such folder\\x.pas");
    robot.OnNextModal(record);
    robot.AnswerNextModal(TBy::Caption("OK"));
    robot.AnswerOpenDialog("\"helpers\"");
    ASSERT_TRUE(Execute(robot));
    EXPECT_EQ(captions, (std::vector<std::string>{"Open", "Open"}));
    EXPECT_EQ(messages, (std::vector<std::string>{
                            "nothing.PAS\nFile not found.\nPlease verify the correct filename was given.",
                            "Z:\\no such folder\\x.pas\nPath does not exist.\nPlease verify the correct path was given.",
                        }));
    EXPECT_EQ(Dialog->FileName(), "C:\\Projects\\Demo\\helpers.pas");

    // Without the option a new name is answered as typed, in the folder shown.
    Dialog->SetOptions(ofHideReadOnly);
    TRobot again;
    again.AnswerOpenDialog("New.pas");
    ASSERT_TRUE(Execute(again));
    EXPECT_EQ(Dialog->FileName(), "C:\\Projects\\Demo\\New.pas");
}

TEST_F(OpenDialogTest, AFileTypeChosenListsItsFilesAndIsKept) {
    TRobot robot;
    std::vector<std::string> shown;
    TForm* form = nullptr;
    InDialog(robot, [&](TForm* f) {
        form = f;
        Find<TComboBox>(f, "FilterCombo")->SetFocus();
    });
    robot.Key(win::VK_DOWN);
    robot.Key(win::VK_DOWN);
    robot.Do([&] {
        shown = Listed(form);
        EXPECT_EQ(Find<TEdit>(form, "FileNameEdit")->Text(), "*.dpr");
        // A double click on a file chooses it.
        auto* files = Find<TFileListBox>(form, "FileList");
        TRect r = files->ItemRect(0);
        win::POINT at{r.left + 10, (r.top + r.bottom) / 2};
        robot.ClickAt(files->Handle(), at);
        robot.ClickAt(files->Handle(), at);
    });
    ASSERT_TRUE(Execute(robot));
    EXPECT_EQ(shown, std::vector<std::string>{"Main.dpr"});
    EXPECT_EQ(Dialog->FileName(), "C:\\Projects\\Demo\\Main.dpr");
    EXPECT_EQ(Dialog->FilterIndex(), 3);
}

TEST_F(OpenDialogTest, CancelAnswersFalseAndChangesNothing) {
    // As the spell checker asks for a file it cannot find: a title, a folder, a mask.
    Dialog->SetTitle("Open C:\\Projects\\Demo\\Gone.pas");
    Dialog->SetInitialDir("C:\\Projects\\Demo");
    Dialog->SetFileName("*.PAS");
    Dialog->SetFilterIndex(2);
    TRobot robot;
    std::vector<std::string> shown;
    std::string caption, field;
    InDialog(robot, [&](TForm* f) {
        shown = Listed(f);
        caption = f->Caption();
        field = Find<TEdit>(f, "FileNameEdit")->Text();
    });
    robot.AnswerOpenDialog("inc");
    robot.AnswerOpenDialog("");
    EXPECT_FALSE(Execute(robot));
    EXPECT_EQ(shown, (std::vector<std::string>{"helpers.pas", "Unit1.PAS"}));
    EXPECT_EQ(caption, "Open C:\\Projects\\Demo\\Gone.pas");
    EXPECT_EQ(field, "*.PAS");
    EXPECT_EQ(Dialog->FileName(), "*.PAS");
    EXPECT_EQ(Dialog->FilterIndex(), 2);
    EXPECT_EQ(rtl::GetCurrentDir(), "C:\\");
}

} // namespace
