// The paragraph index: a treap by position over the paragraphs of a list, each node counting
// the paragraphs and display lines of its subtree. Declared in ParaList.h.
#include "editor/ParaList.h"

#include <algorithm>

namespace editor {

// The tree's operations live here, as friends of the node.
struct TParaTree {
    static std::int32_t Count(const TParaNode* t) { return t ? t->FCount : 0; }
    static std::int32_t Lines(const TParaNode* t) { return t ? t->FLines : 0; }

    static void Pull(TParaNode* t) {
        t->FLeftCount = Count(t->FLeft);
        t->FLeftLines = Lines(t->FLeft);
        t->FCount = 1 + t->FLeftCount + Count(t->FRight);
        t->FLines = t->LineCount() + t->FLeftLines + Lines(t->FRight);
    }

    // The first k paragraphs of t to l, the rest to r.
    static void Split(TParaNode* t, std::int32_t k, TParaNode*& l, TParaNode*& r) {
        if (!t) {
            l = r = nullptr;
            return;
        }
        if (k <= t->FLeftCount) {
            Split(t->FLeft, k, l, t->FLeft);
            r = t;
        } else {
            Split(t->FRight, k - t->FLeftCount - 1, t->FRight, r);
            l = t;
        }
        Pull(t);
    }

    // Every paragraph of a before every one of b.
    static TParaNode* Merge(TParaNode* a, TParaNode* b) {
        if (!a) return b;
        if (!b) return a;
        if (a->Priority() > b->Priority()) {
            a->FRight = Merge(a->FRight, b);
            Pull(a);
            return a;
        }
        b->FLeft = Merge(a, b->FLeft);
        Pull(b);
        return b;
    }

    static TParaNode* InsertAt(TParaNode* t, std::int32_t k, TParaNode* n) {
        if (!t || n->Priority() > t->Priority()) {
            Split(t, k, n->FLeft, n->FRight);
            Pull(n);
            return n;
        }
        const std::int32_t left = t->FLeftCount;
        if (k <= left) {
            t->FLeft = InsertAt(t->FLeft, k, n);
            t->FLeftCount += 1;
            t->FLeftLines += n->LineCount();
        } else {
            t->FRight = InsertAt(t->FRight, k - left - 1, n);
        }
        t->FCount += 1;
        t->FLines += n->LineCount();
        return t;
    }

    static TParaNode* EraseAt(TParaNode* t, std::int32_t k, TParaNode*& removed) {
        const std::int32_t left = t->FLeftCount;
        if (k == left) {
            removed = t;
            return Merge(t->FLeft, t->FRight);
        }
        if (k < left) {
            t->FLeft = EraseAt(t->FLeft, k, removed);
            t->FLeftCount -= 1;
            t->FLeftLines -= removed->LineCount();
        } else {
            t->FRight = EraseAt(t->FRight, k - left - 1, removed);
        }
        t->FCount -= 1;
        t->FLines -= removed->LineCount();
        return t;
    }
};

namespace {

std::int32_t Count(const TParaNode* t) { return TParaTree::Count(t); }

// Priorities of a balanced build fall with the depth, in bands of this width, so that the
// tree is a valid treap; random priorities of later insertions mix in among them.
constexpr std::uint32_t Band = 1u << 24;

} // namespace

std::uint32_t TParaIndex::Random() {
    // xorshift32: the index needs spread, not quality.
    FSeed ^= FSeed << 13;
    FSeed ^= FSeed >> 17;
    FSeed ^= FSeed << 5;
    return FSeed & TParaNode::PriorityMask;
}

TParaNode* TParaIndex::Build(TParaNode*& Next, std::int32_t N, int Depth) {
    if (N == 0) return nullptr;
    const std::int32_t half = (N - 1) / 2;
    TParaNode* left = Build(Next, half, Depth + 1);
    TParaNode* node = Next;
    Next = Next->FNext;
    node->FLeft = left;
    node->FRight = Build(Next, N - 1 - half, Depth + 1);
    const std::uint32_t band = static_cast<std::uint32_t>(std::min(Depth, 63));
    node->SetPriority(TParaNode::PriorityMask - band * Band - (Random() % Band));
    TParaTree::Pull(node);
    return node;
}

void TParaIndex::Rebuild() {
    FWaiting = nullptr;
    FWaitingCount = 0;
    TParaNode* next = FList.FFirst;
    FRoot = Build(next, FList.FParaCount, 0);
}

void TParaIndex::Appended(TParaNode* Node) {
    if (FWaitingCount++ == 0) FWaiting = Node;
}

void TParaIndex::Settle() {
    if (FWaitingCount == 0) return;
    // A long run (a load) makes a new balanced tree; a few paragraphs go in one by one.
    if (FWaitingCount >= Count(FRoot)) {
        Rebuild();
        return;
    }
    TParaNode* node = FWaiting;
    const std::int32_t count = FWaitingCount;
    FWaiting = nullptr;
    FWaitingCount = 0;
    // The run stands just before the last paragraph, which the tree holds.
    std::int32_t at = Count(FRoot) - 1;
    for (std::int32_t i = 0; i < count; ++i, node = node->FNext) {
        node->FLeft = node->FRight = nullptr;
        node->SetPriority(Random());
        FRoot = TParaTree::InsertAt(FRoot, at++, node);
    }
}

void TParaIndex::Insert(std::int32_t Para, TParaNode* Node) {
    Settle();
    Node->FLeft = Node->FRight = nullptr;
    Node->SetPriority(Random());
    FRoot = TParaTree::InsertAt(FRoot, Para - 1, Node);
}

void TParaIndex::Erase(std::int32_t Para) {
    Settle();
    TParaNode* removed = nullptr;
    FRoot = TParaTree::EraseAt(FRoot, Para - 1, removed);
    removed->FLeft = removed->FRight = nullptr;
    TParaTree::Pull(removed);
}

void TParaIndex::LinesChanged(std::int32_t Para, std::int32_t Delta) {
    Settle();
    std::int32_t k = Para - 1;
    for (TParaNode* t = FRoot; t;) {
        t->FLines += Delta;
        const std::int32_t left = t->FLeftCount;
        if (k == left) return;
        if (k < left) {
            t->FLeftLines += Delta;
            t = t->FLeft;
        } else {
            k -= left + 1;
            t = t->FRight;
        }
    }
}

TParaNode* TParaIndex::Find(std::int32_t Para, std::int32_t& FirstLine) {
    Settle();
    std::int32_t k = Para - 1;
    std::int32_t lines = 0;
    for (TParaNode* t = FRoot; t;) {
        const std::int32_t left = t->FLeftCount;
        if (k < left) {
            t = t->FLeft;
            continue;
        }
        if (k == left) {
            FirstLine = lines + t->FLeftLines + 1;
            return t;
        }
        // The right child is read next anyway; the node's own lines come from it.
        lines += t->FLines - t->FRight->FLines;
        k -= left + 1;
        t = t->FRight;
    }
    return nullptr;
}

TParaNode* TParaIndex::FindLine(std::int32_t Line, std::int32_t& Para, std::int32_t& FirstLine) {
    Settle();
    std::int32_t l = Line - 1;
    std::int32_t paras = 0, lines = 0;
    for (TParaNode* t = FRoot; t;) {
        const std::int32_t left = t->FLeftLines;
        if (l < left) {
            t = t->FLeft;
            continue;
        }
        paras += t->FLeftCount;
        lines += left;
        l -= left;
        if (l < t->LineCount()) {
            Para = paras + 1;
            FirstLine = lines + 1;
            return t;
        }
        paras += 1;
        lines += t->LineCount();
        l -= t->LineCount();
        t = t->FRight;
    }
    return nullptr;
}

} // namespace editor
