// The operating-system services the writer needs: a file that grows in
// place through a shared mapping, and the id of the running process.
#pragma once

#include "veskmrte/portable.h"

#include <cstddef>
#include <cstdint>

namespace jitwriter {

// What is stored in the mapping is the file's content at once (the pages
// belong to the system's file cache), so it reaches the file however the
// process ends, SIGKILL included, without a system call per record.
class MappedFile {
public:
    MappedFile() = default;
    // Unmaps and closes if still open, without trimming or reporting errors.
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Creates the file, owner-only, where nothing has that name yet; a name
    // already in use (planted file or link) is never opened, and sets
    // nameTaken.
    bool create(const vesk_wchar* name, bool& nameTaken);
    // Grows the file to size bytes with disk space reserved for them (so a
    // later store into the mapping cannot fault for a full disk) and maps all
    // of it; what was stored stays. False when the file cannot grow.
    bool reserve(uint64_t size);
    // Cuts the file to size bytes; the mapping stays usable below size.
    bool trim(uint64_t size);
    // Unmaps, trims to size and closes; false when the system reports a
    // failure.
    bool close(uint64_t size);

    uint8_t* data() const { return m_data; }
    uint64_t capacity() const { return m_capacity; }
    bool isOpen() const { return m_handle != kClosed; }

private:
    void unmap();

    static constexpr intptr_t kClosed = -1;
    intptr_t m_handle = kClosed;  // a descriptor or a HANDLE
    [[maybe_unused]] intptr_t m_mapping = 0;  // the file-mapping object on Windows
    uint8_t* m_data = nullptr;
    uint64_t m_capacity = 0;  // bytes of the file that may be stored to
    uint64_t m_mapped = 0;    // bytes mapped, at least m_capacity
};

uint32_t currentProcessId();

// True in a child forked from the process that opened the writers: the
// child shares their mappings, and must leave the parent's files alone.
bool inForkedChild();

}  // namespace jitwriter
