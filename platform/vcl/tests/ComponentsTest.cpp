#include "vcl/Classes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vcl;

namespace {

std::vector<std::string> Log;
std::vector<std::pair<TComponent*, std::string>> Labels;

std::string LabelOf(TComponent* c) {
    for (auto& [p, l] : Labels)
        if (p == c) return l;
    return "?";
}

class TProbe : public TComponent {
public:
    explicit TProbe(TComponent* AOwner, std::string label = {}) : TComponent(AOwner), Label(std::move(label)) {
        Labels.emplace_back(this, Label);
    }
    // Owned components go while this object still hears their removal, as controls do.
    ~TProbe() override {
        Destroying();
        DestroyComponents();
        Log.push_back("free " + Label);
    }
    void Loaded() override {
        Log.push_back("loaded " + Label + (IsLoading() ? " (loading)" : ""));
        TComponent::Loaded();
    }
    std::string Label;
    TComponent* Watched = nullptr;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        Log.push_back(Label + (Operation == TOperation::opInsert ? " +" : " -") + LabelOf(AComponent));
        TComponent::Notification(AComponent, Operation);
        if (Operation == TOperation::opRemove && AComponent == Watched) Watched = nullptr;
    }
};

class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log.clear();
        Labels.clear();
    }
};

} // namespace

TEST_F(ComponentTest, OwnerFreesWhatItOwnsAndEveryOwnedComponentHearsOfInsertAndRemove) {
    auto* root = new TProbe(nullptr, "root");
    auto* a = new TProbe(root, "a");
    new TProbe(root, "b");
    EXPECT_EQ(root->ComponentCount(), 2);
    EXPECT_EQ(a->Owner(), root);
    EXPECT_EQ(root->Components(1)->ComponentIndex(), 1);
    EXPECT_THROW(root->Components(2), rtl::EListError);
    // The insertion is told while the new component is still being built: it has no label yet.
    EXPECT_EQ(Log, (std::vector<std::string>{"root +?", "root +?", "a +?"}));
    Log.clear();
    delete root;
    // Last created goes first; the owner hears first, then its remaining components.
    std::vector<std::string> want = {"root -b", "a -b", "free b", "root -a", "free a", "free root"};
    EXPECT_EQ(Log, want);
}

TEST_F(ComponentTest, NamesAreIdentifiersUniqueWithinTheOwnerWithoutRegardToCase) {
    TComponent root(nullptr);
    auto* a = new TComponent(&root);
    auto* b = new TComponent(&root);
    a->SetName("btnOk");
    EXPECT_EQ(root.FindComponent("BTNOK"), a);
    EXPECT_THROW(b->SetName("BtnOK"), EComponentError);
    EXPECT_EQ(b->Name(), "");
    for (const char* bad : {"1abc", "a b", "a-b"}) EXPECT_THROW(b->SetName(bad), EComponentError) << bad;
    b->SetName("_x1");
    b->SetName("");
    EXPECT_EQ(root.FindComponent(""), nullptr);
    a->SetTag(42);
    EXPECT_EQ(a->Tag(), 42);
    // A component of the same name cannot be moved under the owner either.
    TComponent other(nullptr);
    auto* c = new TComponent(&other);
    c->SetName("btnOk");
    EXPECT_THROW(root.InsertComponent(c), EComponentError);
    EXPECT_EQ(c->Owner(), &other);
}

TEST_F(ComponentTest, FreeNotificationTellsAComponentOfAnotherOwnerAndForgetsIt) {
    auto* left = new TProbe(nullptr, "left");
    auto* right = new TProbe(nullptr, "right");
    auto* target = new TProbe(left, "target");
    right->Watched = target;
    target->FreeNotification(right);
    delete target;
    EXPECT_EQ(right->Watched, nullptr);
    Log.clear();
    // After the target is gone, freeing the watcher must not reach back into it.
    delete right;
    delete left;
    EXPECT_EQ(Log, (std::vector<std::string>{"free right", "free left"}));
}

TEST_F(ComponentTest, FreeingTheWatcherFirstLeavesNoDanglingLink) {
    auto* target = new TProbe(nullptr, "target");
    auto* watcher = new TProbe(nullptr, "watcher");
    target->FreeNotification(watcher);
    delete watcher;
    Log.clear();
    delete target; // would touch freed memory under the sanitizer if the link stayed
    EXPECT_EQ(Log, (std::vector<std::string>{"free target"}));
}

TEST_F(ComponentTest, LoadingBracketFlagsEveryComponentThenRunsLoadedInCreationOrder) {
    auto* form = new TProbe(nullptr, "form");
    TProbe* panel = nullptr;
    {
        TLoadingBracket loading(form);
        EXPECT_TRUE(form->IsLoading());
        panel = new TProbe(form, "panel");
        auto* inner = new TProbe(panel, "button");
        EXPECT_TRUE(panel->IsLoading());
        EXPECT_TRUE(inner->IsLoading());
        {
            TLoadingBracket nested(panel);
            new TProbe(form, "label");
        }
        auto* dropped = new TProbe(form, "dropped");
        delete dropped; // a component freed while loading is never told Loaded
        Log.clear();
    }
    EXPECT_EQ(Log, (std::vector<std::string>{"loaded form (loading)", "loaded panel (loading)",
                                             "loaded button (loading)", "loaded label (loading)"}));
    EXPECT_FALSE(form->IsLoading());
    EXPECT_FALSE(panel->IsLoading());
    delete form;
}

TEST_F(ComponentTest, DesigningStateReachesOwnedAndNewComponents) {
    TComponent root(nullptr);
    auto* a = new TComponent(&root);
    root.SetDesigning(true);
    EXPECT_TRUE(a->IsDesigning());
    auto* b = new TComponent(&root);
    EXPECT_TRUE(b->IsDesigning());
    root.SetDesigning(false);
    EXPECT_FALSE(b->IsDesigning());
}

TEST_F(ComponentTest, MakeRunsAfterConstructionAndFreesOnFailure) {
    struct TFailing : TComponent {
        using TComponent::TComponent;
        void AfterConstruction() override { throw rtl::Exception("no"); }
    };
    TComponent root(nullptr);
    EXPECT_THROW(Make<TFailing>(&root), rtl::Exception);
    EXPECT_EQ(root.ComponentCount(), 0);
}
