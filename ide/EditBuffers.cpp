#include "ide/EditBuffers.h"

#include "ide/CallLog.h"
#include "ide/WinNames.h"

#include "rtl/Files.h"
#include "rtl/Paths.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace ide {

TEditBuffer::TEditBuffer(std::string fileName, std::string_view diskText)
    : FFileName(std::move(fileName)), FText(ToCrLf(diskText)) {}

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

void TEditBuffer::SetText(std::string_view text) {
    FText = ToCrLf(text);
    FModified = true;
    SetPos(0, FCursor);
    SetPos(1, FTop);
}

int TEditBuffer::LinesInBuffer() const {
    int breaks = 0;
    for (size_t i = 0; i + 1 < FText.size(); ++i)
        if (FText[i] == '\r' && FText[i + 1] == '\n')
            ++breaks;
    return breaks + 1;
}

host::TEditPos TEditBuffer::Pos(int index) const {
    if (index == 0)
        return FCursor;
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
    (index == 0 ? FCursor : FTop) = pos;
}

bool TEditBuffer::Save() {
    if (!WriteWholeFile(FFileName, FText))
        return false;
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
