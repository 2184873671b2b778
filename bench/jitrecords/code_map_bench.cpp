// The code map's hot paths over a fake runtime: a stack walk registering a
// function whose bodies are all recorded, address lookups, and recording a
// new body (fill, write, map). The fake answers from a std::map, so its own
// cost is measured too and should be taken off.
#include "clrprof/clr_callbacks.h"
#include "clrprof/jit_writer.h"
#include "clrprof/module.h"
#include "clrprof/module_manager.h"
#include "clrprof/vesk_prof_ext.h"
#include "fake_runtime.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

using namespace veskmrte_1_0;
using namespace jitrecords_test;
using namespace cor;

namespace {

const size_t kBlock = 0x80;
const cor::ModuleID kModule = 0x4400;

// The test fake searches every function for a body or a class; here both
// are looked up directly, so that the fake's own cost stays small.
class IndexedRuntime : public FakeRuntime {
public:
    void index() {
        for (const auto& f : functions) {
            for (const FakeBody& body : f.second.bodies) m_bodies[body.blocks.front().startAddress] = &body;
            m_typeDefs[f.second.classId] = f.second.typeDef;
        }
    }
    HRESULT STDMETHODCALLTYPE GetCodeInfo4(UINT_PTR start, ULONG32 capacity, ULONG32* count,
                                           COR_PRF_CODE_INFO out[]) override {
        const FakeBody& body = *m_bodies.at(start);
        *count = static_cast<ULONG32>(body.blocks.size());
        std::copy_n(body.blocks.begin(), std::min<size_t>(capacity, body.blocks.size()), out);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetILToNativeMapping3(UINT_PTR start, ULONG32 capacity, ULONG32* count,
                                                    COR_DEBUG_IL_TO_NATIVE_MAP out[]) override {
        const FakeBody& body = *m_bodies.at(start);
        *count = static_cast<ULONG32>(body.ilMap.size());
        std::copy_n(body.ilMap.begin(), std::min<size_t>(capacity, body.ilMap.size()), out);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClassIDInfo(ClassID classId, ModuleID*, mdTypeDef* typeDef) override {
        *typeDef = m_typeDefs.at(classId);
        return S_OK;
    }

private:
    std::unordered_map<uintptr_t, const FakeBody*> m_bodies;
    std::unordered_map<ClassID, mdTypeDef> m_typeDefs;
};

// One started callback object over a fake runtime holding `functions`
// functions of one 0x80-byte body each, laid out back to back.
struct World {
    explicit World(size_t functions) : arena(functions * kBlock) {
        for (size_t i = 0; i < functions; ++i) {
            FakeFunction& f = runtime.functions[0x1000 + i];
            f.moduleId = kModule;
            f.classId = 0xC000;
            f.token = 0x06000001 + static_cast<cor::mdToken>(i);
            f.typeDef = 0x02000002;
            FakeBody body;
            body.blocks = {arena.block(i * kBlock, kBlock)};
            body.ilMap = {{0, 0, 0x10}, {4, 0x10, 0x40}, {9, 0x40, 0x80}};
            f.bodies.push_back(body);
        }
        runtime.index();
        callbacks = new CLRCallbacks();
        if (callbacks->Initialize(&runtime) != cor::S_OK) std::abort();
        jitFile = vesk::toUtf8(JITWriter::instance().fileName());
    }
    ~World() {
        callbacks->Shutdown();
        callbacks->Release();
        JITWriter::instance().close();
        std::remove(jitFile.c_str());
    }
    void registerAll() {
        for (const auto& f : runtime.functions) callbacks->registerJitCode(f.first, 1);
    }

    CodeArena arena;
    IndexedRuntime runtime;
    CLRCallbacks* callbacks = nullptr;
    std::string jitFile;
};

void BM_FakeBodyStartsQuery(benchmark::State& state) {
    World world(1000);
    std::vector<uintptr_t> starts;
    size_t i = 0;
    for (auto _ : state) {
        codeBodyStarts(&world.runtime, 0x1000 + (i++ % 1000), starts);
        benchmark::DoNotOptimize(starts.data());
    }
}
BENCHMARK(BM_FakeBodyStartsQuery);

void BM_RegisterAlreadyRecorded(benchmark::State& state) {
    World world(1000);
    world.registerAll();
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(world.callbacks->registerJitCode(0x1000 + (i++ % 1000), 0));
}
BENCHMARK(BM_RegisterAlreadyRecorded);

void BM_IsJitCode(benchmark::State& state) {
    const size_t functions = static_cast<size_t>(state.range(0));
    World world(functions);
    world.registerAll();
    size_t i = 0;
    for (auto _ : state) {
        // Alternately inside a body and in no recorded range at all.
        uintptr_t address = (i & 1) ? world.arena.address((i * 7919 % functions) * kBlock + 5) : 0x10 + i;
        benchmark::DoNotOptimize(world.callbacks->isJitCode(address));
        ++i;
    }
}
BENCHMARK(BM_IsJitCode)->Arg(1000)->Arg(20000);

void BM_RecordNewBody(benchmark::State& state) {
    const size_t functions = 20000;
    World world(functions);
    size_t i = 0;
    for (auto _ : state) {
        if (i == functions) {
            state.SkipWithError("out of functions");
            break;
        }
        benchmark::DoNotOptimize(world.callbacks->registerJitCode(0x1000 + i++, 1));
    }
    state.SetItemsProcessed(static_cast<int64_t>(i));
}
BENCHMARK(BM_RecordNewBody)->Iterations(20000);

}  // namespace

int main(int argc, char** argv) {
    std::string jitDir = "/tmp";
    if (const char* tmp = std::getenv("TMPDIR")) jitDir = tmp;
    setenv("VESKMRTE_JIT_DIR", jitDir.c_str(), 1);
    unsetenv("MRTE_ACTIVATE_OFFLINE_STACKWALKER");
    if (!VeskProfExt::instance().load(vesk::fromUtf8(std::string(VESK_DIST_DIR) + "/vesktool.so").c_str())) {
        std::fprintf(stderr, "cannot load %s/vesktool.so\n", VESK_DIST_DIR);
        return 1;
    }
    Module* module = new Module(kModule, 0x70000000, 0x1000, VESK_W("/app/Bench.dll"), nullptr, nullptr, nullptr, 77,
                                false);
    if (ModuleManager::getInstance().addModule(kModule, module) != meSuccess) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
