// The reader on damaged, foreign and newer files.
#include "test_support.h"

#include <gtest/gtest.h>

using namespace jittest;

namespace {

std::vector<uint8_t> header(uint16_t major, uint16_t minor, uint32_t size) {
    std::vector<uint8_t> out = {'V', 'E', 'S', 'K', 'J', 'I', 'T', 0};
    putLe(out, major, 2);
    putLe(out, minor, 2);
    putLe(out, size, 4);
    putLe(out, 8, 1);
    putLe(out, 0, 3);
    putLe(out, 4242, 4);
    putLe(out, 1700000000000000ULL, 8);
    out.resize(size, 0xEE);  // a newer header's extra fields
    return out;
}

// A JIT-method record: 56 known fixed bytes, extraFixed unknown ones, one
// 2-byte module name, one code range with 3 copied bytes, one IL entry, then
// trailing unknown bytes.
std::vector<uint8_t> methodRecord(uint32_t token, uint16_t extraFixed, uint32_t trailing) {
    std::vector<uint8_t> body;
    putLe(body, 1, 2);
    putLe(body, 56 + extraFixed, 2);
    putLe(body, token, 4);
    putLe(body, 0x02000001, 4);
    putLe(body, 0xC1A55, 8);
    putLe(body, 0x30D, 8);
    putLe(body, 7, 8);
    putLe(body, 99, 8);
    putLe(body, 0x2206, 4);
    putLe(body, 2, 4);
    putLe(body, 1, 4);
    putLe(body, 1, 4);
    body.insert(body.end(), extraFixed, 0xAB);
    body.push_back('m');
    body.push_back('x');
    putLe(body, 0x4000, 8);
    putLe(body, 10, 4);
    putLe(body, 3, 4);
    body.insert(body.end(), {0x90, 0x91, 0xC3});
    putLe(body, 0, 4);
    putLe(body, 3, 4);
    putLe(body, 1, 4);
    body.insert(body.end(), trailing, 0xCD);
    std::vector<uint8_t> out;
    putLe(out, body.size(), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

void append(std::vector<uint8_t>& out, const std::vector<uint8_t>& more) { out.insert(out.end(), more.begin(), more.end()); }

TEST(Reader, ReportsEveryCutAsTruncationAndKeepsTheRecordsBefore) {
    TempDir dir;
    std::string path = dir.file("whole.jit");
    std::vector<OwnedRecord> records;
    std::vector<const plovat1::JitRecord*> pointers;
    for (uint32_t i = 0; i < 5; ++i) records.push_back(numberedRecord(i));
    for (auto& r : records) pointers.push_back(r.finish());
    ASSERT_TRUE(writeFile(path, pointers));
    std::vector<uint8_t> whole = fileBytes(path);
    ReadBack full = readFile(path);
    ASSERT_EQ(full.records.size(), 5u);
    std::vector<uint64_t> ends;
    for (size_t k = 1; k < full.records.size(); ++k) ends.push_back(full.records[k].fileOffset);
    ends.push_back(whole.size());

    std::string cutPath = dir.file("cut.jit");
    for (size_t cut = 32; cut < whole.size(); ++cut) {
        writeBytes(cutPath, std::vector<uint8_t>(whole.begin(), whole.begin() + cut));
        ReadBack back = readFile(cutPath);
        ASSERT_EQ(back.open, jitfile::OpenResult::ok) << cut;
        size_t complete = 0;
        while (complete < ends.size() && ends[complete] <= cut) ++complete;
        ASSERT_EQ(back.records.size(), complete) << "cut at " << cut;
        bool atBoundary = cut == 32 || (complete > 0 && ends[complete - 1] == cut);
        EXPECT_EQ(back.last, atBoundary ? jitfile::ReadResult::end : jitfile::ReadResult::truncated) << cut;
        for (size_t k = 0; k < complete; ++k) {
            std::string why;
            ASSERT_TRUE(matchesNumbered(static_cast<uint32_t>(k), back.records[k], why)) << why;
        }
    }
}

TEST(Reader, RefusesFilesThatAreNotJitFiles) {
    TempDir dir;
    std::string path = dir.file("other.jit");
    std::vector<uint8_t> good = header(1, 0, 32);
    for (size_t cut = 0; cut < good.size(); ++cut) {
        writeBytes(path, std::vector<uint8_t>(good.begin(), good.begin() + cut));
        EXPECT_EQ(readFile(path).open, jitfile::OpenResult::notJitFile) << cut;
    }
    std::vector<uint8_t> wrongMagic = good;
    wrongMagic[3] = 'Q';
    writeBytes(path, wrongMagic);
    ReadBack back = readFile(path);
    EXPECT_EQ(back.open, jitfile::OpenResult::notJitFile);
    EXPECT_NE(back.error.find("magic"), std::string::npos) << back.error;

    writeBytes(path, header(1, 0, 16));  // a header size smaller than the header
    EXPECT_EQ(readFile(path).open, jitfile::OpenResult::notJitFile);

    EXPECT_EQ(readFile(dir.file("missing.jit")).open, jitfile::OpenResult::cannotOpen);
}

TEST(Reader, RefusesANewerMajorVersion) {
    TempDir dir;
    std::string path = dir.file("v2.jit");
    std::vector<uint8_t> bytes = header(2, 0, 32);
    append(bytes, methodRecord(1, 0, 0));
    writeBytes(path, bytes);
    ReadBack back = readFile(path);
    EXPECT_EQ(back.open, jitfile::OpenResult::unsupportedVersion);
    EXPECT_NE(back.error.find("2.0"), std::string::npos) << back.error;
}

TEST(Reader, SkipsWhatANewerMinorVersionAdds) {
    TempDir dir;
    std::string path = dir.file("v1.7.jit");
    std::vector<uint8_t> bytes = header(1, 7, 48);
    append(bytes, methodRecord(0x06000001, 0, 0));
    std::vector<uint8_t> unknownKind = {12, 0, 0, 0, 9, 0, 4, 0, 1, 2, 3, 4, 5, 6, 7, 8};
    append(bytes, unknownKind);
    append(bytes, methodRecord(0x06000002, 24, 0));
    append(bytes, methodRecord(0x06000003, 0, 40));
    writeBytes(path, bytes);

    ReadBack back = readFile(path);
    ASSERT_EQ(back.open, jitfile::OpenResult::ok) << back.error;
    ASSERT_EQ(back.last, jitfile::ReadResult::end) << back.error;
    ASSERT_EQ(back.records.size(), 3u);
    for (uint32_t k = 0; k < 3; ++k) {
        const jitfile::MethodRecord& r = back.records[k];
        EXPECT_EQ(r.methodToken, 0x06000001u + k);
        EXPECT_EQ(r.classId, 0xC1A55u);
        EXPECT_EQ(r.timestamp, 99u);
        EXPECT_EQ(r.moduleFileName, "mx");
        ASSERT_EQ(r.codeRanges.size(), 1u);
        EXPECT_EQ(r.codeRanges[0].code, std::vector<uint8_t>({0x90, 0x91, 0xC3}));
        ASSERT_EQ(r.ilMap.size(), 1u);
        EXPECT_EQ(r.ilMap[0].nativeEnd, 3u);
    }
}

TEST(Reader, RefusesARecordThatContradictsItsLength) {
    TempDir dir;
    std::string path = dir.file("bad.jit");
    std::vector<uint8_t> good = methodRecord(1, 0, 0);
    const size_t rangeCountAt = 4 + 4 + 48;

    // Counts far beyond the record must be refused before anything is sized
    // after them.
    std::vector<uint8_t> huge = good;
    for (int i = 0; i < 4; ++i) huge[rangeCountAt + i] = 0xFF;
    std::vector<uint8_t> bytes = header(1, 0, 32);
    append(bytes, good);
    append(bytes, huge);
    append(bytes, good);
    writeBytes(path, bytes);
    ReadBack back = readFile(path);
    EXPECT_EQ(back.records.size(), 1u);
    EXPECT_EQ(back.last, jitfile::ReadResult::malformed);
    EXPECT_NE(back.error.find("offset " + std::to_string(32 + good.size())), std::string::npos) << back.error;

    // A fixed part shorter than the fields it must hold.
    std::vector<uint8_t> shortFixed = good;
    shortFixed[6] = 40;
    bytes = header(1, 0, 32);
    append(bytes, shortFixed);
    writeBytes(path, bytes);
    EXPECT_EQ(readFile(path).last, jitfile::ReadResult::malformed);

    // A frame too short to hold its kind.
    bytes = header(1, 0, 32);
    append(bytes, {2, 0, 0, 0, 1, 0});
    writeBytes(path, bytes);
    EXPECT_EQ(readFile(path).last, jitfile::ReadResult::malformed);
}

TEST(Reader, AZeroLengthEndsTheRecordsOfAnUnclosedFile) {
    // What a writer whose process died leaves: finished records, then the
    // unused rest of the file, zero or holding the body of a record whose
    // length was not stored yet.
    TempDir dir;
    std::string path = dir.file("unclosed.jit");
    std::vector<uint8_t> unfinished = methodRecord(3, 0, 0);
    std::fill(unfinished.begin(), unfinished.begin() + 4, 0);
    for (const std::vector<uint8_t>& tail : {std::vector<uint8_t>(4096, 0), unfinished}) {
        std::vector<uint8_t> bytes = header(1, 0, 32);
        append(bytes, methodRecord(1, 0, 0));
        append(bytes, methodRecord(2, 0, 0));
        append(bytes, tail);
        writeBytes(path, bytes);
        ReadBack back = readFile(path);
        EXPECT_EQ(back.last, jitfile::ReadResult::unclosed) << back.error;
        ASSERT_EQ(back.records.size(), 2u);
        EXPECT_EQ(back.records[1].methodToken, 2u);
    }
}

}  // namespace
