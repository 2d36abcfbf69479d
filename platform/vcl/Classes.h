// Components: ownership, names, notifications, component state and the loading bracket that
// forms built in code run inside. Implementations in Classes.cpp.
#pragma once

#include "vcl/Persistent.h"

#include "rtl/Exceptions.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vcl {

class TReader;

RTL_DECLARE_EXCEPTION(EComponentError, rtl::Exception);

enum class TOperation { opInsert, opRemove };

// Component state flags, combined as a bit set.
enum TComponentStateFlag : unsigned {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csWriting = 1u << 2,
    csDestroying = 1u << 3,
    csDesigning = 1u << 4,
};
using TComponentState = unsigned;

class TComponent : public TPersistent {
public:
    // The owner takes the new component into its list and frees it with itself.
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return int(FComponents.size()); }
    TComponent* Components(int Index) const;
    int ComponentIndex() const;
    TComponent* FindComponent(const std::string& AName) const; // without regard to case

    const std::string& Name() const { return FName; }
    // An empty name is allowed; otherwise it must be an identifier unique among the owner's.
    void SetName(const std::string& Value);
    long Tag() const { return FTag; }
    void SetTag(long Value) { FTag = Value; }

    TComponentState ComponentState() const { return FComponentState; }
    bool IsLoading() const { return FComponentState & csLoading; }
    bool IsDesigning() const { return FComponentState & csDesigning; }
    bool IsDestroying() const { return FComponentState & csDestroying; }
    // Marks this component and the ones it owns as being designed.
    void SetDesigning(bool Value);

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents();
    // AComponent is told (Notification with opRemove) when this one is freed, whoever owns it.
    void FreeNotification(TComponent* AComponent);

    // Runs once a component and its owner's loading bracket are complete.
    virtual void Loaded();
    // Called by Make<> once the constructors of every class have run.
    virtual void AfterConstruction() {}

    // The components written as this one's children in a stored form; none unless the class
    // says so.
    virtual void GetChildren(const std::function<void(TComponent*)>& /*Proc*/) const {}
    // A child read from a stored form is handed the component it was written under.
    virtual void SetParentComponent(TComponent* /*Value*/) {}
    // Reads this component's properties and children from a stored form (in Streaming.cpp).
    virtual void ReadState(TReader& Reader);

protected:
    // Told of every component inserted into or removed from the owner, and of freed components
    // this one asked to hear about. The base forwards it to the owned components.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // Marks the component as going away; descendants' destructors call it first.
    void Destroying();
    virtual void SetNameValue(const std::string& Value) { FName = Value; }

private:
    friend class TLoadingBracket;
    friend class TReader;
    friend class TWriter;
    void RemoveFreeNotification(TComponent* AComponent);
    void Remove(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    std::string FName;
    long FTag = 0;
    TComponentState FComponentState = 0;
};

// The loading bracket of a form built in code: the root and every component created while the
// bracket is open are flagged csLoading; when the bracket closes each one's Loaded runs in the
// order of creation (the root first). Brackets may nest; the outermost one ends the loading.
class TLoadingBracket {
public:
    explicit TLoadingBracket(TComponent* Root);
    ~TLoadingBracket() noexcept(false);
    TLoadingBracket(const TLoadingBracket&) = delete;
    TLoadingBracket& operator=(const TLoadingBracket&) = delete;
};

// Creates a component and then runs its AfterConstruction, when every constructor is done.
template <class T, class... Args>
T* Make(Args&&... args) {
    std::unique_ptr<T> made(new T(std::forward<Args>(args)...));
    made->AfterConstruction();
    return made.release();
}

class TCollection;

// An item of a collection: made into one, freed with it, and telling it of every change.
class TCollectionItem : public TPersistent {
public:
    // Adds itself to the end of Collection (when given).
    explicit TCollectionItem(TCollection* Collection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return FCollection; }
    void SetCollection(TCollection* Value);
    int Index() const;
    void SetIndex(int Value);

protected:
    // Tells the collection: this item alone, or every item, needs showing again.
    void Changed(bool AllItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
};

// A list of items of one class, which it owns; stored in forms as a collection value.
class TCollection : public TPersistent {
public:
    using TItemFactory = std::function<TCollectionItem*(TCollection*)>;
    explicit TCollection(TItemFactory MakeItem);
    ~TCollection() override;

    int Count() const { return int(FItems.size()); }
    // "List index out of bounds" for an index outside the list.
    TCollectionItem* Items(int Index) const;
    TCollectionItem* Add();
    void Clear();
    // Items as copies of Source's, when Source is a collection of the same item class.
    void Assign(TPersistent* Source) override;
    // Update runs once, at the outermost EndUpdate, instead of for each change between.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

protected:
    // A change of Item, or of the whole list when Item is null.
    virtual void Update(TCollectionItem* Item) { (void)Item; }
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* Item);
    void RemoveItem(TCollectionItem* Item);
    void MoveItem(TCollectionItem* Item, int NewIndex);

    TItemFactory FMakeItem;
    std::vector<TCollectionItem*> FItems;
    int FUpdateCount = 0;
};

bool IsValidIdent(const std::string& Ident);

} // namespace vcl
