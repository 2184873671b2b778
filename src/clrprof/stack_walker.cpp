#include "clrprof/stack_walker.h"

#include "clrprof/debug_log.h"
#include "clrprof/vesk_prof_ext.h"

#include <cstring>

namespace veskmrte_1_0 {

using namespace cor;

// ---- the frame cache --------------------------------------------------------

void FrameCache::reset() {
    m_frames.clear();
    m_cursor = 0;
    m_handedOut = 0;
}

void FrameCache::append(const StackFrameRecord& frame) { m_frames.push_back(frame); }

bool FrameCache::current(StackFrameRecord& frame) {
    const StackFrameRecord* at = peek();
    if (at == nullptr) return false;
    frame = *at;
    return true;
}

const StackFrameRecord* FrameCache::peek() {
    if (m_handedOut == 0) m_cursor = 0;
    return m_cursor < m_frames.size() ? &m_frames[m_cursor] : nullptr;
}

void FrameCache::advance() {
    ++m_handedOut;
    if (m_cursor < m_frames.size()) ++m_cursor;
}

bool FrameCache::advance(StackFrameRecord& frame) {
    advance();
    return current(frame);
}

bool FrameCache::lock() {
    const uint32_t self = pal::currentThreadId();
    if (m_owner.load(std::memory_order_acquire) == self) return false;
    m_lock.lock();
    m_owner.store(self, std::memory_order_release);
    return true;
}

void FrameCache::unlock() {
    m_owner.store(0, std::memory_order_release);
    m_lock.unlock();
}

void FrameCache::lendSpare(FrameCache& to) {
    to.m_frames.swap(m_spare);
    to.reset();
}

void FrameCache::takeBackSpare(FrameCache& from) { m_spare.swap(from.m_frames); }

StackWalker& StackWalker::instance() {
    static StackWalker walker;
    return walker;
}

bool StackWalker::setMode(int mode) {
    if (mode != vesk_walk_managed && mode != vesk_walk_mixed) return false;
    m_mode = mode;
    return true;
}

// ---- one runtime snapshot ---------------------------------------------------

namespace {

constexpr uintptr_t kWord = sizeof(uintptr_t);

// The stack word holding ip as a return address, searched from the frame's
// stack pointer down to the last frame's; 0 when there is none.
uintptr_t findReturnAddressSlot(WalkServices& services, uintptr_t ip, uintptr_t from, uintptr_t downTo) {
    if (from < downTo) return 0;
    for (uintptr_t at = from - (from % kWord);; at -= kWord) {
        uintptr_t word = 0;
        if (services.readWord(at, word) && word == ip) return at;
        if (at < downTo + kWord) return 0;
    }
}

}  // namespace

HRESULT STDMETHODCALLTYPE snapshotCallback(FunctionID function, UINT_PTR ip, COR_PRF_FRAME_INFO, ULONG32 contextSize,
                                           BYTE context[], void* clientData) {
    SnapshotState* state = static_cast<SnapshotState*>(clientData);
    VESK_ASSERT(state);
    VESK_ASSERT(state->finder);
    VESK_ASSERT(context);

    StackFrameRecord record;
    std::memset(&record, 0, sizeof record);
    // The runtime says how large its context is; a larger one than ours
    // holds only state the walk never reads.
    std::memcpy(record.context, context, contextSize < vesk_context::kSize ? contextSize : vesk_context::kSize);
    record.ip = ip;
    if (function == 0) {
        record.kind = kNativeFrame;
        if (state->mode == vesk_walk_managed) return S_OK;
    } else {
        record.kind = kManagedFrame;
        record.function = function;
    }
    const uintptr_t stackPointer = vesk_context::sp(record.context);
    if (state->first) {
        state->first = false;
        state->lastStackPointer = stackPointer;
        return S_OK;
    }
    if (stackPointer <= state->lastStackPointer) return S_FALSE;

    record.returnAddressSlot = findReturnAddressSlot(*state->services, ip, stackPointer, state->lastStackPointer);
    uintptr_t boundary = state->finder->current(state->finder);
    if (boundary < record.returnAddressSlot) boundary = state->finder->advance(state->finder, record.returnAddressSlot);
    if (record.returnAddressSlot == boundary) record.kind = kBoundaryFrame;

    state->frames.append(record);
    state->lastStackPointer = stackPointer;
    return record.kind == kBoundaryFrame ? S_FALSE : S_OK;
}

void takeSnapshot(const ThreadData& thread, void* context, SnapshotState& state) {
    state.services->snapshot(thread, &snapshotCallback, &state, context);
    // After the runtime's walk, not inside it: recording takes the code map's
    // lock and asks the runtime about each function.
    for (size_t i = 0; i < state.frames.size(); ++i) state.services->registerFunction(state.frames[i].function);
}

bool mergeFrames(FrameCache* dest, FrameCache* src, void* context, vesk_stack_frame64* stackFrame,
                 SnapshotState& state) {
    VESK_ASSERT(dest || src || context || stackFrame);
    VESK_ASSERT(src && src->peek());
    for (const StackFrameRecord* frame = src->peek(); frame != nullptr; frame = src->peek()) {
        std::memcpy(context, frame->context, vesk_context::kSize);
        vesk_context::frameFromContext(context, *stackFrame);
        if (frame->kind == kNativeFrame) {
            if (state.mode == vesk_walk_mixed) {
                if (!state.services->isToolCode(frame->ip)) {
                    // Code the tool cannot name: its own unwinder goes on
                    // from this frame's registers.
                    src->advance();
                    return true;
                }
                dest->append(*frame);
            }
        } else {
            dest->append(*frame);
            if (frame->kind == kBoundaryFrame) {
                src->advance();
                return false;
            }
        }
        src->advance();
    }
    return true;
}

// ---- the whole walk ---------------------------------------------------------

namespace {

enum class CodeKind { managed, native, notCode };

CodeKind classify(WalkServices& services, uintptr_t ip) {
    if (services.isToolCode(ip)) return services.isNativeImageCode(ip) ? CodeKind::managed : CodeKind::native;
    if (services.isJitCode(ip) || services.isExecutable(ip)) return CodeKind::managed;
    return CodeKind::notCode;
}

// Guards against a stack that unwinds in circles without ever reaching the
// boundary or failing.
constexpr int kMaxSteps = 4096;

class MixedWalk {
public:
    MixedWalk(WalkServices& services, int mode, const void* context, vesk_frame_finder* finder, ThreadData& data)
        : m_services(services), m_data(data), m_cache(*data.frameCache) {
        std::memcpy(m_context, context, vesk_context::kSize);
        vesk_context::frameFromContext(m_context, m_frame);
        m_state.lastStackPointer = vesk_context::sp(m_context);
        m_state.finder = finder;
        m_state.first = true;
        m_state.mode = mode;
        m_state.services = &services;
        m_cache.lendSpare(m_state.frames);
    }

    ~MixedWalk() { m_cache.takeBackSpare(m_state.frames); }

    void run() {
        const bool managedStart =
            m_data.walkFlag == 1 || classify(m_services, vesk_context::ip(m_context)) == CodeKind::managed;
        if (managedStart) {
            takeSnapshot(m_data, m_context, m_state);
            if (m_state.frames.size() != 0 && !merge()) return;
        }
        m_state.first = false;
        m_boundary = m_state.finder->current(m_state.finder);
        for (int step = 0; step < kMaxSteps; ++step) {
            uintptr_t ip = 0, slot = 0;
            if (!unwind(ip, slot)) return;
            if (const StackFrameRecord* next = m_state.frames.peek()) {
                const bool nativeBelowNext =
                    m_services.isToolCode(ip) && m_frame.stack.offset < vesk_context::sp(next->context);
                if (!nativeBelowNext) {
                    if (!merge()) return;
                    continue;
                }
            } else {
                const CodeKind kind = classify(m_services, ip);
                if (kind == CodeKind::notCode) return;
                if (kind == CodeKind::managed) {
                    // The context already describes the managed frame, so it
                    // seeds the snapshot as it is; the frame's own stack
                    // pointer lies above its return-address slot.
                    m_state.lastStackPointer = slot;
                    m_state.frames.reset();
                    takeSnapshot(m_data, m_context, m_state);
                    if (m_state.frames.size() != 0) {
                        if (!merge()) return;
                        continue;
                    }
                    if (!m_services.isToolCode(ip)) continue;
                }
            }
            if (!nativeFrame(ip, slot)) return;
        }
    }

private:
    bool merge() { return mergeFrames(&m_cache, &m_state.frames, m_context, &m_frame, m_state); }

    // One step of the tool's unwinder; the frame it yields must be where the
    // stack says it is.
    bool unwind(uintptr_t& ip, uintptr_t& slot) {
        if (!m_services.unwindFrame(m_context, m_frame, m_data.threadHandle)) return false;
        ip = static_cast<uintptr_t>(m_frame.return_address.offset);
        slot = static_cast<uintptr_t>(m_frame.frame.offset) + kWord;
        uintptr_t stored = 0;
        return m_services.readWord(slot, stored) && stored == ip;
    }

    // False when the frame was the boundary.
    bool nativeFrame(uintptr_t ip, uintptr_t slot) {
        if (m_state.mode == vesk_walk_mixed) {
            std::memset(&m_record, 0, sizeof m_record);
            m_record.ip = ip;
            m_record.returnAddressSlot = slot;
            m_record.kind = kNativeFrame;
            m_cache.append(m_record);
        }
        if (slot > m_boundary) m_boundary = m_state.finder->advance(m_state.finder, slot);
        return slot != m_boundary;
    }

    WalkServices& m_services;
    ThreadData& m_data;
    FrameCache& m_cache;
    SnapshotState m_state;
    alignas(vesk_context::kAlignment) unsigned char m_context[vesk_context::kSize];
    vesk_stack_frame64 m_frame;
    StackFrameRecord m_record;
    uintptr_t m_boundary = 0;
};

}  // namespace

void walkStackWith(WalkServices& services, int mode, void* context, vesk_frame_finder* finder, void* threadData) {
    VESK_ASSERT(context || finder || threadData);
    ThreadData* data = static_cast<ThreadData*>(threadData);
    if (data == nullptr || data->frameCache == nullptr) return;
    FrameCache& cache = *data->frameCache;
    if (!cache.lock()) return;
    cache.reset();
    if (context == nullptr) cache.unlock();
    VESK_ASSERT(context);
    VESK_ASSERT(finder);
    MixedWalk walk(services, mode, context, finder, *data);
    walk.run();
    cache.unlock();
}

void VESK_CALL walkStack(void* context, vesk_frame_finder* finder, void* threadData) {
    walkStackWith(profilerWalkServices(), StackWalker::instance().mode(), context, finder, threadData);
}

int VESK_CALL nextFrame(uintptr_t* ip, uintptr_t* slot, void* threadData) {
    ThreadData* data = static_cast<ThreadData*>(threadData);
    if (data == nullptr || data->frameCache == nullptr) return vesk_er_error;
    FrameCache& cache = *data->frameCache;
    if (!cache.lock()) return vesk_er_error;
    const StackFrameRecord* frame = cache.peek();
    if (frame != nullptr) {
        if (ip != nullptr) *ip = frame->ip;
        if (slot != nullptr) *slot = frame->returnAddressSlot;
        cache.advance();
    }
    cache.unlock();
    return frame != nullptr ? vesk_er_success : vesk_er_error;
}

}  // namespace veskmrte_1_0
