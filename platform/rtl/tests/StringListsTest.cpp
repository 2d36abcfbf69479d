#include "rtl/StringLists.h"

#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/Streams.h"
#include "testing/TempWinRoot.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

#include "TestFiles.h"
#include "rtl/TestHooks.h"

namespace {

std::vector<std::string> Items(const rtl::TStrings& list) {
    std::vector<std::string> r;
    for (int i = 0; i < list.Count(); ++i) r.push_back(list[i]);
    return r;
}

using Lines = std::vector<std::string>;

TEST(StringLists, UnsortedKeepsOrderAndObjects) {
    rtl::TStringList list;
    int a = 1, b = 2;
    EXPECT_EQ(list.Add("one"), 0);
    EXPECT_EQ(list.AddObject("two", &b), 1);
    list.Insert(0, "zero");
    list.SetObjects(0, &a);
    EXPECT_EQ(Items(list), (Lines{"zero", "one", "two"}));
    EXPECT_EQ(list.Objects(0), &a);
    EXPECT_EQ(list.Objects(1), nullptr);
    EXPECT_EQ(list.Objects(2), &b);
    EXPECT_EQ(list.IndexOfObject(&b), 2);

    list.Exchange(0, 2);
    EXPECT_EQ(Items(list), (Lines{"two", "one", "zero"}));
    EXPECT_EQ(list.Objects(0), &b);
    list.Move(0, 2);
    EXPECT_EQ(Items(list), (Lines{"one", "zero", "two"}));
    EXPECT_EQ(list.Objects(2), &b);
    list.Move(2, 0);
    EXPECT_EQ(Items(list), (Lines{"two", "one", "zero"}));
    EXPECT_EQ(list.Objects(0), &b);

    list.SetStrings(1, "uno");
    list.Delete(2);
    EXPECT_EQ(Items(list), (Lines{"two", "uno"}));
    EXPECT_EQ(list.IndexOf("UNO"), 1); // letter case ignored by default
    EXPECT_EQ(list.IndexOf("three"), -1);
    int index = -1;
    EXPECT_FALSE(list.Find("three", index));
    EXPECT_EQ(index, 2);
}

TEST(StringLists, IndexErrorsNameTheIndex) {
    rtl::TStringList list;
    list.Add("a");
    struct Case { const char* what; std::function<void()> call; const char* message; };
    const Case cases[] = {
        {"get", [&] { (void)list[1]; }, "List index out of bounds (1)"},
        {"negative", [&] { (void)list.Strings(-1); }, "List index out of bounds (-1)"},
        {"put", [&] { list.SetStrings(3, "x"); }, "List index out of bounds (3)"},
        {"object", [&] { (void)list.Objects(1); }, "List index out of bounds (1)"},
        {"delete", [&] { list.Delete(1); }, "List index out of bounds (1)"},
        {"insert past end", [&] { list.Insert(2, "x"); }, "List index out of bounds (2)"},
        {"exchange", [&] { list.Exchange(0, 5); }, "List index out of bounds (5)"},
        {"move", [&] { list.Move(0, 1); }, "List index out of bounds (1)"},
    };
    for (const Case& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.what << ": no exception";
        } catch (const rtl::EStringListError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.what;
        }
    }
    EXPECT_EQ(Items(list), (Lines{"a"})) << "a refused change loses nothing";
    list.Insert(1, "b"); // one past the end appends
    EXPECT_EQ(Items(list), (Lines{"a", "b"}));
}

TEST(StringLists, SortedAddAndFind) {
    rtl::TStringList list;
    for (const char* s : {"pear", "Apple", "fig", "banana"}) list.Add(s);
    list.SetSorted(true);
    EXPECT_EQ(Items(list), (Lines{"Apple", "banana", "fig", "pear"}));
    EXPECT_EQ(list.Add("cherry"), 2);
    EXPECT_EQ(list.Add("zucchini"), 5);
    EXPECT_EQ(list.Add("aardvark"), 0);
    EXPECT_EQ(Items(list), (Lines{"aardvark", "Apple", "banana", "cherry", "fig", "pear", "zucchini"}));

    struct Case { const char* s; bool found; int index; };
    const Case cases[] = {
        {"APPLE", true, 1}, {"fig", true, 4}, {"Zucchini", true, 6}, {"a", false, 0},
        {"date", false, 4}, {"zz", false, 7}, {"", false, 0},
    };
    for (const Case& c : cases) {
        int index = -1;
        EXPECT_EQ(list.Find(c.s, index), c.found) << c.s;
        EXPECT_EQ(index, c.index) << c.s;
        EXPECT_EQ(list.IndexOf(c.s), c.found ? c.index : -1) << c.s;
    }

    EXPECT_THROW(list.Insert(0, "x"), rtl::EStringListError);
    EXPECT_THROW(list.SetStrings(0, "x"), rtl::EStringListError);
    EXPECT_THROW(list.Exchange(0, 1), rtl::EStringListError);
    try {
        list.Move(0, 3);
        FAIL() << "no exception";
    } catch (const rtl::EStringListError& e) {
        EXPECT_STREQ(e.what(), "Operation not allowed on sorted string list");
    }
    EXPECT_EQ(list.Count(), 7) << "a refused move loses nothing";
    EXPECT_EQ(list[0], "aardvark");
}

TEST(StringLists, DuplicateModes) {
    int first = 1, second = 2;
    {
        rtl::TStringList list;
        list.SetSorted(true);
        list.AddObject("word", &first);
        EXPECT_EQ(list.AddObject("WORD", &second), 0);
        EXPECT_EQ(Items(list), (Lines{"word"}));
        EXPECT_EQ(list.Objects(0), &first) << "an ignored duplicate leaves the present item alone";
    }
    {
        rtl::TStringList list;
        list.SetSorted(true);
        list.SetDuplicates(rtl::dupAccept);
        for (const char* s : {"b", "a", "B", "b", "c"}) list.Add(s);
        EXPECT_EQ(list.Count(), 5);
        int index = -1;
        EXPECT_TRUE(list.Find("b", index));
        EXPECT_EQ(index, 1) << "Find lands on the first of equal items";
    }
    {
        rtl::TStringList list;
        list.SetSorted(true);
        list.SetDuplicates(rtl::dupError);
        list.Add("word");
        try {
            list.Add("Word");
            FAIL() << "no exception";
        } catch (const rtl::EStringListError& e) {
            EXPECT_STREQ(e.what(), "Duplicates not allowed");
        }
        EXPECT_EQ(Items(list), (Lines{"word"}));
    }
    {
        // Duplicates only matter to a sorted list.
        rtl::TStringList list;
        list.SetDuplicates(rtl::dupError);
        list.Add("x");
        list.Add("x");
        EXPECT_EQ(list.Count(), 2);
    }
}

TEST(StringLists, CaseSensitivity) {
    rtl::TStringList list;
    list.SetSorted(true);
    for (const char* s : {"b", "B", "\xE9t\xE9", "A", "a"}) list.Add(s);
    EXPECT_EQ(Items(list), (Lines{"A", "b", "\xE9t\xE9"})) << "case-insensitive duplicates ignored";
    EXPECT_EQ(list.IndexOf("\xC9T\xC9"), 2) << "cp1252 letters fold too";

    list.SetCaseSensitive(true);
    list.Add("a");
    list.Add("B");
    EXPECT_EQ(Items(list), (Lines{"a", "A", "b", "B", "\xE9t\xE9"}));
    EXPECT_EQ(list.IndexOf("\xC9T\xC9"), -1);
    EXPECT_EQ(list.IndexOf("B"), 3);
}

TEST(StringLists, CustomSortAndSort) {
    rtl::TStringList list;
    for (const char* s : {"ccc", "a", "bb", "dddd", "", "ee"}) list.Add(s);
    list.CustomSort([](rtl::TStringList& l, int i, int j) {
        return static_cast<int>(l[i].size()) - static_cast<int>(l[j].size());
    });
    std::vector<std::size_t> lengths;
    for (const std::string& s : Items(list)) lengths.push_back(s.size());
    EXPECT_TRUE(std::is_sorted(lengths.begin(), lengths.end()));
    EXPECT_EQ(list.Count(), 6);
    list.Sort();
    EXPECT_EQ(Items(list), (Lines{"", "a", "bb", "ccc", "dddd", "ee"}));
    EXPECT_FALSE(list.Sorted()) << "Sort orders once, it does not keep the list sorted";

    // A larger shuffled list comes out whole and ordered.
    rtl::TStringList big;
    for (int i = 0; i < 500; ++i) big.Add(std::to_string((i * 7919) % 500));
    big.CustomSort([](rtl::TStringList& l, int i, int j) { return std::stoi(l[i]) - std::stoi(l[j]); });
    for (int i = 0; i < 500; ++i) ASSERT_EQ(big[i], std::to_string(i));
}

TEST(StringLists, TextSplitsAtEveryLineEnding) {
    struct Case { const char* text; Lines lines; };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},      // LF then CR is two breaks
        {"\r\n", {""}},
        {"", {}},
        {"one", {"one"}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        rtl::TStringList list;
        list.SetText(cases[i].text);
        EXPECT_EQ(Items(list), cases[i].lines) << "case " << i;
    }
    rtl::TStringList withNul;
    withNul.SetText(std::string("x\0y\nz", 5));
    EXPECT_EQ(Items(withNul), (Lines{std::string("x\0y", 3), "z"})) << "a zero byte is text, not an end";

    rtl::TStringList list;
    list.SetText("a\nb");
    EXPECT_EQ(list.Text(), "a\r\nb\r\n");
}

TEST(StringLists, CommaText) {
    struct Case { Lines items; const char* comma; };
    const Case cases[] = {
        {{"a", "b", "c"}, "a,b,c"},
        {{"two words", "x"}, "\"two words\",x"},
        {{"say \"hi\"", "a,b"}, "\"say \"\"hi\"\"\",\"a,b\""},
        {{"a", ""}, "a,\"\""},           // an empty item survives the round trip
        {{""}, "\"\""},
        {{}, ""},
        {{"tab\there"}, "\"tab\there\""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        rtl::TStringList list;
        for (const std::string& s : cases[i].items) list.Add(s);
        EXPECT_EQ(list.CommaText(), cases[i].comma) << "case " << i;
        rtl::TStringList back;
        back.SetCommaText(list.CommaText());
        EXPECT_EQ(Items(back), cases[i].items) << "case " << i;
    }

    struct ReadCase { const char* comma; Lines items; };
    const ReadCase reads[] = {
        {"a b,c", {"a", "b", "c"}},      // blanks separate outside quotes
        {"  a , b  ", {"a", "b"}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a"}},
        {"\"unterminated", {"unterminated"}},
        {"\"ab\"cd", {"ab", "cd"}},
    };
    for (const ReadCase& c : reads) {
        rtl::TStringList list;
        list.SetCommaText(c.comma);
        EXPECT_EQ(Items(list), c.items) << c.comma;
    }
}

TEST(StringLists, NamesAndValues) {
    rtl::TStringList list;
    list.SetText("Path=C:\\DELPHI\nnoequals\nMode=a=b\nEmpty=\n");
    EXPECT_EQ(list.Names(0), "Path");
    EXPECT_EQ(list.Names(1), "");
    EXPECT_EQ(list.Names(2), "Mode");
    EXPECT_EQ(list.Values("path"), "C:\\DELPHI") << "names match without regard to case";
    EXPECT_EQ(list.Values("MODE"), "a=b") << "the value runs from the first '='";
    EXPECT_EQ(list.Values("Empty"), "");
    EXPECT_EQ(list.Values("missing"), "");
    EXPECT_EQ(list.IndexOfName("empty"), 3);
    EXPECT_EQ(list.IndexOfName("noequals"), -1);

    list.SetValues("mode", "c");
    EXPECT_EQ(list[2], "mode=c");
    list.SetValues("New", "1");
    EXPECT_EQ(list[4], "New=1");
    list.SetValues("PATH", "");
    EXPECT_EQ(list.IndexOfName("Path"), -1);
    EXPECT_EQ(list.Count(), 4);
}

TEST(StringLists, ChangeEventsAndUpdates) {
    rtl::TStringList list;
    std::string log;
    list.OnChanging = [&](rtl::TStringList&) { log += '<'; };
    list.OnChange = [&](rtl::TStringList& sender) {
        EXPECT_EQ(&sender, &list);
        log += '>';
    };
    list.Add("a");
    list.Delete(0);
    list.Clear(); // nothing to clear: no event
    EXPECT_EQ(log, "<><>");

    log.clear();
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("a");
    list.Add("b");
    list.EndUpdate();
    EXPECT_EQ(log, "<");
    list.EndUpdate();
    EXPECT_EQ(log, "<>");

    log.clear();
    list.SetText("x\ny\nz");
    EXPECT_EQ(log, "<>") << "a compound change reports once";

    rtl::TStringList other;
    other.Add("q");
    log.clear();
    list.Assign(other);
    EXPECT_EQ(log, "<>");
    EXPECT_EQ(Items(list), (Lines{"q"}));
    list.AddStrings(list);
    EXPECT_EQ(Items(list), (Lines{"q", "q"}));
}

// A descendant that supplies only the primitives, as a view over another container does.
class TVectorStrings : public rtl::TStrings {
public:
    std::vector<std::string> items;
    std::string log;

    int Count() const override { return static_cast<int>(items.size()); }
    std::string Get(int index) const override {
        if (index < 0 || index >= Count()) ListIndexError(index);
        return items[static_cast<std::size_t>(index)];
    }
    void Insert(int index, std::string_view s) override {
        if (index < 0 || index > Count()) ListIndexError(index);
        items.insert(items.begin() + index, std::string(s));
    }
    void Delete(int index) override {
        if (index < 0 || index >= Count()) ListIndexError(index);
        items.erase(items.begin() + index);
    }
    void Clear() override { items.clear(); }

protected:
    void SetUpdateState(bool updating) override { log += updating ? '[' : ']'; }
};

TEST(StringLists, TheBaseWorksThroughItsPrimitives) {
    TVectorStrings list;
    list.SetText("Alpha=1\nbeta=2\ngamma");
    EXPECT_EQ(list.Values("BETA"), "2");
    list.SetStrings(0, "alpha=9");
    list.Move(2, 0);
    EXPECT_EQ(list.items, (Lines{"gamma", "alpha=9", "beta=2"}));
    list.Exchange(0, 2);
    EXPECT_EQ(list.items, (Lines{"beta=2", "alpha=9", "gamma"}));
    EXPECT_EQ(list.IndexOf("GAMMA"), 2);
    EXPECT_EQ(list.CommaText(), "beta=2,alpha=9,gamma");
    list.SetValues("Alpha", "");
    EXPECT_EQ(list.items, (Lines{"beta=2", "gamma"}));
    EXPECT_THROW(list.SetStrings(2, "x"), rtl::EStringListError);
    EXPECT_EQ(list.items, (Lines{"beta=2", "gamma"})) << "a refused change adds nothing";

    rtl::TStringList copy;
    copy.Assign(list);
    EXPECT_EQ(Items(copy), list.items);
    EXPECT_EQ(list.log, "[][][][]") << "text, put, move and exchange: one update each";
}

class StringListFiles : public rtl_test::RootFiles {};

TEST_F(StringListFiles, LoadsEveryLineEndingAndSavesCrLf) {
    struct Case { const char* name; std::string bytes; };
    const Case cases[] = {
        {"crlf.txt", "alpha\r\nbeta\r\n\r\ngamma"},
        {"lf.txt", "alpha\nbeta\n\ngamma\n"},
        {"cr.txt", "alpha\rbeta\r\rgamma\r"},
        {"mixed.txt", "alpha\r\nbeta\n\rgamma"},
    };
    for (const Case& c : cases) {
        WriteHost(c.name, c.bytes);
        rtl::TStringList list;
        list.LoadFromFile(Name(c.name));
        EXPECT_EQ(Items(list), (Lines{"alpha", "beta", "", "gamma"})) << c.name;
        list.SaveToFile(Name(std::string("out-") + c.name));
        EXPECT_EQ(ReadHost(std::string("out-") + c.name), "alpha\r\nbeta\r\n\r\ngamma\r\n") << c.name;
    }
}

TEST_F(StringListFiles, LoadKeepsHighBytesAndSortsIntoASortedList) {
    WriteHost("words.txt", "z\xE9ro\nAbc\nabc\n");
    rtl::TStringList list;
    list.SetSorted(true);
    list.LoadFromFile(Name("words.txt"));
    EXPECT_EQ(Items(list), (Lines{"Abc", "z\xE9ro"}));
}

TEST_F(StringListFiles, MissingFileRaisesAndKeepsTheList) {
    rtl::TStringList list;
    list.Add("kept");
    try {
        list.LoadFromFile(Name("absent.txt"));
        FAIL() << "no exception";
    } catch (const rtl::EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + Name("absent.txt"));
    }
    EXPECT_EQ(Items(list), (Lines{"kept"}));
    EXPECT_THROW(list.SaveToFile(Name("no-such-folder\\x.txt")), rtl::EFCreateError);
}

TEST_F(StringListFiles, FailedSaveKeepsTheOldFile) {
    std::filesystem::create_directory(root.Path() + "/data");
    WriteHost("data/user.txt", "old\r\n");
    rtl::TStringList list;
    list.SetText("new\nwords");
    rtl::SetWriteFailureHook([](std::string_view) { return 28; }); // no space left
    EXPECT_THROW(list.SaveToFile(Name("data/user.txt")), rtl::EInOutError);
    rtl::SetWriteFailureHook({});
    EXPECT_EQ(ReadHost("data/user.txt"), "old\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root.Path() + "/data"), {}), 1) << "no temporary file left";
    list.SaveToFile(Name("data/user.txt"));
    EXPECT_EQ(ReadHost("data/user.txt"), "new\r\nwords\r\n");
}

TEST(StringListStreams, LoadFromTheStreamPositionSaveAtIt) {
    rtl::TStringStream stream("skip\r\nline 1\nline 2");
    stream.SetPosition(6);
    rtl::TStringList list;
    list.LoadFromStream(stream);
    EXPECT_EQ(Items(list), (Lines{"line 1", "line 2"}));

    rtl::TStringStream out("head:");
    out.Seek(0, rtl::soFromEnd);
    list.SaveToStream(out);
    EXPECT_EQ(out.DataString(), "head:line 1\r\nline 2\r\n");
}

} // namespace
