// The colour grid, drawn cell by cell with the chosen colours marked.
#include "vcl/ColorGrd.h"

#include "vcl/StoredControls.h"

#include <algorithm>

namespace vcl {

using namespace win;

namespace {
constexpr TColor Palette[16] = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clSilver,
                                clGray,  clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};
} // namespace

TColorGrid::TColorGrid(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = csOpaque | csCaptureMouse | csClickEvents;
    SetBounds(0, 0, 100, 100);
    SetTabStop(true);
}

TColor TColorGrid::ColorOf(int Index) { return Palette[std::clamp(Index, 0, 15)]; }

int TColorGrid::Columns() const {
    switch (FGridOrdering) {
    case TGridOrdering::go16x1: return 16;
    case TGridOrdering::go8x2: return 8;
    case TGridOrdering::go2x8: return 2;
    case TGridOrdering::go1x16: return 1;
    default: return 4;
    }
}

void TColorGrid::SetGridOrdering(TGridOrdering Value) {
    if (Value == FGridOrdering) return;
    FGridOrdering = Value;
    Invalidate();
}

void TColorGrid::SetForegroundIndex(int Value) {
    Value = std::clamp(Value, 0, 15);
    if (Value == FForegroundIndex) return;
    FForegroundIndex = Value;
    Invalidate();
    Change();
}

void TColorGrid::SetBackgroundIndex(int Value) {
    Value = std::clamp(Value, 0, 15);
    if (Value == FBackgroundIndex) return;
    FBackgroundIndex = Value;
    Invalidate();
    Change();
}

void TColorGrid::SetForegroundEnabled(bool Value) {
    if (Value == FForegroundEnabled) return;
    FForegroundEnabled = Value;
    Invalidate();
}

void TColorGrid::SetBackgroundEnabled(bool Value) {
    if (Value == FBackgroundEnabled) return;
    FBackgroundEnabled = Value;
    Invalidate();
}

void TColorGrid::SetSelection(int Value) {
    Value = std::clamp(Value, 0, 15);
    if (Value == FSelection) return;
    FSelection = Value;
    Invalidate();
}

void TColorGrid::Change() {
    if (OnChange) OnChange(this);
}

TRect TColorGrid::CellRect(int Index) {
    TRect r = ClientRect();
    int cols = Columns(), rows = Rows();
    int col = Index % cols, row = Index / cols;
    // Cells share the width and height; the last ones take what does not divide evenly.
    return Rect(r.right * col / cols, r.bottom * row / rows, r.right * (col + 1) / cols, r.bottom * (row + 1) / rows);
}

int TColorGrid::CellAt(int X, int Y) {
    TRect r = ClientRect();
    if (X < 0 || Y < 0 || X >= r.right || Y >= r.bottom) return -1;
    for (int i = 0; i < 16; ++i) {
        TRect c = CellRect(i);
        if (X >= c.left && X < c.right && Y >= c.top && Y < c.bottom) return i;
    }
    return -1;
}

void TColorGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (CanFocus() && !Focused()) SetFocus();
    int cell = CellAt(X, Y);
    if (cell >= 0) {
        if (Button == TMouseButton::mbLeft && FForegroundEnabled) {
            SetSelection(cell);
            SetForegroundIndex(cell);
        } else if (Button == TMouseButton::mbRight && FBackgroundEnabled) {
            SetSelection(cell);
            SetBackgroundIndex(cell);
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TColorGrid::KeyDown(unsigned& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    int cols = Columns();
    int next;
    switch (Key) {
    case VK_LEFT: next = (FSelection + 15) % 16; break;
    case VK_RIGHT: next = (FSelection + 1) % 16; break;
    case VK_UP: next = (FSelection - cols + 16) % 16; break;
    case VK_DOWN: next = (FSelection + cols) % 16; break;
    case VK_HOME: next = 0; break;
    case VK_END: next = 15; break;
    default: return;
    }
    SetSelection(next);
    // The keys choose the colour the user can choose: the foreground first.
    if (FForegroundEnabled) SetForegroundIndex(next);
    else if (FBackgroundEnabled) SetBackgroundIndex(next);
    Key = 0;
}

void TColorGrid::WMGetDlgCode(TMessage& M) { M.Result = DLGC_WANTARROWS; }

void TColorGrid::WMSetFocus(TMessage& M) {
    TCustomControl::WMSetFocus(M);
    Invalidate();
}

void TColorGrid::WMKillFocus(TMessage& M) {
    TCustomControl::WMKillFocus(M);
    Invalidate();
}

void TColorGrid::Paint() {
    TCanvas* c = Canvas();
    HDC dc = c->Handle();
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    for (int i = 0; i < 16; ++i) {
        TRect cell = CellRect(i);
        RECT edge = cell;
        DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        c->Brush()->SetColor(Palette[i]);
        c->FillRect(edge);
        bool fg = FForegroundEnabled && i == FForegroundIndex;
        bool bg = FBackgroundEnabled && i == FBackgroundIndex;
        if (fg || bg) {
            // The mark in black on light colours, in white on dark ones.
            COLORREF rgb = ColorToRGB(Palette[i]);
            int light = GetRValue(rgb) * 3 + GetGValue(rgb) * 6 + GetBValue(rgb);
            c->Font()->Assign(Font());
            c->Font()->SetColor(light >= 1280 ? clBlack : clWhite);
            c->Brush()->SetStyle(TBrushStyle::bsClear);
            std::string mark = fg && bg ? "FB" : fg ? "FG" : "BG";
            c->TextOut((edge.left + edge.right - c->TextWidth(mark)) / 2,
                       (edge.top + edge.bottom - c->TextHeight(mark)) / 2, mark);
            c->Brush()->SetStyle(TBrushStyle::bsSolid);
        }
    }
    if (Focused()) {
        TRect sel = CellRect(FSelection);
        InflateRect(&sel, -1, -1);
        c->Brush()->SetColor(clWhite);
        c->DrawFocusRect(sel);
    }
}

namespace {

struct TColorGridRegistration {
    TColorGridRegistration() {
        using G = TColorGrid;
        RegisterClass<G>("TColorGrid", "", With<G>(WinControlProperties<G>(), {
            EnumProperty<G>("GridOrdering", &G::GridOrdering, &G::SetGridOrdering,
                            {"go16x1", "go8x2", "go4x4", "go2x8", "go1x16"}).WithDefault(int(TGridOrdering::go4x4)),
            IntegerProperty<G>("ForegroundIndex", &G::ForegroundIndex, &G::SetForegroundIndex).WithDefault(0),
            IntegerProperty<G>("BackgroundIndex", &G::BackgroundIndex, &G::SetBackgroundIndex).WithDefault(15),
            BooleanProperty<G>("ForegroundEnabled", &G::ForegroundEnabled, &G::SetForegroundEnabled).WithDefault(1),
            BooleanProperty<G>("BackgroundEnabled", &G::BackgroundEnabled, &G::SetBackgroundEnabled).WithDefault(1),
            IntegerProperty<G>("Selection", &G::Selection, &G::SetSelection).WithDefault(0),
            EventProperty<G>("OnChange", &G::OnChange),
        }));
    }
} colorGridRegistration;

} // namespace

} // namespace vcl
