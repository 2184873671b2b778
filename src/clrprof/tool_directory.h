// Where the profiler's companion libraries come from: the directory of the
// profiler's own file, never the current directory or a search path, and only
// while nobody but this process's user and the administrator can change the
// directory or the libraries in it. Whoever could would run code in every
// profiled program.
#pragma once

#include "common/utf16.h"
#include "pal/pal.h"

#include <string>

namespace veskmrte_1_0 {

// Base names of the libraries the profiler uses, in the tool directory.
extern const vesk::WChar kEngineLibrary[];
extern const vesk::WChar kWriterLibrary[];
extern const vesk::WChar kNameGeneratorLibrary[];

// The file name of a library on this platform: base name and suffix.
vesk::WString libraryFileName(const vesk::WChar* baseName);

class ToolDirectory {
public:
    // Examines the directory of the given module (the profiler), the module
    // itself and the companion libraries already loaded with it.
    void examine(pal::ModuleHandle profiler);

    // The directory, ending with the separator; empty when unknown.
    const vesk::WString& path() const { return m_path; }
    // Why the directory may not be used; empty when it may.
    const std::string& refusal() const { return m_refusal; }
    bool usable() const { return !m_path.empty() && m_refusal.empty(); }

    // False, with the reason in refusal(), when the directory is refused or
    // the library of that name in it is writable by others. A missing
    // library passes: failing to load it is the caller's to handle.
    bool admitLibrary(const vesk::WString& fileName);

private:
    bool admit(const vesk::WString& filePath);

    vesk::WString m_path;
    std::string m_refusal;
};

// The profiler's tool directory, examined at process attach.
ToolDirectory& toolDirectory();

}  // namespace veskmrte_1_0
