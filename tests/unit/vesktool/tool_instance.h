// A private copy of the built vesktool.so, loaded under an environment of the
// test's choosing. The library reads its environment once, as it loads, and
// keeps its counts for the life of the process; a fresh copy per test gives
// each test its own settings and a clean slate.
#pragma once

#include "vesk/profiling_extension.h"

#include <map>
#include <string>

namespace vesktool_test {

typedef std::map<std::string, std::string> Environment;

class ToolInstance {
public:
    // Loads with exactly these VESKTOOL_* variables set; the others are unset
    // while loading. Throws std::runtime_error when loading fails.
    explicit ToolInstance(const Environment& environment = {});
    ToolInstance(const ToolInstance&) = delete;
    ToolInstance& operator=(const ToolInstance&) = delete;

    // Calls the exported entry point.
    int getExtension(vesk_profiling_extension** out) const { return entry_(out); }
    // The record, through the entry point; throws when it answers no record.
    vesk_profiling_extension* ext() const;
    // Another export of this copy of the library; throws when it is missing.
    void* symbol(const char* name) const;

private:
    // Never closed: the library holds its state for the process's lifetime on
    // purpose, and unloading it would strand that state.
    void* handle_ = nullptr;
    vesk_get_profiling_extension_fn entry_ = nullptr;
};

}  // namespace vesktool_test
