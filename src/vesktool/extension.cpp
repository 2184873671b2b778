// The record of operations handed to the host, and the exported entry point.
// Every operation is noexcept: nothing may unwind into the host's frames.

#include "frame_unwinder.h"
#include "platform.h"
#include "thread_state.h"
#include "tool.h"
#include "vesk/profiling_extension.h"

#include <type_traits>

namespace vesktool {
namespace {

extern vesk_profiling_extension theRecord;

// The host must hand back the record it was given; anything else is a bug on
// its side worth an error answer rather than silent success.
bool isTheRecord(const vesk_profiling_extension* ext) { return ext == &theRecord; }

void* VESK_CALL getThreadData(vesk_profiling_extension* ext, vesk_allocate_thread_data_fn allocate) noexcept {
    Tool& self = tool();
    self.threads.countGetCall();
    if (self.config.fails(Operation::get_thread_data) || !isTheRecord(ext)) return nullptr;
    return self.threads.get(currentThreadState(), allocate);
}

int VESK_CALL releaseThreadData(vesk_profiling_extension* ext, vesk_free_thread_data_fn release) noexcept {
    Tool& self = tool();
    if (self.config.fails(Operation::release_thread_data)) return vesk_er_error;
    if (!isTheRecord(ext) || release == nullptr) return vesk_er_error;
    self.threads.releaseAll(release);
    return vesk_er_success;
}

int VESK_CALL setStackWalker(vesk_profiling_extension* ext, vesk_walk_stack_fn walk,
                             vesk_next_frame_fn next) noexcept {
    Tool& self = tool();
    if (self.config.fails(Operation::set_stack_walker) || !isTheRecord(ext)) return vesk_er_error;
    self.stackWalker.set(walk, next);
    return vesk_er_success;
}

int VESK_CALL isCodeKnown(vesk_profiling_extension* ext, uintptr_t address, uint32_t) noexcept {
    if (!isTheRecord(ext)) return 0;
    // Native code is what the loader loaded; other code is the host's to
    // declare.
    return tool().codeRanges.contains(address) || platform::inLoadedObject(address) ? 1 : 0;
}

int VESK_CALL addCodeRange(vesk_profiling_extension* ext, const vesk_code_range* range) noexcept {
    Tool& self = tool();
    if (self.config.fails(Operation::add_code_range)) return vesk_er_error;
    if (!isTheRecord(ext) || range == nullptr) return vesk_er_error;
    try {
        return self.codeRanges.add(*range);
    } catch (...) {
        return vesk_er_error;
    }
}

int VESK_CALL enterRuntime(vesk_profiling_extension* ext, uint32_t* level) noexcept {
    Tool& self = tool();
    // Declining to enter is the answer a host must handle; it then owes no
    // leave.
    if (self.config.fails(Operation::enter_runtime)) return vesk_er_not_done;
    if (!isTheRecord(ext)) return vesk_er_error;
    return self.runtime.enter(currentThreadState(), level);
}

int VESK_CALL leaveRuntime(vesk_profiling_extension* ext, uint32_t level) noexcept {
    Tool& self = tool();
    // An injected failure refuses the leave outright, as a real refusal would:
    // the depth stays and nothing is counted.
    if (self.config.fails(Operation::leave_runtime)) return vesk_er_error;
    if (!isTheRecord(ext)) return vesk_er_error;
    return self.runtime.leave(currentThreadState(), level);
}

uint64_t VESK_CALL getTimestamp(vesk_profiling_extension*) noexcept {
    // Zero is what hosts use for "no time stamp".
    const uint64_t now = platform::monotonicNanoseconds();
    return now != 0 ? now : 1;
}

int VESK_CALL getStackWalkMode(vesk_profiling_extension*) noexcept { return tool().config.stackWalkMode; }

int VESK_CALL unwindFrameOperation(vesk_profiling_extension* ext, void* context, void* stackFrame, void*) noexcept {
    Tool& self = tool();
    self.unwindCalls.fetch_add(1, std::memory_order_relaxed);
    if (self.config.fails(Operation::unwind_frame)) return vesk_er_not_done;
    if (!isTheRecord(ext)) return vesk_er_error;
    return unwindFrame(context, stackFrame);
}

vesk_profiling_extension theRecord = {
    VESK_PROFILING_EXTENSION_VERSION,
    &getThreadData,
    &releaseThreadData,
    0,
    &setStackWalker,
    &isCodeKnown,
    &addCodeRange,
    &enterRuntime,
    &leaveRuntime,
    &getTimestamp,
    &getStackWalkMode,
    &unwindFrameOperation,
};

}  // namespace
}  // namespace vesktool

VESK_EXTERN_C VESK_EXPORT int VESK_CALL vesk_get_profiling_extension(vesk_profiling_extension** out) noexcept {
    if (vesktool::tool().config.fails(vesktool::Operation::entry) || out == nullptr) return vesk_er_error;
    try {
        vesktool::tool().rememberLoadedObjects();
    } catch (...) {
        // Without the list only native frames lose their names.
    }
    *out = &vesktool::theRecord;
    return vesk_er_success;
}

static_assert(std::is_convertible<decltype(&vesk_get_profiling_extension), vesk_get_profiling_extension_fn>::value,
              "the entry point must match the type the host looks it up as");

// The wrappers' reports: each API id is named once, then every wrapped call
// reports its id, whether the API is about to be entered or has returned (for
// lock APIs: what it does to the object's lock), the managed thread it runs
// on, and where the reference to the object it works on lies (0 for none; the
// reference itself is null for none too). The reference is read here, not by
// the caller: the wrappers call in cooperative mode, so no collection can move
// the object while the call lasts.
VESK_EXTERN_C VESK_EXPORT int VESK_CALL vesktool_define_api(int32_t apiId, const char* name) noexcept {
    try {
        vesktool::Tool& self = vesktool::tool();
        if (!self.callEvents.define(apiId, name)) return vesk_er_error;
        self.lockCalls.define(apiId, name);
        return vesk_er_success;
    } catch (...) {
        return vesk_er_error;
    }
}

VESK_EXTERN_C VESK_EXPORT int VESK_CALL vesktool_report_call(int32_t apiId, int32_t phase, int32_t managedThread,
                                                             uintptr_t objectSlot) noexcept {
    const uintptr_t* slot = reinterpret_cast<const uintptr_t*>(objectSlot);
    return vesktool::tool().reportCall(apiId, phase, managedThread, slot != nullptr ? *slot : 0) ? vesk_er_success
                                                                                                 : vesk_er_error;
}

// Atomic and volatile accesses report the location's address instead of an
// object, with the collection era the wrapper read just before it took the
// address (vesktool_collection_era): a collection in between would end that
// era, and the report then relates to nothing.
VESK_EXTERN_C VESK_EXPORT uint64_t VESK_CALL vesktool_collection_era() noexcept {
    return vesktool::tool().locations.currentEra();
}

VESK_EXTERN_C VESK_EXPORT int VESK_CALL vesktool_report_location(int32_t apiId, int32_t phase, int32_t managedThread,
                                                                 uintptr_t address, uint64_t era) noexcept {
    return vesktool::tool().reportLocation(apiId, phase, managedThread, address, era) ? vesk_er_success
                                                                                      : vesk_er_error;
}

// How the process ends, from the host's start-up code, which sees what no
// native code here can: a SIGTERM or SIGINT the runtime turns into a managed
// notification before it re-raises the signal, and an unhandled exception
// before the runtime aborts. Neither runs the library's unload, so the report
// is written here. At a normal exit it is written here too, in case a later
// exit handler hangs and the process is killed, and again at unload with the
// exit code noted here and the final counts.
VESK_EXTERN_C VESK_EXPORT int VESK_CALL vesktool_flush_report(const char* end, const char* detail, int32_t exitCode,
                                                              int32_t exitCodeKnown) noexcept {
    if (end == nullptr || *end == 0) return vesk_er_error;
    try {
        vesktool::Tool& self = vesktool::tool();
        vesktool::ProcessEnd how;
        how.how = end;
        if (detail != nullptr) how.detail = detail;
        how.exitCodeKnown = exitCodeKnown != 0;
        how.exitCode = exitCode;
        if (how.exitCodeKnown) self.noteExitCode(exitCode);
        self.noteEnd(how);
        self.writeReport(how);
        return vesk_er_success;
    } catch (...) {
        return vesk_er_error;
    }
}
