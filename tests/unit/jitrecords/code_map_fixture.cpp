#include "code_map_fixture.h"

#include "clrprof/jit_writer.h"
#include "clrprof/module.h"
#include "clrprof/module_manager.h"
#include "clrprof/result.h"
#include "clrprof/vesk_prof_ext.h"

#include <cstdio>
#include <cstdlib>

using namespace veskmrte_1_0;

namespace jitrecords_test {

namespace {

ToolCodeRanges* s_toolRanges = nullptr;

int VESK_CALL isCodeKnown(vesk_profiling_extension*, uintptr_t address, uint32_t) {
    ++s_toolRanges->knownQueries;
    return s_toolRanges->known.count(address) != 0 ? 1 : 0;
}

int VESK_CALL addCodeRange(vesk_profiling_extension*, const vesk_code_range* range) {
    s_toolRanges->added.emplace_back(range->start, range->end);
    return vesk_er_success;
}

// The real tool library, loaded once as the shared object's load-time entry
// does, so that Initialize finds the tool directory.
bool loadRealExtension() {
    static bool loaded = [] {
        setenv("VESKMRTE_JIT_DIR", ::testing::TempDir().c_str(), 1);
        return VeskProfExt::instance().load(vesk::fromUtf8(std::string(VESK_DIST_DIR) + "/vesktool.so").c_str());
    }();
    return loaded;
}

}  // namespace

void CodeMapTest::SetUp() { ASSERT_TRUE(loadRealExtension()); }

void CodeMapTest::start(bool offlineStackWalker) {
    if (offlineStackWalker)
        setenv("MRTE_ACTIVATE_OFFLINE_STACKWALKER", "", 1);
    else
        unsetenv("MRTE_ACTIVATE_OFFLINE_STACKWALKER");
    callbacks = new CLRCallbacks();
    ASSERT_EQ(callbacks->Initialize(&runtime), S_OK);
    unsetenv("MRTE_ACTIVATE_OFFLINE_STACKWALKER");
    m_jitFile = vesk::toUtf8(JITWriter::instance().fileName());
    ASSERT_FALSE(m_jitFile.empty());
    m_savedRecord = VeskProfExt::instance().record();
    s_toolRanges = &toolRanges;
    tool.record.is_code_known = isCodeKnown;
    tool.record.add_code_range = addCodeRange;
    VeskProfExt::instance().useRecordForTesting(&tool.record);
    m_started = true;
}

void CodeMapTest::TearDown() {
    if (!m_started) return;
    callbacks->Shutdown();
    VeskProfExt::instance().useRecordForTesting(m_savedRecord);
    callbacks->Release();
    JITWriter::instance().close();
    std::remove(m_jitFile.c_str());
}

ModuleID CodeMapTest::registerModule() {
    static ModuleID next = 0x5000000;
    ModuleID id = next += 0x100;
    Module* module = new Module(id, 0x70000000 + id, 0x1000, VESK_W("/app/Module.dll"), nullptr, nullptr, nullptr, 77,
                                false);
    EXPECT_EQ(ModuleManager::getInstance().addModule(id, module), meSuccess);
    return id;
}

FunctionID CodeMapTest::addFunction(FunctionID id, ModuleID module, std::vector<std::pair<size_t, size_t>> blocks) {
    FakeFunction& f = runtime.functions[id];
    f.moduleId = module;
    f.classId = 0xC000 + id;
    f.token = 0x06000000 + static_cast<mdToken>(id & 0xFFFF);
    f.typeDef = 0x02000001;
    addBody(id, blocks);
    return id;
}

void CodeMapTest::addBody(FunctionID id, std::vector<std::pair<size_t, size_t>> blocks) {
    FakeBody body;
    for (const auto& b : blocks) body.blocks.push_back(arena.block(b.first, b.second));
    body.ilMap = {{0, 0, 1}};
    runtime.functions[id].bodies.push_back(body);
}

std::vector<jitfile::MethodRecord> CodeMapTest::written() {
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

}  // namespace jitrecords_test
