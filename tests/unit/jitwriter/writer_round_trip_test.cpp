// Records written through the exported functions read back field for field.
#include "test_support.h"

#include "plovat/jit_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sys/stat.h>
#include <memory>

using namespace jittest;

namespace {

TEST(WriterRoundTrip, RecordWithRangesIlMapAndNonAsciiModuleName) {
    TempDir dir;
    OwnedRecord r;
    r.record.methodToken = 0x06001234;
    r.record.classId = 0xFEDCBA9876543210ULL;  // every byte distinct: catches byte-order slips
    r.record.classToken = 0x02000042;
    r.record.moduleId = 0x0123456789ABCDEFULL;
    r.record.registeredModuleId = 0x1122334455667788ULL;
    r.record.timestamp = 0x8000000000000001ULL;
    r.record.flags = plovat1::kModuleKnown | plovat1::kClassKnown | 0x40000000;  // unknown bits kept too
    r.moduleFileName = "/opt/\xC3\xBC" "ber/\xE6\x97\xA5\xE6\x9C\xAC/\xF0\x9F\x98\x80.dll";
    r.addRange(0x00007F0000001000ULL, 300, 300, 1);
    r.addRange(0x00007F0000900000ULL, 64, 16, 2);  // only the first bytes copied
    r.addRange(0xFFFFFFFFFFFFFFF0ULL, 0, 0, 3);    // zero-length block, null code
    r.ilMap = {{0, 10, 0}, {10, 30, 5}, {30, 300, 0xFFFFFFFF}};
    const plovat1::JitRecord* record = r.finish();

    std::string path = dir.file("one.jit");
    ASSERT_TRUE(writeFile(path, {record}));
    ReadBack back = readFile(path);
    ASSERT_EQ(back.open, jitfile::OpenResult::ok) << back.error;
    ASSERT_EQ(back.last, jitfile::ReadResult::end) << back.error;
    ASSERT_EQ(back.records.size(), 1u);
    const jitfile::MethodRecord& got = back.records[0];
    EXPECT_EQ(got.methodToken, 0x06001234u);
    EXPECT_EQ(got.classId, 0xFEDCBA9876543210ULL);
    EXPECT_EQ(got.classToken, 0x02000042u);
    EXPECT_EQ(got.moduleId, 0x0123456789ABCDEFULL);
    EXPECT_EQ(got.registeredModuleId, 0x1122334455667788ULL);
    EXPECT_EQ(got.timestamp, 0x8000000000000001ULL);
    EXPECT_EQ(got.flags, record->flags);
    EXPECT_EQ(got.moduleFileName, r.moduleFileName);
    ASSERT_EQ(got.codeRanges.size(), 3u);
    EXPECT_EQ(got.codeRanges[0].start, 0x00007F0000001000ULL);
    EXPECT_EQ(got.codeRanges[0].size, 300u);
    EXPECT_EQ(got.codeRanges[0].code, r.code[0]);
    EXPECT_EQ(got.codeRanges[1].size, 64u);
    EXPECT_EQ(got.codeRanges[1].code, r.code[1]);
    EXPECT_EQ(got.codeRanges[2].start, 0xFFFFFFFFFFFFFFF0ULL);
    EXPECT_EQ(got.codeRanges[2].size, 0u);
    EXPECT_TRUE(got.codeRanges[2].code.empty());
    ASSERT_EQ(got.ilMap.size(), 3u);
    EXPECT_EQ(got.ilMap[1].nativeStart, 10u);
    EXPECT_EQ(got.ilMap[1].nativeEnd, 30u);
    EXPECT_EQ(got.ilMap[1].ilOffset, 5u);
    EXPECT_EQ(got.ilMap[2].ilOffset, 0xFFFFFFFFu);
}

TEST(WriterRoundTrip, PartsWithFlagsClearAreNotRead) {
    // A clear flag means the caller did not fill the part in: its pointer may
    // be stale and must not be followed, even with a nonzero count.
    plovat1::JitRecord record;
    std::memset(&record, 0xA5, sizeof record);
    record.flags = 0;
    record.methodToken = 0x06000001;
    record.timestamp = 5;

    TempDir dir;
    std::string path = dir.file("bare.jit");
    ASSERT_TRUE(writeFile(path, {&record}));
    ReadBack back = readFile(path);
    ASSERT_EQ(back.last, jitfile::ReadResult::end) << back.error;
    ASSERT_EQ(back.records.size(), 1u);
    EXPECT_EQ(back.records[0].methodToken, 0x06000001u);
    EXPECT_EQ(back.records[0].flags, 0u);
    EXPECT_TRUE(back.records[0].moduleFileName.empty());
    EXPECT_TRUE(back.records[0].codeRanges.empty());
    EXPECT_TRUE(back.records[0].ilMap.empty());
}

TEST(WriterRoundTrip, PresentPartsMayBeEmpty) {
    OwnedRecord r;
    r.record.flags = plovat1::kCodeRangesPresent | plovat1::kIlMapPresent | plovat1::kModuleFileNamePresent;
    r.record.moduleFileName = "";
    TempDir dir;
    std::string path = dir.file("empty-parts.jit");
    ASSERT_TRUE(writeFile(path, {&r.record}));
    ReadBack back = readFile(path);
    ASSERT_EQ(back.records.size(), 1u);
    EXPECT_TRUE(back.records[0].codeRanges.empty());
    EXPECT_TRUE(back.records[0].ilMap.empty());
    EXPECT_EQ(back.last, jitfile::ReadResult::end);
}

TEST(WriterRoundTrip, KeepsNoPointerIntoTheRecord) {
    TempDir dir;
    std::string path = dir.file("copy.jit");
    void* handle = nullptr;
    ASSERT_EQ(plovatJitWriterCreate(&handle, wide(path).c_str(), 0, 0), plovat1::meSuccess);

    // Everything on the heap, so the sanitizer sees any later access.
    std::unique_ptr<OwnedRecord> r(new OwnedRecord(numberedRecord(7)));
    r->moduleFileName = std::string(100, 'm');  // long enough to live on the heap
    const plovat1::JitRecord* record = r->finish();
    ASSERT_EQ(plovatJitWriterWrite(handle, record, 0), plovat1::meSuccess);
    OwnedRecord expected = numberedRecord(7);
    expected.moduleFileName = r->moduleFileName;

    // Scribble over every buffer, then free them, before the writer flushes.
    for (auto& bytes : r->code) std::fill(bytes.begin(), bytes.end(), 0xCC);
    std::fill(r->moduleFileName.begin(), r->moduleFileName.end(), 'X');
    std::memset(r->ilMap.data(), 0xEE, r->ilMap.size() * sizeof(plovat1::IlMapEntry));
    std::memset(r->ranges.data(), 0xDD, r->ranges.size() * sizeof(plovat1::JitCodeRange));
    std::memset(&r->record, 0xBB, sizeof r->record);
    r.reset();

    ASSERT_EQ(plovatJitWriterDestroy(handle), plovat1::meSuccess);
    ReadBack back = readFile(path);
    ASSERT_EQ(back.records.size(), 1u);
    const jitfile::MethodRecord& got = back.records[0];
    EXPECT_EQ(got.methodToken, expected.record.methodToken);
    EXPECT_EQ(got.moduleFileName, std::string(100, 'm'));
    ASSERT_EQ(got.codeRanges.size(), expected.ranges.size());
    for (size_t k = 0; k < got.codeRanges.size(); ++k) EXPECT_EQ(got.codeRanges[k].code, expected.code[k]);
    ASSERT_EQ(got.ilMap.size(), expected.ilMap.size());
    EXPECT_EQ(got.ilMap.back().ilOffset, expected.ilMap.back().ilOffset);
}

TEST(WriterRoundTrip, ManyRecordsAcrossTheBufferBoundary) {
    // Thousands of records of uneven sizes, plus ones far larger than the
    // write buffer, so records straddle every flush point.
    TempDir dir;
    std::string path = dir.file("many.jit");
    void* handle = nullptr;
    ASSERT_EQ(plovatJitWriterCreate(&handle, wide(path).c_str(), 0, 0), plovat1::meSuccess);
    const uint32_t kCount = 3000;
    const uint32_t kHuge = 1234;
    OwnedRecord huge = numberedRecord(kHuge);
    huge.ranges.clear();
    huge.code.clear();
    huge.addRange(0x1000, 300 * 1024, 300 * 1024, 9);
    for (uint32_t i = 0; i < kCount; ++i) {
        OwnedRecord r = numberedRecord(i);
        const plovat1::JitRecord* record = i == kHuge ? huge.finish() : r.finish();
        ASSERT_EQ(plovatJitWriterWrite(handle, record, 0), plovat1::meSuccess) << i;
    }
    ASSERT_EQ(plovatJitWriterDestroy(handle), plovat1::meSuccess);

    ReadBack back = readFile(path);
    ASSERT_EQ(back.last, jitfile::ReadResult::end) << back.error;
    ASSERT_EQ(back.records.size(), kCount);
    for (uint32_t i = 0; i < kCount; ++i) {
        if (i == kHuge) {
            ASSERT_EQ(back.records[i].codeRanges.size(), 1u);
            EXPECT_EQ(back.records[i].codeRanges[0].code, huge.code[0]);
            continue;
        }
        std::string why;
        ASSERT_TRUE(matchesNumbered(i, back.records[i], why)) << why;
    }
}

TEST(WriterRoundTrip, TwoWritersKeepTheirOwnRecords) {
    TempDir dir;
    void* a = nullptr;
    void* b = nullptr;
    ASSERT_EQ(plovatJitWriterCreate(&a, wide(dir.file("a.jit")).c_str(), 0, 0), plovat1::meSuccess);
    ASSERT_EQ(plovatJitWriterCreate(&b, wide(dir.file("b.jit")).c_str(), 0, 0), plovat1::meSuccess);
    EXPECT_NE(a, b);
    for (uint32_t i = 0; i < 10; ++i) {
        OwnedRecord r = numberedRecord(i);
        ASSERT_EQ(plovatJitWriterWrite(i % 2 ? b : a, r.finish(), 0), plovat1::meSuccess);
    }
    ASSERT_EQ(plovatJitWriterDestroy(a), plovat1::meSuccess);
    ASSERT_EQ(plovatJitWriterDestroy(b), plovat1::meSuccess);
    ReadBack backA = readFile(dir.file("a.jit"));
    ReadBack backB = readFile(dir.file("b.jit"));
    ASSERT_EQ(backA.records.size(), 5u);
    ASSERT_EQ(backB.records.size(), 5u);
    for (uint32_t k = 0; k < 5; ++k) {
        EXPECT_EQ(backA.records[k].methodToken, 0x06000000u + 2 * k);
        EXPECT_EQ(backB.records[k].methodToken, 0x06000000u + 2 * k + 1);
    }
}

TEST(WriterRoundTrip, EveryRecordIsInTheFileWhenWriteReturns) {
    // Nothing waits in the process: a reader of the open file (or of what a
    // killed process left) finds each record as soon as it was written.
    TempDir dir;
    std::string path = dir.file("direct.jit");
    void* handle = nullptr;
    ASSERT_EQ(plovatJitWriterCreate(&handle, wide(path).c_str(), 0, 0), plovat1::meSuccess);
    for (uint32_t i = 0; i < 40; ++i) {
        OwnedRecord r = numberedRecord(i);
        ASSERT_EQ(plovatJitWriterWrite(handle, r.finish(), 0), plovat1::meSuccess);
        ReadBack back = readFile(path);
        ASSERT_EQ(back.last, jitfile::ReadResult::unclosed) << back.error;
        ASSERT_EQ(back.records.size(), i + 1);
    }
    ASSERT_EQ(plovatJitWriterDestroy(handle), plovat1::meSuccess);
    EXPECT_EQ(readFile(path).last, jitfile::ReadResult::end);
}

}  // namespace
