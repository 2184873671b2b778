#include "clrprof/debug_log.h"

#include <cstring>

namespace veskmrte_1_0 {

namespace {

// Paths of this many characters or more leave the log off, as does an empty
// value.
const size_t kMaxPathChars = 256;

std::string logPathFromEnvironment() {
    std::string path;
    if (!pal::getEnv("VESKMRTE_DEBUG", path)) return std::string();
    if (vesk::fromUtf8(path).size() >= kMaxPathChars) return std::string();
    return path;
}

}  // namespace

DebugLog& DebugLog::instance() {
    static DebugLog log(logPathFromEnvironment());
    return log;
}

DebugLog::DebugLog(const std::string& path) : m_on(false) {
    if (path.empty()) return;
    m_file.open(path, std::ios::out | std::ios::trunc | std::ios::binary);
    m_on = m_file.is_open();
}

DebugLog::~DebugLog() {
    if (m_file.is_open()) m_file.close();
}

void DebugLog::writeLine(const std::string& line) {
    if (!m_on) return;
    pal::MutexLock hold(m_lock);
    m_file << line << '\n';
    m_file.flush();
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
