// The message queue of the thread: sent and posted messages, input turned into window messages,
// WM_PAINT and WM_TIMER made on demand, timers on the runtime's clock, focus, capture, the active
// window, key state, the robot's hook and the modal loop helper.
#include "win/WinInternal.h"

#include "rtl/Clock.h"
#include "rtl/ScopeGuards.h"
#include "rtl/TestHooks.h"
#include "win/TestHooks.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace win {
using namespace detail;

namespace {

struct RawInput {
    UINT message = 0;
    POINT pt;
    UINT vk = 0;
    int delta = 0; // the wheel's turn
    char ch = 0;   // a character typed as text
    // The hit test is made once, when the input is first looked at.
    bool resolved = false;
    HWND target = nullptr;
    int ht = HTNOWHERE;
};

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
    std::uint64_t due = 0;
    TIMERPROC proc = nullptr;
    DWORD thread = 0;
};

struct ClickMemory {
    HWND hwnd = nullptr;
    UINT message = 0;
    DWORD time = 0;
    POINT pt;
};

struct QueueState {
    std::mutex lock;
    std::condition_variable wake;
    std::deque<MSG> posted;
    std::deque<RawInput> input;
    bool quit = false;
    int quitCode = 0;
    std::vector<Timer> timers;
    UINT_PTR nextTimerId = 0x7F00;
    HWND focus = nullptr, capture = nullptr, active = nullptr;
    BYTE keys[256] = {};      // as delivered, buttons logical
    BYTE asyncKeys[256] = {}; // physical
    bool swapButtons = false;
    UINT doubleClickTime = 500;
    ClickMemory lastClick;
    POINT cursor{512, 384};
    DWORD lastMsgTime = 0;
    POINT lastMsgPos;
    int sendDepth = 0;
    MessageHook hook;
    bool inHook = false;
    std::vector<UINT> beeps;
    bool altAlone = false;
};

QueueState& Q() {
    static QueueState q;
    return q;
}

DWORD Now32() { return rtl::GetTickCount(); }

bool InRange(UINT m, UINT lo, UINT hi) { return (lo == 0 && hi == 0) || (m >= lo && m <= hi); }

bool ForWindow(HWND filter, HWND target) {
    if (!filter) return true;
    return target == filter || IsChild(filter, target);
}

WPARAM MouseKeys() {
    auto& q = Q();
    WPARAM k = 0;
    if (q.keys[VK_LBUTTON] & 0x80) k |= MK_LBUTTON;
    if (q.keys[VK_RBUTTON] & 0x80) k |= MK_RBUTTON;
    if (q.keys[VK_MBUTTON] & 0x80) k |= MK_MBUTTON;
    if (q.keys[VK_SHIFT] & 0x80) k |= MK_SHIFT;
    if (q.keys[VK_CONTROL] & 0x80) k |= MK_CONTROL;
    return k;
}

UINT Logical(UINT m) {
    if (!Q().swapButtons) return m;
    switch (m) {
    case WM_LBUTTONDOWN: return WM_RBUTTONDOWN;
    case WM_LBUTTONUP: return WM_RBUTTONUP;
    case WM_RBUTTONDOWN: return WM_LBUTTONDOWN;
    case WM_RBUTTONUP: return WM_LBUTTONUP;
    }
    return m;
}

bool IsButtonDown(UINT m) { return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN; }

UINT ButtonKey(UINT m) {
    switch (m) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: return VK_LBUTTON;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: return VK_RBUTTON;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: return VK_MBUTTON;
    }
    return 0;
}

// The window under a screen point as mouse messages see it: hidden windows and disabled children
// are passed over, and a window answering HTTRANSPARENT lets the point through to what lies below.
Window* Descend(Window* w, POINT pt, int* ht) {
    POINT co = ClientOrgOnScreen(w);
    RECT cr{co.x, co.y, co.x + w->client.right - w->client.left, co.y + w->client.bottom - w->client.top};
    if (PtInRect(&cr, pt))
        for (Window* c : std::vector<Window*>(w->children)) {
            if (!(c->style & WS_VISIBLE) || (c->style & WS_DISABLED)) continue;
            RECT r;
            GetWindowRect(c->handle, &r);
            if (!PtInRect(&r, pt)) continue;
            if (Window* d = Descend(c, pt, ht)) return d;
        }
    HWND h = w->handle;
    int code = int(SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
    if (!W(h) || code == HTTRANSPARENT) return nullptr;
    *ht = code;
    return W(h);
}

Window* MouseTarget(POINT pt, int* ht) {
    auto& q = Q();
    if (Window* c = W(q.capture)) {
        *ht = HTCLIENT;
        return c;
    }
    for (Window* t : std::vector<Window*>(TopLevelsInZOrder())) {
        if (!(t->style & WS_VISIBLE)) continue;
        RECT r;
        GetWindowRect(t->handle, &r);
        if (!PtInRect(&r, pt)) continue;
        if (t->style & WS_DISABLED) {
            *ht = HTERROR;
            return t;
        }
        if (Window* d = Descend(t, pt, ht)) return d;
    }
    return nullptr;
}

// Turns the first raw input into the message it gives; commit performs what taking it does.
// Answers false when the input gives no message (and has been consumed when committing).
bool CookInput(RawInput& in, MSG* out, bool commit, bool* eaten) {
    auto& q = Q();
    *eaten = false;
    out->time = Now32();
    if (in.message == WM_MOUSEWHEEL || in.message == WM_CHAR) {
        HWND target = W(q.focus) ? q.focus : W(q.active) ? q.active : nullptr;
        if (!target) return false;
        if (commit && in.message == WM_MOUSEWHEEL) q.cursor = in.pt;
        out->hwnd = target;
        out->message = in.message;
        out->pt = in.message == WM_MOUSEWHEEL ? in.pt : q.cursor;
        if (in.message == WM_MOUSEWHEEL) {
            out->wParam = MAKEWPARAM(int(MouseKeys()), in.delta);
            out->lParam = MAKELPARAM(in.pt.x, in.pt.y);
        } else {
            out->wParam = static_cast<unsigned char>(in.ch);
            out->lParam = 1;
        }
        return true;
    }
    if (in.message >= WM_MOUSEFIRST && in.message <= WM_MOUSELAST) {
        UINT m = Logical(in.message);
        if (commit) {
            q.cursor = in.pt;
            if (UINT k = ButtonKey(in.message)) {
                bool down = IsButtonDown(in.message);
                if (down) q.altAlone = false;
                q.asyncKeys[k] = down ? 0x80 : 0;
                UINT lk = ButtonKey(m);
                q.keys[lk] = down ? BYTE(0x80 | ((q.keys[lk] & 1) ^ 1)) : BYTE(q.keys[lk] & 1);
            }
        }
        out->pt = in.pt;
        if (!in.resolved) {
            Window* hit = MouseTarget(in.pt, &in.ht);
            in.target = hit ? hit->handle : nullptr;
            in.resolved = true;
        }
        int ht = in.ht;
        Window* t = W(in.target);
        if (!t) return false;
        HWND h = t->handle;
        if (ht == HTERROR) {
            if (commit) SendMessage(h, WM_SETCURSOR, WPARAM(h), MAKELPARAM(HTERROR, int(m)));
            *eaten = true;
            return false;
        }
        bool client = ht == HTCLIENT;
        if (IsButtonDown(m)) {
            auto& lc = q.lastClick;
            bool dbl = (client ? (t->cls->wc.style & CS_DBLCLKS) != 0 : true) && lc.hwnd == h && lc.message == m &&
                       out->time - lc.time <= q.doubleClickTime &&
                       std::abs(in.pt.x - lc.pt.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                       std::abs(in.pt.y - lc.pt.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
            if (commit) {
                if (dbl) lc = ClickMemory{};
                else lc = ClickMemory{h, m, out->time, in.pt};
            }
            if (dbl) m += 2; // WM_xBUTTONDBLCLK follows WM_xBUTTONDOWN by two
        }
        out->hwnd = h;
        if (client) {
            POINT cp = in.pt;
            ScreenToClient(h, &cp);
            out->message = m;
            out->wParam = MouseKeys();
            if (commit) {
                UINT k = ButtonKey(Logical(in.message));
                if (k && !IsButtonDown(Logical(in.message)) && k == VK_LBUTTON) out->wParam &= ~WPARAM(MK_LBUTTON);
            }
            out->lParam = MAKELPARAM(cp.x, cp.y);
        } else {
            out->message = m - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
            out->wParam = WPARAM(ht);
            out->lParam = MAKELPARAM(in.pt.x, in.pt.y);
        }
        if (commit) {
            UINT base = out->message;
            if (!q.capture) {
                SendMessage(h, WM_SETCURSOR, WPARAM(h), MAKELPARAM(ht, int(m)));
                if (!W(h)) { *eaten = true; return false; }
            }
            if (IsButtonDown(Logical(in.message)) && h != q.active) {
                Window* top = TopOf(W(h));
                LRESULT r = SendMessage(h, WM_MOUSEACTIVATE, WPARAM(top ? top->handle : nullptr), MAKELPARAM(ht, int(m)));
                if ((r == MA_ACTIVATE || r == MA_ACTIVATEANDEAT) && top && top->handle != q.active && W(top->handle))
                    SetActiveWindow(top->handle);
                if (r == MA_ACTIVATEANDEAT || r == MA_NOACTIVATEANDEAT || !W(h)) {
                    *eaten = true;
                    return false;
                }
            }
            out->message = base;
        }
        return true;
    }
    // Keys.
    UINT vk = in.vk & 0xFF;
    bool down = in.message == WM_KEYDOWN || in.message == WM_SYSKEYDOWN;
    bool alt = (q.keys[VK_MENU] & 0x80) != 0;
    bool wasDown = (q.keys[vk] & 0x80) != 0;
    if (commit) {
        auto set = [&](UINT k) {
            q.keys[k] = down ? BYTE(0x80 | (wasDown ? (q.keys[k] & 1) : ((q.keys[k] & 1) ^ 1))) : BYTE(q.keys[k] & 1);
            q.asyncKeys[k] = down ? 0x80 : 0;
        };
        set(vk);
        if (down && !wasDown) q.altAlone = vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU;
        if (vk == VK_LSHIFT || vk == VK_RSHIFT) set(VK_SHIFT);
        if (vk == VK_LCONTROL || vk == VK_RCONTROL) set(VK_CONTROL);
        if (vk == VK_LMENU || vk == VK_RMENU) set(VK_MENU);
        if (vk == VK_MENU) alt = down;
    }
    bool sys = (alt && !(q.keys[VK_CONTROL] & 0x80)) || vk == VK_MENU || vk == VK_F10 || in.message == WM_SYSKEYDOWN ||
               in.message == WM_SYSKEYUP;
    if (vk == VK_MENU && !down) sys = true;
    HWND target = W(q.focus) ? q.focus : nullptr;
    if (!target) {
        if (!W(q.active)) return false;
        target = q.active;
        sys = true;
    }
    out->hwnd = target;
    out->message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    out->wParam = vk;
    DWORD lp = 1;
    if (alt) lp |= 1u << 29;
    if (wasDown) lp |= 1u << 30;
    if (!down) lp |= (1u << 31) | (1u << 30);
    out->lParam = LPARAM(lp);
    out->pt = q.cursor;
    return true;
}

Window* NeedsPaint(Window* w, HWND filter) {
    if (!(w->style & WS_VISIBLE) || w->threadId != GetCurrentThreadId()) return nullptr;
    if ((!w->update.Empty() || w->internalPaint) && ForWindow(filter, w->handle)) return w;
    for (Window* c : w->children)
        if (Window* r = NeedsPaint(c, filter)) return r;
    return nullptr;
}

void PaintFrames(Window* w) {
    if (!(w->style & WS_VISIBLE)) return;
    HWND h = w->handle;
    if (w->ncDirty) {
        SendNcPaint(w);
        if (!(w = W(h))) return;
    }
    for (Window* c : std::vector<Window*>(w->children))
        if (W(c->handle)) PaintFrames(c);
}

void RunHook() {
    auto& q = Q();
    if (q.inHook || !q.hook.proc) return;
    q.inHook = true;
    rtl::TScopeExit out([&q] { q.inHook = false; });
    q.hook.proc(q.hook.data);
}

// One look at the queue in the order messages are taken.
bool Look(MSG* msg, HWND filter, UINT lo, UINT hi, bool remove) {
    auto& q = Q();
    if (DisplayActive()) DisplayPump();
    RunHook();
    {
        std::unique_lock<std::mutex> lk(q.lock);
        for (auto it = q.posted.begin(); it != q.posted.end();) {
            if (it->hwnd && !W(it->hwnd)) {
                it = q.posted.erase(it);
                continue;
            }
            if (InRange(it->message, lo, hi) && (!filter || (it->hwnd && ForWindow(filter, it->hwnd)))) {
                *msg = *it;
                if (remove) q.posted.erase(it);
                q.lastMsgTime = msg->time;
                q.lastMsgPos = msg->pt;
                return true;
            }
            ++it;
        }
        if (q.quit && InRange(WM_QUIT, lo, hi) && !filter) {
            *msg = MSG{};
            msg->message = WM_QUIT;
            msg->wParam = WPARAM(q.quitCode);
            msg->time = Now32();
            if (remove) q.quit = false;
            return true;
        }
    }
    for (;;) {
        RawInput in;
        {
            std::unique_lock<std::mutex> lk(q.lock);
            if (q.input.empty()) break;
            in = q.input.front();
        }
        MSG m;
        bool eaten = false;
        bool ok = CookInput(in, &m, false, &eaten);
        if (ok && !(InRange(m.message, lo, hi) && ForWindow(filter, m.hwnd))) break;
        if (!remove && ok) {
            *msg = m;
            return true;
        }
        {
            std::unique_lock<std::mutex> lk(q.lock);
            if (!q.input.empty()) q.input.pop_front();
        }
        if (!ok) {
            CookInput(in, &m, true, &eaten);
            continue;
        }
        ok = CookInput(in, &m, true, &eaten);
        if (!ok || eaten) continue;
        *msg = m;
        q.lastMsgTime = m.time;
        q.lastMsgPos = m.pt;
        return true;
    }
    if (InRange(WM_PAINT, lo, hi)) {
        for (Window* t : std::vector<Window*>(TopLevelsInZOrder()))
            if (W(t->handle) && t->threadId == GetCurrentThreadId()) PaintFrames(t);
        for (Window* t : TopLevelsInZOrder())
            if (Window* p = NeedsPaint(t, filter)) {
                *msg = MSG{};
                msg->hwnd = p->handle;
                msg->message = WM_PAINT;
                msg->time = Now32();
                msg->pt = q.cursor;
                return true;
            }
    }
    CaretTick();
    if (InRange(WM_TIMER, lo, hi)) {
        std::uint64_t now = rtl::GetTickCount64();
        Timer* best = nullptr;
        DWORD me = GetCurrentThreadId();
        for (Timer& t : q.timers)
            if (t.thread == me && t.due <= now && (!filter || (t.hwnd && ForWindow(filter, t.hwnd))) &&
                (!best || t.due < best->due))
                best = &t;
        if (best) {
            *msg = MSG{};
            msg->hwnd = best->hwnd;
            msg->message = WM_TIMER;
            msg->wParam = best->id;
            msg->lParam = LPARAM(best->proc);
            msg->time = Now32();
            msg->pt = q.cursor;
            if (remove) best->due = now + best->interval;
            return true;
        }
    }
    return false;
}

// Blocks until something may have arrived: the next timer, posted input or a message from
// another thread. Under the manual clock nothing can arrive by waiting, so it throws.
void Wait() {
    auto& q = Q();
    if (rtl::IsManualClock()) throw EMessageLoopIdle();
    std::uint64_t now = rtl::GetTickCount64();
    std::uint64_t next = now + 250; // also lets the caret blink
    DWORD me = GetCurrentThreadId();
    for (Timer& t : q.timers)
        if (t.thread == me) next = std::min(next, t.due);
    if (next <= now) return;
    if (DisplayActive()) {
        {
            std::unique_lock<std::mutex> lk(q.lock);
            if (!q.posted.empty() || !q.input.empty() || q.quit) return;
        }
        // The desktop's events and the next timer together; other threads wake it by an event.
        DisplayWait(unsigned(next - now));
        return;
    }
    std::unique_lock<std::mutex> lk(q.lock);
    if (!q.posted.empty() || !q.input.empty() || q.quit) return;
    q.wake.wait_for(lk, std::chrono::milliseconds(next - now));
}

} // namespace

namespace detail {

bool TakeAltAlone() {
    bool was = Q().altAlone;
    Q().altAlone = false;
    return was;
}

void ForgetWindowInQueue(HWND h) {
    auto& q = Q();
    {
        std::unique_lock<std::mutex> lk(q.lock);
        q.posted.erase(std::remove_if(q.posted.begin(), q.posted.end(), [&](const MSG& m) { return m.hwnd == h; }),
                       q.posted.end());
    }
    q.timers.erase(std::remove_if(q.timers.begin(), q.timers.end(), [&](const Timer& t) { return t.hwnd == h; }),
                   q.timers.end());
    if (q.focus == h) q.focus = nullptr;
    if (q.capture == h) q.capture = nullptr;
    if (q.active == h) q.active = nullptr;
    if (q.lastClick.hwnd == h) q.lastClick = ClickMemory{};
}

} // namespace detail

// --- Sending and posting --------------------------------------------------------------------

LRESULT SendMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = W(h);
    if (!w) return 0;
    WNDPROC proc = w->proc;
    auto& q = Q();
    ++q.sendDepth;
    struct Leave {
        ~Leave() { --Q().sendDepth; }
    } leave;
    if (!proc) return DefWindowProc(h, msg, wParam, lParam);
    return proc(h, msg, wParam, lParam);
}

BOOL PostMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto& q = Q();
    {
        if (h && !HandleAlive(h)) return FALSE;
        std::unique_lock<std::mutex> lk(q.lock);
        MSG m;
        m.hwnd = h;
        m.message = msg;
        m.wParam = wParam;
        m.lParam = lParam;
        m.time = Now32();
        m.pt = q.cursor;
        q.posted.push_back(m);
    }
    q.wake.notify_all();
    DisplayWake();
    return TRUE;
}

BOOL PostThreadMessage(DWORD, UINT msg, WPARAM wParam, LPARAM lParam) { return PostMessage(nullptr, msg, wParam, lParam); }

void PostQuitMessage(int exitCode) {
    auto& q = Q();
    {
        std::unique_lock<std::mutex> lk(q.lock);
        q.quit = true;
        q.quitCode = exitCode;
    }
    q.wake.notify_all();
    DisplayWake();
}

BOOL GetMessage(MSG* msg, HWND hwnd, UINT lo, UINT hi) {
    if (!msg) return -1;
    for (;;) {
        if (Look(msg, hwnd, lo, hi, true)) return msg->message == WM_QUIT ? FALSE : TRUE;
        Wait();
    }
}

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT lo, UINT hi, UINT remove) {
    MSG dummy;
    return Look(msg ? msg : &dummy, hwnd, lo, hi, (remove & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL WaitMessage() {
    MSG m;
    while (!Look(&m, nullptr, 0, 0, false)) Wait();
    return TRUE;
}

namespace {
// WM_PAINT. A window that does not validate would be asked again and again, so what it leaves is
// dropped; but a window that painted keeps what was invalidated while it painted (a scroll bar
// shown by the paint, say), which is painted next.
LRESULT SendPaint(HWND h) {
    Window* w = W(h);
    const int paints = w ? w->clientPaints : 0;
    LRESULT r;
    {
        // A paint that failed leaves no DC of its own behind.
        rtl::TScopeExit unwind([h] { DropPaintDcs(h); });
        r = SendMessage(h, WM_PAINT, 0, 0);
        unwind.Dismiss();
    }
    if ((w = W(h)) && w->clientPaints == paints) {
        w->update.Clear();
        w->internalPaint = false;
        w->erase = false;
    }
    return r;
}
} // namespace

LRESULT DispatchMessage(const MSG* msg) {
    if (!msg) return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, UINT_PTR(msg->wParam), Now32());
        return 0;
    }
    if (!msg->hwnd) return 0;
    if (msg->message == WM_PAINT) return SendPaint(msg->hwnd);
    return SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

namespace {

char CharOfKey(UINT vk, bool shift, bool caps, bool ctrl) {
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl) return char(vk - 'A' + 1);
        bool upper = shift != caps;
        return char(upper ? vk : vk + 32);
    }
    if (ctrl) {
        if (vk == VK_RETURN) return 10;
        if (vk == VK_BACK) return 127;
        if (vk == VK_OEM_4) return 27;
        if (vk == VK_OEM_6) return 29;
        if (vk == VK_OEM_5) return 28;
        return 0;
    }
    if (vk >= '0' && vk <= '9') return shift ? ")!@#$%^&*("[vk - '0'] : char(vk);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return char('0' + vk - VK_NUMPAD0);
    switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_BACK: return 8;
    case VK_TAB: return 9;
    case VK_ESCAPE: return 27;
    case VK_MULTIPLY: return '*';
    case VK_ADD: return '+';
    case VK_SUBTRACT: return '-';
    case VK_DECIMAL: return '.';
    case VK_DIVIDE: return '/';
    case VK_OEM_1: return shift ? ':' : ';';
    case VK_OEM_PLUS: return shift ? '+' : '=';
    case VK_OEM_COMMA: return shift ? '<' : ',';
    case VK_OEM_MINUS: return shift ? '_' : '-';
    case VK_OEM_PERIOD: return shift ? '>' : '.';
    case VK_OEM_2: return shift ? '?' : '/';
    case VK_OEM_3: return shift ? '~' : '`';
    case VK_OEM_4: return shift ? '{' : '[';
    case VK_OEM_5: return shift ? '|' : '\\';
    case VK_OEM_6: return shift ? '}' : ']';
    case VK_OEM_7: return shift ? '"' : '\'';
    }
    return 0;
}

} // namespace

BOOL TranslateMessage(const MSG* msg) {
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
    auto& q = Q();
    bool shift = (q.keys[VK_SHIFT] & 0x80) != 0;
    bool caps = (q.keys[VK_CAPITAL] & 1) != 0;
    bool ctrl = (q.keys[VK_CONTROL] & 0x80) != 0 && !(q.keys[VK_MENU] & 0x80);
    char c = CharOfKey(UINT(msg->wParam), shift, caps, ctrl);
    if (!c) return FALSE;
    // A desktop delivers typed text itself, in its own keyboard layout.
    if (DisplayActive() && msg->message == WM_KEYDOWN && !ctrl && static_cast<unsigned char>(c) >= 32) return FALSE;
    // The character is taken next, before anything posted later.
    MSG m = *msg;
    m.message = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    m.wParam = static_cast<unsigned char>(c);
    {
        std::unique_lock<std::mutex> lk(q.lock);
        q.posted.push_front(m);
    }
    return TRUE;
}

DWORD GetMessageTime() { return Q().lastMsgTime; }
DWORD GetMessagePos() { return DWORD(MAKELPARAM(Q().lastMsgPos.x, Q().lastMsgPos.y)); }
BOOL InSendMessage() { return FALSE; }

DWORD GetQueueStatus(UINT) {
    auto& q = Q();
    std::unique_lock<std::mutex> lk(q.lock);
    return (!q.posted.empty() || !q.input.empty()) ? 0x00FF00FF : 0;
}

bool RunModalLoop(const std::function<bool()>& finished) {
    MSG m;
    while (!finished()) {
        if (!GetMessage(&m, nullptr, 0, 0)) {
            PostQuitMessage(int(m.wParam));
            return false;
        }
        TranslateMessage(&m);
        DispatchMessage(&m);
    }
    return true;
}

MessageHook SetMessageHook(MessageHookProc proc, void* data) {
    MessageHook old = Q().hook;
    Q().hook = MessageHook{proc, data};
    return old;
}

// --- Input ----------------------------------------------------------------------------------

void PostMouseInput(UINT message, POINT screen) {
    auto& q = Q();
    {
        std::unique_lock<std::mutex> lk(q.lock);
        RawInput in;
        in.message = message;
        in.pt = screen;
        q.input.push_back(in);
    }
    q.wake.notify_all();
}

void PostWheelInput(int delta, POINT screen) {
    auto& q = Q();
    {
        std::unique_lock<std::mutex> lk(q.lock);
        RawInput in;
        in.message = WM_MOUSEWHEEL;
        in.pt = screen;
        in.delta = delta;
        q.input.push_back(in);
    }
    q.wake.notify_all();
}

void PostCharInput(char ch) {
    auto& q = Q();
    {
        std::unique_lock<std::mutex> lk(q.lock);
        RawInput in;
        in.message = WM_CHAR;
        in.ch = ch;
        q.input.push_back(in);
    }
    q.wake.notify_all();
}

void PostKeyInput(UINT message, UINT vk) {
    auto& q = Q();
    {
        std::unique_lock<std::mutex> lk(q.lock);
        RawInput in;
        in.message = message;
        in.vk = vk;
        q.input.push_back(in);
    }
    q.wake.notify_all();
}

BOOL HasQueuedInput() {
    auto& q = Q();
    std::unique_lock<std::mutex> lk(q.lock);
    return !q.input.empty();
}

SHORT GetKeyState(int vk) {
    BYTE s = Q().keys[vk & 0xFF];
    return SHORT(((s & 0x80) ? 0x8000 : 0) | (s & 1));
}

SHORT GetAsyncKeyState(int vk) {
    vk &= 0xFF;
    BYTE s = Q().asyncKeys[vk];
    return SHORT((s & 0x80) ? 0x8000 : 0);
}

BOOL GetKeyboardState(BYTE* state) {
    if (!state) return FALSE;
    std::copy(std::begin(Q().keys), std::end(Q().keys), state);
    return TRUE;
}

BOOL SetKeyboardState(const BYTE* state) {
    if (!state) return FALSE;
    std::copy(state, state + 256, Q().keys);
    return TRUE;
}

BOOL SwapMouseButton(BOOL swap) {
    bool old = Q().swapButtons;
    Q().swapButtons = swap != 0;
    return old;
}

UINT GetDoubleClickTime() { return Q().doubleClickTime; }
BOOL SetDoubleClickTime(UINT ms) {
    Q().doubleClickTime = ms ? ms : 500;
    return TRUE;
}

BOOL GetCursorPos(POINT* p) {
    if (!p) return FALSE;
    *p = Q().cursor;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    x = std::clamp(x, 0, int(ScreenWidth()) - 1);
    y = std::clamp(y, 0, int(ScreenHeight()) - 1);
    Q().cursor = POINT{x, y};
    PostMouseInput(WM_MOUSEMOVE, POINT{x, y});
    return TRUE;
}

// --- Focus, capture, activation -------------------------------------------------------------

HWND SetFocus(HWND h) {
    auto& q = Q();
    Window* w = nullptr;
    if (h && !(w = W(h))) return nullptr;
    HWND old = W(q.focus) ? q.focus : nullptr;
    if (h && w) {
        Window* top = TopOf(w);
        if (top && top->handle != q.active) {
            SetActiveWindow(top->handle);
            if (!W(h)) return nullptr;
            old = W(q.focus) ? q.focus : nullptr;
        }
    }
    if (old == h) return old;
    q.focus = h;
    if (old) SendMessage(old, WM_KILLFOCUS, WPARAM(h), 0);
    if (h && q.focus == h && W(h)) SendMessage(h, WM_SETFOCUS, WPARAM(old), 0);
    return old;
}

HWND GetFocus() { return W(Q().focus) ? Q().focus : nullptr; }

HWND SetCapture(HWND h) {
    auto& q = Q();
    if (h && !W(h)) return nullptr;
    HWND old = W(q.capture) ? q.capture : nullptr;
    q.capture = h;
    if (old && old != h) SendMessage(old, WM_CAPTURECHANGED, 0, LPARAM(h));
    return old;
}

BOOL ReleaseCapture() {
    auto& q = Q();
    HWND old = W(q.capture) ? q.capture : nullptr;
    q.capture = nullptr;
    if (old) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() { return W(Q().capture) ? Q().capture : nullptr; }

HWND SetActiveWindow(HWND h) {
    auto& q = Q();
    Window* w = nullptr;
    if (h) {
        w = W(h);
        if (!w) return nullptr;
        w = TopOf(w);
        h = w->handle;
    }
    HWND old = W(q.active) ? q.active : nullptr;
    if (old == h) return old;
    q.active = h;
    if (old) {
        SendMessage(old, WM_NCACTIVATE, FALSE, 0);
        SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), LPARAM(h));
        if (!h && q.focus && W(q.focus) && TopOf(W(q.focus))->handle == old) SetFocus(nullptr);
    }
    if (h && W(h) && q.active == h) {
        SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendMessage(h, WM_NCACTIVATE, TRUE, 0);
        SendMessage(h, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, W(h) && W(h)->iconic), LPARAM(old));
    }
    return old;
}

HWND GetActiveWindow() { return W(Q().active) ? Q().active : nullptr; }
HWND GetForegroundWindow() { return GetActiveWindow(); }
BOOL SetForegroundWindow(HWND h) {
    if (!W(h)) return FALSE;
    SetActiveWindow(h);
    return TRUE;
}

// --- Timers ---------------------------------------------------------------------------------

UINT_PTR SetTimer(HWND h, UINT_PTR id, UINT ms, TIMERPROC proc) {
    auto& q = Q();
    if (h && !W(h)) return 0;
    if (ms < 10) ms = 10;
    if (!h) {
        auto it = std::find_if(q.timers.begin(), q.timers.end(), [&](const Timer& t) { return !t.hwnd && t.id == id; });
        if (id == 0 || it == q.timers.end()) id = ++q.nextTimerId;
    }
    q.timers.erase(std::remove_if(q.timers.begin(), q.timers.end(),
                                  [&](const Timer& t) { return t.hwnd == h && t.id == id; }),
                   q.timers.end());
    Timer t;
    t.hwnd = h;
    t.id = id;
    t.interval = ms;
    t.due = rtl::GetTickCount64() + ms;
    t.proc = proc;
    t.thread = h ? W(h)->threadId : GetCurrentThreadId();
    q.timers.push_back(t);
    q.wake.notify_all();
    return id ? id : 1;
}

BOOL KillTimer(HWND h, UINT_PTR id) {
    auto& q = Q();
    auto n = q.timers.size();
    q.timers.erase(std::remove_if(q.timers.begin(), q.timers.end(),
                                  [&](const Timer& t) { return t.hwnd == h && t.id == id; }),
                   q.timers.end());
    return n != q.timers.size();
}

// --- Update regions -------------------------------------------------------------------------

namespace {
// Adds R (client coordinates, clipped to the client area) to w's update region; with Children,
// the visible children under it (but Except) get their frames and that part of their client
// areas too, and theirs in turn when All is set.
void InvalidatePart(Window* w, const RECT& R, bool erase, bool Children, bool All, Window* Except) {
    RECT c{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    RECT add = Intersection(R, c);
    w->update.Add(add);
    w->update.Simplify();
    if (erase && !RectEmpty(add)) w->erase = true;
    if (!Children) return;
    // The children lie in the client area; the part R reaches outside it is the frame's, not theirs.
    for (Window* k : std::vector<Window*>(w->children)) {
        if (k == Except || !(k->style & WS_VISIBLE)) continue;
        RECT kr = Intersection(add, k->rect);
        if (RectEmpty(kr)) continue;
        OffsetRect(&kr, -k->rect.left - k->client.left, -k->rect.top - k->client.top);
        k->ncDirty |= kNcAll;
        InvalidatePart(k, kr, erase, All || !(k->style & WS_CLIPCHILDREN), All, nullptr);
    }
}
} // namespace

BOOL InvalidateRect(HWND h, const RECT* r, BOOL erase) {
    if (!h) {
        for (Window* t : TopLevelsInZOrder()) InvalidateWindowTree(t, erase != 0);
        return TRUE;
    }
    Window* w = W(h);
    if (!w) return FALSE;
    RECT c{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    // Without WS_CLIPCHILDREN the parent paints over its children, so they are painted again too.
    InvalidatePart(w, r ? *r : c, erase != 0, !(w->style & WS_CLIPCHILDREN), false, nullptr);
    return TRUE;
}

namespace detail {
void InvalidateUncovered(Window* Parent, const RECT& Old, Window* Child) {
    // Clipping kept the siblings from drawing where the child was, frames included: they draw
    // there now.
    InvalidatePart(Parent, Old, true, true, true, Child);
}
} // namespace detail

BOOL ValidateRect(HWND h, const RECT* r) {
    Window* w = W(h);
    if (!w) return FALSE;
    if (r) w->update.Subtract(*r);
    else {
        w->update.Clear();
        w->internalPaint = false;
    }
    if (w->update.Empty()) w->erase = false;
    return TRUE;
}

BOOL GetUpdateRect(HWND h, RECT* r, BOOL) {
    Window* w = W(h);
    if (!w) return FALSE;
    if (r) *r = w->update.Bounds();
    return !w->update.Empty();
}

namespace {
void UpdateTree(HWND h) {
    Window* w = W(h);
    if (!w || !Visible(w)) return;
    if (w->ncDirty) {
        SendNcPaint(w);
        if (!(w = W(h))) return;
    }
    if (!w->update.Empty() || w->internalPaint) {
        SendPaint(h);
        if (!(w = W(h))) return;
    }
    std::vector<HWND> kids;
    for (Window* c : w->children) kids.push_back(c->handle);
    for (HWND k : kids) UpdateTree(k);
}
} // namespace

BOOL UpdateWindow(HWND h) {
    if (!W(h)) return FALSE;
    UpdateTree(h);
    return TRUE;
}

BOOL RedrawWindow(HWND h, const RECT* r, HRGN rgn, UINT flags) {
    Window* w = h ? W(h) : nullptr;
    if (h && !w) return FALSE;
    if (!h) {
        for (Window* t : TopLevelsInZOrder()) RedrawWindow(t->handle, r, rgn, flags);
        return TRUE;
    }
    if (flags & RDW_INVALIDATE) {
        if (rgn) InvalidateRgn(h, rgn, (flags & RDW_ERASE) != 0);
        else InvalidateRect(h, r, (flags & RDW_ERASE) != 0);
        if (flags & RDW_FRAME) w->ncDirty |= kNcAll;
        if (flags & RDW_ALLCHILDREN)
            for (Window* c : w->children) InvalidateWindowTree(c, (flags & RDW_ERASE) != 0);
    }
    if (flags & RDW_INTERNALPAINT) w->internalPaint = true;
    if (flags & RDW_VALIDATE) {
        if (rgn) ValidateRgn(h, rgn);
        else ValidateRect(h, r);
    }
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) UpdateWindow(h);
    return TRUE;
}

// --- Beeps ----------------------------------------------------------------------------------

BOOL MessageBeep(UINT type) {
    Q().beeps.push_back(type);
    return TRUE;
}
std::vector<UINT> RecordedBeeps() { return Q().beeps; }
void ClearRecordedBeeps() { Q().beeps.clear(); }

// --- Reset ----------------------------------------------------------------------------------

namespace detail {
void ResetQueue() {
    auto& q = Q();
    std::unique_lock<std::mutex> lk(q.lock);
    q.posted.clear();
    q.input.clear();
    q.quit = false;
    q.timers.clear();
    q.focus = q.capture = q.active = nullptr;
    std::fill(std::begin(q.keys), std::end(q.keys), BYTE(0));
    std::fill(std::begin(q.asyncKeys), std::end(q.asyncKeys), BYTE(0));
    q.swapButtons = false;
    q.doubleClickTime = 500;
    q.lastClick = ClickMemory{};
    q.cursor = POINT{512, 384};
    q.beeps.clear();
    q.altAlone = false;
    q.hook = MessageHook{};
    q.inHook = false;
}
} // namespace detail

} // namespace win
