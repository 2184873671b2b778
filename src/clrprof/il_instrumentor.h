// The profiler's side of the IL instrumentation engine: finds and loads the
// engine library and keeps the engine object it hands out.
#pragma once

#include "abi/corprof.h"
#include "pal/pal.h"
#include "tavoli/cie.h"

namespace veskmrte_1_0 {

class ILInstrumentor {
public:
    static ILInstrumentor& getInstance();
    virtual ~ILInstrumentor();

    // Loads directory + file name and asks it for the engine. A library that
    // loads stays loaded even when the rest fails.
    bool init(const vesk::WChar* fileName, const vesk::WChar* directory, cor::ICorProfilerInfo2* info);
    // The engine's object for a method about to be compiled; null when no
    // engine is loaded or the engine offers nothing for it.
    tavoli::IEngineMethod* getMethod(cor::FunctionID functionId);

private:
    ILInstrumentor() = default;
    pal::ModuleHandle m_engineModule = nullptr;
    tavoli::IEngine* m_engine = nullptr;
};

}  // namespace veskmrte_1_0
