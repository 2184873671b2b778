// The JIT-record writer library: opens a JIT file, appends one record per
// call, closes it. Every function answers 0 (plovat1::meSuccess) on success.
#pragma once

#include "plovat/jit_record.h"
#include "veskmrte/portable.h"

namespace plovat1 {
enum WriterStatus : int {
    meSuccess = 0,
    meInvalidArgument = 1,
    meIoError = 2,
    meOutOfMemory = 3,
    // Create only: something (a file, a link) already has that name; the
    // caller may try another.
    meNameTaken = 4,
};
}

extern "C" {
VESK_EXPORT int VESK_CALL plovatJitWriterCreate(void** handle, const vesk_wchar* fileName, int reserved1,
                                                int reserved2);
VESK_EXPORT int VESK_CALL plovatJitWriterWrite(void* handle, const plovat1::JitRecord* record, int reserved);
VESK_EXPORT int VESK_CALL plovatJitWriterDestroy(void* handle);
}
