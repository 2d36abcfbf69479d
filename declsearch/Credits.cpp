#include "declsearch/Credits.h"

#include "vcl/StoredControls.h"

#include "rtl/Clock.h"

#include <cmath>
#include <cstdlib>

namespace declsearch {

using namespace vcl;

namespace {
int Step() { return 1 + rtl::Random(3); }
} // namespace

TCredits::TCredits(TComponent* AOwner)
    : TCustomControl(AOwner), FCredits(std::make_unique<rtl::TStringList>()), FBitmap(std::make_unique<TBitmap>()) {
    FControlStyle |= csOpaque;
    SetBounds(Left(), Top(), 100, 100);
    Font()->SetColor(clWhite);
    rtl::Randomize();
    for (auto& polygon : FPolygons)
        for (TVertex& v : polygon) {
            v.X = 1 + rtl::Random(Width());
            v.Y = 1 + rtl::Random(Height());
            int dir = rtl::Random(4);
            v.DX = Step() * ((dir & 1) ? -1 : 1);
            v.DY = Step() * ((dir & 2) ? -1 : 1);
        }
}

TCredits::~TCredits() {
    Destroying();
    StopTimer();
}

void TCredits::SetNumberPolygons(int Value) {
    if (FStarted || Value < 0 || Value > 5) return;
    FNumberPolygons = Value;
}

void TCredits::SetIncrement(int Value) {
    if (Value < 1 || Value > 5) return;
    FIncrement = Value;
}

void TCredits::SetBackground(TColor Value) {
    FBackground = Value;
    Invalidate();
}

void TCredits::SetStarted(bool Value) {
    if (Value) {
        FOffset = Height() + 1; // the text enters from below
        FStarted = true;
        StartTimer();
    } else {
        FStarted = false;
        StopTimer();
    }
}

void TCredits::StartTimer() {
    if (!FStarted || FTimerRunning) return;
    // Without a parent there is no window yet; CreateWnd starts it then.
    if (!HandleAllocated() && !Parent() && !ParentWindow()) return;
    win::SetTimer(Handle(), TimerId, Interval, nullptr);
    FTimerRunning = true;
}

void TCredits::StopTimer() {
    if (FTimerRunning && HandleAllocated()) win::KillTimer(Handle(), TimerId);
    FTimerRunning = false;
}

void TCredits::CreateWnd() {
    TCustomControl::CreateWnd();
    StartTimer();
}

void TCredits::DestroyWnd() {
    // The animation ends with the window; the lines stay for the next one.
    StopTimer();
    FStarted = false;
    TCustomControl::DestroyWnd();
}

int TCredits::LineHeight() const { return std::abs(Font()->Height()); }

void TCredits::Dispatch(TMessage& M) {
    if (M.Msg == win::WM_TIMER && M.WParam == TimerId) {
        Tick();
        return;
    }
    TCustomControl::Dispatch(M);
}

void TCredits::Tick() {
    int w = Width(), h = Height();
    FBitmap->SetSize(w, h);
    TCanvas* c = FBitmap->Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(FBackground);
    c->FillRect(Rect(0, 0, w, h));
    for (int i = 0; i < FNumberPolygons; ++i) {
        auto& polygon = FPolygons[std::size_t(i)];
        for (TVertex& v : polygon) {
            v.X += v.DX;
            v.Y += v.DY;
            if (v.X < 0) { v.X = 1; v.DX = Step(); }
            if (v.X > w) { v.X = w - 1; v.DX = -Step(); }
            if (v.Y < 0) { v.Y = 1; v.DY = Step(); }
            if (v.Y > h) { v.Y = h - 1; v.DY = -Step(); }
        }
        c->Pen()->SetColor(FColors[std::size_t(i) % FColors.size()]);
        c->Pen()->SetWidth(1);
        c->Polyline({Point(polygon[0].X, polygon[0].Y), Point(polygon[1].X, polygon[1].Y),
                     Point(polygon[2].X, polygon[2].Y), Point(polygon[3].X, polygon[3].Y),
                     Point(polygon[0].X, polygon[0].Y)});
    }
    int lh = LineHeight();
    FOffset -= FIncrement;
    if (FOffset < -(FCredits->Count() * lh) - 10) FOffset = h + 1;
    c->SetFont(Font());
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    for (int i = 0; i < FCredits->Count(); ++i) {
        std::string line = FCredits->Get(i);
        int x = int(std::nearbyint(w / 2.0 - c->TextWidth(line) / 2.0));
        c->TextOut(x, i * lh + FOffset + 3, line);
    }
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    if (HandleAllocated()) Canvas()->Draw(0, 0, FBitmap.get());
}

void TCredits::Paint() {
    FBitmap->SetSize(Width(), Height());
    TCanvas* c = FBitmap->Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(FBackground);
    c->FillRect(Rect(0, 0, Width(), Height()));
    Canvas()->Draw(0, 0, FBitmap.get());
}

void TCredits::DefineProperties(TFiler* Filer) {
    TCustomControl::DefineProperties(Filer);
    Filer->DefineProperty(
        "Credits",
        [this](TReader& r) {
            FCredits->Clear();
            r.ReadListBegin();
            while (!r.EndOfList()) FCredits->Add(r.ReadString());
            r.ReadListEnd();
        },
        [this](TWriter& w) {
            w.WriteListBegin();
            for (int i = 0; i < FCredits->Count(); ++i) w.WriteString(FCredits->Get(i));
            w.WriteListEnd();
        },
        FCredits->Count() > 0);
}

void RegisterCredits() {
    static bool done = false;
    if (done) return;
    done = true;
    using T = TCredits;
    RegisterClass<T>("TCredits", "", With<T>(ControlProperties<T>(), {
        IntegerProperty<T>("NumberPolygons", &T::NumberPolygons, &T::SetNumberPolygons).WithDefault(5),
        ColorProperty<T>("Background", &T::Background, &T::SetBackground).WithDefault(clBlack),
        ColorProperty<T>("Polygon1Color", &T::Polygon1Color, &T::SetPolygon1Color).WithDefault(clBlue),
        ColorProperty<T>("Polygon2Color", &T::Polygon2Color, &T::SetPolygon2Color).WithDefault(clGreen),
        ColorProperty<T>("Polygon3Color", &T::Polygon3Color, &T::SetPolygon3Color).WithDefault(clRed),
        ColorProperty<T>("Polygon4Color", &T::Polygon4Color, &T::SetPolygon4Color).WithDefault(clYellow),
        ColorProperty<T>("Polygon5Color", &T::Polygon5Color, &T::SetPolygon5Color).WithDefault(clPurple),
        BooleanProperty<T>("Started", &T::Started, &T::SetStarted).WithDefault(0),
        IntegerProperty<T>("Increment", &T::Increment, &T::SetIncrement).WithDefault(1),
    }));
}

} // namespace declsearch
