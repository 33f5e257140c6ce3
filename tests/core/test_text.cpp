#include <gtest/gtest.h>

#include <set>

#include "core/text.h"

namespace zel {
namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTripThroughUtf8AndUtf16) {
  Text all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
  EXPECT_EQ(utf16ToCp1252(cp1252ToUtf16(all)), all);

  // Distinct bytes give distinct characters, and each maps back to its byte.
  std::set<char32_t> seen;
  for (int b = 0; b < 256; ++b) {
    const char32_t cp = cp1252ToUnicode(static_cast<unsigned char>(b));
    EXPECT_TRUE(seen.insert(cp).second) << "byte " << b;
    EXPECT_EQ(unicodeToCp1252(cp), b);
  }
}

TEST(Cp1252, HighBytesAreTheWindowsCharacters) {
  EXPECT_EQ(cp1252ToUnicode(0x80), U'\u20AC');  // euro sign
  EXPECT_EQ(cp1252ToUnicode(0x8A), U'\u0160');
  EXPECT_EQ(cp1252ToUnicode(0x9F), U'\u0178');
  EXPECT_EQ(cp1252ToUnicode(0xE8), U'\u00E8');
  EXPECT_EQ(cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
  // High bytes at either end of ASCII runs, and two in a row.
  EXPECT_EQ(cp1252ToUtf8("\xE0 citt\xE0\x80"), "\xC3\xA0 citt\xC3\xA0\xE2\x82\xAC");
  EXPECT_EQ(utf8ToCp1252("citt\xC3\xA0 \xE2\x82\xAC"), "citt\xE0 \x80");
  // The five bytes the code page leaves undefined are their own C1 controls.
  for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
    EXPECT_EQ(cp1252ToUnicode(b), static_cast<char32_t>(b));
    EXPECT_EQ(cp1252ToUtf16(std::string(1, static_cast<char>(b))), std::u16string(1, b));
  }
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  // A CJK character, an emoji (outside the BMP), a Greek letter.
  const std::string utf8 = "a\xE4\xB8\xAD" "b\xF0\x9F\x98\x80" "c\xCE\xB1";
  EXPECT_EQ(utf8ToCp1252(utf8), "a?b?c?");
  EXPECT_FALSE(fitsCp1252(utf8));
  EXPECT_TRUE(fitsCp1252("Perch\xC3\xA9 \xE2\x82\xAC"));
  EXPECT_EQ(utf16ToCp1252(u"x\u4E2D\U0001F600y"), "x??y");
  EXPECT_EQ(unicodeToCp1252(0x4E2D), -1);
  // Malformed UTF-8 never leaks raw bytes into a record.
  EXPECT_EQ(utf8ToCp1252("a\xFF" "b\xC3"), "a?b?");
  // A lone surrogate in UTF-16 is not a character either.
  EXPECT_EQ(utf16ToCp1252(std::u16string(1, char16_t(0xD800))), "?");
}

TEST(Trim, RemovesCodesZeroToThirtyTwoAtBothEndsOnly) {
  Text blanks;
  for (int c = 0; c <= 32; ++c) blanks += static_cast<char>(c);
  EXPECT_EQ(trim(blanks + "a \t\r\nb" + blanks), "a \t\r\nb");
  EXPECT_EQ(trim(blanks), "");
  EXPECT_EQ(trim(""), "");
  // 127 and the non-breaking space 0xA0 are characters like any other.
  EXPECT_EQ(trim("\x7F" "x\xA0"), "\x7F" "x\xA0");
  EXPECT_EQ(trim(std::string("\0x\0", 3)), "x");
}

TEST(Case, OnlyAsciiLettersChange) {
  EXPECT_EQ(upperAscii("citt\xE0 \xE8 Zz09"), "CITT\xE0 \xE8 ZZ09");
  EXPECT_EQ(lowerAscii("CITT\xC0 \xC8 Aa"), "citt\xC0 \xC8 aa");
  EXPECT_TRUE(containsFolded("Mario ROSSI", "rossi"));
  EXPECT_TRUE(containsFolded("anything", ""));
  // An accented capital does not match its small letter.
  EXPECT_FALSE(containsFolded("\xC8", "\xE8"));
  EXPECT_FALSE(containsFolded("Ros si", "rossi"));
}

TEST(LineBreaks, NotesAreStoredWithCrLfAndShownWithLf) {
  EXPECT_EQ(storedLineBreaks("uno\ndue\n\ntre"), "uno\r\ndue\r\n\r\ntre");
  EXPECT_EQ(storedLineBreaks("gi\xE0\r\nok\rfine"), "gi\xE0\r\nok\r\nfine");  // never doubled
  EXPECT_EQ(shownLineBreaks("uno\r\ndue\r\n\r\ntre"), "uno\ndue\n\ntre");
  EXPECT_EQ(shownLineBreaks("vecchia\nnota\rmac"), "vecchia\nnota\nmac");  // LF-only notes read as before
  EXPECT_EQ(shownLineBreaks(storedLineBreaks("a\nb\n")), "a\nb\n");
  EXPECT_EQ(storedLineBreaks("nessuna"), "nessuna");
}

TEST(LineBreaks, ANoteFitsItsFieldWithEachBreakTakingTwoBytes) {
  EXPECT_EQ(fittingLength(u"abcdef", 4), 4u);
  EXPECT_EQ(fittingLength(u"ab\ncd", 4), 3u);   // "ab" CR LF
  EXPECT_EQ(fittingLength(u"abc\nd", 4), 3u);   // the break would need a fifth byte
  EXPECT_EQ(fittingLength(u"a\U0001F600b", 2), 3u);  // a pair is stored as one '?'
  EXPECT_EQ(fittingLength(u"ab", 10), 2u);
}

TEST(Digits, OnlyNonEmptyDecimalDigits) {
  EXPECT_TRUE(isDigitsOnly("0123456789"));
  EXPECT_FALSE(isDigitsOnly(""));
  EXPECT_FALSE(isDigitsOnly("12 3"));
  EXPECT_FALSE(isDigitsOnly("-1"));
}

}  // namespace
}  // namespace zel
