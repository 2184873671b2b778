// What the library keeps for each thread of the host.
#pragma once

#include <cstdint>

namespace vesktool {

struct ThreadSlot;
struct GuardCounts;

// Trivially destructible on purpose: a thread_local with a destructor keeps
// the library from being unloaded while any thread that touched it lives.
// Whatever must outlive the thread lives in the thread registry instead.
// The thread's last report that named an object, with the identity it got.
struct LastReport {
    int32_t apiId;
    int32_t phase;
    int32_t managedThread;
    uintptr_t address;
    uint32_t identity;
};

struct ThreadState {
    ThreadSlot* slot;  // null until the thread first asks for its data
    uint32_t depth;    // how deeply the thread is inside the runtime
    GuardCounts* guardCounts;  // null until the thread first enters
    LastReport last;
};

// The calling thread's state; one access to thread-local storage, inline as
// it runs on every enter and leave.
inline ThreadState& currentThreadState() {
    static thread_local ThreadState state{nullptr, 0, nullptr, LastReport{-1, -1, 0, 0, 0}};
    return state;
}

}  // namespace vesktool
