#include "jitwriter/jit_file_writer.h"

#include "jitwriter/jit_file_format.h"
#include "jitwriter/little_endian.h"
#include "jitwriter/record_encoder.h"
#include "jitwriter/timed_lock.h"
#include "plovat/jit_writer.h"

#include <chrono>
#include <cstring>
#include <algorithm>

namespace jitwriter {

namespace {

uint64_t microsSinceEpoch() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<microseconds>(system_clock::now().time_since_epoch()).count());
}

}  // namespace

int JitFileWriter::open(const vesk_wchar* fileName) {
    m_ownerProcess = currentProcessId();
    bool nameTaken = false;
    if (!m_file.create(fileName, nameTaken)) return nameTaken ? plovat1::meNameTaken : plovat1::meIoError;
    if (!m_file.reserve(kInitialSize)) return failLocked();
    uint8_t* head = m_file.data();
    jitfile::storeU16(head + jitfile::header::kMajorVersion, jitfile::kMajorVersion);
    jitfile::storeU16(head + jitfile::header::kMinorVersion, jitfile::kMinorVersion);
    jitfile::storeU32(head + jitfile::header::kHeaderSize, jitfile::header::kSize);
    head[jitfile::header::kPointerSize] = static_cast<uint8_t>(sizeof(void*));
    jitfile::storeU32(head + jitfile::header::kProcessId, m_ownerProcess);
    jitfile::storeU64(head + jitfile::header::kCreatedMicros, microsSinceEpoch());
    std::memcpy(head + jitfile::header::kMagic, jitfile::kMagicBytes, jitfile::kMagicSize);
    m_used = jitfile::header::kSize;
    return plovat1::meSuccess;
}

int JitFileWriter::write(const plovat1::JitRecord& callerRecord) {
    // One copy of the top level, so that sizing and encoding see the same
    // counts and pointers even if the caller changes the record meanwhile.
    plovat1::JitRecord record;
    std::memcpy(&record, &callerRecord, sizeof record);
    size_t size = 0;
    switch (measureRecord(record, size)) {
        case MeasureResult::ok:
            break;
        case MeasureResult::invalid:
        case MeasureResult::tooLarge:
            return plovat1::meInvalidArgument;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_closed) return plovat1::meInvalidArgument;
    if (m_failed || inForkedChild()) return plovat1::meIoError;
    if (!makeRoomLocked(size)) return failLocked();
    uint8_t* at = m_file.data() + m_used;
    if (!encodeRecord(record, at, size)) {
        // Its length was never stored; zeros keep the leftovers from reading
        // as a record after a later, shorter one.
        std::memset(at, 0, size);
        return plovat1::meInvalidArgument;
    }
    m_used += size;
    return plovat1::meSuccess;
}

// Room for the record and a zero length field after it, which tells a reader
// of a file whose process died where the records end.
bool JitFileWriter::makeRoomLocked(size_t size) {
    uint64_t needed = m_used + size + 4;
    uint64_t capacity = m_file.capacity();
    if (needed <= capacity) return true;
    uint64_t grown = capacity + std::min<uint64_t>(std::max<uint64_t>(capacity, kInitialSize), kLargestGrowth);
    return m_file.reserve(std::max(grown, needed));
}

void JitFileWriter::flushForExit(std::chrono::milliseconds wait) {
    std::unique_lock<std::mutex> lock = lockWithin(m_mutex, wait);
    if (!lock.owns_lock() || m_closed || m_failed || inForkedChild()) return;
    m_file.trim(m_used);
}

int JitFileWriter::close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_closed) return plovat1::meInvalidArgument;
    m_closed = true;
    if (!m_file.isOpen()) return plovat1::meIoError;
    // A forked child closes only its descriptor: the file is the parent's.
    bool ok = inForkedChild() ? true : m_file.close(m_used);
    return ok && !m_failed ? plovat1::meSuccess : plovat1::meIoError;
}

int JitFileWriter::failLocked() {
    m_failed = true;
    return plovat1::meIoError;
}

}  // namespace jitwriter
