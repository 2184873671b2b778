#include "clrprof/il_instrumentor.h"

namespace veskmrte_1_0 {

ILInstrumentor& ILInstrumentor::getInstance() {
    static ILInstrumentor instrumentor;
    return instrumentor;
}

// The engine library stays loaded: a background compilation can still ask
// the engine for a method while the process exits.
ILInstrumentor::~ILInstrumentor() {}

bool ILInstrumentor::init(const vesk::WChar* fileName, const vesk::WChar* directory,
                          cor::ICorProfilerInfo2* info) {
    if (fileName == nullptr) return false;
    vesk::WString path;
    if (directory != nullptr) path = directory;
    if (!path.empty() && path.back() != pal::kDirSeparator) path += pal::kDirSeparator;
    path += fileName;
    m_engineModule = pal::loadLibrary(path);
    if (m_engineModule == nullptr) return false;
    CIEGetInstanceFn getInstance =
        reinterpret_cast<CIEGetInstanceFn>(pal::findSymbol(m_engineModule, CIE_GET_INSTANCE_NAME));
    if (getInstance == nullptr) return false;
    m_engine = getInstance(info);
    return m_engine != nullptr;
}

tavoli::IEngineMethod* ILInstrumentor::getMethod(cor::FunctionID functionId) {
    if (m_engine == nullptr) return nullptr;
    return m_engine->getMethod(functionId);
}

}  // namespace veskmrte_1_0
