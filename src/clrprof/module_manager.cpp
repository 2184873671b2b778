#include "clrprof/module_manager.h"

#include "clrprof/result.h"
#include "clrprof/module.h"

namespace veskmrte_1_0 {

ModuleManager& ModuleManager::getInstance() {
    static ModuleManager manager;
    return manager;
}

ModuleManager::~ModuleManager() {
    for (auto& entry : m_moduleMap) delete entry.second;
    m_moduleMap.clear();
    m_imageRangeMap.clear();
}

int ModuleManager::addModule(cor::ModuleID id, Module* module) {
    if (id == 0 || module == nullptr || module->getImageBase() == 0 || module->getImageSize() == 0)
        return meFailure;
    ExclusiveHold hold(m_lock);
    auto found = m_moduleMap.find(id);
    if (found == m_moduleMap.end()) {
        m_moduleMap.emplace(id, module);
    } else {
        // The replaced record's range goes with it, so that the map keeps one
        // entry per registered native image.
        Module* old = found->second;
        if (old != nullptr && old->isNativeImage()) {
            auto range = m_imageRangeMap.find(ImageRange{old->getImageBase(), old->getImageSize()});
            if (range != m_imageRangeMap.end() && range->second == id) m_imageRangeMap.erase(range);
        }
        delete old;
        found->second = module;
    }
    if (module->isNativeImage()) {
        if (!m_imageRangeMap.emplace(ImageRange{module->getImageBase(), module->getImageSize()}, id).second)
            return meFailure;
    }
    return meSuccess;
}

Module* ModuleManager::findModule(cor::ModuleID id) {
    SharedHold hold(m_lock);
    auto found = m_moduleMap.find(id);
    return found == m_moduleMap.end() ? nullptr : found->second;
}

Module* ModuleManager::findModuleByName(const vesk::WChar* name) {
    if (name == nullptr) return nullptr;
    vesk::WString text(name);
    SharedHold hold(m_lock);
    for (const auto& entry : m_moduleMap) {
        if (entry.second != nullptr && entry.second->getNameString().find(text) != vesk::WString::npos)
            return entry.second;
    }
    return nullptr;
}

Module* ModuleManager::findModuleByAddress(uintptr_t address) {
    SharedHold hold(m_lock);
    auto range = m_imageRangeMap.find(ImageRange{address, 1});
    if (range == m_imageRangeMap.end()) return nullptr;
    // Looked up under the same hold: no registration can slip in between.
    auto found = m_moduleMap.find(range->second);
    return found == m_moduleMap.end() ? nullptr : found->second;
}

}  // namespace veskmrte_1_0
