#include "clrprof/wrapper.h"

#include "clrprof/debug_log.h"

#include <atomic>

namespace veskmrte_1_0 {

namespace {

// Overload ids name member references in every module, so they are unique
// in the process, not per wrapper.
std::atomic<uint32_t> g_lastOverloadId{0};

vesk::WString copyName(const vesk::WChar* name) { return name == nullptr ? vesk::WString() : vesk::WString(name); }

}  // namespace

Wrapper::Wrapper(const vesk::WChar* originalApiAssembly, const vesk::WChar* originalApiClass,
                 const vesk::WChar* originalApiMethod, const vesk::WChar* wrapperApiAssembly,
                 const vesk::WChar* wrapperApiClass, const vesk::WChar* wrapperApiMethod, const uint8_t* blob,
                 uint32_t length, cor::IMetaDataImport* metaDataImport)
    : m_originalApiAssembly(copyName(originalApiAssembly)),
      m_originalApiClass(copyName(originalApiClass)),
      m_originalApiMethod(copyName(originalApiMethod)),
      m_wrapperApiAssembly(copyName(wrapperApiAssembly)),
      m_wrapperApiClass(copyName(wrapperApiClass)),
      m_wrapperApiMethod(copyName(wrapperApiMethod)),
      m_metaDataImport(metaDataImport) {
    addSignature(blob, length);
}

Wrapper::~Wrapper() {
    for (signature* sig : m_signatures) delete sig;
}

void Wrapper::addSignature(const uint8_t* blob, uint32_t length) {
    std::unique_ptr<signature> sig(new signature());
    sig->overloadID = ++g_lastOverloadId;
    if (blob != nullptr) sig->rawBlob.assign(blob, blob + length);
    SignatureParser parser(m_metaDataImport);
    bool res = parser.parse(blob, length, *sig);
    VESK_ASSERT(res);
    m_signatures.push_back(sig.get());
    sig.release();
}

Iterator<signature*>* Wrapper::getSignatures() const { return new VectorIterator<signature*>(&m_signatures); }

}  // namespace veskmrte_1_0
