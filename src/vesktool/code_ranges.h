// The code ranges the host has declared as its own. Lookups come from stack
// walks on any thread; additions are rarer.
#pragma once

#include "vesk/profiling_extension.h"

#include <cstdint>
#include <map>
#include <nlohmann/json_fwd.hpp>
#include <set>
#include <shared_mutex>
#include <utility>

namespace vesktool {

class CodeRanges {
public:
    // True when address lies in some added [start, end).
    bool contains(uint64_t address) const;

    // Answers vesk_er_error for a range that ends before it starts. An empty
    // range is accepted and listed but covers nothing.
    int add(const vesk_code_range& range);

    void report(nlohmann::json& root) const;

private:
    mutable std::shared_mutex lock_;
    // Lookup form: start -> end, disjoint and never touching, so one search
    // answers any address however the additions overlapped.
    std::map<uint64_t, uint64_t> covered_;
    // Report form: each distinct range as the host added it.
    std::set<std::pair<uint64_t, uint64_t>> added_;
    uint64_t duplicates_ = 0;
};

}  // namespace vesktool
