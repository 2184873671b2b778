// The profiler's answers to a stack walk: the tool's extension, the map of
// recorded code, the module registry and the runtime's snapshot.
//
// The runtime's walk is given no fault guard (there is no structured
// exception handling here, and a signal handler of ours would hide the
// runtime's own). Instead a snapshot is only asked for where the runtime
// itself guarantees a safe walk:
// - of the calling thread: on Linux the runtime cannot suspend another
//   thread for a walk and answers E_NOTIMPL, so asking is pointless;
// - seeded with a context whose stack pointer lies in the calling thread's
//   stack and whose instruction pointer the runtime itself places in managed
//   code (GetFunctionFromIP, a look-up in its code tables that reads no code).
#include "clrprof/clr_callbacks.h"
#include "clrprof/debug_log.h"
#include "clrprof/module_manager.h"
#include "clrprof/stack_walker.h"
#include "clrprof/vesk_prof_ext.h"

namespace veskmrte_1_0 {

using namespace cor;

namespace {

bool isSafeSeed(ICorProfilerInfo2* info, const ThreadData& thread, const void* context) {
    if (thread.managedThread == 0 || thread.osThread != pal::currentThreadId()) return false;
    uintptr_t low = 0, high = 0;
    const uintptr_t stackPointer = vesk_context::sp(context);
    if (!pal::currentThreadStack(low, high) || stackPointer < low || stackPointer >= high) return false;
    FunctionID function = 0;
    return info->GetFunctionFromIP(reinterpret_cast<LPCBYTE>(vesk_context::ip(context)), &function) == S_OK &&
           function != 0;
}

class ProfilerWalkServices : public WalkServices {
public:
    bool isToolCode(uintptr_t ip) override { return VeskProfExt::instance().is_code_known(ip); }

    bool unwindFrame(void* context, vesk_stack_frame64& frame, void* threadHandle) override {
        return VeskProfExt::instance().unwind_frame(context, &frame, threadHandle);
    }

    bool isNativeImageCode(uintptr_t ip) override {
        if (ModuleManager::getInstance().findModuleByAddress(ip) == nullptr) return false;
        CLRCallbacks* callbacks = g_callbacks.load(std::memory_order_acquire);
        if (callbacks != nullptr) callbacks->registerCodeAtIp(ip);
        return true;
    }

    bool isJitCode(uintptr_t ip) override {
        CLRCallbacks* callbacks = g_callbacks.load(std::memory_order_acquire);
        return callbacks != nullptr && callbacks->isJitCode(ip);
    }

    bool isExecutable(uintptr_t ip) override { return pal::isExecutable(reinterpret_cast<const void*>(ip)); }

    bool readWord(uintptr_t address, uintptr_t& value) override { return pal::readWord(address, value); }

    void snapshot(const ThreadData& thread, StackSnapshotCallback callback, void* state, void* context) override {
        CLRCallbacks* callbacks = g_callbacks.load(std::memory_order_acquire);
        if (callbacks == nullptr) return;
        // Shut-down takes this lock exclusively, so it waits for a walk in
        // progress, and a walk after it finds no runtime.
        ICorProfilerInfo2* info = callbacks->acquireProfilerInfo();
        if (info != nullptr && isSafeSeed(info, thread, context)) {
            // What the runtime answers changes nothing: the walk goes on with
            // the frames the callback was given.
            info->DoStackSnapshot(thread.managedThread, callback, COR_PRF_SNAPSHOT_REGISTER_CONTEXT, state,
                                  static_cast<BYTE*>(context), vesk_context::kSize);
        }
        callbacks->releaseProfilerInfo();
    }

    void registerFunction(FunctionID function) override {
        if (function != 0) registerJitCodeCallback(function, 0);
    }
};

}  // namespace

WalkServices& profilerWalkServices() {
    static ProfilerWalkServices services;
    return services;
}

}  // namespace veskmrte_1_0
