#include "jitwriter/os.h"

#include "common/utf16.h"
#include "pal/files.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <pthread.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace jitwriter {

namespace {

std::atomic<bool> g_forkedChild(false);

void markForkedChild() { g_forkedChild.store(true, std::memory_order_relaxed); }

int fd(intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

MappedFile::~MappedFile() {
    unmap();
    if (isOpen()) pal::closeFile(m_handle);
}

bool MappedFile::create(const vesk_wchar* name, bool& nameTaken) {
    nameTaken = false;
    if (isOpen()) return false;
    static const bool forkWatched = pthread_atfork(nullptr, nullptr, markForkedChild) == 0;
    if (!forkWatched) return false;
    pal::FileHandle file = pal::createNewFile(vesk::toUtf8(name, vesk::wideLength(name)), nameTaken);
    if (file == pal::kNoFile) return false;
    m_handle = file;
    return true;
}

bool MappedFile::reserve(uint64_t size) {
    if (!isOpen()) return false;
    if (size <= m_capacity) return true;
    if (size > static_cast<uint64_t>(SIZE_MAX) || static_cast<off_t>(size) < 0) return false;
    int error = posix_fallocate(fd(m_handle), static_cast<off_t>(m_capacity), static_cast<off_t>(size - m_capacity));
    if (error != 0) {
        errno = error;
        return false;
    }
    void* data = mmap(nullptr, static_cast<size_t>(size), PROT_READ | PROT_WRITE, MAP_SHARED, fd(m_handle), 0);
    if (data == MAP_FAILED) return false;
    unmap();
    m_data = static_cast<uint8_t*>(data);
    m_capacity = size;
    m_mapped = size;
    return true;
}

bool MappedFile::trim(uint64_t size) {
    if (!isOpen() || size > m_capacity) return false;
    if (ftruncate(fd(m_handle), static_cast<off_t>(size)) != 0) return false;
    // Pages past the new end may no longer be touched; the next reserve maps
    // the file afresh.
    m_capacity = size;
    return true;
}

bool MappedFile::close(uint64_t size) {
    if (!isOpen()) return false;
    unmap();
    bool ok = ftruncate(fd(m_handle), static_cast<off_t>(size)) == 0;
    intptr_t handle = m_handle;
    m_handle = kClosed;
    return pal::closeFile(handle) && ok;
}

void MappedFile::unmap() {
    if (m_data != nullptr) munmap(m_data, static_cast<size_t>(m_mapped));
    m_data = nullptr;
    m_capacity = 0;
    m_mapped = 0;
}

uint32_t currentProcessId() { return static_cast<uint32_t>(::getpid()); }

bool inForkedChild() { return g_forkedChild.load(std::memory_order_relaxed); }

}  // namespace jitwriter
