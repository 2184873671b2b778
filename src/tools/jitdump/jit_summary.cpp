#include "jit_summary.h"

#include "plovat/jit_record.h"

namespace jitfile {

void JitSummary::add(const MethodRecord& record) {
    ++m_records;
    for (const CodeRange& range : record.codeRanges) {
        m_codeBytes += range.size;
        m_copiedCodeBytes += range.code.size();
    }
    bool moduleKnown = (record.flags & plovat1::kModuleKnown) != 0;
    if (moduleKnown) m_modules.insert(record.moduleId);
    m_methods.insert(std::make_pair(moduleKnown ? record.moduleId : 0, record.methodToken));
}

}  // namespace jitfile
