// Registering JIT code with a started callback object over the fake runtime:
// the map of recorded code that stack walks consult, and one record per code
// body in the JIT file, read back. What the integration suite sees in real
// programs is not repeated here.
#include "clrprof/clr_callbacks.h"
#include "clrprof/jit_writer.h"
#include "clrprof/module.h"
#include "clrprof/module_manager.h"
#include "clrprof/result.h"
#include "clrprof/vesk_prof_ext.h"
#include "fake_runtime.h"
#include "jit_file_reader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>

using namespace veskmrte_1_0;
using namespace jitrecords_test;

namespace {

typedef std::vector<std::pair<size_t, size_t>> Blocks;  // offsets into the arena, sizes

// The real tool library, loaded once as the shared object's load-time entry
// does, so that Initialize finds the tool directory.
bool loadToolLibrary() {
    static bool loaded = [] {
        setenv("VESKMRTE_JIT_DIR", ::testing::TempDir().c_str(), 1);
        return VeskProfExt::instance().load(vesk::fromUtf8(std::string(VESK_DIST_DIR) + "/vesktool.so").c_str());
    }();
    return loaded;
}

class CodeMap : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(loadToolLibrary());
        callbacks = new CLRCallbacks();
        ASSERT_EQ(callbacks->Initialize(&runtime), S_OK);
        m_jitFile = vesk::toUtf8(JITWriter::instance().fileName());
        ASSERT_FALSE(m_jitFile.empty());
        // A fresh module for each test: the module manager outlives it.
        static ModuleID next = 0x5000000;
        module = next += 0x100;
        ASSERT_EQ(ModuleManager::getInstance().addModule(
                      module, new Module(module, 0x70000000 + module, 0x1000, VESK_W("/app/Module.dll"), nullptr,
                                         nullptr, nullptr, 77, false)),
                  meSuccess);
    }
    void TearDown() override {
        if (callbacks == nullptr) return;
        callbacks->Shutdown();
        callbacks->Release();
        JITWriter::instance().close();
        std::remove(m_jitFile.c_str());
    }

    FunctionID addFunction(FunctionID id, const Blocks& blocks, ModuleID in = 0) {
        FakeFunction& f = runtime.functions[id];
        f.moduleId = in != 0 ? in : module;
        f.classId = 0xC000 + id;
        f.token = 0x06000000 + static_cast<mdToken>(id & 0xFFFF);
        f.typeDef = 0x02000001;
        addBody(id, blocks);
        return id;
    }
    // Another body, as a later compilation of the function leaves it.
    void addBody(FunctionID id, const Blocks& blocks) {
        FakeBody body;
        for (const auto& b : blocks) body.blocks.push_back(arena.block(b.first, b.second));
        body.ilMap = {{0, 0, 1}};
        runtime.functions[id].bodies.push_back(body);
    }
    uintptr_t at(size_t offset) const { return arena.address(offset); }
    // Closes the JIT file and reads it back.
    std::vector<jitfile::MethodRecord> written() {
        JITWriter::instance().close();
        jitfile::JitFileReader reader;
        EXPECT_EQ(reader.open(m_jitFile), jitfile::OpenResult::ok) << m_jitFile;
        std::vector<jitfile::MethodRecord> records;
        jitfile::MethodRecord record;
        jitfile::ReadResult last;
        while ((last = reader.next(record)) == jitfile::ReadResult::record) records.push_back(record);
        EXPECT_EQ(last, jitfile::ReadResult::end) << reader.error();
        return records;
    }

    CodeArena arena;
    FakeRuntime runtime;
    CLRCallbacks* callbacks = nullptr;
    ModuleID module = 0;
    std::string m_jitFile;
};

}  // namespace

// Each row registers one function per entry of `bodies`, in turn, in its own
// part of the arena, then asks which addresses are code.
TEST_F(CodeMap, AddressesAreCodeExactlyWhereTheLatestBodiesLie) {
    const struct {
        const char* guards;
        std::vector<Blocks> bodies;
        std::vector<size_t> code, notCode;
    } rows[] = {
        {"a block's last byte, one past it or the gap between blocks misjudged",
         {{{0x100, 0x40}, {0x2000, 0x18}}},
         {0x100, 0x13F, 0x2000, 0x2017},
         {0xFF, 0x140, 0x1000, 0x1FFF, 0x2018}},
        {"adjacent bodies of two functions taken as overlapping", {{{0x100, 0x40}}, {{0x140, 0x40}}},
         {0x13F, 0x140, 0x17F}, {0x180}},
        {"a stale range kept under new code placed over half of it", {{{0x1000, 0x100}}, {{0x1080, 0x100}}},
         {0x1080, 0x117F}, {0x1000, 0x107F, 0x1180}},
        {"only the first of several stale ranges replaced, or one it does not overlap",
         {{{0x3000, 0x10}}, {{0x3020, 0x10}}, {{0x3040, 0x10}}, {{0x3008, 0x20}}},
         {0x3008, 0x3027, 0x3040}, {0x3000, 0x3028}},
        {"an empty block mapped: its key equals both disjoint neighbours",
         {{{0x100, 0x10}, {0x200, 0}}, {{0x1F8, 0x10}}, {{0x208, 0x10}}},
         {0x100, 0x1F8, 0x208}, {0x110}},
    };
    size_t registered = 0;
    for (size_t row = 0; row < std::size(rows); ++row) {
        SCOPED_TRACE(rows[row].guards);
        const size_t base = row * 0x4000;
        for (size_t i = 0; i < rows[row].bodies.size(); ++i, ++registered) {
            Blocks blocks = rows[row].bodies[i];
            for (auto& b : blocks) b.first += base;
            ASSERT_TRUE(callbacks->registerJitCode(addFunction(0x100 * (row + 1) + i, blocks), 1));
        }
        for (size_t offset : rows[row].code) EXPECT_TRUE(callbacks->isJitCode(at(base + offset))) << offset;
        for (size_t offset : rows[row].notCode) EXPECT_FALSE(callbacks->isJitCode(at(base + offset))) << offset;
    }
    EXPECT_FALSE(callbacks->isJitCode(0));
    EXPECT_EQ(written().size(), registered) << "code placed over stale ranges is recorded too";
}

TEST_F(CodeMap, FunctionZeroIsRefusedWithoutWaitingForTheLock) {
    FunctionID f = addFunction(0x10, {{0x100, 0x40}});
    std::promise<void> inside;
    std::promise<void> leave;
    std::shared_future<void> left = leave.get_future().share();
    runtime.onBodyStarts = [&inside, left] {
        inside.set_value();
        left.wait();
    };
    std::thread holder([&] { callbacks->registerJitCode(f, 1); });
    inside.get_future().wait();
    // The holder now keeps the code map locked exclusively.
    auto refused = std::async(std::launch::async, [&] { return callbacks->registerJitCode(0, 1); });
    bool finished = refused.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    leave.set_value();
    holder.join();
    // Only now: the holder was running inside this very function object.
    runtime.onBodyStarts = nullptr;
    ASSERT_TRUE(finished) << "function 0 waited for the lock";
    EXPECT_FALSE(refused.get());
}

TEST_F(CodeMap, EachCodeBodyIsRecordedOnceAndEarlierBodiesStayMapped) {
    FunctionID f = addFunction(0x12, {{0x100, 0x40}});
    EXPECT_TRUE(callbacks->registerJitCode(f, 5));
    EXPECT_TRUE(callbacks->registerJitCode(f, 6));
    addBody(f, {{0x800, 0x20}});  // the optimised tier
    EXPECT_TRUE(callbacks->registerJitCode(f, 7));
    EXPECT_TRUE(callbacks->registerJitCode(f, 8));
    EXPECT_TRUE(callbacks->isJitCode(at(0x100))) << "threads may still run the first body";
    EXPECT_TRUE(callbacks->isJitCode(at(0x81F)));
    auto records = written();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].codeRanges[0].start, at(0x100));
    EXPECT_EQ(records[0].timestamp, 5u);
    EXPECT_EQ(records[1].codeRanges[0].start, at(0x800));
    EXPECT_EQ(records[1].codeRanges[0].size, 0x20u);
    EXPECT_EQ(records[1].timestamp, 7u);
    EXPECT_EQ(records[0].methodToken, records[1].methodToken);
}

TEST_F(CodeMap, CodeThatCannotBeReadIsNotRecordedAndIsRetried) {
    FunctionID f = addFunction(0x14, {{0x100, 0x40}});
    for (unsigned failing : {unsigned(kCodeInfoCount), unsigned(kCodeInfoFetch), kBodyStarts | kCodeInfoCount}) {
        runtime.failing = failing;
        EXPECT_FALSE(callbacks->registerJitCode(f, 1)) << failing;
        EXPECT_FALSE(callbacks->isJitCode(at(0x100)));
    }
    runtime.failing = 0;
    EXPECT_TRUE(callbacks->registerJitCode(f, 1));
    EXPECT_TRUE(callbacks->isJitCode(at(0x100)));
    // When the bodies cannot be listed, the first body stands for them.
    FunctionID g = addFunction(0x1F, {{0x1000, 0x40}});
    addBody(g, {{0x1800, 0x20}});
    runtime.failing = kBodyStarts;
    EXPECT_TRUE(callbacks->registerJitCode(g, 1));
    EXPECT_TRUE(callbacks->registerJitCode(g, 1));
    EXPECT_FALSE(callbacks->isJitCode(at(0x1800)));
    runtime.failing = 0;
    EXPECT_TRUE(callbacks->registerJitCode(g, 1));
    EXPECT_TRUE(callbacks->isJitCode(at(0x1800)));
    auto records = written();
    ASSERT_EQ(records.size(), 3u) << "f once; g's first body once, then its second";
    EXPECT_EQ(records[1].codeRanges[0].start, at(0x1000));
    EXPECT_EQ(records[2].codeRanges[0].start, at(0x1800));
}

TEST_F(CodeMap, TimeStampIsTheGivenOneElseTheModuleLoadTimeElseZero) {
    FunctionID given = addFunction(0x15, {{0x100, 0x10}});
    FunctionID fromModule = addFunction(0x16, {{0x200, 0x10}});
    FunctionID unregistered = addFunction(0x17, {{0x300, 0x10}}, 0xDEAD00);  // a dynamic module
    EXPECT_TRUE(callbacks->registerJitCode(given, 0x1234));
    EXPECT_TRUE(callbacks->registerJitCode(fromModule, 0));
    EXPECT_TRUE(callbacks->registerJitCode(unregistered, 0));
    auto records = written();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].timestamp, 0x1234u);
    EXPECT_EQ(records[1].timestamp, 77u);
    EXPECT_EQ(records[2].timestamp, 0u);
    EXPECT_EQ(records[2].registeredModuleId, 0u);
    EXPECT_EQ(records[2].flags & plovat1::kModuleFileNamePresent, 0u);
}
