// The live writers, by handle. Handles are serial numbers, not addresses, so
// a stale handle never reaches a writer created later at the same address;
// the exported functions use the registry to refuse stale and foreign
// handles, and the process-exit handler uses it to flush every writer the
// caller never destroyed.
//
// The registry owns its writers jointly with whoever is using one, and no
// writer is locked while the registry is: a writer removed by Destroy while
// another thread, or the exit flush, still uses it lives until that use ends.
#pragma once

#include <memory>

namespace jitwriter {

class JitFileWriter;

// Adds an open writer and gives its handle; installs the exit flush the
// first time. Null when out of memory.
void* addWriter(const std::shared_ptr<JitFileWriter>& writer);

// The live writer behind handle; empty when handle is not a live writer.
std::shared_ptr<JitFileWriter> findWriter(void* handle);

// Takes the writer out of the registry, so the handle is dead from now on;
// empty when handle is not a live writer.
std::shared_ptr<JitFileWriter> removeWriter(void* handle);

}  // namespace jitwriter
