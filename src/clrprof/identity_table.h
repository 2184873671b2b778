// The table the tool's questions are answered from: object address to
// identifier, open addressing with linear probing, at most half full.
// Lookups run concurrently with one inserting thread at a time: an insertion
// writes the identifier before it publishes the address, and a table that
// grows is replaced by a larger copy while the old one stays readable, until
// the owner frees it at a moment without readers.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace veskmrte_1_0 {

struct TrackedObject {
    uintptr_t address;
    uint32_t id;
};

class IdentityTable {
public:
    IdentityTable();
    ~IdentityTable();
    IdentityTable(const IdentityTable&) = delete;
    IdentityTable& operator=(const IdentityTable&) = delete;

    // The identifier at this address (not 0), 0 when none; any thread, any time the
    // owner does not rebuild or free the table.
    uint32_t find(uintptr_t address) const {
        const Slots* slots = m_slots.load(std::memory_order_acquire);
        for (size_t i = slotOf(address, slots->mask);; i = (i + 1) & slots->mask) {
            const uintptr_t key = slots->slot[i].key.load(std::memory_order_acquire);
            if (key == kEmpty) return 0;
            if (key == address) return slots->slot[i].id.load(std::memory_order_relaxed);
        }
    }

    // One inserting thread at a time; the address (not 0) must not be
    // present.
    void insert(uintptr_t address, uint32_t id);

    // Replaces the contents with these objects (their addresses distinct);
    // only while no thread reads.
    void rebuild(const std::vector<TrackedObject>& objects);

    // Frees the tables that growth replaced; only while no thread reads.
    void freeRetired() { m_retired.clear(); }

    size_t size() const { return m_count; }
    // Bytes held by the current table.
    size_t bytes() const;

private:
    static const uintptr_t kEmpty = 0;

    // Address and identifier side by side: a lookup touches one line.
    struct Slot {
        std::atomic<uintptr_t> key;
        std::atomic<uint32_t> id;
    };
    struct Slots {
        explicit Slots(size_t capacity);
        size_t mask;
        std::unique_ptr<Slot[]> slot;
    };

    static size_t slotOf(uintptr_t address, size_t mask) {
        // Objects are 8-byte aligned; Fibonacci hashing spreads the rest.
        return static_cast<size_t>(((address >> 3) * 0x9E3779B97F4A7C15ull) >> 20) & mask;
    }
    static void place(Slots& slots, uintptr_t address, uint32_t id);
    static size_t capacityFor(size_t count);

    std::atomic<Slots*> m_slots;
    std::unique_ptr<Slots> m_current;
    std::vector<std::unique_ptr<Slots>> m_retired;
    size_t m_count;
};

}  // namespace veskmrte_1_0
