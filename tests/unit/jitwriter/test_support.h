// Helpers shared by the JIT writer, reader and generator tests.
#pragma once

#include "jit_file_reader.h"
#include "plovat/jit_record.h"
#include "veskmrte/portable.h"

#include <cstdint>
#include <string>
#include <vector>

namespace jittest {

typedef std::basic_string<vesk_wchar> WString;

WString wide(const std::string& utf8);
std::string narrow(const WString& text);

// A fresh directory, removed with its files when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// A JitRecord together with the buffers its pointers reach. Moving it may
// move the module name's characters: call finish() after the last move.
struct OwnedRecord {
    plovat1::JitRecord record;
    std::string moduleFileName;
    std::vector<plovat1::JitCodeRange> ranges;
    std::vector<std::vector<uint8_t>> code;  // one per range; empty means a null pointer
    std::vector<plovat1::IlMapEntry> ilMap;

    OwnedRecord();
    OwnedRecord(OwnedRecord&&) = default;
    OwnedRecord& operator=(OwnedRecord&&) = default;
    // Adds a range whose first `copied` bytes are present.
    void addRange(uint64_t start, uint32_t size, uint32_t copied, uint8_t seed);
    // Points the record at the buffers and sets the flags for the parts
    // present; call after the last change.
    const plovat1::JitRecord* finish();
};

// A record whose every field derives from index, for bulk tests; not yet
// finished.
OwnedRecord numberedRecord(uint32_t index);
// Whether a read record matches numberedRecord(index); the failure explains.
bool matchesNumbered(uint32_t index, const jitfile::MethodRecord& read, std::string& why);

struct ReadBack {
    jitfile::OpenResult open = jitfile::OpenResult::cannotOpen;
    std::vector<jitfile::MethodRecord> records;
    jitfile::ReadResult last = jitfile::ReadResult::ioError;  // what ended the reading
    std::string error;
};
ReadBack readFile(const std::string& path);

// Appends value as `bytes` little-endian bytes.
void putLe(std::vector<uint8_t>& out, uint64_t value, int bytes);

std::vector<uint8_t> fileBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// Writes the records through the exported writer functions; true when every
// call succeeded.
bool writeFile(const std::string& path, const std::vector<const plovat1::JitRecord*>& records);

}  // namespace jittest
