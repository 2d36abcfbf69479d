// Text split into lines at CR LF, LF or CR, the one rule of every text the suite reads: string
// lists, profile files, the registry, source files, edit controls. Header only, since readers of
// large files call it for every line.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace rtl {

// The length of the line break that starts at At: 2 for CR LF, 1 for a CR or LF alone, 0 where
// there is none (At at or past the end included).
inline std::size_t LineBreakLength(std::string_view Text, std::size_t At) {
    if (At >= Text.size()) return 0;
    if (Text[At] == '\n') return 1;
    if (Text[At] != '\r') return 0;
    return At + 1 < Text.size() && Text[At + 1] == '\n' ? 2 : 1;
}

// The lines of a text as views into it, each without its break; everything else, NUL included,
// is text. A last line break opens no empty line: "a\r\n" is one line, "" none.
class TLineSplitter {
public:
    explicit TLineSplitter(std::string_view Text) : FText(Text), FLf(Find('\n')), FCr(Find('\r')) {}

    bool Next(std::string_view& Line) {
        if (FAt >= FText.size()) {
            FBreakLength = 0;
            return false;
        }
        // The next LF and the next CR are each looked for once, so that a text broken by one
        // kind alone is not searched to its end for the other on every line.
        if (FLf < FAt) FLf = Find('\n');
        if (FCr < FAt) FCr = Find('\r');
        const std::size_t end = FLf < FCr ? FLf : FCr;
        Line = FText.substr(FAt, end - FAt);
        FBreakLength = LineBreakLength(FText, end);
        FAt = end + FBreakLength;
        return true;
    }

    // The break that ended the line Next gave last: "\r\n", "\n", "\r", or empty for a last
    // line without one.
    std::string_view Break() const { return FText.substr(FAt - FBreakLength, FBreakLength); }
    // Where the line after the last one given starts.
    std::size_t Position() const { return FAt; }

private:
    std::size_t Find(char C) const {
        if (FAt >= FText.size()) return FText.size();
        const void* p = std::memchr(FText.data() + FAt, C, FText.size() - FAt);
        return p ? static_cast<std::size_t>(static_cast<const char*>(p) - FText.data()) : FText.size();
    }

    std::string_view FText;
    std::size_t FAt = 0;
    std::size_t FBreakLength = 0;
    std::size_t FLf, FCr;
};

} // namespace rtl
