// The runtime's metadata dispenser for unit tests: opens every scope on one
// FakeMetadata (or fails as a test chooses) and remembers what was opened.
#pragma once

#include "fake_metadata.h"

namespace testing_support {

class FakeDispenser : public IMetaDataDispenserEx {
public:
    explicit FakeDispenser(FakeMetadata* scope) : scope(scope) {}

    FakeMetadata* scope;
    HRESULT openResult = S_OK;
    std::atomic<long> refCount{1};
    std::vector<vesk::WString> openedPaths;
    std::vector<IID> openedInterfaces;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refCount); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refCount); }

    HRESULT STDMETHODCALLTYPE OpenScope(LPCWSTR path, DWORD, REFIID riid, IUnknown** ppIUnk) override {
        openedPaths.push_back(path);
        openedInterfaces.push_back(riid);
        *ppIUnk = nullptr;
        if (FAILED(openResult)) return openResult;
        return scope->QueryInterface(riid, reinterpret_cast<void**>(ppIUnk));
    }
    HRESULT STDMETHODCALLTYPE DefineScope(REFCLSID, DWORD, REFIID, IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OpenScopeOnMemory(const void*, ULONG, DWORD, REFIID, IUnknown**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetOption(REFGUID, const void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetOption(REFGUID, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OpenScopeOnITypeInfo(void*, DWORD, REFIID, IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCORSystemDirectory(LPWSTR, DWORD, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindAssembly(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, ULONG, ULONG*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindAssemblyModule(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, LPWSTR, ULONG,
                                                 ULONG*) override {
        return E_NOTIMPL;
    }
};

}  // namespace testing_support
