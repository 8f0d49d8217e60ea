#include "common/text.h"

#include <cmath>
#include <tuple>

#include <gtest/gtest.h>

namespace tarvok {
namespace {

TEST(Numeric, AcceptsDecimalCommaPointSignBlanksAndExponent) {
    for (const char* t : {"0", "12", " 12 ", "-15", "+3", "52,25", "52.25", ",5", "5,", "1E-05", "2e3", "084,4", "-0"})
        EXPECT_TRUE(isNumeric(t)) << t;
    for (auto [text, value] : {std::pair{"52,25", 52.25},
                               {"52.25", 52.25},
                               {"-15  ", -15.0},
                               {"35   ", 35.0},
                               {"084,4", 84.4},
                               {"1E-05", 0.00001}})
        EXPECT_DOUBLE_EQ(numericValue(text), value) << text;
}

TEST(Numeric, RejectsTextThatIsNotANumberAndValuesItZero) {
    for (const char* t : {"", "   ", "-", ",", "1,2,3", "1.2.3", "12a", "a12", "1 2", "E5", "1E", "--1", "0x10", "nan",
                          "inf", "1e999"}) {
        EXPECT_FALSE(isNumeric(t)) << t;
        EXPECT_EQ(numericValue(t), 0.0) << t;
    }
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    for (auto [value, rounded] : {std::pair{84.5, 84}, {85.5, 86}, {-2.5, -2}, {-3.5, -4}, {2.4999, 2}})
        EXPECT_EQ(roundToInt32(value), rounded) << value;
    for (auto [value, rounded] : {std::pair{0.5, 0}, {1.5, 2}}) EXPECT_EQ(roundToInt16(value), rounded) << value;
}

TEST(Rounding, OverflowIsReportedNotWrapped) {
    EXPECT_EQ(roundToInt16(32767.4), 32767);
    EXPECT_FALSE(roundToInt16(32767.6).has_value());
    EXPECT_FALSE(roundToInt16(-32769.0).has_value());
    EXPECT_EQ(roundToInt32(2147483647.0), 2147483647);
    EXPECT_FALSE(roundToInt32(2147483648.0).has_value());
    EXPECT_FALSE(roundToInt32(std::nan("")).has_value());
    EXPECT_EQ(roundToInt32Clamped(1e12), 2147483647);
    EXPECT_EQ(roundToInt32Clamped(-1e12), -2147483647 - 1);
    EXPECT_EQ(roundToInt32Clamped(std::nan("")), 0);
}

TEST(Rounding, IntegerPartRoundsDown) {
    EXPECT_EQ(integerPart(2.9), 2.0);
    EXPECT_EQ(integerPart(-2.1), -3.0);
    EXPECT_EQ(integerPart(41.0 * 1.852), 75.0);
}

TEST(DecimalComma, FifteenSignificantDigitsNoTrailingZerosNoExponent) {
    for (auto [value, text] : {std::pair{52.0 + 5.0 / 60.0, "52,0833333333333"},
                               {4.0 + 1234.0 / 6000.0, "4,20566666666667"},
                               {5.0, "5"},
                               {-0.5, "-0,5"},
                               {0.00001, "0,00001"},
                               {52.00001, "52,00001"},
                               {0.0, "0"},
                               {9.99999999999999999, "10"},
                               {123456789012345678.0, "123456789012346000"}})
        EXPECT_EQ(decimalCommaText(value), text) << text;
    // What it writes, the numeric rules read back.
    for (double v : {52.0833333333333, -4.5, 179.99999, 0.00001})
        EXPECT_NEAR(numericValue(decimalCommaText(v)), v, 1e-12);
}

TEST(Padding, LeftZerosAndRightBlanks) {
    for (auto [text, width, padded] :
         {std::tuple{"7", 2, "07"}, {"15", 2, "15"}, {"1234", 3, "1234"}, {"22", 3, "022"}})
        EXPECT_EQ(padLeft(text, width), padded) << text;
    for (auto [text, padded] : {std::pair{"300", "300  "}, {"4800", "4800 "}, {"123456", "12345"}})
        EXPECT_EQ(padRightToWidth(text, 5), padded) << text;
    EXPECT_EQ(trimBlanks("  4800 "), "4800");
    EXPECT_EQ(trimTrailingBlanks(" 30  "), " 30");
    EXPECT_EQ(integerText(-40), "-40");
    EXPECT_EQ(upperAscii("n\xe9s"), "N\xe9S");
    // Windows-1252 capitals: É, Š, Ÿ; the multiplication sign stays.
    EXPECT_EQ(lowerCase("STOP \xc9\x8a\x9f\xd7 1"), "stop \xe9\x9a\xff\xd7 1");
}

TEST(Cp1252, RoundTripsThroughUtf8) {
    std::string cp = "Kaart Belgi\xeb \x80 \x93x\x94";
    std::string utf8 = cp1252ToUtf8(cp);
    EXPECT_EQ(utf8, "Kaart Belgi\xc3\xab \xe2\x82\xac \xe2\x80\x9cx\xe2\x80\x9d");
    EXPECT_EQ(utf8ToCp1252(utf8), cp);
    EXPECT_EQ(utf8ToCp1252("\xe4\xb8\xad"), "?");  // not in Windows-1252
    EXPECT_EQ(utf8ToCp1252("a\xff"
                           "b"),
              "a?b");                        // broken UTF-8
    EXPECT_EQ(utf8ToCp1252("a\xc3"), "a?");  // cut off
}

}  // namespace
}  // namespace tarvok
