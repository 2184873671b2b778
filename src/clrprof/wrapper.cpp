#include "clrprof/wrapper.h"

#include "clrprof/debug_log.h"

#include "pal/pal.h"

#include <atomic>

namespace veskmrte_1_0 {

namespace {

// Overload ids name member references in every module, so they are unique
// in the process, not per wrapper.
std::atomic<uint32_t> g_lastOverloadId{0};

vesk::WString copyName(const vesk::WChar* name) { return name == nullptr ? vesk::WString() : vesk::WString(name); }

// Every wrapper shares the wrapper assembly's import, which is not known to
// serve two threads at once.
pal::Mutex g_importLock;

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
    m_signatures.push_back(sig.get());
    sig.release();
}

Iterator<signature*>* Wrapper::getSignatures() const {
    std::call_once(m_parsed, [this] {
        pal::MutexLock hold(g_importLock);
        SignatureParser parser(m_metaDataImport);
        for (signature* sig : m_signatures) {
            bool res = parser.parse(sig->rawBlob.data(), static_cast<uint32_t>(sig->rawBlob.size()), *sig);
            VESK_ASSERT(res);
        }
    });
    return new VectorIterator<signature*>(&m_signatures);
}

}  // namespace veskmrte_1_0
