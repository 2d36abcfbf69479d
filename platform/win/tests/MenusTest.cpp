// Menus: the menu objects, the menu bar in the non-client area, and the tracking loop of pop-up
// menus and the bar driven by queued mouse and key input.
#include "WinTestSupport.h"
#include "win/TestHooks.h"

#include <deque>
#include <functional>

using namespace wintest;

namespace {

// Steps that run one at a time whenever a loop looks for messages and no input waits, like
// the test robot does, so that they can act inside a tracking loop.
class Steps {
public:
    Steps() { FPrevious = SetMessageHook(&Steps::Hook, this); }
    ~Steps() { SetMessageHook(FPrevious.proc, FPrevious.data); }
    void Add(std::function<void()> step) { FSteps.push_back(std::move(step)); }
    bool Done() const { return FSteps.empty(); }

private:
    static void Hook(void* data) {
        auto* self = static_cast<Steps*>(data);
        if (self->FSteps.empty() || HasQueuedInput()) return;
        auto step = std::move(self->FSteps.front());
        self->FSteps.pop_front();
        step();
    }
    std::deque<std::function<void()>> FSteps;
    MessageHook FPrevious;
};

POINT Centre(RECT r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void Click(POINT p, UINT down = WM_LBUTTONDOWN) {
    PostMouseInput(WM_MOUSEMOVE, p);
    PostMouseInput(down, p);
    PostMouseInput(down + 1, p);
}

void Key(UINT vk, bool alt = false) {
    if (alt) PostKeyInput(WM_KEYDOWN, VK_MENU);
    PostKeyInput(WM_KEYDOWN, vk);
    PostKeyInput(WM_KEYUP, vk);
    if (alt) PostKeyInput(WM_KEYUP, VK_MENU);
}

// The screen place of an item of an open pop-up menu.
POINT ItemAt(HMENU menu, UINT position) {
    RECT r{};
    EXPECT_TRUE(GetMenuItemRect(nullptr, menu, position, &r)) << "item " << position << " is not shown";
    return Centre(r);
}

class Menus : public WinTest {
protected:
    // File: Open (101), -, Print (102, grayed), Recent > (One 201, Two 202), Exit (103).
    HMENU FileMenu() {
        HMENU file = CreatePopupMenu();
        HMENU recent = CreatePopupMenu();
        AppendMenu(recent, MF_STRING, 201, "&One");
        AppendMenu(recent, MF_STRING, 202, "&Two");
        AppendMenu(file, MF_STRING, 101, "&Open\tCtrl+O");
        AppendMenu(file, MF_SEPARATOR, 0, nullptr);
        AppendMenu(file, MF_STRING | MF_GRAYED, 102, "&Print");
        AppendMenu(file, MF_POPUP, UINT_PTR(recent), "&Recent");
        AppendMenu(file, MF_STRING, 103, "E&xit");
        return file;
    }

    // Tracks the menu at a point while the steps run; answers the command posted, 0 for none.
    UINT Track(HWND owner, HMENU menu, Steps& steps, POINT at = {300, 200}) {
        EXPECT_TRUE(TrackPopupMenu(menu, TPM_LEFTALIGN, at.x, at.y, 0, owner, nullptr));
        EXPECT_TRUE(steps.Done());
        return PostedCommand(owner);
    }

    UINT PostedCommand(HWND owner) {
        UINT id = 0;
        MSG m;
        while (PeekMessage(&m, owner, WM_COMMAND, WM_COMMAND, PM_REMOVE)) id = LOWORD(m.wParam);
        return id;
    }
};

TEST_F(Menus, ItemsAreAddedChangedFoundAndRemoved) {
    HMENU file = FileMenu();
    HMENU recent = GetSubMenu(file, 3);
    ASSERT_TRUE(recent);
    EXPECT_EQ(GetMenuItemCount(file), 5);
    EXPECT_EQ(GetMenuItemID(file, 0), 101u);
    EXPECT_EQ(GetMenuItemID(file, 3), UINT(-1)) << "a pop-up item has no id";
    EXPECT_EQ(GetMenuString(file, 0, MF_BYPOSITION), "&Open\tCtrl+O");
    // By command the search reaches the pop-up menus below.
    EXPECT_EQ(GetMenuString(file, 202, MF_BYCOMMAND), "&Two");
    EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
    EXPECT_EQ(GetMenuState(file, 3, MF_BYPOSITION), MF_POPUP | (2u << 8));

    EXPECT_EQ(EnableMenuItem(file, 102, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED);
    EXPECT_EQ(EnableMenuItem(file, 0, MF_BYPOSITION | MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(GetMenuState(file, 101, MF_BYCOMMAND), MF_GRAYED);
    EXPECT_EQ(CheckMenuItem(file, 201, MF_BYCOMMAND | MF_CHECKED), DWORD(MF_UNCHECKED));
    EXPECT_EQ(GetMenuState(recent, 0, MF_BYPOSITION), MF_CHECKED);
    EXPECT_EQ(EnableMenuItem(file, 999, MF_BYCOMMAND), UINT(-1));

    ASSERT_TRUE(InsertMenu(file, 103, MF_BYCOMMAND, 104, "&Save"));
    EXPECT_EQ(GetMenuItemID(file, 4), 104u);
    ASSERT_TRUE(ModifyMenu(file, 104, MF_BYCOMMAND, 105, "Save &As"));
    EXPECT_EQ(GetMenuString(file, 4, MF_BYPOSITION), "Save &As");
    ASSERT_TRUE(InsertMenu(file, 0, MF_BYPOSITION, 100, "&New"));
    EXPECT_EQ(GetMenuItemID(file, 0), 100u);

    // RemoveMenu leaves the pop-up menu alive, DeleteMenu destroys it.
    ASSERT_TRUE(RemoveMenu(file, 4, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(recent));
    ASSERT_TRUE(AppendMenu(file, MF_POPUP, UINT_PTR(recent), "&Recent"));
    ASSERT_TRUE(DeleteMenu(file, GetMenuItemCount(file) - 1, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(recent));
    EXPECT_FALSE(AppendMenu(file, MF_POPUP, UINT_PTR(recent), "gone")) << "a destroyed menu cannot be added";
    EXPECT_FALSE(AppendMenu(file, MF_POPUP, UINT_PTR(file), "itself"));

    ASSERT_TRUE(DestroyMenu(file));
    EXPECT_FALSE(IsMenu(file));
    EXPECT_EQ(GetMenuItemCount(file), -1);
    EXPECT_FALSE(AppendMenu(file, MF_STRING, 1, "x"));
    EXPECT_FALSE(DestroyMenu(file));
}

TEST_F(Menus, AMenuBarTakesRowsFromTheClientAreaAndSendsWmSize) {
    HWND w = Top(10, 10, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    RECT before;
    GetClientRect(w, &before);
    HMENU bar = CreateMenu();
    AppendMenu(bar, MF_POPUP, UINT_PTR(FileMenu()), "&File");
    AppendMenu(bar, MF_STRING, 7, "&Go");
    Log().clear();
    ASSERT_TRUE(SetMenu(w, bar));
    EXPECT_EQ(GetMenu(w), bar);
    RECT after;
    GetClientRect(w, &after);
    EXPECT_EQ(after.bottom, before.bottom - GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(after.right, before.right);
    auto sizes = MessagesOf(w, {WM_SIZE});
    ASSERT_EQ(sizes.size(), 1u);

    // The bar lies between the caption and the client area, and answers HTMENU.
    RECT item;
    ASSERT_TRUE(GetMenuItemRect(w, bar, 0, &item));
    POINT client{0, 0};
    ClientToScreen(w, &client);
    EXPECT_EQ(item.bottom, client.y);
    EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(Centre(item).x, Centre(item).y)), HTMENU);

    // Items that do not fit the width wrap into a second row.
    for (int i = 0; i < 12; ++i) AppendMenu(bar, MF_STRING, UINT_PTR(20 + i), "&Something");
    DrawMenuBar(w);
    RECT wrapped;
    GetClientRect(w, &wrapped);
    EXPECT_LE(wrapped.bottom, before.bottom - 2 * GetSystemMetrics(SM_CYMENU));

    // Without a bar the client area grows back; a child window takes no menu.
    ASSERT_TRUE(SetMenu(w, nullptr));
    GetClientRect(w, &after);
    EXPECT_EQ(after, before);
    HWND child = Child(w, 0, 0, 50, 50);
    EXPECT_FALSE(SetMenu(child, bar));
    DestroyMenu(bar);

    // The window destroys the bar it holds.
    HMENU second = CreateMenu();
    SetMenu(w, second);
    DestroyWindow(w);
    EXPECT_FALSE(IsMenu(second));
}

TEST_F(Menus, APopupMenuIsChosenByMouseWithItsNotificationsInOrder) {
    HWND owner = Top(0, 0, 200, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HMENU file = FileMenu();
    Log().clear();
    Steps steps;
    steps.Add([&] {
        // The menu is a real window, topmost, at the point.
        HWND shown = FindWindow("#32768", nullptr);
        EXPECT_TRUE(shown && IsWindowVisible(shown));
        EXPECT_EQ(reinterpret_cast<HMENU>(SendMessage(shown, MN_GETHMENU, 0, 0)), file);
        RECT r;
        GetWindowRect(shown, &r);
        EXPECT_EQ(r.left, 300);
        EXPECT_EQ(r.top, 200);
        Click(ItemAt(file, 4));
    });
    EXPECT_EQ(Track(owner, file, steps), 103u);
    EXPECT_EQ(FindWindow("#32768", nullptr), nullptr) << "the menu window is gone";
    auto m = MessagesOf(owner, {WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_MENUSELECT, WM_EXITMENULOOP});
    ASSERT_GE(m.size(), 4u);
    EXPECT_EQ(m.front(), WM_ENTERMENULOOP);
    EXPECT_EQ(m[1], WM_INITMENUPOPUP);
    EXPECT_EQ(m.back(), WM_EXITMENULOOP);
    // The item under the pointer is reported selected, and the close as 0xFFFF with no menu.
    std::vector<std::pair<WPARAM, LPARAM>> selects;
    for (auto& l : Log())
        if (l.msg == WM_MENUSELECT) selects.emplace_back(l.wParam, l.lParam);
    ASSERT_GE(selects.size(), 2u);
    EXPECT_EQ(LOWORD(selects.front().first), 103);
    EXPECT_EQ(selects.front().second, LPARAM(file));
    EXPECT_EQ(HIWORD(selects.back().first), 0xFFFF);
    EXPECT_EQ(selects.back().second, 0);

    // TPM_RETURNCMD answers the id and posts nothing.
    steps.Add([&] { Click(ItemAt(file, 0)); });
    EXPECT_EQ(TrackPopupMenu(file, TPM_RETURNCMD, 300, 200, 0, owner, nullptr), 101);
    EXPECT_EQ(PostedCommand(owner), 0u);
    DestroyMenu(file);
}

TEST_F(Menus, DisabledItemsSeparatorsAndClicksOutsideChooseNothing) {
    HWND owner = Top(0, 0, 200, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HMENU file = FileMenu();
    struct Case {
        const char* what;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"a grayed item, then a click outside", [&] { Click(ItemAt(file, 2)); Click(POINT{20, 20}); }},
        {"a separator, then Escape", [&] { Click(ItemAt(file, 1)); Key(VK_ESCAPE); }},
        {"Enter on a grayed item, then Escape", [&] { Key(VK_DOWN); Key(VK_DOWN); Key(VK_RETURN); Key(VK_ESCAPE); }},
        {"a right click outside", [&] { Click(POINT{900, 700}, WM_RBUTTONDOWN); }},
    };
    for (auto& c : cases) {
        Steps steps;
        steps.Add(c.act);
        EXPECT_EQ(Track(owner, file, steps), 0u) << c.what;
        EXPECT_EQ(FindWindow("#32768", nullptr), nullptr) << c.what;
        EXPECT_EQ(GetCapture(), nullptr) << c.what;
    }
    DestroyMenu(file);
}

TEST_F(Menus, KeysMoveOverSeparatorsOpenSubMenusAndChooseByLetter) {
    HWND owner = Top(0, 0, 200, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HMENU file = FileMenu();
    struct Case {
        const char* what;
        std::vector<UINT> keys;
        UINT expected;
    };
    const Case cases[] = {
        {"down chooses the first", {VK_DOWN, VK_RETURN}, 101},
        {"down skips the separator", {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, 103},
        {"up wraps to the last", {VK_UP, VK_RETURN}, 103},
        {"right opens the sub-menu", {VK_UP, VK_UP, VK_RIGHT, VK_DOWN, VK_RETURN}, 202},
        {"left closes it again", {VK_UP, VK_UP, VK_RIGHT, VK_LEFT, VK_DOWN, VK_RETURN}, 103},
        {"a letter chooses", {'X'}, 103},
        {"a letter opens a sub-menu, its letter chooses", {'R', 'T'}, 202},
        {"escape in the sub-menu goes back", {'R', VK_ESCAPE, 'O'}, 101},
        {"a letter of a grayed item chooses nothing", {'P', VK_ESCAPE}, 0},
    };
    for (auto& c : cases) {
        Steps steps;
        steps.Add([&] {
            for (UINT k : c.keys) Key(k);
        });
        EXPECT_EQ(Track(owner, file, steps), c.expected) << c.what;
    }
    DestroyMenu(file);
}

TEST_F(Menus, TheMouseOpensSubMenusByHovering) {
    HWND owner = Top(0, 0, 200, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HMENU file = FileMenu();
    HMENU recent = GetSubMenu(file, 3);
    Steps steps;
    steps.Add([&] { PostMouseInput(WM_MOUSEMOVE, ItemAt(file, 3)); });
    steps.Add([&] {
        RECT parent, sub;
        GetMenuItemRect(nullptr, file, 3, &parent);
        ASSERT_TRUE(GetMenuItemRect(nullptr, recent, 0, &sub)) << "the sub-menu opened";
        EXPECT_GE(sub.left, parent.right) << "beside its item";
        Click(ItemAt(recent, 1));
    });
    EXPECT_EQ(Track(owner, file, steps), 202u);
    // INITMENUPOPUP came for both menus, the sub-menu with its position in the parent.
    std::vector<std::pair<WPARAM, LPARAM>> inits;
    for (auto& l : Log())
        if (l.msg == WM_INITMENUPOPUP) inits.emplace_back(l.wParam, l.lParam);
    ASSERT_GE(inits.size(), 2u);
    EXPECT_EQ(inits[inits.size() - 1].first, WPARAM(recent));
    EXPECT_EQ(LOWORD(std::uintptr_t(inits.back().second)), 3);
    DestroyMenu(file);
}

TEST_F(Menus, APopupNearTheScreenEdgeStaysOnTheScreen) {
    HWND owner = Top(0, 0, 200, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HMENU file = FileMenu();
    Steps steps;
    RECT r{};
    steps.Add([&] {
        GetWindowRect(FindWindow("#32768", nullptr), &r);
        Key(VK_ESCAPE);
    });
    Track(owner, file, steps, POINT{1020, 760});
    EXPECT_LE(r.right, 1024);
    EXPECT_LE(r.bottom, 760) << "it opens above the point";
    EXPECT_GT(r.bottom - r.top, 50);
    DestroyMenu(file);
}

class MenuBar : public Menus {
protected:
    void SetUp() override {
        Menus::SetUp();
        Owner = Top(20, 20, 400, 300, WS_OVERLAPPEDWINDOW | WS_VISIBLE, "TRecorder", "Main");
        Bar = CreateMenu();
        File = FileMenu();
        HMENU edit = CreatePopupMenu();
        AppendMenu(edit, MF_STRING, 301, "&Copy");
        AppendMenu(Bar, MF_POPUP, UINT_PTR(File), "&File");
        AppendMenu(Bar, MF_POPUP, UINT_PTR(edit), "&Edit");
        AppendMenu(Bar, MF_STRING | MF_GRAYED, 401, "&Help");
        SetMenu(Owner, Bar);
        SetFocus(Owner);
    }
    // Runs the owner's messages (the bar's loop runs inside them) until the steps are done.
    UINT Run(Steps& steps) {
        MSG m;
        UINT id = 0;
        for (int i = 0; i < 100 && (!steps.Done() || HasQueuedInput()); ++i) {
            while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
                if (m.message == WM_COMMAND && m.hwnd == Owner) id = LOWORD(m.wParam);
                TranslateMessage(&m);
                DispatchMessage(&m);
            }
        }
        while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE))
            if (m.message == WM_COMMAND && m.hwnd == Owner) id = LOWORD(m.wParam);
        EXPECT_TRUE(steps.Done());
        return id;
    }
    POINT BarItem(int i) {
        RECT r{};
        EXPECT_TRUE(GetMenuItemRect(Owner, Bar, UINT(i), &r));
        return Centre(r);
    }
    HWND Owner = nullptr;
    HMENU Bar = nullptr, File = nullptr;
};

TEST_F(MenuBar, AClickOnTheBarDropsTheMenuBelowItsItem) {
    Steps steps;
    steps.Add([&] { Click(BarItem(0)); });
    steps.Add([&] {
        RECT item, first;
        GetMenuItemRect(Owner, Bar, 0, &item);
        ASSERT_TRUE(GetMenuItemRect(nullptr, File, 0, &first));
        EXPECT_GE(first.top, item.bottom);
        EXPECT_LE(first.left - item.left, 4);
        UpdateWindow(FindWindow("#32768", nullptr));
        EXPECT_TRUE(win::SaveScreenshot(std::string(SUITE_BINARY_DIR) + "/menu-bar-open.png"));
        Click(ItemAt(File, 0));
    });
    EXPECT_EQ(Run(steps), 101u);
    auto m = MessagesOf(Owner, {WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_EXITMENULOOP});
    EXPECT_EQ(m, (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_EXITMENULOOP}));
}

TEST_F(MenuBar, TheKeyboardOpensTheBar) {
    struct Case {
        const char* what;
        std::function<void()> keys;
        UINT expected;
    };
    const Case cases[] = {
        {"Alt+letter opens its menu with the first item selected", [] { Key('F', true); Key(VK_RETURN); }, 101},
        {"Alt+letter, then the item's letter", [] { Key('E', true); Key('C'); }, 301},
        {"F10 selects the first menu; Down opens it", [] { Key(VK_F10); Key(VK_DOWN); Key('X'); }, 103},
        {"Alt alone, then Right and Enter", [] { Key(VK_MENU); Key(VK_RIGHT); Key(VK_RETURN); Key(VK_RETURN); }, 301},
        {"right moves to the next open menu", [] { Key('F', true); Key(VK_RIGHT); Key(VK_RETURN); }, 301},
        {"a grayed command on the bar", [] { Key('H', true); Key(VK_ESCAPE); }, 0},
        {"Escape twice leaves the bar", [] { Key('F', true); Key(VK_ESCAPE); Key(VK_ESCAPE); }, 0},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        Log().clear();
        Steps steps;
        steps.Add(c.keys);
        UINT got = 0;
        EXPECT_NO_THROW(got = Run(steps));
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(FindWindow("#32768", nullptr), nullptr) << c.what;
    }
}

TEST_F(MenuBar, ASecondClickOnTheOpenMenuOrAClickElsewhereClosesIt) {
    Steps steps;
    steps.Add([&] { Click(BarItem(0)); });
    steps.Add([&] { Click(BarItem(0)); });
    steps.Add([&] { EXPECT_EQ(FindWindow("#32768", nullptr), nullptr); });
    steps.Add([&] { Click(BarItem(1)); });
    steps.Add([&] { Click(POINT{600, 600}); });
    EXPECT_EQ(Run(steps), 0u);
    EXPECT_EQ(FindWindow("#32768", nullptr), nullptr);
}

} // namespace
