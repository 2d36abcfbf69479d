// The window system: handles, window classes, windows, the message queue, timers, input state,
// carets, cursors, the clipboard and the list of windows across processes. GDI is declared in
// win/Gdi.h, the constants in win/Messages.h; both come with this header. Windows and the queue
// live in Window.cpp and MessageQueue.cpp, the rest in the source named after each area.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "win/Messages.h"

namespace win {

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned;
using LONG = std::int32_t;
using SHORT = std::int16_t;
using LONG_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using COLORREF = std::uint32_t; // 0x00BBGGRR
using ATOM = std::uint16_t;

constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;

// Handles are opaque; a handle that names nothing (or no longer names anything) makes the call fail.
struct HWND__;
struct HINSTANCE__;
struct HMENU__;
struct HCURSOR__;
struct HGLOBAL__;
struct HDC__;
struct HGDIOBJ__;
using HWND = HWND__*;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
using HMENU = HMENU__*;
using HCURSOR = HCURSOR__*;
using HICON = HCURSOR;
using HGLOBAL = HGLOBAL__*;
using HDC = HDC__*;
using HGDIOBJ = HGDIOBJ__*;
using HPEN = HGDIOBJ;
using HBRUSH = HGDIOBJ;
using HFONT = HGDIOBJ;
using HBITMAP = HGDIOBJ;
using HRGN = HGDIOBJ;

struct POINT {
    LONG x = 0, y = 0;
    bool operator==(const POINT&) const = default;
};
struct SIZE {
    LONG cx = 0, cy = 0;
    bool operator==(const SIZE&) const = default;
};
struct RECT {
    LONG left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const RECT&) const = default;
};

inline WORD LOWORD(std::uintptr_t v) { return WORD(v & 0xFFFF); }
inline WORD HIWORD(std::uintptr_t v) { return WORD((v >> 16) & 0xFFFF); }
inline LPARAM MAKELPARAM(int lo, int hi) { return LPARAM(DWORD(WORD(lo)) | (DWORD(WORD(hi)) << 16)); }
inline LRESULT MAKELRESULT(int lo, int hi) { return MAKELPARAM(lo, hi); }
inline WPARAM MAKEWPARAM(int lo, int hi) { return WPARAM(DWORD(MAKELPARAM(lo, hi))); }
inline int GET_X_LPARAM(LPARAM l) { return SHORT(LOWORD(std::uintptr_t(l))); }
inline int GET_Y_LPARAM(LPARAM l) { return SHORT(HIWORD(std::uintptr_t(l))); }

// Rectangles and points.
BOOL SetRect(RECT* r, int left, int top, int right, int bottom);
BOOL SetRectEmpty(RECT* r);
BOOL IsRectEmpty(const RECT* r);
BOOL CopyRect(RECT* dst, const RECT* src);
BOOL OffsetRect(RECT* r, int dx, int dy);
BOOL InflateRect(RECT* r, int dx, int dy);
BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b); // FALSE and empty when they do not meet
BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b);
BOOL EqualRect(const RECT* a, const RECT* b);
BOOL PtInRect(const RECT* r, POINT p);

// --- Window classes and windows -------------------------------------------------------------

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_OWNDC = 0x0020;
constexpr UINT CS_CLASSDC = 0x0040;
constexpr UINT CS_PARENTDC = 0x0080;
constexpr UINT CS_NOCLOSE = 0x0200;
constexpr UINT CS_SAVEBITS = 0x0800;
constexpr UINT CS_GLOBALCLASS = 0x4000;

struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr; // a brush, or a system colour index + 1
    const char* lpszMenuName = nullptr;
    const char* lpszClassName = nullptr;
};

// Classes are registered per module (hInstance) by name, compared without regard to case.
ATOM RegisterClass(const WNDCLASS* wc);
BOOL UnregisterClass(const char* className, HINSTANCE instance);
BOOL GetClassInfo(HINSTANCE instance, const char* className, WNDCLASS* wc);

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000; // WS_BORDER | WS_DLGFRAME
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;

constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_NOPARENTNOTIFY = 0x00000004;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_ACCEPTFILES = 0x00000010;
constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_CONTEXTHELP = 0x00000400; // the "?" in the caption
constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;
constexpr DWORD WS_EX_STATICEDGE = 0x00020000;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;

constexpr int CW_USEDEFAULT = int(0x80000000);

struct CREATESTRUCT {
    void* lpCreateParams = nullptr;
    HINSTANCE hInstance = nullptr;
    HMENU hMenu = nullptr;
    HWND hwndParent = nullptr;
    int cy = 0, cx = 0, y = 0, x = 0;
    LONG style = 0;
    const char* lpszName = nullptr;
    const char* lpszClass = nullptr;
    DWORD dwExStyle = 0;
};

struct MINMAXINFO {
    POINT ptReserved, ptMaxSize, ptMaxPosition, ptMinTrackSize, ptMaxTrackSize;
};

struct WINDOWPOS {
    HWND hwnd = nullptr, hwndInsertAfter = nullptr;
    int x = 0, y = 0, cx = 0, cy = 0;
    UINT flags = 0;
};

struct NCCALCSIZE_PARAMS {
    RECT rgrc[3];
    WINDOWPOS* lppos = nullptr;
};

// A child window's hMenu is its identifier. A NULL class name or a class not registered for
// the instance (nor globally) fails with NULL.
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x,
                    int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                    void* param);
HWND CreateWindow(const char* className, const char* windowName, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
// Owned windows, then children, go first; WM_DESTROY runs parent-first, WM_NCDESTROY child-first.
BOOL DestroyWindow(HWND hwnd);

BOOL IsWindow(HWND hwnd);
BOOL IsWindowVisible(HWND hwnd); // the window and all its ancestors are visible
BOOL IsWindowEnabled(HWND hwnd);
BOOL IsChild(HWND parent, HWND hwnd);
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;
BOOL ShowWindow(HWND hwnd, int cmdShow); // answers the previous visibility
BOOL EnableWindow(HWND hwnd, BOOL enable); // answers whether it was disabled before

inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(std::intptr_t(-1));
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(std::intptr_t(-2));
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOCOPYBITS = 0x0100;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;
// Sizes pass through WM_GETMINMAXINFO (top-level windows) and WM_WINDOWPOSCHANGING; a change of
// size or position sends WM_WINDOWPOSCHANGED, whose default sends WM_SIZE and WM_MOVE.
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND hwnd);

// Copies text into a caller's buffer of size bytes, cut to size - 1 and closed by a zero byte, as
// the text-fetching calls do; answers the bytes copied. No buffer or a size of 0 takes nothing.
std::size_t CopyToBuffer(const std::string& text, char* buffer, std::size_t size);
int GetWindowText(HWND hwnd, char* buffer, int maxCount); // also for other processes' windows
int GetWindowTextLength(HWND hwnd);
std::string GetWindowText(HWND hwnd);
BOOL SetWindowText(HWND hwnd, const char* text);
int GetClassName(HWND hwnd, char* buffer, int maxCount); // also for other processes' windows
std::string GetClassName(HWND hwnd);

HWND GetParent(HWND hwnd); // the parent of a child, the owner of a top-level window
HWND SetParent(HWND hwnd, HWND newParent);
HWND GetDesktopWindow();
constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;
HWND GetWindow(HWND hwnd, UINT cmd); // siblings in z-order, topmost first
HWND GetTopWindow(HWND hwnd);
constexpr UINT GA_PARENT = 1;
constexpr UINT GA_ROOT = 2;
constexpr UINT GA_ROOTOWNER = 3;
HWND GetAncestor(HWND hwnd, UINT flags);
// Both lists include the top-level windows of the suite's other running processes.
HWND FindWindow(const char* className, const char* windowName);
BOOL EnumWindows(WNDENUMPROC proc, LPARAM param);
BOOL EnumWindows(const std::function<bool(HWND)>& proc);
BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM param); // all descendants
BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM param);
DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId);
DWORD GetCurrentThreadId();
DWORD GetCurrentProcessId();

BOOL GetWindowRect(HWND hwnd, RECT* rect); // screen coordinates
BOOL GetClientRect(HWND hwnd, RECT* rect); // 0, 0, width, height of the client area
BOOL ClientToScreen(HWND hwnd, POINT* p);
BOOL ScreenToClient(HWND hwnd, POINT* p);
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
HWND WindowFromPoint(POINT screen); // skips hidden windows and disabled children
HWND ChildWindowFromPoint(HWND parent, POINT client);

constexpr int GWL_WNDPROC = -4;
constexpr int GWL_HINSTANCE = -6;
constexpr int GWL_HWNDPARENT = -8;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWL_USERDATA = -21;
constexpr int GWL_ID = -12;
constexpr int GCL_HBRBACKGROUND = -10;
constexpr int GCL_HCURSOR = -12;
constexpr int GCL_STYLE = -26;
constexpr int GCL_WNDPROC = -24;
// Offsets 0 and up address the class's extra window bytes (cbWndExtra).
LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value); // answers the previous value
LONG GetWindowLong(HWND hwnd, int index);
LONG SetWindowLong(HWND hwnd, int index, LONG value);
LONG_PTR GetClassLongPtr(HWND hwnd, int index);
LONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value);
// Named values on a window (the class library finds its control objects this way).
BOOL SetProp(HWND hwnd, const char* name, void* value);
void* GetProp(HWND hwnd, const char* name);
void* RemoveProp(HWND hwnd, const char* name);
int GetDlgCtrlID(HWND hwnd);
HWND GetDlgItem(HWND parent, int id);

// --- Frames ---------------------------------------------------------------------------------

// A top-level window's caption shows the system-menu icon (not for dialog frames and tool
// windows), and from the right the close box (WS_SYSMENU), maximize and minimize (either box
// style; the other is drawn greyed) or, without them, "?" (WS_EX_CONTEXTHELP). A press on a box
// shows it pushed; letting go over it sends WM_SYSCOMMAND. A greyed close box (CS_NOCLOSE, or
// Close greyed or taken out of the system menu) does nothing. Dragging the caption or a sizing
// border runs the move or size loop: WM_ENTERSIZEMOVE, WM_MOVING or WM_SIZING at each step within
// the WM_GETMINMAXINFO limits, WM_EXITSIZEMOVE; SC_MOVE and SC_SIZE from the keyboard take the
// arrows, Enter and Escape. A double click on the caption maximizes and restores. A minimized
// window is its small caption at the bottom of the screen.

// The window's system menu (Restore, Move, Size, Minimize, Maximize, Close; Move and Close for a
// fixed frame without boxes), made on first use, for the program to change; revert drops the
// program's changes and answers NULL. NULL for a window without WS_SYSMENU.
HMENU GetSystemMenu(HWND hwnd, BOOL revert);

// WM_HELP's lParam: the control a context-help click (or F1) asks about.
constexpr int HELPINFO_WINDOW = 1;
struct HELPINFO {
    UINT cbSize = sizeof(HELPINFO);
    int iContextType = HELPINFO_WINDOW;
    int iCtrlId = 0;
    HWND hItemHandle = nullptr;
    DWORD dwContextId = 0;
    POINT MousePos;
};

// SPI_GETWORKAREA: the part of the screen that maximized windows fill (the whole screen).
constexpr UINT SPI_GETWORKAREA = 0x0030;
BOOL SystemParametersInfo(UINT action, UINT param, void* value, UINT winIni);

// --- Messages -------------------------------------------------------------------------------

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    POINT pt;
};

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam); // 0 for no window
// A message number of its own for a name, the same for the same name (0xC000 to 0xFFFF).
UINT RegisterWindowMessage(const char* name);
BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);    // thread-safe
BOOL PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Order: posted messages in the order posted, WM_QUIT, input, then WM_PAINT (one per window
// while it needs painting) and WM_TIMER (one per due timer), which are made, never queued.
// hwnd limits to that window and its children; a message range of 0, 0 takes everything.
// GetMessage answers 0 for WM_QUIT. It waits until the next timer or posted input; under the
// manual test clock it never waits: when nothing is there and no timer is due it throws
// EMessageLoopIdle, so a test whose loop waits for input that will never come ends instead
// of hanging.
BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL WaitMessage(); // waits as GetMessage does, without taking anything
LRESULT DispatchMessage(const MSG* msg);
BOOL TranslateMessage(const MSG* msg); // WM_CHAR / WM_SYSCHAR after key downs
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
DWORD GetMessageTime();
DWORD GetMessagePos();
BOOL InSendMessage();
DWORD GetQueueStatus(UINT flags);

// Thrown by GetMessage and WaitMessage under the manual clock when the wait would be endless.
class EMessageLoopIdle : public std::exception {
public:
    const char* what() const noexcept override {
        return "the message loop waits for input but nothing is queued and no timer is due";
    }
};

// Runs GetMessage, TranslateMessage and DispatchMessage until finished() answers true (checked
// before each message). WM_QUIT ends it too and is posted again; then the answer is false.
bool RunModalLoop(const std::function<bool()>& finished);

// --- Input ----------------------------------------------------------------------------------

// Input from the user (a display backend or a test robot): queued and turned into window
// messages when a loop takes it. Mouse messages are WM_MOUSEMOVE and the WM_xBUTTONDOWN/UP of
// the physical buttons, at a screen point; key messages WM_KEYDOWN and WM_KEYUP (with Alt held
// or for F10 they arrive as WM_SYSKEYDOWN and WM_SYSKEYUP).
void PostMouseInput(UINT message, POINT screen);
void PostKeyInput(UINT message, UINT virtualKey);
// A turn of the wheel (WHEEL_DELTA a notch, positive away from the user) with the cursor at a
// screen point; WM_MOUSEWHEEL goes to the window with the focus.
void PostWheelInput(int delta, POINT screen);
// A character typed as text (cp1252): WM_CHAR to the window with the focus.
void PostCharInput(char ch);
BOOL HasQueuedInput();

SHORT GetKeyState(int virtualKey);      // as delivered so far; buttons as the program sees them
SHORT GetAsyncKeyState(int virtualKey); // the physical keys and buttons
BOOL GetKeyboardState(BYTE* state256);
BOOL SetKeyboardState(const BYTE* state256);
BOOL SwapMouseButton(BOOL swap); // answers the previous setting
UINT GetDoubleClickTime();
BOOL SetDoubleClickTime(UINT ms);

HWND SetFocus(HWND hwnd); // WM_KILLFOCUS to the old, WM_SETFOCUS to the new; answers the old
HWND GetFocus();
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
HWND GetForegroundWindow();
BOOL SetForegroundWindow(HWND hwnd);

// --- Timers ---------------------------------------------------------------------------------

// On the runtime's clock (rtl/Clock.h). A timer with a window answers its id; without a window a
// new id. An interval below 10 ms counts as 10.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// --- Painting -------------------------------------------------------------------------------

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE;
    RECT rcPaint;
    BOOL fRestore = FALSE, fIncUpdate = FALSE;
    BYTE rgbReserved[32] = {};
};

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase); // NULL rect: the whole client area
BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL ValidateRgn(HWND hwnd, HRGN rgn);
BOOL UpdateWindow(HWND hwnd); // sends WM_PAINT now when the window needs painting
BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase);
int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase);
constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_INTERNALPAINT = 0x0002;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_VALIDATE = 0x0008;
constexpr UINT RDW_NOERASE = 0x0020;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
constexpr UINT RDW_UPDATENOW = 0x0100;
constexpr UINT RDW_ERASENOW = 0x0200;
constexpr UINT RDW_FRAME = 0x0400;
constexpr UINT RDW_NOFRAME = 0x0800;
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN rgn, UINT flags);
// The DC clips to the update region; the caret is hidden until EndPaint.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
HDC GetDC(HWND hwnd);       // NULL: the screen
HDC GetWindowDC(HWND hwnd); // the whole window, non-client area included
int ReleaseDC(HWND hwnd, HDC dc);
BOOL LockWindowUpdate(HWND hwnd);
// Moves client pixels; the uncovered part is invalidated. Child windows move along when both
// rectangles are NULL.
BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect);
constexpr UINT SW_SCROLLCHILDREN = 0x0001;
constexpr UINT SW_INVALIDATE = 0x0002;
constexpr UINT SW_ERASE = 0x0004;
int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect, HRGN update,
                   RECT* updateRect, UINT flags);

// --- Scroll bars of a window (WS_HSCROLL, WS_VSCROLL) ----------------------------------------

struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;
    int nMin = 0, nMax = 0;
    UINT nPage = 0;
    int nPos = 0, nTrackPos = 0;
};
// A range of 0 to 0 hides the bar (unless SIF_DISABLENOSCROLL): the client area grows back
// and the window gets WM_SIZE; a range that is not empty shows it again.
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);
BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw); // answers the previous position
int GetScrollPos(HWND hwnd, int bar);
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
constexpr UINT ESB_ENABLE_BOTH = 0;
constexpr UINT ESB_DISABLE_BOTH = 3;
BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);

// --- Carets ---------------------------------------------------------------------------------

// One per thread. bitmap NULL: solid; (HBITMAP)1: grey; otherwise the bitmap's shape. The caret
// is inverted into the window's pixels while shown and in its blink's visible half.
BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL ShowCaret(HWND hwnd);
BOOL HideCaret(HWND hwnd);
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(POINT* p);
UINT GetCaretBlinkTime();
BOOL SetCaretBlinkTime(UINT ms);

// --- Cursors --------------------------------------------------------------------------------

// Stock cursors for LoadCursor(NULL, ...).
inline const char* MAKEINTRESOURCE(int id) { return reinterpret_cast<const char*>(std::uintptr_t(WORD(id))); }
inline bool IS_INTRESOURCE(const char* p) { return (std::uintptr_t(p) >> 16) == 0; }
inline const char* const IDC_ARROW = MAKEINTRESOURCE(32512);
inline const char* const IDC_IBEAM = MAKEINTRESOURCE(32513);
inline const char* const IDC_WAIT = MAKEINTRESOURCE(32514);
inline const char* const IDC_CROSS = MAKEINTRESOURCE(32515);
inline const char* const IDC_UPARROW = MAKEINTRESOURCE(32516);
inline const char* const IDC_SIZENWSE = MAKEINTRESOURCE(32642);
inline const char* const IDC_SIZENESW = MAKEINTRESOURCE(32643);
inline const char* const IDC_SIZEWE = MAKEINTRESOURCE(32644);
inline const char* const IDC_SIZENS = MAKEINTRESOURCE(32645);
inline const char* const IDC_SIZEALL = MAKEINTRESOURCE(32646);
inline const char* const IDC_NO = MAKEINTRESOURCE(32648);
inline const char* const IDC_APPSTARTING = MAKEINTRESOURCE(32650);
inline const char* const IDC_HELP = MAKEINTRESOURCE(32651);
// A stock cursor for a NULL instance (also "HSPLIT" and "VSPLIT", the split cursors); for a
// module, a cursor made before with RegisterCursorResource. NULL when there is none.
HCURSOR LoadCursor(HINSTANCE instance, const char* name);
// Makes a cursor from its two monochrome planes (rows word-aligned); 32 x 32 at most.
HCURSOR CreateCursor(HINSTANCE instance, int xHotSpot, int yHotSpot, int width, int height,
                     const void* andPlane, const void* xorPlane);
BOOL DestroyCursor(HCURSOR cursor);
// Binds a cursor to a resource name of a module, so that LoadCursor finds it there.
void RegisterCursorResource(HINSTANCE instance, const char* name, HCURSOR cursor);
HCURSOR SetCursor(HCURSOR cursor); // answers the previous
HCURSOR GetCursor();
int ShowCursor(BOOL show);         // answers the new display count
BOOL GetCursorPos(POINT* p);
BOOL SetCursorPos(int x, int y);   // queues a mouse move to the point
HICON LoadIcon(HINSTANCE instance, const char* name);
// Icons made from two bitmaps: the monochrome mask (1 where the screen shows through) and the
// colour picture (black there). The icon keeps copies; GetIconInfo hands out new bitmaps that
// the caller deletes.
struct ICONINFO {
    BOOL fIcon = TRUE;
    DWORD xHotspot = 0, yHotspot = 0;
    HBITMAP hbmMask = nullptr;
    HBITMAP hbmColor = nullptr;
};
HICON CreateIconIndirect(const ICONINFO* info);
BOOL GetIconInfo(HICON icon, ICONINFO* info);
BOOL DestroyIcon(HICON icon);
// The mask is ANDed onto the DC, then the picture XORed: transparent parts keep what was there.
// Icons without a picture (the stock ones) draw nothing and answer FALSE.
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = 0x0003;
// As DrawIcon, stretched to cx x cy (0: the icon's own size).
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flickerFree, UINT flags);
// What a cursor is: its stock id (32512...) or 0 for a made one, its hot spot and size.
struct CursorInfo {
    int stockId = 0;
    POINT hotSpot;
    SIZE size;
};
BOOL GetCursorInfoOf(HCURSOR cursor, CursorInfo* info);

// --- Clipboard and global memory ------------------------------------------------------------

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_DDESHARE = 0x2000;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes);
HGLOBAL GlobalReAlloc(HGLOBAL mem, std::size_t bytes, UINT flags);
void* GlobalLock(HGLOBAL mem);
BOOL GlobalUnlock(HGLOBAL mem); // answers whether it is still locked
HGLOBAL GlobalFree(HGLOBAL mem); // NULL on success, the handle when it fails
std::size_t GlobalSize(HGLOBAL mem);

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_OEMTEXT = 7;
// One clipboard per process. SetClipboardData takes the block over; GetClipboardData lends it.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
HGLOBAL SetClipboardData(UINT format, HGLOBAL mem);
HGLOBAL GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
int CountClipboardFormats();
HWND GetClipboardOwner();

// --- Sounds ---------------------------------------------------------------------------------

BOOL MessageBeep(UINT type);  // recorded for tests (win/TestHooks.h), not played

// --- The screen -----------------------------------------------------------------------------

// The virtual screen on which top-level windows lie (default 1024 x 768 at 96 dots per inch).
// A new size keeps normal windows where they are; maximized ones fill the new screen, minimized
// ones line up at its bottom, and every top-level window gets WM_DISPLAYCHANGE (wParam the bits
// per pixel, lParam the new width and height).
void SetScreenSize(int width, int height, int dpi = 96);
// A PNG file of the whole screen (hwnd NULL) or of one window as it lies in its pixels.
bool SaveScreenshot(const std::string& pngPath, HWND hwnd = nullptr);

// --- The desktop display --------------------------------------------------------------------

// One desktop window shows the whole screen (scale desktop pixels to a screen pixel) and feeds
// the desktop's mouse, keyboard and clipboard in as input; message loops then wait on the
// desktop's events and the next timer. Without it the window system is headless.
// Whether a desktop can be reached (DISPLAY or WAYLAND_DISPLAY is set).
bool DisplayPresent();
// False, and headless, when the desktop window cannot be made. It opens at x, y on the desktop
// (CW_USEDEFAULT: centred); the user may resize it, and the screen then takes its new size.
bool OpenDisplay(int scale = 1, const std::string& title = "", int x = CW_USEDEFAULT, int y = CW_USEDEFAULT);
void CloseDisplay();
bool DisplayOpen();
// The window that closing the desktop window asks to close; without one, the active window.
void SetDisplayMainWindow(HWND hwnd);

// The list-box messages and notifications, with the standard values.
constexpr unsigned LB_ADDSTRING = 0x0180;
constexpr unsigned LB_INSERTSTRING = 0x0181;
constexpr unsigned LB_DELETESTRING = 0x0182;
constexpr unsigned LB_RESETCONTENT = 0x0184;
constexpr unsigned LB_SETCURSEL = 0x0186;
constexpr unsigned LB_GETCURSEL = 0x0188;
constexpr unsigned LB_GETTEXT = 0x0189;
constexpr unsigned LB_GETTEXTLEN = 0x018A;
constexpr unsigned LB_GETCOUNT = 0x018B;
constexpr unsigned LB_GETTOPINDEX = 0x018E;
constexpr unsigned LB_FINDSTRING = 0x018F;
constexpr unsigned LB_SETTOPINDEX = 0x0197;
constexpr unsigned LB_GETITEMRECT = 0x0198;
constexpr unsigned LB_SETITEMHEIGHT = 0x01A0;
constexpr unsigned LB_GETITEMHEIGHT = 0x01A1;
constexpr unsigned LB_FINDSTRINGEXACT = 0x01A2;
constexpr unsigned LB_ITEMFROMPOINT = 0x01A9;
constexpr LRESULT LB_ERR = -1;
constexpr unsigned LBN_SELCHANGE = 1;
constexpr unsigned LBN_DBLCLK = 2;

// The combo-box messages and notifications, with the standard values.
constexpr unsigned CB_GETEDITSEL = 0x0140;
constexpr unsigned CB_LIMITTEXT = 0x0141;
constexpr unsigned CB_SETEDITSEL = 0x0142;
constexpr unsigned CB_ADDSTRING = 0x0143;
constexpr unsigned CB_DELETESTRING = 0x0144;
constexpr unsigned CB_GETCOUNT = 0x0146;
constexpr unsigned CB_GETCURSEL = 0x0147;
constexpr unsigned CB_GETLBTEXT = 0x0148;
constexpr unsigned CB_GETLBTEXTLEN = 0x0149;
constexpr unsigned CB_INSERTSTRING = 0x014A;
constexpr unsigned CB_RESETCONTENT = 0x014B;
constexpr unsigned CB_FINDSTRING = 0x014C;
constexpr unsigned CB_SELECTSTRING = 0x014D;
constexpr unsigned CB_SETCURSEL = 0x014E;
constexpr unsigned CB_SHOWDROPDOWN = 0x014F;
constexpr unsigned CB_GETITEMDATA = 0x0150;
constexpr unsigned CB_SETITEMDATA = 0x0151;
constexpr unsigned CB_GETITEMHEIGHT = 0x0154;
constexpr unsigned CB_GETDROPPEDSTATE = 0x0157;
constexpr unsigned CB_FINDSTRINGEXACT = 0x0158;
constexpr LRESULT CB_ERR = -1;
constexpr unsigned CBN_SELCHANGE = 1;
constexpr unsigned CBN_DBLCLK = 2;
constexpr unsigned CBN_EDITCHANGE = 5;
constexpr unsigned CBN_DROPDOWN = 7;
constexpr unsigned CBN_CLOSEUP = 8;

// Owner drawing: what the list box sends its parent with WM_DRAWITEM and WM_MEASUREITEM.
constexpr unsigned ODT_LISTBOX = 2;
constexpr unsigned ODA_DRAWENTIRE = 1;
constexpr unsigned ODS_SELECTED = 0x0001;
constexpr unsigned ODS_DISABLED = 0x0004;
constexpr unsigned ODS_FOCUS = 0x0010;

struct DRAWITEMSTRUCT {
    unsigned CtlType = 0, CtlID = 0, itemID = 0, itemAction = 0, itemState = 0;
    HWND hwndItem = nullptr;
    HDC hDC = nullptr;
    RECT rcItem{};
    std::uintptr_t itemData = 0;
};
struct MEASUREITEMSTRUCT {
    unsigned CtlType = 0, CtlID = 0, itemID = 0, itemWidth = 0, itemHeight = 0;
    std::uintptr_t itemData = 0;
};


} // namespace win

#include "win/Gdi.h"
#include "win/Menus.h"
