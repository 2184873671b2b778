// The garbage-collection callbacks and the exported function, wired to the
// process's one tracker.
#include "clrprof/clr_callbacks.h"
#include "clrprof/object_tracker.h"
#include "clrprof/vesk_prof_ext.h"
#include "fake_profiler_info.h"
#include "tracker_fixtures.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

using namespace objects_test;
using namespace veskmrte_1_0;

namespace {

// The callback object finds its tool directory through the loaded tool
// library, as it does when the launcher starts it.
bool loadRealExtension() {
    static bool loaded = [] {
        setenv("VESKMRTE_JIT_DIR", ::testing::TempDir().c_str(), 1);
        return VeskProfExt::instance().load(vesk::fromUtf8(std::string(VESK_DIST_DIR) + "/vesktool.so").c_str());
    }();
    return loaded;
}

class BoundsInfo : public testing_support::FakeProfilerInfo {
public:
    std::vector<cor::COR_PRF_GC_GENERATION_RANGE> table;
    int calls = 0;
    cor::HRESULT STDMETHODCALLTYPE GetGenerationBounds(cor::ULONG capacity, cor::ULONG* count,
                                                       cor::COR_PRF_GC_GENERATION_RANGE ranges[]) override {
        ++calls;
        for (size_t i = 0; i < table.size() && i < capacity; ++i) ranges[i] = table[i];
        *count = static_cast<cor::ULONG>(table.size());
        return cor::S_OK;
    }
};

// Asks the process's tracker from another thread; false when the answer
// does not come within a few seconds (the tracker's lock is held).
bool answersPromptly(ObjectID address, uint32_t& id) {
    std::atomic<bool> done(false);
    std::thread asker([&] {
        id = ObjectTracker::instance().getObjectID(address);
        done = true;
    });
    for (int i = 0; i < 500 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!done) {
        asker.detach();
        return false;
    }
    asker.join();
    return true;
}

}  // namespace

TEST(GcCallbacks, BeforeInitializeTheyLeaveTheTrackerAlone) {
    CLRCallbacks* callbacks = new CLRCallbacks();
    ObjectID from[1] = {0x7c0000001000};
    ObjectID to[1] = {0x7c0000002000};
    ULONG length[1] = {0x20};
    uint32_t before = 0;
    ASSERT_TRUE(answersPromptly(from[0], before));
    EXPECT_EQ(callbacks->GarbageCollectionStarted(5, const_cast<BOOL*>(kFullCollection), 0), cor::S_OK);
    EXPECT_EQ(callbacks->MovedReferences(1, from, to, length), cor::S_OK);
    EXPECT_EQ(callbacks->SurvivingReferences(1, from, length), cor::S_OK);
    EXPECT_EQ(callbacks->GarbageCollectionFinished(), cor::S_OK);
    uint32_t after = 0;
    ASSERT_TRUE(answersPromptly(from[0], after));
    EXPECT_EQ(after, before);
    callbacks->Release();
}

TEST(GcCallbacks, FeedTheTrackerWithTheBoundsTakenAtTheStart) {
    ASSERT_TRUE(loadRealExtension());
    BoundsInfo info;
    const ObjectID gen0 = 0x7d0000000000;
    info.table.push_back({0, gen0, 0x1000, 0x100000});
    CLRCallbacks* callbacks = new CLRCallbacks();
    ASSERT_EQ(callbacks->Initialize(&info), cor::S_OK);
    ObjectTracker& tracker = ObjectTracker::instance();
    const uint32_t frozen = tracker.getObjectID(0x7e0000000010);
    const uint32_t young = tracker.getObjectID(gen0 + 0x210);
    const uint32_t dead = tracker.getObjectID(gen0 + 0x400);

    EXPECT_EQ(callbacks->GarbageCollectionStarted(5, const_cast<BOOL*>(kGen0Collection), 0), cor::S_OK);
    EXPECT_EQ(info.calls, 1);
    ObjectID from[1] = {gen0 + 0x200};
    ObjectID to[1] = {gen0 + 0x50000};
    ULONG length[1] = {0x20};
    EXPECT_EQ(callbacks->MovedReferences(1, from, to, length), cor::S_OK);
    EXPECT_EQ(callbacks->GarbageCollectionFinished(), cor::S_OK);
    EXPECT_EQ(info.calls, 1);

    uint32_t id = 0;
    ASSERT_TRUE(answersPromptly(gen0 + 0x50010, id));
    EXPECT_EQ(id, young);
    EXPECT_EQ(tracker.getObjectID(0x7e0000000010), frozen);
    EXPECT_NE(tracker.getObjectID(gen0 + 0x400), dead);

    callbacks->Shutdown();
    callbacks->Release();
}

TEST(Export, GetObjectIdAnswersForTheSharedObjectsTracker) {
    const std::string path = std::string(VESK_DIST_DIR) + "/orvane_veskmrte_clrprof_1.0.so";
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    typedef uint32_t(VESK_CALL * GetObjectIdFn)(uintptr_t);
    GetObjectIdFn getObjectID = reinterpret_cast<GetObjectIdFn>(dlsym(library, "getObjectID"));
    ASSERT_NE(getObjectID, nullptr);
    const uint32_t first = getObjectID(0x7f0000001000);
    EXPECT_GT(first, 0u);
    EXPECT_EQ(getObjectID(0x7f0000001000), first);
    EXPECT_EQ(getObjectID(0x7f0000002000), first + 1);
    // Not unloaded: the library keeps process-wide state and threads' data.
}
