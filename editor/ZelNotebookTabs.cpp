// Where the notebook's tabs go: rows, their sizes and the pages' bounds beside them, and which
// tab lies under a point.
#include "editor/ZelNotebook.h"

#include <algorithm>

namespace editor {

using namespace vcl;

namespace {

int CeilDiv(int A, int B) { return B > 0 ? (A + B - 1) / B : 0; }

} // namespace

int TZelNotebook::TextHeightIn(TFont* AFont, const std::string& Text) {
    win::HDC dc = win::GetDC(nullptr);
    win::HGDIOBJ old = win::SelectObject(dc, AFont->Handle());
    win::SIZE size{};
    win::GetTextExtentPoint32(dc, Text.c_str(), int(Text.size()), &size);
    win::SelectObject(dc, old);
    win::ReleaseDC(nullptr, dc);
    return size.cy;
}

void TZelNotebook::LayoutTabs() {
    const int edge = (FTabOrientation == TTabOrientation::toRight ? Height() : Width()) - 1;
    const int n = PageCount();
    if (IsDesigning() && FTabAutoHeight)
        FTabHeight = 4 + std::max(TextHeightIn(FActiveTabFont.get(), "Wy"), TextHeightIn(Font(), "Wy"));
    if (FTabRowCount > 0) {
        FRowCount = FTabRowCount;
        FTabsPerRow = CeilDiv(n, FRowCount);
        if ((FRowCount - 1) * FTabIndent >= edge) FTabIndent = 0;
        while ((FRowCount - 1) * FTabIndent + FTabsPerRow * FTabWidth > edge && FTabWidth > 1) --FTabWidth;
    } else {
        FRowCount = 1;
        FTabsPerRow = n;
        while ((FRowCount - 1) * FTabIndent + FTabsPerRow * FTabWidth > edge && FRowCount < n) {
            ++FRowCount;
            FTabsPerRow = CeilDiv(n, FRowCount);
        }
    }
    while (FTabsPerRow * FRowCount < n) ++FTabsPerRow;
    for (int i = 0; i < n; ++i) FPages[std::size_t(i)]->SetRow(FTabsPerRow > 0 ? i / FTabsPerRow : 0);
    TZelNotebookPage* active = Page(FPageIndex);
    FActiveRow = active ? active->Row() : 0;
}

void TZelNotebook::SetPageBounds() {
    int left = 3, top, width, height;
    if (FTabOrientation == TTabOrientation::toTop) {
        top = FTabHeight * FRowCount + 3;
        width = FTabsPerRow * FTabWidth - 5;
        height = Height() - top - 2;
    } else {
        top = 3;
        height = FTabsPerRow * FTabWidth - 5;
        width = Width() - FTabHeight * FRowCount - 5;
    }
    if (NewLook()) {
        if (Ctl3D()) {
            --width;
            --height;
        } else {
            width += 2;
            height += 2;
            left = 1;
            top -= 2;
        }
    }
    width = std::max(width, 0);
    height = std::max(height, 0);
    for (TZelNotebookPage* page : FPages)
        if (page->Left() != left || page->Top() != top || page->Width() != width || page->Height() != height)
            page->SetBounds(left, top, width, height);
}

void TZelNotebook::ReapplyBounds() { SetBounds(Left(), Top(), Width(), Height()); }

void TZelNotebook::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (!IsLoading()) {
        const bool right = FTabOrientation == TTabOrientation::toRight;
        int size = right ? AHeight : AWidth;
        if (Align() != TAlign::alNone && FTabsPerRow > 0) {
            size = std::max(size, (FRowCount - 1) * FTabIndent + 20 * FTabsPerRow);
            FTabWidth = (size - (FRowCount - 1) * FTabIndent - 1) / FTabsPerRow;
        }
        size = std::max(size, (FRowCount - 1) * FTabIndent + FTabWidth);
        (right ? AHeight : AWidth) = size;
    }
    TZelBase::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (!IsLoading()) {
        LayoutTabs();
        SetPageBounds();
    }
}

int TZelNotebook::TabAtPos(int X, int Y) const {
    for (int i = 0; i < PageCount(); ++i) {
        const TRect& r = FPages[std::size_t(i)]->TabRect();
        if (FPages[std::size_t(i)]->TabVisible() && X >= r.left && X < r.right && Y >= r.top && Y < r.bottom)
            return i;
    }
    return -1;
}

void TZelNotebook::InvalidateTab(int Index) {
    TZelNotebookPage* page = Page(Index);
    if (!page || !HandleAllocated()) return;
    TRect r = page->TabRect();
    if (FTabOrientation == TTabOrientation::toRight) r.left -= 5;
    else r.bottom += 5;
    win::InvalidateRect(Handle(), &r, win::FALSE);
}

TRect TZelNotebook::TabFocusRect(int Index) const {
    TZelNotebookPage* page = Page(Index);
    if (!page) return TRect{};
    TRect r = page->TabRect();
    if (FTabOrientation == TTabOrientation::toTop) {
        r.left += 4;
        r.right -= 4;
        r.top += 3;
        if (NewLook()) --r.left;
    } else {
        r.top += 4;
        r.bottom -= 4;
        r.right -= 3;
        if (NewLook()) --r.top;
    }
    return r;
}

} // namespace editor
