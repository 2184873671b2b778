#include "fake_host.h"
#include "tool_instance.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

namespace fake_host = vesktool_test::fake_host;
using vesktool_test::ToolInstance;

namespace {

class ThreadData : public testing::Test {
protected:
    void SetUp() override { fake_host::reset(); }
    void TearDown() override {
        // Give back whatever a failed test left, so records do not pile up.
        ext->release_thread_data(ext, &fake_host::release);
    }

    void* get() { return ext->get_thread_data(ext, &fake_host::allocate); }

    ToolInstance tool;
    vesk_profiling_extension* ext = tool.ext();
};

TEST_F(ThreadData, AllocatesOncePerThreadAndKeepsTheRecord) {
    void* mine = get();
    ASSERT_NE(nullptr, mine);
    EXPECT_EQ(mine, get());
    EXPECT_EQ(mine, get());

    void* theirs = nullptr;
    uint32_t theirThread = 0;
    std::thread([&] {
        theirs = get();
        theirThread = fake_host::currentOsThread();
        EXPECT_EQ(theirs, get());
    }).join();

    EXPECT_NE(nullptr, theirs);
    EXPECT_NE(mine, theirs);
    EXPECT_EQ(2u, fake_host::stats().allocations);
    EXPECT_EQ(fake_host::currentOsThread(), static_cast<fake_host::Record*>(mine)->head.os_thread);
    EXPECT_EQ(theirThread, static_cast<fake_host::Record*>(theirs)->head.os_thread);
}

TEST_F(ThreadData, NoRecordWithoutAnAllocator) {
    EXPECT_EQ(nullptr, ext->get_thread_data(ext, nullptr));
    EXPECT_EQ(nullptr, ext->get_thread_data(ext, &fake_host::failToAllocate));
    // A failed allocation must not stick: the next request tries again.
    void* record = get();
    EXPECT_NE(nullptr, record);
    EXPECT_EQ(1u, fake_host::stats().allocations);
    // Once there is a record, no allocator is needed to get it.
    EXPECT_EQ(record, ext->get_thread_data(ext, nullptr));
}

TEST_F(ThreadData, ReleaseFreesEveryThreadsRecordIncludingThreadsThatEnded) {
    std::set<const void*> handedOut;
    handedOut.insert(get());
    for (int index = 0; index < 4; ++index) {
        std::thread([&] { handedOut.insert(get()); }).join();
    }
    ASSERT_EQ(5u, handedOut.size());

    ASSERT_EQ(vesk_er_success, ext->release_thread_data(ext, &fake_host::release));
    const fake_host::Stats afterRelease = fake_host::stats();
    EXPECT_EQ(0u, afterRelease.foreignReleases);
    std::set<const void*> released;
    for (const auto& entry : afterRelease.released) released.insert(entry.record);
    EXPECT_EQ(handedOut, released);
    EXPECT_EQ(0u, fake_host::liveRecords());

    // Nothing is left to release a second time.
    ASSERT_EQ(vesk_er_success, ext->release_thread_data(ext, &fake_host::release));
    EXPECT_EQ(5u, fake_host::stats().releases);
    EXPECT_EQ(0u, fake_host::stats().foreignReleases);
}

TEST_F(ThreadData, AThreadGetsAFreshRecordAfterRelease) {
    const auto* before = static_cast<fake_host::Record*>(get());
    const uintptr_t managedBefore = before->head.managed_thread;
    ASSERT_EQ(vesk_er_success, ext->release_thread_data(ext, &fake_host::release));

    const auto* after = static_cast<fake_host::Record*>(get());
    ASSERT_NE(nullptr, after);
    EXPECT_NE(managedBefore, after->head.managed_thread) << "the released record was handed out again";
    EXPECT_EQ(2u, fake_host::stats().allocations);
    EXPECT_EQ(1u, fake_host::liveRecords());
}

TEST_F(ThreadData, ReleaseWithoutAFreeFunctionIsAnErrorAndKeepsRecords) {
    void* record = get();
    EXPECT_EQ(vesk_er_error, ext->release_thread_data(ext, nullptr));
    EXPECT_EQ(record, get());
    EXPECT_EQ(0u, fake_host::stats().releases);
}

TEST_F(ThreadData, ReleasesRacingWithEachOtherAndWithThreadsThatAskForData) {
    constexpr int kThreads = 6;
    constexpr int kCallsPerThread = 5000;
    std::atomic<bool> stop{false};
    std::atomic<int> nullAnswers{0};
    std::atomic<int> busyThreads{kThreads};
    std::vector<std::thread> workers;
    for (int index = 0; index < kThreads; ++index) {
        workers.emplace_back([&] {
            uint32_t level = 0;
            for (int call = 0; !stop.load(); ++call) {
                // Only the pointer is checked: a record may be freed by the
                // releasing threads at any moment.
                if (get() == nullptr) ++nullAnswers;
                if (ext->enter_runtime(ext, &level) == vesk_er_success) ext->leave_runtime(ext, level);
                if (call == kCallsPerThread) --busyThreads;
            }
        });
    }
    // Two threads keep releasing until every worker has been through many
    // calls, so releases overlap the workers and each other.
    std::atomic<int> failedReleases{0};
    auto releaser = [&] {
        for (int round = 0; busyThreads.load() > 0 || round < 100; ++round) {
            if (ext->release_thread_data(ext, &fake_host::release) != vesk_er_success) ++failedReleases;
        }
    };
    std::thread otherReleaser(releaser);
    releaser();
    otherReleaser.join();
    stop = true;
    for (std::thread& worker : workers) worker.join();
    ASSERT_EQ(vesk_er_success, ext->release_thread_data(ext, &fake_host::release));

    const fake_host::Stats stats = fake_host::stats();
    EXPECT_EQ(0, nullAnswers.load());
    EXPECT_EQ(0, failedReleases.load());
    EXPECT_EQ(0u, stats.foreignReleases) << "a record was released twice";
    EXPECT_EQ(stats.allocations, stats.releases);
    EXPECT_GT(stats.allocations, uint64_t(kThreads)) << "no release ever overlapped a thread";
    EXPECT_EQ(0u, fake_host::liveRecords());
}

}  // namespace
