// An append-only list shared between threads that stops growing at a limit,
// so a host stuck in a faulty loop cannot make the tool eat its memory. What
// no longer fits is still counted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <new>
#include <vector>

namespace vesktool {

template <typename T>
class BoundedLog {
public:
    explicit BoundedLog(size_t limit) : limit_(limit) {}

    // Never throws: losing an entry to memory exhaustion only counts it.
    void append(const T& item) noexcept {
        std::lock_guard<std::mutex> guard(lock_);
        ++total_;
        if (items_.size() >= limit_) return;
        try {
            items_.push_back(item);
        } catch (const std::bad_alloc&) {
        }
    }

    struct Snapshot {
        std::vector<T> items;
        uint64_t dropped;  // appended but not kept
    };

    Snapshot snapshot() const {
        std::lock_guard<std::mutex> guard(lock_);
        return {items_, total_ - items_.size()};
    }

private:
    const size_t limit_;
    mutable std::mutex lock_;
    std::vector<T> items_;
    uint64_t total_ = 0;
};

}  // namespace vesktool
