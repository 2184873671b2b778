// The one object through which the runtime talks to the profiler: start-up,
// shut-down, and the dispatch of every event to the unit that handles it.
#pragma once

#include "abi/corprof.h"
#include "clrprof/runtime_version.h"
#include "clrprof/rw_lock.h"
#include "clrprof/wrapper_manager.h"
#include "common/utf16.h"
#include "clrprof/jit_record.h"
#include "clrprof/module.h"

#include <atomic>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace veskmrte_1_0 {

// The event mask requested on a successful start. The collection events are
// the broad flag because, up to .NET 10 at least, only it brings the moved and
// surviving ranges the object identities follow: the high word's basic
// collection events with moved objects delivers start and finish but no
// ranges (bench/gcpause/README.md).
const cor::DWORD kEventMask = cor::COR_PRF_MONITOR_FUNCTION_UNLOADS | cor::COR_PRF_MONITOR_MODULE_LOADS |
                              cor::COR_PRF_MONITOR_JIT_COMPILATION | cor::COR_PRF_MONITOR_GC |
                              cor::COR_PRF_MONITOR_THREADS | cor::COR_PRF_ENABLE_JIT_MAPS |
                              cor::COR_PRF_ENABLE_STACK_SNAPSHOT;
static_assert(kEventMask == 0x101002A5, "the event mask the tool's design expects");


// A code range used as a map key: overlapping ranges compare equal, so a
// lookup with the one-byte range {address, 1} finds the range holding it.
struct JitRange {
    uintptr_t start;
    size_t size;
    bool operator<(const JitRange& other) const { return start + size <= other.start; }
};

// One recorded code body: the runtime compiles a function again for a later
// tier or for on-stack replacement, and each body lives at its own address.
struct JitBody {
    cor::FunctionID function;
    uintptr_t start;  // of the body's first code block
    bool operator<(const JitBody& other) const {
        return function != other.function ? function < other.function : start < other.start;
    }
};

class CLRCallbacks : public cor::ICorProfilerCallback2 {
public:
    CLRCallbacks();
    virtual ~CLRCallbacks();
    CLRCallbacks(const CLRCallbacks&) = delete;
    CLRCallbacks& operator=(const CLRCallbacks&) = delete;

    // IUnknown
    cor::HRESULT STDMETHODCALLTYPE QueryInterface(cor::REFIID riid, void** ppv) override;
    cor::ULONG STDMETHODCALLTYPE AddRef() override;
    cor::ULONG STDMETHODCALLTYPE Release() override;

    // ICorProfilerCallback
    cor::HRESULT STDMETHODCALLTYPE Initialize(cor::IUnknown* pICorProfilerInfoUnk) override;
    cor::HRESULT STDMETHODCALLTYPE Shutdown() override;
    cor::HRESULT STDMETHODCALLTYPE AppDomainCreationStarted(cor::AppDomainID) override;
    cor::HRESULT STDMETHODCALLTYPE AppDomainCreationFinished(cor::AppDomainID, cor::HRESULT) override;
    cor::HRESULT STDMETHODCALLTYPE AppDomainShutdownStarted(cor::AppDomainID) override;
    cor::HRESULT STDMETHODCALLTYPE AppDomainShutdownFinished(cor::AppDomainID, cor::HRESULT) override;
    cor::HRESULT STDMETHODCALLTYPE AssemblyLoadStarted(cor::AssemblyID) override;
    cor::HRESULT STDMETHODCALLTYPE AssemblyLoadFinished(cor::AssemblyID, cor::HRESULT) override;
    cor::HRESULT STDMETHODCALLTYPE AssemblyUnloadStarted(cor::AssemblyID) override;
    cor::HRESULT STDMETHODCALLTYPE AssemblyUnloadFinished(cor::AssemblyID, cor::HRESULT) override;
    cor::HRESULT STDMETHODCALLTYPE ModuleLoadStarted(cor::ModuleID) override;
    cor::HRESULT STDMETHODCALLTYPE ModuleLoadFinished(cor::ModuleID moduleId, cor::HRESULT hrStatus) override;
    cor::HRESULT STDMETHODCALLTYPE ModuleUnloadStarted(cor::ModuleID) override;
    cor::HRESULT STDMETHODCALLTYPE ModuleUnloadFinished(cor::ModuleID, cor::HRESULT) override;
    cor::HRESULT STDMETHODCALLTYPE ModuleAttachedToAssembly(cor::ModuleID, cor::AssemblyID) override;
    cor::HRESULT STDMETHODCALLTYPE ClassLoadStarted(cor::ClassID) override;
    cor::HRESULT STDMETHODCALLTYPE ClassLoadFinished(cor::ClassID, cor::HRESULT) override;
    cor::HRESULT STDMETHODCALLTYPE ClassUnloadStarted(cor::ClassID) override;
    cor::HRESULT STDMETHODCALLTYPE ClassUnloadFinished(cor::ClassID, cor::HRESULT) override;
    cor::HRESULT STDMETHODCALLTYPE FunctionUnloadStarted(cor::FunctionID functionId) override;
    cor::HRESULT STDMETHODCALLTYPE JITCompilationStarted(cor::FunctionID functionId, cor::BOOL fIsSafeToBlock) override;
    cor::HRESULT STDMETHODCALLTYPE JITCompilationFinished(cor::FunctionID functionId, cor::HRESULT hrStatus,
                                                          cor::BOOL fIsSafeToBlock) override;
    cor::HRESULT STDMETHODCALLTYPE JITCachedFunctionSearchStarted(cor::FunctionID, cor::BOOL*) override;
    cor::HRESULT STDMETHODCALLTYPE JITCachedFunctionSearchFinished(cor::FunctionID, cor::COR_PRF_JIT_CACHE) override;
    cor::HRESULT STDMETHODCALLTYPE JITFunctionPitched(cor::FunctionID) override;
    cor::HRESULT STDMETHODCALLTYPE JITInlining(cor::FunctionID, cor::FunctionID, cor::BOOL*) override;
    cor::HRESULT STDMETHODCALLTYPE ThreadCreated(cor::ThreadID) override;
    cor::HRESULT STDMETHODCALLTYPE ThreadDestroyed(cor::ThreadID) override;
    cor::HRESULT STDMETHODCALLTYPE ThreadAssignedToOSThread(cor::ThreadID managedThreadId,
                                                            cor::DWORD osThreadId) override;
    cor::HRESULT STDMETHODCALLTYPE RemotingClientInvocationStarted() override;
    cor::HRESULT STDMETHODCALLTYPE RemotingClientSendingMessage(cor::GUID*, cor::BOOL) override;
    cor::HRESULT STDMETHODCALLTYPE RemotingClientReceivingReply(cor::GUID*, cor::BOOL) override;
    cor::HRESULT STDMETHODCALLTYPE RemotingClientInvocationFinished() override;
    cor::HRESULT STDMETHODCALLTYPE RemotingServerReceivingMessage(cor::GUID*, cor::BOOL) override;
    cor::HRESULT STDMETHODCALLTYPE RemotingServerInvocationStarted() override;
    cor::HRESULT STDMETHODCALLTYPE RemotingServerInvocationReturned() override;
    cor::HRESULT STDMETHODCALLTYPE RemotingServerSendingReply(cor::GUID*, cor::BOOL) override;
    cor::HRESULT STDMETHODCALLTYPE UnmanagedToManagedTransition(cor::FunctionID,
                                                                cor::COR_PRF_TRANSITION_REASON) override;
    cor::HRESULT STDMETHODCALLTYPE ManagedToUnmanagedTransition(cor::FunctionID,
                                                                cor::COR_PRF_TRANSITION_REASON) override;
    cor::HRESULT STDMETHODCALLTYPE RuntimeSuspendStarted(cor::COR_PRF_SUSPEND_REASON) override;
    cor::HRESULT STDMETHODCALLTYPE RuntimeSuspendFinished() override;
    cor::HRESULT STDMETHODCALLTYPE RuntimeSuspendAborted() override;
    cor::HRESULT STDMETHODCALLTYPE RuntimeResumeStarted() override;
    cor::HRESULT STDMETHODCALLTYPE RuntimeResumeFinished() override;
    cor::HRESULT STDMETHODCALLTYPE RuntimeThreadSuspended(cor::ThreadID) override;
    cor::HRESULT STDMETHODCALLTYPE RuntimeThreadResumed(cor::ThreadID) override;
    cor::HRESULT STDMETHODCALLTYPE MovedReferences(cor::ULONG cMovedObjectIDRanges,
                                                   cor::ObjectID oldObjectIDRangeStart[],
                                                   cor::ObjectID newObjectIDRangeStart[],
                                                   cor::ULONG cObjectIDRangeLength[]) override;
    cor::HRESULT STDMETHODCALLTYPE ObjectAllocated(cor::ObjectID, cor::ClassID) override;
    cor::HRESULT STDMETHODCALLTYPE ObjectsAllocatedByClass(cor::ULONG, cor::ClassID[], cor::ULONG[]) override;
    cor::HRESULT STDMETHODCALLTYPE ObjectReferences(cor::ObjectID, cor::ClassID, cor::ULONG, cor::ObjectID[]) override;
    cor::HRESULT STDMETHODCALLTYPE RootReferences(cor::ULONG, cor::ObjectID[]) override;
    cor::HRESULT STDMETHODCALLTYPE ExceptionThrown(cor::ObjectID) override;
    cor::HRESULT STDMETHODCALLTYPE ExceptionSearchFunctionEnter(cor::FunctionID) override;
    cor::HRESULT STDMETHODCALLTYPE ExceptionSearchFunctionLeave() override;
    cor::HRESULT STDMETHODCALLTYPE ExceptionSearchFilterEnter(cor::FunctionID) override;
    cor::HRESULT STDMETHODCALLTYPE ExceptionSearchFilterLeave() override;
    cor::HRESULT STDMETHODCALLTYPE ExceptionSearchCatcherFound(cor::FunctionID) override;
    cor::HRESULT STDMETHODCALLTYPE ExceptionOSHandlerEnter(cor::UINT_PTR) override;
    cor::HRESULT STDMETHODCALLTYPE ExceptionOSHandlerLeave(cor::UINT_PTR) override;
    cor::HRESULT STDMETHODCALLTYPE ExceptionUnwindFunctionEnter(cor::FunctionID) override;
    cor::HRESULT STDMETHODCALLTYPE ExceptionUnwindFunctionLeave() override;
    cor::HRESULT STDMETHODCALLTYPE ExceptionUnwindFinallyEnter(cor::FunctionID) override;
    cor::HRESULT STDMETHODCALLTYPE ExceptionUnwindFinallyLeave() override;
    cor::HRESULT STDMETHODCALLTYPE ExceptionCatcherEnter(cor::FunctionID, cor::ObjectID) override;
    cor::HRESULT STDMETHODCALLTYPE ExceptionCatcherLeave() override;
    cor::HRESULT STDMETHODCALLTYPE COMClassicVTableCreated(cor::ClassID, cor::REFGUID, void*, cor::ULONG) override;
    cor::HRESULT STDMETHODCALLTYPE COMClassicVTableDestroyed(cor::ClassID, cor::REFGUID, void*) override;
    cor::HRESULT STDMETHODCALLTYPE ExceptionCLRCatcherFound() override;
    cor::HRESULT STDMETHODCALLTYPE ExceptionCLRCatcherExecute() override;

    // ICorProfilerCallback2
    cor::HRESULT STDMETHODCALLTYPE ThreadNameChanged(cor::ThreadID, cor::ULONG, cor::WCHAR[]) override;
    cor::HRESULT STDMETHODCALLTYPE GarbageCollectionStarted(int cGenerations, cor::BOOL generationCollected[],
                                                            cor::COR_PRF_GC_REASON reason) override;
    cor::HRESULT STDMETHODCALLTYPE SurvivingReferences(cor::ULONG cSurvivingObjectIDRanges,
                                                       cor::ObjectID objectIDRangeStart[],
                                                       cor::ULONG cObjectIDRangeLength[]) override;
    cor::HRESULT STDMETHODCALLTYPE GarbageCollectionFinished() override;
    cor::HRESULT STDMETHODCALLTYPE FinalizeableObjectQueued(cor::DWORD, cor::ObjectID) override;
    cor::HRESULT STDMETHODCALLTYPE RootReferences2(cor::ULONG, cor::ObjectID[], cor::COR_PRF_GC_ROOT_KIND[],
                                                   cor::COR_PRF_GC_ROOT_FLAGS[], cor::UINT_PTR[]) override;
    cor::HRESULT STDMETHODCALLTYPE HandleCreated(cor::GCHandleID, cor::ObjectID) override;
    cor::HRESULT STDMETHODCALLTYPE HandleDestroyed(cor::GCHandleID) override;

    // A null name counts as forbidden; otherwise true when any entry is empty
    // or occurs in the name (case-sensitive).
    bool isForbiddenModule(const vesk::WChar* name);
    void addForbiddenModule(const vesk::WString& name);

    // The runtime interface under the shared information lock; pair every
    // call with releaseProfilerInfo, which Shutdown waits for.
    cor::ICorProfilerInfo2* acquireProfilerInfo();
    void releaseProfilerInfo();

    const vesk::WString& binPath() const { return m_binPath; }
    bool offlineStackWalker() const { return m_offlineStackWalker; }
    cor::ICorProfilerInfo2* profilerInfo() const { return m_profilerInfo.load(std::memory_order_acquire); }

    bool initInstrumentor();

    // The core library's file version decides the runtime version, detected
    // once and cached.
    uint32_t detectRuntimeVersion();
    // The module's file name as the runtime reports it and its image range.
    bool getModuleInfo(cor::ModuleID moduleId, vesk::WString& name, uintptr_t& imageBase, size_t& imageSize,
                       bool& isNativeImage);
    static bool isNativeImagePath(const vesk::WString& path);

private:
    void loadWrappersOnce(uint32_t corVer);
    // Gives the module its writable metadata interfaces; false (logged) when
    // the runtime refuses them.
    bool openForWriting(cor::ICorProfilerInfo2* info, Module* module);
    // Whether the chosen wrapper assembly's references are all in the
    // running runtime; `otherwise` ends the log line of one that is not.
    bool wrappersFitRuntime(const char* otherwise);
    bool holdsUnrewrittenRedirectedCall(cor::ICorProfilerInfo2* info, cor::FunctionID calleeId);
    void noteIlSettled(cor::FunctionID functionId);

    bool initialize(cor::IUnknown* infoUnknown);
    static vesk::WString extensionDirectory();

    std::atomic<int32_t> m_refCount;
    vesk::WString m_binPath;
    ReadWriteLock m_infoLock;
    std::atomic<cor::ICorProfilerInfo2*> m_profilerInfo;
    std::vector<vesk::WString> m_forbiddenModules;
    ReadWriteLock m_forbiddenLock;
    // ---- the map of recorded JIT code (jit_code_map.cpp) ----
public:
    // Records each code body the runtime holds for the function (every tier,
    // every on-stack replacement) that is not recorded yet: one JIT record per
    // body, its code ranges mapped. True when all of them are recorded,
    // already or now; false for function 0 and for code the runtime cannot
    // report, which a later call retries. A zero time stamp means the
    // module's load time.
    bool registerJitCode(cor::FunctionID funcID, uint64_t timestamp);
    // registerJitCode for a function a stack walk met. Once its bodies are
    // recorded, later ones arrive through compilation events, so walks that
    // meet it again ask nothing of the runtime.
    bool registerWalkedFunction(cor::FunctionID funcID, uint64_t timestamp);
    // Records the function whose code holds the address.
    bool registerCodeAtIp(uintptr_t address);
    bool isJitCode(uintptr_t address);
    // The function whose recorded code holds the address; 0 when none does.
    cor::FunctionID functionAt(uintptr_t address);
    // The record filling with this object's runtime interface and the
    // process's module registry.
    bool fillJitRecord(cor::FunctionID funcID, plovat1::JitRecord& record);

private:
    cor::ICorProfilerInfo9* codeVersionInfo();
    bool registerFirstBody(cor::FunctionID funcID, uint64_t timestamp);
    bool recordBody(const JitBody& body, uint64_t timestamp, plovat1::JitRecord& record);
    void mapCodeRange(const JitRange& range, cor::FunctionID funcID);

    std::set<JitBody> m_funcIDMap;
    std::unordered_set<cor::FunctionID> m_walkedFunctions;
    std::map<JitRange, cor::FunctionID> m_jitRangeMap;
    ReadWriteLock m_jitMapLock;
    // Under m_jitMapLock: the interface that lists every body, asked for once
    // (null on a runtime without it), and scratch space for the list.
    cor::ICorProfilerInfo9* m_codeVersionInfo = nullptr;
    bool m_codeVersionInfoAsked = false;
    std::vector<uintptr_t> m_bodyStarts;
    std::atomic<uint32_t> m_corVersion;
    WrapperManager m_wrapperMngr;
    bool m_offlineStackWalker;
    // What the runtime answered to the event mask, for the debug log.
    cor::HRESULT m_eventMaskResult = cor::S_OK;
    pal::Mutex m_moduleLoadLock;
    pal::Mutex m_wrapperLoadLock;
    // Under m_wrapperLoadLock: the wrapper assembly was looked for (found or
    // not, usable or not).
    bool m_wrappersLooked = false;
    std::atomic<bool> m_wrappersResolvable{false};
    // The wrappers by the class they stand in for, and those classes in the
    // same order, set with m_wrappersResolvable: a module load asks once
    // whether the module can name each class, not once per wrapper.
    std::vector<std::vector<Wrapper*>> m_wrappersByClass;
    std::vector<Module::ClassName> m_wrappedClasses;
    // Per callee: true while its IL still holds a redirected call that its
    // own compilation has not rewritten.
    pal::Mutex m_inlineLock;
    std::unordered_map<cor::FunctionID, bool> m_inlineVerdicts;
};


// The one callback object, set by Initialize and never cleared.
extern std::atomic<CLRCallbacks*> g_callbacks;

// registerWalkedFunction on g_callbacks, as a plain function for the stack
// walker.
bool registerJitCodeCallback(cor::FunctionID funcID, uint64_t timestamp);

}  // namespace veskmrte_1_0
