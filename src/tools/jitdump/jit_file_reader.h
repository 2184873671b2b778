// Reads JIT files record by record. Damage is reported, never trusted: a
// length that runs past the end of the file means the writer was cut off,
// and nothing is allocated on the strength of a length the file cannot back.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace jitfile {

struct FileHeader {
    uint16_t majorVersion = 0;
    uint16_t minorVersion = 0;
    uint32_t headerSize = 0;
    uint8_t pointerSize = 0;
    uint32_t processId = 0;
    uint64_t createdMicros = 0;
};

struct CodeRange {
    uint64_t start = 0;
    uint32_t size = 0;
    std::vector<uint8_t> code;  // the copied bytes; may be fewer than size
};

struct IlMapping {
    uint32_t nativeStart = 0;
    uint32_t nativeEnd = 0;
    uint32_t ilOffset = 0;
};

struct MethodRecord {
    uint64_t fileOffset = 0;  // where the record's frame starts
    uint32_t methodToken = 0;
    uint32_t classToken = 0;
    uint64_t classId = 0;
    uint64_t moduleId = 0;
    uint64_t registeredModuleId = 0;
    uint64_t timestamp = 0;
    uint32_t flags = 0;
    std::string moduleFileName;  // bytes as written, meant to be UTF-8
    std::vector<CodeRange> codeRanges;
    std::vector<IlMapping> ilMap;
};

enum class OpenResult {
    ok,
    cannotOpen,          // missing or unreadable
    notJitFile,          // wrong magic or a header too short to hold one
    unsupportedVersion,  // a major version this reader does not know
};

enum class ReadResult {
    record,     // the record was filled in
    end,        // the file ended cleanly after the last record
    unclosed,   // a zero length ends the records: the writer's process ended
                // before it closed the file, leaving unused space after them
    truncated,  // the last record is incomplete: the writer was cut off
    malformed,  // a record contradicts its own length
    ioError,
};

// Parses the body of a JIT-method record: everything after the frame's
// length field. False, with the reason, when the parts overrun the body.
bool parseMethodRecord(const uint8_t* body, size_t size, MethodRecord& record, std::string& error);

class JitFileReader {
public:
    OpenResult open(const std::string& path);
    // The next JIT-method record; records of unknown kinds are skipped.
    ReadResult next(MethodRecord& record);

    const FileHeader& header() const { return m_header; }
    // Why open or next last failed.
    const std::string& error() const { return m_error; }
    uint64_t skippedRecords() const { return m_skipped; }

private:
    bool readAt(uint64_t offset, void* data, size_t size);

    std::ifstream m_in;
    uint64_t m_fileSize = 0;
    uint64_t m_offset = 0;
    uint64_t m_skipped = 0;
    FileHeader m_header;
    std::string m_error;
    std::vector<uint8_t> m_body;
};

}  // namespace jitfile
