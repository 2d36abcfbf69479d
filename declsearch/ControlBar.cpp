#include "declsearch/ControlBar.h"

#include "vcl/StoredControls.h"

#include "vcl/Dialogs.h"

#include "rtl/ScopeGuards.h"

#include <algorithm>
#include <cmath>

namespace declsearch {

using namespace vcl;

// --- Frames shared by the bar and the information section -------------------------------------

void DrawPanelFrames(TCanvas* Canvas, TRect& R, bool NewStyle, TKWBevelCut Outer, TKWBevelCut Inner, int BevelWidth,
                     int BorderWidth, TColor BorderColor) {
    auto bevel = [&](TKWBevelCut Cut) {
        if (Cut == bvNone) return;
        bool lowered = Cut == bvLowered;
        if (NewStyle) Frame3D(Canvas, R, lowered ? clWindowFrame : clBtnFace, lowered ? clBtnHighlight : clWindowFrame, BevelWidth);
        Frame3D(Canvas, R, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow, BevelWidth);
    };
    bevel(Outer);
    Frame3D(Canvas, R, BorderColor, BorderColor, BorderWidth);
    bevel(Inner);
}

// --- The bar ---------------------------------------------------------------------------------

TCustomControlBar::TCustomControlBar(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque | csDoubleClicks;
    SetBounds(0, 0, 185, 41);
    SetParentColor(false);
    SetColor(clBtnFace);
}

void TCustomControlBar::Changed(bool Again) {
    if (Again) {
        Realign();
        AlignSections(nullptr);
    }
    Invalidate();
}

void TCustomControlBar::SetAlignment(TAlignment Value) {
    if (Value == FAlignment) return;
    FAlignment = Value;
    Changed(false);
}
void TCustomControlBar::SetBevelInner(TKWBevelCut Value) {
    if (Value == FBevelInner) return;
    FBevelInner = Value;
    Changed(true);
}
void TCustomControlBar::SetBevelOuter(TKWBevelCut Value) {
    if (Value == FBevelOuter) return;
    FBevelOuter = Value;
    Changed(true);
}
void TCustomControlBar::SetBevelWidth(int Value) {
    if (Value == FBevelWidth || Value < 0) return;
    FBevelWidth = Value;
    Changed(true);
}
void TCustomControlBar::SetBorderWidth(int Value) {
    if (Value == FBorderWidth || Value < 0) return;
    FBorderWidth = Value;
    Changed(true);
}
void TCustomControlBar::SetMargin(int Value) {
    if (Value == FMargin) return;
    FMargin = Value;
    Changed(true);
}
void TCustomControlBar::SetStyle(TButtonStyle Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    Changed(false);
}
void TCustomControlBar::SetBorderStyle(TKWBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomControlBar::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.WindowClass.style |= win::CS_HREDRAW | win::CS_VREDRAW;
    if (FBorderStyle == kbsSingle) Params.Style |= win::WS_BORDER;
}

void TCustomControlBar::CMTextChanged(TMessage&) { Invalidate(); }

void TCustomControlBar::WMSize(TMessage& M) {
    TCustomControl::WMSize(M);
    AlignSections(nullptr);
    if (!IsLoading() && OnResize) OnResize(this);
}

void TCustomControlBar::DefineProperties(TFiler* Filer) {
    TCustomControl::DefineProperties(Filer);
    // The old name of ShowHint, read from older forms and never written.
    Filer->DefineProperty("ShowHints", [this](TReader& r) { SetShowHint(r.ReadBoolean()); }, nullptr, false);
}

TRect TCustomControlBar::InnerRect() {
    TRect r = ClientRect();
    int inset = FBorderWidth + (FBevelOuter != bvNone ? FBevelWidth : 0) + (FBevelInner != bvNone ? FBevelWidth : 0);
    win::InflateRect(&r, -inset, -inset);
    return r;
}

void TCustomControlBar::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    DrawPanelFrames(c, r, IsNewStyle(FStyle), FBevelOuter, FBevelInner, FBevelWidth, FBorderWidth, Color());
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    std::string text = Caption().substr(0, 255);
    if (text.empty()) return;
    c->SetFont(Font());
    int th = c->TextHeight("W");
    TRect band = r;
    band.top = (r.top + r.bottom) / 2 - th / 2;
    band.bottom = band.top + th;
    unsigned align = FAlignment == TAlignment::taLeftJustify ? win::DT_LEFT
                   : FAlignment == TAlignment::taRightJustify ? win::DT_RIGHT : win::DT_CENTER;
    win::HDC dc = c->Handle();
    win::SetBkMode(dc, win::TRANSPARENT);
    win::SetTextColor(dc, ColorToRGB(Font()->Color()));
    win::DrawText(dc, text.c_str(), int(text.size()), &band, win::DT_EXPANDTABS | win::DT_SINGLELINE | win::DT_VCENTER | align);
}

namespace {

// The alignment of a section of the kinds the bar places; none for other controls.
bool Placed(TControl* C, THAlign* H, TVAlign* V) {
    if (auto* s = dynamic_cast<TKWCustomSection*>(C)) {
        if (H) *H = s->HAlign();
        if (V) *V = s->VAlign();
        return true;
    }
    if (auto* l = dynamic_cast<TKWListSection*>(C)) {
        if (H) *H = l->HAlign();
        if (V) *V = l->VAlign();
        return true;
    }
    return false;
}

bool KeepsMargin(TControl* C, TKWFrameOption Side) {
    auto* info = dynamic_cast<TKWInfoSection*>(C);
    return !info || (info->Options() & Side);
}

bool OverlapVertically(TControl* A, TControl* B) {
    return A->Top() <= B->Top() + B->Height() && B->Top() <= A->Top() + A->Height();
}

} // namespace

void TCustomControlBar::AlignControls(TControl* AControl, TRect& R) { PlaceSections(AControl, R); }

void TCustomControlBar::AlignSections(TControl* Active) {
    // The class library aligns only when a child has an Align of its own.
    if (FAligning || IsLoading() || IsDestroying()) return;
    TRect r = ClientRect();
    PlaceSections(Active, r);
    Invalidate();
}

void TCustomControlBar::Loaded() {
    TCustomControl::Loaded();
    AlignSections(nullptr);
}

void TCustomControlBar::PlaceSections(TControl* AControl, TRect& R) {
    if (FAligning) return;
    FAligning = true;
    rtl::TScopeExit aligned([this] { FAligning = false; });
    R = InnerRect();
    TCustomControl::AlignControls(AControl, R);
    bool anyH = false, anyV = false;
    for (TControl* c : FControls) {
        THAlign h;
        TVAlign v;
        if (Placed(c, &h, &v)) {
            anyH |= h != haNone;
            anyV |= v != vaNone;
        }
    }
    auto qualifies = [&](TControl* c) { return c->Visible() || IsDesigning(); };
    // Gathers the sections of one alignment: the active one first, then the others in child
    // order, each inserted before the first for which Before answers true.
    auto gather = [&](auto Match, auto Before) {
        std::vector<TControl*> list;
        if (AControl && Match(AControl) && qualifies(AControl)) list.push_back(AControl);
        for (TControl* c : FControls) {
            if (c == AControl || !Match(c) || !qualifies(c)) continue;
            auto at = std::find_if(list.begin(), list.end(), [&](TControl* g) { return Before(g, c); });
            list.insert(at, c);
        }
        return list;
    };
    auto hmatch = [](THAlign A) { return [A](TControl* c) { THAlign h; return Placed(c, &h, nullptr) && h == A; }; };
    auto vmatch = [](TVAlign A) { return [A](TControl* c) { TVAlign v; return Placed(c, nullptr, &v) && v == A; }; };
    auto never = [](TControl*, TControl*) { return false; };
    if (anyH) {
        std::vector<TControl*> placed;
        for (TControl* c : gather(hmatch(haLeft), [](TControl* g, TControl* c) { return g->Left() > c->Left(); })) {
            int edge = R.left;
            for (TControl* p : placed)
                if (OverlapVertically(p, c)) edge = std::max(edge, p->Left() + p->Width());
            c->SetBounds(edge + (KeepsMargin(c, foLeft) ? FMargin : 0), c->Top(), c->Width(), c->Height());
            placed.push_back(c);
        }
        placed.clear();
        for (TControl* c : gather(hmatch(haRight), [](TControl* g, TControl* c) {
                 return g->Left() + g->Width() < c->Left() + c->Width(); })) {
            int edge = R.right;
            for (TControl* p : placed)
                if (OverlapVertically(p, c)) edge = std::min(edge, p->Left());
            int right = edge - (KeepsMargin(c, foRight) ? FMargin : 0);
            c->SetBounds(right - c->Width(), c->Top(), c->Width(), c->Height());
            placed.push_back(c);
        }
        for (TControl* c : gather(hmatch(haCenter), never))
            c->SetBounds(int(std::trunc((R.left + R.right) / 2.0 - c->Width() / 2.0)), c->Top(), c->Width(), c->Height());
    }
    if (anyV) {
        for (TControl* c : gather(vmatch(vaTop), [](TControl* g, TControl* c) { return g->Top() > c->Top(); }))
            c->SetBounds(c->Left(), R.top + (KeepsMargin(c, foTop) ? FMargin : 0), c->Width(), c->Height());
        for (TControl* c : gather(vmatch(vaBottom), [](TControl* g, TControl* c) {
                 return g->Top() + g->Height() < c->Top() + c->Height(); }))
            c->SetBounds(c->Left(), R.bottom - (KeepsMargin(c, foBottom) ? FMargin : 0) - c->Height(), c->Width(),
                         c->Height());
        for (TControl* c : gather(vmatch(vaCenter), never))
            c->SetBounds(c->Left(), int(std::trunc((R.top + R.bottom) / 2.0 - c->Height() / 2.0)), c->Width(), c->Height());
    }
}

// --- Stored properties -----------------------------------------------------------------------

namespace {

// The place properties but Fixed, which each kind of section stores after its own.
template <class T>
std::vector<TPropInfo> PlaceProperties() {
    return {
        BooleanProperty<T>("AutoResize", &T::AutoResize, &T::SetAutoResize).WithDefault(0),
        IntegerProperty<T>("MaxWidth", &T::MaxWidth, &T::SetMaxWidth).WithDefault(-1),
        IntegerProperty<T>("MaxHeight", &T::MaxHeight, &T::SetMaxHeight).WithDefault(-1),
        IntegerProperty<T>("MinWidth", &T::MinWidth, &T::SetMinWidth).WithDefault(-1),
        IntegerProperty<T>("MinHeight", &T::MinHeight, &T::SetMinHeight).WithDefault(-1),
        EnumProperty<T>("HAlign", &T::HAlign, &T::SetHAlign, {"haNone", "haLeft", "haCenter", "haRight"}).WithDefault(haNone),
        EnumProperty<T>("VAlign", &T::VAlign, &T::SetVAlign, {"vaNone", "vaTop", "vaCenter", "vaBottom"}).WithDefault(vaNone),
    };
}

template <class T>
std::vector<TPropInfo> SectionProperties() {
    auto props = With<T>(ControlProperties<T>(), {
        BooleanProperty<T>("AllowAllUp", &T::AllowAllUp, &T::SetAllowAllUp).WithDefault(0),
        IntegerProperty<T>("GroupIndex", &T::GroupIndex, &T::SetGroupIndex).WithDefault(0),
        BooleanProperty<T>("Down", &T::Down, &T::SetDown).WithDefault(0),
        EnumProperty<T>("Layout", &T::Layout, &T::SetLayout,
                        {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}).WithDefault(blGlyphLeft),
        IntegerProperty<T>("Margin", &T::Margin, &T::SetMargin).WithDefault(-1),
        IntegerProperty<T>("NumGlyphs", &T::NumGlyphs, &T::SetNumGlyphs).WithDefault(1),
        IntegerProperty<T>("Spacing", &T::Spacing, &T::SetSpacing).WithDefault(4),
        EnumProperty<T>("Alignment", &T::Alignment, &T::SetAlignment,
                        {"taLeftJustify", "taRightJustify", "taCenter"}).WithDefault(int(TAlignment::taCenter)),
    });
    return With<T>(With<T>(std::move(props), PlaceProperties<T>()), {
        EnumProperty<T>("Style", &T::Style, &T::SetStyle, {"bsAutoDetect", "bsWin31", "bsNew"}).WithDefault(bsAutoDetect),
        BooleanProperty<T>("Fixed", &T::Fixed, &T::SetFixed).WithDefault(0),
    });
}

const std::vector<std::string> BevelNames = {"bvNone", "bvLowered", "bvRaised"};
const std::vector<std::string> BorderNames = {"bsNone", "bsSingle"};

} // namespace

void RegisterControlBar() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterClass<TKWControlSection>("TKWControlSection", "", SectionProperties<TKWControlSection>());
    using I = TKWInfoSection;
    RegisterClass<I>("TKWInfoSection", "", With<I>(SectionProperties<I>(), {
        EnumProperty<I>("BevelInner", &I::BevelInner, &I::SetBevelInner, BevelNames).WithDefault(bvNone),
        EnumProperty<I>("BevelOuter", &I::BevelOuter, &I::SetBevelOuter, BevelNames).WithDefault(bvLowered),
        IntegerProperty<I>("BevelWidth", &I::BevelWidth, &I::SetBevelWidth).WithDefault(1),
        IntegerProperty<I>("BorderWidth", &I::BorderWidth, &I::SetBorderWidth).WithDefault(0),
        EnumProperty<I>("BorderStyle", &I::BorderStyle, &I::SetBorderStyle, BorderNames).WithDefault(kbsNone),
        SetProperty<I>("Options", &I::Options, &I::SetOptions, {"foLeft", "foRight", "foTop", "foBottom"})
            .WithDefault(foLeft | foRight | foTop | foBottom),
        ColorProperty<I>("BorderColor", &I::BorderColor, &I::SetBorderColor).StoredWhen([](TPersistent* o) {
            auto* s = static_cast<I*>(o);
            return !s->Parent() || s->BorderColor() != s->Parent()->Color();
        }),
    }));
    using L = TKWListSection;
    RegisterClass<L>("TKWListSection", "", With<L>(With<L>(With<L>(TextControlProperties<L>(), {
        EnumProperty<L>("Style", &L::Style, &L::SetStyle, {"csDropDown", "csSimple", "csDropDownList"}).WithDefault(0),
        IntegerProperty<L>("DropDownCount", &L::DropDownCount, &L::SetDropDownCount).WithDefault(8),
        IntegerProperty<L>("MaxLength", &L::MaxLength, &L::SetMaxLength).WithDefault(0),
        BooleanProperty<L>("Sorted", &L::Sorted, &L::SetSorted).WithDefault(0),
        StringsProperty<L>("Items", &L::Items),
        StringProperty<L>("Text", &L::Text, &L::SetText),
    }), PlaceProperties<L>()), {
        BooleanProperty<L>("Fixed", &L::Fixed, &L::SetFixed).WithDefault(0),
    }));
    using B = TKWControlBar;
    RegisterClass<B>("TKWControlBar", "", With<B>(WinControlProperties<B>(), {
        EnumProperty<B>("Alignment", &B::Alignment, &B::SetAlignment,
                        {"taLeftJustify", "taRightJustify", "taCenter"}).WithDefault(int(TAlignment::taCenter)),
        EnumProperty<B>("BevelInner", &B::BevelInner, &B::SetBevelInner, BevelNames).WithDefault(bvNone),
        EnumProperty<B>("BevelOuter", &B::BevelOuter, &B::SetBevelOuter, BevelNames).WithDefault(bvRaised),
        IntegerProperty<B>("BevelWidth", &B::BevelWidth, &B::SetBevelWidth).WithDefault(1),
        IntegerProperty<B>("BorderWidth", &B::BorderWidth, &B::SetBorderWidth).WithDefault(0),
        EnumProperty<B>("BorderStyle", &B::BorderStyle, &B::SetBorderStyle, BorderNames).WithDefault(kbsNone),
        IntegerProperty<B>("Margin", &B::Margin, &B::SetMargin).WithDefault(0),
        EnumProperty<B>("Style", &B::Style, &B::SetStyle, {"bsAutoDetect", "bsWin31", "bsNew"}).WithDefault(bsAutoDetect),
        BooleanProperty<B>("Locked", &B::Locked, &B::SetLocked).WithDefault(0),
    }));
}

} // namespace declsearch
