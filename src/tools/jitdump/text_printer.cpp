#include "record_printer.h"

#include "jitwriter/utc_time.h"
#include "plovat/jit_record.h"

namespace jitfile {

namespace {

// Module names come from the file as bytes; control characters would let a
// damaged or hostile file rewrite the terminal.
std::string quoted(const std::string& bytes) {
    std::string out = "\"";
    for (unsigned char c : bytes) {
        if (c < 0x20 || c == 0x7F || c == '"' || c == '\\') {
            out += "\\x" + hex(c, 2).substr(2);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

class TextPrinter : public RecordPrinter {
public:
    TextPrinter(std::ostream& out, bool withRecords, bool withCode)
        : m_out(out), m_withRecords(withRecords), m_withCode(withCode) {}

    void begin(const std::string& path, const FileHeader& h) override {
        m_out << path << ": JIT file version " << h.majorVersion << "." << h.minorVersion << ", "
              << int(h.pointerSize) * 8 << "-bit writer, process " << h.processId << ", created "
              << formatUtc(static_cast<int64_t>(h.createdMicros), false) << "\n";
    }

    void record(const MethodRecord& r) override {
        ++m_count;
        if (!m_withRecords) return;
        bool classKnown = (r.flags & plovat1::kClassKnown) != 0;
        bool moduleKnown = (r.flags & plovat1::kModuleKnown) != 0;
        m_out << "\nrecord " << m_count << " at offset " << r.fileOffset << "\n";
        m_out << "  method token " << hex(r.methodToken, 8) << ", time stamp " << r.timestamp << "\n";
        if (classKnown) {
            m_out << "  class " << hex(r.classId, 16) << ", token " << hex(r.classToken, 8) << "\n";
        } else {
            m_out << "  class unknown\n";
        }
        if (moduleKnown) {
            m_out << "  module " << hex(r.moduleId, 16) << ", registered module " << hex(r.registeredModuleId, 16)
                  << "\n";
        } else {
            m_out << "  module unknown\n";
        }
        if (r.flags & plovat1::kModuleFileNamePresent) m_out << "  module file " << quoted(r.moduleFileName) << "\n";
        std::string names;
        for (const std::string& name : flagNames(r.flags)) names += (names.empty() ? "" : " ") + name;
        m_out << "  flags " << hex(r.flags, 8) << (names.empty() ? "" : " (" + names + ")") << "\n";
        for (size_t i = 0; i < r.codeRanges.size(); ++i) {
            const CodeRange& c = r.codeRanges[i];
            m_out << "  code range " << i << ": start " << hex(c.start, 16) << ", " << c.size << " bytes, "
                  << c.code.size() << " copied\n";
            if (m_withCode && !c.code.empty()) m_out << "    " << hexBytes(c.code) << "\n";
        }
        if (!r.ilMap.empty()) {
            m_out << "  IL map, " << counted(r.ilMap.size(), "entry", "entries") << "\n";
            for (const IlMapping& e : r.ilMap) {
                m_out << "    native " << hex(e.nativeStart, 4) << "-" << hex(e.nativeEnd, 4) << " -> IL "
                      << hex(e.ilOffset, 4) << "\n";
            }
        }
    }

    void end(const JitSummary& s, uint64_t skipped, const std::string& damage, bool closed) override {
        if (!damage.empty()) m_out << "\nDAMAGED: " << damage << "\n";
        if (!closed) m_out << "\nNOT CLOSED: the writing process ended before closing the file\n";
        m_out << "\nsummary: " << counted(s.records(), "record", "records") << ", "
              << counted(s.codeBytes(), "code byte", "code bytes") << " (" << s.copiedCodeBytes() << " copied), "
              << counted(s.modules(), "distinct module", "distinct modules") << ", "
              << counted(s.methods(), "distinct method", "distinct methods");
        if (skipped != 0) m_out << ", " << counted(skipped, "record", "records") << " of unknown kinds skipped";
        m_out << "\n";
    }

private:
    std::ostream& m_out;
    bool m_withRecords;
    bool m_withCode;
    uint64_t m_count = 0;
};

}  // namespace

std::unique_ptr<RecordPrinter> makeTextPrinter(std::ostream& out, bool withRecords, bool withCode) {
    return std::unique_ptr<RecordPrinter>(new TextPrinter(out, withRecords, withCode));
}

}  // namespace jitfile
