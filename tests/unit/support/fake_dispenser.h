// The runtime's metadata dispenser for unit tests: opens every scope on one
// FakeMetadata (or fails as a test chooses) and remembers what was opened.
#pragma once

#include "fake_metadata.h"

namespace testing_support {

class FakeDispenser : public IMetaDataDispenserExStub {
public:
    explicit FakeDispenser(FakeMetadata* scope) : scope(scope) {}

    FakeMetadata* scope;
    HRESULT openResult = S_OK;
    std::atomic<long> refCount{1};
    std::vector<vesk::WString> openedPaths;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refCount); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refCount); }

    HRESULT STDMETHODCALLTYPE OpenScope(LPCWSTR path, DWORD, REFIID riid, IUnknown** ppIUnk) override {
        openedPaths.push_back(path);
        *ppIUnk = nullptr;
        if (FAILED(openResult)) return openResult;
        return scope->QueryInterface(riid, reinterpret_cast<void**>(ppIUnk));
    }
};

}  // namespace testing_support
