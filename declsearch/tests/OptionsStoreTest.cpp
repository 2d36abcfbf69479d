#include "declsearch/OptionsStore.h"

#include "rtl/Registry.h"
#include "rtl/WinRoot.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace declsearch;

namespace {

std::string UserReg() {
    std::ifstream in(rtl::UserRegistryFile(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(DeclOptionsStore, ValuesRoundTripAsText) {
    testing_support::TempWinRoot root;
    {
        auto store = OpenOptionsStore();
        store->WriteBool("Options Last", "Function", false);
        store->WriteBool("Options Last", "Class", true);
        store->WriteString("Options Last", "Search Text", "Count");
        store->WriteInteger("Files", "Option", 3);
        store->WriteInteger("Main Coords", "Left", -20);
        store->WriteString("User Defined", "Path", "C:\\proj\\*.pas");
    }
    std::string reg = UserReg();
    EXPECT_NE(reg.find("[HKEY_CURRENT_USER\\Software\\Kwentra\\Delvo\\Options Last]"), std::string::npos) << reg;
    EXPECT_NE(reg.find("\"Function\"=\"0\""), std::string::npos) << reg;
    EXPECT_NE(reg.find("\"Class\"=\"1\""), std::string::npos) << reg;
    EXPECT_NE(reg.find("\"Option\"=\"3\""), std::string::npos) << reg;

    auto store = OpenOptionsStore(); // a new store reads what the first one wrote
    EXPECT_FALSE(store->ReadBool("Options Last", "Function", true));
    EXPECT_TRUE(store->ReadBool("Options Last", "Class", false));
    EXPECT_EQ(store->ReadString("Options Last", "Search Text", ""), "Count");
    EXPECT_EQ(store->ReadInteger("Files", "Option", 1), 3);
    EXPECT_EQ(store->ReadInteger("Main Coords", "Left", 0), -20);
    EXPECT_EQ(store->ReadString("user defined", "PATH", ""), "C:\\proj\\*.pas"); // names without case
}

TEST(DeclOptionsStore, ReadsGiveTheDefaultForWhatIsNotThere) {
    testing_support::TempWinRoot root;
    auto store = OpenOptionsStore();
    rtl::TRegistry reg;
    EXPECT_TRUE(reg.KeyExists("\\Software\\Kwentra\\Delvo")); // made when missing

    struct Case {
        const char* stored; // nullptr: absent
        int defaultValue;
        int read;
    } cases[] = {
        {nullptr, 7, 7}, {"42", 7, 42}, {"0x1F", 7, 31}, {"-5", 7, -5},
        {"abc", 7, 7},   {"12abc", 7, 7}, {"", 7, 7},
    };
    for (const Case& c : cases) {
        store->DeleteKey("Interface", "Color");
        if (c.stored) store->WriteString("Interface", "Color", c.stored);
        EXPECT_EQ(store->ReadInteger("Interface", "Color", c.defaultValue), c.read) << (c.stored ? c.stored : "absent");
    }

    store->WriteString("Options Last", "Word Search", "2");
    EXPECT_TRUE(store->ReadBool("Options Last", "Word Search", false)); // any number but 0
    store->WriteString("Options Last", "Word Search", "yes");
    EXPECT_FALSE(store->ReadBool("Options Last", "Word Search", false));
    EXPECT_TRUE(store->ReadBool("Options Last", "Word Search", true));
    EXPECT_EQ(store->ReadString("No Such Section", "x", "dflt"), "dflt");

    // A value another program stored as a number reads as the default, it does not raise.
    ASSERT_TRUE(reg.OpenKey("\\Software\\Kwentra\\Delvo\\Files", true));
    reg.WriteInteger("Option", 2);
    EXPECT_EQ(store->ReadInteger("Files", "Option", 1), 1);
    EXPECT_EQ(store->ReadString("Files", "Option", "none"), "none");
}

TEST(DeclOptionsStore, SearchSettings) {
    testing_support::TempWinRoot root;
    auto store = OpenOptionsStore();
    TSearchSettings s = LoadSearchOptions(*store);
    // Before anything was stored.
    EXPECT_TRUE(s.Function && s.Procedure && s.Interface && s.Implementation && s.Comment && s.Indent);
    EXPECT_FALSE(s.Class || s.Constructor || s.Destructor || s.Field || s.ClassFunction || s.ClassProcedure ||
                 s.Property || s.CaseSensitive || s.WordSearch);
    EXPECT_TRUE(s.ClassName.empty() && s.SearchText.empty());

    store->WriteBool("Options Last", "Function", false);
    store->WriteBool("Options Last", "Class Procedure", true);
    store->WriteString("Options Last", "Class Name", "TFoo");
    store->WriteString("Options Last", "Search Text", "Paint");
    store->WriteBool("Options Last", "Case Sensitive", true);
    store->WriteBool("Options Default", "Property", true); // not what a search reads
    store->WriteBool("Interface", "Indent", false);
    s = LoadSearchOptions(*store);
    EXPECT_FALSE(s.Function);
    EXPECT_TRUE(s.ClassProcedure);
    EXPECT_FALSE(s.Property);
    EXPECT_EQ(s.ClassName, "TFoo");
    EXPECT_EQ(s.SearchText, "Paint");
    EXPECT_TRUE(s.CaseSensitive);
    EXPECT_FALSE(s.Indent);
    EXPECT_TRUE(s.Comment);
}
