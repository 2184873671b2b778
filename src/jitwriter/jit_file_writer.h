// One open JIT file: the header, then records appended through a buffer.
// Every member but open() may be called from any thread.
#pragma once

#include "jitwriter/os.h"
#include "plovat/jit_record.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace jitwriter {

class JitFileWriter {
public:
    // Records go out once this much has gathered.
    static constexpr size_t kBufferSize = 64 * 1024;

    JitFileWriter() = default;
    JitFileWriter(const JitFileWriter&) = delete;
    JitFileWriter& operator=(const JitFileWriter&) = delete;

    // Creates the file and writes the header through at once, so that an
    // unwritable place is reported here and the file is recognisable from
    // the start. Answers a plovat1::WriterStatus. Call before sharing the
    // writer.
    int open(const vesk_wchar* fileName);

    // Appends one record. Once a write to the file has failed the file ends
    // in a partial record, and every later call fails without writing.
    int write(const plovat1::JitRecord& record);

    // Flushes at process exit and sends every later record straight to the
    // file, as no one will flush after this. Gives up after `wait` if
    // another thread holds the writer: a thread stopped inside a write must
    // not keep the process from ending. Skipped in a forked child, whose
    // copy of the buffer the parent writes itself.
    void flushForExit(std::chrono::milliseconds wait);

    // Flushes and closes; later calls fail with meInvalidArgument.
    int close();

private:
    int appendLocked(const plovat1::JitRecord& record, size_t size);
    int flushLocked();
    int failLocked();

    std::mutex m_mutex;
    OutputFile m_file;
    std::vector<uint8_t> m_buffer;
    uint32_t m_ownerProcess = 0;
    bool m_closed = false;
    bool m_failed = false;
    bool m_writeThrough = false;
};

}  // namespace jitwriter
