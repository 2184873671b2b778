// A stand-in for the runtime's information interface as the JIT records use
// it: functions with any number of code bodies whose code lives in the test's
// own memory, IL maps, modules and classes, calls that fail on request, and
// counts of what the profiler asked.
#pragma once

#include "clrprof/jit_record.h"

#include <atomic>
#include <cstdint>
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
    // The first body is the one GetCodeInfo2 and GetILToNativeMapping
    // describe, as the runtime does.
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
    bool answersInfo9 = true;
    unsigned failing = 0;
    std::map<FunctionID, FakeFunction> functions;
    std::map<uintptr_t, FunctionID> functionAtIp;
    // Runs inside GetNativeCodeStartAddresses, for tests that need a
    // registration to stop half-way.
    std::function<void()> onBodyStarts;

    std::atomic<int> codeInfoCalls{0};
    std::atomic<int> functionInfoCalls{0};
    std::atomic<int> classInfoCalls{0};
    std::atomic<int> ilMapCalls{0};
    std::atomic<int> bodyStartsCalls{0};
    std::atomic<int> functionFromIpCalls{0};

    int queries() const {
        return codeInfoCalls + functionInfoCalls + classInfoCalls + ilMapCalls + bodyStartsCalls +
               functionFromIpCalls;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE SetEventMask(DWORD) override { return S_OK; }

    HRESULT STDMETHODCALLTYPE GetCodeInfo2(FunctionID, ULONG32, ULONG32*, COR_PRF_CODE_INFO[]) override;
    HRESULT STDMETHODCALLTYPE GetFunctionInfo(FunctionID, ClassID*, ModuleID*, mdToken*) override;
    HRESULT STDMETHODCALLTYPE GetClassIDInfo(ClassID, ModuleID*, mdTypeDef*) override;
    HRESULT STDMETHODCALLTYPE GetILToNativeMapping(FunctionID, ULONG32, ULONG32*,
                                                   COR_DEBUG_IL_TO_NATIVE_MAP[]) override;
    HRESULT STDMETHODCALLTYPE GetFunctionFromIP(LPCBYTE, FunctionID*) override;
    HRESULT STDMETHODCALLTYPE GetNativeCodeStartAddresses(FunctionID, ReJITID, ULONG32, ULONG32*,
                                                          UINT_PTR[]) override;
    HRESULT STDMETHODCALLTYPE GetILToNativeMapping3(UINT_PTR, ULONG32, ULONG32*,
                                                    COR_DEBUG_IL_TO_NATIVE_MAP[]) override;
    HRESULT STDMETHODCALLTYPE GetCodeInfo4(UINT_PTR, ULONG32, ULONG32*, COR_PRF_CODE_INFO[]) override;

#define FAKE_NOTIMPL(name, ...) \
    HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }
#define FAKE_UNUSED_SLOT(n) \
    HRESULT STDMETHODCALLTYPE unusedSlot##n() override { return E_NOTIMPL; }
    FAKE_NOTIMPL(GetClassFromObject, ObjectID, ClassID*)
    FAKE_NOTIMPL(GetClassFromToken, ModuleID, mdTypeDef, ClassID*)
    FAKE_NOTIMPL(GetCodeInfo, FunctionID, LPCBYTE*, ULONG*)
    FAKE_NOTIMPL(GetEventMask, DWORD*)
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
    FAKE_UNUSED_SLOT(57) FAKE_UNUSED_SLOT(58) FAKE_UNUSED_SLOT(59) FAKE_UNUSED_SLOT(60) FAKE_UNUSED_SLOT(61)
    FAKE_UNUSED_SLOT(62) FAKE_UNUSED_SLOT(63) FAKE_UNUSED_SLOT(64) FAKE_UNUSED_SLOT(65) FAKE_UNUSED_SLOT(66)
    FAKE_UNUSED_SLOT(67) FAKE_UNUSED_SLOT(68) FAKE_UNUSED_SLOT(69) FAKE_UNUSED_SLOT(70) FAKE_UNUSED_SLOT(71)
    FAKE_UNUSED_SLOT(72) FAKE_UNUSED_SLOT(73) FAKE_UNUSED_SLOT(74) FAKE_UNUSED_SLOT(75) FAKE_UNUSED_SLOT(76)
    FAKE_UNUSED_SLOT(77) FAKE_UNUSED_SLOT(78) FAKE_UNUSED_SLOT(79) FAKE_UNUSED_SLOT(80) FAKE_UNUSED_SLOT(81)
    FAKE_UNUSED_SLOT(82) FAKE_UNUSED_SLOT(83) FAKE_UNUSED_SLOT(84) FAKE_UNUSED_SLOT(85) FAKE_UNUSED_SLOT(86)
    FAKE_UNUSED_SLOT(87) FAKE_UNUSED_SLOT(88) FAKE_UNUSED_SLOT(89)
#undef FAKE_UNUSED_SLOT
#undef FAKE_NOTIMPL

private:
    const FakeBody* bodyAt(uintptr_t start) const;
};

// Memory that stands for the runtime's code heap: blocks handed out are
// filled with a recognisable pattern and stay valid while the arena lives.
class CodeArena {
public:
    explicit CodeArena(size_t size = 1 << 16);
    // A block at a given offset into the arena.
    COR_PRF_CODE_INFO block(size_t offset, size_t size) const;
    uintptr_t address(size_t offset) const { return reinterpret_cast<uintptr_t>(m_bytes.data()) + offset; }
    const uint8_t* bytes(size_t offset) const { return m_bytes.data() + offset; }

private:
    std::vector<uint8_t> m_bytes;
};

}  // namespace jitrecords_test
