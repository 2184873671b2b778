#include "tool.h"

#include "platform.h"
#include "thread_state.h"

#include <nlohmann/json.hpp>
#include <mutex>
#include <utility>
#include <vector>

namespace vesktool {

namespace {

uint32_t captureStack() { return tool().stacks.captureCurrent(); }

nlohmann::json stackFrames(uint32_t stack) {
    std::vector<StackFrame> frames;
    tool().stacks.frames(stack, frames);
    return StackStore::toJson(frames);
}

}  // namespace

Tool::Tool(Config settings)
    : config(std::move(settings)),
      lockCalls(&captureStack, &stackFrames),
      loadedInProcess_(platform::currentProcessId()) {
    callEvents.captureStacks(config.stackEvery, &stacks);
}

bool Tool::reportCall(int32_t apiId, int32_t phase, int32_t managedThread, uintptr_t objectAddress) noexcept {
    // Object counts need the identity on entry only; the analysis also on
    // the return of an acquisition.
    const bool wanted = isEntry(phase) || (phase == kCallAcquired && config.lockOrder);
    LastReport& last = currentThreadState().last;
    uint32_t identity = 0;
    if (objectAddress != 0 && wanted && CallEvents::validCall(apiId, phase)) {
        // A wrapper reports that it holds a lock right after it reported
        // asking for it, on the same object: with nothing reported in
        // between, the request's answer names it (an object that moved
        // meanwhile is asked about afresh).
        const bool sameRequest = phase == kCallAcquired && last.phase == kCallAcquiring && last.apiId == apiId &&
                                 last.managedThread == managedThread && last.address == objectAddress;
        identity = sameRequest ? last.identity : callEvents.objectIdentity(objectAddress);
    }
    last = LastReport{apiId, phase, managedThread, objectAddress, identity};
    if (!callEvents.report(apiId, phase, managedThread, config.objectCounts ? identity : 0)) return false;
    if (config.lockOrder) lockCalls.report(apiId, phase, managedThread, identity);
    return true;
}

bool Tool::reportLocation(int32_t apiId, int32_t phase, int32_t managedThread, uintptr_t address,
                          uint64_t era) noexcept {
    if (!callEvents.report(apiId, phase, managedThread, 0)) return false;
    // Kept apart per location like the per-object counts, and switched off
    // with them.
    if (isEntry(phase) && config.objectCounts) locations.report(managedThread, address, era);
    return true;
}

void Tool::rememberLoadedObjects() {
    std::lock_guard<std::mutex> guard(objectsLock_);
    if (objectsRemembered_) return;
    objectsAtStart_ = platform::loadedObjects();
    objectsRemembered_ = true;
}

Tool* makeTool() { return new Tool(readConfig()); }

}  // namespace vesktool

namespace {

// The runtime aborts the process without running exit handlers; the
// launcher's abort notice calls this first. The process dies of the signal,
// so it has no exit code.
void writeReportAtAbort() {
    vesktool::Tool& self = vesktool::tool();
    vesktool::ProcessEnd end = self.endUnlessNoted("abort");
    end.exitCodeKnown = false;
    self.writeReport(end);
}

}  // namespace

// The environment is read as the library loads, before the host can call in;
// the report is written as it unloads, which for a library the host keeps is
// at process exit.
#if defined(__GNUC__)
__attribute__((constructor)) static void vesktoolLoaded() {
    vesktool::tool();
    vesktool::platform::whenAborting(&writeReportAtAbort);
}
__attribute__((destructor)) static void vesktoolUnloading() {
    vesktool::platform::whenAborting(nullptr);
    vesktool::Tool& self = vesktool::tool();
    self.writeReport(self.endUnlessNoted("exit"));
}
#endif
