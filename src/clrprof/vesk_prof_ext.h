// The bridge to the analysis tool's extension library: loads it, keeps the
// record of operations it hands out, and offers one member per operation.
// With no extension loaded every member does nothing and yields 0.
#pragma once

#include <string>

#include "abi/types.h"
#include "pal/pal.h"
#include "vesk/profiling_extension.h"

#include <cstdint>

namespace veskmrte_1_0 {

class FrameCache;

// The profiler's per-thread record, kept in the tool's per-thread slot. It
// starts with the fields the tool may read (vesk_thread_data_head).
struct ThreadData {
    cor::ThreadID managedThread;
    uint32_t osThread;
    void* threadHandle;
    uint8_t walkFlag;
    FrameCache* frameCache;
};
static_assert(offsetof(ThreadData, managedThread) == offsetof(vesk_thread_data_head, managed_thread),
              "the tool reads the managed thread where its head says");
static_assert(offsetof(ThreadData, osThread) == offsetof(vesk_thread_data_head, os_thread),
              "the tool reads the OS thread where its head says");

// Given to the tool: allocate the calling thread's record into *slot, and
// release one record.
void* VESK_CALL allocateThreadData(void** slot);
void VESK_CALL freeThreadData(void* data);

class VeskProfExt {
public:
    static VeskProfExt& instance() {
        static VeskProfExt bridge;
        return bridge;
    }
    virtual ~VeskProfExt();

    // Loads the library and asks its entry point for the record. A library
    // that loads stays loaded even when the rest fails.
    bool load(const vesk::WChar* path);
    bool isLoaded() const { return m_ext != nullptr; }
    // Why no record is in use: never loaded, or what load found wrong.
    const std::string& whyNotLoaded() const { return m_whyNotLoaded; }
    vesk_profiling_extension* record() const { return m_ext; }

    ThreadData* get_thread_data();
    bool release_thread_data();
    bool set_stack_walker(vesk_walk_stack_fn walk, vesk_next_frame_fn next);
    bool is_code_known(uintptr_t address);
    bool add_code_range(uint64_t start, uint32_t size);
    uint64_t get_timestamp();
    int get_stack_walk_mode();
    bool unwind_frame(void* context, void* stackFrame, void* threadHandle);

    // For tests: use a record without loading a library.
    void useRecordForTesting(vesk_profiling_extension* ext) { m_ext = ext; }

private:
    VeskProfExt();
    vesk_profiling_extension* m_ext;
    pal::ModuleHandle m_module;
    std::string m_whyNotLoaded = "no tool library was loaded";
};

// Brackets a runtime callback's work with the tool's enter-runtime and
// leave-runtime. A failed leave after a successful enter is fatal.
// Inline: it runs around every identity question, where two calls more
// would cost as much as the question itself.
class RuntimeGuard {
public:
    RuntimeGuard() : m_ext(VeskProfExt::instance().record()), m_lvl(0), m_entered(false) {
        if (m_ext != nullptr) m_entered = m_ext->enter_runtime(m_ext, &m_lvl) == vesk_er_success;
    }
    ~RuntimeGuard() {
        if (m_ext != nullptr && m_entered && m_ext->leave_runtime(m_ext, m_lvl) != vesk_er_success) leaveFailed();
    }
    RuntimeGuard(const RuntimeGuard&) = delete;
    RuntimeGuard& operator=(const RuntimeGuard&) = delete;

    bool entered() const { return m_entered; }

private:
    static void leaveFailed();

    vesk_profiling_extension* m_ext;
    uint32_t m_lvl;
    bool m_entered;
};

}  // namespace veskmrte_1_0
