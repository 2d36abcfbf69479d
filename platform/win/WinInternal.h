// Private to platform/win: the records behind the handles (windows, classes, device contexts,
// GDI objects), the pixel buffers, regions, and the entry points the sources share.
#pragma once

#include "win/Windows.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace win::detail {

// A set of disjoint rectangles.
class Region {
public:
    Region() = default;
    explicit Region(const RECT& r) { Add(r); }
    bool Empty() const { return FRects.empty(); }
    const std::vector<RECT>& Rects() const { return FRects; }
    void Clear() { FRects.clear(); }
    void Add(const RECT& r);
    void Add(const Region& r) { for (auto& x : r.FRects) Add(x); }
    void Subtract(const RECT& r);
    void Subtract(const Region& r) { for (auto& x : r.FRects) Subtract(x); }
    void Intersect(const RECT& r);
    void Intersect(const Region& r);
    void Offset(int dx, int dy);
    RECT Bounds() const;
    bool Contains(int x, int y) const;
    bool operator==(const Region& o) const { return FRects == o.FRects; }
    bool Meets(const RECT& r) const;
    // Keeps the count small for update regions, where painting a little more does no harm.
    void Simplify();

private:
    std::vector<RECT> FRects;
};

RECT MakeRect(int l, int t, int r, int b);
bool RectEmpty(const RECT& r);
RECT Intersection(const RECT& a, const RECT& b);

// Pixels 0x00RRGGBB (cairo's RGB24 layout), one 32-bit word each; monochrome ones are black or
// white only.
struct Pixels {
    int width = 0, height = 0;
    bool mono = false;
    std::vector<std::uint32_t> data;
    Pixels() = default;
    Pixels(int w, int h, bool m, std::uint32_t fill = 0xFFFFFF)
        : width(w), height(h), mono(m), data(std::size_t(w) * std::size_t(h), fill) {}
    std::uint32_t* Row(int y) { return data.data() + std::size_t(y) * std::size_t(width); }
    std::uint32_t At(int x, int y) const { return data[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    void Resize(int w, int h, std::uint32_t fill); // keeps the overlapping pixels
};

// A window's pixels are kept up to this size; what lies beyond is never drawn.
inline int StoreDim(int v) { return v < 1 ? 1 : (v > 4096 ? 4096 : v); }

inline std::uint32_t ToPix(COLORREF c) {
    return (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}
inline COLORREF ToColor(std::uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }
std::uint32_t MonoOf(std::uint32_t pix); // nearest of black and white
bool WritePng(const Pixels& px, const std::string& path);

// --- Windows --------------------------------------------------------------------------------

struct ScrollBar {
    int min = 0, max = 0, pos = 0, trackPos = 0;
    unsigned page = 0;
    bool disabled = false;
};

struct WndClass {
    std::string name;
    WNDCLASS wc;
    std::vector<std::uint8_t> clsExtra;
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<WndClass> cls;
    WNDPROC proc = nullptr;
    DWORD style = 0, exStyle = 0;
    HINSTANCE instance = nullptr;
    LONG_PTR id = 0, userData = 0;
    std::vector<std::uint8_t> extra;
    Window* parent = nullptr;          // the desktop for top-level windows
    HWND owner = nullptr;
    std::vector<Window*> children;     // z-order, topmost first
    RECT rect;                         // in the parent's client coordinates (screen for top-level)
    RECT client;                       // the client area within the window rectangle
    std::string text;
    HFONT font = nullptr;
    Region update;                     // client coordinates
    bool erase = false, internalPaint = false;
    unsigned ncDirty = 0;              // the NcParts of the non-client area waiting to be painted
    unsigned ncPainting = 0;           // the parts the WM_NCPAINT being handled paints
    int clientPaints = 0, framePaints = 0; // for the tests' paint counts
    ScrollBar hbar, vbar;
    DWORD threadId = 0;
    bool destroying = false;
    bool iconic = false, zoomed = false;
    std::unique_ptr<Pixels> store;     // top-level windows and the desktop
    std::map<std::string, void*> props; // names upper-cased
    HMENU menu = nullptr;              // the menu bar of a top-level window
    HMENU sysMenu = nullptr;           // made by GetSystemMenu
    int pushed = HTNOWHERE;            // the caption button shown pressed
    RECT normal{};                     // where a minimized or maximized window is restored to
    bool zoomedBeforeIconic = false;
};

// The parts of a non-client area that are painted on their own: a scroll bar's range and
// position change its bar alone; anything else paints the whole frame.
enum NcParts : unsigned { kNcFrame = 1, kNcVBar = 2, kNcHBar = 4, kNcAll = 7 };

Window* W(HWND hwnd);           // NULL for a handle that names no window of this process
bool HandleAlive(HWND hwnd);    // the same test, safe from any thread
Window* Desktop();
bool IsTopLevel(const Window* w);
Window* TopOf(Window* w);
bool Visible(const Window* w);  // it and its ancestors
POINT WindowOrgInStore(const Window* w);
POINT ClientOrgInStore(const Window* w);
POINT WindowOrgOnScreen(const Window* w);
POINT ClientOrgOnScreen(const Window* w);
// Where a window's pixels may go in its top-level's store: the client area (or the whole window)
// less what its ancestors, clipped siblings and clipped children cover.
Region VisibleInStore(const Window* w, bool wholeWindow);
std::vector<Window*> TopLevelsInZOrder(); // topmost first
// Counts every change of a window's place, size, client area, visibility, style or z-order, so
// that device contexts know when their clip pieces are stale.
std::uint64_t LayoutGeneration();
void LayoutChanged();
void RecalcClient(Window* w, bool notify); // non-client sizes; WM_SIZE when notify and changed
// The non-client parts in window coordinates; NonClient.cpp lays them out.
struct NcLayout {
    RECT client, vbar, hbar, corner, caption, menu;
};
void ActivateAnother(Window* w);
void InvalidateWindowTree(Window* w, bool erase);
// What a child left uncovered when it was hidden or moved (Old in its parent's client
// coordinates): the parent and every other child there, frames included, and theirs in turn.
void InvalidateUncovered(Window* Parent, const RECT& Old, Window* Child);
void ForgetWindowInQueue(HWND hwnd);
// This process's id, without a system call each time (window searches ask for it per window).
DWORD OwnProcessId();
void RunListAdd(Window* w);
void RunListUpdate(Window* w);
void RunListRemove(Window* w);
bool IsForeignWindow(HWND hwnd);
std::vector<HWND> ForeignTopLevels();
bool ForeignInfo(HWND hwnd, std::string* cls, std::string* caption, DWORD* pid);
void CaretBeforePaint(Window* w);
void CaretAfterPaint(Window* w);
void CaretWindowGone(HWND hwnd);
void CaretTick();
void ResetCaretCursorClipboard();
void ResetGdi();
// Ends the paints of a window whose WM_PAINT left by an exception before EndPaint.
void DropPaintDcs(HWND hwnd);
void ResetRunList();
// Menus: the bar's height for a window width, its place in window coordinates, its painting,
// its tracking loop (from a click at a screen point, or from the keyboard with an accelerator
// letter or 0), and the reset of every menu.
int MenuBarHeight(const Window* w, int width);
RECT MenuBarRect(const Window* w);
void PaintMenuBar(Window* w, HDC dc, RECT bar);
void TrackMenuBar(Window* w, POINT screen, int key, bool byMouse);
void ResetMenus();
// Whether Alt went down and up with no other key or button between; asking clears it.
bool TakeAltAlone();

// --- The non-client area (NonClient.cpp) ---------------------------------------------------

NcLayout Layout(const Window* w);
int FrameWidth(const Window* w);
int CaptionHeight(const Window* w); // the caption and the line below it
int EdgeWidth(const Window* w);
void PaintNonClient(Window* w);
// Sends WM_NCPAINT for the parts waiting, which the default procedure paints.
void SendNcPaint(Window* w);
int NonClientHitTest(Window* w, POINT screen);
// One rectangle in one colour, through a brush made for it.
void FillSolid(HDC dc, RECT r, COLORREF c);

// --- Scroll bars (ScrollBars.cpp) -----------------------------------------------------------

// A bar's arrows, track and thumb in r, in window coordinates of the window DC.
void PaintScrollBar(HDC dc, Window* w, int bar, RECT r);
void TrackScrollBar(Window* w, int bar, POINT screen);

// --- Frames (Frame.cpp) --------------------------------------------------------------------

// The caption's background, icon, text and buttons.
void PaintCaption(Window* w, HDC dc, RECT caption);
// What a point of the caption is: HTSYSMENU, a button's code, or HTCAPTION.
int CaptionHitTest(const Window* w, RECT caption, POINT p);
// The default handling of the frame's messages (non-client clicks, system commands, the system
// menu's keys, context help); false for the messages it leaves to DefWindowProc.
bool FrameDefault(Window* w, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
// Moves a top-level window into its minimized, maximized or normal place for ShowWindow.
void PlaceForShow(Window* w, int cmd);
// The window's limits with its answer to WM_GETMINMAXINFO; false when it went away meanwhile.
bool MinMaxInfoOf(Window* w, MINMAXINFO* mm);
void FrameWindowGone(Window* w);
bool IsSystemMenu(HMENU menu);
// After the screen's size changed: maximized windows fill it again, minimized ones line up at
// its bottom, and every top-level window hears WM_DISPLAYCHANGE.
void ScreenSizeChanged();

// --- The desktop display (Display.cpp) ------------------------------------------------------

bool DisplayActive();
// Takes the desktop's events into the input queue and shows the screen when a frame is due.
void DisplayPump();
// Shows what changed, then waits for a desktop event for at most the given time.
void DisplayWait(unsigned milliseconds);
// Wakes a waiting loop from another thread.
void DisplayWake();
// The desktop's clipboard: text put on ours goes out, text copied on the desktop comes in.
void DisplayClipboardOut(const std::string& text);
bool DisplayClipboardIn(std::string* text);
// The whole screen as a screenshot shows it: the desktop and the top-level windows in z-order.
void ComposeScreen(Pixels& out);

// --- GDI ------------------------------------------------------------------------------------

std::uint32_t ScreenWidth();
std::uint32_t ScreenHeight();
int ScreenDpi();

} // namespace win::detail
