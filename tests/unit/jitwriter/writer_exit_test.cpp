// What a process leaves behind when it ends without destroying its writer.
#include "test_support.h"

#include "plovat/jit_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace jittest;

namespace {

const uint32_t kBuffered = 20;

void expectNumbered(const std::string& path, uint32_t count,
                    jitfile::ReadResult ending = jitfile::ReadResult::end) {
    ReadBack back = readFile(path);
    ASSERT_EQ(back.open, jitfile::OpenResult::ok) << back.error;
    EXPECT_EQ(back.last, ending) << back.error;
    ASSERT_EQ(back.records.size(), count);
    for (uint32_t i = 0; i < count; ++i) {
        std::string why;
        EXPECT_TRUE(matchesNumbered(i, back.records[i], why)) << why;
    }
}

int runHelper(const std::string& path, const std::string& extra) {
    // A helper that hangs is a failure, not a hung test run.
    std::string command = std::string("timeout 60 '") + JITWRITER_EXIT_HELPER + "' '" + path + "' " +
                          std::to_string(kBuffered) + " " + extra;
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(WriterAtExit, NormalExitFlushesAWriterNeverDestroyed) {
    TempDir dir;
    std::string path = dir.file("exit.jit");
    ASSERT_EQ(runHelper(path, ""), 0);
    expectNumbered(path, kBuffered);
}

TEST(WriterAtExit, RecordsWrittenAfterTheExitFlushStillArrive) {
    TempDir dir;
    std::string path = dir.file("late.jit");
    ASSERT_EQ(runHelper(path, "late"), 0);
    // The late record grew the file again after the exit handler cut it.
    expectNumbered(path, kBuffered + 1, jitfile::ReadResult::unclosed);
}

TEST(WriterAtExit, AProcessThatDiesLeavesEveryRecordItWrote) {
    // No exit code runs (as after SIGKILL): the records are in the file all
    // the same, followed by the unused rest of its last chunk.
    GTEST_FLAG_SET(death_test_style, "fast");
    TempDir dir;
    std::string path = dir.file("killed.jit");
    auto writeAndDie = [&] {
        void* handle = nullptr;
        if (plovatJitWriterCreate(&handle, wide(path).c_str(), 0, 0) != plovat1::meSuccess) std::_Exit(1);
        for (uint32_t i = 0; i < kBuffered; ++i) {
            OwnedRecord r = numberedRecord(i);
            if (plovatJitWriterWrite(handle, r.finish(), 0) != plovat1::meSuccess) std::_Exit(2);
        }
        std::_Exit(0);
    };
    EXPECT_EXIT(writeAndDie(), ::testing::ExitedWithCode(0), "");
    expectNumbered(path, kBuffered, jitfile::ReadResult::unclosed);
}

void writeNumbered(void* handle, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        OwnedRecord r = numberedRecord(i);
        ASSERT_EQ(plovatJitWriterWrite(handle, r.finish(), 0), plovat1::meSuccess);
    }
}

TEST(WriterAtExit, AForkedChildDoesNotWriteItsParentsBuffer) {
    // The child shares the parent's mapping; cutting the file at the
    // child's exit would cut off what the parent writes later.
    GTEST_FLAG_SET(death_test_style, "fast");
    TempDir dir;
    std::string path = dir.file("fork.jit");
    void* handle = nullptr;
    ASSERT_EQ(plovatJitWriterCreate(&handle, wide(path).c_str(), 0, 0), plovat1::meSuccess);
    writeNumbered(handle, kBuffered);
    EXPECT_EXIT(std::exit(0), ::testing::ExitedWithCode(0), "");
    OwnedRecord after = numberedRecord(kBuffered);
    ASSERT_EQ(plovatJitWriterWrite(handle, after.finish(), 0), plovat1::meSuccess);
    ASSERT_EQ(plovatJitWriterDestroy(handle), plovat1::meSuccess);
    expectNumbered(path, kBuffered + 1);
}

}  // namespace
