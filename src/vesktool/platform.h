// The few operating-system services the tool library needs. Everything that
// differs between platforms lives behind these functions.
#pragma once

#include "text_sink.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vesktool {
namespace platform {

uint32_t currentOsThread();
uint32_t currentProcessId();

// Monotonic clock in nanoseconds, comparable across threads.
uint64_t monotonicNanoseconds();

// Copies size bytes at address into out. False, and never a fault, when any
// byte of the source is unreadable.
bool readMemory(uintptr_t address, void* out, size_t size);

// True when the address lies in an object the dynamic loader loaded (the
// program, a shared library): code the tool knows as native.
bool inLoadedObject(uintptr_t address);

// True when the address lies in this library's own code.
bool inThisLibrary(uintptr_t address);

// A function exported by any library loaded in the process, including ones
// loaded privately; null when none exports it.
void* findProcessSymbol(const char* name);

// An executable or library mapped into the process. Addresses inside its file
// (symbols, section addresses) are counted from base; it occupies start to end.
struct LoadedObject {
    std::string path;
    uintptr_t base = 0;
    uintptr_t start = 0;
    uintptr_t end = 0;
};

// The objects loaded now, the main program first.
std::vector<LoadedObject> loadedObjects();

// False when the variable is not set.
bool getEnv(const char* name, std::string& value);

// The path made absolute against the current directory, so that a later
// change of directory by the host does not move the file.
std::string absolutePath(const std::string& path);

// A file that replaces the one at path in one step, once commit succeeds:
// readers see either the old file or the complete new one. Writes are
// buffered; the first failure sticks and commit reports it. Dropped
// uncommitted, nothing of it remains.
class ReplacingFile : public TextSink {
public:
    ReplacingFile() = default;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    ~ReplacingFile();

    // On failure error describes why.
    bool open(const std::string& path, std::string& error);
    using TextSink::write;
    void write(const char* data, size_t size) override;
    // Bytes written so far.
    uint64_t position() const { return flushed_ + buffer_.size(); }
    // Appends length bytes from offset of an earlier file, committed and
    // kept by this process: false, with nothing written, when that cannot
    // be read.
    bool copyFrom(const ReplacingFile& earlier, uint64_t offset, uint64_t length);
    // Once committed the file's content stays readable here for copyFrom,
    // whatever later replaces it at path.
    bool commit(std::string& error);

private:
    bool flush();

    std::string path_;
    std::string temporary_;
    intptr_t file_ = -1;
    intptr_t kept_ = -1;
    std::string buffer_;
    uint64_t flushed_ = 0;
    int failure_ = 0;  // errno of the first failed write
};

// True when the process runs with more rights than whoever set its
// environment: variables naming files must then be ignored.
bool isSecureExecution();

// Has fn called before the process aborts, where the launcher's abort notice
// is preloaded; null withdraws it. Does nothing elsewhere.
void whenAborting(void (*fn)());

// One line on standard error: message, then ": " and detail when given.
// Allocates nothing and bypasses buffered streams, which may already be torn
// down when this runs at exit.
void printError(const char* message, const char* detail = nullptr) noexcept;

}  // namespace platform
}  // namespace vesktool
