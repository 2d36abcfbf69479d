// Lists of strings, each with an attached pointer: the abstract TStrings (text, comma text,
// Name=Value entries, files and streams built on a few primitives) and TStringList, which keeps
// the items itself, sorted or not. Implementations in StringLists.cpp.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace rtl {

class TStream;

class TStrings {
public:
    TStrings() = default;
    virtual ~TStrings() = default;
    TStrings(const TStrings&) = delete;
    TStrings& operator=(const TStrings&) = delete;

    // The primitives a descendant provides. Out-of-range indexes raise EStringListError
    // "List index out of bounds (<index>)".
    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, std::string_view s);
    virtual void* GetObject(int index) const;
    virtual void PutObject(int index, void* object);
    virtual void Insert(int index, std::string_view s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    std::string Strings(int index) const { return Get(index); }
    void SetStrings(int index, std::string_view s) { Put(index, s); }
    std::string operator[](int index) const { return Get(index); }
    void* Objects(int index) const { return GetObject(index); }
    void SetObjects(int index, void* object) { PutObject(index, object); }

    // Answer the new item's index.
    virtual int Add(std::string_view s);
    virtual int AddObject(std::string_view s, void* object);
    void AddStrings(const TStrings& strings);
    // Replaces the items (and their objects) with those of source.
    virtual void Assign(const TStrings& source);
    virtual void Exchange(int index1, int index2);
    virtual void Move(int curIndex, int newIndex);

    // -1 when absent. Comparison as CompareStrings, letter case ignored unless a list says so.
    virtual int IndexOf(std::string_view s) const;
    int IndexOfObject(const void* object) const;
    int IndexOfName(std::string_view name) const;

    // Every line followed by CR LF. Setting splits at CR LF, LF or CR.
    std::string Text() const;
    void SetText(std::string_view text);
    // Items separated by commas; an item with a blank, control character, comma or double
    // quote, or an empty one, is in double quotes with inner quotes doubled.
    std::string CommaText() const;
    // Splits at commas and at blanks outside double quotes.
    void SetCommaText(std::string_view text);
    // Name=Value entries: the part before the first '=' ("" when none), and the value of the
    // first entry of a name. Setting an empty value deletes the entry; a new name is appended.
    std::string Names(int index) const;
    std::string Values(std::string_view name) const;
    void SetValues(std::string_view name, std::string_view value);

    // Files are read in any of the three line endings and written with CR LF. A save goes
    // through a temporary file beside the target: on failure the old file stays as it was.
    virtual void LoadFromFile(std::string_view fileName);
    virtual void SaveToFile(std::string_view fileName) const;
    // From the stream's position to its end; to the stream's position.
    virtual void LoadFromStream(TStream& stream);
    virtual void SaveToStream(TStream& stream) const;

    // Change notifications wait until the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

protected:
    virtual void SetUpdateState(bool updating);
    virtual int CompareStrings(std::string_view a, std::string_view b) const;
    [[noreturn]] static void ListIndexError(int index);

private:
    int FUpdateCount = 0;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };
using enum TDuplicates;

class TStringList;
using TStringListNotify = std::function<void(TStringList& sender)>;
// < 0 when the item at index1 goes before the one at index2.
using TStringListSortCompare = std::function<int(TStringList& list, int index1, int index2)>;

class TStringList : public TStrings {
public:
    int Count() const override { return static_cast<int>(FItems.size()); }
    std::string Get(int index) const override;
    // Raises EStringListError "Operation not allowed on sorted string list" on a sorted list.
    void Put(int index, std::string_view s) override;
    void* GetObject(int index) const override;
    void PutObject(int index, void* object) override;
    // In a sorted list: at its place; a duplicate is ignored (the answer is the index of the
    // one present), accepted, or refused with EStringListError "Duplicates not allowed".
    int Add(std::string_view s) override;
    int AddObject(std::string_view s, void* object) override;
    // Raises EStringListError "Operation not allowed on sorted string list" on a sorted list.
    void Insert(int index, std::string_view s) override;
    void Delete(int index) override;
    void Clear() override;
    void Exchange(int index1, int index2) override;
    int IndexOf(std::string_view s) const override;

    // True when s is present, with index at it (the first of equal items); otherwise false,
    // with index where s would be inserted. Binary search in a sorted list, else a scan.
    bool Find(std::string_view s, int& index) const;
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& compare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates value) { FDuplicates = value; }
    // Off by default; on, items compare as AnsiCompareStr, otherwise as AnsiCompareText.
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool value);

    TStringListNotify OnChange;
    TStringListNotify OnChanging;

protected:
    void SetUpdateState(bool updating) override;
    int CompareStrings(std::string_view a, std::string_view b) const override;
    virtual void Changed();
    virtual void Changing();

private:
    struct TItem {
        std::string FString;
        void* FObject = nullptr;
    };
    void CheckIndex(int index) const;
    void InsertItem(int index, std::string_view s, void* object);
    void QuickSort(int l, int r, const TStringListSortCompare& compare);

    std::vector<TItem> FItems;
    bool FSorted = false;
    bool FCaseSensitive = false;
    TDuplicates FDuplicates = dupIgnore;
};

} // namespace rtl
