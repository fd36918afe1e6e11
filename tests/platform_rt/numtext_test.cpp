#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rt/error.h"
#include "platform/rt/numtext.h"

namespace {

TEST(Format, TwoDecimalPatterns) {
    EXPECT_EQ(rt::format(0, "#0.00"), "0.00");
    EXPECT_EQ(rt::format(2.625, "#0.00"), "2.63");  // half away from zero
    EXPECT_EQ(rt::format(-2.625, "#0.00"), "-2.63");
    EXPECT_EQ(rt::format(0.285f, "#0.00"), "0.29");  // on the single's decimal digits
    EXPECT_EQ(rt::format(1.005f, "##0.00"), "1.01");
    EXPECT_EQ(rt::format(9.995f, "#0.00"), "10.00");
    EXPECT_EQ(rt::format(12345.678, "###0.00"), "12345.68");  // "#" never limits width
    EXPECT_EQ(rt::format(1234.567, "####0.00"), "1234.57");
    EXPECT_EQ(rt::format(0.5, "##0.00"), "0.50");
    EXPECT_EQ(rt::format(100, "#0.00"), "100.00");
    EXPECT_EQ(rt::format(1.5e20, "#0.00"), "150000000000000000000.00");
}

TEST(Format, NeverMinusZero) {
    EXPECT_EQ(rt::format(-0.001, "#0.00"), "0.00");
    EXPECT_EQ(rt::format(-0.0, "#0.00"), "0.00");
    EXPECT_EQ(rt::format(-0.004999, "##0.00"), "0.00");
    EXPECT_EQ(rt::format(-0.005, "##0.00"), "-0.01");
    EXPECT_EQ(rt::format(-0.00001, "#.###"), ".");
}

TEST(Format, MoreDecimalsAndOptionalPlaces) {
    EXPECT_EQ(rt::format(0.01234, "#0.0000"), "0.0123");
    EXPECT_EQ(rt::format(3.14159, "#0.000"), "3.142");
    EXPECT_EQ(rt::format(3.0005, "###0.000"), "3.001");
    EXPECT_EQ(rt::format(1.2, "#0.#0"), "1.20");
    EXPECT_EQ(rt::format(1.2, "#0.##0"), "1.200");
    EXPECT_EQ(rt::format(0.25, "#.###"), ".25");
    EXPECT_EQ(rt::format(1, "#.###"), "1.");
    EXPECT_EQ(rt::format(0.0004, "#.###"), ".");
    EXPECT_EQ(rt::format(0.0005, "#.###"), ".001");
    EXPECT_EQ(rt::format(12.3456, "#.###"), "12.346");
    EXPECT_EQ(rt::format(-0.25, "#.###"), "-.25");
    EXPECT_EQ(rt::format(0.9996, "#.###"), "1.");
}

TEST(Format, BadPatternAndOutOfRange) {
    EXPECT_THROW(rt::format(1, "#,##0.00"), rt::Error);
    EXPECT_THROW(rt::format(1e300, "#0.00"), rt::Error);
    EXPECT_EQ(rt::format(std::nan(""), "#0.00"), "NaN");
    EXPECT_EQ(rt::format(-std::numeric_limits<double>::infinity(), "#0.00"), "-Inf");
}

TEST(GeneralForm, ShortestSevenDigits) {
    EXPECT_EQ(rt::generalForm(12.5f), "12.5");
    EXPECT_EQ(rt::generalForm(3.0f), "3");
    EXPECT_EQ(rt::generalForm(0.8f), "0.8");
    EXPECT_EQ(rt::generalForm(0.0f), "0");
    EXPECT_EQ(rt::generalForm(-0.0f), "0");
    EXPECT_EQ(rt::generalForm(-12.5f), "-12.5");
    EXPECT_EQ(rt::generalForm(0.1f), "0.1");
    EXPECT_EQ(rt::generalForm(1.0f / 3.0f), "0.3333333");
    EXPECT_EQ(rt::generalForm(2.0f / 3.0f), "0.6666667");
    EXPECT_EQ(rt::generalForm(9999999.0f), "9999999");
    EXPECT_EQ(rt::generalForm(1234567.0f), "1234567");
    EXPECT_EQ(rt::generalForm(100.0f), "100");
    EXPECT_EQ(rt::generalForm(0.0001f), "0.0001");
    EXPECT_EQ(rt::generalForm(0.00012345f), "0.00012345");
}

TEST(GeneralForm, ExponentOutsideRange) {
    EXPECT_EQ(rt::generalForm(12345678.0f), "1.234568E+07");
    EXPECT_EQ(rt::generalForm(10000000.0f), "1E+07");
    EXPECT_EQ(rt::generalForm(0.00001f), "1E-05");
    EXPECT_EQ(rt::generalForm(-0.000012f), "-1.2E-05");
    EXPECT_EQ(rt::generalForm(3.4028235e38f), "3.402823E+38");
    EXPECT_EQ(rt::generalForm(1.0e-40f), "9.999946E-41");  // subnormal: its own digits
    EXPECT_EQ(rt::generalForm(std::numeric_limits<float>::infinity()), "Inf");
}

TEST(NumberItem, SignPlaceAndTrailingBlank) {
    EXPECT_EQ(rt::numberItem(12.5), " 12.5 ");
    EXPECT_EQ(rt::numberItem(-12.5), "-12.5 ");
    EXPECT_EQ(rt::numberItem(0.0), " 0 ");
    EXPECT_EQ(rt::numberItem(1e8), " 1E+08 ");
    EXPECT_EQ(rt::numberItem(7), " 7 ");
    EXPECT_EQ(rt::numberItem(-32768), "-32768 ");
    short s = 3;
    EXPECT_EQ(rt::numberItem(s), " 3 ");
    EXPECT_EQ(rt::numberItem(0.1f), " 0.1 ");  // a single keeps its own digits
}

}  // namespace
