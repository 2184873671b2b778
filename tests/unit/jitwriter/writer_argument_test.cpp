// Bad arguments and failing files give a status, never a crash, and leave
// the file readable.
#include "test_support.h"

#include "plovat/jit_writer.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace jittest;

namespace {

class WriterArguments : public ::testing::Test {
protected:
    void SetUp() override {
        path = dir.file("args.jit");
        ASSERT_EQ(plovatJitWriterCreate(&handle, wide(path).c_str(), 0, 0), plovat1::meSuccess);
        ASSERT_NE(handle, nullptr);
    }
    void TearDown() override {
        if (handle != nullptr) {
            EXPECT_EQ(plovatJitWriterDestroy(handle), plovat1::meSuccess);
        }
    }
    // Destroys the writer and reads the file back.
    ReadBack finish() {
        EXPECT_EQ(plovatJitWriterDestroy(handle), plovat1::meSuccess);
        handle = nullptr;
        return readFile(path);
    }

    TempDir dir;
    std::string path;
    void* handle = nullptr;
};

TEST(WriterCreate, RefusesMissingArguments) {
    TempDir dir;
    std::basic_string<vesk_wchar> name = wide(dir.file("x.jit"));
    EXPECT_NE(plovatJitWriterCreate(nullptr, name.c_str(), 0, 0), plovat1::meSuccess);
    void* handle = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(plovatJitWriterCreate(&handle, nullptr, 0, 0), plovat1::meInvalidArgument);
    EXPECT_EQ(handle, nullptr);
    handle = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(plovatJitWriterCreate(&handle, VESK_W(""), 0, 0), plovat1::meInvalidArgument);
    EXPECT_EQ(handle, nullptr);
}

TEST(WriterCreate, ReportsAnUnopenableFile) {
    TempDir dir;
    void* handle = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(plovatJitWriterCreate(&handle, wide(dir.file("no/such/dir/x.jit")).c_str(), 0, 0), plovat1::meIoError);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(plovatJitWriterCreate(&handle, wide(dir.path()).c_str(), 0, 0), plovat1::meNameTaken);
    EXPECT_EQ(handle, nullptr);
}

TEST(WriterCreate, NeverOpensANameInUse) {
    // Whatever another user planted at the name (a file, a link to one, a
    // dangling link, a device) is refused, untouched, for a fresh name.
    TempDir dir;
    std::string target = dir.file("target");
    { std::ofstream(target) << "keep"; }
    ASSERT_EQ(symlink(target.c_str(), dir.file("link.jit").c_str()), 0);
    ASSERT_EQ(symlink(dir.file("absent").c_str(), dir.file("dangling.jit").c_str()), 0);
    for (const std::string& name : {target, dir.file("link.jit"), dir.file("dangling.jit"), std::string("/dev/full")}) {
        void* handle = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(plovatJitWriterCreate(&handle, wide(name).c_str(), 0, 0), plovat1::meNameTaken) << name;
        EXPECT_EQ(handle, nullptr);
    }
    std::ifstream in(target);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep");
    struct stat info;
    EXPECT_NE(lstat(dir.file("absent").c_str(), &info), 0) << "the dangling link's target was created";
}

TEST(WriterCreate, TheFileIsTheOwnersAlone) {
    TempDir dir;
    mode_t old = umask(0);
    std::string path = dir.file("private.jit");
    OwnedRecord r = numberedRecord(1);
    bool written = writeFile(path, {r.finish()});
    umask(old);
    ASSERT_TRUE(written);
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

TEST(WriterCreate, OpensNonAsciiFileNames) {
    TempDir dir;
    std::string path = dir.file("\xC3\xA9t\xC3\xA9-\xE6\x97\xA5.jit");
    OwnedRecord r = numberedRecord(1);
    ASSERT_TRUE(writeFile(path, {r.finish()}));
    EXPECT_EQ(readFile(path).records.size(), 1u);  // the UTF-8 name, not a mangled one
}

TEST_F(WriterArguments, RefusesNullAndUnknownHandles) {
    OwnedRecord r = numberedRecord(1);
    EXPECT_EQ(plovatJitWriterWrite(nullptr, r.finish(), 0), plovat1::meInvalidArgument);
    EXPECT_EQ(plovatJitWriterWrite(handle, nullptr, 0), plovat1::meInvalidArgument);
    int local = 0;
    EXPECT_EQ(plovatJitWriterWrite(&local, r.finish(), 0), plovat1::meInvalidArgument);
    EXPECT_EQ(plovatJitWriterDestroy(nullptr), plovat1::meInvalidArgument);
    EXPECT_EQ(plovatJitWriterDestroy(&local), plovat1::meInvalidArgument);
}

TEST_F(WriterArguments, RefusesAHandleAfterDestroy) {
    void* stale = handle;
    ReadBack back = finish();
    OwnedRecord r = numberedRecord(1);
    EXPECT_EQ(plovatJitWriterWrite(stale, r.finish(), 0), plovat1::meInvalidArgument);
    EXPECT_EQ(plovatJitWriterDestroy(stale), plovat1::meInvalidArgument);

    // A new writer must not answer to the old handle.
    void* fresh = nullptr;
    ASSERT_EQ(plovatJitWriterCreate(&fresh, wide(dir.file("fresh.jit")).c_str(), 0, 0), plovat1::meSuccess);
    EXPECT_EQ(plovatJitWriterWrite(stale, r.finish(), 0), plovat1::meInvalidArgument);
    EXPECT_EQ(plovatJitWriterDestroy(fresh), plovat1::meSuccess);
    EXPECT_EQ(readFile(dir.file("fresh.jit")).records.size(), 0u);
}

TEST_F(WriterArguments, RefusesPartsWithNullPointersAndKeepsTheFileClean) {
    OwnedRecord good = numberedRecord(1);
    ASSERT_EQ(plovatJitWriterWrite(handle, good.finish(), 0), plovat1::meSuccess);

    OwnedRecord bad = numberedRecord(2);  // two code ranges, two IL map entries
    bad.finish();
    plovat1::JitRecord record = bad.record;
    record.codeRanges = nullptr;
    EXPECT_EQ(plovatJitWriterWrite(handle, &record, 0), plovat1::meInvalidArgument);

    record = bad.record;
    record.ilMap = nullptr;
    EXPECT_EQ(plovatJitWriterWrite(handle, &record, 0), plovat1::meInvalidArgument);

    record = bad.record;
    record.moduleFileName = nullptr;
    EXPECT_EQ(plovatJitWriterWrite(handle, &record, 0), plovat1::meInvalidArgument);

    // Code bytes announced but missing; more copied than the block holds.
    std::vector<plovat1::JitCodeRange> ranges = bad.ranges;
    record = bad.record;
    record.codeRanges = ranges.data();
    ranges[1].code = nullptr;
    EXPECT_EQ(plovatJitWriterWrite(handle, &record, 0), plovat1::meInvalidArgument);
    ranges = bad.ranges;
    record.codeRanges = ranges.data();
    ranges[0].copiedSize = ranges[0].size + 1;
    EXPECT_EQ(plovatJitWriterWrite(handle, &record, 0), plovat1::meInvalidArgument);

    OwnedRecord after = numberedRecord(3);
    ASSERT_EQ(plovatJitWriterWrite(handle, after.finish(), 0), plovat1::meSuccess);

    ReadBack back = finish();
    ASSERT_EQ(back.last, jitfile::ReadResult::end) << back.error;
    ASSERT_EQ(back.records.size(), 2u);
    std::string why;
    EXPECT_TRUE(matchesNumbered(1, back.records[0], why)) << why;
    EXPECT_TRUE(matchesNumbered(3, back.records[1], why)) << why;
}

// A file-size limit makes writes fail part-way, as a full disk does.
int writeUntilTheDiskIsFull(const std::string& path) {
    signal(SIGXFSZ, SIG_IGN);
    // Room for the first two chunks of the file, not the third.
    rlimit limit = {3 * 1024 * 1024, 3 * 1024 * 1024};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
    void* handle = nullptr;
    if (plovatJitWriterCreate(&handle, wide(path).c_str(), 0, 0) != plovat1::meSuccess) return 11;
    int status = plovat1::meSuccess;
    uint32_t i = 0;
    for (; i < 100000 && status == plovat1::meSuccess; ++i) {
        OwnedRecord r = numberedRecord(i);
        status = plovatJitWriterWrite(handle, r.finish(), 0);
    }
    if (status != plovat1::meIoError) return 12;
    // Once the file cannot grow nothing more is appended to it.
    OwnedRecord r = numberedRecord(0);
    if (plovatJitWriterWrite(handle, r.finish(), 0) == plovat1::meSuccess) return 13;
    if (plovatJitWriterDestroy(handle) == plovat1::meSuccess) return 14;
    return 0;
}

TEST(WriterFailure, AFailedWriteIsReportedAndLeavesAReadablePrefix) {
    TempDir dir;
    std::string path = dir.file("full.jit");
    EXPECT_EXIT(std::_Exit(writeUntilTheDiskIsFull(path)), ::testing::ExitedWithCode(0), "");
    ReadBack back = readFile(path);
    ASSERT_EQ(back.open, jitfile::OpenResult::ok) << back.error;
    EXPECT_GT(back.records.size(), 100u);
    EXPECT_EQ(back.last, jitfile::ReadResult::end) << back.error;
    for (uint32_t i = 0; i < back.records.size(); ++i) {
        std::string why;
        ASSERT_TRUE(matchesNumbered(i, back.records[i], why)) << why;
    }
}

}  // namespace
