// The IDE's editor buffers: one per open file, holding its lines (CR LF between them when the
// text is read whole), view 0's cursor, selection and top line, and the undo and redo steps of
// every edit; and the module, editor, reader, writer and view objects the libraries reach them
// through. The code editor edits the same buffer. Implementations in EditBuffers.cpp.
#pragma once

#include "host/EditorIntf.h"

#include <compare>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ide {

// A place in a buffer: line and column from 1, the column counting the line's characters.
struct TTextPos {
    int Line = 1;
    int Col = 1;
    friend auto operator<=>(const TTextPos&, const TTextPos&) = default;
};

// Lines First..OldLast of the text before were replaced by lines First..NewLast.
struct TTextChange {
    int First = 1;
    int OldLast = 1;
    int NewLast = 1;
};

class TEditBuffer {
public:
    TEditBuffer(std::string fileName, std::string_view diskText);
    TEditBuffer(const TEditBuffer&) = delete;
    TEditBuffer& operator=(const TEditBuffer&) = delete;

    // Every lone LF and lone CR becomes CR LF.
    static std::string ToCrLf(std::string_view text);

    const std::string& FileName() const { return FFileName; }
    // The whole text with CR LF line breaks.
    const std::string& Text() const;
    // Replaces the text (its line breaks made CR LF) as one edit of the part that differs, and
    // marks the buffer modified.
    void SetText(std::string_view text);
    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }
    // The number of line breaks plus one.
    int LinesInBuffer() const { return static_cast<int>(FLines.size()); }
    // Line n from 1, without its break; an empty one outside the text.
    const std::string& Line(int n) const;
    // The most characters a line has had since the file was opened.
    int LongestLine() const { return FLongest; }
    // Goes up with every change of the text.
    std::size_t Version() const { return FVersion; }

    // --- editing: every edit is one undo step, typing in a row merged into one.
    // The place moved into the text: the line into 1..count, the column into 1..length + 1.
    TTextPos Clamp(TTextPos pos) const;
    // Replaces the text between the two places (in either order) and answers the place after
    // the inserted text.
    TTextPos Replace(TTextPos from, TTextPos to, std::string_view text, bool typing = false);
    std::string TextBetween(TTextPos from, TTextPos to) const;
    bool CanUndo() const { return !FUndo.empty(); }
    bool CanRedo() const { return !FRedo.empty(); }
    // Takes back the last edit (or makes it again), with the cursor and selection it had.
    bool Undo();
    bool Redo();

    // --- view 0: position 0 the cursor, 1 the top line, as the host's view gives them.
    host::TEditPos Pos(int index) const;
    // Setting the cursor ends the selection.
    void SetPos(int index, host::TEditPos pos);
    // The cursor is the caret; the anchor is the selection's other end.
    TTextPos Cursor() const { return FCursor; }
    TTextPos Anchor() const { return FAnchor; }
    // Moves the cursor (its line kept in the text); with extend the anchor stays.
    void SetCursor(TTextPos pos, bool extend = false);
    int TopLine() const { return FTop.Line; }
    void SetTopLine(int line);
    bool HasSelection() const { return FAnchor != FCursor; }
    TTextPos SelStart() const { return std::min(FAnchor, FCursor); }
    TTextPos SelEnd() const { return std::max(FAnchor, FCursor); }
    std::string SelText() const { return TextBetween(FAnchor, FCursor); }
    void SelectAll();
    // Puts text in place of the selection (or, overwriting, of the characters under the
    // cursor) and the cursor after it; a cursor beyond the line's end is first reached with
    // blanks.
    void InsertAtCursor(std::string_view text, bool overwrite = false, bool typing = false);
    void DeleteSelection();

    // Called after every change of the text. Answers a number to unsubscribe with.
    int Subscribe(std::function<void(const TTextChange&)> listener);
    void Unsubscribe(int id);

    // Writes the text to the file, atomically; false when it could not be written.
    bool Save();
    // The same under another name, which the buffer then has.
    bool SaveAs(const std::string& fileName);

private:
    struct TStep {
        TTextPos From;
        std::string Removed;
        std::string Inserted;
        TTextPos CursorBefore, AnchorBefore, CursorAfter;
        bool Typing = false;
    };
    TTextPos EndOf(TTextPos from, std::string_view text) const;
    TTextPos RawReplace(TTextPos from, TTextPos to, std::string_view text);
    TTextPos PosOfOffset(std::size_t offset) const;
    void Notify(const TTextChange& change);

    std::string FFileName;
    std::vector<std::string> FLines;
    std::size_t FSize = 0; // of the text with CR LF
    mutable std::string FFlat;
    mutable bool FFlatValid = false;
    int FLongest = 0;
    std::size_t FVersion = 0;
    bool FModified = false;
    TTextPos FCursor, FAnchor;
    host::TEditPos FTop;
    std::vector<TStep> FUndo, FRedo;
    std::vector<std::pair<int, std::function<void(const TTextChange&)>>> FListeners;
    int FNextListener = 1;
};

class TEditBuffers {
public:
    // The open buffer of that file (names compared without regard to case), or null.
    std::shared_ptr<TEditBuffer> Find(std::string_view fileName) const;
    // Loads the file unless it is open; null when it cannot be read.
    std::shared_ptr<TEditBuffer> Open(const std::string& fileName);
    void Close(std::string_view fileName);
    void CloseAll();
    const std::vector<std::shared_ptr<TEditBuffer>>& Buffers() const { return FBuffers; }

private:
    std::vector<std::shared_ptr<TEditBuffer>> FBuffers;
};

// The module object of an open buffer. It and the objects made from it hold the buffer weakly:
// once the file is closed they read nothing and their edits go nowhere.
host::TIModuleInterface* NewModuleInterface(const std::shared_ptr<TEditBuffer>& buffer);

} // namespace ide
