// String lists of the runtime; declarations in StringLists.h.
#include "rtl/StringLists.h"

#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/LineSplitter.h"
#include "rtl/ScopeGuards.h"
#include "rtl/Streams.h"
#include "rtl/SysUtils.h"

#include <algorithm>
#include <utility>

namespace rtl {

namespace {

[[noreturn]] void SortedListError() { throw EStringListError("Operation not allowed on sorted string list"); }

bool NeedsQuotes(std::string_view s) {
    if (s.empty()) return true;
    return std::any_of(s.begin(), s.end(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == '"' || c == ',';
    });
}

} // namespace

// --- TStrings ---

void TStrings::ListIndexError(int index) {
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TStrings::Put(int index, std::string_view s) {
    if (index < 0 || index >= Count()) ListIndexError(index);
    void* object = GetObject(index);
    TUpdateGuard guard(*this);
    // Insert first, so that a refused insertion loses nothing.
    Insert(index, s);
    Delete(index + 1);
    PutObject(index, object);
}

void* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, void*) {}

int TStrings::Add(std::string_view s) {
    int index = Count();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(std::string_view s, void* object) {
    int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::AddStrings(const TStrings& strings) {
    TUpdateGuard guard(*this);
    const int n = strings.Count(); // fixed first, so that adding a list to itself ends
    for (int i = 0; i < n; ++i) AddObject(strings.Get(i), strings.GetObject(i));
}

void TStrings::Assign(const TStrings& source) {
    if (&source == this) return;
    TUpdateGuard guard(*this);
    Clear();
    AddStrings(source);
}

void TStrings::Exchange(int index1, int index2) {
    TUpdateGuard guard(*this);
    std::string s1 = Get(index1), s2 = Get(index2);
    void* o1 = GetObject(index1);
    void* o2 = GetObject(index2);
    Put(index1, s2);
    PutObject(index1, o2);
    Put(index2, s1);
    PutObject(index2, o1);
}

void TStrings::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    if (newIndex < 0 || newIndex >= Count()) ListIndexError(newIndex);
    std::string s = Get(curIndex);
    void* object = GetObject(curIndex);
    TUpdateGuard guard(*this);
    // Insert first, so that a refused insertion loses nothing.
    if (newIndex > curIndex) {
        Insert(newIndex + 1, s);
        Delete(curIndex);
    } else {
        Insert(newIndex, s);
        Delete(curIndex + 1);
    }
    PutObject(newIndex, object);
}

int TStrings::IndexOf(std::string_view s) const {
    for (int i = 0, n = Count(); i < n; ++i)
        if (CompareStrings(Get(i), s) == 0) return i;
    return -1;
}

int TStrings::IndexOfObject(const void* object) const {
    for (int i = 0, n = Count(); i < n; ++i)
        if (GetObject(i) == object) return i;
    return -1;
}

int TStrings::IndexOfName(std::string_view name) const {
    for (int i = 0, n = Count(); i < n; ++i) {
        std::string s = Get(i);
        std::size_t eq = s.find('=');
        if (eq != std::string::npos && CompareStrings(std::string_view(s).substr(0, eq), name) == 0) return i;
    }
    return -1;
}

std::string TStrings::Text() const {
    std::string r;
    for (int i = 0, n = Count(); i < n; ++i) {
        r += Get(i);
        r += "\r\n";
    }
    return r;
}

void TStrings::SetText(std::string_view text) {
    TUpdateGuard guard(*this);
    Clear();
    TLineSplitter lines(text);
    for (std::string_view line; lines.Next(line);) Add(line);
}

std::string TStrings::CommaText() const {
    std::string r;
    for (int i = 0, n = Count(); i < n; ++i) {
        if (i > 0) r += ',';
        std::string s = Get(i);
        if (!NeedsQuotes(s)) {
            r += s;
            continue;
        }
        r += '"';
        for (char c : s) {
            if (c == '"') r += '"';
            r += c;
        }
        r += '"';
    }
    return r;
}

void TStrings::SetCommaText(std::string_view text) {
    TUpdateGuard guard(*this);
    Clear();
    std::size_t p = 0;
    const std::size_t n = text.size();
    auto blank = [&](std::size_t i) { return static_cast<unsigned char>(text[i]) <= ' '; };
    while (p < n && blank(p)) ++p;
    while (p < n) {
        std::string item;
        if (text[p] == '"') {
            ++p;
            while (p < n) {
                if (text[p] == '"') {
                    if (p + 1 < n && text[p + 1] == '"') {
                        item += '"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += text[p++];
            }
        } else {
            std::size_t start = p;
            while (p < n && !blank(p) && text[p] != ',') ++p;
            item.assign(text.substr(start, p - start));
        }
        Add(item);
        while (p < n && blank(p)) ++p;
        if (p < n && text[p] == ',') {
            do ++p;
            while (p < n && blank(p));
        }
    }
}

std::string TStrings::Names(int index) const {
    std::string s = Get(index);
    std::size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::Values(std::string_view name) const {
    int i = IndexOfName(name);
    if (i < 0) return {};
    std::string s = Get(i);
    return s.substr(s.find('=') + 1);
}

void TStrings::SetValues(std::string_view name, std::string_view value) {
    int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0) Delete(i);
        return;
    }
    std::string entry = std::string(name) + "=" + std::string(value);
    if (i < 0) Add(entry);
    else Put(i, entry);
}

void TStrings::LoadFromFile(std::string_view fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

// Through a temporary file, so that a failed save leaves the old file whole.
void TStrings::SaveToFile(std::string_view fileName) const { WriteFileAtomic(fileName, Text()); }

void TStrings::LoadFromStream(TStream& stream) {
    std::int64_t size = stream.Size() - stream.Position();
    std::string text(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)), '\0');
    stream.ReadBuffer(text.data(), static_cast<std::int64_t>(text.size()));
    SetText(text);
}

void TStrings::SaveToStream(TStream& stream) const {
    std::string text = Text();
    stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

void TStrings::BeginUpdate() {
    if (FUpdateCount == 0) SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const { return AnsiCompareText(a, b); }

// --- TStringList ---

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) ListIndexError(index);
}

std::string TStringList::Get(int index) const {
    CheckIndex(index);
    return FItems[static_cast<std::size_t>(index)].FString;
}

void TStringList::Put(int index, std::string_view s) {
    if (FSorted) SortedListError();
    CheckIndex(index);
    Changing();
    FItems[static_cast<std::size_t>(index)].FString = s;
    Changed();
}

void* TStringList::GetObject(int index) const {
    CheckIndex(index);
    return FItems[static_cast<std::size_t>(index)].FObject;
}

void TStringList::PutObject(int index, void* object) {
    CheckIndex(index);
    Changing();
    FItems[static_cast<std::size_t>(index)].FObject = object;
    Changed();
}

int TStringList::Add(std::string_view s) { return AddObject(s, nullptr); }

int TStringList::AddObject(std::string_view s, void* object) {
    int index = Count();
    if (FSorted && Find(s, index)) {
        if (FDuplicates == dupIgnore) return index;
        if (FDuplicates == dupError) throw EStringListError("Duplicates not allowed");
    }
    InsertItem(index, s, object);
    return index;
}

void TStringList::Insert(int index, std::string_view s) {
    if (FSorted) SortedListError();
    if (index < 0 || index > Count()) ListIndexError(index);
    InsertItem(index, s, nullptr);
}

void TStringList::InsertItem(int index, std::string_view s, void* object) {
    Changing();
    FItems.insert(FItems.begin() + index, TItem{std::string(s), object});
    Changed();
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    Changing();
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (FItems.empty()) return;
    Changing();
    FItems.clear();
    Changed();
}

void TStringList::Exchange(int index1, int index2) {
    if (FSorted) SortedListError();
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(FItems[static_cast<std::size_t>(index1)], FItems[static_cast<std::size_t>(index2)]);
    Changed();
}

int TStringList::IndexOf(std::string_view s) const {
    if (!FSorted) return TStrings::IndexOf(s);
    int index;
    return Find(s, index) ? index : -1;
}

bool TStringList::Find(std::string_view s, int& index) const {
    if (!FSorted) {
        index = TStrings::IndexOf(s);
        if (index >= 0) return true;
        index = Count();
        return false;
    }
    int l = 0, h = Count() - 1;
    bool found = false;
    while (l <= h) {
        int i = l + (h - l) / 2;
        int c = CompareStrings(FItems[static_cast<std::size_t>(i)].FString, s);
        if (c < 0) {
            l = i + 1;
        } else {
            h = i - 1;
            if (c == 0) found = true;
        }
    }
    index = l;
    return found;
}

void TStringList::Sort() {
    if (Count() < 2) return;
    Changing();
    std::stable_sort(FItems.begin(), FItems.end(),
                     [this](const TItem& a, const TItem& b) { return CompareStrings(a.FString, b.FString) < 0; });
    Changed();
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
    if (Count() < 2 || !compare) return;
    Changing();
    QuickSort(0, Count() - 1, compare);
    Changed();
}

// Works on indexes, since the compare function takes them; recursing into the smaller part
// keeps the depth logarithmic.
void TStringList::QuickSort(int l, int r, const TStringListSortCompare& compare) {
    while (l < r) {
        int i = l, j = r, p = l + (r - l) / 2;
        do {
            while (i < r && compare(*this, i, p) < 0) ++i;
            while (j > l && compare(*this, j, p) > 0) --j;
            if (i <= j) {
                if (i != j) std::swap(FItems[static_cast<std::size_t>(i)], FItems[static_cast<std::size_t>(j)]);
                if (p == i) p = j;
                else if (p == j) p = i;
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - l < r - i) {
            QuickSort(l, j, compare);
            l = i;
        } else {
            QuickSort(i, r, compare);
            r = j;
        }
    }
}

void TStringList::SetSorted(bool value) {
    if (value == FSorted) return;
    if (value) Sort();
    FSorted = value;
}

void TStringList::SetCaseSensitive(bool value) {
    if (value == FCaseSensitive) return;
    FCaseSensitive = value;
    if (FSorted) Sort();
}

void TStringList::SetUpdateState(bool updating) {
    if (updating) Changing();
    else Changed();
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const {
    return FCaseSensitive ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(*this);
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging) OnChanging(*this);
}

} // namespace rtl
