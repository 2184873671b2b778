#include "tool_instance.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include <dlfcn.h>

namespace vesktool_test {

namespace {

const char* const kToolVariables[] = {"VESKTOOL_REPORT", "VESKTOOL_FAIL", "VESKTOOL_STACK_WALK_MODE"};

// Sets the tool's variables for the scope and puts the old values back.
class ScopedEnvironment {
public:
    explicit ScopedEnvironment(const Environment& environment) {
        for (const char* name : kToolVariables) {
            const char* old = std::getenv(name);
            saved_.push_back({name, old != nullptr, old != nullptr ? old : ""});
            unsetenv(name);
        }
        for (const auto& entry : environment) setenv(entry.first.c_str(), entry.second.c_str(), 1);
    }
    ~ScopedEnvironment() {
        for (const Saved& saved : saved_) {
            if (saved.present) {
                setenv(saved.name.c_str(), saved.value.c_str(), 1);
            } else {
                unsetenv(saved.name.c_str());
            }
        }
    }

private:
    struct Saved {
        std::string name;
        bool present;
        std::string value;
    };
    std::vector<Saved> saved_;
};

}  // namespace

ToolInstance::ToolInstance(const Environment& environment) {
    namespace fs = std::filesystem;
    // The loader hands back an already loaded object for the same file, so
    // each instance needs a file of its own.
    std::string pattern = (fs::temp_directory_path() / "vesktool-instance-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a directory for the copy");
    const fs::path directory(pattern);
    const fs::path copy = directory / "vesktool.so";
    fs::copy_file(VESKTOOL_PATH, copy);
    {
        ScopedEnvironment scoped(environment);
        handle_ = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    std::error_code ignored;
    fs::remove_all(directory, ignored);
    if (handle_ == nullptr) throw std::runtime_error(std::string("cannot load vesktool.so: ") + dlerror());
    entry_ = reinterpret_cast<vesk_get_profiling_extension_fn>(dlsym(handle_, VESK_GET_PROFILING_EXTENSION_NAME));
    if (entry_ == nullptr) throw std::runtime_error("vesktool.so does not export the entry point");
}

vesk_profiling_extension* ToolInstance::ext() const {
    vesk_profiling_extension* record = nullptr;
    if (entry_(&record) != vesk_er_success || record == nullptr) {
        throw std::runtime_error("the entry point answered no record");
    }
    return record;
}

}  // namespace vesktool_test

namespace vesktool_test {

void* ToolInstance::symbol(const char* name) const {
    void* found = dlsym(handle_, name);
    if (found == nullptr) throw std::runtime_error(std::string("vesktool.so does not export ") + name);
    return found;
}

}  // namespace vesktool_test
