// Locking with a time limit, for the exit flush. Polls try_lock rather than
// using std::timed_mutex, whose timed wait race detectors do not follow;
// the poll runs only at process exit.
#pragma once

#include <chrono>
#include <mutex>
#include <thread>

namespace jitwriter {

// The mutex locked, or an unlocked lock once `wait` has passed.
inline std::unique_lock<std::mutex> lockWithin(std::mutex& mutex, std::chrono::milliseconds wait) {
    std::unique_lock<std::mutex> lock(mutex, std::try_to_lock);
    auto deadline = std::chrono::steady_clock::now() + wait;
    while (!lock.owns_lock() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        lock.try_lock();
    }
    return lock;
}

}  // namespace jitwriter
