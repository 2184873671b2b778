// The runtime's information interface with every operation answering
// E_NOTIMPL: test fakes derive from it and answer only what their tests use.
#pragma once

#include "interface_stubs.h"

namespace testing_support {

class ProfilerInfoStub : public ICorProfilerInfo2Stub {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_ICorProfilerInfo || riid == IID_ICorProfilerInfo2) {
            *ppv = static_cast<ICorProfilerInfo2*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

}  // namespace testing_support
