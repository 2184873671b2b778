#include "clrprof/clr_callbacks.h"

#include "clrprof/clrprof.h"
#include "clrprof/debug_log.h"
#include "clrprof/il_instrumentor.h"
#include "clrprof/jit_writer.h"
#include "clrprof/object_tracker.h"
#include "clrprof/stack_walker.h"
#include "clrprof/tool_directory.h"
#include "clrprof/vesk_prof_ext.h"
#include "pal/pal.h"

namespace veskmrte_1_0 {

using namespace cor;

std::atomic<CLRCallbacks*> g_callbacks{nullptr};

namespace {

// Runtime and C runtime libraries that are never redirected, and the core
// library under both of its names.
const WCHAR* const kForbiddenModules[] = {
    VESK_W("msvcm80"),  VESK_W("msvcr80"),  VESK_W("msvcp80"),  VESK_W("msvcm80d"), VESK_W("msvcr80d"),
    VESK_W("msvcp80d"), VESK_W("msvcm90"),  VESK_W("msvcr90"),  VESK_W("msvcp90"),  VESK_W("msvcm90d"),
    VESK_W("msvcr90d"), VESK_W("msvcp90d"), VESK_W("mscorlib"), VESK_W("System.Private.CoreLib"),
};

}  // namespace

CLRCallbacks::CLRCallbacks()
    : m_refCount(1), m_profilerInfo(nullptr), m_corVersion(mvMSCORUnknown), m_offlineStackWalker(false) {}

CLRCallbacks::~CLRCallbacks() = default;

// ---- IUnknown ---------------------------------------------------------------

HRESULT CLRCallbacks::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_ICorProfilerCallback2) {
        *ppv = static_cast<ICorProfilerCallback2*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CLRCallbacks::AddRef() { return static_cast<ULONG>(++m_refCount); }

ULONG CLRCallbacks::Release() {
    int32_t count = --m_refCount;
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
}

// ---- start-up and shut-down ---------------------------------------------------

HRESULT CLRCallbacks::Initialize(IUnknown* pICorProfilerInfoUnk) {
    VESK_LOG("[Initialize event]");
    RuntimeGuard guard;
    if (!initialize(pICorProfilerInfoUnk)) return S_FALSE;
    VESK_LOG("  initialization succeeded");
    VESK_LOG("  event mask=" << kEventMask << (FAILED(m_eventMaskResult) ? " refused" : " set"));
    return S_OK;
}

bool CLRCallbacks::initialize(IUnknown* infoUnknown) {
    if (infoUnknown == nullptr) return false;
    void* info = nullptr;
    if (infoUnknown->QueryInterface(IID_ICorProfilerInfo2, &info) != S_OK || info == nullptr) return false;
    m_profilerInfo.store(static_cast<ICorProfilerInfo2*>(info), std::memory_order_release);
    g_callbacks.store(this, std::memory_order_release);

    const ToolDirectory& tools = toolDirectory();
    if (!tools.refusal().empty()) {
        VESK_LOG("  declined: the tool directory is refused: " << tools.refusal());
        return false;
    }
    if (!VeskProfExt::instance().isLoaded()) {
        VESK_LOG("  declined: " << VeskProfExt::instance().whyNotLoaded());
        return false;
    }
    // Without an examined directory (the core linked into a test) the
    // loaded extension library's directory stands in.
    m_binPath = tools.path().empty() ? extensionDirectory() : tools.path();
    if (m_binPath.empty()) return false;
    if (!initJitWriter()) return false;
    if (!initInstrumentor()) return false;
    if (!StackWalker::instance().setMode(VeskProfExt::instance().get_stack_walk_mode())) return false;
    if (!VeskProfExt::instance().set_stack_walker(walkStack, nextFrame)) return false;

    {
        ExclusiveHold hold(m_forbiddenLock);
        m_forbiddenModules.assign(std::begin(kForbiddenModules), std::end(kForbiddenModules));
    }
    if (pal::hasEnv("MRTE_ACTIVATE_OFFLINE_STACKWALKER")) m_offlineStackWalker = true;

    m_eventMaskResult = profilerInfo()->SetEventMask(kEventMask);
    return true;
}

// The directory of the loaded extension library, ending with the separator;
// empty when the library is not loaded.
vesk::WString CLRCallbacks::extensionDirectory() {
    const vesk::WString name = extensionLibraryName();
    pal::ModuleHandle module = pal::findLoadedModule(name);
    if (module == nullptr) return vesk::WString();
    vesk::WString path = pal::moduleFileName(module);
    if (path.size() <= name.size() || path.compare(path.size() - name.size(), name.size(), name) != 0)
        return vesk::WString();
    return path.substr(0, path.size() - name.size());
}

bool CLRCallbacks::initInstrumentor() {
    vesk::WString fileName = libraryFileName(kEngineLibrary);
    ToolDirectory& tools = toolDirectory();
    if (!tools.path().empty() && !tools.admitLibrary(fileName)) {
        VESK_LOG("  declined: the tool directory is refused: " << tools.refusal());
        return false;
    }
    return ILInstrumentor::getInstance().init(fileName.c_str(), m_binPath.c_str(), profilerInfo());
}

HRESULT CLRCallbacks::Shutdown() {
    RuntimeGuard guard;
    {
        ExclusiveHold hold(m_infoLock);
        VeskProfExt::instance().release_thread_data();
        m_profilerInfo.store(nullptr, std::memory_order_release);
    }
    VESK_LOG_EVENT("[Shutdown event] succeeded");
    return S_OK;
}

ICorProfilerInfo2* CLRCallbacks::acquireProfilerInfo() {
    m_infoLock.acquireShared();
    return profilerInfo();
}

void CLRCallbacks::releaseProfilerInfo() { m_infoLock.release(); }

// ---- the forbidden module list -------------------------------------------------

bool CLRCallbacks::isForbiddenModule(const WCHAR* name) {
    if (name == nullptr) return true;
    vesk::WString text(name);
    SharedHold hold(m_forbiddenLock);
    for (const vesk::WString& entry : m_forbiddenModules) {
        if (entry.empty() || text.find(entry) != vesk::WString::npos) return true;
    }
    return false;
}

void CLRCallbacks::addForbiddenModule(const vesk::WString& name) {
    ExclusiveHold hold(m_forbiddenLock);
    m_forbiddenModules.push_back(name);
}

// ---- handled events -------------------------------------------------------------

HRESULT CLRCallbacks::ThreadAssignedToOSThread(ThreadID managedThreadId, DWORD osThreadId) {
    if (profilerInfo() == nullptr || m_offlineStackWalker) return S_OK;
    RuntimeGuard guard;
    ThreadData* data = VeskProfExt::instance().get_thread_data();
    VESK_ASSERT(data);
    if (data->threadHandle != nullptr) pal::closeThread(data->threadHandle);
    data->managedThread = managedThreadId;
    data->osThread = osThreadId;
    data->threadHandle = pal::openThread(osThreadId);
    data->walkFlag = 0;
    // A thread moved to another OS thread starts with an empty cache; the old
    // cache is reused rather than leaked.
    if (data->frameCache != nullptr)
        data->frameCache->reset();
    else
        data->frameCache = new (std::nothrow) FrameCache();
    if (DebugLog::instance().isOn()) {
        logEventHeader("[ThreadAssignedToOSThread event]", false);
        VESK_LOG("  managed thread id=" << managedThreadId);
        VESK_LOG("  os thread id=" << osThreadId);
    }
    return S_OK;
}

HRESULT CLRCallbacks::MovedReferences(ULONG cMovedObjectIDRanges, ObjectID oldObjectIDRangeStart[],
                                      ObjectID newObjectIDRangeStart[], ULONG cObjectIDRangeLength[]) {
    if (profilerInfo() == nullptr) return S_OK;
    RuntimeGuard guard;
    VESK_LOG_EVENT("[MovedReferences event]");
    ObjectTracker::instance().movedReferences(cMovedObjectIDRanges, oldObjectIDRangeStart, newObjectIDRangeStart,
                                              cObjectIDRangeLength);
    return S_OK;
}

HRESULT CLRCallbacks::GarbageCollectionStarted(int cGenerations, BOOL generationCollected[], COR_PRF_GC_REASON) {
    ICorProfilerInfo2* info = profilerInfo();
    if (info == nullptr) return S_OK;
    RuntimeGuard guard;
    VESK_LOG_EVENT("[GarbageCollectionStarted event]");
    // The runtime refreshes the heap's bounds at the start of every
    // collection and answers the query only from inside a callback.
    ProfilerGenerationBounds bounds(info);
    ObjectTracker::instance().gcStarted(&bounds, cGenerations, generationCollected);
    return S_OK;
}

HRESULT CLRCallbacks::SurvivingReferences(ULONG cSurvivingObjectIDRanges, ObjectID objectIDRangeStart[],
                                          ULONG cObjectIDRangeLength[]) {
    if (profilerInfo() == nullptr) return S_OK;
    RuntimeGuard guard;
    VESK_LOG_EVENT("[SurvivingReferences event]");
    ObjectTracker::instance().survivingReferences(cSurvivingObjectIDRanges, objectIDRangeStart,
                                                  cObjectIDRangeLength);
    return S_OK;
}

HRESULT CLRCallbacks::GarbageCollectionFinished() {
    if (profilerInfo() == nullptr) {
        // A shut-down between a collection's start and its finish must still
        // end the collection: the tracker holds its lock until then, and the
        // tool's identity requests would wait for ever.
        ObjectTracker::instance().gcFinished();
        return S_OK;
    }
    RuntimeGuard guard;
    VESK_LOG_EVENT("[GarbageCollectionFinished event]");
    ObjectTracker::instance().gcFinished();
    return S_OK;
}

// ---- events the profiler does not handle ----------------------------------------

HRESULT CLRCallbacks::AppDomainCreationStarted(AppDomainID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::AppDomainCreationFinished(AppDomainID, HRESULT) { return E_NOTIMPL; }
HRESULT CLRCallbacks::AppDomainShutdownStarted(AppDomainID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::AppDomainShutdownFinished(AppDomainID, HRESULT) { return E_NOTIMPL; }
HRESULT CLRCallbacks::AssemblyLoadStarted(AssemblyID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::AssemblyLoadFinished(AssemblyID, HRESULT) { return E_NOTIMPL; }
HRESULT CLRCallbacks::AssemblyUnloadStarted(AssemblyID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::AssemblyUnloadFinished(AssemblyID, HRESULT) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ModuleLoadStarted(ModuleID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ModuleUnloadStarted(ModuleID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ModuleUnloadFinished(ModuleID, HRESULT) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ModuleAttachedToAssembly(ModuleID, AssemblyID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ClassLoadStarted(ClassID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ClassLoadFinished(ClassID, HRESULT) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ClassUnloadStarted(ClassID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ClassUnloadFinished(ClassID, HRESULT) { return E_NOTIMPL; }
HRESULT CLRCallbacks::JITCachedFunctionSearchStarted(FunctionID, BOOL*) { return E_NOTIMPL; }
HRESULT CLRCallbacks::JITCachedFunctionSearchFinished(FunctionID, COR_PRF_JIT_CACHE) { return E_NOTIMPL; }
HRESULT CLRCallbacks::JITFunctionPitched(FunctionID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ThreadCreated(ThreadID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ThreadDestroyed(ThreadID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::RemotingClientInvocationStarted() { return E_NOTIMPL; }
HRESULT CLRCallbacks::RemotingClientSendingMessage(GUID*, BOOL) { return E_NOTIMPL; }
HRESULT CLRCallbacks::RemotingClientReceivingReply(GUID*, BOOL) { return E_NOTIMPL; }
HRESULT CLRCallbacks::RemotingClientInvocationFinished() { return E_NOTIMPL; }
HRESULT CLRCallbacks::RemotingServerReceivingMessage(GUID*, BOOL) { return E_NOTIMPL; }
HRESULT CLRCallbacks::RemotingServerInvocationStarted() { return E_NOTIMPL; }
HRESULT CLRCallbacks::RemotingServerInvocationReturned() { return E_NOTIMPL; }
HRESULT CLRCallbacks::RemotingServerSendingReply(GUID*, BOOL) { return E_NOTIMPL; }
HRESULT CLRCallbacks::UnmanagedToManagedTransition(FunctionID, COR_PRF_TRANSITION_REASON) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ManagedToUnmanagedTransition(FunctionID, COR_PRF_TRANSITION_REASON) { return E_NOTIMPL; }
HRESULT CLRCallbacks::RuntimeSuspendStarted(COR_PRF_SUSPEND_REASON) { return E_NOTIMPL; }
HRESULT CLRCallbacks::RuntimeSuspendFinished() { return E_NOTIMPL; }
HRESULT CLRCallbacks::RuntimeSuspendAborted() { return E_NOTIMPL; }
HRESULT CLRCallbacks::RuntimeResumeStarted() { return E_NOTIMPL; }
HRESULT CLRCallbacks::RuntimeResumeFinished() { return E_NOTIMPL; }
HRESULT CLRCallbacks::RuntimeThreadSuspended(ThreadID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::RuntimeThreadResumed(ThreadID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ObjectAllocated(ObjectID, ClassID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ObjectsAllocatedByClass(ULONG, ClassID[], ULONG[]) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ObjectReferences(ObjectID, ClassID, ULONG, ObjectID[]) { return E_NOTIMPL; }
HRESULT CLRCallbacks::RootReferences(ULONG, ObjectID[]) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ExceptionThrown(ObjectID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ExceptionSearchFunctionEnter(FunctionID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ExceptionSearchFunctionLeave() { return E_NOTIMPL; }
HRESULT CLRCallbacks::ExceptionSearchFilterEnter(FunctionID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ExceptionSearchFilterLeave() { return E_NOTIMPL; }
HRESULT CLRCallbacks::ExceptionSearchCatcherFound(FunctionID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ExceptionOSHandlerEnter(UINT_PTR) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ExceptionOSHandlerLeave(UINT_PTR) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ExceptionUnwindFunctionEnter(FunctionID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ExceptionUnwindFunctionLeave() { return E_NOTIMPL; }
HRESULT CLRCallbacks::ExceptionUnwindFinallyEnter(FunctionID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ExceptionUnwindFinallyLeave() { return E_NOTIMPL; }
HRESULT CLRCallbacks::ExceptionCatcherEnter(FunctionID, ObjectID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ExceptionCatcherLeave() { return E_NOTIMPL; }
HRESULT CLRCallbacks::COMClassicVTableCreated(ClassID, REFGUID, void*, ULONG) { return E_NOTIMPL; }
HRESULT CLRCallbacks::COMClassicVTableDestroyed(ClassID, REFGUID, void*) { return E_NOTIMPL; }
HRESULT CLRCallbacks::ExceptionCLRCatcherFound() { return E_NOTIMPL; }
HRESULT CLRCallbacks::ExceptionCLRCatcherExecute() { return E_NOTIMPL; }
HRESULT CLRCallbacks::ThreadNameChanged(ThreadID, ULONG, WCHAR[]) { return E_NOTIMPL; }
HRESULT CLRCallbacks::FinalizeableObjectQueued(DWORD, ObjectID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::RootReferences2(ULONG, ObjectID[], COR_PRF_GC_ROOT_KIND[], COR_PRF_GC_ROOT_FLAGS[],
                                      UINT_PTR[]) {
    return E_NOTIMPL;
}
HRESULT CLRCallbacks::HandleCreated(GCHandleID, ObjectID) { return E_NOTIMPL; }
HRESULT CLRCallbacks::HandleDestroyed(GCHandleID) { return E_NOTIMPL; }

}  // namespace veskmrte_1_0
