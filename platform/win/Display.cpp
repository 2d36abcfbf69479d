// The desktop display over SDL2: one desktop window shows the virtual screen as a screenshot
// gives it, sends only what changed and at most once a frame, and turns the desktop's mouse,
// keyboard, text, clipboard and close box into the window system's input.
#include "win/WinInternal.h"
#include "win/ProgramOptions.h"

#include "rtl/Clock.h"
#include "rtl/CodePages.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <thread>

namespace win {
using namespace detail;

namespace {

constexpr std::uint64_t FrameMs = 16;

struct DisplayState {
    SDL_Window* window = nullptr;
    int scale = 1;
    Pixels shown;        // what the desktop window shows
    Pixels next;         // the screen composed for the next frame
    SIZE sizedTo;        // the screen size the desktop window was last given
    bool wholeFrame = true;
    std::uint64_t lastFrame = 0;
    std::thread::id thread;
    Uint32 wakeEvent = 0;
    std::string clipboardSeen; // UTF-8, the desktop text last sent or taken
    // Modifiers as the events handled so far left them (SDL's own state runs ahead of its queue).
    bool ctrlDown = false, leftAltDown = false;
    HCURSOR cursorShown = nullptr;
    SDL_Cursor* cursor = nullptr;
};

std::unique_ptr<DisplayState>& Dp() {
    static std::unique_ptr<DisplayState> d;
    return d;
}

// Set before or after the display opens.
HWND& MainWindow() {
    static HWND h = nullptr;
    return h;
}

std::uint64_t Ticks() {
    return std::uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now().time_since_epoch())
                             .count());
}

SDL_SystemCursor CursorShape(HCURSOR cursor) {
    if (cursor && cursor == LoadCursor(nullptr, "HSPLIT")) return SDL_SYSTEM_CURSOR_SIZENS;
    if (cursor && cursor == LoadCursor(nullptr, "VSPLIT")) return SDL_SYSTEM_CURSOR_SIZEWE;
    CursorInfo info;
    if (!cursor || !GetCursorInfoOf(cursor, &info)) return SDL_SYSTEM_CURSOR_ARROW;
    switch (info.stockId) {
    case 32513: return SDL_SYSTEM_CURSOR_IBEAM;
    case 32514: return SDL_SYSTEM_CURSOR_WAIT;
    case 32515: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case 32642: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case 32643: return SDL_SYSTEM_CURSOR_SIZENESW;
    case 32644: return SDL_SYSTEM_CURSOR_SIZEWE;
    case 32645: return SDL_SYSTEM_CURSOR_SIZENS;
    case 32646: return SDL_SYSTEM_CURSOR_SIZEALL;
    case 32648: return SDL_SYSTEM_CURSOR_NO;
    case 32650: return SDL_SYSTEM_CURSOR_WAITARROW;
    }
    return SDL_SYSTEM_CURSOR_ARROW;
}

void ShowCursorShape(DisplayState& d) {
    HCURSOR current = GetCursor();
    if (current == d.cursorShown && d.cursor) return;
    d.cursorShown = current;
    SDL_Cursor* made = SDL_CreateSystemCursor(CursorShape(current));
    if (!made) return;
    SDL_SetCursor(made);
    if (d.cursor) SDL_FreeCursor(d.cursor);
    d.cursor = made;
}

// Copies the changed part of the screen to the desktop window.
void Present(DisplayState& d) {
    d.lastFrame = Ticks();
    ShowCursorShape(d);
    ComposeScreen(d.next);
    const int w = d.next.width, h = d.next.height;
    // The desktop window follows a size the program gives the screen; a size the user gives
    // the desktop window has come the other way already.
    if (d.sizedTo.cx != w || d.sizedTo.cy != h) {
        SDL_SetWindowSize(d.window, w * d.scale, h * d.scale);
        d.sizedTo = SIZE{w, h};
        d.wholeFrame = true;
    }
    if (d.shown.width != w || d.shown.height != h) {
        d.shown = Pixels(w, h, false, 0);
        d.wholeFrame = true;
    }
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* a = d.next.Row(y);
        const std::uint32_t* b = d.shown.Row(y);
        if (!d.wholeFrame && std::equal(a, a + w, b)) continue;
        int l = 0, r = w - 1;
        if (!d.wholeFrame) {
            while (a[l] == b[l]) ++l;
            while (a[r] == b[r]) --r;
        }
        x0 = std::min(x0, l);
        x1 = std::max(x1, r);
        y0 = std::min(y0, y);
        y1 = y;
    }
    d.wholeFrame = false;
    if (x1 < 0) return;
    SDL_Surface* surface = SDL_GetWindowSurface(d.window);
    if (!surface) return;
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    const bool direct = surface->format->BytesPerPixel == 4 && surface->format->Rmask == 0x00FF0000 &&
                        surface->format->Gmask == 0x0000FF00 && surface->format->Bmask == 0x000000FF;
    const std::uint32_t alpha = surface->format->Amask;
    for (int y = y0; y <= y1; ++y) {
        const std::uint32_t* src = d.next.Row(y);
        std::copy(src + x0, src + x1 + 1, d.shown.Row(y) + x0);
        for (int sy = 0; sy < d.scale; ++sy) {
            int ty = y * d.scale + sy;
            if (ty >= surface->h) break;
            auto* row = reinterpret_cast<std::uint8_t*>(surface->pixels) + std::size_t(ty) * std::size_t(surface->pitch);
            for (int x = x0; x <= x1; ++x) {
                std::uint32_t p = src[x];
                std::uint32_t v = direct ? (p | alpha)
                                         : SDL_MapRGB(surface->format, Uint8(p >> 16), Uint8(p >> 8), Uint8(p));
                for (int sx = 0; sx < d.scale; ++sx) {
                    int tx = x * d.scale + sx;
                    if (tx >= surface->w) break;
                    if (surface->format->BytesPerPixel == 4) reinterpret_cast<std::uint32_t*>(row)[tx] = v;
                    else std::memcpy(row + std::size_t(tx) * surface->format->BytesPerPixel, &v, surface->format->BytesPerPixel);
                }
            }
        }
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    SDL_Rect rect{x0 * d.scale, y0 * d.scale, (x1 - x0 + 1) * d.scale, (y1 - y0 + 1) * d.scale};
    SDL_UpdateWindowSurfaceRects(d.window, &rect, 1);
}

UINT VirtualKey(const SDL_Keysym& key) {
    SDL_Keycode k = key.sym;
    if (k >= SDLK_a && k <= SDLK_z) return UINT('A' + (k - SDLK_a));
    if (k >= SDLK_0 && k <= SDLK_9) return UINT('0' + (k - SDLK_0));
    if (k >= SDLK_F1 && k <= SDLK_F12) return VK_F1 + UINT(k - SDLK_F1);
    if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return VK_NUMPAD0 + 1 + UINT(k - SDLK_KP_1);
    switch (k) {
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: case SDLK_RALT: return VK_MENU;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_NUMLOCKCLEAR: return VK_NUMLOCK;
    case SDLK_SCROLLLOCK: return VK_SCROLL;
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_PRINTSCREEN: return VK_SNAPSHOT;
    case SDLK_APPLICATION: return VK_APPS;
    case SDLK_SEMICOLON: return VK_OEM_1;
    case SDLK_EQUALS: return VK_OEM_PLUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_OEM_2;
    case SDLK_BACKQUOTE: return VK_OEM_3;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_BACKSLASH: return VK_OEM_5;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    case SDLK_QUOTE: return VK_OEM_7;
    case SDLK_KP_0: return VK_NUMPAD0;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_PERIOD: return VK_DECIMAL;
    case SDLK_KP_DIVIDE: return VK_DIVIDE;
    }
    return 0;
}

POINT ScreenPoint(const DisplayState& d, int x, int y) { return POINT{x / d.scale, y / d.scale}; }

void Handle(DisplayState& d, const SDL_Event& e) {
    switch (e.type) {
    case SDL_MOUSEMOTION:
        PostMouseInput(WM_MOUSEMOVE, ScreenPoint(d, e.motion.x, e.motion.y));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const bool down = e.type == SDL_MOUSEBUTTONDOWN;
        UINT message = 0;
        switch (e.button.button) {
        case SDL_BUTTON_LEFT: message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
        case SDL_BUTTON_RIGHT: message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
        case SDL_BUTTON_MIDDLE: message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
        default: return;
        }
        // The desktop's pointer stays with the window while a button is held.
        SDL_CaptureMouse(SDL_GetMouseState(nullptr, nullptr) ? SDL_TRUE : SDL_FALSE);
        PostMouseInput(message, ScreenPoint(d, e.button.x, e.button.y));
        break;
    }
    case SDL_MOUSEWHEEL: {
        int x = 0, y = 0;
        SDL_GetMouseState(&x, &y);
        int notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        if (notches) PostWheelInput(notches * WHEEL_DELTA, ScreenPoint(d, x, y));
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const bool down = e.type == SDL_KEYDOWN;
        SDL_Keycode k = e.key.keysym.sym;
        if (k == SDLK_LCTRL || k == SDLK_RCTRL) d.ctrlDown = down;
        if (k == SDLK_LALT) d.leftAltDown = down;
        if (UINT vk = VirtualKey(e.key.keysym)) PostKeyInput(down ? WM_KEYDOWN : WM_KEYUP, vk);
        break;
    }
    case SDL_TEXTINPUT: {
        // Ctrl and Alt with a key make commands, not text (AltGr still types).
        if (d.ctrlDown || d.leftAltDown) break;
        for (char c : rtl::Utf8ToAnsi(e.text.text)) PostCharInput(c);
        break;
    }
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
            HWND target = IsWindow(MainWindow()) ? MainWindow() : GetActiveWindow();
            if (target) PostMessage(target, WM_CLOSE, 0, 0);
        } else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            // The screen takes the desktop window's new size.
            int w = std::max(1, e.window.data1 / d.scale), h = std::max(1, e.window.data2 / d.scale);
            d.sizedTo = SIZE{w, h};
            if (w != int(ScreenWidth()) || h != int(ScreenHeight())) SetScreenSize(w, h, ScreenDpi());
            d.wholeFrame = true;
        } else if (e.window.event == SDL_WINDOWEVENT_EXPOSED) {
            d.wholeFrame = true;
        }
        break;
    }
}

} // namespace

namespace detail {

bool DisplayActive() { return Dp() && Dp()->window; }

void DisplayPump() {
    DisplayState& d = *Dp();
    SDL_Event e;
    while (SDL_PollEvent(&e)) Handle(d, e);
    if (Ticks() - d.lastFrame >= FrameMs) Present(d);
}

void DisplayWait(unsigned milliseconds) {
    DisplayState& d = *Dp();
    Present(d);
    SDL_WaitEventTimeout(nullptr, int(std::min<unsigned>(milliseconds, 0x7FFFFFFF)));
}

void DisplayWake() {
    auto& d = Dp();
    if (!d || !d->window || std::this_thread::get_id() == d->thread) return;
    SDL_Event e{};
    e.type = d->wakeEvent;
    SDL_PushEvent(&e);
}

void DisplayClipboardOut(const std::string& text) {
    if (!DisplayActive()) return;
    std::string utf8 = rtl::AnsiToUtf8(text);
    if (SDL_SetClipboardText(utf8.c_str()) == 0) Dp()->clipboardSeen = utf8;
    // Sends the new ownership to the desktop now, before another program asks for the text.
    SDL_PumpEvents();
}

bool DisplayClipboardIn(std::string* text) {
    if (!DisplayActive() || !SDL_HasClipboardText()) return false;
    char* raw = SDL_GetClipboardText();
    if (!raw) return false;
    std::string utf8 = raw;
    SDL_free(raw);
    if (utf8 == Dp()->clipboardSeen) return false;
    Dp()->clipboardSeen = utf8;
    *text = rtl::Utf8ToAnsi(utf8);
    return true;
}

} // namespace detail

bool DisplayPresent() {
    const char* x = std::getenv("DISPLAY");
    const char* wl = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wl && *wl);
}

bool OpenDisplay(int scale, const std::string& title, int x, int y) {
    if (DisplayActive()) return true;
    if (!DisplayPresent()) return false;
    // The desktop's input method gives text only under a UTF-8 character type.
    auto utf8 = [](const char* v) { return v && (std::strstr(v, "UTF-8") || std::strstr(v, "utf8")); };
    if (!utf8(std::getenv("LC_ALL")) && !utf8(std::getenv("LC_CTYPE")) && !utf8(std::getenv("LANG")))
        setenv("LC_CTYPE", "C.UTF-8", 1);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // The screen is plain pixels: the desktop's own framebuffer, no 3-D renderer in between.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    auto d = std::make_unique<DisplayState>();
    d->scale = std::clamp(scale, 1, 8);
    const int w = int(ScreenWidth()), h = int(ScreenHeight());
    int px = x == CW_USEDEFAULT ? int(SDL_WINDOWPOS_CENTERED) : x;
    int py = y == CW_USEDEFAULT ? int(SDL_WINDOWPOS_CENTERED) : y;
    d->window = SDL_CreateWindow(title.empty() ? "Windows" : rtl::AnsiToUtf8(title).c_str(), px, py, w * d->scale,
                                 h * d->scale, SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
    if (!d->window) return false;
    d->sizedTo = SIZE{w, h};
    d->thread = std::this_thread::get_id();
    d->wakeEvent = SDL_RegisterEvents(1);
    SDL_StartTextInput();
    Dp() = std::move(d);
    Present(*Dp());
    return true;
}

void CloseDisplay() {
    auto& d = Dp();
    if (!d) return;
    if (d->cursor) SDL_FreeCursor(d->cursor);
    if (d->window) SDL_DestroyWindow(d->window);
    d.reset();
    // The video subsystem stays up for the life of the process: a display opened again reuses
    // it, and the desktop libraries it loaded stay put.
}

bool DisplayOpen() { return DisplayActive(); }

void SetDisplayMainWindow(HWND hwnd) { MainWindow() = hwnd; }

} // namespace win

// --- Program options ------------------------------------------------------------------------

namespace win {

int TakeScreenOption(int argc, char** argv, int& i, TScreenOptions& Options, std::string& Error) {
    std::string arg = argv[i];
    if (arg == "--headless") {
        Options.Headless = true;
        return 1;
    }
    if (arg != "--screenshot" && arg != "--scale" && arg != "--size" && arg != "--position") return 0;
    if (i + 1 >= argc) {
        Error = arg + " needs a value";
        return -1;
    }
    std::string value = argv[++i];
    if (arg == "--screenshot") {
        Options.Screenshot = value;
        return 1;
    }
    // Two whole numbers with a separator between them, as "1024x768" or "0,0".
    auto pair = [&](char sep, int& a, int& b, bool positive) {
        std::size_t at = value.find(sep);
        if (at == std::string::npos || at == 0 || at + 1 >= value.size()) return false;
        std::string first = value.substr(0, at), second = value.substr(at + 1);
        auto number = [&](const std::string& t) {
            std::size_t start = (!positive && t[0] == '-') ? 1 : 0;
            return t.size() > start && t.size() - start <= 5 && t.find_first_not_of("0123456789", start) == std::string::npos;
        };
        if (!number(first) || !number(second)) return false;
        a = std::atoi(first.c_str());
        b = std::atoi(second.c_str());
        return !positive || (a > 0 && b > 0);
    };
    if (arg == "--size") {
        if (!pair('x', Options.Width, Options.Height, true) || Options.Width > 4096 || Options.Height > 4096) {
            Error = "the size is WIDTHxHEIGHT, each from 1 to 4096";
            return -1;
        }
        return 1;
    }
    if (arg == "--position") {
        if (!pair(',', Options.X, Options.Y, false)) {
            Error = "the position is X,Y in desktop pixels";
            return -1;
        }
        Options.Placed = true;
        return 1;
    }
    Options.Scale = std::atoi(value.c_str());
    if (Options.Scale < 1 || Options.Scale > 8 || value.find_first_not_of("0123456789") != std::string::npos) {
        Error = "the scale is a whole number from 1 to 8";
        return -1;
    }
    return 1;
}

std::optional<int> ReadCommandLine(int argc, char** argv, const std::string& Program,
                                   const std::string& ArgumentsUsage, std::size_t MaxArguments,
                                   TScreenOptions& Options, std::vector<std::string>& Arguments) {
    auto usage = [&](int code) {
        std::cerr << "usage: " << Program << " [--headless] [--scale N] [--screenshot FILE] [--size WxH] [--position X,Y]"
                  << (ArgumentsUsage.empty() ? "" : " ") << ArgumentsUsage << "\n";
        return code;
    };
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string error;
        int taken = TakeScreenOption(argc, argv, i, Options, error);
        if (taken < 0) {
            std::cerr << Program << ": " << error << "\n";
            return usage(2);
        }
        if (taken) continue;
        if (arg == "--help" || arg == "-h") return usage(0);
        if (!arg.empty() && arg[0] == '-') {
            std::cerr << Program << ": unknown option " << arg << "\n";
            return usage(2);
        }
        if (Arguments.size() >= MaxArguments) {
            std::cerr << Program << ": unknown argument " << arg << "\n";
            return usage(2);
        }
        Arguments.push_back(arg);
    }
    return std::nullopt;
}

TDisplayGuard::~TDisplayGuard() { CloseDisplay(); }

TDisplayGuard OpenDisplayFor(const TScreenOptions& Options, const std::string& Program) {
    if (Options.Width > 0 && Options.Height > 0) SetScreenSize(Options.Width, Options.Height, ScreenDpi());
    int x = Options.Placed ? Options.X : CW_USEDEFAULT, y = Options.Placed ? Options.Y : CW_USEDEFAULT;
    if (!Options.Headless && DisplayPresent() && !OpenDisplay(Options.Scale, Program, x, y))
        std::cerr << Program << ": the desktop display cannot be opened; running headless\n";
    return TDisplayGuard{};
}

} // namespace win
