#include "stack_store.h"

#include "native_unwinder.h"
#include "platform.h"
#include "thread_state.h"
#include "thread_registry.h"
#include "tool.h"
#include "vesk/walk_context.h"

#include <cstdio>
#include <new>
#include <nlohmann/json.hpp>

namespace vesktool {

size_t StackStore::Hash::operator()(const std::vector<StackFrame>& frames) const noexcept {
    uint64_t hash = 1469598103934665603ull;
    for (const StackFrame& f : frames) {
        hash = (hash ^ f.ip) * 1099511628211ull;
        hash = (hash ^ static_cast<uint64_t>(f.kind)) * 1099511628211ull;
    }
    return static_cast<size_t>(hash);
}

uint32_t StackStore::intern(const StackFrame* frames, size_t count) noexcept {
    if (frames == nullptr || count == 0) return 0;
    try {
        std::vector<StackFrame> key(frames, frames + (count < kMaxFrames ? count : kMaxFrames));
        std::lock_guard<std::mutex> hold(lock_);
        auto found = ids_.find(key);
        if (found != ids_.end()) return found->second;
        if (byId_.size() > UINT32_MAX - 1) return 0;
        const uint32_t id = static_cast<uint32_t>(byId_.size());
        byId_.push_back(nullptr);
        auto inserted = ids_.emplace(std::move(key), id).first;
        byId_.back() = &inserted->first;  // node-based map: the key stays put
        return id;
    } catch (...) {
        return 0;
    }
}

bool StackStore::frames(uint32_t id, std::vector<StackFrame>& out) const {
    out.clear();
    std::lock_guard<std::mutex> hold(lock_);
    if (id == 0 || id >= byId_.size() || byId_[id] == nullptr) return false;
    out = *byId_[id];
    return true;
}

size_t StackStore::size() const {
    std::lock_guard<std::mutex> hold(lock_);
    return ids_.size();
}

namespace {

// The profiler names the function whose recorded code holds an address; it is
// loaded before any wrapper can report, so one look-up serves the process.
uint64_t functionAt(uint64_t ip) {
    typedef uintptr_t(VESK_CALL * GetFunctionId)(uintptr_t);
    static GetFunctionId const lookup = reinterpret_cast<GetFunctionId>(platform::findProcessSymbol("getFunctionID"));
    return lookup != nullptr ? lookup(static_cast<uintptr_t>(ip)) : 0;
}

struct StackEnd {
    vesk_frame_finder finder;
    uintptr_t boundary;
};

// The tool's boundary is the end of the thread's stack: nothing above it
// belongs to the thread, so a walk that gets there is complete.
uintptr_t VESK_CALL finderCurrent(vesk_frame_finder* finder) { return reinterpret_cast<StackEnd*>(finder)->boundary; }
uintptr_t VESK_CALL finderAdvance(vesk_frame_finder* finder, uintptr_t) {
    return reinterpret_cast<StackEnd*>(finder)->boundary;
}

}  // namespace

// Not inlined: the context describes this function's own frame, which must
// stay live while the host walks from it.
__attribute__((noinline)) uint32_t StackStore::captureCurrent() noexcept {
    Tool& self = tool();
    if (!self.stackWalker.isSet()) return 0;
    ThreadSlot* slot = currentThreadState().slot;
    if (slot == nullptr) return 0;
    // Borrowed while the walk uses it, so that a concurrent release of every
    // record (the host shutting down) cannot free it under the walk.
    void* record = slot->record.exchange(nullptr, std::memory_order_acq_rel);
    if (record == nullptr) return 0;

    alignas(vesk_context::kAlignment) unsigned char context[vesk_context::kSize];
    StackEnd end{{&finderCurrent, &finderAdvance}, 0};
    uint32_t id = 0;
    uintptr_t low = 0;
    if (callerContext(context) && currentStackBounds(low, end.boundary)) {
        self.stackWalker.walk()(context, &end.finder, record);
        StackFrame frames[kMaxFrames];
        size_t count = 0;
        uintptr_t ip = 0, returnSlot = 0;
        const vesk_next_frame_fn next = self.stackWalker.next();
        // The stack starts at the library's entry point the host called,
        // however deep inside the library the capture was asked for.
        bool inside = true;
        StackFrame entry{0, 0, FrameKind::native};
        while (count < kMaxFrames && next(&ip, &returnSlot, record) == vesk_er_success) {
            const uint64_t function = functionAt(ip);
            if (inside && function == 0 && platform::inThisLibrary(ip)) {
                entry.ip = ip;
                continue;
            }
            if (inside && entry.ip != 0) frames[count++] = entry;
            inside = false;
            if (count == kMaxFrames) break;
            FrameKind kind = function != 0 ? FrameKind::managed : FrameKind::native;
            if (returnSlot != 0 && returnSlot == end.boundary) kind = FrameKind::boundary;
            frames[count++] = StackFrame{ip, function, kind};
        }
        id = intern(frames, count);
    }
    void* expected = nullptr;
    slot->record.compare_exchange_strong(expected, record, std::memory_order_acq_rel);
    return id;
}

nlohmann::json StackStore::toJson(const std::vector<StackFrame>& frames) {
    nlohmann::json list = nlohmann::json::array();
    char text[32];
    for (const StackFrame& f : frames) {
        nlohmann::json frame = nlohmann::json::object();
        std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(f.ip));
        frame["ip"] = text;
        frame["kind"] = f.kind == FrameKind::managed ? "managed" : f.kind == FrameKind::native ? "native" : "boundary";
        std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(f.function));
        frame["function"] = text;
        list.push_back(frame);
    }
    return list;
}

}  // namespace vesktool
