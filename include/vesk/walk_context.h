// The processor context that walkStack starts from and unwind_frame steps
// with, and the frame record unwind_frame keeps beside it. The context is the
// runtime's own CONTEXT record for the machine, because the profiler hands it
// to the runtime as the seed of a managed stack walk; only the fields listed
// here are read or written by the tool and the profiler.
//
// unwind_frame, when given a context, leaves it holding the caller's
// registers after a successful step (instruction pointer = the return
// address, stack pointer = the caller's, callee-saved registers restored),
// and sets the frame record's program-counter and return addresses to the
// return address, its frame address to the return-address slot less one
// word, its stack address to the caller's stack pointer. Memory a step reads
// is probed first: a corrupt stack answers vesk_er_not_done, never a fault.
//
// Everything that depends on the machine is in this file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vesk_context {

#if defined(__x86_64__) || defined(_M_X64)

// The runtime's CONTEXT on Linux x64 since .NET 8, AVX-512 state included.
// The profiler copies what the runtime reports with its own size; this is
// how much a context handed to walkStack must hold.
constexpr size_t kSize = 3104;
constexpr size_t kFlagsOffset = 0x30;
constexpr uint32_t kFlagsControlInteger = 0x100003;
constexpr size_t kIpOffset = 0xF8;
constexpr size_t kSpOffset = 0x98;
constexpr size_t kFpOffset = 0xA0;
// The registers a callee must preserve (System V), which the runtime needs
// to unwind managed frames from a seed, ip, sp and fp included.
enum Register { kIp, kSp, kFp, kRbx, kR12, kR13, kR14, kR15, kRegisterCount };
constexpr size_t kRegisterOffsets[kRegisterCount] = {0xF8, 0x98, 0xA0, 0x90, 0xD8, 0xE0, 0xE8, 0xF0};

#elif defined(__i386__) || defined(_M_IX86)

constexpr size_t kSize = 716;
constexpr size_t kFlagsOffset = 0;
constexpr uint32_t kFlagsControlInteger = 0x10003;
constexpr size_t kIpOffset = 184;
constexpr size_t kSpOffset = 196;
constexpr size_t kFpOffset = 180;
enum Register { kIp, kSp, kFp, kEbx, kEsi, kEdi, kRegisterCount };
constexpr size_t kRegisterOffsets[kRegisterCount] = {184, 196, 180, 164, 160, 156};

#else
#error "no stack-walk context for this machine"
#endif

constexpr size_t kAlignment = 16;

inline uintptr_t get(const void* context, size_t offset) {
    uintptr_t value;
    std::memcpy(&value, static_cast<const unsigned char*>(context) + offset, sizeof value);
    return value;
}

inline void set(void* context, size_t offset, uintptr_t value) {
    std::memcpy(static_cast<unsigned char*>(context) + offset, &value, sizeof value);
}

inline uintptr_t ip(const void* context) { return get(context, kIpOffset); }
inline uintptr_t sp(const void* context) { return get(context, kSpOffset); }
inline uintptr_t fp(const void* context) { return get(context, kFpOffset); }

}  // namespace vesk_context

extern "C" {

// The debugging library's STACKFRAME64, with flat addresses (mode 3): the
// same 264 bytes on 32- and 64-bit machines.
struct vesk_address64 {
    uint64_t offset;
    uint16_t segment;
    uint32_t mode;
};

struct vesk_stack_frame64 {
    vesk_address64 pc;
    vesk_address64 return_address;
    vesk_address64 frame;
    vesk_address64 stack;
    vesk_address64 backing_store;
    void* function_table_entry;
    uint64_t params[4];
    int32_t far_call;
    int32_t virtual_frame;
    uint64_t reserved[3];
    unsigned char kernel_help[112];
};

}  // extern "C"

static_assert(sizeof(vesk_stack_frame64) == 264, "STACKFRAME64 is 264 bytes");
static_assert(offsetof(vesk_stack_frame64, return_address) == 16 && offsetof(vesk_stack_frame64, frame) == 32 &&
                  offsetof(vesk_stack_frame64, stack) == 48 && offsetof(vesk_stack_frame64, params) == 88,
              "STACKFRAME64 layout");

namespace vesk_context {

constexpr uint32_t kAddressModeFlat = 3;

inline void setFlat(vesk_address64& address, uint64_t offset) {
    address.offset = offset;
    address.segment = 0;
    address.mode = kAddressModeFlat;
}

// A frame record describing the context: everything zero except the
// program-counter, frame and stack addresses.
inline void frameFromContext(const void* context, vesk_stack_frame64& frame) {
    std::memset(&frame, 0, sizeof frame);
    setFlat(frame.pc, ip(context));
    setFlat(frame.frame, fp(context));
    setFlat(frame.stack, sp(context));
}

}  // namespace vesk_context
