// Test support: a registry store of the test's own, and ways to look at it.
#pragma once

#include "common/utf16.h"

#include <string>
#include <vector>

namespace registration_test {

// Sets or (for a null value) removes an environment variable for as long as
// the object lives.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    bool m_had;
    std::string m_old;
};

// A fresh temporary directory with VESKMRTE_REGISTRY naming registry.json in
// it; the directory goes, whatever its permissions became, with the object.
class TemporaryStore {
public:
    TemporaryStore();
    ~TemporaryStore();
    TemporaryStore(const TemporaryStore&) = delete;
    TemporaryStore& operator=(const TemporaryStore&) = delete;

    const std::string& directory() const { return m_directory; }
    const std::string& path() const { return m_path; }

private:
    std::string m_directory;
    std::string m_path;
    ScopedEnv m_env;
};

vesk::WString W(const std::string& utf8);

// Every key and value a reader finds through the public read functions, one
// line each ("A\B" for a key, "A\B (default) = x", "A\B Name = x" for values),
// sorted so that tests do not depend on enumeration order. Read failures show
// up as a line starting with "!".
std::vector<std::string> dumpStore();

// Creates the key and sets value under name (the default for an empty name);
// false if either step fails.
bool setKey(const std::string& path, const std::string& name = std::string(), const std::string& value = std::string());

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);
bool fileExists(const std::string& path);
std::vector<std::string> directoryEntries(const std::string& directory);

}  // namespace registration_test
