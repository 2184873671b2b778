// Filling one JIT record from the runtime's answers.
#include "clrprof/module.h"
#include "clrprof/module_manager.h"
#include "clrprof/result.h"
#include "fake_runtime.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace veskmrte_1_0;
using namespace jitrecords_test;
using plovat1::JitRecord;

namespace {

const FunctionID kFunction = 0xF00;
const ModuleID kModule = 0x3300;
const ClassID kClass = 0xC1A5;
// Every flag: module and class known, code ranges, module file name, IL map.
const uint32_t kAllFlags = 0x22206;

class FillRecord : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&record, 0, sizeof(record));
        runtime.functions[kFunction] = FakeFunction{
            kClass, kModule, 0x06000011, 0x02000007,
            {FakeBody{{arena.block(0x100, 0x40), arena.block(0x2000, 0x18)},
                      {{0, 0x10, 0x14}, {0xFFFFFFFE, 0, 0x10}, {5, 0x14, 0x30}, {0xFFFFFFFD, 0x30, 0x40}}}}};
    }
    void TearDown() override { freeJitRecord(record); }

    static void registerModule(ModuleManager& modules, const vesk::WChar* name) {
        ASSERT_EQ(modules.addModule(kModule, new Module(kModule, 0x10000, 0x1000, name, nullptr, nullptr, nullptr,
                                                        77, false)),
                  meSuccess);
    }

    CodeArena arena;
    FakeRuntime runtime;
    alignas(8) JitRecord record;
};

}  // namespace

TEST_F(FillRecord, CopiesTheCodeAndKeepsOrdinaryIlOffsetsAndTheModuleName) {
    // U+00DC, U+4E2D and U+1F600 take 2, 3 and 4 bytes in UTF-8.
    const vesk::WChar name[] = {u'/', 0x00DC, u'/', 0x4E2D, 0xD83D, 0xDE00, u'.', u'd', u'l', u'l', 0};
    ModuleManager modules;
    registerModule(modules, name);
    ASSERT_TRUE(fillJitRecord(&runtime, modules, kFunction, record));
    EXPECT_EQ(record.flags, kAllFlags);
    EXPECT_EQ(std::string(record.moduleFileName), "/\xC3\x9C/\xE4\xB8\xAD\xF0\x9F\x98\x80.dll");
    EXPECT_EQ(record.methodToken, 0x06000011u);
    EXPECT_EQ(record.classId, kClass);
    EXPECT_EQ(record.classToken, 0x02000007u);
    EXPECT_EQ(record.registeredModuleId, kModule);
    ASSERT_EQ(record.codeRangeCount, 2u);
    const size_t offsets[] = {0x100, 0x2000};
    const uint32_t sizes[] = {0x40, 0x18};
    for (int i = 0; i < 2; ++i) {
        const plovat1::JitCodeRange& r = record.codeRanges[i];
        EXPECT_EQ(r.start, arena.address(offsets[i]));
        EXPECT_EQ(r.size, sizes[i]);
        EXPECT_EQ(r.copiedSize, sizes[i]);
        EXPECT_NE(r.code, arena.bytes(offsets[i])) << "a copy, not the code itself";
        EXPECT_EQ(std::memcmp(r.code, arena.bytes(offsets[i]), sizes[i]), 0);
    }
    // The prologue and epilogue entries have no IL offset to map.
    ASSERT_EQ(record.ilMapCount, 2u);
    EXPECT_EQ(record.ilMap[0].nativeStart, 0x10u);
    EXPECT_EQ(record.ilMap[0].nativeEnd, 0x14u);
    EXPECT_EQ(record.ilMap[0].ilOffset, 0u);
    EXPECT_EQ(record.ilMap[1].nativeStart, 0x14u);
    EXPECT_EQ(record.ilMap[1].nativeEnd, 0x30u);
    EXPECT_EQ(record.ilMap[1].ilOffset, 5u);
}

TEST_F(FillRecord, AFailingQueryLeavesOutWhatItWouldHaveFilled) {
    struct Case {
        const char* guards;
        unsigned failing;
        bool moduleKnown;
        bool filled;
        uint32_t flags;
        uint32_t codeRanges;
        uint32_t ilEntries;
    } cases[] = {
        {"ranges counted but not fetched are written", kCodeInfoCount, true, false, 0, 0, 0},
        {"ranges not fetched are written", kCodeInfoFetch, true, false, 0, 0, 0},
        {"a record without its method is written", kFunctionInfo, true, false, plovat1::kCodeRangesPresent, 2, 0},
        {"a record without its class token is written", kClassInfo, true, false, 0x206, 2, 0},
        {"a missing IL map drops the record", kIlMapCount, true, true, kAllFlags - plovat1::kIlMapPresent, 2, 0},
        {"a missing IL map drops the record", kIlMapFetch, true, true, kAllFlags - plovat1::kIlMapPresent, 2, 0},
        {"code of a module never registered is named", 0, false, false, kAllFlags - plovat1::kModuleFileNamePresent, 2,
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.guards);
        ModuleManager fresh;
        if (c.moduleKnown) registerModule(fresh, VESK_W("/app/App.dll"));
        runtime.failing = c.failing;
        EXPECT_EQ(c.filled, fillJitRecord(&runtime, fresh, kFunction, record));
        EXPECT_EQ(c.flags, record.flags);
        EXPECT_EQ(c.codeRanges, record.codeRangeCount);
        EXPECT_EQ(c.ilEntries, record.ilMapCount);
        freeJitRecord(record);
        std::memset(&record, 0, sizeof(record));
    }
}

// Most functions have a few bodies; more than one query holds must be
// asked for again.
TEST_F(FillRecord, EveryCodeBodyStartIsListed) {
    for (size_t offset = 0x4000; offset <= 0xC000; offset += 0x1000)
        runtime.functions[kFunction].bodies.push_back(FakeBody{{arena.block(offset, 0x20)}, {}});
    std::vector<uintptr_t> starts = {1, 2, 3};
    ASSERT_TRUE(codeBodyStarts(&runtime, kFunction, starts));
    ASSERT_EQ(starts.size(), 10u);
    EXPECT_EQ(starts[9], arena.address(0xC000));
    runtime.failing = kBodyStarts;
    EXPECT_FALSE(codeBodyStarts(&runtime, kFunction, starts));
    EXPECT_TRUE(starts.empty());
}
