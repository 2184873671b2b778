// Stack walks for the tool: the walk mode, the per-thread cache of captured
// frames and the two callbacks handed to the tool.
//
// A walk mixes two unwinders: the runtime's snapshot for managed code and the
// tool's native unwinder for everything else, switching as the instruction
// pointer moves between them, until the tool's boundary or the end of the
// stack. Processor contexts are the runtime's CONTEXT records
// (vesk/walk_context.h holds everything that depends on the machine).
#pragma once

#include "abi/corprof.h"
#include "abi/types.h"
#include "pal/pal.h"
#include "vesk/profiling_extension.h"
#include "vesk/walk_context.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace veskmrte_1_0 {

struct ThreadData;

enum FrameKind : uint32_t {
    kManagedFrame = 1,
    kNativeFrame = 2,
    kBoundaryFrame = 3,
};

// One captured frame. The processor context is kept only for frames the
// runtime reported; frames found by the native unwinder carry zeros.
struct StackFrameRecord {
    alignas(vesk_context::kAlignment) unsigned char context[vesk_context::kSize];
    uintptr_t ip;
    uintptr_t returnAddressSlot;
    FrameKind kind;
    cor::FunctionID function;
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
    // The frame at the cursor in place; null when none is left.
    const StackFrameRecord* peek();
    // Moves past the current frame, then as current.
    bool advance(StackFrameRecord& frame);
    void advance();
    size_t size() const { return m_frames.size(); }
    const StackFrameRecord& operator[](size_t index) const { return m_frames[index]; }

    // Walks and reads of one thread's cache take turns; a walk started from
    // inside a walk of the same thread (owner = the calling OS thread) is
    // refused rather than waited for.
    bool lock();
    void unlock();

    // A walk's snapshot frames live in storage the thread keeps between
    // walks: a record holds a whole processor context, and allocating them
    // afresh at every walk cost more than the walk itself.
    void lendSpare(FrameCache& to);
    void takeBackSpare(FrameCache& from);

private:
    std::vector<StackFrameRecord> m_frames;
    std::vector<StackFrameRecord> m_spare;
    size_t m_cursor = 0;
    size_t m_handedOut = 0;
    pal::Mutex m_lock;
    std::atomic<uint32_t> m_owner{0};
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

// What a walk needs from the rest of the profiler, the tool and the runtime.
// The profiler's own answers are in walk_services.cpp; tests give a fake.
class WalkServices {
public:
    virtual ~WalkServices() = default;
    virtual bool isToolCode(uintptr_t ip) = 0;
    virtual bool unwindFrame(void* context, vesk_stack_frame64& frame, void* threadHandle) = 0;
    // In a registered native image, whose function is then registered.
    virtual bool isNativeImageCode(uintptr_t ip) = 0;
    virtual bool isJitCode(uintptr_t ip) = 0;
    virtual bool isExecutable(uintptr_t ip) = 0;
    virtual bool readWord(uintptr_t address, uintptr_t& value) = 0;
    // One runtime snapshot of the thread seeded with the context; does
    // nothing when the runtime is gone or the walk would not be safe.
    virtual void snapshot(const ThreadData& thread, cor::StackSnapshotCallback callback, void* state,
                          void* context) = 0;
    virtual void registerFunction(cor::FunctionID function) = 0;
};
WalkServices& profilerWalkServices();

// The client data of one runtime snapshot.
struct SnapshotState {
    uintptr_t lastStackPointer;
    FrameCache frames;
    vesk_frame_finder* finder;
    bool first;
    int mode;
    WalkServices* services;
};

// The steps of a walk, each usable alone by the tests.
void takeSnapshot(const ThreadData& thread, void* context, SnapshotState& state);
cor::HRESULT STDMETHODCALLTYPE snapshotCallback(cor::FunctionID function, cor::UINT_PTR ip,
                                                cor::COR_PRF_FRAME_INFO frameInfo, cor::ULONG32 contextSize,
                                                cor::BYTE context[], void* clientData);
bool mergeFrames(FrameCache* dest, FrameCache* src, void* context, vesk_stack_frame64* stackFrame,
                 SnapshotState& state);
void walkStackWith(WalkServices& services, int mode, void* context, vesk_frame_finder* finder, void* threadData);

// The callbacks handed to the tool.
void VESK_CALL walkStack(void* context, vesk_frame_finder* finder, void* threadData);
int VESK_CALL nextFrame(uintptr_t* ip, uintptr_t* slot, void* threadData);

}  // namespace veskmrte_1_0
