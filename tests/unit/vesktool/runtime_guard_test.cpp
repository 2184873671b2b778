#include "tool_instance.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using vesktool_test::ToolInstance;

namespace {

class RuntimeGuard : public testing::Test {
protected:
    int enter(uint32_t& level) { return ext->enter_runtime(ext, &level); }
    int leave(uint32_t level) { return ext->leave_runtime(ext, level); }

    ToolInstance tool;
    vesk_profiling_extension* ext = tool.ext();
};

TEST_F(RuntimeGuard, NestedEntersHandOutTheDepthAndLeavesUnwindIt) {
    uint32_t levels[3] = {};
    for (uint32_t& level : levels) ASSERT_EQ(vesk_er_success, enter(level));
    EXPECT_EQ(1u, levels[0]);
    EXPECT_EQ(2u, levels[1]);
    EXPECT_EQ(3u, levels[2]);
    EXPECT_EQ(vesk_er_success, leave(levels[2]));
    EXPECT_EQ(vesk_er_success, leave(levels[1]));
    EXPECT_EQ(vesk_er_success, leave(levels[0]));
    // Back at the outside, the next enter starts again at the first level.
    uint32_t again = 0;
    ASSERT_EQ(vesk_er_success, enter(again));
    EXPECT_EQ(levels[0], again);
    EXPECT_EQ(vesk_er_success, leave(again));
}

TEST_F(RuntimeGuard, LeaveWithTheWrongLevelIsRefusedAndChangesNothing) {
    uint32_t outer = 0;
    uint32_t inner = 0;
    ASSERT_EQ(vesk_er_success, enter(outer));
    ASSERT_EQ(vesk_er_success, enter(inner));
    EXPECT_EQ(vesk_er_error, leave(outer)) << "leaving the outer level while the inner is open";
    EXPECT_EQ(vesk_er_error, leave(inner + 1));
    EXPECT_EQ(vesk_er_error, leave(0));
    EXPECT_EQ(vesk_er_success, leave(inner));
    EXPECT_EQ(vesk_er_success, leave(outer));
}

TEST_F(RuntimeGuard, LeaveWithoutEnterIsAnImbalance) {
    EXPECT_EQ(vesk_er_error, leave(1));
    EXPECT_EQ(vesk_er_error, leave(0));
    uint32_t level = 0;
    ASSERT_EQ(vesk_er_success, enter(level));
    EXPECT_EQ(vesk_er_success, leave(level));
    EXPECT_EQ(vesk_er_error, leave(level)) << "a level can be left only once";
}

TEST_F(RuntimeGuard, NullLevelIsAnError) { EXPECT_EQ(vesk_er_error, ext->enter_runtime(ext, nullptr)); }

TEST_F(RuntimeGuard, DepthBelongsToTheThread) {
    uint32_t mine = 0;
    ASSERT_EQ(vesk_er_success, enter(mine));
    std::thread([&] {
        // This thread entered nothing: the other thread's level means nothing here.
        EXPECT_EQ(vesk_er_error, leave(mine));
        uint32_t own = 0;
        ASSERT_EQ(vesk_er_success, enter(own));
        EXPECT_EQ(1u, own);
        EXPECT_EQ(vesk_er_success, leave(own));
    }).join();
    EXPECT_EQ(vesk_er_success, leave(mine));
}

TEST_F(RuntimeGuard, ManyThreadsNestingAtOnceStayBalanced) {
    constexpr int kThreads = 8;
    constexpr int kRounds = 20000;
    std::atomic<int> wrongAnswers{0};
    std::vector<std::thread> threads;
    for (int index = 0; index < kThreads; ++index) {
        threads.emplace_back([&, index] {
            const uint32_t depth = 1 + static_cast<uint32_t>(index % 4);
            std::vector<uint32_t> levels(depth);
            for (int round = 0; round < kRounds; ++round) {
                for (uint32_t step = 0; step < depth; ++step) {
                    if (enter(levels[step]) != vesk_er_success || levels[step] != step + 1) ++wrongAnswers;
                }
                for (uint32_t step = depth; step-- > 0;) {
                    if (leave(levels[step]) != vesk_er_success) ++wrongAnswers;
                }
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(0, wrongAnswers.load());
}

}  // namespace
