#include "cie/engine.h"
#include "cie/engine_method.h"

#include <mutex>
#include <new>

namespace tavoli {
namespace cie {

using namespace cor;

namespace {

const uint32_t kEngineVersion = 1;

// Engines are never freed: a background compilation may still be inside one
// while the process exits. Normally there is exactly one.
struct EngineNode {
    Engine engine;
    EngineNode* next;
};

std::mutex g_enginesLock;
EngineNode* g_engines = nullptr;

}  // namespace

uint32_t Engine::version() { return kEngineVersion; }

IEngineMethod* Engine::getMethod(uintptr_t functionId) {
    if (functionId == 0) return nullptr;
    ClassID classId = 0;
    ModuleID moduleId = 0;
    mdToken token = 0;
    if (FAILED(m_info->GetFunctionInfo(functionId, &classId, &moduleId, &token))) return nullptr;
    if (TypeFromToken(token) != mdtMethodDef || RidFromToken(token) == 0) return nullptr;
    LPCBYTE header = nullptr;
    ULONG size = 0;
    if (FAILED(m_info->GetILFunctionBody(moduleId, token, &header, &size)) || header == nullptr || size == 0)
        return nullptr;
    MethodIdentity identity;
    identity.info = m_info;
    identity.functionId = functionId;
    identity.moduleId = moduleId;
    identity.token = token;
    return EngineMethod::create(identity, header, size);
}

Engine* engineFor(ICorProfilerInfo2* info) {
    if (info == nullptr) return nullptr;
    std::lock_guard<std::mutex> hold(g_enginesLock);
    for (EngineNode* node = g_engines; node != nullptr; node = node->next)
        if (node->engine.info() == info) return &node->engine;
    EngineNode* node = new (std::nothrow) EngineNode{Engine(info), g_engines};
    if (node == nullptr) return nullptr;
    g_engines = node;
    return &node->engine;
}

}  // namespace cie
}  // namespace tavoli
