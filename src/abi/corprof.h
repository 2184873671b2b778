// The runtime's profiling interfaces as far as the profiler implements or
// calls them. Slot order is the interfaces' own and must never change: the
// runtime calls through the tables by position.
#pragma once

#include "abi/unknown.h"

namespace cor {

extern const IID IID_ICorProfilerCallback;
extern const IID IID_ICorProfilerCallback2;
extern const IID IID_ICorProfilerInfo;
extern const IID IID_ICorProfilerInfo2;
extern const IID IID_IMethodMalloc;
extern const IID IID_ICorProfilerInfo9;

typedef int COR_PRF_JIT_CACHE;
typedef int COR_PRF_TRANSITION_REASON;
typedef int COR_PRF_SUSPEND_REASON;
typedef int COR_PRF_GC_REASON;
typedef int COR_PRF_GC_ROOT_KIND;
typedef int COR_PRF_GC_ROOT_FLAGS;
typedef int COR_PRF_STATIC_TYPE;
typedef int CorElementType;

enum COR_PRF_MONITOR : DWORD {
    COR_PRF_MONITOR_NONE = 0,
    COR_PRF_MONITOR_FUNCTION_UNLOADS = 0x1,
    COR_PRF_MONITOR_CLASS_LOADS = 0x2,
    COR_PRF_MONITOR_MODULE_LOADS = 0x4,
    COR_PRF_MONITOR_ASSEMBLY_LOADS = 0x8,
    COR_PRF_MONITOR_APPDOMAIN_LOADS = 0x10,
    COR_PRF_MONITOR_JIT_COMPILATION = 0x20,
    COR_PRF_MONITOR_EXCEPTIONS = 0x40,
    COR_PRF_MONITOR_GC = 0x80,
    COR_PRF_MONITOR_OBJECT_ALLOCATED = 0x100,
    COR_PRF_MONITOR_THREADS = 0x200,
    COR_PRF_MONITOR_CACHE_SEARCHES = 0x20000,
    COR_PRF_ENABLE_JIT_MAPS = 0x100000,
    COR_PRF_DISABLE_INLINING = 0x200000,
    COR_PRF_ENABLE_STACK_SNAPSHOT = 0x10000000,
};

enum COR_PRF_SNAPSHOT_INFO : ULONG32 {
    COR_PRF_SNAPSHOT_DEFAULT = 0,
    COR_PRF_SNAPSHOT_REGISTER_CONTEXT = 1,
};

struct COR_PRF_CODE_INFO {
    UINT_PTR startAddress;
    SIZE_T size;
};

struct COR_DEBUG_IL_TO_NATIVE_MAP {
    ULONG32 ilOffset;
    ULONG32 nativeStartOffset;
    ULONG32 nativeEndOffset;
};

struct COR_IL_MAP {
    ULONG32 oldOffset;
    ULONG32 newOffset;
    BOOL fAccurate;
};

struct COR_FIELD_OFFSET {
    mdFieldDef ridOfField;
    uint32_t ulOffset;
};

struct COR_PRF_GC_GENERATION_RANGE {
    int generation;
    ObjectID rangeStart;
    UINT_PTR rangeLength;
    UINT_PTR rangeLengthReserved;
};

struct COR_PRF_EX_CLAUSE_INFO {
    int clauseType;
    UINT_PTR programCounter;
    UINT_PTR framePointer;
    UINT_PTR shadowStackPointer;
};

typedef HRESULT(STDMETHODCALLTYPE* StackSnapshotCallback)(FunctionID funcId, UINT_PTR ip,
                                                          COR_PRF_FRAME_INFO frameInfo, ULONG32 contextSize,
                                                          BYTE context[], void* clientData);
typedef void FunctionEnter();
typedef void FunctionLeave();
typedef void FunctionTailcall();
typedef void FunctionEnter2();
typedef void FunctionLeave2();
typedef void FunctionTailcall2();
typedef UINT_PTR(STDMETHODCALLTYPE* FunctionIDMapper)(FunctionID funcId, BOOL* hookFunction);

class IMethodMalloc : public IUnknown {
public:
    virtual void* STDMETHODCALLTYPE Alloc(ULONG cb) = 0;

protected:
    ~IMethodMalloc() = default;
};

class ICorProfilerCallback : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE Initialize(IUnknown* pICorProfilerInfoUnk) = 0;
    virtual HRESULT STDMETHODCALLTYPE Shutdown() = 0;
    virtual HRESULT STDMETHODCALLTYPE AppDomainCreationStarted(AppDomainID appDomainId) = 0;
    virtual HRESULT STDMETHODCALLTYPE AppDomainCreationFinished(AppDomainID appDomainId, HRESULT hrStatus) = 0;
    virtual HRESULT STDMETHODCALLTYPE AppDomainShutdownStarted(AppDomainID appDomainId) = 0;
    virtual HRESULT STDMETHODCALLTYPE AppDomainShutdownFinished(AppDomainID appDomainId, HRESULT hrStatus) = 0;
    virtual HRESULT STDMETHODCALLTYPE AssemblyLoadStarted(AssemblyID assemblyId) = 0;
    virtual HRESULT STDMETHODCALLTYPE AssemblyLoadFinished(AssemblyID assemblyId, HRESULT hrStatus) = 0;
    virtual HRESULT STDMETHODCALLTYPE AssemblyUnloadStarted(AssemblyID assemblyId) = 0;
    virtual HRESULT STDMETHODCALLTYPE AssemblyUnloadFinished(AssemblyID assemblyId, HRESULT hrStatus) = 0;
    virtual HRESULT STDMETHODCALLTYPE ModuleLoadStarted(ModuleID moduleId) = 0;
    virtual HRESULT STDMETHODCALLTYPE ModuleLoadFinished(ModuleID moduleId, HRESULT hrStatus) = 0;
    virtual HRESULT STDMETHODCALLTYPE ModuleUnloadStarted(ModuleID moduleId) = 0;
    virtual HRESULT STDMETHODCALLTYPE ModuleUnloadFinished(ModuleID moduleId, HRESULT hrStatus) = 0;
    virtual HRESULT STDMETHODCALLTYPE ModuleAttachedToAssembly(ModuleID moduleId, AssemblyID assemblyId) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClassLoadStarted(ClassID classId) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClassLoadFinished(ClassID classId, HRESULT hrStatus) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClassUnloadStarted(ClassID classId) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClassUnloadFinished(ClassID classId, HRESULT hrStatus) = 0;
    virtual HRESULT STDMETHODCALLTYPE FunctionUnloadStarted(FunctionID functionId) = 0;
    virtual HRESULT STDMETHODCALLTYPE JITCompilationStarted(FunctionID functionId, BOOL fIsSafeToBlock) = 0;
    virtual HRESULT STDMETHODCALLTYPE JITCompilationFinished(FunctionID functionId, HRESULT hrStatus,
                                                             BOOL fIsSafeToBlock) = 0;
    virtual HRESULT STDMETHODCALLTYPE JITCachedFunctionSearchStarted(FunctionID functionId,
                                                                     BOOL* pbUseCachedFunction) = 0;
    virtual HRESULT STDMETHODCALLTYPE JITCachedFunctionSearchFinished(FunctionID functionId,
                                                                      COR_PRF_JIT_CACHE result) = 0;
    virtual HRESULT STDMETHODCALLTYPE JITFunctionPitched(FunctionID functionId) = 0;
    virtual HRESULT STDMETHODCALLTYPE JITInlining(FunctionID callerId, FunctionID calleeId, BOOL* pfShouldInline) = 0;
    virtual HRESULT STDMETHODCALLTYPE ThreadCreated(ThreadID threadId) = 0;
    virtual HRESULT STDMETHODCALLTYPE ThreadDestroyed(ThreadID threadId) = 0;
    virtual HRESULT STDMETHODCALLTYPE ThreadAssignedToOSThread(ThreadID managedThreadId, DWORD osThreadId) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemotingClientInvocationStarted() = 0;
    virtual HRESULT STDMETHODCALLTYPE RemotingClientSendingMessage(GUID* pCookie, BOOL fIsAsync) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemotingClientReceivingReply(GUID* pCookie, BOOL fIsAsync) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemotingClientInvocationFinished() = 0;
    virtual HRESULT STDMETHODCALLTYPE RemotingServerReceivingMessage(GUID* pCookie, BOOL fIsAsync) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemotingServerInvocationStarted() = 0;
    virtual HRESULT STDMETHODCALLTYPE RemotingServerInvocationReturned() = 0;
    virtual HRESULT STDMETHODCALLTYPE RemotingServerSendingReply(GUID* pCookie, BOOL fIsAsync) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnmanagedToManagedTransition(FunctionID functionId,
                                                                   COR_PRF_TRANSITION_REASON reason) = 0;
    virtual HRESULT STDMETHODCALLTYPE ManagedToUnmanagedTransition(FunctionID functionId,
                                                                   COR_PRF_TRANSITION_REASON reason) = 0;
    virtual HRESULT STDMETHODCALLTYPE RuntimeSuspendStarted(COR_PRF_SUSPEND_REASON suspendReason) = 0;
    virtual HRESULT STDMETHODCALLTYPE RuntimeSuspendFinished() = 0;
    virtual HRESULT STDMETHODCALLTYPE RuntimeSuspendAborted() = 0;
    virtual HRESULT STDMETHODCALLTYPE RuntimeResumeStarted() = 0;
    virtual HRESULT STDMETHODCALLTYPE RuntimeResumeFinished() = 0;
    virtual HRESULT STDMETHODCALLTYPE RuntimeThreadSuspended(ThreadID threadId) = 0;
    virtual HRESULT STDMETHODCALLTYPE RuntimeThreadResumed(ThreadID threadId) = 0;
    virtual HRESULT STDMETHODCALLTYPE MovedReferences(ULONG cMovedObjectIDRanges, ObjectID oldObjectIDRangeStart[],
                                                      ObjectID newObjectIDRangeStart[],
                                                      ULONG cObjectIDRangeLength[]) = 0;
    virtual HRESULT STDMETHODCALLTYPE ObjectAllocated(ObjectID objectId, ClassID classId) = 0;
    virtual HRESULT STDMETHODCALLTYPE ObjectsAllocatedByClass(ULONG cClassCount, ClassID classIds[],
                                                              ULONG cObjects[]) = 0;
    virtual HRESULT STDMETHODCALLTYPE ObjectReferences(ObjectID objectId, ClassID classId, ULONG cObjectRefs,
                                                       ObjectID objectRefIds[]) = 0;
    virtual HRESULT STDMETHODCALLTYPE RootReferences(ULONG cRootRefs, ObjectID rootRefIds[]) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExceptionThrown(ObjectID thrownObjectId) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExceptionSearchFunctionEnter(FunctionID functionId) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExceptionSearchFunctionLeave() = 0;
    virtual HRESULT STDMETHODCALLTYPE ExceptionSearchFilterEnter(FunctionID functionId) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExceptionSearchFilterLeave() = 0;
    virtual HRESULT STDMETHODCALLTYPE ExceptionSearchCatcherFound(FunctionID functionId) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExceptionOSHandlerEnter(UINT_PTR unused) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExceptionOSHandlerLeave(UINT_PTR unused) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExceptionUnwindFunctionEnter(FunctionID functionId) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExceptionUnwindFunctionLeave() = 0;
    virtual HRESULT STDMETHODCALLTYPE ExceptionUnwindFinallyEnter(FunctionID functionId) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExceptionUnwindFinallyLeave() = 0;
    virtual HRESULT STDMETHODCALLTYPE ExceptionCatcherEnter(FunctionID functionId, ObjectID objectId) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExceptionCatcherLeave() = 0;
    virtual HRESULT STDMETHODCALLTYPE COMClassicVTableCreated(ClassID wrappedClassId, REFGUID implementedIID,
                                                              void* pVTable, ULONG cSlots) = 0;
    virtual HRESULT STDMETHODCALLTYPE COMClassicVTableDestroyed(ClassID wrappedClassId, REFGUID implementedIID,
                                                                void* pVTable) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExceptionCLRCatcherFound() = 0;
    virtual HRESULT STDMETHODCALLTYPE ExceptionCLRCatcherExecute() = 0;

protected:
    ~ICorProfilerCallback() = default;
};

class ICorProfilerCallback2 : public ICorProfilerCallback {
public:
    virtual HRESULT STDMETHODCALLTYPE ThreadNameChanged(ThreadID threadId, ULONG cchName, WCHAR name[]) = 0;
    virtual HRESULT STDMETHODCALLTYPE GarbageCollectionStarted(int cGenerations, BOOL generationCollected[],
                                                               COR_PRF_GC_REASON reason) = 0;
    virtual HRESULT STDMETHODCALLTYPE SurvivingReferences(ULONG cSurvivingObjectIDRanges,
                                                          ObjectID objectIDRangeStart[],
                                                          ULONG cObjectIDRangeLength[]) = 0;
    virtual HRESULT STDMETHODCALLTYPE GarbageCollectionFinished() = 0;
    virtual HRESULT STDMETHODCALLTYPE FinalizeableObjectQueued(DWORD finalizerFlags, ObjectID objectID) = 0;
    virtual HRESULT STDMETHODCALLTYPE RootReferences2(ULONG cRootRefs, ObjectID rootRefIds[],
                                                      COR_PRF_GC_ROOT_KIND rootKinds[],
                                                      COR_PRF_GC_ROOT_FLAGS rootFlags[], UINT_PTR rootIds[]) = 0;
    virtual HRESULT STDMETHODCALLTYPE HandleCreated(GCHandleID handleId, ObjectID initialObjectId) = 0;
    virtual HRESULT STDMETHODCALLTYPE HandleDestroyed(GCHandleID handleId) = 0;

protected:
    ~ICorProfilerCallback2() = default;
};

class ICorProfilerInfo : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE GetClassFromObject(ObjectID objectId, ClassID* pClassId) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClassFromToken(ModuleID moduleId, mdTypeDef typeDef, ClassID* pClassId) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCodeInfo(FunctionID functionId, LPCBYTE* pStart, ULONG* pcSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEventMask(DWORD* pdwEvents) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFunctionFromIP(LPCBYTE ip, FunctionID* pFunctionId) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFunctionFromToken(ModuleID moduleId, mdToken token,
                                                           FunctionID* pFunctionId) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetHandleFromThread(ThreadID threadId, void** phThread) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetObjectSize(ObjectID objectId, ULONG* pcSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsArrayClass(ClassID classId, CorElementType* pBaseElemType,
                                                   ClassID* pBaseClassId, ULONG* pcRank) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetThreadInfo(ThreadID threadId, DWORD* pdwWin32ThreadId) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentThreadID(ThreadID* pThreadId) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClassIDInfo(ClassID classId, ModuleID* pModuleId, mdTypeDef* pTypeDefToken) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFunctionInfo(FunctionID functionId, ClassID* pClassId, ModuleID* pModuleId,
                                                      mdToken* pToken) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetEventMask(DWORD dwEvents) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetEnterLeaveFunctionHooks(FunctionEnter* pFuncEnter, FunctionLeave* pFuncLeave,
                                                                 FunctionTailcall* pFuncTailcall) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFunctionIDMapper(FunctionIDMapper pFunc) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTokenAndMetaDataFromFunction(FunctionID functionId, REFIID riid,
                                                                      IUnknown** ppImport, mdToken* pToken) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetModuleInfo(ModuleID moduleId, LPCBYTE* ppBaseLoadAddress, ULONG cchName,
                                                    ULONG* pcchName, WCHAR szName[], AssemblyID* pAssemblyId) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetModuleMetaData(ModuleID moduleId, DWORD dwOpenFlags, REFIID riid,
                                                        IUnknown** ppOut) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetILFunctionBody(ModuleID moduleId, mdMethodDef methodId,
                                                        LPCBYTE* ppMethodHeader, ULONG* pcbMethodSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetILFunctionBodyAllocator(ModuleID moduleId, IMethodMalloc** ppMalloc) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetILFunctionBody(ModuleID moduleId, mdMethodDef methodid,
                                                        LPCBYTE pbNewILMethodHeader) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAppDomainInfo(AppDomainID appDomainId, ULONG cchName, ULONG* pcchName,
                                                       WCHAR szName[], ProcessID* pProcessId) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAssemblyInfo(AssemblyID assemblyId, ULONG cchName, ULONG* pcchName,
                                                      WCHAR szName[], AppDomainID* pAppDomainId,
                                                      ModuleID* pModuleId) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFunctionReJIT(FunctionID functionId) = 0;
    virtual HRESULT STDMETHODCALLTYPE ForceGC() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetILInstrumentedCodeMap(FunctionID functionId, BOOL fStartJit,
                                                               ULONG cILMapEntries, COR_IL_MAP rgILMapEntries[]) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetInprocInspectionInterface(IUnknown** ppicd) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetInprocInspectionIThisThread(IUnknown** ppicd) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetThreadContext(ThreadID threadId, ContextID* pContextId) = 0;
    virtual HRESULT STDMETHODCALLTYPE BeginInprocDebugging(BOOL fThisThreadOnly, DWORD* pdwProfilerContext) = 0;
    virtual HRESULT STDMETHODCALLTYPE EndInprocDebugging(DWORD dwProfilerContext) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetILToNativeMapping(FunctionID functionId, ULONG32 cMap, ULONG32* pcMap,
                                                           COR_DEBUG_IL_TO_NATIVE_MAP map[]) = 0;

protected:
    ~ICorProfilerInfo() = default;
};

class ICorProfilerInfo2 : public ICorProfilerInfo {
public:
    virtual HRESULT STDMETHODCALLTYPE DoStackSnapshot(ThreadID thread, StackSnapshotCallback callback,
                                                      ULONG32 infoFlags, void* clientData, BYTE context[],
                                                      ULONG32 contextSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetEnterLeaveFunctionHooks2(FunctionEnter2* pFuncEnter,
                                                                  FunctionLeave2* pFuncLeave,
                                                                  FunctionTailcall2* pFuncTailcall) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFunctionInfo2(FunctionID funcId, COR_PRF_FRAME_INFO frameInfo,
                                                       ClassID* pClassId, ModuleID* pModuleId, mdToken* pToken,
                                                       ULONG32 cTypeArgs, ULONG32* pcTypeArgs,
                                                       ClassID typeArgs[]) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStringLayout(ULONG* pBufferLengthOffset, ULONG* pStringLengthOffset,
                                                      ULONG* pBufferOffset) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClassLayout(ClassID classID, COR_FIELD_OFFSET rFieldOffset[],
                                                     ULONG cFieldOffset, ULONG* pcFieldOffset,
                                                     ULONG* pulClassSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClassIDInfo2(ClassID classId, ModuleID* pModuleId, mdTypeDef* pTypeDefToken,
                                                      ClassID* pParentClassId, ULONG32 cNumTypeArgs,
                                                      ULONG32* pcNumTypeArgs, ClassID typeArgs[]) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCodeInfo2(FunctionID functionID, ULONG32 cCodeInfos, ULONG32* pcCodeInfos,
                                                   COR_PRF_CODE_INFO codeInfos[]) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClassFromTokenAndTypeArgs(ModuleID moduleID, mdTypeDef typeDef,
                                                                   ULONG32 cTypeArgs, ClassID typeArgs[],
                                                                   ClassID* pClassID) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFunctionFromTokenAndTypeArgs(ModuleID moduleID, mdMethodDef funcDef,
                                                                      ClassID classId, ULONG32 cTypeArgs,
                                                                      ClassID typeArgs[], FunctionID* pFunctionID) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumModuleFrozenObjects(ModuleID moduleID, IUnknown** ppEnum) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetArrayObjectInfo(ObjectID objectId, ULONG32 cDimensions,
                                                         ULONG32 pDimensionSizes[], int pDimensionLowerBounds[],
                                                         BYTE** ppData) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBoxClassLayout(ClassID classId, ULONG32* pBufferOffset) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetThreadAppDomain(ThreadID threadId, AppDomainID* pAppDomainId) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRVAStaticAddress(ClassID classId, mdFieldDef fieldToken, void** ppAddress) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAppDomainStaticAddress(ClassID classId, mdFieldDef fieldToken,
                                                                AppDomainID appDomainId, void** ppAddress) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetThreadStaticAddress(ClassID classId, mdFieldDef fieldToken,
                                                             ThreadID threadId, void** ppAddress) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetContextStaticAddress(ClassID classId, mdFieldDef fieldToken,
                                                              ContextID contextId, void** ppAddress) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStaticFieldInfo(ClassID classId, mdFieldDef fieldToken,
                                                         COR_PRF_STATIC_TYPE* pFieldInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetGenerationBounds(ULONG cObjectRanges, ULONG* pcObjectRanges,
                                                          COR_PRF_GC_GENERATION_RANGE ranges[]) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetObjectGeneration(ObjectID objectId, COR_PRF_GC_GENERATION_RANGE* range) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNotifiedExceptionClauseInfo(COR_PRF_EX_CLAUSE_INFO* pinfo) = 0;

protected:
    ~ICorProfilerInfo2() = default;
};

typedef UINT_PTR ReJITID;


#define VESK_UNUSED_INFO_SLOT(n) virtual HRESULT STDMETHODCALLTYPE unusedSlot##n() = 0;

// The ninth information interface as far as the record filling uses it. The
// slots of the third to eighth interfaces come first and are never called.
class ICorProfilerInfo9 : public ICorProfilerInfo2 {
public:
    VESK_UNUSED_INFO_SLOT(57) VESK_UNUSED_INFO_SLOT(58) VESK_UNUSED_INFO_SLOT(59) VESK_UNUSED_INFO_SLOT(60)
    VESK_UNUSED_INFO_SLOT(61) VESK_UNUSED_INFO_SLOT(62) VESK_UNUSED_INFO_SLOT(63) VESK_UNUSED_INFO_SLOT(64)
    VESK_UNUSED_INFO_SLOT(65) VESK_UNUSED_INFO_SLOT(66) VESK_UNUSED_INFO_SLOT(67) VESK_UNUSED_INFO_SLOT(68)
    VESK_UNUSED_INFO_SLOT(69) VESK_UNUSED_INFO_SLOT(70) VESK_UNUSED_INFO_SLOT(71) VESK_UNUSED_INFO_SLOT(72)
    VESK_UNUSED_INFO_SLOT(73) VESK_UNUSED_INFO_SLOT(74) VESK_UNUSED_INFO_SLOT(75) VESK_UNUSED_INFO_SLOT(76)
    VESK_UNUSED_INFO_SLOT(77) VESK_UNUSED_INFO_SLOT(78) VESK_UNUSED_INFO_SLOT(79) VESK_UNUSED_INFO_SLOT(80)
    VESK_UNUSED_INFO_SLOT(81) VESK_UNUSED_INFO_SLOT(82) VESK_UNUSED_INFO_SLOT(83) VESK_UNUSED_INFO_SLOT(84)
    VESK_UNUSED_INFO_SLOT(85) VESK_UNUSED_INFO_SLOT(86) VESK_UNUSED_INFO_SLOT(87) VESK_UNUSED_INFO_SLOT(88)
    VESK_UNUSED_INFO_SLOT(89)
    // Slot 90: the start of every native body of the function's IL version
    // (0: the original IL), each body that has code.
    virtual HRESULT STDMETHODCALLTYPE GetNativeCodeStartAddresses(FunctionID functionId, ReJITID reJitId,
                                                                  ULONG32 cCodeStartAddresses,
                                                                  ULONG32* pcCodeStartAddresses,
                                                                  UINT_PTR codeStartAddresses[]) = 0;
    // Slot 91: the IL map of the body starting there.
    virtual HRESULT STDMETHODCALLTYPE GetILToNativeMapping3(UINT_PTR pNativeCodeStartAddress, ULONG32 cMap,
                                                            ULONG32* pcMap, COR_DEBUG_IL_TO_NATIVE_MAP map[]) = 0;
    // Slot 92: the code blocks of the body starting there.
    virtual HRESULT STDMETHODCALLTYPE GetCodeInfo4(UINT_PTR pNativeCodeStartAddress, ULONG32 cCodeInfos,
                                                   ULONG32* pcCodeInfos, COR_PRF_CODE_INFO codeInfos[]) = 0;

protected:
    ~ICorProfilerInfo9() = default;
};

#undef VESK_UNUSED_INFO_SLOT


}  // namespace cor
