#include "simulation/parse_number.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <cstdint>
#include <string>

namespace {

struct Case {
    const char* input;
    float value;
    std::int16_t status;
    const char* text;  // nullptr: the written-back text is not pinned
};

TEST(ParseNumberText, TableOfInputs) {
    const Case cases[] = {
        {"", 0.0f, 1, ""},
        {"    ", 0.0f, 1, ""},
        {"  12.5 ", 12.5f, 0, "12.5"},
        {"1e3", 1000.0f, 0, "1000"},
        {"1D3", 1000.0f, 0, "1000"},
        {"2.5d-2", 0.025f, 0, "0.025"},
        {"12a3", 123.0f, 2, "123"},
        {"1 000", 1000.0f, 2, "1000"},
        {"abc", 0.0f, 2, "0"},
        {"1.2.3", 1.2f, 0, "1.2"},
        {"-", 0.0f, 0, "0"},
        {"+7", 7.0f, 0, "7"},
        {"-0.5", -0.5f, 0, "-0.5"},
        {".5", 0.5f, 0, "0.5"},
        {"5.", 5.0f, 0, "5"},
        {"3-4", 3.0f, 0, "3"},
        {"--5", 0.0f, 0, "0"},
        {"E5", 0.0f, 0, "0"},
        {"1E", 1.0f, 0, "1"},
        {"1E+", 1.0f, 0, "1"},
        {"1e-50", 0.0f, 0, "0"},
        {"12,5", 125.0f, 2, "125"},  // a comma is no decimal point, in any locale
        {"\t4", 4.0f, 2, "4"},       // only blanks are trimmed
        {"0.1", 0.1f, 0, "0.1"},
    };
    for (const Case& c : cases) {
        std::string text = c.input;
        std::int16_t status = 99;
        const float v = sim::ParseNumberText(text, status);
        EXPECT_EQ(v, c.value) << '"' << c.input << '"';
        EXPECT_EQ(status, c.status) << '"' << c.input << '"';
        if (c.text) {
            EXPECT_EQ(text, c.text) << c.input;
        }
    }
}

TEST(ParseNumberText, OverflowGivesStarRowAsLongAsTrimmedText) {
    const float big = std::bit_cast<float>(std::uint32_t{0x7F7FFFFDu});
    EXPECT_NEAR(big, 3.4028230607e38f, 1e31);
    struct {
        const char* input;
        const char* stars;
    } cases[] = {{"1E39", "****"},     {" -1E39 ", "*****"}, {"1e400", "*****"},
                 {"1D99999999", "**********"}, {"3.5E38", "******"}, {"9x9E99", "******"}};
    for (auto& c : cases) {
        std::string text = c.input;
        std::int16_t status = 0;
        EXPECT_EQ(sim::ParseNumberText(text, status), big) << c.input;
        EXPECT_EQ(status, 3) << c.input;
        EXPECT_EQ(text, c.stars) << c.input;
    }
    // The largest single still fits.
    std::string text = "3.4028234E38";
    std::int16_t status = 0;
    EXPECT_EQ(sim::ParseNumberText(text, status), 3.4028234e38f);
    EXPECT_EQ(status, 0);
    // The bound is 3.4028235E+38 as written: up to it a number rounds to the
    // largest single, above it (even where it would still round down to a
    // finite single) it overflows.
    for (const char* atBound : {"3.4028235E38", "-3.4028235e38"}) {
        text = atBound;
        status = 0;
        EXPECT_EQ(std::fabs(sim::ParseNumberText(text, status)), std::numeric_limits<float>::max()) << atBound;
        EXPECT_EQ(status, 0) << atBound;
    }
    for (const char* above : {"3.40282351E38", "3.40282356E38", "-3.40282356E38"}) {
        text = above;
        status = 0;
        EXPECT_EQ(sim::ParseNumberText(text, status), big) << above;
        EXPECT_EQ(status, 3) << above;
        EXPECT_EQ(text, std::string(std::strlen(above), '*')) << above;
    }
}

TEST(ParseNumberText, ScratchVariablesKeepTheLastCall) {
    std::string text = " 4x2 ";
    std::int16_t status = 0;
    sim::ParseNumberText(text, status);
    EXPECT_EQ(sim::ParseAllowedChars, "0123456789.+-ED");
    EXPECT_EQ(sim::ParseFilteredText, "42");
    EXPECT_EQ(sim::ParseCharPos, 3);  // position of the last character, "2"
    EXPECT_EQ(sim::ParseValue, 42.0f);
}

}  // namespace
