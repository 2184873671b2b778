#include "clrprof/jit_writer.h"

#include "brisel/jit_file_name_generator.h"
#include "clrprof/debug_log.h"
#include "pal/files.h"
#include "plovat/jit_writer.h"

namespace veskmrte_1_0 {

// Never destroyed: runtime threads (the background compiler, a stack walk)
// can still record code while the process exits, after static destructors
// would have closed the file under them. The writer library's exit flush
// trims the file to its records.
JITWriter& JITWriter::instance() {
    static JITWriter* const writer = new JITWriter;
    return *writer;
}

JITWriter::~JITWriter() { close(); }

void JITWriter::close() {
    m_fileName.clear();
    if (m_writer != nullptr) {
        int rc = plovatJitWriterDestroy(m_writer);
        m_writer = nullptr;
        VESK_ASSERT(rc == plovat1::meSuccess);
    }
}

bool JITWriter::create(const vesk::WChar* fileName, bool& nameTaken) {
    nameTaken = false;
    if (fileName == nullptr) return false;
    close();
    int status = plovatJitWriterCreate(&m_writer, fileName, 0, 0);
    if (status != plovat1::meSuccess) {
        nameTaken = status == plovat1::meNameTaken;
        m_writer = nullptr;
        return false;
    }
    m_fileName = fileName;
    return true;
}

MeResult JITWriter::write(const plovat1::JitRecord& record) {
    if (m_writer == nullptr) return meFailure;
    return plovatJitWriterWrite(m_writer, &record, 0) == plovat1::meSuccess ? meSuccess : meFailure;
}

namespace {

// Enough for a few processes that share an id and a start time; a directory
// where this many names are all taken is being played with.
const int kNameAttempts = 16;

vesk::WString nextJitFileName() {
    // The generator is released before the writer is opened, on every path.
    boost::shared_ptr<brisel_1_0::IJitFileNameGenerator> generator = brisel_1_0::IJitFileNameGenerator::create(nullptr);
    if (!generator) return vesk::WString();
    const vesk::WChar* text = generator->fileName();
    return text != nullptr ? vesk::WString(text) : vesk::WString();
}

}  // namespace

bool initJitWriter() {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        vesk::WString name = nextJitFileName();
        if (name.empty()) {
            VESK_LOG("  declined: the JIT file-name generator gave no name");
            return false;
        }
        bool nameTaken = false;
        if (JITWriter::instance().create(name.c_str(), nameTaken)) return true;
        if (!nameTaken) {
            VESK_LOG("  declined: cannot create the JIT file " << name << ": " << pal::lastFileError());
            return false;
        }
        VESK_LOG("  the JIT file name " << name << " is taken; choosing another");
    }
    VESK_LOG("  declined: every JIT file name tried was taken");
    return false;
}

}  // namespace veskmrte_1_0
