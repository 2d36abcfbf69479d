// The about box's animated panel: coloured four-cornered outlines drifting and bouncing off the
// edges while lines of text scroll upwards, drawn off screen on each tick of a window timer.
#pragma once

#include "vcl/Controls.h"

#include "rtl/StringLists.h"

#include <array>
#include <memory>

namespace declsearch {

class TCredits : public vcl::TCustomControl {
public:
    explicit TCredits(vcl::TComponent* AOwner);
    ~TCredits() override;

    static constexpr unsigned TimerId = 1;
    static constexpr unsigned Interval = 50;

    int NumberPolygons() const { return FNumberPolygons; }
    // Taken only while stopped, and only 0 to 5.
    void SetNumberPolygons(int Value);
    rtl::TStrings* Credits() const { return FCredits.get(); }
    void SetCredits(const rtl::TStrings& Value) { FCredits->Assign(Value); }
    vcl::TColor Background() const { return FBackground; }
    void SetBackground(vcl::TColor Value);
    vcl::TColor PolygonColor(int Index) const { return FColors[std::size_t(Index)]; }
    void SetPolygonColor(int Index, vcl::TColor Value) { FColors[std::size_t(Index)] = Value; }
    vcl::TColor Polygon1Color() const { return FColors[0]; }
    void SetPolygon1Color(vcl::TColor V) { FColors[0] = V; }
    vcl::TColor Polygon2Color() const { return FColors[1]; }
    void SetPolygon2Color(vcl::TColor V) { FColors[1] = V; }
    vcl::TColor Polygon3Color() const { return FColors[2]; }
    void SetPolygon3Color(vcl::TColor V) { FColors[2] = V; }
    vcl::TColor Polygon4Color() const { return FColors[3]; }
    void SetPolygon4Color(vcl::TColor V) { FColors[3] = V; }
    vcl::TColor Polygon5Color() const { return FColors[4]; }
    void SetPolygon5Color(vcl::TColor V) { FColors[4] = V; }
    bool Started() const { return FStarted; }
    void SetStarted(bool Value);
    // The scroll step, 1 to 5.
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value);

    struct TVertex {
        int X, Y, DX, DY;
    };
    const std::array<TVertex, 4>& Polygon(int Index) const { return FPolygons[std::size_t(Index)]; }
    int ScrollOffset() const { return FOffset; }
    // One step of the animation, as on a tick of the timer.
    void Tick();

protected:
    void Paint() override;
    void Dispatch(vcl::TMessage& Message) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void DefineProperties(vcl::TFiler* Filer) override;

private:
    void StartTimer();
    void StopTimer();
    int LineHeight() const;

    int FNumberPolygons = 5;
    std::unique_ptr<rtl::TStringList> FCredits;
    vcl::TColor FBackground = vcl::clBlack;
    std::array<vcl::TColor, 5> FColors{vcl::clBlue, vcl::clGreen, vcl::clRed, vcl::clYellow, vcl::clPurple};
    bool FStarted = false;
    bool FTimerRunning = false;
    int FIncrement = 1;
    std::array<std::array<TVertex, 4>, 6> FPolygons{};
    int FOffset = 0;
    std::unique_ptr<vcl::TBitmap> FBitmap;
};

void RegisterCredits();

} // namespace declsearch
