// Steps one frame up the stack, the way a debugger's stack walk does, on a
// STACKFRAME64-shaped record.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vesktool {

// The record is 264 bytes; of its addresses (16 bytes each: 64-bit offset at
// 0, 16-bit segment at 8, 32-bit mode at 12) only these four are used.
constexpr size_t kStackFrameSize = 264;
constexpr size_t kAddrPcOffset = 0;
constexpr size_t kAddrReturnOffset = 16;
constexpr size_t kAddrFrameOffset = 32;
constexpr size_t kAddrStackOffset = 48;
constexpr uint32_t kAddressModeFlat = 3;

// With a context, a step of the native unwinder (native_unwinder.h), which
// updates both. Without one, from the frame pointer in AddrFrame, moves the record to the caller's frame:
// AddrPC and AddrReturn get the return address, AddrFrame the caller's frame
// pointer, AddrStack the caller's stack pointer. Memory is only ever probed,
// never dereferenced, so a corrupt chain answers vesk_er_not_done instead of
// faulting. The record is untouched unless the answer is vesk_er_success.
int unwindFrame(void* context, void* stackFrame);

}  // namespace vesktool
