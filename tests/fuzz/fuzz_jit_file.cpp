// JIT files as a tool finds them: cut off, damaged or not ours at all. The
// reader reports damage and never trusts a length the file cannot back.
#include "fuzz_check.h"
#include "jit_file_reader.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    jitfile::MethodRecord record;
    std::string error;
    jitfile::parseMethodRecord(data, size, record, error);

    static const int fd = memfd_create("fuzz.jit", 0);
    if (fd < 0) return 0;
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) return 0;
    jitfile::JitFileReader reader;
    if (reader.open("/proc/self/fd/" + std::to_string(fd)) != jitfile::OpenResult::ok) return 0;
    uint64_t previous = 0;
    for (size_t records = 0;; ++records) {
        jitfile::MethodRecord next;
        const jitfile::ReadResult result = reader.next(next);
        if (result != jitfile::ReadResult::record) break;
        // Each record lies inside the file and after the one before it.
        FUZZ_CHECK(next.fileOffset < size);
        FUZZ_CHECK(records == 0 || next.fileOffset > previous);
        previous = next.fileOffset;
        for (const jitfile::CodeRange& range : next.codeRanges) FUZZ_CHECK(range.code.size() <= size);
    }
    return 0;
}
