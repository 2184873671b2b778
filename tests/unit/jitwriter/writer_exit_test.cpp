// What a process leaves behind when it ends without destroying its writer.
#include "test_support.h"

#include "plovat/jit_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace jittest;

namespace {

const uint32_t kBuffered = 20;  // well under one buffer: nothing reaches the file before exit

void expectNumbered(const std::string& path, uint32_t count) {
    ReadBack back = readFile(path);
    ASSERT_EQ(back.open, jitfile::OpenResult::ok) << back.error;
    EXPECT_EQ(back.last, jitfile::ReadResult::end) << back.error;
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
    expectNumbered(path, kBuffered + 1);
}

TEST(WriterAtExit, AThreadStuckInAWriteDoesNotHangTheExit) {
    TempDir dir;
    std::string fifo = dir.file("stuck.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(runHelper(fifo, "stuck"), 0);
}

void writeNumbered(void* handle, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        OwnedRecord r = numberedRecord(i);
        ASSERT_EQ(plovatJitWriterWrite(handle, r.finish(), 0), plovat1::meSuccess);
    }
}

TEST(WriterAtExit, AForkedChildDoesNotWriteItsParentsBuffer) {
    // The child inherits the parent's writer with its unflushed records;
    // writing them at the child's exit would duplicate them in the file.
    GTEST_FLAG_SET(death_test_style, "fast");
    TempDir dir;
    std::string path = dir.file("fork.jit");
    void* handle = nullptr;
    ASSERT_EQ(plovatJitWriterCreate(&handle, wide(path).c_str(), 0, 0), plovat1::meSuccess);
    writeNumbered(handle, kBuffered);
    EXPECT_EXIT(std::exit(0), ::testing::ExitedWithCode(0), "");
    ASSERT_EQ(plovatJitWriterDestroy(handle), plovat1::meSuccess);
    expectNumbered(path, kBuffered);
}

}  // namespace
