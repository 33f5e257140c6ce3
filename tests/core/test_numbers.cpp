#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "core/numbers.h"

namespace zel {
namespace {

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

TEST(ParseNumber, TinyValuesReadAsZero) {
  const auto v = parseNumber("1E-400");
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(*v, 0.0);
}

TEST(Rounding, HalvesGoUpAndTheRestIsCut) {
  EXPECT_EQ(roundDecimal(2.5, 0), 3);
  EXPECT_EQ(roundDecimal(2.4999, 0), 2);
  EXPECT_EQ(roundDecimal(7.5, 0), 8);
  EXPECT_EQ(roundDecimal(0.4, 0), 0);
  EXPECT_DOUBLE_EQ(roundDecimal(3.14159, 4), 3.1416);
  EXPECT_DOUBLE_EQ(roundDecimal(12.345, 1), 12.3);
  EXPECT_DOUBLE_EQ(roundDecimal(27.499, 2), 27.5);
  // Int truncates toward zero: -2,5 + 0,5 is -2.
  EXPECT_EQ(roundDecimal(-2.5, 0), -2);
  EXPECT_EQ(roundDecimal(-2.7, 0), -2);
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
