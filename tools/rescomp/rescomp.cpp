// rescomp: turns a module's resource list into a C++ source holding the resources and a table
// that registers itself for the module it is compiled into.
//   rescomp <list file> <output .cpp> <anchor symbol>
// The list format is described in platform/rtl/Resources.h. A depfile <output>.d names the
// files the list uses.
#include "rtl/BinaryObjects.h"
#include "rtl/Exceptions.h"
#include "rtl/FormFiles.h"
#include "rtl/Streams.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr unsigned RT_CURSOR = 1, RT_BITMAP = 2, RT_ICON = 3, RT_STRING = 6, RT_RCDATA = 10, RT_VERSION = 16;

struct Resource {
    unsigned Type;
    std::string Name; // capitals; empty for an id
    unsigned Id = 0;
    std::string Data;
};

struct ListError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return s;
}

// cp1252 bytes 0x80-0x9F by code point; the rest of Latin-1 maps to itself.
int Cp1252Of(std::uint32_t cp) {
    static const std::map<std::uint32_t, int> high = {
        {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85}, {0x2020, 0x86},
        {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A}, {0x2039, 0x8B}, {0x0152, 0x8C},
        {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95},
        {0x2013, 0x96}, {0x2014, 0x97}, {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B},
        {0x0153, 0x9C}, {0x017E, 0x9E}, {0x0178, 0x9F}};
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return int(cp);
    auto it = high.find(cp);
    return it == high.end() ? -1 : it->second;
}

// Quoted UTF-8 text with escapes -> cp1252 bytes. `at` points just past the opening quote.
std::string ReadQuoted(const std::string& line, std::size_t& at) {
    std::string out;
    while (true) {
        if (at >= line.size()) throw ListError("unterminated text");
        unsigned char c = static_cast<unsigned char>(line[at]);
        if (c == '"') {
            ++at;
            return out;
        }
        if (c == '\\') {
            if (++at >= line.size()) throw ListError("unterminated text");
            char e = line[at++];
            switch (e) {
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case '\\': out += '\\'; break;
            case '"': out += '"'; break;
            case 'x': {
                if (at + 2 > line.size()) throw ListError("\\x needs two hex digits");
                std::string hex = line.substr(at, 2);
                if (hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                    throw ListError("\\x needs two hex digits");
                out += char(std::stoi(hex, nullptr, 16));
                at += 2;
                break;
            }
            default: throw ListError(std::string("unknown escape \\") + e);
            }
            continue;
        }
        std::uint32_t cp = c;
        int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || at + std::size_t(extra) >= line.size()) throw ListError("text is not UTF-8");
        if (extra) cp = c & (0x3F >> extra);
        for (int i = 1; i <= extra; ++i) {
            unsigned char cc = static_cast<unsigned char>(line[at + std::size_t(i)]);
            if ((cc & 0xC0) != 0x80) throw ListError("text is not UTF-8");
            cp = cp << 6 | (cc & 0x3F);
        }
        at += std::size_t(extra) + 1;
        int b = Cp1252Of(cp);
        if (b < 0) throw ListError("character U+" + std::to_string(cp) + " is not in the ANSI code page");
        out += char(b);
    }
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ListError("cannot read file " + path);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void CheckFormat(unsigned type, const std::string& data, const std::string& file) {
    auto u16 = [&](std::size_t at) { return unsigned(static_cast<unsigned char>(data[at])) | unsigned(static_cast<unsigned char>(data[at + 1])) << 8; };
    if (type == RT_BITMAP && (data.size() < 26 || data[0] != 'B' || data[1] != 'M'))
        throw ListError(file + " is not a .bmp file");
    if (type == RT_CURSOR && (data.size() < 22 || u16(0) != 0 || u16(2) != 2 || u16(4) == 0))
        throw ListError(file + " is not a .cur file");
    if (type == RT_ICON && (data.size() < 22 || u16(0) != 0 || u16(2) != 1 || u16(4) == 0))
        throw ListError(file + " is not a .ico file");
}

std::string Unix(std::string s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (!(s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')) out += s[i];
    return out;
}

// A text form file as the bare binary stream the class library reads. The file must be the text
// the stream converts back to (line ends aside), so that what a form writes can be held against
// it; its object's class is the resource's name.
std::string CompileForm(const std::string& text, const std::string& file, const std::string& name) {
    rtl::TMemoryStream in, binary, back;
    in.Write(text.data(), std::int64_t(text.size()));
    in.SetPosition(0);
    try {
        rtl::ObjectTextToBinary(in, binary);
        binary.SetPosition(0);
        rtl::ObjectBinaryToText(binary, back);
    } catch (const rtl::Exception& e) {
        throw ListError(file + ": " + e.Message());
    }
    std::string canonical(static_cast<const char*>(back.Memory()), std::size_t(back.Size()));
    const std::string have = Unix(text), want = Unix(canonical);
    if (have != want) {
        std::size_t at = 0;
        while (at < have.size() && at < want.size() && have[at] == want[at]) ++at;
        int line = 1;
        for (std::size_t i = 0; i < at; ++i) line += have[i] == '\n';
        std::size_t end = want.find('\n', at);
        std::size_t begin = want.rfind('\n', at ? at - 1 : 0);
        begin = begin == std::string::npos || at == 0 ? 0 : begin + 1;
        throw ListError(file + ":" + std::to_string(line) + ": not as the form converts back; expected \"" +
                        want.substr(begin, end == std::string::npos ? std::string::npos : end - begin) + "\"");
    }
    binary.SetPosition(0);
    rtl::TBinaryObjectReader reader(binary);
    int flags = 0;
    std::int64_t childPos = 0;
    std::string className, objectName;
    reader.ReadSignature();
    reader.ReadObjectHeader(flags, childPos, className, objectName);
    if (Upper(className) != Upper(name))
        throw ListError(file + " holds a form of class " + className + ", not " + name);
    return std::string(static_cast<const char*>(binary.Memory()), std::size_t(binary.Size()));
}

std::string Trim(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    std::size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

struct Parsed {
    std::vector<Resource> Resources;
    std::vector<std::pair<std::string, std::string>> Version; // in list order
    std::vector<std::string> Files;
};

Parsed ParseList(const std::string& listPath) {
    std::ifstream in(listPath, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read resource list " + listPath);
    std::string folder = listPath.substr(0, listPath.find_last_of('/') + 1);
    Parsed parsed;
    std::map<std::pair<unsigned, std::string>, int> seen;
    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
        try {
            std::string t = Trim(line);
            if (t.empty() || t[0] == '#') continue;
            std::istringstream words(t);
            std::string kind, name;
            words >> kind >> name;
            std::size_t at = t.find(name, kind.size()) + name.size();
            std::string rest = Trim(t.substr(at));
            if (name.empty() || rest.empty()) throw ListError("expected: TYPE NAME file-or-\"text\"");

            const std::string k = Upper(kind);
            const bool inline_ = rest[0] == '"';
            const bool form = k == "FORM";
            unsigned type = form ? RT_RCDATA : k == "BITMAP" ? RT_BITMAP : k == "CURSOR" ? RT_CURSOR : k == "ICON" ? RT_ICON
                          : k == "RCDATA" ? RT_RCDATA : k == "STRING" ? RT_STRING : k == "VERSION" ? RT_VERSION : 0;
            if (!type) throw ListError("unknown resource type " + kind);
            if (type == RT_VERSION && !inline_) throw ListError("a version value is quoted text");
            if ((type == RT_BITMAP || type == RT_CURSOR || type == RT_ICON || form) && inline_)
                throw ListError(kind + " resources are files");

            std::string data;
            if (inline_) {
                std::size_t q = t.find('"', at) + 1;
                data = ReadQuoted(t, q);
                if (!Trim(t.substr(q)).empty()) throw ListError("text after the closing quote");
            } else {
                std::string file = rest[0] == '/' ? rest : folder + rest;
                data = ReadFileBytes(file);
                CheckFormat(type, data, rest);
                if (form) data = CompileForm(data, rest, name);
                parsed.Files.push_back(file);
            }

            if (type == RT_VERSION) {
                if (data.find('\0') != std::string::npos) throw ListError("a version value holds no zero byte");
                for (const auto& [key, value] : parsed.Version)
                    if (Upper(key) == Upper(name)) throw ListError("version value " + name + " given twice");
                parsed.Version.emplace_back(name, data);
                continue;
            }

            Resource r{type, {}, 0, std::move(data)};
            if (name.find_first_not_of("0123456789") == std::string::npos) {
                if (name.size() > 5 || std::stoul(name) > 65535) throw ListError("id " + name + " is above 65535");
                r.Id = unsigned(std::stoul(name));
            } else if (type == RT_STRING) {
                throw ListError("a string's name is its number");
            } else {
                r.Name = Upper(name);
            }
            auto key = std::make_pair(type, r.Name.empty() ? "#" + std::to_string(r.Id) : r.Name);
            if (seen.count(key)) throw ListError(kind + " " + name + " given twice (first on line " + std::to_string(seen[key]) + ")");
            seen[key] = lineNo;
            parsed.Resources.push_back(std::move(r));
        } catch (const ListError& e) {
            throw std::runtime_error(listPath + ":" + std::to_string(lineNo) + ": " + e.what());
        }
    }
    if (!parsed.Version.empty()) {
        std::string block = "SVB1";
        block.append(4, '\0');
        block += std::string("\x09\x04\xE4\x04", 4); // language 0x0409, code page 0x04E4
        for (const auto& [key, value] : parsed.Version) {
            block += key;
            block += '\0';
            block += value;
            block += '\0';
        }
        block += '\0';
        for (int i = 0; i < 4; ++i) block[4 + std::size_t(i)] = char((block.size() >> (8 * i)) & 0xFF);
        parsed.Resources.push_back({RT_VERSION, {}, 1, std::move(block)});
    }
    return parsed;
}

std::string CQuoted(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string Generate(const Parsed& parsed, const std::string& listPath, const std::string& anchor) {
    std::ostringstream o;
    o << "// Resources of " << listPath << ", made by rescomp.\n"
      << "#include \"rtl/Resources.h\"\n\nnamespace {\n\n";
    for (std::size_t i = 0; i < parsed.Resources.size(); ++i) {
        const std::string& d = parsed.Resources[i].Data;
        // One zero byte more than the data, so that an empty resource is a legal array and text ends in a zero.
        o << "const unsigned char kData" << i << "[] = {";
        for (std::size_t j = 0; j <= d.size(); ++j) {
            if (j % 16 == 0) o << "\n    ";
            char buf[8];
            std::snprintf(buf, sizeof buf, "0x%02x,", j < d.size() ? unsigned(static_cast<unsigned char>(d[j])) : 0u);
            o << buf;
        }
        o << "\n};\n";
    }
    o << "\nconst rtl::TResourceEntry kEntries[] = {\n";
    for (std::size_t i = 0; i < parsed.Resources.size(); ++i) {
        const Resource& r = parsed.Resources[i];
        o << "    {" << r.Type << ", " << (r.Name.empty() ? "nullptr" : CQuoted(r.Name)) << ", " << r.Id << ", kData" << i
          << ", " << r.Data.size() << "},\n";
    }
    if (parsed.Resources.empty()) o << "    {0, nullptr, 0, nullptr, 0},\n";
    o << "};\n\nconst rtl::TResourceTable kTable = {kEntries, " << parsed.Resources.size() << "};\n"
      << "const rtl::TResourceRegistration kRegistration(&kTable);\n\n} // namespace\n\n"
      << "// Named so that a static library's table is linked into the module that uses the library.\n"
      << "extern \"C\" const void* const " << anchor << " = &kTable;\n";
    return o.str();
}

std::string DepEscape(const std::string& path) {
    std::string out;
    for (char c : path) {
        if (c == ' ' || c == '#') out += '\\';
        if (c == '$') out += '$';
        out += c;
    }
    return out;
}

// Through a temporary file, so that a failed run leaves no half-written source behind.
void WriteWhole(const std::string& path, const std::string& text) {
    std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary);
        out << text;
        if (!out.flush()) throw std::runtime_error("cannot write " + temp);
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) throw std::runtime_error("cannot write " + path);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: rescomp <resource list> <output .cpp> <anchor symbol>\n";
        return 2;
    }
    try {
        const std::string listPath = argv[1], outPath = argv[2], anchor = argv[3];
        Parsed parsed = ParseList(listPath);
        WriteWhole(outPath, Generate(parsed, listPath, anchor));
        std::string dep = DepEscape(outPath) + ": " + DepEscape(listPath);
        for (const std::string& f : parsed.Files) dep += " " + DepEscape(f);
        WriteWhole(outPath + ".d", dep + "\n");
    } catch (const std::exception& e) {
        std::cerr << "rescomp: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
