#include "jitwriter/writer_registry.h"

#include "jitwriter/jit_file_writer.h"
#include "jitwriter/timed_lock.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <mutex>
#include <new>
#include <vector>

namespace jitwriter {

namespace {

// How long the exit flush waits for a lock before it leaves a writer as it is.
const std::chrono::milliseconds kExitLockWait(2000);

struct Registry {
    std::mutex mutex;
    std::map<uintptr_t, std::shared_ptr<JitFileWriter>> writers;
    uintptr_t lastHandle = 0;
    bool exitFlushInstalled = false;
};

// Never destroyed: the exit flush and Destroy calls from other static
// destructors must still find it.
Registry& registry() {
    static Registry* instance = new Registry;
    return *instance;
}

void flushWritersAtExit() {
    Registry& r = registry();
    std::vector<std::shared_ptr<JitFileWriter>> writers;
    {
        std::unique_lock<std::mutex> lock = lockWithin(r.mutex, kExitLockWait);
        if (!lock.owns_lock()) return;
        try {
            for (auto& entry : r.writers) writers.push_back(entry.second);
        } catch (const std::bad_alloc&) {
            // Flush those copied so far.
        }
    }
    for (auto& writer : writers) writer->flushForExit(kExitLockWait);
}

}  // namespace

void* addWriter(const std::shared_ptr<JitFileWriter>& writer) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    uintptr_t handle = r.lastHandle + 1;
    while (handle == 0 || r.writers.count(handle) != 0) ++handle;
    try {
        r.writers.emplace(handle, writer);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    r.lastHandle = handle;
    if (!r.exitFlushInstalled) {
        // Registered from this library, the handler also runs if the library
        // is unloaded before exit.
        r.exitFlushInstalled = std::atexit(flushWritersAtExit) == 0;
    }
    return reinterpret_cast<void*>(handle);
}

std::shared_ptr<JitFileWriter> findWriter(void* handle) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.writers.find(reinterpret_cast<uintptr_t>(handle));
    return it == r.writers.end() ? std::shared_ptr<JitFileWriter>() : it->second;
}

std::shared_ptr<JitFileWriter> removeWriter(void* handle) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.writers.find(reinterpret_cast<uintptr_t>(handle));
    if (it == r.writers.end()) return std::shared_ptr<JitFileWriter>();
    std::shared_ptr<JitFileWriter> writer = std::move(it->second);
    r.writers.erase(it);
    return writer;
}

}  // namespace jitwriter
