#include "spellengine/LinkedList.h"

#include <gtest/gtest.h>

using namespace spellengine;

namespace {

struct TItem : TLinkedListNode {
    TItem(int id, std::vector<int>* freed) : Id(id), Freed(freed) {}
    ~TItem() override {
        if (Freed)
            Freed->push_back(Id);
    }
    int Id;
    std::vector<int>* Freed;
};

// The list takes the node; the test keeps a pointer to look at it.
std::unique_ptr<TLinkedListNode> Owned(TItem* item) { return std::unique_ptr<TLinkedListNode>(item); }

std::vector<int> Ids(const TLinkedList& list) {
    std::vector<int> out;
    for (TLinkedListNode* n = list.Head(); n; n = list.NextOf(n))
        out.push_back(static_cast<TItem*>(n)->Id);
    return out;
}

} // namespace

TEST(LinkedList, BuildsAndUnlinks) {
    std::vector<int> freed;
    TLinkedList list;
    auto* a = new TItem(1, &freed);
    auto* b = new TItem(2, &freed);
    auto* c = new TItem(3, &freed);
    auto* d = new TItem(4, &freed);
    list.Append(Owned(b));
    list.Prepend(Owned(a));
    list.Append(Owned(d));
    list.InsertBefore(d, Owned(c));
    list.InsertBefore(nullptr, nullptr);
    EXPECT_EQ(Ids(list), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.GetItem(0), a);
    EXPECT_EQ(list.GetItem(2), c);
    EXPECT_EQ(list.GetItem(3), list.Tail());
    EXPECT_EQ(list.GetItem(4), nullptr);
    EXPECT_EQ(list.GetItem(-1), nullptr);
    EXPECT_EQ(list.FindPredecessor(c), b);
    EXPECT_EQ(list.FindPredecessor(a), nullptr);

    std::unique_ptr<TLinkedListNode> removed = list.Remove(d); // the tail: its predecessor takes over
    EXPECT_EQ(list.Tail(), c);
    EXPECT_EQ(c->Next, nullptr);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Remove(d), nullptr); // no longer a member: left alone
    EXPECT_EQ(list.Count(), 3);
    removed.reset();
    EXPECT_EQ(freed, std::vector<int>{4});

    list.Delete(a); // the head, freed through the node's destructor
    EXPECT_EQ(list.Head(), b);
    EXPECT_EQ(Ids(list), (std::vector<int>{2, 3}));
    list.InsertBefore(b, Owned(new TItem(5, &freed))); // before the head is a prepend
    EXPECT_EQ(Ids(list), (std::vector<int>{5, 2, 3}));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Head(), nullptr);
    EXPECT_EQ(list.Tail(), nullptr);
    EXPECT_EQ(freed, (std::vector<int>{4, 1, 5, 2, 3}));
}

TEST(LinkedList, OwnsItsNodesToTheEnd) {
    std::vector<int> freed;
    {
        TLinkedList list;
        list.Append(Owned(new TItem(1, &freed)));
        list.Append(Owned(new TItem(2, &freed)));
        auto* only = new TItem(3, &freed);
        TLinkedList single;
        single.Append(Owned(only));
        std::unique_ptr<TLinkedListNode> back = single.Remove(only); // head and tail at once
        EXPECT_EQ(single.Head(), nullptr);
        EXPECT_EQ(single.Tail(), nullptr);
        list.Append(std::move(back));
    }
    EXPECT_EQ(freed, (std::vector<int>{1, 2, 3}));
}

TEST(LinkedList, FreesANodeItCannotLink) {
    std::vector<int> freed;
    TLinkedList list;
    list.Append(Owned(new TItem(1, &freed)));
    TItem outside(2, nullptr);
    list.InsertBefore(&outside, Owned(new TItem(3, &freed)));
    EXPECT_EQ(Ids(list), std::vector<int>{1});
    EXPECT_EQ(freed, std::vector<int>{3});
}
