// The native unwinder behind unwind_frame when the host passes a processor
// context (see vesk/walk_context.h): a step uses the unwind tables of the
// code (through libunwind on Linux), so it crosses code built without frame
// pointers, and it falls back to the frame-pointer chain where no table
// covers the code.
#pragma once

#include "vesk/walk_context.h"

#include <cstdint>

namespace vesktool {

// One step from the frame the context describes to its caller; the context
// and the record are updated only on vesk_er_success.
int unwindWithContext(void* context, vesk_stack_frame64& frame);

// Fills a context (vesk_context::kSize bytes) with the registers of the
// function that calls this one, as they are at the return from this call.
bool callerContext(void* context);

// The calling thread's stack: [low, high).
bool currentStackBounds(uintptr_t& low, uintptr_t& high);

}  // namespace vesktool
