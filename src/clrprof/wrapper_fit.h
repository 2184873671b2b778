// Whether the running runtime can load the wrapper assembly. Rewritten calls
// bind to it while the program runs; a reference of it that the runtime
// cannot satisfy would make every rewritten method throw, so the profiler
// asks before it rewrites anything.
#pragma once

#include "abi/metadata.h"
#include "clrprof/module.h"
#include "clrprof/result.h"
#include "clrprof/wrapper_manager.h"
#include "common/utf16.h"

#include <string>

namespace veskmrte_1_0 {

// The version in the assembly manifest of the scope the import reads.
bool readAssemblyVersion(cor::IMetaDataAssemblyImport* import, FileVersion& version);

// "major.minor.build.revision", in decimal as assembly versions are written.
std::string versionText(const FileVersion& version);

// A reference of the wrapper assembly that names a newer version than the
// running framework's.
struct NewerReference {
    bool found = false;
    vesk::WString name;
    FileVersion version;
};

// Reads the wrapper assembly's references through the dispenser. Since
// .NET 5 every framework assembly carries the framework's version, the same
// as the core library's, so a reference fits when its version is no newer
// than the core library's. meFailure when the assembly cannot be read.
MeResult findNewerReference(DispenserSource source, const vesk::WString& path, const FileVersion& framework,
                            NewerReference& newer);

}  // namespace veskmrte_1_0
