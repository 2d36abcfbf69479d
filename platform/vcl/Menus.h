// Menus: shortcuts (a key with its shift state in one word, and their texts), menu items, the
// main menu of a form and pop-up menus over the window system's menus. Implementations in
// Menus.cpp.
#pragma once

#include "vcl/Controls.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vcl {

using TShortCut = std::uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(unsigned Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, unsigned& Key, TShiftState& Shift);
// "Ctrl+Shift+F5"; the empty text for none or an unnamed key.
std::string ShortCutToText(TShortCut ShortCut);
// Without regard to case and with the modifiers in any order; 0 when the text is no shortcut.
TShortCut TextToShortCut(const std::string& Text);

RTL_DECLARE_EXCEPTION(EMenuError, rtl::Exception);

class TMenu;

// One item of a menu: a command, a separator (caption "-"), or, with items of its own, the
// menu they drop down in. Its window-system menu is made on demand and follows every change.
class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    // Leaves its parent's menu and frees its own items.
    ~TMenuItem() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value) { FHint = Value; }
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }

    int Count() const { return int(FItems.size()); }
    TMenuItem* Items(int Index) const;
    int IndexOf(TMenuItem* Item) const;
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    // Takes the item out of this one without freeing it.
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const { return FParent ? FParent->IndexOf(const_cast<TMenuItem*>(this)) : -1; }

    // The id of its WM_COMMAND, unique in the library.
    unsigned Command() const { return FCommand; }
    // The window-system menu that holds its items.
    win::HMENU Handle();
    bool HandleAllocated() const;

    virtual void Click();
    TNotifyEvent OnClick;

    void GetChildren(const std::function<void(TComponent*)>& Proc) const override;
    void SetParentComponent(TComponent* Value) override;

protected:
    virtual void MenuChanged();

private:
    friend class TMenu;
    void Populate();
    void RebuildHandle();
    TMenu* RootMenu() const;

    std::string FCaption;
    bool FChecked = false, FEnabled = true, FVisible = true;
    TShortCut FShortCut = 0;
    std::string FHint;
    int FHelpContext = 0, FGroupIndex = 0;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr; // set on a menu's root item only
    unsigned FCommand = 0;
    win::HMENU FHandle = nullptr;
};

enum class TFindItemKind { fkCommand, fkHandle, fkShortCut };

class TMenu : public TComponent {
public:
    ~TMenu() override;

    // The root item, whose items the menu shows.
    TMenuItem* Items() const { return FItems; }
    win::HMENU Handle() { return FItems->Handle(); }
    // The window whose bar shows the menu (a main menu's form).
    win::HWND WindowHandle() const { return FWindowHandle; }
    void SetWindowHandle(win::HWND Value);

    // Runs the item of a WM_COMMAND id; false when no item has it.
    bool DispatchCommand(unsigned Command);
    // Runs the click of the item whose menu is about to drop down.
    bool DispatchPopup(win::HMENU Menu);
    TMenuItem* FindItem(std::uintptr_t Value, TFindItemKind Kind);
    // Runs the item of an enabled shortcut; false when no enabled item has it.
    bool IsShortCut(unsigned Key, TShiftState Shift);

    void GetChildren(const std::function<void(TComponent*)>& Proc) const override;

protected:
    TMenu(TComponent* AOwner, bool Bar);
    friend class TMenuItem;
    virtual void MenuChanged() {}
    bool Bar() const { return FBar; }

private:
    TMenuItem* FItems;
    bool FBar;
    win::HWND FWindowHandle = nullptr;
};

// A form's menu bar (TForm::SetMenu); a form runs its items' shortcuts.
class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner, true) {}

protected:
    void MenuChanged() override;
};

enum class TPopupAlignment { paLeft, paRight, paCenter };

// A pop-up menu, shown by Popup at a screen point, or by a right click on a control whose
// PopupMenu it is (AutoPopup). Its items' clicks run when the loop next takes messages.
class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }
    // The control that was right-clicked.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }

    // OnPopup runs first, then the menu shows and tracks until it closes.
    virtual void Popup(int X, int Y);
    TNotifyEvent OnPopup;

private:
    TPopupAlignment FAlignment = TPopupAlignment::paLeft;
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
};

// Keys: the shortcut of a pop-up menu of the control or its parents, then of its form's menu.
bool IsMenuKey(TWinControl* Control, unsigned Key, TShiftState Shift);
// A right button let go over a control: its pop-up menu shows when it pops up by itself.
bool AutoPopupMenu(TControl* Control, int X, int Y);
// Application.Hint follows the item a menu selects (WM_MENUSELECT of a form or pop-up menu).
void MenuSelectHint(TMenu* Menu, win::WPARAM WParam, win::LPARAM LParam);

namespace detail {
// The menus' shared state (the items' command numbers, the pop-up menus). The application's unit
// makes it before the application, so that it is still there when the application's forms and
// their menus go at the end.
void MakeMenuState();
} // namespace detail

} // namespace vcl
