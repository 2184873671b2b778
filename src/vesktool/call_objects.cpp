// The per-object call counts in the report. A program that locks many
// objects has one entry per object and API: built as a document tree first,
// hundreds of thousands of them cost seconds at exit, so they are sorted as
// plain numbers and written straight out, laid out exactly as the rest of
// the report.
#include "call_events.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <utility>

namespace vesktool {

namespace {

// Keys sort as text, where "10" comes before "9": an identity's digits,
// left-aligned in ten places, then its length.
uint64_t textOrder(uint32_t identity) {
    uint64_t aligned = identity;
    unsigned digits = 1;
    for (uint32_t rest = identity / 10; rest != 0; rest /= 10) ++digits;
    for (unsigned pad = digits; pad < 10; ++pad) aligned *= 10;
    return aligned << 4 | digits;
}

// The API id in the low byte, as objectKey has it.
uint64_t sortKey(uint64_t objectKey) { return textOrder(static_cast<uint32_t>(objectKey >> 8)) << 8 | (objectKey & 0xff); }

uint32_t identityOf(uint64_t sortKey) {
    const uint64_t order = sortKey >> 8;
    uint64_t aligned = order >> 4;
    for (uint64_t digits = order & 0xf; digits < 10; ++digits) aligned /= 10;
    return static_cast<uint32_t>(aligned);
}

struct Call {
    size_t rank;  // of the API's name among all names
    int32_t apiId;
    uint64_t count;
};

}  // namespace

uint64_t CallEvents::objectsVersion() const {
    std::lock_guard<std::mutex> hold(lock_);
    uint64_t version = 0;
    for (ThreadCounts* t : threads_) version += t->objects.version();
    return version;
}

void CallEvents::writeObjects(TextSink& out) const {
    std::lock_guard<std::mutex> hold(lock_);
    std::vector<std::pair<uint64_t, uint64_t>> entries;
    for (ThreadCounts* t : threads_) {
        entries.reserve(entries.size() + t->objects.size());
        t->objects.forEach([&](uint64_t key, uint64_t count) { entries.emplace_back(sortKey(key), count); });
    }
    std::sort(entries.begin(), entries.end());

    // Names in text order; an object's calls are listed in it, and of two
    // APIs with one name the later id's count stands, as a later assignment
    // to the same key would.
    std::vector<std::string> quoted(kMaxApis);
    std::vector<std::pair<std::string, int32_t>> byName;
    for (int32_t id = 0; id < kMaxApis; ++id) {
        const std::string name = displayName(id);
        // Names come from the host and need not be valid UTF-8.
        quoted[static_cast<size_t>(id)] =
            nlohmann::json(name).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        byName.emplace_back(name, id);
    }
    std::sort(byName.begin(), byName.end());
    std::vector<size_t> rank(kMaxApis);
    for (size_t i = 0, r = 0; i < byName.size(); ++i) {
        if (i > 0 && byName[i].first != byName[i - 1].first) ++r;
        rank[static_cast<size_t>(byName[i].second)] = r;
    }

    if (entries.empty()) {
        out.write("{}", 2);
        return;
    }
    out.write("{", 1);
    std::vector<Call> calls;
    std::string text;
    for (size_t at = 0; at < entries.size();) {
        const bool first = at == 0;
        const uint64_t object = entries[at].first >> 8;
        calls.clear();
        for (; at < entries.size() && entries[at].first >> 8 == object; ++at) {
            const int32_t apiId = static_cast<int32_t>(entries[at].first & 0xff);
            // The same object and API counted on several threads.
            if (!calls.empty() && calls.back().apiId == apiId)
                calls.back().count += entries[at].second;
            else
                calls.push_back({rank[static_cast<size_t>(apiId)], apiId, entries[at].second});
        }
        // A few calls each: an insertion sort, stable, allocates nothing.
        for (size_t i = 1; i < calls.size(); ++i)
            for (size_t j = i; j > 0 && calls[j].rank < calls[j - 1].rank; --j) std::swap(calls[j], calls[j - 1]);
        text.assign(first ? "\n    \"" : ",\n    \"");
        text += std::to_string(identityOf(entries[at - 1].first));
        text += "\": {";
        for (size_t i = 0; i < calls.size(); ++i) {
            if (i + 1 < calls.size() && calls[i + 1].rank == calls[i].rank) continue;
            text += text.back() == '{' ? "\n      " : ",\n      ";
            text += quoted[static_cast<size_t>(calls[i].apiId)];
            text += ": ";
            text += std::to_string(calls[i].count);
        }
        text += "\n    }";
        out.write(text);
    }
    out.write("\n  }", 4);
}

}  // namespace vesktool
