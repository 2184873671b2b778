// The library's entry points: process attach, the class factory and the
// work behind the exported functions.
#pragma once

#include "abi/unknown.h"
#include "common/utf16.h"
#include "pal/pal.h"

#include <atomic>

namespace veskmrte_1_0 {

// The profiler's COM class identifier, braced.
extern const vesk::WChar kProfilerGuidText[];
extern const vesk::WChar kThreadingModel[];

// The extension library's file name on this platform ("vesktool.so").
vesk::WString extensionLibraryName();

// The library's own handle, recorded at process attach.
pal::ModuleHandle dllModuleHandle();

// At most one profiler object per process; the factory never deletes itself.
class ClassFactory : public cor::IClassFactory {
public:
    ClassFactory();
    virtual ~ClassFactory() = default;
    cor::HRESULT STDMETHODCALLTYPE QueryInterface(cor::REFIID riid, void** ppv) override;
    cor::ULONG STDMETHODCALLTYPE AddRef() override;
    cor::ULONG STDMETHODCALLTYPE Release() override;
    cor::HRESULT STDMETHODCALLTYPE CreateInstance(cor::IUnknown* outer, cor::REFIID riid, void** ppv) override;
    cor::HRESULT STDMETHODCALLTYPE LockServer(cor::BOOL lock) override;

    int32_t instanceCount() const { return m_instanceCount; }

private:
    std::atomic<int32_t> m_refCount;
    int32_t m_instanceCount;
};

ClassFactory& classFactory();

cor::HRESULT dllGetClassObject(cor::REFCLSID rclsid, cor::REFIID riid, void** ppv);
cor::HRESULT dllCanUnloadNow();
const vesk::WChar* getProfilerGuid();
cor::HRESULT dllRegisterServer();
cor::HRESULT dllUnregisterServer();

}  // namespace veskmrte_1_0
