// The map of recorded JIT code and the JIT records written for it.
//
// Every code body gets its own record. The runtime compiles a method more
// than once (a quick first tier, an optimised later tier, on-stack
// replacement bodies entered from a running loop) and reports each
// compilation for the same FunctionID; the hottest code is in the later
// bodies, so a function is recorded again whenever the runtime reports code
// at a start not yet recorded for it. Earlier bodies stay mapped: threads
// that entered them keep running there until they return.
#include "clrprof/clr_callbacks.h"
#include "clrprof/debug_log.h"
#include "clrprof/jit_record.h"
#include "clrprof/jit_writer.h"
#include "clrprof/module.h"
#include "clrprof/module_manager.h"
#include "clrprof/vesk_prof_ext.h"

#include <cstring>

namespace veskmrte_1_0 {

using namespace cor;
using plovat1::JitRecord;

namespace {

// The start of the function's current first code block, with one query and
// without copying anything: enough to tell a recorded body from a new one.
bool currentCodeStart(ICorProfilerInfo2* info, FunctionID funcID, uintptr_t& start) {
    COR_PRF_CODE_INFO first = {};
    ULONG32 count = 0;
    if (FAILED(info->GetCodeInfo2(funcID, 1, &count, &first)) || count == 0) return false;
    start = first.startAddress;
    return true;
}

uint64_t moduleLoadTimestamp(ModuleID moduleId) {
    // Dynamic modules are never registered; their code is recorded with no
    // time rather than not at all.
    Module* module = ModuleManager::getInstance().findModule(moduleId);
    return module != nullptr ? module->getLoadTimestamp() : 0;
}

}  // namespace

bool CLRCallbacks::fillJitRecord(FunctionID funcID, JitRecord& record) {
    return veskmrte_1_0::fillJitRecord(profilerInfo(), ModuleManager::getInstance(), funcID, record);
}

ICorProfilerInfo9* CLRCallbacks::codeVersionInfo() {
    ICorProfilerInfo2* info = profilerInfo();
    if (info == nullptr) return nullptr;
    if (!m_codeVersionInfoAsked) {
        m_codeVersionInfoAsked = true;
        void* found = nullptr;
        if (info->QueryInterface(IID_ICorProfilerInfo9, &found) == S_OK)
            m_codeVersionInfo = static_cast<ICorProfilerInfo9*>(found);
    }
    return m_codeVersionInfo;
}

bool CLRCallbacks::registerJitCode(FunctionID funcID, uint64_t timestamp) {
    if (funcID == 0) return false;
    ExclusiveHold hold(m_jitMapLock);
    ICorProfilerInfo9* info = codeVersionInfo();
    if (info == nullptr) return registerFirstBody(funcID, timestamp);
    // Stack walks ask again for every frame they meet; one query and a set
    // lookup per body answer them when every body is known.
    // Precompiled code that was never compiled again is not in the list of
    // bodies, but a stack walk can meet it: its one body is then the first.
    if (!codeBodyStarts(info, funcID, m_bodyStarts) || m_bodyStarts.empty())
        return registerFirstBody(funcID, timestamp);
    bool allRecorded = true;
    for (uintptr_t start : m_bodyStarts) {
        const JitBody body{funcID, start};
        if (m_funcIDMap.count(body) != 0) continue;
        JitRecord record;
        std::memset(&record, 0, sizeof(record));
        fillJitRecordAt(info, ModuleManager::getInstance(), funcID, start, record);
        if ((record.flags & plovat1::kCodeRangesPresent) == 0) {
            // The runtime describes a body by its address only when it
            // compiled it; precompiled code is described as the function's
            // code as such, which is this body when the function runs it.
            freeJitRecord(record);
            std::memset(&record, 0, sizeof(record));
            fillJitRecord(funcID, record);
            if (record.codeRangeCount == 0 || record.codeRanges[0].start != start) record.flags = 0;
        }
        if (!recordBody(body, timestamp, record)) allRecorded = false;
        freeJitRecord(record);
    }
    return allRecorded;
}

// Without the list of bodies only the first one can be seen.
bool CLRCallbacks::registerFirstBody(FunctionID funcID, uint64_t timestamp) {
    ICorProfilerInfo2* info = profilerInfo();
    uintptr_t start = 0;
    if (info != nullptr && currentCodeStart(info, funcID, start) && m_funcIDMap.count(JitBody{funcID, start}) != 0)
        return true;
    JitRecord record;
    std::memset(&record, 0, sizeof(record));
    fillJitRecord(funcID, record);
    bool recorded = false;
    if ((record.flags & plovat1::kCodeRangesPresent) != 0 && record.codeRangeCount != 0) {
        const JitBody body{funcID, static_cast<uintptr_t>(record.codeRanges[0].start)};
        // The code may have changed since the first look.
        recorded = m_funcIDMap.count(body) != 0 || recordBody(body, timestamp, record);
    }
    freeJitRecord(record);
    return recorded;
}

// Writes a filled record and maps its ranges; false, with nothing written,
// when the record holds no code.
bool CLRCallbacks::recordBody(const JitBody& body, uint64_t timestamp, JitRecord& record) {
    if ((record.flags & plovat1::kCodeRangesPresent) == 0 || record.codeRangeCount == 0) return false;
    if (timestamp == 0) timestamp = moduleLoadTimestamp(static_cast<ModuleID>(record.registeredModuleId));
    record.timestamp = timestamp;
    MeResult er = JITWriter::instance().write(record);
    VESK_ASSERT(er == meSuccess);
    VESK_ASSERT(m_funcIDMap.insert(body).second);

    VeskProfExt& ext = VeskProfExt::instance();
    for (uint32_t i = 0; i < record.codeRangeCount; ++i) {
        const plovat1::JitCodeRange& block = record.codeRanges[i];
        // An empty block holds no address; as a key it would compare equal
        // to ranges that do not overlap each other.
        if (block.size == 0) continue;
        mapCodeRange(JitRange{static_cast<uintptr_t>(block.start), block.size}, body.function);
        if (m_offlineStackWalker && !ext.is_code_known(static_cast<uintptr_t>(block.start)))
            ext.add_code_range(block.start, block.size);
    }
    return true;
}

// Recorded ranges are never removed on their own, so code the runtime places
// where freed code was (a collectible assembly unloaded) overlaps them. The
// runtime just produced the new code, so the overlapped ranges are the stale
// ones: they go, and the map keeps only ranges that do not overlap.
void CLRCallbacks::mapCodeRange(const JitRange& range, FunctionID funcID) {
    auto first = m_jitRangeMap.lower_bound(range);
    auto last = m_jitRangeMap.upper_bound(range);
    if (first != last) last = m_jitRangeMap.erase(first, last);
    m_jitRangeMap.emplace_hint(last, range, funcID);
}

bool CLRCallbacks::registerCodeAtIp(uintptr_t address) {
    ICorProfilerInfo2* info = profilerInfo();
    if (info == nullptr || address == 0) return false;
    // No fault guard: the runtime finds the function by looking the address
    // up in its own tables of code ranges, never by reading the code, and
    // answers E_FAIL for an address outside managed code.
    FunctionID function = 0;
    if (info->GetFunctionFromIP(reinterpret_cast<LPCBYTE>(address), &function) != S_OK || function == 0)
        return false;
    return registerJitCode(function, 0);
}

bool CLRCallbacks::isJitCode(uintptr_t address) {
    SharedHold hold(m_jitMapLock);
    return m_jitRangeMap.find(JitRange{address, 1}) != m_jitRangeMap.end();
}

FunctionID CLRCallbacks::functionAt(uintptr_t address) {
    SharedHold hold(m_jitMapLock);
    auto found = m_jitRangeMap.find(JitRange{address, 1});
    return found != m_jitRangeMap.end() ? found->second : 0;
}

bool CLRCallbacks::registerWalkedFunction(FunctionID funcID, uint64_t timestamp) {
    {
        SharedHold hold(m_jitMapLock);
        if (m_walkedFunctions.count(funcID) != 0) return true;
    }
    if (!registerJitCode(funcID, timestamp)) return false;
    ExclusiveHold hold(m_jitMapLock);
    m_walkedFunctions.insert(funcID);
    return true;
}

bool registerJitCodeCallback(FunctionID funcID, uint64_t timestamp) {
    CLRCallbacks* callbacks = g_callbacks.load(std::memory_order_acquire);
    return callbacks != nullptr && callbacks->registerWalkedFunction(funcID, timestamp);
}

HRESULT CLRCallbacks::JITCompilationFinished(FunctionID functionId, HRESULT, BOOL) {
    if (profilerInfo() == nullptr) return S_OK;
    RuntimeGuard guard;
    registerJitCode(functionId, VeskProfExt::instance().get_timestamp());
    VESK_LOG_EVENT("[JitCompilationFinished event]");
    VESK_LOG("  id=" << functionId);
    return S_OK;
}

HRESULT CLRCallbacks::FunctionUnloadStarted(FunctionID) {
    if (profilerInfo() == nullptr) return S_OK;
    if (VeskProfExt::instance().get_timestamp() == 0) return S_OK;
    // Unloaded functions keep their entries; taking the lock only orders the
    // unload after any registration in progress.
    ExclusiveHold hold(m_jitMapLock);
    return S_OK;
}

}  // namespace veskmrte_1_0
