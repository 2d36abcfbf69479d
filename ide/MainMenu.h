// The IDE's main menu as a tree of items with names and captions, each item with its one
// interface object, and the main-menu object the experts reach it through. The on-screen menu
// is drawn from this tree. Implementations in MainMenu.cpp.
#pragma once

#include "host/MenuIntf.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ide {

class TMenuItemIntf;

class TMenuItem {
public:
    TMenuItem(std::string name, std::string caption);
    ~TMenuItem();
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    std::string Name;
    std::string Caption;
    std::string Hint;
    int ShortCut = 0;
    int Context = 0;
    int GroupIndex = 0;
    host::TIMenuFlags Flags = host::mfEnabled | host::mfVisible;
    host::TIMenuClickEvent OnClick;

    TMenuItem* Parent() const { return FParent; }
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const { return FItems.at(static_cast<size_t>(index)).get(); }
    // 0-based position among the siblings; -1 for the root.
    int Index() const;
    // Inserts at index (clamped to 0..Count()) and returns the item.
    TMenuItem* Insert(int index, std::unique_ptr<TMenuItem> item);
    TMenuItem* Add(std::string name, std::string caption);
    // Destroys the child and everything below it.
    void Remove(TMenuItem* child);
    // Depth-first, names compared without regard to case; this item included.
    TMenuItem* Find(std::string_view name);
    TMenuItem* FindByShortCut(int shortCut);

    // The item's own interface object; the item holds one reference to it.
    TMenuItemIntf* Intf() const { return FIntf; }

private:
    TMenuItem* FParent = nullptr;
    std::vector<std::unique_ptr<TMenuItem>> FItems;
    TMenuItemIntf* FIntf;
};

class TMainMenu {
public:
    TMainMenu();
    ~TMainMenu();
    TMainMenu(const TMainMenu&) = delete;
    TMainMenu& operator=(const TMainMenu&) = delete;

    TMenuItem& Root() { return *FRoot; }
    TMenuItem* Find(std::string_view name) { return FRoot->Find(name); }
    // Calls the item's click event with its interface object as Sender. An exception that leaves
    // it goes to OnError (an abort silently); false when the item is disabled or gone.
    bool Click(TMenuItem* item);
    bool ClickByName(std::string_view name);

    // A new main-menu object with one reference for the caller.
    host::TIMainMenuIntf* NewIntf();

    std::function<void(const std::string& message)> OnError;
    // Called after every change of the tree, so that the on-screen menu can follow.
    std::function<void()> OnChange;
    void Changed();

private:
    std::unique_ptr<TMenuItem> FRoot;
    // Cleared when the menu goes, so that objects the libraries still hold do nothing.
    std::shared_ptr<TMainMenu*> FAnchor;
    friend class TMenuItemIntf;
};

class TMenuItemIntf final : public host::TIMenuItemIntf {
public:
    TMenuItemIntf(TMenuItem* item) : FItem(item) {}

    bool DestroyMenuItem() override;
    int GetIndex() override;
    host::TIMenuItemIntf* GetParent() override;
    host::TIMenuItemIntf* InsertItem(int index, const std::string& caption, const std::string& name,
                                     const std::string& hint, int shortCut, int context,
                                     int groupIndex, host::TIMenuFlags flags,
                                     host::TIMenuClickEvent eventHandler) override;

    TMenuItem* Item() const { return FItem; }
    void Detach() { FItem = nullptr; }

private:
    TMenuItem* FItem;
};

} // namespace ide
