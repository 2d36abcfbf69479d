// The paragraph list: wrapping, limits, bookmarks and changes; the undo buffer and its replay
// are in UndoBuffer.cpp.
#include "editor/ParaList.h"

#include "rtl/Exceptions.h"
#include "rtl/Parallel.h"
#include "rtl/ScopeGuards.h"
#include "editor/ZelExceptions.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <sys/mman.h>

namespace editor {

namespace {

TBusyCursorHook& BusyHook() {
    static TBusyCursorHook hook;
    return hook;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A paragraph stores 16-bit offsets, so no paragraph may grow beyond this.
constexpr std::int32_t MaxParaLength = 65535;

constexpr std::size_t HugePage = std::size_t{1} << 21;

using enum TUndoBuffer::TKind;

} // namespace

void SetBusyCursorHook(TBusyCursorHook hook) { BusyHook() = std::move(hook); }

// ---- tab-aware helpers ----------------------------------------------------------------------

std::int32_t TextWidth(std::string_view text, std::int32_t tabSize) {
    std::int32_t col = 0;
    for (char c : text) {
        if (c == 0) break;
        col += (c == '\t' && tabSize > 0) ? tabSize - col % tabSize : 1;
    }
    return col;
}

std::int32_t CharsInColumns(std::string_view text, std::int32_t columns, std::int32_t tabSize) {
    std::int32_t col = 0;
    std::int32_t n = 0;
    for (char c : text) {
        std::int32_t w = (c == '\t' && tabSize > 0) ? tabSize - col % tabSize : 1;
        if (col + w > columns) break;
        col += w;
        ++n;
    }
    return n;
}

std::int32_t PosToColumn(std::string_view text, std::int32_t pos, std::int32_t tabSize) {
    if (pos <= 0) return 1;
    if (pos == 1 || text.empty()) return pos;
    auto len = static_cast<std::int32_t>(text.size());
    if (pos > len) return pos + TextWidth(text, tabSize) - len;
    return TextWidth(text.substr(0, pos - 1), tabSize) + 1;
}

std::int32_t ColumnToPos(std::string_view text, std::int32_t col, std::int32_t tabSize) {
    if (col <= 1 || text.empty()) return col;
    auto len = static_cast<std::int32_t>(text.size());
    // Measured from the end of the text, so that a column inside a trailing tab stays on it.
    std::int32_t end = TextWidth(text, tabSize) + 1;
    if (col >= end) return len + 1 + col - end;
    if (!HasTab(text)) return col;
    std::int32_t at = 0;
    for (std::int32_t i = 0; i < len; ++i) {
        char c = text[i];
        std::int32_t next = at + ((c == '\t' && tabSize > 0) ? tabSize - at % tabSize : 1);
        if (next >= col) return i + 1;
        at = next;
    }
    return len;
}

bool HasTab(std::string_view text) { return text.find('\t') != std::string_view::npos; }

std::int32_t TrimmedLength(std::string_view text) {
    auto n = text.size();
    while (n > 0 && IsBlank(text[n - 1])) --n;
    return static_cast<std::int32_t>(n == 0 ? text.size() : n);
}

std::int32_t BlanksBefore(std::string_view text, std::int32_t pos) {
    std::int32_t i = std::min<std::int32_t>(pos - 1, static_cast<std::int32_t>(text.size()));
    std::int32_t n = 0;
    while (i - n > 0 && IsBlank(text[i - n - 1])) ++n;
    return n;
}

std::int32_t LengthToLineFeed(std::string_view text) {
    auto at = text.find('\n');
    return static_cast<std::int32_t>(at == std::string_view::npos ? text.size() : at + 1);
}

TParaNode::~TParaNode() {
    if (FFlags & OwnsText) delete[] FChars;
}

void TParaNode::Free(TParaNode* Node) {
    if (!Node) return;
    // A node of a block is only ended; the block goes with the list.
    if (Node->FFlags & InBlock) Node->~TParaNode();
    else delete Node;
}

void TParaNode::TakeText(char* Chars, std::int32_t Length) {
    if (FFlags & OwnsText) delete[] FChars;
    FChars = Chars;
    FLength = static_cast<std::uint16_t>(Length);
    if (Chars) FFlags |= OwnsText;
    else FFlags &= ~OwnsText;
}

void TNewText::Make(std::initializer_list<std::string_view> Parts) {
    std::size_t size = 0;
    for (std::string_view part : Parts) size += part.size();
    Chars.reset(size ? new char[size] : nullptr);
    Size = static_cast<std::int32_t>(size);
    char* at = Chars.get();
    for (std::string_view part : Parts) {
        if (part.empty()) continue;
        std::memcpy(at, part.data(), part.size());
        at += part.size();
    }
}

std::int32_t TParaNode::LineOfPos(std::int32_t Pos) const {
    // Greatest line start not above Pos - 1.
    auto it = std::upper_bound(FStarts.begin(), FStarts.end(), Pos - 1,
                               [](std::int32_t v, std::uint16_t s) { return v < s; });
    return static_cast<std::int32_t>(it - FStarts.begin()) + 1;
}

// ---- paragraph list -------------------------------------------------------------------------

TParaList::TParaList(TParaListOwner* Owner, bool WordWrap, std::int32_t UndoSize)
    : FOwner(Owner), FWordWrap(WordWrap),
      FUndo(std::make_unique<TUndoBuffer>(std::clamp<std::int32_t>(UndoSize, 0, 65535))) {
    FFirst = FLast = FCacheNode = NewNode({});
    FParaCount = 1;
    FLineCount = 1;
    try {
        FIndex.Rebuild();
    } catch (const std::bad_alloc&) {
        TParaNode::Free(FFirst);
        throw rtl::EOutOfMemory(EditorErrorText(Code(TParaResult::OutOfMemory)));
    }
}

TParaList::~TParaList() {
    FUndo.reset();
    for (TParaNode* p = FFirst; p;) {
        TParaNode* next = p->FNext;
        TParaNode::Free(p);
        p = next;
    }
}

TParaNode* TParaList::NewNode(std::string_view text) {
    try {
        auto node = std::make_unique<TParaNode>();
        TNewText chars;
        chars.Make({text});
        node->TakeText(chars.Chars.release(), chars.Size);
        Wrap(node.get());
        return node.release();
    } catch (const std::bad_alloc&) {
        throw rtl::EOutOfMemory(EditorErrorText(Code(TParaResult::OutOfMemory)));
    }
}

TLoadBlock NewLoadBlock(std::size_t Bytes) {
    if (Bytes < HugePage) {
        return TLoadBlock(static_cast<char*>(::operator new(std::max<std::size_t>(Bytes, 1), std::align_val_t{64})),
                          TBlockFree{});
    }
    // Straight from the system, one huge page more than needed so that an aligned run of them
    // fits; the rest goes back at once.
    const std::size_t size = (Bytes + HugePage - 1) & ~(HugePage - 1);
    void* map = ::mmap(nullptr, size + HugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (map == MAP_FAILED) throw std::bad_alloc();
    const auto at = reinterpret_cast<std::uintptr_t>(map);
    const std::uintptr_t start = (at + HugePage - 1) & ~(HugePage - 1);
    if (start > at) ::munmap(map, start - at);
    if (at + HugePage > start) ::munmap(reinterpret_cast<void*>(start + size), at + HugePage - start);
    // Only advice: where it is refused the pages come one by one.
    ::madvise(reinterpret_cast<void*>(start), size, MADV_HUGEPAGE);
    return TLoadBlock(reinterpret_cast<char*>(start), TBlockFree{size});
}

void TBlockFree::operator()(char* p) const {
    if (Mapped) ::munmap(p, Mapped);
    else ::operator delete(p, std::align_val_t{64});
}

namespace {

// One write a page of a fresh block, from several threads at once, before anything is put in it.
void MakePages(char* block, std::size_t size) {
    constexpr std::size_t Page = 4096;
    const int parts = rtl::PartsFor(size, HugePage);
    rtl::RunParts(parts, [&](int part) {
        std::size_t lo, hi;
        rtl::PartRange(size, parts, part, Page, lo, hi);
        for (std::size_t at = lo; at < hi; at += Page) block[at] = 0;
    });
}

} // namespace

void TParaList::ReserveLoadedNodes(std::size_t Count) {
    constexpr std::size_t HugeNodes = HugePage / sizeof(TParaNode);
    if (Count <= HugeNodes || Count > static_cast<std::size_t>(MaxLongInt)) return;
    try {
        const std::size_t bytes = sizeof(TParaNode) * Count;
        TLoadBlock block = NewLoadBlock(bytes);
        MakePages(block.get(), bytes);
        FNodeBlocks.reserve(FNodeBlocks.size() + 1);
        FNodeBlocks.push_back(std::move(block));
        FNodeBlockSize = FNodeBlockLeft = static_cast<std::int32_t>(Count);
    } catch (const std::bad_alloc&) {
    }
}

std::string_view TParaList::KeepText(TLoadBlock Data, std::size_t Size) {
    FKeptTexts.reserve(FKeptTexts.size() + 1);
    FKeptTexts.push_back({std::move(Data), Size});
    return {FKeptTexts.back().Data.get(), Size};
}

TParaNode* TParaList::NewLoadedNode(std::string_view text) {
    // Small blocks for a short text; once they add up to a huge page, blocks of one.
    constexpr std::int32_t SmallNodes = 1024, HugeNodes = HugePage / sizeof(TParaNode);
    constexpr std::size_t SmallText = 1 << 16;
    try {
        char* chars = nullptr;
        // A line of a kept file stays where it is.
        const char* kept = FKeptTexts.empty() ? nullptr : FKeptTexts.back().Data.get();
        if (kept && !text.empty() && text.data() >= kept &&
            text.data() + text.size() <= kept + FKeptTexts.back().Size) {
            chars = const_cast<char*>(text.data());
        } else if (!text.empty()) {
            if (FTextBlockLeft < text.size()) {
                const std::size_t grown = FTextBlocks.size() * SmallText < HugePage ? SmallText : HugePage;
                const std::size_t size = std::max(grown, text.size());
                FTextBlocks.reserve(FTextBlocks.size() + 1);
                FTextBlocks.push_back(NewLoadBlock(size));
                FTextBlockLeft = size;
            }
            // Blocks fill from their end down, so the one in use is always the last.
            FTextBlockLeft -= text.size();
            chars = FTextBlocks.back().get() + FTextBlockLeft;
            std::memcpy(chars, text.data(), text.size());
        }
        if (FNodeBlockLeft == 0) {
            const std::int32_t nodes = FNodeBlocks.size() * SmallNodes < HugeNodes ? SmallNodes : HugeNodes;
            FNodeBlocks.reserve(FNodeBlocks.size() + 1);
            FNodeBlocks.push_back(NewLoadBlock(sizeof(TParaNode) * static_cast<std::size_t>(nodes)));
            FNodeBlockSize = FNodeBlockLeft = nodes;
        }
        void* slot = reinterpret_cast<TParaNode*>(FNodeBlocks.back().get()) + (FNodeBlockSize - FNodeBlockLeft);
        auto* node = new (slot) TParaNode;
        --FNodeBlockLeft;
        node->FFlags = TParaNode::InBlock;
        node->FChars = chars;
        node->FLength = static_cast<std::uint16_t>(text.size());
        rtl::TScopeExit freeNode([node] { TParaNode::Free(node); });
        Wrap(node);
        freeNode.Dismiss();
        return node;
    } catch (const std::bad_alloc&) {
        throw rtl::EOutOfMemory(EditorErrorText(Code(TParaResult::OutOfMemory)));
    }
}

std::int32_t TParaList::NextBreak(std::string_view text, std::int32_t start) const {
    const auto len = static_cast<std::int32_t>(text.size());
    const std::int32_t remaining = len - start;
    std::int32_t k = CharsInColumns(text.substr(start), FWrapColumn, FTabSize);
    if (k >= remaining) return -1;
    std::int32_t next = start + k; // a hard cut when no blank or hyphen is found
    for (std::int32_t i = start + k; i >= start; --i) {
        char c = text[i];
        // A hyphen has to fit on the line it ends; a blank may hang past the column.
        if (IsBlank(c) || (c == '-' && i < start + k)) {
            next = i + 1;
            while (next < len && IsBlank(text[next])) ++next;
            break;
        }
    }
    if (next <= start) next = start + 1;
    return next >= len ? -1 : next;
}

bool TParaList::Wraps(std::string_view text) const {
    return FWordWrap && FWrapColumn > 0 && FWrapColumn != MaxLongInt && !text.empty();
}

void TParaList::Wrap(TParaNode* node) {
    std::vector<std::uint16_t> starts;
    std::string_view text = node->Text();
    if (Wraps(text)) {
        for (std::int32_t s = 0; (s = NextBreak(text, s)) >= 0;)
            starts.push_back(static_cast<std::uint16_t>(s));
    }
    node->FStarts.swap(starts);
}

void TParaList::ReWrapChange(std::string_view text, const std::vector<std::uint16_t>& oldStarts,
                             std::int32_t at,
                             std::int32_t oldLen, std::int32_t delta, TWrapChange& change) {
    change.Starts.clear();
    if (!Wraps(text)) {
        change.First = change.Last = 0;
        return;
    }
    auto& old = FOldStarts;
    auto& fresh = FNewStarts;
    old.assign(1, 0);
    old.insert(old.end(), oldStarts.begin(), oldStarts.end());
    // Line (0-based) that held the change, and the line before it where re-wrapping starts.
    auto k = static_cast<std::int32_t>(std::upper_bound(old.begin(), old.end(), at) - old.begin()) - 1;
    std::int32_t b = std::max(0, k - 1);
    fresh.assign(old.begin(), old.begin() + b + 1);
    std::size_t j = b + 1;
    bool synced = false;
    std::int32_t syncLine = 0;
    for (std::int32_t s = old[b]; (s = NextBreak(text, s)) >= 0;) {
        while (j < old.size() && old[j] + delta < s) ++j;
        if (j < old.size() && old[j] + delta == s && old[j] >= at + oldLen) {
            // From here the text is the old one shifted: so are its line starts.
            synced = true;
            syncLine = static_cast<std::int32_t>(fresh.size());
            for (std::size_t i = j; i < old.size(); ++i) fresh.push_back(old[i] + delta);
            break;
        }
        fresh.push_back(s);
    }
    std::int32_t first = k;
    if (b < k && (static_cast<std::size_t>(k) >= fresh.size() || fresh[k] != old[k])) first = b;
    std::int32_t last = synced ? syncLine - 1 : static_cast<std::int32_t>(fresh.size()) - 1;
    change.First = first;
    change.Last = std::max(last, first);
    change.Starts.assign(fresh.begin() + 1, fresh.end());
}

void TParaList::LinesChanged(std::int32_t para, std::int32_t delta) {
    FLineCount += delta;
    if (FCachePara > para) FCacheLine += delta;
    if (delta != 0) FIndex.LinesChanged(para, delta);
}

void TParaList::CommitChange(TParaNode* node, TNewText& text, TWrapChange& change,
                             std::int32_t para, std::int32_t firstLine, std::int32_t delta) {
    // The index counts the lines as they were; a waiting run is counted before they change.
    FIndex.Settle();
    const std::int32_t oldLines = node->LineCount();
    node->TakeText(text.Chars.release(), text.Size);
    text.Size = 0;
    node->FStarts.swap(change.Starts);
    const std::int32_t lines = node->LineCount();
    LinesChanged(para, lines - oldLines);
    FFirstChanged = firstLine + change.First;
    FLastChanged = lines != oldLines ? MaxLongInt : firstLine + change.Last;
    FTextSize += delta;
    FModified = true;
}

// Near the cache (the sequential look-ups of painting, caret moves and checking) the walk is
// shortest; anywhere else the index finds the paragraph.
void TParaList::MoveCache(std::int32_t Target, bool ByLine) {
    constexpr std::int32_t Near = 8;
    const std::int32_t cached = ByLine ? FCacheLine : FCachePara;
    if (Target < cached - Near || Target > cached + (ByLine ? FCacheNode->LineCount() : 1) + Near) {
        if (ByLine) FCacheNode = FIndex.FindLine(Target, FCachePara, FCacheLine);
        else FCacheNode = FIndex.Find(Target, FCacheLine);
        if (!ByLine) FCachePara = Target;
        return;
    }
    TParaNode* node = FCacheNode;
    std::int32_t num = FCachePara, line = FCacheLine;
    while (ByLine ? Target >= line + node->LineCount() : num < Target) {
        line += node->LineCount();
        node = node->FNext;
        ++num;
    }
    while (ByLine ? Target < line : num > Target) {
        node = node->FPrev;
        line -= node->LineCount();
        --num;
    }
    FCacheNode = node;
    FCachePara = num;
    FCacheLine = line;
}

TParaNode* TParaList::FindPara(std::int32_t Para) {
    if (Para < 1 || Para > FParaCount) return nullptr;
    if (Para != FCachePara) MoveCache(Para, false);
    return FCacheNode;
}

TLineRef TParaList::FindLine(std::int32_t Line) {
    TLineRef ref;
    if (Line < 1 || Line > FLineCount) return ref;
    if (!FWordWrap) {
        ref.Node = FindPara(Line);
        ref.Para = Line;
        ref.LineInPara = 1;
        ref.Text = ref.Node->Text();
        return ref;
    }
    MoveCache(Line, true);
    TParaNode* node = FCacheNode;
    ref.Node = node;
    ref.Para = FCachePara;
    ref.LineInPara = Line - FCacheLine + 1;
    std::int32_t s = node->LineStart(ref.LineInPara);
    std::int32_t e = ref.LineInPara < node->LineCount() ? node->LineStart(ref.LineInPara + 1)
                                                         : node->Length();
    ref.Text = node->Text().substr(s, e - s);
    return ref;
}

std::string_view TParaList::ParaText(std::int32_t Para) {
    TParaNode* node = FindPara(Para);
    return node ? node->Text() : std::string_view{};
}

std::int32_t TParaList::ParaLength(std::int32_t Para) {
    TParaNode* node = FindPara(Para);
    return node ? node->Length() : 0;
}

std::int32_t TParaList::LineLength(std::int32_t Line) { return FindLine(Line).Length(); }

std::int32_t TParaList::ParaPosToLine(std::int32_t Para, std::int32_t Pos, std::int32_t& Col) {
    Para = std::clamp(Para, 1, FParaCount);
    TParaNode* node = FindPara(Para);
    std::int32_t k = node->LineOfPos(Pos);
    Col = Pos - node->LineStart(k);
    return FCacheLine + k - 1;
}

std::int32_t TParaList::LineToParaPos(std::int32_t Line, std::int32_t& Offset) {
    Line = std::clamp(Line, 1, FLineCount);
    if (!FWordWrap) {
        Offset = 0;
        return Line;
    }
    TLineRef ref = FindLine(Line);
    Offset = ref.Node->LineStart(ref.LineInPara);
    return ref.Para;
}

TParaResult TParaList::CheckLimits(std::int32_t Para, std::int32_t NewParas, std::int64_t NewBytes) {
    if (NewParas != 0 || Para > FParaLimit) {
        std::int64_t allowed;
        if (Para > FParaLimit || FLast->Length() != 0) allowed = FParaLimit;
        else allowed = FParaLimit == MaxLongInt ? MaxLongInt : std::int64_t{FParaLimit} + 1;
        if (std::int64_t{NewParas} + FParaCount > allowed) return TParaResult::TooManyParas;
    }
    if (NewBytes + FTextSize > FByteLimit) return TParaResult::TextTooLarge;
    if (Para != 0 && NewParas == 0) {
        if (NewBytes + ParaLength(Para) > std::min(FParaLengthLimit, MaxParaLength))
            return TParaResult::ParaTooLarge;
    }
    return TParaResult::Ok;
}

void TParaList::LinkAt(std::int32_t para, TParaNode* node) {
    FIndex.Settle();
    std::int32_t line;
    if (para > FParaCount) {
        para = FParaCount + 1;
        line = FLineCount + 1;
        node->FPrev = FLast;
        node->FNext = nullptr;
        FLast->FNext = node;
        FLast = node;
    } else {
        TParaNode* at = FindPara(para);
        line = FCacheLine;
        node->FNext = at;
        node->FPrev = at->FPrev;
        if (at->FPrev) at->FPrev->FNext = node;
        else FFirst = node;
        at->FPrev = node;
    }
    FIndex.Insert(para, node);
    ++FParaCount;
    FLineCount += node->LineCount();
    FTextSize += node->Length() + 2;
    FCacheNode = node;
    FCachePara = para;
    FCacheLine = line;
    FModified = true;
}

TParaNode* TParaList::Unlink(std::int32_t para) {
    FIndex.Settle();
    TParaNode* node = FindPara(para);
    if (!node || FParaCount == 1) return nullptr;
    FIndex.Erase(para, node);
    if (para == 1) {
        FCacheNode = node->FNext;
        FCachePara = 1;
        FCacheLine = 1;
    } else {
        FCacheNode = node->FPrev;
        FCachePara = para - 1;
        FCacheLine -= node->FPrev->LineCount();
    }
    if (node->FPrev) node->FPrev->FNext = node->FNext;
    else FFirst = node->FNext;
    if (node->FNext) node->FNext->FPrev = node->FPrev;
    else FLast = node->FPrev;
    node->FNext = node->FPrev = nullptr;
    --FParaCount;
    FLineCount -= node->LineCount();
    FTextSize -= node->Length() + 2;
    FModified = true;
    return node;
}

// ---- notifications --------------------------------------------------------------------------

void TParaList::NotifyInserted(std::int32_t para, std::int32_t pos, std::int32_t count) {
    if (!FNotify) return;
    for (auto& b : FBookmarks)
        if (b.Para == para && b.Pos >= pos) b.Pos += count;
    if (FOwner) FOwner->TextInserted(para, pos, count);
}

void TParaList::NotifyDeleted(std::int32_t para, std::int32_t pos, std::int32_t count) {
    if (!FNotify) return;
    for (auto& b : FBookmarks) {
        if (b.Para != para || b.Pos < pos) continue;
        if (b.Pos < pos + count) b = {};
        else b.Pos -= count;
    }
    if (FOwner) FOwner->TextDeleted(para, pos, count);
}

void TParaList::NotifySplit(std::int32_t para, std::int32_t pos, std::int32_t indent) {
    if (!FNotify) return;
    for (auto& b : FBookmarks) {
        if (b.Para > para) {
            ++b.Para;
        } else if (b.Para == para && b.Pos >= pos) {
            ++b.Para;
            b.Pos = b.Pos - pos + 1 + indent;
        }
    }
    if (FOwner) FOwner->ParaSplit(para, pos, indent);
}

void TParaList::NotifyParaDeleted(std::int32_t para) {
    if (!FNotify) return;
    for (auto& b : FBookmarks) {
        if (b.Para == para) b = {};
        else if (b.Para > para) --b.Para;
    }
    if (FOwner) FOwner->ParaDeleted(para);
}

void TParaList::NotifyJoined(std::int32_t para, std::int32_t pos) {
    if (!FNotify) return;
    for (auto& b : FBookmarks) {
        if (b.Para == para + 1) b.Pos += pos - 1;
        if (b.Para > para) --b.Para;
    }
    if (FOwner) FOwner->ParasJoined(para, pos);
}

void TParaList::AdjustPosParaDeleted(std::int32_t P, std::int32_t& Para, std::int32_t& Pos) const {
    if (Para == P) Pos = 1;
    else if (Para > P) --Para;
    Para = std::clamp(Para, 1, FParaCount);
}

void TParaList::AdjustPosTextDeleted(std::int32_t P, std::int32_t AtPos, std::int32_t Count,
                                     std::int32_t& Para, std::int32_t& Pos) {
    if (Para != P || Pos < AtPos) return;
    Pos = Pos < AtPos + Count ? AtPos : Pos - Count;
}

// ---- changes --------------------------------------------------------------------------------

TParaResult TParaList::AddPara(std::string_view Text, bool Trim) {
    if (Trim) Text = Text.substr(0, TrimmedLength(Text));
    if (static_cast<std::int64_t>(Text.size()) > MaxParaLength) return TParaResult::ParaTooLarge;
    TParaNode* node = NewLoadedNode(Text);
    node->FNext = FLast;
    node->FPrev = FLast->FPrev;
    if (FLast->FPrev) FLast->FPrev->FNext = node;
    else FFirst = node;
    FLast->FPrev = node;
    FIndex.Appended(node);
    ++FParaCount;
    FLineCount += node->LineCount();
    FTextSize += node->Length() + 2;
    FCacheNode = FFirst;
    FCachePara = 1;
    FCacheLine = 1;
    return TParaResult::Ok;
}

bool TParaList::CaretMark(std::int32_t para, std::int32_t pos) {
    return Recording() && FUndo->Add(ukCaret, FModified, para, pos, {});
}

TParaResult TParaList::DoInsertText(std::int32_t para, std::string_view text, std::int32_t pos,
                            bool check) {
    TParaNode* node = FindPara(para);
    if (!node || text.empty() || pos < 1) return TParaResult::Ok;
    const std::int32_t len = node->Length();
    const std::int32_t pad = pos > len + 1 ? pos - 1 - len : 0;
    const auto count = static_cast<std::int32_t>(text.size());
    if (check) {
        if (auto r = CheckLimits(para, 0, std::int64_t{pad} + count); r != TParaResult::Ok) return r;
    }
    if (std::int64_t{len} + pad + count > MaxParaLength) return TParaResult::ParaTooLarge;
    const std::int32_t at = pad ? len : pos - 1;
    std::string inserted;
    TNewText fresh;
    TWrapChange change;
    try {
        inserted.assign(pad, ' ');
        inserted.append(text);
        const std::string_view old = node->Text();
        fresh.Make({old.substr(0, at), inserted, old.substr(at)});
        ReWrapChange(fresh.View(), node->FStarts, at, 0, pad + count, change);
    } catch (const std::bad_alloc&) {
        return TParaResult::OutOfMemory;
    }
    const bool wasModified = FModified;
    CommitChange(node, fresh, change, para, FCacheLine, pad + count);
    if (Recording()) FUndo->Add(ukInsert, wasModified, para, at + 1, inserted);
    NotifyInserted(para, pos, count);
    return TParaResult::Ok;
}

TParaResult TParaList::InsertText(std::int32_t Para, std::string_view Text, std::int32_t Pos) {
    return DoInsertText(Para, Text, Pos, true);
}

TParaResult TParaList::DoDeleteText(std::int32_t para, std::int32_t count, std::int32_t pos) {
    TParaNode* node = FindPara(para);
    if (!node || pos < 1) return TParaResult::Ok;
    const std::int32_t len = node->Length();
    count = std::min(count, len - pos + 1);
    if (count <= 0) return TParaResult::Ok;
    TNewText fresh;
    TWrapChange change;
    const std::string_view old = node->Text();
    try {
        fresh.Make({old.substr(0, pos - 1), old.substr(pos - 1 + count)});
        ReWrapChange(fresh.View(), node->FStarts, pos - 1, count, -count, change);
    } catch (const std::bad_alloc&) {
        return TParaResult::OutOfMemory;
    }
    if (Recording()) FUndo->Add(ukDelete, FModified, para, pos, old.substr(pos - 1, count));
    CommitChange(node, fresh, change, para, FCacheLine, -count);
    NotifyDeleted(para, pos, count);
    return TParaResult::Ok;
}

TParaResult TParaList::DeleteText(std::int32_t Para, std::int32_t Count, std::int32_t Pos) {
    return DoDeleteText(Para, Count, Pos);
}

TParaResult TParaList::DoReplaceText(std::int32_t para, std::string_view newText, std::int32_t oldLen,
                             std::int32_t pos, bool check) {
    TParaNode* node = FindPara(para);
    if (!node || pos < 1) return TParaResult::Ok;
    const std::int32_t len = node->Length();
    if (pos > len + 1) return DoInsertText(para, newText, pos, check);
    oldLen = std::clamp(oldLen, 0, len - pos + 1);
    const auto newLen = static_cast<std::int32_t>(newText.size());
    if (oldLen == 0 && newLen == 0) return TParaResult::Ok;
    const std::int32_t growth = newLen - oldLen;
    if (check && growth > 0) {
        if (auto r = CheckLimits(para, 0, growth); r != TParaResult::Ok) return r;
    }
    if (std::int64_t{len} + growth > MaxParaLength) return TParaResult::ParaTooLarge;
    std::string oldText;
    TNewText fresh;
    TWrapChange change;
    try {
        const std::string_view old = node->Text();
        oldText.assign(old.substr(pos - 1, oldLen));
        fresh.Make({old.substr(0, pos - 1), newText, old.substr(pos - 1 + oldLen)});
        ReWrapChange(fresh.View(), node->FStarts, pos - 1, oldLen, growth, change);
    } catch (const std::bad_alloc&) {
        return TParaResult::OutOfMemory;
    }
    const bool wasModified = FModified;
    CommitChange(node, fresh, change, para, FCacheLine, growth);
    if (Recording()) FUndo->Add(ukReplace, wasModified, para, pos, oldText, newText, true);
    if (growth < 0) NotifyDeleted(para, pos + newLen, -growth);
    else if (growth > 0) NotifyInserted(para, pos + oldLen, growth);
    else NotifyInserted(para, pos, 0);
    return TParaResult::Ok;
}

TParaResult TParaList::ReplaceText(std::int32_t Para, std::string_view NewText, std::int32_t OldLen,
                           std::int32_t Pos) {
    return DoReplaceText(Para, NewText, OldLen, Pos, true);
}

TParaResult TParaList::DoInsertPara(std::int32_t para, std::string_view text, bool after) {
    if (static_cast<std::int64_t>(text.size()) > MaxParaLength) return TParaResult::ParaTooLarge;
    TParaNode* node;
    try {
        node = NewNode(text);
    } catch (const rtl::EOutOfMemory&) {
        return TParaResult::OutOfMemory;
    } catch (const std::bad_alloc&) {
        return TParaResult::OutOfMemory;
    }
    LinkNew(para, node, after);
    return TParaResult::Ok;
}

void TParaList::LinkNew(std::int32_t para, TParaNode* node, bool after) {
    if (Recording()) FUndo->Add(after ? ukParaAfter : ukParaBefore, FModified, para, 1,
                                std::string_view(reinterpret_cast<const char*>(&node), sizeof node));
    LinkAt(after ? para + 1 : para, node);
    NotifySplit(after ? para + 1 : para, 1, 0);
}

TParaResult TParaList::InsertParaBefore(std::int32_t Para, std::string_view Text) {
    if (!FindPara(Para)) return TParaResult::Ok;
    const auto len = static_cast<std::int32_t>(Text.size());
    if (auto r = CheckLimits(0, 1, std::int64_t{len} + 2); r != TParaResult::Ok) return r;
    if (len > std::min(FParaLengthLimit, MaxParaLength)) return TParaResult::ParaTooLarge;
    return DoInsertPara(Para, Text, false);
}

TParaResult TParaList::InsertParaAfter(std::int32_t Para, std::string_view Text) {
    if (!FindPara(Para)) return TParaResult::Ok;
    return DoInsertPara(Para, Text, true);
}

TParaResult TParaList::DeletePara(std::int32_t Para) {
    TParaNode* node = FindPara(Para);
    if (!node) return TParaResult::Ok;
    // The list keeps at least one paragraph: the only one only loses its text.
    if (FParaCount == 1) return DoDeleteText(Para, node->Length(), 1);
    RemovePara(Para);
    return TParaResult::Ok;
}

void TParaList::RemovePara(std::int32_t para) {
    const bool wasModified = FModified;
    TParaNode* node = Unlink(para);
    bool kept = Recording() &&
                FUndo->Add(ukParaDeleted, wasModified, para, 1,
                           std::string_view(reinterpret_cast<const char*>(&node), sizeof node));
    if (!kept) TParaNode::Free(node);
    NotifyParaDeleted(para);
}

TParaResult TParaList::SplitPara(std::int32_t Para, bool Trim, std::int32_t& Indent,
                                 std::int32_t TabWidth, std::int32_t Pos) {
    TParaNode* node = FindPara(Para);
    if (!node) return TParaResult::Ok;
    const std::int32_t len = node->Length();
    Pos = std::clamp(Pos, 1, len + 1);
    if (Pos == 1) {
        Indent = 0;
        return InsertParaBefore(Para, {});
    }
    if (auto r = CheckLimits(0, 1, 2); r != TParaResult::Ok) return r;
    // The new paragraph is made before the text is cut, so that a failure changes nothing.
    TParaNode* tail = nullptr;
    try {
        tail = NewNode(node->Text().substr(Pos - 1));
    } catch (const rtl::EOutOfMemory&) {
        return TParaResult::OutOfMemory;
    } catch (const std::bad_alloc&) {
        return TParaResult::OutOfMemory;
    }
    const bool wasOpen = FUndo->BeginGroup();
    const bool notify = FNotify;
    FNotify = false;
    const bool marked = CaretMark(Para, Pos);
    TParaResult r = TParaResult::Ok;
    if (Pos <= len) {
        std::int32_t cut = Pos;
        if (Trim) cut -= BlanksBefore(node->Text(), Pos);
        r = DoDeleteText(Para, len - cut + 1, cut);
    }
    if (r != TParaResult::Ok) {
        TParaNode::Free(tail);
        // A caret mark alone would make an undo step that changes nothing.
        if (marked) FUndo->DropNewest();
        FNotify = notify;
        FUndo->EndGroup(wasOpen);
        return r;
    }
    LinkNew(Para, tail, true);
    std::int32_t chars = 0;
    if (Indent > 0) {
        std::string indent;
        try {
            if (TabWidth > 0)
                indent.assign(Indent / TabWidth, '\t').append(Indent % TabWidth, ' ');
            else
                indent.assign(Indent, ' ');
            // An indent that does not fit is left out; the split itself stands.
            if (DoInsertText(Para + 1, indent, 1, true) == TParaResult::Ok)
                chars = static_cast<std::int32_t>(indent.size());
        } catch (const std::bad_alloc&) {
            chars = 0;
        }
    }
    Indent = chars;
    CaretMark(Para + 1, Indent + 1);
    FNotify = notify;
    NotifySplit(Para, Pos, Indent);
    FUndo->EndGroup(wasOpen);
    return TParaResult::Ok;
}

TParaResult TParaList::JoinParas(std::int32_t Para, std::int32_t Pos) {
    TParaNode* node = FindPara(Para);
    if (!node || !node->FNext) return TParaResult::Ok;
    const std::int32_t len = node->Length();
    // A join appends; it never cuts into the paragraph.
    Pos = std::max(Pos, len + 1);
    std::string nextText;
    if (Pos > 1) {
        const std::int32_t pad = Pos - 1 - len;
        const std::int32_t nextLen = node->FNext->Length();
        if (std::int64_t{len} + pad + nextLen > std::min(FParaLengthLimit, MaxParaLength) ||
            FTextSize + pad > FByteLimit)
            return TParaResult::CannotJoin;
        try {
            nextText.assign(node->FNext->Text());
        } catch (const std::bad_alloc&) {
            return TParaResult::OutOfMemory;
        }
    }
    const bool wasOpen = FUndo->BeginGroup();
    const bool notify = FNotify;
    FNotify = false;
    TParaResult r = TParaResult::Ok;
    if (Pos == 1) {
        RemovePara(Para);
    } else {
        r = DoInsertText(Para, nextText, Pos, false);
        if (r == TParaResult::Ok) {
            RemovePara(Para + 1);
            CaretMark(Para, Pos);
        }
    }
    FNotify = notify;
    if (r == TParaResult::Ok) {
        FLastChanged = MaxLongInt;
        NotifyJoined(Para, Pos);
    }
    FUndo->EndGroup(wasOpen);
    return r;
}

TParaResult TParaList::DeleteRegion(std::int32_t Para1, std::int32_t Pos1, std::int32_t Para2,
                                    std::int32_t Pos2) {
    Para1 = std::max(Para1, 1);
    Pos1 = std::max(Pos1, 1);
    Pos2 = std::max(Pos2, 1);
    if (Para2 > FParaCount) {
        Para2 = FParaCount;
        Pos2 = ParaLength(Para2) + 1;
    }
    if (Para1 > Para2) return TParaResult::Ok;
    if (Para1 == Para2) return DeleteText(Para1, Pos2 - Pos1, Pos1);
    if (Pos1 == 1 && Pos2 == 1) {
        const bool wasOpen = FUndo->BeginGroup();
        for (std::int32_t i = Para1; i < Para2; ++i) RemovePara(Para1);
        FUndo->EndGroup(wasOpen);
        return TParaResult::Ok;
    }
    TParaNode* first = FindPara(Para1);
    TParaNode* last = FindPara(Para2);
    const std::int32_t len1 = first->Length();
    const std::int32_t keep1 = std::min(Pos1 - 1, len1);
    const std::int32_t len2 = last->Length();
    const std::int32_t cut2 = std::min(Pos2 - 1, len2);
    if (std::int64_t{keep1} + len2 - cut2 > std::min(FParaLengthLimit, MaxParaLength))
        return TParaResult::CannotJoin;
    // The steps are those of a deletion from each end, the removal of the paragraphs between
    // and a join, but every text they need is made first, so that a failure changes nothing.
    TNewText text1, text2, joined;
    TWrapChange wrap1, wrap2, wrapJoined;
    try {
        text1.Make({first->Text().substr(0, keep1)});
        if (keep1 < len1)
            ReWrapChange(text1.View(), first->FStarts, keep1, len1 - keep1, keep1 - len1, wrap1);
        text2.Make({last->Text().substr(cut2)});
        if (cut2 > 0) ReWrapChange(text2.View(), last->FStarts, 0, cut2, -cut2, wrap2);
        if (keep1 > 0) {
            joined.Make({text1.View(), text2.View()});
            const auto& starts1 = keep1 < len1 ? wrap1.Starts : first->FStarts;
            ReWrapChange(joined.View(), starts1, keep1, 0, len2 - cut2, wrapJoined);
        }
    } catch (const std::bad_alloc&) {
        return TParaResult::OutOfMemory;
    }
    const bool wasOpen = FUndo->BeginGroup();
    if (keep1 < len1) {
        FindPara(Para1);
        if (Recording())
            FUndo->Add(ukDelete, FModified, Para1, keep1 + 1, first->Text().substr(keep1));
        CommitChange(first, text1, wrap1, Para1, FCacheLine, keep1 - len1);
        NotifyDeleted(Para1, keep1 + 1, len1 - keep1);
    }
    if (cut2 > 0) {
        FindPara(Para2);
        if (Recording())
            FUndo->Add(ukDelete, FModified, Para2, 1, last->Text().substr(0, cut2));
        CommitChange(last, text2, wrap2, Para2, FCacheLine, -cut2);
        NotifyDeleted(Para2, 1, cut2);
    }
    for (std::int32_t i = Para1 + 1; i < Para2; ++i) RemovePara(Para1 + 1);
    const bool notify = FNotify;
    FNotify = false;
    if (keep1 == 0) {
        RemovePara(Para1);
    } else {
        FindPara(Para1);
        const std::int32_t line = FCacheLine;
        if (Recording() && cut2 < len2)
            FUndo->Add(ukInsert, FModified, Para1, keep1 + 1, last->Text());
        CommitChange(first, joined, wrapJoined, Para1, line, len2 - cut2);
        RemovePara(Para1 + 1);
        CaretMark(Para1, keep1 + 1);
    }
    FNotify = notify;
    FLastChanged = MaxLongInt;
    NotifyJoined(Para1, keep1 + 1);
    FUndo->EndGroup(wasOpen);
    return TParaResult::Ok;
}

TParaResult TParaList::InsertBlock(std::int32_t& Para, std::string_view Text, std::int32_t& Pos) {
    if (Text.find('\n') == std::string_view::npos) {
        TParaResult r = InsertText(Para, Text, Pos);
        if (r == TParaResult::Ok) Pos += static_cast<std::int32_t>(Text.size());
        return r;
    }
    std::int32_t col;
    const std::int32_t startLine = ParaPosToLine(Para, Pos, col);
    const bool wasOpen = FUndo->BeginGroup();
    TParaResult r = TParaResult::Ok;
    std::size_t at = 0;
    while (at < Text.size() && r == TParaResult::Ok) {
        std::string_view line = Text.substr(at, LengthToLineFeed(Text.substr(at)));
        at += line.size();
        std::string_view chars = line;
        while (!chars.empty() && (chars.back() == '\r' || chars.back() == '\n'))
            chars.remove_suffix(1);
        const bool brk = chars.size() != line.size();
        if (brk && Pos == 1) {
            r = InsertParaBefore(Para, chars);
        } else {
            if (!chars.empty()) {
                r = InsertText(Para, chars, Pos);
                if (r == TParaResult::Ok) Pos += static_cast<std::int32_t>(chars.size());
            }
            if (r == TParaResult::Ok && brk) {
                std::int32_t indent = 0;
                r = SplitPara(Para, true, indent, 0, Pos);
            }
        }
        if (r == TParaResult::Ok && brk) {
            ++Para;
            Pos = 1;
        }
    }
    FUndo->EndGroup(wasOpen);
    FFirstChanged = startLine > 1 ? startLine - 1 : startLine;
    FLastChanged = MaxLongInt;
    return r;
}

// ---- settings -------------------------------------------------------------------------------

void TParaList::ReWrapAll() {
    struct Hourglass {
        bool on;
        explicit Hourglass(bool show) : on(show && BusyHook()) {
            if (on) BusyHook()(true);
        }
        ~Hourglass() {
            if (on) BusyHook()(false);
        }
    } hourglass(FTextSize > 10000);
    bool failed = false;
    std::int32_t lines = 0;
    for (TParaNode* p = FFirst; p; p = p->FNext) {
        try {
            if (!failed) Wrap(p);
        } catch (const std::bad_alloc&) {
            failed = true; // the paragraphs not reached keep their old lines
        }
        lines += p->LineCount();
    }
    FLineCount = lines;
    FIndex.Rebuild();
    FCacheNode = FFirst;
    FCachePara = 1;
    FCacheLine = 1;
    if (FOwner) FOwner->ReWrapped();
    if (failed) throw rtl::EOutOfMemory(EditorErrorText(Code(TParaResult::OutOfMemory)));
}

void TParaList::RecodeText(const std::function<void(char*, std::size_t)>& Recode) {
    for (TParaNode* p = FFirst; p; p = p->FNext)
        if (p->FLength != 0) Recode(p->FChars, p->FLength);
    // A blank or hyphen may have come or gone, and with it a line break.
    if (FWordWrap) ReWrapAll();
}

void TParaList::SetParaLengthLimit(std::int32_t Value) {
    FParaLengthLimit = std::clamp(Value, 0, MaxParaLength);
}

void TParaList::SetWordWrap(bool Value) {
    if (FWordWrap == Value) return;
    FWordWrap = Value;
    ReWrapAll();
}

void TParaList::SetWrapColumn(std::int32_t Value) {
    if (Value <= 0 || FWrapColumn == Value) return;
    FWrapColumn = Value;
    if (FWordWrap) ReWrapAll();
}

void TParaList::SetTabSize(std::uint8_t Value) {
    if (Value == 0 || FTabSize == Value) return;
    FTabSize = Value;
    if (FWordWrap) ReWrapAll();
}

void TParaList::SetModified(bool Value) {
    if (!Value) FUndo->MarkAllModified();
    FModified = Value;
}

void TParaList::SetUndoSize(std::int32_t Value) {
    FUndo = std::make_unique<TUndoBuffer>(std::clamp<std::int32_t>(Value, 0, 65535));
}

void TParaList::SetBookmark(int n, std::int32_t Para, std::int32_t Pos) {
    if (n < 0 || n > 9) return;
    FBookmarks[n] = {Para, Pos};
}

void TParaList::SetBookmarkFromLine(int n, std::int32_t Line, std::int32_t Col) {
    if (n < 0 || n > 9) return;
    std::int32_t offset = 0;
    std::int32_t para = LineToParaPos(Line, offset);
    FBookmarks[n] = {para, offset + Col};
}

} // namespace editor
