// Menu components through real windows: a form's main menu chosen by mouse, keys, accelerator
// letters and shortcuts, pop-up menus by a right click and from code, hints, and menus in
// stored forms.
#include "testing/StoredText.h"
#include "testing/UiTest.h"

#include "vcl/ExtCtrls.h"
#include "vcl/Menus.h"
#include "vcl/Streaming.h"

#include "rtl/FormFiles.h"
#include "rtl/Streams.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace vcl;
using testing_support::TBy;
using testing_support::TRobot;
using testing_support::UiTest;

namespace {

TMenuItem* NewItem(TComponent* owner, TMenuItem* parent, const std::string& name, const std::string& caption,
                   std::vector<std::string>* log = nullptr, const std::string& hint = "") {
    auto* item = new TMenuItem(owner);
    item->SetName(name);
    item->SetCaption(caption);
    item->SetHint(hint);
    if (log) item->OnClick = [log, name](TObject*) { log->push_back(name); };
    parent->Add(item);
    return item;
}

// A window with a menu bar (File, Edit) and a panel with a pop-up menu, as the suite's forms are
// built: in code, inside the loading bracket.
class TfrmMenus : public TForm {
public:
    explicit TfrmMenus(TComponent* AOwner) : TForm(AOwner) {
        TLoadingBracket loading(this);
        SetName("frmMenus");
        SetCaption("Menus");
        SetBounds(100, 80, 320, 220);
        MainMenu1 = new TMainMenu(this);
        MainMenu1->SetName("MainMenu1");
        File1 = NewItem(this, MainMenu1->Items(), "File1", "&File", &Log);
        Open1 = NewItem(this, File1, "Open1", "&Open...", &Log, "Open a file");
        Open1->SetShortCut(TextToShortCut("Ctrl+O"));
        NewItem(this, File1, "N1", "-", &Log);
        Print1 = NewItem(this, File1, "Print1", "&Print", &Log, "Print the report");
        Print1->SetShortCut(TextToShortCut("Ctrl+P"));
        Print1->SetEnabled(false);
        Recent1 = NewItem(this, File1, "Recent1", "&Recent", &Log, "Files opened before");
        NewItem(this, Recent1, "One1", "&One", &Log);
        NewItem(this, Recent1, "Two1", "&Two", &Log, "The second file");
        Exit1 = NewItem(this, File1, "Exit1", "E&xit", &Log);
        Edit1 = NewItem(this, MainMenu1->Items(), "Edit1", "&Edit", &Log);
        NewItem(this, Edit1, "Copy1", "&Copy", &Log);
        SetMenu(MainMenu1);

        Panel1 = new TCustomPanel(this);
        Panel1->SetName("Panel1");
        Panel1->SetParent(this);
        Panel1->SetBounds(10, 10, 200, 100);
        PopupMenu1 = new TPopupMenu(this);
        PopupMenu1->SetName("PopupMenu1");
        NewItem(this, PopupMenu1->Items(), "Add1", "&Add", &Log);
        NewItem(this, PopupMenu1->Items(), "N2", "-", &Log);
        Panel1->SetPopupMenu(PopupMenu1);
    }

    TMainMenu* MainMenu1;
    TMenuItem *File1, *Open1, *Print1, *Recent1, *Exit1, *Edit1;
    TCustomPanel* Panel1;
    TPopupMenu* PopupMenu1;
    std::vector<std::string> Log;
};

class Menus : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Form = Make<TfrmMenus>(Application);
        Form->Show();
        Application->ProcessMessages();
    }
    // Lets the loop run until the robot is done; the clock is the test's.
    void Run(TRobot& robot) {
        try {
            testing_support::PlayOut(robot, 200, 0);
        } catch (...) {
            ADD_FAILURE() << "steps left: " << robot.Describe();
            throw;
        }
        Application->ProcessMessages();
        EXPECT_TRUE(robot.Done()) << robot.Describe();
    }
    std::vector<std::string> TakeLog() {
        auto log = Form->Log;
        Form->Log.clear();
        return log;
    }
    TfrmMenus* Form = nullptr;
};

TEST_F(Menus, TheMenuBarShrinksTheClientAreaAndFollowsItsItems) {
    EXPECT_EQ(win::GetMenu(Form->Handle()), Form->MainMenu1->Handle());
    win::RECT window{};
    win::GetWindowRect(Form->Handle(), &window);
    TForm* plain = Make<TForm>(Application);
    plain->SetBounds(100, 80, 320, 220);
    plain->Show();
    EXPECT_EQ(Form->ClientHeight(), plain->ClientHeight() - win::GetSystemMetrics(win::SM_CYMENU));
    EXPECT_EQ(Form->ClientWidth(), plain->ClientWidth());

    // Items added at run time, hidden and re-captioned show on the bar at once.
    NewItem(Form, Form->MainMenu1->Items(), "Help1", "&Help");
    Form->Edit1->SetVisible(false);
    Form->File1->SetCaption("&Datei");
    win::HMENU bar = win::GetMenu(Form->Handle());
    ASSERT_EQ(win::GetMenuItemCount(bar), 2);
    EXPECT_EQ(win::GetMenuString(bar, 0, win::MF_BYPOSITION), "&Datei");
    EXPECT_EQ(win::GetMenuString(bar, 1, win::MF_BYPOSITION), "&Help");
    win::HMENU file = win::GetSubMenu(bar, 0);
    EXPECT_EQ(win::GetMenuString(file, 0, win::MF_BYPOSITION), "&Open...\tCtrl+O") << "the shortcut text on the right";
    EXPECT_EQ(win::GetMenuState(file, 2, win::MF_BYPOSITION) & win::MF_GRAYED, win::MF_GRAYED);

    // Without a menu the client area is the plain one again.
    Form->SetMenu(nullptr);
    EXPECT_EQ(Form->ClientHeight(), plain->ClientHeight());
    delete Form->MainMenu1;
}

TEST_F(Menus, ItemsAreChosenByMouseInSubMenusAndNotWhenDisabledOrCancelled) {
    TRobot robot;
    robot.ChooseMenu(TBy::Name("frmMenus"), "&File|&Open...");
    Run(robot);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"File1", "Open1"})) << "a drop-down's own click runs as it opens";

    robot.ChooseMenu(TBy::Name("frmMenus"), "&File|&Recent|&Two");
    Run(robot);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"File1", "Recent1", "Two1"}));

    // A disabled item and a separator leave the menu open; Escape, then a click elsewhere
    // closes it without a choice.
    robot.ChooseMenu(TBy::Name("frmMenus"), "&File|&Print");
    robot.ChooseMenu("-");
    robot.Do([] { EXPECT_FALSE(TRobot::OpenMenuItems().empty()) << "still open"; });
    robot.Key(win::VK_ESCAPE);
    robot.Key(win::VK_ESCAPE);
    robot.ChooseMenu(TBy::Name("frmMenus"), "&Edit");
    robot.ClickAt(Form->Handle(), {250, 150});
    Run(robot);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"File1", "Edit1"}));
    EXPECT_TRUE(TRobot::OpenMenuItems().empty());

    // A whole menu disabled on the bar does not drop down, by mouse or by its letter.
    Form->Edit1->SetEnabled(false);
    robot.ChooseMenu(TBy::Name("frmMenus"), "&Edit");
    robot.Do([] { EXPECT_TRUE(TRobot::OpenMenuItems().empty()); });
    robot.Key(win::VK_ESCAPE);
    robot.Key('E', false, false, true);
    robot.Key(win::VK_DOWN);
    robot.Do([] { EXPECT_TRUE(TRobot::OpenMenuItems().empty()); });
    robot.Key(win::VK_ESCAPE);
    Run(robot);
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(Menus, KeysOpenTheBarAndShortcutsRunEnabledItems) {
    TRobot robot;
    robot.Key('F', false, false, true); // Alt+F
    robot.Key('R');
    robot.Key('O');
    robot.Key(win::VK_F10);
    robot.Key(win::VK_RIGHT);
    robot.Key(win::VK_RETURN);
    robot.Key(win::VK_RETURN);
    robot.Key('O', false, true); // Ctrl+O
    robot.Key('P', false, true); // Ctrl+P: its item is disabled
    Run(robot);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"File1", "Recent1", "One1", "Edit1", "Copy1", "Open1"}));

    // A shortcut of a pop-up menu works in its control.
    TMenuItem* add = Form->PopupMenu1->Items()->Items(0);
    add->SetShortCut(TextToShortCut("Ctrl+A"));
    robot.Do([&] { win::SetFocus(Form->Panel1->Handle()); });
    robot.Key('A', false, true);
    Run(robot);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"Add1"}));
}

TEST_F(Menus, SelectedItemsShowTheirHintsThroughTheApplication) {
    std::vector<std::string> hints;
    Application->OnHint = [&](TObject*) { hints.push_back(Application->Hint()); };
    TRobot robot;
    robot.ChooseMenu(TBy::Name("frmMenus"), "&File|&Recent|&Two");
    Run(robot);
    auto has = [&](const std::string& h) { return std::find(hints.begin(), hints.end(), h) != hints.end(); };
    EXPECT_TRUE(has("Files opened before")) << "hints of the items the pointer passed";
    EXPECT_TRUE(has("The second file"));
    ASSERT_FALSE(hints.empty());
    EXPECT_EQ(hints.back(), "") << "cleared when the menu closes";
    Application->OnHint = nullptr;
}

TEST_F(Menus, ARightClickPopsTheMenuUpAfterOnPopupRebuiltIt) {
    int popups = 0;
    TPopupMenu* menu = Form->PopupMenu1;
    menu->OnPopup = [&](TObject*) {
        ++popups;
        // Every item after the second goes; one per file comes back.
        while (menu->Items()->Count() > 2) delete menu->Items()->Items(2);
        for (const char* f : {"A.PAS", "B.PAS"}) {
            auto* item = new TMenuItem(Form);
            item->SetCaption(f);
            item->SetHint(std::string("C:\\") + f);
            item->OnClick = [&, item](TObject*) { Form->Log.push_back(item->Hint()); };
            menu->Items()->Add(item);
        }
    };
    std::vector<std::string> shown;
    TRobot robot;
    robot.ClickAt(Form->Panel1->Handle(), {20, 30}, win::WM_RBUTTONDOWN);
    robot.Do([&] { shown = TRobot::OpenMenuItems(); });
    robot.Do([&] { TRobot::Screenshot(std::string(SUITE_BINARY_DIR) + "/vcl-popup-menu.png"); });
    robot.ChooseMenu("B.PAS");
    Run(robot);
    EXPECT_EQ(shown, (std::vector<std::string>{"&Add", "-", "A.PAS", "B.PAS"}));
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"C:\\B.PAS"}));
    EXPECT_EQ(menu->PopupComponent(), Form->Panel1);

    // The second showing rebuilds again; a click outside chooses nothing.
    robot.ClickAt(Form->Panel1->Handle(), {20, 30}, win::WM_RBUTTONDOWN);
    robot.Do([&] { shown = TRobot::OpenMenuItems(); });
    robot.ClickAt(Form->Handle(), {300, 150});
    Run(robot);
    EXPECT_EQ(popups, 2);
    EXPECT_EQ(shown.size(), 4u);
    EXPECT_TRUE(TakeLog().empty());

    // Without AutoPopup the control has its mouse-up instead.
    menu->SetAutoPopup(false);
    bool up = false;
    Form->Panel1->OnMouseUp = [&](TObject*, TMouseButton b, TShiftState, int, int) { up = b == TMouseButton::mbRight; };
    robot.ClickAt(Form->Panel1->Handle(), {20, 30}, win::WM_RBUTTONDOWN);
    Run(robot);
    EXPECT_TRUE(up);
    EXPECT_EQ(popups, 2);
}

TEST_F(Menus, APopupMenuOpenedByCodeIsChosenInsideItsLoop) {
    TRobot robot;
    robot.Do([&] { TRobot::Screenshot(std::string(SUITE_BINARY_DIR) + "/vcl-popup-by-code.png"); });
    robot.ChooseMenu("&Add");
    Form->PopupMenu1->Popup(150, 200);
    EXPECT_TRUE(robot.Done()) << robot.Describe();
    Application->ProcessMessages(); // the command comes after the loop
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"Add1"}));

    // Escape: nothing.
    robot.Key(win::VK_ESCAPE);
    Form->PopupMenu1->Popup(150, 200);
    Application->ProcessMessages();
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(Menus, TheOpenBarMenuLooksLikeAMenu) {
    TRobot robot;
    robot.ChooseMenu(TBy::Name("frmMenus"), "&File");
    robot.Do([&] {
        TRobot::Screenshot(std::string(SUITE_BINARY_DIR) + "/vcl-main-menu.png");
        win::HWND shown = win::FindWindow("#32768", nullptr);
        ASSERT_TRUE(shown);
        win::RECT r{}, item{};
        win::GetWindowRect(shown, &r);
        win::GetMenuItemRect(Form->Handle(), Form->MainMenu1->Handle(), 0, &item);
        EXPECT_EQ(r.top, item.bottom) << "right below its bar item";
        // The disabled item is grey, the others in the menu text colour.
        auto inks = [&](int position) {
            win::RECT row{};
            win::GetMenuItemRect(shown, win::GetSubMenu(Form->MainMenu1->Handle(), 0), position, &row);
            win::HDC dc = win::GetDC(nullptr);
            std::pair<int, int> greyBlack{0, 0};
            for (int y = row.top; y < row.bottom; ++y)
                for (int x = row.left; x < row.right; ++x) {
                    win::COLORREF c = win::GetPixel(dc, x, y);
                    greyBlack.first += c == win::GetSysColor(win::COLOR_BTNSHADOW);
                    greyBlack.second += c == 0;
                }
            win::ReleaseDC(nullptr, dc);
            return greyBlack;
        };
        auto print = inks(2), exit = inks(4);
        EXPECT_GT(print.first, 10);
        EXPECT_EQ(print.second, 0);
        EXPECT_GT(exit.second, 10);
    });
    robot.Key(win::VK_ESCAPE);
    robot.Key(win::VK_ESCAPE);
    Run(robot);
}

TEST_F(Menus, MenusAreWrittenToAndReadFromStoredForms) {
    rtl::TMemoryStream binary;
    WriteComponentToStream(Form->MainMenu1, binary);
    const std::string out = testing_support::BinaryAsText(binary);
    EXPECT_NE(out.find("object MainMenu1: TMainMenu\r\n  object File1: TMenuItem\r\n    Caption = '&File'\r\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("    object Print1: TMenuItem\r\n      Caption = '&Print'\r\n      Enabled = False\r\n"
                       "      Hint = 'Print the report'\r\n      ShortCut = 16464\r\n    end\r\n"),
              std::string::npos)
        << out;

    binary.SetPosition(0);
    std::unique_ptr<TComponent> read(ReadComponentFromStream(binary, nullptr));
    auto* menu = dynamic_cast<TMainMenu*>(read.get());
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->Items()->Count(), 2);
    TMenuItem* file = menu->Items()->Items(0);
    EXPECT_EQ(file->Name(), "File1");
    ASSERT_EQ(file->Count(), 5);
    EXPECT_EQ(file->Items(2)->Caption(), "&Print");
    EXPECT_FALSE(file->Items(2)->Enabled());
    EXPECT_EQ(file->Items(2)->ShortCut(), TextToShortCut("Ctrl+P"));
    EXPECT_EQ(file->Items(3)->Items(1)->Caption(), "&Two");
}

TEST_F(Menus, AStoredFormHoldsItsMenusAfterItsControls) {
    TForm* form = Make<TForm>(Application);
    form->SetName("frmStored");
    auto* menu = new TPopupMenu(form);
    menu->SetName("PopupMenu1");
    menu->SetAutoPopup(false);
    NewItem(form, menu->Items(), "Add1", "&Add");
    const std::string out = testing_support::StoredText(form);
    EXPECT_NE(out.find("  object PopupMenu1: TPopupMenu\r\n    AutoPopup = False\r\n"
                       "    object Add1: TMenuItem\r\n      Caption = '&Add'\r\n    end\r\n  end\r\n"),
              std::string::npos)
        << out;
}

TEST_F(Menus, ItemsAreInsertedRemovedAndFreedSafely) {
    TMenuItem* root = Form->PopupMenu1->Items();
    auto* a = new TMenuItem(Form);
    root->Insert(0, a);
    EXPECT_EQ(root->IndexOf(a), 0);
    EXPECT_EQ(a->Parent(), root);
    EXPECT_THROW(root->Add(a), EMenuError) << "an item has one parent";
    EXPECT_THROW(a->Add(root), EMenuError) << "nor can it hold its own parent";
    root->Remove(a);
    EXPECT_EQ(a->Parent(), nullptr);
    EXPECT_EQ(root->IndexOf(a), -1);
    EXPECT_THROW(root->Remove(a), EMenuError);
    EXPECT_THROW(root->Items(99), rtl::EListError);
    // Freeing an item takes it out of its parent's menu; a freed menu takes its items along.
    root->Add(a);
    win::HMENU handle = Form->PopupMenu1->Handle();
    int count = win::GetMenuItemCount(handle);
    delete a;
    EXPECT_EQ(win::GetMenuItemCount(handle), count - 1);
    // Deleting the form's main menu takes the bar off the form.
    delete Form->MainMenu1;
    EXPECT_EQ(Form->Menu(), nullptr);
    EXPECT_EQ(win::GetMenu(Form->Handle()), nullptr);
}

} // namespace

// A form left to the application goes when the program ends, after the static state of the
// class library's units: its menu items still give back their command numbers then.
TEST_F(Menus, AFormWithMenusLeftToTheApplicationGoesCleanlyAtExit) {
    EXPECT_EXIT(
        {
            ASSERT_EQ(Form->Owner(), Application);
            rtl::SetWinRoot({});
            std::filesystem::remove_all(Root.Path());
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}
