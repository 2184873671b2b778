// Registering JIT code: one record per code body, the time stamp, retries,
// the runtime callbacks and the address-based registration.
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

TEST_F(CodeMapTest, BodiesFoundTogetherAreAllRecorded) {
    start();
    FunctionID f = addFunction(0x13, registerModule(), {{0x100, 0x40}});
    addBody(f, {{0x800, 0x20}});
    addBody(f, {{0x900, 0x10}, {0x2000, 0x8}});  // one on-stack replacement, split in two
    ASSERT_TRUE(callbacks->registerJitCode(f, 1));
    EXPECT_TRUE(callbacks->isJitCode(at(0x2007)));
    auto records = written();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[2].codeRanges.size(), 2u);
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

TEST_F(CodeMapTest, WithoutTheBodyListOnlyTheFirstBodyIsSeen) {
    runtime.answersInfo9 = false;
    start();
    FunctionID f = addFunction(0x18, registerModule(), {{0x100, 0x40}});
    EXPECT_TRUE(callbacks->registerJitCode(f, 1));
    int filled = runtime.functionInfoCalls;
    addBody(f, {{0x800, 0x20}});
    EXPECT_TRUE(callbacks->registerJitCode(f, 2));
    EXPECT_EQ(runtime.functionInfoCalls, filled);
    EXPECT_EQ(runtime.bodyStartsCalls, 0);
    EXPECT_EQ(written().size(), 1u);
}

TEST_F(CodeMapTest, CompilationFinishedRecordsWithTheToolsTimeStampInsideTheGuard) {
    start();
    FunctionID f = addFunction(0x19, registerModule(), {{0x100, 0x40}});
    int enters = tool.enters;
    EXPECT_EQ(callbacks->JITCompilationFinished(f, S_OK, 1), S_OK);
    EXPECT_EQ(tool.enters, enters + 1);
    EXPECT_EQ(tool.leaves, tool.enters);
    EXPECT_TRUE(callbacks->isJitCode(at(0x100)));
    auto records = written();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].timestamp, 42u);
}

TEST_F(CodeMapTest, CompilationFinishedAfterShutdownDoesNothing) {
    start();
    FunctionID f = addFunction(0x1A, registerModule(), {{0x100, 0x40}});
    callbacks->Shutdown();
    int queries = runtime.queries();
    EXPECT_EQ(callbacks->JITCompilationFinished(f, S_OK, 1), S_OK);
    EXPECT_EQ(runtime.queries(), queries);
    EXPECT_FALSE(callbacks->isJitCode(at(0x100)));
}

TEST_F(CodeMapTest, UnloadedFunctionsKeepTheirCode) {
    start();
    FunctionID f = addFunction(0x1B, registerModule(), {{0x100, 0x40}});
    ASSERT_TRUE(callbacks->registerJitCode(f, 1));
    EXPECT_EQ(callbacks->FunctionUnloadStarted(f), S_OK);
    EXPECT_TRUE(callbacks->isJitCode(at(0x100)));
    EXPECT_TRUE(callbacks->registerJitCode(f, 1));
    EXPECT_EQ(written().size(), 1u);
}

TEST_F(CodeMapTest, AddressZeroAsksTheRuntimeNothing) {
    start();
    EXPECT_FALSE(callbacks->registerCodeAtIp(0));
    EXPECT_EQ(runtime.queries(), 0);
}

TEST_F(CodeMapTest, CodeAtAnAddressIsRegisteredForItsFunction) {
    start();
    FunctionID f = addFunction(0x1C, registerModule(), {{0x100, 0x40}});
    runtime.functionAtIp[at(0x120)] = f;
    EXPECT_FALSE(callbacks->registerCodeAtIp(at(0x3000))) << "no function there";
    EXPECT_FALSE(callbacks->isJitCode(at(0x120)));
    EXPECT_TRUE(callbacks->registerCodeAtIp(at(0x120)));
    EXPECT_TRUE(callbacks->isJitCode(at(0x100)));
    auto records = written();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].timestamp, 77u) << "no time given: the module's";
}

TEST_F(CodeMapTest, PlainCallbackForwardsToTheCallbackObject) {
    start();
    FunctionID f = addFunction(0x1D, registerModule(), {{0x100, 0x40}});
    EXPECT_FALSE(registerJitCodeCallback(0, 0));
    EXPECT_TRUE(registerJitCodeCallback(f, 9));
    EXPECT_TRUE(callbacks->isJitCode(at(0x13F)));
}

TEST_F(CodeMapTest, ConcurrentRegistrationsRecordEachBodyOnce) {
    start();
    ModuleID module = registerModule();
    const int functions = 200;
    for (int i = 0; i < functions; ++i) addFunction(0x1000 + i, module, {{size_t(i) * 0x100, 0x80}});
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int n = 0; n < functions; ++n) {
                int i = (n * 7 + t * 13) % functions;
                callbacks->registerJitCode(0x1000 + i, 1);
                callbacks->isJitCode(at(size_t(i) * 0x100 + 0x10));
            }
        });
    }
    for (std::thread& t : threads) t.join();
    for (int i = 0; i < functions; ++i) EXPECT_TRUE(callbacks->isJitCode(at(size_t(i) * 0x100 + 0x7F)));
    EXPECT_EQ(written().size(), size_t(functions));
}

TEST_F(CodeMapTest, FailingWriterEndsTheProcessWithTheAssertion) {
    start();
    FunctionID f = addFunction(0x1E, registerModule(), {{0x100, 0x40}});
    EXPECT_EXIT(
        {
            JITWriter::instance().close();
            callbacks->registerJitCode(f, 1);
        },
        ::testing::ExitedWithCode(3), "VESKMRTE1_ASSERT at:src/clrprof/jit_code_map\\.cpp:[0-9]+ 'er == meSuccess'");
}
