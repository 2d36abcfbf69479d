// Reader and writer of the binary object format; see BinaryObjects.h.
#include "rtl/BinaryObjects.h"

#include "rtl/SysUtils.h"

#include "rtl/Exceptions.h"

#include <bit>
#include <cfloat>
#include <cstring>

namespace rtl {

static_assert(LDBL_MANT_DIG == 64, "the 10-byte float of the format is the x87 extended type");
static_assert(std::endian::native == std::endian::little, "floats are copied as they lie in memory");

namespace {

// Corrupt input could nest lists without end; real forms stay far below this.
constexpr int MaxNesting = 200;

} // namespace

// ---- reader ----

void TBinaryObjectReader::Corrupt(const std::string& what, std::int64_t offset) {
    throw EReadError("Invalid stream format: " + what + " at offset " + std::to_string(offset));
}

void TBinaryObjectReader::Read(void* buffer, std::int64_t count) {
    std::int64_t at = FStream.Position();
    if (count > 0 && FStream.Read(buffer, count) != count) Corrupt("unexpected end of data", at);
}

std::uint8_t TBinaryObjectReader::ReadByte() {
    std::uint8_t b;
    Read(&b, 1);
    return b;
}

std::uint32_t TBinaryObjectReader::ReadLength(std::int64_t unitSize) {
    std::uint8_t b[4];
    std::int64_t at = FStream.Position();
    Read(b, 4);
    std::uint32_t n = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    // Checked before allocating, so a corrupt length cannot ask for gigabytes.
    if (static_cast<std::int64_t>(n) * unitSize > FStream.Size() - FStream.Position())
        Corrupt("length " + std::to_string(n) + " beyond the end of data", at);
    return n;
}

void TBinaryObjectReader::ReadSignature() {
    char sig[4];
    if (FStream.Read(sig, 4) != 4 || std::memcmp(sig, "TPF0", 4) != 0)
        throw EReadError("Invalid stream format");
}

void TBinaryObjectReader::ReadPrefix(int& flags, std::int64_t& childPos) {
    flags = 0;
    childPos = 0;
    std::int64_t at = FStream.Position();
    std::uint8_t b = ReadByte();
    if ((b & 0xF0) != 0xF0) {
        FStream.Seek(-1, soFromCurrent);
        return;
    }
    flags = b & 0x0F;
    if (flags & ffChildPos) {
        TValueType t = ReadValue();
        if (t != vaInt8 && t != vaInt16 && t != vaInt32 && t != vaInt64) Corrupt("child position is not an integer", at);
        childPos = ReadInteger(t);
    }
}

void TBinaryObjectReader::ReadObjectHeader(int& flags, std::int64_t& childPos, std::string& className,
                                           std::string& name) {
    ReadPrefix(flags, childPos);
    std::int64_t at = FStream.Position();
    className = ReadStr();
    if (className.empty()) Corrupt("class name expected", at);
    name = ReadStr();
}

std::string TBinaryObjectReader::ReadStr() {
    std::uint8_t n = ReadByte();
    std::string s(n, '\0');
    Read(s.data(), n);
    return s;
}

TValueType TBinaryObjectReader::NextValue() {
    TValueType t = ReadValue();
    FStream.Seek(-1, soFromCurrent);
    return t;
}

TValueType TBinaryObjectReader::ReadValue() {
    std::int64_t at = FStream.Position();
    std::uint8_t b = ReadByte();
    if (b > vaLastValueType) Corrupt("unknown value type " + std::to_string(b), at);
    return static_cast<TValueType>(b);
}

bool TBinaryObjectReader::EndOfList() {
    std::uint8_t b = ReadByte();
    FStream.Seek(-1, soFromCurrent);
    return b == vaNull;
}

void TBinaryObjectReader::ReadListEnd() {
    std::int64_t at = FStream.Position();
    if (ReadValue() != vaNull) Corrupt("end of list expected", at);
}

std::int64_t TBinaryObjectReader::ReadInteger(TValueType type) {
    std::uint8_t b[8];
    switch (type) {
    case vaInt8: Read(b, 1); return static_cast<std::int8_t>(b[0]);
    case vaInt16: Read(b, 2); return static_cast<std::int16_t>(b[0] | (b[1] << 8));
    case vaInt32: {
        Read(b, 4);
        std::uint32_t v = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
        return static_cast<std::int32_t>(v);
    }
    case vaInt64: return static_cast<std::int64_t>(ReadQWord());
    default: Corrupt("integer expected", FStream.Position() - 1);
    }
}

std::uint64_t TBinaryObjectReader::ReadQWord() {
    std::uint8_t b[8];
    Read(b, 8);
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | b[i];
    return v;
}

long double TBinaryObjectReader::ReadExtended() {
    long double v = 0;
    Read(&v, 10);
    return v;
}

float TBinaryObjectReader::ReadSingle() {
    float v;
    Read(&v, 4);
    return v;
}

std::int64_t TBinaryObjectReader::ReadCurrency() { return static_cast<std::int64_t>(ReadQWord()); }

double TBinaryObjectReader::ReadDate() {
    double v;
    Read(&v, 8);
    return v;
}

std::string TBinaryObjectReader::ReadString(TValueType type) {
    if (type == vaString || type == vaIdent) return ReadStr();
    if (type != vaLString && type != vaUTF8String) Corrupt("string expected", FStream.Position() - 1);
    std::string s(ReadLength(1), '\0');
    Read(s.data(), static_cast<std::int64_t>(s.size()));
    return s;
}

std::u16string TBinaryObjectReader::ReadWideString(TValueType type) {
    if (type != vaWString && type != vaUString) Corrupt("wide string expected", FStream.Position() - 1);
    std::uint32_t n = ReadLength(2);
    std::string bytes(std::size_t(n) * 2, '\0');
    Read(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    std::u16string s(n, u'\0');
    for (std::uint32_t i = 0; i < n; ++i)
        s[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return s;
}

std::vector<std::string> TBinaryObjectReader::ReadSet() {
    std::vector<std::string> elements;
    for (;;) {
        std::string s = ReadStr();
        if (s.empty()) return elements;
        elements.push_back(std::move(s));
    }
}

std::string TBinaryObjectReader::ReadBinary() {
    std::string data(ReadLength(1), '\0');
    Read(data.data(), static_cast<std::int64_t>(data.size()));
    return data;
}

void TBinaryObjectReader::SkipValue(TValueType type) { SkipValue(type, 0); }

void TBinaryObjectReader::SkipValue(TValueType type, int depth) {
    if (depth > MaxNesting) Corrupt("values nested too deeply", FStream.Position());
    switch (type) {
    case vaNull: case vaFalse: case vaTrue: case vaNil: return;
    case vaList:
        while (!EndOfList()) SkipValue(ReadValue(), depth + 1);
        ReadListEnd();
        return;
    case vaInt8: case vaInt16: case vaInt32: case vaInt64: ReadInteger(type); return;
    case vaQWord: ReadQWord(); return;
    case vaExtended: ReadExtended(); return;
    case vaSingle: ReadSingle(); return;
    case vaCurrency: ReadCurrency(); return;
    case vaDate: ReadDate(); return;
    case vaString: case vaIdent: case vaLString: case vaUTF8String: ReadString(type); return;
    case vaWString: case vaUString: ReadWideString(type); return;
    case vaSet: ReadSet(); return;
    case vaBinary: ReadBinary(); return;
    case vaCollection:
        while (!EndOfList()) {
            TValueType t = ReadValue();
            if (t != vaList) {
                ReadInteger(t);
                if (ReadValue() != vaList) Corrupt("collection item expected", FStream.Position() - 1);
            }
            while (!EndOfList()) {
                ReadStr();
                SkipValue(ReadValue(), depth + 1);
            }
            ReadListEnd();
        }
        ReadListEnd();
        return;
    }
}

void TBinaryObjectReader::SkipProperty() {
    ReadStr();
    SkipValue(ReadValue(), 0);
}

void TBinaryObjectReader::SkipObject() { SkipObject(0); }

void TBinaryObjectReader::SkipObject(int depth) {
    if (depth > MaxNesting) Corrupt("objects nested too deeply", FStream.Position());
    int flags;
    std::int64_t childPos;
    std::string className, name;
    ReadObjectHeader(flags, childPos, className, name);
    while (!EndOfList()) SkipProperty();
    ReadListEnd();
    while (!EndOfList()) SkipObject(depth + 1);
    ReadListEnd();
}

// ---- writer ----

void TBinaryObjectWriter::Write(const void* data, std::size_t count) {
    FStream.WriteBuffer(data, static_cast<std::int64_t>(count));
}

void TBinaryObjectWriter::WriteUInt(std::uint64_t value, int size) {
    std::uint8_t b[8];
    for (int i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>(value >> (8 * i));
    Write(b, static_cast<std::size_t>(size));
}

void TBinaryObjectWriter::WriteSignature() { Write("TPF0", 4); }

void TBinaryObjectWriter::WriteObjectHeader(int flags, std::int64_t childPos, std::string_view className,
                                            std::string_view name) {
    WritePrefix(flags, childPos);
    // A length byte of 240 or more in the place of a prefix would read back as one: such a class
    // name gets a prefix without flags before it.
    if (flags == 0 && className.size() >= 0xF0) WriteByte(0xF0);
    WriteStr(className);
    WriteStr(name);
}

void TBinaryObjectWriter::WritePrefix(int flags, std::int64_t childPos) {
    if (flags == 0) return;
    WriteByte(static_cast<std::uint8_t>(0xF0 | (flags & 0x0F)));
    if (flags & ffChildPos) WriteInteger(childPos);
}

void TBinaryObjectWriter::WriteStr(std::string_view s) {
    if (s.size() > 255) throw EWriteError("Name longer than 255 characters: " + std::string(s.substr(0, 32)) + "...");
    WriteByte(static_cast<std::uint8_t>(s.size()));
    Write(s.data(), s.size());
}

void TBinaryObjectWriter::WriteValue(TValueType type) { WriteByte(type); }

void TBinaryObjectWriter::WriteInteger(std::int64_t value) {
    if (value >= INT8_MIN && value <= INT8_MAX) {
        WriteByte(vaInt8);
        WriteUInt(static_cast<std::uint64_t>(value), 1);
    } else if (value >= INT16_MIN && value <= INT16_MAX) {
        WriteByte(vaInt16);
        WriteUInt(static_cast<std::uint64_t>(value), 2);
    } else if (value >= INT32_MIN && value <= INT32_MAX) {
        WriteByte(vaInt32);
        WriteUInt(static_cast<std::uint64_t>(value), 4);
    } else {
        WriteByte(vaInt64);
        WriteUInt(static_cast<std::uint64_t>(value), 8);
    }
}

void TBinaryObjectWriter::WriteUnsigned(std::uint64_t value) {
    if (value <= static_cast<std::uint64_t>(INT64_MAX)) {
        WriteInteger(static_cast<std::int64_t>(value));
    } else {
        WriteByte(vaQWord);
        WriteUInt(value, 8);
    }
}

void TBinaryObjectWriter::WriteBoolean(bool value) { WriteByte(value ? vaTrue : vaFalse); }

void TBinaryObjectWriter::WriteExtended(long double value) {
    WriteByte(vaExtended);
    Write(&value, 10);
}

void TBinaryObjectWriter::WriteSingle(float value) {
    WriteByte(vaSingle);
    Write(&value, 4);
}

void TBinaryObjectWriter::WriteCurrency(std::int64_t value) {
    WriteByte(vaCurrency);
    WriteUInt(static_cast<std::uint64_t>(value), 8);
}

void TBinaryObjectWriter::WriteDate(double value) {
    WriteByte(vaDate);
    Write(&value, 8);
}

void TBinaryObjectWriter::WriteString(std::string_view s) {
    if (s.size() <= 255) {
        WriteByte(vaString);
        WriteStr(s);
    } else {
        if (s.size() > UINT32_MAX) throw EWriteError("String too long");
        WriteByte(vaLString);
        WriteUInt(s.size(), 4);
        Write(s.data(), s.size());
    }
}

void TBinaryObjectWriter::WriteWideString(std::u16string_view s) {
    if (s.size() > UINT32_MAX / 2) throw EWriteError("String too long");
    WriteByte(vaWString);
    WriteUInt(s.size(), 4);
    std::string bytes(s.size() * 2, '\0');
    for (std::size_t i = 0; i < s.size(); ++i) {
        bytes[2 * i] = static_cast<char>(s[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(s[i] >> 8);
    }
    Write(bytes.data(), bytes.size());
}

void TBinaryObjectWriter::WriteIdent(std::string_view ident) {
    if (SameText(ident, "True")) {
        WriteByte(vaTrue);
    } else if (SameText(ident, "False")) {
        WriteByte(vaFalse);
    } else if (SameText(ident, "nil")) {
        WriteByte(vaNil);
    } else {
        WriteByte(vaIdent);
        WriteStr(ident);
    }
}

void TBinaryObjectWriter::WriteSet(const std::vector<std::string>& elements) {
    WriteByte(vaSet);
    for (const std::string& e : elements) {
        if (e.empty()) throw EWriteError("Empty set element");
        WriteStr(e);
    }
    WriteByte(0);
}

void TBinaryObjectWriter::WriteBinary(const void* data, std::size_t count) {
    if (count > UINT32_MAX) throw EWriteError("Binary value too long");
    WriteByte(vaBinary);
    WriteUInt(count, 4);
    Write(data, count);
}

} // namespace rtl
