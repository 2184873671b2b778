// A stand-in for the runtime's information interface: answers E_NOTIMPL
// everywhere except where a test sets something up, and counts what the
// profiler asked for.
#pragma once

#include "abi/corprof.h"
#include "profiler_info_stub.h"

#include <vector>

namespace testing_support {

using namespace cor;

class FakeProfilerInfo : public ProfilerInfoStub {
public:
    bool supportsInfo2 = true;
    std::vector<DWORD> eventMasks;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || (supportsInfo2 && (riid == IID_ICorProfilerInfo2 || riid == IID_ICorProfilerInfo))) {
            *ppv = static_cast<ICorProfilerInfo2*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE SetEventMask(DWORD mask) override {
        eventMasks.push_back(mask);
        return S_OK;
    }

};

}  // namespace testing_support
