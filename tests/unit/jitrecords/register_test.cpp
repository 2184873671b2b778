// Registering JIT code: one record per code body, the time stamp and retries;
// what the integration suite sees in real programs is not repeated here.
#include "code_map_fixture.h"

#include "clrprof/jit_writer.h"

#include <chrono>
#include <future>
#include <thread>

using namespace veskmrte_1_0;
using namespace jitrecords_test;

TEST_F(CodeMapTest, FunctionZeroIsRefusedWithoutWaitingForTheLock) {
    start();
    ModuleID module = registerModule();
    FunctionID f = addFunction(0x10, module, {{0x100, 0x40}});
    std::promise<void> inside;
    std::promise<void> leave;
    std::shared_future<void> left = leave.get_future().share();
    runtime.onBodyStarts = [&inside, left] {
        inside.set_value();
        left.wait();
    };
    std::thread holder([&] { callbacks->registerJitCode(f, 1); });
    inside.get_future().wait();
    // The holder now keeps the code map locked exclusively.
    auto refused = std::async(std::launch::async, [&] { return callbacks->registerJitCode(0, 1); });
    bool finished = refused.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    leave.set_value();
    holder.join();
    // Only now: the holder was running inside this very function object.
    runtime.onBodyStarts = nullptr;
    ASSERT_TRUE(finished) << "function 0 waited for the lock";
    EXPECT_FALSE(refused.get());
}

TEST_F(CodeMapTest, RegisteringTwiceWritesOneRecord) {
    start();
    FunctionID f = addFunction(0x11, registerModule(), {{0x100, 0x40}});
    EXPECT_TRUE(callbacks->registerJitCode(f, 5));
    int filled = runtime.functionInfoCalls;
    EXPECT_TRUE(callbacks->registerJitCode(f, 6));
    EXPECT_EQ(runtime.functionInfoCalls, filled) << "nothing filled the second time";
    auto records = written();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].timestamp, 5u);
}

TEST_F(CodeMapTest, EachNewCodeBodyGetsItsOwnRecordAndEarlierBodiesStayMapped) {
    start();
    FunctionID f = addFunction(0x12, registerModule(), {{0x100, 0x40}});
    ASSERT_TRUE(callbacks->registerJitCode(f, 1));
    addBody(f, {{0x800, 0x20}});  // the optimised tier
    ASSERT_TRUE(callbacks->registerJitCode(f, 2));
    EXPECT_TRUE(callbacks->registerJitCode(f, 3));
    EXPECT_TRUE(callbacks->isJitCode(at(0x100))) << "threads may still run the first body";
    EXPECT_TRUE(callbacks->isJitCode(at(0x81F)));
    auto records = written();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].codeRanges[0].start, at(0x100));
    EXPECT_EQ(records[1].codeRanges[0].start, at(0x800));
    EXPECT_EQ(records[1].codeRanges[0].size, 0x20u);
    EXPECT_EQ(records[1].timestamp, 2u);
    EXPECT_EQ(records[0].methodToken, records[1].methodToken);
}

TEST_F(CodeMapTest, CodeThatCannotBeReadIsNotRecordedAndIsRetried) {
    start();
    FunctionID f = addFunction(0x14, registerModule(), {{0x100, 0x40}});
    for (unsigned failing : {unsigned(kCodeInfoCount), unsigned(kCodeInfoFetch), kBodyStarts | kCodeInfoCount}) {
        runtime.failing = failing;
        EXPECT_FALSE(callbacks->registerJitCode(f, 1)) << failing;
        EXPECT_FALSE(callbacks->isJitCode(at(0x100)));
    }
    runtime.failing = 0;
    EXPECT_TRUE(callbacks->registerJitCode(f, 1));
    EXPECT_TRUE(callbacks->isJitCode(at(0x100)));
    EXPECT_EQ(written().size(), 1u);
}

TEST_F(CodeMapTest, WhenTheBodiesCannotBeListedTheFirstBodyIsRecorded) {
    start();
    FunctionID f = addFunction(0x1F, registerModule(), {{0x100, 0x40}});
    addBody(f, {{0x800, 0x20}});
    runtime.failing = kBodyStarts;
    EXPECT_TRUE(callbacks->registerJitCode(f, 1));
    EXPECT_TRUE(callbacks->registerJitCode(f, 1));
    EXPECT_FALSE(callbacks->isJitCode(at(0x800)));
    runtime.failing = 0;
    EXPECT_TRUE(callbacks->registerJitCode(f, 1));
    EXPECT_TRUE(callbacks->isJitCode(at(0x800)));
    auto records = written();
    ASSERT_EQ(records.size(), 2u) << "the first body once, then the second";
    EXPECT_EQ(records[0].codeRanges[0].start, at(0x100));
    EXPECT_EQ(records[1].codeRanges[0].start, at(0x800));
}

TEST_F(CodeMapTest, TimeStampIsTheGivenOneElseTheModuleLoadTimeElseZero) {
    start();
    ModuleID module = registerModule();
    FunctionID given = addFunction(0x15, module, {{0x100, 0x10}});
    FunctionID fromModule = addFunction(0x16, module, {{0x200, 0x10}});
    // A dynamic module: never registered.
    FunctionID unregistered = addFunction(0x17, 0xDEAD00, {{0x300, 0x10}});
    EXPECT_TRUE(callbacks->registerJitCode(given, 0x1234));
    EXPECT_TRUE(callbacks->registerJitCode(fromModule, 0));
    EXPECT_TRUE(callbacks->registerJitCode(unregistered, 0));
    auto records = written();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].timestamp, 0x1234u);
    EXPECT_EQ(records[1].timestamp, 77u);
    EXPECT_EQ(records[2].timestamp, 0u);
    EXPECT_EQ(records[2].registeredModuleId, 0u);
    EXPECT_EQ(records[2].flags & plovat1::kModuleFileNamePresent, 0u);
}
