// Feeds the wrappers' reports of lock APIs to the lock-order analysis and
// writes its findings into the report.
#pragma once

#include "call_events.h"
#include "lock_order.h"

#include <array>
#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <string>

namespace vesktool {

// The frames of a stack id in the report's frame form; an empty array when
// there are none.
typedef nlohmann::json (*StackFramesJson)(uint32_t stack);

class LockCalls {
public:
    LockCalls(CaptureStack capture, StackFramesJson frames) : order_(capture), frames_(frames) {}

    // Learns which lock type an API id works on from its name.
    void define(int32_t apiId, const char* name);
    // A report of a lock phase (kCallAcquiring and later) on the object with
    // the identity given; other phases are not about locks and are ignored.
    void report(int32_t apiId, int32_t phase, int32_t managedThread, uint32_t identity) noexcept;

    // potential_deadlocks: one entry per cycle; lock_order: the graph's size.
    void report(nlohmann::json& root) const;

    LockOrder& order() { return order_; }

private:
    LockOrder order_;
    const StackFramesJson frames_;
    // Per API id, the type its locks are shown as; written once, when the
    // wrappers name their APIs, before any report.
    std::array<std::string, CallEvents::kMaxApis> types_;
    std::array<bool, CallEvents::kMaxApis> ownerless_{};
};

}  // namespace vesktool
