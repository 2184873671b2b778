// One thread's calls per object and API. The owning thread adds on every
// call it reports on an object, so adding takes no lock and no locked
// instruction; the report reads the counts from another thread while the
// owner goes on. Open addressing, at most half full; a table that grows is
// replaced by a larger copy, and the old one stays readable until the counts
// go.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace vesktool {

class ObjectCounts {
public:
    ObjectCounts();
    ~ObjectCounts();
    ObjectCounts(const ObjectCounts&) = delete;
    ObjectCounts& operator=(const ObjectCounts&) = delete;

    // Owner only. The key is not 0. False when memory ran out: the call goes
    // uncounted.
    bool add(uint64_t key) noexcept;

    // Any thread: every key with its count, each as of some moment during
    // the walk.
    template <typename Visit>
    void forEach(Visit visit) const {
        const Table* table = table_.load(std::memory_order_acquire);
        if (table == nullptr) return;
        for (size_t i = 0; i <= table->mask; ++i) {
            const uint64_t key = table->slots[i].key.load(std::memory_order_acquire);
            if (key != 0) visit(key, table->slots[i].count.load(std::memory_order_acquire));
        }
    }
    // Any thread: at most the number of keys forEach visits.
    size_t size() const { return used_.load(std::memory_order_relaxed); }
    // Any thread: grows before every change a reader can see, so a reading
    // taken before the counts were read and equal to a later reading proves
    // that they have not changed since.
    uint64_t version() const { return changes_.load(std::memory_order_acquire); }

private:
    struct Slot {
        std::atomic<uint64_t> key{0};
        std::atomic<uint64_t> count{0};
    };
    struct Table {
        explicit Table(size_t capacity) : mask(capacity - 1), slots(new (std::nothrow) Slot[capacity]) {}
        size_t mask;
        std::unique_ptr<Slot[]> slots;
        std::unique_ptr<Table> replaced;  // kept readable for readers still on it
    };

    static size_t slotOf(uint64_t key, size_t mask) {
        return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 24) & mask;
    }
    bool grow() noexcept;

    std::atomic<Table*> table_;  // null until the first key
    std::atomic<size_t> used_;
    std::atomic<uint64_t> changes_;
};

}  // namespace vesktool
