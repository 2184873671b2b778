// Which wrapper overload may replace a call target.
#include "blob_bytes.h"
#include "clrprof/signature_parser.h"
#include "fake_metadata.h"

#include <gtest/gtest.h>

using namespace veskmrte_1_0;
using namespace testing_support;

namespace {

class CompareSignatures : public ::testing::Test {
protected:
    CompareSignatures() {
        // The instrumented module names its types with its own tokens...
        module.addTypeRef(typeRefToken(7), VESK_W("Lib.Widget"));
        module.addTypeRef(typeRefToken(8), VESK_W("Lib.Gadget"));
        module.addTypeDef(typeDefToken(2), VESK_W("App.Order"));
        // ...the wrapper assembly with others.
        wrapperImport.addTypeRef(typeRefToken(1), VESK_W("Lib.Widget"));
        wrapperImport.addTypeRef(typeRefToken(2), VESK_W("lib.widget"));
        wrapperImport.addTypeRef(typeRefToken(3), VESK_W("App.Order"));
        wrapperImport.addTypeRef(typeRefToken(4), VESK_W("System.Object"));
    }

    signature target(const Bytes& blob) { return parseWith(&module, blob); }
    signature wrapper(const Bytes& blob) { return parseWith(&wrapperImport, blob); }

    bool match(const signature& t, const signature& w, bool isConstructor = false) {
        return compareSignatures(&module, &t, &w, isConstructor);
    }

    static signature parseWith(cor::IMetaDataImport* import, const Bytes& blob) {
        signature sig;
        SignatureParser parser(import);
        ExactCopy copy(blob);
        EXPECT_TRUE(parser.parse(copy.data(), copy.size(), sig));
        return sig;
    }

    FakeMetaDataImport module;
    FakeMetaDataImport wrapperImport;
};

TEST_F(CompareSignatures, InstanceCallMatchesStaticWrapperTakingTheInstanceFirst) {
    // instance int Widget.Add(long, Widget) / static int Add(object, long, Widget)
    signature t = target(cat({{SIG_HASTHIS, 0x02, ELEMENT_TYPE_I4, ELEMENT_TYPE_I8, ELEMENT_TYPE_CLASS},
                              typeRefCoded(7)}));
    signature w = wrapper(cat({{0x00, 0x03, ELEMENT_TYPE_I4, ELEMENT_TYPE_OBJECT, ELEMENT_TYPE_I8,
                                ELEMENT_TYPE_CLASS},
                               typeRefCoded(1)}));
    EXPECT_TRUE(match(t, w));
    // Without the instance parameter the counts differ.
    signature sameCount = wrapper(cat({{0x00, 0x02, ELEMENT_TYPE_I4, ELEMENT_TYPE_I8, ELEMENT_TYPE_CLASS},
                                       typeRefCoded(1)}));
    EXPECT_FALSE(match(t, sameCount));
}

TEST_F(CompareSignatures, InstanceParameterItselfIsNotCompared) {
    signature t = target({SIG_HASTHIS, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_I4});
    signature w = wrapper({0x00, 0x02, ELEMENT_TYPE_VOID, ELEMENT_TYPE_R8, ELEMENT_TYPE_I4});
    EXPECT_TRUE(match(t, w));
}

TEST_F(CompareSignatures, ParametersAreComparedPositionByPosition) {
    signature t = target({0x00, 0x02, ELEMENT_TYPE_VOID, ELEMENT_TYPE_I4, ELEMENT_TYPE_STRING});
    EXPECT_TRUE(match(t, wrapper({0x00, 0x02, ELEMENT_TYPE_VOID, ELEMENT_TYPE_I4, ELEMENT_TYPE_STRING})));
    EXPECT_FALSE(match(t, wrapper({0x00, 0x02, ELEMENT_TYPE_VOID, ELEMENT_TYPE_I8, ELEMENT_TYPE_STRING})));
    EXPECT_FALSE(match(t, wrapper({0x00, 0x02, ELEMENT_TYPE_VOID, ELEMENT_TYPE_STRING, ELEMENT_TYPE_I4})));
}

TEST_F(CompareSignatures, ReturnTypeCounts) {
    signature t = target({0x00, 0x01, ELEMENT_TYPE_I4, ELEMENT_TYPE_I4});
    EXPECT_FALSE(match(t, wrapper({0x00, 0x01, ELEMENT_TYPE_I8, ELEMENT_TYPE_I4})));
    EXPECT_FALSE(match(t, wrapper({0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_I4})));
}

TEST_F(CompareSignatures, ConstructorWrapperReturnsTheNewObjectAndTakesNoInstance) {
    // instance void Widget::.ctor(string) / static Widget Create(string)
    signature ctor = target({SIG_HASTHIS, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_STRING});
    signature factory = wrapper(cat({{0x00, 0x01, ELEMENT_TYPE_CLASS}, typeRefCoded(1), {ELEMENT_TYPE_STRING}}));
    EXPECT_TRUE(match(ctor, factory, true));
    EXPECT_FALSE(match(ctor, factory, false));

    signature returnsInt = wrapper({0x00, 0x01, ELEMENT_TYPE_I4, ELEMENT_TYPE_STRING});
    EXPECT_FALSE(match(ctor, returnsInt, true));
    signature returnsVoid = wrapper({0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_STRING});
    EXPECT_FALSE(match(ctor, returnsVoid, true));
    signature takesInstance = wrapper(cat({{0x00, 0x02, ELEMENT_TYPE_CLASS}, typeRefCoded(1),
                                           {ELEMENT_TYPE_OBJECT, ELEMENT_TYPE_STRING}}));
    EXPECT_FALSE(match(ctor, takesInstance, true));
}

TEST_F(CompareSignatures, ConstructorWrapperMayReturnAnyReferenceOrValueShape) {
    signature ctor = target({SIG_HASTHIS, 0x00, ELEMENT_TYPE_VOID});
    for (uint8_t shape : {ELEMENT_TYPE_STRING, ELEMENT_TYPE_OBJECT, ELEMENT_TYPE_VAR}) {
        Bytes blob = {0x00, 0x00, shape};
        if (shape == ELEMENT_TYPE_VAR) blob.push_back(0x00);
        EXPECT_TRUE(match(ctor, wrapper(blob), true)) << int(shape);
    }
}

TEST_F(CompareSignatures, TypeNamesAreComparedExactly) {
    signature t = target(cat({{0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_CLASS}, typeRefCoded(7)}));
    EXPECT_TRUE(match(t, wrapper(cat({{0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_CLASS}, typeRefCoded(1)}))));
    EXPECT_FALSE(match(t, wrapper(cat({{0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_CLASS}, typeRefCoded(2)}))));
    signature other = target(cat({{0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_CLASS}, typeRefCoded(8)}));
    EXPECT_FALSE(match(other, wrapper(cat({{0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_CLASS}, typeRefCoded(1)}))));
}

TEST_F(CompareSignatures, TypesTheModuleDefinesAreNamedFromItsDefinitions) {
    signature t = target(cat({{0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_CLASS}, typeDefCoded(2)}));
    EXPECT_TRUE(match(t, wrapper(cat({{0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_CLASS}, typeRefCoded(3)}))));
    EXPECT_EQ(module.typeDefRequests, 1);
}

// Regression: a call of M(ref bool) was redirected to a wrapper M(bool),
// which hands an address where the wrapper expects a value.
TEST_F(CompareSignatures, ByRefParameterNeverMatchesByValue) {
    signature byRef = target({0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_BYREF, ELEMENT_TYPE_BOOLEAN});
    signature byValue = target({0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_BOOLEAN});
    signature wrapperByValue = wrapper({0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_BOOLEAN});
    signature wrapperByRef = wrapper({0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_BYREF, ELEMENT_TYPE_BOOLEAN});
    EXPECT_FALSE(match(byRef, wrapperByValue));
    EXPECT_FALSE(match(byValue, wrapperByRef));
    EXPECT_TRUE(match(byRef, wrapperByRef));
    // A ref return is no plain return either.
    signature refReturn = target({0x00, 0x00, ELEMENT_TYPE_BYREF, ELEMENT_TYPE_I4});
    EXPECT_FALSE(match(refReturn, wrapper({0x00, 0x00, ELEMENT_TYPE_I4})));
}

// Overloads that differ only inside a generic instance: Action<Widget>
// against Action<Widget, object>, Func<Widget> against Func<Gadget>.
TEST_F(CompareSignatures, GenericInstancesAreComparedWhole) {
    wrapperImport.addTypeRef(typeRefToken(5), VESK_W("System.Action`1"));
    wrapperImport.addTypeRef(typeRefToken(6), VESK_W("System.Action`2"));
    module.addTypeRef(typeRefToken(10), VESK_W("System.Action`1"));
    auto oneArg = [](Bytes generic, Bytes arg) {
        return cat({{0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_GENERICINST, ELEMENT_TYPE_CLASS}, generic,
                    {0x01, ELEMENT_TYPE_CLASS}, arg});
    };
    signature t = target(oneArg(typeRefCoded(10), typeRefCoded(7)));
    EXPECT_TRUE(match(t, wrapper(oneArg(typeRefCoded(5), typeRefCoded(1)))));
    EXPECT_FALSE(match(t, wrapper(oneArg(typeRefCoded(5), typeRefCoded(3)))));
    signature twoArgs = wrapper(cat({{0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_GENERICINST, ELEMENT_TYPE_CLASS},
                                     typeRefCoded(6), {0x02, ELEMENT_TYPE_CLASS}, typeRefCoded(1),
                                     {ELEMENT_TYPE_OBJECT}}));
    EXPECT_FALSE(match(t, twoArgs));
}

// A member of a generic type instance (Task<int>.get_Result) is served by
// a generic wrapper whose first type parameters stand for the type's.
TEST_F(CompareSignatures, TypeParametersOfAGenericInstanceMapToTheWrappersFirstMethodParameters) {
    // instance !0 get_Result() / static !!0 Result<T>(object)
    signature t = target({SIG_HASTHIS, 0x00, ELEMENT_TYPE_VAR, 0x00});
    signature w = wrapper({SIG_GENERIC, 0x01, 0x01, ELEMENT_TYPE_MVAR, 0x00, ELEMENT_TYPE_OBJECT});
    EXPECT_FALSE(match(t, w));
    EXPECT_TRUE(compareSignatures(&module, &t, &w, false, 1));
    // instance !!0 M<U>(!0) on a one-parameter type: U is the wrapper's second.
    signature m = target({SIG_HASTHIS | SIG_GENERIC, 0x01, 0x01, ELEMENT_TYPE_MVAR, 0x00, ELEMENT_TYPE_VAR, 0x00});
    signature wm = wrapper({SIG_GENERIC, 0x02, 0x02, ELEMENT_TYPE_MVAR, 0x01, ELEMENT_TYPE_OBJECT, ELEMENT_TYPE_MVAR,
                            0x00});
    EXPECT_TRUE(compareSignatures(&module, &m, &wm, false, 1));
    signature swapped = wrapper({SIG_GENERIC, 0x02, 0x02, ELEMENT_TYPE_MVAR, 0x00, ELEMENT_TYPE_OBJECT,
                                 ELEMENT_TYPE_MVAR, 0x01});
    EXPECT_FALSE(compareSignatures(&module, &m, &swapped, false, 1));
}

TEST_F(CompareSignatures, ShapeMismatches) {
    signature generic = target({SIG_GENERIC, 0x01, 0x00, ELEMENT_TYPE_VOID});
    EXPECT_FALSE(match(generic, wrapper({0x00, 0x00, ELEMENT_TYPE_VOID})));
    EXPECT_TRUE(match(generic, wrapper({SIG_GENERIC, 0x01, 0x00, ELEMENT_TYPE_VOID})));
    signature field = target({0x06, ELEMENT_TYPE_I4});
    EXPECT_FALSE(match(field, wrapper({0x00, 0x00, ELEMENT_TYPE_I4})));
    EXPECT_FALSE(match(field, wrapper({0x06, ELEMENT_TYPE_I4})));
}

TEST_F(CompareSignatures, TypesWithoutANameNeverMatch) {
    // A call through a member reference on List<T>: its parameters are the
    // class's type parameters, and arrays of primitives carry no token.
    signature t = target({SIG_HASTHIS, 0x02, ELEMENT_TYPE_VAR, 0x00, ELEMENT_TYPE_VAR, 0x00, ELEMENT_TYPE_SZARRAY,
                          ELEMENT_TYPE_I4});
    signature w = wrapper({0x00, 0x03, ELEMENT_TYPE_VAR, 0x00, ELEMENT_TYPE_OBJECT, ELEMENT_TYPE_VAR, 0x00,
                           ELEMENT_TYPE_SZARRAY, ELEMENT_TYPE_I4});
    EXPECT_FALSE(match(t, w));
    signature array = target({0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_SZARRAY, ELEMENT_TYPE_I4});
    EXPECT_FALSE(match(array, wrapper({0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_SZARRAY, ELEMENT_TYPE_I8})));
}

TEST_F(CompareSignatures, TypeSpecTokensNeverMatchAndAreNotLookedUp) {
    signature t = target(cat({{0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_CLASS}, typeSpecCoded(1)}));
    signature w = wrapper(cat({{0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_CLASS}, typeRefCoded(1)}));
    module.typeRefRequests = 0;
    EXPECT_FALSE(match(t, w));
    EXPECT_EQ(module.typeRefRequests, 0);
    EXPECT_EQ(module.typeDefRequests, 0);
}

TEST_F(CompareSignatures, NameTooLongForTheBufferIsNoMatch) {
    module.addTypeRef(typeRefToken(9), vesk::WString(300, u'N'));
    signature t = target(cat({{0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_CLASS}, typeRefCoded(9)}));
    signature w = wrapper(cat({{0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_CLASS}, typeRefCoded(1)}));
    EXPECT_FALSE(match(t, w));
}

TEST_F(CompareSignatures, MissingRecordsOrEntries) {
    signature t = target({0x00, 0x00, ELEMENT_TYPE_VOID});
    EXPECT_FALSE(compareSignatures(&module, &t, nullptr, false));
    EXPECT_FALSE(compareSignatures(&module, nullptr, &t, false));
    // A record that claims more parameters than it holds entries for.
    signature hollow;
    hollow.paramCount = 2;
    signature full = target({0x00, 0x02, ELEMENT_TYPE_VOID, ELEMENT_TYPE_I4, ELEMENT_TYPE_I4});
    EXPECT_FALSE(match(hollow, full));
    EXPECT_FALSE(match(full, hollow));
}

using CompareSignaturesDeathTest = CompareSignatures;

TEST_F(CompareSignaturesDeathTest, NoRecordAtAllIsFatal) {
    EXPECT_EXIT(compareSignatures(&module, nullptr, nullptr, false), ::testing::ExitedWithCode(3),
                "'originalSig \\|\\| wrapperSig'");
}

TEST_F(CompareSignaturesDeathTest, ModuleTypeReferenceWithoutANameIsFatal) {
    signature t = target(cat({{0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_CLASS}, typeRefCoded(40)}));
    signature w = wrapper(cat({{0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_CLASS}, typeRefCoded(1)}));
    EXPECT_EXIT(match(t, w), ::testing::ExitedWithCode(3), "'!nameType.empty\\(\\)'");
}

}  // namespace
