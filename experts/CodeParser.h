// Reading the unit open in the IDE's editor line by line, for both experts. The parser opens the
// current file through the IDE, holds its module and editor, and reads the buffer in blocks of
// 2001 characters through an editor reader. Implementations in CodeParser.cpp.
#pragma once

#include "host/EditorIntf.h"
#include "rtl/Exceptions.h"

#include <cstdint>
#include <string>
#include <utility>

namespace experts {

RTL_DECLARE_EXCEPTION(ECodeParseError, rtl::Exception);

enum TParserMode : std::uint8_t { pmCode = 0, pmProperty = 1 };

class TCodeParser {
public:
    static constexpr int BlockSize = 2001;
    static constexpr int MaxLineLength = 499;

    // Opens the current file of the kind the mode accepts (code: unit or project; property: unit);
    // raises ECodeParseError for another kind or when the IDE cannot hand out its editor.
    explicit TCodeParser(TParserMode mode);
    ~TCodeParser();
    TCodeParser(const TCodeParser&) = delete;
    TCodeParser& operator=(const TCodeParser&) = delete;

    void CheckFileKind(const std::string& fileName);
    void ResetReader();
    // The next line; every line but the first starts with the LF of the break before it.
    std::string ReadLine(host::TIEditReader* reader);
    // The character at the read index and the one after it.
    std::pair<char, char> ReadChar(host::TIEditReader* reader);

    // The buffer offset of the next block; -1 once the end of the text was seen.
    int Position() const { return FPosition; }
    void SetPosition(int value) { FPosition = value; }
    bool AtEnd() const { return FPosition == -1; }

    TParserMode Mode() const { return FMode; }
    const std::string& FileName() const { return FFileName; }
    // The editor of the current file, for readers, writers, the line count and views.
    host::TIEditorInterface* Editor() const { return FEditor; }

    // A reader from the editor, held by the caller; raises "Could not open" when none.
    host::TIEditReader* CreateReader() const;
    host::TIEditWriter* CreateWriter() const;

private:
    [[noreturn]] void CouldNotOpen() const;

    TParserMode FMode = pmCode;
    int FPosition = 0;
    host::TIEditorInterface* FEditor = nullptr;
    host::TIModuleInterface* FModule = nullptr;
    std::string FFileName;
    char FBlock[BlockSize + 1] = {};
    int FIndex = BlockSize - 1;
    // Characters the last block really held; the text ends inside a block shorter than BlockSize.
    int FBlockCount = 0;
    bool FTextEnded = false;
};

} // namespace experts
