// What a caller sees of keys and values: the Windows registry's rules.

#include "pal/registry.h"
#include "temporary_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace registration_test {
namespace {

using pal::RegistryStatus;

std::vector<std::string> subkeys(const std::string& path) {
    std::vector<vesk::WString> names;
    RegistryStatus status = pal::registryEnumKeys(W(path), names);
    std::vector<std::string> out;
    if (status != RegistryStatus::Ok) out.push_back(std::string("! ") + pal::registryStatusText(status));
    for (const vesk::WString& name : names) out.push_back(vesk::toUtf8(name));
    return out;
}

std::vector<std::string> values(const std::string& path) {
    std::vector<pal::RegistryValue> found;
    RegistryStatus status = pal::registryEnumValues(W(path), found);
    std::vector<std::string> out;
    if (status != RegistryStatus::Ok) out.push_back(std::string("! ") + pal::registryStatusText(status));
    for (const pal::RegistryValue& value : found)
        out.push_back(vesk::toUtf8(value.name) + "=" + vesk::toUtf8(value.data));
    return out;
}

typedef std::vector<std::string> Lines;

class RegistryKeys : public ::testing::Test {
protected:
    TemporaryStore store;
};

TEST_F(RegistryKeys, CreateMakesEveryMissingKeyOnThePath) {
    pal::RegistryKey key = nullptr;
    ASSERT_EQ(RegistryStatus::Ok, pal::registryCreateKey(W("A\\B\\C"), key));
    EXPECT_NE(nullptr, key);
    pal::registryCloseKey(key);
    EXPECT_EQ(Lines({"A", "A\\B", "A\\B\\C"}), dumpStore());
}

TEST_F(RegistryKeys, CreatingAnExistingKeyKeepsItsValuesAndSubkeys) {
    ASSERT_TRUE(setKey("A", "Name", "data"));
    ASSERT_TRUE(setKey("A\\B"));
    ASSERT_TRUE(setKey("A"));
    EXPECT_EQ(Lines({"A", "A Name = data", "A\\B"}), dumpStore());
}

TEST_F(RegistryKeys, DefaultValueIsTheOneWithNoName) {
    ASSERT_TRUE(setKey("A", "", "default data"));
    ASSERT_TRUE(setKey("A", "Named", "named data"));
    EXPECT_EQ(Lines({"=default data", "Named=named data"}), values("A"));
    vesk::WString data;
    EXPECT_EQ(RegistryStatus::Ok, pal::registryGetString(W("A"), vesk::WString(), data));
    EXPECT_EQ(W("default data"), data);
    EXPECT_EQ(RegistryStatus::Ok, pal::registryGetString(W("A"), W("Named"), data));
    EXPECT_EQ(W("named data"), data);
}

TEST_F(RegistryKeys, UnsetDefaultDiffersFromEmptyDefault) {
    ASSERT_TRUE(setKey("A"));
    vesk::WString data;
    EXPECT_EQ(RegistryStatus::NotFound, pal::registryGetString(W("A"), vesk::WString(), data));
    EXPECT_EQ(Lines(), values("A"));

    pal::RegistryKey key = nullptr;
    ASSERT_EQ(RegistryStatus::Ok, pal::registryCreateKey(W("A"), key));
    EXPECT_EQ(RegistryStatus::Ok, pal::registrySetString(key, vesk::WString(), vesk::WString()));
    pal::registryCloseKey(key);
    EXPECT_EQ(RegistryStatus::Ok, pal::registryGetString(W("A"), vesk::WString(), data));
    EXPECT_EQ(Lines({"="}), values("A"));
}

TEST_F(RegistryKeys, MissingValueIsNotFound) {
    ASSERT_TRUE(setKey("A", "Present", "x"));
    vesk::WString data = W("stale");
    EXPECT_EQ(RegistryStatus::NotFound, pal::registryGetString(W("A"), W("Absent"), data));
    EXPECT_TRUE(data.empty());
    EXPECT_EQ(RegistryStatus::NotFound, pal::registryGetString(W("Absent"), W("Present"), data));
}

TEST_F(RegistryKeys, SettingAValueAgainReplacesItAndKeepsTheFirstSpelling) {
    ASSERT_TRUE(setKey("A", "ThreadingModel", "Apartment"));
    ASSERT_TRUE(setKey("A", "THREADINGMODEL", "Both"));
    EXPECT_EQ(Lines({"ThreadingModel=Both"}), values("A"));
}

TEST_F(RegistryKeys, PathsMatchWithoutRegardToCase) {
    ASSERT_TRUE(setKey("Software\\Vendor"));
    ASSERT_TRUE(setKey("SOFTWARE\\vendor\\Product", "Name", "x"));
    EXPECT_EQ(Lines({"Software"}), subkeys(""));
    EXPECT_EQ(Lines({"Vendor"}), subkeys("software"));
    EXPECT_EQ(Lines({"Name=x"}), values("software\\VENDOR\\product"));
    EXPECT_EQ(RegistryStatus::Ok, pal::registryDeleteKey(W("sOfTwArE\\vEnDoR\\PRODUCT")));
    EXPECT_EQ(Lines({"Software", "Software\\Vendor"}), dumpStore());
}

TEST_F(RegistryKeys, CaseIsIgnoredBeyondAscii) {
    ASSERT_TRUE(setKey("Ключ\\Één"));
    ASSERT_TRUE(setKey("ключ\\één"));
    EXPECT_EQ(Lines({"Ключ", "Ключ\\Één"}), dumpStore());
    EXPECT_EQ(Lines({"Één"}), subkeys("КЛЮЧ"));
}

TEST_F(RegistryKeys, SubkeysAreListedInCaseInsensitiveOrder) {
    ASSERT_TRUE(setKey("beta"));
    ASSERT_TRUE(setKey("Gamma"));
    ASSERT_TRUE(setKey("alpha"));
    EXPECT_EQ(Lines({"alpha", "beta", "Gamma"}), subkeys(""));
}

TEST_F(RegistryKeys, DeleteRefusesAKeyWithSubkeys) {
    ASSERT_TRUE(setKey("A\\B"));
    EXPECT_EQ(RegistryStatus::HasSubkeys, pal::registryDeleteKey(W("A")));
    EXPECT_EQ(Lines({"A", "A\\B"}), dumpStore());
    EXPECT_EQ(RegistryStatus::Ok, pal::registryDeleteKey(W("A\\B")));
    EXPECT_EQ(RegistryStatus::Ok, pal::registryDeleteKey(W("A")));
    EXPECT_EQ(Lines(), dumpStore());
}

TEST_F(RegistryKeys, DeleteOfAMissingKeyFails) {
    ASSERT_TRUE(setKey("A"));
    EXPECT_EQ(RegistryStatus::NotFound, pal::registryDeleteKey(W("B")));
    EXPECT_EQ(RegistryStatus::NotFound, pal::registryDeleteKey(W("A\\B")));
    EXPECT_EQ(RegistryStatus::NotFound, pal::registryDeleteKey(W("B\\C")));
    EXPECT_EQ(Lines({"A"}), dumpStore());
}

TEST_F(RegistryKeys, DeleteWithoutAStoreFailsAndCreatesNothing) {
    EXPECT_EQ(RegistryStatus::NotFound, pal::registryDeleteKey(W("A")));
    EXPECT_EQ(std::vector<std::string>(), directoryEntries(store.directory()));
}

TEST_F(RegistryKeys, DeletedKeyTakesItsValuesWithIt) {
    ASSERT_TRUE(setKey("A", "", "old default"));
    ASSERT_TRUE(setKey("A", "Name", "old"));
    ASSERT_EQ(RegistryStatus::Ok, pal::registryDeleteKey(W("A")));
    ASSERT_TRUE(setKey("A"));
    EXPECT_EQ(Lines({"A"}), dumpStore());
}

TEST_F(RegistryKeys, MalformedPathsAreRefusedWithoutTouchingTheStore) {
    const std::string longName(256, 'x');
    const char* const paths[] = {"", "\\A", "A\\", "A\\\\B"};
    for (const char* path : paths) {
        pal::RegistryKey key = nullptr;
        EXPECT_EQ(RegistryStatus::InvalidArgument, pal::registryCreateKey(W(path), key)) << path;
        EXPECT_EQ(nullptr, key);
        EXPECT_EQ(RegistryStatus::InvalidArgument, pal::registryDeleteKey(W(path))) << path;
    }
    pal::RegistryKey key = nullptr;
    EXPECT_EQ(RegistryStatus::InvalidArgument, pal::registryCreateKey(W("A\\" + longName), key));
    EXPECT_EQ(RegistryStatus::InvalidArgument, pal::registryCreateKey(vesk::WString(u"A\0B", 3), key));
    EXPECT_EQ(std::vector<std::string>(), directoryEntries(store.directory()));

    EXPECT_TRUE(setKey("A\\" + longName.substr(1)));
}

TEST_F(RegistryKeys, TextThatUtf8CannotHoldIsRefused) {
    pal::RegistryKey key = nullptr;
    const vesk::WString loneSurrogate(1, static_cast<vesk::WChar>(0xD800));
    EXPECT_EQ(RegistryStatus::InvalidArgument, pal::registryCreateKey(loneSurrogate, key));
    ASSERT_EQ(RegistryStatus::Ok, pal::registryCreateKey(W("A"), key));
    EXPECT_EQ(RegistryStatus::InvalidArgument, pal::registrySetString(key, W("Name"), loneSurrogate));
    EXPECT_EQ(RegistryStatus::InvalidArgument, pal::registrySetString(key, loneSurrogate, W("x")));
    pal::registryCloseKey(key);
    EXPECT_EQ(Lines({"A"}), dumpStore());
}

TEST_F(RegistryKeys, AnyOtherTextSurvivesTheStoreUnchanged) {
    const std::string keyName = "Ключ \"quoted\" 日本 é";
    const std::string data = "line one\nline two\ttab \"quote\" \\ 😀 \x01";
    pal::RegistryKey key = nullptr;
    ASSERT_EQ(RegistryStatus::Ok, pal::registryCreateKey(W(keyName), key));
    ASSERT_EQ(RegistryStatus::Ok, pal::registrySetString(key, W("Value 😀"), W(data)));
    pal::registryCloseKey(key);
    EXPECT_EQ(Lines({keyName}), subkeys(""));
    vesk::WString back;
    ASSERT_EQ(RegistryStatus::Ok, pal::registryGetString(W("КЛЮЧ \"QUOTED\" 日本 É"), W("value 😀"), back));
    EXPECT_EQ(W(data), back);
}

TEST_F(RegistryKeys, SettingAValueOnADeletedKeyFails) {
    pal::RegistryKey key = nullptr;
    ASSERT_EQ(RegistryStatus::Ok, pal::registryCreateKey(W("A"), key));
    ASSERT_EQ(RegistryStatus::Ok, pal::registryDeleteKey(W("A")));
    EXPECT_EQ(RegistryStatus::NotFound, pal::registrySetString(key, W("Name"), W("x")));
    pal::registryCloseKey(key);
    EXPECT_EQ(Lines(), dumpStore());
}

TEST_F(RegistryKeys, AHandleKeepsWritingToTheStoreItWasOpenedIn) {
    pal::RegistryKey key = nullptr;
    ASSERT_EQ(RegistryStatus::Ok, pal::registryCreateKey(W("A"), key));
    {
        TemporaryStore other;
        EXPECT_EQ(RegistryStatus::Ok, pal::registrySetString(key, W("Name"), W("x")));
        EXPECT_EQ(Lines(), dumpStore());
    }
    pal::registryCloseKey(key);
    EXPECT_EQ(Lines({"A", "A Name = x"}), dumpStore());
}

TEST_F(RegistryKeys, ReadersOfAMissingStoreFindNoKeys) {
    EXPECT_EQ(Lines(), subkeys(""));
    EXPECT_EQ(Lines({"! no such key or value"}), subkeys("A"));
    EXPECT_EQ(std::vector<std::string>(), directoryEntries(store.directory()));
}

TEST_F(RegistryKeys, ANullHandleIsRefused) {
    EXPECT_EQ(RegistryStatus::InvalidArgument, pal::registrySetString(nullptr, W("Name"), W("x")));
    pal::registryCloseKey(nullptr);
}

}  // namespace
}  // namespace registration_test
