#include "spellengine/LinkedList.h"

namespace spellengine {

TLinkedList::~TLinkedList() { Clear(); }

void TLinkedList::Append(std::unique_ptr<TLinkedListNode> Owned) {
    if (!Owned)
        return;
    TLinkedListNode* Node = Owned.release();
    Node->Next = nullptr;
    if (!FHead)
        FHead = Node;
    else
        FTail->Next = Node;
    FTail = Node;
    ++FCount;
}

void TLinkedList::Prepend(std::unique_ptr<TLinkedListNode> Owned) {
    if (!Owned)
        return;
    TLinkedListNode* Node = Owned.release();
    Node->Next = FHead;
    FHead = Node;
    if (!FTail)
        FTail = Node;
    ++FCount;
}

void TLinkedList::InsertBefore(TLinkedListNode* Before, std::unique_ptr<TLinkedListNode> Owned) {
    if (!Owned)
        return;
    if (!Before || Before == FHead) {
        Prepend(std::move(Owned));
        return;
    }
    TLinkedListNode* pred = FindPredecessor(Before);
    if (!pred)
        return; // not a member: linking it anywhere would corrupt the list
    TLinkedListNode* Node = Owned.release();
    pred->Next = Node;
    Node->Next = Before;
    ++FCount;
}

std::unique_ptr<TLinkedListNode> TLinkedList::Remove(TLinkedListNode* Node) {
    if (!Node || !FHead)
        return nullptr;
    if (Node == FHead) {
        FHead = Node->Next;
        if (Node == FTail)
            FTail = nullptr;
    } else {
        TLinkedListNode* pred = FindPredecessor(Node);
        if (!pred)
            return nullptr;
        pred->Next = Node->Next;
        if (Node == FTail)
            FTail = pred;
    }
    Node->Next = nullptr;
    --FCount;
    return std::unique_ptr<TLinkedListNode>(Node);
}

void TLinkedList::Delete(TLinkedListNode* Node) {
    if (!Node)
        return;
    if (!Remove(Node))
        delete Node; // not a member, but given to be freed
}

void TLinkedList::Clear() {
    while (FHead)
        Delete(FHead);
}

TLinkedListNode* TLinkedList::GetItem(std::int32_t Index) const {
    if (Index < 0 || Index >= FCount)
        return nullptr;
    if (Index == FCount - 1)
        return FTail;
    TLinkedListNode* node = FHead;
    for (std::int32_t i = 0; i < Index && node; ++i)
        node = node->Next;
    return node;
}

TLinkedListNode* TLinkedList::FindPredecessor(TLinkedListNode* Node) const {
    if (!Node)
        return nullptr;
    for (TLinkedListNode* p = FHead; p; p = p->Next)
        if (p->Next == Node)
            return p;
    return nullptr;
}

TLinkedListNode* TLinkedList::NextOf(TLinkedListNode* Node) const { return Node ? Node->Next : nullptr; }

} // namespace spellengine
