// The runtime's ninth information interface as the JIT records use it:
// functions with any number of code bodies whose code lives in the test's
// own memory, IL maps, classes, and queries that fail on request. Every other
// operation answers E_NOTIMPL.
#pragma once

#include "clrprof/jit_record.h"
#include "interface_stubs.h"

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

namespace jitrecords_test {

using namespace cor;

struct FakeBody {
    std::vector<COR_PRF_CODE_INFO> blocks;
    std::vector<COR_DEBUG_IL_TO_NATIVE_MAP> ilMap;
};

struct FakeFunction {
    ClassID classId = 0;
    ModuleID moduleId = 0;
    mdToken token = 0;
    mdTypeDef typeDef = 0;
    // The first body is the one the queries by function describe, as the
    // runtime's do.
    std::vector<FakeBody> bodies;
};

// The queries that can be told to fail. A "count" query has too little room
// for every entry, a "fetch" query has room for all of them.
enum FakeCall : unsigned {
    kCodeInfoCount = 1u << 0,
    kCodeInfoFetch = 1u << 1,
    kFunctionInfo = 1u << 2,
    kClassInfo = 1u << 3,
    kIlMapCount = 1u << 4,
    kIlMapFetch = 1u << 5,
    kBodyStarts = 1u << 6,
};

class FakeRuntime : public testing_support::ICorProfilerInfo9Stub {
public:
    unsigned failing = 0;
    std::map<FunctionID, FakeFunction> functions;
    // Runs inside GetNativeCodeStartAddresses, for tests that need a
    // registration to stop half-way.
    std::function<void()> onBodyStarts;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_ICorProfilerInfo9 || riid == IID_ICorProfilerInfo2 || riid == IID_ICorProfilerInfo ||
            riid == IID_IUnknown) {
            *ppv = static_cast<ICorProfilerInfo9*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE SetEventMask(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetFunctionInfo(FunctionID id, ClassID* classId, ModuleID* moduleId,
                                              mdToken* token) override {
        auto found = functions.find(id);
        if ((failing & kFunctionInfo) != 0 || found == functions.end()) return E_FAIL;
        *classId = found->second.classId;
        *moduleId = found->second.moduleId;
        *token = found->second.token;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClassIDInfo(ClassID classId, ModuleID*, mdTypeDef* typeDef) override {
        if ((failing & kClassInfo) != 0) return E_FAIL;
        for (const auto& entry : functions)
            if (entry.second.classId == classId) return *typeDef = entry.second.typeDef, S_OK;
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE GetCodeInfo2(FunctionID id, ULONG32 room, ULONG32* count,
                                           COR_PRF_CODE_INFO out[]) override {
        const FakeBody* body = firstBody(id);
        return body == nullptr ? E_INVALIDARG : answer(body->blocks, kCodeInfoCount, kCodeInfoFetch, room, count, out);
    }
    HRESULT STDMETHODCALLTYPE GetILToNativeMapping(FunctionID id, ULONG32 room, ULONG32* count,
                                                   COR_DEBUG_IL_TO_NATIVE_MAP out[]) override {
        const FakeBody* body = firstBody(id);
        return body == nullptr ? E_INVALIDARG : answer(body->ilMap, kIlMapCount, kIlMapFetch, room, count, out);
    }
    HRESULT STDMETHODCALLTYPE GetCodeInfo4(UINT_PTR start, ULONG32 room, ULONG32* count,
                                           COR_PRF_CODE_INFO out[]) override {
        const FakeBody* body = bodyAt(start);
        return body == nullptr ? E_INVALIDARG : answer(body->blocks, kCodeInfoCount, kCodeInfoFetch, room, count, out);
    }
    HRESULT STDMETHODCALLTYPE GetILToNativeMapping3(UINT_PTR start, ULONG32 room, ULONG32* count,
                                                    COR_DEBUG_IL_TO_NATIVE_MAP out[]) override {
        const FakeBody* body = bodyAt(start);
        return body == nullptr ? E_INVALIDARG : answer(body->ilMap, kIlMapCount, kIlMapFetch, room, count, out);
    }
    HRESULT STDMETHODCALLTYPE GetNativeCodeStartAddresses(FunctionID id, ReJITID reJitId, ULONG32 room, ULONG32* count,
                                                          UINT_PTR out[]) override {
        if (onBodyStarts) onBodyStarts();
        auto found = functions.find(id);
        if (found == functions.end() || reJitId != 0) return E_INVALIDARG;
        std::vector<UINT_PTR> starts;
        for (const FakeBody& body : found->second.bodies) starts.push_back(body.blocks.front().startAddress);
        return answer(starts, kBodyStarts, kBodyStarts, room, count, out);
    }

private:
    const FakeBody* firstBody(FunctionID id) const {
        auto found = functions.find(id);
        return found == functions.end() || found->second.bodies.empty() ? nullptr : &found->second.bodies.front();
    }
    const FakeBody* bodyAt(uintptr_t start) const {
        for (const auto& entry : functions)
            for (const FakeBody& body : entry.second.bodies)
                if (body.blocks.front().startAddress == start) return &body;
        return nullptr;
    }
    // Copies what fits and says how many there are, as the runtime's queries
    // do; a query too small for every entry only learns how many there are.
    template <typename T>
    HRESULT answer(const std::vector<T>& items, unsigned countCall, unsigned fetchCall, ULONG32 room, ULONG32* count,
                   T out[]) const {
        if ((failing & (room < items.size() ? countCall : fetchCall)) != 0) return E_FAIL;
        *count = static_cast<ULONG32>(items.size());
        std::copy_n(items.begin(), std::min<size_t>(room, items.size()), out);
        return S_OK;
    }
};

// Stands for the runtime's code heap: a recognisable pattern that stays valid
// while the arena lives.
class CodeArena {
public:
    explicit CodeArena(size_t size = 1 << 17) : m_bytes(size) {
        for (size_t i = 0; i < m_bytes.size(); ++i) m_bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
    }
    COR_PRF_CODE_INFO block(size_t offset, size_t size) const { return COR_PRF_CODE_INFO{address(offset), size}; }
    uintptr_t address(size_t offset) const { return reinterpret_cast<uintptr_t>(m_bytes.data()) + offset; }
    const uint8_t* bytes(size_t offset) const { return m_bytes.data() + offset; }

private:
    std::vector<uint8_t> m_bytes;
};

}  // namespace jitrecords_test
