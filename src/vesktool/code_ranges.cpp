#include "code_ranges.h"

#include <algorithm>
#include <iterator>
#include <mutex>
#include <nlohmann/json.hpp>

namespace vesktool {

bool CodeRanges::contains(uint64_t address) const {
    std::shared_lock<std::shared_mutex> guard(lock_);
    auto after = covered_.upper_bound(address);
    if (after == covered_.begin()) return false;
    return address < std::prev(after)->second;
}

int CodeRanges::add(const vesk_code_range& range) {
    if (range.end < range.start) return vesk_er_error;
    const std::pair<uint64_t, uint64_t> key(range.start, range.end);
    std::unique_lock<std::shared_mutex> guard(lock_);
    if (added_.count(key) != 0) {
        ++duplicates_;
        return vesk_er_success;
    }
    if (range.start == range.end) {
        added_.insert(key);
        return vesk_er_success;
    }

    // Everything that can throw happens before the first change, so a failed
    // addition leaves both forms as they were.
    std::map<uint64_t, uint64_t> spare;
    spare.emplace(range.start, range.end);
    auto node = spare.extract(spare.begin());
    added_.insert(key);

    uint64_t start = range.start;
    uint64_t end = range.end;
    auto next = covered_.upper_bound(start);
    if (next != covered_.begin()) {
        auto before = std::prev(next);
        if (before->second >= start) {
            start = before->first;
            end = std::max(end, before->second);
            next = covered_.erase(before);
        }
    }
    while (next != covered_.end() && next->first <= end) {
        end = std::max(end, next->second);
        next = covered_.erase(next);
    }
    node.key() = start;
    node.mapped() = end;
    covered_.insert(std::move(node));
    return vesk_er_success;
}

void CodeRanges::report(nlohmann::json& root) const {
    std::shared_lock<std::shared_mutex> guard(lock_);
    nlohmann::json list = nlohmann::json::array();
    for (const auto& range : added_) list.push_back({{"start", range.first}, {"end", range.second}});
    root["code_ranges"] = std::move(list);
    root["code_range_duplicates"] = duplicates_;
}

}  // namespace vesktool
