#include "child_process.h"

#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace registration_test {

namespace {

int waitFor(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string readAll(std::FILE* file) {
    std::string text;
    std::rewind(file);
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    return text;
}

}  // namespace

int runInChild(const std::function<int()>& body) {
    std::fflush(nullptr);
    pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) _exit(body());
    return waitFor(child);
}

int runWithReadOnlyDirectory(const std::string& directory, const std::function<int()>& body) {
    const uid_t kNobody = 65534;
    if (chmod(directory.c_str(), 0555) != 0) throw std::runtime_error("cannot make " + directory + " read-only");
    int status = runInChild([&] {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
            return kNoUnprivilegedChild;
        return body();
    });
    chmod(directory.c_str(), 0700);
    return status;
}

ProgramResult runProgram(const std::vector<std::string>& argv, const std::string& workingDirectory) {
    // Files rather than pipes: nothing can fill up and stall the child.
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    if (out == nullptr || err == nullptr) throw std::runtime_error("cannot create output files");
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    std::fflush(nullptr);
    pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        if (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0) _exit(126);
        dup2(fileno(out), STDOUT_FILENO);
        dup2(fileno(err), STDERR_FILENO);
        execv(args[0], args.data());
        _exit(127);
    }
    ProgramResult result;
    result.exitCode = waitFor(child);
    result.out = readAll(out);
    result.err = readAll(err);
    std::fclose(out);
    std::fclose(err);
    return result;
}

}  // namespace registration_test
