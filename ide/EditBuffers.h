// The IDE's editor buffers: one per open file, holding its text with CR LF line breaks, with
// view 0's cursor and top-line positions; and the module, editor, reader, writer and view
// objects the libraries reach them through. Implementations in EditBuffers.cpp.
#pragma once

#include "host/EditorIntf.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ide {

class TEditBuffer {
public:
    TEditBuffer(std::string fileName, std::string_view diskText);
    TEditBuffer(const TEditBuffer&) = delete;
    TEditBuffer& operator=(const TEditBuffer&) = delete;

    // Every lone LF and lone CR becomes CR LF.
    static std::string ToCrLf(std::string_view text);

    const std::string& FileName() const { return FFileName; }
    const std::string& Text() const { return FText; }
    // Replaces the text (its line breaks made CR LF) and marks the buffer modified.
    void SetText(std::string_view text);
    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }
    // The number of line breaks plus one.
    int LinesInBuffer() const;

    // View 0: position 0 the cursor, 1 the top line.
    host::TEditPos Pos(int index) const;
    void SetPos(int index, host::TEditPos pos);

    // Writes the text to the file, atomically; false when it could not be written.
    bool Save();

private:
    std::string FFileName;
    std::string FText;
    bool FModified = false;
    host::TEditPos FCursor;
    host::TEditPos FTop;
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
