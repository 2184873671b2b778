// Signature blobs come from any module the runtime loads. Property: a blob
// the parser accepts and the module re-encodes with its own type tokens
// parses again to the same shape.
#include "clrprof/module.h"
#include "clrprof/signature_parser.h"
#include "fake_metadata.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <memory>

using namespace veskmrte_1_0;

namespace {

// Type references 1 to 8 name types the module also defines under other
// row numbers, so re-encoding moves tokens and may change their sizes.
testing_support::FakeMetadata& scope() {
    static testing_support::FakeMetadata* const instance = [] {
        auto* s = new testing_support::FakeMetadata();
        const cor::mdToken assembly = s->addAssemblyRef(VESK_W("Lib"));
        const vesk::WChar* names[] = {VESK_W("Lib.A"), VESK_W("Lib.B"), VESK_W("Lib.C"), VESK_W("Lib.D"),
                                      VESK_W("Lib.E"), VESK_W("Lib.F"), VESK_W("Lib.G"), VESK_W("Lib.H")};
        for (const vesk::WChar* name : names) s->addTypeRef(assembly, name);
        for (int i = 0; i < 200; ++i) s->addTypeDef(VESK_W("Filler"));
        for (const vesk::WChar* name : names) s->addTypeDef(name);
        return s;
    }();
    return *instance;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    testing_support::FakeMetadata& s = scope();
    signature sig;
    SignatureParser parser(&s);
    if (!parser.parse(data, static_cast<uint32_t>(size), sig)) return 0;
    for (const TypeTokenSlot& slot : sig.typeTokenSlots) {
        FUZZ_CHECK(slot.offset < size);
        FUZZ_CHECK(slot.length == 1 || slot.length == 2 || slot.length == 4);
        FUZZ_CHECK(slot.offset + slot.length <= size);
    }
    if (sig.kind != kMethodSignature) return 0;

    sig.rawBlob.assign(data, data + size);
    Module module(1, 0x10000, 0x1000, VESK_W("/app/Fuzz.dll"), &s, &s, &s, 0, false);
    uint8_t out[MAX_SIGNATURE_SIZE];
    uint32_t length = sizeof out;
    if (!module.translateSignature(sig, out, &length)) return 0;
    FUZZ_CHECK(length <= sizeof out);

    signature again;
    SignatureParser reparser(&s);
    FUZZ_CHECK(reparser.parse(out, length, again));
    FUZZ_CHECK(again.paramCount == sig.paramCount);
    FUZZ_CHECK(again.hasThis == sig.hasThis);
    FUZZ_CHECK(again.types.size() == sig.types.size());
    for (size_t i = 0; i < sig.types.size(); ++i) {
        FUZZ_CHECK(again.types[i].elementType == sig.types[i].elementType);
        FUZZ_CHECK(again.types[i].modifier == sig.types[i].modifier);
        // A type the module defines itself is named by its definition, whose
        // name the parser does not read back.
        if (!again.types[i].name.empty()) FUZZ_CHECK(again.types[i].name == sig.types[i].name);
    }
    return 0;
}
