#include "engine.h"

#include <new>

namespace tavoli {

namespace {
const uint32_t kEngineVersion = 1;
}

uint32_t Engine::version() { return kEngineVersion; }

IEngineMethod* Engine::getMethod(uintptr_t) { return nullptr; }

}  // namespace tavoli

extern "C" VESK_EXPORT tavoli::IEngine* CIEGetInstance(void* profilerInfo) {
    if (profilerInfo == nullptr) return nullptr;
    // One engine per process; it lives until the process exits.
    static tavoli::Engine* engine = new (std::nothrow) tavoli::Engine(profilerInfo);
    return engine;
}
