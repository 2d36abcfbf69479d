// The binary object format ("TPF0" streams) at the level of single values: a reader and a writer
// that the form-file conversion (FormFiles.h) and the class library's component streaming both
// build on. Implementations in BinaryObjects.cpp.
//
// The grammar, all numbers little-endian:
//   stream     = "TPF0" object
//   object     = [prefix] ShortStr(class) ShortStr(name) { property } 0 { object } 0
//   prefix     = byte 0xF0|flags [ integer-value(child position) when flags has ffChildPos ]
//   property   = ShortStr(name) value
//   value      = type byte, then its payload:
//     vaNull 0 (ends a list)        vaList 1: { value } 0         vaInt8 2: 1 byte
//     vaInt16 3: 2 bytes            vaInt32 4: 4 bytes            vaExtended 5: 10-byte float
//     vaString 6: ShortStr          vaIdent 7: ShortStr           vaFalse 8, vaTrue 9: none
//     vaBinary 10: dword n, n bytes vaSet 11: { ShortStr } ShortStr("")
//     vaLString 12: dword n, n bytes                              vaNil 13: none
//     vaCollection 14: { [integer-value(order)] vaList { property } 0 } 0
//     vaSingle 15: 4-byte float     vaCurrency 16: 8-byte integer, ten-thousandths
//     vaDate 17: 8-byte float (days since 30 Dec 1899)            vaWString 18: dword n, n UTF-16 units
//     vaInt64 19: 8 bytes           vaUTF8String 20: dword n, n bytes of UTF-8
//     vaUString 21: as vaWString    vaQWord 22: 8 bytes unsigned
//   ShortStr   = byte n, n bytes
// Types 15 and up come from later versions of the format; all are read. The writer's integer
// and string calls pick the smallest type that holds the value.
//
// Reading an object: ReadObjectHeader; then until EndOfList() a property: ReadStr() for its name
// and a value; ReadListEnd(); then until EndOfList() the child objects; ReadListEnd(). Writing
// mirrors it, each list closed with WriteListEnd().
// Reading a value: ReadValue() gives its type, then the Read call for that type takes the payload
// (lists and collections: read items until EndOfList(), then ReadListEnd()). Any short read, an
// unknown type byte or a length beyond the end of the stream raises EReadError naming the offset.
#pragma once

#include "rtl/Streams.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rtl {

enum TValueType : std::uint8_t {
    vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue,
    vaBinary, vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString,
    vaInt64, vaUTF8String, vaUString, vaQWord
};
constexpr TValueType vaLastValueType = vaQWord;

// Flags of an object prefix.
constexpr int ffInherited = 0x01;
constexpr int ffChildPos = 0x02;
constexpr int ffInline = 0x04;

class TBinaryObjectReader {
public:
    // Reads from the stream's current position; the stream stays where the last read left it.
    explicit TBinaryObjectReader(TStream& stream) : FStream(stream) {}
    TBinaryObjectReader(const TBinaryObjectReader&) = delete;
    TBinaryObjectReader& operator=(const TBinaryObjectReader&) = delete;

    void ReadSignature();                  // "TPF0", else EReadError "Invalid stream format"
    // An object's prefix, class name (never empty) and name (empty for an unnamed object).
    void ReadObjectHeader(int& flags, std::int64_t& childPos, std::string& className, std::string& name);
    // The optional prefix alone: flags 0 and childPos 0 when there is none.
    void ReadPrefix(int& flags, std::int64_t& childPos);
    std::string ReadStr();                 // a ShortStr: class, object and property names

    TValueType NextValue();                // the next type byte, left unread
    TValueType ReadValue();
    bool EndOfList();                      // the next byte is vaNull (it may start an object too)
    void ReadListEnd();                    // EReadError unless the next byte is vaNull

    // Payloads, after ReadValue gave the type.
    std::int64_t ReadInteger(TValueType type);    // vaInt8, vaInt16, vaInt32, vaInt64
    std::uint64_t ReadQWord();
    long double ReadExtended();
    float ReadSingle();
    std::int64_t ReadCurrency();                  // the value times 10000
    double ReadDate();
    std::string ReadString(TValueType type);      // vaString, vaIdent, vaLString, vaUTF8String: the bytes
    std::u16string ReadWideString(TValueType type); // vaWString, vaUString
    std::vector<std::string> ReadSet();
    std::string ReadBinary();

    // Skips the value whose type ReadValue gave, nested lists and collections too.
    void SkipValue(TValueType type);
    // Skips a property or an object and its children.
    void SkipProperty();
    void SkipObject();

    std::int64_t Position() { return FStream.Position(); }

private:
    void Read(void* buffer, std::int64_t count);
    std::uint8_t ReadByte();
    std::uint32_t ReadLength(std::int64_t unitSize);
    [[noreturn]] void Corrupt(const std::string& what, std::int64_t offset);
    void SkipValue(TValueType type, int depth);
    void SkipObject(int depth);

    TStream& FStream;
};

class TBinaryObjectWriter {
public:
    // Writes at the stream's position; a failing stream raises EWriteError.
    explicit TBinaryObjectWriter(TStream& stream) : FStream(stream) {}
    TBinaryObjectWriter(const TBinaryObjectWriter&) = delete;
    TBinaryObjectWriter& operator=(const TBinaryObjectWriter&) = delete;

    void WriteSignature();
    void WriteObjectHeader(int flags, std::int64_t childPos, std::string_view className, std::string_view name);
    void WritePrefix(int flags, std::int64_t childPos); // nothing when flags is 0
    void WriteStr(std::string_view s);                 // EWriteError over 255 bytes
    void WriteValue(TValueType type);                  // the type byte alone (vaList, vaNull, ...)
    void WriteListEnd() { WriteValue(vaNull); }

    // Each writes its type byte and payload, choosing the smallest type that holds the value.
    void WriteInteger(std::int64_t value);             // vaInt8 .. vaInt64
    void WriteUnsigned(std::uint64_t value);           // an integer, or vaQWord above the Int64 range
    void WriteBoolean(bool value);
    void WriteExtended(long double value);
    void WriteSingle(float value);
    void WriteCurrency(std::int64_t value);            // the value times 10000
    void WriteDate(double value);
    void WriteString(std::string_view s);              // vaString, or vaLString over 255 bytes
    void WriteWideString(std::u16string_view s);       // vaWString
    // vaTrue, vaFalse and vaNil for those names in any case, else vaIdent.
    void WriteIdent(std::string_view ident);
    void WriteSet(const std::vector<std::string>& elements);
    void WriteBinary(const void* data, std::size_t count);

private:
    void Write(const void* data, std::size_t count);
    void WriteByte(std::uint8_t b) { Write(&b, 1); }
    void WriteUInt(std::uint64_t value, int size);

    TStream& FStream;
};

} // namespace rtl
