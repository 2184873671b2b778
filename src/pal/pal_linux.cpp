// Linux implementation of the platform layer.
#include "pal/pal.h"

#include "pal/mappings_linux.h"
#include "pal/pe_version.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <link.h>
#include <pthread.h>
#include <semaphore.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace pal {

const WChar kDirSeparator = '/';
const char kPathListSeparator = ':';
const WChar kSharedLibrarySuffix[] = {'s', 'o', 0};

namespace {

std::string baseName(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool nameMatches(const std::string& candidatePath, const std::string& wanted) {
    if (candidatePath.empty()) return false;
    if (wanted.find('/') != std::string::npos) return candidatePath == wanted;
    return baseName(candidatePath) == wanted;
}

struct PhdrSearch {
    const std::string* wanted;
    std::string found;
};

int findSharedObject(struct dl_phdr_info* info, size_t, void* data) {
    PhdrSearch* search = static_cast<PhdrSearch*>(data);
    if (info->dlpi_name != nullptr && nameMatches(info->dlpi_name, *search->wanted)) {
        search->found = info->dlpi_name;
        return 1;
    }
    return 0;
}

// Managed assemblies are mapped by the runtime, not by the dynamic loader, so
// their "handle" is the lowest address at which the file is mapped.
uintptr_t lowestMappingOf(const std::string& wanted) {
    uintptr_t lowest = 0;
    for (const mappings::Mapping& m : mappings::all()) {
        if (!m.isFile() || !nameMatches(m.path, wanted)) continue;
        if (lowest == 0 || m.start < lowest) lowest = m.start;
    }
    return lowest;
}

}  // namespace

ModuleHandle loadLibrary(const WString& pathOrName) {
    if (pathOrName.empty()) return nullptr;
    return dlopen(vesk::toUtf8(pathOrName).c_str(), RTLD_NOW);
}

std::string lastLoadError() {
    const char* text = dlerror();
    return text != nullptr ? std::string(text) : std::string("unknown reason");
}

void* findSymbol(ModuleHandle module, const char* name) {
    if (module == nullptr || name == nullptr) return nullptr;
    return dlsym(module, name);
}

void freeLibrary(ModuleHandle module) {
    if (module != nullptr) dlclose(module);
}

ModuleHandle findLoadedModule(const WString& nameOrPath) {
    std::string wanted = vesk::toUtf8(nameOrPath);
    if (wanted.empty()) return nullptr;
    PhdrSearch search{&wanted, std::string()};
    dl_iterate_phdr(findSharedObject, &search);
    if (!search.found.empty()) {
        // RTLD_NOLOAD hands out a handle only for an object that is already
        // loaded; the extra reference keeps it loaded, as the caller expects.
        void* handle = dlopen(search.found.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (handle != nullptr) return handle;
    }
    return reinterpret_cast<ModuleHandle>(lowestMappingOf(wanted));
}

WString moduleFileName(ModuleHandle module) {
    if (module == nullptr) return WString();
    // A mapped-file handle is the address the file's mapping starts at; a
    // dlopen handle answers RTLD_DI_LINKMAP.
    mappings::Mapping m;
    if (mappings::at(reinterpret_cast<uintptr_t>(module), false, m) && m.isFile() &&
        m.start == reinterpret_cast<uintptr_t>(module))
        return vesk::fromUtf8(m.path);
    struct link_map* map = nullptr;
    if (dlinfo(module, RTLD_DI_LINKMAP, &map) == 0 && map != nullptr && map->l_name != nullptr &&
        map->l_name[0] != 0) {
        return vesk::fromUtf8(map->l_name);
    }
    return WString();
}

ModuleHandle moduleOfAddress(const void* address) {
    Dl_info info;
    if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return nullptr;
    return dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
}

WString mappedFileAt(const void* address) {
    mappings::Mapping m;
    if (!mappings::at(reinterpret_cast<uintptr_t>(address), false, m) || !m.isFile()) return WString();
    return vesk::fromUtf8(m.path);
}

bool mappedImageAt(const void* address, WString& path, uintptr_t& base, size_t& size) {
    mappings::Mapping image;
    if (!mappings::imageAt(reinterpret_cast<uintptr_t>(address), image)) return false;
    path = vesk::fromUtf8(image.path);
    base = image.start;
    size = image.end - image.start;
    return true;
}

bool moduleImageRange(ModuleHandle module, uintptr_t& base, size_t& size) {
    if (module == nullptr) return false;
    uintptr_t start = reinterpret_cast<uintptr_t>(module);
    mappings::Mapping image;
    mappings::Mapping first;
    if (mappings::at(start, false, first) && first.isFile() && first.start == start) {
        if (!mappings::imageAt(start, image)) return false;
        // The handle is the file's first mapping: the image starts there.
        image.start = start;
    } else {
        struct link_map* map = nullptr;
        if (dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) return false;
        std::string path = map->l_name != nullptr ? map->l_name : "";
        // A shared object's first mapping starts at its load bias.
        start = static_cast<uintptr_t>(map->l_addr);
        for (const mappings::Mapping& m : mappings::all())
            if (m.path == path && (start == 0 || m.start < start)) start = m.start;
        if (!mappings::imageAt(start, image) || image.path != path) return false;
        image.start = start;
    }
    if (image.end <= image.start) return false;
    base = image.start;
    size = image.end - image.start;
    return true;
}

namespace {

struct SymbolSearch {
    const char* name;
    void* found;
};

int findSymbolInObject(struct dl_phdr_info* info, size_t, void* data) {
    SymbolSearch* search = static_cast<SymbolSearch*>(data);
    if (info->dlpi_name == nullptr || info->dlpi_name[0] == 0) return 0;
    void* handle = dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) return 0;
    search->found = dlsym(handle, search->name);
    dlclose(handle);
    return search->found != nullptr ? 1 : 0;
}

}  // namespace

void* findProcessSymbol(const char* name) {
    if (void* global = dlsym(RTLD_DEFAULT, name)) return global;
    // The runtime loads its own library privately, so its exports are not in
    // the global scope; ask every loaded object in turn.
    SymbolSearch search{name, nullptr};
    dl_iterate_phdr(findSymbolInObject, &search);
    return search.found;
}

bool readFileVersion(const WString& path, uint16_t version[4]) {
    int fd = open(vesk::toUtf8(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool ok = false;
    if (fstat(fd, &st) == 0 && st.st_size > 0) {
        void* image = mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (image != MAP_FAILED) {
            ok = peFileVersion(static_cast<const uint8_t*>(image), static_cast<size_t>(st.st_size), version);
            munmap(image, static_cast<size_t>(st.st_size));
        }
    }
    close(fd);
    return ok;
}

WString findFirstFile(const WString& dir, const WString& pattern) {
    std::string directory = vesk::toUtf8(dir);
    std::string glob = vesk::toUtf8(pattern);
    DIR* d = opendir(directory.empty() ? "." : directory.c_str());
    if (d == nullptr) return WString();
    std::vector<std::string> matches;
    while (struct dirent* entry = readdir(d)) {
        if (fnmatch(glob.c_str(), entry->d_name, 0) == 0) matches.push_back(entry->d_name);
    }
    closedir(d);
    if (matches.empty()) return WString();
    return vesk::fromUtf8(*std::min_element(matches.begin(), matches.end()));
}

namespace {

// Asked at every redirected call and several times per stack walk, so each
// thread asks the kernel once. A forked child's only thread has a new id.
thread_local uint32_t t_threadId = 0;

void forgetThreadId() { t_threadId = 0; }

}  // namespace

uint32_t currentThreadId() {
    static const bool forkWatched = pthread_atfork(nullptr, nullptr, forgetThreadId) == 0;
    (void)forkWatched;
    if (t_threadId == 0) t_threadId = static_cast<uint32_t>(syscall(SYS_gettid));
    return t_threadId;
}

uint32_t currentProcessId() { return static_cast<uint32_t>(getpid()); }

void* openThread(uint32_t osThreadId) {
    // The OS thread id itself serves as the handle on Linux.
    return osThreadId == 0 ? nullptr : reinterpret_cast<void*>(static_cast<uintptr_t>(osThreadId));
}

void closeThread(void*) {}

bool getEnv(const char* name, std::string& value) {
    const char* v = std::getenv(name);
    if (v == nullptr) return false;
    value = v;
    return true;
}

void writeStandardError(const std::string& text) {
    size_t written = 0;
    while (written < text.size()) {
        ssize_t n = ::write(2, text.data() + written, text.size() - written);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            break;
        }
        written += static_cast<size_t>(n);
    }
}

void failFast(const std::string& report) {
    writeStandardError(report);
    _exit(3);
}

uint64_t monotonicNanoseconds() {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000000000ull + static_cast<uint64_t>(ts.tv_nsec);
}

bool isReadable(const void* address, size_t size) {
    if (address == nullptr || size == 0) return false;
    // Reading through the kernel reports an unmapped page as an error
    // instead of a fault in this process.
    std::vector<char> scratch(std::min<size_t>(size, 4096));
    const char* p = static_cast<const char*>(address);
    for (size_t done = 0; done < size;) {
        size_t chunk = std::min(scratch.size(), size - done);
        struct iovec local = {scratch.data(), chunk};
        struct iovec remote = {const_cast<char*>(p + done), chunk};
        if (process_vm_readv(getpid(), &local, 1, &remote, 1, 0) != static_cast<ssize_t>(chunk)) return false;
        done += chunk;
    }
    return true;
}

bool isExecutable(const void* address) {
    mappings::Mapping m;
    return mappings::at(reinterpret_cast<uintptr_t>(address), false, m) && m.executable;
}

namespace {
struct StackBounds {
    uintptr_t low;
    uintptr_t high;
};
// Trivially destructible, so it costs nothing at thread exit.
thread_local StackBounds t_stackBounds{0, 0};
}  // namespace

bool currentThreadStack(uintptr_t& low, uintptr_t& high) {
    if (t_stackBounds.high == 0) {
        pthread_attr_t attributes;
        if (pthread_getattr_np(pthread_self(), &attributes) != 0) return false;
        void* base = nullptr;
        size_t size = 0;
        const bool known = pthread_attr_getstack(&attributes, &base, &size) == 0;
        pthread_attr_destroy(&attributes);
        if (!known) return false;
        t_stackBounds.low = reinterpret_cast<uintptr_t>(base);
        t_stackBounds.high = t_stackBounds.low + size;
    }
    low = t_stackBounds.low;
    high = t_stackBounds.high;
    return true;
}

bool readWord(uintptr_t address, uintptr_t& value) {
    uintptr_t low = 0, high = 0;
    if (address % sizeof value == 0 && currentThreadStack(low, high) && address >= low &&
        address <= high - sizeof value) {
        value = *reinterpret_cast<const uintptr_t*>(address);
        return true;
    }
    if (address == 0) return false;
    const int savedErrno = errno;
    struct iovec local = {&value, sizeof value};
    struct iovec remote = {reinterpret_cast<void*>(address), sizeof value};
    const bool read = process_vm_readv(getpid(), &local, 1, &remote, 1, 0) == static_cast<ssize_t>(sizeof value);
    errno = savedErrno;
    return read;
}

// ---- synchronisation -------------------------------------------------------

static_assert(sizeof(pthread_mutex_t) <= 64, "mutex storage too small");
static_assert(sizeof(sem_t) <= 64, "semaphore storage too small");

Mutex::Mutex() { new (m_storage) pthread_mutex_t(PTHREAD_MUTEX_INITIALIZER); }
Mutex::~Mutex() { pthread_mutex_destroy(reinterpret_cast<pthread_mutex_t*>(m_storage)); }
void Mutex::lock() { pthread_mutex_lock(reinterpret_cast<pthread_mutex_t*>(m_storage)); }
void Mutex::unlock() { pthread_mutex_unlock(reinterpret_cast<pthread_mutex_t*>(m_storage)); }

Semaphore::Semaphore() { sem_init(reinterpret_cast<sem_t*>(m_storage), 0, 0); }
Semaphore::~Semaphore() { sem_destroy(reinterpret_cast<sem_t*>(m_storage)); }

void Semaphore::wait() {
    while (sem_wait(reinterpret_cast<sem_t*>(m_storage)) != 0 && errno == EINTR) {
    }
}

void Semaphore::post(uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) sem_post(reinterpret_cast<sem_t*>(m_storage));
}

}  // namespace pal
