// Class scan and insertion through one forward-only editor writer.
#include "experts/PropScan.h"

#include "experts/CodeParser.h"
#include "host/Interface.h"
#include "rtl/SysUtils.h"

#include <optional>

namespace experts {
namespace {

const char* const kSectionWords[SectionCount] = {"PRIVATE", "PROTECTED", "PUBLIC", "PUBLISHED", "AUTOMATED"};
const char* const kSectionHeaders[SectionCount] = {"  private\r\n", "  protected\r\n", "  public\r\n",
                                                   "  published\r\n", "  automated\r\n"};

bool Contains(const std::string& s, const char* word) { return s.find(word) != std::string::npos; }

// The type-list tests on one line: the name when the line declares a type of that kind.
std::optional<std::string> TypeName(const std::string& line, int kind) {
    const std::string s = rtl::Trim(line);
    const auto eq = s.find('=');
    if (eq == std::string::npos) return std::nullopt;
    const std::string right = s.substr(eq + 1);
    const std::string upperRight = rtl::UpperCase(right);
    bool pass = false;
    switch (kind) {
    case tkClassTypes:
        pass = Contains(upperRight, "CLASS") && line.find(';') == std::string::npos;
        break;
    case tkEnumTypes: {
        const auto paren = right.find('(');
        pass = paren != std::string::npos && rtl::Trim(right.substr(0, paren)).empty();
        break;
    }
    case tkEventTypes:
        pass = Contains(upperRight, "PROCEDURE") && Contains(upperRight, "OBJECT");
        break;
    default:
        break;
    }
    if (!pass) return std::nullopt;
    return rtl::Trim(s.substr(0, eq));
}

// Offsets of a delivered line: the line starts at Offset (its leading LF, or 0 for the first).
struct TLineRef {
    int Offset = 0;
    bool First = true;
    int Position() const { return First ? Offset + 1 : Offset + 2; }
};

struct TReading {
    TCodeParser Parser{pmProperty};
    host::TInterfaceRef<host::TIEditReader> Reader{Parser.CreateReader()};
    TLineRef Current;
    int NextOffset = 0;
    int LinesRead = 0;
    bool FirstLine = true;

    TReading() {
        Parser.SetPosition(0);
        Parser.ResetReader();
    }
    bool More() const { return !Parser.AtEnd(); }
    std::string Next() {
        Current.Offset = NextOffset;
        Current.First = FirstLine;
        std::string line = Parser.ReadLine(Reader.Get());
        FirstLine = false;
        NextOffset = Current.Offset + static_cast<int>(line.size()) + 1;
        ++LinesRead;
        return line;
    }
    // The length of the line's text without its leading LF, right-trimmed.
    int TextLength(const std::string& line) const {
        std::string text = rtl::TrimRight(line);
        if (!Current.First && !text.empty() && text[0] == '\n') text.erase(0, 1);
        return static_cast<int>(text.size());
    }
};

} // namespace

std::unique_ptr<rtl::TStringList> ListClasses(int kind) {
    auto list = std::make_unique<rtl::TStringList>();
    TReading r;
    while (r.More()) {
        const std::string line = r.Next();
        if (Contains(rtl::UpperCase(line), "IMPLEMENTATION")) break;
        if (auto name = TypeName(line, kind)) list->Add(*name);
    }
    return list;
}

TScanResult ScanClass(const std::string& className) {
    TScanResult scan;
    TReading r;
    const int lineCount = r.Parser.Editor()->LinesInBuffer();

    // Class pass.
    bool inClass = false;
    bool inImplementation = false;
    while (r.More()) {
        const std::string line = r.Next();
        const std::string upper = rtl::UpperCase(line);
        if (Contains(upper, "IMPLEMENTATION")) {
            inImplementation = true;
            break;
        }
        if (!inClass) {
            auto name = TypeName(line, tkClassTypes);
            if (name && *name == className) {
                scan.Mark(smClass, r.Current.Position(), r.TextLength(line), r.NextOffset + 1);
                inClass = true;
            }
            continue;
        }
        const bool method = Contains(upper, "FUNCTION") || Contains(upper, "PROCEDURE");
        const bool property = !method && Contains(upper, "PROPERTY");
        if (method || property) {
            int* slots = method ? scan.MethodSlot : scan.PropertySlot;
            for (int s = SectionCount - 1; s >= 0; --s) {
                if (scan.Has(SectionMark(s)) && slots[s] == 0) {
                    slots[s] = r.Current.Position();
                    break;
                }
            }
            continue;
        }
        const std::string trimmed = rtl::Trim(upper);
        bool sectionWord = false;
        for (int s = 0; s < SectionCount && !sectionWord; ++s) {
            if (!Contains(upper, kSectionWords[s])) continue;
            sectionWord = true;
            if (trimmed == kSectionWords[s])
                scan.Mark(SectionMark(s), r.Current.Position(), r.TextLength(line), r.NextOffset + 1);
        }
        if (sectionWord) continue;
        if (trimmed == "END;") {
            scan.Mark(smEndClass, r.Current.Position(), r.TextLength(line), r.NextOffset + 1);
            break;
        }
    }

    // End-of-unit pass.
    int bodies = 0;
    while (r.More() && r.LinesRead < lineCount) {
        const std::string line = r.Next();
        const std::string trimmed = rtl::Trim(rtl::UpperCase(line));
        if (!inImplementation && Contains(trimmed, "IMPLEMENTATION")) inImplementation = true;
        if (inImplementation && bodies == 0 && (trimmed == "INITIALIZATION" || trimmed == "FINALIZATION"))
            bodies = r.Current.Position();
        if (trimmed == "END.") scan.Mark(smEndUnit, r.Current.Position(), r.TextLength(line), r.NextOffset + 1);
    }
    scan.BodiesPos = bodies ? bodies : scan.Pos[smEndUnit];

    // Slot check: a slot beyond the next mark after its section belongs to a later section.
    for (int s = 0; s < SectionCount; ++s) {
        int limit = scan.Pos[smEndUnit];
        for (int m = SectionMark(s) + 1; m <= smEndClass; ++m) {
            if (scan.Has(static_cast<TScanMark>(m))) {
                limit = scan.Pos[m];
                break;
            }
        }
        if (scan.MethodSlot[s] > limit) scan.MethodSlot[s] = 0;
        if (scan.PropertySlot[s] > limit) scan.PropertySlot[s] = 0;
    }

    if (!scan.Has(smClass)) throw ECodeParseError("Could not find the start of the class");
    if (!scan.Has(smEndClass)) throw ECodeParseError("Could not find the end of the class");
    if (!scan.Has(smEndUnit)) throw ECodeParseError("Could not find the end of the unit");
    return scan;
}

void InsertProperty(const TScanResult& scanned, const TPropChoices& c) {
    TScanResult scan = scanned;
    TCodeParser parser(pmProperty);
    host::TInterfaceRef<host::TIEditWriter> writer(parser.CreateWriter());

    auto moveTo = [&](int offset) { writer->CopyTo(offset); };
    auto moveToLine = [&](int position) { moveTo(position - 1); };
    auto insert = [&](const std::string& text) { writer->Insert(text.c_str()); };
    // The header of the first marked section from `first` on, else the class's END; line when
    // orEnd; nothing otherwise.
    auto headerFrom = [&](int first, bool orEnd) -> std::optional<int> {
        for (int s = first; s < SectionCount; ++s)
            if (scan.Has(SectionMark(s))) return scan.Pos[SectionMark(s)];
        if (orEnd) return scan.Pos[smEndClass];
        return std::nullopt;
    };
    auto moveToHeaderFrom = [&](int first, bool orEnd) {
        if (auto pos = headerFrom(first, orEnd)) moveToLine(*pos);
    };
    auto ensureSection = [&](int s) {
        const TScanMark m = SectionMark(s);
        if (scan.Has(m)) {
            moveTo(scan.AfterHeader[m]);
            return;
        }
        const int at = *headerFrom(s + 1, true) - 1;
        moveTo(at);
        insert(kSectionHeaders[s]);
        scan.Mark(m, at + 1, 0, at);
    };
    // A slot's line, else the header of the first marked section after s (else END; when orEnd).
    auto moveToSlotOr = [&](const int* slots, int s, bool orEnd) {
        if (slots[s]) moveToLine(slots[s]);
        else moveToHeaderFrom(s + 1, orEnd);
    };
    auto insertProperty = [&](int s) {
        moveToHeaderFrom(s + 1, true);
        if (!scan.Has(SectionMark(s))) insert(kSectionHeaders[s]);
        insert(BuildPropertyLine(c));
    };

    moveTo(scan.Pos[smClass]);

    const std::string fields = BuildFieldDecls(c);
    if (!fields.empty()) {
        ensureSection(0);
        if (scan.MethodSlot[0]) moveToLine(scan.MethodSlot[0]);
        else moveToSlotOr(scan.PropertySlot, 0, true);
        insert(fields);
    }
    // A property names its access methods, so they must be declared before it: a private
    // property keeps its methods private too, as a protected section would follow it.
    const int methodVisibility = c.Visibility == 0 ? 0 : c.MethodVisibility;
    if (methodVisibility == 0) {
        ensureSection(0);
        moveToSlotOr(scan.PropertySlot, 0, false);
        insert(BuildMethodDecls(c));
    }
    if (c.Visibility == 0) insertProperty(0);
    if (methodVisibility == 1) {
        ensureSection(1);
        moveToSlotOr(scan.PropertySlot, 1, false);
        insert(BuildMethodDecls(c));
    }
    if (c.Visibility >= 1 && c.Visibility <= 4) insertProperty(c.Visibility);
    else if (c.Visibility != 0) throw EPropExpertError("The access level is invalid");

    if (scan.Has(smEndUnit)) {
        moveToLine(scan.BodiesPos);
        insert(BuildMethodBodies(c));
    }
}

} // namespace experts
