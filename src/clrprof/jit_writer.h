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

    // Opens the writer on the file; false for a null name or when the writer
    // library declines.
    bool create(const vesk::WChar* fileName);
    MeResult write(const plovat1::JitRecord& record);
    bool isOpen() const { return m_writer != nullptr; }

private:
    JITWriter() = default;
    void* m_writer = nullptr;
};

// Asks the file-name generator for a name and opens the writer on it.
bool initJitWriter();

}  // namespace veskmrte_1_0
