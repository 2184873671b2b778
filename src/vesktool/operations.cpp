#include "operations.h"

namespace vesktool {

namespace {

const char* const kNames[kOperationCount] = {
    "entry",          "get_thread_data", "release_thread_data", "set_stack_walker",
    "is_code_known",  "add_code_range",  "enter_runtime",       "leave_runtime",
    "get_timestamp",  "get_stack_walk_mode", "unwind_frame",
};

}  // namespace

const char* operationName(Operation op) {
    const unsigned index = static_cast<unsigned>(op);
    return index < kOperationCount ? kNames[index] : "unknown";
}

bool operationFromName(std::string_view name, Operation& op) {
    for (unsigned index = 0; index < kOperationCount; ++index) {
        if (name == kNames[index]) {
            op = static_cast<Operation>(index);
            return true;
        }
    }
    return false;
}

bool canInjectFailure(Operation op) {
    switch (op) {
        case Operation::is_code_known:
        case Operation::get_timestamp:
        case Operation::get_stack_walk_mode:
            return false;
        default:
            return true;
    }
}

}  // namespace vesktool
