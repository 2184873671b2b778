// The runtime's ninth information interface as the JIT records use it:
// functions with any number of code bodies whose code lives in the test's
// own memory, IL maps, classes, and queries that fail on request. Every other
// operation answers E_NOTIMPL.
#pragma once

#include "clrprof/jit_record.h"

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

class FakeRuntime : public ICorProfilerInfo9 {
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

#define FAKE_NOTIMPL(name, ...) \
    HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }
    FAKE_NOTIMPL(GetClassFromObject, ObjectID, ClassID*)
    FAKE_NOTIMPL(GetClassFromToken, ModuleID, mdTypeDef, ClassID*)
    FAKE_NOTIMPL(GetCodeInfo, FunctionID, LPCBYTE*, ULONG*)
    FAKE_NOTIMPL(GetEventMask, DWORD*)
    FAKE_NOTIMPL(GetFunctionFromIP, LPCBYTE, FunctionID*)
    FAKE_NOTIMPL(GetFunctionFromToken, ModuleID, mdToken, FunctionID*)
    FAKE_NOTIMPL(GetHandleFromThread, ThreadID, void**)
    FAKE_NOTIMPL(GetObjectSize, ObjectID, ULONG*)
    FAKE_NOTIMPL(IsArrayClass, ClassID, CorElementType*, ClassID*, ULONG*)
    FAKE_NOTIMPL(GetThreadInfo, ThreadID, DWORD*)
    FAKE_NOTIMPL(GetCurrentThreadID, ThreadID*)
    FAKE_NOTIMPL(SetEnterLeaveFunctionHooks, FunctionEnter*, FunctionLeave*, FunctionTailcall*)
    FAKE_NOTIMPL(SetFunctionIDMapper, FunctionIDMapper)
    FAKE_NOTIMPL(GetTokenAndMetaDataFromFunction, FunctionID, REFIID, IUnknown**, mdToken*)
    FAKE_NOTIMPL(GetModuleInfo, ModuleID, LPCBYTE*, ULONG, ULONG*, WCHAR[], AssemblyID*)
    FAKE_NOTIMPL(GetModuleMetaData, ModuleID, DWORD, REFIID, IUnknown**)
    FAKE_NOTIMPL(GetILFunctionBody, ModuleID, mdMethodDef, LPCBYTE*, ULONG*)
    FAKE_NOTIMPL(GetILFunctionBodyAllocator, ModuleID, IMethodMalloc**)
    FAKE_NOTIMPL(SetILFunctionBody, ModuleID, mdMethodDef, LPCBYTE)
    FAKE_NOTIMPL(GetAppDomainInfo, AppDomainID, ULONG, ULONG*, WCHAR[], ProcessID*)
    FAKE_NOTIMPL(GetAssemblyInfo, AssemblyID, ULONG, ULONG*, WCHAR[], AppDomainID*, ModuleID*)
    FAKE_NOTIMPL(SetFunctionReJIT, FunctionID)
    FAKE_NOTIMPL(ForceGC)
    FAKE_NOTIMPL(SetILInstrumentedCodeMap, FunctionID, BOOL, ULONG, COR_IL_MAP[])
    FAKE_NOTIMPL(GetInprocInspectionInterface, IUnknown**)
    FAKE_NOTIMPL(GetInprocInspectionIThisThread, IUnknown**)
    FAKE_NOTIMPL(GetThreadContext, ThreadID, ContextID*)
    FAKE_NOTIMPL(BeginInprocDebugging, BOOL, DWORD*)
    FAKE_NOTIMPL(EndInprocDebugging, DWORD)
    FAKE_NOTIMPL(DoStackSnapshot, ThreadID, StackSnapshotCallback, ULONG32, void*, BYTE[], ULONG32)
    FAKE_NOTIMPL(SetEnterLeaveFunctionHooks2, FunctionEnter2*, FunctionLeave2*, FunctionTailcall2*)
    FAKE_NOTIMPL(GetFunctionInfo2, FunctionID, COR_PRF_FRAME_INFO, ClassID*, ModuleID*, mdToken*, ULONG32, ULONG32*,
                 ClassID[])
    FAKE_NOTIMPL(GetStringLayout, ULONG*, ULONG*, ULONG*)
    FAKE_NOTIMPL(GetClassLayout, ClassID, COR_FIELD_OFFSET[], ULONG, ULONG*, ULONG*)
    FAKE_NOTIMPL(GetClassIDInfo2, ClassID, ModuleID*, mdTypeDef*, ClassID*, ULONG32, ULONG32*, ClassID[])
    FAKE_NOTIMPL(GetClassFromTokenAndTypeArgs, ModuleID, mdTypeDef, ULONG32, ClassID[], ClassID*)
    FAKE_NOTIMPL(GetFunctionFromTokenAndTypeArgs, ModuleID, mdMethodDef, ClassID, ULONG32, ClassID[], FunctionID*)
    FAKE_NOTIMPL(EnumModuleFrozenObjects, ModuleID, IUnknown**)
    FAKE_NOTIMPL(GetArrayObjectInfo, ObjectID, ULONG32, ULONG32[], int[], BYTE**)
    FAKE_NOTIMPL(GetBoxClassLayout, ClassID, ULONG32*)
    FAKE_NOTIMPL(GetThreadAppDomain, ThreadID, AppDomainID*)
    FAKE_NOTIMPL(GetRVAStaticAddress, ClassID, mdFieldDef, void**)
    FAKE_NOTIMPL(GetAppDomainStaticAddress, ClassID, mdFieldDef, AppDomainID, void**)
    FAKE_NOTIMPL(GetThreadStaticAddress, ClassID, mdFieldDef, ThreadID, void**)
    FAKE_NOTIMPL(GetContextStaticAddress, ClassID, mdFieldDef, ContextID, void**)
    FAKE_NOTIMPL(GetStaticFieldInfo, ClassID, mdFieldDef, COR_PRF_STATIC_TYPE*)
    FAKE_NOTIMPL(GetGenerationBounds, ULONG, ULONG*, COR_PRF_GC_GENERATION_RANGE[])
    FAKE_NOTIMPL(GetObjectGeneration, ObjectID, COR_PRF_GC_GENERATION_RANGE*)
    FAKE_NOTIMPL(GetNotifiedExceptionClauseInfo, COR_PRF_EX_CLAUSE_INFO*)
#undef FAKE_NOTIMPL
#define FAKE_UNUSED(n) \
    HRESULT STDMETHODCALLTYPE unusedSlot##n() override { return E_NOTIMPL; }
    FAKE_UNUSED(57) FAKE_UNUSED(58) FAKE_UNUSED(59) FAKE_UNUSED(60) FAKE_UNUSED(61) FAKE_UNUSED(62) FAKE_UNUSED(63)
    FAKE_UNUSED(64) FAKE_UNUSED(65) FAKE_UNUSED(66) FAKE_UNUSED(67) FAKE_UNUSED(68) FAKE_UNUSED(69) FAKE_UNUSED(70)
    FAKE_UNUSED(71) FAKE_UNUSED(72) FAKE_UNUSED(73) FAKE_UNUSED(74) FAKE_UNUSED(75) FAKE_UNUSED(76) FAKE_UNUSED(77)
    FAKE_UNUSED(78) FAKE_UNUSED(79) FAKE_UNUSED(80) FAKE_UNUSED(81) FAKE_UNUSED(82) FAKE_UNUSED(83) FAKE_UNUSED(84)
    FAKE_UNUSED(85) FAKE_UNUSED(86) FAKE_UNUSED(87) FAKE_UNUSED(88) FAKE_UNUSED(89)
#undef FAKE_UNUSED

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
