// Reading signature blobs, refusing malformed ones, and choosing the wrapper
// overload that may stand in for a call target.
#include "blob_bytes.h"
#include "clrprof/signature_parser.h"
#include "fake_metadata.h"

#include <gtest/gtest.h>

using namespace veskmrte_1_0;
using namespace testing_support;

namespace {

const uint8_t kVoid = ELEMENT_TYPE_VOID, kI2 = ELEMENT_TYPE_I2, kI4 = ELEMENT_TYPE_I4, kI8 = ELEMENT_TYPE_I8;
const uint8_t kClass = ELEMENT_TYPE_CLASS, kString = ELEMENT_TYPE_STRING, kObject = ELEMENT_TYPE_OBJECT;
const uint8_t kSzArray = ELEMENT_TYPE_SZARRAY, kFnPtr = ELEMENT_TYPE_FNPTR, kVar = ELEMENT_TYPE_VAR;

class Signatures : public ::testing::Test {
protected:
    Signatures() {
        scope.addTypeRef(mdTokenNil, VESK_W("Lib.Widget"), 3);
        scope.addTypeRef(mdTokenNil, VESK_W("Lib.Point"), 4);
        scope.addTypeRef(mdTokenNil, VESK_W("System.Collections.Generic.List`1"), 5);
        scope.addTypeRef(mdTokenNil, VESK_W("IsVolatile"), 0x50);
        scope.addTypeRef(mdTokenNil, VESK_W("InAttribute"), 0x10000);
    }
    // Parsed from an allocation of exactly the blob's size, so the address
    // sanitizer sees any read past its end.
    bool parse(const Bytes& blob, signature& sig, size_t prefix = SIZE_MAX) {
        ExactCopy copy(blob, prefix == SIZE_MAX ? blob.size() : prefix);
        SignatureParser parser(&scope);
        return parser.parse(copy.data(), copy.size(), sig);
    }
    FakeMetadata scope;
};

// ---- what is recorded -------------------------------------------------------

struct Slot {
    uint32_t offset, length;
};
struct ParseRow {
    const char* guards;
    Bytes blob;
    size_t index;  // the entry checked: 0 the return type, 1.. parameters
    uint8_t elementType;
    uint32_t modifier, size, token;
    const char16_t* name;
    std::vector<Slot> slots;
};

// A static method returning void with these parameters.
Bytes params(uint32_t count, const Bytes& types) { return cat({{0x00}, compressed(count), {kVoid}, types}); }

TEST_F(Signatures, EachKindOfTypeIsRecordedWhereTheMatchingLooksForIt) {
    const ParseRow rows[] = {
        {"a primitive's size, and that it reads one byte", params(2, {ELEMENT_TYPE_R8, kI2}), 2, kI2,
         kModifierPlain, 2, 0, u"", {}},
        {"a value type names its reference, one-byte slot", params(1, cat({{ELEMENT_TYPE_VALUETYPE}, typeRefCoded(4)})),
         1, ELEMENT_TYPE_VALUETYPE, kModifierPlain, 0, 0x01000004, u"Lib.Point", {{4, 1}}},
        {"a class token in two bytes", params(1, cat({{kClass}, typeRefCoded(0x50)})), 1, kClass, kModifierPlain, 4,
         0x01000050, u"IsVolatile", {{4, 2}}},
        {"a class token in four bytes", params(2, cat({{kClass}, typeRefCoded(0x10000), {kI2}})), 2, kI2,
         kModifierPlain, 2, 0, u"", {{4, 4}}},
        {"type definitions and specs are tokens but no slots", params(2, cat({{kClass}, typeDefCoded(3), {kClass},
         typeSpecCoded(3)})), 2, kClass, kModifierPlain, 4, 0x1B000003, u"", {}},
        {"the fourth table code names no table", params(1, cat({{kClass}, compressed(3 << 2 | 3)})), 1, kClass,
         kModifierPlain, 4, 0x72000003, u"", {}},
        {"by-ref parameters", params(1, cat({{ELEMENT_TYPE_BYREF, kClass}, typeRefCoded(3)})), 1, kClass,
         kModifierByRef, 4, 0x01000003, u"Lib.Widget", {{5, 1}}},
        {"typed references", params(2, {ELEMENT_TYPE_TYPEDBYREF, kI2}), 1, 0, kModifierByRef, 0, 0, u"", {}},
        {"a pointer to void keeps the pointer", params(2, {ELEMENT_TYPE_PTR, kVoid, kI2}), 1, ELEMENT_TYPE_PTR,
         kModifierPointer, 4, 0, u"", {}},
        {"a pointer records the pointed type past a modifier",
         params(1, cat({{ELEMENT_TYPE_PTR, ELEMENT_TYPE_CMOD_OPT}, typeRefCoded(0x50), {ELEMENT_TYPE_VALUETYPE},
                        typeRefCoded(4)})),
         1, ELEMENT_TYPE_VALUETYPE, kModifierPointer, 4, 0x01000004, u"Lib.Point", {{5, 2}, {8, 1}}},
        {"an array's shape is read past", params(2, cat({{ELEMENT_TYPE_ARRAY, kClass}, typeRefCoded(3),
         {0x02, 0x01, 0x03, 0x02, 0x00, 0x01, kI2}})), 2, kI2, kModifierPlain, 2, 0, u"", {{5, 1}}},
        {"a vector records only the array", params(2, {kSzArray, kI8, kI2}), 1, kSzArray, kModifierByRef, 4, 0, u"",
         {}},
        {"nested vectors keep the innermost token", params(1, cat({{kSzArray, kSzArray, kClass}, typeRefCoded(3)})),
         1, kSzArray, kModifierByRef, 4, 0x01000003, u"Lib.Widget", {{6, 1}}},
        {"an instantiation keeps the first token a nested type recorded",
         params(1, cat({{ELEMENT_TYPE_GENERICINST, kClass}, typeRefCoded(5), {0x02, kClass}, typeRefCoded(3),
                        {ELEMENT_TYPE_VALUETYPE}, typeRefCoded(4)})),
         1, ELEMENT_TYPE_VALUETYPE, kModifierPlain, 4, 0x01000003, u"Lib.Widget", {{5, 1}, {8, 1}, {10, 1}}},
        {"an instantiation over primitives keeps the generic type",
         params(2, cat({{ELEMENT_TYPE_GENERICINST, ELEMENT_TYPE_VALUETYPE}, typeRefCoded(5), {0x01, kI4, kI2}})), 1,
         kI4, kModifierPlain, 4, 0x01000005, u"System.Collections.Generic.List`1", {{5, 1}}},
        {"generic parameters read their number in every form",
         params(3, cat({{kVar}, compressed(0x100), {ELEMENT_TYPE_MVAR}, compressed(0x20000), {kI2}})), 3, kI2,
         kModifierPlain, 2, 0, u"", {}},
        {"a function pointer leaves the record alone but its references are slots",
         params(2, cat({{kFnPtr, SIG_HASTHIS | SIG_GENERIC, 0x03, 0x02, kClass}, typeRefCoded(3), {kI8, kString,
                        kI4}})),
         2, kI4, kModifierPlain, 4, 0, u"", {{8, 1}}},
        {"a function pointer's own vector does not switch recording back on",
         params(2, {kFnPtr, 0x00, 0x02, kVoid, kSzArray, kI4, kI8, kI2}), 2, kI2, kModifierPlain, 2, 0, u"", {}},
        {"a vector of function pointers", params(2, {kSzArray, kFnPtr, 0x00, 0x01, kVoid, kSzArray, kI8, kI2}), 1,
         kSzArray, kModifierByRef, 4, 0, u"", {}},
        {"custom modifiers are slots but name no entry",
         cat({{0x00, 0x02, kVoid, ELEMENT_TYPE_CMOD_REQD}, typeRefCoded(0x50), {ELEMENT_TYPE_CMOD_OPT},
              typeDefCoded(3), {kI4, ELEMENT_TYPE_CMOD_OPT}, typeRefCoded(0x10000), {kString}}),
         1, kI4, kModifierPlain, 4, 0, u"", {{4, 2}, {10, 4}}},
        {"return types are never plain", {0x00, 0x00, ELEMENT_TYPE_BYREF, kI8}, 0, kI8, kModifierByRef, 8, 0, u"",
         {}},
        {"a return type's modifiers are slots", cat({{0x00, 0x00, ELEMENT_TYPE_CMOD_OPT}, typeRefCoded(3), {kVoid}}),
         0, kVoid, kModifierNone, 0, 0, u"", {{3, 1}}},
        {"one sentinel is allowed", params(2, {kI4, ELEMENT_TYPE_SENTINEL, kI2}), 2, kI2, kModifierPlain, 2, 0, u"",
         {}},
    };
    for (const ParseRow& row : rows) {
        SCOPED_TRACE(row.guards);
        signature sig;
        ASSERT_TRUE(parse(row.blob, sig));
        ASSERT_GT(sig.types.size(), row.index);
        ASSERT_EQ(sig.types.size(), sig.paramCount + 1u);
        const TypeEntry& entry = sig.types[row.index];
        EXPECT_EQ(entry.elementType, row.elementType);
        EXPECT_EQ(entry.modifier, row.modifier);
        EXPECT_EQ(entry.size, row.size);
        EXPECT_EQ(entry.token, row.token);
        EXPECT_EQ(entry.name, vesk::WString(row.name));
        ASSERT_EQ(sig.typeTokenSlots.size(), row.slots.size());
        for (size_t i = 0; i < row.slots.size(); ++i) {
            EXPECT_EQ(sig.typeTokenSlots[i].offset, row.slots[i].offset) << i;
            EXPECT_EQ(sig.typeTokenSlots[i].length, row.slots[i].length) << i;
        }
    }
}

// ---- malformed blobs ----------------------------------------------------------

TEST_F(Signatures, EveryTruncationOfARealBlobIsRefused) {
    const Bytes blobs[] = {
        // instance modreq(IsVolatile) List<!!0> M<T>(ref int, Widget[,], delegate*<string, int>, void*)
        cat({{SIG_HASTHIS | SIG_GENERIC, 0x01, 0x04, ELEMENT_TYPE_CMOD_REQD}, typeRefCoded(0x50),
             {ELEMENT_TYPE_GENERICINST, kClass}, typeRefCoded(5), {0x01, ELEMENT_TYPE_MVAR, 0x00},
             {ELEMENT_TYPE_BYREF, kI4}, {ELEMENT_TYPE_ARRAY, kClass}, typeRefCoded(3), {0x02, 0x01, 0x03, 0x01, 0x00},
             {kFnPtr, 0x00, 0x01, kI4, kString}, {ELEMENT_TYPE_PTR, kVoid}}),
        cat({{0x06, ELEMENT_TYPE_CMOD_OPT}, typeRefCoded(1), {ELEMENT_TYPE_VALUETYPE}, typeRefCoded(3)}),
        cat({{0x00, 0x02, kVoid, kClass}, typeRefCoded(0x10000), {kVar}, compressed(0x3FFF)}),
    };
    for (const Bytes& blob : blobs) {
        signature whole;
        ASSERT_TRUE(parse(blob, whole));
        for (size_t prefix = 0; prefix < blob.size(); ++prefix) {
            signature cut;
            EXPECT_FALSE(parse(blob, cut, prefix)) << prefix << " of " << blob.size();
        }
    }
}

TEST_F(Signatures, MalformedBlobsAreRefusedNotFatal) {
    Bytes deep = {0x06};
    deep.insert(deep.end(), 100000, ELEMENT_TYPE_PTR);
    deep.push_back(kI4);
    std::vector<std::pair<const char*, Bytes>> rows = {
        {"explicit this", {SIG_HASTHIS | SIG_EXPLICITTHIS, 0x00, kVoid}},
        {"instantiation of a primitive", cat({{0x00, 0x01, kVoid, ELEMENT_TYPE_GENERICINST, kI4}, typeRefCoded(3),
                                             {0x01, kI4}})},
        {"second sentinel", {0x00, 0x03, kVoid, kI4, ELEMENT_TYPE_SENTINEL, kI4, ELEMENT_TYPE_SENTINEL, kI4}},
        {"parameter count beyond the blob", cat({{0x00}, compressed(0x1FFFFFFF), {kVoid, kI4}})},
        {"array shape beyond the blob", cat({{0x06, ELEMENT_TYPE_ARRAY, kI4, 0x01}, compressed(0x1FFFFFFF), {0}})},
        {"failure inside a function pointer", {0x00, 0x01, kVoid, kFnPtr, 0x00, 0x02, kVoid, kI4}},
        {"nesting deep enough to exhaust a stack", deep},
    };
    for (uint8_t kind = 0x01; kind <= 0x0F; ++kind)
        if (kind != SIG_KIND_FIELD) rows.push_back({"calling convention", {kind, 0x00, kVoid}});
    for (int first = 0xE0; first <= 0xFF; ++first) {
        const uint8_t b = static_cast<uint8_t>(first);
        rows.push_back({"count without a form", {0x00, b, 0x00, 0x00, 0x00, kVoid}});
        rows.push_back({"token without a form", {0x00, 0x01, kVoid, kClass, b, 0, 0, 0}});
        rows.push_back({"modifier without a form", {0x00, 0x01, kVoid, ELEMENT_TYPE_CMOD_OPT, b, 0, 0, 0, kI4}});
    }
    for (const auto& row : rows) {
        signature sig;
        EXPECT_FALSE(parse(row.second, sig)) << row.first;
    }
    SignatureParser parser(nullptr);
    signature none;
    EXPECT_FALSE(parser.parse(nullptr, 4, none));
}

// ---- overload matching ----------------------------------------------------------

struct FitRow {
    const char* guards;
    Bytes target, wrapper;
    bool isConstructor, fits;
    uint32_t classArity = 0;  // of the generic type whose instance the target is a member of
};

TEST_F(Signatures, WhichWrapperOverloadFitsACallTarget) {
    // The module names its types with its own rows, the wrapper assembly
    // with others.
    FakeMetadata module;
    module.addTypeRef(mdTokenNil, VESK_W("Lib.Widget"), 7);
    module.addTypeRef(mdTokenNil, VESK_W("Lib.Gadget"), 8);
    module.addTypeRef(mdTokenNil, vesk::WString(300, u'N'), 9);
    module.addTypeDef(VESK_W("App.Order"), 2);
    module.addTypeRef(mdTokenNil, VESK_W("System.Collections.Generic.List`1"), 10);
    scope.addTypeRef(mdTokenNil, VESK_W("lib.widget"), 2);
    scope.addTypeRef(mdTokenNil, VESK_W("App.Order"), 6);
    scope.addTypeRef(mdTokenNil, VESK_W("Lib.Widget"), 1);
    const Bytes widget = cat({{kClass}, typeRefCoded(1)});
    auto listOf = [](const Bytes& list, const Bytes& args) {  // void M(List<args>)
        return cat({{0x00, 0x01, kVoid, ELEMENT_TYPE_GENERICINST, kClass}, list, args});
    };
    const Bytes moduleList = listOf(typeRefCoded(10), cat({{0x01, kClass}, typeRefCoded(7)}));
    const FitRow rows[] = {
        {"an instance call's wrapper takes the instance first",
         cat({{SIG_HASTHIS, 0x02, kI4, kI8, kClass}, typeRefCoded(7)}), cat({{0x00, 0x03, kI4, kObject, kI8}, widget}),
         false, true},
        {"without the instance the counts differ", cat({{SIG_HASTHIS, 0x02, kI4, kI8, kClass}, typeRefCoded(7)}),
         cat({{0x00, 0x02, kI4, kI8}, widget}), false, false},
        {"the instance parameter itself is not compared", {SIG_HASTHIS, 0x01, kVoid, kI4},
         {0x00, 0x02, kVoid, ELEMENT_TYPE_R8, kI4}, false, true},
        {"parameters in order", {0x00, 0x02, kVoid, kI4, kString}, {0x00, 0x02, kVoid, kString, kI4}, false, false},
        {"the last parameter", {0x00, 0x02, kVoid, kI4, kString}, {0x00, 0x02, kVoid, kI4, kObject}, false, false},
        {"the return type", {0x00, 0x01, kI4, kI4}, {0x00, 0x01, kI8, kI4}, false, false},
        {"a constructor's wrapper returns the object and takes no instance", {SIG_HASTHIS, 0x01, kVoid, kString},
         cat({{0x00, 0x01}, widget, {kString}}), true, true},
        {"the same wrapper does not fit a method", {SIG_HASTHIS, 0x01, kVoid, kString},
         cat({{0x00, 0x01}, widget, {kString}}), false, false},
        {"a constructor's wrapper returning void", {SIG_HASTHIS, 0x01, kVoid, kString},
         {0x00, 0x01, kVoid, kString}, true, false},
        {"a constructor's wrapper taking an instance", {SIG_HASTHIS, 0x01, kVoid, kString},
         cat({{0x00, 0x02}, widget, {kObject, kString}}), true, false},
        {"a constructor's wrapper may return a type parameter", {SIG_HASTHIS, 0x00, kVoid}, {0x00, 0x00, kVar, 0x00},
         true, true},
        {"type names are compared exactly", cat({{0x00, 0x01, kVoid, kClass}, typeRefCoded(7)}),
         cat({{0x00, 0x01, kVoid, kClass}, typeRefCoded(2)}), false, false},
        {"another type", cat({{0x00, 0x01, kVoid, kClass}, typeRefCoded(8)}), cat({{0x00, 0x01, kVoid}, widget}),
         false, false},
        {"the same type under other rows", cat({{0x00, 0x01, kVoid, kClass}, typeRefCoded(7)}),
         cat({{0x00, 0x01, kVoid}, widget}), false, true},
        {"a type the module defines is named from its definition", cat({{0x00, 0x01, kVoid, kClass},
         typeDefCoded(2)}), cat({{0x00, 0x01, kVoid, kClass}, typeRefCoded(6)}), false, true},
        {"by-ref never fits by-value: the wrapper would take an address for a value",
         {0x00, 0x01, kVoid, ELEMENT_TYPE_BYREF, kI4}, {0x00, 0x01, kVoid, kI4}, false, false},
        {"by-value never fits by-ref", {0x00, 0x01, kVoid, kI4}, {0x00, 0x01, kVoid, ELEMENT_TYPE_BYREF, kI4}, false,
         false},
        {"by-ref fits by-ref", {0x00, 0x01, kVoid, ELEMENT_TYPE_BYREF, kI4},
         {0x00, 0x01, kVoid, ELEMENT_TYPE_BYREF, kI4}, false, true},
        {"a ref return is no plain return", {0x00, 0x00, ELEMENT_TYPE_BYREF, kI4}, {0x00, 0x00, kI4}, false, false},
        {"a generic instance with the same arguments", moduleList, listOf(typeRefCoded(5), cat({{0x01}, widget})),
         false, true},
        {"a generic instance is compared argument by argument", moduleList,
         listOf(typeRefCoded(5), cat({{0x01, kClass}, typeRefCoded(2)})), false, false},
        {"a generic instance's argument count", moduleList, listOf(typeRefCoded(5), cat({{0x02}, widget, {kObject}})),
         false, false},
        {"a generic type's parameter is the wrapper's first method parameter", {SIG_HASTHIS, 0x00, kVar, 0x00},
         {SIG_GENERIC, 0x01, 0x01, ELEMENT_TYPE_MVAR, 0x00, kObject}, false, true, 1},
        {"a method's own parameter follows the type's", {SIG_HASTHIS | SIG_GENERIC, 0x01, 0x01, ELEMENT_TYPE_MVAR,
         0x00, kVar, 0x00}, {SIG_GENERIC, 0x02, 0x02, ELEMENT_TYPE_MVAR, 0x01, kObject, ELEMENT_TYPE_MVAR, 0x00},
         false, true, 1},
        {"the type's and the method's parameters swapped", {SIG_HASTHIS | SIG_GENERIC, 0x01, 0x01,
         ELEMENT_TYPE_MVAR, 0x00, kVar, 0x00}, {SIG_GENERIC, 0x02, 0x02, ELEMENT_TYPE_MVAR, 0x00, kObject,
         ELEMENT_TYPE_MVAR, 0x01}, false, false, 1},
        {"generic arity", {SIG_GENERIC, 0x01, 0x00, kVoid}, {0x00, 0x00, kVoid}, false, false},
        {"fields are never redirected", {0x06, kI4}, {0x06, kI4}, false, false},
        {"a type parameter outside a generic type stands for nothing", {SIG_HASTHIS, 0x01, kVoid, kVar, 0x00},
         {0x00, 0x02, kVoid, kObject, kVar, 0x00}, false, false},
        {"arrays are compared whole", {0x00, 0x01, kVoid, kSzArray, kI4}, {0x00, 0x01, kVoid, kSzArray, kI4}, false,
         true},
        {"arrays of other elements", {0x00, 0x01, kVoid, kSzArray, kI4}, {0x00, 0x01, kVoid, kSzArray, kI8}, false,
         false},
        {"type specs are not looked up", cat({{0x00, 0x01, kVoid, kClass}, typeSpecCoded(1)}),
         cat({{0x00, 0x01, kVoid}, widget}), false, false},
        {"a name too long for the buffer", cat({{0x00, 0x01, kVoid, kClass}, typeRefCoded(9)}),
         cat({{0x00, 0x01, kVoid}, widget}), false, false},
    };
    for (const FitRow& row : rows) {
        signature target, wrapper;
        ExactCopy copy(row.target);
        SignatureParser moduleParser(&module);
        ASSERT_TRUE(moduleParser.parse(copy.data(), copy.size(), target)) << row.guards;
        ASSERT_TRUE(parse(row.wrapper, wrapper)) << row.guards;
        EXPECT_EQ(compareSignatures(&module, &target, &wrapper, row.isConstructor, row.classArity), row.fits)
            << row.guards;
    }
    signature hollow;  // claims more parameters than it holds entries for
    hollow.paramCount = 2;
    signature full;
    ASSERT_TRUE(parse({0x00, 0x02, kVoid, kI4, kI4}, full));
    EXPECT_FALSE(compareSignatures(&module, &hollow, &full, false));
    EXPECT_FALSE(compareSignatures(&module, &full, &hollow, false));
    EXPECT_FALSE(compareSignatures(&module, &full, nullptr, false));
}

}  // namespace
