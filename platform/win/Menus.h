// Menus of the window system: menu objects with their items, the menu bar in a top-level
// window's non-client area, and the modal tracking loop of pop-up menus and the bar. Included by
// win/Windows.h; implementations in Menus.cpp.
#pragma once

namespace win {

// Item flags of AppendMenu, InsertMenu, ModifyMenu and the state calls.
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_MENUBARBREAK = 0x0020;
constexpr UINT MF_MENUBREAK = 0x0040;
constexpr UINT MF_HILITE = 0x0080;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_SYSMENU = 0x2000;
constexpr UINT MF_MOUSESELECT = 0x8000;

// TrackPopupMenu flags.
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

// WM_SYSCOMMAND: the keyboard opens the menu bar (lParam: the accelerator letter, or 0).
constexpr unsigned SC_KEYMENU = 0xF100;
// Answers the menu a pop-up menu window (class "#32768") shows.
constexpr unsigned MN_GETHMENU = 0x01E1;

HMENU CreateMenu();      // for a menu bar
HMENU CreatePopupMenu(); // for a pop-up menu or a bar's drop-down menu
// Destroys the menu with the pop-up menus of its items. A menu that is gone makes every call fail.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

// idOrPopup is the item's command id, or with MF_POPUP the pop-up menu it opens (the menu then
// belongs to this one). text: the caption, '&' before the accelerator letter, a tab before the
// shortcut text shown on the right.
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrPopup, const char* text);
// Inserts before the item at the position (MF_BYPOSITION, -1 appends) or of the command id.
BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, const char* text);
BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, const char* text);
// DeleteMenu destroys the item's pop-up menu; RemoveMenu leaves it to the caller.
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
// Answer the previous state (MF_GRAYED | MF_DISABLED, MF_CHECKED), or -1 with no such item.
UINT EnableMenuItem(HMENU menu, UINT idOrPosition, UINT enable);
DWORD CheckMenuItem(HMENU menu, UINT idOrPosition, UINT check);
int GetMenuItemCount(HMENU menu); // -1 for no menu
HMENU GetSubMenu(HMENU menu, int position);
UINT GetMenuItemID(HMENU menu, int position); // -1 for a pop-up item or no item
UINT GetMenuState(HMENU menu, UINT idOrPosition, UINT flags);
int GetMenuString(HMENU menu, UINT idOrPosition, char* buffer, int maxCount, UINT flags);
std::string GetMenuString(HMENU menu, UINT idOrPosition, UINT flags);

// The menu bar of a top-level window: it takes rows of the non-client area below the caption,
// so the client area shrinks and the window gets WM_SIZE. DrawMenuBar shows changes of its items.
BOOL SetMenu(HWND hwnd, HMENU menu);
HMENU GetMenu(HWND hwnd);
BOOL DrawMenuBar(HWND hwnd);
// The screen rectangle of an item of a window's menu bar, or of an open pop-up menu.
BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT position, RECT* rect);

// Shows the pop-up menu at a screen point and runs the tracking loop until an item is chosen
// (the mouse, the arrow keys, Enter, the accelerator letters), or Escape or a click outside
// ends it. hwnd gets WM_ENTERMENULOOP, WM_INITMENUPOPUP before each menu shows, WM_MENUSELECT
// as items are selected, WM_EXITMENULOOP, and the chosen item's WM_COMMAND posted; with
// TPM_RETURNCMD the id is answered instead (0 for none).
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND hwnd, const RECT* rect);
// Ends the tracking loop that runs, without a choice.
BOOL EndMenu();

} // namespace win
