// Edit boxes and memos. The text lives in the control; rows are the lines of the text, or the
// pieces of them that fit the width when the memo wraps words.
#include "vcl/EditCtrls.h"

#include "vcl/StoredControls.h"

#include "rtl/LineSplitter.h"
#include "rtl/ScopeGuards.h"
#include "rtl/SysUtils.h"

#include "vcl/Clipbrd.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace vcl {

using namespace win;

namespace {

constexpr int kMargin = 2;

// A screen DC with the control's font, for measuring before and after the window exists.
class TMeasureDC {
public:
    explicit TMeasureDC(TFont* Font) : FDC(GetDC(nullptr)), FOld(SelectObject(FDC, Font->Handle())) {}
    ~TMeasureDC() {
        SelectObject(FDC, FOld);
        ReleaseDC(nullptr, FDC);
    }
    TMeasureDC(const TMeasureDC&) = delete;
    TMeasureDC& operator=(const TMeasureDC&) = delete;
    HDC DC() const { return FDC; }

private:
    HDC FDC;
    HGDIOBJ FOld;
};

// Word movement sees blanks, line breaks, punctuation and word characters as separate kinds.
int CharKind(char C) {
    unsigned char u = static_cast<unsigned char>(C);
    if (C == ' ' || C == '\t') return 0;
    if (C == '\r' || C == '\n') return 1;
    if (std::isalnum(u) || C == '_' || u >= 0x80) return 3;
    return 2;
}

// Lone CR or LF become CR LF, as the multi-line window keeps its text.
std::string NormalizeBreaks(const std::string& S) {
    std::string out;
    out.reserve(S.size());
    rtl::TLineSplitter lines(S);
    for (std::string_view line; lines.Next(line);) {
        out += line;
        if (!lines.Break().empty()) out += "\r\n";
    }
    return out;
}

int SignedParam(std::uintptr_t V) { return int(static_cast<std::intptr_t>(V)); }

} // namespace

// --- TCustomEdit ----------------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks | csOpaque;
    SetBounds(0, 0, 121, 25);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Caption.clear();
    Params.ExStyle |= WS_EX_CLIENTEDGE;
    if (FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth) Params.Style |= WS_VSCROLL;
    if (FScrollBars == TScrollStyle::ssHorizontal || FScrollBars == TScrollStyle::ssBoth) Params.Style |= WS_HSCROLL;
    Params.WindowClass.hCursor = LoadCursor(nullptr, IDC_IBEAM);
}

std::string TCustomEdit::GetText() { return FBuf; }

void TCustomEdit::SetTextValue(const std::string& Value) {
    if (HandleAllocated()) SendMessage(Handle(), WM_SETTEXT, 0, LPARAM(Value.c_str()));
    else SetBuffer(Value, false);
}

std::string TCustomEdit::InCase(const std::string& Value) const {
    switch (FCharCase) {
    case TEditCharCase::ecUpperCase: return rtl::AnsiUpperCase(Value);
    case TEditCharCase::ecLowerCase: return rtl::AnsiLowerCase(Value);
    default: return Value;
    }
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
    if (Value == FCharCase) return;
    FCharCase = Value;
    std::string turned = InCase(FBuf);
    if (turned == FBuf) return;
    int anchor = FAnchor, caret = FCaret;
    SetBuffer(turned, HandleAllocated());
    SetSel(anchor, caret, false);
}

void TCustomEdit::SetBuffer(const std::string& Value, bool Notify) {
    FBuf = InCase(FMultiLine ? NormalizeBreaks(Value) : Value);
    FAnchor = FCaret = 0;
    FTopRow = FLeftPx = 0;
    FGoalX = -1;
    FModified = false;
    Relayout();
    UpdateCaret();
    Invalidate();
    BufferChanged();
    if (Notify) NotifyChange();
}

void TCustomEdit::CMTextChanged(TMessage&) { Invalidate(); }

void TCustomEdit::CMFontChanged(TMessage& M) {
    TCustomControl::CMFontChanged(M);
    FLineHeight = 0;
    Relayout();
    if (FHasCaret) {
        DestroyCaret();
        CreateCaret(Handle(), nullptr, 1, LineHeight());
        ShowCaret(Handle());
    }
    UpdateCaret();
}

void TCustomEdit::WMSize(TMessage& M) {
    TCustomControl::WMSize(M);
    if (FInScrollBars) return;
    Relayout();
    UpdateCaret();
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomEdit::NotifyChange() {
    HWND parent = HandleAllocated() ? GetParent(Handle()) : nullptr;
    // The parent hands the notification back to the control, which then runs OnChange.
    if (parent && TWinControl::FromHandle(parent))
        SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle()), int(EN_CHANGE)), LPARAM(Handle()));
    else
        Change();
}

// --- Geometry -------------------------------------------------------------------------------

RECT TCustomEdit::TextRect() {
    RECT r{0, 0, Width(), Height()};
    if (HandleAllocated()) GetClientRect(Handle(), &r);
    r.left += kMargin;
    r.right = std::max(r.left + 1, r.right - kMargin - FRightSpace);
    r.top += 1;
    return r;
}

void TCustomEdit::SetRightSpace(int Value) {
    Value = std::max(0, Value);
    if (Value == FRightSpace) return;
    FRightSpace = Value;
    Relayout();
    ScrollCaret();
    Invalidate();
}

int TCustomEdit::LineHeight() {
    LoadMetrics();
    return FLineHeight;
}

int TCustomEdit::VisibleRows() {
    RECT r = TextRect();
    return std::max(1, int((r.bottom - r.top) / LineHeight()));
}

void TCustomEdit::LoadMetrics() {
    if (FLineHeight > 0) return;
    TMeasureDC m(Font());
    TEXTMETRIC tm{};
    GetTextMetrics(m.DC(), &tm);
    FLineHeight = std::max(1, int(tm.tmHeight));
    FAveCharWidth = std::max(1, int(tm.tmAveCharWidth));
    // Text is as wide as the sum of its characters' advances, so one table serves all measuring.
    GetCharWidth(m.DC(), 0, 255, FAdvance.data());
}

int TCustomEdit::Measure(const char* Text, int Count) {
    LoadMetrics();
    int w = 0;
    for (int i = 0; i < Count; ++i) w += FAdvance[static_cast<unsigned char>(Text[i])];
    return w;
}

int TCustomEdit::TextWidth(int Start, int Count) { return Measure(FBuf.data() + Start, Count); }

void TCustomEdit::Relayout() {
    FRows.clear();
    if (!FMultiLine) {
        FRows.push_back({0, int(FBuf.size())});
        FWidest = TextWidth(0, int(FBuf.size()));
    } else {
        FWidest = 0;
        RECT tr = TextRect();
        int avail = tr.right - tr.left;
        rtl::TLineSplitter lines(FBuf);
        // A last line break, or no text at all, leaves an empty row for the caret.
        bool open = true;
        for (std::string_view line; lines.Next(line); open = !lines.Break().empty()) {
            const int lineEnd = int(line.data() - FBuf.data() + line.size());
            int s = int(line.data() - FBuf.data());
            int whole = TextWidth(s, lineEnd - s);
            if (!FWordWrap) FWidest = std::max(FWidest, whole);
            else if (whole > avail) {
                while (s < lineEnd && TextWidth(s, lineEnd - s) > avail) {
                    // The longest piece that fits, broken after a blank where there is one.
                    int fit = s + 1;
                    for (int w = TextWidth(s, 1); fit < lineEnd && w + FAdvance[static_cast<unsigned char>(FBuf[std::size_t(fit)])] <= avail; ++fit)
                        w += FAdvance[static_cast<unsigned char>(FBuf[std::size_t(fit)])];
                    int brk = fit;
                    while (brk > s && FBuf[std::size_t(brk - 1)] != ' ') --brk;
                    if (brk == s) brk = fit;
                    FRows.push_back({s, brk - s});
                    s = brk;
                }
            }
            FRows.push_back({s, lineEnd - s});
        }
        if (open) FRows.push_back({int(FBuf.size()), 0});
    }
    FTopRow = std::clamp(FTopRow, 0, std::max(0, RowCount() - 1));
    UpdateScrollBars();
}

int TCustomEdit::Clamp(int Pos) const {
    int n = int(FBuf.size());
    Pos = std::clamp(Pos, 0, n);
    // Never between the two characters of a line break.
    if (FMultiLine && Pos > 0 && Pos < n && FBuf[std::size_t(Pos - 1)] == '\r' && FBuf[std::size_t(Pos)] == '\n') --Pos;
    return Pos;
}

int TCustomEdit::RowOf(int Pos) const {
    auto it = std::upper_bound(FRows.begin(), FRows.end(), Pos, [](int p, const TRow& r) { return p < r.Start; });
    return std::max(0, int(it - FRows.begin()) - 1);
}

int TCustomEdit::XOf(int Pos) {
    const TRow& r = FRows[std::size_t(RowOf(Pos))];
    return TextWidth(r.Start, std::min(Pos, r.Start + r.Length) - r.Start);
}

int TCustomEdit::PosAt(int Row, int X) {
    Row = std::clamp(Row, 0, RowCount() - 1);
    const TRow& r = FRows[std::size_t(Row)];
    LoadMetrics();
    int prev = 0;
    for (int k = 1; k <= r.Length; ++k) {
        int w = prev + FAdvance[static_cast<unsigned char>(FBuf[std::size_t(r.Start + k - 1)])];
        if (X < (prev + w) / 2) return r.Start + k - 1;
        prev = w;
    }
    int end = r.Start + r.Length;
    // A wrapped row ends where the next begins; the caret stays on this row before its last blank.
    if (Row + 1 < RowCount() && FRows[std::size_t(Row) + 1].Start == end && end > r.Start) --end;
    return end;
}

int TCustomEdit::PosFromPoint(int X, int Y) {
    RECT tr = TextRect();
    int row = FTopRow + (Y - tr.top < 0 ? -1 : (Y - tr.top) / LineHeight());
    return PosAt(row, X - tr.left + FLeftPx);
}

int TCustomEdit::WordRight(int Pos) const {
    int n = int(FBuf.size());
    if (Pos >= n) return n;
    int kind = CharKind(FBuf[std::size_t(Pos)]);
    if (kind == 1) return Clamp(Pos + (FBuf[std::size_t(Pos)] == '\r' && Pos + 1 < n && FBuf[std::size_t(Pos) + 1] == '\n' ? 2 : 1));
    if (kind != 0)
        while (Pos < n && CharKind(FBuf[std::size_t(Pos)]) == kind) ++Pos;
    while (Pos < n && CharKind(FBuf[std::size_t(Pos)]) == 0) ++Pos;
    return Pos;
}

int TCustomEdit::WordLeft(int Pos) const {
    while (Pos > 0 && CharKind(FBuf[std::size_t(Pos - 1)]) == 0) --Pos;
    if (Pos == 0) return 0;
    int kind = CharKind(FBuf[std::size_t(Pos - 1)]);
    if (kind == 1) return Clamp(Pos - (Pos >= 2 && FBuf[std::size_t(Pos - 2)] == '\r' && FBuf[std::size_t(Pos - 1)] == '\n' ? 2 : 1));
    while (Pos > 0 && CharKind(FBuf[std::size_t(Pos - 1)]) == kind) --Pos;
    return Pos;
}

// --- Selection and scrolling ----------------------------------------------------------------

void TCustomEdit::SetSel(int Anchor, int Caret, bool Scroll) {
    Anchor = Clamp(Anchor);
    Caret = Clamp(Caret);
    if (Anchor == FAnchor && Caret == FCaret) {
        if (Scroll) ScrollCaret();
        return;
    }
    FAnchor = Anchor;
    FCaret = Caret;
    if (Scroll) ScrollCaret();
    UpdateCaret();
    Invalidate();
}

int TCustomEdit::SelStart() { return std::min(FAnchor, FCaret); }
int TCustomEdit::SelLength() { return std::abs(FCaret - FAnchor); }
void TCustomEdit::SetSelStart(int Value) { SetSel(Value, Value); }
void TCustomEdit::SetSelLength(int Value) {
    int s = SelStart();
    SetSel(s, s + std::max(0, Value));
}
std::string TCustomEdit::SelText() { return FBuf.substr(std::size_t(SelStart()), std::size_t(SelLength())); }
void TCustomEdit::SetSelText(const std::string& Value) { ReplaceSelection(Value, false); }
void TCustomEdit::SelectAll() { SetSel(0, int(FBuf.size()), false); }
void TCustomEdit::ClearSelection() {
    if (HandleAllocated()) SendMessage(Handle(), WM_CLEAR, 0, 0);
    else if (!FReadOnly) ReplaceSelection("", false);
}

void TCustomEdit::SetMaxLength(int Value) { FMaxLength = std::max(0, Value); }

void TCustomEdit::SetReadOnly(bool Value) {
    if (Value == FReadOnly) return;
    FReadOnly = Value;
    Invalidate();
}

void TCustomEdit::SetHideSelection(bool Value) {
    if (Value == FHideSelection) return;
    FHideSelection = Value;
    Invalidate();
}

void TCustomEdit::ScrollCaret() {
    int row = RowOf(FCaret);
    int top = FTopRow;
    int vis = VisibleRows();
    if (row < top) top = row;
    else if (row >= top + vis) top = row - vis + 1;
    int left = FLeftPx;
    if (!FWordWrap) {
        RECT tr = TextRect();
        int width = tr.right - tr.left;
        int x = XOf(FCaret);
        if (x < left) left = std::max(0, x - width / 4);
        else if (x > left + width - 1) left = x - width + width / 4;
    }
    ScrollTo(top, left);
}

void TCustomEdit::ScrollTo(int TopRow, int LeftPx) {
    int maxTop = FMultiLine ? std::max(0, RowCount() - VisibleRows()) : 0;
    TopRow = std::clamp(TopRow, 0, maxTop);
    LeftPx = std::max(0, LeftPx);
    if (TopRow == FTopRow && LeftPx == FLeftPx) return;
    FTopRow = TopRow;
    FLeftPx = LeftPx;
    UpdateScrollBars();
    UpdateCaret();
    Invalidate();
}

void TCustomEdit::UpdateScrollBars() {
    if (!HandleAllocated() || FInScrollBars || FScrollBars == TScrollStyle::ssNone) return;
    FInScrollBars = true;
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    if (FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth) {
        si.nMin = 0;
        si.nMax = RowCount() - 1;
        si.nPage = UINT(VisibleRows());
        si.nPos = FTopRow;
        SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
    }
    if (FScrollBars == TScrollStyle::ssHorizontal || FScrollBars == TScrollStyle::ssBoth) {
        RECT tr = TextRect();
        si.nMin = 0;
        si.nMax = FWordWrap ? 0 : FWidest;
        si.nPage = UINT(std::max(1, int(tr.right - tr.left)));
        si.nPos = FLeftPx;
        SetScrollInfo(Handle(), SB_HORZ, &si, TRUE);
    }
    FInScrollBars = false;
}

void TCustomEdit::UpdateCaret() {
    if (!FHasCaret || !HandleAllocated()) return;
    RECT tr = TextRect();
    int row = RowOf(FCaret);
    SetCaretPos(tr.left + XOf(FCaret) - FLeftPx, tr.top + (row - FTopRow) * LineHeight());
}

// --- Changing the text ----------------------------------------------------------------------

void TCustomEdit::ReplaceSelection(const std::string& Value, bool ByUser) {
    if (ByUser && FReadOnly) {
        MessageBeep(0);
        return;
    }
    std::string text = InCase(Value);
    if (FMultiLine) {
        text = NormalizeBreaks(text);
    } else if (auto br = text.find_first_of("\r\n"); br != std::string::npos) {
        text.resize(br); // one line only, as pasted into a single-line box
    }
    int s = SelStart();
    int len = SelLength();
    if (FMaxLength > 0) {
        int room = std::max(0, FMaxLength - (int(FBuf.size()) - len));
        if (int(text.size()) > room) {
            text.resize(std::size_t(room));
            if (!text.empty() && text.back() == '\r') text.pop_back();
            MessageBeep(0);
        }
    }
    if (text.empty() && len == 0) return;
    FBuf.replace(std::size_t(s), std::size_t(len), text);
    FAnchor = FCaret = s + int(text.size());
    FGoalX = -1;
    FModified = true;
    Relayout();
    ScrollCaret();
    UpdateCaret();
    Invalidate();
    BufferChanged();
    NotifyChange();
}

void TCustomEdit::CopyToClipboard() {
    if (HandleAllocated()) SendMessage(Handle(), WM_COPY, 0, 0);
}
void TCustomEdit::CutToClipboard() {
    if (HandleAllocated()) SendMessage(Handle(), WM_CUT, 0, 0);
}
void TCustomEdit::PasteFromClipboard() {
    if (HandleAllocated()) SendMessage(Handle(), WM_PASTE, 0, 0);
}


// --- Messages -------------------------------------------------------------------------------

void TCustomEdit::Dispatch(TMessage& M) {
    switch (M.Msg) {
    case WM_SETTEXT: WMSetText(M); return;
    case EM_GETSEL: EMGetSel(M); return;
    case EM_SETSEL: EMSetSel(M); return;
    case EM_LINEFROMCHAR: EMLineFromChar(M); return;
    case EM_LINEINDEX: EMLineIndex(M); return;
    case EM_LINELENGTH: EMLineLength(M); return;
    case EM_GETLINECOUNT: EMGetLineCount(M); return;
    case EM_GETFIRSTVISIBLELINE: EMGetFirstVisibleLine(M); return;
    case EM_LINESCROLL: EMLineScroll(M); return;
    case EM_SCROLLCARET: EMScrollCaret(M); return;
    case EM_REPLACESEL: EMReplaceSel(M); return;
    case EM_GETMODIFY: EMGetModify(M); return;
    case EM_SETMODIFY: EMSetModify(M); return;
    case EM_LIMITTEXT: EMLimitText(M); return;
    case EM_SETREADONLY: EMSetReadOnly(M); return;
    case WM_COPY: WMCopy(M); return;
    case WM_CUT: WMCut(M); return;
    case WM_PASTE: WMPaste(M); return;
    case WM_CLEAR: WMClear(M); return;
    case WM_VSCROLL:
    case WM_HSCROLL: WMScroll(M); return;
    case CM_WANTSPECIALKEY: CMWantSpecialKey(M); return;
    case CN_COMMAND: CNCommand(M); return;
    default: TCustomControl::Dispatch(M);
    }
}

void TCustomEdit::WMSetText(TMessage& M) {
    SetBuffer(M.LParam ? std::string(reinterpret_cast<const char*>(M.LParam)) : std::string(), true);
    M.Result = TRUE;
}

void TCustomEdit::EMGetSel(TMessage& M) {
    int s = SelStart(), e = s + SelLength();
    if (M.WParam) *reinterpret_cast<DWORD*>(M.WParam) = DWORD(s);
    if (M.LParam) *reinterpret_cast<DWORD*>(M.LParam) = DWORD(e);
    M.Result = MAKELRESULT(std::min(s, 0xFFFF), std::min(e, 0xFFFF));
}

void TCustomEdit::EMSetSel(TMessage& M) {
    int s = SignedParam(M.WParam), e = SignedParam(M.LParam);
    if (s == -1) s = e = FCaret; // takes the selection away, the caret stays
    else if (e < 0) e = int(FBuf.size());
    SetSel(s, e, false);
    M.Result = 0;
}

void TCustomEdit::EMLineFromChar(TMessage& M) {
    int i = SignedParam(M.WParam);
    M.Result = (i == -1 || i == 0xFFFF) ? RowOf(SelStart()) : RowOf(Clamp(i));
}

void TCustomEdit::EMLineIndex(TMessage& M) {
    int line = SignedParam(M.WParam);
    if (line == -1 || line == 0xFFFF) line = RowOf(FCaret);
    M.Result = (line < 0 || line >= RowCount()) ? -1 : FRows[std::size_t(line)].Start;
}

void TCustomEdit::EMLineLength(TMessage& M) {
    int i = SignedParam(M.WParam);
    if (i == -1 || i == 0xFFFF) {
        // The characters of the selection's lines that are not selected.
        int s = SelStart(), e = s + SelLength();
        const TRow& a = FRows[std::size_t(RowOf(s))];
        const TRow& b = FRows[std::size_t(RowOf(e))];
        M.Result = (s - a.Start) + std::max(0, b.Start + b.Length - e);
    } else {
        M.Result = FRows[std::size_t(RowOf(Clamp(i)))].Length;
    }
}

void TCustomEdit::EMGetLineCount(TMessage& M) { M.Result = RowCount(); }

void TCustomEdit::EMGetFirstVisibleLine(TMessage& M) { M.Result = FMultiLine ? FTopRow : PosAt(0, FLeftPx); }

void TCustomEdit::EMLineScroll(TMessage& M) {
    if (!FMultiLine) {
        M.Result = FALSE;
        return;
    }
    LoadMetrics();
    ScrollTo(FTopRow + SignedParam(M.LParam), FWordWrap ? 0 : FLeftPx + SignedParam(M.WParam) * FAveCharWidth);
    M.Result = TRUE;
}

void TCustomEdit::EMScrollCaret(TMessage& M) {
    ScrollCaret();
    M.Result = TRUE;
}

void TCustomEdit::EMReplaceSel(TMessage& M) {
    ReplaceSelection(M.LParam ? std::string(reinterpret_cast<const char*>(M.LParam)) : std::string(), false);
    M.Result = 0;
}

void TCustomEdit::EMGetModify(TMessage& M) { M.Result = FModified; }

void TCustomEdit::EMSetModify(TMessage& M) {
    FModified = M.WParam != 0;
    M.Result = 0;
}

void TCustomEdit::EMLimitText(TMessage& M) {
    SetMaxLength(SignedParam(M.WParam));
    M.Result = 0;
}

void TCustomEdit::EMSetReadOnly(TMessage& M) {
    SetReadOnly(M.WParam != 0);
    M.Result = TRUE;
}

void TCustomEdit::WMCopy(TMessage& M) {
    if (SelLength() > 0) PutClipboardText(Handle(), SelText());
    M.Result = 0;
}

void TCustomEdit::WMCut(TMessage& M) {
    // Nothing leaves the text unless it is on the clipboard.
    if (SelLength() > 0 && !FReadOnly && PutClipboardText(Handle(), SelText()) == TClipboardResult::crOk) ReplaceSelection("", true);
    M.Result = 0;
}

void TCustomEdit::WMPaste(TMessage& M) {
    std::string text;
    if (!FReadOnly && GetClipboardText(Handle(), text)) ReplaceSelection(text, true);
    M.Result = 0;
}

void TCustomEdit::WMClear(TMessage& M) {
    if (!FReadOnly && SelLength() > 0) ReplaceSelection("", true);
    M.Result = 0;
}

void TCustomEdit::WMScroll(TMessage& M) {
    bool vert = M.Msg == WM_VSCROLL;
    int code = LOWORD(M.WParam);
    int page = vert ? VisibleRows() : std::max(1, int(TextRect().right - TextRect().left));
    int line = vert ? 1 : 8;
    int pos = vert ? FTopRow : FLeftPx;
    switch (code) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = SHORT(HIWORD(M.WParam)); break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = vert ? RowCount() : pos; break;
    default: break;
    }
    if (vert) ScrollTo(pos, FLeftPx);
    else ScrollTo(FTopRow, pos);
    M.Result = 0;
}

void TCustomEdit::CMWantSpecialKey(TMessage& M) {
    // A memo keeps Enter for new lines; Escape still reaches the form's Cancel button.
    M.Result = FMultiLine && M.WParam == VK_RETURN;
}

void TCustomEdit::CNCommand(TMessage& M) {
    if (HIWORD(M.WParam) == EN_CHANGE) Change();
    M.Result = 0;
}

void TCustomEdit::WMGetDlgCode(TMessage& M) {
    M.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
}

void TCustomEdit::WMSetFocus(TMessage& M) {
    TCustomControl::WMSetFocus(M);
    if (!HandleAllocated()) return;
    CreateCaret(Handle(), nullptr, 1, LineHeight());
    FHasCaret = true;
    UpdateCaret();
    ShowCaret(Handle());
    if (SelLength() > 0) Invalidate();
}

void TCustomEdit::WMKillFocus(TMessage& M) {
    if (FHasCaret) {
        FHasCaret = false;
        DestroyCaret();
    }
    FSelecting = false;
    TCustomControl::WMKillFocus(M);
    if (SelLength() > 0 && FHideSelection) Invalidate();
}

// --- Keyboard and mouse ---------------------------------------------------------------------

void TCustomEdit::KeyDown(unsigned& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0) return;
    bool shift = Shift & ssShift;
    bool ctrl = Shift & ssCtrl;
    int n = int(FBuf.size());
    int s = SelStart(), e = s + SelLength();
    auto moveTo = [&](int Pos, bool KeepGoal = false) {
        if (!KeepGoal) FGoalX = -1;
        SetSel(shift ? FAnchor : Pos, Pos);
    };
    auto step = [&](int Pos, int Dir) {
        if (Dir < 0) return Clamp(Pos - ((Pos >= 2 && FBuf[std::size_t(Pos - 2)] == '\r' && FBuf[std::size_t(Pos - 1)] == '\n' && FMultiLine) ? 2 : 1));
        return Clamp(Pos + ((Pos + 1 < n && FBuf[std::size_t(Pos)] == '\r' && FBuf[std::size_t(Pos) + 1] == '\n' && FMultiLine) ? 2 : 1));
    };
    auto vertical = [&](int Rows) {
        if (FGoalX < 0) FGoalX = XOf(FCaret);
        int goal = FGoalX;
        moveTo(PosAt(RowOf(FCaret) + Rows, goal), true);
        FGoalX = goal;
    };
    switch (Key) {
    case VK_LEFT:
        if (ctrl) moveTo(WordLeft(FCaret));
        else if (!shift && s != e) moveTo(s);
        else moveTo(step(FCaret, -1));
        break;
    case VK_RIGHT:
        if (ctrl) moveTo(WordRight(FCaret));
        else if (!shift && s != e) moveTo(e);
        else moveTo(step(FCaret, 1));
        break;
    case VK_UP:
        if (FMultiLine) vertical(-1);
        else moveTo(step(FCaret, -1));
        break;
    case VK_DOWN:
        if (FMultiLine) vertical(1);
        else moveTo(step(FCaret, 1));
        break;
    case VK_PRIOR:
        if (FMultiLine) vertical(-VisibleRows());
        break;
    case VK_NEXT:
        if (FMultiLine) vertical(VisibleRows());
        break;
    case VK_HOME: moveTo(ctrl ? 0 : FRows[std::size_t(RowOf(FCaret))].Start); break;
    case VK_END: {
        if (ctrl) {
            moveTo(n);
            break;
        }
        int row = RowOf(FCaret);
        moveTo(PosAt(row, 1 << 28));
        break;
    }
    case VK_DELETE:
        if (shift) SendMessage(Handle(), WM_CUT, 0, 0);
        else if (FReadOnly) MessageBeep(0);
        else {
            if (s == e) SetSel(s, step(s, 1), false);
            ReplaceSelection("", true);
        }
        break;
    case VK_INSERT:
        if (ctrl) SendMessage(Handle(), WM_COPY, 0, 0);
        else if (shift) SendMessage(Handle(), WM_PASTE, 0, 0);
        break;
    default:
        if (ctrl && !shift && (Key == 'C' || Key == 'X' || Key == 'V')) {
            SendMessage(Handle(), Key == 'C' ? WM_COPY : Key == 'X' ? WM_CUT : WM_PASTE, 0, 0);
            break;
        }
        return;
    }
    Key = 0;
}

void TCustomEdit::KeyPress(char& Key) {
    TCustomControl::KeyPress(Key);
    if (Key == 0) return;
    unsigned char k = static_cast<unsigned char>(Key);
    if (k == '\b') {
        if (FReadOnly) MessageBeep(0);
        else {
            int s = SelStart();
            if (SelLength() == 0 && s > 0) {
                int back = (FMultiLine && s >= 2 && FBuf[std::size_t(s - 2)] == '\r' && FBuf[std::size_t(s - 1)] == '\n') ? 2 : 1;
                SetSel(s - back, s, false);
            }
            ReplaceSelection("", true);
        }
    } else if (k == '\r') {
        if (FMultiLine) ReplaceSelection("\r\n", true);
        else return;
    } else if (k >= 32 && k != 127) {
        ReplaceSelection(std::string(1, Key), true);
    } else {
        return;
    }
    Key = 0;
}

void TCustomEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != TMouseButton::mbLeft) return;
    if (CanFocus() && !Focused()) SetFocus();
    int pos = PosFromPoint(X, Y);
    FGoalX = -1;
    SetSel((Shift & ssShift) ? FAnchor : pos, pos);
    FSelecting = true;
}

void TCustomEdit::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (FSelecting) SetSel(FAnchor, PosFromPoint(X, Y));
}

void TCustomEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == TMouseButton::mbLeft && FSelecting) {
        FSelecting = false;
        SetSel(FAnchor, PosFromPoint(X, Y));
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

// --- Painting -------------------------------------------------------------------------------

void TCustomEdit::Paint() {
    HDC dc = Canvas()->Handle();
    RECT client = ClientRect();
    HBRUSH back = CreateSolidBrush(ColorToRGB(Color()));
    win::FillRect(dc, &client, back);
    DeleteObject(back);
    SelectObject(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    RECT tr = TextRect();
    int lh = LineHeight();
    int s = SelStart(), e = s + SelLength();
    bool showSel = s != e && (Focused() || !FHideSelection);
    COLORREF text = ColorToRGB(Enabled() ? Font()->Color() : clGrayText);
    int saved = SaveDC(dc);
    IntersectClipRect(dc, tr.left, 0, tr.right, client.bottom);
    for (int row = FTopRow, y = tr.top; row < RowCount() && y < client.bottom; ++row, y += lh) {
        const TRow& r = FRows[std::size_t(row)];
        int x0 = tr.left - FLeftPx;
        int a = std::clamp(s, r.Start, r.Start + r.Length);
        int b = std::clamp(e, r.Start, r.Start + r.Length);
        if (!showSel) a = b = r.Start + r.Length;
        const char* base = FBuf.data();
        SetTextColor(dc, text);
        TextOut(dc, x0, y, base + r.Start, a - r.Start);
        int xa = x0 + TextWidth(r.Start, a - r.Start);
        int xb = x0 + TextWidth(r.Start, b - r.Start);
        if (b > a) {
            RECT hl{xa, y, xb, y + lh};
            HBRUSH brush = CreateSolidBrush(ColorToRGB(clHighlight));
            win::FillRect(dc, &hl, brush);
            DeleteObject(brush);
            SetTextColor(dc, ColorToRGB(clHighlightText));
            TextOut(dc, xa, y, base + a, b - a);
            SetTextColor(dc, text);
        }
        TextOut(dc, xb, y, base + b, r.Start + r.Length - b);
    }
    RestoreDC(dc, saved);
}

// --- TCustomMemo ----------------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner) {
    FMultiLine = true;
    FWordWrap = true;
    SetBounds(0, 0, 185, 89);
    FLines.OnChange = [this](rtl::TStringList&) { LinesChanged(); };
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
    if (Value == FScrollBars) return;
    FScrollBars = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool Value) {
    if (Value == FWordWrap) return;
    FWordWrap = Value;
    Relayout();
    Invalidate();
}

void TCustomMemo::BufferChanged() {
    if (FSyncing) return;
    FSyncing = true;
    rtl::TScopeExit synced([this] { FSyncing = false; });
    FLines.SetText(Buffer());
}

void TCustomMemo::LinesChanged() {
    if (FSyncing) return;
    std::string text = FLines.Text();
    // The window's text has no break after its last line.
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
    {
        FSyncing = true;
        rtl::TScopeExit synced([this] { FSyncing = false; });
        SetTextValue(text);
    }
    Perform(CM_TEXTCHANGED, 0, 0);
}

namespace {

// The properties stored forms keep of edit boxes.
struct TEditRegistration {
    TEditRegistration() {
        using E = TEdit;
        RegisterClass<E>("TEdit", "", With<E>(TextControlProperties<E>(), {
            EnumProperty<E>("CharCase", &E::CharCase, &E::SetCharCase, {"ecNormal", "ecUpperCase", "ecLowerCase"})
                .WithDefault(0),
            BooleanProperty<E>("HideSelection", &E::HideSelection, &E::SetHideSelection).WithDefault(1),
            IntegerProperty<E>("MaxLength", &E::MaxLength, &E::SetMaxLength).WithDefault(0),
            BooleanProperty<E>("ReadOnly", &E::ReadOnly, &E::SetReadOnly).WithDefault(0),
            StringProperty<E>("Text", &E::Text, &E::SetText),
            EventProperty<E>("OnChange", &E::OnChange),
        }));
        using M = TMemo;
        RegisterClass<M>("TMemo", "", With<M>(TextControlProperties<M>(), {
            StringsProperty<M>("Lines", &M::Lines),
            IntegerProperty<M>("MaxLength", &M::MaxLength, &M::SetMaxLength).WithDefault(0),
            BooleanProperty<M>("ReadOnly", &M::ReadOnly, &M::SetReadOnly).WithDefault(0),
            EnumProperty<M>("ScrollBars", &M::ScrollBars, &M::SetScrollBars, {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"})
                .WithDefault(0),
            BooleanProperty<M>("WordWrap", &M::WordWrap, &M::SetWordWrap).WithDefault(1),
            EventProperty<M>("OnChange", &M::OnChange),
        }));
    }
} editRegistration;

} // namespace

} // namespace vcl
