#include "thread_registry.h"

#include "platform.h"

#include <new>
#include <nlohmann/json.hpp>

namespace vesktool {

ThreadRegistry::~ThreadRegistry() {
    ThreadSlot* slot = slots_.exchange(nullptr, std::memory_order_acquire);
    while (slot != nullptr) {
        ThreadSlot* next = slot->next;
        delete slot;
        slot = next;
    }
}

ThreadSlot* ThreadRegistry::addSlot() {
    ThreadSlot* slot = new (std::nothrow) ThreadSlot;
    if (slot == nullptr) return nullptr;
    slot->osThread = platform::currentOsThread();
    ThreadSlot* head = slots_.load(std::memory_order_relaxed);
    do {
        slot->next = head;
    } while (!slots_.compare_exchange_weak(head, slot, std::memory_order_release, std::memory_order_relaxed));
    threads_.fetch_add(1, std::memory_order_relaxed);
    return slot;
}

void* ThreadRegistry::get(ThreadState& thread, vesk_allocate_thread_data_fn allocate) {
    ThreadSlot* slot = thread.slot;
    if (slot != nullptr) {
        void* record = slot->record.load(std::memory_order_acquire);
        if (record != nullptr) return record;
    }
    if (allocate == nullptr) return nullptr;
    if (slot == nullptr) {
        slot = addSlot();
        if (slot == nullptr) return nullptr;
        thread.slot = slot;
    }
    // The host writes through a local, never into the shared slot itself: a
    // concurrent release must see either no record or a complete one.
    void* stored = nullptr;
    void* returned = allocate(&stored);
    void* record = stored != nullptr ? stored : returned;
    if (record == nullptr) return nullptr;
    allocated_.fetch_add(1, std::memory_order_relaxed);
    slot->record.store(record, std::memory_order_release);
    return record;
}

void ThreadRegistry::releaseAll(vesk_free_thread_data_fn release) {
    for (ThreadSlot* slot = slots_.load(std::memory_order_acquire); slot != nullptr; slot = slot->next) {
        // Taking the record out first means two releasing threads can never
        // hand the same record back twice.
        void* record = slot->record.exchange(nullptr, std::memory_order_acq_rel);
        if (record == nullptr) continue;
        // The head is only valid until the host frees the record.
        const auto* head = static_cast<const vesk_thread_data_head*>(record);
        assignments_.append({head->managed_thread, head->os_thread, slot->osThread, false});
        release(record);
        released_.fetch_add(1, std::memory_order_relaxed);
    }
}

void ThreadRegistry::report(nlohmann::json& root) const {
    BoundedLog<ThreadAssignment>::Snapshot snapshot = assignments_.snapshot();
    std::vector<ThreadAssignment>& assignments = snapshot.items;
    uint64_t held = 0;
    for (ThreadSlot* slot = slots_.load(std::memory_order_acquire); slot != nullptr; slot = slot->next) {
        void* record = slot->record.load(std::memory_order_acquire);
        if (record == nullptr) continue;
        ++held;
        // At exit the host may already have torn its records down; a record
        // that cannot be read must not take the process with it.
        vesk_thread_data_head head{};
        if (!platform::readMemory(reinterpret_cast<uintptr_t>(record), &head, sizeof head)) head = {};
        assignments.push_back({head.managed_thread, head.os_thread, slot->osThread, true});
    }

    nlohmann::json list = nlohmann::json::array();
    for (const ThreadAssignment& assignment : assignments) {
        list.push_back({{"managed_thread", assignment.managedThread},
                        {"os_thread", assignment.osThread},
                        {"slot_os_thread", assignment.slotOsThread},
                        {"held_at_exit", assignment.heldAtExit}});
    }
    root["thread_data"] = {
        {"allocated", allocated_.load(std::memory_order_relaxed)},
        {"released", released_.load(std::memory_order_relaxed)},
        {"get_calls", getCalls_.load(std::memory_order_relaxed)},
        {"threads", threads_.load(std::memory_order_relaxed)},
        {"held_at_exit", held},
        {"assignments_dropped", snapshot.dropped},
    };
    root["thread_assignments"] = std::move(list);
}

}  // namespace vesktool
