// Runtime version detection from the core library's file version.
#include "clrprof/clr_callbacks.h"
#include "clrprof/debug_log.h"
#include "clrprof/result.h"
#include "clrprof/module.h"
#include "clrprof/module_manager.h"

namespace veskmrte_1_0 {

namespace {

struct VersionRange {
    FileVersion from;
    FileVersion to;
    uint32_t code;
};

FileVersion version(uint16_t major, uint16_t minor, uint16_t build, uint16_t revision) {
    FileVersion v;
    v.major = major;
    v.minor = minor;
    v.build = build;
    v.revision = revision;
    return v;
}

}  // namespace

bool operator<(const FileVersion& a, const FileVersion& b) {
    if (a.major != b.major) return a.major < b.major;
    if (a.minor != b.minor) return a.minor < b.minor;
    if (a.build != b.build) return a.build < b.build;
    return a.revision < b.revision;
}

uint32_t classifyRuntimeVersion(const FileVersion& corVer) {
    // Half-open ranges, tested in this order; a version in none of them is
    // the 4.0 family.
    static const VersionRange kRanges[] = {
        {version(2, 0, 50727, 42), version(2, 0, 50727, 3053), mvMSCOR20},
        {version(3, 0, 4506, 30), version(3, 0, 4506, 2152), mvMSCOR20},
        {version(3, 5, 21022, 8), version(3, 5, 30729, 1), mvMSCOR20},
        {version(2, 0, 50727, 3053), version(3, 0, 4506, 30), mvMSCOR35SP1},
        {version(3, 0, 4506, 2152), version(3, 5, 21022, 8), mvMSCOR35SP1},
        {version(3, 5, 30729, 1), version(4, 0, 21006, 1), mvMSCOR35SP1},
    };
    for (const VersionRange& r : kRanges)
        if (corVer >= r.from && corVer < r.to) return r.code;
    return mvMSCOR40;
}

uint32_t CLRCallbacks::detectRuntimeVersion() {
    uint32_t cached = m_corVersion.load(std::memory_order_acquire);
    if (cached != mvMSCORUnknown) return cached;
    ModuleManager& modules = ModuleManager::getInstance();
    Module* module = modules.findModuleByName(VESK_W("mscorlib.dll"));
    if (module == nullptr) module = modules.findModuleByName(VESK_W("System.Private.CoreLib.dll"));
    VESK_ASSERT(module);
    FileVersion corVer;
    int res = module->getFileVersion(corVer);
    VESK_ASSERT(res == meSuccess);
    const FileVersion cor20 = version(2, 0, 50727, 42);
    VESK_ASSERT(corVer >= cor20);
    uint32_t code = classifyRuntimeVersion(corVer);
    m_corVersion.store(code, std::memory_order_release);
    return code;
}

}  // namespace veskmrte_1_0
