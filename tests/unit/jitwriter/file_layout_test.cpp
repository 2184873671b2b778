// The bytes on disk match the documented layout (docs/jit-file-format.md),
// independently of the reader, which shares the writer's constants and so
// would not notice a layout both got wrong.
#include "test_support.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace jittest;

namespace {

uint64_t get(const std::vector<uint8_t>& in, size_t at, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | in[at + i];
    return v;
}

TEST(FileLayout, HeaderAndOneRecordAreExactlyAsDocumented) {
    OwnedRecord r;
    r.record.methodToken = 0x06000011;
    r.record.classToken = 0x02000022;
    r.record.classId = 0x1111111111111133ULL;
    r.record.moduleId = 0x2222222222222244ULL;
    r.record.registeredModuleId = 0x55;
    r.record.timestamp = 0x0102030405060708ULL;
    r.record.flags = plovat1::kModuleKnown | plovat1::kClassKnown;
    r.moduleFileName = "m.dll";
    r.addRange(0xABCDEF, 5, 3, 0x10);
    r.ilMap = {{1, 2, 3}};
    r.finish();

    TempDir dir;
    std::string path = dir.file("layout.jit");
    ASSERT_TRUE(writeFile(path, {&r.record}));
    std::vector<uint8_t> bytes = fileBytes(path);

    std::vector<uint8_t> want = {'V', 'E', 'S', 'K', 'J', 'I', 'T', 0};
    putLe(want, 1, 2);   // major
    putLe(want, 0, 2);   // minor
    putLe(want, 32, 4);  // header size
    putLe(want, sizeof(void*), 1);
    putLe(want, 0, 3);
    putLe(want, static_cast<uint32_t>(getpid()), 4);
    ASSERT_GE(bytes.size(), 32u);
    uint64_t created = get(bytes, 24, 8);
    putLe(want, created, 8);
    const uint32_t body = 2 + 2 + 56 + 5 + (16 + 3) + 12;
    putLe(want, body, 4);
    putLe(want, 1, 2);   // kind: JIT method
    putLe(want, 56, 2);  // fixed part
    putLe(want, 0x06000011, 4);
    putLe(want, 0x02000022, 4);
    putLe(want, 0x1111111111111133ULL, 8);
    putLe(want, 0x2222222222222244ULL, 8);
    putLe(want, 0x55, 8);
    putLe(want, 0x0102030405060708ULL, 8);
    putLe(want, r.record.flags, 4);
    putLe(want, 5, 4);  // module file name bytes
    putLe(want, 1, 4);  // code ranges
    putLe(want, 1, 4);  // IL map entries
    for (char c : std::string("m.dll")) want.push_back(static_cast<uint8_t>(c));
    putLe(want, 0xABCDEF, 8);
    putLe(want, 5, 4);
    putLe(want, 3, 4);
    want.insert(want.end(), r.code[0].begin(), r.code[0].end());
    putLe(want, 1, 4);
    putLe(want, 2, 4);
    putLe(want, 3, 4);
    EXPECT_EQ(bytes, want);

    // The creation time is the wall clock, in microseconds.
    int64_t nowMicros = static_cast<int64_t>(time(nullptr)) * 1000000;
    EXPECT_LT(std::llabs(static_cast<int64_t>(created) - nowMicros), 60LL * 1000000);
}

}  // namespace
