#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rt/convert.h"
#include "platform/rt/error.h"

namespace {

template <class F>
int errorOf(F&& f) {
    try {
        f();
    } catch (const rt::Error& e) {
        return e.number();
    }
    return 0;
}

TEST(Cint, RoundsHalvesToEvenAndChecksRange) {
    EXPECT_EQ(rt::cint(2.5), 2);
    EXPECT_EQ(rt::cint(3.5), 4);
    EXPECT_EQ(rt::cint(-2.5), -2);
    EXPECT_EQ(rt::cint(-2.6), -3);
    EXPECT_EQ(rt::cint(0.5), 0);
    EXPECT_EQ(rt::cint(1.5), 2);
    EXPECT_EQ(rt::cint(32767.4), 32767);
    EXPECT_EQ(rt::cint(-32768.5), -32768);  // the even neighbour still fits
    EXPECT_EQ(errorOf([] { rt::cint(32767.5); }), rt::kOverflow);
    EXPECT_EQ(errorOf([] { rt::cint(-32769.0); }), rt::kOverflow);
    EXPECT_EQ(errorOf([] { rt::cint(std::nan("")); }), rt::kOverflow);
    EXPECT_EQ(errorOf([] { rt::cint(1e300); }), rt::kOverflow);
    EXPECT_EQ(rt::clng(2.5e9 / 2), 1250000000);
    EXPECT_EQ(errorOf([] { rt::clng(3e9); }), rt::kOverflow);
}

TEST(Cint, FloorFixAndCheckedWhole) {
    EXPECT_EQ(rt::intFloor(-2.5), -3.0);
    EXPECT_EQ(rt::intFloor(2.9), 2.0);
    EXPECT_EQ(rt::fix(-2.9), -2.0);
    EXPECT_EQ(rt::fix(2.9), 2.0);
    EXPECT_EQ(rt::toInt16(-32768.9), -32768);
    EXPECT_EQ(rt::toInt16(32767.9), 32767);
    EXPECT_EQ(errorOf([] { rt::toInt16(32768.0); }), rt::kOverflow);
    EXPECT_EQ(errorOf([] { rt::toInt16(-std::numeric_limits<double>::infinity()); }), rt::kOverflow);
    EXPECT_EQ(errorOf([] { rt::toInt32(std::nan("")); }), rt::kOverflow);
}

TEST(Csng, OverflowsOnlyBeyondSingleRange) {
    EXPECT_EQ(rt::csng(0.1), 0.1f);
    EXPECT_EQ(rt::csng(3.4028234e38), std::numeric_limits<float>::max());
    EXPECT_EQ(errorOf([] { rt::csng(3.5e38); }), rt::kOverflow);
    EXPECT_EQ(errorOf([] { rt::csng(-1e300); }), rt::kOverflow);
    EXPECT_TRUE(std::isnan(rt::csng(std::nan(""))));
}

TEST(TextToNumber, AcceptsNumbersOnly) {
    EXPECT_EQ(rt::textToSingle("12.5"), 12.5f);
    EXPECT_EQ(rt::textToSingle("  -0.8  "), -0.8f);
    EXPECT_EQ(rt::textToSingle("+.5"), 0.5f);
    EXPECT_EQ(rt::textToSingle("3."), 3.0f);
    EXPECT_EQ(rt::textToSingle("1E3"), 1000.0f);
    EXPECT_EQ(rt::textToSingle("1.5d-2"), 0.015f);
    EXPECT_EQ(rt::textToSingle("0.1"), 0.1f);  // rounded once, straight to single
    EXPECT_EQ(rt::textToSingle("1e-60"), 0.0f);
    for (const char* bad : {"", "   ", "abc", "1,5", "1.2.3", "1e", "--1", ".", "12a", "1 2", "e5"})
        EXPECT_EQ(errorOf([&] { rt::textToSingle(bad); }), rt::kTypeMismatch) << bad;
    EXPECT_EQ(errorOf([] { rt::textToSingle("1e39"); }), rt::kOverflow);
    EXPECT_EQ(errorOf([] { rt::textToSingle("1e99999999999999999999"); }), rt::kOverflow);
}

TEST(TextToNumber, IntegerRoundsHalvesToEven) {
    EXPECT_EQ(rt::textToInteger("4"), 4);
    EXPECT_EQ(rt::textToInteger("2.5"), 2);
    EXPECT_EQ(rt::textToInteger("3.5"), 4);
    EXPECT_EQ(rt::textToInteger(" -7.5 "), -8);
    EXPECT_EQ(rt::textToInteger("32767.49"), 32767);
    EXPECT_EQ(errorOf([] { rt::textToInteger("32767.5"); }), rt::kOverflow);
    EXPECT_EQ(errorOf([] { rt::textToInteger("x"); }), rt::kTypeMismatch);
    EXPECT_EQ(errorOf([] { rt::textToInteger(""); }), rt::kTypeMismatch);
}

TEST(Val, ReadsTheNumericPrefix) {
    EXPECT_EQ(rt::val("1D3"), 1000.0);
    EXPECT_EQ(rt::val("1E3"), 1000.0);
    EXPECT_EQ(rt::val("2.5E-1xyz"), 0.25);
    EXPECT_EQ(rt::val("  - 1 2.5"), -12.5);  // blanks are skipped anywhere
    EXPECT_EQ(rt::val("1.2.3"), 1.2);
    EXPECT_EQ(rt::val("12-3"), 12.0);
    EXPECT_EQ(rt::val("1E"), 1.0);
    EXPECT_EQ(rt::val("1E+"), 1.0);
    EXPECT_EQ(rt::val("-.5"), -0.5);
    EXPECT_EQ(rt::val(""), 0.0);
    EXPECT_EQ(rt::val("E5"), 0.0);
    EXPECT_EQ(rt::val("+-3"), 0.0);
    EXPECT_EQ(rt::val("."), 0.0);
    EXPECT_EQ(rt::val("1e-400"), 0.0);
    EXPECT_EQ(errorOf([] { rt::val("1e400"); }), rt::kOverflow);
    EXPECT_EQ(rt::val(std::string(5000, '0') + "1"), 1.0);
}

}  // namespace
