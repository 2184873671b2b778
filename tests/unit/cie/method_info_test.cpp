// getMethodInfo: identity and header fields, and names and signature from
// metadata copied into the caller's bounded buffers.
#include <string>

#include "engine_fixture.h"

namespace cie_test {
namespace {

using tavoli::EngineMethodInfo;
using tavoli::MRTE_RESULT_OK;

const cor::mdTypeDef kClass = 0x02000004;

class MethodInfo : public EngineTest {
protected:
    void SetUp() override {
        info.metadata.methods[kMethodToken] = FakeMethodDef{u"Enter", kClass, {0x00, 0x01, 0x01, 0x1C}};
        info.metadata.typeDefs[kClass] = u"System.Threading.Monitor";
        method = load(fatBody(Code().op(0x02).op(0x2A).bytes(), 6, 0, false));
        ASSERT_NE(nullptr, method);
    }
    static std::u16string text(const vesk_wchar* s) {
        return std::u16string(s, s + std::char_traits<char16_t>::length(s));
    }

    MethodPtr method;
};

TEST_F(MethodInfo, FillsEverythingWithRoomyBuffers) {
    vesk_wchar className[64], methodName[64];
    uint8_t signature[16] = {};
    EngineMethodInfo mi = {};
    mi.className = className;
    mi.classNameCapacity = 64;
    mi.methodName = methodName;
    mi.methodNameCapacity = 64;
    mi.signature = signature;
    mi.signatureCapacity = 16;
    ASSERT_EQ(MRTE_RESULT_OK, method->getMethodInfo(&mi));
    EXPECT_EQ(kModule, mi.moduleId);
    EXPECT_EQ(kMethodToken, mi.methodToken);
    EXPECT_EQ(kClass, mi.classToken);
    EXPECT_EQ(u"System.Threading.Monitor", text(className));
    EXPECT_EQ(24u, mi.classNameLength);
    EXPECT_EQ(u"Enter", text(methodName));
    EXPECT_EQ(5u, mi.methodNameLength);
    EXPECT_EQ(2u, mi.ilSize);
    EXPECT_EQ(6u, mi.maxStack);
    EXPECT_EQ(4u, mi.signatureLength);
    EXPECT_EQ((Bytes{0x00, 0x01, 0x01, 0x1C}), Bytes(signature, signature + 4));
    EXPECT_EQ(0u, mi.reserved9);
    EXPECT_EQ(kFunction, method->functionId());
}

TEST_F(MethodInfo, TruncatesToTheCapacities) {
    vesk_wchar className[8], methodName[3];
    for (auto& c : className) c = u'#';
    uint8_t signature[3] = {0xEE, 0xEE, 0xEE};
    EngineMethodInfo mi = {};
    mi.className = className;
    mi.classNameCapacity = 7;
    mi.methodName = methodName;
    mi.methodNameCapacity = 3;
    mi.signature = signature;
    mi.signatureCapacity = 2;
    ASSERT_EQ(MRTE_RESULT_OK, method->getMethodInfo(&mi));
    EXPECT_EQ(u"System", text(className));
    EXPECT_EQ(u'#', className[7]);
    EXPECT_EQ(24u, mi.classNameLength);
    EXPECT_EQ(u"En", text(methodName));
    EXPECT_EQ(5u, mi.methodNameLength);
    EXPECT_EQ(4u, mi.signatureLength);
    EXPECT_EQ((Bytes{0x00, 0x01, 0xEE}), Bytes(signature, signature + 3));
}

TEST_F(MethodInfo, NoBuffersStillGivesLengths) {
    EngineMethodInfo mi = {};
    ASSERT_EQ(MRTE_RESULT_OK, method->getMethodInfo(&mi));
    EXPECT_EQ(24u, mi.classNameLength);
    EXPECT_EQ(5u, mi.methodNameLength);
    EXPECT_EQ(4u, mi.signatureLength);
    // A capacity without a buffer is no buffer.
    mi.classNameCapacity = 10;
    mi.methodNameCapacity = 10;
    mi.signatureCapacity = 10;
    ASSERT_EQ(MRTE_RESULT_OK, method->getMethodInfo(&mi));
}

TEST_F(MethodInfo, WithoutMetadataOnlyTheRuntimesFacts) {
    info.metadataAvailable = false;
    MethodPtr other = load(tinyBody(Code().op(0x2A).bytes()), kFunction + 1, kMethodToken + 1);
    ASSERT_NE(nullptr, other);
    vesk_wchar className[8] = {u'x'}, methodName[8] = {u'y'};
    EngineMethodInfo mi = {};
    mi.className = className;
    mi.classNameCapacity = 8;
    mi.methodName = methodName;
    mi.methodNameCapacity = 8;
    mi.classToken = 77;
    ASSERT_EQ(MRTE_RESULT_OK, other->getMethodInfo(&mi));
    EXPECT_EQ(kModule, mi.moduleId);
    EXPECT_EQ(kMethodToken + 1, mi.methodToken);
    EXPECT_EQ(1u, mi.ilSize);
    EXPECT_EQ(8u, mi.maxStack);
    EXPECT_EQ(0u, mi.classToken);
    EXPECT_EQ(0u, mi.classNameLength);
    EXPECT_EQ(0u, mi.methodNameLength);
    EXPECT_EQ(0u, mi.signatureLength);
    EXPECT_EQ(u"", text(className));
    EXPECT_EQ(u"", text(methodName));
}

TEST_F(MethodInfo, UnknownMethodInMetadata) {
    MethodPtr other = load(tinyBody(Code().op(0x2A).bytes()), kFunction + 2, kMethodToken + 2);
    ASSERT_NE(nullptr, other);
    vesk_wchar methodName[8] = {u'y'};
    EngineMethodInfo mi = {};
    mi.methodName = methodName;
    mi.methodNameCapacity = 8;
    ASSERT_EQ(MRTE_RESULT_OK, other->getMethodInfo(&mi));
    EXPECT_EQ(0u, mi.methodNameLength);
    EXPECT_EQ(u"", text(methodName));
}

TEST_F(MethodInfo, NullInfoIsAnError) { EXPECT_NE(MRTE_RESULT_OK, method->getMethodInfo(nullptr)); }

TEST_F(MethodInfo, MetadataIsGivenBack) {
    EngineMethodInfo mi = {};
    ASSERT_EQ(MRTE_RESULT_OK, method->getMethodInfo(&mi));
    ASSERT_EQ(MRTE_RESULT_OK, method->getMethodInfo(&mi));
    EXPECT_EQ(2, info.metadata.references.load());  // opened once
    method.reset();
    EXPECT_EQ(1, info.metadata.references.load());
}

}  // namespace
}  // namespace cie_test
