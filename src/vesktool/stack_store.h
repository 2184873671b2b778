// Call stacks as small numbers. Whatever the tool records per event (a call
// report, a lock taken) keeps a 32-bit stack id instead of a frame list:
// equal stacks get the same id, so counting distinct stacks is counting ids.
//
// Use from any part of the library:
//   uint32_t id = tool().stacks.captureCurrent();   // inside a report call
//   std::vector<StackFrame> frames;
//   tool().stacks.frames(id, frames);               // e.g. when writing JSON
//   nlohmann::json j = StackStore::toJson(frames);  // the report's frame form
// Id 0 means "no stack": the host gave no walker, the thread has no data
// record yet, or the walk found nothing. Ids are never reused or forgotten.
//
// Capturing walks the calling thread through the host's walkStack and
// nextFrame (the profiler's mixed managed/native walk), starting from a
// context taken inside captureCurrent itself; of this library's frames only
// the entry point the host called is kept, so a stack starts there however
// deep inside the library the capture was asked for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <nlohmann/json_fwd.hpp>
#include <unordered_map>
#include <vector>

namespace vesktool {

enum class FrameKind : uint8_t { managed, native, boundary };

struct StackFrame {
    uint64_t ip;
    uint64_t function;  // the runtime's function id for managed frames, 0 otherwise
    FrameKind kind;
    bool operator==(const StackFrame& other) const {
        return ip == other.ip && function == other.function && kind == other.kind;
    }
};

class StackStore {
public:
    // Frames kept per stack; deeper stacks are cut at the outer end.
    static constexpr size_t kMaxFrames = 256;

    // The id of the frame list (innermost first); 0 for an empty list or
    // when no memory is left.
    uint32_t intern(const StackFrame* frames, size_t count) noexcept;
    // Copies the frames of an id; false (out emptied) for 0 or an unknown id.
    bool frames(uint32_t id, std::vector<StackFrame>& out) const;
    size_t size() const;

    // Walks the calling thread's stack and interns it.
    uint32_t captureCurrent() noexcept;

    // [{"ip": "0x…", "kind": "managed"|"native"|"boundary", "function": "0x…"}]
    static nlohmann::json toJson(const std::vector<StackFrame>& frames);

private:
    struct Hash {
        size_t operator()(const std::vector<StackFrame>& frames) const noexcept;
    };
    mutable std::mutex lock_;
    std::unordered_map<std::vector<StackFrame>, uint32_t, Hash> ids_;
    std::vector<const std::vector<StackFrame>*> byId_{nullptr};  // index = id; 0 holds nothing
};

}  // namespace vesktool
