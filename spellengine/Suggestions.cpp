#include "spellengine/Suggestions.h"

#include "spellengine/DCTFile.h"
#include "spellengine/Dictionary.h"

#include "rtl/CodePages.h"
#include "rtl/StringLists.h"

#include <algorithm>
#include <array>

namespace spellengine {
namespace {

constexpr std::string_view kSoundLetters{
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
    "\xC7\xFC\xE9\xE2\xE4\xE0\xE5\xE7\xEA\xEB\xE8\xEF\xEE\xEC\xC4\xC5\xC9\xE6\xC6\xF4\xF6\xF2\xFB\xF9\xFF\xD6\xDC"
    "\x50\x83\xE1\xED\xF3\xFA\xF1\xD1"};
constexpr std::string_view kSoundCodes{"0123012202245501262301020220000002000000000000000000011000055"};
static_assert(kSoundLetters.size() == 61 && kSoundCodes.size() == 61);

constexpr std::array<char, 256> MakeSoundTable() {
    std::array<char, 256> t{}; // characters outside the table have the code byte 0
    for (std::size_t i = kSoundLetters.size(); i-- > 0;) // backwards, so the first P wins
        t[static_cast<unsigned char>(kSoundLetters[i])] = kSoundCodes[i];
    return t;
}
constexpr std::array<char, 256> kSoundTable = MakeSoundTable();

constexpr std::array<char, 256> MakeAccentCapitals() {
    std::array<char, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[c] = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    constexpr std::pair<unsigned char, char> pairs[] = {
        {0xFC, '\xDC'}, {0xE9, '\xC9'}, {0xE2, 'A'}, {0xE4, '\xC4'}, {0xE0, 'A'}, {0xE5, '\xC5'},
        {0xE7, '\xC7'}, {0xEA, 'E'},    {0xEB, 'E'}, {0xE8, 'E'},    {0xEF, 'I'}, {0xEE, 'I'},
        {0xEC, 'I'},    {0xE6, '\xC6'}, {0xF4, 'O'}, {0xF6, '\xD6'}, {0xF2, 'O'}, {0xFB, 'U'},
        {0xFF, 'Y'},    {0xE1, 'A'},    {0xED, 'I'}, {0xF3, 'O'},    {0xFA, 'U'}, {0xF1, '\xD1'}};
    for (auto [from, to] : pairs)
        t[from] = to;
    return t;
}
constexpr std::array<char, 256> kAccentCapitals = MakeAccentCapitals();

char UpperAZ(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }
char LowerAZ(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

// The sound code into Out without allocating: the walk computes one per visited node.
std::size_t SoundexInto(std::string_view Word, bool Pad, char (&Out)[4]) {
    std::size_t n = 0;
    if (!Word.empty()) {
        Out[n++] = UpperAZ(rtl::OemToAnsiChar(Word[0]));
        for (std::size_t p = 1; p < Word.size() && n < 4; ++p) {
            char ansi = UpperAZ(rtl::OemToAnsiChar(Word[p]));
            char code = kSoundTable[static_cast<unsigned char>(ansi)];
            if (code == '0')
                continue; // vowels drop out, so the codes around them meet
            if (n == 1 || code != Out[n - 1])
                Out[n++] = code;
        }
    }
    while (Pad && n < 4)
        Out[n++] = '0';
    return n;
}

// The longest common run of A[S1..E1] and B[S2..E2] (1-based, inclusive) counts twice its
// length, then the same for what lies left and right of it.
void Match(std::string_view A, std::string_view B, int S1, int E1, int S2, int E2, int& Total) {
    if (S1 == E1 || S2 == E2)
        return;
    const int lenA = int(A.size()), lenB = int(B.size());
    auto at = [](std::string_view s, int i) { return s[std::size_t(i - 1)]; };
    int best = 0, bestI = 0, bestJ = 0;
    int l1 = E1, l2 = E2;
    int i = S1 - 1;
    while (i < l1) {
        ++i;
        int j = S2 - 1;
        while (j < l2) {
            ++j;
            // i may have been moved past a run, beyond the word's end: nothing matches there.
            if (i > lenA || j > lenB || at(A, i) != at(B, j))
                continue;
            int k = 0;
            while (i + k <= l1 && j + k <= l2 && i + k <= lenA && j + k <= lenB && at(A, i + k) == at(B, j + k))
                ++k;
            if (k > best) {
                bestI = i;
                bestJ = j;
                best = k;
                l1 = E1 - best - 1;
                l2 = E2 - best - 1;
                i += k;
            }
            j += k;
        }
    }
    if (best > 0) {
        Total += 2 * best;
        Match(A, B, S1, bestI - 1, S2, bestJ - 1, Total);
        Match(A, B, bestI + best, E1, bestJ + best, E2, Total);
    }
}

std::string LowerWord(std::string_view Word) {
    std::string s(Word);
    for (char& c : s)
        c = LowerAZ(c);
    return s;
}

// Completions below one node list, depth first in file order. A tree is visited once per
// node; more visits mean looping links. Words stop growing at the word-length limit.
void Walk(const TDCTFile& File, std::uint32_t Start, const std::string& Prefix, std::string& Suffix,
          rtl::TStringList& Result, int Max, std::uint32_t& Budget) {
    for (std::uint32_t k = Start;; ++k) {
        if (Result.Count() >= Max)
            return;
        if (Budget-- == 0)
            RaiseDictionaryCorrupt();
        TNode node = File.GetNode(k);
        Suffix.push_back(NodeChar(node));
        if (IsEndOfWord(node))
            Result.Add(Prefix + Suffix);
        if (ChildIndex(node) != 0 && Prefix.size() + Suffix.size() < MaxWordLength)
            Walk(File, ChildIndex(node), Prefix, Suffix, Result, Max, Budget);
        Suffix.pop_back();
        if (IsLastSibling(node))
            return;
    }
}

} // namespace

std::string OemToAnsiWord(std::string_view Word) { return rtl::OemToAnsi(Word.substr(0, MaxWordLength)); }
std::string AnsiToOemWord(std::string_view Word) { return rtl::AnsiToOem(Word.substr(0, MaxWordLength)); }

std::int16_t SimilarityScore(std::string_view A, std::string_view B) {
    if (A.empty() || B.empty())
        return 0;
    int total = 0;
    Match(A, B, 1, int(A.size()), 1, int(B.size()), total);
    return static_cast<std::int16_t>(total * 100 / int(A.size() + B.size()));
}

std::string Soundex(std::string_view Word, bool Pad) {
    char out[4];
    return std::string(out, SoundexInto(Word, Pad, out));
}

char UpCaseAccent(char Ch) { return kAccentCapitals[static_cast<unsigned char>(Ch)]; }

std::string UpperWord(std::string_view Word) {
    std::string s(Word);
    for (char& c : s)
        c = UpCaseAccent(c);
    return s;
}

std::string MatchCase(std::string_view Word, std::string_view Pattern) {
    if (Pattern.empty())
        return std::string(Word);
    char c = Pattern.size() >= 2 ? Pattern[1] : Pattern[0];
    if (UpCaseAccent(c) == c)
        return UpperWord(Word);
    std::string s(Word);
    for (char& ch : s)
        ch = LowerAZ(ch);
    if (!s.empty() && UpCaseAccent(Pattern[0]) == Pattern[0])
        s[0] = UpCaseAccent(s[0]);
    return s;
}

TSuggestion::TSuggestion(std::string_view AWord, std::int16_t AScore)
    : Word(AWord.substr(0, MaxWordLength)), Score(AScore) {}

void MatchCaseList(rtl::TStrings& List, std::string_view Pattern) {
    for (int i = 0; i < List.Count(); ++i)
        List.Put(i, MatchCase(OemToAnsiWord(List.Get(i)), Pattern));
}

void TSuggestList::Prepare(int Max, std::string_view Word) {
    FMaxCount = static_cast<std::uint8_t>(std::clamp(Max, 0, 255));
    FTargetCode = Soundex(Word, true);
    FMinLen = static_cast<std::int16_t>(int(Word.size()) - 2);
    FMaxLen = static_cast<std::int16_t>(int(Word.size()) + 2);
}

void TSuggestList::AddScored(std::string_view Target, std::string_view Candidate) {
    std::int16_t score = SimilarityScore(Target, Candidate);
    if (!Head()) {
        Append(std::make_unique<TSuggestion>(Candidate, score));
        return;
    }
    for (TLinkedListNode* n = Head(); n; n = n->Next) {
        if (static_cast<TSuggestion*>(n)->Score < score) {
            InsertBefore(n, std::make_unique<TSuggestion>(Candidate, score));
            if (Count() > FMaxCount)
                Delete(Tail());
            return;
        }
    }
    if (Count() < FMaxCount)
        Append(std::make_unique<TSuggestion>(Candidate, score));
}

bool TSuggestList::SoundexMatches(std::string_view Prefix) const {
    char code[4];
    std::size_t n = SoundexInto(Prefix, false, code);
    return n <= FTargetCode.size() && std::string_view(code, n) == std::string_view(FTargetCode).substr(0, n);
}

void TSuggestList::CollectFromTrie(const TDCTFile& Source, int Max, std::string_view Word) {
    Word = Word.substr(0, MaxWordLength);
    FSource = &Source;
    if (Word.empty())
        return;
    Prepare(Max, Word);

    // Levels 1 to MaxLen + 1 (the path may hold one character past MaxLen before it is pruned).
    constexpr std::size_t levels = MaxWordLength + 4;
    std::array<std::uint32_t, levels> start{};
    std::array<TNode, levels> last{};
    std::array<char, levels> path{};

    const char first = LowerAZ(Word[0]);
    TNode node = 0;
    bool found = false;
    for (std::uint32_t k = 1; k <= 255; ++k) {
        node = Source.GetNode(k);
        if (NodeChar(node) == first) {
            found = true;
            break;
        }
        if (IsLastSibling(node))
            break;
    }
    if (!found || ChildIndex(node) == 0)
        return;

    path[0] = first;
    int len = 1;
    start[1] = ChildIndex(node);
    // In a tree every node is reached once; more visits than nodes means the links loop.
    std::uint32_t budget = Source.NodeCount();
    while (len > 0) {
        if (budget-- == 0)
            RaiseDictionaryCorrupt();
        const int g = len;
        node = Source.GetNode(start[g]);
        int l = g + 1;
        last[l] = node;
        path[g] = NodeChar(node);
        std::string_view sofar(path.data(), std::size_t(l));
        if (l <= FMaxLen && SoundexMatches(sofar)) {
            if (IsEndOfWord(node) && l >= FMinLen)
                AddScored(Word, sofar);
            if (ChildIndex(node) != 0) {
                start[l] = ChildIndex(node);
                len = l;
                continue;
            }
        }
        while (l != 1 && IsLastSibling(last[l]))
            --l;
        len = l - 1;
        if (len > 0)
            ++start[len];
    }
}

std::unique_ptr<rtl::TStringList> TDictionary::SplitWords(std::string_view Word, int Max) const {
    auto result = std::make_unique<rtl::TStringList>();
    int found = 0;
    for (std::size_t f = 1; f < Word.size(); ++f) {
        std::string_view left = Word.substr(0, f), right = Word.substr(f);
        if (IsKnownWord(left) && IsKnownWord(right)) {
            result->Add(std::string(left) + " " + std::string(right));
            ++found;
        }
        if (found == Max)
            break;
    }
    return result;
}

std::unique_ptr<rtl::TStringList> TDictionary::Suggest(std::string_view Word, int Max) const {
    // The word comes from an edit box in ANSI; the tree and the sound codes are OEM.
    const std::string w = LowerWord(AnsiToOemWord(Word));
    if (w.empty())
        return std::make_unique<rtl::TStringList>();
    std::unique_ptr<rtl::TStringList> result = SplitWords(w, Max);
    if (result->Count() < Max) {
        const int wanted = Max - result->Count();
        TSuggestList ranked;
        ranked.Prepare(wanted, w);
        for (TLinkedListNode* n = Files().Head(); n; n = n->Next)
            ranked.CollectFromTrie(*static_cast<TDCTFile*>(n), wanted, w);
        for (int i = 0; i < UserWords().Count(); ++i) {
            std::string user = UserWords().Get(i);
            if (ranked.SoundexMatches(user))
                ranked.AddScored(w, user);
        }
        for (TSuggestion* s = ranked.First(); s; s = static_cast<TSuggestion*>(s->Next))
            result->Add(s->Word);
    }
    MatchCaseList(*result, Word);
    return result;
}

std::unique_ptr<rtl::TStringList> TDictionary::CompleteWord(std::string_view Prefix, int Max) const {
    auto result = std::make_unique<rtl::TStringList>();
    Prefix = Prefix.substr(0, MaxWordLength);
    const std::string p = AnsiToOemWord(Prefix);
    std::string_view w;
    const std::string lowered = LowerWord(p);
    w = lowered;
    const TDCTFile* file = FirstFile();
    if (!file || Max <= 0)
        return result;
    std::uint32_t start = 1;
    while (start != 0 && !w.empty()) {
        TNode node = file->FindSibling(start, w.front());
        if (NodeChar(node) != w.front())
            return result;
        w.remove_prefix(1);
        start = ChildIndex(node);
    }
    if (start == 0)
        return result; // the prefix is a word with nothing below it
    std::string suffix;
    std::uint32_t budget = file->NodeCount();
    Walk(*file, start, p, suffix, *result, Max, budget);
    MatchCaseList(*result, Prefix);
    return result;
}

} // namespace spellengine
