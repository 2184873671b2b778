#include "jitwriter/record_encoder.h"

#include "jitwriter/jit_file_format.h"
#include "jitwriter/little_endian.h"

#include <atomic>
#include <cstring>
#include <limits>

namespace jitwriter {

namespace {

using plovat1::JitCodeRange;
using plovat1::JitRecord;

// A part is read only when its flag says the caller filled it in; otherwise
// its pointer may be stale and is never followed.
bool hasCodeRanges(const JitRecord& r) { return (r.flags & plovat1::kCodeRangesPresent) && r.codeRangeCount != 0; }
bool hasModuleFileName(const JitRecord& r) { return (r.flags & plovat1::kModuleFileNamePresent) != 0; }
bool hasIlMap(const JitRecord& r) { return (r.flags & plovat1::kIlMapPresent) && r.ilMapCount != 0; }

uint32_t codeRangeCount(const JitRecord& r) { return hasCodeRanges(r) ? r.codeRangeCount : 0; }
uint32_t ilMapCount(const JitRecord& r) { return hasIlMap(r) ? r.ilMapCount : 0; }

// Writes into a fixed span and refuses to run past its end.
class Cursor {
public:
    Cursor(uint8_t* begin, size_t size) : m_next(begin), m_left(size) {}

    uint8_t* take(size_t n) {
        if (n > m_left) return nullptr;
        uint8_t* p = m_next;
        m_next += n;
        m_left -= n;
        return p;
    }
    bool bytes(const void* data, size_t n) {
        uint8_t* p = take(n);
        if (p == nullptr) return false;
        if (n != 0) std::memcpy(p, data, n);
        return true;
    }
    bool u32(uint32_t v) {
        uint8_t* p = take(4);
        if (p != nullptr) jitfile::storeU32(p, v);
        return p != nullptr;
    }
    bool u64(uint64_t v) {
        uint8_t* p = take(8);
        if (p != nullptr) jitfile::storeU64(p, v);
        return p != nullptr;
    }
    bool atEnd() const { return m_left == 0; }

private:
    uint8_t* m_next;
    size_t m_left;
};

}  // namespace

MeasureResult measureRecord(const JitRecord& record, size_t& size) {
    size = 0;
    // Counted in 64 bits so that a 32-bit process detects overflow too.
    uint64_t total = jitfile::frame::kSize + jitfile::method::kFixedSize;
    if (hasModuleFileName(record)) {
        if (record.moduleFileName == nullptr) return MeasureResult::invalid;
        total += std::strlen(record.moduleFileName);
    }
    if (hasCodeRanges(record)) {
        if (record.codeRanges == nullptr) return MeasureResult::invalid;
        for (uint32_t i = 0; i < record.codeRangeCount; ++i) {
            const JitCodeRange range = record.codeRanges[i];
            if (range.copiedSize > range.size) return MeasureResult::invalid;
            if (range.copiedSize != 0 && range.code == nullptr) return MeasureResult::invalid;
            total += jitfile::code_range::kHeadSize + uint64_t(range.copiedSize);
            // Checked as it grows: four billion ranges could wrap even 64 bits.
            if (total - 4 > std::numeric_limits<uint32_t>::max()) return MeasureResult::tooLarge;
        }
    }
    if (hasIlMap(record)) {
        if (record.ilMap == nullptr) return MeasureResult::invalid;
        total += uint64_t(jitfile::kIlMapEntrySize) * record.ilMapCount;
    }
    // The length field counts the bytes after itself.
    if (total - 4 > std::numeric_limits<uint32_t>::max() || total > std::numeric_limits<size_t>::max())
        return MeasureResult::tooLarge;
    size = static_cast<size_t>(total);
    return MeasureResult::ok;
}

bool encodeRecord(const JitRecord& record, uint8_t* out, size_t size) {
    namespace m = jitfile::method;
    Cursor cursor(out, size);
    uint8_t* frame = cursor.take(jitfile::frame::kSize);
    uint8_t* fixed = cursor.take(m::kFixedSize);
    if (frame == nullptr || fixed == nullptr) return false;
    jitfile::storeU16(frame + jitfile::frame::kKind, jitfile::kKindJitMethod);
    jitfile::storeU16(frame + jitfile::frame::kFixedSize, m::kFixedSize);

    size_t nameSize = 0;
    if (hasModuleFileName(record)) {
        nameSize = std::strlen(record.moduleFileName);
        if (nameSize > std::numeric_limits<uint32_t>::max() || !cursor.bytes(record.moduleFileName, nameSize))
            return false;
    }
    uint32_t rangeCount = codeRangeCount(record);
    for (uint32_t i = 0; i < rangeCount; ++i) {
        const JitCodeRange range = record.codeRanges[i];
        if (range.copiedSize > range.size || (range.copiedSize != 0 && range.code == nullptr)) return false;
        if (!cursor.u64(range.start) || !cursor.u32(range.size) || !cursor.u32(range.copiedSize) ||
            !cursor.bytes(range.code, range.copiedSize))
            return false;
    }
    uint32_t mapCount = ilMapCount(record);
    for (uint32_t i = 0; i < mapCount; ++i) {
        const plovat1::IlMapEntry entry = record.ilMap[i];
        if (!cursor.u32(entry.nativeStart) || !cursor.u32(entry.nativeEnd) || !cursor.u32(entry.ilOffset))
            return false;
    }

    jitfile::storeU32(fixed + m::kMethodToken, record.methodToken);
    jitfile::storeU32(fixed + m::kClassToken, record.classToken);
    jitfile::storeU64(fixed + m::kClassId, record.classId);
    jitfile::storeU64(fixed + m::kModuleId, record.moduleId);
    jitfile::storeU64(fixed + m::kRegisteredModuleId, record.registeredModuleId);
    jitfile::storeU64(fixed + m::kTimestamp, record.timestamp);
    jitfile::storeU32(fixed + m::kFlags, record.flags);
    jitfile::storeU32(fixed + m::kModuleFileNameSize, static_cast<uint32_t>(nameSize));
    jitfile::storeU32(fixed + m::kCodeRangeCount, rangeCount);
    jitfile::storeU32(fixed + m::kIlMapCount, mapCount);
    if (!cursor.atEnd()) return false;
    // The length goes in last, once everything after it is stored: in a file
    // mapped into memory a killed process leaves exactly what it stored, and
    // a zero length there marks where the finished records end.
    std::atomic_signal_fence(std::memory_order_release);
    jitfile::storeU32(frame + jitfile::frame::kLength, static_cast<uint32_t>(size - 4));
    return true;
}

}  // namespace jitwriter
