// The runtime's information interface for unit tests: function identities
// and method bodies a test registers, a body allocator and SetILFunctionBody
// whose answers a test chooses, module metadata from a FakeMetadata, and
// E_NOTIMPL for every other slot. Safe to call from many threads at once.
#pragma once

#include "fake_metadata.h"
#include "profiler_info_stub.h"

#include <cstring>
#include <memory>

namespace testing_support {

enum class AllocatorMode {
    Works,
    NoAllocator,      // GetILFunctionBodyAllocator fails
    NullAllocator,    // GetILFunctionBodyAllocator succeeds with no allocator
    AllocFails,       // Alloc answers null
    MisalignedAlloc,  // Alloc answers memory 2 bytes off a 4-byte boundary
};

class FakeMethodMalloc : public IMethodMallocStub {
public:
    AllocatorMode mode = AllocatorMode::Works;
    std::atomic<long> references{0};

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }
    // Filled with 0xCD, so that bytes the engine leaves unwritten show.
    void* STDMETHODCALLTYPE Alloc(ULONG cb) override {
        if (mode == AllocatorMode::AllocFails) return nullptr;
        const size_t shift = mode == AllocatorMode::MisalignedAlloc ? 2 : 0;
        std::lock_guard<std::mutex> hold(m_lock);
        m_blocks.push_back(Block{std::unique_ptr<uint64_t[]>(new uint64_t[(cb + shift + 7) / 8]), nullptr, cb});
        m_blocks.back().data = reinterpret_cast<uint8_t*>(m_blocks.back().storage.get()) + shift;
        std::memset(m_blocks.back().data, 0xCD, cb);
        return m_blocks.back().data;
    }
    // The bytes of the block that starts at `where`; empty when none does.
    Blob block(const uint8_t* where) {
        std::lock_guard<std::mutex> hold(m_lock);
        for (const Block& b : m_blocks)
            if (b.data == where) return Blob(b.data, b.data + b.size);
        return Blob();
    }

private:
    struct Block {
        std::unique_ptr<uint64_t[]> storage;  // 8-byte aligned
        uint8_t* data;
        size_t size;
    };
    std::mutex m_lock;
    std::vector<Block> m_blocks;
};

struct InstalledBody {
    ModuleID module;
    mdMethodDef token;
    const uint8_t* where;
    Blob bytes;  // the allocated block, copied at installation
};

class FakeProfilerInfo : public ProfilerInfoStub {
public:
    AllocatorMode allocatorMode = AllocatorMode::Works;
    HRESULT setBodyResult = S_OK;
    bool metadataAvailable = true;
    FakeMethodMalloc allocator;
    FakeMetadata metadata;
    std::atomic<int> allocatorRequests{0};

    // A method: its identity and the body GetILFunctionBody gives, reported
    // as `reportedSize` bytes. An empty body makes GetILFunctionBody fail, as
    // for a method without IL.
    void addMethod(FunctionID function, ModuleID module, mdToken token, const Blob& body,
                   size_t reportedSize = SIZE_MAX) {
        std::lock_guard<std::mutex> hold(m_lock);
        m_functions[function] = std::make_pair(module, token);
        if (!body.empty()) m_bodies[key(module, token)] = {body, reportedSize == SIZE_MAX ? body.size() : reportedSize};
    }
    std::vector<InstalledBody> installed() {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_installed;
    }

    HRESULT STDMETHODCALLTYPE GetFunctionInfo(FunctionID function, ClassID* classId, ModuleID* module,
                                              mdToken* token) override {
        std::lock_guard<std::mutex> hold(m_lock);
        auto it = m_functions.find(function);
        if (it == m_functions.end()) return E_INVALIDARG;
        if (classId) *classId = 0x1234;
        if (module) *module = it->second.first;
        if (token) *token = it->second.second;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetILFunctionBody(ModuleID module, mdMethodDef method, LPCBYTE* header,
                                                ULONG* size) override {
        std::lock_guard<std::mutex> hold(m_lock);
        auto it = m_bodies.find(key(module, method));
        if (it == m_bodies.end()) return static_cast<HRESULT>(0x80131358u);  // the function has no IL
        *header = it->second.first.data();
        *size = static_cast<ULONG>(it->second.second);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetILFunctionBodyAllocator(ModuleID, IMethodMalloc** malloc) override {
        ++allocatorRequests;
        *malloc = nullptr;
        if (allocatorMode == AllocatorMode::NoAllocator) return E_FAIL;
        if (allocatorMode == AllocatorMode::NullAllocator) return S_OK;
        allocator.mode = allocatorMode;
        allocator.AddRef();
        *malloc = &allocator;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetILFunctionBody(ModuleID module, mdMethodDef method, LPCBYTE header) override {
        if (FAILED(setBodyResult)) return setBodyResult;
        Blob bytes = allocator.block(header);
        std::lock_guard<std::mutex> hold(m_lock);
        m_installed.push_back(InstalledBody{module, method, header, bytes});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetModuleMetaData(ModuleID, DWORD, REFIID riid, IUnknown** out) override {
        *out = nullptr;
        if (!metadataAvailable) return E_FAIL;
        return metadata.QueryInterface(riid, reinterpret_cast<void**>(out));
    }

private:
    static uint64_t key(ModuleID module, mdToken token) { return (static_cast<uint64_t>(module) << 32) ^ token; }

    std::mutex m_lock;
    std::map<FunctionID, std::pair<ModuleID, mdToken>> m_functions;
    std::map<uint64_t, std::pair<Blob, size_t>> m_bodies;
    std::vector<InstalledBody> m_installed;
};

}  // namespace testing_support
