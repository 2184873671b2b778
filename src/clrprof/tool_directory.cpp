#include "clrprof/tool_directory.h"

#include "pal/files.h"

namespace veskmrte_1_0 {

const vesk::WChar kEngineLibrary[] = VESK_W("tavoli_cie_1.0");
const vesk::WChar kWriterLibrary[] = VESK_W("orvane_plovat_jitwriter_1.2");
const vesk::WChar kNameGeneratorLibrary[] = VESK_W("orvane_brisel_prof_utils_1.0");

vesk::WString libraryFileName(const vesk::WChar* baseName) {
    vesk::WString name = baseName;
    name += VESK_W(".");
    name += pal::kSharedLibrarySuffix;
    return name;
}

void ToolDirectory::examine(pal::ModuleHandle profiler) {
    m_path.clear();
    m_refusal.clear();
    vesk::WString self = pal::moduleFileName(profiler);
    size_t separator = self.find_last_of(pal::kDirSeparator);
    if (separator == vesk::WString::npos) {
        m_refusal = "cannot tell the profiler's own directory from \"" + vesk::toUtf8(self) + "\"";
        return;
    }
    m_path = self.substr(0, separator + 1);
    if (!admit(m_path) || !admit(self)) return;
    // The writer and the name generator are loaded with the profiler, from
    // this directory (the profiler's search path lists nothing else first).
    for (const vesk::WChar* base : {kWriterLibrary, kNameGeneratorLibrary}) {
        vesk::WString name = libraryFileName(base);
        vesk::WString loaded = pal::moduleFileName(pal::findLoadedModule(name));
        if (loaded.empty() || !pal::sameFile(vesk::toUtf8(loaded), vesk::toUtf8(m_path + name))) {
            m_refusal = vesk::toUtf8(name) + " was loaded from \"" + vesk::toUtf8(loaded) + "\", not from " +
                        vesk::toUtf8(m_path);
            return;
        }
        if (!admit(loaded)) return;
    }
}

bool ToolDirectory::admit(const vesk::WString& filePath) {
    std::string why = pal::whyWritableByOthers(vesk::toUtf8(filePath));
    if (why.empty()) return true;
    m_refusal = why;
    return false;
}

bool ToolDirectory::admitLibrary(const vesk::WString& fileName) {
    if (!usable()) return false;
    vesk::WString path = m_path + fileName;
    return !pal::pathExists(vesk::toUtf8(path)) || admit(path);
}

ToolDirectory& toolDirectory() {
    static ToolDirectory directory;
    return directory;
}

}  // namespace veskmrte_1_0
