// The plugin base class as compiled into and exported from the module: each special member is
// called through its exported symbol, and the handles it holds log when they are released.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BakkesModPlugin.h"
#include "Module.h"
#include "PluginHost.h"

using BakkesMod::Plugin::BakkesModPlugin;
using testing::ElementsAre;

namespace {

// The exported members, called the way the platform's C++ ABI calls them: the object first.
struct BaseMembers {
    explicit BaseMembers(const pluginsdk::Module& module)
        : construct(member<void (*)(BakkesModPlugin*)>(module, "C1Ev")),
          copyConstruct(
              member<void (*)(BakkesModPlugin*, const BakkesModPlugin*)>(module, "C1ERKS1_")),
          moveConstruct(member<void (*)(BakkesModPlugin*, BakkesModPlugin*)>(module, "C1EOS1_")),
          destroy(member<void (*)(BakkesModPlugin*)>(module, "D1Ev")),
          copyAssign(member<BakkesModPlugin* (*)(BakkesModPlugin*, const BakkesModPlugin*)>(
              module, "aSERKS1_")),
          moveAssign(member<BakkesModPlugin* (*)(BakkesModPlugin*, BakkesModPlugin*)>(module,
                                                                                      "aSEOS1_")) {}

    template <typename F>
    static F member(const pluginsdk::Module& module, const std::string& tail) {
        void* symbol = module.symbol(("_ZN9BakkesMod6Plugin15BakkesModPlugin" + tail).c_str());
        EXPECT_NE(symbol, nullptr) << tail;
        return reinterpret_cast<F>(symbol);
    }

    void (*construct)(BakkesModPlugin*);
    void (*copyConstruct)(BakkesModPlugin*, const BakkesModPlugin*);
    void (*moveConstruct)(BakkesModPlugin*, BakkesModPlugin*);
    void (*destroy)(BakkesModPlugin*);
    BakkesModPlugin* (*copyAssign)(BakkesModPlugin*, const BakkesModPlugin*);
    BakkesModPlugin* (*moveAssign)(BakkesModPlugin*, BakkesModPlugin*);
};

// An object built and destroyed only by the module's own members.
class Object {
public:
    explicit Object(const BaseMembers& members) : members_(members) { members_.construct(get()); }
    ~Object() { members_.destroy(get()); }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    BakkesModPlugin* get() { return reinterpret_cast<BakkesModPlugin*>(storage_); }
    BakkesModPlugin* operator->() { return get(); }

private:
    const BaseMembers& members_;
    alignas(BakkesModPlugin) unsigned char storage_[sizeof(BakkesModPlugin)];
};

class BaseClass : public testing::Test {
protected:
    pluginsdk::Module module{PluginHost::modulePath()};
    BaseMembers members{module};
    std::vector<std::string> released;

    // A handle that logs its release, and whether by then the object already held another. An
    // emptied field holds no successor: releasing first and assigning after must show.
    template <typename T> std::shared_ptr<T> handle(std::string name, Object* owner = nullptr) {
        return std::shared_ptr<T>(new T(nullptr, 0), [this, name, owner](T* wrapper) {
            bool replaced = true;
            if (owner) {
                const T* held;
                if constexpr (std::is_same_v<T, CVarManagerWrapper>)
                    held = (*owner)->cvarManager.get();
                else
                    held = (*owner)->gameWrapper.get();
                replaced = held && held != wrapper;
            }
            released.push_back(name + (replaced ? "" : " before its successor was in place"));
            delete wrapper;
        });
    }

    void fill(Object& object, const std::string& prefix) {
        object->cvarManager = handle<CVarManagerWrapper>(prefix + "cvarManager", &object);
        object->gameWrapper = handle<GameWrapper>(prefix + "gameWrapper", &object);
    }
};

TEST_F(BaseClass, destructor_releases_gameWrapper_then_cvarManager) {
    {
        Object object(members);
        EXPECT_FALSE(object->cvarManager);
        EXPECT_FALSE(object->gameWrapper);
        object->cvarManager = handle<CVarManagerWrapper>("cvarManager");
        object->gameWrapper = handle<GameWrapper>("gameWrapper");
    }
    EXPECT_THAT(released, ElementsAre("gameWrapper", "cvarManager"));
}

TEST_F(BaseClass, copy_constructor_shares_both_handles) {
    Object source(members);
    fill(source, "");
    {
        Object copy(members);
        members.destroy(copy.get());
        members.copyConstruct(copy.get(), source.get());
        EXPECT_EQ(copy->cvarManager, source->cvarManager);
        EXPECT_EQ(copy->gameWrapper, source->gameWrapper);
        EXPECT_EQ(source->cvarManager.use_count(), 2);
        EXPECT_EQ(source->gameWrapper.use_count(), 2);
    }
    EXPECT_THAT(released, testing::IsEmpty());
}

TEST_F(BaseClass, move_constructor_takes_both_handles_and_empties_the_source) {
    Object source(members);
    fill(source, "");
    const auto* manager = source->cvarManager.get();
    const auto* game = source->gameWrapper.get();
    Object moved(members);
    members.destroy(moved.get());
    members.moveConstruct(moved.get(), source.get());
    EXPECT_FALSE(source->cvarManager);
    EXPECT_FALSE(source->gameWrapper);
    EXPECT_EQ(moved->cvarManager.get(), manager);
    EXPECT_EQ(moved->gameWrapper.get(), game);
    EXPECT_EQ(moved->cvarManager.use_count(), 1);
    EXPECT_EQ(moved->gameWrapper.use_count(), 1);
    EXPECT_THAT(released, testing::IsEmpty());
}

TEST_F(BaseClass, assignments_put_each_new_handle_in_place_before_releasing_the_old) {
    Object target(members), source(members);
    fill(target, "old ");
    fill(source, "");
    EXPECT_EQ(members.copyAssign(target.get(), source.get()), target.get());
    EXPECT_THAT(released, ElementsAre("old cvarManager", "old gameWrapper"));
    EXPECT_EQ(target->cvarManager, source->cvarManager);
    EXPECT_EQ(source->gameWrapper.use_count(), 2);

    source->cvarManager.reset();
    source->gameWrapper.reset();
    fill(target, "old ");
    released.clear();
    Object other(members);
    fill(other, "");
    const auto* manager = other->cvarManager.get();
    EXPECT_EQ(members.moveAssign(target.get(), other.get()), target.get());
    EXPECT_THAT(released, ElementsAre("old cvarManager", "old gameWrapper"));
    EXPECT_EQ(target->cvarManager.get(), manager);
    EXPECT_FALSE(other->cvarManager);
    EXPECT_FALSE(other->gameWrapper);

    // Assigning an object to itself keeps both handles.
    released.clear();
    members.copyAssign(target.get(), target.get());
    members.moveAssign(target.get(), target.get());
    EXPECT_EQ(target->cvarManager.get(), manager);
    EXPECT_EQ(target->cvarManager.use_count(), 1);
    EXPECT_TRUE(target->gameWrapper);
    EXPECT_THAT(released, testing::IsEmpty());
}

} // namespace
