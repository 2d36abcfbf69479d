#include "spellengine/WordBuffers.h"

#include "spellengine/DCTFile.h"
#include "spellengine/EngineMessages.h"

#include "vcl/EditCtrls.h"
#include "win/Gdi.h"
#include "win/Windows.h"

#include "rtl/CodePages.h"
#include "rtl/Exceptions.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>
#include <utility>

namespace spellengine {
namespace {

TCharSet MakeWordChars() {
    TCharSet s;
    s.set('\'');
    for (int c = '0'; c <= '9'; ++c)
        s.set(std::size_t(c));
    for (int c = 'A'; c <= 'Z'; ++c)
        s.set(std::size_t(c)), s.set(std::size_t(c + 32));
    for (int c = 128; c <= 165; ++c)
        s.set(std::size_t(c));
    return s;
}

TCharSet MakeDigits() {
    TCharSet s;
    for (int c = '0'; c <= '9'; ++c)
        s.set(std::size_t(c));
    return s;
}

TWordCountProgress& CountProgress() {
    static TWordCountProgress proc;
    return proc;
}

TWordCountStart& CountStart() {
    static TWordCountStart proc;
    return proc;
}

[[noreturn]] void AbstractCall() { throw rtl::EAbstractError("Abstract Error"); }

// The base protocol's text length, which a plain text buffer keeps.
constexpr int kDefaultTextLength = 28671;

} // namespace

TCharSet& WordChars() {
    static TCharSet chars = MakeWordChars();
    return chars;
}

const TCharSet& DigitChars() {
    static const TCharSet digits = MakeDigits();
    return digits;
}

TWordCountProgress SetWordCountProgress(TWordCountProgress Proc) {
    return std::exchange(CountProgress(), std::move(Proc));
}

TWordCountStart SetWordCountStart(TWordCountStart Proc) {
    return std::exchange(CountStart(), std::move(Proc));
}

bool TAbsBuffer::GetModified() const { AbstractCall(); }
void TAbsBuffer::SetModified(bool) { AbstractCall(); }
int TAbsBuffer::GetWordScreenY() const { return 0; }

void TAbsBuffer::Create(vcl::TControl* AControl) {
    FControl = AControl;
    FBuffer.assign(std::size_t(std::max(GetTextLength(), 1) + BufferSlack), '\0');
    Reset();
    LoadText();
}

int TAbsBuffer::GetTextLength() const { return kDefaultTextLength; }
void TAbsBuffer::GetNextWord(std::string&) { AbstractCall(); }
void TAbsBuffer::MoveToWordStart() { AbstractCall(); }
void TAbsBuffer::LoadText() { AbstractCall(); }
void TAbsBuffer::SelectWord() {}
void TAbsBuffer::ReplaceWord(std::string_view) { AbstractCall(); }

void TAbsBuffer::CountWords(int& Total, int& Unique) {
    Reset();
    LoadText();
    Total = 0;
    Unique = 0;
    std::unordered_set<std::string> distinct;
    if (CountStart())
        CountStart()();
    std::string word;
    for (;;) {
        GetNextWord(word);
        std::string upper = word;
        for (char& c : upper)
            if (c >= 'a' && c <= 'z')
                c = char(c - 32);
        if (!upper.empty()) {
            ++Total;
            distinct.insert(upper);
        }
        if (CountProgress() && !CountProgress()(Total, int(distinct.size()))) {
            Total = 0;
            distinct.clear();
            break;
        }
        if (upper.empty())
            break;
    }
    Unique = int(distinct.size());
}

void TAbsBuffer::Reset() {
    FTextLength = 0;
    FPosition = 1;
}

char* TAbsBuffer::TextStore(std::size_t Bytes) {
    if (FBuffer.size() < Bytes)
        FBuffer.resize(Bytes + BufferSlack, '\0');
    return FBuffer.data();
}

unsigned char TAbsBuffer::CharAt(std::int32_t Pos) const {
    if (Pos < 1 || Pos > FTextLength || std::size_t(Pos) > FBuffer.size())
        return 0;
    return static_cast<unsigned char>(FBuffer[std::size_t(Pos - 1)]);
}

std::unique_ptr<TPCharBuffer> TPCharBuffer::NewOnPChar(const char* Text) {
    std::unique_ptr<TPCharBuffer> buffer(new TPCharBuffer());
    buffer->CreateOnPChar(Text);
    return buffer;
}

void TPCharBuffer::CreateOnPChar(const char* Text) {
    FSource = Text;
    FModified = false;
    TAbsBuffer::Create(nullptr);
}

void TPCharBuffer::Create(vcl::TControl* AControl) {
    TAbsBuffer::Create(AControl);
    FModified = false;
}

void TPCharBuffer::GetNextWord(std::string& Word) {
    const TCharSet& wordChars = WordChars();
    FWordStart = FPosition;
    FWordEnd = FPosition;
    Word.clear();
    FAllDigits = true;
    FAborted = false;
    bool inMarkup = false;
    while ((!wordChars[CharAt(FPosition)] || inMarkup) && FPosition < FTextLength) {
        if (FSupportHTML) {
            if (inMarkup) {
                if (CharAt(FPosition) == '>')
                    inMarkup = false;
            } else if (CharAt(FPosition) == '<') {
                inMarkup = true;
            }
        }
        ++FPosition;
    }
    if (FPosition >= FTextLength)
        return;
    FWordStart = FPosition;
    while (wordChars[CharAt(FPosition)] && FPosition < FTextLength) {
        unsigned char c = CharAt(FPosition);
        Word.push_back(char(c));
        ++FPosition;
        if (!DigitChars()[c])
            FAllDigits = false;
        FWordEnd = FPosition;
        if (FWordEnd == FWordStart + std::int32_t(MaxWordLength)) {
            EngineMessage("Aborting spell check (Invalid word): \r" + rtl::OemToAnsi(Word));
            Word.clear();
            FAborted = true;
            return;
        }
    }
}

void TPCharBuffer::MoveToWordStart() {
    while (WordChars()[CharAt(FPosition)] && FPosition >= 2)
        --FPosition;
}

void TPCharBuffer::LoadText() {
    const char* text = FSource ? FSource : "";
    const std::size_t length = std::strlen(text) + 1;
    std::memcpy(TextStore(length), text, length);
    FTextLength = static_cast<std::int32_t>(length);
}

void TPCharBuffer::ReplaceWord(std::string_view) { LoadText(); }

std::unique_ptr<TCEBuffer> TCEBuffer::NewOnEdit(vcl::TCustomEdit* Edit) { return New<TCEBuffer>(Edit); }

vcl::TCustomEdit* TCEBuffer::Edit() const { return static_cast<vcl::TCustomEdit*>(FControl); }

bool TCEBuffer::GetModified() const { return Edit()->Modified(); }

void TCEBuffer::SetModified(bool Value) { Edit()->SetModified(Value); }

int TCEBuffer::GetWordScreenY() const {
    if (auto* memo = dynamic_cast<vcl::TCustomMemo*>(Edit()))
        return CaretScreenY(memo);
    return Edit()->ClientOrigin().y;
}

int TCEBuffer::GetTextLength() const { return int(Edit()->Text().size()) + 1; }

void TCEBuffer::LoadText() {
    const std::string text = Edit()->Text();
    const std::size_t length = text.size() + 1;
    char* store = TextStore(length);
    rtl::AnsiToOemBuff(text.c_str(), store, length);
    FTextLength = static_cast<std::int32_t>(length);
}

void TCEBuffer::SelectWord() {
    vcl::TCustomEdit* edit = Edit();
    edit->SetSelStart(FWordStart - 1);
    edit->SetSelLength(FWordEnd - FWordStart);
    edit->Update();
}

void TCEBuffer::ReplaceWord(std::string_view NewWord) {
    vcl::TCustomEdit* edit = Edit();
    if (edit->CanFocus())
        edit->SetFocus();
    SelectWord();
    FPosition -= FWordEnd - FWordStart;
    edit->SetSelText(std::string(NewWord));
    FPosition += static_cast<std::int32_t>(NewWord.size());
    LoadText();
}

TLineCol CaretLineCol(vcl::TCustomEdit* Edit) {
    const int caret = Edit->SelStart() + Edit->SelLength();
    TLineCol at;
    at.Line = int(Edit->Perform(win::EM_LINEFROMCHAR, win::WPARAM(caret), 0));
    at.Col = caret - int(Edit->Perform(win::EM_LINEINDEX, win::WPARAM(at.Line), 0));
    return at;
}

int CaretScreenY(vcl::TCustomMemo* Memo) {
    const int first = int(Memo->Perform(win::EM_GETFIRSTVISIBLELINE, 0, 0));
    const int line = CaretLineCol(Memo).Line;
    // The memo's own line height: its font's cell height, as the memo lays out its rows.
    win::HDC dc = win::GetDC(nullptr);
    win::HGDIOBJ old = win::SelectObject(dc, Memo->Font()->Handle());
    win::TEXTMETRIC tm{};
    win::GetTextMetrics(dc, &tm);
    win::SelectObject(dc, old);
    win::ReleaseDC(nullptr, dc);
    const int height = std::max(1, int(tm.tmHeight));
    return height * (line - first) + Memo->ClientOrigin().y;
}

} // namespace spellengine
