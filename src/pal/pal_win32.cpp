// Windows implementation of the platform layer: the system's own loader,
// memory queries, version resources and synchronisation objects.
#include "pal/pal.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <climits>
#include <new>
#include <vector>

namespace pal {

const WChar kDirSeparator = L'\\';
const char kPathListSeparator = ';';
const WChar kSharedLibrarySuffix[] = L"dll";

namespace {

thread_local DWORD t_loadError = 0;

bool isPath(const WString& name) { return name.find_first_of(L"\\/:") != WString::npos; }

WString baseName(const WString& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == WString::npos ? path : path.substr(slash + 1);
}

bool equalIgnoringCase(const WString& a, const WString& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

// Calls a Win32 function that fills a buffer of a given length and answers
// how many characters it wrote, growing the buffer while the answer fills it.
template <typename Fill>
WString growingString(Fill fill) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD written = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (written == 0) return WString();
        if (written < buffer.size() - 1) return WString(buffer.data(), written);
        if (buffer.size() >= 32768) return WString();
        buffer.resize(buffer.size() * 2);
    }
}

// A mapped view's file as the system names it ("\Device\HarddiskVolume1\x"),
// turned into a drive-letter path by finding the drive whose device it is on.
WString mappedFileName(const void* address) {
    WString device = growingString([address](wchar_t* buffer, DWORD size) {
        return GetMappedFileNameW(GetCurrentProcess(), const_cast<void*>(address), buffer, size);
    });
    if (device.empty()) return WString();
    wchar_t drives[512];
    DWORD length = GetLogicalDriveStringsW(512, drives);
    if (length == 0 || length >= 512) return device;
    for (const wchar_t* drive = drives; *drive != 0; drive += wcslen(drive) + 1) {
        const wchar_t letter[3] = {drive[0], L':', 0};
        wchar_t target[MAX_PATH];
        if (QueryDosDeviceW(letter, target, MAX_PATH) == 0) continue;
        WString prefix(target);
        if (device.size() > prefix.size() && device[prefix.size()] == L'\\' &&
            equalIgnoringCase(device.substr(0, prefix.size()), prefix))
            return letter + device.substr(prefix.size());
    }
    return device;
}

// The extent of the allocation that holds the address: every region that
// shares its allocation base.
bool allocationAt(const void* address, uintptr_t& base, size_t& size) {
    MEMORY_BASIC_INFORMATION info;
    if (VirtualQuery(address, &info, sizeof info) == 0 || info.State == MEM_FREE || info.AllocationBase == nullptr)
        return false;
    base = reinterpret_cast<uintptr_t>(info.AllocationBase);
    uintptr_t end = base;
    while (VirtualQuery(reinterpret_cast<const void*>(end), &info, sizeof info) != 0 &&
           info.AllocationBase == reinterpret_cast<void*>(base) && info.State != MEM_FREE) {
        end = reinterpret_cast<uintptr_t>(info.BaseAddress) + info.RegionSize;
    }
    size = end - base;
    return size > 0;
}

bool isMappedFile(const void* address) {
    MEMORY_BASIC_INFORMATION info;
    return VirtualQuery(address, &info, sizeof info) != 0 && (info.Type == MEM_IMAGE || info.Type == MEM_MAPPED);
}

// Views of files the runtime mapped itself (not through the loader): the
// allocation base of the first view whose file matches.
ModuleHandle findMappedView(const WString& wanted) {
    const bool byPath = isPath(wanted);
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const uint8_t* at = static_cast<const uint8_t*>(system.lpMinimumApplicationAddress);
    MEMORY_BASIC_INFORMATION info;
    while (at < system.lpMaximumApplicationAddress && VirtualQuery(at, &info, sizeof info) != 0) {
        if ((info.Type == MEM_IMAGE || info.Type == MEM_MAPPED) && info.BaseAddress == info.AllocationBase) {
            WString path = mappedFileName(info.BaseAddress);
            if (!path.empty() && equalIgnoringCase(byPath ? path : baseName(path), wanted)) return info.BaseAddress;
        }
        at = static_cast<const uint8_t*>(info.BaseAddress) + info.RegionSize;
    }
    return nullptr;
}

}  // namespace

ModuleHandle loadLibrary(const WString& pathOrName) {
    if (pathOrName.empty()) return nullptr;
    // A library named by path finds its own dependencies beside it.
    DWORD flags = isPath(pathOrName) ? LOAD_WITH_ALTERED_SEARCH_PATH : 0;
    HMODULE module = LoadLibraryExW(pathOrName.c_str(), nullptr, flags);
    t_loadError = module == nullptr ? GetLastError() : 0;
    return module;
}

std::string lastLoadError() {
    char* text = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, t_loadError, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = "Windows error " + std::to_string(t_loadError);
    if (length > 0 && text != nullptr) {
        std::string said(text, length);
        while (!said.empty() && (said.back() == '\n' || said.back() == '\r' || said.back() == ' ')) said.pop_back();
        message += ": " + said;
    }
    if (text != nullptr) LocalFree(text);
    return message;
}

void* findSymbol(ModuleHandle module, const char* name) {
    if (module == nullptr || name == nullptr) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void freeLibrary(ModuleHandle module) {
    if (module != nullptr) FreeLibrary(static_cast<HMODULE>(module));
}

ModuleHandle findLoadedModule(const WString& nameOrPath) {
    if (nameOrPath.empty()) return nullptr;
    if (HMODULE module = GetModuleHandleW(nameOrPath.c_str())) return module;
    return findMappedView(nameOrPath);
}

WString moduleFileName(ModuleHandle module) {
    if (module == nullptr) return WString();
    WString path = growingString([module](wchar_t* buffer, DWORD size) {
        return GetModuleFileNameW(static_cast<HMODULE>(module), buffer, size);
    });
    if (!path.empty() || !isMappedFile(module)) return path;
    return mappedFileName(module);
}

ModuleHandle moduleOfAddress(const void* address) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(address), &module))
        return nullptr;
    return module;
}

WString mappedFileAt(const void* address) {
    if (!isMappedFile(address)) return WString();
    return mappedFileName(address);
}

bool mappedImageAt(const void* address, WString& path, uintptr_t& base, size_t& size) {
    if (!isMappedFile(address)) return false;
    uintptr_t start = 0;
    size_t extent = 0;
    if (!allocationAt(address, start, extent)) return false;
    WString file = mappedFileName(reinterpret_cast<const void*>(start));
    if (file.empty()) return false;
    path = file;
    base = start;
    size = extent;
    return true;
}

bool moduleImageRange(ModuleHandle module, uintptr_t& base, size_t& size) {
    if (module == nullptr) return false;
    MODULEINFO info;
    if (GetModuleInformation(GetCurrentProcess(), static_cast<HMODULE>(module), &info, sizeof info) &&
        info.SizeOfImage > 0) {
        base = reinterpret_cast<uintptr_t>(info.lpBaseOfDll);
        size = info.SizeOfImage;
        return true;
    }
    // A view the runtime mapped itself: its handle is the view's base.
    return isMappedFile(module) && allocationAt(module, base, size) && base == reinterpret_cast<uintptr_t>(module);
}

void* findProcessSymbol(const char* name) {
    std::vector<HMODULE> modules(256);
    DWORD needed = 0;
    for (;;) {
        DWORD bytes = static_cast<DWORD>(modules.size() * sizeof(HMODULE));
        if (!EnumProcessModules(GetCurrentProcess(), modules.data(), bytes, &needed)) return nullptr;
        if (needed <= bytes) break;
        modules.resize(needed / sizeof(HMODULE));
    }
    modules.resize(needed / sizeof(HMODULE));
    for (HMODULE module : modules) {
        if (FARPROC found = GetProcAddress(module, name)) return reinterpret_cast<void*>(found);
    }
    return nullptr;
}

bool readFileVersion(const WString& path, uint16_t version[4]) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return false;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    wchar_t root[] = L"\\";
    if (!VerQueryValueW(data.data(), root, reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO) || fixed->dwSignature != 0xFEEF04BD)
        return false;
    version[0] = HIWORD(fixed->dwFileVersionMS);
    version[1] = LOWORD(fixed->dwFileVersionMS);
    version[2] = HIWORD(fixed->dwFileVersionLS);
    version[3] = LOWORD(fixed->dwFileVersionLS);
    return true;
}

WString findFirstFile(const WString& dir, const WString& pattern) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((dir + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return WString();
    // The system's order depends on the file system; the smallest name keeps
    // the choice the same everywhere.
    WString first;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        WString name(found.cFileName);
        if (first.empty() || name < first) first = name;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return first;
}

uint32_t currentThreadId() { return GetCurrentThreadId(); }

uint32_t currentProcessId() { return GetCurrentProcessId(); }

void* openThread(uint32_t osThreadId) {
    if (osThreadId == 0) return nullptr;
    return OpenThread(THREAD_QUERY_INFORMATION | THREAD_GET_CONTEXT | THREAD_SUSPEND_RESUME, FALSE, osThreadId);
}

void closeThread(void* handle) {
    if (handle != nullptr) CloseHandle(handle);
}

bool getEnv(const char* name, std::string& value) {
    WString wideName = vesk::fromUtf8(name);
    SetLastError(ERROR_SUCCESS);
    DWORD needed = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (needed == 0) {
        // An empty variable answers 0 too, without an error.
        if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
        value.clear();
        return true;
    }
    std::vector<wchar_t> buffer(needed);
    DWORD written = GetEnvironmentVariableW(wideName.c_str(), buffer.data(), needed);
    if (written >= needed) return false;
    value = vesk::toUtf8(buffer.data(), written);
    return true;
}

void writeStandardError(const std::string& text) {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE) return;
    size_t done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1u << 20));
        if (!WriteFile(error, text.data() + done, chunk, &written, nullptr) || written == 0) break;
        done += written;
    }
}

void failFast(const std::string& report) {
    writeStandardError(report);
    TerminateProcess(GetCurrentProcess(), 3);
    // TerminateProcess does not return for the calling process.
    for (;;) Sleep(INFINITE);
}

uint64_t monotonicNanoseconds() {
    static const uint64_t frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<uint64_t>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const uint64_t ticks = static_cast<uint64_t>(now.QuadPart);
    return ticks / frequency * 1000000000ull + ticks % frequency * 1000000000ull / frequency;
}

namespace {

const DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                        PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
const DWORD kExecutable = PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

}  // namespace

bool isReadable(const void* address, size_t size) {
    if (address == nullptr || size == 0) return false;
    uintptr_t at = reinterpret_cast<uintptr_t>(address);
    if (size - 1 > UINTPTR_MAX - at) return false;
    const uintptr_t last = at + (size - 1);
    MEMORY_BASIC_INFORMATION info;
    for (;;) {
        // A guard page is readable only once: touching it would move the
        // stack's guard, so it counts as unreadable.
        if (VirtualQuery(reinterpret_cast<const void*>(at), &info, sizeof info) == 0 || info.State != MEM_COMMIT ||
            (info.Protect & PAGE_GUARD) != 0 || (info.Protect & kReadable) == 0)
            return false;
        const uintptr_t end = reinterpret_cast<uintptr_t>(info.BaseAddress) + info.RegionSize;
        if (end == 0 || end > last) return true;
        at = end;
    }
}

bool isExecutable(const void* address) {
    MEMORY_BASIC_INFORMATION info;
    return VirtualQuery(address, &info, sizeof info) != 0 && info.State == MEM_COMMIT &&
           (info.Protect & kExecutable) != 0;
}

namespace {
struct StackBounds {
    uintptr_t low;
    uintptr_t high;
};
thread_local StackBounds t_stackBounds{0, 0};
}  // namespace

bool currentThreadStack(uintptr_t& low, uintptr_t& high) {
    if (t_stackBounds.high == 0) {
        // A thread's stack is one reservation: the one that holds a local
        // variable.
        uintptr_t base = 0;
        size_t size = 0;
        const int local = 0;
        if (!allocationAt(&local, base, size)) return false;
        t_stackBounds.low = base;
        t_stackBounds.high = base + size;
    }
    low = t_stackBounds.low;
    high = t_stackBounds.high;
    return true;
}

bool readWord(uintptr_t address, uintptr_t& value) {
    uintptr_t low = 0, high = 0;
    if (address % sizeof value == 0 && currentThreadStack(low, high) && address >= low &&
        address <= high - sizeof value && isReadable(reinterpret_cast<const void*>(address), sizeof value)) {
        value = *reinterpret_cast<const uintptr_t*>(address);
        return true;
    }
    if (address == 0) return false;
    const DWORD savedError = GetLastError();
    SIZE_T read = 0;
    const bool ok = ReadProcessMemory(GetCurrentProcess(), reinterpret_cast<const void*>(address), &value,
                                      sizeof value, &read) &&
                    read == sizeof value;
    SetLastError(savedError);
    return ok;
}

// ---- synchronisation -------------------------------------------------------

static_assert(sizeof(CRITICAL_SECTION) <= 64, "mutex storage too small");
static_assert(sizeof(HANDLE) <= 64, "semaphore storage too small");

namespace {
CRITICAL_SECTION* section(unsigned char* storage) { return reinterpret_cast<CRITICAL_SECTION*>(storage); }
HANDLE& semaphore(unsigned char* storage) { return *reinterpret_cast<HANDLE*>(storage); }
}  // namespace

Mutex::Mutex() { InitializeCriticalSection(section(m_storage)); }
Mutex::~Mutex() { DeleteCriticalSection(section(m_storage)); }
void Mutex::lock() { EnterCriticalSection(section(m_storage)); }
void Mutex::unlock() { LeaveCriticalSection(section(m_storage)); }

Semaphore::Semaphore() { new (m_storage) HANDLE(CreateSemaphoreW(nullptr, 0, LONG_MAX, nullptr)); }
Semaphore::~Semaphore() {
    if (semaphore(m_storage) != nullptr) CloseHandle(semaphore(m_storage));
}

void Semaphore::wait() { WaitForSingleObject(semaphore(m_storage), INFINITE); }

void Semaphore::post(uint32_t count) {
    if (count > 0) ReleaseSemaphore(semaphore(m_storage), static_cast<LONG>(std::min<uint32_t>(count, LONG_MAX)), nullptr);
}

}  // namespace pal
