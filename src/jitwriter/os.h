// The operating-system services the writer needs: an output file that
// reports every failure, and the id of the running process.
#pragma once

#include "veskmrte/portable.h"

#include <cstddef>
#include <cstdint>

namespace jitwriter {

class OutputFile {
public:
    OutputFile() = default;
    // Closes the file if still open, without reporting errors.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the file or truncates an existing one.
    bool create(const vesk_wchar* name);
    // Writes every byte or reports failure (disk full, file too large...);
    // after a failure the file may hold part of the bytes.
    bool writeAll(const void* data, size_t size);
    // Closes the file; false when the system reports a late write error.
    bool close();
    bool isOpen() const { return m_handle != kClosed; }

private:
    static constexpr intptr_t kClosed = -1;
    intptr_t m_handle = kClosed;  // a descriptor or a HANDLE
};

uint32_t currentProcessId();

}  // namespace jitwriter
