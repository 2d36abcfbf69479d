#include "spellengine/Dictionary.h"

#include "spellengine/EngineMessages.h"

#include "rtl/CodePages.h"
#include "rtl/Files.h"
#include "rtl/Paths.h"

#include <utility>

namespace spellengine {
namespace {

bool GDictionaryInUse = false;

std::string LowerAZ(std::string_view Word) {
    std::string s(Word);
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
    return s;
}

} // namespace

bool DictionaryInUse() { return GDictionaryInUse; }

TDictionary::TDictionary() {
    if (GDictionaryInUse) {
        EngineMessage("Programmer Error. Only one dictionary\robject can be initialized at once.");
        throw TEDictionaryInUse("Multiple Dictionaries not supported.");
    }
    FUserWords = std::make_unique<rtl::TStringList>();
    FUserWords->SetSorted(true);
    FUserWords->SetDuplicates(rtl::dupIgnore);
    GDictionaryInUse = true;
}

TDictionary::~TDictionary() {
    try {
        Close();
    } catch (const std::exception& e) {
        EngineMessage(e.what());
    } catch (...) {
    }
    GDictionaryInUse = false;
}

std::string TDictionary::MainFolder() const {
    return FirstFile() ? rtl::ExtractFilePath(FirstFile()->FileName()) : std::string();
}

bool TDictionary::OpenMain(const std::string& FileName) {
    if (IsOpen(FileName))
        return true;
    std::unique_ptr<TDCTFile> file;
    try {
        file = std::make_unique<TDCTFile>(FileName);
    } catch (const rtl::EFOpenError&) {
        return false;
    }
    FFiles.Append(std::move(file));
    FOpened = true;
    return true;
}

bool TDictionary::IsOpen(std::string_view FileName) const {
    // A file of the same name in another folder is another dictionary.
    const std::string name = rtl::CharUpperStr(rtl::ExpandFileName(FileName));
    const std::string host = rtl::HostPath(name);
    for (TLinkedListNode* n = FFiles.Head(); n; n = n->Next) {
        const std::string open = rtl::CharUpperStr(rtl::ExpandFileName(static_cast<TDCTFile*>(n)->FileName()));
        if (open == name || (!host.empty() && rtl::HostPath(open) == host))
            return true;
    }
    return false;
}

bool TDictionary::OpenCustom(const std::string& FileName) {
    std::string name = FileName;
    if (name == "CUSTOM.DIC") {
        std::string shared = rtl::GetWindowsDirectory() + "\\MSAPPS\\PROOF\\" + "CUSTOM.DIC";
        if (rtl::FileExists(shared))
            name = shared;
    }
    FUserListPath = rtl::ExtractFilePath(name).empty() ? MainFolder() + name : name;
    FUserStamp = GetFileStamp(FUserListPath);
    if (!FUserStamp.Exists) {
        FUserFileSize = 0;
        return false;
    }
    FUserFileSize = FUserStamp.Size;
    FUserWords->LoadFromFile(FUserListPath);
    return true;
}

bool TDictionary::OpenExclude(const std::string& FileName) {
    FExcludedWords.reset();
    std::string name = FileName;
    if (!rtl::FileExists(name)) {
        name = MainFolder() + rtl::ExtractFileName(FileName);
        if (!rtl::FileExists(name))
            return false;
    }
    auto list = std::make_unique<rtl::TStringList>();
    list->LoadFromFile(name);
    FExcludedWords = std::move(list);
    return true;
}

bool TDictionary::IsKnownWord(std::string_view Word) const {
    std::string w = LowerAZ(Word.substr(0, MaxWordLength));
    if (w.ends_with("'s"))
        w.resize(w.size() - 2);
    if (FExcludedWords && FExcludedWords->IndexOf(w) >= 0)
        return false;
    int index = 0;
    if (FUserWords->Find(w, index))
        return true;
    for (TLinkedListNode* n = FFiles.Head(); n; n = n->Next)
        if (static_cast<TDCTFile*>(n)->Lookup(w))
            return true;
    return false;
}

bool TDictionary::AddWord(std::string_view Word) {
    if (IsKnownWord(Word))
        return false;
    FUserWords->Add(LowerAZ(Word.substr(0, MaxWordLength)));
    FModified = true;
    return true;
}

void TDictionary::SaveCustom() {
    if (FUserListPath.empty())
        return; // no user list was opened: there is nowhere to keep the words
    const TFileStamp now = GetFileStamp(FUserListPath);
    // Another writer changed the file since it was read: keep its words too. A file deleted
    // meanwhile has nothing to add.
    if (now.Exists && now != FUserStamp) {
        rtl::TStringList theirs;
        theirs.LoadFromFile(FUserListPath);
        for (int i = 0; i < theirs.Count(); ++i)
            FUserWords->Add(theirs.Get(i));
    }
    rtl::WriteFileAtomic(FUserListPath, FUserWords->Text());
    FUserStamp = GetFileStamp(FUserListPath);
    FUserFileSize = FUserStamp.Size;
    FModified = false;
}

void TDictionary::Close() {
    struct FreeFiles {
        TDictionary& d;
        ~FreeFiles() {
            d.FFiles.Clear();
            d.FOpened = false;
        }
    } freeFiles{*this}; // also when the save fails: the words stay and Modified stays set
    if (FModified)
        SaveCustom();
}

std::int64_t TDictionary::GetUserFileSize() const {
    std::int64_t size = rtl::FileSizeByName(FUserListPath);
    return size < 0 ? 0 : size;
}

namespace {
std::unique_ptr<TDictionary> GActiveDictionary;
} // namespace

TDictionary* ActiveDictionary() { return GActiveDictionary.get(); }

void SetActiveDictionary(std::unique_ptr<TDictionary> Value) {
    std::unique_ptr<TDictionary> before = std::exchange(GActiveDictionary, std::move(Value));
}

} // namespace spellengine
