// The operations the library offers, named as the host sees them. The names
// select failures to inject and label whatever is counted per operation.
#pragma once

#include <cstdint>
#include <string_view>

namespace vesktool {

enum class Operation : unsigned {
    entry,  // the exported entry point
    get_thread_data,
    release_thread_data,
    set_stack_walker,
    is_code_known,
    add_code_range,
    enter_runtime,
    leave_runtime,
    get_timestamp,
    get_stack_walk_mode,
    unwind_frame,
};

constexpr unsigned kOperationCount = static_cast<unsigned>(Operation::unwind_frame) + 1;

const char* operationName(Operation op);
// False for names that are not operations.
bool operationFromName(std::string_view name, Operation& op);

// Operations with a failure answer the host must be able to cope with; the
// others answer facts and cannot meaningfully fail.
bool canInjectFailure(Operation op);

typedef uint32_t OperationSet;
constexpr OperationSet operationBit(Operation op) { return OperationSet(1) << static_cast<unsigned>(op); }

}  // namespace vesktool
