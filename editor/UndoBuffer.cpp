// The undo buffer and the paragraph list's undo and redo, which replay its records.
#include "editor/ParaList.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace editor {

namespace {

using enum TUndoBuffer::TKind;

bool OwnsParagraph(std::uint8_t kind, bool undoSide) {
    return undoSide ? kind == ukParaDeleted : (kind == ukParaBefore || kind == ukParaAfter);
}

} // namespace

// ---- undo buffer ----------------------------------------------------------------------------

TUndoBuffer::TUndoBuffer(std::int32_t Size) {
    std::size_t size = static_cast<std::size_t>(std::clamp<std::int32_t>(Size, 0, 65535));
    for (;;) {
        try {
            FBlock.assign(size, 0);
            break;
        } catch (const std::bad_alloc&) {
            if (size <= 16) {
                size = 0;
            } else {
                size = (size + 1) / 2;
                continue;
            }
            FBlock.clear();
            break;
        }
    }
}

TUndoBuffer::~TUndoBuffer() { Clear(); }

TUndoBuffer::Header TUndoBuffer::Read(std::size_t at) const {
    const std::uint8_t* p = FBlock.data() + at;
    Header h;
    std::memcpy(&h.Back, p, 2);
    h.Kind = p[2] & 0x7F;
    h.Modified = (p[2] & 0x80) != 0;
    h.Group = p[3];
    std::memcpy(&h.Para, p + 4, 4);
    std::memcpy(&h.Pos, p + 8, 4);
    std::memcpy(&h.Length, p + 12, 2);
    return h;
}

void TUndoBuffer::Write(std::size_t at, const Header& h) {
    std::uint8_t* p = FBlock.data() + at;
    std::memcpy(p, &h.Back, 2);
    p[2] = static_cast<std::uint8_t>(h.Kind | (h.Modified ? 0x80 : 0));
    p[3] = h.Group;
    std::memcpy(p + 4, &h.Para, 4);
    std::memcpy(p + 8, &h.Pos, 4);
    std::memcpy(p + 12, &h.Length, 2);
    p[14] = p[15] = 0;
}

std::size_t TUndoBuffer::RecordSize(std::size_t at) const {
    std::uint16_t len;
    std::memcpy(&len, FBlock.data() + at + 12, 2);
    return HeaderSize + len;
}

std::size_t TUndoBuffer::PrevOf(std::size_t at) const {
    std::uint16_t back;
    std::memcpy(&back, FBlock.data() + at, 2);
    return back == 0 ? None : at - back;
}

std::string_view TUndoBuffer::Data(std::size_t at) const {
    return {reinterpret_cast<const char*>(FBlock.data() + at + HeaderSize),
            RecordSize(at) - HeaderSize};
}

TParaNode* TUndoBuffer::NodeOf(std::size_t at) const {
    TParaNode* node;
    std::memcpy(&node, FBlock.data() + at + HeaderSize, sizeof node);
    return node;
}

void TUndoBuffer::SetNode(std::size_t at, TParaNode* node) {
    std::memcpy(FBlock.data() + at + HeaderSize, &node, sizeof node);
}

void TUndoBuffer::SetModifiedBit(std::size_t at, bool value) {
    if (value) FBlock[at + 2] |= 0x80;
    else FBlock[at + 2] &= 0x7F;
}

void TUndoBuffer::FreeOwned(std::size_t at, bool undoSide) {
    if (!OwnsParagraph(FBlock[at + 2] & 0x7F, undoSide)) return;
    TParaNode::Free(NodeOf(at));
    SetNode(at, nullptr);
}

void TUndoBuffer::DropRedo() {
    std::size_t at = FCurrent == None ? 0 : NextOf(FCurrent);
    for (std::int32_t i = 0; i < FRedoCount; ++i) {
        FreeOwned(at, false);
        at = NextOf(at);
    }
    FRedoCount = 0;
}

void TUndoBuffer::ResetEmpty() {
    FCurrent = None;
    FUsed = 0;
    FUndoCount = 0;
    FRedoCount = 0;
    FGroup = 0;
}

void TUndoBuffer::DropNewest() {
    if (FCurrent == None) return;
    FUsed = FCurrent;
    FCurrent = PrevOf(FCurrent);
    --FUndoCount;
}

void TUndoBuffer::Clear() {
    DropRedo();
    std::size_t at = 0;
    for (std::int32_t i = 0; i < FUndoCount; ++i) {
        FreeOwned(at, true);
        at = NextOf(at);
    }
    FDiscarded += FUndoCount;
    ResetEmpty();
}

void TUndoBuffer::NextGroup() {
    ++FGroup;
    // After 256 groups the numbers wrap; never reuse the number of the record below.
    if (FCurrent != None && Read(FCurrent).Group == FGroup) ++FGroup;
}

bool TUndoBuffer::BeginGroup() {
    bool wasOpen = FInGroup;
    if (!FInGroup) {
        FInGroup = true;
        NextGroup();
    }
    return wasOpen;
}

void TUndoBuffer::EndGroup(bool WasOpen) {
    FInGroup = WasOpen;
    if (!FInGroup) FFull = false;
}

void TUndoBuffer::MarkAllModified() {
    std::size_t at = 0;
    for (std::int32_t i = 0; i < FUndoCount + FRedoCount; ++i) {
        SetModifiedBit(at, true);
        at = NextOf(at);
    }
}

bool TUndoBuffer::MakeRoom(std::size_t n) {
    DropRedo();
    if (FFull) return false;
    if (n > FBlock.size()) {
        Clear();
        if (FInGroup) FFull = true;
        return false;
    }
    if (FBlock.size() - FUsed >= n) return true;
    std::size_t target = std::max(n, FBlock.size() / 16);
    std::size_t cut = 0;
    std::int32_t dropped = 0;
    while (cut < FUsed && FBlock.size() - (FUsed - cut) < target) {
        std::uint8_t group = Read(cut).Group;
        while (cut < FUsed && Read(cut).Group == group) {
            FreeOwned(cut, true);
            cut = NextOf(cut);
            ++dropped;
        }
    }
    FDiscarded += dropped;
    if (cut >= FUsed) {
        ResetEmpty();
        if (FInGroup) {
            FFull = true;
            return false;
        }
        return true;
    }
    std::memmove(FBlock.data(), FBlock.data() + cut, FUsed - cut);
    FUsed -= cut;
    FCurrent -= cut;
    std::uint16_t zero = 0;
    std::memcpy(FBlock.data(), &zero, 2);
    FUndoCount -= dropped;
    return true;
}

bool TUndoBuffer::TryMerge(std::uint8_t kind, std::int32_t para, std::int32_t pos,
                           std::string_view data1, std::string_view data2) {
    if (FInGroup || FCurrent == None) return false;
    Header h = Read(FCurrent);
    if (h.Kind != kind || h.Para != para) return false;
    std::string_view data = Data(FCurrent);
    std::string merged;
    std::int32_t newPos = h.Pos;
    try {
        switch (kind) {
        case ukInsert:
            if (pos != h.Pos + h.Length) return false;
            merged.append(data).append(data1);
            break;
        case ukDelete:
            if (pos == h.Pos) {
                merged.append(data).append(data1);
            } else if (pos + static_cast<std::int32_t>(data1.size()) == h.Pos) {
                merged.append(data1).append(data);
                newPos = pos;
            } else {
                return false;
            }
            break;
        case ukReplace: {
            auto zero = data.find('\0');
            std::string_view oldText = data.substr(0, zero);
            std::string_view newText = data.substr(zero + 1, data.size() - zero - 2);
            if (pos != h.Pos + static_cast<std::int32_t>(newText.size())) return false;
            merged.append(oldText).append(data1).append(1, '\0');
            merged.append(newText).append(data2).append(1, '\0');
            break;
        }
        default:
            return false;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::size_t added = merged.size() - data.size();
    // Without room for the added bytes alone the change becomes a record of its own, so that
    // the history never skips a change.
    if (merged.size() > 65535 || FBlock.size() - FUsed < added) return false;
    DropRedo();
    std::memcpy(FBlock.data() + FCurrent + HeaderSize, merged.data(), merged.size());
    h.Length = static_cast<std::uint16_t>(merged.size());
    h.Pos = newPos;
    Write(FCurrent, h);
    FUsed += added;
    return true;
}

bool TUndoBuffer::Add(std::uint8_t kind, bool modified, std::int32_t para, std::int32_t pos,
                      std::string_view data1, std::string_view data2, bool twoStrings) {
    if (TryMerge(kind, para, pos, data1, data2)) return true;
    std::size_t length = data1.size() + (twoStrings ? data2.size() + 2 : 0);
    if (length > 65535) {
        // No record can hold it: the history before it cannot be replayed any more.
        DropRedo();
        Clear();
        if (FInGroup) FFull = true;
        return false;
    }
    if (!MakeRoom(HeaderSize + length)) return false;
    if (!FInGroup) NextGroup();
    Header h;
    h.Back = FCurrent == None ? 0 : static_cast<std::uint16_t>(RecordSize(FCurrent));
    h.Kind = kind;
    h.Modified = modified;
    h.Group = FGroup;
    h.Para = para;
    h.Pos = pos;
    h.Length = static_cast<std::uint16_t>(length);
    std::size_t at = FUsed;
    Write(at, h);
    std::uint8_t* p = FBlock.data() + at + HeaderSize;
    if (!data1.empty()) std::memcpy(p, data1.data(), data1.size());
    if (twoStrings) {
        p[data1.size()] = 0;
        if (!data2.empty()) std::memcpy(p + data1.size() + 1, data2.data(), data2.size());
        p[data1.size() + 1 + data2.size()] = 0;
    }
    FCurrent = at;
    FUsed = at + HeaderSize + length;
    ++FUndoCount;
    return true;
}

// ---- undo and redo --------------------------------------------------------------------------

TParaResult TParaList::UndoStep(std::size_t at, std::int32_t& pos) {
    TUndoBuffer& u = *FUndo;
    const TUndoBuffer::Header h = u.Read(at);
    std::string_view data = u.Data(at);
    TParaResult r = TParaResult::Ok;
    switch (h.Kind) {
    case ukInsert:
        r = DoDeleteText(h.Para, h.Length, h.Pos);
        break;
    case ukDelete:
        r = DoInsertText(h.Para, data, h.Pos, false);
        break;
    case ukReplace: {
        auto zero = data.find('\0');
        auto newLen = static_cast<std::int32_t>(data.size() - zero - 2);
        r = DoReplaceText(h.Para, data.substr(0, zero), newLen, h.Pos, false);
        break;
    }
    case ukParaBefore:
    case ukParaAfter: {
        std::int32_t p = h.Kind == ukParaBefore ? h.Para : h.Para + 1;
        u.SetNode(at, Unlink(p));
        NotifyParaDeleted(p);
        break;
    }
    case ukParaDeleted:
        LinkAt(h.Para, u.NodeOf(at));
        u.SetNode(at, nullptr);
        NotifySplit(h.Para, 1, 0);
        break;
    default:
        break;
    }
    pos = h.Pos;
    return r;
}

TParaResult TParaList::RedoStep(std::size_t at, std::int32_t& pos) {
    TUndoBuffer& u = *FUndo;
    const TUndoBuffer::Header h = u.Read(at);
    std::string_view data = u.Data(at);
    TParaResult r = TParaResult::Ok;
    pos = h.Pos;
    switch (h.Kind) {
    case ukInsert:
        r = DoInsertText(h.Para, data, h.Pos, false);
        pos = h.Pos + h.Length;
        break;
    case ukDelete:
        r = DoDeleteText(h.Para, h.Length, h.Pos);
        break;
    case ukReplace: {
        auto zero = data.find('\0');
        auto oldLen = static_cast<std::int32_t>(zero);
        std::string_view newText = data.substr(zero + 1, data.size() - zero - 2);
        r = DoReplaceText(h.Para, newText, oldLen, h.Pos, false);
        pos = h.Pos + static_cast<std::int32_t>(newText.size());
        break;
    }
    case ukParaBefore:
    case ukParaAfter: {
        std::int32_t p = h.Kind == ukParaBefore ? h.Para : h.Para + 1;
        LinkAt(p, u.NodeOf(at));
        u.SetNode(at, nullptr);
        NotifySplit(p, 1, 0);
        pos = 1;
        break;
    }
    case ukParaDeleted:
        u.SetNode(at, Unlink(h.Para));
        NotifyParaDeleted(h.Para);
        break;
    default:
        break;
    }
    return r;
}

TParaResult TParaList::Undo(std::int32_t& Para, std::int32_t& Pos) {
    TUndoBuffer& u = *FUndo;
    if (u.FUndoCount == 0) return TParaResult::Ok;
    FReplaying = true;
    const std::size_t top = u.FCurrent;
    const std::size_t used = u.FUsed;
    const std::uint8_t group = u.Read(top).Group;
    const bool wasModified = FModified;
    bool modified = FModified;
    std::int32_t para = Para, pos = Pos;
    std::int32_t taken = 0;
    TParaResult r = TParaResult::Ok;
    do {
        const std::size_t at = u.FCurrent;
        r = UndoStep(at, pos);
        if (r != TParaResult::Ok) break;
        ++taken;
        --u.FUndoCount;
        ++u.FRedoCount;
        u.FCurrent = u.PrevOf(at);
        u.FUsed = at;
        para = u.Read(at).Para;
        modified = u.Read(at).Modified;
    } while (u.FUndoCount > 0 && u.Read(u.FCurrent).Group == group);
    if (r != TParaResult::Ok) {
        // Each step changes nothing when it fails; the steps before it are done again, newest
        // last, so the group stays whole on the undo side.
        std::size_t at = u.FCurrent;
        for (std::int32_t i = 0; i < taken; ++i) {
            at = u.NextOf(at);
            std::int32_t ignored;
            (void)RedoStep(at, ignored);
        }
        u.FCurrent = top;
        u.FUsed = used;
        u.FUndoCount += taken;
        u.FRedoCount -= taken;
        FModified = wasModified;
        FReplaying = false;
        return r;
    }
    Para = para;
    Pos = pos;
    FModified = modified;
    FReplaying = false;
    return TParaResult::Ok;
}

TParaResult TParaList::Redo(std::int32_t& Para, std::int32_t& Pos) {
    TUndoBuffer& u = *FUndo;
    if (u.FRedoCount == 0) return TParaResult::Ok;
    FReplaying = true;
    const std::size_t current = u.FCurrent;
    const std::size_t used = u.FUsed;
    const bool wasModified = FModified;
    std::size_t at = u.FCurrent == TUndoBuffer::None ? 0 : u.NextOf(u.FCurrent);
    const std::uint8_t group = u.Read(at).Group;
    std::int32_t para = Para, pos = Pos;
    std::int32_t taken = 0;
    TParaResult r = TParaResult::Ok;
    for (;;) {
        const bool bit = u.Read(at).Modified;
        u.SetModifiedBit(at, FModified);
        r = RedoStep(at, pos);
        if (r != TParaResult::Ok) {
            u.SetModifiedBit(at, bit);
            break;
        }
        ++taken;
        ++u.FUndoCount;
        --u.FRedoCount;
        u.FCurrent = at;
        u.FUsed = u.NextOf(at);
        const TUndoBuffer::Header h = u.Read(at);
        para = (h.Kind == ukParaBefore || h.Kind == ukParaAfter) ? h.Para + 1 : h.Para;
        if (u.FRedoCount == 0) break;
        at = u.NextOf(at);
        if (u.Read(at).Group != group) break;
    }
    if (r != TParaResult::Ok) {
        // Undo the steps already redone, newest first, so the group stays whole on the redo side.
        for (std::int32_t i = 0; i < taken; ++i) {
            std::int32_t ignored;
            (void)UndoStep(u.FCurrent, ignored);
            u.FCurrent = u.PrevOf(u.FCurrent);
        }
        u.FCurrent = current;
        u.FUsed = used;
        u.FUndoCount -= taken;
        u.FRedoCount += taken;
        FModified = wasModified;
        FReplaying = false;
        return r;
    }
    Para = para;
    Pos = pos;
    FReplaying = false;
    return TParaResult::Ok;
}

} // namespace editor
