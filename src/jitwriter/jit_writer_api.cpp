// The exported C functions. Nothing may escape them: every exception becomes
// a status, and every handle is checked against the registry before use.
#include "plovat/jit_writer.h"

#include "jitwriter/jit_file_writer.h"
#include "jitwriter/writer_registry.h"

#include <memory>
#include <new>

using jitwriter::JitFileWriter;

int VESK_CALL plovatJitWriterCreate(void** handle, const vesk_wchar* fileName, int, int) {
    if (handle == nullptr) return plovat1::meInvalidArgument;
    *handle = nullptr;
    if (fileName == nullptr || fileName[0] == 0) return plovat1::meInvalidArgument;
    try {
        std::shared_ptr<JitFileWriter> writer = std::make_shared<JitFileWriter>();
        int status = writer->open(fileName);
        if (status != plovat1::meSuccess) return status;
        void* added = jitwriter::addWriter(writer);
        if (added == nullptr) return plovat1::meOutOfMemory;
        *handle = added;
        return plovat1::meSuccess;
    } catch (const std::bad_alloc&) {
        return plovat1::meOutOfMemory;
    } catch (...) {
        return plovat1::meIoError;
    }
}

int VESK_CALL plovatJitWriterWrite(void* handle, const plovat1::JitRecord* record, int) {
    if (handle == nullptr || record == nullptr) return plovat1::meInvalidArgument;
    try {
        std::shared_ptr<JitFileWriter> writer = jitwriter::findWriter(handle);
        if (!writer) return plovat1::meInvalidArgument;
        return writer->write(*record);
    } catch (const std::bad_alloc&) {
        return plovat1::meOutOfMemory;
    } catch (...) {
        return plovat1::meIoError;
    }
}

int VESK_CALL plovatJitWriterDestroy(void* handle) {
    if (handle == nullptr) return plovat1::meInvalidArgument;
    try {
        std::shared_ptr<JitFileWriter> writer = jitwriter::removeWriter(handle);
        if (!writer) return plovat1::meInvalidArgument;
        // Freed here, or by the last thread still inside a call on it.
        return writer->close();
    } catch (...) {
        return plovat1::meIoError;
    }
}
