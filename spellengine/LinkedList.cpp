#include "spellengine/LinkedList.h"

namespace spellengine {

TLinkedList::~TLinkedList() { Clear(); }

void TLinkedList::Append(TLinkedListNode* Node) {
    if (!Node)
        return;
    Node->Next = nullptr;
    if (!FHead)
        FHead = Node;
    else
        FTail->Next = Node;
    FTail = Node;
    ++FCount;
}

void TLinkedList::Prepend(TLinkedListNode* Node) {
    if (!Node)
        return;
    Node->Next = FHead;
    FHead = Node;
    if (!FTail)
        FTail = Node;
    ++FCount;
}

void TLinkedList::InsertBefore(TLinkedListNode* Before, TLinkedListNode* Node) {
    if (!Node)
        return;
    if (!Before || Before == FHead) {
        Prepend(Node);
        return;
    }
    TLinkedListNode* pred = FindPredecessor(Before);
    if (!pred)
        return; // not a member: linking it anywhere would corrupt the list
    pred->Next = Node;
    Node->Next = Before;
    ++FCount;
}

void TLinkedList::Remove(TLinkedListNode* Node) {
    if (!Node || !FHead)
        return;
    if (Node == FHead) {
        FHead = Node->Next;
        if (Node == FTail)
            FTail = nullptr;
    } else {
        TLinkedListNode* pred = FindPredecessor(Node);
        if (!pred)
            return;
        pred->Next = Node->Next;
        if (Node == FTail)
            FTail = pred;
    }
    Node->Next = nullptr;
    --FCount;
}

void TLinkedList::Delete(TLinkedListNode* Node) {
    if (!Node)
        return;
    Remove(Node);
    delete Node;
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
