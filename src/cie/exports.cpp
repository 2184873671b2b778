// The engine library's one export.
#include "cie/engine.h"

extern "C" VESK_EXPORT tavoli::IEngine* CIEGetInstance(void* profilerInfo) {
    return tavoli::cie::engineFor(static_cast<cor::ICorProfilerInfo2*>(profilerInfo));
}
