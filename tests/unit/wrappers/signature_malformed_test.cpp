// Blobs the parser must refuse without reading a byte past their end.
#include "blob_bytes.h"
#include "clrprof/signature_parser.h"
#include "fake_metadata.h"

#include <gtest/gtest.h>

using namespace veskmrte_1_0;
using namespace testing_support;

namespace {

bool parses(const Bytes& blob, size_t prefix) {
    FakeMetaDataImport import;
    import.addTypeRef(typeRefToken(3), VESK_W("Lib.Widget"));
    SignatureParser parser(&import);
    signature sig;
    ExactCopy copy(blob, prefix);
    return parser.parse(copy.data(), copy.size(), sig);
}

bool parses(const Bytes& blob) { return parses(blob, blob.size()); }

// Blobs as compilers emit them, each using every byte it holds.
std::vector<Bytes> realBlobs() {
    return {
        // static string Format(IFormatProvider, string, object[])
        cat({{0x00, 0x03, ELEMENT_TYPE_STRING, ELEMENT_TYPE_CLASS}, typeRefCoded(3),
             {ELEMENT_TYPE_STRING, ELEMENT_TYPE_SZARRAY, ELEMENT_TYPE_OBJECT}}),
        // instance modreq(IsVolatile) List<!!0> M<T>(ref int, Widget[,], delegate*<string, int>, void*)
        cat({{SIG_HASTHIS | SIG_GENERIC, 0x01, 0x04, ELEMENT_TYPE_CMOD_REQD}, typeRefCoded(0x50),
             {ELEMENT_TYPE_GENERICINST, ELEMENT_TYPE_CLASS}, typeRefCoded(5), {0x01, ELEMENT_TYPE_MVAR, 0x00},
             {ELEMENT_TYPE_BYREF, ELEMENT_TYPE_I4}, {ELEMENT_TYPE_ARRAY, ELEMENT_TYPE_CLASS}, typeRefCoded(3),
             {0x02, 0x01, 0x03, 0x01, 0x00}, {ELEMENT_TYPE_FNPTR, 0x00, 0x01, ELEMENT_TYPE_I4, ELEMENT_TYPE_STRING},
             {ELEMENT_TYPE_PTR, ELEMENT_TYPE_VOID}}),
        // modopt(<ref>) Point field
        cat({{0x06, ELEMENT_TYPE_CMOD_OPT}, typeRefCoded(1), {ELEMENT_TYPE_VALUETYPE}, typeRefCoded(3)}),
        // static void (Widget) with a four-byte token and a two-byte VAR number
        cat({{0x00, 0x02, ELEMENT_TYPE_VOID, ELEMENT_TYPE_CLASS}, typeRefCoded(0x10000), {ELEMENT_TYPE_VAR},
             compressed(0x3FFF)}),
    };
}

TEST(MalformedSignature, EveryTruncationOfARealBlobFails) {
    for (const Bytes& blob : realBlobs()) {
        ASSERT_TRUE(parses(blob)) << "blob of " << blob.size() << " bytes";
        for (size_t prefix = 0; prefix < blob.size(); ++prefix) {
            EXPECT_FALSE(parses(blob, prefix)) << prefix << " of " << blob.size() << " bytes";
        }
    }
}

TEST(MalformedSignature, NoBlobAtAll) {
    SignatureParser parser(nullptr);
    signature sig;
    EXPECT_FALSE(parser.parse(nullptr, 0, sig));
    EXPECT_FALSE(parser.parse(nullptr, 4, sig));
}

TEST(MalformedSignature, CallingConventionsOtherThanManagedMethodsAndFields) {
    for (uint8_t kind = 0x01; kind <= 0x0F; ++kind) {
        if (kind == SIG_KIND_FIELD) continue;
        EXPECT_FALSE(parses({kind, 0x00, ELEMENT_TYPE_VOID})) << int(kind);
    }
    EXPECT_TRUE(parses({SIG_HASTHIS, 0x00, ELEMENT_TYPE_VOID}));
}

TEST(MalformedSignature, ExplicitThisIsRefused) {
    EXPECT_FALSE(parses({SIG_EXPLICITTHIS, 0x00, ELEMENT_TYPE_VOID}));
    EXPECT_FALSE(parses({SIG_HASTHIS | SIG_EXPLICITTHIS, 0x00, ELEMENT_TYPE_VOID}));
}

TEST(MalformedSignature, CompressedNumbersWithoutAForm) {
    for (int first = 0xE0; first <= 0xFF; ++first) {
        const uint8_t b = static_cast<uint8_t>(first);
        EXPECT_FALSE(parses({0x00, b, 0x00, 0x00, 0x00, ELEMENT_TYPE_VOID})) << "param count " << first;
        EXPECT_FALSE(parses({SIG_GENERIC, b, 0x00, 0x00, 0x00, 0x00, ELEMENT_TYPE_VOID})) << "generic count";
        EXPECT_FALSE(parses({0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_CLASS, b, 0, 0, 0})) << "token";
        EXPECT_FALSE(parses({0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_CMOD_OPT, b, 0, 0, 0, ELEMENT_TYPE_I4}));
        EXPECT_FALSE(parses({0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_MVAR, b, 0, 0, 0}));
        EXPECT_FALSE(parses({0x06, ELEMENT_TYPE_ARRAY, ELEMENT_TYPE_I4, b, 0, 0, 0, 0x00, 0x00}));
    }
}

TEST(MalformedSignature, GenericInstantiationOfNeitherClassNorValueType) {
    EXPECT_FALSE(parses(cat({{0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_GENERICINST, ELEMENT_TYPE_I4},
                             typeRefCoded(3), {0x01, ELEMENT_TYPE_I4}})));
    EXPECT_TRUE(parses(cat({{0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_GENERICINST, ELEMENT_TYPE_VALUETYPE},
                            typeRefCoded(3), {0x01, ELEMENT_TYPE_I4}})));
}

TEST(MalformedSignature, SecondSentinel) {
    EXPECT_FALSE(parses({0x00, 0x03, ELEMENT_TYPE_VOID, ELEMENT_TYPE_I4, ELEMENT_TYPE_SENTINEL, ELEMENT_TYPE_I4,
                         ELEMENT_TYPE_SENTINEL, ELEMENT_TYPE_I4}));
}

TEST(MalformedSignature, ParameterCountBeyondTheBlob) {
    EXPECT_FALSE(parses({0x00, 0x02, ELEMENT_TYPE_VOID, ELEMENT_TYPE_I4}));
    EXPECT_FALSE(parses(cat({{0x00}, compressed(0x1FFFFFFF), {ELEMENT_TYPE_VOID, ELEMENT_TYPE_I4}})));
}

TEST(MalformedSignature, ArrayShapeCountsBeyondTheBlob) {
    EXPECT_FALSE(parses(cat({{0x06, ELEMENT_TYPE_ARRAY, ELEMENT_TYPE_I4, 0x01}, compressed(0x1FFFFFFF), {0x00}})));
}

TEST(MalformedSignature, FailureInsideAFunctionPointerFailsTheParse) {
    EXPECT_FALSE(parses({0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_FNPTR, SIG_EXPLICITTHIS, 0x00,
                         ELEMENT_TYPE_VOID}));
    EXPECT_FALSE(parses({0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_FNPTR, 0x00, 0x02, ELEMENT_TYPE_VOID,
                         ELEMENT_TYPE_I4}));
}

TEST(MalformedSignature, NestingIsBounded) {
    Bytes shallow = {0x06};
    shallow.insert(shallow.end(), 200, ELEMENT_TYPE_SZARRAY);
    shallow.push_back(ELEMENT_TYPE_I4);
    EXPECT_TRUE(parses(shallow));

    Bytes deep = {0x06};
    deep.insert(deep.end(), 100000, ELEMENT_TYPE_PTR);
    deep.push_back(ELEMENT_TYPE_I4);
    EXPECT_FALSE(parses(deep));
}

}  // namespace
