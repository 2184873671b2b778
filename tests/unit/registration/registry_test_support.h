// A registry store of each test's own, ways to look into it, and a child
// process for what must not touch the test process.
#pragma once

#include "pal/registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace registration_test {

typedef std::vector<std::string> Lines;
inline vesk::WString W(const std::string& utf8) { return vesk::fromUtf8(utf8); }

// A fresh directory, with VESKMRTE_REGISTRY naming registry.json in it while
// the object lives.
struct TemporaryStore {
    TemporaryStore() {
        char pattern[] = "/tmp/veskmrte-registration-XXXXXX";
        dir = mkdtemp(pattern) != nullptr ? pattern : "/nonexistent";
        setenv("VESKMRTE_REGISTRY", path().c_str(), 1);
    }
    ~TemporaryStore() {
        unsetenv("VESKMRTE_REGISTRY");
        std::filesystem::remove_all(dir);
    }
    std::string path() const { return dir + "/registry.json"; }
    std::string dir;
};

inline void dumpKey(const vesk::WString& path, Lines& lines) {
    std::vector<vesk::WString> names;
    if (pal::RegistryStatus status = pal::registryEnumKeys(path, names); status != pal::RegistryStatus::Ok)
        lines.push_back(std::string("! ") + pal::registryStatusText(status));
    for (const vesk::WString& name : names) {
        const vesk::WString child = path.empty() ? name : path + u"\\" + name;
        const std::string key = vesk::toUtf8(child);
        lines.push_back(key);
        std::vector<pal::RegistryValue> values;
        pal::registryEnumValues(child, values);
        for (const pal::RegistryValue& v : values)
            lines.push_back(key + " " + (v.name.empty() ? "(default)" : vesk::toUtf8(v.name)) + " = " + vesk::toUtf8(v.data));
        dumpKey(child, lines);
    }
}

// Every key and value in the order a reader enumerates them: "A\B" for a key,
// then "A\B (default) = x" and "A\B Name = x" for its values.
inline Lines dumpStore() {
    Lines lines;
    dumpKey(vesk::WString(), lines);
    return lines;
}

inline bool setKey(const std::string& path, const std::string& name = "", const std::string& value = "") {
    pal::RegistryKey key = nullptr;
    if (pal::registryCreateKey(W(path), key) != pal::RegistryStatus::Ok) return false;
    bool ok = (name.empty() && value.empty()) || pal::registrySetString(key, W(name), W(value)) == pal::RegistryStatus::Ok;
    pal::registryCloseKey(key);
    return ok;
}

inline std::string readFile(const std::string& path) {
    std::ostringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

inline void writeFile(const std::string& path, const std::string& content) { std::ofstream(path, std::ios::binary) << content; }

// Runs body in a child whose files cannot grow beyond limit bytes, as on a
// full disk; body's result is the child's exit status.
inline int runWithFileLimit(size_t limit, const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit rl{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
        _exit(setrlimit(RLIMIT_FSIZE, &rl) == 0 ? body() : 100);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace registration_test
