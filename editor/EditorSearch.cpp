// Search and replace in the editor's paragraphs: forwards or backwards, from the caret, over the
// whole text or within the selection, by whole words, with or without regard to case.
#include "editor/ZelEditor.h"

#include "editor/ZelUtils.h"
#include "rtl/ScopeGuards.h"
#include "vcl/Forms.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace editor {

namespace {

constexpr std::size_t MaxSearchText = 255;

struct TPos {
    std::int32_t Para, Pos;
};
bool Before(TPos a, TPos b) { return a.Para < b.Para || (a.Para == b.Para && a.Pos < b.Pos); }

std::string UpperCase(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = UpCaseChar(c);
    return out;
}

} // namespace

TFindReplaceResult TZelCustomEditor::FindReplaceStr(std::string_view FindText, std::string_view ReplaceText,
                                                    std::uint8_t Options) {
    const std::string find(FindText.substr(0, std::min(FindText.size(), MaxSearchText)));
    const std::string replace(ReplaceText.substr(0, std::min(ReplaceText.size(), MaxSearchText)));
    return FindReplace(find.c_str(), replace.c_str(), Options);
}

TFindReplaceResult TZelCustomEditor::FindReplace(const char* FindText, const char* ReplaceText,
                                                 std::uint8_t Options) {
    TFindReplaceResult result;
    if (!FindText || !*FindText) return result;
    const bool replaceMode = (Options & (frReplace | frReplaceAll)) != 0;
    if (replaceMode && !ReplaceText) return result;
    const std::string_view find(FindText, ::strnlen(FindText, MaxSearchText));
    const std::string_view replacement =
        ReplaceText ? std::string_view(ReplaceText, ::strnlen(ReplaceText, MaxSearchText)) : std::string_view();
    const bool matchCase = Options & frMatchCase;
    const bool backward = Options & frBackward;
    const bool inSelection = Options & frInSelection;
    const bool wholeWords = Options & frWholeWords;
    // A read-only editor finds but never replaces.
    const bool readOnly = GetReadOnly();
    const bool replaceAll = (Options & frReplaceAll) && !readOnly;
    const std::string pattern = matchCase ? std::string(find) : UpperCase(find);
    const auto patLen = static_cast<std::int32_t>(pattern.size());
    const auto delta = static_cast<std::int32_t>(replacement.size()) - patLen;
    auto same = [&](std::string_view text) {
        return matchCase ? text == pattern : UpperCase(text) == pattern;
    };
    auto report = [&](TParaResult r) {
        result.Error = static_cast<std::uint16_t>(Code(r));
        DoOnError(result.Error);
        return result;
    };

    if (vcl::Screen) vcl::Screen->SetCursor(vcl::crHourGlass);
    rtl::TScopeExit restore([] {
        if (vcl::Screen) vcl::Screen->SetCursor(vcl::crDefault);
    });

    // One undo step for all the replacements.
    std::optional<TUndoGroup> group;
    if (replaceAll) group.emplace(*this);

    // A selection that is the text sought is replaced first.
    if (replaceMode && !readOnly && HasSelection() && FSelStart.Para == FSelEnd.Para &&
        FSelEnd.Pos - FSelStart.Pos == patLen &&
        same(FList->ParaText(FSelStart.Para).substr(static_cast<std::size_t>(FSelStart.Pos - 1),
                                                    static_cast<std::size_t>(patLen)))) {
        if (std::uint16_t code = InsertString(replacement); code != 0) {
            result.Error = code;
            DoOnError(code);
            return result;
        }
        result.Replaced = 1;
        result.Found = true;
    }

    const std::int32_t paras = ParaCount();
    TPos start;
    if (inSelection) start = backward ? TPos{FSelEnd.Para, FSelEnd.Pos} : TPos{FSelStart.Para, FSelStart.Pos};
    else if (!(Options & frWholeText)) start = {FCaretPara, std::min(CaretPos(), ParaLen(FCaretPara) + 1)};
    else start = backward ? TPos{paras, ParaLen(paras) + 1} : TPos{1, 1};
    TPos regionStart, regionEnd;
    const bool caretAtSelEnd = FCaretEnd.Para == FSelEnd.Para && FCaretEnd.Pos == FSelEnd.Pos;
    if (inSelection) regionStart = {FSelStart.Para, FSelStart.Pos}, regionEnd = {FSelEnd.Para, FSelEnd.Pos};
    else if (Options & frWholeText) regionStart = {1, 1}, regionEnd = {paras + 1, 1};
    else if (!backward) regionStart = start, regionEnd = {paras + 1, 1};
    else regionStart = {1, 1}, regionEnd = start;

    const TBMTable table = BMMakeTable(pattern);
    auto search = [&](std::string_view text, std::size_t& at) {
        return matchCase ? BMSearch(text, table, pattern, at) : BMSearchUC(text, table, pattern, at);
    };
    auto wholeWord = [&](std::string_view text, std::int32_t hit) {
        if (!wholeWords) return true;
        const std::int32_t end = hit + patLen;
        if (hit > 1 && !IsDelimiter(text[static_cast<std::size_t>(hit - 2)])) return false;
        if (end <= static_cast<std::int32_t>(text.size()) && !IsDelimiter(text[static_cast<std::size_t>(end - 1)]))
            return false;
        return true;
    };
    auto inRegion = [&](std::int32_t para, std::int32_t hit) {
        return !Before(TPos{para, hit}, regionStart) && !Before(regionEnd, TPos{para, hit + patLen});
    };
    auto replaceAt = [&](std::int32_t para, std::int32_t hit) {
        TParaResult r = FList->ReplaceText(para, replacement, patLen, hit);
        if (r != TParaResult::Ok) return r;
        ++result.Replaced;
        if (regionEnd.Para == para && regionEnd.Pos >= hit + patLen) regionEnd.Pos += delta;
        return r;
    };

    bool selected = false;
    if (!backward) {
        std::int32_t para = start.Para, pos = start.Pos;
        while (!selected && para <= std::min(regionEnd.Para, ParaCount())) {
            const std::string_view text = FList->ParaText(para);
            const auto len = static_cast<std::int32_t>(text.size());
            std::size_t at = 0;
            if (len - pos + 1 < patLen || !search(text.substr(static_cast<std::size_t>(pos - 1)), at)) {
                ++para;
                pos = 1;
                continue;
            }
            const std::int32_t hit = pos + static_cast<std::int32_t>(at);
            if (!wholeWord(text, hit) || !inRegion(para, hit)) {
                pos = hit + 1;
                continue;
            }
            if (replaceAll) {
                if (TParaResult r = replaceAt(para, hit); r != TParaResult::Ok) return report(r);
                pos = hit + static_cast<std::int32_t>(replacement.size());
                continue;
            }
            SetParaSelection(para, hit, para, hit + patLen, true);
            selected = true;
        }
    } else {
        std::int32_t para = std::min(start.Para, ParaCount()), pos = start.Pos - 1;
        while (!selected && para >= std::max(regionStart.Para, 1)) {
            const std::string_view text = FList->ParaText(para);
            const std::string_view window = text.substr(0, static_cast<std::size_t>(
                                                               std::clamp<std::int32_t>(pos, 0, static_cast<std::int32_t>(text.size()))));
            // The last hit that lies entirely within the characters up to the position.
            std::int32_t hit = 0;
            std::size_t from = 0, at = 0;
            while (from + static_cast<std::size_t>(patLen) <= window.size() && search(window.substr(from), at)) {
                hit = static_cast<std::int32_t>(from + at) + 1;
                from += at + 1;
            }
            if (hit == 0) {
                --para;
                if (para >= 1) pos = ParaLen(para);
                continue;
            }
            if (!wholeWord(text, hit) || !inRegion(para, hit)) {
                pos = hit - 1;
                continue;
            }
            if (replaceAll) {
                if (TParaResult r = replaceAt(para, hit); r != TParaResult::Ok) return report(r);
                pos = hit - 1;
                continue;
            }
            SetParaSelection(para, hit, para, hit + patLen, false);
            selected = true;
        }
    }
    group.reset();

    if (replaceAll && result.Replaced > 0) {
        if (inSelection) {
            SetParaSelection(regionStart.Para, regionStart.Pos, regionEnd.Para, regionEnd.Pos, caretAtSelEnd);
        } else {
            MoveCaretToPara(FCaretPara, std::min(CaretPos(), ParaLen(FCaretPara) + 1), false);
        }
        InvalidateAll(false);
    }
    result.Found = result.Found || selected || result.Replaced > 0;
    return result;
}

} // namespace editor
