#include "gfx/Base64.h"

#include <gtest/gtest.h>

#include <string>

namespace zp {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view Text) {
    return {Text.begin(), Text.end()};
}

TEST(Base64, EncodesAndDecodesTheStandardVectorsWithPadding) {
    const std::pair<const char*, const char*> Vectors[] = {{"f", "Zg=="},         {"fo", "Zm8="},
                                                           {"foo", "Zm9v"},       {"foob", "Zm9vYg=="},
                                                           {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}};
    for (const auto& [Plain, Coded] : Vectors) {
        EXPECT_EQ(Base64Encode(Bytes(Plain)), Coded);
        EXPECT_EQ(Base64Decode(Coded), Bytes(Plain)) << Coded;
    }
    EXPECT_EQ(Base64Encode({}), "");
    // The last two letters of the alphabet are "+" and "/".
    EXPECT_EQ(Base64Encode(std::vector<std::uint8_t>{0xFB, 0xFF}), "+/8=");
    EXPECT_EQ(Base64Decode("+/8="), (std::vector<std::uint8_t>{0xFB, 0xFF}));
}

TEST(Base64, RoundTripsEveryByteValueAndLength) {
    std::vector<std::uint8_t> Data;
    for (int I = 0; I < 256; ++I) Data.push_back(static_cast<std::uint8_t>(255 - I));
    for (std::size_t N = 0; N <= Data.size(); N += (N < 12 ? 1 : 61)) {
        const std::span<const std::uint8_t> Part(Data.data(), N);
        const std::string Text = Base64Encode(Part);
        EXPECT_EQ(Text.size(), 4 * ((N + 2) / 3));
        EXPECT_EQ(Text.find_first_of("\r\n "), std::string::npos);
        if (N > 0) {
            EXPECT_EQ(Base64Decode(Text), std::vector<std::uint8_t>(Part.begin(), Part.end())) << N;
        }
    }
}

TEST(Base64, RejectsBrokenTextAsAWholeWithoutPartialOutput) {
    const char* Broken[] = {
        "",                     // no data
        "Zm9",                  // not a multiple of 4
        "Zm9vY",                //
        "Zm9v\r\nYmFy",         // line break
        "Zm9 vYmFy",            // blank
        "Zm9vYmF\n",            // line break in place of the last letter
        "Zg=A",                 // "=" in the second-last place only
        "Z===",                 // three padding characters
        "====",                 //
        "Zg==Zg==",             // padding inside the text
        "Zm-_",                 // the URL alphabet
        "Zm9v\xC3\xA4\xC3\xA4", // non-ASCII
    };
    for (const char* Text : Broken) EXPECT_TRUE(Base64Decode(Text).empty()) << Text;
}

} // namespace
} // namespace zp
