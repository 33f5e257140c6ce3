#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>

#include "core/crypt.h"

namespace zel {
namespace {

// Worked by hand from the key rule K := ((K + c) * M + A) mod 65536:
//   "A": K = 0x51E3, high byte 0x51; c = 0x41 ^ 0x51 = 0x10          -> "10"
//        K = (0x51E3 + 0x10) * 0x3E91 + 0x7D2F = 20979 * 16017 + 32047
//          = 336020643 + 32047; 336020643 mod 65536 = 17571;
//          17571 + 32047 = 49618 = 0xC1D2
//   "B": high byte 0xC1; c = 0x42 ^ 0xC1 = 0x83                       -> "83"
//        K = (0xC1D2 + 0x83) * 0x3E91 + 0x7D2F = 49749 * 16017 + 32047
//          = 796829733 + 32047; 796829733 mod 65536 = 43045;
//          (43045 + 32047) mod 65536 = 9556 = 0x2554
//   "C": high byte 0x25; c = 0x43 ^ 0x25 = 0x66                       -> "66"
TEST(Crypt, FixedVectors) {
  EXPECT_EQ(ScrambleToHex(""), "");
  EXPECT_EQ(ScrambleToHex("A"), "10");
  EXPECT_EQ(ScrambleToHex("AB"), "1083");
  EXPECT_EQ(ScrambleToHex("ABC"), "108366");
  EXPECT_EQ(ScrambleToHex("a"), "30");         // 0x61 ^ 0x51
  EXPECT_EQ(ScrambleToHex("\xE0"), "B1");      // 0xE0 ^ 0x51: letters above 127 too
  EXPECT_EQ(UnscrambleFromHex("108366"), "ABC");
  EXPECT_EQ(UnscrambleFromHex(""), "");
}

TEST(Crypt, RoundTripOfEveryLength) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  for (size_t n = 0; n <= kMaxScrambledBytes; ++n) {
    std::string plain(n, '\0');
    for (char& c : plain) c = static_cast<char>(byte(random));
    const std::string hex = ScrambleToHex(plain);
    ASSERT_EQ(hex.size(), 2 * n);
    ASSERT_TRUE(std::all_of(hex.begin(), hex.end(),
                            [](char d) { return (d >= '0' && d <= '9') || (d >= 'A' && d <= 'F'); }))
        << hex;
    ASSERT_EQ(UnscrambleFromHex(hex), plain) << "length " << n;
    std::string lower = hex;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char d) { return static_cast<char>(std::tolower(d)); });
    ASSERT_EQ(UnscrambleFromHex(lower), plain) << "length " << n;
  }
}

TEST(Crypt, KeyDependsOnlyOnEarlierBytes) {
  const std::string a = ScrambleToHex("PASSWORD1");
  const std::string b = ScrambleToHex("PASSWORD2X");
  EXPECT_EQ(a.substr(0, 16), b.substr(0, 16));
  EXPECT_NE(a.substr(16, 2), b.substr(16, 2));
  // Same byte at different places scrambles differently.
  EXPECT_NE(ScrambleToHex("AA").substr(0, 2), ScrambleToHex("AA").substr(2, 2));
}

TEST(Crypt, OddDigitIgnoredAndBadPairsRefused) {
  EXPECT_EQ(UnscrambleFromHex("108"), "A");
  EXPECT_EQ(UnscrambleFromHex("1"), "");
  EXPECT_EQ(UnscrambleFromHex("1083G"), "AB");  // the ignored digit is not checked
  for (const char* bad : {"1G", "G1", "10 3", "0x", "10-3", "1083\xC0" "0"})
    EXPECT_THROW(UnscrambleFromHex(bad), CryptError) << bad;
}

TEST(Crypt, LengthLimitOf255Bytes) {
  const std::string longest(255, 'Z');
  const std::string hex = ScrambleToHex(longest);
  EXPECT_EQ(UnscrambleFromHex(hex), longest);
  EXPECT_EQ(UnscrambleFromHex(hex + "0"), longest);  // 511 digits: still 255 pairs
  EXPECT_THROW(UnscrambleFromHex(hex + "00"), CryptError);
  EXPECT_THROW(ScrambleToHex(std::string(256, 'Z')), CryptError);
}

TEST(Crypt, NormaliseUpperCasesAsciiOnlyAndTrims) {
  EXPECT_EQ(normalisePassword(" \t caff\xE8 Zz9\r\n\x01"), "CAFF\xE8 ZZ9");
  EXPECT_EQ(normalisePassword("   "), "");
  EXPECT_EQ(normalisePassword("a\x7F"), "A\x7F");  // DEL is above 32: kept
}

}  // namespace
}  // namespace zel
