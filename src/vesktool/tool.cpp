#include "tool.h"

#include "platform.h"
#include "thread_state.h"

#include <utility>

namespace vesktool {

namespace {

thread_local ThreadState threadState{nullptr, 0};

}  // namespace

ThreadState& currentThreadState() { return threadState; }

Tool::Tool(Config settings) : config(std::move(settings)), loadedInProcess_(platform::currentProcessId()) {
    callEvents.captureStacks(config.stackEvery, &stacks);
}

Tool& tool() {
    static Tool* const instance = new Tool(readConfig());
    return *instance;
}

}  // namespace vesktool

// The environment is read as the library loads, before the host can call in;
// the report is written as it unloads, which for a library the host keeps is
// at process exit.
#if defined(__GNUC__)
__attribute__((constructor)) static void vesktoolLoaded() { vesktool::tool(); }
__attribute__((destructor)) static void vesktoolUnloading() {
    vesktool::Tool& self = vesktool::tool();
    self.writeReport(self.endAtUnload());
}
#endif
