#include "IdeFixture.h"

#include "host/Expert.h"
#include "host/Interface.h"
#include "host/MenuIntf.h"

#include "rtl/Exceptions.h"

#include <string>
#include <vector>

using namespace ide_test;
using host::TInterfaceRef;

namespace {

// An add-in expert as an expert library writes one: its item goes in after the Tools menu's
// Options item, and its destructor takes it out again.
class TTestExpert : public host::TIExpert {
public:
    TTestExpert(host::TIToolServices* services, std::string id, std::function<void()> onClick = {})
        : FId(std::move(id)), FOnClick(std::move(onClick)) {
        TInterfaceRef<host::TIMainMenuIntf> menu(services->GetMainMenu());
        TInterfaceRef<host::TIMenuItemIntf> root(menu->GetMenuItems());
        TInterfaceRef<host::TIMenuItemIntf> options(menu->FindMenuItem("ToolsOptionsItem"));
        TInterfaceRef<host::TIMenuItemIntf> parent(options->GetParent());
        FItem = parent->InsertItem(options->GetIndex() + 1, FId + " Expert", "Tools" + FId + "Item", "Hint", 0, 0, 0,
                                   host::mfEnabled | host::mfVisible,
                                   [this](host::TIMenuItemIntf* sender) { MenuClick(sender); });
    }
    ~TTestExpert() override {
        FItem->DestroyMenuItem();
        FItem->Release();
    }

    std::string GetName() override { return "Test " + FId; }
    host::TExpertStyle GetStyle() override { return host::esAddIn; }
    std::string GetIDString() override { return "Test." + FId; }

    host::TIMenuItemIntf* Item() const { return FItem; }
    std::vector<host::TIMenuItemIntf*> Senders;

private:
    void MenuClick(host::TIMenuItemIntf* sender) {
        Senders.push_back(sender);
        if (sender == FItem && FOnClick)
            FOnClick();
    }

    std::string FId;
    std::function<void()> FOnClick;
    host::TIMenuItemIntf* FItem = nullptr;
};

std::vector<std::string> ChildNames(ide::TMenuItem* item) {
    std::vector<std::string> names;
    for (int i = 0; i < item->Count(); ++i)
        names.push_back(item->Items(i)->Name);
    return names;
}

class MainMenuTest : public IdeFixture {
protected:
    ide::TMenuItem* Tools() { return Ide->Menu().Find("ToolsMenu"); }
};

TEST_F(MainMenuTest, ExpertItemsGoInAfterToolsOptionsAndAClickPassesTheInsertedObject) {
    auto* first = new TTestExpert(Services, "First");
    auto* second = new TTestExpert(Services, "Second");
    EXPECT_TRUE(ide::TIde::RegisterExpertProc(first));
    EXPECT_TRUE(ide::TIde::RegisterExpertProc(second));
    EXPECT_EQ(ChildNames(Tools()), (std::vector<std::string>{"ToolsOptionsItem", "ToolsSecondItem", "ToolsFirstItem"}));
    EXPECT_EQ(Tools()->Items(2)->Caption, "First Expert");
    EXPECT_EQ(Tools()->Items(2)->Flags, host::mfEnabled | host::mfVisible);

    ASSERT_EQ(Ide->Experts().size(), 2u);
    EXPECT_EQ(Ide->Experts()[0].Name, "Test First");
    EXPECT_EQ(Ide->Experts()[0].IDString, "Test.First");
    EXPECT_EQ(Ide->Experts()[0].Style, host::esAddIn);

    EXPECT_TRUE(Ide->Menu().ClickByName("ToolsFirstItem"));
    ASSERT_EQ(first->Senders.size(), 1u);
    EXPECT_EQ(first->Senders[0], first->Item());
    EXPECT_TRUE(second->Senders.empty());
    EXPECT_EQ(first->Item()->GetIndex(), 2);
    EXPECT_EQ(second->Item()->GetIndex(), 1);
}

TEST_F(MainMenuTest, ReleasedExpertsTakeTheirItemsOutAtShutdownWhileTheMenuExists) {
    ide::TIde::RegisterExpertProc(new TTestExpert(Services, "First"));
    Ide->CallLog().Clear();
    Ide->Shutdown();
    EXPECT_EQ(ChildNames(Tools()), (std::vector<std::string>{"ToolsOptionsItem"}));
    std::vector<std::string> calls;
    for (const auto& c : Ide->CallLog().Calls())
        calls.push_back(c.Text());
    EXPECT_EQ(calls, (std::vector<std::string>{"Expert.Release(Test First)", "MenuItem.DestroyMenuItem(ToolsFirstItem)"}));
    EXPECT_TRUE(Ide->Experts().empty());
}

TEST_F(MainMenuTest, AnExceptionLeavingAClickIsShownAndTheIdeGoesOn) {
    int clicks = 0;
    auto* failing = new TTestExpert(Services, "Boom", [&] {
        ++clicks;
        throw rtl::EConvertError("'x' is not a valid integer value");
    });
    auto* aborting = new TTestExpert(Services, "Quiet", [&] {
        ++clicks;
        rtl::Abort();
    });
    ide::TIde::RegisterExpertProc(failing);
    ide::TIde::RegisterExpertProc(aborting);

    EXPECT_TRUE(Ide->Menu().ClickByName("ToolsBoomItem"));
    EXPECT_TRUE(Ide->Menu().ClickByName("ToolsQuietItem"));
    EXPECT_TRUE(Ide->Menu().ClickByName("ToolsBoomItem"));
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(Ide->Messages(), (std::vector<std::string>{"'x' is not a valid integer value",
                                                         "'x' is not a valid integer value"}));
}

TEST_F(MainMenuTest, ReturnedObjectsCarryOneMoreReferenceAndOutliveTheirItem) {
    TInterfaceRef<host::TIMainMenuIntf> menu(Services->GetMainMenu());
    EXPECT_EQ(menu->FindMenuItem("NoSuchItem"), nullptr);
    ide::TMenuItem* options = Ide->Menu().Find("toolsoptionsitem");
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->Intf()->RefCount(), 1);
    {
        TInterfaceRef<host::TIMenuItemIntf> found(menu->FindMenuItem("ToolsOptionsItem"));
        TInterfaceRef<host::TIMenuItemIntf> again(menu->FindMenuItem("ToolsOptionsItem"));
        EXPECT_EQ(found.Get(), again.Get()) << "one interface object per item";
        EXPECT_EQ(options->Intf()->RefCount(), 3);
        TInterfaceRef<host::TIMenuItemIntf> parent(found->GetParent());
        EXPECT_EQ(parent.Get(), Tools()->Intf());
        EXPECT_EQ(found->GetIndex(), 0);
    }
    EXPECT_EQ(options->Intf()->RefCount(), 1);

    // An index past the end appends; the object of a destroyed item answers nothing.
    TInterfaceRef<host::TIMenuItemIntf> tools(menu->FindMenuItem("ToolsMenu"));
    TInterfaceRef<host::TIMenuItemIntf> added(
        tools->InsertItem(99, "Last", "ToolsLastItem", "", 0, 0, 0, host::mfVisible, {}));
    ASSERT_TRUE(added);
    EXPECT_EQ(added->GetIndex(), 1);
    EXPECT_FALSE(Ide->Menu().ClickByName("ToolsLastItem")) << "not enabled";
    EXPECT_TRUE(added->DestroyMenuItem());
    EXPECT_EQ(Ide->Menu().Find("ToolsLastItem"), nullptr);
    EXPECT_FALSE(added->DestroyMenuItem());
    EXPECT_EQ(added->GetIndex(), -1);
    EXPECT_EQ(added->GetParent(), nullptr);
    EXPECT_EQ(added->InsertItem(0, "x", "x", "", 0, 0, 0, host::mfEnabled, {}), nullptr);

    // The root is reached but has no parent and cannot be destroyed.
    TInterfaceRef<host::TIMenuItemIntf> root(menu->GetMenuItems());
    EXPECT_EQ(root->GetParent(), nullptr);
    EXPECT_FALSE(root->DestroyMenuItem());
}

class TFailingNameExpert : public host::TIExpert {
public:
    std::string GetName() override { throw rtl::EConvertError("Name unavailable"); }
};

TEST_F(MainMenuTest, AnExpertWhoseQueriesFailIsStillKept) {
    EXPECT_TRUE(ide::TIde::RegisterExpertProc(new TFailingNameExpert));
    EXPECT_EQ(Ide->Messages(), (std::vector<std::string>{"Name unavailable"}));
    EXPECT_EQ(Ide->Experts().size(), 1u);
    EXPECT_FALSE(ide::TIde::RegisterExpertProc(nullptr));
}

TEST_F(MainMenuTest, RaiseExceptionShowsTheMessage) {
    Services->RaiseException("Expert failed");
    EXPECT_EQ(Ide->Messages(), (std::vector<std::string>{"Expert failed"}));
}

TEST_F(MainMenuTest, ObjectsHeldPastTheIdeDoNothing) {
    auto* menu = Services->GetMainMenu();
    auto* item = menu->FindMenuItem("ToolsOptionsItem");
    Ide.reset();
    EXPECT_EQ(menu->FindMenuItem("ToolsOptionsItem"), nullptr);
    EXPECT_EQ(item->GetIndex(), -1);
    item->Release();
    menu->Release();
}

} // namespace
