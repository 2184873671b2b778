#include "jit_file_reader.h"

#include "jitwriter/jit_file_format.h"
#include "jitwriter/little_endian.h"

#include <cerrno>
#include <cstring>

namespace jitfile {

namespace {

// Consumes a body from the front, refusing to run past its end.
class Span {
public:
    Span(const uint8_t* data, size_t size) : m_data(data), m_left(size) {}
    const uint8_t* take(uint64_t n) {
        if (n > m_left) return nullptr;
        const uint8_t* p = m_data;
        m_data += n;
        m_left -= static_cast<size_t>(n);
        return p;
    }
    size_t left() const { return m_left; }

private:
    const uint8_t* m_data;
    size_t m_left;
};

std::string offsetText(uint64_t offset) { return "offset " + std::to_string(offset); }

}  // namespace

bool parseMethodRecord(const uint8_t* body, size_t size, MethodRecord& record, std::string& error) {
    namespace m = method;
    Span span(body, size);
    const uint8_t* kindAndFixed = span.take(frame::kSize - frame::kKind);
    if (kindAndFixed == nullptr) {
        error = "record too short for its frame";
        return false;
    }
    uint16_t fixedSize = loadU16(kindAndFixed + frame::kFixedSize - frame::kKind);
    if (fixedSize < m::kFixedSize) {
        error = "fixed part of " + std::to_string(fixedSize) + " bytes, expected at least " +
                std::to_string(m::kFixedSize);
        return false;
    }
    // A newer writer may have lengthened the fixed part; the extra bytes are
    // skipped with it.
    const uint8_t* fixed = span.take(fixedSize);
    if (fixed == nullptr) {
        error = "fixed part runs past the record";
        return false;
    }
    record.methodToken = loadU32(fixed + m::kMethodToken);
    record.classToken = loadU32(fixed + m::kClassToken);
    record.classId = loadU64(fixed + m::kClassId);
    record.moduleId = loadU64(fixed + m::kModuleId);
    record.registeredModuleId = loadU64(fixed + m::kRegisteredModuleId);
    record.timestamp = loadU64(fixed + m::kTimestamp);
    record.flags = loadU32(fixed + m::kFlags);
    uint32_t nameSize = loadU32(fixed + m::kModuleFileNameSize);
    uint32_t rangeCount = loadU32(fixed + m::kCodeRangeCount);
    uint32_t mapCount = loadU32(fixed + m::kIlMapCount);

    const uint8_t* name = span.take(nameSize);
    if (name == nullptr) {
        error = "module file name runs past the record";
        return false;
    }
    record.moduleFileName.assign(reinterpret_cast<const char*>(name), nameSize);

    // Counts are checked against what is left before anything is reserved.
    record.codeRanges.clear();
    if (uint64_t(rangeCount) * code_range::kHeadSize > span.left()) {
        error = std::to_string(rangeCount) + " code ranges do not fit the record";
        return false;
    }
    record.codeRanges.reserve(rangeCount);
    for (uint32_t i = 0; i < rangeCount; ++i) {
        const uint8_t* head = span.take(code_range::kHeadSize);
        if (head == nullptr) {
            error = "code range " + std::to_string(i) + " runs past the record";
            return false;
        }
        CodeRange range;
        range.start = loadU64(head + code_range::kStart);
        range.size = loadU32(head + code_range::kSize);
        uint32_t copied = loadU32(head + code_range::kCopiedSize);
        const uint8_t* code = span.take(copied);
        if (code == nullptr) {
            error = "code bytes of range " + std::to_string(i) + " run past the record";
            return false;
        }
        range.code.assign(code, code + copied);
        record.codeRanges.push_back(std::move(range));
    }

    record.ilMap.clear();
    if (uint64_t(mapCount) * kIlMapEntrySize > span.left()) {
        error = std::to_string(mapCount) + " IL map entries do not fit the record";
        return false;
    }
    record.ilMap.resize(mapCount);
    for (IlMapping& entry : record.ilMap) {
        const uint8_t* p = span.take(kIlMapEntrySize);
        entry.nativeStart = loadU32(p);
        entry.nativeEnd = loadU32(p + 4);
        entry.ilOffset = loadU32(p + 8);
    }
    // Whatever follows belongs to fields of a newer minor version.
    return true;
}

OpenResult JitFileReader::open(const std::string& path) {
    errno = 0;
    m_in.open(path, std::ios::binary);
    if (!m_in) {
        m_error = "cannot open " + path + (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string());
        return OpenResult::cannotOpen;
    }
    m_in.seekg(0, std::ios::end);
    std::streamoff end = m_in.tellg();
    if (end < 0) {
        m_error = "cannot read " + path;
        return OpenResult::cannotOpen;
    }
    m_fileSize = static_cast<uint64_t>(end);

    uint8_t head[header::kSize];
    size_t available = m_fileSize < header::kSize ? static_cast<size_t>(m_fileSize) : header::kSize;
    if (!readAt(0, head, available)) {
        m_error = "cannot read " + path;
        return OpenResult::cannotOpen;
    }
    if (available < kMagicSize || std::memcmp(head + header::kMagic, kMagicBytes, kMagicSize) != 0) {
        m_error = path + " is not a JIT file (wrong magic)";
        return OpenResult::notJitFile;
    }
    if (available < header::kSize) {
        m_error = path + ": header cut off after " + std::to_string(available) + " bytes";
        return OpenResult::notJitFile;
    }
    m_header.majorVersion = loadU16(head + header::kMajorVersion);
    m_header.minorVersion = loadU16(head + header::kMinorVersion);
    m_header.headerSize = loadU32(head + header::kHeaderSize);
    m_header.pointerSize = head[header::kPointerSize];
    m_header.processId = loadU32(head + header::kProcessId);
    m_header.createdMicros = loadU64(head + header::kCreatedMicros);
    if (m_header.majorVersion != kMajorVersion) {
        m_error = path + " has format version " + std::to_string(m_header.majorVersion) + "." +
                  std::to_string(m_header.minorVersion) + "; this reader knows version " +
                  std::to_string(kMajorVersion) + ".x";
        return OpenResult::unsupportedVersion;
    }
    if (m_header.headerSize < header::kSize || m_header.headerSize > m_fileSize) {
        m_error = path + ": header size " + std::to_string(m_header.headerSize) + " does not fit the file";
        return OpenResult::notJitFile;
    }
    m_offset = m_header.headerSize;
    return OpenResult::ok;
}

ReadResult JitFileReader::next(MethodRecord& record) {
    for (;;) {
        uint64_t left = m_fileSize - m_offset;
        if (left == 0) return ReadResult::end;
        uint8_t lengthBytes[4];
        if (left < sizeof lengthBytes) {
            m_error = "record at " + offsetText(m_offset) + " cut off in its length field";
            return ReadResult::truncated;
        }
        if (!readAt(m_offset, lengthBytes, sizeof lengthBytes)) {
            m_error = "read error at " + offsetText(m_offset);
            return ReadResult::ioError;
        }
        uint32_t length = loadU32(lengthBytes);
        if (length == 0) {
            // The writer stores a record's length last, so a record it was
            // storing when its process died reads as zero too.
            m_error = "the writer did not close the file: the records end at " + offsetText(m_offset) + ", the " +
                      std::to_string(left) + " bytes after them are unused";
            return ReadResult::unclosed;
        }
        if (length > left - sizeof lengthBytes) {
            m_error = "record at " + offsetText(m_offset) + " needs " + std::to_string(length) + " bytes, only " +
                      std::to_string(left - sizeof lengthBytes) + " remain: the file was cut off";
            return ReadResult::truncated;
        }
        if (length < frame::kSize - frame::kKind) {
            m_error = "record at " + offsetText(m_offset) + " is too short for its frame";
            return ReadResult::malformed;
        }
        m_body.resize(length);
        if (!readAt(m_offset + sizeof lengthBytes, m_body.data(), length)) {
            m_error = "read error at " + offsetText(m_offset);
            return ReadResult::ioError;
        }
        uint64_t recordOffset = m_offset;
        m_offset += sizeof lengthBytes + length;
        if (loadU16(m_body.data()) != kKindJitMethod) {
            ++m_skipped;
            continue;
        }
        record = MethodRecord();
        record.fileOffset = recordOffset;
        std::string why;
        if (!parseMethodRecord(m_body.data(), m_body.size(), record, why)) {
            m_error = "record at " + offsetText(recordOffset) + ": " + why;
            m_offset = m_fileSize;  // what follows cannot be trusted either
            return ReadResult::malformed;
        }
        return ReadResult::record;
    }
}

bool JitFileReader::readAt(uint64_t offset, void* data, size_t size) {
    m_in.clear();
    m_in.seekg(static_cast<std::streamoff>(offset));
    m_in.read(static_cast<char*>(data), static_cast<std::streamsize>(size));
    return static_cast<size_t>(m_in.gcount()) == size;
}

}  // namespace jitfile
