#include "jitwriter/os.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace jitwriter {

namespace {
HANDLE toHandle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }
}  // namespace

OutputFile::~OutputFile() {
    if (isOpen()) CloseHandle(toHandle(m_handle));
}

bool OutputFile::create(const vesk_wchar* name) {
    if (isOpen()) return false;
    // Readers may open the file while it grows; no handle is inherited.
    HANDLE h = CreateFileW(name, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    m_handle = reinterpret_cast<intptr_t>(h);
    return true;
}

bool OutputFile::writeAll(const void* data, size_t size) {
    if (!isOpen()) return false;
    const char* p = static_cast<const char*>(data);
    while (size != 0) {
        DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(toHandle(m_handle), p, chunk, &written, nullptr) || written == 0) return false;
        p += written;
        size -= written;
    }
    return true;
}

bool OutputFile::close() {
    if (!isOpen()) return false;
    HANDLE h = toHandle(m_handle);
    m_handle = kClosed;
    return CloseHandle(h) != 0;
}

uint32_t currentProcessId() { return static_cast<uint32_t>(GetCurrentProcessId()); }

}  // namespace jitwriter
