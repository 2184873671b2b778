// A private copy of the built vesktool.so, loaded under an environment of the
// test's choosing. The library reads its environment once, as it loads, and
// keeps its counts for the life of the process; a fresh copy per instance
// gives each its own settings and a clean slate. Never unloaded: the
// library's state lives as long as the process.
#pragma once

#include "vesk/profiling_extension.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

#include <dlfcn.h>

namespace vesktool_test {

typedef std::map<std::string, std::string> Environment;

class ToolInstance {
public:
    // Loads with exactly these VESKTOOL_* variables set; throws when it cannot.
    explicit ToolInstance(const Environment& environment = {}) {
        namespace fs = std::filesystem;
        // The loader hands back an object already loaded from the same file.
        std::string directory = (fs::temp_directory_path() / "vesktool-instance-XXXXXX").string();
        if (mkdtemp(directory.data()) == nullptr) throw std::runtime_error("cannot create a directory for the copy");
        fs::copy_file(VESKTOOL_PATH, fs::path(directory) / "vesktool.so");
        for (const char* name : {"VESKTOOL_REPORT", "VESKTOOL_FAIL", "VESKTOOL_STACK_WALK_MODE"}) unsetenv(name);
        for (const auto& entry : environment) setenv(entry.first.c_str(), entry.second.c_str(), 1);
        handle_ = dlopen((fs::path(directory) / "vesktool.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        for (const auto& entry : environment) unsetenv(entry.first.c_str());
        fs::remove_all(directory);
        if (handle_ == nullptr) throw std::runtime_error(std::string("cannot load vesktool.so: ") + dlerror());
    }
    ToolInstance(const ToolInstance&) = delete;
    ToolInstance& operator=(const ToolInstance&) = delete;

    int getExtension(vesk_profiling_extension** out) const {
        return reinterpret_cast<vesk_get_profiling_extension_fn>(symbol(VESK_GET_PROFILING_EXTENSION_NAME))(out);
    }
    // The record, through the entry point; throws when it answers none.
    vesk_profiling_extension* ext() const {
        vesk_profiling_extension* record = nullptr;
        if (getExtension(&record) != vesk_er_success || record == nullptr)
            throw std::runtime_error("the entry point answered no record");
        return record;
    }
    // Another export of this copy; throws when it is missing.
    void* symbol(const char* name) const {
        void* found = dlsym(handle_, name);
        if (found == nullptr) throw std::runtime_error(std::string("vesktool.so does not export ") + name);
        return found;
    }

private:
    void* handle_ = nullptr;
};

}  // namespace vesktool_test
