#include "libconfig/Avpdlg.h"
#include "libconfig/Vororder.h"
#include "libconfig/Vorpath.h"

#include "rtl/Paths.h"
#include "testing/UiTest.h"

#include <filesystem>
#include <functional>
#include <memory>

namespace libconfig {
namespace {

using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;

std::vector<std::string> Lines(TCustomListBox* List) {
    std::vector<std::string> out;
    for (int i = 0; i < List->Items()->Count(); ++i) out.push_back(List->Items()->Get(i));
    return out;
}

class PathDialogsTest : public testing_support::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        namespace fs = std::filesystem;
        fs::path c = fs::path(Root.Path()) / "drive_c";
        for (const char* dir : {"Projects/Demo/Forms", "Delphi/Lib", "Delphi/Source/Vcl"}) fs::create_directories(c / dir);
        ASSERT_TRUE(rtl::SetCurrentDir("C:\\Projects"));
    }
    // The line of a list box as a point to click.
    static void DoubleClick(TCustomListBox* List, int Index) {
        TRect r = List->ItemRect(Index);
        win::LPARAM at = win::MAKELPARAM(r.left + 30, (r.top + r.bottom) / 2);
        for (unsigned m : {win::WM_LBUTTONDOWN, win::WM_LBUTTONUP, win::WM_LBUTTONDBLCLK, win::WM_LBUTTONUP})
            win::SendMessage(List->Handle(), m, m == win::WM_LBUTTONUP ? 0 : win::MK_LBUTTON, at);
    }
    template <class T>
    static T* Modal() {
        return dynamic_cast<T*>(FindControl(TRobot::ModalWindow()));
    }
};

TEST_F(PathDialogsTest, PathEditAddsAnExistingFolderAndRefusesOthers) {
    std::unique_ptr<TfrmPathEdit> edit(Make<TfrmPathEdit>(Application));
    EXPECT_EQ(edit->ClientWidth(), 379);
    EXPECT_EQ(edit->ClientHeight(), 67);
    EXPECT_FALSE(edit->btnOk->Enabled());
    EXPECT_EQ(edit->AvPathDialog1->Caption(), " Select Path");
    EXPECT_TRUE(edit->AvPathDialog1->FixedOnly());

    TRobot robot;
    std::vector<std::string> messages;
    auto refuse = [&](std::function<void()> Press) {
        Press();
        robot.OnNextModal([&](win::HWND box) { messages.push_back(TRobot::ChildText(box, "Message")); });
        robot.AnswerNextModal(TBy::Name("OK"));
    };
    robot.Do([&] {
        EXPECT_EQ(edit->Caption(), " Add Search Path");
        TRobot::Screenshot("/tmp/libconfig-pathedit.png", edit->Handle());
    });
    // OK follows the field: off while empty, also after typing and deleting.
    robot.Type("C");
    robot.Do([&] { EXPECT_TRUE(edit->btnOk->Enabled()); });
    robot.Key(win::VK_BACK);
    robot.Do([&] { EXPECT_FALSE(edit->btnOk->Enabled()); });
    robot.Type("C:\\Nowhere");
    refuse([&] { robot.Click(TBy::Name("btnOk")); });
    robot.Do([&] {
        EXPECT_TRUE(edit->Visible());
        EXPECT_EQ(edit->ActiveControl(), edit->Edit1);
        edit->Edit1->SelectAll();
    });
    robot.Type("C:\\Delphi;C:\\Delphi\\Lib");
    refuse([&] { robot.Key(win::VK_RETURN); });
    robot.Do([&] { edit->Edit1->SelectAll(); });
    robot.Type("c:\\delphi\\lib");
    robot.Click(TBy::Name("btnOk"));
    EXPECT_EQ(edit->ShowModal(), mrOk);
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    EXPECT_EQ(messages, (std::vector<std::string>{"Cannot add, path not found!", "Cannot add, path must not contain ';'!"}));
    EXPECT_EQ(edit->Edit1->Text(), "c:\\delphi\\lib");
}

TEST_F(PathDialogsTest, PathEditChangesAnEntryAndBrowsesForAFolder) {
    std::unique_ptr<TfrmPathEdit> edit(Make<TfrmPathEdit>(Application));
    edit->SetChangeMode(true);
    edit->Edit1->SetText("C:\\Delphi\\Lib");

    TRobot robot;
    std::string message;
    robot.Do([&] {
        EXPECT_EQ(edit->Caption(), " Change Search Path");
        EXPECT_TRUE(edit->btnOk->Enabled());
        edit->Edit1->SetText("C:\\Delphi\\Gone");
    });
    robot.Click(TBy::Name("btnOk"));
    robot.OnNextModal([&](win::HWND box) { message = TRobot::ChildText(box, "Message"); });
    robot.AnswerNextModal(TBy::Name("OK"));
    // The picker closed with Cancel leaves the field alone.
    robot.Click(TBy::Name("btnBrowse"));
    robot.Do([&] {
        auto* picker = Modal<TdialogPath>();
        ASSERT_TRUE(picker);
        EXPECT_EQ(picker->Caption(), " Select Path");
        EXPECT_EQ(picker->dlbPath->Directory(), "C:\\Projects");
    });
    robot.Click(TBy::Name("btnCancel"), TBy::Caption(" Select Path"));
    robot.Do([&] { EXPECT_EQ(edit->Edit1->Text(), "C:\\Delphi\\Gone"); });
    // Chosen by keys in the tree: the root opened, then Delphi below it.
    robot.Click(TBy::Name("btnBrowse"));
    robot.Key(win::VK_HOME);
    robot.Key(win::VK_RETURN);
    robot.Do([&] {
        EXPECT_EQ(Lines(Modal<TdialogPath>()->dlbPath), (std::vector<std::string>{"C:\\", "Delphi", "Projects", "windows"}));
    });
    robot.Key(win::VK_DOWN);
    robot.Key(win::VK_RETURN);
    robot.Click(TBy::Name("btnOk"), TBy::Caption(" Select Path"));
    robot.Click(TBy::Name("btnOk"));
    EXPECT_EQ(edit->ShowModal(), mrOk);
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    EXPECT_EQ(message, "Cannot update, path not found!");
    EXPECT_EQ(edit->Edit1->Text(), "C:\\Delphi");
}

TEST_F(PathDialogsTest, FolderPickerChoosesByDriveBoxAndTree) {
    TForm* owner = Make<TForm>(Application);
    owner->Font()->SetName("Arial");
    owner->Font()->SetHeight(-12);
    auto* dialog = new TAvPathDialog(owner);
    EXPECT_EQ(dialog->Font()->Name(), "Arial");
    EXPECT_EQ(dialog->Position(), TPathDialogPosition::posScreenCenter);
    dialog->SetDialogLeft(50);
    dialog->SetDialogTop(60);
    EXPECT_EQ(dialog->Position(), TPathDialogPosition::posDesigned);
    dialog->SetPath("C:\\Projects\\Demo");

    TRobot robot;
    robot.Do([&] {
        auto* picker = Modal<TdialogPath>();
        ASSERT_TRUE(picker);
        EXPECT_EQ(picker->Left(), 50);
        EXPECT_EQ(picker->Top(), 60);
        EXPECT_EQ(picker->ClientWidth(), 301);
        EXPECT_EQ(picker->ClientHeight(), 246);
        EXPECT_EQ(picker->Font()->Name(), "Arial");
        EXPECT_EQ(picker->dlbPath->Directory(), "C:\\Projects\\Demo");
        EXPECT_EQ(picker->lblPath->Caption(), "C:\\Projects\\Demo");
        EXPECT_EQ(picker->dcbPathDrv->Drive(), 'C');
        // Whole lines only.
        EXPECT_EQ(picker->dlbPath->ClientHeight() % picker->dlbPath->ItemHeight(), 0);
        TRobot::Screenshot("/tmp/libconfig-folderpicker.png", picker->Handle());
    });
    // The drive box moves the tree to the other drive and back.
    robot.Key(win::VK_TAB);
    robot.Key(win::VK_DOWN);
    robot.Do([&] {
        auto* picker = Modal<TdialogPath>();
        EXPECT_EQ(picker->dcbPathDrv->Drive(), 'Z');
        EXPECT_EQ(picker->dlbPath->Drive(), 'Z');
    });
    robot.Key(win::VK_UP);
    robot.Do([&] {
        auto* picker = Modal<TdialogPath>();
        EXPECT_EQ(picker->dlbPath->Directory(), "C:\\Projects\\Demo");
        DoubleClick(picker->dlbPath, 3); // C:\, Projects, Demo, Forms
        EXPECT_EQ(picker->dlbPath->Directory(), "C:\\Projects\\Demo\\Forms");
    });
    robot.Click(TBy::Name("btnOk"), TBy::Caption(" Select Path"));
    EXPECT_TRUE(dialog->Execute());
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    EXPECT_EQ(dialog->Path(), "C:\\Projects\\Demo\\Forms");

    // Cancel still hands back the picker's folder; an empty Path starts in the current folder.
    dialog->SetPath("");
    dialog->SetPosition(TPathDialogPosition::posScreenCenter);
    EXPECT_EQ(dialog->DialogLeft(), 0);
    robot.Do([&] {
        auto* picker = Modal<TdialogPath>();
        EXPECT_EQ(picker->dlbPath->Directory(), "C:\\Projects");
        EXPECT_NEAR(picker->Left() + picker->Width() / 2, 512, 1);
    });
    robot.Key(win::VK_ESCAPE);
    EXPECT_FALSE(dialog->Execute());
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    EXPECT_EQ(dialog->Path(), "C:\\Projects");

    // A font given is the component's own from then on.
    TFont big;
    big.SetName("Times New Roman");
    dialog->SetFont(&big);
    EXPECT_FALSE(dialog->ParentFont());
    dialog->SetParentFont(true);
    EXPECT_EQ(dialog->Font()->Name(), "Arial");
    delete owner;
}

TEST_F(PathDialogsTest, PathOrderMovesTheSelectedEntry) {
    std::unique_ptr<TfrmPathOrder> order(Make<TfrmPathOrder>(Application));
    EXPECT_EQ(order->Caption(), " Search Path Order");
    EXPECT_EQ(order->ClientWidth(), 434);
    EXPECT_EQ(order->ClientHeight(), 276);
    EXPECT_EQ(order->btnUp->Width(), 25);
    EXPECT_FALSE(order->btnUp->Glyph()->Empty());
    order->lbSearchPath->Items()->Add("C:\\A");
    order->lbSearchPath->Items()->Add("C:\\B");
    order->lbSearchPath->Items()->Add("C:\\C");

    TRobot robot;
    auto expect = [&](std::vector<std::string> Want, int Selected) {
        robot.Do([&, Want, Selected] {
            EXPECT_EQ(Lines(order->lbSearchPath), Want);
            EXPECT_EQ(order->lbSearchPath->ItemIndex(), Selected);
        });
    };
    robot.Do([&] { TRobot::Screenshot("/tmp/libconfig-pathorder.png", order->Handle()); });
    expect({"C:\\A", "C:\\B", "C:\\C"}, 0);
    robot.Click(TBy::Name("btnUp")); // the first entry goes no higher
    expect({"C:\\A", "C:\\B", "C:\\C"}, 0);
    robot.Click(TBy::Name("btnDown"));
    expect({"C:\\B", "C:\\A", "C:\\C"}, 1);
    robot.Click(TBy::Name("btnDown"));
    expect({"C:\\B", "C:\\C", "C:\\A"}, 2);
    robot.Do([&] { EXPECT_EQ(order->ActiveControl(), order->lbSearchPath); });
    robot.Click(TBy::Name("btnDown")); // nor the last one lower
    expect({"C:\\B", "C:\\C", "C:\\A"}, 2);
    robot.Click(TBy::Name("btnUp"));
    expect({"C:\\B", "C:\\A", "C:\\C"}, 1);
    robot.Click(TBy::Name("btnOk"));
    EXPECT_EQ(order->ShowModal(), mrOk);
    EXPECT_TRUE(robot.Done()) << robot.Describe();

    // One line, or none chosen: nothing moves.
    order->lbSearchPath->Items()->Clear();
    order->lbSearchPath->Items()->Add("C:\\Only");
    order->lbSearchPath->SetItemIndex(0);
    order->MoveItem(-1);
    order->MoveItem(+1);
    EXPECT_EQ(Lines(order->lbSearchPath), std::vector<std::string>{"C:\\Only"});
    EXPECT_EQ(order->lbSearchPath->ItemIndex(), 0);
    order->lbSearchPath->SetItemIndex(-1);
    order->MoveItem(+1);
    EXPECT_EQ(order->lbSearchPath->ItemIndex(), -1);
}

} // namespace
} // namespace libconfig
