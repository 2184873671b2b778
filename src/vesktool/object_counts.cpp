#include "object_counts.h"

#include <new>

namespace vesktool {

namespace {

const size_t kFirstCapacity = 16;

// The owner's own writes: a plain read and store, as nobody else writes.
inline void bump(std::atomic<uint64_t>& value, uint64_t by, std::memory_order order) {
    value.store(value.load(std::memory_order_relaxed) + by, order);
}

}  // namespace

ObjectCounts::ObjectCounts() : table_(nullptr), used_(0), changes_(0) {}

ObjectCounts::~ObjectCounts() { delete table_.load(std::memory_order_relaxed); }

bool ObjectCounts::add(uint64_t key) noexcept {
    Table* table = table_.load(std::memory_order_relaxed);
    if (table == nullptr) {
        if (!grow()) return false;
        table = table_.load(std::memory_order_relaxed);
    }
    size_t i = slotOf(key, table->mask);
    for (;; i = (i + 1) & table->mask) {
        const uint64_t present = table->slots[i].key.load(std::memory_order_relaxed);
        if (present == key) break;
        if (present == 0) {
            if ((used_.load(std::memory_order_relaxed) + 1) * 2 > table->mask + 1) {
                if (!grow()) return false;
                return add(key);
            }
            // The version first, then the count, then the key that makes the
            // entry visible, each released after the one before.
            bump(changes_, 1, std::memory_order_relaxed);
            table->slots[i].count.store(1, std::memory_order_release);
            table->slots[i].key.store(key, std::memory_order_release);
            used_.store(used_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
            return true;
        }
    }
    bump(changes_, 1, std::memory_order_relaxed);
    bump(table->slots[i].count, 1, std::memory_order_release);
    return true;
}

bool ObjectCounts::grow() noexcept {
    Table* old = table_.load(std::memory_order_relaxed);
    Table* table = new (std::nothrow) Table(old != nullptr ? (old->mask + 1) * 2 : kFirstCapacity);
    if (table == nullptr || table->slots == nullptr) {
        delete table;
        return false;
    }
    for (size_t i = 0; old != nullptr && i <= old->mask; ++i) {
        const uint64_t key = old->slots[i].key.load(std::memory_order_relaxed);
        if (key == 0) continue;
        size_t j = slotOf(key, table->mask);
        while (table->slots[j].key.load(std::memory_order_relaxed) != 0) j = (j + 1) & table->mask;
        table->slots[j].count.store(old->slots[i].count.load(std::memory_order_relaxed), std::memory_order_relaxed);
        table->slots[j].key.store(key, std::memory_order_relaxed);
    }
    table->replaced.reset(old);
    table_.store(table, std::memory_order_release);
    return true;
}

}  // namespace vesktool
