// Records to write, files to read back, and what the JIT writer tests share.
#pragma once

#include "common/utf16.h"
#include "jit_file_reader.h"
#include "plovat/jit_record.h"
#include "plovat/jit_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace jittest {

inline std::basic_string<vesk_wchar> wide(const std::string& utf8) { return vesk::fromUtf8(utf8); }

// A fresh directory, removed with its files when the object goes.
struct TempDir {
    TempDir() {
        char pattern[] = "/tmp/jitwriter-test-XXXXXX";  // not TMPDIR: the generator tests change it
        if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
        path = pattern;
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string file(const std::string& name) const { return path + "/" + name; }
    std::string path;
};

// Every field of a record read back, on one line.
inline std::string describe(const jitfile::MethodRecord& r) {
    std::ostringstream out;
    out << std::hex << "method " << r.methodToken << " class " << r.classToken << "/" << r.classId << " module "
        << r.moduleId << "/" << r.registeredModuleId << " time " << r.timestamp << " flags " << r.flags << " file '"
        << r.moduleFileName << "'";
    for (const jitfile::CodeRange& c : r.codeRanges) {
        out << " range " << c.start << "+" << c.size << ":";
        for (uint8_t b : c.code) out << int(b) << ",";
    }
    for (const jitfile::IlMapping& m : r.ilMap) out << " il " << m.nativeStart << "-" << m.nativeEnd << "=" << m.ilOffset;
    return out.str();
}

// A JitRecord and the buffers it points into. finish() points the record at
// them and sets the flags of the parts present; call it after the last move.
struct OwnedRecord {
    plovat1::JitRecord record = {};
    std::string moduleFileName;
    std::vector<plovat1::JitCodeRange> ranges;
    std::vector<std::vector<uint8_t>> code;  // one per range; empty means a null pointer
    std::vector<plovat1::IlMapEntry> ilMap;

    void addRange(uint64_t start, uint32_t size, uint32_t copied, uint8_t seed) {
        ranges.push_back({start, size, copied, nullptr});
        code.emplace_back(copied);
        for (uint32_t i = 0; i < copied; ++i) code.back()[i] = static_cast<uint8_t>(seed + i * 7);
    }
    const plovat1::JitRecord* finish() {
        for (size_t i = 0; i < ranges.size(); ++i) ranges[i].code = code[i].empty() ? nullptr : code[i].data();
        record.codeRangeCount = static_cast<uint32_t>(ranges.size());
        record.codeRanges = ranges.empty() ? nullptr : ranges.data();
        record.ilMapCount = static_cast<uint32_t>(ilMap.size());
        record.ilMap = ilMap.empty() ? nullptr : ilMap.data();
        record.moduleFileName = moduleFileName.c_str();
        record.flags |= plovat1::kModuleFileNamePresent | (ranges.empty() ? 0u : plovat1::kCodeRangesPresent) |
                        (ilMap.empty() ? 0u : plovat1::kIlMapPresent);
        return &record;
    }
    // What a reader should find, as describe() puts it.
    std::string expected() const {
        jitfile::MethodRecord r;
        r.methodToken = record.methodToken;
        r.classToken = record.classToken;
        r.classId = record.classId;
        r.moduleId = record.moduleId;
        r.registeredModuleId = record.registeredModuleId;
        r.timestamp = record.timestamp;
        r.flags = record.flags;
        r.moduleFileName = moduleFileName;
        for (size_t i = 0; i < ranges.size(); ++i) r.codeRanges.push_back({ranges[i].start, ranges[i].size, code[i]});
        for (const plovat1::IlMapEntry& e : ilMap) r.ilMap.push_back({e.nativeStart, e.nativeEnd, e.ilOffset});
        return describe(r);
    }
};

// A record whose every field and part derives from index, of uneven size.
inline OwnedRecord numberedRecord(uint32_t index) {
    OwnedRecord r;
    r.record.methodToken = 0x06000000 + index;
    r.record.classId = 0x7f0000000000ULL + index * 16;
    r.record.classToken = 0x02000000 + index % 97;
    r.record.moduleId = 0x7f1000000000ULL + (index % 5) * 0x1000;
    r.record.registeredModuleId = 100 + index % 5;
    r.record.timestamp = 1000000ULL * index + 17;
    r.record.flags = plovat1::kModuleKnown | plovat1::kClassKnown;
    r.moduleFileName = "/app/module" + std::to_string(index % 5) + ".dll";
    for (uint32_t k = 0; k < index % 3; ++k) {
        const uint32_t size = (index * 37 + k * 11) % 400;
        r.addRange(0x7e0000000000ULL + index * 0x1000 + k * 0x100, size, size, static_cast<uint8_t>(index + k));
    }
    for (uint32_t k = 0; k < index % 4; ++k) r.ilMap.push_back({k * 8, k * 8 + 8, k * 3});
    return r;
}

struct ReadBack {
    jitfile::OpenResult open = jitfile::OpenResult::cannotOpen;
    std::vector<jitfile::MethodRecord> records;
    jitfile::ReadResult last = jitfile::ReadResult::ioError;  // what ended the reading
    std::string error;
};

inline ReadBack readFile(const std::string& path) {
    ReadBack out;
    jitfile::JitFileReader reader;
    out.open = reader.open(path);
    jitfile::MethodRecord record;
    while (out.open == jitfile::OpenResult::ok && (out.last = reader.next(record)) == jitfile::ReadResult::record)
        out.records.push_back(record);
    out.error = reader.error();
    return out;
}

// Checks that the file holds numberedRecord(first), (first + 1)... and ends so.
inline void expectNumbered(const std::string& path, uint32_t count, jitfile::ReadResult ending, uint32_t first = 0) {
    ReadBack back = readFile(path);
    EXPECT_EQ(back.last, ending) << back.error;
    ASSERT_EQ(back.records.size(), count) << back.error;
    for (uint32_t i = 0; i < count; ++i) {
        OwnedRecord want = numberedRecord(first + i);
        want.finish();
        ASSERT_EQ(describe(back.records[i]), want.expected()) << "record " << i;
    }
}

inline void putLe(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline std::vector<uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// Writes through the exported functions; true when every call succeeded.
inline bool writeFile(const std::string& path, const std::vector<const plovat1::JitRecord*>& records) {
    void* handle = nullptr;
    if (plovatJitWriterCreate(&handle, wide(path).c_str(), 0, 0) != plovat1::meSuccess) return false;
    bool ok = true;
    for (const plovat1::JitRecord* r : records) ok = plovatJitWriterWrite(handle, r, 0) == plovat1::meSuccess && ok;
    return plovatJitWriterDestroy(handle) == plovat1::meSuccess && ok;
}

}  // namespace jittest
