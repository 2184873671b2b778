#include "clrprof/identity_table.h"

namespace veskmrte_1_0 {

namespace {

const size_t kMinimumCapacity = 1024;

}  // namespace

IdentityTable::Slots::Slots(size_t capacity)
    : mask(capacity - 1), slot(new Slot[capacity]) {
    for (size_t i = 0; i < capacity; ++i) slot[i].key.store(kEmpty, std::memory_order_relaxed);
}

IdentityTable::IdentityTable() : m_current(new Slots(kMinimumCapacity)), m_count(0) {
    m_slots.store(m_current.get(), std::memory_order_release);
}

IdentityTable::~IdentityTable() = default;

size_t IdentityTable::capacityFor(size_t count) {
    size_t capacity = kMinimumCapacity;
    while (capacity < 2 * count) capacity *= 2;
    return capacity;
}

void IdentityTable::place(Slots& slots, uintptr_t address, uint32_t id) {
    size_t i = slotOf(address, slots.mask);
    while (slots.slot[i].key.load(std::memory_order_relaxed) != kEmpty) i = (i + 1) & slots.mask;
    slots.slot[i].id.store(id, std::memory_order_relaxed);
    // Readers that see the address see its identifier.
    slots.slot[i].key.store(address, std::memory_order_release);
}

void IdentityTable::insert(uintptr_t address, uint32_t id) {
    if (2 * (m_count + 1) > m_current->mask + 1) {
        std::unique_ptr<Slots> larger(new Slots(capacityFor(m_count + 1)));
        for (size_t i = 0; i <= m_current->mask; ++i) {
            const Slot& old = m_current->slot[i];
            const uintptr_t key = old.key.load(std::memory_order_relaxed);
            if (key != kEmpty) place(*larger, key, old.id.load(std::memory_order_relaxed));
        }
        // Readers may still probe the old table: it stays until freeRetired.
        m_slots.store(larger.get(), std::memory_order_release);
        m_retired.push_back(std::move(m_current));
        m_current = std::move(larger);
    }
    place(*m_current, address, id);
    ++m_count;
}

void IdentityTable::rebuild(const std::vector<TrackedObject>& objects) {
    const size_t capacity = capacityFor(objects.size());
    if (capacity != m_current->mask + 1) {
        m_current.reset(new Slots(capacity));
    } else {
        for (size_t i = 0; i < capacity; ++i) m_current->slot[i].key.store(kEmpty, std::memory_order_relaxed);
    }
    Slots& slots = *m_current;
    // The slots are all over the table: fetching a few ahead overlaps the
    // cache misses.
    const size_t kAhead = 16;
    const size_t count = objects.size();
    for (size_t i = 0; i < count; ++i) {
        if (i + kAhead < count) __builtin_prefetch(&slots.slot[slotOf(objects[i + kAhead].address, slots.mask)], 1);
        place(slots, objects[i].address, objects[i].id);
    }
    m_count = objects.size();
    m_retired.clear();
    m_slots.store(m_current.get(), std::memory_order_release);
}

size_t IdentityTable::bytes() const {
    return (m_current->mask + 1) * sizeof(Slot);
}

}  // namespace veskmrte_1_0
