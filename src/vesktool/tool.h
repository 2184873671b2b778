// The library's one instance of everything it keeps. Created when the library
// loads and deliberately never destroyed: host threads may still call in while
// the process exits, after static destructors have run.
#pragma once

#include "call_events.h"
#include "code_ranges.h"
#include "config.h"
#include "runtime_guard.h"
#include "stack_walker.h"
#include "thread_registry.h"

#include <atomic>
#include <cstdint>
#include <nlohmann/json_fwd.hpp>

namespace vesktool {

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
    CallEvents callEvents;
    std::atomic<uint64_t> unwindCalls{0};

    nlohmann::json buildReport() const;
    // Writes the report once, if one was asked for; never throws. Only the
    // process that loaded the library writes: a forked child that exits
    // normally must not replace its parent's report.
    void writeReport() noexcept;

private:
    const uint32_t loadedInProcess_;
    std::atomic<bool> reportWritten_{false};
};

Tool& tool();

}  // namespace vesktool
