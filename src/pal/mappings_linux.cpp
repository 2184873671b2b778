// Where the process's mappings come from. Reading /proc/self/maps makes the
// kernel print every mapping of the process, hundreds in a .NET program
// (about a millisecond), and module loads ask several questions each; the
// kernel's per-address query answers one question in about a microsecond.
// Where the kernel lacks it, each question reads the file once.
#include "pal/mappings_linux.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

namespace pal {
namespace mappings {

namespace {

// The kernel's query interface for /proc/<pid>/maps (Linux 6.11 and later),
// declared here because the build machine's headers may predate it.
struct ProcmapQuery {
    uint64_t size;
    uint64_t queryFlags;
    uint64_t queryAddress;
    uint64_t vmaStart;
    uint64_t vmaEnd;
    uint64_t vmaFlags;
    uint64_t vmaPageSize;
    uint64_t vmaOffset;
    uint64_t inode;
    uint32_t devMajor;
    uint32_t devMinor;
    uint32_t vmaNameSize;
    uint32_t buildIdSize;
    uint64_t vmaNameAddress;
    uint64_t buildIdAddress;
};
static_assert(sizeof(ProcmapQuery) == 104, "the kernel's layout");
const unsigned long kProcmapQuery = _IOWR('f', 17, ProcmapQuery);
const uint64_t kVmaExecutable = 0x04;
const uint64_t kCoveringOrNext = 0x10;

// -1 unknown, 0 unsupported, otherwise the descriptor the queries go to.
std::atomic<int> g_queryFd{-1};
const int kUnsupported = -2;

int queryDescriptor() {
    int fd = g_queryFd.load(std::memory_order_acquire);
    if (fd != -1) return fd;
    int opened = open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    int result = kUnsupported;
    if (opened >= 0) {
        ProcmapQuery probe = {};
        probe.size = sizeof probe;
        probe.queryFlags = kCoveringOrNext;
        // Any answer but "no such request" means the kernel knows the query.
        if (ioctl(opened, kProcmapQuery, &probe) == 0 || (errno != ENOTTY && errno != EINVAL))
            result = opened;
        else
            close(opened);
    }
    int expected = -1;
    if (!g_queryFd.compare_exchange_strong(expected, result, std::memory_order_acq_rel)) {
        if (result >= 0) close(result);
        return expected;
    }
    return result;
}

// 0 answered, 1 no such mapping, -1 the query failed.
int query(int fd, uintptr_t address, bool orNext, Mapping& out) {
    char name[4096 + 64];
    for (;;) {
        ProcmapQuery q = {};
        q.size = sizeof q;
        q.queryFlags = orNext ? kCoveringOrNext : 0;
        q.queryAddress = address;
        q.vmaNameSize = sizeof name;
        q.vmaNameAddress = reinterpret_cast<uintptr_t>(name);
        if (ioctl(fd, kProcmapQuery, &q) != 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return errno == ENOENT ? 1 : -1;
        }
        out.start = static_cast<uintptr_t>(q.vmaStart);
        out.end = static_cast<uintptr_t>(q.vmaEnd);
        out.executable = (q.vmaFlags & kVmaExecutable) != 0;
        out.path.assign(name, q.vmaNameSize > 0 ? strnlen(name, q.vmaNameSize) : 0);
        return 0;
    }
}

uintptr_t hexField(const char*& p, const char* end) {
    uintptr_t value = 0;
    for (; p < end; ++p) {
        char c = *p;
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else
            break;
        value = (value << 4) | digit;
    }
    return value;
}

const char* skipField(const char* p, const char* end) {
    while (p < end && *p != ' ') ++p;
    while (p < end && *p == ' ') ++p;
    return p;
}

bool readAll(std::string& text) {
    int fd = open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char buffer[64 * 1024];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    return true;
}

bool atIn(const std::vector<Mapping>& maps, uintptr_t address, bool orNext, Mapping& out) {
    auto above = std::upper_bound(maps.begin(), maps.end(), address,
                                  [](uintptr_t a, const Mapping& m) { return a < m.end; });
    if (above == maps.end()) return false;
    if (above->start > address && !orNext) return false;
    out = *above;
    return true;
}

// Answers from the kernel's query, or from one reading of the whole file.
class Source {
public:
    Source() : m_fd(queryDescriptor()) {
        if (m_fd < 0) m_snapshot = all();
    }
    explicit Source(const std::vector<Mapping>& snapshot) : m_fd(kUnsupported), m_snapshot(snapshot) {}
    bool at(uintptr_t address, bool orNext, Mapping& out) {
        if (m_fd >= 0) {
            int rc = query(m_fd, address, orNext, out);
            if (rc >= 0) return rc == 0;
            m_fd = kUnsupported;
            m_snapshot = all();
        }
        return atIn(m_snapshot, address, orNext, out);
    }

private:
    int m_fd;
    std::vector<Mapping> m_snapshot;
};

bool imageFrom(Source& source, uintptr_t address, Mapping& image) {
    Mapping hit;
    if (!source.at(address, false, hit) || !hit.isFile()) return false;
    uintptr_t start = hit.start;
    // Earlier segments of the same image lie directly below.
    Mapping below;
    while (start > 0 && source.at(start - 1, false, below) && below.path == hit.path) start = below.start;
    uintptr_t end = hit.end;
    uintptr_t cursor = hit.end;
    Mapping next;
    while (source.at(cursor, true, next) && next.start == cursor) {
        if (next.path == hit.path)
            end = next.end;
        else if (!next.path.empty())
            break;
        cursor = next.end;
    }
    image.start = start;
    image.end = end;
    image.executable = hit.executable;
    image.path = hit.path;
    return true;
}

}  // namespace

std::vector<Mapping> parse(const char* text, size_t length) {
    std::vector<Mapping> result;
    const char* p = text;
    const char* const end = text + length;
    while (p < end) {
        const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        if (lineEnd == nullptr) lineEnd = end;
        // start-end perms offset dev inode [path]
        Mapping m;
        const char* f = p;
        m.start = hexField(f, lineEnd);
        if (f < lineEnd && *f == '-') {
            ++f;
            m.end = hexField(f, lineEnd);
            f = skipField(f, lineEnd);
            if (lineEnd - f >= 4 && m.end > m.start) {
                m.executable = f[2] == 'x';
                for (int field = 0; field < 4 && f < lineEnd; ++field) f = skipField(f, lineEnd);
                const char* pathEnd = lineEnd;
                while (pathEnd > f && pathEnd[-1] == ' ') --pathEnd;
                m.path.assign(f, static_cast<size_t>(pathEnd - f));
                result.push_back(std::move(m));
            }
        }
        p = lineEnd + 1;
    }
    return result;
}

std::vector<Mapping> all() {
    std::string text;
    if (!readAll(text)) return std::vector<Mapping>();
    return parse(text.data(), text.size());
}

bool at(uintptr_t address, bool orNext, Mapping& out) {
    Source source;
    return source.at(address, orNext, out);
}

bool imageAt(uintptr_t address, Mapping& image) {
    Source source;
    return imageFrom(source, address, image);
}

bool imageIn(const std::vector<Mapping>& snapshot, uintptr_t address, Mapping& image) {
    Source source(snapshot);
    return imageFrom(source, address, image);
}

}  // namespace mappings
}  // namespace pal
