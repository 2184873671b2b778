// Call replacement at JIT time: rewrites calls of redirected synchronisation
// APIs into calls of their wrappers.
#include "clrprof/clr_callbacks.h"
#include "clrprof/debug_log.h"
#include "clrprof/il_instrumentor.h"
#include "clrprof/vesk_prof_ext.h"

namespace veskmrte_1_0 {

using namespace cor;

HRESULT CLRCallbacks::JITCompilationStarted(FunctionID functionId, BOOL) {
    if (profilerInfo() == nullptr) return S_OK;
    RuntimeGuard guard;
    tavoli::IEngineMethod* method = ILInstrumentor::getInstance().getMethod(functionId);
    VESK_LOG_EVENT("[JitCompilationStarted event]");
    VESK_LOG("  function id=" << functionId);
    if (method == nullptr) return S_OK;
    return S_OK;
}

HRESULT CLRCallbacks::JITInlining(FunctionID, FunctionID, BOOL*) { return E_NOTIMPL; }

}  // namespace veskmrte_1_0
