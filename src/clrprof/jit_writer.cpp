#include "clrprof/jit_writer.h"

#include "brisel/jit_file_name_generator.h"
#include "clrprof/debug_log.h"
#include "plovat/jit_writer.h"

namespace veskmrte_1_0 {

JITWriter& JITWriter::instance() {
    static JITWriter writer;
    return writer;
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

bool JITWriter::create(const vesk::WChar* fileName) {
    if (fileName == nullptr) return false;
    close();
    if (plovatJitWriterCreate(&m_writer, fileName, 0, 0) != plovat1::meSuccess) {
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

bool initJitWriter() {
    vesk::WString name;
    {
        // The generator is released before the writer is opened, on every
        // path.
        boost::shared_ptr<brisel_1_0::IJitFileNameGenerator> generator =
            brisel_1_0::IJitFileNameGenerator::create(nullptr);
        if (!generator) return false;
        const vesk::WChar* text = generator->fileName();
        if (text != nullptr) name = text;
    }
    if (name.empty()) return false;
    return JITWriter::instance().create(name.c_str());
}

}  // namespace veskmrte_1_0
