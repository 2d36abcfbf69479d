// The paragraph index: groups of consecutive paragraphs under a binary indexed tree of their
// counts. Declared in ParaList.h.
#include "editor/ParaList.h"

#include <algorithm>
#include <bit>
#include <new>

namespace editor {

namespace {

// Paragraphs a group gets when the groups are made; it is split when it grows past twice this.
// A look-up walks half a group on average, through nodes that mostly lie side by side.
constexpr std::int32_t GroupSize = 32;

} // namespace

std::size_t TParaIndex::Locate(std::int32_t K, bool ByLine, TSums& Before) const {
    // The last group whose sums before it stay below K, found bit by bit from the top.
    std::size_t at = 0;
    Before = {};
    for (std::size_t step = std::bit_floor(FGroups.size()); step != 0; step >>= 1) {
        const std::size_t next = at + step;
        if (next >= FTree.size()) continue;
        const TSums& s = FTree[next];
        if ((ByLine ? Before.Lines + s.Lines : Before.Paras + s.Paras) < K) {
            at = next;
            Before.Paras += s.Paras;
            Before.Lines += s.Lines;
        }
    }
    return at;
}

void TParaIndex::Add(std::size_t Group, std::int32_t Paras, std::int32_t Lines) {
    FGroups[Group].Own.Paras += Paras;
    FGroups[Group].Own.Lines += Lines;
    FTotal.Paras += Paras;
    FTotal.Lines += Lines;
    for (std::size_t i = Group + 1; i < FTree.size(); i += i & (~i + 1)) {
        FTree[i].Paras += Paras;
        FTree[i].Lines += Lines;
    }
}

void TParaIndex::BuildTree() {
    FTree.resize(FGroups.size() + 1); // never grows here: room is made before
    FTree[0] = {};
    FTotal = {};
    for (std::size_t i = 1; i < FTree.size(); ++i) {
        FTree[i] = FGroups[i - 1].Own;
        FTotal.Paras += FTree[i].Paras;
        FTotal.Lines += FTree[i].Lines;
    }
    for (std::size_t i = 1; i < FTree.size(); ++i) {
        const std::size_t up = i + (i & (~i + 1));
        if (up < FTree.size()) {
            FTree[up].Paras += FTree[i].Paras;
            FTree[up].Lines += FTree[i].Lines;
        }
    }
}

bool TParaIndex::MakeGroups() {
    const std::int32_t count = FList.FParaCount;
    const auto groups = static_cast<std::size_t>((count + GroupSize - 1) / GroupSize);
    std::vector<TGroup> fresh;
    std::vector<TSums> tree;
    try {
        fresh.resize(groups);
        tree.reserve(groups + 1);
    } catch (const std::bad_alloc&) {
        return false;
    }
    TParaNode* node = FList.FFirst;
    for (std::int32_t n = 0; n < count; ++n, node = node->FNext) {
        TGroup& g = fresh[static_cast<std::size_t>(n / GroupSize)];
        if (!g.First) g.First = node;
        g.Own.Paras += 1;
        g.Own.Lines += node->LineCount();
    }
    FGroups.swap(fresh);
    FTree.swap(tree);
    FWaiting = nullptr;
    FWaitingCount = 0;
    BuildTree();
    return true;
}

void TParaIndex::Rebuild() {
    if (MakeGroups()) return;
    if (FGroups.empty()) throw std::bad_alloc();
    // The groups there are take in the waiting run and count their lines again.
    Settle();
    Recount();
}

void TParaIndex::Recount() {
    TParaNode* node = FList.FFirst;
    for (TGroup& g : FGroups) {
        g.Own.Lines = 0;
        for (std::int32_t i = 0; i < g.Own.Paras; ++i, node = node->FNext) g.Own.Lines += node->LineCount();
    }
    BuildTree();
}

void TParaIndex::Appended(TParaNode* Node) {
    if (FWaitingCount++ == 0) FWaiting = Node;
}

void TParaIndex::Settle() {
    if (FWaitingCount == 0) return;
    // A long run (a load) makes new groups; a few paragraphs, or a run the memory for new
    // groups was refused for, go in one by one.
    if (FWaitingCount >= FTotal.Paras && MakeGroups()) return;
    TParaNode* node = FWaiting;
    const std::int32_t count = FWaitingCount;
    FWaiting = nullptr;
    FWaitingCount = 0;
    // The run stands just before the last paragraph, which the groups hold.
    for (std::int32_t i = 0; i < count; ++i, node = node->FNext) InsertAt(FTotal.Paras, node);
}

void TParaIndex::InsertAt(std::int32_t Para, TParaNode* Node) {
    TSums before;
    const std::size_t g = Locate(std::min(Para, FTotal.Paras), false, before);
    // Before the group's first paragraph the node becomes its first; after the last paragraph
    // of the text it ends the last group.
    if (Para == before.Paras + 1) FGroups[g].First = Node;
    Add(g, 1, Node->LineCount());
    if (FGroups[g].Own.Paras > 2 * GroupSize) Split(g);
}

void TParaIndex::Split(std::size_t Group) {
    try {
        if (FGroups.size() == FGroups.capacity()) FGroups.reserve(2 * FGroups.size());
        if (FTree.size() == FTree.capacity()) FTree.reserve(2 * FTree.size());
    } catch (const std::bad_alloc&) {
        return; // a long group is only slower to walk
    }
    TGroup& g = FGroups[Group];
    TGroup tail;
    tail.First = g.First;
    const std::int32_t keep = g.Own.Paras / 2;
    TSums head{keep, 0};
    for (std::int32_t i = 0; i < keep; ++i, tail.First = tail.First->FNext) head.Lines += tail.First->LineCount();
    tail.Own = {g.Own.Paras - keep, g.Own.Lines - head.Lines};
    g.Own = head;
    FGroups.insert(FGroups.begin() + static_cast<std::ptrdiff_t>(Group) + 1, tail);
    BuildTree();
}

void TParaIndex::Insert(std::int32_t Para, TParaNode* Node) {
    Settle();
    InsertAt(Para, Node);
}

void TParaIndex::Erase(std::int32_t Para, TParaNode* Node) {
    Settle();
    TSums before;
    const std::size_t g = Locate(Para, false, before);
    TGroup& group = FGroups[g];
    if (Para == before.Paras + 1) group.First = group.Own.Paras > 1 ? Node->FNext : nullptr;
    Add(g, -1, -Node->LineCount());
}

void TParaIndex::LinesChanged(std::int32_t Para, std::int32_t Delta) {
    Settle();
    TSums before;
    Add(Locate(Para, false, before), 0, Delta);
}

TParaNode* TParaIndex::Find(std::int32_t Para, std::int32_t& FirstLine) {
    Settle();
    TSums before;
    TParaNode* node = FGroups[Locate(Para, false, before)].First;
    std::int32_t line = before.Lines + 1;
    for (std::int32_t n = before.Paras + 1; n < Para; ++n) {
        line += node->LineCount();
        node = node->FNext;
    }
    FirstLine = line;
    return node;
}

TParaNode* TParaIndex::FindLine(std::int32_t Line, std::int32_t& Para, std::int32_t& FirstLine) {
    Settle();
    TSums before;
    TParaNode* node = FGroups[Locate(Line, true, before)].First;
    std::int32_t para = before.Paras + 1, line = before.Lines + 1;
    while (line + node->LineCount() <= Line) {
        line += node->LineCount();
        node = node->FNext;
        ++para;
    }
    Para = para;
    FirstLine = line;
    return node;
}

} // namespace editor
