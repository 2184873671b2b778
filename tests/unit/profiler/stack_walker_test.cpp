#include "clrprof/stack_walker.h"
#include "clrprof/vesk_prof_ext.h"

#include <gtest/gtest.h>

using namespace veskmrte_1_0;

TEST(StackWalker, AcceptsOnlyManagedOrMixedMode) {
    StackWalker& walker = StackWalker::instance();
    EXPECT_TRUE(walker.setMode(2));
    EXPECT_FALSE(walker.setMode(0));
    EXPECT_FALSE(walker.setMode(5));
    EXPECT_EQ(walker.mode(), 2);
    EXPECT_TRUE(walker.setMode(1));
    EXPECT_EQ(walker.mode(), 1);
}

TEST(NextFrame, HandsOutFramesInOrderThenThreeForEver) {
    FrameCache cache;
    for (uintptr_t ip : {0x100u, 0x200u}) {
        StackFrameRecord frame;
        frame.ip = ip;
        frame.returnAddressSlot = ip + 8;
        cache.append(frame);
    }
    ThreadData data = {1, 2, nullptr, 0, &cache};
    uintptr_t ip = 0, slot = 0;
    ASSERT_EQ(nextFrame(&ip, &slot, &data), vesk_er_success);
    EXPECT_EQ(ip, 0x100u);
    EXPECT_EQ(slot, 0x108u);
    ASSERT_EQ(nextFrame(&ip, &slot, &data), vesk_er_success);
    EXPECT_EQ(ip, 0x200u);
    EXPECT_EQ(nextFrame(&ip, &slot, &data), vesk_er_error);
    EXPECT_EQ(nextFrame(&ip, &slot, &data), vesk_er_error);
    EXPECT_EQ(nextFrame(&ip, &slot, nullptr), vesk_er_error);
}

TEST(WalkStack, StartsEveryWalkWithAnEmptyCache) {
    FrameCache cache;
    cache.append(StackFrameRecord());
    ThreadData data = {1, 2, nullptr, 0, &cache};
    unsigned char context[16] = {};
    walkStack(context, nullptr, &data);
    uintptr_t ip = 0, slot = 0;
    EXPECT_EQ(nextFrame(&ip, &slot, &data), vesk_er_error);
}

TEST(WalkStackDeathTest, NullContextIsFatal) {
    FrameCache cache;
    ThreadData data = {1, 2, nullptr, 0, &cache};
    EXPECT_EXIT(walkStack(nullptr, nullptr, &data), testing::ExitedWithCode(3), "'context'");
    EXPECT_EXIT(walkStack(nullptr, nullptr, nullptr), testing::ExitedWithCode(3), "'context \\|\\| finder \\|\\| threadData'");
}
