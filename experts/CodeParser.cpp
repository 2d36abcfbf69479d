// The unit reader. The reader's returned count bounds the text: characters past it read as NUL,
// and once a short block was seen no further block is asked for.
#include "experts/CodeParser.h"

#include "experts/Library.h"
#include "rtl/Paths.h"
#include "rtl/SysUtils.h"

#include <cstring>

namespace experts {

TCodeParser::TCodeParser(TParserMode mode) {
    FMode = mode;
    // Without the IDE's object the names are as if the IDE answered with empty ones.
    std::string current = ToolServices ? ToolServices->GetCurrentFile() : std::string();
    CheckFileKind(current);
    if (!ToolServices) CouldNotOpen();
    ToolServices->OpenFile(FFileName);
    FModule = ToolServices->GetModuleInterface(FFileName);
    if (!FModule) CouldNotOpen();
    FEditor = FModule->GetEditorInterface();
    if (!FEditor) CouldNotOpen();
}

TCodeParser::~TCodeParser() {
    if (FEditor) FEditor->Release();
    if (FModule) FModule->Release();
}

void TCodeParser::CouldNotOpen() const { throw ECodeParseError("Could not open " + FFileName); }

void TCodeParser::CheckFileKind(const std::string& fileName) {
    const std::string ext = rtl::UpperCase(rtl::ExtractFileExt(fileName));
    if (FMode == pmCode) {
        if (ext != ".PAS" && ext != ".DPR")
            throw ECodeParseError("You can only insert code into a Unit or Project file");
    } else if (FMode == pmProperty) {
        if (ext != ".PAS") throw ECodeParseError("You can only insert a property into a Unit file");
    } else {
        return;
    }
    FFileName = fileName;
}

host::TIEditReader* TCodeParser::CreateReader() const {
    host::TIEditReader* reader = FEditor ? FEditor->CreateReader() : nullptr;
    if (!reader) CouldNotOpen();
    return reader;
}

host::TIEditWriter* TCodeParser::CreateWriter() const {
    host::TIEditWriter* writer = FEditor ? FEditor->CreateWriter() : nullptr;
    if (!writer) CouldNotOpen();
    return writer;
}

void TCodeParser::ResetReader() {
    FIndex = BlockSize - 1;
    FBlockCount = 0;
    FTextEnded = false;
}

std::pair<char, char> TCodeParser::ReadChar(host::TIEditReader* reader) {
    if (FIndex >= BlockSize - 1) {
        FIndex = 0;
        std::memset(FBlock, 0, sizeof FBlock);
        FBlockCount = 0;
        if (!FTextEnded && FPosition >= 0 && reader) {
            int got = reader->GetText(FPosition, FBlock, BlockSize);
            FBlockCount = got < 0 ? 0 : got > BlockSize ? BlockSize : got;
            std::memset(FBlock + FBlockCount, 0, sizeof FBlock - FBlockCount);
            if (FBlockCount < BlockSize) FTextEnded = true;
        }
        if (FPosition >= 0) FPosition += BlockSize - 1;
    }
    std::pair<char, char> pair{FBlock[FIndex], FBlock[FIndex + 1]};
    ++FIndex;
    return pair;
}

std::string TCodeParser::ReadLine(host::TIEditReader* reader) {
    std::string line;
    for (;;) {
        auto [c, next] = ReadChar(reader);
        if (c == '\r' && next == '\n') break;
        if (c == '\0' && next == '\0') {
            FPosition = -1;
            break;
        }
        if (static_cast<int>(line.size()) >= MaxLineLength)
            throw ECodeParseError("Code line exceeds " + std::to_string(MaxLineLength) + " characters in length");
        line += c;
    }
    return line;
}

} // namespace experts
