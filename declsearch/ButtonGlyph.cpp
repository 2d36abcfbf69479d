#include "declsearch/ButtonGlyph.h"

#include "vcl/Buttons.h"

#include <algorithm>

namespace declsearch {

using namespace vcl;

bool IsNewStyle(TButtonStyle Style) {
    return Style == bsNew || (Style == bsAutoDetect && win::NewShellLook());
}

// --- Bit pool --------------------------------------------------------------------------------

void TBitPool::SetSize(int Value) {
    if (Value < 0) Value = 0;
    FWords.resize(std::size_t((Value + 31) / 32), 0);
    // Bits beyond a smaller size must not come back set when it grows again.
    if (Value < FSize && Value % 32 && !FWords.empty()) FWords.back() &= (1u << (Value % 32)) - 1;
    FSize = Value;
}

void TBitPool::SetBit(int Index) {
    if (Index < 0) return;
    if (Index >= FSize) SetSize(Index + 1);
    FWords[std::size_t(Index / 32)] |= 1u << (Index % 32);
}

void TBitPool::ClearBit(int Index) {
    if (Index < 0 || Index >= FSize) return;
    FWords[std::size_t(Index / 32)] &= ~(1u << (Index % 32));
}

bool TBitPool::Bit(int Index) const {
    if (Index < 0 || Index >= FSize) return false;
    return FWords[std::size_t(Index / 32)] & (1u << (Index % 32));
}

int TBitPool::OpenBit() const {
    for (std::size_t w = 0; w < FWords.size(); ++w) {
        if (FWords[w] == 0xFFFFFFFFu) continue;
        for (int b = 0; b < 32; ++b) {
            int index = int(w) * 32 + b;
            if (index >= FSize) return -1;
            if (!(FWords[w] & (1u << b))) return index;
        }
    }
    return -1;
}

// --- Glyph lists and the cache ---------------------------------------------------------------

TGlyphList::TGlyphList(int AWidth, int AHeight) : FWidth(AWidth), FHeight(AHeight) {}
TGlyphList::~TGlyphList() = default;

int TGlyphList::AllocateIndex() {
    int index = FUsed.OpenBit();
    if (index < 0) {
        FImages.push_back(std::make_unique<TImageList>(nullptr, FWidth, FHeight));
        index = int(FImages.size()) - 1;
        FUsed.SetSize(index + 1);
    }
    FUsed.SetBit(index);
    ++FCount;
    return index;
}

int TGlyphList::Add(TBitmap* Image) {
    int index = AllocateIndex();
    FImages[std::size_t(index)]->Clear();
    FImages[std::size_t(index)]->Add(Image, nullptr);
    return index;
}

int TGlyphList::AddMasked(TBitmap* Image, TColor MaskColor) {
    int index = AllocateIndex();
    FImages[std::size_t(index)]->Clear();
    FImages[std::size_t(index)]->AddMasked(Image, MaskColor);
    return index;
}

void TGlyphList::Delete(int Index) {
    if (!FUsed.Bit(Index)) return;
    FUsed.ClearBit(Index);
    --FCount;
}

void TGlyphList::Draw(TCanvas* Canvas, int X, int Y, int Index) {
    if (Index < 0 || Index >= int(FImages.size())) return;
    FImages[std::size_t(Index)]->Draw(Canvas, X, Y, 0);
}

TGlyphList* TGlyphCache::GetList(int AWidth, int AHeight) {
    for (auto it = FLists.rbegin(); it != FLists.rend(); ++it)
        if ((*it)->Width() == AWidth && (*it)->Height() == AHeight) return it->get();
    FLists.push_back(std::make_unique<TGlyphList>(AWidth, AHeight));
    return FLists.back().get();
}

void TGlyphCache::ReturnList(TGlyphList* List) {
    if (!List || List->Count() != 0) return;
    auto it = std::find_if(FLists.begin(), FLists.end(), [List](const auto& l) { return l.get() == List; });
    if (it == FLists.end()) return;
    FLists.erase(it);
}

namespace {
TGlyphCache* Cache = nullptr;
TBitmap* Pattern = nullptr;
} // namespace

TGlyphCache* GlyphCache() { return Cache; }

TBitmap* SectionPattern() {
    if (!Pattern) {
        Pattern = new TBitmap;
        Pattern->SetSize(8, 8);
        TCanvas* c = Pattern->Canvas();
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(Rect(0, 0, 8, 8));
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if ((x % 2) == (y % 2)) c->SetPixels(x, y, clWhite);
    }
    return Pattern;
}

void FreeSectionPattern() {
    delete Pattern;
    Pattern = nullptr;
}

// --- The glyph -------------------------------------------------------------------------------

TButtonGlyph::TButtonGlyph(TGlyphOwner* AOwner) : FOwner(AOwner), FOriginal(std::make_unique<TBitmap>()) {
    FOriginal->OnChange = [this](TObject* Sender) { GlyphChanged(Sender); };
    HookCanvas();
    if (!Cache) Cache = new TGlyphCache;
}

// Drawing on the picture's canvas is a change of the picture too.
void TButtonGlyph::HookCanvas() {
    FOriginal->Canvas()->OnChange = [this](TObject*) {
        if (!FQuiet) GlyphChanged(FOriginal.get());
    };
}

TButtonGlyph::~TButtonGlyph() {
    FOriginal->OnChange = nullptr;
    FOriginal->Canvas()->OnChange = nullptr;
    Invalidate();
    if (Cache && Cache->Empty()) {
        delete Cache;
        Cache = nullptr;
    }
}

void TButtonGlyph::Invalidate() {
    for (int& index : FIndexs) {
        if (index != -1 && FGlyphList) FGlyphList->Delete(index);
        index = -1;
    }
    if (FGlyphList && Cache) Cache->ReturnList(FGlyphList);
    FGlyphList = nullptr;
}

void TButtonGlyph::GlyphChanged(TObject* Sender) {
    if (Sender != FOriginal.get()) return;
    if (FOriginal->Height() > 0 && FOriginal->Width() > 0)
        FTransparentColor = FOriginal->Canvas()->Pixels(0, FOriginal->Height() - 1);
    Invalidate();
    if (OnChange) OnChange(nullptr);
}

void TButtonGlyph::SetGlyph(TBitmap* Value) {
    Invalidate();
    // The copy is taken quietly; the count and colour below are what changes.
    auto handler = std::move(FOriginal->OnChange);
    FOriginal->OnChange = nullptr;
    FQuiet = true;
    if (Value) FOriginal->Assign(Value);
    else FOriginal->SetSize(0, 0);
    FQuiet = false;
    FOriginal->OnChange = std::move(handler);
    HookCanvas();
    if (Value && Value->Height() > 0) {
        FTransparentColor = FOriginal->Canvas()->Pixels(0, FOriginal->Height() - 1);
        if (int n = vcl::GlyphCountOf(Value)) FNumGlyphs = n;
    }
    if (OnChange) OnChange(nullptr);
}

void TButtonGlyph::SetNumGlyphs(int Value) {
    if (Value == FNumGlyphs || Value <= 0) return;
    Invalidate();
    FNumGlyphs = Value;
    if (OnChange) OnChange(nullptr);
}

int TButtonGlyph::CreateButtonGlyph(TButtonState State) {
    if (State == bsDown && FNumGlyphs < 3) State = bsUp;
    if (FIndexs[State] != -1) return FIndexs[State];
    if (FOriginal->Width() == 0 || FOriginal->Height() == 0) return -1;
    int iw = FOriginal->Width() / FNumGlyphs, ih = FOriginal->Height();
    if (iw <= 0) return -1;
    if (!FGlyphList) {
        if (!Cache) Cache = new TGlyphCache;
        FGlyphList = Cache->GetList(iw, ih);
    }
    TBitmap tmp;
    tmp.SetSize(iw, ih);
    TRect irect = Rect(0, 0, iw, ih);
    int source = int(State) < FNumGlyphs ? int(State) : 0;
    TRect orect = Rect(source * iw, 0, (source + 1) * iw, ih);
    TCanvas* c = tmp.Canvas();
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(irect);
    int index = -1;
    if (State == bsExclusive) {
        c->CopyRect(irect, FOriginal->Canvas(), orect);
        index = FGlyphList->AddMasked(&tmp, FTransparentColor);
    } else if (State == bsDisabled && FNumGlyphs == 1) {
        TBitmap mono;
        vcl::MaskOfGlyph(FOriginal.get(), orect.left, iw, ih, mono);
        win::HDC m = mono.Canvas()->Handle();
        win::HDC d = c->Handle();
        win::SetTextColor(d, win::RGB(255, 255, 255));
        win::SetBkColor(d, win::RGB(0, 0, 0));
        win::BitBlt(d, 1, 1, iw, ih, m, 0, 0, win::MERGEPAINT);
        win::BitBlt(d, 0, 0, iw, ih, m, 0, 0, win::SRCAND);
        win::SetTextColor(d, win::RGB(0, 0, 0));
        win::SetBkColor(d, ColorToRGB(clBtnShadow));
        win::BitBlt(d, 0, 0, iw, ih, m, 0, 0, win::SRCPAINT);
        c->SetCopyMode(cmSrcCopy);
        index = FGlyphList->Add(&tmp);
    } else {
        c->BrushCopy(irect, FOriginal.get(), orect, FTransparentColor);
        index = FGlyphList->Add(&tmp);
    }
    FIndexs[State] = index;
    return index;
}

void TButtonGlyph::DrawButtonGlyph(TCanvas* Canvas, TPoint GlyphPos, TButtonState State) {
    if (FOriginal->Width() == 0 || FOriginal->Height() == 0) return;
    int index = CreateButtonGlyph(State);
    if (index >= 0) FGlyphList->Draw(Canvas, GlyphPos.x, GlyphPos.y, index);
}

void TButtonGlyph::DrawButtonText(TCanvas* Canvas, const std::string& Caption, TRect TextBounds,
                                  TButtonState State) {
    std::string text = Caption.substr(0, 255);
    Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    win::HDC dc = Canvas->Handle();
    (void)Canvas->TextWidth("W"); // selects the font before the raw calls
    win::SetBkMode(dc, win::TRANSPARENT);
    if (State == bsDisabled) {
        TRect r = TextBounds;
        win::OffsetRect(&r, 1, 1);
        win::SetTextColor(dc, win::RGB(255, 255, 255));
        win::DrawText(dc, text.c_str(), int(text.size()), &r, win::DT_LEFT | win::DT_TOP);
        win::SetTextColor(dc, win::RGB(128, 128, 128));
        win::DrawText(dc, text.c_str(), int(text.size()), &TextBounds, win::DT_LEFT | win::DT_TOP);
    } else {
        unsigned align = win::DT_CENTER;
        switch (FOwner ? FOwner->GlyphAlignment() : TAlignment::taCenter) {
        case TAlignment::taLeftJustify: align = win::DT_LEFT; break;
        case TAlignment::taRightJustify: align = win::DT_RIGHT; break;
        case TAlignment::taCenter: align = win::DT_CENTER; break;
        }
        win::SetTextColor(dc, ColorToRGB(Canvas->Font()->Color()));
        win::DrawText(dc, text.c_str(), int(text.size()), &TextBounds,
                      win::DT_SINGLELINE | win::DT_VCENTER | align);
    }
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
}

void TButtonGlyph::CalcButtonLayout(TCanvas* Canvas, const TRect& Client, const std::string& Caption,
                                    TButtonLayout Layout, int Margin, int Spacing, TPoint& GlyphPos,
                                    TRect& TextBounds) {
    int w = Client.right - Client.left, h = Client.bottom - Client.top;
    int gw = 0, gh = 0;
    if (FOriginal->Width() > 0 && FOriginal->Height() > 0) {
        gw = FOriginal->Width() / FNumGlyphs;
        gh = FOriginal->Height();
    }
    int tw = 0, th = 0;
    std::string text = Caption.substr(0, 255);
    if (!text.empty()) {
        TRect r = Rect(0, 0, w, 0);
        (void)Canvas->TextWidth("W");
        win::DrawText(Canvas->Handle(), text.c_str(), int(text.size()), &r, win::DT_CALCRECT | win::DT_SINGLELINE);
        tw = r.right - r.left;
        th = r.bottom - r.top;
    }
    TAlignment align = FOwner ? FOwner->GlyphAlignment() : TAlignment::taCenter;
    bool vertical = Layout == blGlyphTop || Layout == blGlyphBottom;
    TPoint text_pos{0, 0};
    if (vertical) {
        switch (align) {
        case TAlignment::taLeftJustify: GlyphPos.x = 1; text_pos.x = 1; break;
        case TAlignment::taRightJustify: GlyphPos.x = w - gw - 1; text_pos.x = w - tw - 1; break;
        case TAlignment::taCenter: GlyphPos.x = w / 2 - gw / 2; text_pos.x = w / 2 - tw / 2; break;
        }
    } else {
        GlyphPos.y = h / 2 - gh / 2;
        text_pos.y = h / 2 - th / 2;
    }
    if (tw == 0 || gw == 0) Spacing = 0;
    // Left alignment favours the near edge for the left layout and the far edge for the right one;
    // right alignment the other way round.
    bool nearEdge = (align == TAlignment::taLeftJustify) == (Layout == blGlyphLeft);
    if (Margin == -1) {
        if (Spacing == -1) {
            if (vertical) {
                Margin = Spacing = (h - gh - th) / 3;
            } else if (align == TAlignment::taCenter) {
                Margin = Spacing = (w - gw - tw) / 3;
            } else {
                Margin = nearEdge ? 1 : w - (gw + tw) - 5;
                Spacing = 4;
            }
        } else {
            if (vertical) Margin = h / 2 - (Spacing + gh + th) / 2;
            else if (align == TAlignment::taCenter) Margin = w / 2 - (Spacing + gw + tw) / 2;
            else Margin = nearEdge ? 1 : w - (Spacing + gw + tw) - 1;
        }
    } else if (Spacing == -1) {
        int r = vertical ? h - Margin - gh : w - Margin - gw;
        if (vertical) Spacing = r / 2 - th / 2;
        else if (align == TAlignment::taCenter) Spacing = r / 2 - tw / 2;
        else Spacing = nearEdge ? 4 : r - tw - 1;
    }
    switch (Layout) {
    case blGlyphLeft:
        GlyphPos.x = Margin;
        text_pos.x = Margin + gw + Spacing;
        break;
    case blGlyphRight:
        GlyphPos.x = w - Margin - gw;
        text_pos.x = GlyphPos.x - Spacing - tw;
        break;
    case blGlyphTop:
        GlyphPos.y = Margin;
        text_pos.y = Margin + gh + Spacing;
        break;
    case blGlyphBottom:
        GlyphPos.y = h - Margin - gh;
        text_pos.y = GlyphPos.y - Spacing - th;
        break;
    }
    GlyphPos.x += Client.left;
    GlyphPos.y += Client.top;
    TextBounds = Rect(text_pos.x + Client.left, text_pos.y + Client.top, text_pos.x + Client.left + tw,
                      text_pos.y + Client.top + th);
}

TRect TButtonGlyph::Draw(TCanvas* Canvas, const TRect& Client, TButtonState State, int Spacing, int Margin,
                         TButtonLayout Layout, const std::string& Caption) {
    TPoint glyphPos{0, 0};
    TRect textBounds{};
    CalcButtonLayout(Canvas, Client, Caption, Layout, Margin, Spacing, glyphPos, textBounds);
    DrawButtonGlyph(Canvas, glyphPos, State);
    if (!Caption.empty()) DrawButtonText(Canvas, Caption, textBounds, State);
    return textBounds;
}

// --- Faces and frames ------------------------------------------------------------------------

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopLeft, TColor BottomRight, int Width) {
    TPen* pen = Canvas->Pen();
    pen->SetWidth(1);
    pen->SetStyle(TPenStyle::psSolid);
    for (int i = 0; i < Width; ++i) {
        int l = Rect.left, t = Rect.top, r = Rect.right - 1, b = Rect.bottom - 1;
        if (r < l || b < t) return;
        pen->SetColor(TopLeft);
        Canvas->MoveTo(l, b);
        Canvas->LineTo(l, t);
        Canvas->LineTo(r, t);
        pen->SetColor(BottomRight);
        Canvas->MoveTo(r, t);
        Canvas->LineTo(r, b);
        Canvas->LineTo(l - 1, b);
        win::InflateRect(&Rect, -1, -1);
    }
}

TRect DrawButtonFace(TCanvas* Canvas, const TRect& Client, int BevelWidth, TButtonStyle Style, bool IsRounded,
                     bool IsDown, bool IsFocused) {
    TRect r = Client;
    if (IsNewStyle(Style)) {
        Canvas->Brush()->SetColor(clBtnFace);
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas->FillRect(r);
        if (IsDown) {
            Frame3D(Canvas, r, clWindowFrame, clBtnHighlight, 1);
            Frame3D(Canvas, r, clBtnShadow, clBtnShadow, 1);
        } else {
            Frame3D(Canvas, r, clBtnFace, clWindowFrame, 1);
            Frame3D(Canvas, r, clBtnHighlight, clBtnShadow, 1);
        }
    } else {
        Canvas->Pen()->SetColor(clWindowFrame);
        Canvas->Pen()->SetWidth(1);
        Canvas->Brush()->SetColor(clBtnFace);
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas->Rectangle(r.left, r.top, r.right, r.bottom);
        if (IsRounded) {
            Canvas->SetPixels(r.left, r.top, clBtnFace);
            Canvas->SetPixels(r.left, r.bottom - 1, clBtnFace);
            Canvas->SetPixels(r.right - 1, r.top, clBtnFace);
            Canvas->SetPixels(r.right - 1, r.bottom - 1, clBtnFace);
        }
        win::InflateRect(&r, -1, -1);
        if (IsFocused) {
            Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
            Canvas->Rectangle(r.left, r.top, r.right, r.bottom);
            Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
            win::InflateRect(&r, -1, -1);
        }
        if (IsDown) {
            Canvas->Pen()->SetColor(clBtnShadow);
            for (int i = 0; i < BevelWidth; ++i) {
                Canvas->MoveTo(r.left + i, r.bottom - 1);
                Canvas->LineTo(r.left + i, r.top + i);
                Canvas->LineTo(r.right, r.top + i);
            }
        } else {
            Frame3D(Canvas, r, clBtnHighlight, clBtnShadow, BevelWidth);
        }
    }
    TRect result = Client;
    win::InflateRect(&result, -BevelWidth, -BevelWidth);
    if (IsDown) win::OffsetRect(&result, 1, 1);
    return result;
}

} // namespace declsearch
