// A small singly linked list that owns its nodes: the container of the dictionary's open
// word-tree files and of ranked suggestions. Implementations in LinkedList.cpp.
#pragma once

#include "vcl/Persistent.h"

#include <cstdint>

namespace spellengine {

class TLinkedListNode : public vcl::TObject {
public:
    TLinkedListNode() = default;

    TLinkedListNode* Next = nullptr;
};

// Every operation takes a node of none as "do nothing". Nodes handed to Append, Prepend and
// InsertBefore belong to the list from then on; Remove hands ownership back to the caller.
class TLinkedList : public vcl::TObject {
public:
    TLinkedList() = default;
    ~TLinkedList() override;

    TLinkedListNode* Head() const { return FHead; }
    TLinkedListNode* Tail() const { return FTail; }
    std::int32_t Count() const { return FCount; }

    void Append(TLinkedListNode* Node);
    void Prepend(TLinkedListNode* Node);
    // Before must be a member of the list (or none, which prepends).
    void InsertBefore(TLinkedListNode* Before, TLinkedListNode* Node);
    void Remove(TLinkedListNode* Node);
    void Delete(TLinkedListNode* Node);
    void Clear();
    TLinkedListNode* GetItem(std::int32_t Index) const;
    TLinkedListNode* FindPredecessor(TLinkedListNode* Node) const;
    virtual TLinkedListNode* NextOf(TLinkedListNode* Node) const;

private:
    TLinkedListNode* FHead = nullptr;
    TLinkedListNode* FTail = nullptr;
    std::int32_t FCount = 0;
};

} // namespace spellengine
