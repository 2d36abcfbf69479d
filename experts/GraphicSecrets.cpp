// The screen canvas.
#include "experts/GraphicSecrets.h"

#include <algorithm>

namespace experts {

using namespace vcl;

TScreenCanvas::~TScreenCanvas() { FreeHandle(); }

void TScreenCanvas::CreateHandle() {
    FScreenDC = win::GetDC(nullptr);
    SetHandle(FScreenDC);
}

void TScreenCanvas::FreeHandle() {
    if (!FScreenDC) return;
    SetHandle(nullptr);
    win::ReleaseDC(nullptr, FScreenDC);
    FScreenDC = nullptr;
}

void TScreenCanvas::SetOrigin(TPoint P) { win::SetViewportOrgEx(Handle(), P.x, P.y, &FOldOrigin); }

void TScreenCanvas::SetOrigin(TControl* Control) { SetOrigin(Control->ClientOrigin()); }

void TScreenCanvas::DrawOutline(TRect R, int Thickness) {
    win::HDC dc = Handle();
    if (R.left > R.right) std::swap(R.left, R.right);
    if (R.top > R.bottom) std::swap(R.top, R.bottom);
    if (FClipControl) {
        // The bounds are screen points for a form, parent points otherwise.
        TRect b = FClipControl->BoundsRect();
        if (FClipControl->Parent()) {
            TPoint o = FClipControl->Parent()->ClientOrigin();
            win::OffsetRect(&b, o.x, o.y);
        }
        win::HRGN clip = win::CreateRectRgn(b.left, b.top, b.right - 1, b.bottom - 1);
        win::SelectClipRgn(dc, clip);
        win::DeleteObject(clip);
    }
    int rings = std::max(Thickness, 1);
    for (int i = 0; i < rings; ++i) {
        TRect r = Rect(R.left + i, R.top + i, R.right - i, R.bottom - i);
        win::DrawFocusRect(dc, &r);
    }
    if (FClipControl) win::SelectClipRgn(dc, nullptr);
}

} // namespace experts
