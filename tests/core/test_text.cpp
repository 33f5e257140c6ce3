#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

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

// The Windows-1252 code page as published: every byte of 0x80-0x9F (the five
// it leaves undefined stand for the C1 control of the same number) and a
// sample of the rest, where the code page agrees with Latin-1.
struct CodePageEntry {
  unsigned char byte;
  char32_t cp;
};
constexpr CodePageEntry kWindows1252[] = {
    {0x80, 0x20AC}, {0x81, 0x0081}, {0x82, 0x201A}, {0x83, 0x0192}, {0x84, 0x201E}, {0x85, 0x2026},
    {0x86, 0x2020}, {0x87, 0x2021}, {0x88, 0x02C6}, {0x89, 0x2030}, {0x8A, 0x0160}, {0x8B, 0x2039},
    {0x8C, 0x0152}, {0x8D, 0x008D}, {0x8E, 0x017D}, {0x8F, 0x008F}, {0x90, 0x0090}, {0x91, 0x2018},
    {0x92, 0x2019}, {0x93, 0x201C}, {0x94, 0x201D}, {0x95, 0x2022}, {0x96, 0x2013}, {0x97, 0x2014},
    {0x98, 0x02DC}, {0x99, 0x2122}, {0x9A, 0x0161}, {0x9B, 0x203A}, {0x9C, 0x0153}, {0x9D, 0x009D},
    {0x9E, 0x017E}, {0x9F, 0x0178},
    {0x00, 0x0000}, {0x0D, 0x000D}, {0x20, 0x0020}, {0x41, 0x0041}, {0x7E, 0x007E}, {0x7F, 0x007F},
    {0xA0, 0x00A0}, {0xA4, 0x00A4}, {0xAB, 0x00AB}, {0xB0, 0x00B0}, {0xC0, 0x00C0}, {0xC8, 0x00C8},
    {0xD7, 0x00D7}, {0xE0, 0x00E0}, {0xE8, 0x00E8}, {0xE9, 0x00E9}, {0xEC, 0x00EC}, {0xF2, 0x00F2},
    {0xF9, 0x00F9}, {0xFF, 0x00FF}};

TEST(Cp1252, BytesAndCharactersFollowThePublishedTable) {
  Text bytes;
  std::u16string chars;
  for (const CodePageEntry& e : kWindows1252) {
    EXPECT_EQ(static_cast<uint32_t>(cp1252ToUnicode(e.byte)), static_cast<uint32_t>(e.cp))
        << "byte 0x" << std::hex << int(e.byte);
    EXPECT_EQ(unicodeToCp1252(e.cp), int(e.byte)) << "U+" << std::hex << uint32_t(e.cp);
    bytes += static_cast<char>(e.byte);
    chars += static_cast<char16_t>(e.cp);
  }
  // The same through whole texts, as windows and files exchange them.
  EXPECT_EQ(cp1252ToUtf16(bytes), chars);
  EXPECT_EQ(utf16ToCp1252(chars), bytes);
  EXPECT_EQ(cp1252ToUtf8("\x93" "citt\xE0\x94 \x80"), u8"\u201Ccitt\u00E0\u201D \u20AC");
  EXPECT_EQ(utf8ToCp1252(u8"\u201Ccitt\u00E0\u201D \u20AC"), "\x93" "citt\xE0\x94 \x80");
  // High bytes at either end of ASCII runs, and two in a row.
  EXPECT_EQ(cp1252ToUtf8("\xE0 citt\xE0\x80"), "\xC3\xA0 citt\xC3\xA0\xE2\x82\xAC");

  // The C1 controls whose numbers the code page gives to other characters
  // have no byte of their own.
  for (char32_t cp = 0x80; cp <= 0x9F; ++cp) {
    const bool undefinedByte = cp == 0x81 || cp == 0x8D || cp == 0x8F || cp == 0x90 || cp == 0x9D;
    EXPECT_EQ(unicodeToCp1252(cp), undefinedByte ? int(cp) : -1) << "U+" << std::hex << uint32_t(cp);
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

TEST(Cp1252, ExactFormIsNothingRatherThanAQuestionMark) {
  // Folded, "a\u03C9b" and "a\u03C8b" would both be "a?b".
  EXPECT_FALSE(exactCp1252(u"a\u03C9b").has_value());
  EXPECT_FALSE(exactCp1252(u"a\U0001F600").has_value());
  EXPECT_FALSE(exactCp1252(std::u16string(1, char16_t(0xDC00))).has_value());
  EXPECT_EQ(exactCp1252(u"a?b"), std::optional<Text>("a?b"));
  EXPECT_EQ(exactCp1252(u"Perch\u00E9 \u20AC"), std::optional<Text>("Perch\xE9 \x80"));
  EXPECT_EQ(exactCp1252(u""), std::optional<Text>(""));
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

TEST(ControlCharacters, ShownAsBlanksOneForOne) {
  // NUL, the other C0 codes, DEL and an undefined byte (a C1 control).
  const std::string damaged("Ro\0ss\x01i\x7F\x81\t", 10);
  EXPECT_EQ(blankControlCharacters(damaged), "Ro ss i   ");
  // The characters next to them stay: the blank, accented letters, the euro
  // sign 0x80 and the non-breaking space 0xA0.
  EXPECT_EQ(blankControlCharacters(" citt\xE0 \x80\xA0"), " citt\xE0 \x80\xA0");
  EXPECT_FALSE(hasControlCharacter(blankControlCharacters(damaged)));

  // A printed line: every byte at every place of a line read eight bytes at
  // a time, written after what is already there.
  for (int b = 0; b < 256; ++b) {
    for (size_t at = 0; at < 19; ++at) {
      std::string line = "padded columns ~ 123";
      line[at] = static_cast<char>(b);
      std::string printed = "kept|" + std::string(kMostPrintedPerByte * line.size() + 1, '#');
      printed.resize(static_cast<size_t>(writePrintableUtf8(&printed[5], line) - printed.data()));
      ASSERT_EQ(printed, "kept|" + cp1252ToUtf8(blankControlCharacters(line))) << "byte " << b << " at " << at;
    }
  }
}

// Written into a buffer of just the room promised (the sanitizers see a
// write past it), every byte value in a row, and the euro sign, the
// longest, throughout.
TEST(ControlCharacters, APrintedLineStaysInItsRoom) {
  std::string every;
  for (int b = 0; b < 256; ++b) every += static_cast<char>(b);
  for (const std::string& text : {every, std::string(37, '\x80'), std::string()}) {
    std::vector<char> room(kMostPrintedPerByte * text.size() + 1);
    char* end = writePrintableUtf8(room.data(), text);
    EXPECT_EQ(std::string(room.data(), end), cp1252ToUtf8(blankControlCharacters(text)));
  }
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
