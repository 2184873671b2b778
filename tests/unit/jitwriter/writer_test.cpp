// Records written through the exported functions read back field for field;
// bad arguments and failing files give a status, never a crash, and leave the
// file readable. (Concurrent writes come from the runtime's compiling threads
// in the integration tests.)
#include "jit_test_support.h"

#include "plovat/jit_writer.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fstream>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jittest {
namespace {

TEST(WriterRoundTrip, EveryFieldAndPartReadsBackAndNothingIsReadThroughAClearFlag) {
    OwnedRecord rich;
    rich.record.methodToken = 0x06001234;
    rich.record.classId = 0xFEDCBA9876543210;  // every byte distinct: byte-order slips show
    rich.record.classToken = 0x02000042;
    rich.record.moduleId = 0x0123456789ABCDEF;
    rich.record.registeredModuleId = 0x1122334455667788;
    rich.record.timestamp = 0x8000000000000001;
    rich.record.flags = plovat1::kModuleKnown | 0x40000000;  // unknown bits kept too
    rich.moduleFileName = "/opt/\xC3\xBC" "ber/\xF0\x9F\x98\x80.dll";
    rich.addRange(0x00007F0000001000, 300, 300, 1);
    rich.addRange(0x00007F0000900000, 64, 16, 2);  // only the first bytes copied
    rich.addRange(0xFFFFFFFFFFFFFFF0, 0, 0, 3);    // an empty block
    rich.ilMap = {{0, 10, 0}, {10, 30, 5}, {30, 300, 0xFFFFFFFF}};
    // Parts announced present may be empty.
    OwnedRecord empty;
    empty.record.flags = plovat1::kCodeRangesPresent | plovat1::kIlMapPresent;
    // A part whose flag is clear may have a stale pointer and count.
    OwnedRecord stale;
    std::memset(&stale.record, 0xA5, sizeof stale.record);
    stale.record.flags = 0;
    TempDir dir;
    const std::string path = dir.file("\xC3\xA9t\xC3\xA9.jit");  // the UTF-8 name, not a mangled one
    ASSERT_TRUE(writeFile(path, {rich.finish(), empty.finish(), &stale.record}));
    stale.moduleFileName.clear();
    stale.record = {};
    stale.record.methodToken = stale.record.classToken = 0xA5A5A5A5;
    stale.record.classId = stale.record.moduleId = stale.record.registeredModuleId = stale.record.timestamp =
        0xA5A5A5A5A5A5A5A5;
    ReadBack back = readFile(path);
    EXPECT_EQ(back.last, jitfile::ReadResult::end) << back.error;
    ASSERT_EQ(back.records.size(), 3u);
    EXPECT_EQ(describe(back.records[0]), rich.expected());
    EXPECT_EQ(describe(back.records[1]), empty.expected());
    EXPECT_EQ(describe(back.records[2]), stale.expected());
}

TEST(WriterCreate, RefusesBadArgumentsAndEveryNameInUse) {
    // Whatever someone put at the name (a file, a link to one, a dangling
    // link, a device, a directory) is refused and left alone.
    TempDir dir;
    std::ofstream(dir.file("target")) << "keep";
    ASSERT_EQ(symlink(dir.file("target").c_str(), dir.file("link").c_str()), 0);
    ASSERT_EQ(symlink(dir.file("absent").c_str(), dir.file("dangling").c_str()), 0);
    const std::pair<std::string, int> names[] = {
        {dir.file("target"), plovat1::meNameTaken}, {dir.file("link"), plovat1::meNameTaken},
        {dir.file("dangling"), plovat1::meNameTaken}, {"/dev/full", plovat1::meNameTaken},
        {dir.path, plovat1::meNameTaken}, {dir.file("no/such/dir/x.jit"), plovat1::meIoError},
        {"", plovat1::meInvalidArgument}};
    for (const auto& [name, status] : names) {
        void* handle = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(plovatJitWriterCreate(&handle, wide(name).c_str(), 0, 0), status) << name;
        EXPECT_EQ(handle, nullptr) << name;
    }
    void* handle = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(plovatJitWriterCreate(&handle, nullptr, 0, 0), plovat1::meInvalidArgument);
    EXPECT_NE(plovatJitWriterCreate(nullptr, wide(dir.file("x.jit")).c_str(), 0, 0), plovat1::meSuccess);
    EXPECT_EQ(std::ifstream(dir.file("target")).get(), 'k');
    EXPECT_FALSE(std::ifstream(dir.file("absent")).good());
}

TEST(WriterWrite, RefusesBadHandlesAndRecordsAndKeepsTheFileClean) {
    TempDir dir;
    void* handle = nullptr;
    ASSERT_EQ(plovatJitWriterCreate(&handle, wide(dir.file("args.jit")).c_str(), 0, 0), plovat1::meSuccess);
    OwnedRecord good = numberedRecord(1), bad = numberedRecord(2);  // two code ranges, two IL map entries
    ASSERT_EQ(plovatJitWriterWrite(handle, good.finish(), 0), plovat1::meSuccess);
    bad.finish();
    int local = 0;
    EXPECT_EQ(plovatJitWriterWrite(nullptr, good.finish(), 0), plovat1::meInvalidArgument);
    EXPECT_EQ(plovatJitWriterWrite(&local, good.finish(), 0), plovat1::meInvalidArgument);
    EXPECT_EQ(plovatJitWriterWrite(handle, nullptr, 0), plovat1::meInvalidArgument);
    EXPECT_EQ(plovatJitWriterDestroy(&local), plovat1::meInvalidArgument);
    for (int damage = 0; damage < 5; ++damage) {
        plovat1::JitRecord record = bad.record;
        std::vector<plovat1::JitCodeRange> ranges = bad.ranges;
        record.codeRanges = ranges.data();
        if (damage == 0) record.codeRanges = nullptr;
        if (damage == 1) record.ilMap = nullptr;
        if (damage == 2) record.moduleFileName = nullptr;
        if (damage == 3) ranges[1].code = nullptr;                   // code announced, missing
        if (damage == 4) ranges[0].copiedSize = ranges[0].size + 1;  // more copied than the block holds
        EXPECT_EQ(plovatJitWriterWrite(handle, &record, 0), plovat1::meInvalidArgument) << damage;
    }
    ASSERT_EQ(plovatJitWriterWrite(handle, bad.finish(), 0), plovat1::meSuccess);
    ASSERT_EQ(plovatJitWriterDestroy(handle), plovat1::meSuccess);
    // A stale handle is refused, even once another writer exists.
    void* fresh = nullptr;
    ASSERT_EQ(plovatJitWriterCreate(&fresh, wide(dir.file("fresh.jit")).c_str(), 0, 0), plovat1::meSuccess);
    EXPECT_EQ(plovatJitWriterWrite(handle, good.finish(), 0), plovat1::meInvalidArgument);
    EXPECT_EQ(plovatJitWriterDestroy(handle), plovat1::meInvalidArgument);
    EXPECT_EQ(plovatJitWriterDestroy(fresh), plovat1::meSuccess);
    expectNumbered(dir.file("args.jit"), 2, jitfile::ReadResult::end, 1);
    expectNumbered(dir.file("fresh.jit"), 0, jitfile::ReadResult::end);
}

// A file-size limit makes the file's growth fail part-way, as a full disk does.
int writeUntilTheDiskIsFull(const std::string& path) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit = {3 << 20, 3 << 20};  // room for two pieces of the file, not three
    void* handle = nullptr;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0 || plovatJitWriterCreate(&handle, wide(path).c_str(), 0, 0) != plovat1::meSuccess)
        return 10;
    int status = plovat1::meSuccess;
    for (uint32_t i = 0; i < 100000 && status == plovat1::meSuccess; ++i) {
        OwnedRecord r = numberedRecord(i);
        status = plovatJitWriterWrite(handle, r.finish(), 0);
    }
    // Once the file cannot grow nothing more goes in, and closing says so.
    OwnedRecord r = numberedRecord(0);
    return status == plovat1::meIoError && plovatJitWriterWrite(handle, r.finish(), 0) != plovat1::meSuccess &&
                   plovatJitWriterDestroy(handle) != plovat1::meSuccess ? 0 : 12;
}

TEST(WriterWrite, AFullDiskIsReportedAndLeavesAReadablePrefix) {
    TempDir dir;
    EXPECT_EXIT(std::_Exit(writeUntilTheDiskIsFull(dir.file("full.jit"))), ::testing::ExitedWithCode(0), "");
    const size_t count = readFile(dir.file("full.jit")).records.size();
    EXPECT_GT(count, 100u);
    expectNumbered(dir.file("full.jit"), static_cast<uint32_t>(count), jitfile::ReadResult::end);
}

TEST(WriterAtExit, AForkedChildLeavesItsParentsFileAlone) {
    // The child shares the parent's mapping; cutting the file at its exit
    // would cut off what the parent writes later.
    GTEST_FLAG_SET(death_test_style, "fast");
    TempDir dir;
    void* handle = nullptr;
    ASSERT_EQ(plovatJitWriterCreate(&handle, wide(dir.file("fork.jit")).c_str(), 0, 0), plovat1::meSuccess);
    for (uint32_t i = 0; i < 20; ++i) {
        OwnedRecord r = numberedRecord(i);
        ASSERT_EQ(plovatJitWriterWrite(handle, r.finish(), 0), plovat1::meSuccess);
    }
    EXPECT_EXIT(std::exit(0), ::testing::ExitedWithCode(0), "");
    OwnedRecord after = numberedRecord(20);
    ASSERT_EQ(plovatJitWriterWrite(handle, after.finish(), 0), plovat1::meSuccess);
    ASSERT_EQ(plovatJitWriterDestroy(handle), plovat1::meSuccess);
    expectNumbered(dir.file("fork.jit"), 21, jitfile::ReadResult::end);
}

}  // namespace
}  // namespace jittest
