// The runtime's information interface for unit tests: function identities
// and method bodies a test registers, a body allocator and SetILFunctionBody
// whose answers a test chooses, module metadata from a FakeMetadata, the
// event masks set, and E_NOTIMPL for every other slot. Safe to call from
// many threads at once.
#pragma once

#include "fake_metadata.h"
#include "profiler_info_stub.h"

#include <cstring>
#include <memory>

namespace testing_support {

// Bytes whose start is `shift` bytes past an 8-byte boundary.
class AlignedBytes {
public:
    AlignedBytes(const Blob& bytes, size_t shift)
        : m_storage(new uint64_t[(bytes.size() + shift + 7) / 8 + 1]()), m_shift(shift), m_size(bytes.size()) {
        if (!bytes.empty()) std::memcpy(data(), bytes.data(), bytes.size());
    }
    uint8_t* data() { return reinterpret_cast<uint8_t*>(m_storage.get()) + m_shift; }
    size_t size() const { return m_size; }

private:
    std::unique_ptr<uint64_t[]> m_storage;
    size_t m_shift;
    size_t m_size;
};

enum class AllocatorMode {
    Works,
    NoAllocator,      // GetILFunctionBodyAllocator fails
    NullAllocator,    // GetILFunctionBodyAllocator succeeds with no allocator
    AllocFails,       // Alloc answers null
    MisalignedAlloc,  // Alloc answers memory 2 bytes off a 4-byte boundary
};

class FakeMethodMalloc : public IMethodMalloc {
public:
    AllocatorMode mode = AllocatorMode::Works;
    std::atomic<long> references{0};
    std::atomic<int> allocations{0};

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }
    void* STDMETHODCALLTYPE Alloc(ULONG cb) override {
        ++allocations;
        if (mode == AllocatorMode::AllocFails) return nullptr;
        std::lock_guard<std::mutex> hold(m_lock);
        m_blocks.emplace_back(new AlignedBytes(Blob(cb, 0xCD), mode == AllocatorMode::MisalignedAlloc ? 2 : 0));
        return m_blocks.back()->data();
    }
    // The bytes of the block that starts at `where`; empty when none does.
    Blob block(const uint8_t* where) {
        std::lock_guard<std::mutex> hold(m_lock);
        for (const auto& b : m_blocks)
            if (b->data() == where) return Blob(b->data(), b->data() + b->size());
        return Blob();
    }

private:
    std::mutex m_lock;
    std::vector<std::unique_ptr<AlignedBytes>> m_blocks;
};

struct InstalledBody {
    ModuleID module;
    mdMethodDef token;
    const uint8_t* where;
    Blob bytes;  // the allocated block, copied at installation
};

class FakeProfilerInfo : public ProfilerInfoStub {
public:
    static const HRESULT kFunctionNotIl = static_cast<HRESULT>(0x80131358u);

    bool supportsInfo2 = true;
    AllocatorMode allocatorMode = AllocatorMode::Works;
    HRESULT setBodyResult = S_OK;
    bool metadataAvailable = true;
    FakeMethodMalloc allocator;
    FakeMetadata metadata;
    std::vector<DWORD> eventMasks;
    std::atomic<int> bodyRequests{0};
    std::atomic<int> allocatorRequests{0};

    // A method: its identity and the body GetILFunctionBody gives, placed
    // `shift` bytes past an 8-byte boundary and reported as `reportedSize`
    // bytes. An empty body makes GetILFunctionBody fail, as for a method
    // without IL.
    void addMethod(FunctionID function, ModuleID module, mdToken token, const Blob& body, size_t shift = 0,
                   size_t reportedSize = SIZE_MAX) {
        std::lock_guard<std::mutex> hold(m_lock);
        m_functions[function] = std::make_pair(module, token);
        if (body.empty()) return;
        m_bodies[key(module, token)].reset(new AlignedBytes(body, shift));
        m_reportedSizes[key(module, token)] = reportedSize == SIZE_MAX ? body.size() : reportedSize;
    }
    std::vector<InstalledBody> installed() {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_installed;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || (supportsInfo2 && (riid == IID_ICorProfilerInfo2 || riid == IID_ICorProfilerInfo))) {
            *ppv = static_cast<ICorProfilerInfo2*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE SetEventMask(DWORD mask) override {
        std::lock_guard<std::mutex> hold(m_lock);
        eventMasks.push_back(mask);
        return S_OK;
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
        ++bodyRequests;
        std::lock_guard<std::mutex> hold(m_lock);
        auto it = m_bodies.find(key(module, method));
        if (it == m_bodies.end()) return kFunctionNotIl;
        *header = it->second->data();
        *size = static_cast<ULONG>(m_reportedSizes[key(module, method)]);
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
    std::map<uint64_t, std::unique_ptr<AlignedBytes>> m_bodies;
    std::map<uint64_t, size_t> m_reportedSizes;
    std::vector<InstalledBody> m_installed;
};

}  // namespace testing_support
