#include "rtl/Registry.h"

#include "rtl/Files.h"

#include "rtl/StringLists.h"
#include "rtl/WinRoot.h"
#include "testing/TempWinRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <fcntl.h>
#include <sys/file.h>
#include <algorithm>
#include <functional>

#include "TestFiles.h"
#include "rtl/TestHooks.h"

namespace {

using rtl_test::ReadRaw;
using rtl_test::TFileSizeLimit;
using rtl_test::WriteRaw;

struct TStoredValue {
    const char* name;
    std::uint32_t type;
    std::string data;
};

std::string Bytes256() {
    std::string s;
    for (int i = 0; i < 256; ++i) s += static_cast<char>(i);
    return s;
}

const TStoredValue kEveryType[] = {
    {"", rtl::REG_SZ, std::string("default\0", 8)},
    {"Text", rtl::REG_SZ, std::string("C:\\Path \"quoted\" \xE9t\xE9\0", 21)},
    {"Two \"lines\\\"", rtl::REG_SZ, std::string("one\r\ntwo\0", 9)},
    {"Unterminated", rtl::REG_SZ, "no zero"},
    {"Empty", rtl::REG_SZ, std::string("\0", 1)},
    {"Expand", rtl::REG_EXPAND_SZ, std::string("%PATH%\0", 7)},
    {"Count", rtl::REG_DWORD, std::string("\x0a\0\0\0", 4)},
    {"Minus", rtl::REG_DWORD, "\xff\xff\xff\xff"},
    {"Short dword", rtl::REG_DWORD, "\x01\x02"},
    {"Binary", rtl::REG_BINARY, Bytes256()},
    {"No bytes", rtl::REG_BINARY, ""},
    {"Multi", rtl::REG_MULTI_SZ, std::string("a\0bc\0\0", 6)},
    {"None", rtl::REG_NONE, ""},
    {"Odd type", 0x1234, "xy"},
};

TEST(RegistryStore, EveryValueTypeRoundTripsThroughTheFile) {
    std::string file;
    {
        testing_support::TempWinRoot root;
        rtl::HKEY key = nullptr;
        ASSERT_EQ(rtl::RegCreateKeyEx(rtl::HKEY_CURRENT_USER, "Software\\Types", 0, nullptr, 0, rtl::KEY_ALL_ACCESS,
                                      nullptr, &key, nullptr), rtl::ERROR_SUCCESS);
        for (const TStoredValue& v : kEveryType)
            ASSERT_EQ(rtl::RegSetValueEx(key, v.name, 0, v.type, reinterpret_cast<const unsigned char*>(v.data.data()),
                                         static_cast<std::uint32_t>(v.data.size())), rtl::ERROR_SUCCESS) << v.name;
        rtl::RegCloseKey(key);
        file = ReadRaw(rtl::UserRegistryFile());
    }
    EXPECT_EQ(file.rfind("REGEDIT4\r\n", 0), 0u);
    EXPECT_NE(file.find("[HKEY_CURRENT_USER\\Software\\Types]\r\n"), std::string::npos);
    EXPECT_NE(file.find("@=\"default\"\r\n"), std::string::npos);
    EXPECT_NE(file.find("\"Text\"=\"C:\\\\Path \\\"quoted\\\" \xE9t\xE9\"\r\n"), std::string::npos);
    EXPECT_NE(file.find("\"Count\"=dword:0000000a\r\n"), std::string::npos);
    EXPECT_NE(file.find("\"No bytes\"=hex:\r\n"), std::string::npos);

    // Another machine root reading that file: nothing of the writer's cache helps.
    testing_support::TempWinRoot other;
    WriteRaw(rtl::UserRegistryFile(), file);
    rtl::HKEY key = nullptr;
    ASSERT_EQ(rtl::RegOpenKeyEx(rtl::HKEY_CURRENT_USER, "SOFTWARE\\types", 0, rtl::KEY_READ, &key), rtl::ERROR_SUCCESS);
    for (const TStoredValue& v : kEveryType) {
        std::uint32_t type = 99, size = 0;
        ASSERT_EQ(rtl::RegQueryValueEx(key, v.name, nullptr, &type, nullptr, &size), rtl::ERROR_SUCCESS) << v.name;
        EXPECT_EQ(type, v.type) << v.name;
        std::string data(size, '\0');
        ASSERT_EQ(rtl::RegQueryValueEx(key, v.name, nullptr, nullptr, reinterpret_cast<unsigned char*>(data.data()), &size),
                  rtl::ERROR_SUCCESS);
        EXPECT_EQ(data, v.data) << v.name;
    }
    std::uint32_t small = 2;
    unsigned char buf[2];
    EXPECT_EQ(rtl::RegQueryValueEx(key, "Text", nullptr, nullptr, buf, &small), rtl::ERROR_MORE_DATA);
    EXPECT_EQ(small, 21u);
    EXPECT_EQ(rtl::RegSetValueEx(key, "x", 0, rtl::REG_SZ, buf, 1), rtl::ERROR_ACCESS_DENIED); // opened for reading
    rtl::RegCloseKey(key);
}

TEST(RegistryStore, ReadsTheTextFormat) {
    testing_support::TempWinRoot root;
    WriteRaw(rtl::UserRegistryFile(),
             "REGEDIT4\n\n"
             "; written by hand\n"
             "[HKEY_CURRENT_USER\\Software\\Kwentra\\Delvo\\Interface]\n"
             "\"Font Name\"=\"Arial\"\n"
             "\"Blob\"=hex:01,02,\\\n"
             "  03,ff\n"
             "[hkey_current_user\\SOFTWARE\\kwentra]\n"
             "\"Later\"=dword:00000010\n");
    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Kwentra", false));
    EXPECT_EQ(reg.ReadInteger("later"), 16);
    rtl::TStringList names;
    reg.GetKeyNames(names);
    EXPECT_EQ(names.Text(), "Delvo\r\n"); // keeps the case it was made with
    ASSERT_TRUE(reg.OpenKey("delvo\\interface", false));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Kwentra\\delvo\\interface");
    EXPECT_EQ(reg.ReadString("FONT NAME"), "Arial");
    EXPECT_EQ(reg.GetDataType("Blob"), rtl::TRegDataType::rdBinary);
}

TEST(Registry, KeysAndValues) {
    testing_support::TempWinRoot root;
    rtl::TRegistry reg;
    EXPECT_THROW(reg.SetRootKey(rtl::HKEY_LOCAL_MACHINE), rtl::ERegistryException);
    EXPECT_EQ(reg.RootKey(), rtl::HKEY_CURRENT_USER);

    EXPECT_FALSE(reg.OpenKey("\\Software\\Zestor", false));
    EXPECT_EQ(reg.CurrentKey(), nullptr);
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\BORLAND\\DELPHI\\2.0\\Zestor", true));
    reg.WriteString("CodeFile", "C:\\DELPHI32.DCI");
    reg.WriteInteger("PosLeft", -20);
    reg.WriteBool("Flag", true);
    ASSERT_TRUE(reg.OpenKey("PropExpert", true)); // relative to the current key
    EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\BORLAND\\DELPHI\\2.0\\Zestor\\PropExpert");
    reg.WriteInteger("Visibility", 3);

    ASSERT_TRUE(reg.OpenKey("\\software\\borland\\delphi\\2.0\\zestor", false));
    EXPECT_EQ(reg.ReadString("codefile"), "C:\\DELPHI32.DCI");
    EXPECT_EQ(reg.ReadInteger("PosLeft"), -20);
    EXPECT_TRUE(reg.ReadBool("Flag"));
    EXPECT_EQ(reg.ReadString("Missing"), "");
    EXPECT_THROW(reg.ReadInteger("Missing"), rtl::ERegistryException);
    EXPECT_THROW(reg.ReadInteger("CodeFile"), rtl::ERegistryException);
    EXPECT_THROW(reg.ReadString("PosLeft"), rtl::ERegistryException);
    EXPECT_EQ(reg.GetDataType("PosLeft"), rtl::TRegDataType::rdInteger);
    EXPECT_EQ(reg.GetDataType("CodeFile"), rtl::TRegDataType::rdString);
    EXPECT_EQ(reg.GetDataType("Missing"), rtl::TRegDataType::rdUnknown);
    EXPECT_TRUE(reg.ValueExists("POSLEFT"));
    EXPECT_TRUE(reg.KeyExists("propexpert"));
    EXPECT_TRUE(reg.KeyExists("\\Software\\Borland"));
    EXPECT_FALSE(reg.KeyExists("Nothing"));

    reg.WriteString("CODEFILE", "C:\\OTHER.DCI");
    EXPECT_EQ(reg.ReadString("CodeFile"), "C:\\OTHER.DCI");
    rtl::TStringList names;
    reg.GetValueNames(names);
    EXPECT_EQ(names.Text(), "CodeFile\r\nPosLeft\r\nFlag\r\n"); // the case they were made with
    EXPECT_TRUE(reg.DeleteValue("flag"));
    EXPECT_FALSE(reg.DeleteValue("flag"));
    EXPECT_FALSE(reg.ValueExists("Flag"));

    EXPECT_TRUE(reg.DeleteKey("\\Software\\Borland\\Delphi")); // with everything below it
    EXPECT_FALSE(reg.KeyExists("\\Software\\Borland\\Delphi\\2.0\\Zestor\\PropExpert"));
    EXPECT_THROW(reg.WriteString("x", "y"), rtl::ERegistryException); // its key is gone
    reg.CloseKey();
    EXPECT_EQ(reg.CurrentPath(), "");
    EXPECT_TRUE(reg.KeyExists("Software\\Borland"));
}

// A value call goes to the key that was asked for or fails: never to the root, nor to the key
// that was open before a failed OpenKey.
TEST(Registry, ValuesReachOnlyTheKeyAskedFor) {
    testing_support::TempWinRoot root;
    auto rootValues = [] {
        rtl::TRegistry reg;
        EXPECT_TRUE(reg.OpenKey("\\", false));
        rtl::TStringList names;
        reg.GetValueNames(names);
        return names.Text();
    };
    struct {
        const char* Label;
        std::function<bool(rtl::TRegistry&)> Open; // what the caller did, and whether it worked
    } cases[] = {
        {"nothing opened", [](rtl::TRegistry&) { return false; }},
        {"a missing key, not made", [](rtl::TRegistry& r) { return r.OpenKey("\\Software\\Missing", false); }},
        {"a missing key after another", [](rtl::TRegistry& r) {
             EXPECT_TRUE(r.OpenKey("\\Software\\Before", true));
             return r.OpenKey("Missing", false);
         }},
        {"a key that could not be made", [](rtl::TRegistry& r) {
             int calls = 0;
             rtl::SetWriteFailureHook([calls](std::string_view) mutable { return calls++ == 0 ? 11 : 0; });
             return r.OpenKey("\\Software\\Borland\\Delphi\\2.0\\Library", true);
         }},
        {"a key named badly", [](rtl::TRegistry& r) {
             EXPECT_TRUE(r.OpenKey("\\Software\\Before", true));
             return r.OpenKey(std::string("\\Software\\Bad\x01Name"), true);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Label);
        rtl::TRegistry reg;
        EXPECT_FALSE(c.Open(reg));
        EXPECT_EQ(reg.CurrentKey(), nullptr);
        EXPECT_EQ(reg.CurrentPath(), "");
        EXPECT_THROW(reg.WriteString("SearchPath", "C:\\LIB"), rtl::ERegistryException);
        EXPECT_THROW(reg.WriteInteger("MapFile", 3), rtl::ERegistryException);
        EXPECT_THROW(reg.WriteBool("Hints", true), rtl::ERegistryException);
        EXPECT_FALSE(reg.DeleteValue("SearchPath"));
        EXPECT_EQ(reg.ReadString("SearchPath"), "");
        EXPECT_FALSE(reg.ValueExists("SearchPath"));
        rtl::SetWriteFailureHook({});
        EXPECT_EQ(rootValues(), "");
        rtl::TRegistry before;
        if (before.OpenKey("\\Software\\Before", false)) {
            rtl::TStringList names;
            before.GetValueNames(names);
            EXPECT_EQ(names.Text(), "");
        }
    }
    // Values of the root itself are reached by opening it.
    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\", false));
    reg.WriteString("Top", "t");
    EXPECT_EQ(rootValues(), "Top\r\n");
}

TEST(RegIniFile, TextValuesAndDefaults) {
    testing_support::TempWinRoot root;
    {
        rtl::TRegIniFile ini(rtl::HKEY_CURRENT_USER, "Software\\Kwentra\\Delvo");
        ini.WriteBool("Options Last", "Function", true);
        ini.WriteBool("Options Last", "Class", false);
        ini.WriteInteger("Files", "Option", 2);
        ini.WriteInteger("Interface", "Color", -16777201);
        ini.WriteString("Interface", "Font Name", "Arial");
        ini.WriteString("Interface", "Font Size", "10");
        ini.WriteString("Interface", "Hex", "0x1F");
        ini.WriteString("Interface", "Word", "ten");
    }
    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Kwentra\\Delvo\\Files", false));
    EXPECT_EQ(reg.GetDataType("Option"), rtl::TRegDataType::rdString);
    EXPECT_EQ(reg.ReadString("Option"), "2");
    ASSERT_TRUE(reg.OpenKey("\\Software\\Kwentra\\Delvo\\Options Last", false));
    EXPECT_EQ(reg.ReadString("Function"), "1");
    EXPECT_EQ(reg.ReadString("Class"), "0");

    rtl::TRegIniFile ini("Software\\Kwentra\\Delvo");
    struct Case { const char* section; const char* ident; int expected; };
    const Case cases[] = {{"Files", "Option", 2}, {"Interface", "Color", -16777201}, {"interface", "font size", 10},
                          {"Interface", "Hex", 31}, {"Interface", "Word", -1}, {"Interface", "Missing", -1},
                          {"No Section", "Option", -1}};
    for (const Case& c : cases) EXPECT_EQ(ini.ReadInteger(c.section, c.ident, -1), c.expected) << c.section << "/" << c.ident;
    EXPECT_TRUE(ini.ReadBool("Options Last", "Function", false));
    EXPECT_FALSE(ini.ReadBool("Options Last", "Class", true));
    EXPECT_TRUE(ini.ReadBool("Options Last", "Missing", true));
    EXPECT_EQ(ini.ReadString("Interface", "Font Name", "MS Sans Serif"), "Arial");
    EXPECT_EQ(ini.ReadString("Search Text", "Search0", "none"), "none");
    EXPECT_FALSE(reg.KeyExists("\\Software\\Kwentra\\Delvo\\Search Text")); // reading makes nothing

    rtl::TStringList list;
    ini.ReadSections(list);
    EXPECT_EQ(list.Text(), "Files\r\nInterface\r\nOptions Last\r\n");
    ini.ReadSectionValues("Options Last", list);
    EXPECT_EQ(list.Text(), "Function=1\r\nClass=0\r\n");
    ini.DeleteKey("Options Last", "Class");
    ini.ReadSection("Options Last", list);
    EXPECT_EQ(list.Text(), "Function\r\n");
    ini.EraseSection("interface");
    ini.EraseSection("Never There");
    EXPECT_EQ(ini.ReadString("Interface", "Font Name", "gone"), "gone");

    EXPECT_THROW(rtl::TRegIniFile(rtl::HKEY_LOCAL_MACHINE, "Software"), rtl::ERegistryException);
}

TEST(RegistryStore, TwoProcessesWritingAtOnceLoseNothing) {
    testing_support::TempWinRoot root;
    constexpr int kEach = 1000;
    {
        rtl::TRegistry reg; // this process has the file cached before the others change it
        reg.OpenKey("\\Software\\Race", true);
        reg.WriteString("Before", "x");
    }
    pid_t children[2];
    for (int p = 0; p < 2; ++p) {
        children[p] = fork();
        ASSERT_GE(children[p], 0);
        if (children[p] == 0) {
            int failures = 0;
            {
                rtl::TRegistry reg;
                if (!reg.OpenKey("\\Software\\Race", true)) _exit(2);
                for (int i = 0; i < kEach; ++i) {
                    try {
                        reg.WriteInteger("P" + std::to_string(p) + "_" + std::to_string(i), i);
                    } catch (...) {
                        ++failures;
                    }
                }
            }
            _exit(failures ? 1 : 0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Race", false));
    rtl::TStringList names;
    reg.GetValueNames(names);
    EXPECT_EQ(names.Count(), 2 * kEach + 1);
    for (int p = 0; p < 2; ++p)
        for (int i = 0; i < kEach; ++i)
            ASSERT_EQ(reg.ReadInteger("P" + std::to_string(p) + "_" + std::to_string(i)), i) << p << " " << i;
}

TEST(RegistryStore, DamagedFileIsReadAsFarAsSound) {
    struct Case { const char* what; std::string content; std::vector<const char*> present, absent; };
    const std::string head = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n\"Good\"=\"yes\"\r\n";
    const Case cases[] = {
        {"truncated", head + "\"Bad\"=\"tru", {"Good"}, {"Bad"}},
        {"bad lines", head + "garbage line\r\n\"Num\"=dword:0000\r\n\"After\"=dword:00000001\r\n", {"Good", "After"}, {"Num"}},
        {"no header", "[HKEY_CURRENT_USER\\Software\\A]\r\n\"Good\"=\"yes\"\r\n", {"Good"}, {}},
        {"foreign root", head + "[HKEY_LOCAL_MACHINE\\Software\\A]\r\n\"Other\"=\"no\"\r\n", {"Good"}, {"Other"}},
    };
    for (const Case& c : cases) {
        testing_support::TempWinRoot root;
        const std::string path = rtl::UserRegistryFile();
        WriteRaw(path, c.content);
        testing::internal::CaptureStderr();
        {
            rtl::TRegistry reg;
            ASSERT_TRUE(reg.OpenKey("\\Software\\A", false)) << c.what;
            for (const char* name : c.present) EXPECT_TRUE(reg.ValueExists(name)) << c.what << ": " << name;
            for (const char* name : c.absent) EXPECT_FALSE(reg.ValueExists(name)) << c.what << ": " << name;
            reg.WriteString("New", "1"); // the store goes on
        }
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(path + " is damaged"), std::string::npos) << c.what << ": " << err;
        EXPECT_EQ(err.find("damaged"), err.rfind("damaged")) << c.what << ": reported more than once";
        EXPECT_EQ(ReadRaw(path + ".bad"), c.content) << c.what;
        std::string repaired = ReadRaw(path);
        EXPECT_EQ(repaired.rfind("REGEDIT4\r\n", 0), 0u) << c.what;
        EXPECT_NE(repaired.find("\"New\"=\"1\""), std::string::npos) << c.what;
    }
}

TEST(RegistryStore, FailedWriteChangesNothing) {
    testing_support::TempWinRoot root;
    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Keep", true));
    reg.WriteString("Old", "value");
    const std::string before = ReadRaw(rtl::UserRegistryFile());
    {
        TFileSizeLimit full(before.size());
        EXPECT_THROW(reg.WriteString("New", std::string(100, 'n')), rtl::ERegistryException);
        EXPECT_FALSE(reg.OpenKey("Sub", true));
        EXPECT_EQ(reg.CurrentKey(), nullptr) << "the failed open leaves no key to write to";
    }
    ASSERT_TRUE(reg.OpenKey("\\Software\\Keep", false));
    EXPECT_EQ(ReadRaw(rtl::UserRegistryFile()), before);
    EXPECT_FALSE(reg.ValueExists("New"));
    EXPECT_FALSE(reg.KeyExists("Sub"));
    EXPECT_EQ(reg.ReadString("Old"), "value");
    reg.WriteString("New", "after"); // and the store goes on
    EXPECT_EQ(reg.ReadString("New"), "after");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(rtl::WinRootDir()), {}), 4); // drive_c, run, printer, user.reg
}

TEST(RegistryStore, OneValuePerNameWithOneSpelling) {
    testing_support::TempWinRoot root;
    const std::string path = rtl::UserRegistryFile();
    WriteRaw(path, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Case]\r\n\"Width\"=dword:00000001\r\n"
                   "\"WIDTH\"=dword:00000002\r\n");
    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Case", false));
    rtl::TStringList names;
    reg.GetValueNames(names);
    EXPECT_EQ(names.Text(), "Width\r\n");
    EXPECT_EQ(reg.ReadInteger("width"), 2);
    reg.WriteString("Other", "x"); // a commit writes the tree this process holds
    const std::string file = ReadRaw(path);
    EXPECT_NE(file.find("\"Width\"=dword:00000002\r\n"), std::string::npos) << file;
    EXPECT_EQ(file.find("\"WIDTH\""), std::string::npos) << file;
    reg.WriteInteger("wIdTh", 3); // a change keeps the spelling it was made with
    EXPECT_NE(ReadRaw(path).find("\"Width\"=dword:00000003\r\n"), std::string::npos);
}

TEST(RegistryStore, InjectedWriteFailureKeepsTheFileWhole) {
    testing_support::TempWinRoot root;
    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Keep", true));
    reg.WriteString("Old", "value");
    const std::string before = ReadRaw(rtl::UserRegistryFile());
    std::vector<std::string> asked;
    rtl::SetWriteFailureHook([&](std::string_view name) {
        asked.emplace_back(name);
        return 28; // no space left on the device
    });
    EXPECT_THROW(reg.WriteString("New", "n"), rtl::ERegistryException);
    rtl::SetWriteFailureHook({});
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], rtl::UserRegistryFile());
    EXPECT_EQ(ReadRaw(rtl::UserRegistryFile()), before);
    EXPECT_FALSE(reg.ValueExists("New"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(rtl::WinRootDir()), {}), 4);
}

// A writer killed before its rename leaves nothing (its file has no name yet); what writers left
// beside the file otherwise the next writer removes, but not one a live writer holds, nor those
// of other files.
TEST(RegistryStore, TheNextWriterRemovesLeftoversOfDeadWriters) {
    testing_support::TempWinRoot root;
    { rtl::TRegistry reg; reg.OpenKey("\\Software\\Left", true); reg.WriteString("A", "1"); }
    const std::string path = rtl::UserRegistryFile();
    const std::string dir = rtl::WinRootDir() + "/";
    for (int i = 0; i < 3; ++i) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            rtl::TAtomicFile file(rtl::TAtomicFile::THostPath{path});
            file.Write("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Half");
            ::kill(::getpid(), SIGKILL);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
    }
    WriteRaw(dir + "user.reg.tmpAb12Cd", "left by an earlier version");
    WriteRaw(dir + ".user.reg.bad.1-2-3.tmp", "another file's");
    WriteRaw(dir + "user.reg.tmp", "not a temporary name");
    // A live writer's temporary file, held as TAtomicFile holds its own.
    const std::string held = dir + ".user.reg.7-8-9.tmp";
    WriteRaw(held, "being written");
    int fd = ::open(held.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);

    auto entries = [&] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    EXPECT_EQ(entries().size(), 8u) << "the killed writers left nothing";
    { rtl::TRegistry reg; reg.OpenKey("\\Software\\Left", true); reg.WriteString("B", "2"); }
    EXPECT_EQ(entries(), (std::vector<std::string>{".user.reg.7-8-9.tmp", ".user.reg.bad.1-2-3.tmp", "drive_c",
                                                   "printer", "run", "user.reg", "user.reg.tmp"}));
    ::close(fd);
    { rtl::TRegistry reg; reg.OpenKey("\\Software\\Left", true); reg.WriteString("C", "3"); }
    EXPECT_EQ(entries().size(), 6u);
    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Left", false));
    EXPECT_EQ(reg.ReadString("A") + reg.ReadString("B") + reg.ReadString("C"), "123");
}

} // namespace
