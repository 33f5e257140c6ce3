#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/findinlist.h"
#include "core/textlist.h"

namespace zel {
namespace {

using Outcome = FindStep::Outcome;

const TextList kLines = {"Vite M6 - 12,50", "Dado M6", "Rondella - 12,50", "Bullone"};

TEST(FindInList, SameTextStepsOnAndWrapsANewTextStartsAgain) {
  FindStep s = findInList(kLines, "12,50", "", std::nullopt);
  EXPECT_EQ(s.outcome, Outcome::Found);
  EXPECT_EQ(s.selected, 0u);
  s = findInList(kLines, "12,50", s.lastKey, s.selected);
  EXPECT_EQ(s.selected, 2u);
  s = findInList(kLines, "12,50", s.lastKey, s.selected);
  EXPECT_EQ(s.selected, 0u);  // wrapped to the top

  // A changed text tests line 0 first, even when it is the selected line.
  s = findInList(kLines, "VITE", "12,50", 0u);
  EXPECT_EQ(s.selected, 0u);
  EXPECT_EQ(s.lastKey, "vite");
  // Only one line matches: pressing again keeps it.
  s = findInList(kLines, "vite", s.lastKey, s.selected);
  EXPECT_EQ(s.outcome, Outcome::Found);
  EXPECT_EQ(s.selected, 0u);
}

TEST(FindInList, NoMatchKeepsTheSelectionAndEmptyTextNeverMatches) {
  FindStep s = findInList(kLines, "chiodo", "", 3u);
  EXPECT_EQ(s.outcome, Outcome::NotFound);
  EXPECT_EQ(s.selected, 3u);
  EXPECT_EQ(s.lastKey, "chiodo");

  s = findInList(kLines, "", "", 1u);
  EXPECT_EQ(s.outcome, Outcome::NotFound);
  EXPECT_EQ(s.selected, 1u);
  // Nothing selected: the first line becomes the selection even without a match.
  EXPECT_EQ(findInList(kLines, "chiodo", "", std::nullopt).selected, 0u);
  // A trailing blank is part of the text.
  EXPECT_EQ(findInList(kLines, "m6 ", "", std::nullopt).selected, 0u);
  EXPECT_EQ(findInList(kLines, "bullone ", "", 0u).outcome, Outcome::NotFound);
}

TEST(FindInList, EmptyListChangesNothing) {
  const FindStep s = findInList({}, "x", "y", std::nullopt);
  EXPECT_EQ(s.outcome, Outcome::EmptyList);
  EXPECT_FALSE(s.selected);
  EXPECT_EQ(s.lastKey, "y");
}

TEST(ListOrder, IgnoresCaseOfAToZAndIsTotal) {
  TextList lines = {"beta", "Zeta", "alfa", "ALFA", "Alfa", "\xE0ncora", "alfa2"};
  lines.sortFolded();
  EXPECT_EQ(lines.toVector(),
            (std::vector<Text>{"ALFA", "Alfa", "alfa", "alfa2", "beta", "Zeta", "\xE0ncora"}));
  // Lines that share a long head are ordered by what follows it, case
  // deciding only between lines otherwise equal.
  TextList clients = {"Cod. id. ALFA      x2", "Cod. id. B", "Cod. id. alfa      x1",
                      "Cod. id. Alfa      x1"};
  clients.sortFolded();
  EXPECT_EQ(clients.toVector(), (std::vector<Text>{"Cod. id. Alfa      x1", "Cod. id. alfa      x1",
                                                   "Cod. id. ALFA      x2", "Cod. id. B"}));
  // Dates lead supply lines: text order, day first.
  TextList dates = {"20/12/2025  x", "05/01/2026  y", "05/01/2025  z", "05/01/2026  Y"};
  dates.sortFolded();
  EXPECT_EQ(dates.toVector(),
            (std::vector<Text>{"05/01/2025  z", "05/01/2026  Y", "05/01/2026  y", "20/12/2025  x"}));
}

// Lines that tie for many bytes (a date, a quantity, a price in common),
// differ only in case, hold NUL bytes or are heads of one another: the order
// is still exactly lessFolded's.
TEST(ListOrder, LongTiesSortAsTheWholeLinesCompare) {
  std::mt19937 rng(7);
  const Text pieces[] = {"05/01/2026  Quant. 1 ", "05/01/2026  quant. 1 ", "05/01/2026  Quant. 12",
                         "20/12/2025  ", "a", "A", std::string("\0", 1), "\xE0", "  Tot. \x80 3,00", "",
                         Text(70, ' ')};
  std::vector<Text> texts;
  for (int i = 0; i < 3000; ++i) {
    Text t;
    const int parts = std::uniform_int_distribution<int>(0, 5)(rng);
    for (int p = 0; p < parts; ++p) t += pieces[std::uniform_int_distribution<size_t>(0, std::size(pieces) - 1)(rng)];
    texts.push_back(t);
  }
  TextList lines;
  for (const Text& t : texts) lines.push_back(t);
  lines.sortFolded();
  std::sort(texts.begin(), texts.end(), [](const Text& a, const Text& b) { return lessFolded(a, b); });
  EXPECT_EQ(lines.toVector(), texts);
  // The order itself, against the rule written out plainly: A-Z as a-z byte
  // by byte, a head before what goes on, then the bytes as they are.
  auto folded = [](Text t) {
    for (char& c : t) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return std::vector<unsigned char>(t.begin(), t.end());
  };
  auto plainLess = [&](const Text& a, const Text& b) {
    if (folded(a) != folded(b)) return folded(a) < folded(b);
    return std::vector<unsigned char>(a.begin(), a.end()) < std::vector<unsigned char>(b.begin(), b.end());
  };
  for (size_t i = 0; i + 1 < texts.size(); i += 3) {
    EXPECT_EQ(lessFolded(texts[i], texts[i + 1]), plainLess(texts[i], texts[i + 1])) << i;
    EXPECT_EQ(lessFolded(texts[i + 1], texts[i]), plainLess(texts[i + 1], texts[i])) << i;
  }
}

}  // namespace
}  // namespace zel
