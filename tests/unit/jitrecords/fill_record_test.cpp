// Filling one JIT record from the runtime's answers, and freeing it.
#include "clrprof/jit_record.h"
#include "clrprof/module.h"
#include "clrprof/module_manager.h"
#include "clrprof/result.h"
#include "fake_runtime.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
// The address sanitizer's own answer to how large a heap block is.
extern "C" size_t __sanitizer_get_allocated_size(const volatile void* p);
#endif

using namespace veskmrte_1_0;
using namespace jitrecords_test;
using plovat1::JitRecord;

namespace {

const FunctionID kFunction = 0xF00;
const ModuleID kModule = 0x3300;
const ClassID kClass = 0xC1A5;

class FillRecord : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&record, 0, sizeof(record));
        FakeFunction& f = runtime.functions[kFunction];
        f.classId = kClass;
        f.moduleId = kModule;
        f.token = 0x06000011;
        f.typeDef = 0x02000007;
        FakeBody body;
        body.blocks = {arena.block(0x100, 0x40), arena.block(0x2000, 0x18)};
        body.ilMap = {{0, 0x10, 0x14}, {0xFFFFFFFE, 0, 0x10}, {5, 0x14, 0x30}, {0xFFFFFFFD, 0x30, 0x40}};
        f.bodies.push_back(body);
    }
    void TearDown() override { freeJitRecord(record); }

    void registerModule(const vesk::WChar* name) {
        ASSERT_EQ(modules.addModule(kModule, new Module(kModule, 0x10000, 0x1000, name, nullptr, nullptr, nullptr,
                                                        77, false)),
                  meSuccess);
    }
    bool fill() { return fillJitRecord(&runtime, modules, kFunction, record); }

    CodeArena arena;
    FakeRuntime runtime;
    ModuleManager modules;
    alignas(8) JitRecord record;
};

// The record is packed, so its pointer fields may sit off their natural
// alignment: they are read by value, never bound to a reference.
template <typename T>
T value(T field) {
    return field;
}

bool allZero(const JitRecord& r) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&r);
    for (size_t i = 0; i < sizeof(r); ++i)
        if (p[i] != 0) return false;
    return true;
}

}  // namespace

TEST_F(FillRecord, WithoutRuntimeInterfaceFillsNothing) {
    registerModule(VESK_W("/app/App.dll"));
    EXPECT_FALSE(fillJitRecord(nullptr, modules, kFunction, record));
    EXPECT_TRUE(allZero(record));
}

TEST_F(FillRecord, TwoCodeBlocksEachGetTheirOwnCopy) {
    registerModule(VESK_W("/app/App.dll"));
    ASSERT_TRUE(fill());
    EXPECT_EQ(record.flags, 0x22206u);
    ASSERT_EQ(record.codeRangeCount, 2u);
    const uint64_t starts[] = {arena.address(0x100), arena.address(0x2000)};
    const uint32_t sizes[] = {0x40, 0x18};
    const size_t offsets[] = {0x100, 0x2000};
    for (int i = 0; i < 2; ++i) {
        const plovat1::JitCodeRange& r = record.codeRanges[i];
        EXPECT_EQ(r.start, starts[i]);
        EXPECT_EQ(r.size, sizes[i]);
        EXPECT_EQ(r.copiedSize, sizes[i]);
        ASSERT_NE(r.code, nullptr);
        EXPECT_NE(r.code, arena.bytes(offsets[i])) << "a copy, not the code itself";
        EXPECT_EQ(std::memcmp(r.code, arena.bytes(offsets[i]), sizes[i]), 0);
    }
    EXPECT_NE(record.codeRanges[0].code, record.codeRanges[1].code);
}

TEST_F(FillRecord, MethodClassAndModuleFieldsSitWhereTheWriterReadsThem) {
    registerModule(VESK_W("/app/App.dll"));
    ASSERT_TRUE(fill());
    const uint8_t* raw = reinterpret_cast<const uint8_t*>(&record);
    uint32_t u32;
    uint64_t u64;
    std::memcpy(&u32, raw + 0, 4);
    EXPECT_EQ(u32, 0x06000011u);
    std::memcpy(&u64, raw + 16, 8);
    EXPECT_EQ(u64, kClass);
    std::memcpy(&u32, raw + 24, 4);
    EXPECT_EQ(u32, 0x02000007u);
    std::memcpy(&u64, raw + 32, 8);
    EXPECT_EQ(u64, kModule);
    std::memcpy(&u64, raw + 64, 8);
    EXPECT_EQ(u64, kModule);
    const char* name = nullptr;
    std::memcpy(&name, raw + 72, sizeof(name));
    EXPECT_STREQ(name, "/app/App.dll");
    std::memcpy(&u32, raw + 88, 4);
    EXPECT_EQ(u32, 0u);
    EXPECT_EQ(record.timestamp, 0u) << "the time stamp is the registration's business";
}

TEST_F(FillRecord, IlMapKeepsOrdinaryOffsetsInOrderAndRearrangesThem) {
    registerModule(VESK_W("/app/App.dll"));
    ASSERT_TRUE(fill());
    ASSERT_EQ(record.ilMapCount, 2u);
    EXPECT_EQ(record.ilMap[0].nativeStart, 0x10u);
    EXPECT_EQ(record.ilMap[0].nativeEnd, 0x14u);
    EXPECT_EQ(record.ilMap[0].ilOffset, 0u);
    EXPECT_EQ(record.ilMap[1].nativeStart, 0x14u);
    EXPECT_EQ(record.ilMap[1].nativeEnd, 0x30u);
    EXPECT_EQ(record.ilMap[1].ilOffset, 5u);
}

TEST_F(FillRecord, SpecialIlOffsetsOnlySetTheFlagWithNoEntries) {
    registerModule(VESK_W("/app/App.dll"));
    runtime.functions[kFunction].bodies[0].ilMap = {
        {0xFFFFFFFF, 0, 1}, {0xFFFFFFFE, 1, 2}, {0xFFFFFFFD, 2, 3}, {0xFDFDFDFD, 3, 4}};
    ASSERT_TRUE(fill());
    EXPECT_NE(record.flags & plovat1::kIlMapPresent, 0u);
    EXPECT_EQ(record.ilMapCount, 0u);
    EXPECT_EQ(value(record.ilMap), nullptr);
}

TEST_F(FillRecord, EmptyIlMapSetsTheFlagWithNoEntries) {
    registerModule(VESK_W("/app/App.dll"));
    runtime.functions[kFunction].bodies[0].ilMap.clear();
    ASSERT_TRUE(fill());
    EXPECT_NE(record.flags & plovat1::kIlMapPresent, 0u);
    EXPECT_EQ(record.ilMapCount, 0u);
}

TEST_F(FillRecord, UnknownModuleYieldsFalseWithRangesAndMethodFieldsFilled) {
    ASSERT_FALSE(fill());
    EXPECT_EQ(record.codeRangeCount, 2u);
    EXPECT_EQ(record.methodToken, 0x06000011u);
    EXPECT_EQ(record.classId, kClass);
    EXPECT_EQ(record.classToken, 0x02000007u);
    EXPECT_EQ(record.moduleId, kModule);
    EXPECT_EQ(record.ilMapCount, 2u);
    EXPECT_EQ(record.registeredModuleId, 0u);
    EXPECT_EQ(record.moduleFileName, nullptr);
    EXPECT_EQ(record.flags, 0x20206u) << "no module file name";
}

TEST_F(FillRecord, NonAsciiModuleNameIsStoredAsUtf8SizedForIt) {
    // U+00DC, U+4E2D and U+1F600 take 2, 3 and 4 bytes in UTF-8.
    const vesk::WChar name[] = {u'/', 0x00DC, u'/', 0x4E2D, 0xD83D, 0xDE00, u'.', u'd', u'l', u'l', 0};
    registerModule(name);
    ASSERT_TRUE(fill());
    ASSERT_NE(record.moduleFileName, nullptr);
    const std::string expected = "/\xC3\x9C/\xE4\xB8\xAD\xF0\x9F\x98\x80.dll";
    EXPECT_EQ(std::string(record.moduleFileName), expected);
    EXPECT_NE(record.flags & plovat1::kModuleFileNamePresent, 0u);
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(__sanitizer_get_allocated_size(record.moduleFileName), expected.size() + 1);
#endif
}

TEST_F(FillRecord, FailingCodeQueriesLeaveNoCodeRanges) {
    registerModule(VESK_W("/app/App.dll"));
    for (unsigned call : {kCodeInfoCount, kCodeInfoFetch}) {
        runtime.failing = call;
        EXPECT_FALSE(fill());
        EXPECT_TRUE(allZero(record)) << "call " << call;
    }
}

TEST_F(FillRecord, FailingFunctionInfoKeepsTheCodeRanges) {
    registerModule(VESK_W("/app/App.dll"));
    runtime.failing = kFunctionInfo;
    EXPECT_FALSE(fill());
    EXPECT_EQ(record.flags, plovat1::kCodeRangesPresent);
    EXPECT_EQ(record.codeRangeCount, 2u);
    EXPECT_EQ(record.ilMapCount, 0u);
}

TEST_F(FillRecord, FailingClassQueryKeepsTheMethodFields) {
    registerModule(VESK_W("/app/App.dll"));
    runtime.failing = kClassInfo;
    EXPECT_FALSE(fill());
    EXPECT_EQ(record.flags, 0x206u);
    EXPECT_EQ(record.classId, kClass);
    EXPECT_EQ(record.classToken, 0u);
    EXPECT_EQ(record.methodToken, 0x06000011u);
}

TEST_F(FillRecord, FailingIlMapQueriesLeaveOnlyTheMapOut) {
    registerModule(VESK_W("/app/App.dll"));
    for (unsigned call : {kIlMapCount, kIlMapFetch}) {
        runtime.failing = call;
        EXPECT_TRUE(fill());
        EXPECT_EQ(record.flags, 0x2206u) << "call " << call;
        EXPECT_EQ(record.ilMapCount, 0u);
        EXPECT_EQ(value(record.ilMap), nullptr);
        freeJitRecord(record);
        std::memset(&record, 0, sizeof(record));
    }
}

TEST_F(FillRecord, LargeIlMapKeepsEveryOrdinaryEntryInOrder) {
    registerModule(VESK_W("/app/App.dll"));
    std::vector<COR_DEBUG_IL_TO_NATIVE_MAP>& map = runtime.functions[kFunction].bodies[0].ilMap;
    map.clear();
    for (uint32_t i = 0; i < 300; ++i) map.push_back({i % 3 == 0 ? 0xFFFFFFFEu : i, i * 4, i * 4 + 4});
    ASSERT_TRUE(fill());
    ASSERT_EQ(record.ilMapCount, 200u);
    EXPECT_EQ(record.ilMap[0].ilOffset, 1u);
    EXPECT_EQ(record.ilMap[0].nativeStart, 4u);
    EXPECT_EQ(record.ilMap[199].ilOffset, 299u);
    EXPECT_EQ(record.ilMap[199].nativeStart, 299u * 4);
    EXPECT_EQ(record.ilMap[199].nativeEnd, 300u * 4);
}

TEST_F(FillRecord, NoClassMeansNoClassQueryAndNoClassFlag) {
    registerModule(VESK_W("/app/App.dll"));
    runtime.functions[kFunction].classId = 0;
    ASSERT_TRUE(fill());
    EXPECT_EQ(runtime.classInfoCalls, 0);
    EXPECT_EQ(record.flags & plovat1::kClassKnown, 0u);
    EXPECT_EQ(record.classToken, 0u);
}

TEST_F(FillRecord, EmptyBlockHasNoCopy) {
    registerModule(VESK_W("/app/App.dll"));
    runtime.functions[kFunction].bodies[0].blocks = {arena.block(0x100, 0x40), arena.block(0x300, 0)};
    ASSERT_TRUE(fill());
    ASSERT_EQ(record.codeRangeCount, 2u);
    EXPECT_EQ(record.codeRanges[1].size, 0u);
    EXPECT_EQ(record.codeRanges[1].copiedSize, 0u);
    EXPECT_EQ(record.codeRanges[1].code, nullptr);
}

TEST_F(FillRecord, ALaterBodyIsDescribedByItsOwnStart) {
    registerModule(VESK_W("/app/App.dll"));
    FakeBody later;
    later.blocks = {arena.block(0x4000, 0x20)};
    later.ilMap = {{3, 0, 8}};
    runtime.functions[kFunction].bodies.push_back(later);
    ASSERT_TRUE(fillJitRecordAt(&runtime, modules, kFunction, arena.address(0x4000), record));
    ASSERT_EQ(record.codeRangeCount, 1u);
    EXPECT_EQ(record.codeRanges[0].start, arena.address(0x4000));
    EXPECT_EQ(std::memcmp(record.codeRanges[0].code, arena.bytes(0x4000), 0x20), 0);
    ASSERT_EQ(record.ilMapCount, 1u);
    EXPECT_EQ(record.ilMap[0].ilOffset, 3u);
    EXPECT_EQ(record.methodToken, 0x06000011u);
}

TEST_F(FillRecord, BodyStartsListEveryBodyWithCode) {
    for (size_t offset : {0x4000, 0x5000, 0x6000, 0x7000, 0x8000, 0x9000, 0xA000, 0xB000, 0xC000}) {
        FakeBody body;
        body.blocks = {arena.block(offset, 8)};
        runtime.functions[kFunction].bodies.push_back(body);
    }
    std::vector<uintptr_t> starts = {1, 2, 3};
    ASSERT_TRUE(codeBodyStarts(&runtime, kFunction, starts));
    ASSERT_EQ(starts.size(), 10u) << "more than one query's worth";
    EXPECT_EQ(starts[0], arena.address(0x100));
    EXPECT_EQ(starts[9], arena.address(0xC000));
    runtime.failing = kBodyStarts;
    EXPECT_FALSE(codeBodyStarts(&runtime, kFunction, starts));
    EXPECT_TRUE(starts.empty());
}

TEST_F(FillRecord, FreeingClearsEverythingAndTwiceIsHarmless) {
    registerModule(VESK_W("/app/App.dll"));
    ASSERT_TRUE(fill());
    freeJitRecord(record);
    EXPECT_EQ(value(record.codeRanges), nullptr);
    EXPECT_EQ(record.codeRangeCount, 0u);
    EXPECT_EQ(value(record.ilMap), nullptr);
    EXPECT_EQ(record.ilMapCount, 0u);
    EXPECT_EQ(record.moduleFileName, nullptr);
    freeJitRecord(record);
}
