#include "lock_calls.h"

#include <cstring>
#include <new>
#include <nlohmann/json.hpp>

namespace vesktool {

namespace {

// The calling thread's analysis state, replaced when the thread starts to
// run another managed thread.
thread_local LockOrder::Thread* t_locks = nullptr;

bool startsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

}  // namespace

void LockCalls::define(int32_t apiId, const char* name) {
    if (!CallEvents::validCall(apiId, 0) || name == nullptr) return;
    const size_t index = static_cast<size_t>(apiId);
    // The wrappers report lock phases of WaitHandle.WaitOne only for mutexes.
    if (startsWith(name, "System.Threading.WaitHandle.")) {
        types_[index] = "System.Threading.Mutex";
    } else {
        const char* lastDot = std::strrchr(name, '.');
        types_[index] = lastDot != nullptr ? std::string(name, lastDot) : std::string(name);
    }
    ownerless_[index] = startsWith(name, "System.Threading.SemaphoreSlim.");
}

void LockCalls::report(int32_t apiId, int32_t phase, int32_t managedThread, uint32_t identity) noexcept {
    if (phase < kCallAcquiring || !CallEvents::validCall(apiId, phase) || identity == 0) return;
    static const LockStep steps[] = {LockStep::Acquiring, LockStep::Acquired, LockStep::Releasing,
                                     LockStep::Waiting};
    try {
        LockOrder::Thread* thread = t_locks;
        if (thread == nullptr || thread->managedId != managedThread) t_locks = thread = order_.newThread(managedThread);
        const size_t index = static_cast<size_t>(apiId);
        const LockKind kind{types_[index].c_str(), ownerless_[index]};
        order_.step(*thread, steps[phase - kCallAcquiring], identity, kind);
    } catch (...) {
        // Out of memory: the analysis misses this step, the program goes on.
    }
}

}  // namespace vesktool
