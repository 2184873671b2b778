// Per managed thread records of the tool's counts. Each is written by its own
// thread without a lock and kept for the life of the process, so that the
// counts of threads that ended still reach the report.
#pragma once

#include <cstdint>
#include <mutex>
#include <new>
#include <vector>

namespace vesktool {

// The calling thread's record, which current (the caller's thread-local
// slot) holds while the thread runs the same managed thread; otherwise a new
// zeroed one, added to all under lock. Null when it cannot be made.
template <typename Record>
Record* threadRecord(void*& current, int32_t managedThread, std::mutex& lock, std::vector<Record*>& all) noexcept {
    Record* mine = static_cast<Record*>(current);
    if (mine != nullptr && mine->managedThread == managedThread) return mine;
    mine = new (std::nothrow) Record();
    if (mine == nullptr) return nullptr;
    mine->managedThread = managedThread;
    try {
        std::lock_guard<std::mutex> hold(lock);
        all.push_back(mine);
    } catch (...) {
        delete mine;
        return nullptr;
    }
    current = mine;
    return mine;
}

}  // namespace vesktool
