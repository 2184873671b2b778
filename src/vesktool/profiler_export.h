// A function the profiler exports to the tool, looked up at its first use:
// the profiler is loaded before any wrapper can report, so one look-up serves
// the process.
#pragma once

#include "platform.h"

#include <atomic>

namespace vesktool {

template <typename Function>
class ProfilerExport {
public:
    explicit ProfilerExport(const char* name) : name_(name) {}

    // Null when no loaded library exports the name.
    Function get() noexcept {
        if (!lookedUp_.load(std::memory_order_acquire)) {
            address_.store(platform::findProcessSymbol(name_), std::memory_order_release);
            lookedUp_.store(true, std::memory_order_release);
        }
        return reinterpret_cast<Function>(address_.load(std::memory_order_acquire));
    }

private:
    const char* name_;
    std::atomic<void*> address_{nullptr};
    std::atomic<bool> lookedUp_{false};
};

}  // namespace vesktool
