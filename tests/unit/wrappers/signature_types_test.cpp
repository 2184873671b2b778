// What the parser records for each kind of type, where it records it, and
// which nested types leave the record alone.
#include "blob_bytes.h"
#include "clrprof/signature_parser.h"
#include "fake_metadata.h"

#include <gtest/gtest.h>

using namespace veskmrte_1_0;
using namespace testing_support;

namespace {

class SignatureTypes : public ::testing::Test {
protected:
    SignatureTypes() {
        import.addTypeRef(typeRefToken(3), VESK_W("Lib.Widget"));
        import.addTypeRef(typeRefToken(4), VESK_W("Lib.Point"));
        import.addTypeRef(typeRefToken(5), VESK_W("System.Collections.Generic.List`1"));
        import.addTypeRef(typeRefToken(0x50), VESK_W("System.Runtime.CompilerServices.IsVolatile"));
        import.addTypeRef(typeRefToken(0x10000), VESK_W("System.Runtime.InteropServices.InAttribute"));
    }

    signature parse(const Bytes& blob) {
        signature sig;
        SignatureParser parser(&import);
        ExactCopy copy(blob);
        EXPECT_TRUE(parser.parse(copy.data(), copy.size(), sig));
        return sig;
    }

    // A static method taking the given parameter types and returning void.
    signature parseParams(uint32_t count, const Bytes& params) {
        return parse(cat({{0x00}, compressed(count), {ELEMENT_TYPE_VOID}, params}));
    }

    FakeMetaDataImport import;
};

struct PrimitiveRow {
    uint8_t elementType;
    uint32_t size;
};

class PrimitiveTypes : public SignatureTypes, public ::testing::WithParamInterface<PrimitiveRow> {};

TEST_P(PrimitiveTypes, TakeTheSizeOfTheThirtyTwoBitTarget) {
    const PrimitiveRow row = GetParam();
    // Followed by a second parameter, to show the type read exactly its one
    // byte.
    signature sig = parseParams(2, {row.elementType, ELEMENT_TYPE_I8});
    ASSERT_EQ(sig.types.size(), 3u);
    EXPECT_EQ(sig.types[1].elementType, row.elementType);
    EXPECT_EQ(sig.types[1].size, row.size);
    EXPECT_EQ(sig.types[1].modifier, kModifierPlain);
    EXPECT_EQ(sig.types[1].token, 0u);
    EXPECT_TRUE(sig.types[1].name.empty());
    EXPECT_EQ(sig.types[2].elementType, ELEMENT_TYPE_I8);
}

INSTANTIATE_TEST_SUITE_P(EveryPrimitive, PrimitiveTypes,
                         ::testing::Values(PrimitiveRow{0x01, 1}, PrimitiveRow{0x02, 1}, PrimitiveRow{0x03, 1},
                                           PrimitiveRow{0x04, 1}, PrimitiveRow{0x05, 1}, PrimitiveRow{0x06, 2},
                                           PrimitiveRow{0x07, 2}, PrimitiveRow{0x08, 4}, PrimitiveRow{0x09, 4},
                                           PrimitiveRow{0x0A, 8}, PrimitiveRow{0x0B, 8}, PrimitiveRow{0x0C, 4},
                                           PrimitiveRow{0x0D, 8}, PrimitiveRow{0x0E, 4}, PrimitiveRow{0x18, 4},
                                           PrimitiveRow{0x19, 4}, PrimitiveRow{0x1C, 4}));

TEST_F(SignatureTypes, ValueTypeNamesItsTypeReferenceWithoutASize) {
    signature sig = parseParams(1, cat({{ELEMENT_TYPE_VALUETYPE}, typeRefCoded(4)}));
    const TypeEntry& param = sig.types[1];
    EXPECT_EQ(param.elementType, ELEMENT_TYPE_VALUETYPE);
    EXPECT_EQ(param.size, 0u);
    EXPECT_EQ(param.token, typeRefToken(4));
    EXPECT_EQ(param.name, VESK_W("Lib.Point"));
    ASSERT_EQ(sig.typeTokenSlots.size(), 1u);
    EXPECT_EQ(sig.typeTokenSlots[0].offset, 4u);
    EXPECT_EQ(sig.typeTokenSlots[0].length, 1u);
    EXPECT_EQ(sig.typeTokenSlots[0].typeName, VESK_W("Lib.Point"));
}

TEST_F(SignatureTypes, ClassIsAReferenceOfFourBytes) {
    signature sig = parseParams(1, cat({{ELEMENT_TYPE_CLASS}, typeRefCoded(3)}));
    EXPECT_EQ(sig.types[1].size, 4u);
    EXPECT_EQ(sig.types[1].token, typeRefToken(3));
    EXPECT_EQ(sig.types[1].name, VESK_W("Lib.Widget"));
}

TEST_F(SignatureTypes, EveryTokenTableDecodesButOnlyTypeReferencesBecomeSlots) {
    signature sig = parseParams(4, cat({{ELEMENT_TYPE_CLASS}, typeDefCoded(3), {ELEMENT_TYPE_CLASS}, typeSpecCoded(3),
                                        {ELEMENT_TYPE_CLASS}, compressed((3 << 2) | 3), {ELEMENT_TYPE_CLASS},
                                        typeRefCoded(3)}));
    ASSERT_EQ(sig.types.size(), 5u);
    EXPECT_EQ(sig.types[1].token, 0x02000003u);
    EXPECT_EQ(sig.types[2].token, 0x1B000003u);
    EXPECT_EQ(sig.types[3].token, 0x72000003u);
    EXPECT_EQ(sig.types[4].token, 0x01000003u);
    // A type reference's name only: no other kind of token is looked up as
    // one.
    EXPECT_TRUE(sig.types[1].name.empty());
    EXPECT_TRUE(sig.types[2].name.empty());
    EXPECT_TRUE(sig.types[3].name.empty());
    EXPECT_EQ(import.typeRefRequests, 2);  // the slot and the entry
    ASSERT_EQ(sig.typeTokenSlots.size(), 1u);
    EXPECT_EQ(sig.typeTokenSlots[0].offset, 10u);
}

TEST_F(SignatureTypes, GenericParametersConsumeTheirNumberInEveryForm) {
    signature sig = parse(cat({{SIG_GENERIC, 0x01, 0x03, 0x01, ELEMENT_TYPE_VAR}, compressed(0x100),
                               {ELEMENT_TYPE_MVAR}, compressed(0x20000), {ELEMENT_TYPE_I2}}));
    ASSERT_EQ(sig.types.size(), 4u);
    EXPECT_EQ(sig.types[1].elementType, ELEMENT_TYPE_VAR);
    EXPECT_EQ(sig.types[1].size, 0u);
    EXPECT_EQ(sig.types[1].token, 0u);
    EXPECT_EQ(sig.types[2].elementType, ELEMENT_TYPE_MVAR);
    EXPECT_EQ(sig.types[3].elementType, ELEMENT_TYPE_I2);
}

TEST_F(SignatureTypes, PointerToVoidKeepsThePointerCode) {
    signature sig = parseParams(2, {ELEMENT_TYPE_PTR, ELEMENT_TYPE_VOID, ELEMENT_TYPE_U1});
    EXPECT_EQ(sig.types[1].elementType, ELEMENT_TYPE_PTR);
    EXPECT_EQ(sig.types[1].modifier, kModifierPointer);
    EXPECT_EQ(sig.types[1].size, 4u);
    EXPECT_EQ(sig.types[2].elementType, ELEMENT_TYPE_U1);
}

TEST_F(SignatureTypes, PointerToATypeRecordsThePointedTypeWithCustomModifiersInBetween) {
    signature sig = parseParams(1, cat({{ELEMENT_TYPE_PTR, ELEMENT_TYPE_CMOD_OPT}, typeRefCoded(0x50),
                                        {ELEMENT_TYPE_VALUETYPE}, typeRefCoded(4)}));
    const TypeEntry& param = sig.types[1];
    // Recording stays on, so the pointed type's code and size win.
    EXPECT_EQ(param.elementType, ELEMENT_TYPE_VALUETYPE);
    EXPECT_EQ(param.modifier, kModifierPointer);
    EXPECT_EQ(param.size, 4u);
    EXPECT_EQ(param.token, typeRefToken(4));
    ASSERT_EQ(sig.typeTokenSlots.size(), 2u);
    EXPECT_EQ(sig.typeTokenSlots[0].offset, 5u);
    EXPECT_EQ(sig.typeTokenSlots[0].length, 2u);
    EXPECT_EQ(sig.typeTokenSlots[1].offset, 8u);
}

TEST_F(SignatureTypes, MultiDimensionalArrayReadsShapeAndKeepsElementToken) {
    // Widget[0..2, 1..] then long: rank 2, sizes {3}, lower bounds {0, 1}.
    signature sig = parseParams(2, cat({{ELEMENT_TYPE_ARRAY, ELEMENT_TYPE_CLASS}, typeRefCoded(3),
                                        {0x02, 0x01, 0x03, 0x02, 0x00, 0x01, ELEMENT_TYPE_I8}}));
    ASSERT_EQ(sig.types.size(), 3u);
    EXPECT_EQ(sig.types[1].elementType, ELEMENT_TYPE_CLASS);
    EXPECT_EQ(sig.types[1].token, typeRefToken(3));
    EXPECT_EQ(sig.types[1].name, VESK_W("Lib.Widget"));
    EXPECT_EQ(sig.types[2].elementType, ELEMENT_TYPE_I8);
}

TEST_F(SignatureTypes, NestedArraysKeepTheInnermostElementToken) {
    signature sig = parseParams(1, cat({{ELEMENT_TYPE_SZARRAY, ELEMENT_TYPE_SZARRAY, ELEMENT_TYPE_CLASS},
                                        typeRefCoded(3)}));
    const TypeEntry& param = sig.types[1];
    EXPECT_EQ(param.elementType, ELEMENT_TYPE_SZARRAY);
    EXPECT_EQ(param.modifier, kModifierByRef);
    EXPECT_EQ(param.size, 4u);
    EXPECT_EQ(param.token, typeRefToken(3));
    EXPECT_EQ(param.name, VESK_W("Lib.Widget"));
}

TEST_F(SignatureTypes, GenericInstantiationKeepsTheFirstTokenANestedTypeRecorded) {
    // List<Widget, Point>: the arguments are parsed into the same entry
    // before the instantiation's own token would be taken.
    signature sig = parseParams(1, cat({{ELEMENT_TYPE_GENERICINST, ELEMENT_TYPE_CLASS}, typeRefCoded(5), {0x02},
                                        {ELEMENT_TYPE_CLASS}, typeRefCoded(3), {ELEMENT_TYPE_VALUETYPE},
                                        typeRefCoded(4)}));
    const TypeEntry& param = sig.types[1];
    EXPECT_EQ(param.token, typeRefToken(3));
    EXPECT_EQ(param.name, VESK_W("Lib.Widget"));
    EXPECT_EQ(param.elementType, ELEMENT_TYPE_VALUETYPE);
    ASSERT_EQ(sig.typeTokenSlots.size(), 3u);
    EXPECT_EQ(sig.typeTokenSlots[0].typeName, VESK_W("System.Collections.Generic.List`1"));
    EXPECT_EQ(sig.typeTokenSlots[1].typeName, VESK_W("Lib.Widget"));
    EXPECT_EQ(sig.typeTokenSlots[2].typeName, VESK_W("Lib.Point"));
}

TEST_F(SignatureTypes, GenericInstantiationOverPrimitivesKeepsTheGenericTypeToken) {
    signature sig = parseParams(2, cat({{ELEMENT_TYPE_GENERICINST, ELEMENT_TYPE_VALUETYPE}, typeRefCoded(5),
                                        {0x01, ELEMENT_TYPE_I4, ELEMENT_TYPE_R8}}));
    EXPECT_EQ(sig.types[1].token, typeRefToken(5));
    EXPECT_EQ(sig.types[1].name, VESK_W("System.Collections.Generic.List`1"));
    EXPECT_EQ(sig.types[2].elementType, ELEMENT_TYPE_R8);
}

TEST_F(SignatureTypes, SingleDimensionArrayRecordsOnlyTheArray) {
    signature sig = parseParams(2, {ELEMENT_TYPE_SZARRAY, ELEMENT_TYPE_I8, ELEMENT_TYPE_I2});
    EXPECT_EQ(sig.types[1].elementType, ELEMENT_TYPE_SZARRAY);
    EXPECT_EQ(sig.types[1].size, 4u);
    EXPECT_EQ(sig.types[1].modifier, kModifierByRef);
    EXPECT_EQ(sig.types[2].elementType, ELEMENT_TYPE_I2);
    EXPECT_EQ(sig.types[2].size, 2u);
}

TEST_F(SignatureTypes, FunctionPointerLeavesTheRecordAloneAndRecordingResumes) {
    // delegate*<instance generic Widget(long, string)>, then int.
    Bytes fnptr = cat({{ELEMENT_TYPE_FNPTR, SIG_HASTHIS | SIG_GENERIC, 0x03, 0x02, ELEMENT_TYPE_CLASS},
                       typeRefCoded(3), {ELEMENT_TYPE_I8, ELEMENT_TYPE_STRING}});
    signature sig = parseParams(2, cat({fnptr, {ELEMENT_TYPE_I4}}));
    EXPECT_FALSE(sig.hasThis);
    EXPECT_EQ(sig.genericParamCount, 0u);
    EXPECT_EQ(sig.paramCount, 2u);
    ASSERT_EQ(sig.types.size(), 3u);
    EXPECT_EQ(sig.types[1].elementType, ELEMENT_TYPE_FNPTR);
    EXPECT_EQ(sig.types[1].modifier, kModifierFunctionPointer);
    EXPECT_EQ(sig.types[1].size, 4u);
    EXPECT_EQ(sig.types[1].token, 0u);
    EXPECT_EQ(sig.types[2].elementType, ELEMENT_TYPE_I4);
    EXPECT_EQ(sig.types[2].modifier, kModifierPlain);
    EXPECT_EQ(sig.types[2].size, 4u);
    // Its type references still need re-encoding.
    ASSERT_EQ(sig.typeTokenSlots.size(), 1u);
    EXPECT_EQ(sig.typeTokenSlots[0].offset, 8u);
}

TEST_F(SignatureTypes, NestedSwitchesRestoreRatherThanForceRecording) {
    // int[] of function pointers taking long[], then short.
    signature sig = parseParams(2, {ELEMENT_TYPE_SZARRAY, ELEMENT_TYPE_FNPTR, 0x00, 0x01, ELEMENT_TYPE_VOID,
                                    ELEMENT_TYPE_SZARRAY, ELEMENT_TYPE_I8, ELEMENT_TYPE_I2});
    ASSERT_EQ(sig.types.size(), 3u);
    EXPECT_EQ(sig.types[1].elementType, ELEMENT_TYPE_SZARRAY);
    EXPECT_EQ(sig.types[1].modifier, kModifierByRef);
    EXPECT_EQ(sig.types[2].elementType, ELEMENT_TYPE_I2);
    EXPECT_EQ(sig.paramCount, 2u);
}

TEST_F(SignatureTypes, TypesAfterANestedSwitchInsideAFunctionPointerStayUnrecorded) {
    // delegate*<void(int[], long)>, then short.
    signature arrayFirst = parseParams(2, {ELEMENT_TYPE_FNPTR, 0x00, 0x02, ELEMENT_TYPE_VOID, ELEMENT_TYPE_SZARRAY,
                                           ELEMENT_TYPE_I4, ELEMENT_TYPE_I8, ELEMENT_TYPE_I2});
    ASSERT_EQ(arrayFirst.types.size(), 3u);
    EXPECT_EQ(arrayFirst.types[1].elementType, ELEMENT_TYPE_FNPTR);
    EXPECT_EQ(arrayFirst.types[2].elementType, ELEMENT_TYPE_I2);
    EXPECT_EQ(arrayFirst.types[2].size, 2u);

    // delegate*<void(delegate*<void()>, long)>, then short.
    signature pointerFirst = parseParams(2, {ELEMENT_TYPE_FNPTR, 0x00, 0x02, ELEMENT_TYPE_VOID, ELEMENT_TYPE_FNPTR,
                                             0x00, 0x00, ELEMENT_TYPE_VOID, ELEMENT_TYPE_I8, ELEMENT_TYPE_I2});
    ASSERT_EQ(pointerFirst.types.size(), 3u);
    EXPECT_EQ(pointerFirst.paramCount, 2u);
    EXPECT_EQ(pointerFirst.types[2].elementType, ELEMENT_TYPE_I2);

    // Gen<delegate*<void()>, long>[]: the array's code stays.
    signature inArray = parseParams(1, cat({{ELEMENT_TYPE_SZARRAY, ELEMENT_TYPE_GENERICINST, ELEMENT_TYPE_CLASS},
                                            typeRefCoded(5), {0x02, ELEMENT_TYPE_FNPTR, 0x00, 0x00,
                                                              ELEMENT_TYPE_VOID, ELEMENT_TYPE_I8}}));
    EXPECT_EQ(inArray.types[1].elementType, ELEMENT_TYPE_SZARRAY);
    EXPECT_EQ(inArray.types[1].size, 4u);
    EXPECT_EQ(inArray.types[1].modifier, kModifierByRef);
}

TEST_F(SignatureTypes, CodesWithoutATypeBodyReadNothingMore) {
    // ByRef reached inside an array, and a code no type uses.
    signature sig = parseParams(3, {ELEMENT_TYPE_SZARRAY, ELEMENT_TYPE_BYREF, 0x45, ELEMENT_TYPE_I4});
    ASSERT_EQ(sig.types.size(), 4u);
    EXPECT_EQ(sig.types[1].elementType, ELEMENT_TYPE_SZARRAY);
    EXPECT_EQ(sig.types[2].elementType, 0x45);
    EXPECT_EQ(sig.types[2].size, 0u);
    EXPECT_EQ(sig.types[3].elementType, ELEMENT_TYPE_I4);
}

TEST_F(SignatureTypes, ReturnTypesAreNeverMarkedPlain) {
    signature v = parse({0x00, 0x00, ELEMENT_TYPE_VOID});
    EXPECT_EQ(v.types[0].elementType, ELEMENT_TYPE_VOID);
    EXPECT_EQ(v.types[0].size, 0u);
    EXPECT_EQ(v.types[0].modifier, kModifierNone);

    signature i = parse({0x00, 0x00, ELEMENT_TYPE_I4});
    EXPECT_EQ(i.types[0].modifier, kModifierNone);
    EXPECT_EQ(i.types[0].size, 4u);

    signature byRef = parse({0x00, 0x00, ELEMENT_TYPE_BYREF, ELEMENT_TYPE_I8});
    EXPECT_EQ(byRef.types[0].modifier, kModifierByRef);
    EXPECT_EQ(byRef.types[0].elementType, ELEMENT_TYPE_I8);

    signature typedByRef = parse({0x00, 0x00, ELEMENT_TYPE_TYPEDBYREF});
    EXPECT_EQ(typedByRef.types[0].modifier, kModifierByRef);
    EXPECT_EQ(typedByRef.types[0].elementType, 0);
}

TEST_F(SignatureTypes, ByRefAndTypedReferenceParameters) {
    signature sig = parseParams(2, cat({{ELEMENT_TYPE_TYPEDBYREF, ELEMENT_TYPE_BYREF, ELEMENT_TYPE_CLASS},
                                        typeRefCoded(3)}));
    EXPECT_EQ(sig.types[1].modifier, kModifierByRef);
    EXPECT_EQ(sig.types[1].elementType, 0);
    EXPECT_EQ(sig.types[2].modifier, kModifierByRef);
    EXPECT_EQ(sig.types[2].elementType, ELEMENT_TYPE_CLASS);
    EXPECT_EQ(sig.types[2].token, typeRefToken(3));
}

TEST_F(SignatureTypes, CustomModifiersBecomeSlotsAtTheirOffsetsInEveryLength) {
    // static void (modreq(IsVolatile) modopt(<typedef>) int, modopt(In) string)
    Bytes blob = cat({{0x00, 0x02, ELEMENT_TYPE_VOID, ELEMENT_TYPE_CMOD_REQD}, typeRefCoded(0x50),
                      {ELEMENT_TYPE_CMOD_OPT}, typeDefCoded(3), {ELEMENT_TYPE_I4, ELEMENT_TYPE_CMOD_OPT},
                      typeRefCoded(0x10000), {ELEMENT_TYPE_STRING}});
    signature sig = parse(blob);
    ASSERT_EQ(sig.typeTokenSlots.size(), 2u);
    EXPECT_EQ(sig.typeTokenSlots[0].offset, 4u);
    EXPECT_EQ(sig.typeTokenSlots[0].length, 2u);
    EXPECT_EQ(sig.typeTokenSlots[0].typeName, VESK_W("System.Runtime.CompilerServices.IsVolatile"));
    EXPECT_EQ(sig.typeTokenSlots[1].offset, 10u);
    EXPECT_EQ(sig.typeTokenSlots[1].length, 4u);
    EXPECT_EQ(sig.typeTokenSlots[1].typeName, VESK_W("System.Runtime.InteropServices.InAttribute"));
    EXPECT_EQ(blob[sig.typeTokenSlots[1].offset], 0xC0);
    // Modifiers name no entry's type.
    EXPECT_EQ(sig.types[1].elementType, ELEMENT_TYPE_I4);
    EXPECT_EQ(sig.types[1].token, 0u);
    EXPECT_EQ(sig.types[2].elementType, ELEMENT_TYPE_STRING);
}

TEST_F(SignatureTypes, ReturnTypeCustomModifiersAreSlotsToo) {
    signature sig = parse(cat({{0x00, 0x00, ELEMENT_TYPE_CMOD_OPT}, typeRefCoded(3), {ELEMENT_TYPE_VOID}}));
    ASSERT_EQ(sig.typeTokenSlots.size(), 1u);
    EXPECT_EQ(sig.typeTokenSlots[0].offset, 3u);
    EXPECT_EQ(sig.types[0].elementType, ELEMENT_TYPE_VOID);
}

TEST_F(SignatureTypes, GenericInstanceMethodCounts) {
    signature sig = parse(cat({{SIG_HASTHIS | SIG_GENERIC}, compressed(0x100), {0x01, ELEMENT_TYPE_MVAR, 0x01,
                                                                                  ELEMENT_TYPE_MVAR, 0x00}}));
    EXPECT_EQ(sig.kind, kMethodSignature);
    EXPECT_TRUE(sig.hasThis);
    EXPECT_EQ(sig.genericParamCount, 0x100u);
    EXPECT_EQ(sig.paramCount, 1u);
    ASSERT_EQ(sig.types.size(), 2u);
    EXPECT_EQ(sig.types[0].elementType, ELEMENT_TYPE_MVAR);
}

TEST_F(SignatureTypes, OneSentinelIsAllowed) {
    signature sig = parseParams(2, {ELEMENT_TYPE_I4, ELEMENT_TYPE_SENTINEL, ELEMENT_TYPE_I8});
    ASSERT_EQ(sig.types.size(), 3u);
    EXPECT_EQ(sig.types[2].elementType, ELEMENT_TYPE_I8);
}

TEST_F(SignatureTypes, FieldSignature) {
    signature sig = parse(cat({{0x06, ELEMENT_TYPE_CMOD_REQD}, typeRefCoded(0x50), {ELEMENT_TYPE_VALUETYPE},
                               typeRefCoded(4)}));
    EXPECT_EQ(sig.kind, kFieldSignature);
    EXPECT_TRUE(sig.types.empty());
    EXPECT_EQ(sig.fieldType.elementType, ELEMENT_TYPE_VALUETYPE);
    EXPECT_EQ(sig.fieldType.token, typeRefToken(4));
    EXPECT_EQ(sig.fieldType.modifier, kModifierNone);
    EXPECT_EQ(sig.typeTokenSlots.size(), 2u);
}

TEST_F(SignatureTypes, ParsingAppendsAndLeavesTheOwnersFieldsAlone) {
    signature sig;
    sig.overloadID = 7;
    sig.rawBlob = {0xAA};
    SignatureParser parser(&import);
    const Bytes blob = {0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_CLASS, 0x0D};
    ExactCopy copy(blob);
    ASSERT_TRUE(parser.parse(copy.data(), copy.size(), sig));
    ASSERT_TRUE(parser.parse(copy.data(), copy.size(), sig));
    EXPECT_EQ(sig.types.size(), 4u);
    EXPECT_EQ(sig.typeTokenSlots.size(), 2u);
    EXPECT_EQ(sig.overloadID, 7u);
    EXPECT_EQ(sig.rawBlob, Bytes{0xAA});
}

TEST_F(SignatureTypes, WithoutAnImportEveryNameIsEmpty) {
    signature sig;
    SignatureParser parser(nullptr);
    const Bytes blob = cat({{0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_CLASS}, typeRefCoded(3)});
    ExactCopy copy(blob);
    ASSERT_TRUE(parser.parse(copy.data(), copy.size(), sig));
    EXPECT_EQ(sig.types[1].token, typeRefToken(3));
    EXPECT_TRUE(sig.types[1].name.empty());
    ASSERT_EQ(sig.typeTokenSlots.size(), 1u);
    EXPECT_TRUE(sig.typeTokenSlots[0].typeName.empty());
}

// ---- type names ----------------------------------------------------------------

TEST_F(SignatureTypes, TypeNameOfAReferenceTheImportKnows) {
    SignatureParser parser(&import);
    EXPECT_EQ(parser.getTypeName(typeRefToken(3)), VESK_W("Lib.Widget"));
    EXPECT_TRUE(parser.getTypeName(typeRefToken(99)).empty());
    EXPECT_TRUE(parser.getTypeName(0).empty());
}

TEST_F(SignatureTypes, TypeNameNeverAsksForOtherKindsOfToken) {
    SignatureParser parser(&import);
    EXPECT_TRUE(parser.getTypeName(typeDefToken(3)).empty());
    EXPECT_TRUE(parser.getTypeName(0x1B000003).empty());
    EXPECT_TRUE(parser.getTypeName(0x01000000).empty());
    EXPECT_EQ(import.typeRefRequests, 0);
}

TEST_F(SignatureTypes, TypeNameFillingTheBufferIsRefused) {
    import.addTypeRef(typeRefToken(7), vesk::WString(254, u'a'));
    import.addTypeRef(typeRefToken(8), vesk::WString(255, u'b'));
    import.addTypeRef(typeRefToken(9), vesk::WString(300, u'c'));
    SignatureParser parser(&import);
    EXPECT_EQ(parser.getTypeName(typeRefToken(7)), vesk::WString(254, u'a'));
    EXPECT_TRUE(parser.getTypeName(typeRefToken(8)).empty());
    EXPECT_TRUE(parser.getTypeName(typeRefToken(9)).empty());
}

TEST_F(SignatureTypes, TypeNameIgnoresALengthPastTheBuffer) {
    FakeName& liar = import.typeRefs[typeRefToken(7)];
    liar.text = VESK_W("Short");
    liar.reportedLength = 5000;
    FakeName& failing = import.typeRefs[typeRefToken(8)];
    failing.text = VESK_W("Failing");
    failing.hr = E_FAIL;
    SignatureParser parser(&import);
    EXPECT_TRUE(parser.getTypeName(typeRefToken(7)).empty());
    EXPECT_TRUE(parser.getTypeName(typeRefToken(8)).empty());
}

}  // namespace
