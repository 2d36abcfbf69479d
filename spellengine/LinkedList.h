// A small singly linked list that owns its nodes: the container of the dictionary's open
// word-tree files and of ranked suggestions. Implementations in LinkedList.cpp.
#pragma once

#include "vcl/Persistent.h"

#include <cstdint>
#include <memory>

namespace spellengine {

class TLinkedListNode : public vcl::TObject {
public:
    TLinkedListNode() = default;

    TLinkedListNode* Next = nullptr;
};

// Every operation takes a node of none as "do nothing". The list owns the nodes it holds: they
// are handed in and taken out as owning pointers.
class TLinkedList : public vcl::TObject {
public:
    TLinkedList() = default;
    ~TLinkedList() override;
    TLinkedList(const TLinkedList&) = delete;
    TLinkedList& operator=(const TLinkedList&) = delete;

    TLinkedListNode* Head() const { return FHead; }
    TLinkedListNode* Tail() const { return FTail; }
    std::int32_t Count() const { return FCount; }

    void Append(std::unique_ptr<TLinkedListNode> Node);
    void Prepend(std::unique_ptr<TLinkedListNode> Node);
    // Before must be a member of the list (or none, which prepends); a node that cannot be
    // linked is freed.
    void InsertBefore(TLinkedListNode* Before, std::unique_ptr<TLinkedListNode> Node);
    // None when Node is not a member.
    std::unique_ptr<TLinkedListNode> Remove(TLinkedListNode* Node);
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
