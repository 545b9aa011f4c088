// The module's exported surface, read the way a host reads it, without a host.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <memory>

#include "Kickmark.h"
#include "Module.h"
#include "PluginHost.h"

using BakkesMod::Plugin::BakkesModPlugin;
using BakkesMod::Plugin::PluginInfo;

namespace {

using Slot = std::shared_ptr<BakkesModPlugin>;

// How far from its record the module keeps the handle getPlugin hands out, learned from a load
// of its own that is closed again: a fixed distance within one image, wherever it is mapped.
std::ptrdiff_t slotOffset() {
    static const std::ptrdiff_t offset = [] {
        pluginsdk::Module module{PluginHost::modulePath()};
        const auto& info = *static_cast<const PluginInfo*>(module.symbol("exports"));
        const auto* slot = info.initializeFunc();
        info.deleteFunc();
        return reinterpret_cast<const char*>(slot) - reinterpret_cast<const char*>(&info);
    }();
    return offset;
}

class PluginExports : public testing::Test {
protected:
    // Learned before the module under test is loaded, which then starts afresh.
    const std::ptrdiff_t offset = slotOffset();
    pluginsdk::Module module{PluginHost::modulePath()};
    const PluginInfo& info = *static_cast<const PluginInfo*>(module.symbol("exports"));

    void TearDown() override { info.deleteFunc(); }
};

TEST_F(PluginExports, record_carries_the_hosts_fields_in_eight_slots) {
    ASSERT_NE(module.symbol("exports"), nullptr);
    unsigned char bytes[sizeof(PluginInfo)];
    std::memcpy(bytes, &info, sizeof bytes);
    EXPECT_THAT(std::vector<unsigned char>(bytes, bytes + 8),
                testing::ElementsAre(95, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_THAT(std::vector<unsigned char>(bytes + 40, bytes + 48),
                testing::ElementsAre(1, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_THAT(info.fileName, testing::EndsWith("Kickmark.cpp"));
    EXPECT_STREQ(info.className, "Kickmark");
    EXPECT_STREQ(info.pluginName, "Kickmark plugin");
    EXPECT_STREQ(info.pluginVersion, "1.2");
    EXPECT_EQ(reinterpret_cast<void*>(info.initializeFunc), module.symbol("getPlugin"));
    EXPECT_EQ(reinterpret_cast<void*>(info.deleteFunc), module.symbol("deleteMe"));
}

TEST_F(PluginExports, base_class_members_are_exported_under_their_mangled_names) {
    for (const char* name : {
             "_ZN9BakkesMod6Plugin15BakkesModPluginC1Ev",     // default constructor
             "_ZN9BakkesMod6Plugin15BakkesModPluginC1ERKS1_", // copy constructor
             "_ZN9BakkesMod6Plugin15BakkesModPluginC1EOS1_",  // move constructor
             "_ZN9BakkesMod6Plugin15BakkesModPluginD1Ev",     // destructor
             "_ZN9BakkesMod6Plugin15BakkesModPluginaSERKS1_", // copy assignment
             "_ZN9BakkesMod6Plugin15BakkesModPluginaSEOS1_",  // move assignment
             "_ZN9BakkesMod6Plugin15BakkesModPlugin6onLoadEv",
             "_ZN9BakkesMod6Plugin15BakkesModPlugin8onUnloadEv",
             "_ZTVN9BakkesMod6Plugin15BakkesModPluginE", // virtual table
         })
        EXPECT_NE(module.symbol(name), nullptr) << name;
}

TEST_F(PluginExports, loading_creates_nothing_and_getPlugin_creates_one_object) {
    // A build that keeps modules mapped loads no fresh copy: its slot was emptied earlier.
    const auto* unasked =
        reinterpret_cast<const Slot*>(reinterpret_cast<const char*>(&info) + offset);
    EXPECT_FALSE(*unasked) << "the plugin object exists before the host asked for it";
    // Before any getPlugin the slot is empty: deleteMe must cope with that.
    info.deleteFunc();
    // The slot is always the same; what matters is the object it holds after each call.
    auto* slot = info.initializeFunc();
    EXPECT_EQ(slot, unasked);
    ASSERT_TRUE(*slot);
    const auto* first = slot->get();
    info.initializeFunc();
    EXPECT_EQ(slot->get(), first);
    EXPECT_EQ(slot->use_count(), 1);
}

TEST_F(PluginExports, deleteMe_releases_the_object_and_getPlugin_then_makes_a_fresh_one) {
    auto* slot = info.initializeFunc();
    auto& old = static_cast<Kickmark&>(**slot);
    old.measurements = {1500.0f};
    old.lastHorizontalSpeedSq = 4.0f;
    std::shared_ptr<BakkesModPlugin> kept = *slot; // keeps the old object apart from the new

    info.deleteFunc();
    EXPECT_FALSE(*slot);
    EXPECT_EQ(kept.use_count(), 1);
    info.deleteFunc();

    auto& fresh = static_cast<Kickmark&>(**info.initializeFunc());
    EXPECT_NE(&fresh, &old);
    EXPECT_EQ(fresh.lastHorizontalSpeedSq, -1.0f);
    EXPECT_TRUE(fresh.measurements.empty());
    EXPECT_FALSE(fresh.enabled);
    EXPECT_FALSE(fresh.minSpeed);
    EXPECT_FALSE(fresh.cvarManager);
    EXPECT_FALSE(fresh.gameWrapper);
}

// A handle whose release is written to a log, under the given name.
template <typename T, typename... Args>
std::shared_ptr<T> logged(std::vector<std::string>& log, std::string name, Args&&... args) {
    return std::shared_ptr<T>(new T(std::forward<Args>(args)...), [&log, name](T* object) {
        log.push_back(name);
        delete object;
    });
}

TEST_F(PluginExports, the_last_reference_destroys_the_object_as_its_own_class_in_order) {
    auto& plugin = static_cast<Kickmark&>(**info.initializeFunc());
    std::vector<std::string> released;
    // Only Kickmark's own destruction releases the cells; the base class knows nothing of them.
    plugin.cvarManager = logged<CVarManagerWrapper>(released, "cvarManager", nullptr, 0);
    plugin.gameWrapper = logged<GameWrapper>(released, "gameWrapper", nullptr, 0);
    plugin.enabled = logged<bool>(released, "enabled", true);
    plugin.minSpeed = logged<float>(released, "minSpeed", 1.0f);
    info.deleteFunc();
    EXPECT_THAT(released,
                testing::ElementsAre("minSpeed", "enabled", "gameWrapper", "cvarManager"));
}

TEST(ModuleLifetime, closing_the_module_releases_an_object_the_host_never_gave_back) {
#if defined(PLUGINSDK_KEEP_MODULES_OPEN)
    GTEST_SKIP() << "this build keeps modules mapped after they are closed";
#endif
    auto cell = std::make_shared<bool>(true);
    {
        pluginsdk::Module module{PluginHost::modulePath()};
        const auto& info = *static_cast<const PluginInfo*>(module.symbol("exports"));
        static_cast<Kickmark&>(**info.initializeFunc()).enabled = cell;
        EXPECT_EQ(cell.use_count(), 2);
    }
    EXPECT_EQ(cell.use_count(), 1);
}

} // namespace
