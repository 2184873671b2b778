// A stand-in for the runtime's information interface: answers E_NOTIMPL
// everywhere except where a test sets something up, and counts what the
// profiler asked for.
#pragma once

#include "abi/corprof.h"

#include <vector>

namespace testing_support {

using namespace cor;

class FakeProfilerInfo : public ICorProfilerInfo2 {
public:
    bool supportsInfo2 = true;
    std::vector<DWORD> eventMasks;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || (supportsInfo2 && (riid == IID_ICorProfilerInfo2 || riid == IID_ICorProfilerInfo))) {
            *ppv = static_cast<ICorProfilerInfo2*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE SetEventMask(DWORD mask) override {
        eventMasks.push_back(mask);
        return S_OK;
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
    FAKE_NOTIMPL(GetClassIDInfo, ClassID, ModuleID*, mdTypeDef*)
    FAKE_NOTIMPL(GetFunctionInfo, FunctionID, ClassID*, ModuleID*, mdToken*)
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
    FAKE_NOTIMPL(GetILToNativeMapping, FunctionID, ULONG32, ULONG32*, COR_DEBUG_IL_TO_NATIVE_MAP[])
    FAKE_NOTIMPL(DoStackSnapshot, ThreadID, StackSnapshotCallback, ULONG32, void*, BYTE[], ULONG32)
    FAKE_NOTIMPL(SetEnterLeaveFunctionHooks2, FunctionEnter2*, FunctionLeave2*, FunctionTailcall2*)
    FAKE_NOTIMPL(GetFunctionInfo2, FunctionID, COR_PRF_FRAME_INFO, ClassID*, ModuleID*, mdToken*, ULONG32, ULONG32*,
                 ClassID[])
    FAKE_NOTIMPL(GetStringLayout, ULONG*, ULONG*, ULONG*)
    FAKE_NOTIMPL(GetClassLayout, ClassID, COR_FIELD_OFFSET[], ULONG, ULONG*, ULONG*)
    FAKE_NOTIMPL(GetClassIDInfo2, ClassID, ModuleID*, mdTypeDef*, ClassID*, ULONG32, ULONG32*, ClassID[])
    FAKE_NOTIMPL(GetCodeInfo2, FunctionID, ULONG32, ULONG32*, COR_PRF_CODE_INFO[])
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
};

}  // namespace testing_support
