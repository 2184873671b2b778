// A stand-in for the profiler library: its two registration exports over the
// real registration code, registering the path it was loaded from.

#include "clrprof/self_registration.h"

#include <dlfcn.h>

namespace {

const char kMarker = 0;

vesk::WString ownPath() {
    Dl_info info;
    if (dladdr(&kMarker, &info) == 0 || info.dli_fname == nullptr) return vesk::WString();
    return vesk::fromUtf8(info.dli_fname);
}

}  // namespace

VESK_EXTERN_C VESK_EXPORT cor::HRESULT STDMETHODCALLTYPE DllRegisterServer() {
    return veskmrte_1_0::registerServer(ownPath());
}

VESK_EXTERN_C VESK_EXPORT cor::HRESULT STDMETHODCALLTYPE DllUnregisterServer() {
    return veskmrte_1_0::unregisterServer();
}
