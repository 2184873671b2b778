// The IL instrumentation engine handed to the profiler by CIEGetInstance.
#pragma once

#include "abi/corprof.h"
#include "tavoli/cie.h"

namespace tavoli {
namespace cie {

// Holds nothing but the runtime's interface, which outlives it: getMethod
// may run on any number of JIT threads at once.
class Engine final : public IEngine {
public:
    explicit Engine(cor::ICorProfilerInfo2* info) : m_info(info) {}

    uint32_t version() override;
    void reserved1() override {}
    void reserved2() override {}
    IEngineMethod* getMethod(uintptr_t functionId) override;

    cor::ICorProfilerInfo2* info() const { return m_info; }

private:
    cor::ICorProfilerInfo2* const m_info;
};

// The engine for this runtime interface, made on first request and kept for
// the life of the process; null for a null interface or when memory runs
// out.
Engine* engineFor(cor::ICorProfilerInfo2* info);

}  // namespace cie
}  // namespace tavoli
