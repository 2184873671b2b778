// The profiler's side of the JIT file: owns the writer handle.
#pragma once

#include "clrprof/result.h"
#include "common/utf16.h"
#include "plovat/jit_record.h"

namespace veskmrte_1_0 {

class JITWriter {
public:
    static JITWriter& instance();
    virtual ~JITWriter();

    // Opens the writer on a new file of that name; false for a null name or
    // when the writer library declines (nameTaken: because something already
    // has the name). A writer already open is closed first, so that its file
    // is complete.
    bool create(const vesk::WChar* fileName, bool& nameTaken);
    bool create(const vesk::WChar* fileName) {
        bool nameTaken = false;
        return create(fileName, nameTaken);
    }
    MeResult write(const plovat1::JitRecord& record);
    bool isOpen() const { return m_writer != nullptr; }
    // The file the open writer writes; empty while none is open.
    const vesk::WString& fileName() const { return m_fileName; }
    // Writes out what is buffered and closes the file. Tests read it back.
    void close();

private:
    JITWriter() = default;
    void* m_writer = nullptr;
    vesk::WString m_fileName;
};

// Asks the file-name generator for a name and opens the writer on it; while
// the name is taken (another process, or a link planted where the file was
// expected), asks for the next. Logs why it gives up.
bool initJitWriter();

}  // namespace veskmrte_1_0
