#include "clrprof/string_conversion.h"

#include <gtest/gtest.h>

using veskmrte_1_0::wideToUtf8;

TEST(WideToUtf8, CountsBytesNotCharactersAndIncludesTheTerminator) {
    // "Grüße €" plus terminator: ü and ß take 2 bytes, € takes 3.
    const vesk::WChar text[] = {'G', 'r', 0xFC, 0xDF, 'e', ' ', 0x20AC, 0};
    char out[32];
    int size = sizeof out;
    ASSERT_EQ(wideToUtf8(text, 8, out, &size), out);
    EXPECT_EQ(size, 1 + 1 + 2 + 2 + 1 + 1 + 3 + 1);
    EXPECT_STREQ(out, "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC");
}

TEST(WideToUtf8, MinusOneMeansNulTerminated) {
    const vesk::WChar text[] = {'a', 'b', 0};
    char out[8];
    int size = sizeof out;
    ASSERT_NE(wideToUtf8(text, -1, out, &size), nullptr);
    EXPECT_EQ(size, 3);
    EXPECT_STREQ(out, "ab");
}

TEST(WideToUtf8, SurrogatePairsBecomeFourBytesAndLoneSurrogatesReplacementCharacters) {
    // U+1F600 as a pair, then a lone high and a lone low surrogate.
    const vesk::WChar text[] = {0xD83D, 0xDE00, 0xD800, 'x', 0xDC00, 0};
    char out[32];
    int size = sizeof out;
    ASSERT_NE(wideToUtf8(text, 6, out, &size), nullptr);
    EXPECT_EQ(size, 4 + 3 + 1 + 3 + 1);
    EXPECT_STREQ(out, "\xF0\x9F\x98\x80\xEF\xBF\xBDx\xEF\xBF\xBD");
}

TEST(WideToUtf8, TooSmallDestinationYieldsNullAndLeavesSizeAndBufferAlone) {
    const vesk::WChar text[] = {0x20AC, 0x20AC, 0};
    char out[6] = {'z', 'z', 'z', 'z', 'z', 'z'};
    int size = 6;  // needs 7 with the terminator
    EXPECT_EQ(wideToUtf8(text, 3, out, &size), nullptr);
    EXPECT_EQ(size, 6);
    EXPECT_EQ(out[0], 'z');
    size = 7;
    char exact[7];
    EXPECT_EQ(wideToUtf8(text, 3, exact, &size), exact);
    EXPECT_EQ(size, 7);
}

TEST(WideToUtf8DeathTest, NullSourceIsFatal) {
    char out[4];
    int size = 4;
    EXPECT_EXIT(wideToUtf8(nullptr, 1, out, &size), testing::ExitedWithCode(3), "VESKMRTE1_ASSERT at:.*'src != NULL'");
}
