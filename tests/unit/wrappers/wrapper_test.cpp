// A wrapper's record of its names and overloads.
#include "blob_bytes.h"
#include "clrprof/wrapper.h"
#include "fake_metadata.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

using namespace veskmrte_1_0;
using namespace testing_support;

namespace {

const Bytes kVoidOfString = {0x00, 0x01, ELEMENT_TYPE_VOID, ELEMENT_TYPE_STRING};
const Bytes kIntOfWidget = {0x00, 0x01, ELEMENT_TYPE_I4, ELEMENT_TYPE_CLASS, 0x0D};

Wrapper* makeWrapper(const vesk::WChar* method, const Bytes& blob, cor::IMetaDataImport* import = nullptr) {
    ExactCopy copy(blob);
    return new Wrapper(VESK_W("System"), VESK_W("System.Net.WebClient"), method, VESK_W("/tool/w"),
                       VESK_W("Wrappers.WebClient"), method, copy.data(), copy.size(), import);
}

std::vector<signature*> overloadsOf(const Wrapper& wrapper) {
    std::vector<signature*> all;
    IteratorHolder<signature*> it(wrapper.getSignatures());
    for (; !it->atEnd(); it->next()) all.push_back(it->current());
    return all;
}

TEST(Wrapper, KeepsCopiesOfItsNamesAndBlob) {
    vesk::WString method = VESK_W("DownloadString");
    Bytes blob = kIntOfWidget;
    FakeMetaDataImport import;
    import.addTypeRef(0x01000003, VESK_W("Lib.Widget"));
    std::unique_ptr<Wrapper> w(new Wrapper(VESK_W("System"), VESK_W("System.Net.WebClient"), method.c_str(),
                                           VESK_W("/tool/w"), VESK_W("Wrappers.WebClient"), VESK_W("Download"),
                                           blob.data(), static_cast<uint32_t>(blob.size()), &import));
    method[0] = u'X';
    blob[2] = ELEMENT_TYPE_I8;
    EXPECT_EQ(vesk::WString(w->getOriginalApiAssembly()), VESK_W("System"));
    EXPECT_EQ(vesk::WString(w->getOriginalApiClass()), VESK_W("System.Net.WebClient"));
    EXPECT_EQ(vesk::WString(w->getOriginalApiMethod()), VESK_W("DownloadString"));
    EXPECT_EQ(vesk::WString(w->getWrapperApiAssembly()), VESK_W("/tool/w"));
    EXPECT_EQ(vesk::WString(w->getWrapperApiClass()), VESK_W("Wrappers.WebClient"));
    EXPECT_EQ(vesk::WString(w->getWrapperApiMethod()), VESK_W("Download"));
    std::vector<signature*> sigs = overloadsOf(*w);
    ASSERT_EQ(sigs.size(), 1u);
    EXPECT_EQ(sigs[0]->rawBlob, kIntOfWidget);
    EXPECT_EQ(sigs[0]->types[0].elementType, ELEMENT_TYPE_I4);
    // Parsed with the wrapper assembly's import.
    EXPECT_EQ(sigs[0]->types[1].name, VESK_W("Lib.Widget"));
    ASSERT_EQ(sigs[0]->typeTokenSlots.size(), 1u);
    EXPECT_EQ(sigs[0]->typeTokenSlots[0].typeName, VESK_W("Lib.Widget"));
}

TEST(Wrapper, OverloadIdsAreUniqueAcrossWrappers) {
    std::unique_ptr<Wrapper> a(makeWrapper(VESK_W("A"), kVoidOfString));
    std::unique_ptr<Wrapper> b(makeWrapper(VESK_W("B"), kVoidOfString));
    a->addSignature(kIntOfWidget.data(), static_cast<uint32_t>(kIntOfWidget.size()));
    b->addSignature(kIntOfWidget.data(), static_cast<uint32_t>(kIntOfWidget.size()));
    std::set<uint32_t> ids;
    std::vector<signature*> sigsA = overloadsOf(*a);
    std::vector<signature*> sigsB = overloadsOf(*b);
    for (signature* s : sigsA) ids.insert(s->overloadID);
    for (signature* s : sigsB) ids.insert(s->overloadID);
    EXPECT_EQ(ids.size(), 4u);
    EXPECT_EQ(ids.count(0), 0u);
    // In the order they were added.
    EXPECT_LT(sigsA[0]->overloadID, sigsB[0]->overloadID);
    EXPECT_LT(sigsB[0]->overloadID, sigsA[1]->overloadID);
    EXPECT_LT(sigsA[1]->overloadID, sigsB[1]->overloadID);
}

// The counter's first value is only visible in a process of its own.
int firstIdsOfAFreshProcess() {
    std::unique_ptr<Wrapper> a(makeWrapper(VESK_W("A"), kVoidOfString));
    a->addSignature(kIntOfWidget.data(), static_cast<uint32_t>(kIntOfWidget.size()));
    std::unique_ptr<Wrapper> b(makeWrapper(VESK_W("B"), kVoidOfString));
    std::vector<signature*> sigsA = overloadsOf(*a);
    std::vector<signature*> sigsB = overloadsOf(*b);
    if (sigsA[0]->overloadID != 1) return 1;
    if (sigsA[1]->overloadID != 2) return 2;
    if (sigsB[0]->overloadID != 3) return 3;
    return 0;
}

TEST(WrapperDeathTest, FirstOverloadOfTheProcessIsOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(firstIdsOfAFreshProcess()), ::testing::ExitedWithCode(0), "");
}

TEST(WrapperDeathTest, OverloadThatDoesNotParseIsFatal) {
    std::unique_ptr<Wrapper> a(makeWrapper(VESK_W("A"), kVoidOfString));
    const Bytes truncated = {0x00, 0x02, ELEMENT_TYPE_VOID, ELEMENT_TYPE_I4};
    EXPECT_EXIT(a->addSignature(truncated.data(), static_cast<uint32_t>(truncated.size())),
                ::testing::ExitedWithCode(3), "'res'");
    EXPECT_EXIT(makeWrapper(VESK_W("B"), {0x05, 0x00, ELEMENT_TYPE_VOID}), ::testing::ExitedWithCode(3), "'res'");
}

}  // namespace
