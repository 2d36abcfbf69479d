#include "host/Expert.h"
#include "host/HookLibrary.h"
#include "host/Interface.h"
#include "host/LibraryExports.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

namespace {

class TCounted : public host::TInterface {
public:
    explicit TCounted(int& destroyed) : FDestroyed(destroyed) {}
    ~TCounted() override { ++FDestroyed; }

private:
    int& FDestroyed;
};

TEST(TInterface, LastReleaseDestroysAndOnlyThat) {
    int destroyed = 0;
    auto* obj = new TCounted(destroyed);
    EXPECT_EQ(obj->RefCount(), 1);
    EXPECT_EQ(obj->AddRef(), 2);
    EXPECT_EQ(obj->Release(), 1);
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(obj->Release(), 0);
    EXPECT_EQ(destroyed, 1);
}

TEST(TInterfaceRef, ReleasesAtScopeEndAlsoOnException) {
    int destroyed = 0;
    try {
        host::TInterfaceRef<TCounted> ref(new TCounted(destroyed));
        throw std::runtime_error("x");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(destroyed, 1);

    auto* obj = new TCounted(destroyed);
    {
        host::TInterfaceRef<TCounted> ref(obj);
        host::TInterfaceRef<TCounted> moved(std::move(ref));
        EXPECT_FALSE(ref);
        EXPECT_EQ(moved.Detach(), obj);
    }
    EXPECT_EQ(destroyed, 1);
    obj->Release();
    EXPECT_EQ(destroyed, 2);
}

class TNamedOnly : public host::TIExpert {
public:
    std::string GetName() override { return "Only a name"; }
};

TEST(TIExpert, OperationsWithoutBodyAnswerEmpty) {
    host::TInterfaceRef<host::TIExpert> e(new TNamedOnly);
    EXPECT_EQ(e->GetName(), "Only a name");
    EXPECT_EQ(e->GetAuthor(), "");
    EXPECT_EQ(e->GetComment(), "");
    EXPECT_EQ(e->GetPage(), "");
    EXPECT_EQ(e->GetGlyph(), 0u);
    EXPECT_EQ(e->GetStyle(), host::esStandard);
    EXPECT_EQ(e->GetState(), 0);
    EXPECT_EQ(e->GetIDString(), "");
    EXPECT_EQ(e->GetMenuText(), "");
    e->Execute();
}

int FakeParamInt(const char* name) { return std::strcmp(name, "TabRack") == 0 ? 8 : 0; }
void FakeActivate(int) {}

TEST(BindIDEHooks, MissingProceduresStayNull) {
    std::map<std::string, void*> exported = {
        {"GetIDEParamInt", reinterpret_cast<void*>(&FakeParamInt)},
        {"IDEActivate", reinterpret_cast<void*>(&FakeActivate)},
    };
    std::vector<std::string> asked;
    host::TIDEHookProcs procs;
    host::BindIDEHooks(procs, [&](const char* name) -> void* {
        asked.push_back(name);
        auto it = exported.find(name);
        return it == exported.end() ? nullptr : it->second;
    });
    ASSERT_EQ(asked.size(), 14u);
    for (int i = 0; i < host::IDEHookCount; ++i)
        EXPECT_EQ(asked[i], host::IDEHookNames[i]) << i;
    ASSERT_NE(procs.GetIDEParamInt, nullptr);
    EXPECT_EQ(procs.GetIDEParamInt("TabRack"), 8);
    EXPECT_NE(procs.IDEActivate, nullptr);
    EXPECT_EQ(procs.SetIDEKeyHook, nullptr);
    EXPECT_EQ(procs.GetIDEShortCut, nullptr);
}

} // namespace
