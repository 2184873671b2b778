// The IL instrumentation engine handed to the profiler by CIEGetInstance.
#pragma once

#include "tavoli/cie.h"

namespace tavoli {

class Engine : public IEngine {
public:
    explicit Engine(void* profilerInfo) : m_profilerInfo(profilerInfo) {}

    uint32_t version() override;
    void reserved1() override {}
    void reserved2() override {}
    // No method is offered for rewriting yet: the profiler compiles every
    // method unchanged.
    IEngineMethod* getMethod(uintptr_t functionId) override;

private:
    void* m_profilerInfo;
};

}  // namespace tavoli
