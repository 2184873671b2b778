// The module registry: what it refuses, lookups by name and by address, and
// address lookups while modules load on other threads.
#include "clrprof/module.h"
#include "clrprof/module_manager.h"
#include "clrprof/result.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

using namespace veskmrte_1_0;

namespace {

Module* record(cor::ModuleID id, uintptr_t base, size_t size, const vesk::WChar* name, bool native) {
    return new Module(id, base, size, name, nullptr, nullptr, nullptr, 0, native);
}

TEST(ModuleManager, RefusesInvalidRegistrationsWithoutTakingOwnership) {
    ModuleManager modules;
    std::unique_ptr<Module> fine(record(1, 0x1000, 0x100, VESK_W("/a/App.dll"), false));
    std::unique_ptr<Module> noBase(record(2, 0, 0x100, VESK_W("x"), false));
    std::unique_ptr<Module> noSize(record(3, 0x1000, 0, VESK_W("x"), false));
    EXPECT_EQ(modules.addModule(0, fine.get()), meFailure);
    EXPECT_EQ(modules.addModule(1, nullptr), meFailure);
    EXPECT_EQ(modules.addModule(2, noBase.get()), meFailure);
    EXPECT_EQ(modules.addModule(3, noSize.get()), meFailure);
    EXPECT_EQ(modules.findModule(1), nullptr);
}

TEST(ModuleManager, FindsByNameSubstringCaseSensitivelyInIdOrder) {
    ModuleManager modules;
    ASSERT_EQ(modules.addModule(0x20, record(0x20, 0x2000, 0x10, VESK_W("/b/mscorlib.dll.bak"), false)), meSuccess);
    ASSERT_EQ(modules.addModule(0x10, record(0x10, 0x1000, 0x10, VESK_W("/a/mscorlib.dll"), false)), meSuccess);
    ASSERT_NE(modules.findModuleByName(VESK_W("mscorlib.dll")), nullptr);
    EXPECT_EQ(modules.findModuleByName(VESK_W("mscorlib.dll"))->getModuleId(), 0x10u);
    EXPECT_EQ(modules.findModuleByName(VESK_W("MSCORLIB.DLL")), nullptr);
    EXPECT_EQ(modules.findModuleByName(nullptr), nullptr);
}

TEST(ModuleManager, AddressesMapToNativeImagesOverHalfOpenRangesThatMoveWithTheirRecord) {
    ModuleManager modules;
    ASSERT_EQ(modules.addModule(1, record(1, 0x10000, 0x1000, VESK_W("native.dll"), true)), meSuccess);
    ASSERT_EQ(modules.addModule(2, record(2, 0x20000, 0x1000, VESK_W("il.dll"), false)), meSuccess);
    EXPECT_EQ(modules.findModuleByAddress(0x10FFF)->getModuleId(), 1u);
    EXPECT_EQ(modules.findModuleByAddress(0x11000), nullptr);
    EXPECT_EQ(modules.findModuleByAddress(0xFFFF), nullptr);
    EXPECT_EQ(modules.findModuleByAddress(0x20000), nullptr) << "not a native image";
    // An overlapping image is refused its range but kept by identity.
    EXPECT_EQ(modules.addModule(3, record(3, 0x10800, 0x1000, VESK_W("two.dll"), true)), meFailure);
    ASSERT_NE(modules.findModule(3), nullptr);
    EXPECT_EQ(modules.findModuleByAddress(0x10900)->getModuleId(), 1u);
    // A replaced record takes its range along and frees the old one.
    ASSERT_EQ(modules.addModule(1, record(1, 0x30000, 0x1000, VESK_W("new.dll"), true)), meSuccess);
    EXPECT_EQ(modules.findModuleByAddress(0x10000), nullptr);
    EXPECT_EQ(modules.findModuleByAddress(0x30000)->getNameString(), vesk::WString(VESK_W("new.dll")));
    EXPECT_EQ(modules.addModule(4, record(4, 0x10000, 0x1000, VESK_W("other.dll"), true)), meSuccess);
}

TEST(ModuleManager, RegistrationsAndAddressLookupsOnManyThreadsNeverDeadlock) {
    ModuleManager modules;
    ASSERT_EQ(modules.addModule(1, record(1, 0x10000, 0x1000, VESK_W("base.dll"), true)), meSuccess);
    std::atomic<bool> stop{false};
    std::atomic<long> lookups{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 3; ++t)
        readers.emplace_back([&] {
            do {
                EXPECT_NE(modules.findModuleByAddress(0x10010), nullptr);
                ++lookups;
            } while (!stop);
        });
    while (lookups == 0) std::this_thread::yield();  // registrations start once the readers are under way
    for (cor::ModuleID id = 2; id < 400; ++id)
        modules.addModule(id, record(id, 0x100000 + id * 0x1000, 0x1000, VESK_W("m.dll"), true));
    stop = true;
    for (auto& r : readers) r.join();
    EXPECT_EQ(modules.findModuleByAddress(0x100000 + 399 * 0x1000 + 5)->getModuleId(), 399u);
}

}  // namespace
