// The registry of the managed modules the profiler accepted, by module id, by
// a piece of the file name, and by an address inside a native image. It owns
// the records; none is removed before process exit.
#pragma once

#include "abi/types.h"
#include "clrprof/rw_lock.h"

#include <map>

namespace veskmrte_1_0 {

class Module;

// An image's address range as a map key: overlapping ranges compare equal, so
// a lookup with the one-byte range {address, 1} finds the range holding it.
struct ImageRange {
    uintptr_t start;
    size_t size;
    bool operator<(const ImageRange& other) const { return start + size <= other.start; }
};

class ModuleManager {
public:
    static ModuleManager& getInstance();
    ModuleManager() = default;
    virtual ~ModuleManager();
    ModuleManager(const ModuleManager&) = delete;
    ModuleManager& operator=(const ModuleManager&) = delete;

    // Takes ownership on success. A record replacing one of the same id
    // deletes the old record and its image range.
    int addModule(cor::ModuleID id, Module* module);
    Module* findModule(cor::ModuleID id);
    // The record with the smallest id whose name contains the text.
    Module* findModuleByName(const vesk::WChar* name);
    // The native-image record whose image holds the address.
    Module* findModuleByAddress(uintptr_t address);

private:
    ReadWriteLock m_lock;
    std::map<cor::ModuleID, Module*> m_moduleMap;
    std::map<ImageRange, cor::ModuleID> m_imageRangeMap;
};

}  // namespace veskmrte_1_0
