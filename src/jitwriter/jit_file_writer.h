// One open JIT file: the header, then records stored straight into the file
// through a shared mapping, so that a record is in the file as soon as write
// returns, however the process ends afterwards. The file grows in chunks; its
// unused tail is zero, and close (or the exit handler) cuts it off. Every
// member but open() may be called from any thread.
#pragma once

#include "jitwriter/os.h"
#include "plovat/jit_record.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace jitwriter {

class JitFileWriter {
public:
    // The file starts with this much room and grows by doubling, in steps
    // of at most kLargestGrowth: each step is written out once (zeros) while
    // a compilation waits. Small, since it is written while the program
    // starts, and most programs compile a few hundred methods.
    static constexpr uint64_t kInitialSize = 128 * 1024;
    static constexpr uint64_t kLargestGrowth = 16 * 1024 * 1024;

    JitFileWriter() = default;
    JitFileWriter(const JitFileWriter&) = delete;
    JitFileWriter& operator=(const JitFileWriter&) = delete;

    // Creates the file, which must not exist yet (meNameTaken when the name
    // is in use), and stores the header, so that an unwritable place is
    // reported here and the file is recognisable from the start. Answers a
    // plovat1::WriterStatus. Call before sharing the writer.
    int open(const vesk_wchar* fileName);

    // Appends one record. Once the file cannot grow, every later call fails
    // without writing; the records before stay whole.
    int write(const plovat1::JitRecord& record);

    // Cuts the unused tail off at process exit. Records written after it
    // still reach the file, which grows again. Gives up after `wait` if
    // another thread holds the writer: a thread stopped inside a write must
    // not keep the process from ending. Skipped in a forked child, which
    // must not cut the parent's file.
    void flushForExit(std::chrono::milliseconds wait);

    // Cuts the unused tail off and closes; later calls fail with
    // meInvalidArgument.
    int close();

private:
    bool makeRoomLocked(size_t size);
    int failLocked();

    std::mutex m_mutex;
    MappedFile m_file;
    uint64_t m_used = 0;  // bytes of header and finished records
    uint32_t m_ownerProcess = 0;
    bool m_closed = false;
    bool m_failed = false;
};

}  // namespace jitwriter
