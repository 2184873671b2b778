// Stack walks for the tool: the walk mode, the per-thread cache of captured
// frames and the two callbacks handed to the tool.
#pragma once

#include "abi/types.h"
#include "vesk/profiling_extension.h"

#include <cstdint>
#include <vector>

namespace veskmrte_1_0 {

enum FrameKind : uint32_t {
    kManagedFrame = 1,
    kNativeFrame = 2,
    kBoundaryFrame = 3,
};

// One captured frame. The processor context is kept only for frames the
// runtime reported; frames found by the native unwinder carry none.
struct StackFrameRecord {
    std::vector<uint8_t> context;
    uintptr_t ip = 0;
    uintptr_t returnAddressSlot = 0;
    FrameKind kind = kNativeFrame;
    cor::FunctionID function = 0;
};

// The frames captured for one thread and the read position of the tool.
// Reset keeps the storage, so a thread's cache is reused from walk to walk.
class FrameCache {
public:
    void reset();
    void append(const StackFrameRecord& frame);
    // Copies the frame at the cursor; false when none is left. Before the
    // first frame is handed out the cursor starts at the beginning.
    bool current(StackFrameRecord& frame);
    // Moves past the current frame, then as current.
    bool advance(StackFrameRecord& frame);
    size_t size() const { return m_frames.size(); }

private:
    std::vector<StackFrameRecord> m_frames;
    size_t m_cursor = 0;
    size_t m_handedOut = 0;
};

class StackWalker {
public:
    static StackWalker& instance();
    virtual ~StackWalker() = default;

    // Accepts 1 (managed frames only) or 2 (managed and native frames).
    bool setMode(int mode);
    int mode() const { return m_mode; }

private:
    StackWalker() = default;
    int m_mode = 0;
};

// The callbacks handed to the tool.
void VESK_CALL walkStack(void* context, vesk_frame_finder* finder, void* threadData);
int VESK_CALL nextFrame(uintptr_t* ip, uintptr_t* slot, void* threadData);

}  // namespace veskmrte_1_0
