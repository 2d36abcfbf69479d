#include "ide/CodeView.h"

#include "ide/Ide.h"

#include "rtl/ScopeGuards.h"
#include "spellexpert/SyntaxColour.h"
#include "vcl/Forms.h"

#include <algorithm>
#include <cctype>

namespace ide {

using namespace vcl;

// The start state of each line's colouring, known up to a line; an edit forgets what follows it.
struct TCodeView::TColouring {
    std::weak_ptr<TEditBuffer> Buffer;
    int Listener = 0;
    std::vector<spellexpert::TSyntaxState> States{1};
    int ValidTo = 1; // States[0 .. ValidTo - 1] hold the start states of lines 1 .. ValidTo
    int Left = 0;    // the first display column shown

    spellexpert::TSyntaxState StateOf(const TEditBuffer& b, int line) {
        line = std::clamp(line, 1, b.LinesInBuffer());
        if (States.size() < static_cast<std::size_t>(b.LinesInBuffer()))
            States.resize(static_cast<std::size_t>(b.LinesInBuffer()));
        for (; ValidTo < line; ++ValidTo) {
            spellexpert::TSyntaxState s = States[static_cast<std::size_t>(ValidTo - 1)];
            spellexpert::ColourLine(b.Line(ValidTo), s);
            States[static_cast<std::size_t>(ValidTo)] = s;
        }
        return States[static_cast<std::size_t>(line - 1)];
    }

    void Splice(const TTextChange& c) {
        // The start states of lines First + 1 .. OldLast go; NewLast - First new lines come.
        auto at = States.begin() + std::min<std::ptrdiff_t>(c.First, std::ssize(States));
        auto gone = std::min<std::ptrdiff_t>(c.OldLast - c.First, States.end() - at);
        at = States.erase(at, at + gone);
        States.insert(at, static_cast<std::size_t>(c.NewLast - c.First), spellexpert::TSyntaxState{});
        ValidTo = std::min(ValidTo, c.First);
    }
};

TCodeView::TCodeView(TComponent* AOwner, TIde& ide) : TCustomControl(AOwner), FIde(ide) {
    SetName("CodeView");
    SetColor(clWindow);
    SetTabStop(true);
    spellexpert::ReadIDEHighlight();
    std::string face = ide.EditorParamStr("FontName");
    int size = ide.EditorParamInt("FontSize");
    Font()->SetName(face.empty() ? "Courier New" : face);
    Font()->SetSize(size > 0 ? size : 10);
    int tab = ide.EditorParamInt("TabRack");
    FTabWidth = tab > 0 && tab <= 32 ? tab : 8;
}

TCodeView::~TCodeView() {
    for (auto& [key, c] : FColourings)
        if (auto b = c->Buffer.lock())
            b->Unsubscribe(c->Listener);
}

void TCodeView::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style |= win::WS_VSCROLL | win::WS_HSCROLL;
}

void TCodeView::Metrics() {
    // The editor font is fixed for the view's life: measured once.
    if (FMeasured)
        return;
    Canvas()->SetFont(Font());
    FLineHeight = std::max(1, Canvas()->TextHeight("Wg"));
    FCharWidth = std::max(1, Canvas()->TextWidth("W"));
    FMeasured = true;
}

int TCodeView::VisibleRows() {
    Metrics();
    return std::max(1, ClientHeight() / FLineHeight);
}

int TCodeView::VisibleColumns() {
    Metrics();
    return std::max(1, (ClientWidth() - Margin) / FCharWidth);
}

void TCodeView::ShowBuffer(const std::shared_ptr<TEditBuffer>& buffer) {
    if (buffer == FBuffer)
        return;
    // Colourings of closed buffers go.
    for (auto it = FColourings.begin(); it != FColourings.end();)
        it = it->second->Buffer.expired() ? FColourings.erase(it) : std::next(it);
    FBuffer = buffer;
    FColouring = nullptr;
    FWantedColumn = -1;
    FExternalLine = 0;
    if (buffer) {
        auto& c = FColourings[buffer.get()];
        if (!c) {
            c = std::make_unique<TColouring>();
            c->Buffer = buffer;
            TColouring* raw = c.get();
            c->Listener = buffer->Subscribe([this, raw](const TTextChange& change) {
                raw->Splice(change);
                if (FColouring == raw)
                    Changed(change);
            });
        }
        FColouring = c.get();
    }
    Invalidate();
    Sync();
}

void TCodeView::Changed(const TTextChange& change) {
    if (!FBuffer)
        return;
    if (!FEditing && !FExternalLine)
        FExternalLine = change.First;
    // One line changed: the rows after it keep their colours unless the state it ends in moved;
    // a change of the number of lines moves every row below it.
    int last = change.NewLast;
    if (change.OldLast != change.NewLast) {
        last = FBuffer->TopLine() + VisibleRows();
    } else if (change.First < FBuffer->LinesInBuffer() && std::ssize(FColouring->States) > change.First &&
               change.First >= FBuffer->TopLine() - 1 &&
               change.First < FBuffer->TopLine() + VisibleRows()) {
        spellexpert::TSyntaxState before = FColouring->States[static_cast<std::size_t>(change.First)];
        if (!(FColouring->StateOf(*FBuffer, change.First + 1) == before))
            last = FBuffer->TopLine() + VisibleRows();
    }
    InvalidateLines(change.First, last);
}

void TCodeView::InvalidateLines(int first, int last) {
    if (!HandleAllocated() || !FBuffer)
        return;
    int top = FBuffer->TopLine();
    int rows = VisibleRows();
    first = std::max(first, top);
    last = std::min(last, top + rows);
    if (first > last)
        return;
    win::RECT r{0, (first - top) * FLineHeight, ClientWidth(), (last - top + 1) * FLineHeight};
    win::InvalidateRect(Handle(), &r, false);
}

int TCodeView::DisplayCol(int line, int col) const {
    const std::string& text = FBuffer->Line(line);
    int d = 0;
    int n = std::min(col - 1, static_cast<int>(text.size()));
    for (int i = 0; i < n; ++i)
        d = text[static_cast<std::size_t>(i)] == '\t' ? (d / FTabWidth + 1) * FTabWidth : d + 1;
    return d + std::max(0, col - 1 - n);
}

int TCodeView::ColAtDisplay(int line, int display) const {
    // The first column that starts at or after the display column; past the line's end the
    // caret goes on into the blank space, as the IDE's editor lets it.
    const std::string& text = FBuffer->Line(line);
    int d = 0;
    for (int i = 0; i < static_cast<int>(text.size()); ++i) {
        if (d >= display)
            return i + 1;
        d = text[static_cast<std::size_t>(i)] == '\t' ? (d / FTabWidth + 1) * FTabWidth : d + 1;
    }
    return static_cast<int>(text.size()) + 1 + std::max(0, display - d);
}

TPoint TCodeView::PointOf(TTextPos pos) {
    Metrics();
    int top = FBuffer ? FBuffer->TopLine() : 1;
    int left = FColouring ? FColouring->Left : 0;
    int d = FBuffer ? DisplayCol(pos.Line, pos.Col) : 0;
    return {Margin + (d - left) * FCharWidth, (pos.Line - top) * FLineHeight};
}

TTextPos TCodeView::PosAt(int x, int y) {
    if (!FBuffer)
        return {};
    Metrics();
    int row = y < 0 ? -1 - (-y - 1) / FLineHeight : y / FLineHeight;
    int line = std::clamp(FBuffer->TopLine() + row, 1, FBuffer->LinesInBuffer());
    // The nearest boundary between two cells.
    int display = FColouring->Left + std::max(0, (x - Margin + FCharWidth / 2) / FCharWidth);
    return {line, ColAtDisplay(line, display)};
}

// --- painting

void TCodeView::Paint() {
    PaintRows();
    FPainted = true;
    if (FCaretPending && FHasCaret) {
        FCaretPending = false;
        win::ShowCaret(Handle());
    }
}

void TCodeView::PaintRows() {
    TCanvas* c = Canvas();
    c->SetFont(Font());
    Metrics();
    const spellexpert::TSyntaxAttr plain = spellexpert::FindAttribute('d');
    win::RECT clip = FPaintRect;
    FPaintRect = {0, 0, 0, 0};
    if (clip.bottom <= clip.top)
        clip = {0, 0, ClientWidth(), ClientHeight()};
    if (!FBuffer) {
        c->Brush()->SetColor(plain.BackColor);
        c->FillRect(ClientRect());
        return;
    }
    int top = FBuffer->TopLine();
    int firstRow = std::max(0, static_cast<int>(clip.top) / FLineHeight);
    int lastRow = std::min(ClientHeight(), static_cast<int>(clip.bottom)) / FLineHeight;
    for (int row = firstRow; row <= lastRow; ++row) {
        int line = top + row;
        if (line <= FBuffer->LinesInBuffer()) {
            DrawLine(line, row * FLineHeight);
        } else {
            c->Brush()->SetColor(plain.BackColor);
            c->FillRect(Rect(0, row * FLineHeight, ClientWidth(), (row + 1) * FLineHeight));
        }
    }
}

void TCodeView::DrawLine(int line, int y) {
    TCanvas* c = Canvas();
    const std::string& text = FBuffer->Line(line);
    spellexpert::TSyntaxState state = FColouring->StateOf(*FBuffer, line);
    std::string codes = spellexpert::ColourLine(text, state);
    // Tabs run to their stops; each display cell keeps its character's code.
    std::string shown, cells;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\t') {
            std::size_t to = (shown.size() / static_cast<std::size_t>(FTabWidth) + 1) * static_cast<std::size_t>(FTabWidth);
            cells.append(to - shown.size(), codes[i]);
            shown.append(to - shown.size(), ' ');
        } else {
            shown += text[i];
            cells += codes[i];
        }
    }
    // The selection's cells, the line break one cell past the text.
    int selFrom = -1, selTo = -1;
    if (FBuffer->HasSelection()) {
        TTextPos s = FBuffer->SelStart(), e = FBuffer->SelEnd();
        if (line >= s.Line && line <= e.Line) {
            selFrom = line == s.Line ? DisplayCol(line, s.Col) : 0;
            selTo = line == e.Line ? DisplayCol(line, e.Col) : static_cast<int>(shown.size()) + 1;
        }
    }
    const int left = FColouring->Left;
    const int columns = (ClientWidth() - Margin) / FCharWidth + 2;
    const spellexpert::TSyntaxAttr plain = spellexpert::FindAttribute('d');
    const spellexpert::TSyntaxAttr selected = spellexpert::FindAttribute('h');
    c->Brush()->SetColor(plain.BackColor);
    c->FillRect(Rect(0, y, ClientWidth(), y + FLineHeight));
    if (selFrom >= 0 && selTo > selFrom) {
        int x0 = Margin + (std::max(selFrom, static_cast<int>(shown.size())) - left) * FCharWidth;
        int x1 = Margin + (selTo - left) * FCharWidth;
        if (x1 > x0) {
            c->Brush()->SetColor(selected.BackColor);
            c->FillRect(Rect(std::max(x0, 0), y, x1, y + FLineHeight));
        }
    }
    const int first = std::max(left, 0), last = std::min<int>(static_cast<int>(shown.size()), left + columns);
    for (int i = first; i < last;) {
        bool inSel = i >= selFrom && i < selTo;
        int j = i + 1;
        while (j < last && cells[static_cast<std::size_t>(j)] == cells[static_cast<std::size_t>(i)] &&
               (j >= selFrom && j < selTo) == inSel)
            ++j;
        spellexpert::TSyntaxAttr a = spellexpert::FindAttribute(cells[static_cast<std::size_t>(i)]);
        c->Font()->SetColor(inSel ? selected.FontColor : a.FontColor);
        c->Font()->SetStyle(a.Style);
        c->Brush()->SetColor(inSel ? selected.BackColor : a.BackColor);
        c->TextOut(Margin + (i - left) * FCharWidth, y, shown.substr(static_cast<std::size_t>(i), static_cast<std::size_t>(j - i)));
        i = j;
    }
    c->Font()->SetStyle(0);
}

// --- keeping up with the buffer

void TCodeView::Sync() {
    if (!FBuffer) {
        if (FShownBuffer) {
            FShownBuffer = nullptr;
            Invalidate();
            UpdateBars();
            PlaceCaret();
            if (OnStateChange)
                OnStateChange();
        }
        return;
    }
    TEditBuffer& b = *FBuffer;
    int rows = VisibleRows();
    int top = b.TopLine();
    // An edit made elsewhere (a tool's writer) comes into sight when none of it shows.
    if (FExternalLine) {
        if (FExternalLine < top || FExternalLine >= top + rows)
            top = std::max(1, FExternalLine - rows / 3);
        FExternalLine = 0;
    }
    // A cursor moved elsewhere (a search's Goto, an expert's insertion) shows in the middle, as
    // the IDE's editor does.
    TTextPos cursor = b.Cursor();
    if (cursor != FShownCursor || FShownBuffer != &b) {
        if (cursor.Line < top || cursor.Line >= top + rows)
            top = std::max(1, cursor.Line - rows / 2);
    }
    top = std::clamp(top, 1, b.LinesInBuffer());
    if (top != b.TopLine())
        b.SetTopLine(top);
    if (FShownBuffer != &b || top != FShownTop || FColouring->Left != FShownLeft) {
        Invalidate();
    } else if (cursor != FShownCursor || b.Anchor() != FShownAnchor) {
        // The rows of the selection as it was and as it is.
        bool had = FShownAnchor != FShownCursor, has = b.HasSelection();
        if (had || has) {
            int lo = std::min({had ? std::min(FShownAnchor.Line, FShownCursor.Line) : cursor.Line,
                               has ? b.SelStart().Line : cursor.Line});
            int hi = std::max({had ? std::max(FShownAnchor.Line, FShownCursor.Line) : cursor.Line,
                               has ? b.SelEnd().Line : cursor.Line});
            InvalidateLines(lo, hi);
        }
    }
    bool state = FShownBuffer != &b || cursor != FShownCursor || b.Version() != FShownVersion ||
                 b.Modified() != FShownModified;
    if (FShownBuffer != &b || b.LinesInBuffer() != FShownLines || b.LongestLine() != FShownLongest ||
        top != FShownTop || FColouring->Left != FShownLeft)
        UpdateBars();
    FShownBuffer = &b;
    FShownTop = top;
    FShownLeft = FColouring->Left;
    FShownCursor = cursor;
    FShownAnchor = b.Anchor();
    FShownVersion = b.Version();
    FShownModified = b.Modified();
    FShownLines = b.LinesInBuffer();
    FShownLongest = b.LongestLine();
    PlaceCaret();
    if (state && OnStateChange)
        OnStateChange();
}

void TCodeView::UpdateBars() {
    if (!HandleAllocated())
        return;
    win::SCROLLINFO v;
    v.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS | win::SIF_DISABLENOSCROLL;
    v.nMin = 0;
    v.nMax = FBuffer ? FBuffer->LinesInBuffer() - 1 : 0;
    v.nPage = static_cast<win::UINT>(VisibleRows());
    v.nPos = FBuffer ? FBuffer->TopLine() - 1 : 0;
    win::SetScrollInfo(Handle(), win::SB_VERT, &v, true);
    win::SCROLLINFO h;
    h.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS | win::SIF_DISABLENOSCROLL;
    h.nMin = 0;
    h.nMax = FBuffer ? std::max(FBuffer->LongestLine() + 8, 255) : 0;
    h.nPage = static_cast<win::UINT>(VisibleColumns());
    h.nPos = FColouring ? FColouring->Left : 0;
    win::SetScrollInfo(Handle(), win::SB_HORZ, &h, true);
}

void TCodeView::ScrollTo(int top, int left) {
    if (!FBuffer)
        return;
    // Not past the last line at the bottom, unless the host put the view further down.
    int rows = VisibleRows();
    int upper = std::max({1, FBuffer->LinesInBuffer() - rows + 1, std::min(FBuffer->TopLine(), top)});
    FBuffer->SetTopLine(std::clamp(top, 1, upper));
    FColouring->Left = std::clamp(left, 0, std::max(FBuffer->LongestLine() + 8, 255));
    Sync();
}

void TCodeView::MakeCursorVisible() {
    TEditBuffer& b = *FBuffer;
    int rows = VisibleRows(), columns = VisibleColumns();
    TTextPos cursor = b.Cursor();
    int top = b.TopLine();
    if (cursor.Line < top)
        top = cursor.Line;
    else if (cursor.Line >= top + rows)
        top = cursor.Line - rows + 1;
    int left = FColouring->Left;
    int d = DisplayCol(cursor.Line, cursor.Col);
    // Sideways in steps, so that typing at the edge does not scroll at every key.
    if (d < left)
        left = std::max(0, d - columns / 4);
    else if (d >= left + columns)
        left = d - columns + 1 + columns / 4;
    b.SetTopLine(std::clamp(top, 1, std::max(1, b.LinesInBuffer() - rows + 1)));
    FColouring->Left = left;
}

void TCodeView::PlaceCaret() {
    if (!FHasCaret)
        return;
    if (!FBuffer) {
        win::SetCaretPos(-100, -100);
        return;
    }
    TPoint p = PointOf(FBuffer->Cursor());
    if (p.y < 0 || p.y >= ClientHeight() || p.x < Margin - 1 || p.x > ClientWidth())
        p = {-100, -100};
    win::SetCaretPos(p.x, p.y);
}

void TCodeView::SetOverwrite(bool value) {
    if (FOverwrite == value)
        return;
    FOverwrite = value;
    if (FHasCaret) {
        win::DestroyCaret();
        Metrics();
        win::CreateCaret(Handle(), nullptr, FOverwrite ? FCharWidth : 2, FLineHeight);
        PlaceCaret();
        win::ShowCaret(Handle());
    }
    if (OnStateChange)
        OnStateChange();
}

// --- what the user does

void TCodeView::MoveTo(TTextPos pos, bool extend, bool keepColumn) {
    if (!FBuffer)
        return;
    if (!keepColumn)
        FWantedColumn = -1;
    FBuffer->SetCursor(pos, extend);
    MakeCursorVisible();
    Sync();
}

void TCodeView::Edit(const std::function<void(TEditBuffer&)>& edit) {
    if (!FBuffer)
        return;
    FEditing = true;
    {
        rtl::TScopeExit done([this] { FEditing = false; });
        edit(*FBuffer);
    }
    FWantedColumn = -1;
    MakeCursorVisible();
    Sync();
}

namespace {
bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
} // namespace

TTextPos TCodeView::WordLeft(TTextPos pos) const {
    pos = FBuffer->Clamp(pos);
    if (pos.Col == 1)
        return pos.Line > 1 ? TTextPos{pos.Line - 1, static_cast<int>(FBuffer->Line(pos.Line - 1).size()) + 1} : pos;
    const std::string& t = FBuffer->Line(pos.Line);
    int i = pos.Col - 1; // characters before the cursor
    while (i > 0 && !IsWordChar(t[static_cast<std::size_t>(i - 1)]))
        --i;
    while (i > 0 && IsWordChar(t[static_cast<std::size_t>(i - 1)]))
        --i;
    return {pos.Line, i + 1};
}

TTextPos TCodeView::WordRight(TTextPos pos) const {
    pos = FBuffer->Clamp(pos);
    const std::string& t = FBuffer->Line(pos.Line);
    int n = static_cast<int>(t.size());
    if (pos.Col > n)
        return pos.Line < FBuffer->LinesInBuffer() ? TTextPos{pos.Line + 1, 1} : pos;
    int i = pos.Col - 1;
    while (i < n && IsWordChar(t[static_cast<std::size_t>(i)]))
        ++i;
    while (i < n && !IsWordChar(t[static_cast<std::size_t>(i)]))
        ++i;
    return {pos.Line, i + 1};
}

void TCodeView::KeyDown(unsigned& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (!FBuffer || Key == 0)
        return;
    TEditBuffer& b = *FBuffer;
    const bool extend = Shift & ssShift, ctrl = Shift & ssCtrl;
    if (Shift & ssAlt)
        return;
    TTextPos cur = b.Cursor();
    const int length = static_cast<int>(b.Line(cur.Line).size());
    const int rows = VisibleRows();
    auto upDown = [&](int lines) {
        if (FWantedColumn < 0)
            FWantedColumn = DisplayCol(cur.Line, cur.Col);
        int line = std::clamp(cur.Line + lines, 1, b.LinesInBuffer());
        MoveTo({line, ColAtDisplay(line, FWantedColumn)}, extend, true);
    };
    switch (Key) {
    case win::VK_LEFT:
        if (ctrl)
            MoveTo(WordLeft(cur), extend);
        else if (cur.Col > 1)
            MoveTo({cur.Line, cur.Col - 1}, extend);
        else if (cur.Line > 1)
            MoveTo({cur.Line - 1, static_cast<int>(b.Line(cur.Line - 1).size()) + 1}, extend);
        break;
    case win::VK_RIGHT:
        if (ctrl)
            MoveTo(WordRight(cur), extend);
        else if (cur.Col <= length)
            MoveTo({cur.Line, cur.Col + 1}, extend);
        else if (cur.Line < b.LinesInBuffer())
            MoveTo({cur.Line + 1, 1}, extend);
        break;
    case win::VK_UP:
        if (ctrl)
            ScrollTo(b.TopLine() - 1, FColouring->Left);
        else
            upDown(-1);
        break;
    case win::VK_DOWN:
        if (ctrl)
            ScrollTo(b.TopLine() + 1, FColouring->Left);
        else
            upDown(1);
        break;
    case win::VK_HOME:
        MoveTo(ctrl ? TTextPos{1, 1} : TTextPos{cur.Line, 1}, extend);
        break;
    case win::VK_END:
        if (ctrl)
            MoveTo({b.LinesInBuffer(), static_cast<int>(b.Line(b.LinesInBuffer()).size()) + 1}, extend);
        else
            MoveTo({cur.Line, length + 1}, extend);
        break;
    case win::VK_PRIOR:
    case win::VK_NEXT: {
        int page = std::max(1, rows - 1) * (Key == win::VK_PRIOR ? -1 : 1);
        FBuffer->SetTopLine(std::clamp(b.TopLine() + page, 1, std::max(1, b.LinesInBuffer() - rows + 1)));
        upDown(page);
        break;
    }
    case win::VK_INSERT:
        if (ctrl)
            FIde.CopySelection();
        else if (extend)
            FIde.PasteClipboard();
        else
            SetOverwrite(!FOverwrite);
        Sync();
        break;
    case win::VK_DELETE:
        if (extend) {
            FIde.CutSelection();
            Sync();
            break;
        }
        Edit([&](TEditBuffer& e) {
            if (e.HasSelection()) {
                e.DeleteSelection();
                return;
            }
            TTextPos at = e.Clamp(cur);
            if (at.Col <= length)
                e.Replace(at, {at.Line, at.Col + 1}, "");
            else if (at.Line < e.LinesInBuffer())
                e.Replace(at, {at.Line + 1, 1}, "");
            e.SetCursor(at);
        });
        break;
    case win::VK_BACK:
        if (!b.HasSelection() && cur.Col > length + 1) {
            MoveTo({cur.Line, cur.Col - 1}, false);
            break;
        }
        Edit([&](TEditBuffer& e) {
            if (e.HasSelection()) {
                e.DeleteSelection();
            } else if (cur.Col > 1) {
                e.Replace({cur.Line, cur.Col - 1}, cur, "");
                e.SetCursor({cur.Line, cur.Col - 1});
            } else if (cur.Line > 1) {
                TTextPos join{cur.Line - 1, static_cast<int>(e.Line(cur.Line - 1).size()) + 1};
                e.Replace(join, cur, "");
                e.SetCursor(join);
            }
        });
        break;
    case win::VK_RETURN:
        Edit([&](TEditBuffer& e) {
            // The new line starts under the first character of this one.
            const std::string& line = e.Line(cur.Line);
            std::size_t indent = 0;
            while (indent < line.size() && indent + 1 < static_cast<std::size_t>(cur.Col) &&
                   (line[indent] == ' ' || line[indent] == '\t'))
                ++indent;
            e.InsertAtCursor("\r\n" + line.substr(0, indent));
        });
        break;
    case win::VK_TAB:
        if (ctrl)
            return;
        Edit([&](TEditBuffer& e) {
            int d = DisplayCol(cur.Line, e.HasSelection() ? e.SelStart().Col : cur.Col);
            e.InsertAtCursor(std::string(static_cast<std::size_t>(FTabWidth - d % FTabWidth), ' '), FOverwrite, true);
        });
        break;
    default:
        return;
    }
    Key = 0;
}

void TCodeView::KeyPress(char& Key) {
    TCustomControl::KeyPress(Key);
    unsigned char c = static_cast<unsigned char>(Key);
    if (!FBuffer || c < 32 || c == 127)
        return;
    Edit([&](TEditBuffer& e) { e.InsertAtCursor(std::string(1, Key), FOverwrite, true); });
    Key = 0;
}

void TCodeView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (CanFocus() && !Focused())
        SetFocus();
    if (Button != TMouseButton::mbLeft || !FBuffer)
        return;
    MoveTo(PosAt(X, Y), Shift & ssShift);
    FDragging = true;
    win::SetCapture(Handle());
}

void TCodeView::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (!FDragging || !FBuffer)
        return;
    // Dragging past the top or the bottom scrolls a line at each move.
    if (Y < 0)
        ScrollTo(FBuffer->TopLine() - 1, FColouring->Left);
    else if (Y >= ClientHeight())
        ScrollTo(FBuffer->TopLine() + 1, FColouring->Left);
    MoveTo(PosAt(X, std::clamp(Y, 0, std::max(0, ClientHeight() - 1))), true);
}

void TCodeView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (FDragging) {
        FDragging = false;
        if (win::GetCapture() == Handle())
            win::ReleaseCapture();
    }
}

void TCodeView::DblClick() {
    TCustomControl::DblClick();
    if (!FBuffer)
        return;
    TTextPos cur = FBuffer->Clamp(FBuffer->Cursor());
    const std::string& t = FBuffer->Line(cur.Line);
    int from = cur.Col - 1, to = cur.Col - 1;
    while (from > 0 && IsWordChar(t[static_cast<std::size_t>(from - 1)]))
        --from;
    while (to < static_cast<int>(t.size()) && IsWordChar(t[static_cast<std::size_t>(to)]))
        ++to;
    FDragging = false;
    FBuffer->SetCursor({cur.Line, from + 1});
    MoveTo({cur.Line, to + 1}, true);
}

void TCodeView::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case win::WM_GETDLGCODE:
        Message.Result = win::DLGC_WANTARROWS | win::DLGC_WANTTAB | win::DLGC_WANTCHARS | win::DLGC_WANTALLKEYS;
        return;
    case win::WM_ERASEBKGND:
        Message.Result = 1;
        return;
    case win::WM_PAINT:
        // Only the rows that changed are drawn again: the region is gone once painting begins.
        if (!win::GetUpdateRect(Handle(), &FPaintRect, false))
            FPaintRect = {0, 0, 0, 0};
        break;
    case win::WM_SETFOCUS:
        TCustomControl::Dispatch(Message);
        Metrics();
        win::CreateCaret(Handle(), nullptr, FOverwrite ? FCharWidth : 2, FLineHeight);
        FHasCaret = true;
        PlaceCaret();
        // Not before the window's first paint, which would cover the caret's pixels.
        if (FPainted)
            win::ShowCaret(Handle());
        else
            FCaretPending = true;
        return;
    case win::WM_KILLFOCUS:
        if (FHasCaret) {
            FHasCaret = false;
            FCaretPending = false;
            win::DestroyCaret();
        }
        FDragging = false;
        TCustomControl::Dispatch(Message);
        return;
    case win::WM_SIZE:
        TCustomControl::Dispatch(Message);
        UpdateBars();
        return;
    case win::WM_MOUSEWHEEL: {
        int delta = static_cast<std::int16_t>(win::HIWORD(static_cast<std::uintptr_t>(Message.WParam)));
        if (FBuffer && delta / 120 != 0)
            ScrollTo(FBuffer->TopLine() - 3 * (delta / 120), FColouring->Left);
        Message.Result = 0;
        return;
    }
    case win::WM_VSCROLL:
    case win::WM_HSCROLL: {
        if (!FBuffer)
            return;
        const bool vert = Message.Msg == win::WM_VSCROLL;
        const int page = vert ? std::max(1, VisibleRows() - 1) : std::max(1, VisibleColumns() - 1);
        int at = vert ? FBuffer->TopLine() - 1 : FColouring->Left;
        switch (win::LOWORD(static_cast<std::uintptr_t>(Message.WParam))) {
        case win::SB_LINEUP: --at; break;
        case win::SB_LINEDOWN: ++at; break;
        case win::SB_PAGEUP: at -= page; break;
        case win::SB_PAGEDOWN: at += page; break;
        case win::SB_TOP: at = 0; break;
        case win::SB_BOTTOM: at = vert ? FBuffer->LinesInBuffer() : FBuffer->LongestLine(); break;
        case win::SB_THUMBTRACK:
        case win::SB_THUMBPOSITION: {
            win::SCROLLINFO si;
            si.fMask = win::SIF_TRACKPOS;
            win::GetScrollInfo(Handle(), vert ? win::SB_VERT : win::SB_HORZ, &si);
            at = si.nTrackPos;
            break;
        }
        default: return;
        }
        if (vert)
            ScrollTo(at + 1, FColouring->Left);
        else
            ScrollTo(FBuffer->TopLine(), at);
        return;
    }
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

} // namespace ide
