#include "clrprof/clrprof.h"

#include "abi/guid_text.h"
#include "clrprof/clr_callbacks.h"
#include "clrprof/self_registration.h"
#include "clrprof/tool_directory.h"
#include "clrprof/vesk_prof_ext.h"
#include "pal/dll_entry.h"

#include <new>

namespace veskmrte_1_0 {

using namespace cor;

const vesk::WChar kProfilerGuidText[] = VESK_W("{5B1E0C47-93A2-4D6E-8F15-2C7A9D0E4B36}");
const vesk::WChar kThreadingModel[] = VESK_W("Both");

namespace {
pal::ModuleHandle g_module = nullptr;
}

vesk::WString extensionLibraryName() {
    vesk::WString name = VESK_W("vesktool.");
    name += pal::kSharedLibrarySuffix;
    return name;
}

pal::ModuleHandle dllModuleHandle() { return g_module; }

// ---- class factory ------------------------------------------------------------

ClassFactory::ClassFactory() : m_refCount(1), m_instanceCount(0) {}

HRESULT ClassFactory::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG ClassFactory::AddRef() { return static_cast<ULONG>(++m_refCount); }

ULONG ClassFactory::Release() {
    // The static instance holds a reference on itself and is never deleted.
    int32_t count = --m_refCount;
    return static_cast<ULONG>(count);
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID, void** ppv) {
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    if (m_instanceCount > 0) return S_FALSE;
    if (ppv == nullptr) return E_POINTER;
    CLRCallbacks* callbacks = new (std::nothrow) CLRCallbacks();
    if (callbacks == nullptr) return E_OUTOFMEMORY;
    *ppv = static_cast<ICorProfilerCallback2*>(callbacks);
    ++m_instanceCount;
    return S_OK;
}

HRESULT ClassFactory::LockServer(BOOL) { return S_OK; }

ClassFactory& classFactory() {
    static ClassFactory factory;
    return factory;
}

// ---- exported functions -------------------------------------------------------

HRESULT dllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    CLSID ours = {};
    if (!guidFromString(kProfilerGuidText, ours)) return CLASS_E_CLASSNOTAVAILABLE;
    if (rclsid != ours) return CLASS_E_CLASSNOTAVAILABLE;
    return classFactory().QueryInterface(riid, ppv);
}

HRESULT dllCanUnloadNow() { return S_OK; }

const vesk::WChar* getProfilerGuid() { return kProfilerGuidText; }

HRESULT dllRegisterServer() { return registerServer(pal::moduleFileName(g_module)); }

HRESULT dllUnregisterServer() { return unregisterServer(); }

}  // namespace veskmrte_1_0

namespace pal {

void onProcessAttach(ModuleHandle self) {
    using namespace veskmrte_1_0;
    g_module = self;
    // A missing or refused extension library never stops the library from
    // loading; Initialize later declines to start, saying why.
    ToolDirectory& tools = toolDirectory();
    tools.examine(self);
    const vesk::WString extension = extensionLibraryName();
    if (tools.admitLibrary(extension)) VeskProfExt::instance().load((tools.path() + extension).c_str());
}

}  // namespace pal
