// Shortcut values and texts; menu items, main and pop-up menus; the pop-up menus' window.
#include "vcl/Menus.h"

#include "vcl/Forms.h"
#include "vcl/Streaming.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace vcl {

using namespace win;

namespace {

std::string KeyName(unsigned key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
    if (key >= VK_F1 && key <= VK_F1 + 11) return "F" + std::to_string(key - VK_F1 + 1);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return "Num " + std::to_string(key - VK_NUMPAD0);
    switch (key) {
    case VK_BACK: return "BkSp";
    case VK_TAB: return "Tab";
    case VK_RETURN: return "Enter";
    case VK_ESCAPE: return "Esc";
    case VK_SPACE: return "Space";
    case VK_PRIOR: return "PgUp";
    case VK_NEXT: return "PgDn";
    case VK_END: return "End";
    case VK_HOME: return "Home";
    case VK_LEFT: return "Left";
    case VK_UP: return "Up";
    case VK_RIGHT: return "Right";
    case VK_DOWN: return "Down";
    case VK_INSERT: return "Ins";
    case VK_DELETE: return "Del";
    case VK_OEM_1: return ";";
    case VK_OEM_PLUS: return "=";
    case VK_OEM_COMMA: return ",";
    case VK_OEM_MINUS: return "-";
    case VK_OEM_PERIOD: return ".";
    case VK_OEM_2: return "/";
    case VK_OEM_3: return "`";
    case VK_OEM_4: return "[";
    case VK_OEM_5: return "\\";
    case VK_OEM_6: return "]";
    case VK_OEM_7: return "'";
    default: return {};
    }
}

bool SameTextPrefix(const std::string& text, std::size_t at, const std::string& word) {
    if (text.size() - at < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != std::tolower(static_cast<unsigned char>(word[i])))
            return false;
    return true;
}

} // namespace

TShortCut ShortCut(unsigned Key, TShiftState Shift) {
    if (Key & 0xFF00) return scNone;
    TShortCut result = TShortCut(Key & 0xFF);
    if (Shift & ssShift) result |= scShift;
    if (Shift & ssCtrl) result |= scCtrl;
    if (Shift & ssAlt) result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut Value, unsigned& Key, TShiftState& Shift) {
    Key = Value & 0xFF;
    Shift = 0;
    if (Value & scShift) Shift |= ssShift;
    if (Value & scCtrl) Shift |= ssCtrl;
    if (Value & scAlt) Shift |= ssAlt;
}

std::string ShortCutToText(TShortCut Value) {
    std::string name = KeyName(Value & 0xFF);
    if (name.empty()) return {};
    std::string prefix;
    if (Value & scShift) prefix += "Shift+";
    if (Value & scCtrl) prefix += "Ctrl+";
    if (Value & scAlt) prefix += "Alt+";
    return prefix + name;
}

TShortCut TextToShortCut(const std::string& Text) {
    TShortCut shift = 0;
    std::size_t at = 0;
    for (;;) {
        if (SameTextPrefix(Text, at, "Shift+")) { shift |= scShift; at += 6; }
        else if (SameTextPrefix(Text, at, "Ctrl+")) { shift |= scCtrl; at += 5; }
        else if (SameTextPrefix(Text, at, "Alt+")) { shift |= scAlt; at += 4; }
        else break;
    }
    std::string rest = Text.substr(at);
    if (rest.empty()) return scNone;
    for (unsigned key = 0x08; key <= 0xFF; ++key) {
        std::string name = KeyName(key);
        if (!name.empty() && name.size() == rest.size() && SameTextPrefix(rest, 0, name))
            return TShortCut(key | shift);
    }
    return scNone;
}

// --- Menu items ---------------------------------------------------------------------------

namespace {

std::set<unsigned>& UsedCommands() {
    static std::set<unsigned> used;
    return used;
}

unsigned NewCommand() {
    auto& used = UsedCommands();
    unsigned id = 1;
    for (unsigned u : used) {
        if (u != id) break;
        ++id;
    }
    used.insert(id);
    return id;
}

std::vector<TPopupMenu*>& PopupMenus() {
    static std::vector<TPopupMenu*> list;
    return list;
}

void Report() {
    if (Application) Application->HandleException(Application);
}

// The pop-up menus' commands, drop-downs and selections come to this window.
LRESULT CALLBACK_PopupListProc(HWND Wnd, unsigned Msg, WPARAM WParam, LPARAM LParam) {
    try {
        switch (Msg) {
        case WM_COMMAND:
            for (TPopupMenu* m : std::vector<TPopupMenu*>(PopupMenus()))
                if (m->DispatchCommand(LOWORD(WParam))) return 0;
            return 0;
        case WM_INITMENUPOPUP:
            for (TPopupMenu* m : std::vector<TPopupMenu*>(PopupMenus()))
                if (m->DispatchPopup(reinterpret_cast<HMENU>(WParam))) return 0;
            return 0;
        case WM_MENUSELECT: {
            TPopupMenu* owner = nullptr;
            for (TPopupMenu* m : PopupMenus()) {
                bool closing = HIWORD(WParam) == 0xFFFF && LParam == 0;
                if (closing || m->FindItem(std::uintptr_t(LParam), TFindItemKind::fkHandle)) owner = m;
                if (owner) break;
            }
            MenuSelectHint(owner, WParam, LParam);
            return 0;
        }
        }
    } catch (...) {
        Report();
        return 0;
    }
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

HWND PopupListWindow() {
    static HWND wnd = nullptr;
    if (wnd && IsWindow(wnd)) return wnd;
    static const char* className = "TPopupList";
    WNDCLASS wc;
    if (!GetClassInfo(ModuleInstance(), className, &wc) || wc.hInstance != ModuleInstance()) {
        WNDCLASS made;
        made.lpfnWndProc = &CALLBACK_PopupListProc;
        made.hInstance = ModuleInstance();
        made.lpszClassName = className;
        RegisterClass(&made);
    }
    wnd = CreateWindowEx(0, className, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, ModuleInstance(), nullptr);
    return wnd;
}

} // namespace

void detail::MakeMenuState() {
    UsedCommands();
    PopupMenus();
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(NewCommand()) {}

TMenuItem::~TMenuItem() {
    Destroying();
    if (FParent) FParent->Remove(this);
    while (!FItems.empty()) delete FItems.back();
    if (FHandle && IsMenu(FHandle)) DestroyMenu(FHandle);
    UsedCommands().erase(FCommand);
}

void TMenuItem::SetCaption(const std::string& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    MenuChanged();
}

void TMenuItem::SetChecked(bool Value) {
    if (Value == FChecked) return;
    FChecked = Value;
    MenuChanged();
}

void TMenuItem::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    MenuChanged();
}

void TMenuItem::SetVisible(bool Value) {
    if (Value == FVisible) return;
    FVisible = Value;
    MenuChanged();
}

void TMenuItem::SetShortCut(TShortCut Value) {
    if (Value == FShortCut) return;
    FShortCut = Value;
    MenuChanged();
}

TMenuItem* TMenuItem::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw rtl::EListError("Menu index out of range");
    return FItems[std::size_t(Index)];
}

int TMenuItem::IndexOf(TMenuItem* Item) const {
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (!Item) return;
    if (Item->FParent) throw EMenuError("Menu inserted twice");
    for (TMenuItem* p = this; p; p = p->FParent)
        if (p == Item) throw EMenuError("Menu inserted into itself");
    Index = std::clamp(Index, 0, Count());
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    // An item that gets its first item becomes a drop-down in its parent's menu.
    if (FParent && Count() == 1) FParent->RebuildHandle();
    RebuildHandle();
    if (TMenu* m = RootMenu()) m->MenuChanged();
}

void TMenuItem::Delete(int Index) {
    TMenuItem* item = Items(Index);
    FItems.erase(FItems.begin() + Index);
    item->FParent = nullptr;
    if (FParent && Count() == 0) FParent->RebuildHandle();
    RebuildHandle();
    if (TMenu* m = RootMenu()) m->MenuChanged();
}

void TMenuItem::Remove(TMenuItem* Item) {
    int i = IndexOf(Item);
    if (i < 0) throw EMenuError("Menu item not found");
    Delete(i);
}

bool TMenuItem::HandleAllocated() const { return FHandle && IsMenu(FHandle); }

win::HMENU TMenuItem::Handle() {
    if (FHandle && !IsMenu(FHandle)) FHandle = nullptr; // gone with the window that showed it
    if (!FHandle) {
        TMenu* root = FMenu;
        FHandle = root && root->Bar() ? CreateMenu() : CreatePopupMenu();
        Populate();
    }
    return FHandle;
}

void TMenuItem::Populate() {
    for (TMenuItem* item : FItems) {
        if (!item->FVisible) continue;
        if (item->FCaption == "-") {
            AppendMenu(FHandle, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING | (item->FEnabled ? MF_ENABLED : MF_GRAYED) | (item->FChecked ? MF_CHECKED : 0);
        std::string text = item->FCaption;
        if (item->FShortCut) text += "\t" + ShortCutToText(item->FShortCut);
        if (item->Count()) AppendMenu(FHandle, flags | MF_POPUP, UINT_PTR(item->Handle()), text.c_str());
        else AppendMenu(FHandle, flags, item->FCommand, text.c_str());
    }
}

void TMenuItem::RebuildHandle() {
    if (!HandleAllocated()) return;
    // The items' own menus stay theirs; only the entries are made again.
    while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
    Populate();
}

void TMenuItem::MenuChanged() {
    if (FParent) FParent->RebuildHandle();
    if (TMenu* m = RootMenu()) m->MenuChanged();
}

TMenu* TMenuItem::RootMenu() const {
    const TMenuItem* top = this;
    while (top->FParent) top = top->FParent;
    return top->FMenu;
}

void TMenuItem::Click() {
    // A copy, so that a handler that frees the item finishes safely.
    TNotifyEvent handler = OnClick;
    if (handler) handler(this);
}

void TMenuItem::GetChildren(const std::function<void(TComponent*)>& Proc) const {
    for (TMenuItem* item : FItems) Proc(item);
}

void TMenuItem::SetParentComponent(TComponent* Value) {
    if (FParent) FParent->Remove(this);
    if (auto* menu = dynamic_cast<TMenu*>(Value)) menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(Value)) item->Add(this);
}

// --- Menus ----------------------------------------------------------------------------------

TMenu::TMenu(TComponent* AOwner, bool Bar) : TComponent(AOwner), FItems(new TMenuItem(nullptr)), FBar(Bar) {
    FItems->FMenu = this;
}

TMenu::~TMenu() {
    Destroying();
    FItems->FMenu = nullptr;
    delete FItems;
}

void TMenu::SetWindowHandle(win::HWND Value) {
    FWindowHandle = Value;
    MenuChanged();
}

TMenuItem* TMenu::FindItem(std::uintptr_t Value, TFindItemKind Kind) {
    std::function<TMenuItem*(TMenuItem*)> walk = [&](TMenuItem* item) -> TMenuItem* {
        for (TMenuItem* child : item->FItems) {
            bool hit = false;
            switch (Kind) {
            case TFindItemKind::fkCommand: hit = child->FCommand == Value; break;
            case TFindItemKind::fkHandle: hit = child->FHandle && std::uintptr_t(child->FHandle) == Value; break;
            case TFindItemKind::fkShortCut: hit = child->FShortCut && child->FShortCut == Value; break;
            }
            if (hit) return child;
            if (TMenuItem* found = walk(child)) return found;
        }
        return nullptr;
    };
    if (Kind == TFindItemKind::fkHandle && FItems->FHandle && std::uintptr_t(FItems->FHandle) == Value) return FItems;
    return walk(FItems);
}

bool TMenu::DispatchCommand(unsigned Command) {
    TMenuItem* item = FindItem(Command, TFindItemKind::fkCommand);
    if (!item) return false;
    item->Click();
    return true;
}

bool TMenu::DispatchPopup(win::HMENU Menu) {
    TMenuItem* item = FindItem(std::uintptr_t(Menu), TFindItemKind::fkHandle);
    if (!item) return false;
    if (item != FItems) item->Click();
    return true;
}

bool TMenu::IsShortCut(unsigned Key, TShiftState Shift) {
    TShortCut sc = ShortCut(Key, Shift & (ssShift | ssCtrl | ssAlt));
    if (!sc) return false;
    TMenuItem* item = FindItem(sc, TFindItemKind::fkShortCut);
    if (!item) return false;
    for (TMenuItem* p = item; p && p != FItems; p = p->FParent)
        if (!p->Enabled() || !p->Visible()) return false;
    item->Click();
    return true;
}

void TMenu::GetChildren(const std::function<void(TComponent*)>& Proc) const { FItems->GetChildren(Proc); }

void TMainMenu::MenuChanged() {
    HWND wnd = WindowHandle();
    if (!wnd || !IsWindow(wnd)) return;
    HMENU bar = Handle();
    if (GetMenu(wnd) != bar) ::win::SetMenu(wnd, bar);
    else DrawMenuBar(wnd);
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner, false) { PopupMenus().push_back(this); }

TPopupMenu::~TPopupMenu() {
    auto& list = PopupMenus();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TPopupMenu::Popup(int X, int Y) {
    if (OnPopup) OnPopup(this);
    UINT flags = TPM_RIGHTBUTTON;
    if (FAlignment == TPopupAlignment::paRight) flags |= TPM_RIGHTALIGN;
    else if (FAlignment == TPopupAlignment::paCenter) flags |= TPM_CENTERALIGN;
    TrackPopupMenu(Handle(), flags, X, Y, 0, PopupListWindow(), nullptr);
}

bool IsMenuKey(TWinControl* Control, unsigned Key, TShiftState Shift) {
    for (TControl* c = Control; c; c = c->Parent())
        if (auto* menu = dynamic_cast<TPopupMenu*>(c->PopupMenu()); menu && menu->IsShortCut(Key, Shift)) return true;
    TCustomForm* form = GetParentForm(Control);
    return form && form->IsShortCut(Key, Shift);
}

bool AutoPopupMenu(TControl* Control, int X, int Y) {
    auto* menu = dynamic_cast<TPopupMenu*>(Control->PopupMenu());
    if (!menu || !menu->AutoPopup()) return false;
    menu->SetPopupComponent(Control);
    TPoint p = Control->ClientToScreen(Point(X, Y));
    menu->Popup(p.x, p.y);
    return true;
}

void MenuSelectHint(TMenu* Menu, WPARAM WParam, LPARAM LParam) {
    if (!Application) return;
    TMenuItem* item = nullptr;
    unsigned flags = HIWORD(WParam), id = LOWORD(WParam);
    if (Menu && !(flags == 0xFFFF && LParam == 0)) {
        if (flags & MF_POPUP) {
            HMENU sub = GetSubMenu(reinterpret_cast<HMENU>(LParam), int(id));
            item = Menu->FindItem(std::uintptr_t(sub), TFindItemKind::fkHandle);
        } else {
            item = Menu->FindItem(id, TFindItemKind::fkCommand);
        }
    }
    Application->SetHint(item ? item->Hint() : std::string());
}

namespace {

struct MenuClasses {
    MenuClasses() {
        RegisterClass<TMenuItem>("TMenuItem", "", {
            StringProperty<TMenuItem>("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption),
            BooleanProperty<TMenuItem>("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).WithDefault(0),
            BooleanProperty<TMenuItem>("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).WithDefault(1),
            IntegerProperty<TMenuItem>("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).WithDefault(0),
            IntegerProperty<TMenuItem>("HelpContext", &TMenuItem::HelpContext, &TMenuItem::SetHelpContext).WithDefault(0),
            StringProperty<TMenuItem>("Hint", &TMenuItem::Hint, &TMenuItem::SetHint)
                .StoredWhen([](TPersistent* o) { return !static_cast<TMenuItem*>(o)->Hint().empty(); }),
            IntegerProperty<TMenuItem>("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut).WithDefault(0),
            BooleanProperty<TMenuItem>("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).WithDefault(1),
            EventProperty<TMenuItem>("OnClick", &TMenuItem::OnClick),
        });
        RegisterClass<TMainMenu>("TMainMenu", "");
        RegisterClass<TPopupMenu>("TPopupMenu", "", {
            EnumProperty<TPopupMenu>("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment,
                                     {"paLeft", "paRight", "paCenter"}).WithDefault(0),
            BooleanProperty<TPopupMenu>("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).WithDefault(1),
            EventProperty<TPopupMenu>("OnPopup", &TPopupMenu::OnPopup),
        });
    }
} menuClasses;

} // namespace

} // namespace vcl
