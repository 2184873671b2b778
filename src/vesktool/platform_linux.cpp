#include "platform.h"

#include "pal/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <vector>

#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace vesktool {
namespace platform {

namespace {

// Keeps the caller's errno intact: these run inside the host's callbacks.
class ErrnoKeeper {
public:
    ErrnoKeeper() : saved_(errno) {}
    ~ErrnoKeeper() { errno = saved_; }

private:
    int saved_;
};

// Where process_vm_readv is filtered out (seccomp, old kernels) the kernel can
// still probe memory for us: write() into a pipe fails with EFAULT instead of
// faulting. The raw system call keeps sanitizers from vetting the source
// buffer, which may legitimately be unreadable.
bool readThroughPipe(uintptr_t address, void* out, size_t size) {
    static std::mutex lock;
    static int ends[2] = {-1, -1};
    std::lock_guard<std::mutex> guard(lock);
    if (ends[0] < 0 && pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        ends[0] = ends[1] = -1;
        return false;
    }
    char* target = static_cast<char*>(out);
    while (size > 0) {
        const size_t chunk = size < 4096 ? size : 4096;
        const long written = syscall(SYS_write, ends[1], reinterpret_cast<const void*>(address), chunk);
        if (written <= 0) return false;
        size_t drained = 0;
        while (drained < static_cast<size_t>(written)) {
            const ssize_t got = read(ends[0], target + drained, static_cast<size_t>(written) - drained);
            if (got <= 0) return false;
            drained += static_cast<size_t>(got);
        }
        if (static_cast<size_t>(written) != chunk) return false;
        address += chunk;
        target += chunk;
        size -= chunk;
    }
    return true;
}

}  // namespace

uint32_t currentOsThread() { return static_cast<uint32_t>(syscall(SYS_gettid)); }

uint32_t currentProcessId() { return static_cast<uint32_t>(getpid()); }

uint64_t monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
}

bool readMemory(uintptr_t address, void* out, size_t size) {
    if (size == 0) return true;
    if (address == 0 || address + size < address) return false;
    ErrnoKeeper keepErrno;
    iovec local{out, size};
    iovec remote{reinterpret_cast<void*>(address), size};
    const ssize_t got = process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
    if (got >= 0) return static_cast<size_t>(got) == size;
    if (errno == ENOSYS || errno == EPERM) return readThroughPipe(address, out, size);
    return false;
}

namespace {

struct SymbolSearch {
    const char* name;
    void* found;
};

int searchObject(struct dl_phdr_info* info, size_t, void* data) {
    SymbolSearch* search = static_cast<SymbolSearch*>(data);
    if (info->dlpi_name == nullptr || info->dlpi_name[0] == 0) return 0;
    void* handle = dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) return 0;
    search->found = dlsym(handle, search->name);
    dlclose(handle);
    return search->found != nullptr ? 1 : 0;
}

}  // namespace

namespace {

// The loader's own index of loaded objects: no lock and no search through
// symbols, which dladdr does and which a stack walk cannot afford per frame.
const void* loadedObjectBase(uintptr_t address) {
    struct dl_find_object found;
    if (address == 0 || _dl_find_object(reinterpret_cast<void*>(address), &found) != 0) return nullptr;
    return found.dlfo_map_start;
}

}  // namespace

bool inLoadedObject(uintptr_t address) { return loadedObjectBase(address) != nullptr; }

bool inThisLibrary(uintptr_t address) {
    static const void* const self = loadedObjectBase(reinterpret_cast<uintptr_t>(&inThisLibrary));
    return self != nullptr && loadedObjectBase(address) == self;
}

void* findProcessSymbol(const char* name) {
    if (void* global = dlsym(RTLD_DEFAULT, name)) return global;
    // The runtime loads its profiler privately: ask each object in turn.
    SymbolSearch search{name, nullptr};
    dl_iterate_phdr(searchObject, &search);
    return search.found;
}

void whenAborting(void (*fn)()) {
    using Register = void (*)(void (*)());
    if (auto notice = reinterpret_cast<Register>(dlsym(RTLD_DEFAULT, "veskmrte_when_aborting"))) notice(fn);
}

namespace {

int collectObject(struct dl_phdr_info* info, size_t, void* data) {
    auto* objects = static_cast<std::vector<LoadedObject>*>(data);
    LoadedObject object;
    object.base = info->dlpi_addr;
    bool loaded = false;
    for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type != PT_LOAD) continue;
        const uintptr_t start = info->dlpi_addr + segment.p_vaddr;
        const uintptr_t end = start + segment.p_memsz;
        object.start = loaded ? std::min(object.start, start) : start;
        object.end = loaded ? std::max(object.end, end) : end;
        loaded = true;
    }
    if (!loaded) return 0;
    if (info->dlpi_name != nullptr && info->dlpi_name[0] != 0) {
        object.path = info->dlpi_name;
    } else if (objects->empty()) {
        // The main program comes first, and without a name.
        std::vector<char> buffer(4096);
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
        if (length > 0) object.path.assign(buffer.data(), static_cast<size_t>(length));
    }
    if (object.path.empty()) return 0;
    objects->push_back(std::move(object));
    return 0;
}

}  // namespace

std::vector<LoadedObject> loadedObjects() {
    std::vector<LoadedObject> objects;
    dl_iterate_phdr(collectObject, &objects);
    return objects;
}

bool getEnv(const char* name, std::string& value) {
    const char* text = std::getenv(name);
    if (text == nullptr) return false;
    value = text;
    return true;
}

std::string absolutePath(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    std::vector<char> buffer(256);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return path;
        buffer.resize(buffer.size() * 2);
    }
    std::string directory(buffer.data());
    if (directory.empty() || directory.back() != '/') directory += '/';
    return directory + path;
}

namespace {

// Large enough that a report of many objects takes few system calls.
const size_t kWriteChunk = 1 << 20;

}  // namespace

ReplacingFile::~ReplacingFile() {
    ErrnoKeeper keepErrno;
    if (kept_ >= 0) close(static_cast<int>(kept_));
    if (file_ == pal::kNoFile) return;
    pal::closeFile(file_);
    unlink(temporary_.c_str());
}

bool ReplacingFile::open(const std::string& path, std::string& error) {
    ErrnoKeeper keepErrno;
    // Same directory as the target, so the rename cannot cross file systems;
    // a fresh owner-only name, so nothing planted there is written through.
    path_ = path;
    file_ = pal::createUniqueFile(path + ".tmp-", temporary_);
    if (file_ == pal::kNoFile) {
        error = "cannot create a file beside " + path + ": " + pal::lastFileError();
        return false;
    }
    buffer_.reserve(kWriteChunk);
    return true;
}

bool ReplacingFile::flush() {
    if (failure_ == 0 && !buffer_.empty() && !pal::writeFile(file_, buffer_.data(), buffer_.size()))
        failure_ = errno != 0 ? errno : EIO;
    flushed_ += buffer_.size();
    buffer_.clear();
    return failure_ == 0;
}

bool ReplacingFile::copyFrom(const ReplacingFile& earlier, uint64_t offset, uint64_t length) {
    ErrnoKeeper keepErrno;
    struct stat st;
    if (earlier.kept_ < 0 || fstat(static_cast<int>(earlier.kept_), &st) != 0 ||
        offset + length > static_cast<uint64_t>(st.st_size))
        return false;
    if (file_ == pal::kNoFile || !flush()) return true;
    const int from = static_cast<int>(earlier.kept_);
    const int to = static_cast<int>(file_);
    loff_t at = static_cast<loff_t>(offset);
    uint64_t left = length;
    // The kernel copies between files without the data passing through here.
    while (left > 0) {
        const ssize_t copied = copy_file_range(from, &at, to, nullptr, left, 0);
        if (copied < 0 && errno == EINTR) continue;
        if (copied <= 0) break;
        left -= static_cast<uint64_t>(copied);
    }
    // Where the file systems cannot (older kernels, some across mounts).
    std::vector<char> chunk;
    while (left > 0) {
        chunk.resize(static_cast<size_t>(std::min<uint64_t>(left, kWriteChunk)));
        const ssize_t got = pread(from, chunk.data(), chunk.size(), at);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0 || !pal::writeFile(file_, chunk.data(), static_cast<size_t>(got))) {
            failure_ = got < 0 || errno == 0 ? EIO : errno;
            return true;
        }
        at += got;
        left -= static_cast<uint64_t>(got);
    }
    flushed_ += length;
    return true;
}

void ReplacingFile::write(const char* data, size_t size) {
    if (file_ == pal::kNoFile || failure_ != 0) return;
    if (buffer_.size() + size > kWriteChunk) {
        ErrnoKeeper keepErrno;
        if (!flush()) return;
    }
    if (size > kWriteChunk) {
        ErrnoKeeper keepErrno;
        if (!pal::writeFile(file_, data, size)) failure_ = errno != 0 ? errno : EIO;
        return;
    }
    buffer_.append(data, size);
}

bool ReplacingFile::commit(std::string& error) {
    ErrnoKeeper keepErrno;
    if (file_ == pal::kNoFile) {
        error = "no file is open for " + path_;
        return false;
    }
    const bool written = flush();
    const int kept = written ? fcntl(static_cast<int>(file_), F_DUPFD_CLOEXEC, 0) : -1;
    const bool closed = pal::closeFile(file_);
    file_ = pal::kNoFile;
    if (!written || !closed) {
        error = "cannot write " + temporary_ + ": " + (written ? pal::lastFileError() : std::strerror(failure_));
        if (kept >= 0) close(kept);
        unlink(temporary_.c_str());
        return false;
    }
    // rename replaces whatever has the name, a link included, and never
    // writes through it.
    if (rename(temporary_.c_str(), path_.c_str()) != 0) {
        error = "cannot rename " + temporary_ + " to " + path_ + ": " + std::strerror(errno);
        if (kept >= 0) close(kept);
        unlink(temporary_.c_str());
        return false;
    }
    kept_ = kept;
    return true;
}

bool isSecureExecution() { return pal::isSecureExecution(); }

void printError(const char* message, const char* detail) noexcept {
    ErrnoKeeper keepErrno;
    char prefix[] = "vesktool: ";
    char separator[] = ": ";
    char newline[] = "\n";
    iovec parts[5] = {{prefix, sizeof prefix - 1}, {const_cast<char*>(message), std::strlen(message)}};
    int count = 2;
    if (detail != nullptr) {
        parts[count++] = {separator, sizeof separator - 1};
        parts[count++] = {const_cast<char*>(detail), std::strlen(detail)};
    }
    parts[count++] = {newline, 1};
    ssize_t ignored = writev(STDERR_FILENO, parts, count);
    (void)ignored;
}

}  // namespace platform
}  // namespace vesktool
