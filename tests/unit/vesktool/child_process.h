// Running part of a test in a child process that ends the ordinary way, so
// the library's exit-time work (writing its report) runs as in a real host.
#pragma once

#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>

namespace vesktool_test {

// Runs body in a forked child that ends with exit(body's result); answers the
// child's exit code, or -1 when it did not exit normally.
int runInChild(const std::function<int()>& body);

// Runs the leak checker now instead of at exit, when built with it. Its exit
// check crashes on its own when threads of a dlopen'ed library with
// thread-local storage are still running (a checker fault, reproducible
// without this library), and exiting under load is exactly what some tests
// do. Call before starting such threads.
void checkLeaksNow();

// A fresh directory, removed with its contents at the end of the scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Parses a JSON file; throws when it is missing or malformed.
nlohmann::json readJson(const std::filesystem::path& file);

}  // namespace vesktool_test
