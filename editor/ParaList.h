// The editor's text model: a doubly linked list of paragraphs (TParaList of TParaNode), each
// wrapped into display lines, with limits, ten bookmarks, a fixed-size undo buffer
// (TUndoBuffer) and reports of every change to the owning editor. Positions count from 1.
// Implementations in ParaList.cpp, ParaIndex.cpp and UndoBuffer.cpp.
#pragma once

#include "vcl/Persistent.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace editor {

constexpr std::int32_t MaxLongInt = 2147483647;

// Result of the model's operations. Anything but Ok left the text as it was (except the
// paragraphs an InsertBlock had already put in place); the editor reports it by its code.
enum class [[nodiscard]] TParaResult : std::uint16_t {
    Ok = 0,
    OutOfMemory = 263,
    RegionTooLarge = 264,
    TooManyParas = 265,
    CannotJoin = 266,
    TextTooLarge = 267,
    ParaTooLarge = 268,
};
constexpr int Code(TParaResult r) { return static_cast<int>(r); }

// What the list tells its owning editor; the editor passes it on to every view of its ring.
class TParaListOwner {
public:
    virtual ~TParaListOwner() = default;
    virtual void TextInserted(std::int32_t Para, std::int32_t Pos, std::int32_t Count) = 0;
    virtual void TextDeleted(std::int32_t Para, std::int32_t Pos, std::int32_t Count) = 0;
    virtual void ParaSplit(std::int32_t Para, std::int32_t Pos, std::int32_t Indent) = 0;
    virtual void ParaDeleted(std::int32_t Para) = 0;
    // Paragraph Para + 1 was joined onto Para at position Pos.
    virtual void ParasJoined(std::int32_t Para, std::int32_t Pos) = 0;
    virtual void ReWrapped() = 0;
};

// Called with true before a long re-wrap and with false after it (the hourglass cursor).
using TBusyCursorHook = std::function<void(bool busy)>;
void SetBusyCursorHook(TBusyCursorHook hook);

// Tab-aware helpers; a tab advances to the next multiple of the tab size.
std::int32_t TextWidth(std::string_view text, std::int32_t tabSize);
std::int32_t CharsInColumns(std::string_view text, std::int32_t columns, std::int32_t tabSize);
std::int32_t PosToColumn(std::string_view text, std::int32_t pos, std::int32_t tabSize);
std::int32_t ColumnToPos(std::string_view text, std::int32_t col, std::int32_t tabSize);
bool HasTab(std::string_view text);
// Length without trailing blanks (space or tab); a text of blanks only keeps its length.
std::int32_t TrimmedLength(std::string_view text);
// Blanks directly before the 1-based position.
std::int32_t BlanksBefore(std::string_view text, std::int32_t pos);
// Length up to and including the first line feed; the whole length when there is none.
std::int32_t LengthToLineFeed(std::string_view text);

class TParaNode : public vcl::TObject {
public:
    ~TParaNode() override;
    // Never a null pointer, even for an empty paragraph: callers copy from it.
    std::string_view Text() const { return {FChars ? FChars : "", FLength}; }
    std::int32_t Length() const { return FLength; }
    std::int32_t LineCount() const { return static_cast<std::int32_t>(FStarts.size()) + 1; }
    // Offset of display line Line (from 1) from the start of the text.
    std::int32_t LineStart(std::int32_t Line) const { return Line <= 1 ? 0 : FStarts[Line - 2]; }
    // The display line (from 1) that holds the character position Pos.
    std::int32_t LineOfPos(std::int32_t Pos) const;
    TParaNode* Next() const { return FNext; }
    TParaNode* Prev() const { return FPrev; }

    // Frees a paragraph of a list, whether it was made alone or in one of the list's blocks.
    static void Free(TParaNode* Node);

private:
    friend class TParaList;
    friend class TParaIndex;
    static constexpr std::uint16_t InBlock = 1;  // the node lies in a block of the list
    static constexpr std::uint16_t OwnsText = 2; // FChars is the node's own buffer
    // Takes Chars (new[] of Length bytes, or none) as the paragraph's text.
    void TakeText(char* Chars, std::int32_t Length);

    // One cache line in a block (64-byte lines): a walk along the list reads one line a node.
    std::vector<std::uint16_t> FStarts; // starts of lines 2 and later
    char* FChars = nullptr;
    std::uint16_t FLength = 0;
    std::uint16_t FFlags = 0;
    TParaNode* FNext = nullptr;
    TParaNode* FPrev = nullptr;
};

class TParaList;

// Paragraph and display line by number in logarithmic time. The paragraphs are cut into
// groups of consecutive paragraphs, each known by its first paragraph and its counts of
// paragraphs and display lines; a binary indexed tree over the groups' counts finds a group,
// and a short walk inside it the paragraph. Its arrays are a few bytes a group, so that at a
// million paragraphs a look-up reads cached memory until the walk. An edit changes the counts
// of one group; a group grown past twice its size is split in two. Nothing that keeps the
// index right allocates: where memory for a split or a new set of groups is refused, the
// groups stay as they are, only longer to walk. Paragraphs added at the end of a load wait in
// one run and join in one step when the index is next asked.
class TParaIndex {
public:
    explicit TParaIndex(const TParaList& List) : FList(List) {}
    TParaIndex(const TParaIndex&) = delete;
    TParaIndex& operator=(const TParaIndex&) = delete;

    // New groups over every paragraph of the list, from the line counts they have now. Throws
    // std::bad_alloc only when there are no groups yet to fall back on.
    void Rebuild();
    // Node was linked into the list just before its last paragraph (loading).
    void Appended(TParaNode* Node);
    // Puts the waiting run into the groups; needed before a paragraph's line count changes.
    void Settle();
    // Node becomes paragraph Para.
    void Insert(std::int32_t Para, TParaNode* Node);
    // Node, paragraph Para, leaves; called while it is still linked.
    void Erase(std::int32_t Para, TParaNode* Node);
    // Paragraph Para's line count changed by Delta.
    void LinesChanged(std::int32_t Para, std::int32_t Delta);
    // Paragraph Para (1 to the count) and the display line of its first line.
    TParaNode* Find(std::int32_t Para, std::int32_t& FirstLine);
    // The paragraph holding display line Line (1 to the count), its number and its first line.
    TParaNode* FindLine(std::int32_t Line, std::int32_t& Para, std::int32_t& FirstLine);

private:
    struct TSums {
        std::int32_t Paras = 0;
        std::int32_t Lines = 0;
    };
    struct TGroup {
        TParaNode* First = nullptr; // none while the group is empty
        TSums Own;
    };
    // The group holding paragraph K (ByLine: display line K) and the sums of the groups before.
    std::size_t Locate(std::int32_t K, bool ByLine, TSums& Before) const;
    void Add(std::size_t Group, std::int32_t Paras, std::int32_t Lines);
    void InsertAt(std::int32_t Para, TParaNode* Node);
    void Split(std::size_t Group);
    void BuildTree();
    // New groups of every paragraph; false, and nothing changed, when memory is refused.
    bool MakeGroups();
    // Every group's line count again from its paragraphs.
    void Recount();

    const TParaList& FList;
    std::vector<TGroup> FGroups;
    std::vector<TSums> FTree; // binary indexed over FGroups, from 1
    TSums FTotal;
    TParaNode* FWaiting = nullptr;
    std::int32_t FWaitingCount = 0;
};

// A display line found by number.
struct TLineRef {
    TParaNode* Node = nullptr;
    std::int32_t Para = 0;
    std::int32_t LineInPara = 0;
    std::string_view Text;
    std::int32_t Length() const { return static_cast<std::int32_t>(Text.size()); }
};

// Records of changes packed back to back in one block; groups are undone and redone together.
class TUndoBuffer : public vcl::TObject {
public:
    explicit TUndoBuffer(std::int32_t Size);
    ~TUndoBuffer() override;

    // Returns whether a group was already open, for EndGroup.
    bool BeginGroup();
    void EndGroup(bool WasOpen);
    void Clear();

    std::int32_t Size() const { return static_cast<std::int32_t>(FBlock.size()); }
    std::int32_t FreeBytes() const { return Size() - static_cast<std::int32_t>(FUsed); }
    std::int32_t UndoCount() const { return FUndoCount; }
    std::int32_t RedoCount() const { return FRedoCount; }
    // Records discarded to make room since creation (history lost).
    std::int32_t Discarded() const { return FDiscarded; }

    // What a record holds: a caret mark, text inserted, deleted or replaced, a paragraph added
    // before or after, or one deleted.
    enum TKind : std::uint8_t {
        ukCaret = 0,
        ukInsert = 1,
        ukParaBefore = 2,
        ukParaAfter = 3,
        ukDelete = 4,
        ukParaDeleted = 5,
        ukReplace = 6,
    };

private:
    friend class TParaList;
    static constexpr std::size_t None = static_cast<std::size_t>(-1);
    static constexpr std::size_t HeaderSize = 16;

    struct Header {
        std::uint16_t Back;
        std::uint8_t Kind;
        bool Modified;
        std::uint8_t Group;
        std::int32_t Para;
        std::int32_t Pos;
        std::uint16_t Length;
    };
    Header Read(std::size_t at) const;
    void Write(std::size_t at, const Header& h);
    std::size_t RecordSize(std::size_t at) const;
    std::size_t NextOf(std::size_t at) const { return at + RecordSize(at); }
    std::size_t PrevOf(std::size_t at) const;
    std::string_view Data(std::size_t at) const;
    TParaNode* NodeOf(std::size_t at) const;
    void SetNode(std::size_t at, TParaNode* node);
    void SetModifiedBit(std::size_t at, bool value);
    void FreeOwned(std::size_t at, bool undoSide);

    void DropRedo();
    void NextGroup();
    bool MakeRoom(std::size_t n);
    void ResetEmpty();
    // Takes back the newest undo record (one that holds no paragraph).
    void DropNewest();
    void MarkAllModified();
    bool Add(std::uint8_t kind, bool modified, std::int32_t para, std::int32_t pos,
             std::string_view data1, std::string_view data2 = {}, bool twoStrings = false);
    bool TryMerge(std::uint8_t kind, std::int32_t para, std::int32_t pos, std::string_view data1,
                  std::string_view data2);

    std::vector<std::uint8_t> FBlock;
    std::size_t FCurrent = None; // newest undo record
    std::size_t FUsed = 0;       // end of the current record
    std::int32_t FUndoCount = 0;
    std::int32_t FRedoCount = 0;
    std::int32_t FDiscarded = 0;
    std::uint8_t FGroup = 0;
    bool FInGroup = false;
    bool FFull = false;
};

// Memory for the paragraphs and texts of a load. A block of 2 MB or more is aligned to whole
// huge pages and offered to the system for them: on a virtual machine the first write to each
// small page costs more than filling it.
struct TBlockFree {
    std::size_t Mapped = 0; // bytes of a block mapped straight from the system; 0 for one of the heap
    void operator()(char* p) const;
};
using TLoadBlock = std::unique_ptr<char, TBlockFree>;
// At least Bytes bytes, not cleared; throws std::bad_alloc.
TLoadBlock NewLoadBlock(std::size_t Bytes);

// A paragraph's next text, made before a change so that the change itself cannot fail.
struct TNewText {
    std::unique_ptr<char[]> Chars;
    std::int32_t Size = 0;
    // Throws std::bad_alloc.
    void Make(std::initializer_list<std::string_view> Parts);
    std::string_view View() const { return {Chars.get(), static_cast<std::size_t>(Size)}; }
};

class TParaList : public vcl::TObject {
public:
    TParaList(TParaListOwner* Owner, bool WordWrap, std::int32_t UndoSize = 8192);
    ~TParaList() override;

    TParaListOwner* Owner() const { return FOwner; }
    void SetOwner(TParaListOwner* Owner) { FOwner = Owner; }

    // Adds a paragraph before the last one (loading a file); no limit check and no undo.
    // Gives 268 for a text that no paragraph can hold (more than 65,535 characters). The
    // paragraph and its text are made in blocks of the list; a text inside one kept by
    // KeepText is not copied at all.
    [[nodiscard]] TParaResult AddPara(std::string_view Text, bool Trim);
    // Keeps the first Size bytes of Data (a whole file) for the paragraphs that AddPara makes
    // from its lines.
    std::string_view KeepText(TLoadBlock Data, std::size_t Size);
    // Room for about Count paragraphs of a load in one block, whose pages are made at once from
    // several threads. Only a hint: where memory is refused, AddPara finds its own.
    void ReserveLoadedNodes(std::size_t Count);

    [[nodiscard]] TParaResult InsertText(std::int32_t Para, std::string_view Text, std::int32_t Pos);
    [[nodiscard]] TParaResult DeleteText(std::int32_t Para, std::int32_t Count, std::int32_t Pos);
    [[nodiscard]] TParaResult ReplaceText(std::int32_t Para, std::string_view NewText,
                                          std::int32_t OldLen, std::int32_t Pos);
    [[nodiscard]] TParaResult InsertParaBefore(std::int32_t Para, std::string_view Text);
    [[nodiscard]] TParaResult InsertParaAfter(std::int32_t Para, std::string_view Text);
    [[nodiscard]] TParaResult DeletePara(std::int32_t Para);
    [[nodiscard]] TParaResult SplitPara(std::int32_t Para, bool Trim, std::int32_t& Indent,
                                        std::int32_t TabWidth, std::int32_t Pos);
    [[nodiscard]] TParaResult JoinParas(std::int32_t Para, std::int32_t Pos);
    [[nodiscard]] TParaResult DeleteRegion(std::int32_t Para1, std::int32_t Pos1,
                                           std::int32_t Para2, std::int32_t Pos2);
    [[nodiscard]] TParaResult InsertBlock(std::int32_t& Para, std::string_view Text,
                                          std::int32_t& Pos);

    bool CanUndo() const { return FUndo->UndoCount() > 0; }
    bool CanRedo() const { return FUndo->RedoCount() > 0; }
    // Replay one group (nothing when there is none). A step that fails puts back the steps of
    // the group already replayed, so the text and the history stay as they were, and Para and
    // Pos keep their values.
    [[nodiscard]] TParaResult Undo(std::int32_t& Para, std::int32_t& Pos);
    [[nodiscard]] TParaResult Redo(std::int32_t& Para, std::int32_t& Pos);

    TParaNode* FindPara(std::int32_t Para);
    TLineRef FindLine(std::int32_t Line);
    std::string_view ParaText(std::int32_t Para);
    std::int32_t ParaLength(std::int32_t Para);
    std::int32_t LineLength(std::int32_t Line);
    std::int32_t ParaPosToLine(std::int32_t Para, std::int32_t Pos, std::int32_t& Col);
    std::int32_t LineToParaPos(std::int32_t Line, std::int32_t& Offset);
    std::int32_t PosToColumn(std::string_view Text, std::int32_t Pos) const {
        return editor::PosToColumn(Text, Pos, FTabSize);
    }
    std::int32_t ColumnToPos(std::string_view Text, std::int32_t Col) const {
        return editor::ColumnToPos(Text, Col, FTabSize);
    }
    [[nodiscard]] TParaResult CheckLimits(std::int32_t Para, std::int32_t NewParas,
                                          std::int64_t NewBytes);

    // Positions the editor holds, moved as the list moves its bookmarks.
    void AdjustPosParaDeleted(std::int32_t P, std::int32_t& Para, std::int32_t& Pos) const;
    static void AdjustPosTextDeleted(std::int32_t P, std::int32_t AtPos, std::int32_t Count,
                                     std::int32_t& Para, std::int32_t& Pos);

    void ReWrapAll();
    // Every paragraph's characters through Recode, one for one and in place: a change of code
    // page, not an edit, so it leaves no undo record and the modified flag as it was.
    void RecodeText(const std::function<void(char* Text, std::size_t Length)>& Recode);

    std::int32_t ParaCount() const { return FParaCount; }
    std::int32_t LineCount() const { return FLineCount; }
    std::int64_t TextSize() const { return FTextSize; }
    TParaNode* FirstPara() const { return FFirst; }
    TParaNode* LastPara() const { return FLast; }

    std::int32_t ParaLimit() const { return FParaLimit; }
    void SetParaLimit(std::int32_t Value) { FParaLimit = Value; }
    std::int32_t ByteLimit() const { return FByteLimit; }
    void SetByteLimit(std::int32_t Value) { FByteLimit = Value; }
    std::int32_t ParaLengthLimit() const { return FParaLengthLimit; }
    void SetParaLengthLimit(std::int32_t Value);

    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    std::int32_t WrapColumn() const { return FWrapColumn; }
    void SetWrapColumn(std::int32_t Value);
    std::uint8_t TabSize() const { return FTabSize; }
    void SetTabSize(std::uint8_t Value);
    // The wrap column in force: 32767 without word wrap.
    std::int32_t EffectiveWrapColumn() const { return FWordWrap ? FWrapColumn : 32767; }

    bool Modified() const { return FModified; }
    void SetModified(bool Value);
    bool Notify() const { return FNotify; }
    void SetNotify(bool Value) { FNotify = Value; }

    std::int32_t UndoSize() const { return FUndo->Size(); }
    void SetUndoSize(std::int32_t Value);
    TUndoBuffer& UndoBuffer() { return *FUndo; }

    struct TBookmark {
        std::int32_t Para = 0;
        std::int32_t Pos = 0;
    };
    TBookmark Bookmark(int n) const { return n >= 0 && n < 10 ? FBookmarks[n] : TBookmark{}; }
    void SetBookmark(int n, std::int32_t Para, std::int32_t Pos);
    void SetBookmarkFromLine(int n, std::int32_t Line, std::int32_t Col);

    // Display lines changed by the last text change; last = MaxLongInt when all below may move.
    std::int32_t FirstChangedLine() const { return FFirstChanged; }
    std::int32_t LastChangedLine() const { return FLastChanged; }

private:
    friend class TParaIndex;
    TParaNode* NewNode(std::string_view text);
    // A paragraph of a load, in the list's blocks.
    TParaNode* NewLoadedNode(std::string_view text);
    struct TWrapChange {
        std::vector<std::uint16_t> Starts;
        std::int32_t First = 0; // first and last changed line within the paragraph, from 0
        std::int32_t Last = 0;
    };
    bool Wraps(std::string_view text) const;
    void Wrap(TParaNode* node);
    // The line starts of a paragraph's new text after Delta characters replaced OldLen
    // characters at offset At, re-wrapped from the line before the change.
    void ReWrapChange(std::string_view text, const std::vector<std::uint16_t>& oldStarts,
                      std::int32_t at,
                      std::int32_t oldLen, std::int32_t delta, TWrapChange& change);
    std::int32_t NextBreak(std::string_view text, std::int32_t start) const;
    void LinesChanged(std::int32_t para, std::int32_t delta);
    // Makes the cached paragraph the one numbered Target, or with ByLine the one holding display
    // line Target: a short walk from the cache, else through the index.
    void MoveCache(std::int32_t Target, bool ByLine);
    // Puts a prepared text and its lines in place; allocates nothing, so it cannot fail.
    void CommitChange(TParaNode* node, TNewText& text, TWrapChange& change,
                      std::int32_t para, std::int32_t firstLine, std::int32_t delta);
    void LinkAt(std::int32_t para, TParaNode* node);
    TParaNode* Unlink(std::int32_t para);

    TParaResult DoInsertText(std::int32_t para, std::string_view text, std::int32_t pos,
                             bool check);
    TParaResult DoDeleteText(std::int32_t para, std::int32_t count, std::int32_t pos);
    TParaResult DoReplaceText(std::int32_t para, std::string_view newText, std::int32_t oldLen,
                              std::int32_t pos, bool check);
    TParaResult DoInsertPara(std::int32_t para, std::string_view text, bool after);
    // Unlinks a paragraph of a list of two or more; the undo record keeps it, else it is freed.
    void RemovePara(std::int32_t para);
    // Replay of one undo record backwards or forwards; Pos gets the caret position after it.
    TParaResult UndoStep(std::size_t at, std::int32_t& pos);
    TParaResult RedoStep(std::size_t at, std::int32_t& pos);
    void LinkNew(std::int32_t para, TParaNode* node, bool after);
    bool CaretMark(std::int32_t para, std::int32_t pos);
    bool Recording() const { return !FReplaying; }

    void NotifyInserted(std::int32_t para, std::int32_t pos, std::int32_t count);
    void NotifyDeleted(std::int32_t para, std::int32_t pos, std::int32_t count);
    void NotifySplit(std::int32_t para, std::int32_t pos, std::int32_t indent);
    void NotifyParaDeleted(std::int32_t para);
    void NotifyJoined(std::int32_t para, std::int32_t pos);

    TParaListOwner* FOwner;
    TParaNode* FFirst = nullptr;
    TParaNode* FLast = nullptr;
    TParaNode* FCacheNode = nullptr;
    std::int32_t FCachePara = 1;
    std::int32_t FCacheLine = 1;
    std::int32_t FParaCount = 0;
    std::int64_t FTextSize = 0;
    std::int32_t FLineCount = 0;
    std::int32_t FParaLimit = MaxLongInt;
    std::int32_t FByteLimit = MaxLongInt;
    std::int32_t FParaLengthLimit = 32767;
    bool FWordWrap;
    std::int32_t FWrapColumn = 80;
    std::uint8_t FTabSize = 8;
    bool FModified = false;
    bool FNotify = true;
    bool FReplaying = false;
    TBookmark FBookmarks[10];
    std::unique_ptr<TUndoBuffer> FUndo;
    std::int32_t FFirstChanged = 0;
    std::int32_t FLastChanged = 0;
    std::vector<std::int32_t> FOldStarts, FNewStarts; // scratch of the incremental re-wrap
    TParaIndex FIndex{*this};
    // Blocks of a load: nodes, copied texts, kept files. Freed with the list.
    std::vector<TLoadBlock> FNodeBlocks;
    std::int32_t FNodeBlockSize = 0; // nodes in the last block
    std::int32_t FNodeBlockLeft = 0;
    std::vector<TLoadBlock> FTextBlocks;
    std::size_t FTextBlockLeft = 0;
    struct TKeptText {
        TLoadBlock Data;
        std::size_t Size;
    };
    std::vector<TKeptText> FKeptTexts;
};

} // namespace editor
