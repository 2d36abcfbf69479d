#include "ide/EditBuffers.h"

#include "ide/CallLog.h"
#include "ide/WinNames.h"

#include "rtl/Files.h"
#include "rtl/Paths.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace ide {

namespace {

// The lines of a text whose breaks are CR LF, LF or CR.
std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    lines.emplace_back(text.substr(start));
    return lines;
}

// Older steps go once there are this many.
constexpr std::size_t UndoLimit = 10000;

} // namespace

TEditBuffer::TEditBuffer(std::string fileName, std::string_view diskText)
    : FFileName(std::move(fileName)), FLines(SplitLines(diskText)) {
    for (const std::string& l : FLines) {
        FSize += l.size() + 2;
        FLongest = std::max(FLongest, static_cast<int>(l.size()));
    }
    FSize -= 2;
}

std::string TEditBuffer::ToCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

const std::string& TEditBuffer::Text() const {
    if (!FFlatValid) {
        FFlat.clear();
        FFlat.reserve(FSize);
        for (std::size_t i = 0; i < FLines.size(); ++i) {
            if (i)
                FFlat += "\r\n";
            FFlat += FLines[i];
        }
        FFlatValid = true;
    }
    return FFlat;
}

const std::string& TEditBuffer::Line(int n) const {
    static const std::string none;
    return n >= 1 && n <= LinesInBuffer() ? FLines[static_cast<std::size_t>(n - 1)] : none;
}

void TEditBuffer::SetText(std::string_view text) {
    // Only the part that differs is replaced, so that the lines around it, the view's colouring
    // and an undo step stay small whatever the caller hands over.
    std::string now = ToCrLf(text);
    const std::string& old = Text();
    std::size_t prefix = 0, limit = std::min(old.size(), now.size());
    while (prefix < limit && old[prefix] == now[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < limit - prefix && old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix])
        ++suffix;
    // Never inside a CR LF pair of the old text.
    while (prefix > 0 && prefix < old.size() && old[prefix - 1] == '\r' && old[prefix] == '\n')
        --prefix;
    while (suffix > 0 && old.size() - suffix > prefix && old[old.size() - suffix] == '\n' &&
           old[old.size() - suffix - 1] == '\r')
        --suffix;
    TTextPos from = PosOfOffset(prefix), to = PosOfOffset(old.size() - suffix);
    std::string middle = now.substr(prefix, now.size() - suffix - prefix);
    if (from != to || !middle.empty())
        Replace(from, to, middle);
    FModified = true;
    SetPos(0, Pos(0));
    SetPos(1, FTop);
}

TTextPos TEditBuffer::PosOfOffset(std::size_t offset) const {
    std::size_t at = 0;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        std::size_t len = FLines[i].size();
        if (offset <= at + len || i + 1 == FLines.size())
            return {static_cast<int>(i) + 1, static_cast<int>(std::min(offset - at, len)) + 1};
        at += len + 2;
    }
    return {1, 1};
}

TTextPos TEditBuffer::Clamp(TTextPos pos) const {
    pos.Line = std::clamp(pos.Line, 1, LinesInBuffer());
    pos.Col = std::clamp(pos.Col, 1, static_cast<int>(Line(pos.Line).size()) + 1);
    return pos;
}

std::string TEditBuffer::TextBetween(TTextPos from, TTextPos to) const {
    from = Clamp(from);
    to = Clamp(to);
    if (to < from)
        std::swap(from, to);
    const std::string& first = Line(from.Line);
    if (from.Line == to.Line)
        return first.substr(static_cast<std::size_t>(from.Col - 1), static_cast<std::size_t>(to.Col - from.Col));
    std::string out = first.substr(static_cast<std::size_t>(from.Col - 1));
    for (int l = from.Line + 1; l < to.Line; ++l)
        out += "\r\n" + Line(l);
    out += "\r\n" + Line(to.Line).substr(0, static_cast<std::size_t>(to.Col - 1));
    return out;
}

TTextPos TEditBuffer::EndOf(TTextPos from, std::string_view text) const {
    std::vector<std::string> pieces = SplitLines(text);
    if (pieces.size() == 1)
        return {from.Line, from.Col + static_cast<int>(pieces[0].size())};
    return {from.Line + static_cast<int>(pieces.size()) - 1, static_cast<int>(pieces.back().size()) + 1};
}

TTextPos TEditBuffer::RawReplace(TTextPos from, TTextPos to, std::string_view text) {
    std::vector<std::string> pieces = SplitLines(text);
    const std::size_t first = static_cast<std::size_t>(from.Line - 1), last = static_cast<std::size_t>(to.Line - 1);
    std::string tail = FLines[last].substr(static_cast<std::size_t>(to.Col - 1));
    const std::size_t endCol = pieces.back().size() + (pieces.size() == 1 ? static_cast<std::size_t>(from.Col - 1) : 0);
    for (std::size_t i = first; i <= last; ++i)
        FSize -= FLines[i].size() + 2;
    pieces.front().insert(0, FLines[first], 0, static_cast<std::size_t>(from.Col - 1));
    pieces.back() += tail;
    const std::size_t oldCount = last - first + 1, newCount = pieces.size();
    const std::size_t common = std::min(oldCount, newCount);
    for (std::size_t i = 0; i < common; ++i)
        FLines[first + i] = std::move(pieces[i]);
    if (newCount > oldCount)
        FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(first + common),
                      std::make_move_iterator(pieces.begin() + static_cast<std::ptrdiff_t>(common)),
                      std::make_move_iterator(pieces.end()));
    else if (oldCount > newCount)
        FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(first + common),
                     FLines.begin() + static_cast<std::ptrdiff_t>(first + oldCount));
    for (std::size_t i = first; i < first + newCount; ++i) {
        FSize += FLines[i].size() + 2;
        FLongest = std::max(FLongest, static_cast<int>(FLines[i].size()));
    }
    FFlatValid = false;
    ++FVersion;
    FModified = true;
    // The top line stays in the text.
    FTop.Line = std::clamp(FTop.Line, 1, LinesInBuffer());
    Notify({from.Line, to.Line, from.Line + static_cast<int>(newCount) - 1});
    return {from.Line + static_cast<int>(newCount) - 1, static_cast<int>(endCol) + 1};
}

TTextPos TEditBuffer::Replace(TTextPos from, TTextPos to, std::string_view text, bool typing) {
    from = Clamp(from);
    to = Clamp(to);
    if (to < from)
        std::swap(from, to);
    std::string normal = ToCrLf(text);
    TStep step{from, TextBetween(from, to), normal, FCursor, FAnchor, {}, typing};
    TTextPos end = RawReplace(from, to, normal);
    step.CursorAfter = end;
    FRedo.clear();
    // Typing in a row is one step: each piece goes on where the one before ended.
    if (typing && !FUndo.empty() && FUndo.back().Typing && step.Inserted.find('\n') == std::string::npos &&
        EndOf(FUndo.back().From, FUndo.back().Inserted) == from) {
        FUndo.back().Inserted += step.Inserted;
        FUndo.back().Removed += step.Removed;
        FUndo.back().CursorAfter = end;
    } else {
        FUndo.push_back(std::move(step));
        if (FUndo.size() > UndoLimit)
            FUndo.erase(FUndo.begin());
    }
    return end;
}

bool TEditBuffer::Undo() {
    if (FUndo.empty())
        return false;
    TStep step = std::move(FUndo.back());
    FUndo.pop_back();
    RawReplace(step.From, EndOf(step.From, step.Inserted), step.Removed);
    FAnchor = Clamp(step.AnchorBefore);
    FCursor = Clamp(step.CursorBefore);
    FRedo.push_back(std::move(step));
    return true;
}

bool TEditBuffer::Redo() {
    if (FRedo.empty())
        return false;
    TStep step = std::move(FRedo.back());
    FRedo.pop_back();
    TTextPos end = RawReplace(step.From, EndOf(step.From, step.Removed), step.Inserted);
    FAnchor = FCursor = end;
    FUndo.push_back(std::move(step));
    return true;
}

host::TEditPos TEditBuffer::Pos(int index) const {
    if (index == 0)
        return {static_cast<std::int16_t>(std::min(FCursor.Col, 32767)), FCursor.Line};
    if (index == 1)
        return FTop;
    return {};
}

void TEditBuffer::SetPos(int index, host::TEditPos pos) {
    if (index != 0 && index != 1)
        return;
    pos.Line = std::clamp<std::int32_t>(pos.Line, 1, LinesInBuffer());
    if (pos.Col < 1)
        pos.Col = 1;
    if (index == 0)
        FAnchor = FCursor = {pos.Line, pos.Col};
    else
        FTop = pos;
}

void TEditBuffer::SetCursor(TTextPos pos, bool extend) {
    pos.Line = std::clamp(pos.Line, 1, LinesInBuffer());
    pos.Col = std::max(pos.Col, 1);
    FCursor = pos;
    if (!extend)
        FAnchor = pos;
}

void TEditBuffer::SetTopLine(int line) { FTop.Line = std::clamp(line, 1, LinesInBuffer()); }

void TEditBuffer::SelectAll() {
    FAnchor = {1, 1};
    FCursor = Clamp({LinesInBuffer(), std::numeric_limits<int>::max()});
}

void TEditBuffer::InsertAtCursor(std::string_view text, bool overwrite, bool typing) {
    TTextPos from = SelStart(), to = SelEnd();
    if (!HasSelection()) {
        const std::string& line = Line(FCursor.Line);
        int length = static_cast<int>(line.size());
        std::string padded;
        if (FCursor.Col > length + 1) {
            padded.assign(static_cast<std::size_t>(FCursor.Col - length - 1), ' ');
            from = to = {FCursor.Line, length + 1};
        } else if (overwrite && text.find_first_of("\r\n") == std::string_view::npos) {
            to.Col = std::min(length + 1, from.Col + static_cast<int>(text.size()));
        }
        if (!padded.empty()) {
            TTextPos end = Replace(from, to, padded + std::string(text), typing);
            FAnchor = FCursor = end;
            return;
        }
    }
    TTextPos end = Replace(from, to, text, typing);
    FAnchor = FCursor = end;
}

void TEditBuffer::DeleteSelection() {
    if (!HasSelection())
        return;
    TTextPos end = Replace(SelStart(), SelEnd(), "");
    FAnchor = FCursor = end;
}

int TEditBuffer::Subscribe(std::function<void(const TTextChange&)> listener) {
    FListeners.emplace_back(FNextListener, std::move(listener));
    return FNextListener++;
}

void TEditBuffer::Unsubscribe(int id) {
    std::erase_if(FListeners, [id](const auto& l) { return l.first == id; });
}

void TEditBuffer::Notify(const TTextChange& change) {
    for (std::size_t i = 0; i < FListeners.size(); ++i)
        FListeners[i].second(change);
}

bool TEditBuffer::Save() {
    if (!WriteWholeFile(FFileName, Text()))
        return false;
    FModified = false;
    return true;
}

bool TEditBuffer::SaveAs(const std::string& fileName) {
    if (!WriteWholeFile(fileName, Text()))
        return false;
    FFileName = FullWinName(fileName);
    FModified = false;
    return true;
}

std::shared_ptr<TEditBuffer> TEditBuffers::Find(std::string_view fileName) const {
    if (fileName.empty())
        return nullptr;
    std::string full = FullWinName(fileName);
    for (const auto& b : FBuffers)
        if (SameWinName(b->FileName(), fileName) || SameWinName(b->FileName(), full))
            return b;
    return nullptr;
}

std::shared_ptr<TEditBuffer> TEditBuffers::Open(const std::string& fileName) {
    std::string full = FullWinName(fileName);
    if (auto b = Find(full))
        return b;
    if (!rtl::FileExists(full))
        return nullptr;
    auto text = ReadWholeFile(full);
    if (!text)
        return nullptr;
    auto b = std::make_shared<TEditBuffer>(full, *text);
    FBuffers.push_back(b);
    return b;
}

void TEditBuffers::Close(std::string_view fileName) {
    if (auto b = Find(fileName))
        std::erase(FBuffers, b);
}

void TEditBuffers::CloseAll() { FBuffers.clear(); }

namespace {

class TEditReader final : public host::TIEditReader {
public:
    explicit TEditReader(std::weak_ptr<TEditBuffer> buffer) : FBuffer(std::move(buffer)) {}

    int GetText(int position, char* buffer, int count) override {
        RecordCall("Reader.GetText", {std::to_string(position), std::to_string(count)});
        auto b = FBuffer.lock();
        if (!b || !buffer || count <= 0 || position < 0)
            return 0;
        const std::string& text = b->Text();
        if (static_cast<size_t>(position) >= text.size())
            return 0;
        size_t n = std::min(static_cast<size_t>(count), text.size() - static_cast<size_t>(position));
        std::memcpy(buffer, text.data() + position, n);
        return static_cast<int>(n);
    }

private:
    std::weak_ptr<TEditBuffer> FBuffer;
};

// Moves forward only over the text as it was when the writer was made; the insertions enter the
// buffer when the last reference goes.
class TEditWriter final : public host::TIEditWriter {
public:
    explicit TEditWriter(std::weak_ptr<TEditBuffer> buffer) : FBuffer(std::move(buffer)) {
        if (auto b = FBuffer.lock())
            FLength = static_cast<int>(std::min<size_t>(b->Text().size(), std::numeric_limits<int>::max()));
    }

    ~TEditWriter() override {
        auto b = FBuffer.lock();
        if (!b || FInserts.empty())
            return;
        std::string text = b->Text();
        size_t shift = 0;
        for (const auto& [offset, piece] : FInserts) {
            size_t at = std::min(text.size(), static_cast<size_t>(offset) + shift);
            text.insert(at, piece);
            shift += piece.size();
        }
        b->SetText(text);
    }

    bool CopyTo(int position) override {
        RecordCall("Writer.CopyTo", {std::to_string(position)});
        if (position <= FPos)
            return false;
        FPos = std::min(position, FLength);
        return true;
    }

    bool Insert(const char* text) override {
        RecordCall("Writer.Insert", {text ? std::string(text) : std::string()});
        if (!text || FBuffer.expired())
            return false;
        if (*text) {
            // CR LF as the buffer holds it, so offsets stay right for the writer's next moves.
            FInserts.emplace_back(FPos, TEditBuffer::ToCrLf(text));
        }
        return true;
    }

private:
    std::weak_ptr<TEditBuffer> FBuffer;
    int FLength = 0;
    int FPos = 0;
    std::vector<std::pair<int, std::string>> FInserts;
};

class TEditView final : public host::TIEditView {
public:
    explicit TEditView(std::weak_ptr<TEditBuffer> buffer) : FBuffer(std::move(buffer)) {}

    host::TEditPos GetPos(int index) override {
        RecordCall("View.GetPos", {std::to_string(index)});
        auto b = FBuffer.lock();
        return b ? b->Pos(index) : host::TEditPos{};
    }

    void SetPos(int index, host::TEditPos pos) override {
        RecordCall("View.SetPos", {std::to_string(index), std::to_string(pos.Line), std::to_string(pos.Col)});
        if (auto b = FBuffer.lock())
            b->SetPos(index, pos);
    }

private:
    std::weak_ptr<TEditBuffer> FBuffer;
};

class TEditorIntf final : public host::TIEditorInterface {
public:
    explicit TEditorIntf(std::weak_ptr<TEditBuffer> buffer) : FBuffer(std::move(buffer)) {}

    host::TIEditReader* CreateReader() override {
        RecordCall("Editor.CreateReader");
        return new TEditReader(FBuffer);
    }
    host::TIEditWriter* CreateWriter() override {
        RecordCall("Editor.CreateWriter");
        return new TEditWriter(FBuffer);
    }
    int LinesInBuffer() override {
        RecordCall("Editor.LinesInBuffer");
        auto b = FBuffer.lock();
        return b ? b->LinesInBuffer() : 0;
    }
    host::TIEditView* GetView(int index) override {
        RecordCall("Editor.GetView", {std::to_string(index)});
        if (index != 0 || FBuffer.expired())
            return nullptr;
        return new TEditView(FBuffer);
    }

private:
    std::weak_ptr<TEditBuffer> FBuffer;
};

class TModuleIntf final : public host::TIModuleInterface {
public:
    explicit TModuleIntf(std::weak_ptr<TEditBuffer> buffer) : FBuffer(std::move(buffer)) {}

    host::TIEditorInterface* GetEditorInterface() override {
        RecordCall("Module.GetEditorInterface");
        if (FBuffer.expired())
            return nullptr;
        return new TEditorIntf(FBuffer);
    }

private:
    std::weak_ptr<TEditBuffer> FBuffer;
};

} // namespace

host::TIModuleInterface* NewModuleInterface(const std::shared_ptr<TEditBuffer>& buffer) {
    return buffer ? new TModuleIntf(buffer) : nullptr;
}

} // namespace ide
