// Ranking of replacement candidates: the sound code that prunes the walk of the word tree, the
// similarity score that orders what it finds, and the letter-case match of what is handed back.
// TDictionary's Suggest, SplitWords and CompleteWord are built on these (Dictionary.h).
// Implementations in Suggestions.cpp.
#pragma once

#include "spellengine/LinkedList.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace rtl { class TStrings; }

namespace spellengine {

class TDCTFile;

// Between the OEM and the ANSI code page, cut to 50 characters.
std::string OemToAnsiWord(std::string_view Word);
std::string AnsiToOemWord(std::string_view Word);

// 0 to 100; A is the word, B the candidate.
std::int16_t SimilarityScore(std::string_view A, std::string_view B);
// Of an OEM word: at most 4 characters, padded with '0' to 4 when Pad is set.
std::string Soundex(std::string_view Word, bool Pad);

// ANSI letters.
char UpCaseAccent(char Ch);
std::string UpperWord(std::string_view Word);
// Word (ANSI) in the letter case of Pattern: all capitals, capitalised or lower case.
std::string MatchCase(std::string_view Word, std::string_view Pattern);
// Converts every (OEM) entry to ANSI and matches it to Pattern.
void MatchCaseList(rtl::TStrings& List, std::string_view Pattern);

class TSuggestion : public TLinkedListNode {
public:
    TSuggestion(std::string_view AWord, std::int16_t AScore);

    std::string Word; // OEM, lower case
    std::int16_t Score;
};

// Candidates in order of falling score, at most MaxCount of them.
class TSuggestList : public TLinkedList {
public:
    int MaxCount() const { return FMaxCount; }
    const std::string& TargetCode() const { return FTargetCode; }
    const TDCTFile* Source() const { return FSource; }
    TSuggestion* First() const { return static_cast<TSuggestion*>(Head()); }

    // Sets the capacity and the sound code candidates must share with Word (OEM, lower case).
    void Prepare(int Max, std::string_view Word);
    void AddScored(std::string_view Target, std::string_view Candidate);
    bool SoundexMatches(std::string_view Prefix) const;
    // Walks Source's tree for words that sound like Word and are at most two characters
    // longer or shorter. Raises TEDictionaryCorrupt when the tree is no tree.
    void CollectFromTrie(const TDCTFile& Source, int Max, std::string_view Word);

private:
    std::uint8_t FMaxCount = 0;
    const TDCTFile* FSource = nullptr;
    std::string FTargetCode;
    std::int16_t FMaxLen = 0;
    std::int16_t FMinLen = 0;
};

} // namespace spellengine
