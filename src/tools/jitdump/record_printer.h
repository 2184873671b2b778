// The two ways veskmrte-jitdump shows a file: text for people, JSON for
// scripts. Both stream, so a large file never sits in memory whole.
#pragma once

#include "jit_file_reader.h"
#include "jit_summary.h"

#include <memory>
#include <ostream>
#include <string>

namespace jitfile {

class RecordPrinter {
public:
    virtual ~RecordPrinter() = default;
    virtual void begin(const std::string& path, const FileHeader& header) = 0;
    virtual void record(const MethodRecord& record) = 0;
    // damage is empty when the whole file was read.
    // closed is false when the writer never closed the file.
    virtual void end(const JitSummary& summary, uint64_t skippedRecords, const std::string& damage, bool closed) = 0;
};

// withRecords false prints only the header and the summary; withCode adds
// the copied code bytes in hex.
std::unique_ptr<RecordPrinter> makeTextPrinter(std::ostream& out, bool withRecords, bool withCode);
std::unique_ptr<RecordPrinter> makeJsonPrinter(std::ostream& out, bool withRecords, bool withCode);

// Shared by both printers.
std::string hex(uint64_t value, int digits);
std::string hexBytes(const std::vector<uint8_t>& bytes);
// Names of the known flags set, e.g. {"module", "class", "IL-map"}.
std::vector<std::string> flagNames(uint32_t flags);
// "1 entry", "2 entries"
std::string counted(uint64_t count, const char* one, const char* many);

}  // namespace jitfile
