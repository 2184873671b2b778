// The platform layer: every operating-system service the profiler and its
// companion libraries use, behind one small interface. One implementation per
// platform (pal_linux.cpp, pal_win32.cpp); nothing else in the tree tests the
// platform.
#pragma once

#include "common/utf16.h"
#include "veskmrte/portable.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace pal {

using vesk::WChar;
using vesk::WString;

// The directory separator.
extern const WChar kDirSeparator;
// The separator between the paths of a path list in the environment.
extern const char kPathListSeparator;
// The file-name suffix of a shared library ("so" / "dll"), without the dot.
extern const WChar kSharedLibrarySuffix[];

// ---- libraries and modules -------------------------------------------------

typedef void* ModuleHandle;

// Loads a library by path or bare name; null on failure.
ModuleHandle loadLibrary(const WString& pathOrName);
void* findSymbol(ModuleHandle module, const char* name);
// Why the calling thread's last loadLibrary failed, as the system says it.
std::string lastLoadError();
void freeLibrary(ModuleHandle module);

// The handle of an already loaded module: a shared library or a mapped
// file. A bare name matches the base name, a path matches exactly. Null when
// nothing of that name is loaded.
ModuleHandle findLoadedModule(const WString& nameOrPath);
// The full path of a loaded module; empty when unknown.
WString moduleFileName(ModuleHandle module);
// The module that holds the given code address (the caller's own library).
ModuleHandle moduleOfAddress(const void* address);
// The path of the file mapped at an address; empty when none is.
WString mappedFileAt(const void* address);
// The file mapped at an address and the extent of its image there: the run
// of that file's adjacent mappings holding the address. False when no file
// is mapped there.
bool mappedImageAt(const void* address, WString& path, uintptr_t& base, size_t& size);
// The extent of a loaded module's image: base address and size in bytes.
bool moduleImageRange(ModuleHandle module, uintptr_t& base, size_t& size);
// A function or variable exported by any library already in the process.
void* findProcessSymbol(const char* name);

// The four numbers of a file's version resource (major, minor, build,
// revision); false when the file has none.
bool readFileVersion(const WString& path, uint16_t version[4]);

// The first file in dir (which ends with the separator or is empty) whose
// name matches the shell pattern, in byte-wise sorted order; empty if none.
WString findFirstFile(const WString& dir, const WString& pattern);

// ---- process and threads ---------------------------------------------------

uint32_t currentThreadId();
uint32_t currentProcessId();
// A handle for querying the OS thread; null when the thread cannot be opened.
void* openThread(uint32_t osThreadId);
void closeThread(void* handle);

// The value of an environment variable; false when it does not exist.
bool getEnv(const char* name, std::string& value);
inline bool hasEnv(const char* name) {
    std::string ignored;
    return getEnv(name, ignored);
}

// Writes text to standard error in one piece, bypassing buffered streams.
void writeStandardError(const std::string& text);

// Writes text to standard error in one piece, then ends the process at once
// with exit code 3: no unwinding, no exit handlers.
[[noreturn]] void failFast(const std::string& report);

// Monotonic clock in nanoseconds.
uint64_t monotonicNanoseconds();

// True when [address, address + size) lies in readable mapped memory.
bool isReadable(const void* address, size_t size);
// True when the address lies in a mapping with execute permission.
bool isExecutable(const void* address);
// The calling thread's stack, [low, high); false when it cannot be told.
bool currentThreadStack(uintptr_t& low, uintptr_t& high);
// Reads one pointer-sized word: directly on the calling thread's stack, else
// through the kernel, so an unmapped address is a false answer, not a fault.
bool readWord(uintptr_t address, uintptr_t& value);

// ---- synchronisation -------------------------------------------------------

class Mutex {
public:
    Mutex();
    ~Mutex();
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;
    void lock();
    void unlock();

private:
    alignas(16) unsigned char m_storage[64];
};

class Semaphore {
public:
    Semaphore();
    ~Semaphore();
    Semaphore(const Semaphore&) = delete;
    Semaphore& operator=(const Semaphore&) = delete;
    // Waits without time limit; retries when interrupted.
    void wait();
    void post(uint32_t count);

private:
    alignas(16) unsigned char m_storage[64];
};

class MutexLock {
public:
    explicit MutexLock(Mutex& m) : m_mutex(m) { m_mutex.lock(); }
    ~MutexLock() { m_mutex.unlock(); }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

private:
    Mutex& m_mutex;
};

}  // namespace pal
