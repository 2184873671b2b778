// The record of operations that the analysis tool's extension library hands
// to the profiler, and the callbacks the profiler hands back. The layout is
// fixed: one pointer-wide slot per operation, in this order. Every operation
// takes the record itself as its first argument.
#pragma once

#include "veskmrte/portable.h"

#include <cstdint>

extern "C" {

enum vesk_result {
    vesk_er_success = 1,
    vesk_er_not_done = 2,
    vesk_er_error = 3,
};

// Stack-walk modes answered by get_stack_walk_mode.
enum vesk_stack_walk_mode {
    vesk_walk_managed = 1,
    vesk_walk_mixed = 2,
};

struct vesk_profiling_extension;

// Allocates the calling thread's data record, stores its address in *slot and
// returns it. Supplied by the profiler.
typedef void*(VESK_CALL* vesk_allocate_thread_data_fn)(void** slot);
// Releases one thread-data record. Supplied by the profiler.
typedef void(VESK_CALL* vesk_free_thread_data_fn)(void* data);

// The tool's description of where a walk must stop: its first two members are
// functions answering the current boundary and the next boundary at or above
// an address.
struct vesk_frame_finder;
typedef uintptr_t(VESK_CALL* vesk_finder_current_fn)(vesk_frame_finder* finder);
typedef uintptr_t(VESK_CALL* vesk_finder_advance_fn)(vesk_frame_finder* finder, uintptr_t address);
struct vesk_frame_finder {
    vesk_finder_current_fn current;
    vesk_finder_advance_fn advance;
};

// Captures the stack of the thread whose data record is given, starting from
// the processor context, into that thread's frame cache.
typedef void(VESK_CALL* vesk_walk_stack_fn)(void* context, vesk_frame_finder* finder, void* threadData);
// Hands out the next captured frame: 1 with ip and return-address slot set,
// 3 when no frame is left or the record is null.
typedef int(VESK_CALL* vesk_next_frame_fn)(uintptr_t* ip, uintptr_t* slot, void* threadData);

// A code range as [start, end), both 64-bit.
struct vesk_code_range {
    uint64_t start;
    uint64_t end;
};

// The leading fields of the profiler's per-thread record, which the tool keeps
// in its per-thread slot. The tool may read these two fields.
struct vesk_thread_data_head {
    uintptr_t managed_thread;
    uint32_t os_thread;
};

struct vesk_profiling_extension {
    /* 0 */ uintptr_t record_version;
    /* 1 */ void*(VESK_CALL* get_thread_data)(vesk_profiling_extension* ext,
                                                vesk_allocate_thread_data_fn allocate);
    /* 2 */ int(VESK_CALL* release_thread_data)(vesk_profiling_extension* ext,
                                                 vesk_free_thread_data_fn release);
    /* 3 */ uintptr_t reserved;
    /* 4 */ int(VESK_CALL* set_stack_walker)(vesk_profiling_extension* ext, vesk_walk_stack_fn walk,
                                              vesk_next_frame_fn next);
    /* 5 */ int(VESK_CALL* is_code_known)(vesk_profiling_extension* ext, uintptr_t address,
                                           uint32_t reserved);
    /* 6 */ int(VESK_CALL* add_code_range)(vesk_profiling_extension* ext, const vesk_code_range* range);
    /* 7 */ int(VESK_CALL* enter_runtime)(vesk_profiling_extension* ext, uint32_t* level);
    /* 8 */ int(VESK_CALL* leave_runtime)(vesk_profiling_extension* ext, uint32_t level);
    /* 9 */ uint64_t(VESK_CALL* get_timestamp)(vesk_profiling_extension* ext);
    /* 10 */ int(VESK_CALL* get_stack_walk_mode)(vesk_profiling_extension* ext);
    /* 11 */ int(VESK_CALL* unwind_frame)(vesk_profiling_extension* ext, void* context, void* stackFrame,
                                          void* threadHandle);
};

#define VESK_PROFILING_EXTENSION_VERSION 1

// The extension library's one entry point: stores the record's address
// through the argument; answers vesk_er_error when no record is available.
typedef int(VESK_CALL* vesk_get_profiling_extension_fn)(vesk_profiling_extension** out);
#define VESK_GET_PROFILING_EXTENSION_NAME "vesk_get_profiling_extension"

}  // extern "C"
