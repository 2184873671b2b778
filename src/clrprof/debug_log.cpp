#include "clrprof/debug_log.h"

#include <cstring>

namespace veskmrte_1_0 {

namespace {

// Paths of this many characters or more leave the log off, as does an empty
// value.
const size_t kMaxPathChars = 256;

std::string logPathFromEnvironment() {
    std::string path;
    if (pal::isSecureExecution() || !pal::getEnv("VESKMRTE_DEBUG", path)) return std::string();
    if (vesk::fromUtf8(path).size() >= kMaxPathChars) return std::string();
    return path;
}

}  // namespace

DebugLog& DebugLog::instance() {
    static DebugLog log(logPathFromEnvironment());
    return log;
}

DebugLog::DebugLog(const std::string& path) : m_on(false), m_file(pal::kNoFile) {
    if (path.empty()) return;
    m_file = pal::openNamedFile(path, true);
    m_on = m_file != pal::kNoFile;
    if (!m_on) pal::writeStandardError("veskmrte: cannot open the debug log " + path + ": " + pal::lastFileError() + "\n");
}

DebugLog::~DebugLog() {
    // Threads of the runtime may still log while statics are destroyed.
    pal::MutexLock hold(m_lock);
    if (m_on) pal::closeFile(m_file);
    m_on = false;
}

void DebugLog::writeLine(const std::string& line) {
    if (!m_on) return;
    std::string whole = line + '\n';
    pal::MutexLock hold(m_lock);
    if (m_on) pal::writeFile(m_file, whole.data(), whole.size());
}

LogLine& LogLine::operator<<(const vesk::WChar* text) {
    if (text != nullptr) m_text << vesk::toUtf8(text, vesk::wideLength(text));
    return *this;
}

LogLine& LogLine::operator<<(const vesk::WString& text) {
    m_text << vesk::toUtf8(text);
    return *this;
}

void logEventHeader(const char* header, bool withThreadId) {
    DebugLog& log = DebugLog::instance();
    if (!log.isOn()) return;
    LogLine line;
    line << header;
    if (withThreadId) line << " osTid=" << pal::currentThreadId();
    // The empty line goes out with the header so no other thread's line can
    // land between them.
    log.writeLine("\n" + line.str());
}

void failAssertion(const char* file, int line, const char* condition) {
    std::string report = "VESKMRTE1_ASSERT at:";
    report += file;
    report += ":";
    report += std::to_string(line);
    report += " '";
    report += condition;
    report += "'\n";
    pal::failFast(report);
}

void failSoftAssertion(const char* message, const char* file, int line, const char* condition) {
    DebugLog& log = DebugLog::instance();
    if (log.isOn()) log.writeLine(std::string("VESKMRTE_ASSERT") + message);
    failAssertion(file, line, condition);
}

}  // namespace veskmrte_1_0
