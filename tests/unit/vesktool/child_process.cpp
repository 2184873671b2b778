#include "child_process.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include <sys/wait.h>
#include <unistd.h>

extern "C" __attribute__((weak)) void __lsan_do_leak_check();

namespace vesktool_test {

void checkLeaksNow() {
    if (__lsan_do_leak_check != nullptr) __lsan_do_leak_check();
}

int runInChild(const std::function<int()>& body) {
    // Output buffered now would otherwise be written twice.
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        int code = 120;
        try {
            code = body();
        } catch (...) {
            code = 121;
        }
        std::exit(code);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vesktool-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary directory");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

nlohmann::json readJson(const std::filesystem::path& file) {
    std::ifstream in(file);
    if (!in) throw std::runtime_error("cannot open " + file.string());
    return nlohmann::json::parse(in);
}

}  // namespace vesktool_test
