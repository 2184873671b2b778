#include "clrprof/stack_walker.h"

#include "clrprof/debug_log.h"
#include "clrprof/vesk_prof_ext.h"

namespace veskmrte_1_0 {

void FrameCache::reset() {
    m_frames.clear();
    m_cursor = 0;
    m_handedOut = 0;
}

void FrameCache::append(const StackFrameRecord& frame) { m_frames.push_back(frame); }

bool FrameCache::current(StackFrameRecord& frame) {
    if (m_handedOut == 0) m_cursor = 0;
    if (m_cursor >= m_frames.size()) return false;
    frame = m_frames[m_cursor];
    return true;
}

bool FrameCache::advance(StackFrameRecord& frame) {
    ++m_handedOut;
    if (m_cursor < m_frames.size()) ++m_cursor;
    return current(frame);
}

StackWalker& StackWalker::instance() {
    static StackWalker walker;
    return walker;
}

bool StackWalker::setMode(int mode) {
    if (mode != vesk_walk_managed && mode != vesk_walk_mixed) return false;
    m_mode = mode;
    return true;
}

void VESK_CALL walkStack(void* context, vesk_frame_finder* finder, void* threadData) {
    VESK_ASSERT(context || finder || threadData);
    ThreadData* data = static_cast<ThreadData*>(threadData);
    if (data != nullptr && data->frameCache != nullptr) data->frameCache->reset();
    VESK_ASSERT(context);
    // Frames are captured by the mixed-mode walk; until it runs, a walk
    // leaves the thread's cache empty, so the tool sees a walk with no
    // frames rather than stale ones.
}

int VESK_CALL nextFrame(uintptr_t* ip, uintptr_t* slot, void* threadData) {
    ThreadData* data = static_cast<ThreadData*>(threadData);
    if (data == nullptr || data->frameCache == nullptr) return vesk_er_error;
    StackFrameRecord frame;
    if (!data->frameCache->current(frame)) return vesk_er_error;
    if (ip != nullptr) *ip = frame.ip;
    if (slot != nullptr) *slot = frame.returnAddressSlot;
    data->frameCache->advance(frame);
    return vesk_er_success;
}

}  // namespace veskmrte_1_0
