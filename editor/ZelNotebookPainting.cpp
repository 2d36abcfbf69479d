// How the notebook draws itself: the page frame, each row of tabs and their captions, turned
// for tabs on the right.
#include "editor/ZelNotebook.h"

#include <algorithm>

namespace editor {

using namespace vcl;

void TZelNotebook::Paint() {
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->FillRect(Rect(0, 0, Width(), Height()));
    if (FPages.empty()) return;
    LayoutTabs();
    SetPageBounds();
    for (TZelNotebookPage* page : FPages) page->SetTabRect(TRect{});

    const bool top = FTabOrientation == TTabOrientation::toTop;
    const int lastRow = LastRow();
    for (int k = 0; k < FRowCount; ++k) {
        const int row = (FActiveRow + 1 + k) % FRowCount;
        const int shift = (lastRow - k) * FTabIndent;
        const int across = k * FTabHeight;
        const bool activeRow = row == FActiveRow;
        if (activeRow) PaintPageFrame(FTabsPerRow * FTabWidth);
        int slot = 0;
        auto place = [&](int slotIndex) {
            const int along = shift + slotIndex * FTabWidth;
            return top ? Rect(along, across, along + FTabWidth, across + FTabHeight)
                       : Rect(Width() - across - FTabHeight, along, Width() - across, along + FTabWidth);
        };
        for (int i = row * FTabsPerRow; i < std::min(PageCount(), (row + 1) * FTabsPerRow); ++i) {
            TZelNotebookPage* page = FPages[std::size_t(i)];
            if (!page->TabVisible()) continue;
            TRect r = place(slot++);
            page->SetTabRect(r);
            if (i != FPageIndex) PaintTab(page, i, r, false);
        }
        while (slot < FTabsPerRow) PaintTab(nullptr, -1, place(slot++), false);
        // The active tab goes last, so that its open side lies over the frame.
        if (activeRow)
            if (TZelNotebookPage* active = Page(FPageIndex); active && active->TabVisible())
                PaintTab(active, FPageIndex, active->TabRect(), true);
    }
    if (Focused() && PageUsable(FPageIndex)) {
        c->Brush()->SetColor(Color());
        c->Font()->SetColor(clBtnText);
        c->DrawFocusRect(TabFocusRect(FPageIndex));
    }
}

void TZelNotebook::PaintPageFrame(int SpanEnd) {
    TCanvas* c = Canvas();
    const bool top = FTabOrientation == TTabOrientation::toTop;
    TRect r = top ? Rect(0, FTabHeight * FRowCount, SpanEnd, Height())
                  : Rect(0, 0, Width() - FTabHeight * FRowCount, SpanEnd);
    c->Pen()->SetColor(FHighlightColor);
    c->MoveTo(r.left, r.bottom - 1);
    c->LineTo(r.left, r.top);
    c->LineTo(r.right - 1, r.top);
    c->Pen()->SetColor(clBlack);
    c->MoveTo(r.right - 1, r.top);
    c->LineTo(r.right - 1, r.bottom - 1);
    c->LineTo(r.left - 1, r.bottom - 1);
    c->Pen()->SetColor(FShadowColor);
    c->MoveTo(r.right - 2, r.top + 1);
    c->LineTo(r.right - 2, r.bottom - 2);
    c->LineTo(r.left, r.bottom - 2);
}

void TZelNotebook::PaintTab(TZelNotebookPage* Page, int Index, TRect R, bool Active) {
    TCanvas* c = Canvas();
    const bool top = FTabOrientation == TTabOrientation::toTop;
    const bool newLook = NewLook();
    // The figures are given for a tab on top; a tab on the right is the same figure turned, the
    // tab's outer side to the right and its start at the top.
    const int along = top ? R.right - R.left : R.bottom - R.top;
    auto P = [&](int x, int y) -> TPoint {
        if (top) return Point(R.left + x, R.top + y);
        return Point(R.right - 1 - y, R.top + x);
    };
    const int L = 0, T = 0, Rr = along, B = top ? R.bottom - R.top : R.right - R.left;
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Pen()->SetColor(Color());
    if (!newLook) {
        c->Polygon({P(L, B - 1), P(L, T + 4), P(L + 4, T), P(Rr - 4, T), P(Rr - 1, T + 4), P(Rr - 1, B - 1)});
        c->Pen()->SetColor(clBlack);
        c->Polyline({P(L, B - 1), P(L, T + 4), P(L + 4, T), P(Rr - 4, T), P(Rr, T + 4), P(Rr, B)});
        const int depth = Active ? 2 : 1;
        for (int d = 0; d < depth; ++d) {
            c->Pen()->SetColor(FHighlightColor);
            if (top) c->Polyline({P(L + 1 + d, B - 1), P(L + 1 + d, T + 4), P(L + 4, T + 1 + d), P(Rr - 3, T + 1 + d)});
            else c->Polyline({P(L + 1 + d, B - 1), P(L + 1 + d, T + 4), P(L + 4, T + 1 + d)});
            c->Pen()->SetColor(FShadowColor);
            if (top) c->Polyline({P(Rr - 4, T + 1 + d), P(Rr - 1 - d, T + 4), P(Rr - 1 - d, B)});
            else c->Polyline({P(L + 4, T + 1 + d), P(Rr - 4, T + 1 + d), P(Rr - 1 - d, T + 4), P(Rr - 1 - d, B)});
        }
    } else {
        c->Polygon({P(L, B - 1), P(L, T + 2), P(L + 2, T), P(Rr - 4, T), P(Rr - 2, T + 2), P(Rr - 2, B - 1)});
        c->Pen()->SetColor(FHighlightColor);
        if (top) c->Polyline({P(L, B - 1), P(L, T + 2), P(L + 2, T), P(Rr - 2, T)});
        else c->Polyline({P(L, B - 1), P(L, T + 2), P(L + 2, T)});
        c->Pen()->SetColor(clBlack);
        if (top) c->Polyline({P(Rr - 2, T + 1), P(Rr - 1, T + 2), P(Rr - 1, B)});
        else c->Polyline({P(L + 2, T), P(Rr - 2, T), P(Rr - 1, T + 2), P(Rr - 1, B)});
        c->Pen()->SetColor(FShadowColor);
        c->Polyline({P(Rr - 2, T + 2), P(Rr - 2, B)});
    }
    if (Active) {
        // Open towards the page.
        c->Pen()->SetColor(Color());
        c->Polyline({P(L + 1, B - 1), P(Rr - 1, B - 1)});
        c->Polyline({P(L + 1, B), P(Rr - 2, B)});
    }
    const bool enabled = Page && (IsDesigning() || Page->PageEnabled());
    PaintTabText(Index, Page ? Page->Caption() : std::string(), R, enabled, Active,
                 Page ? Page->TabTextColor() : clBtnText);
}

void TZelNotebook::PaintTabText(int Index, const std::string& Caption, const TRect& R, bool Enabled, bool Active,
                                TColor TextColor) {
    TCanvas* c = Canvas();
    TFont* font = Active ? FActiveTabFont.get() : Font();
    const bool top = FTabOrientation == TTabOrientation::toTop;
    const int textHeight = TextHeightIn(font, "Wy");
    const int offset = top ? (FTabHeight - textHeight + 2) / 2 : (FTabHeight - textHeight + 1) / 2;
    TRect text = top ? Rect(R.left, R.top + offset, R.right, R.bottom) : Rect(R.left, R.top, R.right - offset, R.bottom);
    if (DrawTab(Index, Caption, text, Enabled, Active)) return;
    if (Index < 0) return;

    win::HDC dc = c->Handle();
    win::SetBkMode(dc, win::TRANSPARENT);
    if (top) {
        c->Font()->Assign(font);
        win::HDC fdc = c->Handle();
        auto draw = [&](TColor color, int dx, int dy) {
            c->Font()->SetColor(color);
            TRect r = text;
            win::OffsetRect(&r, dx, dy);
            // Selects the canvas font before drawing.
            (void)c->TextWidth("");
            win::SetTextColor(fdc, ColorToRGB(color));
            win::SetBkMode(fdc, win::TRANSPARENT);
            win::DrawText(fdc, Caption.c_str(), int(Caption.size()), &r, win::DT_SINGLELINE | win::DT_CENTER | win::DT_TOP);
        };
        if (!Enabled) {
            draw(FHighlightColor, 0, 0);
            draw(FShadowColor, -2, -1);
        } else if (FShadowedText) {
            draw(FTextShadowColor, 0, 0);
            draw(TextColor, -2, -1);
        } else {
            draw(TextColor, 0, 0);
        }
        return;
    }

    // Turned text reads downwards; the accelerator is underlined by a line beside its character.
    std::string shown;
    int accel = -1;
    for (std::size_t i = 0; i < Caption.size(); ++i) {
        if (Caption[i] == '&' && accel == -1 && i + 1 < Caption.size()) {
            if (Caption[i + 1] == '&') {
                shown += '&';
                accel = -2;
                ++i;
                continue;
            }
            accel = int(shown.size());
            continue;
        }
        shown += Caption[i];
    }
    win::LOGFONT lf{};
    win::GetObject(font->Handle(), sizeof lf, &lf);
    lf.lfEscapement = 2700;
    lf.lfOrientation = 2700;
    win::HFONT turned = win::CreateFontIndirect(&lf);
    win::HGDIOBJ old = win::SelectObject(dc, turned);
    win::SIZE size{};
    win::GetTextExtentPoint32(dc, shown.c_str(), int(shown.size()), &size);
    const int length = R.bottom - R.top;
    const int start = size.cx < length ? R.top + (length - size.cx) / 2 : R.top + 2;
    const int x = text.right;
    auto draw = [&](TColor color, int dx, int dy) {
        win::SetTextColor(dc, ColorToRGB(color));
        win::TextOut(dc, x + dx, start + dy, shown.c_str(), int(shown.size()));
        if (accel >= 0 && accel < int(shown.size())) {
            win::SIZE before{}, ch{};
            win::GetTextExtentPoint32(dc, shown.c_str(), accel, &before);
            win::GetTextExtentPoint32(dc, shown.c_str() + accel, 1, &ch);
            win::HPEN pen = win::CreatePen(win::PS_SOLID, 1, ColorToRGB(color));
            win::HGDIOBJ oldPen = win::SelectObject(dc, pen);
            const int lineX = x + dx - size.cy + 1;
            win::MoveToEx(dc, lineX, start + dy + before.cx, nullptr);
            win::LineTo(dc, lineX, start + dy + before.cx + ch.cx);
            win::SelectObject(dc, oldPen);
            win::DeleteObject(pen);
        }
    };
    if (!Enabled) {
        draw(FHighlightColor, 0, 0);
        draw(FShadowColor, -1, -2);
    } else if (FShadowedText) {
        draw(FTextShadowColor, 0, 0);
        draw(TextColor, -1, -2);
    } else {
        draw(TextColor, 0, 0);
    }
    win::SelectObject(dc, old);
    win::DeleteObject(turned);
}

} // namespace editor
