// The test robot over the window system's message hook.
#include "testing/Robot.h"

#include "vcl/WindowData.h"

#include "rtl/Clock.h"
#include "rtl/ScopeGuards.h"
#include "rtl/TestHooks.h"
#include "win/TestHooks.h"

#include <algorithm>
#include <cctype>

namespace testing_support {

using namespace win;

namespace {

std::string WithoutAccel(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&') out += '&', ++i;
            continue;
        }
        out += s[i];
    }
    return out;
}

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool Matches(HWND w, const TBy& by) {
    switch (by.Kind) {
    case TBy::TKind::Caption: return WithoutAccel(GetWindowText(w)) == WithoutAccel(by.Value);
    case TBy::TKind::Name: return SameText(TRobot::NameOf(w), by.Value);
    case TBy::TKind::Class: return SameText(GetClassName(w), by.Value);
    }
    return false;
}

void Descendants(HWND parent, std::vector<HWND>& out) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        out.push_back(c);
        Descendants(c, out);
    }
}

POINT CentreOnScreen(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void PostClick(POINT screen, unsigned down) {
    PostMouseInput(WM_MOUSEMOVE, screen);
    PostMouseInput(down, screen);
    PostMouseInput(down + 1, screen);
}

// The key and shift that type a character on the US layout; vk 0 when none does.
std::pair<unsigned, bool> KeyOfChar(char c) {
    if (c >= 'a' && c <= 'z') return {unsigned(c - 32), false};
    if (c >= 'A' && c <= 'Z') return {unsigned(c), true};
    if (c >= '0' && c <= '9') return {unsigned(c), false};
    static const std::string shiftedDigits = ")!@#$%^&*(";
    if (auto at = shiftedDigits.find(c); at != std::string::npos) return {unsigned('0' + at), true};
    static const struct { char plain, shifted; unsigned vk; } oem[] = {
        {';', ':', VK_OEM_1}, {'=', '+', VK_OEM_PLUS}, {',', '<', VK_OEM_COMMA}, {'-', '_', VK_OEM_MINUS},
        {'.', '>', VK_OEM_PERIOD}, {'/', '?', VK_OEM_2}, {'`', '~', VK_OEM_3}, {'[', '{', VK_OEM_4},
        {'\\', '|', VK_OEM_5}, {']', '}', VK_OEM_6}, {'\'', '"', VK_OEM_7},
    };
    for (auto& k : oem) {
        if (c == k.plain) return {k.vk, false};
        if (c == k.shifted) return {k.vk, true};
    }
    if (c == ' ') return {VK_SPACE, false};
    if (c == '\r' || c == '\n') return {VK_RETURN, false};
    if (c == '\t') return {VK_TAB, false};
    if (c == '\b') return {VK_BACK, false};
    return {0, false};
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t bar = path.find('|', start);
        parts.push_back(path.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) return parts;
        start = bar + 1;
    }
}

bool SameCaption(const std::string& menuText, const std::string& caption) {
    return WithoutAccel(menuText.substr(0, menuText.find('\t'))) == WithoutAccel(caption);
}

// The open pop-up menus of this process, the one shown last first.
std::vector<std::pair<HWND, HMENU>> OpenMenus() {
    std::vector<std::pair<HWND, HMENU>> out;
    DWORD pid = GetCurrentProcessId();
    EnumWindows([&](HWND w) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w) && GetClassName(w) == "#32768")
            if (HMENU m = reinterpret_cast<HMENU>(SendMessage(w, MN_GETHMENU, 0, 0))) out.emplace_back(w, m);
        return true;
    });
    return out;
}

// A separator; the state of an item that opens a submenu holds its item count in the high byte.
bool IsSeparator(HMENU menu, int i) {
    UINT state = GetMenuState(menu, UINT(i), MF_BYPOSITION);
    return !(state & MF_POPUP) && (state & MF_SEPARATOR);
}

int FindItem(HMENU menu, const std::string& caption) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        bool separator = IsSeparator(menu, i);
        if (separator ? caption == "-" : SameCaption(GetMenuString(menu, UINT(i), MF_BYPOSITION), caption)) return i;
    }
    return -1;
}

bool ClickOpenMenuItem(const std::string& caption) {
    for (auto [wnd, menu] : OpenMenus()) {
        int i = FindItem(menu, caption);
        RECT r;
        if (i >= 0 && GetMenuItemRect(wnd, menu, UINT(i), &r)) {
            PostClick(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, WM_LBUTTONDOWN);
            return true;
        }
    }
    return false;
}

} // namespace

TRobot::TRobot() { FPrevious = SetMessageHook(&TRobot::Hook, this); }

TRobot::~TRobot() { SetMessageHook(FPrevious.proc, FPrevious.data); }

void TRobot::Hook(void* Data) {
    auto* self = static_cast<TRobot*>(Data);
    if (self->FPrevious.proc) self->FPrevious.proc(self->FPrevious.data);
    self->Step();
}

void TRobot::Step() {
    if (FRunning || FSteps.empty() || HasQueuedInput()) return;
    FRunning = true;
    rtl::TScopeExit done([this] { FRunning = false; });
    // A step that leaves the loop nothing to take (an action, a check) is followed by the next
    // at once; otherwise the loop would find nothing and wait for ever.
    for (;;) {
        TStep step = FSteps.front();
        if (!step.Run()) break;
        FSteps.pop_front();
        MSG pending;
        if (FSteps.empty() || HasQueuedInput() || PeekMessage(&pending, nullptr, 0, 0, PM_NOREMOVE)) break;
    }
}

void TRobot::Queue(std::string What, std::function<bool()> Run) { FSteps.push_back({std::move(What), std::move(Run)}); }

std::string TRobot::Describe() const {
    std::string out;
    for (auto& s : FSteps) out += (out.empty() ? "" : "; ") + s.What;
    return out;
}

std::vector<HWND> TRobot::TopLevels() {
    std::vector<HWND> list;
    DWORD pid = GetCurrentProcessId();
    EnumWindows([&](HWND w) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w)) list.push_back(w);
        return true;
    });
    return list;
}

HWND TRobot::FindWindow(const TBy& By) {
    for (HWND w : TopLevels())
        if (Matches(w, By)) return w;
    return nullptr;
}

HWND TRobot::FindControl(const TBy& By, HWND Parent) {
    std::vector<HWND> roots = Parent ? std::vector<HWND>{Parent} : TopLevels();
    for (HWND root : roots) {
        std::vector<HWND> all;
        Descendants(root, all);
        for (HWND w : all)
            if (IsWindowVisible(w) && Matches(w, By)) return w;
    }
    return nullptr;
}

std::string TRobot::NameOf(HWND Wnd) {
    char buffer[256] = {};
    LRESULT n = SendMessage(Wnd, vcl::CM_GETCOMPONENTNAME, sizeof buffer, LPARAM(buffer));
    return n > 0 ? std::string(buffer) : std::string();
}

std::string TRobot::TextOf(HWND Wnd) { return GetWindowText(Wnd); }

std::string TRobot::ChildText(HWND Parent, const std::string& Name) {
    std::vector<char> buffer(4096);
    vcl::TChildTextQuery query{Name.c_str(), buffer.data(), int(buffer.size())};
    if (SendMessage(Parent, vcl::CM_GETCHILDTEXT, 0, LPARAM(&query)) == 0) return {};
    return buffer.data();
}

HWND TRobot::ModalWindow() {
    std::vector<HWND> tops = TopLevels();
    for (HWND w : tops)
        if (IsWindowEnabled(w) && SendMessage(w, vcl::CM_ISMODAL, 0, 0) == 1) return w;
    bool anyDisabled = std::any_of(tops.begin(), tops.end(), [](HWND w) { return !IsWindowEnabled(w); });
    if (!anyDisabled) return nullptr;
    for (HWND w : tops)
        if (IsWindowEnabled(w)) return w;
    return nullptr;
}

void TRobot::Click(const TBy& Control, const TBy& Window) {
    Queue("click " + Control.Value, [Control, Window] {
        HWND parent = Window.Value.empty() ? nullptr : FindWindow(Window);
        if (!Window.Value.empty() && !parent) return false;
        HWND target = FindControl(Control, parent);
        if (!target || !IsWindowEnabled(target)) return false;
        PostClick(CentreOnScreen(target), WM_LBUTTONDOWN);
        return true;
    });
}

void TRobot::ClickAt(HWND Wnd, POINT Client, unsigned Button) {
    Queue("click at a point", [Wnd, Client, Button] {
        if (!IsWindow(Wnd)) return false;
        POINT p = Client;
        win::ClientToScreen(Wnd, &p);
        PostClick(p, Button);
        return true;
    });
}

void TRobot::Drag(HWND Wnd, POINT From, POINT To, int Steps) {
    Queue("drag", [=] {
        if (!IsWindow(Wnd)) return false;
        POINT a = From, b = To;
        win::ClientToScreen(Wnd, &a);
        win::ClientToScreen(Wnd, &b);
        PostMouseInput(WM_MOUSEMOVE, a);
        PostMouseInput(WM_LBUTTONDOWN, a);
        int n = std::max(1, Steps);
        for (int i = 1; i <= n; ++i)
            PostMouseInput(WM_MOUSEMOVE, POINT{a.x + (b.x - a.x) * i / n, a.y + (b.y - a.y) * i / n});
        PostMouseInput(WM_LBUTTONUP, b);
        return true;
    });
}

void TRobot::MoveTo(const TBy& Control) {
    Queue("move to " + Control.Value, [Control] {
        HWND target = FindControl(Control);
        if (!target) return false;
        PostMouseInput(WM_MOUSEMOVE, CentreOnScreen(target));
        return true;
    });
}

void TRobot::Type(const std::string& Text) {
    Queue("type " + Text, [Text] {
        for (char c : Text) {
            auto [vk, shift] = KeyOfChar(c);
            if (!vk) {
                // Characters no key types arrive as characters.
                if (HWND focus = GetFocus()) PostMessage(focus, WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 1);
                continue;
            }
            if (shift) PostKeyInput(WM_KEYDOWN, VK_SHIFT);
            PostKeyInput(WM_KEYDOWN, vk);
            PostKeyInput(WM_KEYUP, vk);
            if (shift) PostKeyInput(WM_KEYUP, VK_SHIFT);
        }
        return true;
    });
}

void TRobot::Key(unsigned VirtualKey, bool Shift, bool Ctrl, bool Alt) {
    Queue("key " + std::to_string(VirtualKey), [=] {
        if (Shift) PostKeyInput(WM_KEYDOWN, VK_SHIFT);
        if (Ctrl) PostKeyInput(WM_KEYDOWN, VK_CONTROL);
        if (Alt) PostKeyInput(WM_KEYDOWN, VK_MENU);
        PostKeyInput(WM_KEYDOWN, VirtualKey);
        PostKeyInput(WM_KEYUP, VirtualKey);
        if (Alt) PostKeyInput(WM_KEYUP, VK_MENU);
        if (Ctrl) PostKeyInput(WM_KEYUP, VK_CONTROL);
        if (Shift) PostKeyInput(WM_KEYUP, VK_SHIFT);
        return true;
    });
}

void TRobot::ChooseMenu(const std::string& Path) {
    for (const std::string& caption : SplitPath(Path))
        Queue("choose menu item " + caption, [caption] { return ClickOpenMenuItem(caption); });
}

void TRobot::ChooseMenu(const TBy& Window, const std::string& Path) {
    std::vector<std::string> parts = SplitPath(Path);
    Queue("choose " + parts.front() + " on the menu bar", [Window, caption = parts.front()] {
        HWND wnd = FindWindow(Window);
        HMENU bar = wnd ? GetMenu(wnd) : nullptr;
        int i = bar ? FindItem(bar, caption) : -1;
        RECT r;
        if (i < 0 || !GetMenuItemRect(wnd, bar, UINT(i), &r)) return false;
        PostClick(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, WM_LBUTTONDOWN);
        return true;
    });
    for (std::size_t k = 1; k < parts.size(); ++k)
        Queue("choose menu item " + parts[k], [caption = parts[k]] { return ClickOpenMenuItem(caption); });
}

std::vector<std::string> TRobot::OpenMenuItems() {
    std::vector<std::string> out;
    auto menus = OpenMenus();
    if (menus.empty()) return out;
    HMENU menu = menus.front().second;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (IsSeparator(menu, i)) out.push_back("-");
        else out.push_back(GetMenuString(menu, UINT(i), MF_BYPOSITION));
    }
    return out;
}

void TRobot::OnNextModal(std::function<void(HWND)> Action) {
    std::vector<HWND> before;
    EnumWindows([&](HWND w) {
        before.push_back(w);
        return true;
    });
    Queue("the next modal window", [before, Action] {
        HWND modal = ModalWindow();
        if (!modal || std::find(before.begin(), before.end(), modal) != before.end()) return false;
        Action(modal);
        return true;
    });
}

void TRobot::AnswerNextModal(const TBy& Button) {
    std::vector<HWND> before;
    EnumWindows([&](HWND w) {
        before.push_back(w);
        return true;
    });
    Queue("answer " + Button.Value, [before, Button] {
        HWND modal = ModalWindow();
        if (!modal || std::find(before.begin(), before.end(), modal) != before.end()) return false;
        HWND target = FindControl(Button, modal);
        if (!target) return false;
        PostClick(CentreOnScreen(target), WM_LBUTTONDOWN);
        return true;
    });
}

namespace {

// What a dialog's field holds is typed into the edit window itself: for a combo box, its edit part.
void SetFieldText(HWND Field, const std::string& Text) {
    HWND edit = GetWindow(Field, GW_CHILD);
    SendMessage(edit ? edit : Field, WM_SETTEXT, 0, LPARAM(Text.c_str()));
}

} // namespace

void TRobot::AnswerOpenDialog(const std::string& FileName) {
    std::vector<HWND> before;
    EnumWindows([&](HWND w) {
        before.push_back(w);
        return true;
    });
    Queue("answer the open dialog with " + FileName, [before, FileName] {
        HWND modal = ModalWindow();
        if (!modal || std::find(before.begin(), before.end(), modal) != before.end()) return false;
        HWND field = FindControl(TBy::Name("FileNameEdit"), modal);
        HWND button = FindControl(TBy::Name(FileName.empty() ? "Cancel" : "OK"), modal);
        if (!field || !button) return false;
        if (!FileName.empty()) SetFieldText(field, FileName);
        PostClick(CentreOnScreen(button), WM_LBUTTONDOWN);
        return true;
    });
}

void TRobot::AnswerFontDialog(const std::string& Face, const std::string& Style, int Size) {
    std::vector<HWND> before;
    EnumWindows([&](HWND w) {
        before.push_back(w);
        return true;
    });
    Queue("answer the font dialog with " + Face, [before, Face, Style, Size] {
        HWND modal = ModalWindow();
        if (!modal || std::find(before.begin(), before.end(), modal) != before.end()) return false;
        HWND face = FindControl(TBy::Name("FaceCombo"), modal);
        HWND style = FindControl(TBy::Name("StyleCombo"), modal);
        HWND size = FindControl(TBy::Name("SizeCombo"), modal);
        HWND ok = FindControl(TBy::Name("OK"), modal);
        if (!face || !style || !size || !ok) return false;
        SetFieldText(face, Face);
        SetFieldText(style, Style);
        SetFieldText(size, std::to_string(Size));
        PostClick(CentreOnScreen(ok), WM_LBUTTONDOWN);
        return true;
    });
}

void TRobot::Wait(unsigned Milliseconds) {
    Queue("wait", [Milliseconds] {
        AdvanceClock(Milliseconds);
        return true;
    });
}

void TRobot::Do(std::function<void()> Action) {
    Queue("action", [Action] {
        Action();
        return true;
    });
}

void TRobot::WaitUntil(std::string What, std::function<bool()> Ready) { Queue(std::move(What), std::move(Ready)); }

void TRobot::AdvanceClock(unsigned Milliseconds) { rtl::AdvanceClock(Milliseconds); }

bool TRobot::Screenshot(const std::string& PngPath, HWND Wnd) {
    // What waits to be painted is painted first, so the picture shows what the user would see.
    std::vector<HWND> windows = Wnd ? std::vector<HWND>{Wnd} : TopLevels();
    for (HWND w : windows) {
        std::vector<HWND> all{w};
        Descendants(w, all);
        for (HWND x : all) UpdateWindow(x);
    }
    return SaveScreenshot(PngPath, Wnd);
}

} // namespace testing_support
