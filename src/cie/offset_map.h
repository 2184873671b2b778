// Where each instruction of the decoded body lands in a re-encoded one.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace tavoli {
namespace cie {

class OffsetMap {
public:
    // Pairs (old offset, new offset) in increasing old order; the code end
    // is the last pair.
    void add(uint32_t oldOffset, uint32_t newOffset) { m_pairs.emplace_back(oldOffset, newOffset); }
    void clear() { m_pairs.clear(); }

    // False when the old offset is not an instruction start or the code end:
    // such an offset cannot be carried into a different layout.
    bool map(int64_t oldOffset, uint32_t& newOffset) const {
        if (oldOffset < 0 || oldOffset > static_cast<int64_t>(UINT32_MAX)) return false;
        const uint32_t key = static_cast<uint32_t>(oldOffset);
        auto it = std::lower_bound(m_pairs.begin(), m_pairs.end(), key,
                                   [](const std::pair<uint32_t, uint32_t>& p, uint32_t k) { return p.first < k; });
        if (it == m_pairs.end() || it->first != key) return false;
        newOffset = it->second;
        return true;
    }

private:
    std::vector<std::pair<uint32_t, uint32_t>> m_pairs;
};

}  // namespace cie
}  // namespace tavoli
