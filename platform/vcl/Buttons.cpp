// Bitmap and speed buttons: the picture strip with its prepared state images and layout, the
// button face, and the two controls. The stock pictures of the kinds are resources of the class
// library (res/glyphs.list), so they travel with it into every module that links it.
#include "vcl/Buttons.h"

#include "vcl/StoredControls.h"
#include "vcl/Streaming.h"

#include "rtl/ScopeGuards.h"

#include <algorithm>

namespace vcl {

using namespace win;

namespace {

// ROP3 that puts the brush where the (monochrome) source is 1 and keeps the destination where 0.
constexpr DWORD ROP_DSPDxax = 0x00E20746;

struct TKindInfo {
    const char* Caption;
    const char* Glyph;
    TModalResult Result;
};
const TKindInfo KindInfo[] = {
    {"", nullptr, mrNone},         {"OK", "BBOK", mrOk},          {"Cancel", "BBCANCEL", mrCancel},
    {"&Help", "BBHELP", mrNone},   {"&Yes", "BBYES", mrYes},      {"&No", "BBNO", mrNo},
    {"&Close", "BBCLOSE", mrNone}, {"Abort", "BBABORT", mrAbort}, {"&Retry", "BBRETRY", mrRetry},
    {"&Ignore", "BBIGNORE", mrIgnore}, {"&All", "BBALL", mrAll},
};
const TKindInfo& InfoOf(TBitBtnKind Kind) { return KindInfo[int(Kind)]; }

bool IsNewStyle(TButtonStyle Style) {
    return Style == TButtonStyle::bsNew || (Style == TButtonStyle::bsAutoDetect && NewShellLook());
}

// Where Bitmap's pixels in Rect have the colour From, paint To (through a monochrome mask).
void ReplaceColor(TBitmap* Bitmap, COLORREF From, TColor To) {
    int w = Bitmap->Width(), h = Bitmap->Height();
    TBitmap mask;
    mask.SetMonochrome(true);
    mask.SetSize(w, h);
    HDC src = Bitmap->Canvas()->Handle();
    COLORREF oldBk = SetBkColor(src, From);
    BitBlt(mask.Canvas()->Handle(), 0, 0, w, h, src, 0, 0, SRCCOPY);
    SetBkColor(src, oldBk);
    HBRUSH brush = CreateSolidBrush(ColorToRGB(To));
    HGDIOBJ oldBrush = SelectObject(src, brush);
    COLORREF oldText = SetTextColor(src, RGB(0, 0, 0));
    oldBk = SetBkColor(src, RGB(255, 255, 255));
    BitBlt(src, 0, 0, w, h, mask.Canvas()->Handle(), 0, 0, ROP_DSPDxax);
    SetTextColor(src, oldText);
    SetBkColor(src, oldBk);
    SelectObject(src, oldBrush);
    DeleteObject(brush);
}

} // namespace

// --- The picture strip -----------------------------------------------------------------------

int GlyphCountOf(const TBitmap* Strip) {
    const int w = Strip->Width(), h = Strip->Height();
    if (w <= 0 || h <= 0 || w % h != 0) return 0;
    return w / h > 4 ? 1 : w / h;
}

void MaskOfGlyph(TBitmap* Picture, int Left, int Width, int Height, TBitmap& Mask) {
    Mask.SetMonochrome(true);
    Mask.SetSize(Width, Height);
    HDC src = Picture->Canvas()->Handle();
    if (Picture->Monochrome()) {
        BitBlt(Mask.Canvas()->Handle(), 0, 0, Width, Height, src, Left, 0, NOTSRCCOPY);
    } else {
        COLORREF oldBk = SetBkColor(src, RGB(0, 0, 0));
        BitBlt(Mask.Canvas()->Handle(), 0, 0, Width, Height, src, Left, 0, SRCCOPY);
        SetBkColor(src, oldBk);
    }
}

// Cuts a picture strip into its state images, prepares each on first use and lays picture and
// caption out in a rectangle.
class TButtonGlyph {
public:
    TButtonGlyph() : FOriginal(std::make_unique<TBitmap>()) { Hook(); }
    ~TButtonGlyph() {
        FOriginal->OnChange = nullptr;
        FOriginal->Canvas()->OnChange = nullptr;
    }
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    TBitmap* Glyph() const { return FOriginal.get(); }
    void SetGlyph(TBitmap* Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    void Invalidate() {
        FImages.reset();
        std::fill(std::begin(FIndexes), std::end(FIndexes), -1);
    }
    TRect Draw(TCanvas* Canvas, const TRect& Client, const std::string& Caption, TButtonLayout Layout, int Margin,
               int Spacing, TButtonState State);

    TNotifyEvent OnChange;

private:
    void Hook() {
        FOriginal->OnChange = [this](TObject*) { Changed(); };
        FOriginal->Canvas()->OnChange = [this](TObject*) { Changed(); };
    }
    void Changed() {
        if (FQuiet) return;
        if (!FOriginal->Empty()) FTransparentColor = FOriginal->Canvas()->Pixels(0, FOriginal->Height() - 1);
        Invalidate();
        if (OnChange) OnChange(nullptr);
    }
    int Prepare(TButtonState State);
    void Layout(TCanvas* Canvas, const TRect& Client, const std::string& Caption, TButtonLayout Layout, int Margin,
                int Spacing, TPoint& GlyphPos, TRect& TextBounds);

    std::unique_ptr<TBitmap> FOriginal;
    std::unique_ptr<TImageList> FImages;
    int FIndexes[4] = {-1, -1, -1, -1};
    bool FMasked[4] = {};
    TColor FTransparentColor = clOlive;
    int FNumGlyphs = 1;
    bool FQuiet = false;
};

void TButtonGlyph::SetGlyph(TBitmap* Value) {
    Invalidate();
    {
        FQuiet = true;
        rtl::TScopeExit loud([this] { FQuiet = false; });
        if (Value) FOriginal->Assign(Value);
        else FOriginal->SetSize(0, 0);
    }
    if (Value && Value->Height() > 0 && Value->Width() > 0) {
        FTransparentColor = FOriginal->Canvas()->Pixels(0, FOriginal->Height() - 1);
        if (int n = GlyphCountOf(Value)) FNumGlyphs = n;
    }
    if (OnChange) OnChange(nullptr);
}

void TButtonGlyph::SetNumGlyphs(int Value) {
    Value = std::clamp(Value, 1, 4);
    if (Value == FNumGlyphs) return;
    Invalidate();
    FNumGlyphs = Value;
    if (OnChange) OnChange(nullptr);
}

int TButtonGlyph::Prepare(TButtonState State) {
    if (State == TButtonState::bsDown && FNumGlyphs < 3) State = TButtonState::bsUp;
    int s = int(State);
    if (FIndexes[s] != -1) return s;
    int iw = FOriginal->Width() / FNumGlyphs, ih = FOriginal->Height();
    if (iw <= 0 || ih <= 0) return -1;
    if (!FImages) FImages = std::make_unique<TImageList>(nullptr, iw, ih);
    FQuiet = true;
    TBitmap tmp;
    tmp.SetSize(iw, ih);
    TRect irect = Rect(0, 0, iw, ih);
    int source = s < FNumGlyphs ? s : 0;
    TRect orect = Rect(source * iw, 0, (source + 1) * iw, ih);
    TCanvas* c = tmp.Canvas();
    if (State != TButtonState::bsDisabled) {
        c->CopyRect(irect, FOriginal->Canvas(), orect);
        FIndexes[s] = FImages->AddMasked(&tmp, FTransparentColor);
        FMasked[s] = true;
    } else if (FNumGlyphs > 1) {
        // The strip's own disabled picture, in the system's colours.
        c->CopyRect(irect, FOriginal->Canvas(), orect);
        ReplaceColor(&tmp, RGB(255, 255, 255), clBtnHighlight);
        ReplaceColor(&tmp, RGB(128, 128, 128), clBtnShadow);
        ReplaceColor(&tmp, ColorToRGB(FTransparentColor), clBtnFace);
        FIndexes[s] = FImages->Add(&tmp, nullptr);
    } else {
        // Made from the picture: its black pixels, embossed in highlight and shadow.
        TBitmap mono;
        MaskOfGlyph(FOriginal.get(), orect.left, iw, ih, mono);
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(irect);
        HDC d = c->Handle();
        auto stamp = [&](int X, int Y, TColor Color) {
            HBRUSH brush = CreateSolidBrush(ColorToRGB(Color));
            HGDIOBJ old = SelectObject(d, brush);
            SetTextColor(d, RGB(0, 0, 0));
            SetBkColor(d, RGB(255, 255, 255));
            BitBlt(d, X, Y, iw, ih, mono.Canvas()->Handle(), 0, 0, ROP_DSPDxax);
            SelectObject(d, old);
            DeleteObject(brush);
        };
        stamp(1, 1, clBtnHighlight);
        stamp(0, 0, clBtnShadow);
        FIndexes[s] = FImages->Add(&tmp, nullptr);
    }
    FQuiet = false;
    return s;
}

// Picture and caption centred across the layout's axis; along it, Margin from the edge and
// Spacing between them, each -1 for an even share of the room left.
void TButtonGlyph::Layout(TCanvas* Canvas, const TRect& Client, const std::string& Caption, TButtonLayout Layout,
                          int Margin, int Spacing, TPoint& GlyphPos, TRect& TextBounds) {
    int w = Client.right - Client.left, h = Client.bottom - Client.top;
    int gw = 0, gh = 0;
    if (!FOriginal->Empty()) {
        gw = FOriginal->Width() / FNumGlyphs;
        gh = FOriginal->Height();
    }
    int tw = 0, th = 0;
    if (!Caption.empty()) {
        RECT r{0, 0, w, 0};
        DrawText(Canvas->Handle(), Caption.c_str(), int(Caption.size()), &r, DT_CALCRECT | DT_SINGLELINE);
        tw = r.right - r.left;
        th = r.bottom - r.top;
    }
    bool horizontal = Layout == TButtonLayout::blGlyphLeft || Layout == TButtonLayout::blGlyphRight;
    TPoint textPos{0, 0};
    if (horizontal) {
        GlyphPos.y = (h - gh + 1) / 2;
        textPos.y = (h - th + 1) / 2;
    } else {
        GlyphPos.x = (w - gw + 1) / 2;
        textPos.x = (w - tw + 1) / 2;
    }
    if (tw == 0 || gw == 0) Spacing = 0;
    int room = horizontal ? w : h, gsize = horizontal ? gw : gh, tsize = horizontal ? tw : th;
    if (Margin == -1) {
        if (Spacing == -1) {
            Margin = (room - gsize - tsize) / 3;
            Spacing = Margin;
        } else {
            Margin = (room - (gsize + Spacing + tsize) + 1) / 2;
        }
    } else if (Spacing == -1) {
        Spacing = (room - (Margin + gsize) - tsize) / 2;
    }
    switch (Layout) {
    case TButtonLayout::blGlyphLeft:
        GlyphPos.x = Margin;
        textPos.x = GlyphPos.x + gw + Spacing;
        break;
    case TButtonLayout::blGlyphRight:
        GlyphPos.x = w - Margin - gw;
        textPos.x = GlyphPos.x - Spacing - tw;
        break;
    case TButtonLayout::blGlyphTop:
        GlyphPos.y = Margin;
        textPos.y = GlyphPos.y + gh + Spacing;
        break;
    case TButtonLayout::blGlyphBottom:
        GlyphPos.y = h - Margin - gh;
        textPos.y = GlyphPos.y - Spacing - th;
        break;
    }
    GlyphPos.x += Client.left;
    GlyphPos.y += Client.top;
    TextBounds = Rect(textPos.x + Client.left, textPos.y + Client.top, textPos.x + Client.left + tw,
                      textPos.y + Client.top + th);
}

TRect TButtonGlyph::Draw(TCanvas* Canvas, const TRect& Client, const std::string& Caption, TButtonLayout Layout,
                         int Margin, int Spacing, TButtonState State) {
    TPoint glyphPos{0, 0};
    TRect textBounds{};
    HDC dc = Canvas->Handle();
    SelectObject(dc, Canvas->Font()->Handle());
    this->Layout(Canvas, Client, Caption, Layout, Margin, Spacing, glyphPos, textBounds);
    int s = FOriginal->Empty() ? -1 : Prepare(State);
    if (s >= 0) {
        if (FMasked[s] && State != TButtonState::bsExclusive) {
            // Transparent parts show the face; on the latched pattern they stay transparent.
            HBRUSH face = CreateSolidBrush(ColorToRGB(clBtnFace));
            RECT r{glyphPos.x, glyphPos.y, glyphPos.x + FImages->Width(), glyphPos.y + FImages->Height()};
            win::FillRect(dc, &r, face);
            DeleteObject(face);
        }
        FImages->Draw(Canvas, glyphPos.x, glyphPos.y, FIndexes[s]);
    }
    if (!Caption.empty()) {
        SelectObject(dc, Canvas->Font()->Handle());
        SetBkMode(dc, TRANSPARENT);
        const unsigned flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        if (State == TButtonState::bsDisabled) {
            RECT r = textBounds;
            OffsetRect(&r, 1, 1);
            SetTextColor(dc, ColorToRGB(clBtnHighlight));
            DrawText(dc, Caption.c_str(), int(Caption.size()), &r, flags);
            SetTextColor(dc, ColorToRGB(clBtnShadow));
        } else {
            SetTextColor(dc, ColorToRGB(Canvas->Font()->Color()));
        }
        DrawText(dc, Caption.c_str(), int(Caption.size()), &textBounds, flags);
    }
    return textBounds;
}

// --- The face --------------------------------------------------------------------------------

TRect DrawButtonFace(TCanvas* Canvas, const TRect& Client, int BevelWidth, TButtonStyle Style, bool IsRounded,
                     bool IsDown, bool IsFocused) {
    TRect r = Client;
    HDC dc = Canvas->Handle();
    if (IsNewStyle(Style)) {
        if (IsDown) {
            DrawEdge(dc, &r, BDR_SUNKENINNER, BF_TOP | BF_LEFT);
            DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_BOTTOM | BF_RIGHT);
            r = Rect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
            DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_TOP | BF_LEFT | BF_MIDDLE);
        } else {
            DrawEdge(dc, &r, BDR_RAISEDOUTER, BF_BOTTOM | BF_RIGHT);
            --r.bottom;
            --r.right;
            DrawEdge(dc, &r, BDR_RAISEDINNER, BF_TOP | BF_LEFT);
            ++r.top;
            ++r.left;
            DrawEdge(dc, &r, BDR_RAISEDINNER, BF_BOTTOM | BF_RIGHT | BF_MIDDLE);
        }
        TRect result = Rect(Client.left + 1, Client.top + 1, Client.right - 2, Client.bottom - 2);
        if (IsDown) OffsetRect(&result, 1, 1);
        return result;
    }
    Canvas->Pen()->SetColor(clWindowFrame);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(TPenStyle::psSolid);
    Canvas->Brush()->SetColor(clBtnFace);
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Rectangle(r.left, r.top, r.right, r.bottom);
    if (IsRounded) {
        Canvas->SetPixels(r.left, r.top, clBtnFace);
        Canvas->SetPixels(r.left, r.bottom - 1, clBtnFace);
        Canvas->SetPixels(r.right - 1, r.top, clBtnFace);
        Canvas->SetPixels(r.right - 1, r.bottom - 1, clBtnFace);
    }
    InflateRect(&r, -1, -1);
    if (IsFocused) {
        Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        Canvas->Rectangle(r.left, r.top, r.right, r.bottom);
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        InflateRect(&r, -1, -1);
    }
    if (IsDown) {
        Canvas->Pen()->SetColor(clBtnShadow);
        for (int i = 0; i < BevelWidth; ++i) {
            Canvas->MoveTo(r.left + i, r.bottom - 1);
            Canvas->LineTo(r.left + i, r.top + i);
            Canvas->LineTo(r.right, r.top + i);
        }
    } else {
        Frame3D(dc, &r, ColorToRGB(clBtnHighlight), ColorToRGB(clBtnShadow), BevelWidth);
    }
    TRect result = r;
    if (IsDown) OffsetRect(&result, 1, 1);
    return result;
}

// --- TBitBtn ---------------------------------------------------------------------------------

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FGlyph(std::make_unique<TButtonGlyph>()) {
    FGlyph->OnChange = [this](TObject*) { Invalidate(); };
}

TBitBtn::~TBitBtn() = default;

TBitmap* TBitBtn::Glyph() const { return FGlyph->Glyph(); }

void TBitBtn::SetGlyph(TBitmap* Value) {
    FGlyph->SetGlyph(Value);
    if (!FSettingKind) FModifiedGlyph = true;
    Invalidate();
}

int TBitBtn::NumGlyphs() const { return FGlyph->NumGlyphs(); }

void TBitBtn::SetNumGlyphs(int Value) {
    FGlyph->SetNumGlyphs(Value);
    Invalidate();
}

TBitBtnKind TBitBtn::Kind() const {
    if (FKind != TBitBtnKind::bkCustom) {
        bool isDefault = FKind == TBitBtnKind::bkOK || FKind == TBitBtnKind::bkYes;
        bool isCancel = FKind == TBitBtnKind::bkCancel || FKind == TBitBtnKind::bkNo;
        if (isDefault != Default() || isCancel != Cancel() || ModalResult() != InfoOf(FKind).Result || FModifiedGlyph)
            FKind = TBitBtnKind::bkCustom;
    }
    return FKind;
}

void TBitBtn::SetKind(TBitBtnKind Value) {
    if (Value == FKind) return;
    if (Value != TBitBtnKind::bkCustom) {
        const TKindInfo& info = InfoOf(Value);
        SetDefault(Value == TBitBtnKind::bkOK || Value == TBitBtnKind::bkYes);
        SetCancel(Value == TBitBtnKind::bkCancel || Value == TBitBtnKind::bkNo);
        // A stored form's own caption, read before the kind, stays.
        if (!IsLoading() || Caption().empty()) SetCaption(info.Caption);
        SetModalResult(info.Result);
        TBitmap stock;
        stock.LoadFromResourceName(nullptr, info.Glyph);
        FSettingKind = true;
        SetGlyph(&stock);
        FSettingKind = false;
        SetNumGlyphs(2);
        FModifiedGlyph = false;
    }
    FKind = Value;
    Invalidate();
}

bool TBitBtn::IsCustomCaption() { return Caption() != InfoOf(Kind()).Caption; }

void TBitBtn::SetLayout(TButtonLayout Value) {
    if (Value == FLayout) return;
    FLayout = Value;
    Invalidate();
}

void TBitBtn::SetMargin(int Value) {
    if (Value == FMargin || Value < -1) return;
    FMargin = Value;
    Invalidate();
}

void TBitBtn::SetSpacing(int Value) {
    if (Value == FSpacing) return;
    FSpacing = Value;
    Invalidate();
}

void TBitBtn::SetStyle(TButtonStyle Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    Invalidate();
}

void TBitBtn::Click() {
    switch (Kind()) {
    case TBitBtnKind::bkClose:
        if (TCustomForm* form = GetParentForm(this)) {
            form->Close();
            return;
        }
        break;
    case TBitBtnKind::bkHelp: {
        TControl* c = this;
        while (c && c->HelpContext() == 0) c = c->Parent();
        if (c && Application) {
            Application->HelpContext(c->HelpContext());
            return;
        }
        break;
    }
    default: break;
    }
    TButton::Click();
}

void TBitBtn::Paint() {
    if (IsNewStyle(FStyle)) {
        TButton::Paint();
        return;
    }
    TCanvas* c = Canvas();
    bool framed = Focused() || (IsActiveDefault() && ParentForm() && ParentForm()->Active());
    TRect inside = DrawButtonFace(c, ClientRect(), 2, TButtonStyle::bsWin31, true, FPressed, framed);
    PaintContent(c->Handle(), inside);
    if (Focused()) {
        TRect focus = ClientRect();
        InflateRect(&focus, -4, -4);
        win::DrawFocusRect(c->Handle(), &focus);
    }
}

void TBitBtn::PaintContent(HDC, TRect Inside) {
    TButtonState state = !Enabled() ? TButtonState::bsDisabled : FPressed ? TButtonState::bsDown : TButtonState::bsUp;
    FGlyph->Draw(Canvas(), Inside, Caption(), FLayout, FMargin, FSpacing, state);
}

void TBitBtn::CMEnabledChanged(TMessage& M) {
    TButton::CMEnabledChanged(M);
    Invalidate();
}

void TBitBtn::CMFontChanged(TMessage& M) {
    TButton::CMFontChanged(M);
    Invalidate();
}

void TBitBtn::CMSysColorChange(TMessage& M) {
    TButton::CMSysColorChange(M);
    FGlyph->Invalidate();
    Invalidate();
}

// --- TSpeedButton ----------------------------------------------------------------------------

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), FGlyph(std::make_unique<TButtonGlyph>()) {
    FGlyph->OnChange = [this](TObject*) { Invalidate(); };
    // Clicks come from MouseUp, so that a press let go outside takes the click back.
    FControlStyle = csCaptureMouse | csOpaque | csDoubleClicks;
    SetBounds(0, 0, 25, 25);
    SetParentFont(true);
}

TSpeedButton::~TSpeedButton() = default;

TBitmap* TSpeedButton::Glyph() const { return FGlyph->Glyph(); }

void TSpeedButton::SetGlyph(TBitmap* Value) {
    FGlyph->SetGlyph(Value);
    Invalidate();
}

int TSpeedButton::NumGlyphs() const { return FGlyph->NumGlyphs(); }

void TSpeedButton::SetNumGlyphs(int Value) {
    FGlyph->SetNumGlyphs(Value);
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value) {
    if (Value == FLayout) return;
    FLayout = Value;
    Invalidate();
}

void TSpeedButton::SetMargin(int Value) {
    if (Value == FMargin || Value < -1) return;
    FMargin = Value;
    Invalidate();
}

void TSpeedButton::SetSpacing(int Value) {
    if (Value == FSpacing) return;
    FSpacing = Value;
    Invalidate();
}

void TSpeedButton::Paint() {
    if (!Enabled()) {
        FState = TButtonState::bsDisabled;
        FDragging = false;
    } else if (FState == TButtonState::bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? TButtonState::bsExclusive : TButtonState::bsUp;
    }
    TCanvas* c = Canvas();
    bool pressed = FState == TButtonState::bsDown || FState == TButtonState::bsExclusive;
    TRect paintRect = DrawButtonFace(c, Rect(0, 0, Width(), Height()), 1, TButtonStyle::bsAutoDetect, false, pressed, false);
    if (FState == TButtonState::bsExclusive) {
        // The latched look: face and white in a checker.
        TBitmap pattern;
        pattern.SetSize(8, 8);
        TCanvas* p = pattern.Canvas();
        p->Brush()->SetColor(clBtnFace);
        p->FillRect(Rect(0, 0, 8, 8));
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if (x % 2 == y % 2) p->SetPixels(x, y, clWhite);
        c->Brush()->SetBitmap(&pattern);
        c->FillRect(Rect(paintRect.left, paintRect.top, paintRect.right - 1, paintRect.bottom - 1));
        c->Brush()->SetBitmap(nullptr);
        c->Brush()->SetColor(clBtnFace);
    }
    FGlyph->Draw(c, paintRect, Caption(), FLayout, FMargin, FSpacing, FState);
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != TMouseButton::mbLeft || !Enabled()) return;
    if (!FDown) {
        FState = TButtonState::bsDown;
        Repaint();
    }
    FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FDragging) return;
    bool inside = X >= 0 && X < Width() && Y >= 0 && Y < Height();
    TButtonState state = FDown ? TButtonState::bsExclusive : inside ? TButtonState::bsDown : TButtonState::bsUp;
    if (state != FState) {
        FState = state;
        Repaint();
    }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging || Button != TMouseButton::mbLeft) return;
    FDragging = false;
    bool doClick = X >= 0 && X < Width() && Y >= 0 && Y < Height();
    if (FGroupIndex == 0) {
        FState = TButtonState::bsUp;
        Repaint();
    } else if (doClick) {
        SetDown(!FDown);
    } else {
        if (FDown) FState = TButtonState::bsExclusive;
        Repaint();
    }
    if (doClick) Click();
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::WMLButtonDblClk(TMessage& M) {
    // The second press of a double click presses the button again; only a down button reports it.
    TGraphicControl::WMLButtonDown(M);
    if (FDown) DblClick();
}

void TSpeedButton::SetDown(bool Value) {
    if (FGroupIndex == 0) Value = false;
    if (Value == FDown) return;
    if (FDown && !FAllowAllUp) return;
    FDown = Value;
    FState = Value ? TButtonState::bsExclusive : TButtonState::bsUp;
    Invalidate();
    if (Value) UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int Value) {
    if (Value == FGroupIndex) return;
    FGroupIndex = Value;
    UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool Value) {
    if (Value == FAllowAllUp) return;
    FAllowAllUp = Value;
    UpdateExclusive();
}

void TSpeedButton::UpdateExclusive() {
    if (FGroupIndex == 0 || !Parent()) return;
    TMessage m{CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(static_cast<TControl*>(this)), 0};
    Parent()->Broadcast(m);
}

void TSpeedButton::CMButtonPressed(TMessage& M) {
    if (int(M.WParam) != FGroupIndex) return;
    // Other button classes tell their groups with the same message.
    auto* sender = dynamic_cast<TSpeedButton*>(reinterpret_cast<TControl*>(M.LParam));
    if (!sender || sender == this) return;
    if (sender->Down() && FDown) {
        FDown = false;
        FState = TButtonState::bsUp;
        Invalidate();
    }
    FAllowAllUp = sender->AllowAllUp();
}

void TSpeedButton::CMDialogChar(TMessage& M) {
    if (IsAccel(unsigned(M.WParam), Caption()) && Enabled() && Visible()) {
        Click();
        M.Result = 1;
    }
}

void TSpeedButton::CMEnabledChanged(TMessage& M) {
    TGraphicControl::CMEnabledChanged(M);
    Invalidate();
}

void TSpeedButton::CMFontChanged(TMessage& M) {
    TGraphicControl::CMFontChanged(M);
    Invalidate();
}

void TSpeedButton::CMTextChanged(TMessage& M) {
    TGraphicControl::CMTextChanged(M);
    Invalidate();
}

void TSpeedButton::CMSysColorChange(TMessage& M) {
    TGraphicControl::CMSysColorChange(M);
    FGlyph->Invalidate();
    Invalidate();
}

// --- Stored forms ----------------------------------------------------------------------------

namespace {

const std::vector<std::string> LayoutNames = {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};

struct TRegistration {
    TRegistration() {
        using B = TBitBtn;
        auto custom = [](TPersistent* o) { return static_cast<B*>(o)->IsCustom(); };
        RegisterClass<B>("TBitBtn", "", With<B>(WinControlProperties<B>(), {
            StringProperty<B>("Caption", &B::Caption, &B::SetCaption)
                .StoredWhen([](TPersistent* o) { return static_cast<B*>(o)->IsCustomCaption(); }),
            BooleanProperty<B>("Cancel", &B::Cancel, &B::SetCancel).WithDefault(0).StoredWhen(custom),
            BooleanProperty<B>("Default", &B::Default, &B::SetDefault).WithDefault(0).StoredWhen(custom),
            IntegerProperty<B>("ModalResult", &B::ModalResult, &B::SetModalResult).WithDefault(0).StoredWhen(custom),
            ClassProperty<B>("Glyph", &B::Glyph).StoredWhen(custom),
            IntegerProperty<B>("NumGlyphs", &B::NumGlyphs, &B::SetNumGlyphs).WithDefault(1).StoredWhen(custom),
            EnumProperty<B>("Kind", &B::Kind, &B::SetKind,
                            {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort",
                             "bkRetry", "bkIgnore", "bkAll"})
                .WithDefault(0),
            EnumProperty<B>("Layout", &B::Layout, &B::SetLayout, LayoutNames).WithDefault(0),
            IntegerProperty<B>("Margin", &B::Margin, &B::SetMargin).WithDefault(-1),
            IntegerProperty<B>("Spacing", &B::Spacing, &B::SetSpacing).WithDefault(4),
            EnumProperty<B>("Style", &B::Style, &B::SetStyle, {"bsAutoDetect", "bsWin31", "bsNew"}).WithDefault(0),
            // A button starts in the face colour, not its parent's.
            BooleanProperty<B>("ParentColor", &B::ParentColor, &B::SetParentColor).WithDefault(0),
        }));
        using S = TSpeedButton;
        RegisterClass<S>("TSpeedButton", "", With<S>(ControlProperties<S>(), {
            BooleanProperty<S>("AllowAllUp", &S::AllowAllUp, &S::SetAllowAllUp).WithDefault(0),
            IntegerProperty<S>("GroupIndex", &S::GroupIndex, &S::SetGroupIndex).WithDefault(0),
            BooleanProperty<S>("Down", &S::Down, &S::SetDown).WithDefault(0),
            ClassProperty<S>("Glyph", &S::Glyph),
            IntegerProperty<S>("NumGlyphs", &S::NumGlyphs, &S::SetNumGlyphs).WithDefault(1),
            EnumProperty<S>("Layout", &S::Layout, &S::SetLayout, LayoutNames).WithDefault(0),
            IntegerProperty<S>("Margin", &S::Margin, &S::SetMargin).WithDefault(-1),
            IntegerProperty<S>("Spacing", &S::Spacing, &S::SetSpacing).WithDefault(4),
        }));
    }
} registration;

} // namespace

} // namespace vcl
