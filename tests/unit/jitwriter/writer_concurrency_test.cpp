// Callers normally serialise their calls; the writer must hold up when they
// do not.
#include "test_support.h"

#include "plovat/jit_writer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace jittest;

namespace {

TEST(WriterConcurrency, WritesFromManyThreadsStayWhole) {
    TempDir dir;
    std::string path = dir.file("threads.jit");
    void* handle = nullptr;
    ASSERT_EQ(plovatJitWriterCreate(&handle, wide(path).c_str(), 0, 0), plovat1::meSuccess);
    const uint32_t kThreads = 4, kEach = 400;
    std::vector<std::thread> threads;
    std::vector<int> failures(kThreads, 0);
    for (uint32_t t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (uint32_t i = 0; i < kEach; ++i) {
                OwnedRecord r = numberedRecord(t * kEach + i);
                if (plovatJitWriterWrite(handle, r.finish(), 0) != plovat1::meSuccess) ++failures[t];
            }
        });
    }
    for (auto& thread : threads) thread.join();
    ASSERT_EQ(plovatJitWriterDestroy(handle), plovat1::meSuccess);
    for (int f : failures) EXPECT_EQ(f, 0);

    ReadBack back = readFile(path);
    ASSERT_EQ(back.last, jitfile::ReadResult::end) << back.error;
    ASSERT_EQ(back.records.size(), kThreads * kEach);
    std::vector<bool> seen(kThreads * kEach, false);
    for (const auto& record : back.records) {
        uint32_t index = record.methodToken - 0x06000000;
        ASSERT_LT(index, kThreads * kEach);
        EXPECT_FALSE(seen[index]);
        seen[index] = true;
        std::string why;
        EXPECT_TRUE(matchesNumbered(index, record, why)) << why;
    }
}

TEST(WriterConcurrency, DestroyWhileOtherThreadsWrite) {
    // Writes that lose the race to Destroy are refused; none touches a freed
    // writer, and the file ends on a whole record.
    TempDir dir;
    std::string path = dir.file("race.jit");
    void* handle = nullptr;
    ASSERT_EQ(plovatJitWriterCreate(&handle, wide(path).c_str(), 0, 0), plovat1::meSuccess);
    const uint32_t kThreads = 3;
    std::atomic<uint32_t> next(0);
    std::vector<int> lastStatus(kThreads, plovat1::meSuccess);
    std::vector<std::thread> threads;
    for (uint32_t t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            int status = plovat1::meSuccess;
            while (status == plovat1::meSuccess) {
                OwnedRecord r = numberedRecord(next++ % 1000);
                status = plovatJitWriterWrite(handle, r.finish(), 0);
            }
            lastStatus[t] = status;
        });
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(plovatJitWriterDestroy(handle), plovat1::meSuccess);
    for (auto& thread : threads) thread.join();
    for (int status : lastStatus) EXPECT_EQ(status, plovat1::meInvalidArgument);

    ReadBack back = readFile(path);
    EXPECT_EQ(back.last, jitfile::ReadResult::end) << back.error;
    EXPECT_GT(back.records.size(), 0u);
    for (const auto& record : back.records) {
        std::string why;
        ASSERT_TRUE(matchesNumbered(record.methodToken - 0x06000000, record, why)) << why;
    }
}

}  // namespace
