#include "test_support.h"

#include "common/utf16.h"
#include "plovat/jit_writer.h"

#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace jittest {

WString wide(const std::string& utf8) { return vesk::fromUtf8(utf8); }
std::string narrow(const WString& text) { return vesk::toUtf8(text); }

TempDir::TempDir() {
    // Not TMPDIR: the generator tests change it.
    char pattern[] = "/tmp/jitwriter-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempDir::~TempDir() {
    if (DIR* dir = opendir(m_path.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..") unlink(file(name).c_str());
        }
        closedir(dir);
    }
    rmdir(m_path.c_str());
}

OwnedRecord::OwnedRecord() { std::memset(&record, 0, sizeof record); }

void OwnedRecord::addRange(uint64_t start, uint32_t size, uint32_t copied, uint8_t seed) {
    plovat1::JitCodeRange range;
    std::memset(&range, 0, sizeof range);
    range.start = start;
    range.size = size;
    range.copiedSize = copied;
    ranges.push_back(range);
    std::vector<uint8_t> bytes(copied);
    for (uint32_t i = 0; i < copied; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 7);
    code.push_back(bytes);
}

const plovat1::JitRecord* OwnedRecord::finish() {
    for (size_t i = 0; i < ranges.size(); ++i) ranges[i].code = code[i].empty() ? nullptr : code[i].data();
    record.codeRangeCount = static_cast<uint32_t>(ranges.size());
    record.codeRanges = ranges.empty() ? nullptr : ranges.data();
    record.ilMapCount = static_cast<uint32_t>(ilMap.size());
    record.ilMap = ilMap.empty() ? nullptr : ilMap.data();
    record.moduleFileName = moduleFileName.c_str();
    record.flags |= plovat1::kModuleFileNamePresent;
    if (!ranges.empty()) record.flags |= plovat1::kCodeRangesPresent;
    if (!ilMap.empty()) record.flags |= plovat1::kIlMapPresent;
    return &record;
}

OwnedRecord numberedRecord(uint32_t index) {
    OwnedRecord r;
    r.record.methodToken = 0x06000000 + index;
    r.record.classId = 0x7f0000000000ULL + index * 16;
    r.record.classToken = 0x02000000 + index % 97;
    r.record.moduleId = 0x7f1000000000ULL + (index % 5) * 0x1000;
    r.record.registeredModuleId = 100 + index % 5;
    r.record.timestamp = 1000000ULL * index + 17;
    r.record.flags = plovat1::kModuleKnown | plovat1::kClassKnown;
    r.moduleFileName = "/app/module" + std::to_string(index % 5) + ".dll";
    // Sizes vary so records straddle the writer's buffer at odd places.
    uint32_t rangeCount = index % 3;
    for (uint32_t k = 0; k < rangeCount; ++k) {
        uint32_t size = (index * 37 + k * 11) % 400;
        r.addRange(0x7e0000000000ULL + index * 0x1000 + k * 0x100, size, size, static_cast<uint8_t>(index + k));
    }
    for (uint32_t k = 0; k < index % 4; ++k) r.ilMap.push_back({k * 8, k * 8 + 8, k * 3});
    return r;
}

bool matchesNumbered(uint32_t index, const jitfile::MethodRecord& read, std::string& why) {
    OwnedRecord want = numberedRecord(index);
    const plovat1::JitRecord& w = *want.finish();
    why = "record " + std::to_string(index) + ": ";
    if (read.methodToken != w.methodToken || read.classId != w.classId || read.classToken != w.classToken ||
        read.moduleId != w.moduleId || read.registeredModuleId != w.registeredModuleId ||
        read.timestamp != w.timestamp || read.flags != w.flags) {
        why += "scalar fields differ";
        return false;
    }
    if (read.moduleFileName != want.moduleFileName) {
        why += "module file name differs";
        return false;
    }
    if (read.codeRanges.size() != want.ranges.size()) {
        why += "code range count differs";
        return false;
    }
    for (size_t k = 0; k < want.ranges.size(); ++k) {
        const jitfile::CodeRange& c = read.codeRanges[k];
        if (c.start != want.ranges[k].start || c.size != want.ranges[k].size || c.code != want.code[k]) {
            why += "code range " + std::to_string(k) + " differs";
            return false;
        }
    }
    if (read.ilMap.size() != want.ilMap.size()) {
        why += "IL map size differs";
        return false;
    }
    for (size_t k = 0; k < want.ilMap.size(); ++k) {
        if (read.ilMap[k].nativeStart != want.ilMap[k].nativeStart || read.ilMap[k].nativeEnd != want.ilMap[k].nativeEnd ||
            read.ilMap[k].ilOffset != want.ilMap[k].ilOffset) {
            why += "IL map entry " + std::to_string(k) + " differs";
            return false;
        }
    }
    return true;
}

ReadBack readFile(const std::string& path) {
    ReadBack out;
    jitfile::JitFileReader reader;
    out.open = reader.open(path);
    if (out.open != jitfile::OpenResult::ok) {
        out.error = reader.error();
        return out;
    }
    jitfile::MethodRecord record;
    while ((out.last = reader.next(record)) == jitfile::ReadResult::record) out.records.push_back(record);
    out.error = reader.error();
    return out;
}

void putLe(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool writeFile(const std::string& path, const std::vector<const plovat1::JitRecord*>& records) {
    void* handle = nullptr;
    if (plovatJitWriterCreate(&handle, wide(path).c_str(), 0, 0) != plovat1::meSuccess) return false;
    bool ok = true;
    for (const plovat1::JitRecord* r : records) ok = plovatJitWriterWrite(handle, r, 0) == plovat1::meSuccess && ok;
    return plovatJitWriterDestroy(handle) == plovat1::meSuccess && ok;
}

}  // namespace jittest
