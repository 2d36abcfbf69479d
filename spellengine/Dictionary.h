// The dictionary: one or more main word-tree files, the user word list (words the user added,
// merged with the file on save) and an optional exclusion list (words always reported
// unknown). Only one dictionary object may exist at a time. Words are OEM text of at most 50
// characters. The suggestion operations are implemented in Suggestions.cpp, the rest in
// Dictionary.cpp.
#pragma once

#include "spellengine/DCTFile.h"
#include "spellengine/HostFiles.h"
#include "spellengine/LinkedList.h"

#include "rtl/Exceptions.h"
#include "rtl/StringLists.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace spellengine {

class TEDictionaryInUse : public rtl::Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "TEDictionaryInUse"; }
};

// True from the creation of a dictionary until its destruction.
bool DictionaryInUse();

class TDictionary : public vcl::TObject {
public:
    // A second dictionary shows "Programmer Error..." and raises TEDictionaryInUse.
    TDictionary();
    // Closes (saving the user list when modified); a failed save goes to EngineMessage.
    ~TDictionary() override;

    bool Opened() const { return FOpened; }
    const TLinkedList& Files() const { return FFiles; }
    const std::string& UserListPath() const { return FUserListPath; }
    const rtl::TStringList& UserWords() const { return *FUserWords; }
    const rtl::TStringList* ExcludedWords() const { return FExcludedWords.get(); }
    std::int64_t UserFileSize() const { return FUserFileSize; }
    bool Modified() const { return FModified; }

    // False when the file is missing; a damaged file raises TEDictionaryCorrupt.
    bool OpenMain(const std::string& FileName);
    // Whether that main file is open: the whole name, folder and all, without regard to case.
    bool IsOpen(std::string_view FileName) const;
    // A bare name lies in the first main file's folder. False when the file does not exist
    // yet; it is then made there on the first save.
    bool OpenCustom(const std::string& FileName);
    bool OpenExclude(const std::string& FileName);
    bool IsKnownWord(std::string_view Word) const;
    bool AddWord(std::string_view Word);
    // Merges what another writer added to the file since it was read, then rewrites it.
    void SaveCustom();
    void Close();
    std::int64_t GetUserFileSize() const;

    // Lists in ANSI, in the letter case of the word or prefix given; the caller owns them.
    std::unique_ptr<rtl::TStringList> SplitWords(std::string_view Word, int Max) const;
    std::unique_ptr<rtl::TStringList> Suggest(std::string_view Word, int Max) const;
    std::unique_ptr<rtl::TStringList> CompleteWord(std::string_view Prefix, int Max) const;

private:
    TDCTFile* FirstFile() const { return static_cast<TDCTFile*>(FFiles.Head()); }
    std::string MainFolder() const;

    bool FOpened = false;
    TLinkedList FFiles;
    std::string FUserListPath;
    std::unique_ptr<rtl::TStringList> FUserWords;
    std::unique_ptr<rtl::TStringList> FExcludedWords;
    std::int64_t FUserFileSize = 0;
    TFileStamp FUserStamp; // of the user list as last read or written
    bool FModified = false;
};

// The library's one dictionary while a check runs, none otherwise. The spell-check component
// makes and frees it; every dialog asks it for suggestions, completions and known words.
TDictionary* ActiveDictionary();
// Takes Value and frees the one before, which is no longer active while it closes.
void SetActiveDictionary(std::unique_ptr<TDictionary> Value);

} // namespace spellengine
