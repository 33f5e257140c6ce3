#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "core/numbers.h"

namespace zel {
namespace {

Decimal dec(const char* text) {
  const std::optional<Decimal> d = parseDecimal(text);
  EXPECT_TRUE(d.has_value()) << text;
  return d.value_or(Decimal());
}

TEST(ParseNumber, CommaIsTheDecimalSeparator) {
  struct Case {
    const char* text;
    double value;
  };
  const Case good[] = {
      {"12", 12},       {"12,", 12},      {",5", 0.5},     {",", 0},
      {"1E3", 1000},    {"1e3", 1000},    {"2,5E-1", 0.25}, {"1E+2", 100},
      {" +3 ", 3},      {"-4,25", -4.25}, {"  007  ", 7},  {"-,5", -0.5},
      {"0,125", 0.125}, {"30000000", 30000000},
  };
  for (const Case& c : good) {
    const auto v = parseNumber(c.text);
    ASSERT_TRUE(v.has_value()) << '"' << c.text << '"';
    EXPECT_DOUBLE_EQ(*v, c.value) << '"' << c.text << '"';
  }
}

TEST(ParseNumber, AnythingElseIsNotANumber) {
  for (const char* text : {"abc", "1.5", "", "   ", "-", "+", "1e", "1E+", "E3", "1,2,3",
                           "1 2", "12a", "1,5.", "--1", "\t1", "1e400", "1,5 x"}) {
    EXPECT_FALSE(parseNumber(text).has_value()) << '"' << text << '"';
  }
}

TEST(ParseNumber, TheDecimalReaderTakesTheSameTexts) {
  EXPECT_EQ(generalForm(dec("  -,5 ")), "-0,5");
  EXPECT_EQ(generalForm(dec("0012,3400")), "12,34");
  EXPECT_EQ(generalForm(dec("2,5E-1")), "0,25");
  EXPECT_FALSE(parseDecimal("1.5").has_value());
  EXPECT_FALSE(parseDecimal("1E400").has_value());
  // At the top of the range a number read must stay readable once shown in
  // 15 digits: 1,7976931348623157E308 (the largest double) would be shown
  // as 1,79769313486232E+308, which no double holds.
  EXPECT_FALSE(parseDecimal("9,99999999999999999E308").has_value());
  EXPECT_FALSE(parseDecimal("1,7976931348623157E308").has_value());
  EXPECT_FALSE(parseDecimal("-1,79769313486232E308").has_value());
  ASSERT_TRUE(parseDecimal("1,79769313486231E308").has_value());
  EXPECT_EQ(generalForm(*parseDecimal("1,79769313486231E308")), "1,79769313486231E+308");
  EXPECT_FALSE(parseDecimal("1E99999999999999999999").has_value());
  EXPECT_TRUE(parseDecimal("1E-99999999999999999999").value().isZero());
}

TEST(ParseNumber, TinyValuesReadAsZero) {
  const auto v = parseNumber("1E-400");
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(*v, 0.0);
}

std::string rounded(const char* text, int decimals) { return generalForm(roundDecimal(dec(text), decimals)); }

TEST(Rounding, HalvesGoUpAndTheRestIsCut) {
  EXPECT_EQ(rounded("2,5", 0), "3");
  EXPECT_EQ(rounded("2,4999", 0), "2");
  EXPECT_EQ(rounded("7,5", 0), "8");
  EXPECT_EQ(rounded("0,4", 0), "0");
  EXPECT_EQ(rounded("3,14159", 4), "3,1416");
  EXPECT_EQ(rounded("12,345", 1), "12,3");
  EXPECT_EQ(rounded("27,499", 2), "27,5");
  EXPECT_EQ(rounded("1E3", 2), "1000");
  // Int truncates toward zero: -2,5 + 0,5 is -2.
  EXPECT_EQ(rounded("-2,5", 0), "-2");
  EXPECT_EQ(rounded("-2,7", 0), "-2");
  EXPECT_EQ(rounded("-0,3", 0), "0");
}

TEST(Rounding, WorksOnTheDecimalDigitsNotOnABinaryApproximation) {
  // Each lies just under its half as a double.
  EXPECT_EQ(rounded("0,575", 2), "0,58");
  EXPECT_EQ(rounded("1,005", 2), "1,01");
  EXPECT_EQ(rounded("0,00015", 4), "0,0002");
  EXPECT_EQ(rounded("9999999999999,995", 2), "10000000000000");
  // The sixteen-digit extremes of the boxes stay exact.
  EXPECT_EQ(rounded("999999999999,9999", 3), "1000000000000");
  EXPECT_EQ(rounded("0,00000000000005", 13), "1E-13");
}

TEST(DecimalArithmetic, SumsAndProductsAreExact) {
  EXPECT_EQ(dec("0,1") + dec("0,2"), dec("0,3"));
  EXPECT_EQ(dec("1,015") - dec("0,015"), dec("1"));
  EXPECT_EQ(dec("10") - dec("2,5"), dec("7,5"));
  EXPECT_EQ(dec("2,5") - dec("10"), dec("-7,5"));
  EXPECT_EQ(dec("-3") + dec("3"), Decimal());
  EXPECT_EQ(dec("12345678,9") * dec("1234567,89"), dec("15241578750190,521"));
  EXPECT_EQ(dec("9999999999999999") * dec("9999999999999999"), dec("99999999999999980000000000000001"));
  EXPECT_EQ(dec("-0,5") * dec("4"), dec("-2"));
  EXPECT_EQ(Decimal::fromInteger(-30000000), dec("-3E7"));
  EXPECT_TRUE(dec("30000000,01") > dec("30000000"));
  EXPECT_TRUE(dec("-1") < dec("0,001"));
  EXPECT_TRUE(dec("0,0990") < dec("0,1"));
  EXPECT_DOUBLE_EQ(dec("-12,75").toDouble(), -12.75);
}

TEST(GeneralForm, DecimalsRoundToFifteenDigitsWithHalvesAwayFromZero) {
  EXPECT_EQ(generalForm(dec("12,50")), "12,5");
  EXPECT_EQ(generalForm(dec("0,0001")), "0,0001");
  EXPECT_EQ(generalForm(dec("0,00001")), "1E-05");
  EXPECT_EQ(generalForm(dec("-0,000012")), "-1,2E-05");
  EXPECT_EQ(generalForm(dec("123456789012345")), "123456789012345");
  EXPECT_EQ(generalForm(dec("1234567890123456")), "1,23456789012346E+15");
  EXPECT_EQ(generalForm(dec("0,1234567890123455")), "0,123456789012346");
  EXPECT_EQ(generalForm(dec("-0,1234567890123455")), "-0,123456789012346");
  EXPECT_EQ(generalForm(dec("999999999999999,5")), "1E+15");
  EXPECT_EQ(generalForm(dec("2E16")), "2E+16");
  EXPECT_EQ(generalForm(dec("-0")), "0");
}

TEST(GeneralForm, ShortestTextWithCommaAndNoTrailingZeros) {
  EXPECT_EQ(generalForm(12.5), "12,5");
  EXPECT_EQ(generalForm(8), "8");
  EXPECT_EQ(generalForm(0.1 + 0.2), "0,3");  // 15 significant digits hide the error
  EXPECT_EQ(generalForm(0), "0");
  EXPECT_EQ(generalForm(-0.0), "0");
  EXPECT_EQ(generalForm(-3.25), "-3,25");
  EXPECT_EQ(generalForm(1234567.125), "1234567,125");
  EXPECT_EQ(generalForm(123456789012345.0), "123456789012345");
  // Whatever it writes, the reader takes back.
  for (double x : {1e20, 1.5e-7, 30000000.0, 99.99}) {
    const auto back = parseNumber(generalForm(x));
    ASSERT_TRUE(back.has_value()) << generalForm(x);
    EXPECT_DOUBLE_EQ(*back, x);
  }
}

TEST(TwoDecimals, CompletesAmounts) {
  EXPECT_EQ(completeTwoDecimals("7"), "7,00");
  EXPECT_EQ(completeTwoDecimals("12,5"), "12,50");
  EXPECT_EQ(completeTwoDecimals("3,125"), "3,125");
  EXPECT_EQ(completeTwoDecimals(""), "0,00");
  EXPECT_EQ(completeTwoDecimals(","), "0,00");
  EXPECT_EQ(completeTwoDecimals(",5"), "0,50");
  EXPECT_EQ(completeTwoDecimals("12,"), "12,00");
  EXPECT_EQ(completeTwoDecimals("27,50"), "27,50");
  EXPECT_EQ(completeTwoDecimals("0"), "0,00");
}

// A toolkit may switch the process to a locale whose decimal separator is a
// comma; reading and writing numbers must not change with it.
TEST(Numbers, IgnoreTheProcessLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  const char* commaLocale = nullptr;
  for (const char* name : {"it_IT.UTF-8", "it_IT.utf8", "de_DE.UTF-8", "fr_FR.UTF-8", "it_IT"}) {
    if (std::setlocale(LC_ALL, name) != nullptr) {
      commaLocale = name;
      break;
    }
  }
  if (commaLocale == nullptr) GTEST_SKIP() << "no locale with a decimal comma installed";
  const auto v = parseNumber("12,75");
  const auto dot = parseNumber("1.5");
  const std::string text = generalForm(2.5);
  std::setlocale(LC_ALL, saved.c_str());
  ASSERT_TRUE(v.has_value());
  EXPECT_DOUBLE_EQ(*v, 12.75);
  EXPECT_FALSE(dot.has_value());
  EXPECT_EQ(text, "2,5");
}

}  // namespace
}  // namespace zel
