#include "jitwriter/os.h"

#include "common/utf16.h"
#include "pal/files.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace jitwriter {

namespace {

HANDLE toHandle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }

bool setFileSize(HANDLE file, uint64_t size) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size);
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

}  // namespace

MappedFile::~MappedFile() {
    unmap();
    if (isOpen()) pal::closeFile(m_handle);
}

bool MappedFile::create(const vesk_wchar* name, bool& nameTaken) {
    nameTaken = false;
    if (isOpen()) return false;
    pal::FileHandle file = pal::createNewFile(vesk::toUtf8(name, vesk::wideLength(name)), nameTaken);
    if (file == pal::kNoFile) return false;
    m_handle = file;
    return true;
}

// Setting the end of file allocates the space on NTFS, so a store into the
// view cannot fail later for a full disk.
bool MappedFile::reserve(uint64_t size) {
    if (!isOpen()) return false;
    if (size <= m_capacity) return true;
    if (size > static_cast<uint64_t>(SIZE_MAX)) return false;
    unmap();
    if (!setFileSize(toHandle(m_handle), size)) return false;
    HANDLE mapping = CreateFileMappingW(toHandle(m_handle), nullptr, PAGE_READWRITE, static_cast<DWORD>(size >> 32),
                                        static_cast<DWORD>(size), nullptr);
    if (mapping == nullptr) return false;
    void* data = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, static_cast<SIZE_T>(size));
    if (data == nullptr) {
        CloseHandle(mapping);
        return false;
    }
    m_mapping = reinterpret_cast<intptr_t>(mapping);
    m_data = static_cast<uint8_t*>(data);
    m_capacity = size;
    m_mapped = size;
    return true;
}

// A mapped file cannot shrink on Windows: the view goes first, and the next
// reserve maps the file afresh.
bool MappedFile::trim(uint64_t size) {
    if (!isOpen() || size > m_capacity) return false;
    unmap();
    return setFileSize(toHandle(m_handle), size);
}

bool MappedFile::close(uint64_t size) {
    if (!isOpen()) return false;
    unmap();
    bool ok = setFileSize(toHandle(m_handle), size);
    intptr_t handle = m_handle;
    m_handle = kClosed;
    return pal::closeFile(handle) && ok;
}

void MappedFile::unmap() {
    if (m_data != nullptr) {
        FlushViewOfFile(m_data, 0);
        UnmapViewOfFile(m_data);
    }
    if (m_mapping != 0) CloseHandle(reinterpret_cast<HANDLE>(m_mapping));
    m_data = nullptr;
    m_mapping = 0;
    m_capacity = 0;
    m_mapped = 0;
}

uint32_t currentProcessId() { return static_cast<uint32_t>(GetCurrentProcessId()); }

// Windows processes are not forked.
bool inForkedChild() { return false; }

}  // namespace jitwriter
