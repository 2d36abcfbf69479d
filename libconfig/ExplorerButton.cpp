// The flat toolbar button.
#include "libconfig/ExplorerButton.h"

#include "rtl/Resources.h"
#include "vcl/Forms.h"
#include "vcl/StoredControls.h"
#include "vcl/Streaming.h"

#include <algorithm>

namespace libconfig {

using namespace vcl;

namespace {

// The dotted fill of a down button, shared by all buttons.
TBitmap* PatternBitmap = nullptr;

TBitmap* Pattern() {
    if (!PatternBitmap) {
        PatternBitmap = new TBitmap;
        PatternBitmap->SetSize(8, 8);
        TCanvas* c = PatternBitmap->Canvas();
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) c->SetPixels(x, y, (x % 2) == (y % 2) ? clBtnHighlight : clBtnFace);
    }
    return PatternBitmap;
}

int Sum(win::COLORREF c) { return int(c & 0xFF) + int((c >> 8) & 0xFF) + int((c >> 16) & 0xFF); }

} // namespace

// A graphic control's capture is its parent window's. While a button holds it, the parent's
// window procedure is replaced so that every mouse message reaches the button, also those
// outside its area.
struct TCaptureHook {
    static inline TExplorerButton* Button = nullptr;
    static inline win::HWND Wnd = nullptr;
    static inline win::WNDPROC Original = nullptr;

    static win::LRESULT Proc(win::HWND H, win::UINT Msg, win::WPARAM WParam, win::LPARAM LParam) {
        win::WNDPROC original = Original;
        if (Button && H == Wnd) {
            if (Msg >= win::WM_MOUSEFIRST && Msg <= win::WM_MOUSELAST) {
                TMessage m{Msg, WParam,
                           win::MAKELPARAM(win::GET_X_LPARAM(LParam) - Button->Left(), win::GET_Y_LPARAM(LParam) - Button->Top()), 0};
                // As the class library's own window procedure does: an error of the click's
                // handler is the application's to report, never the end of the message loop.
                TExplorerButton* button = Button;
                try {
                    button->WndProc(m);
                } catch (...) {
                    if (vcl::Application) vcl::Application->HandleException(button);
                    m.Result = 0;
                }
                return m.Result;
            }
            if (Msg == win::WM_CAPTURECHANGED && win::HWND(LParam) != H) Button->CaptureTaken();
        }
        return win::CallWindowProc(original, H, Msg, WParam, LParam);
    }
    static void Hook(TExplorerButton* B, win::HWND H) {
        Unhook();
        Original = reinterpret_cast<win::WNDPROC>(win::GetWindowLongPtr(H, win::GWL_WNDPROC));
        win::SetWindowLongPtr(H, win::GWL_WNDPROC, reinterpret_cast<win::LONG_PTR>(&Proc));
        Button = B;
        Wnd = H;
    }
    static void Unhook() {
        if (Wnd && win::IsWindow(Wnd) &&
            win::GetWindowLongPtr(Wnd, win::GWL_WNDPROC) == reinterpret_cast<win::LONG_PTR>(&Proc))
            win::SetWindowLongPtr(Wnd, win::GWL_WNDPROC, reinterpret_cast<win::LONG_PTR>(Original));
        Button = nullptr;
        Wnd = nullptr;
    }
};

std::string StripAccelChars(const std::string& Text) {
    std::string out;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] == '&' && i + 1 < Text.size()) ++i;
        out += Text[i];
    }
    return out;
}

TColor MonoTone(int S, TShadingType Shading) {
    struct TLimits {
        int High, Middle, Low;
    };
    static constexpr TLimits limits[] = {{205, 127, 68}, {553, 231, 57}, {335, 274, 175}};
    const TLimits& l = limits[int(Shading)];
    if (S > l.High) return clWhite;
    if (S > l.Middle) return clBtnHighlight;
    if (S > l.Low) return clBtnShadow;
    return clBlack;
}

TExplorerButton::TExplorerButton(TComponent* AOwner)
    : TGraphicControl(AOwner), FNoFocusBitmap(std::make_unique<TBitmap>()), FBitmap(std::make_unique<TBitmap>()),
      FDisabledBitmap(std::make_unique<TBitmap>()), FMonoBitmap(std::make_unique<TBitmap>()) {
    // Clicks are the button's own: fired on the release, only while hot.
    FControlStyle &= ~TControlStyle(csClickEvents | csDoubleClicks);
    SetBounds(0, 0, 50, 40);
    std::uint32_t version = rtl::GetVersion();
    FWin95Family = (version & 0x80000000u) != 0 || version == 0;
    if (AOwner && AOwner->IsDesigning()) SetCaption("ExplorerButton");
}

TExplorerButton::~TExplorerButton() {
    if (FCaptured) LoseCapture();
    delete PatternBitmap;
    PatternBitmap = nullptr;
}

void TExplorerButton::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Invalidate();
}

void TExplorerButton::SetAllowAllUp(bool Value) {
    FAllowAllUp = Value;
    if (FGroupIndex != 0 && Parent())
        for (int i = 0; i < Parent()->ControlCount(); ++i)
            if (auto* b = dynamic_cast<TExplorerButton*>(Parent()->Controls(i)); b && b != this && b->FGroupIndex == FGroupIndex)
                b->FAllowAllUp = Value;
    Invalidate();
}

void TExplorerButton::SetBevelStyle(TButtonBevel Value) {
    FBevelStyle = Value;
    Invalidate();
}

void TExplorerButton::SetNoFocusBitmap(TBitmap* Value) {
    FNoFocusBitmap->Assign(Value);
    BitmapChanged();
}

void TExplorerButton::SetBitmap(TBitmap* Value) {
    FBitmap->Assign(Value);
    BitmapChanged();
}

void TExplorerButton::SetDisabledBitmap(TBitmap* Value) {
    FDisabledBitmap->Assign(Value);
    if (!Enabled()) Invalidate();
}

void TExplorerButton::BitmapChanged() {
    RebuildMonoIfNeeded();
    Invalidate();
}

void TExplorerButton::RebuildMonoIfNeeded() {
    if (!FBitmap->Empty() && FNoFocusBitmap->Empty())
        CreateMonoBitmap();
    else
        FMonoBitmap = std::make_unique<TBitmap>();
}

void TExplorerButton::CreateMonoBitmap() {
    auto mono = std::make_unique<TBitmap>();
    mono->Assign(FBitmap.get());
    if (!mono->Empty()) {
        TCanvas* c = mono->Canvas();
        TColor transparent = c->Pixels(0, 0);
        for (int y = 0; y < mono->Height(); ++y)
            for (int x = 0; x < mono->Width(); ++x) {
                TColor p = c->Pixels(x, y);
                if (p != transparent) c->SetPixels(x, y, MonoTone(Sum(win::COLORREF(p)), FShadingType));
            }
    }
    FMonoBitmap = std::move(mono);
}

void TExplorerButton::SetGroupIndex(int Value) {
    FGroupIndex = Value;
    if (Value == 0) FDown = false;
    Invalidate();
}

void TExplorerButton::SetDown(bool Value) {
    if (Value == FDown || FGroupIndex == 0) return;
    FDown = Value;
    if (Value) RaiseOthersOfGroup();
    Invalidate();
}

void TExplorerButton::RaiseOthersOfGroup() {
    if (!Parent()) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (auto* b = dynamic_cast<TExplorerButton*>(Parent()->Controls(i));
            b && b != this && b->FGroupIndex == FGroupIndex && b->FDown) {
            b->FDown = false;
            b->Invalidate();
        }
}

void TExplorerButton::SetDropDownMenu(TPopupMenu* Value) {
    if (Value == FDropDownMenu) return;
    FDropDownMenu = Value;
    if (Value) Value->FreeNotification(this);
    if (FOptions & boPopupMark) Invalidate();
}

void TExplorerButton::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FDropDownMenu) FDropDownMenu = nullptr;
}

void TExplorerButton::SetEnabled(bool Value) {
    if (Value == Enabled()) return;
    TGraphicControl::SetEnabled(Value);
    if (FGroupIndex == 0) FDown = false;
    FPressed = false;
    FHot = false;
    Invalidate();
}

void TExplorerButton::SetLayout(TButtonLayout Value) {
    FLayout = Value;
    Invalidate();
}

void TExplorerButton::SetOptions(TButtonOptions Value) {
    FOptions = Value;
    std::string plain = StripAccelChars(Caption());
    if (Value & boIconOnly) {
        if (Hint().empty()) {
            SetHint(plain);
            SetShowHint(true);
        }
    } else if (!Hint().empty() && Hint() == plain) {
        // Only the hint this button made for a picture-only look goes with it.
        SetHint("");
        SetShowHint(false);
    }
    Invalidate();
}

void TExplorerButton::SetShadingType(TShadingType Value) {
    if (Value == FShadingType) return;
    FShadingType = Value;
    RebuildMonoIfNeeded();
    Invalidate();
}

void TExplorerButton::SetShowDownPattern(bool Value) {
    FShowDownPattern = Value;
    Invalidate();
}

void TExplorerButton::SetUnselectedFontColor(TColor Value) {
    FUnselectedFontColor = Value;
    Invalidate();
}

void TExplorerButton::SetWordWrap(bool Value) {
    FWordWrap = Value;
    Invalidate();
}

void TExplorerButton::Loaded() {
    TGraphicControl::Loaded();
    RebuildMonoIfNeeded();
}

void TExplorerButton::CMTextChanged(TMessage& Message) {
    (void)Message;
    if (FOptions & boIconOnly)
        SetHint(StripAccelChars(Caption()));
    else
        Invalidate();
}

// --- Mouse ----------------------------------------------------------------------------------

bool TExplorerButton::WindowActive() const {
    TCustomForm* form = ParentForm();
    return form && form->HandleAllocated() && win::GetActiveWindow() == form->Handle();
}

bool TExplorerButton::PointerOver() const {
    if (!Parent() || !Parent()->HandleAllocated()) return false;
    win::POINT p;
    win::GetCursorPos(&p);
    win::ScreenToClient(Parent()->Handle(), &p);
    TRect r = BoundsRect();
    return win::PtInRect(&r, p);
}

void TExplorerButton::TakeCapture() {
    if (!Parent() || !Parent()->HandleAllocated()) return;
    win::HWND h = Parent()->Handle();
    win::SetCapture(h);
    TCaptureHook::Hook(this, h);
    FCaptured = true;
}

void TExplorerButton::LoseCapture() {
    FCaptured = false;
    if (TCaptureHook::Button == this) {
        win::HWND h = TCaptureHook::Wnd;
        TCaptureHook::Unhook();
        if (win::GetCapture() == h) win::ReleaseCapture();
    }
}

void TExplorerButton::CaptureTaken() {
    FCaptured = false;
    TCaptureHook::Unhook();
    if (FHot) {
        FHot = false;
        Invalidate();
    }
}

void TExplorerButton::WMMouseMove(TMessage& Message) {
    int x = win::GET_X_LPARAM(Message.LParam), y = win::GET_Y_LPARAM(Message.LParam);
    if (!FCaptured) {
        TakeCapture();
        if (Enabled() && Visible() && WindowActive() && !FHot) {
            FHot = true;
            Invalidate();
        }
    } else {
        bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
        if (!inside) {
            if (FHot) {
                FHot = false;
                Invalidate();
            }
            if (!(Message.WParam & win::MK_LBUTTON)) LoseCapture();
        } else if (!FHot && Enabled() && Visible()) {
            FHot = true;
            Invalidate();
        }
    }
    TGraphicControl::WMMouseMove(Message);
}

void TExplorerButton::WMLButtonDown(TMessage& Message) {
    TCustomForm* form = ParentForm();
    if (form && form->HandleAllocated() && !WindowActive()) win::SetActiveWindow(form->Handle());
    if (Enabled() && Visible()) {
        if (!FCaptured) TakeCapture();
        FPressed = true;
        FHot = true;
        Invalidate();
        MouseDown(TMouseButton::mbLeft, ssLeft, win::GET_X_LPARAM(Message.LParam),
                  win::GET_Y_LPARAM(Message.LParam));
        if (FDropDownMenu) {
            // The menu's loop takes the mouse: the button lets go of it first, so that it stays
            // pressed and hot, and shows its sunken face under the open menu.
            LoseCapture();
            Repaint();
            TPoint corner = ClientToScreen(Point(0, Height()));
            FDropDownMenu->SetPopupComponent(this);
            FDropDownMenu->Popup(corner.x, corner.y);
            AfterMenu();
        }
    }
}

// A quick second click is a press of its own.
void TExplorerButton::WMLButtonDblClk(TMessage& Message) { WMLButtonDown(Message); }

void TExplorerButton::AfterMenu() {
    win::MSG msg;
    while (win::PeekMessage(&msg, nullptr, win::WM_MOUSEFIRST, win::WM_MOUSELAST, win::PM_REMOVE)) {
    }
    LoseCapture();
    FHot = PointerOver();
    FPressed = false;
    Invalidate();
}

void TExplorerButton::WMLButtonUp(TMessage& Message) {
    if (FPressed) {
        FPressed = false;
        if (FHot && FGroupIndex != 0) {
            if (!FDown) {
                FDown = true;
                RaiseOthersOfGroup();
            } else if (FAllowAllUp) {
                FDown = false;
            }
        }
        LoseCapture();
        if (FHot) {
            FHot = false;
            Invalidate();
            if (!FDropDownMenu) Click();
        }
    }
    MouseUp(TMouseButton::mbLeft, 0, win::GET_X_LPARAM(Message.LParam), win::GET_Y_LPARAM(Message.LParam));
}

void TExplorerButton::WMRButtonUp(TMessage& Message) {
    TGraphicControl::WMRButtonUp(Message);
    if (PopupMenu()) AfterMenu();
}

void TExplorerButton::CMDialogChar(TMessage& Message) {
    if (!IsAccel(unsigned(Message.WParam), Caption()) || !Enabled() || !Visible()) return;
    FHot = true;
    TMessage down{win::WM_LBUTTONDOWN, win::MK_LBUTTON, win::MAKELPARAM(Width() / 2, Height() / 2), 0};
    WndProc(down);
    if (Application) Application->ProcessMessages();
    TMessage up{win::WM_LBUTTONUP, 0, win::MAKELPARAM(Width() / 2, Height() / 2), 0};
    WndProc(up);
    if (Application) Application->ProcessMessages();
    if (!PointerOver()) {
        FHot = false;
        Invalidate();
    }
    Message.Result = 1;
}

// --- Painting -------------------------------------------------------------------------------

unsigned TExplorerButton::TextFlags() const {
    unsigned flags = 0;
    switch (FAlignment) {
    case TAlignment::taLeftJustify: flags = win::DT_LEFT; break;
    case TAlignment::taRightJustify: flags = win::DT_RIGHT; break;
    case TAlignment::taCenter: flags = win::DT_CENTER; break;
    }
    if (FWordWrap) flags |= win::DT_WORDBREAK;
    if (FWin95Family) flags |= win::DT_END_ELLIPSIS;
    return flags;
}

void TExplorerButton::DrawCaption(const std::string& Text, TRect R, TColor Colour) {
    win::HDC dc = Canvas()->Handle();
    win::SelectObject(dc, Canvas()->Font()->Handle());
    win::SetBkMode(dc, win::TRANSPARENT);
    win::SetTextColor(dc, ColorToRGB(Colour));
    win::DrawText(dc, Text.c_str(), int(Text.size()), &R, TextFlags());
}

void TExplorerButton::DrawBevel(bool Raised) {
    bool lightFirst = Raised;
    if (FBevelStyle == TButtonBevel::bsLowered) lightFirst = !lightFirst;
    TRect r = ClientRect();
    win::Frame3D(Canvas()->Handle(), &r, ColorToRGB(lightFirst ? clBtnHighlight : clBtnShadow),
                 ColorToRGB(lightFirst ? clBtnShadow : clBtnHighlight), 1);
}

void TExplorerButton::DrawTransparentBitmap(TBitmap* Picture, int X, int Y) {
    if (Picture->Empty()) return;
    win::HDC src = Picture->Canvas()->Handle();
    win::HDC dst = Canvas()->Handle();
    win::COLORREF transparent = win::GetPixel(src, 0, 0);
    for (int y = 0; y < Picture->Height(); ++y)
        for (int x = 0; x < Picture->Width(); ++x) {
            win::COLORREF c = win::GetPixel(src, x, y);
            if (c != transparent) win::SetPixel(dst, X + x, Y + y, c);
        }
}

void TExplorerButton::DrawDisabledImage(TBitmap* Picture, int X, int Y) {
    if (Picture->Empty()) return;
    win::HDC src = Picture->Canvas()->Handle();
    win::HDC dst = Canvas()->Handle();
    win::COLORREF transparent = win::GetPixel(src, 0, 0);
    // The dark half of the picture makes the embossed shape.
    auto dark = [&](int x, int y) {
        win::COLORREF c = win::GetPixel(src, x, y);
        return c != transparent && Sum(c) < 384;
    };
    for (int pass = 0; pass < 2; ++pass) {
        int off = pass == 0 ? 1 : 0;
        win::COLORREF colour = ColorToRGB(pass == 0 ? clBtnHighlight : clBtnShadow);
        for (int y = 0; y < Picture->Height(); ++y)
            for (int x = 0; x < Picture->Width(); ++x)
                if (dark(x, y)) win::SetPixel(dst, X + x + off, Y + y + off, colour);
    }
}

void TExplorerButton::DrawDropDownMark(int X, int Y, TColor Colour) {
    win::HDC dc = Canvas()->Handle();
    win::COLORREF c = ColorToRGB(Colour);
    for (int row = 0; row < 4; ++row)
        for (int x = row; x < 7 - row; ++x) win::SetPixel(dc, X + x, Y - 1 + row, c);
}

void TExplorerButton::Paint() {
    if (!Visible() && !IsDesigning()) return;
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    const int W = Width(), H = Height();
    win::HDC dc = canvas->Handle();
    win::SelectObject(dc, canvas->Font()->Handle());

    if (FDown && FShowDownPattern)
        for (int y = 0; y < H; y += 8)
            for (int x = 0; x < W; x += 8) canvas->Draw(x, y, Pattern());

    std::string text = Caption();
    int w = 0, h = 0, gap = 0;
    if (!(FOptions & boIconOnly) && !text.empty()) {
        TRect r = Rect(0, 0, W - 4, 0);
        std::string measured = FWordWrap ? text + " " : text;
        win::DrawText(dc, measured.c_str(), int(measured.size()), &r, TextFlags() | win::DT_CALCRECT);
        w = std::min<int>(r.right - r.left, W - 4);
        h = r.bottom - r.top;
        gap = 2;
    }
    const bool mark = (FOptions & boPopupMark) && FDropDownMenu;
    const bool picture = !FBitmap->Empty();
    const int pw = FBitmap->Width() + (mark ? 10 : 0), ph = FBitmap->Height();
    auto alignLeft = [&](int width) {
        switch (FAlignment) {
        case TAlignment::taLeftJustify: return 3;
        case TAlignment::taRightJustify: return W - width - 3;
        default: return (W - width) / 2;
        }
    };
    int textLeft = 0, textTop = 0, picLeft = 0, picTop = 0, textW = w;
    if (!picture) {
        if (mark) {
            textW = std::min(w, W - 14);
            w = textW + 10;
        }
        textTop = (H - h) / 2;
        textLeft = alignLeft(w);
    } else if (FLayout == TButtonLayout::blBitmapTop || FLayout == TButtonLayout::blBitmapBottom) {
        int first = (H - h - ph - gap) / 2;
        if (FLayout == TButtonLayout::blBitmapTop) {
            picTop = first;
            textTop = first + ph + gap;
        } else {
            textTop = first;
            picTop = first + h + gap;
        }
        picLeft = alignLeft(pw);
        textLeft = alignLeft(w);
    } else {
        w = std::min(w, W - 4 - pw - gap);
        textW = w;
        picTop = (H - ph) / 2;
        textTop = (H - h) / 2;
        int total = pw + gap + w;
        int start = FAlignment == TAlignment::taLeftJustify ? 3
                    : FAlignment == TAlignment::taRightJustify ? W - 3 - total
                                                               : (W - total) / 2;
        if (FLayout == TButtonLayout::blBitmapLeft) {
            picLeft = start;
            textLeft = start + pw + gap;
        } else {
            textLeft = start;
            picLeft = start + w + gap;
        }
    }

    if (IsDesigning()) {
        canvas->Brush()->SetColor(clBlack);
        canvas->FrameRect(ClientRect());
    }

    TRect box = Rect(textLeft, textTop, textLeft + textW, textTop + h);
    if (FWordWrap) box.right = std::min<int>(box.right, W - 5);
    auto moved = [](TRect r, int d) {
        win::OffsetRect(&r, d, d);
        return r;
    };
    bool sunken = false;
    if (!Enabled()) {
        if (FDown) DrawBevel(false);
        if (!FDisabledBitmap->Empty())
            DrawTransparentBitmap(FDisabledBitmap.get(), picLeft, picTop);
        else
            DrawDisabledImage(FBitmap.get(), picLeft, picTop);
        if (h > 0) {
            DrawCaption(text, moved(box, 1), clBtnHighlight);
            DrawCaption(text, box, clBtnShadow);
        }
        return;
    }
    if ((FPressed && FHot) || FDown) {
        sunken = true;
        DrawBevel(false);
        if (h > 0) DrawCaption(text, moved(box, FBevelStyle == TButtonBevel::bsRaised ? 1 : 0), Font()->Color());
        DrawTransparentBitmap(FBitmap.get(), picLeft + 1, picTop + 1);
    } else {
        if (FHot) DrawBevel(true);
        if (h > 0)
            DrawCaption(text, moved(box, FBevelStyle == TButtonBevel::bsLowered ? 1 : 0),
                        FHot ? Font()->Color() : FUnselectedFontColor);
        TBitmap* shown = FBitmap.get();
        if (!FHot && (FOptions & boMonoDisplay)) shown = !FNoFocusBitmap->Empty() ? FNoFocusBitmap.get() : FMonoBitmap.get();
        DrawTransparentBitmap(shown, picLeft, picTop);
    }
    if (mark) {
        int d = sunken ? 1 : 0;
        if (picture)
            DrawDropDownMark(picLeft + FBitmap->Width() + 3 + d, picTop + ph / 2 + d, Font()->Color());
        else
            DrawDropDownMark(textLeft + textW + 3 + d, textTop + h / 2 + d, Font()->Color());
    }
}

namespace {

// The properties a stored form keeps of the button, besides a control's own; GroupIndex comes
// before Down, which needs it.
struct TRegistration {
    TRegistration() {
        using B = TExplorerButton;
        auto control = ControlProperties<B>();
        std::erase_if(control, [](const TPropInfo& p) { return p.Name == "Caption"; });
        RegisterClass<B>("TExplorerButton", "", With<B>(std::move(control), {
            EnumProperty<B>("Alignment", &B::Alignment, &B::SetAlignment, {"taLeftJustify", "taRightJustify", "taCenter"})
                .WithDefault(int(TAlignment::taCenter)),
            BooleanProperty<B>("AllowAllUp", &B::AllowAllUp, &B::SetAllowAllUp).WithDefault(0),
            EnumProperty<B>("BevelStyle", &B::BevelStyle, &B::SetBevelStyle, {"bsLowered", "bsRaised"})
                .WithDefault(int(TButtonBevel::bsRaised)),
            StringProperty<B>("Caption", &B::Caption, &B::SetCaption),
            IntegerProperty<B>("GroupIndex", &B::GroupIndex, &B::SetGroupIndex).WithDefault(0),
            BooleanProperty<B>("Down", &B::Down, &B::SetDown).WithDefault(0),
            EnumProperty<B>("Layout", &B::Layout, &B::SetLayout,
                            {"blBitmapTop", "blBitmapBottom", "blBitmapLeft", "blBitmapRight"})
                .WithDefault(0),
            SetProperty<B>("Options", &B::Options, &B::SetOptions, {"boMonoDisplay", "boIconOnly", "boPopupMark"})
                .WithDefault(boMonoDisplay | boPopupMark),
            EnumProperty<B>("ShadingType", &B::ShadingType, &B::SetShadingType, {"stLight", "stMedium", "stDark"})
                .WithDefault(int(TShadingType::stMedium)),
            BooleanProperty<B>("ShowDownPattern", &B::ShowDownPattern, &B::SetShowDownPattern).WithDefault(1),
            ColorProperty<B>("UnselectedFontColor", &B::UnselectedFontColor, &B::SetUnselectedFontColor)
                .WithDefault(clWindowText),
            BooleanProperty<B>("WordWrap", &B::WordWrap, &B::SetWordWrap).WithDefault(0),
            ClassProperty<B>("Bitmap", &B::Bitmap),
            ClassProperty<B>("NoFocusBitmap", &B::NoFocusBitmap),
            ClassProperty<B>("DisabledBitmap", &B::DisabledBitmap),
            ComponentProperty<B>("DropDownMenu", &B::DropDownMenu, &B::SetDropDownMenu),
        }));
    }
} registration;

} // namespace

} // namespace libconfig
