// Settings taken from the environment once, when the library loads, so that
// every later answer is consistent for the life of the process.
#pragma once

#include "operations.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vesktool {

extern const char kEnvReport[];          // path of the JSON report; unset: no report
extern const char kEnvFail[];            // comma-separated operations that fail
extern const char kEnvStackWalkMode[];   // integer answered by get_stack_walk_mode
extern const char kEnvStacks[];          // N: capture the stack of every Nth reported call per thread
extern const char kEnvLockOrder[];       // "0": no lock-order analysis
extern const char kEnvObjects[];         // "0": no per-object counts in the report

constexpr int kDefaultStackWalkMode = 2;

struct Config {
    OperationSet failing = 0;
    // Names in the failure list that select nothing, kept so a typo shows up
    // in the report instead of silently testing nothing.
    std::vector<std::string> unrecognizedFailures;
    int stackWalkMode = kDefaultStackWalkMode;
    // 0: no stacks; N: every Nth call a thread reports.
    uint32_t stackEvery = 0;
    std::string reportPath;
    bool lockOrder = true;
    // The per-object counts can make the report tens of megabytes for a
    // program that locks many objects; the launcher's own report, read only
    // for the findings, goes without them.
    bool objectCounts = true;

    bool fails(Operation op) const { return (failing & operationBit(op)) != 0; }
};

Config readConfig();

OperationSet parseFailureList(std::string_view text, std::vector<std::string>& unrecognized);
// Any integer that fits an int passes unchanged; anything else gives the
// default.
int parseStackWalkMode(const std::string& text);
// A positive count below 2^31; anything else gives 0 (no stacks).
uint32_t parseStackEvery(const std::string& text);

}  // namespace vesktool
