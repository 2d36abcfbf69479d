// The processor's tables stored with a form and read back.
#include "editor/KeyCommands.h"

#include "vcl/Streaming.h"

#include "rtl/FormFiles.h"
#include "rtl/Streams.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace editor;

namespace {

// A component that stores a processor as its sub-object, as the controller does.
class TCommandHost : public vcl::TComponent {
public:
    explicit TCommandHost(vcl::TComponent* AOwner) : vcl::TComponent(AOwner) {}
    TZelCommandProcessor* EntryCommands() const { return FCommands.get(); }

private:
    std::unique_ptr<TZelCommandProcessor> FCommands = std::make_unique<TZelCommandProcessor>();
};

class KeyCommandsStreaming : public ::testing::Test {
protected:
    void SetUp() override {
        vcl::RegisterClass<TCommandHost>("TCommandHost", "", {
            vcl::ClassProperty<TCommandHost>("EntryCommands", &TCommandHost::EntryCommands),
        });
    }

    static std::string Bytes(rtl::TMemoryStream& s) {
        std::string out(static_cast<std::size_t>(s.Size()), '\0');
        s.SetPosition(0);
        s.Read(out.data(), s.Size());
        return out;
    }
    static std::string Write(TCommandHost& host) {
        rtl::TMemoryStream s;
        vcl::WriteComponentToStream(&host, s);
        return Bytes(s);
    }
    static void Read(const std::string& binary, TCommandHost& host) {
        rtl::TMemoryStream s;
        s.Write(binary.data(), static_cast<std::int64_t>(binary.size()));
        s.SetPosition(0);
        vcl::ReadComponentFromStream(s, &host);
    }
    static std::string ToText(const std::string& binary) {
        rtl::TMemoryStream in, out;
        in.Write(binary.data(), static_cast<std::int64_t>(binary.size()));
        in.SetPosition(0);
        rtl::ObjectBinaryToText(in, out);
        return Bytes(out);
    }
    static std::string ToBinary(const std::string& text) {
        rtl::TMemoryStream in, out;
        in.Write(text.data(), static_cast<std::int64_t>(text.size()));
        in.SetPosition(0);
        rtl::ObjectTextToBinary(in, out);
        return Bytes(out);
    }
    static void ExpectSameTables(const TZelCommandProcessor& a, const TZelCommandProcessor& b) {
        ASSERT_EQ(a.TableCount(), b.TableCount());
        for (int i = 0; i < a.TableCount(); ++i) {
            SCOPED_TRACE(a.Table(i).Name());
            EXPECT_EQ(a.Table(i).Name(), b.Table(i).Name());
            EXPECT_EQ(a.Table(i).Active(), b.Table(i).Active());
            ASSERT_EQ(a.Table(i).Count(), b.Table(i).Count());
            for (int k = 0; k < a.Table(i).Count(); ++k) EXPECT_EQ(a.Table(i).Item(k), b.Table(i).Item(k));
        }
    }
};

TEST_F(KeyCommandsStreaming, TablesRoundTripThroughTheStoredForm) {
    TCommandHost host(nullptr);
    TZelCommandProcessor& p = *host.EntryCommands();
    auto& def = *p.GetTable("Default");
    def.Delete(def.IndexOf(TKeyBinding{90, 4, 0, 0, 0})); // Ctrl+Z
    def.Replace(0, {37, 0, 0, 0, ccHome});
    p.GetTable("Grid")->SetActive(true);
    p.CreateTable("Custom", false);
    p.AddCommand("Custom", {'A', 4, 'B', 128, 300});
    p.CreateTable("Empty", true);

    std::string binary = Write(host);
    TCommandHost copy(nullptr);
    copy.EntryCommands()->LoadTables({}); // reading replaces whatever was there
    Read(binary, copy);
    ExpectSameTables(p, *copy.EntryCommands());
    EXPECT_EQ(copy.EntryCommands()->TranslateKey(37, 0), ccHome);
    EXPECT_EQ(Write(copy), binary);
}

TEST_F(KeyCommandsStreaming, TextFormListsTablesWithTheirDifferences) {
    TCommandHost host(nullptr);
    TZelCommandProcessor& p = *host.EntryCommands();
    p.LoadTables({{"Default", true, {{90 | 4 << 8, 0}}}, {"Mine", false, {{'A' | 4 << 8, 300}}}, {"None", true, {}}});
    EXPECT_EQ(ToText(Write(host)),
              "object TCommandHost\r\n"
              "  EntryCommands.TableList = (\r\n"
              "    'Default'\r\n"
              "    True\r\n"
              "    (\r\n"
              "      1114\r\n"
              "      0)\r\n"
              "    'Mine'\r\n"
              "    False\r\n"
              "    (\r\n"
              "      1089\r\n"
              "      300)\r\n"
              "    'None'\r\n"
              "    True)\r\n"
              "end\r\n");

    // Without tables nothing is written.
    p.LoadTables({});
    EXPECT_EQ(ToText(Write(host)), "object TCommandHost\r\nend\r\n");
}

TEST_F(KeyCommandsStreaming, MalformedTableListLeavesTheTables) {
    const char* bodies[] = {
        "('Default')",             // no Active flag
        "('Default' 1)",           // Active not a Boolean
        "(3 True)",                // name not a string
        "('Mine' True (1089))",    // a key sequence without its command
        "('Mine' True (4294967296 1))", // beyond 32 bits
        "'Default'",               // not a list
    };
    for (const char* body : bodies) {
        SCOPED_TRACE(body);
        TCommandHost host(nullptr);
        TZelCommandProcessor before;
        EXPECT_THROW(Read(ToBinary(std::string("object TCommandHost\n  EntryCommands.TableList = ") + body +
                                   "\nend\n"),
                          host),
                     rtl::EReadError);
        ExpectSameTables(before, *host.EntryCommands());
    }
}

} // namespace
