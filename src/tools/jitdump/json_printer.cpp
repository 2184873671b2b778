#include "record_printer.h"

#include "jitwriter/utc_time.h"

#include <nlohmann/json.hpp>

namespace jitfile {

namespace {

using nlohmann::json;

// Identifiers and addresses go out as hex strings: 64-bit values do not
// survive readers that hold JSON numbers as doubles.
class JsonPrinter : public RecordPrinter {
public:
    JsonPrinter(std::ostream& out, bool withRecords, bool withCode)
        : m_out(out), m_withRecords(withRecords), m_withCode(withCode) {}

    void begin(const std::string& path, const FileHeader& h) override {
        json header = {
            {"version", std::to_string(h.majorVersion) + "." + std::to_string(h.minorVersion)},
            {"pointerSize", h.pointerSize},
            {"processId", h.processId},
            {"created", formatUtc(static_cast<int64_t>(h.createdMicros), false)},
        };
        m_out << "{\"file\":" << dump(path) << ",\n\"header\":" << dump(header);
        if (m_withRecords) m_out << ",\n\"records\":[";
    }

    void record(const MethodRecord& r) override {
        if (!m_withRecords) return;
        json codeRanges = json::array();
        for (const CodeRange& c : r.codeRanges) {
            json range = {{"start", hex(c.start, 16)}, {"size", c.size}, {"copiedSize", c.code.size()}};
            if (m_withCode) range["code"] = hexBytes(c.code);
            codeRanges.push_back(std::move(range));
        }
        json ilMap = json::array();
        for (const IlMapping& e : r.ilMap) {
            ilMap.push_back({{"nativeStart", e.nativeStart}, {"nativeEnd", e.nativeEnd}, {"ilOffset", e.ilOffset}});
        }
        json record = {
            {"offset", r.fileOffset},
            {"methodToken", hex(r.methodToken, 8)},
            {"classId", hex(r.classId, 16)},
            {"classToken", hex(r.classToken, 8)},
            {"moduleId", hex(r.moduleId, 16)},
            {"registeredModuleId", hex(r.registeredModuleId, 16)},
            {"moduleFileName", r.moduleFileName},
            {"timestamp", r.timestamp},
            {"flags", hex(r.flags, 8)},
            {"flagNames", flagNames(r.flags)},
            {"codeRanges", std::move(codeRanges)},
            {"ilMap", std::move(ilMap)},
        };
        m_out << (m_first ? "\n" : ",\n") << dump(record);
        m_first = false;
    }

    void end(const JitSummary& s, uint64_t skipped, const std::string& damage, bool closed) override {
        if (m_withRecords) m_out << "\n]";
        json summary = {
            {"records", s.records()},          {"codeBytes", s.codeBytes()},
            {"copiedCodeBytes", s.copiedCodeBytes()}, {"modules", s.modules()},
            {"methods", s.methods()},          {"skippedRecords", skipped},
        };
        m_out << ",\n\"summary\":" << dump(summary) << ",\n\"complete\":" << (damage.empty() ? "true" : "false")
              << ",\n\"closed\":" << (closed ? "true" : "false");
        if (!damage.empty()) m_out << ",\n\"damage\":" << dump(damage);
        m_out << "}\n";
    }

private:
    // Module names are bytes from the file and need not be valid UTF-8;
    // strict dumping would throw on them.
    static std::string dump(const json& value) { return value.dump(-1, ' ', false, json::error_handler_t::replace); }

    std::ostream& m_out;
    bool m_withRecords;
    bool m_withCode;
    bool m_first = true;
};

}  // namespace

std::unique_ptr<RecordPrinter> makeJsonPrinter(std::ostream& out, bool withRecords, bool withCode) {
    return std::unique_ptr<RecordPrinter>(new JsonPrinter(out, withRecords, withCode));
}

}  // namespace jitfile
