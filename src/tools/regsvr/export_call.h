// Loading a profiler library and calling one of its registration exports.
#pragma once

#include <string>

namespace regsvr {

// Loads the library at path and calls exportName, an HRESULT () function.
// Reports the outcome on stdout or stderr; returns the exit status.
int callRegistrationExport(const std::string& path, const char* exportName);

}  // namespace regsvr
