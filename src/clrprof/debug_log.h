// The optional debug log and the two assertion forms.
//
// The log is on when VESKMRTE_DEBUG names a file that can be created; the
// decision is made once, at first use. A log that cannot be opened is said
// once on standard error. In a process with raised rights the variable is
// ignored: whoever set the environment must not choose what it writes. Every statement is one line, written
// whole under the log's lock and flushed, so the file is complete up to the
// last line at any moment and lines from different threads never mix.
// Numbers print as lower-case hexadecimal with a 0x prefix (0 as plain 0).
#pragma once

#include "common/utf16.h"
#include "pal/files.h"
#include "pal/pal.h"

#include <sstream>
#include <string>

namespace veskmrte_1_0 {

class DebugLog {
public:
    static DebugLog& instance();

    bool isOn() const { return m_on; }

    // Appends one finished line (without its line end).
    void writeLine(const std::string& line);

    // For tests: a log on an explicit path, or off when the path is empty.
    explicit DebugLog(const std::string& path);
    ~DebugLog();
    DebugLog(const DebugLog&) = delete;
    DebugLog& operator=(const DebugLog&) = delete;

private:
    bool m_on;
    pal::FileHandle m_file;
    pal::Mutex m_lock;
};

// Builds one log line. Wide strings are written as UTF-8.
class LogLine {
public:
    LogLine() { m_text << std::hex << std::showbase; }
    template <typename T>
    LogLine& operator<<(const T& value) {
        m_text << value;
        return *this;
    }
    LogLine& operator<<(const vesk::WChar* text);
    LogLine& operator<<(const vesk::WString& text);
    LogLine& operator<<(const char* text) {
        m_text << text;
        return *this;
    }
    // Booleans and small integer types print as numbers, never as characters.
    LogLine& operator<<(bool value) { return *this << static_cast<unsigned>(value); }
    LogLine& operator<<(unsigned char value) { return *this << static_cast<unsigned>(value); }
    LogLine& operator<<(int value) { return *this << static_cast<unsigned>(value); }
    LogLine& operator<<(long value) { return *this << static_cast<unsigned long>(value); }
    LogLine& operator<<(long long value) { return *this << static_cast<unsigned long long>(value); }
    std::string str() const { return m_text.str(); }

private:
    std::ostringstream m_text;
};

// The event header: an empty line, then the header text, then (unless told
// otherwise) " osTid=" and the calling thread's OS id.
void logEventHeader(const char* header, bool withThreadId = true);

// Reports "VESKMRTE1_ASSERT at:<file>:<line> '<condition>'" on standard error
// and ends the process at once with exit code 3.
[[noreturn]] void failAssertion(const char* file, int line, const char* condition);
// Writes "VESKMRTE_ASSERT<message>" to the debug log (when on), then fails as
// above.
[[noreturn]] void failSoftAssertion(const char* message, const char* file, int line, const char* condition);

}  // namespace veskmrte_1_0

// A broken invariant the profiler cannot continue from.
#define VESK_ASSERT(cond) \
    ((cond) ? static_cast<void>(0) : ::veskmrte_1_0::failAssertion(__FILE__, __LINE__, #cond))
#define VESK_SOFT_ASSERT(cond, message) \
    ((cond) ? static_cast<void>(0) : ::veskmrte_1_0::failSoftAssertion(message, __FILE__, __LINE__, #cond))

// One log statement; nothing is formatted while the log is off.
#define VESK_LOG(expr)                                                               \
    do {                                                                             \
        ::veskmrte_1_0::DebugLog& vesk_log_ = ::veskmrte_1_0::DebugLog::instance(); \
        if (vesk_log_.isOn()) {                                                      \
            ::veskmrte_1_0::LogLine vesk_line_;                                      \
            vesk_line_ << expr;                                                      \
            vesk_log_.writeLine(vesk_line_.str());                                   \
        }                                                                            \
    } while (0)

#define VESK_LOG_EVENT(header)                                                           \
    do {                                                                                 \
        if (::veskmrte_1_0::DebugLog::instance().isOn()) ::veskmrte_1_0::logEventHeader(header); \
    } while (0)
