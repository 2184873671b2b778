// The exported functions of the profiler's shared object. Everything behind
// them lives in the static library.
#include "abi/types.h"
#include "clrprof/clr_callbacks.h"
#include "clrprof/clrprof.h"
#include "clrprof/object_tracker.h"
#include "clrprof/vesk_prof_ext.h"

extern "C" {

VESK_EXPORT cor::HRESULT STDMETHODCALLTYPE DllGetClassObject(cor::REFCLSID rclsid, cor::REFIID riid, void** ppv) {
    return veskmrte_1_0::dllGetClassObject(rclsid, riid, ppv);
}

VESK_EXPORT cor::HRESULT STDMETHODCALLTYPE DllCanUnloadNow() { return veskmrte_1_0::dllCanUnloadNow(); }

VESK_EXPORT cor::HRESULT STDMETHODCALLTYPE DllRegisterServer() { return veskmrte_1_0::dllRegisterServer(); }

VESK_EXPORT cor::HRESULT STDMETHODCALLTYPE DllUnregisterServer() { return veskmrte_1_0::dllUnregisterServer(); }

VESK_EXPORT const vesk_wchar* VESK_CALL getProfilerGuid() { return veskmrte_1_0::getProfilerGuid(); }

// The tool's question: the identifier of the object now at this address.
VESK_EXPORT uint32_t VESK_CALL getObjectID(cor::ObjectID address) {
    veskmrte_1_0::RuntimeGuard guard;
    return veskmrte_1_0::ObjectTracker::instance().getObjectID(address);
}

// Changes when a collection starts: an address read while the era stays the
// same names the same memory, as nothing moves or is freed in between.
VESK_EXPORT uint64_t VESK_CALL getCollectionEra() { return veskmrte_1_0::ObjectTracker::instance().era(); }

// The tool's question about a frame: the function whose recorded code holds
// the address (every managed frame a walk returns is recorded); 0 for none.
VESK_EXPORT cor::FunctionID VESK_CALL getFunctionID(uintptr_t address) {
    veskmrte_1_0::CLRCallbacks* callbacks = veskmrte_1_0::g_callbacks.load(std::memory_order_acquire);
    return callbacks != nullptr ? callbacks->functionAt(address) : 0;
}

}  // extern "C"
