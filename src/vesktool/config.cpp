#include "config.h"

#include "platform.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace vesktool {

const char kEnvReport[] = "VESKTOOL_REPORT";
const char kEnvFail[] = "VESKTOOL_FAIL";
const char kEnvStackWalkMode[] = "VESKTOOL_STACK_WALK_MODE";
const char kEnvStacks[] = "VESKTOOL_STACKS";
const char kEnvLockOrder[] = "VESKTOOL_LOCK_ORDER";
const char kEnvObjects[] = "VESKTOOL_OBJECTS";

namespace {

// "%p" in the report path stands for the process id, so that a program and
// the processes it starts (a build tool and the program it runs, say) each
// keep their own report.
std::string withProcessId(std::string path) {
    const std::string pid = std::to_string(platform::currentProcessId());
    for (size_t at = path.find("%p"); at != std::string::npos; at = path.find("%p", at + pid.size()))
        path.replace(at, 2, pid);
    return path;
}

std::string_view trim(std::string_view text) {
    const char* const blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

}  // namespace

OperationSet parseFailureList(std::string_view text, std::vector<std::string>& unrecognized) {
    OperationSet failing = 0;
    while (!text.empty()) {
        const size_t comma = text.find(',');
        const std::string_view name = trim(text.substr(0, comma));
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        if (name.empty()) continue;
        Operation op;
        if (operationFromName(name, op) && canInjectFailure(op)) {
            failing |= operationBit(op);
        } else {
            unrecognized.emplace_back(name);
        }
    }
    return failing;
}

int parseStackWalkMode(const std::string& text) {
    const std::string_view trimmed = trim(text);
    if (trimmed.empty()) return kDefaultStackWalkMode;
    const std::string digits(trimmed);
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(digits.c_str(), &end, 10);
    if (errno != 0 || end != digits.c_str() + digits.size() || value < INT_MIN || value > INT_MAX) {
        return kDefaultStackWalkMode;
    }
    return static_cast<int>(value);
}

uint32_t parseStackEvery(const std::string& text) {
    const std::string digits(trim(text));
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 10) return 0;
    const unsigned long long value = std::strtoull(digits.c_str(), nullptr, 10);
    return value <= INT32_MAX ? static_cast<uint32_t>(value) : 0;
}

Config readConfig() {
    Config config;
    std::string text;
    // A set-user-ID or capability-raised process takes no file name and no
    // injected failure from whoever set its environment.
    if (platform::isSecureExecution()) {
        if (platform::getEnv(kEnvStackWalkMode, text)) config.stackWalkMode = parseStackWalkMode(text);
        return config;
    }
    if (platform::getEnv(kEnvFail, text)) config.failing = parseFailureList(text, config.unrecognizedFailures);
    if (platform::getEnv(kEnvStackWalkMode, text)) config.stackWalkMode = parseStackWalkMode(text);
    if (platform::getEnv(kEnvStacks, text)) config.stackEvery = parseStackEvery(text);
    if (platform::getEnv(kEnvLockOrder, text)) config.lockOrder = text != "0";
    if (platform::getEnv(kEnvObjects, text)) config.objectCounts = text != "0";
    if (platform::getEnv(kEnvReport, text) && !text.empty())
        config.reportPath = platform::absolutePath(withProcessId(text));
    return config;
}

}  // namespace vesktool
