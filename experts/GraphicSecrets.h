// A canvas on the whole screen, for outlines drawn over every window. Implementations in
// GraphicSecrets.cpp.
#pragma once

#include "vcl/Controls.h"

namespace experts {

class TScreenCanvas : public vcl::TCanvas {
public:
    TScreenCanvas() = default;
    ~TScreenCanvas() override;
    TScreenCanvas(const TScreenCanvas&) = delete;
    TScreenCanvas& operator=(const TScreenCanvas&) = delete;

    // Gives the screen's device context back; the next drawing takes it again.
    void FreeHandle();
    // Drawing at 0, 0 lands on the screen point P from now on.
    void SetOrigin(vcl::TPoint P);
    // The control's client origin becomes 0, 0.
    void SetOrigin(vcl::TControl* Control);
    vcl::TPoint OldOrigin() const { return FOldOrigin; }
    // Outlines are kept inside this control's bounds while it is set.
    vcl::TControl* ClipControl() const { return FClipControl; }
    void SetClipControl(vcl::TControl* Value) { FClipControl = Value; }
    // Inverts the outline: drawing the same outline twice leaves the screen as it was.
    void DrawOutline(vcl::TRect R, int Thickness);

protected:
    void CreateHandle() override;

private:
    win::HDC FScreenDC = nullptr;
    vcl::TPoint FOldOrigin;
    vcl::TControl* FClipControl = nullptr;
};

} // namespace experts
