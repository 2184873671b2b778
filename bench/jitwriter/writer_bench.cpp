// The cost of one JIT record in the writer: the mapped writer through its
// exported functions, against the buffered writer it replaced (encode into a
// 64 KiB buffer, write() it out when full), rebuilt here from the same
// encoder so that both pay for the same bytes.
#include "jitwriter/record_encoder.h"
#include "plovat/jit_writer.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
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

std::string freshPath() {
    static int counter = 0;
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir != nullptr && dir[0] != 0 ? dir : "/tmp") + "/veskmrte-bench-" +
           std::to_string(getpid()) + "-" + std::to_string(++counter) + ".jit";
}

void BM_MappedWriter(benchmark::State& state) {
    SampleRecord sample(static_cast<uint32_t>(state.range(0)));
    std::string path = freshPath();
    std::basic_string<vesk_wchar> name(path.begin(), path.end());
    void* handle = nullptr;
    if (plovatJitWriterCreate(&handle, name.c_str(), 0, 0) != plovat1::meSuccess) {
        state.SkipWithError("cannot create the file");
        return;
    }
    for (auto _ : state) {
        if (plovatJitWriterWrite(handle, &sample.record, 0) != plovat1::meSuccess) {
            state.SkipWithError("write failed");
            break;
        }
    }
    plovatJitWriterDestroy(handle);
    unlink(path.c_str());
}
// A bounded count: every record stays on disk until the file goes.
BENCHMARK(BM_MappedWriter)->Arg(64)->Arg(512)->Arg(4096)->Iterations(50000);

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

void BM_BufferedBaseline(benchmark::State& state) {
    SampleRecord sample(static_cast<uint32_t>(state.range(0)));
    std::string path = freshPath();
    {
        BufferedWriter writer(path);
        if (!writer.ok()) {
            state.SkipWithError("cannot create the file");
            return;
        }
        for (auto _ : state) {
            if (!writer.write(sample.record)) {
                state.SkipWithError("write failed");
                break;
            }
        }
    }
    unlink(path.c_str());
}
BENCHMARK(BM_BufferedBaseline)->Arg(64)->Arg(512)->Arg(4096)->Iterations(50000);

}  // namespace

BENCHMARK_MAIN();
