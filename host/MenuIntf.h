// The IDE's main menu as the experts see it: the menu, its items and the click event.
// Implemented by the IDE (ide/MainMenu.h). Every object an operation returns carries one
// reference for the caller, who releases it.
#pragma once

#include "host/Interface.h"

#include <cstdint>
#include <functional>
#include <string>

namespace host {

class TIMenuItemIntf;

// Sender is the clicked item's interface object, the same one InsertItem returned.
using TIMenuClickEvent = std::function<void(TIMenuItemIntf* Sender)>;

using TIMenuFlags = std::uint8_t;
constexpr TIMenuFlags mfEnabled = 2;
constexpr TIMenuFlags mfVisible = 4;

class TIMainMenuIntf : public TInterface {
public:
    // The root of the menu tree.
    virtual TIMenuItemIntf* GetMenuItems() = 0;
    // The item of that name anywhere in the tree, or null.
    virtual TIMenuItemIntf* FindMenuItem(const std::string& name) = 0;
};

class TIMenuItemIntf : public TInterface {
public:
    // Removes the item (and any items below it) from the menu. The interface object stays valid
    // until released; its operations then do nothing.
    virtual bool DestroyMenuItem() = 0;
    // 0-based position among its siblings; -1 for the root or a destroyed item.
    virtual int GetIndex() = 0;
    // The item that holds this one, or null for the root.
    virtual TIMenuItemIntf* GetParent() = 0;
    // Inserts a new item below this one at index (clamped to the children's count); null when
    // this item is gone.
    virtual TIMenuItemIntf* InsertItem(int index, const std::string& caption, const std::string& name,
                                       const std::string& hint, int shortCut, int context,
                                       int groupIndex, TIMenuFlags flags,
                                       TIMenuClickEvent eventHandler) = 0;
};

} // namespace host
