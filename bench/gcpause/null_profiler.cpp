// A profiler that does nothing but ask the runtime for events: the floor
// against which the real profiler's garbage-collection pauses are compared.
// It implements the same callback interface as ours and, by default, answers
// the same way (S_OK for the four collection events, E_NOTIMPL for the rest),
// because the runtime reads some answers: a failed ObjectReferences ends the
// heap walk it makes for the profiler.
//
//   VESK_NULL_MASK        low event mask, hexadecimal (default 0x101002A5)
//   VESK_NULL_MASK_HIGH   high event mask set through SetEventMask2 (default 0)
//   VESK_NULL_ANSWER      "ok": every callback answers S_OK
//   VESK_NULL_COUNTS      present: at shut-down, one line on standard error
//                         with the number of calls of each callback that came
#include "abi/corprof.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace cor;

namespace {

// {5B0B9E2C-6C1F-4E58-9A43-2D7E1B7C0A11}
const CLSID kClsid = {0x5B0B9E2C, 0x6C1F, 0x4E58, {0x9A, 0x43, 0x2D, 0x7E, 0x1B, 0x7C, 0x0A, 0x11}};
// The fifth information interface: only its event-mask pair is called.
const IID kInfo5 = {0x07602928, 0xCE38, 0x4B83, {0x81, 0xE7, 0x74, 0xAD, 0xAF, 0x78, 0x12, 0x14}};
const int kSetEventMask2Slot = 82;

#define VESK_NULL_EVENTS(X)                                                                                   \
    X(GarbageCollectionStarted) X(GarbageCollectionFinished) X(MovedReferences) X(SurvivingReferences)       \
    X(ObjectReferences) X(RootReferences) X(RootReferences2) X(ObjectsAllocatedByClass)                      \
    X(FinalizeableObjectQueued) X(HandleCreated) X(HandleDestroyed) X(RuntimeSuspendStarted)                 \
    X(RuntimeResumeFinished) X(Other)

enum Event {
#define X(name) k##name,
    VESK_NULL_EVENTS(X)
#undef X
    kEventCount
};
const char* const kEventNames[] = {
#define X(name) #name,
    VESK_NULL_EVENTS(X)
#undef X
};
std::atomic<unsigned long> g_counts[kEventCount];
std::atomic<unsigned long> g_movedRanges{0};
bool g_allOk = false;

DWORD envHex(const char* name, DWORD fallback) {
    const char* text = getenv(name);
    return text != nullptr && *text != '\0' ? static_cast<DWORD>(strtoul(text, nullptr, 16)) : fallback;
}

HRESULT note(Event e, bool handled) {
    g_counts[e].fetch_add(1, std::memory_order_relaxed);
    return handled || g_allOk ? S_OK : E_NOTIMPL;
}

class NullProfiler : public ICorProfilerCallback2 {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_ICorProfilerCallback || riid == IID_ICorProfilerCallback2) {
            *ppv = static_cast<ICorProfilerCallback2*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE Initialize(IUnknown* unknown) override {
        g_allOk = getenv("VESK_NULL_ANSWER") != nullptr && strcmp(getenv("VESK_NULL_ANSWER"), "ok") == 0;
        const DWORD low = envHex("VESK_NULL_MASK", 0x101002A5);
        const DWORD high = envHex("VESK_NULL_MASK_HIGH", 0);
        void* info = nullptr;
        if (high == 0) {
            if (unknown->QueryInterface(IID_ICorProfilerInfo2, &info) != S_OK) return E_FAIL;
            return static_cast<ICorProfilerInfo2*>(info)->SetEventMask(low);
        }
        if (unknown->QueryInterface(kInfo5, &info) != S_OK) return E_FAIL;
        // SetEventMask2 by slot: this library declares no more of the interface.
        typedef HRESULT(STDMETHODCALLTYPE * SetMask2)(void*, DWORD, DWORD);
        SetMask2 set = reinterpret_cast<SetMask2*>(*static_cast<void**>(info))[kSetEventMask2Slot];
        return set(info, low, high);
    }
    HRESULT STDMETHODCALLTYPE Shutdown() override {
        if (getenv("VESK_NULL_COUNTS") == nullptr) return S_OK;
        fprintf(stderr, "NULLPROF");
        for (int e = 0; e < kEventCount; ++e) fprintf(stderr, " %s=%lu", kEventNames[e], g_counts[e].load());
        fprintf(stderr, " MovedRanges=%lu\n", g_movedRanges.load());
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GarbageCollectionStarted(int, BOOL[], COR_PRF_GC_REASON) override {
        return note(kGarbageCollectionStarted, true);
    }
    HRESULT STDMETHODCALLTYPE GarbageCollectionFinished() override { return note(kGarbageCollectionFinished, true); }
    HRESULT STDMETHODCALLTYPE MovedReferences(ULONG count, ObjectID[], ObjectID[], ULONG[]) override {
        g_movedRanges.fetch_add(count, std::memory_order_relaxed);
        return note(kMovedReferences, true);
    }
    HRESULT STDMETHODCALLTYPE SurvivingReferences(ULONG, ObjectID[], ULONG[]) override {
        return note(kSurvivingReferences, true);
    }
    HRESULT STDMETHODCALLTYPE ObjectReferences(ObjectID, ClassID, ULONG, ObjectID[]) override {
        return note(kObjectReferences, false);
    }
    HRESULT STDMETHODCALLTYPE RootReferences(ULONG, ObjectID[]) override { return note(kRootReferences, false); }
    HRESULT STDMETHODCALLTYPE RootReferences2(ULONG, ObjectID[], COR_PRF_GC_ROOT_KIND[], COR_PRF_GC_ROOT_FLAGS[],
                                              UINT_PTR[]) override {
        return note(kRootReferences2, false);
    }
    HRESULT STDMETHODCALLTYPE ObjectsAllocatedByClass(ULONG, ClassID[], ULONG[]) override {
        return note(kObjectsAllocatedByClass, false);
    }
    HRESULT STDMETHODCALLTYPE FinalizeableObjectQueued(DWORD, ObjectID) override {
        return note(kFinalizeableObjectQueued, false);
    }
    HRESULT STDMETHODCALLTYPE HandleCreated(GCHandleID, ObjectID) override { return note(kHandleCreated, false); }
    HRESULT STDMETHODCALLTYPE HandleDestroyed(GCHandleID) override { return note(kHandleDestroyed, false); }
    HRESULT STDMETHODCALLTYPE RuntimeSuspendStarted(COR_PRF_SUSPEND_REASON) override {
        return note(kRuntimeSuspendStarted, false);
    }
    HRESULT STDMETHODCALLTYPE RuntimeResumeFinished() override { return note(kRuntimeResumeFinished, false); }

#define VESK_OTHER(name, params) \
    HRESULT STDMETHODCALLTYPE name params override { return note(kOther, false); }
    VESK_OTHER(AppDomainCreationStarted, (AppDomainID))
    VESK_OTHER(AppDomainCreationFinished, (AppDomainID, HRESULT))
    VESK_OTHER(AppDomainShutdownStarted, (AppDomainID))
    VESK_OTHER(AppDomainShutdownFinished, (AppDomainID, HRESULT))
    VESK_OTHER(AssemblyLoadStarted, (AssemblyID))
    VESK_OTHER(AssemblyLoadFinished, (AssemblyID, HRESULT))
    VESK_OTHER(AssemblyUnloadStarted, (AssemblyID))
    VESK_OTHER(AssemblyUnloadFinished, (AssemblyID, HRESULT))
    VESK_OTHER(ModuleLoadStarted, (ModuleID))
    VESK_OTHER(ModuleLoadFinished, (ModuleID, HRESULT))
    VESK_OTHER(ModuleUnloadStarted, (ModuleID))
    VESK_OTHER(ModuleUnloadFinished, (ModuleID, HRESULT))
    VESK_OTHER(ModuleAttachedToAssembly, (ModuleID, AssemblyID))
    VESK_OTHER(ClassLoadStarted, (ClassID))
    VESK_OTHER(ClassLoadFinished, (ClassID, HRESULT))
    VESK_OTHER(ClassUnloadStarted, (ClassID))
    VESK_OTHER(ClassUnloadFinished, (ClassID, HRESULT))
    VESK_OTHER(FunctionUnloadStarted, (FunctionID))
    VESK_OTHER(JITCompilationStarted, (FunctionID, BOOL))
    VESK_OTHER(JITCompilationFinished, (FunctionID, HRESULT, BOOL))
    VESK_OTHER(JITCachedFunctionSearchStarted, (FunctionID, BOOL*))
    VESK_OTHER(JITCachedFunctionSearchFinished, (FunctionID, COR_PRF_JIT_CACHE))
    VESK_OTHER(JITFunctionPitched, (FunctionID))
    VESK_OTHER(JITInlining, (FunctionID, FunctionID, BOOL*))
    VESK_OTHER(ThreadCreated, (ThreadID))
    VESK_OTHER(ThreadDestroyed, (ThreadID))
    VESK_OTHER(ThreadAssignedToOSThread, (ThreadID, DWORD))
    VESK_OTHER(RemotingClientInvocationStarted, ())
    VESK_OTHER(RemotingClientSendingMessage, (GUID*, BOOL))
    VESK_OTHER(RemotingClientReceivingReply, (GUID*, BOOL))
    VESK_OTHER(RemotingClientInvocationFinished, ())
    VESK_OTHER(RemotingServerReceivingMessage, (GUID*, BOOL))
    VESK_OTHER(RemotingServerInvocationStarted, ())
    VESK_OTHER(RemotingServerInvocationReturned, ())
    VESK_OTHER(RemotingServerSendingReply, (GUID*, BOOL))
    VESK_OTHER(UnmanagedToManagedTransition, (FunctionID, COR_PRF_TRANSITION_REASON))
    VESK_OTHER(ManagedToUnmanagedTransition, (FunctionID, COR_PRF_TRANSITION_REASON))
    VESK_OTHER(RuntimeSuspendFinished, ())
    VESK_OTHER(RuntimeSuspendAborted, ())
    VESK_OTHER(RuntimeResumeStarted, ())
    VESK_OTHER(RuntimeThreadSuspended, (ThreadID))
    VESK_OTHER(RuntimeThreadResumed, (ThreadID))
    VESK_OTHER(ObjectAllocated, (ObjectID, ClassID))
    VESK_OTHER(ExceptionThrown, (ObjectID))
    VESK_OTHER(ExceptionSearchFunctionEnter, (FunctionID))
    VESK_OTHER(ExceptionSearchFunctionLeave, ())
    VESK_OTHER(ExceptionSearchFilterEnter, (FunctionID))
    VESK_OTHER(ExceptionSearchFilterLeave, ())
    VESK_OTHER(ExceptionSearchCatcherFound, (FunctionID))
    VESK_OTHER(ExceptionOSHandlerEnter, (UINT_PTR))
    VESK_OTHER(ExceptionOSHandlerLeave, (UINT_PTR))
    VESK_OTHER(ExceptionUnwindFunctionEnter, (FunctionID))
    VESK_OTHER(ExceptionUnwindFunctionLeave, ())
    VESK_OTHER(ExceptionUnwindFinallyEnter, (FunctionID))
    VESK_OTHER(ExceptionUnwindFinallyLeave, ())
    VESK_OTHER(ExceptionCatcherEnter, (FunctionID, ObjectID))
    VESK_OTHER(ExceptionCatcherLeave, ())
    VESK_OTHER(COMClassicVTableCreated, (ClassID, REFGUID, void*, ULONG))
    VESK_OTHER(COMClassicVTableDestroyed, (ClassID, REFGUID, void*))
    VESK_OTHER(ExceptionCLRCatcherFound, ())
    VESK_OTHER(ExceptionCLRCatcherExecute, ())
    VESK_OTHER(ThreadNameChanged, (ThreadID, ULONG, WCHAR[]))
#undef VESK_OTHER
};

class Factory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = this;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID riid, void** ppv) override {
        static NullProfiler profiler;
        return profiler.QueryInterface(riid, ppv);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

}  // namespace

extern "C" __attribute__((visibility("default"))) HRESULT STDMETHODCALLTYPE DllGetClassObject(REFCLSID rclsid,
                                                                                             REFIID riid,
                                                                                             void** ppv) {
    static Factory factory;
    if (!(rclsid == kClsid)) return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(riid, ppv);
}
