// The library's one instance of everything it keeps. Created when the library
// loads and deliberately never destroyed: host threads may still call in while
// the process exits, after static destructors have run.
#pragma once

#include "call_events.h"
#include "code_ranges.h"
#include "config.h"
#include "location_calls.h"
#include "lock_calls.h"
#include "platform.h"
#include "runtime_guard.h"
#include "stack_store.h"
#include "stack_walker.h"
#include "thread_registry.h"

#include <atomic>
#include <memory>
#include <cstdint>
#include <mutex>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <utility>
#include <vector>

namespace vesktool {

struct ProcessEnd {
    std::string how;     // "exit", "sigterm", "unhandled-exception", ...
    std::string detail;  // the exception's type, when there is one
    bool exitCodeKnown = false;
    int32_t exitCode = 0;
};

class Tool {
public:
    explicit Tool(Config settings);
    Tool(const Tool&) = delete;
    Tool& operator=(const Tool&) = delete;

    const Config config;
    ThreadRegistry threads;
    RuntimeGuard runtime;
    CodeRanges codeRanges;
    StackWalker stackWalker;
    StackStore stacks;
    CallEvents callEvents;
    LockCalls lockCalls;
    LocationCalls locations;
    std::atomic<uint64_t> unwindCalls{0};

    // A wrapper's report of a call, counted and, for lock phases, analysed.
    bool reportCall(int32_t apiId, int32_t phase, int32_t managedThread, uintptr_t objectAddress) noexcept;
    // The same for an access of a memory location, read at the given era.
    bool reportLocation(int32_t apiId, int32_t phase, int32_t managedThread, uintptr_t address,
                        uint64_t era) noexcept;

    // Libraries the host unloads before the report is written (the .NET
    // host's own, for one) are remembered from when the profiler first asked
    // for the record. Called once; later calls change nothing.
    void rememberLoadedObjects();

    // Everything but the per-object counts, which are written straight out.
    nlohmann::json buildReport(const ProcessEnd& end) const;
    // Writes the report, if one was asked for, saying how the process ends:
    // "exit", or the signal or failure the host's start-up code saw. Each
    // call replaces the file with a fresh snapshot, so the last end wins: a
    // program that cancels a SIGTERM and exits later reports "exit". Never
    // throws. Only the process that loaded the library writes: a forked
    // child that exits normally must not replace its parent's report.
    void writeReport(const ProcessEnd& end) noexcept;
    // The exit code the host saw as the process began to exit; the report
    // written as the library unloads has no other way to learn it.
    void noteExitCode(int32_t code) noexcept;
    // The end the host reported last. A runtime may exit the process after a
    // termination signal it let through, which unloads the library, or abort
    // it after an unhandled exception: those reports must still name it.
    void noteEnd(const ProcessEnd& end);
    // How a later report describes the end: as the host last reported it,
    // else as otherwise ("exit" as the library unloads, "abort" when the
    // runtime aborts the process).
    ProcessEnd endUnlessNoted(const char* otherwise) const noexcept;

private:
    const uint32_t loadedInProcess_;
    mutable std::mutex objectsLock_;
    bool objectsRemembered_ = false;
    std::vector<platform::LoadedObject> objectsAtStart_;
    // The whole report as text, laid out as a JSON dump with two-space
    // indents and keys in order; the object counts are copied from the last
    // report when they are unchanged since. placed: where they went in out.
    void writeReportText(const nlohmann::json& report, platform::ReplacingFile& out, bool objectsUnchanged,
                         std::pair<uint64_t, uint64_t>& placed);

    std::mutex writing_;
    // The last report written, what it held and where its object counts
    // lie in it; under writing_.
    std::unique_ptr<platform::ReplacingFile> lastFile_;
    std::unique_ptr<nlohmann::json> written_;
    uint64_t writtenObjectsVersion_ = 0;
    uint64_t objectsAt_ = 0;
    uint64_t objectsLength_ = 0;
    std::atomic<bool> exitCodeKnown_{false};
    std::atomic<int32_t> exitCode_{0};
    mutable std::mutex endLock_;
    // How and detail only; empty how: nothing noted.
    ProcessEnd hostEnd_;
};

Tool* makeTool();

// Inline: every enter and leave, and every report, starts here.
inline Tool& tool() {
    static Tool* const instance = makeTool();
    return *instance;
}

}  // namespace vesktool
