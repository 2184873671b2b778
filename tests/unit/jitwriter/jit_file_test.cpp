// The file's bytes against the documented layout (docs/jit-file-format.md),
// built here by hand: the reader shares the writer's constants and would not
// notice a layout both got wrong. Then the reader on cut, damaged, foreign and
// newer files. (What a killed writer leaves is among the integration tests.)
#include "jit_test_support.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace jittest {
namespace {

const uint32_t kFlags = plovat1::kModuleKnown | plovat1::kModuleFileNamePresent | plovat1::kCodeRangesPresent |
                        plovat1::kIlMapPresent;

std::vector<uint8_t> header(uint16_t major, uint16_t minor, uint32_t size, uint32_t pid = 4242, uint64_t created = 1) {
    std::vector<uint8_t> out = {'V', 'E', 'S', 'K', 'J', 'I', 'T', 0};
    for (auto [value, bytes] : {std::pair<uint64_t, int>{major, 2}, {minor, 2}, {size, 4}, {sizeof(void*), 1}, {0, 3},
                                {pid, 4}, {created, 8}})
        putLe(out, value, bytes);
    out.resize(size, 0xEE);  // a newer header's fields
    return out;
}

// One JIT-method record of the fields below with extraFixed unknown bytes in
// its fixed part and trailing ones after it, as a newer minor version adds.
std::vector<uint8_t> methodRecord(uint32_t token, uint16_t extraFixed = 0, uint32_t trailing = 0) {
    std::vector<uint8_t> body;
    for (auto [value, bytes] : {std::pair<uint64_t, int>{1, 2}, {uint64_t(56 + extraFixed), 2}, {token, 4}, {0x02000022, 4},
                                {0x1111111111111133, 8}, {0x2222222222222244, 8}, {0x55, 8}, {0x0102030405060708, 8},
                                {kFlags, 4}, {2, 4}, {1, 4}, {2, 4}})
        putLe(body, value, bytes);
    body.insert(body.end(), extraFixed, 0xAB);
    body.insert(body.end(), {'m', 'x'});
    for (auto [value, bytes] : {std::pair<uint64_t, int>{0xABCDEF, 8}, {5, 4}, {3, 4}, {0x10, 1}, {0x17, 1}, {0x1E, 1},
                                {1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 4}, {6, 4}})
        putLe(body, value, bytes);
    body.insert(body.end(), trailing, 0xCD);
    std::vector<uint8_t> out;
    putLe(out, body.size(), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

OwnedRecord methodRecordFields(uint32_t token) {
    OwnedRecord r;
    r.record.methodToken = token;
    r.record.classToken = 0x02000022;
    r.record.classId = 0x1111111111111133;
    r.record.moduleId = 0x2222222222222244;
    r.record.registeredModuleId = 0x55;
    r.record.timestamp = 0x0102030405060708;
    r.record.flags = plovat1::kModuleKnown;
    r.moduleFileName = "mx";
    r.addRange(0xABCDEF, 5, 3, 0x10);
    r.ilMap = {{1, 2, 3}, {4, 5, 6}};
    r.finish();  // for the flags; the pointers move with r
    return r;
}

std::vector<uint8_t> operator+(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(JitFileLayout, HeaderAndRecordAreExactlyAsDocumented) {
    OwnedRecord r = methodRecordFields(0x06000011);
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("layout.jit"), {r.finish()}));
    const std::vector<uint8_t> bytes = fileBytes(dir.file("layout.jit"));
    ASSERT_GE(bytes.size(), 32u);
    uint64_t created = 0;
    for (int i = 7; i >= 0; --i) created = created << 8 | bytes[24 + i];
    EXPECT_EQ(bytes, header(1, 0, 32, getpid(), created) + methodRecord(0x06000011));
    EXPECT_LT(std::llabs(static_cast<int64_t>(created) - time(nullptr) * 1000000LL), 60 * 1000000LL);  // now, in µs
}

TEST(JitFileReader, SkipsWhatANewerMinorVersionAdds) {
    TempDir dir;
    const std::vector<uint8_t> unknownKind = {12, 0, 0, 0, 9, 0, 4, 0, 1, 2, 3, 4, 5, 6, 7, 8};
    writeBytes(dir.file("v1.7.jit"), header(1, 7, 48) + methodRecord(1) + unknownKind + methodRecord(2, 24) +
                                         methodRecord(3, 0, 40));
    ReadBack back = readFile(dir.file("v1.7.jit"));
    EXPECT_EQ(back.last, jitfile::ReadResult::end) << back.error;
    ASSERT_EQ(back.records.size(), 3u);
    for (uint32_t k = 0; k < 3; ++k) EXPECT_EQ(describe(back.records[k]), methodRecordFields(k + 1).expected());
}

TEST(JitFileReader, ReportsEveryCutAsTruncationAndKeepsTheRecordsBefore) {
    TempDir dir;
    const std::vector<uint8_t> whole = header(1, 0, 32) + methodRecord(1) + methodRecord(2) + methodRecord(3);
    const size_t size = methodRecord(1).size();
    for (size_t cut = 32; cut < whole.size(); ++cut) {
        writeBytes(dir.file("cut.jit"), std::vector<uint8_t>(whole.begin(), whole.begin() + cut));
        ReadBack back = readFile(dir.file("cut.jit"));
        EXPECT_EQ(back.last, (cut - 32) % size ? jitfile::ReadResult::truncated : jitfile::ReadResult::end) << cut;
        ASSERT_EQ(back.records.size(), (cut - 32) / size) << cut;
        for (uint32_t k = 0; k < back.records.size(); ++k)
            EXPECT_EQ(describe(back.records[k]), methodRecordFields(k + 1).expected()) << cut;
    }
}

TEST(JitFileReader, RefusesFilesThatAreNotJitFilesOrOfANewerMajorVersion) {
    TempDir dir;
    using jitfile::OpenResult;
    const std::vector<uint8_t> good = header(1, 0, 32);
    std::vector<uint8_t> wrongMagic = good, tooShort = good, pastTheEnd = good;
    wrongMagic[3] = 'Q';
    tooShort[12] = 16;    // a header size smaller than the header
    pastTheEnd[12] = 64;  // a header longer than the file
    std::vector<std::pair<std::vector<uint8_t>, OpenResult>> files = {
        {wrongMagic, OpenResult::notJitFile}, {tooShort, OpenResult::notJitFile},
        {header(1, 0, 32) + std::vector<uint8_t>(8), OpenResult::ok}, {pastTheEnd, OpenResult::notJitFile},
        {header(2, 0, 32) + methodRecord(1), OpenResult::unsupportedVersion}};
    for (size_t cut = 0; cut < good.size(); ++cut)
        files.push_back({std::vector<uint8_t>(good.begin(), good.begin() + cut), OpenResult::notJitFile});
    for (size_t i = 0; i < files.size(); ++i) {
        writeBytes(dir.file("other.jit"), files[i].first);
        EXPECT_EQ(readFile(dir.file("other.jit")).open, files[i].second) << "file " << i;
    }
    EXPECT_EQ(readFile(dir.file("missing.jit")).open, OpenResult::cannotOpen);
}

// Each row damages one field of the second of three records: the reader must
// stop there with the first record kept, never read past the record.
struct Damage {
    const char* field;
    size_t offset;  // in the record, its length field included
    uint32_t value;
    int bytes;
};

TEST(JitFileReader, RefusesARecordThatContradictsItsLength) {
    const Damage damages[] = {
        {"fixed part shorter than its fields", 6, 40, 2}, {"module file name size", 52, 0xFFFFFF00, 4},
        {"code range count", 56, 0xFFFFFFFF, 4},          {"IL map count", 60, 1000, 4},
        {"copied size of a code range", 78, 0x7FFFFFFF, 4}, {"length too short for the frame", 0, 2, 4},
    };
    TempDir dir;
    const std::vector<uint8_t> good = methodRecord(1);
    for (const Damage& d : damages) {
        std::vector<uint8_t> bad = good;
        for (int i = 0; i < d.bytes; ++i) bad[d.offset + i] = static_cast<uint8_t>(d.value >> (8 * i));
        writeBytes(dir.file("bad.jit"), header(1, 0, 32) + good + bad + good);
        ReadBack back = readFile(dir.file("bad.jit"));
        EXPECT_EQ(back.last, jitfile::ReadResult::malformed) << d.field;
        EXPECT_EQ(back.records.size(), 1u) << d.field;
        EXPECT_NE(back.error.find("offset " + std::to_string(32 + good.size())), std::string::npos) << back.error;
    }
}

}  // namespace
}  // namespace jittest
