#include "jitwriter/os.h"

#include "common/utf16.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace jitwriter {

OutputFile::~OutputFile() {
    if (isOpen()) ::close(static_cast<int>(m_handle));
}

bool OutputFile::create(const vesk_wchar* name) {
    if (isOpen()) return false;
    std::string path = vesk::toUtf8(name, vesk::wideLength(name));
    int fd;
    do {
        // Close-on-exec: children the runtime starts must not inherit the file.
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    m_handle = fd;
    return true;
}

bool OutputFile::writeAll(const void* data, size_t size) {
    if (!isOpen()) return false;
    const char* p = static_cast<const char*>(data);
    while (size != 0) {
        ssize_t n = ::write(static_cast<int>(m_handle), p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool OutputFile::close() {
    if (!isOpen()) return false;
    int fd = static_cast<int>(m_handle);
    m_handle = kClosed;
    // Retrying close after EINTR could close a descriptor another thread just
    // opened; the descriptor is released either way.
    return ::close(fd) == 0 || errno == EINTR;
}

uint32_t currentProcessId() { return static_cast<uint32_t>(::getpid()); }

}  // namespace jitwriter
