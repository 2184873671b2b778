// The runtime's information interface with every operation answering
// E_NOTIMPL: test fakes derive from it and answer only what their tests use.
#pragma once

#include "abi/corprof.h"

namespace testing_support {

class ProfilerInfoStub : public cor::ICorProfilerInfo2 {
public:
    cor::HRESULT STDMETHODCALLTYPE QueryInterface(cor::REFIID riid, void** ppv) override {
        if (riid == cor::IID_IUnknown || riid == cor::IID_ICorProfilerInfo || riid == cor::IID_ICorProfilerInfo2) {
            *ppv = static_cast<cor::ICorProfilerInfo2*>(this);
            return cor::S_OK;
        }
        *ppv = nullptr;
        return cor::E_NOINTERFACE;
    }
    cor::ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    cor::ULONG STDMETHODCALLTYPE Release() override { return 1; }

#define VESK_STUB(name, ...) \
    cor::HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return cor::E_NOTIMPL; }
    VESK_STUB(GetClassFromObject, cor::ObjectID, cor::ClassID*)
    VESK_STUB(GetClassFromToken, cor::ModuleID, cor::mdTypeDef, cor::ClassID*)
    VESK_STUB(GetCodeInfo, cor::FunctionID, cor::LPCBYTE*, cor::ULONG*)
    VESK_STUB(GetEventMask, cor::DWORD*)
    VESK_STUB(GetFunctionFromIP, cor::LPCBYTE, cor::FunctionID*)
    VESK_STUB(GetFunctionFromToken, cor::ModuleID, cor::mdToken, cor::FunctionID*)
    VESK_STUB(GetHandleFromThread, cor::ThreadID, void**)
    VESK_STUB(GetObjectSize, cor::ObjectID, cor::ULONG*)
    VESK_STUB(IsArrayClass, cor::ClassID, cor::CorElementType*, cor::ClassID*, cor::ULONG*)
    VESK_STUB(GetThreadInfo, cor::ThreadID, cor::DWORD*)
    VESK_STUB(GetCurrentThreadID, cor::ThreadID*)
    VESK_STUB(GetClassIDInfo, cor::ClassID, cor::ModuleID*, cor::mdTypeDef*)
    VESK_STUB(GetFunctionInfo, cor::FunctionID, cor::ClassID*, cor::ModuleID*, cor::mdToken*)
    VESK_STUB(SetEventMask, cor::DWORD)
    VESK_STUB(SetEnterLeaveFunctionHooks, cor::FunctionEnter*, cor::FunctionLeave*, cor::FunctionTailcall*)
    VESK_STUB(SetFunctionIDMapper, cor::FunctionIDMapper)
    VESK_STUB(GetTokenAndMetaDataFromFunction, cor::FunctionID, cor::REFIID, cor::IUnknown**, cor::mdToken*)
    VESK_STUB(GetModuleInfo, cor::ModuleID, cor::LPCBYTE*, cor::ULONG, cor::ULONG*, cor::WCHAR[], cor::AssemblyID*)
    VESK_STUB(GetModuleMetaData, cor::ModuleID, cor::DWORD, cor::REFIID, cor::IUnknown**)
    VESK_STUB(GetILFunctionBody, cor::ModuleID, cor::mdMethodDef, cor::LPCBYTE*, cor::ULONG*)
    VESK_STUB(GetILFunctionBodyAllocator, cor::ModuleID, cor::IMethodMalloc**)
    VESK_STUB(SetILFunctionBody, cor::ModuleID, cor::mdMethodDef, cor::LPCBYTE)
    VESK_STUB(GetAppDomainInfo, cor::AppDomainID, cor::ULONG, cor::ULONG*, cor::WCHAR[], cor::ProcessID*)
    VESK_STUB(GetAssemblyInfo, cor::AssemblyID, cor::ULONG, cor::ULONG*, cor::WCHAR[], cor::AppDomainID*,
              cor::ModuleID*)
    VESK_STUB(SetFunctionReJIT, cor::FunctionID)
    VESK_STUB(ForceGC)
    VESK_STUB(SetILInstrumentedCodeMap, cor::FunctionID, cor::BOOL, cor::ULONG, cor::COR_IL_MAP[])
    VESK_STUB(GetInprocInspectionInterface, cor::IUnknown**)
    VESK_STUB(GetInprocInspectionIThisThread, cor::IUnknown**)
    VESK_STUB(GetThreadContext, cor::ThreadID, cor::ContextID*)
    VESK_STUB(BeginInprocDebugging, cor::BOOL, cor::DWORD*)
    VESK_STUB(EndInprocDebugging, cor::DWORD)
    VESK_STUB(GetILToNativeMapping, cor::FunctionID, cor::ULONG32, cor::ULONG32*, cor::COR_DEBUG_IL_TO_NATIVE_MAP[])
    VESK_STUB(DoStackSnapshot, cor::ThreadID, cor::StackSnapshotCallback, cor::ULONG32, void*, cor::BYTE[],
              cor::ULONG32)
    VESK_STUB(SetEnterLeaveFunctionHooks2, cor::FunctionEnter2*, cor::FunctionLeave2*, cor::FunctionTailcall2*)
    VESK_STUB(GetFunctionInfo2, cor::FunctionID, cor::COR_PRF_FRAME_INFO, cor::ClassID*, cor::ModuleID*, cor::mdToken*,
              cor::ULONG32, cor::ULONG32*, cor::ClassID[])
    VESK_STUB(GetStringLayout, cor::ULONG*, cor::ULONG*, cor::ULONG*)
    VESK_STUB(GetClassLayout, cor::ClassID, cor::COR_FIELD_OFFSET[], cor::ULONG, cor::ULONG*, cor::ULONG*)
    VESK_STUB(GetClassIDInfo2, cor::ClassID, cor::ModuleID*, cor::mdTypeDef*, cor::ClassID*, cor::ULONG32,
              cor::ULONG32*, cor::ClassID[])
    VESK_STUB(GetCodeInfo2, cor::FunctionID, cor::ULONG32, cor::ULONG32*, cor::COR_PRF_CODE_INFO[])
    VESK_STUB(GetClassFromTokenAndTypeArgs, cor::ModuleID, cor::mdTypeDef, cor::ULONG32, cor::ClassID[],
              cor::ClassID*)
    VESK_STUB(GetFunctionFromTokenAndTypeArgs, cor::ModuleID, cor::mdMethodDef, cor::ClassID, cor::ULONG32,
              cor::ClassID[], cor::FunctionID*)
    VESK_STUB(EnumModuleFrozenObjects, cor::ModuleID, cor::IUnknown**)
    VESK_STUB(GetArrayObjectInfo, cor::ObjectID, cor::ULONG32, cor::ULONG32[], int[], cor::BYTE**)
    VESK_STUB(GetBoxClassLayout, cor::ClassID, cor::ULONG32*)
    VESK_STUB(GetThreadAppDomain, cor::ThreadID, cor::AppDomainID*)
    VESK_STUB(GetRVAStaticAddress, cor::ClassID, cor::mdFieldDef, void**)
    VESK_STUB(GetAppDomainStaticAddress, cor::ClassID, cor::mdFieldDef, cor::AppDomainID, void**)
    VESK_STUB(GetThreadStaticAddress, cor::ClassID, cor::mdFieldDef, cor::ThreadID, void**)
    VESK_STUB(GetContextStaticAddress, cor::ClassID, cor::mdFieldDef, cor::ContextID, void**)
    VESK_STUB(GetStaticFieldInfo, cor::ClassID, cor::mdFieldDef, cor::COR_PRF_STATIC_TYPE*)
    VESK_STUB(GetGenerationBounds, cor::ULONG, cor::ULONG*, cor::COR_PRF_GC_GENERATION_RANGE[])
    VESK_STUB(GetObjectGeneration, cor::ObjectID, cor::COR_PRF_GC_GENERATION_RANGE*)
    VESK_STUB(GetNotifiedExceptionClauseInfo, cor::COR_PRF_EX_CLAUSE_INFO*)
#undef VESK_STUB
};

}  // namespace testing_support
