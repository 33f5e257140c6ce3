#include "core/textlist.h"

#include <algorithm>
#include <cstdint>

namespace zel {
namespace {

unsigned char folded(char c) {
  return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
}

// Eight folded bytes of a text from `at`, big-endian, zeros past its end: an
// order of keys that never contradicts lessFolded.
uint64_t sortKey(std::string_view text, size_t at) {
  uint64_t key = 0;
  for (size_t i = at; i < at + 8; ++i) key = key << 8 | (i < text.size() ? folded(text[i]) : 0u);
  return key;
}

}  // namespace

TextList::TextList(std::initializer_list<std::string_view> texts) {
  for (std::string_view t : texts) push_back(t);
}

void TextList::push_back(std::string_view text) {
  spans_.push_back({data_.size(), text.size()});
  data_.append(text.data(), text.size());
}

void TextList::reserve(size_t texts, size_t bytes) {
  spans_.reserve(texts);
  data_.reserve(bytes);
}

void TextList::shrinkToFit() {
  if (data_.size() < data_.capacity() / 2) data_.shrink_to_fit();
  if (spans_.size() < spans_.capacity() / 2) spans_.shrink_to_fit();
}

void TextList::clear() {
  spans_.clear();
  data_.clear();
}

void TextList::sortFolded() {
  if (spans_.size() < 2) return;
  // The lines of one list share a long head ("Cod. id. "): sorting starts
  // after it. Only the spans move; the texts stay where they are.
  const std::string_view first = (*this)[0];
  size_t common = first.size();
  for (size_t i = 1; i < spans_.size() && common > 0; ++i) {
    const std::string_view t = (*this)[i];
    const size_t n = std::min(common, t.size());
    size_t j = 0;
    while (j < n && t[j] == first[j]) ++j;
    common = j;
  }
  std::vector<SortEntry> order(spans_.size());
  for (size_t i = 0; i < spans_.size(); ++i) order[i] = {0, spans_[i]};
  sortByKeys(order.begin(), order.end(), common);
  for (size_t i = 0; i < spans_.size(); ++i) spans_[i] = order[i].span;
}

void TextList::sortByKeys(std::vector<SortEntry>::iterator begin, std::vector<SortEntry>::iterator end,
                          size_t at) {
  // The lines are ordered by eight folded bytes from `at`; the lines that tie
  // are ordered by the next eight, and so on, so that the texts are read in
  // order rather than compared at random (lines that share a date, a code, a
  // price). Lines that tie up to their end are compared whole.
  auto text = [this](const Span& s) { return std::string_view(data_.data() + s.offset, s.size); };
  bool longer = false;  // some line goes on past these eight bytes
  constexpr long kAhead = 8;  // lines that tie lie all over memory: fetched ahead
  for (auto e = begin; e != end; ++e) {
    if (end - e > kAhead) __builtin_prefetch(data_.data() + (e + kAhead)->span.offset + at);
    e->key = sortKey(text(e->span), at);
    longer = longer || e->span.size > at + 8;
  }
  if (!longer) {
    std::sort(begin, end, [&](const SortEntry& a, const SortEntry& b) {
      if (a.key != b.key) return a.key < b.key;
      return lessFolded(text(a.span), text(b.span));
    });
    return;
  }
  std::sort(begin, end, [](const SortEntry& a, const SortEntry& b) { return a.key < b.key; });
  for (auto run = begin; run != end;) {
    auto next = run + 1;
    while (next != end && next->key == run->key) ++next;
    if (next - run > 1) sortByKeys(run, next, at + 8);
    run = next;
  }
}

namespace {

// Room for every line of `parts` at once, so the result is built without growing.
TextList roomFor(const std::vector<TextList>& parts, size_t& texts) {
  size_t bytes = 0;
  texts = 0;
  for (const TextList& p : parts) {
    texts += p.size();
    for (std::string_view t : p) bytes += t.size();
  }
  TextList out;
  out.reserve(texts, bytes);
  return out;
}

}  // namespace

TextList TextList::joined(const std::vector<TextList>& parts) {
  size_t texts = 0;
  TextList out = roomFor(parts, texts);
  for (const TextList& p : parts)
    for (std::string_view t : p) out.push_back(t);
  return out;
}

TextList TextList::mergedFolded(const std::vector<TextList>& sortedParts) {
  size_t texts = 0;
  TextList out = roomFor(sortedParts, texts);
  // Few parts (one per core): the smallest head is found by looking at each.
  // lessFolded is a total order, so equal lines are equal bytes and the
  // result is the one a single sort gives.
  std::vector<size_t> at(sortedParts.size(), 0);
  for (size_t n = 0; n < texts; ++n) {
    size_t best = sortedParts.size();
    for (size_t p = 0; p < sortedParts.size(); ++p) {
      if (at[p] == sortedParts[p].size()) continue;
      if (best == sortedParts.size() || lessFolded(sortedParts[p][at[p]], sortedParts[best][at[best]])) best = p;
    }
    out.push_back(sortedParts[best][at[best]++]);
    // Each part's lines are in sorted order, all over its memory.
    if (at[best] + 8 < sortedParts[best].size()) __builtin_prefetch(sortedParts[best][at[best] + 8].data());
  }
  return out;
}

std::vector<Text> TextList::toVector() const {
  std::vector<Text> out;
  out.reserve(size());
  for (std::string_view t : *this) out.emplace_back(t);
  return out;
}

}  // namespace zel
