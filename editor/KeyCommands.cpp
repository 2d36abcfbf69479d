// Key-command tables, the built-in bindings, translation, the table file and the stored form.
#include "editor/KeyCommands.h"

#include "editor/ZelExceptions.h"
#include "vcl/Streaming.h"
#include "rtl/CodePages.h"
#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/Paths.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace editor {

namespace {

const std::vector<TKeyBinding> DefaultBindings = {
    {37, 0, 0, 0, ccLeft}, {39, 0, 0, 0, ccRight}, {37, 4, 0, 0, ccWordLeft},
    {39, 4, 0, 0, ccWordRight}, {36, 0, 0, 0, ccHome}, {35, 0, 0, 0, ccEnd},
    {46, 0, 0, 0, ccDel}, {8, 0, 0, 0, ccBack}, {8, 2, 0, 0, ccBack},
    {33, 4, 0, 0, ccTopOfPage}, {34, 4, 0, 0, ccBotOfPage}, {45, 0, 0, 0, ccIns},
    {90, 4, 0, 0, ccUndo}, {8, 8, 0, 0, ccRestore}, {38, 0, 0, 0, ccUp},
    {40, 0, 0, 0, ccDown}, {13, 4, 0, 0, ccNewLine}, {37, 2, 0, 0, ccExtendLeft},
    {39, 2, 0, 0, ccExtendRight}, {36, 2, 0, 0, ccExtendHome}, {35, 2, 0, 0, ccExtendEnd},
    {37, 6, 0, 0, ccExtWordLeft}, {39, 6, 0, 0, ccExtWordRight}, {33, 2, 0, 0, ccExtendPgUp},
    {34, 2, 0, 0, ccExtendPgDn}, {38, 2, 0, 0, ccExtendUp}, {40, 2, 0, 0, ccExtendDown},
    {36, 6, 0, 0, ccExtFirstPage}, {35, 6, 0, 0, ccExtLastPage}, {33, 6, 0, 0, ccExtTopOfPage},
    {34, 6, 0, 0, ccExtBotOfPage}, {46, 2, 0, 0, ccCut}, {88, 4, 0, 0, ccCut},
    {45, 4, 0, 0, ccCopy}, {67, 4, 0, 0, ccCopy}, {45, 2, 0, 0, ccPaste},
    {86, 4, 0, 0, ccPaste}, {33, 0, 0, 0, ccPrevPage}, {34, 0, 0, 0, ccNextPage},
    {36, 4, 0, 0, ccFirstPage}, {35, 4, 0, 0, ccLastPage}, {9, 0, 0, 0, ccTab},
    {9, 4, 0, 0, ccTab}, {90, 6, 0, 0, ccRedo},
    {48, 4, 0, 0, ccGotoMarker0}, {49, 4, 0, 0, ccGotoMarker1}, {50, 4, 0, 0, ccGotoMarker2},
    {51, 4, 0, 0, ccGotoMarker3}, {52, 4, 0, 0, ccGotoMarker4}, {53, 4, 0, 0, ccGotoMarker5},
    {54, 4, 0, 0, ccGotoMarker6}, {55, 4, 0, 0, ccGotoMarker7}, {56, 4, 0, 0, ccGotoMarker8},
    {57, 4, 0, 0, ccGotoMarker9},
    {48, 6, 0, 0, ccSetMarker0}, {49, 6, 0, 0, ccSetMarker1}, {50, 6, 0, 0, ccSetMarker2},
    {51, 6, 0, 0, ccSetMarker3}, {52, 6, 0, 0, ccSetMarker4}, {53, 6, 0, 0, ccSetMarker5},
    {54, 6, 0, 0, ccSetMarker6}, {55, 6, 0, 0, ccSetMarker7}, {56, 6, 0, 0, ccSetMarker8},
    {57, 6, 0, 0, ccSetMarker9},
};

const std::vector<TKeyBinding> WordStarBindings = {
    {83, 4, 0, 0, ccLeft}, {68, 4, 0, 0, ccRight}, {69, 4, 0, 0, ccUp},
    {88, 4, 0, 0, ccDown}, {82, 4, 0, 0, ccPrevPage}, {67, 4, 0, 0, ccNextPage},
    {87, 4, 0, 0, ccScrollUp}, {90, 4, 0, 0, ccScrollDown}, {65, 4, 0, 0, ccWordLeft},
    {70, 4, 0, 0, ccWordRight}, {81, 4, 83, 128, ccHome}, {81, 4, 68, 128, ccEnd},
    {71, 4, 0, 0, ccDel}, {72, 4, 0, 0, ccBack}, {89, 4, 0, 0, ccDelLine},
    {81, 4, 89, 128, ccDelEol}, {86, 4, 0, 0, ccIns}, {84, 4, 0, 0, ccDelWord},
    {80, 4, 0, 0, ccCtrlChar}, {81, 4, 76, 128, ccRestore},
    {81, 4, 48, 128, ccGotoMarker0}, {81, 4, 49, 128, ccGotoMarker1},
    {81, 4, 50, 128, ccGotoMarker2}, {81, 4, 51, 128, ccGotoMarker3},
    {81, 4, 52, 128, ccGotoMarker4}, {81, 4, 53, 128, ccGotoMarker5},
    {81, 4, 54, 128, ccGotoMarker6}, {81, 4, 55, 128, ccGotoMarker7},
    {81, 4, 56, 128, ccGotoMarker8}, {81, 4, 57, 128, ccGotoMarker9},
    {75, 4, 48, 128, ccSetMarker0}, {75, 4, 49, 128, ccSetMarker1},
    {75, 4, 50, 128, ccSetMarker2}, {75, 4, 51, 128, ccSetMarker3},
    {75, 4, 52, 128, ccSetMarker4}, {75, 4, 53, 128, ccSetMarker5},
    {75, 4, 54, 128, ccSetMarker6}, {75, 4, 55, 128, ccSetMarker7},
    {75, 4, 56, 128, ccSetMarker8}, {75, 4, 57, 128, ccSetMarker9},
};

const std::vector<TKeyBinding> GridBindings = {
    {37, 0, 0, 0, ccLeft}, {39, 0, 0, 0, ccRight}, {37, 4, 0, 0, ccPageLeft},
    {39, 4, 0, 0, ccPageRight}, {36, 0, 0, 0, ccHome}, {35, 0, 0, 0, ccEnd},
    {46, 0, 0, 0, ccDel}, {8, 0, 0, 0, ccBack}, {34, 4, 0, 0, ccBotOfPage},
    {33, 4, 0, 0, ccTopOfPage}, {45, 0, 0, 0, ccIns}, {90, 4, 0, 0, ccRestore},
    {38, 0, 0, 0, ccUp}, {40, 0, 0, 0, ccDown}, {37, 2, 0, 0, ccExtendLeft},
    {39, 2, 0, 0, ccExtendRight}, {36, 2, 0, 0, ccExtendHome}, {35, 2, 0, 0, ccExtendEnd},
    {37, 6, 0, 0, ccExtWordLeft}, {39, 6, 0, 0, ccExtWordRight}, {33, 2, 0, 0, ccExtendPgUp},
    {34, 2, 0, 0, ccExtendPgDn}, {38, 2, 0, 0, ccExtendUp}, {40, 2, 0, 0, ccExtendDown},
    {36, 6, 0, 0, ccExtFirstPage}, {35, 6, 0, 0, ccExtLastPage}, {33, 6, 0, 0, ccExtTopOfPage},
    {34, 6, 0, 0, ccExtBotOfPage}, {88, 4, 0, 0, ccCut}, {67, 4, 0, 0, ccCopy},
    {86, 4, 0, 0, ccPaste}, {33, 0, 0, 0, ccPrevPage}, {36, 4, 0, 0, ccFirstPage},
    {34, 0, 0, 0, ccNextPage}, {35, 4, 0, 0, ccLastPage}, {38, 4, 0, 0, ccTopLeftCell},
    {40, 4, 0, 0, ccBotRightCell}, {113, 0, 0, 0, ccTableEdit},
};

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (rtl::CharUpper(a[i]) != rtl::CharUpper(b[i])) return false;
    return true;
}

[[noreturn]] void ListIndexError(int index) {
    throw rtl::EListError("List index out of bounds (" + std::to_string(index) + ")");
}

std::vector<std::string> ReadLines(std::string_view fileName) {
    std::ifstream in(rtl::HostPath(fileName), std::ios::binary);
    if (!in)
        throw rtl::EInOutError("Cannot open file \"" + std::string(fileName) + "\"", errno);
    std::stringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        throw rtl::EInOutError("Cannot read file \"" + std::string(fileName) + "\"", errno);
    std::string text = buffer.str();
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) end = text.size();
        lines.emplace_back(text, at, end - at);
        at = end;
        if (at < text.size() && text[at] == '\r') ++at;
        if (at < text.size() && text[at] == '\n') ++at;
    }
    return lines;
}

// Table files fail with the input-output error, whatever part of the rewrite failed.
void WriteText(std::string_view fileName, const std::string& text) {
    try {
        rtl::WriteFileAtomic(fileName, text);
    } catch (const rtl::EInOutError&) {
        throw;
    } catch (const rtl::Exception& e) {
        throw rtl::EInOutError(e.Message());
    }
}

// Five integers, the first four bytes and the command 16-bit, and nothing else.
bool ParseBinding(const std::string& line, TKeyBinding& binding) {
    long values[5];
    const char* p = line.c_str();
    for (long& v : values) {
        char* end;
        errno = 0;
        v = std::strtol(p, &end, 10);
        if (end == p || errno == ERANGE) return false;
        if (*end != '\0' && *end != ' ' && *end != '\t') return false;
        p = end;
    }
    while (*p == ' ' || *p == '\t') ++p;
    if (*p != '\0') return false;
    for (int i = 0; i < 4; ++i)
        if (values[i] < 0 || values[i] > 255) return false;
    if (values[4] < 0 || values[4] > 65535) return false;
    binding = {static_cast<std::uint8_t>(values[0]), static_cast<std::uint8_t>(values[1]),
               static_cast<std::uint8_t>(values[2]), static_cast<std::uint8_t>(values[3]),
               static_cast<std::uint16_t>(values[4])};
    return true;
}

bool IsBlankLine(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

} // namespace

const std::vector<TKeyBinding>* BuiltInBindings(std::string_view Name) {
    if (SameText(Name, "Default")) return &DefaultBindings;
    if (SameText(Name, "WordStar")) return &WordStarBindings;
    if (SameText(Name, "Grid")) return &GridBindings;
    return nullptr;
}

// ---- table ----------------------------------------------------------------------------------

void TZelCommandTable::Insert(int Index, const TKeyBinding& Binding) {
    if (Index < 0 || Index > Count()) ListIndexError(Index);
    FCommands.insert(FCommands.begin() + Index, Binding);
}

void TZelCommandTable::Replace(int Index, const TKeyBinding& Binding) {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    FCommands[Index] = Binding;
}

void TZelCommandTable::Delete(int Index) {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    FCommands.erase(FCommands.begin() + Index);
}

const TKeyBinding& TZelCommandTable::Item(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return FCommands[Index];
}

int TZelCommandTable::IndexOf(std::uint32_t Keys) const {
    for (int i = 0; i < Count(); ++i)
        if (FCommands[i].Keys() == Keys) return i;
    return -1;
}

void TZelCommandTable::SaveToFile(std::string_view FileName) const {
    std::string text = FName + "\r\n";
    char line[40];
    for (const auto& b : FCommands) {
        std::snprintf(line, sizeof line, "%4u%4u%4u%4u%6u\r\n", unsigned{b.Key1},
                      unsigned{b.Shift1}, unsigned{b.Key2}, unsigned{b.Shift2}, unsigned{b.Cmd});
        text += line;
    }
    WriteText(FileName, text);
}

void TZelCommandTable::LoadFromFile(std::string_view FileName) {
    std::vector<std::string> lines = ReadLines(FileName);
    auto bad = [&](std::size_t lineNo) {
        return rtl::EInOutError("Invalid key command table \"" + std::string(FileName) +
                                "\", line " + std::to_string(lineNo));
    };
    if (lines.empty()) throw bad(1);
    std::size_t last = lines.size();
    while (last > 1 && IsBlankLine(lines[last - 1])) --last;
    // The whole file is checked before the table changes.
    std::vector<TKeyBinding> commands;
    for (std::size_t i = 1; i < last; ++i) {
        TKeyBinding b;
        if (!ParseBinding(lines[i], b)) throw bad(i + 1);
        for (const auto& other : commands)
            if (other.Keys() == b.Keys()) throw bad(i + 1);
        commands.push_back(b);
    }
    FName = lines[0];
    FCommands = std::move(commands);
}

TStoredTable TZelCommandTable::Store() const {
    TStoredTable stored{FName, FActive, {}};
    auto pair = [](const TKeyBinding& b, std::uint16_t cmd) {
        return TStoredCommand{static_cast<std::int32_t>(b.Keys()), cmd};
    };
    if (const auto* builtIn = BuiltInBindings(FName)) {
        for (const auto& b : *builtIn)
            if (IndexOf(b) < 0) stored.CommandList.push_back(pair(b, 0));
        for (const auto& b : FCommands) {
            bool same = false;
            for (const auto& c : *builtIn) same = same || c == b;
            if (!same) stored.CommandList.push_back(pair(b, b.Cmd));
        }
    } else {
        for (const auto& b : FCommands) stored.CommandList.push_back(pair(b, b.Cmd));
    }
    return stored;
}

void TZelCommandTable::Load(const TStoredTable& Stored) {
    FName = Stored.Name;
    FActive = Stored.Active;
    const auto* builtIn = BuiltInBindings(FName);
    FCommands = builtIn ? *builtIn : std::vector<TKeyBinding>{};
    for (const auto& c : Stored.CommandList) {
        TKeyBinding b = TKeyBinding::FromKeys(static_cast<std::uint32_t>(c.Keys),
                                              static_cast<std::uint16_t>(c.Cmd));
        int at = IndexOf(b);
        if (at < 0) {
            // Command 0 marks a removed built-in binding; on its own it binds nothing.
            if (!builtIn || c.Cmd != 0) FCommands.push_back(b);
        } else if (builtIn && c.Cmd == 0) {
            FCommands.erase(FCommands.begin() + at);
        } else {
            FCommands[at].Cmd = b.Cmd;
        }
    }
}

// ---- processor ------------------------------------------------------------------------------

TZelCommandProcessor::TZelCommandProcessor() {
    CreateTable("Default", true);
    CreateTable("WordStar", false);
    CreateTable("Grid", false);
    for (const auto& b : DefaultBindings) AddCommand("Default", b);
    for (const auto& b : WordStarBindings) AddCommand("WordStar", b);
    for (const auto& b : GridBindings) AddCommand("Grid", b);
    ResetState();
}

TZelCommandTable& TZelCommandProcessor::Table(int Index) const {
    if (Index < 0 || Index >= TableCount()) throw ETableNotFound();
    return *FTables[Index];
}

int TZelCommandProcessor::CreateTable(std::string Name, bool Active) {
    return AddTable(std::make_unique<TZelCommandTable>(std::move(Name), Active));
}

int TZelCommandProcessor::AddTable(std::unique_ptr<TZelCommandTable> Table) {
    std::string name = Table->Name();
    std::string base = name;
    while (base.size() >= 2 && base.back() >= '0' && base.back() <= '9') base.pop_back();
    if (GetTable(name) || GetTable(base)) {
        for (int n = 1;; ++n) {
            std::string candidate = base + std::to_string(n);
            if (!GetTable(candidate)) {
                Table->SetName(candidate);
                break;
            }
        }
    }
    FTables.push_back(std::move(Table));
    return TableCount() - 1;
}

TZelCommandTable* TZelCommandProcessor::GetTable(std::string_view Name) const {
    for (const auto& t : FTables)
        if (SameText(t->Name(), Name)) return t.get();
    return nullptr;
}

void TZelCommandProcessor::AddCommand(std::string_view TableName, const TKeyBinding& Binding) {
    TZelCommandTable* table = GetTable(TableName);
    if (!table) throw ETableNotFound();
    if (table->IndexOf(Binding) >= 0) throw EDuplicateCommand();
    table->Add(Binding);
}

int TZelCommandProcessor::LoadTableFromFile(std::string_view FileName) {
    auto table = std::make_unique<TZelCommandTable>();
    table->LoadFromFile(FileName);
    return AddTable(std::move(table));
}

void TZelCommandProcessor::SaveTableToFile(std::string_view TableName,
                                           std::string_view FileName) const {
    if (const TZelCommandTable* table = GetTable(TableName)) table->SaveToFile(FileName);
}

std::uint16_t TZelCommandProcessor::TranslateKey(std::uint8_t Key, TShiftState Shift) {
    std::uint8_t bits = 0;
    if (Shift & ssShift) bits |= ksShift;
    if (Shift & ssCtrl) bits |= ksCtrl;
    if (Shift & ssAlt) bits |= ksAlt;
    return Translate(Key, bits);
}

std::uint16_t TZelCommandProcessor::Translate(std::uint8_t key, std::uint8_t shift) {
    switch (key) {
    case 16: case 17: case 18: case 20: case 144: case 145:
        return FState == 1 ? tkFirstOfPair : tkNothing;
    default:
        break;
    }
    if (FState == 2) {
        FState = 0;
        return tkNothing;
    }
    // The first table with a non-zero result wins; a binding to command 0 binds nothing.
    for (const auto& table : FTables) {
        if (!table->Active()) continue;
        for (int i = 0; i < table->Count(); ++i) {
            const TKeyBinding& b = table->Item(i);
            if (FState == 1) {
                bool shiftMatches =
                    b.Shift2 == shift || (b.Shift2 == ksNoneOrCtrl && (shift == 0 || shift == ksCtrl));
                if (b.Key1 != FKey || b.Shift1 != FShift || b.Key2 != key || !shiftMatches) continue;
                if (b.Cmd == 0) break;
                FState = b.Cmd == ccCtrlChar ? 2 : 0;
                return b.Cmd;
            }
            if (b.Key1 != key || b.Shift1 != shift) continue;
            if (b.Key2 != 0) {
                FKey = key;
                FShift = shift;
                FState = 1;
                return tkFirstOfPair;
            }
            if (b.Cmd == 0) break;
            FState = b.Cmd == ccCtrlChar ? 2 : 0;
            return b.Cmd;
        }
    }
    std::uint16_t result = FState == 1 ? tkBrokenPair : tkNothing;
    FState = 0;
    return result;
}

std::vector<TStoredTable> TZelCommandProcessor::StoreTables() const {
    std::vector<TStoredTable> stored;
    for (const auto& t : FTables) stored.push_back(t->Store());
    return stored;
}

void TZelCommandProcessor::LoadTables(const std::vector<TStoredTable>& Tables) {
    // Read everything first, so a failure leaves the tables as they were.
    std::vector<std::unique_ptr<TZelCommandTable>> read;
    for (const auto& s : Tables) {
        auto table = std::make_unique<TZelCommandTable>();
        table->Load(s);
        read.push_back(std::move(table));
    }
    FTables.clear();
    for (auto& t : read) AddTable(std::move(t));
    ResetState();
}

namespace {

std::int32_t ReadInt32(vcl::TReader& Reader) {
    std::int64_t v = Reader.ReadInteger();
    if (v < INT32_MIN || v > INT32_MAX) throw rtl::EReadError("Invalid property value");
    return static_cast<std::int32_t>(v);
}

} // namespace

// TableList = ( name Active [ ( keys cmd keys cmd ... ) ] name Active ... ): a table's
// CommandList list is left out when it has no entries.
void TZelCommandProcessor::DefineProperties(vcl::TFiler* Filer) {
    Filer->DefineProperty(
        "TableList",
        [this](vcl::TReader& Reader) {
            std::vector<TStoredTable> tables;
            Reader.ReadListBegin();
            while (!Reader.EndOfList()) {
                TStoredTable table;
                table.Name = Reader.ReadString();
                table.Active = Reader.ReadBoolean();
                if (Reader.NextValue() == rtl::vaList) {
                    Reader.ReadListBegin();
                    while (!Reader.EndOfList()) {
                        TStoredCommand command;
                        command.Keys = ReadInt32(Reader);
                        command.Cmd = ReadInt32(Reader);
                        table.CommandList.push_back(command);
                    }
                    Reader.ReadListEnd();
                }
                tables.push_back(std::move(table));
            }
            Reader.ReadListEnd();
            LoadTables(tables);
        },
        [this](vcl::TWriter& Writer) {
            Writer.WriteListBegin();
            for (const TStoredTable& table : StoreTables()) {
                Writer.WriteString(table.Name);
                Writer.WriteBoolean(table.Active);
                if (table.CommandList.empty()) continue;
                Writer.WriteListBegin();
                for (const TStoredCommand& command : table.CommandList) {
                    Writer.WriteInteger(command.Keys);
                    Writer.WriteInteger(command.Cmd);
                }
                Writer.WriteListEnd();
            }
            Writer.WriteListEnd();
        },
        TableCount() > 0);
}

} // namespace editor
