// The host's stack-walk callbacks, kept for when the tool captures stacks.
#pragma once

#include "vesk/profiling_extension.h"

#include <atomic>

namespace vesktool {

class StackWalker {
public:
    void set(vesk_walk_stack_fn walk, vesk_next_frame_fn next) {
        walk_.store(walk, std::memory_order_release);
        next_.store(next, std::memory_order_release);
    }
    // Only a pair is usable: capturing without handing out, or the reverse,
    // gets nowhere.
    bool isSet() const {
        return walk_.load(std::memory_order_acquire) != nullptr && next_.load(std::memory_order_acquire) != nullptr;
    }
    vesk_walk_stack_fn walk() const { return walk_.load(std::memory_order_acquire); }
    vesk_next_frame_fn next() const { return next_.load(std::memory_order_acquire); }

private:
    std::atomic<vesk_walk_stack_fn> walk_{nullptr};
    std::atomic<vesk_next_frame_fn> next_{nullptr};
};

}  // namespace vesktool
