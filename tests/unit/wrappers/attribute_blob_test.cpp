// Reading the API names out of a replacement attribute's value.
#include "blob_bytes.h"
#include "clrprof/attribute_blob.h"

#include <gtest/gtest.h>

using namespace veskmrte_1_0;
using namespace testing_support;

namespace {

Bytes ascii(const char* s) { return Bytes(s, s + std::char_traits<char>::length(s)); }

struct BlobRow {
    const char* guards;
    Bytes afterProlog;
    std::vector<vesk::WString> strings;  // what reads; then one more read fails
};

TEST(AttributeBlob, StringsInEveryPackedFormAndEveryMalformedOne) {
    std::vector<BlobRow> rows = {
        {"lengths in one, two and four bytes",
         cat({{0x06}, ascii("System"), {0x80, 0xC8}, Bytes(200, 'x'), {0xC0, 0x00, 0x00, 0x05}, ascii("Fetch")}),
         {VESK_W("System"), vesk::WString(200, u'x'), VESK_W("Fetch")}},
        {"a null string is empty and takes one byte", cat({{0xFF, 0x00, 0x01}, ascii("M")}),
         {vesk::WString(), vesk::WString(), VESK_W("M")}},
        {"each byte stands for the character of its value", {0x03, 'c', 0xE9, 0xC3}, {u"c\u00E9\u00C3"}},
        {"the longest name that fits", cat({{0x80, 0xFF}, Bytes(255, 'n')}), {vesk::WString(255, u'n')}},
        {"a name of the buffer's size", cat({{0x81, 0x00}, Bytes(256, 'n')}), {}},
        {"a length far beyond any name", {0xC0, 0x10, 0x00, 0x00}, {}},
        {"a string running past the blob", {0x05, 'a', 'b'}, {}},
        {"a two-byte length running past the blob", cat({{0x80, 0x10}, Bytes(15, 'a')}), {}},
        {"a truncated two-byte length", {0x80}, {}},
        {"a truncated four-byte length", {0xC0, 0x00, 0x00}, {}},
        {"nothing after the prolog", {}, {}},
        {"a second string missing", {0x01, 'a'}, {VESK_W("a")}},
    };
    for (int first = 0xE0; first <= 0xFE; ++first)
        rows.push_back({"a lead byte that encodes no length", {static_cast<uint8_t>(first), 0, 0, 0, 0, 'a'}, {}});
    for (const BlobRow& row : rows) {
        SCOPED_TRACE(row.guards);
        ExactCopy copy(cat({{0x01, 0x00}, row.afterProlog}));
        AttributeBlobReader reader(copy.data(), copy.size());
        ASSERT_TRUE(reader.skipProlog());
        for (const vesk::WString& expected : row.strings) {
            vesk::WString s;
            ASSERT_TRUE(reader.readString(s));
            EXPECT_EQ(s, expected);
        }
        vesk::WString rest;
        EXPECT_FALSE(reader.readString(rest));
    }
    for (const Bytes& shortBlob : {Bytes{}, Bytes{0x01}}) {
        ExactCopy copy(shortBlob);
        AttributeBlobReader reader(copy.data(), copy.size());
        EXPECT_FALSE(reader.skipProlog());
    }
    AttributeBlobReader none(nullptr, 10);
    EXPECT_FALSE(none.skipProlog());
}

}  // namespace
