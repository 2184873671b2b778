// Reading the API names out of a replacement attribute's value.
#include "blob_bytes.h"
#include "clrprof/attribute_blob.h"

#include <gtest/gtest.h>

using namespace veskmrte_1_0;
using namespace testing_support;

namespace {

const Bytes kProlog = {0x01, 0x00};

Bytes text(size_t count, uint8_t fill) { return Bytes(count, fill); }

Bytes ascii(const char* s) { return Bytes(s, s + std::char_traits<char>::length(s)); }

// Reads every string the blob holds after its prolog; false at the first
// that does not read.
bool readAll(const Bytes& blob, std::vector<vesk::WString>& out, size_t count) {
    ExactCopy copy(blob);
    AttributeBlobReader reader(copy.data(), copy.size());
    if (!reader.skipProlog()) return false;
    for (size_t i = 0; i < count; ++i) {
        vesk::WString s;
        if (!reader.readString(s)) return false;
        out.push_back(s);
    }
    return true;
}

TEST(AttributeBlob, LengthsInEveryPackedForm) {
    std::vector<vesk::WString> names;
    const Bytes blob = cat({kProlog, {0x06}, ascii("System"), {0x80, 0xC8}, text(200, 'x'), {0xC0, 0x00, 0x00, 0x05},
                            ascii("Fetch")});
    ASSERT_TRUE(readAll(blob, names, 3));
    EXPECT_EQ(names[0], VESK_W("System"));
    EXPECT_EQ(names[1], vesk::WString(200, u'x'));
    EXPECT_EQ(names[2], VESK_W("Fetch"));
}

TEST(AttributeBlob, NullStringIsEmptyAndTakesOneByte) {
    std::vector<vesk::WString> names;
    ASSERT_TRUE(readAll(cat({kProlog, {0xFF, 0x00, 0x01}, ascii("M")}), names, 3));
    EXPECT_TRUE(names[0].empty());
    EXPECT_TRUE(names[1].empty());
    EXPECT_EQ(names[2], VESK_W("M"));
}

TEST(AttributeBlob, BytesBecomeCharactersOfTheSameValue) {
    std::vector<vesk::WString> names;
    // UTF-8 for U+00E9 would be C3 A9; each byte stands for itself.
    ASSERT_TRUE(readAll(cat({kProlog, {0x03, 'c', 0xE9, 0xC3}}), names, 1));
    ASSERT_EQ(names[0].size(), 3u);
    EXPECT_EQ(names[0][1], u'\u00E9');
    EXPECT_EQ(names[0][2], u'\u00C3');
}

TEST(AttributeBlob, LongestNameThatFits) {
    std::vector<vesk::WString> names;
    ASSERT_TRUE(readAll(cat({kProlog, {0x80, 0xFF}, text(255, 'n')}), names, 1));
    EXPECT_EQ(names[0].size(), 255u);
}

// Was a fatal assertion: a damaged wrapper assembly ended the program.
TEST(AttributeBlob, NameOfTheBuffersSizeIsRefused) {
    std::vector<vesk::WString> names;
    EXPECT_FALSE(readAll(cat({kProlog, {0x81, 0x00}, text(256, 'n')}), names, 1));
    EXPECT_FALSE(readAll(cat({kProlog, {0xC0, 0x10, 0x00, 0x00}}), names, 1));
}

TEST(AttributeBlob, StringRunningPastTheBlob) {
    std::vector<vesk::WString> names;
    EXPECT_FALSE(readAll(cat({kProlog, {0x05, 'a', 'b'}}), names, 1));
    EXPECT_FALSE(readAll(cat({kProlog, {0x80, 0x10}, text(15, 'a')}), names, 1));
}

TEST(AttributeBlob, TruncatedLengths) {
    std::vector<vesk::WString> names;
    EXPECT_FALSE(readAll(cat({kProlog, {0x80}}), names, 1));
    EXPECT_FALSE(readAll(cat({kProlog, {0xC0, 0x00, 0x00}}), names, 1));
    EXPECT_FALSE(readAll(kProlog, names, 1));
    EXPECT_FALSE(readAll(cat({kProlog, {0x01, 'a'}}), names, 2));
}

TEST(AttributeBlob, LeadBytesThatEncodeNoLength) {
    for (int first = 0xE0; first <= 0xFE; ++first) {
        std::vector<vesk::WString> names;
        EXPECT_FALSE(readAll(cat({kProlog, {static_cast<uint8_t>(first), 0, 0, 0, 0, 'a'}}), names, 1)) << first;
    }
}

TEST(AttributeBlob, ShortOrMissingProlog) {
    std::vector<vesk::WString> names;
    EXPECT_FALSE(readAll({0x01}, names, 0));
    EXPECT_FALSE(readAll({}, names, 0));
    AttributeBlobReader none(nullptr, 10);
    EXPECT_FALSE(none.skipProlog());
    vesk::WString s;
    EXPECT_FALSE(none.readString(s));
}

}  // namespace
