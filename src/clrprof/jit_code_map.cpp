// The map of recorded JIT code and the JIT records written for it.
#include "clrprof/clr_callbacks.h"
#include "clrprof/debug_log.h"
#include "clrprof/vesk_prof_ext.h"

namespace veskmrte_1_0 {

using namespace cor;

HRESULT CLRCallbacks::JITCompilationFinished(FunctionID functionId, HRESULT, BOOL) {
    if (profilerInfo() == nullptr) return S_OK;
    RuntimeGuard guard;
    VESK_LOG_EVENT("[JitCompilationFinished event]");
    VESK_LOG("  id=" << functionId);
    return S_OK;
}

HRESULT CLRCallbacks::FunctionUnloadStarted(FunctionID) {
    if (profilerInfo() == nullptr) return S_OK;
    if (VeskProfExt::instance().get_timestamp() == 0) return S_OK;
    // Unloaded functions keep their entries; taking the lock only orders the
    // unload after any registration in progress.
    ExclusiveHold hold(m_jitMapLock);
    return S_OK;
}

}  // namespace veskmrte_1_0
