// The cost of one JIT record in the writer: the mapped writer against the
// buffered writer it replaced (encode into a 64 KiB buffer, write() it out
// when full), rebuilt here from the same encoder so that both pay for the
// same bytes. Both are called directly, without the handle lookup of the
// exported functions, which is the same for both.
//
// Rounds of the two alternate, each writing about 32 MiB of records into a
// fresh file, so that a machine whose load changes treats both alike; the
// figures are processor time of the whole process (the system's work on the
// file cache and page faults included) per record, medians of the rounds.
#include "jitwriter/jit_file_writer.h"
#include "jitwriter/record_encoder.h"
#include "plovat/jit_writer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// A record like the profiler's: a module path, one code range of the given
// size copied whole, and an IL map of one entry per 16 code bytes.
struct SampleRecord {
    std::vector<uint8_t> code;
    std::vector<plovat1::IlMapEntry> ilMap;
    plovat1::JitCodeRange range{};
    plovat1::JitRecord record{};
    std::string module = "/usr/share/dotnet/shared/Microsoft.NETCore.App/10.0.0/System.Private.CoreLib.dll";

    explicit SampleRecord(uint32_t codeSize) : code(codeSize, 0x90), ilMap(codeSize / 16 + 1) {
        for (uint32_t i = 0; i < ilMap.size(); ++i) ilMap[i] = {i * 16, i * 16 + 16, i * 3};
        range.start = 0x7f0000001000;
        range.size = codeSize;
        range.copiedSize = codeSize;
        range.code = code.data();
        record.methodToken = 0x06000001;
        record.codeRangeCount = 1;
        record.codeRanges = &range;
        record.moduleFileName = module.c_str();
        record.ilMapCount = static_cast<uint32_t>(ilMap.size());
        record.ilMap = ilMap.data();
        record.flags = plovat1::kModuleKnown | plovat1::kClassKnown | plovat1::kCodeRangesPresent |
                       plovat1::kModuleFileNamePresent | plovat1::kIlMapPresent;
    }
};

// The replaced writer's path for one record, step for step.
class BufferedWriter {
public:
    explicit BufferedWriter(const std::string& path)
        : m_fd(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600)) {
        m_buffer.reserve(kBufferSize);
    }
    ~BufferedWriter() {
        flush();
        if (m_fd >= 0) close(m_fd);
    }
    bool ok() const { return m_fd >= 0; }
    bool write(const plovat1::JitRecord& callerRecord) {
        plovat1::JitRecord record = callerRecord;
        size_t size = 0;
        if (jitwriter::measureRecord(record, size) != jitwriter::MeasureResult::ok) return false;
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_buffer.empty() && m_buffer.size() + size > kBufferSize && !flush()) return false;
        size_t start = m_buffer.size();
        m_buffer.resize(start + size);
        if (!jitwriter::encodeRecord(record, m_buffer.data() + start, size)) return false;
        return m_buffer.size() < kBufferSize || flush();
    }

private:
    static constexpr size_t kBufferSize = 64 * 1024;
    bool flush() {
        size_t done = 0;
        while (done < m_buffer.size()) {
            ssize_t n = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
            if (n <= 0) return false;
            done += static_cast<size_t>(n);
        }
        m_buffer.clear();
        return true;
    }
    int m_fd;
    std::mutex m_mutex;
    std::vector<uint8_t> m_buffer;
};

std::string freshPath() {
    static int counter = 0;
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir != nullptr && dir[0] != 0 ? dir : "/tmp") + "/veskmrte-bench-" +
           std::to_string(getpid()) + "-" + std::to_string(++counter) + ".jit";
}

double processorNanos() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

// Nanoseconds of processor time per record, or a negative number on failure.
double timeMapped(const SampleRecord& sample, int records) {
    std::string path = freshPath();
    std::basic_string<vesk_wchar> name(path.begin(), path.end());
    double start = processorNanos();
    bool ok;
    {
        jitwriter::JitFileWriter writer;
        ok = writer.open(name.c_str()) == plovat1::meSuccess;
        for (int i = 0; ok && i < records; ++i) ok = writer.write(sample.record) == plovat1::meSuccess;
        ok = writer.close() == plovat1::meSuccess && ok;
    }
    double spent = processorNanos() - start;
    unlink(path.c_str());
    return ok ? spent / records : -1;
}

double timeBuffered(const SampleRecord& sample, int records) {
    std::string path = freshPath();
    double start = processorNanos();
    bool ok;
    {
        BufferedWriter writer(path);
        ok = writer.ok();
        for (int i = 0; ok && i < records; ++i) ok = writer.write(sample.record);
    }
    double spent = processorNanos() - start;
    unlink(path.c_str());
    return ok ? spent / records : -1;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

// jitwriter_bench [ROUNDS [CODE-SIZE...]]
int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 9;
    if (rounds < 1) rounds = 1;
    std::printf("%-10s %-8s %16s %16s %8s\n", "code bytes", "records", "buffered ns/rec", "mapped ns/rec", "ratio");
    std::vector<uint32_t> codeSizes;
    for (int i = 2; i < argc; ++i) codeSizes.push_back(static_cast<uint32_t>(std::atoi(argv[i])));
    if (codeSizes.empty()) codeSizes = {64, 512, 4096};
    for (uint32_t codeSize : codeSizes) {
        SampleRecord sample(codeSize);
        size_t size = 0;
        plovat1::JitRecord copy = sample.record;
        if (jitwriter::measureRecord(copy, size) != jitwriter::MeasureResult::ok) return 1;
        int records = static_cast<int>((32u << 20) / size);
        std::vector<double> mapped, buffered;
        for (int round = 0; round < rounds; ++round) {
            bool mappedFirst = round % 2 == 0;
            double first = mappedFirst ? timeMapped(sample, records) : timeBuffered(sample, records);
            double second = mappedFirst ? timeBuffered(sample, records) : timeMapped(sample, records);
            if (first < 0 || second < 0) {
                std::fprintf(stderr, "writing the records failed\n");
                return 1;
            }
            mapped.push_back(mappedFirst ? first : second);
            buffered.push_back(mappedFirst ? second : first);
        }
        double m = median(mapped), b = median(buffered);
        std::printf("%-10u %-8d %16.0f %16.0f %8.2f\n", codeSize, records, b, m, m / b);
    }
    return 0;
}
