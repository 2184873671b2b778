#include "jitwriter/jit_file_writer.h"

#include "jitwriter/jit_file_format.h"
#include "jitwriter/little_endian.h"
#include "jitwriter/record_encoder.h"
#include "jitwriter/timed_lock.h"
#include "plovat/jit_writer.h"

#include <chrono>
#include <cstring>
#include <new>

namespace jitwriter {

namespace {

uint64_t microsSinceEpoch() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<microseconds>(system_clock::now().time_since_epoch()).count());
}

}  // namespace

int JitFileWriter::open(const vesk_wchar* fileName) {
    uint8_t head[jitfile::header::kSize] = {};
    std::memcpy(head + jitfile::header::kMagic, jitfile::kMagicBytes, jitfile::kMagicSize);
    jitfile::storeU16(head + jitfile::header::kMajorVersion, jitfile::kMajorVersion);
    jitfile::storeU16(head + jitfile::header::kMinorVersion, jitfile::kMinorVersion);
    jitfile::storeU32(head + jitfile::header::kHeaderSize, jitfile::header::kSize);
    head[jitfile::header::kPointerSize] = static_cast<uint8_t>(sizeof(void*));
    m_ownerProcess = currentProcessId();
    jitfile::storeU32(head + jitfile::header::kProcessId, m_ownerProcess);
    jitfile::storeU64(head + jitfile::header::kCreatedMicros, microsSinceEpoch());

    m_buffer.reserve(kBufferSize);
    if (!m_file.create(fileName)) return plovat1::meIoError;
    if (!m_file.writeAll(head, sizeof head)) return failLocked();
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
    if (m_failed) return plovat1::meIoError;
    if (!m_buffer.empty() && m_buffer.size() + size > kBufferSize) {
        int status = flushLocked();
        if (status != plovat1::meSuccess) return status;
    }
    int status = appendLocked(record, size);
    if (status != plovat1::meSuccess) return status;
    if (m_writeThrough || m_buffer.size() >= kBufferSize) return flushLocked();
    return plovat1::meSuccess;
}

int JitFileWriter::appendLocked(const plovat1::JitRecord& record, size_t size) {
    size_t start = m_buffer.size();
    try {
        m_buffer.resize(start + size);
    } catch (const std::bad_alloc&) {
        return plovat1::meOutOfMemory;
    } catch (const std::length_error&) {
        return plovat1::meOutOfMemory;
    }
    if (!encodeRecord(record, m_buffer.data() + start, size)) {
        m_buffer.resize(start);
        return plovat1::meInvalidArgument;
    }
    return plovat1::meSuccess;
}

int JitFileWriter::flushLocked() {
    if (m_failed || !m_file.isOpen()) return plovat1::meIoError;
    if (m_buffer.empty()) return plovat1::meSuccess;
    if (!m_file.writeAll(m_buffer.data(), m_buffer.size())) return failLocked();
    m_buffer.clear();
    // A single huge record should not pin its memory for the writer's life.
    if (m_buffer.capacity() > 4 * kBufferSize) std::vector<uint8_t>().swap(m_buffer);
    return plovat1::meSuccess;
}

void JitFileWriter::flushForExit(std::chrono::milliseconds wait) {
    std::unique_lock<std::mutex> lock = lockWithin(m_mutex, wait);
    if (!lock.owns_lock() || m_closed || currentProcessId() != m_ownerProcess) return;
    flushLocked();
    m_writeThrough = true;
}

int JitFileWriter::close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_closed) return plovat1::meInvalidArgument;
    m_closed = true;
    int status = flushLocked();
    if (m_file.isOpen() && !m_file.close() && status == plovat1::meSuccess) status = plovat1::meIoError;
    std::vector<uint8_t>().swap(m_buffer);
    return status;
}

int JitFileWriter::failLocked() {
    m_failed = true;
    m_buffer.clear();
    return plovat1::meIoError;
}

}  // namespace jitwriter
