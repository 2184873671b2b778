#include "jitwriter/os.h"

#include "common/utf16.h"
#include "pal/files.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <pthread.h>
#include <string>
#include <sys/mman.h>
#include <sys/uio.h>
#include <unistd.h>

namespace jitwriter {

namespace {

std::atomic<bool> g_forkedChild(false);

void markForkedChild() { g_forkedChild.store(true, std::memory_order_relaxed); }

// The size of the file cache's largest pieces on x64 (a huge page); a
// smaller file grows in pieces of kSmallGrowthAlignment.
constexpr uint64_t kGrowthAlignment = 2 * 1024 * 1024;
constexpr uint64_t kSmallGrowthAlignment = 64 * 1024;

int fd(intptr_t handle) { return static_cast<int>(handle); }

// Never written: its pages stay the system's shared zero page.
const uint8_t g_zeros[64 * 1024] = {};

// Writes zeros over [from, to) of the file, as few calls as the system allows.
bool fillWithZeros(int file, uint64_t from, uint64_t to) {
    iovec pieces[256];
    for (iovec& piece : pieces) piece = {const_cast<uint8_t*>(g_zeros), sizeof g_zeros};
    while (from < to) {
        uint64_t left = to - from;
        int count = static_cast<int>(std::min<uint64_t>((left + sizeof g_zeros - 1) / sizeof g_zeros, 256));
        uint64_t whole = static_cast<uint64_t>(count) * sizeof g_zeros;
        if (whole > left) pieces[count - 1].iov_len = sizeof g_zeros - static_cast<size_t>(whole - left);
        ssize_t n = pwritev(file, pieces, count, static_cast<off_t>(from));
        pieces[count - 1].iov_len = sizeof g_zeros;
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        from += static_cast<uint64_t>(n);
    }
    return true;
}

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

// The new room is filled with zeros by one write rather than set aside with
// posix_fallocate: the write both reserves the disk space (so a later store
// into the mapping cannot fault for a full disk) and puts the pages in the
// file cache in large pieces, so that the first store into each piece is one
// cheap fault instead of one costly fault per page. The growth is therefore
// kept in whole, aligned pieces of kGrowthAlignment once the file is that
// large.
bool MappedFile::reserve(uint64_t size) {
    if (!isOpen()) return false;
    if (size <= m_capacity) return true;
    const uint64_t piece = size > kGrowthAlignment ? kGrowthAlignment : kSmallGrowthAlignment;
    uint64_t target = (size + piece - 1) / piece * piece;
    if (target < size || target > static_cast<uint64_t>(SIZE_MAX) || static_cast<off_t>(target) < 0) return false;
    if (!fillWithZeros(fd(m_handle), m_capacity, target)) return false;
    if (target > m_mapped) {
        // Mapped past what is stored: the old pages stay where they are in
        // the file, only the address changes.
        void* data = mmap(nullptr, static_cast<size_t>(target), PROT_READ | PROT_WRITE, MAP_SHARED, fd(m_handle), 0);
        if (data == MAP_FAILED) return false;
        unmap();
        m_data = static_cast<uint8_t*>(data);
        m_mapped = target;
    }
    m_capacity = target;
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
