#include "ide/MainMenu.h"

#include "ide/CallLog.h"
#include "ide/Ide.h"

#include "rtl/Exceptions.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace ide {

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

void MenuChanged() {
    if (TIde* ide = TIde::Current())
        ide->Menu().Changed();
}

class TMainMenuIntf final : public host::TIMainMenuIntf {
public:
    explicit TMainMenuIntf(std::shared_ptr<TMainMenu*> anchor) : FAnchor(std::move(anchor)) {}

    host::TIMenuItemIntf* GetMenuItems() override {
        RecordCall("MainMenu.GetMenuItems");
        TMainMenu* menu = *FAnchor;
        if (!menu)
            return nullptr;
        auto* intf = menu->Root().Intf();
        intf->AddRef();
        return intf;
    }

    host::TIMenuItemIntf* FindMenuItem(const std::string& name) override {
        RecordCall("MainMenu.FindMenuItem", {name});
        TMainMenu* menu = *FAnchor;
        TMenuItem* item = menu ? menu->Find(name) : nullptr;
        if (!item)
            return nullptr;
        item->Intf()->AddRef();
        return item->Intf();
    }

private:
    std::shared_ptr<TMainMenu*> FAnchor;
};

} // namespace

TMenuItem::TMenuItem(std::string name, std::string caption)
    : Name(std::move(name)), Caption(std::move(caption)), FIntf(new TMenuItemIntf(this)) {}

TMenuItem::~TMenuItem() {
    FItems.clear();
    FIntf->Detach();
    FIntf->Release();
}

int TMenuItem::Index() const {
    if (!FParent)
        return -1;
    for (size_t i = 0; i < FParent->FItems.size(); ++i)
        if (FParent->FItems[i].get() == this)
            return static_cast<int>(i);
    return -1;
}

TMenuItem* TMenuItem::Insert(int index, std::unique_ptr<TMenuItem> item) {
    index = std::clamp(index, 0, Count());
    item->FParent = this;
    TMenuItem* raw = item.get();
    FItems.insert(FItems.begin() + index, std::move(item));
    return raw;
}

TMenuItem* TMenuItem::Add(std::string name, std::string caption) {
    return Insert(Count(), std::make_unique<TMenuItem>(std::move(name), std::move(caption)));
}

void TMenuItem::Remove(TMenuItem* child) {
    auto it = std::find_if(FItems.begin(), FItems.end(), [&](const auto& p) { return p.get() == child; });
    if (it == FItems.end())
        return;
    // Out of the tree first, so that the tree is whole while the item's objects are torn down.
    std::unique_ptr<TMenuItem> gone = std::move(*it);
    FItems.erase(it);
}

TMenuItem* TMenuItem::Find(std::string_view name) {
    if (!Name.empty() && SameText(Name, name))
        return this;
    for (const auto& child : FItems)
        if (TMenuItem* found = child->Find(name))
            return found;
    return nullptr;
}

TMenuItem* TMenuItem::FindByShortCut(int shortCut) {
    if (shortCut == 0)
        return nullptr;
    if (ShortCut == shortCut && FParent)
        return this;
    for (const auto& child : FItems)
        if (TMenuItem* found = child->FindByShortCut(shortCut))
            return found;
    return nullptr;
}

TMainMenu::TMainMenu()
    : FRoot(std::make_unique<TMenuItem>("", "")), FAnchor(std::make_shared<TMainMenu*>(this)) {}

TMainMenu::~TMainMenu() { *FAnchor = nullptr; }

void TMainMenu::Changed() {
    if (OnChange)
        OnChange();
}

bool TMainMenu::Click(TMenuItem* item) {
    if (!item || !(item->Flags & host::mfEnabled))
        return false;
    // Held for the click, so that an item destroyed by its own handler stays a valid Sender.
    host::TInterfaceRef<TMenuItemIntf> sender(item->Intf());
    sender->AddRef();
    host::TIMenuClickEvent handler = item->OnClick;
    if (!handler)
        return true;
    auto report = [&](const std::string& message) {
        if (OnError)
            OnError(message);
    };
    try {
        handler(sender.Get());
    } catch (const rtl::EAbort&) {
    } catch (const rtl::Exception& e) {
        if (std::strcmp(e.ClassName(), "EAbort") != 0)
            report(e.Message());
    } catch (const std::exception& e) {
        report(e.what());
    } catch (...) {
        report("Unknown error");
    }
    return true;
}

bool TMainMenu::ClickByName(std::string_view name) { return Click(Find(name)); }

host::TIMainMenuIntf* TMainMenu::NewIntf() { return new TMainMenuIntf(FAnchor); }

bool TMenuItemIntf::DestroyMenuItem() {
    RecordCall("MenuItem.DestroyMenuItem", {FItem ? FItem->Name : std::string()});
    if (!FItem || !FItem->Parent())
        return false;
    FItem->Parent()->Remove(FItem); // detaches this object
    MenuChanged();
    return true;
}

int TMenuItemIntf::GetIndex() {
    RecordCall("MenuItem.GetIndex", {FItem ? FItem->Name : std::string()});
    return FItem ? FItem->Index() : -1;
}

host::TIMenuItemIntf* TMenuItemIntf::GetParent() {
    RecordCall("MenuItem.GetParent", {FItem ? FItem->Name : std::string()});
    if (!FItem || !FItem->Parent())
        return nullptr;
    auto* intf = FItem->Parent()->Intf();
    intf->AddRef();
    return intf;
}

host::TIMenuItemIntf* TMenuItemIntf::InsertItem(int index, const std::string& caption, const std::string& name,
                                                const std::string& hint, int shortCut, int context,
                                                int groupIndex, host::TIMenuFlags flags,
                                                host::TIMenuClickEvent eventHandler) {
    RecordCall("MenuItem.InsertItem", {FItem ? FItem->Name : std::string(), std::to_string(index), caption, name,
                                       hint, std::to_string(shortCut), std::to_string(context),
                                       std::to_string(groupIndex), std::to_string(flags)});
    if (!FItem)
        return nullptr;
    auto item = std::make_unique<TMenuItem>(name, caption);
    item->Hint = hint;
    item->ShortCut = shortCut;
    item->Context = context;
    item->GroupIndex = groupIndex;
    item->Flags = flags;
    item->OnClick = std::move(eventHandler);
    TMenuItem* inserted = FItem->Insert(index, std::move(item));
    MenuChanged();
    inserted->Intf()->AddRef();
    return inserted->Intf();
}

} // namespace ide

