#include "fake_host.h"
#include "tool_instance.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// Records are released while their threads keep asking for them: each must
// be handed back exactly once, and no thread may get a freed one.
TEST(ThreadData, ReleasesRacingWithEachOtherAndWithThreadsThatAskForData) {
    vesktool_test::ToolInstance tool;
    vesk_profiling_extension* ext = tool.ext();
    auto get = [ext] { return ext->get_thread_data(ext, &fake_host::allocate); };
    auto releaseAll = [ext] { return ext->release_thread_data(ext, &fake_host::release); };
    constexpr int kThreads = 6;
    std::atomic<bool> stop{false};
    std::atomic<int> nullAnswers{0};
    std::atomic<int> busyThreads{kThreads};
    std::vector<std::thread> workers;
    for (int index = 0; index < kThreads; ++index) {
        workers.emplace_back([&] {
            uint32_t level = 0;
            for (int call = 0; !stop.load(); ++call) {
                // Only the pointer is checked: the releasing threads may
                // free a record at any moment.
                if (get() == nullptr) ++nullAnswers;
                if (ext->enter_runtime(ext, &level) == vesk_er_success) ext->leave_runtime(ext, level);
                if (call == 5000) --busyThreads;
            }
        });
    }
    std::atomic<int> failedReleases{0};
    auto releaser = [&] {
        for (int round = 0; busyThreads.load() > 0 || round < 100; ++round)
            if (releaseAll() != vesk_er_success) ++failedReleases;
    };
    std::thread otherReleaser(releaser);
    releaser();
    otherReleaser.join();
    stop = true;
    for (std::thread& worker : workers) worker.join();
    ASSERT_EQ(vesk_er_success, releaseAll());
    EXPECT_EQ(0, nullAnswers.load());
    EXPECT_EQ(0, failedReleases.load());
    EXPECT_EQ(0u, fake_host::stats.foreignReleases) << "a record was released twice";
    EXPECT_EQ(fake_host::stats.allocations, fake_host::stats.released.size());
    EXPECT_GT(fake_host::stats.allocations, uint64_t(kThreads)) << "no release ever overlapped a thread";
    EXPECT_TRUE(fake_host::stats.live.empty());
}

}  // namespace
