#include "rtl/Streams.h"

#include "rtl/Exceptions.h"
#include "rtl/WinRoot.h"
#include "testing/TempWinRoot.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

#include "TestFiles.h"

namespace {

class FileStreams : public rtl_test::RootFiles {};

std::string ReadAll(rtl::TStream& s) {
    std::string r(static_cast<std::size_t>(s.Size() - s.Position()), '\0');
    s.ReadBuffer(r.data(), static_cast<std::int64_t>(r.size()));
    return r;
}

TEST_F(FileStreams, OpenModes) {
    WriteHost("data.bin", "0123456789");
    {
        rtl::TFileStream f(Name("data.bin"), rtl::fmOpenRead | rtl::fmShareDenyWrite);
        EXPECT_EQ(f.Size(), 10);
        EXPECT_EQ(f.Seek(-3, rtl::soFromEnd), 7);
        EXPECT_EQ(ReadAll(f), "789");
        f.SetPosition(2);
        char two[2];
        f.ReadBuffer(two, 2);
        EXPECT_EQ(std::string(two, 2), "23");
        EXPECT_EQ(f.Seek(1, rtl::soFromCurrent), 5);
        EXPECT_EQ(f.Write("x", 1), 0) << "a file opened for reading refuses writes";
        EXPECT_THROW(f.WriteBuffer("x", 1), rtl::EWriteError);
    }
    {
        rtl::TFileStream f(Name("data.bin"), rtl::fmOpenWrite | rtl::fmShareExclusive);
        f.SetPosition(8);
        f.WriteBuffer("AB", 2);
        f.WriteBuffer("CD", 2);
        char c;
        EXPECT_EQ(f.Read(&c, 1), 0) << "a file opened for writing refuses reads";
    }
    EXPECT_EQ(ReadHost("data.bin"), "01234567ABCD") << "opening for writing keeps the contents";
    {
        rtl::TFileStream f(Name("data.bin"), rtl::fmOpenReadWrite | rtl::fmShareDenyNone);
        f.WriteBuffer("xy", 2);
        EXPECT_EQ(ReadAll(f), "234567ABCD");
        f.SetSize(4);
        EXPECT_EQ(f.Position(), 4);
    }
    EXPECT_EQ(ReadHost("data.bin"), "xy23");
    {
        rtl::TFileStream f(Name("data.bin"), rtl::fmCreate);
        EXPECT_EQ(f.Size(), 0) << "fmCreate empties a file that exists";
        f.WriteBuffer("new", 3);
        f.SetPosition(0);
        EXPECT_EQ(ReadAll(f), "new");
    }
    {
        rtl::TFileStream f(Name("fresh.bin"), rtl::fmCreate);
        f.WriteBuffer("made", 4);
    }
    EXPECT_EQ(ReadHost("fresh.bin"), "made");
}

TEST_F(FileStreams, NamesResolveWithoutRegardToCase) {
    std::filesystem::create_directories(rtl::DriveCDir() + "/Proj");
    std::ofstream(rtl::DriveCDir() + "/Proj/Unit1.PAS", std::ios::binary) << "unit Unit1;";
    rtl::TFileStream f("c:/PROJ\\unit1.pas", rtl::fmOpenRead);
    EXPECT_EQ(ReadAll(f), "unit Unit1;");
}

TEST_F(FileStreams, ErrorsNameTheFile) {
    std::filesystem::create_directory(root.Path() + "/folder");
    struct Case { std::string name; std::uint16_t mode; bool create; };
    const Case cases[] = {
        {Name("missing.txt"), rtl::fmOpenRead, false},
        {Name("missing.txt"), rtl::fmOpenReadWrite, false},
        {Name("folder"), rtl::fmOpenRead, false},          // a folder is not a file
        {Name("nowhere\\new.txt"), rtl::fmCreate, true},
        {Name("folder"), rtl::fmCreate, true},
        {"", rtl::fmOpenRead, false},
    };
    for (const Case& c : cases) {
        try {
            rtl::TFileStream f(c.name, c.mode);
            ADD_FAILURE() << c.name << ": opened";
        } catch (const rtl::EFCreateError& e) {
            EXPECT_TRUE(c.create) << c.name;
            EXPECT_EQ(e.Message(), "Cannot create file " + c.name);
        } catch (const rtl::EFOpenError& e) {
            EXPECT_FALSE(c.create) << c.name;
            EXPECT_EQ(e.Message(), "Cannot open file " + c.name);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(root.Path() + "/missing.txt")) << "opening does not create";
}

TEST_F(FileStreams, MemoryStreamFiles) {
    WriteHost("in.bin", std::string("a\0b\xFF", 4));
    rtl::TMemoryStream m;
    m.LoadFromFile(Name("in.bin"));
    ASSERT_EQ(m.Size(), 4);
    EXPECT_EQ(std::memcmp(m.Memory(), "a\0b\xFF", 4), 0);
    EXPECT_EQ(m.Position(), 0);
    m.Seek(0, rtl::soFromEnd);
    m.WriteBuffer("!", 1);
    m.SetPosition(1);
    m.SaveToFile(Name("out.bin"));
    EXPECT_EQ(ReadHost("out.bin"), std::string("a\0b\xFF!", 5)) << "the whole contents, whatever the position";
    EXPECT_THROW(m.LoadFromFile(Name("absent.bin")), rtl::EFOpenError);
    EXPECT_EQ(m.Size(), 5) << "a failed load keeps the contents";
}

TEST(Streams, ReadBufferPastTheEnd) {
    rtl::TMemoryStream m;
    m.WriteBuffer("abc", 3);
    m.SetPosition(1);
    char buf[8];
    EXPECT_EQ(m.Read(buf, 8), 2);
    m.SetPosition(1);
    try {
        m.ReadBuffer(buf, 3);
        FAIL() << "no exception";
    } catch (const rtl::EReadError& e) {
        EXPECT_STREQ(e.what(), "Stream read error");
    }
    m.ReadBuffer(buf, 0); // nothing asked, nothing refused
}

TEST(Streams, MemoryStreamGrowsAndShrinks) {
    rtl::TMemoryStream m;
    EXPECT_EQ(m.Seek(4, rtl::soFromBeginning), 4);
    m.WriteBuffer("xy", 2);
    ASSERT_EQ(m.Size(), 6);
    EXPECT_EQ(std::memcmp(m.Memory(), "\0\0\0\0xy", 6), 0) << "a gap written past the end is zero";
    m.SetSize(3);
    EXPECT_EQ(m.Position(), 3);
    m.SetSize(5);
    EXPECT_EQ(std::memcmp(m.Memory(), "\0\0\0\0\0", 5), 0);
    m.Seek(-10, rtl::soFromCurrent);
    char c;
    EXPECT_EQ(m.Read(&c, 1), 0);
    EXPECT_EQ(m.Write("z", 1), 0);
    m.Clear();
    EXPECT_EQ(m.Size(), 0);
    EXPECT_EQ(m.Position(), 0);
}

TEST(Streams, StringStreamOverwritesInPlace) {
    rtl::TStringStream s("hello world");
    s.SetPosition(6);
    s.WriteString("W");
    EXPECT_EQ(s.DataString(), "hello World") << "writing inside keeps what follows";
    s.Seek(0, rtl::soFromEnd);
    s.WriteString("!!");
    EXPECT_EQ(s.DataString(), "hello World!!");
    EXPECT_EQ(s.Seek(100, rtl::soFromBeginning), 13);
    EXPECT_EQ(s.Seek(-100, rtl::soFromCurrent), 0);
    EXPECT_EQ(s.ReadString(5), "hello");
    EXPECT_EQ(s.ReadString(100), " World!!");
    EXPECT_EQ(s.ReadString(1), "");
    s.SetSize(5);
    EXPECT_EQ(s.DataString(), "hello");
    EXPECT_EQ(s.Position(), 5);
}

TEST(Streams, CopyFrom) {
    rtl::TStringStream source("0123456789");
    source.SetPosition(7);
    rtl::TMemoryStream whole;
    EXPECT_EQ(whole.CopyFrom(source, 0), 10) << "a count of 0 copies all from the start";
    EXPECT_EQ(std::string(static_cast<const char*>(whole.Memory()), 10), "0123456789");

    source.SetPosition(2);
    rtl::TStringStream part;
    EXPECT_EQ(part.CopyFrom(source, 3), 3);
    EXPECT_EQ(part.DataString(), "234");
    EXPECT_EQ(source.Position(), 5);
    EXPECT_THROW(part.CopyFrom(source, 6), rtl::EReadError);

    // Larger than one copy buffer.
    std::string big(200000, 'q');
    big[199999] = 'z';
    rtl::TStringStream bigSource(big);
    rtl::TStringStream bigCopy;
    bigCopy.CopyFrom(bigSource, 0);
    EXPECT_EQ(bigCopy.DataString(), big);
}

} // namespace
