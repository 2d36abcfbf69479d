// Components: ownership, names, notifications and the loading bracket.
#include "vcl/Classes.h"

#include "rtl/ScopeGuards.h"

#include <algorithm>
#include <cctype>
#include <exception>

namespace vcl {

namespace {

// The components of the open loading brackets, in creation order.
struct LoadingState {
    int Depth = 0;
    std::vector<TComponent*> Order;
};
LoadingState& Loading() {
    static LoadingState state;
    return state;
}

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

bool IsValidIdent(const std::string& Ident) {
    if (Ident.empty()) return false;
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!alpha(Ident[0])) return false;
    return std::all_of(Ident.begin(), Ident.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

TComponent::TComponent(TComponent* AOwner) {
    auto& loading = Loading();
    if (loading.Depth > 0) {
        FComponentState |= csLoading;
        loading.Order.push_back(this);
    }
    if (AOwner) {
        if (AOwner->IsDesigning()) FComponentState |= csDesigning;
        AOwner->InsertComponent(this);
    }
}

TComponent::~TComponent() {
    Destroying();
    auto& order = Loading().Order;
    order.erase(std::remove(order.begin(), order.end(), this), order.end());
    // Those that asked are told while this object can still be compared and looked up.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        other->RemoveFreeNotification(this);
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const {
    if (Index < 0 || Index >= ComponentCount())
        throw rtl::EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FComponents[std::size_t(Index)];
}

int TComponent::ComponentIndex() const {
    if (!FOwner) return -1;
    auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int(it - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
    if (AName.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (SameText(c->FName, AName)) return c;
    return nullptr;
}

void TComponent::SetName(const std::string& Value) {
    if (Value == FName) return;
    if (!Value.empty()) {
        if (!IsValidIdent(Value))
            throw EComponentError("'" + Value + "' is not a valid component name");
        if (FOwner) {
            TComponent* same = FOwner->FindComponent(Value);
            if (same && same != this)
                throw EComponentError("A component named " + Value + " already exists");
        }
    }
    SetNameValue(Value);
}

void TComponent::SetDesigning(bool Value) {
    if (Value) FComponentState |= csDesigning;
    else FComponentState &= ~TComponentState(csDesigning);
    for (TComponent* c : FComponents) c->SetDesigning(Value);
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->FOwner == this) return;
    if (!AComponent->FName.empty()) {
        TComponent* same = FindComponent(AComponent->FName);
        if (same) throw EComponentError("A component named " + AComponent->FName + " already exists");
    }
    if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
    Notification(AComponent, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->FOwner != this) return;
    Notification(AComponent, TOperation::opRemove);
    Remove(AComponent);
}

void TComponent::Remove(TComponent* AComponent) {
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), AComponent), FComponents.end());
    AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
    // Last created goes first, as each one leaves the list when it is freed.
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        Remove(c);
        Notification(c, TOperation::opRemove);
        delete c;
    }
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent || AComponent == this) return;
    if (FOwner && AComponent->FOwner == FOwner) return; // the shared owner tells both already
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
    if (std::find(AComponent->FFreeNotifies.begin(), AComponent->FFreeNotifies.end(), this) ==
        AComponent->FFreeNotifies.end())
        AComponent->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent),
                        FFreeNotifies.end());
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == TOperation::opRemove && AComponent) RemoveFreeNotification(AComponent);
    // A handler may free components: walk a copy and skip those gone meanwhile.
    std::vector<TComponent*> owned = FComponents;
    for (TComponent* c : owned)
        if (std::find(FComponents.begin(), FComponents.end(), c) != FComponents.end())
            c->Notification(AComponent, Operation);
}

void TComponent::Destroying() {
    if (FComponentState & csDestroying) return;
    FComponentState |= csDestroying;
    for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::Loaded() { FComponentState &= ~TComponentState(csLoading); }

TLoadingBracket::TLoadingBracket(TComponent* Root) {
    auto& loading = Loading();
    ++loading.Depth;
    if (!Root) return;
    auto mark = [&](TComponent* c) {
        if (std::find(loading.Order.begin(), loading.Order.end(), c) != loading.Order.end()) return;
        c->FComponentState |= csLoading;
        loading.Order.push_back(c);
    };
    mark(Root);
    for (TComponent* c : Root->FComponents) mark(c);
}

TLoadingBracket::~TLoadingBracket() noexcept(false) {
    auto& loading = Loading();
    if (--loading.Depth > 0) return;
    // Loaded may create or free components; each is taken off the list before it runs.
    std::exception_ptr failure;
    while (!loading.Order.empty()) {
        TComponent* c = loading.Order.front();
        loading.Order.erase(loading.Order.begin());
        try {
            c->Loaded();
        } catch (...) {
            c->FComponentState &= ~TComponentState(csLoading);
            if (!failure) failure = std::current_exception();
        }
    }
    if (failure && !std::uncaught_exceptions()) std::rethrow_exception(failure);
}

// --- Collections ------------------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* Collection) { SetCollection(Collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* Value) {
    if (Value == FCollection) return;
    if (FCollection) FCollection->RemoveItem(this);
    if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
    if (!FCollection) return -1;
    auto& items = FCollection->FItems;
    return int(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int Value) {
    if (FCollection && Value != Index()) FCollection->MoveItem(this, Value);
}

void TCollectionItem::Changed(bool AllItems) {
    if (!FCollection || FCollection->FUpdateCount > 0) return;
    FCollection->Update(AllItems ? nullptr : this);
}

TCollection::TCollection(TItemFactory MakeItem) : FMakeItem(std::move(MakeItem)) {}

TCollection::~TCollection() {
    ++FUpdateCount; // the owner may be half gone: no Update while the items go
    Clear();
}

TCollectionItem* TCollection::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        throw rtl::EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FItems[std::size_t(Index)];
}

TCollectionItem* TCollection::Add() {
    TCollectionItem* item = FMakeItem(this);
    if (item->Collection() != this) item->SetCollection(this);
    return item;
}

void TCollection::Clear() {
    if (FItems.empty()) return;
    BeginUpdate();
    while (!FItems.empty()) delete FItems.back();
    EndUpdate();
}

void TCollection::Assign(TPersistent* Source) {
    auto* other = dynamic_cast<TCollection*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    if (other == this) return;
    rtl::TUpdateGuard update(*this);
    Clear();
    for (TCollectionItem* item : other->FItems) Add()->Assign(item);
}

void TCollection::EndUpdate() {
    if (--FUpdateCount == 0) Changed();
}

void TCollection::Changed() {
    if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* Item) {
    FItems.push_back(Item);
    Item->FCollection = this;
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
    FItems.erase(std::remove(FItems.begin(), FItems.end(), Item), FItems.end());
    Item->FCollection = nullptr;
    Changed();
}

void TCollection::MoveItem(TCollectionItem* Item, int NewIndex) {
    NewIndex = std::clamp(NewIndex, 0, Count() - 1);
    FItems.erase(std::remove(FItems.begin(), FItems.end(), Item), FItems.end());
    FItems.insert(FItems.begin() + NewIndex, Item);
    Changed();
}

} // namespace vcl
