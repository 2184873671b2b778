// A stand-in for the runtime's information interface as the engine uses it:
// function identities and method bodies a test registers, an allocator and
// SetILFunctionBody whose answers a test chooses, module metadata from a
// FakeMetaDataImport, E_NOTIMPL for every other slot. Safe to call from many
// threads at once.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "abi/corprof.h"
#include "profiler_info_stub.h"
#include "fake_metadata_import.h"

namespace cie_test {

using namespace cor;

// Memory whose start is on an 8-byte boundary, plus `shift` bytes.
class AlignedBytes {
public:
    AlignedBytes(const std::vector<uint8_t>& bytes, size_t shift)
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

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }
    void* STDMETHODCALLTYPE Alloc(ULONG cb) override {
        ++allocations;
        if (mode == AllocatorMode::AllocFails) return nullptr;
        std::lock_guard<std::mutex> hold(m_lock);
        const size_t shift = mode == AllocatorMode::MisalignedAlloc ? 2 : 0;
        m_blocks.emplace_back(new AlignedBytes(std::vector<uint8_t>(cb, 0xCD), shift));
        return m_blocks.back()->data();
    }

    // The bytes of the block that starts at `where`; empty when no block
    // does.
    std::vector<uint8_t> block(const uint8_t* where) {
        std::lock_guard<std::mutex> hold(m_lock);
        for (const auto& b : m_blocks)
            if (b->data() == where) return std::vector<uint8_t>(b->data(), b->data() + b->size());
        return std::vector<uint8_t>();
    }

private:
    std::mutex m_lock;
    std::vector<std::unique_ptr<AlignedBytes>> m_blocks;
};

struct FakeFunction {
    ModuleID module = 0;
    mdToken token = 0;
    ClassID classId = 0;
};

struct InstalledBody {
    ModuleID module;
    mdMethodDef token;
    const uint8_t* where;
    std::vector<uint8_t> bytes;  // the allocated block, copied at installation
};

class FakeProfilerInfo : public testing_support::ProfilerInfoStub {
public:
    AllocatorMode allocatorMode = AllocatorMode::Works;
    HRESULT setBodyResult = S_OK;
    bool metadataAvailable = true;
    FakeMethodMalloc allocator;
    FakeMetaDataImport metadata;
    std::atomic<int> bodyRequests{0};
    std::atomic<int> allocatorRequests{0};

    // Registers a method: its identity and the body GetILFunctionBody gives
    // (placed `shift` bytes past an 8-byte boundary). An empty body makes
    // GetILFunctionBody fail, as for a method without IL.
    void addMethod(FunctionID function, ModuleID module, mdToken token, const std::vector<uint8_t>& body,
                   size_t shift = 0, size_t reportedSize = SIZE_MAX) {
        std::lock_guard<std::mutex> hold(m_lock);
        m_functions[function] = FakeFunction{module, token, 0x1234};
        if (!body.empty()) {
            m_bodies[key(module, token)].reset(new AlignedBytes(body, shift));
            m_reportedSizes[key(module, token)] = reportedSize == SIZE_MAX ? body.size() : reportedSize;
        }
    }

    std::vector<InstalledBody> installed() {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_installed;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_ICorProfilerInfo2 || riid == IID_ICorProfilerInfo) {
            *ppv = static_cast<ICorProfilerInfo2*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE GetFunctionInfo(FunctionID functionId, ClassID* pClassId, ModuleID* pModuleId,
                                              mdToken* pToken) override {
        std::lock_guard<std::mutex> hold(m_lock);
        auto it = m_functions.find(functionId);
        if (it == m_functions.end()) return E_INVALIDARG;
        if (pClassId) *pClassId = it->second.classId;
        if (pModuleId) *pModuleId = it->second.module;
        if (pToken) *pToken = it->second.token;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetILFunctionBody(ModuleID moduleId, mdMethodDef methodId, LPCBYTE* ppMethodHeader,
                                                ULONG* pcbMethodSize) override {
        ++bodyRequests;
        std::lock_guard<std::mutex> hold(m_lock);
        auto it = m_bodies.find(key(moduleId, methodId));
        if (it == m_bodies.end()) return CORPROF_E_FUNCTION_NOT_IL;
        *ppMethodHeader = it->second->data();
        *pcbMethodSize = static_cast<ULONG>(m_reportedSizes[key(moduleId, methodId)]);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetILFunctionBodyAllocator(ModuleID, IMethodMalloc** ppMalloc) override {
        ++allocatorRequests;
        switch (allocatorMode) {
            case AllocatorMode::NoAllocator:
                *ppMalloc = nullptr;
                return E_FAIL;
            case AllocatorMode::NullAllocator:
                *ppMalloc = nullptr;
                return S_OK;
            default:
                allocator.mode = allocatorMode;
                allocator.AddRef();
                *ppMalloc = &allocator;
                return S_OK;
        }
    }
    HRESULT STDMETHODCALLTYPE SetILFunctionBody(ModuleID moduleId, mdMethodDef methodid,
                                                LPCBYTE pbNewILMethodHeader) override {
        if (FAILED(setBodyResult)) return setBodyResult;
        std::vector<uint8_t> bytes = allocator.block(pbNewILMethodHeader);
        std::lock_guard<std::mutex> hold(m_lock);
        m_installed.push_back(InstalledBody{moduleId, methodid, pbNewILMethodHeader, bytes});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetModuleMetaData(ModuleID, DWORD dwOpenFlags, REFIID riid, IUnknown** ppOut) override {
        if (!metadataAvailable) {
            *ppOut = nullptr;
            return E_FAIL;
        }
        if (riid != IID_IMetaDataImport) return E_NOINTERFACE;
        metadata.AddRef();
        *ppOut = static_cast<IMetaDataImport*>(&metadata);
        return S_OK;
    }

    static const HRESULT CORPROF_E_FUNCTION_NOT_IL = static_cast<HRESULT>(0x80131358u);


private:
    static uint64_t key(ModuleID module, mdToken token) { return (static_cast<uint64_t>(module) << 32) ^ token; }

    std::mutex m_lock;
    std::map<FunctionID, FakeFunction> m_functions;
    std::map<uint64_t, std::unique_ptr<AlignedBytes>> m_bodies;
    std::map<uint64_t, size_t> m_reportedSizes;
    std::vector<InstalledBody> m_installed;
};

}  // namespace cie_test
