#include "prof_utils/default_jit_file_name.h"

#include "jitwriter/utc_time.h"
#include "prof_utils/os.h"

#include <atomic>
#include <chrono>

namespace profutils {

namespace {

const char kDirectoryVariable[] = "VESKMRTE_JIT_DIR";

vesk::WString ascii(const std::string& text) {
    return vesk::WString(text.begin(), text.end());
}

const std::string& processStamp() {
    static const std::string stamp = [] {
        using namespace std::chrono;
        auto micros = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
        return jitfile::formatUtc(static_cast<int64_t>(micros), true);
    }();
    return stamp;
}

}  // namespace

vesk::WString composeJitFileName(const vesk::WString& dir, uint32_t processId, const std::string& stamp,
                                 unsigned sequence) {
    vesk::WString name = dir;
    if (!name.empty() && !isDirectorySeparator(name.back())) name.push_back(kDirectorySeparator);
    std::string base = "veskmrte-" + std::to_string(processId) + "-" + stamp;
    if (sequence > 1) base += "-" + std::to_string(sequence);
    return name + ascii(base + ".jit");
}

vesk::WString nextDefaultJitFileName() {
    static std::atomic<unsigned> generators(0);
    vesk::WString dir;
    if (!readEnvironment(kDirectoryVariable, dir)) dir = temporaryDirectory();
    return composeJitFileName(dir, currentProcessId(), processStamp(), ++generators);
}

}  // namespace profutils
