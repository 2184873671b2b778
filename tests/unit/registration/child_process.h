// Test support: running code or programs in a child process, for what must
// not touch the test process (resource limits) or needs several processes.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace registration_test {

// Runs body in a forked child; answers its return value as the exit status,
// or -1 when the child did not exit normally.
int runInChild(const std::function<int()>& body);

// Exit status of runWithReadOnlyDirectory when the child cannot be made to
// respect file permissions.
const int kNoUnprivilegedChild = 77;

// Runs body in a forked child for which directory can be read but not
// written. The directory is made read-only for the while; a privileged test
// process, which permissions do not bind, also gives up its privileges in the
// child.
int runWithReadOnlyDirectory(const std::string& directory, const std::function<int()>& body);

struct ProgramResult {
    int exitCode = -1;  // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs the program with the given arguments (argv[0] is the program's path)
// and the test's environment, in workingDirectory when it is not empty.
ProgramResult runProgram(const std::vector<std::string>& argv, const std::string& workingDirectory = std::string());

}  // namespace registration_test
