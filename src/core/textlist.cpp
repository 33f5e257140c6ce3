#include "core/textlist.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <thread>

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

// How far two texts agree folded from `at`, up to `most` bytes; they stop
// agreeing where either ends.
size_t foldedAgreement(std::string_view a, std::string_view b, size_t at, size_t most) {
  const size_t end = std::min({a.size(), b.size(), at + most});
  size_t i = at;
  for (uint64_t x, y; i + 8 <= end; i += 8) {  // bytes equal as they are agree folded
    std::memcpy(&x, a.data() + i, 8);
    std::memcpy(&y, b.data() + i, 8);
    if (x != y) break;
  }
  while (i < end && folded(a[i]) == folded(b[i])) ++i;
  return i > at ? i - at : 0;
}

// A thread joined however its scope is left.
struct JoinedThread {
  std::thread thread;
  ~JoinedThread() {
    if (thread.joinable()) thread.join();
  }
};

// From this many lines on, a merge runs in two halves at once.
constexpr size_t kParallelMerge = 16384;

// How far ahead a group of tied lines is looked at for what they all share.
constexpr size_t kSharedLook = 64;

}  // namespace

TextList::TextList(std::initializer_list<std::string_view> texts) {
  for (std::string_view t : texts) push_back(t);
}

Text& TextList::tail() {
  if (chunks_.empty()) chunks_.emplace_back();
  return chunks_.back();
}

void TextList::push_back(std::string_view text) {
  Text& buffer = tail();
  spans_.push_back({buffer.size(), static_cast<uint32_t>(text.size()), static_cast<uint32_t>(chunks_.size() - 1)});
  buffer.append(text.data(), text.size());
}

void TextList::reserve(size_t texts, size_t bytes) {
  spans_.reserve(texts);
  tail().reserve(bytes);
}

void TextList::shrinkToFit() {
  for (Text& buffer : chunks_)
    if (buffer.size() < buffer.capacity() / 2) buffer.shrink_to_fit();
  if (spans_.size() < spans_.capacity() / 2) spans_.shrink_to_fit();
}

void TextList::clear() {
  spans_.clear();
  chunks_.clear();
}

uint32_t TextList::adopt(TextList& part) {
  const auto base = static_cast<uint32_t>(chunks_.size());
  for (Text& buffer : part.chunks_) chunks_.push_back(std::move(buffer));
  part.chunks_.clear();
  return base;
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
  inSortedPlaces();
}

void TextList::inSortedPlaces() {
  // The texts are copied once into the order of their places, fetched well
  // ahead, so that whoever reads the list in order (a merge, the printing)
  // reads memory in order rather than all over it.
  size_t bytes = 0;
  for (const Span& s : spans_) bytes += s.size;
  Text ordered;
  ordered.resize(bytes);
  constexpr size_t kAhead = 16;
  size_t to = 0;
  for (size_t i = 0; i < spans_.size(); ++i) {
    if (i + kAhead < spans_.size()) {
      const std::string_view ahead = text(spans_[i + kAhead]);
      for (size_t at = 0; at < ahead.size(); at += 64) __builtin_prefetch(ahead.data() + at);
    }
    const std::string_view t = text(spans_[i]);
    std::memcpy(ordered.data() + to, t.data(), t.size());
    spans_[i] = {to, static_cast<uint32_t>(t.size()), 0};
    to += t.size();
  }
  chunks_.clear();
  chunks_.push_back(std::move(ordered));
}

void TextList::sortByKeys(std::vector<SortEntry>::iterator begin, std::vector<SortEntry>::iterator end,
                          size_t at) {
  // The lines are ordered by eight folded bytes from `at`; the lines that tie
  // are ordered by the next eight, and so on, so that the texts are read in
  // order rather than compared at random (lines that share a date, a code, a
  // price). Lines that tie up to their end are compared whole. Where every
  // line of the group goes on alike (the blanks of a padded column, a label)
  // the next round starts past what they share: one pass over the group
  // instead of one per eight bytes.
  bool longer = false;  // some line goes on past these eight bytes
  const std::string_view first = text(begin->span);
  size_t shared = kSharedLook;
  constexpr long kAhead = 8;  // lines that tie lie all over memory: fetched ahead
  for (auto e = begin; e != end; ++e) {
    if (end - e > kAhead) __builtin_prefetch(text((e + kAhead)->span).data() + at);
    const std::string_view t = text(e->span);
    e->key = sortKey(t, at);
    longer = longer || t.size() > at + 8;
    if (shared >= 8) shared = std::min(shared, foldedAgreement(first, t, at, shared));
  }
  if (shared >= 8 && end - begin > 1) {
    sortByKeys(begin, end, at + shared);  // every key ties: nothing to sort at `at`
    return;
  }
  if (!longer) {
    std::sort(begin, end, [this](const SortEntry& a, const SortEntry& b) {
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

size_t textsIn(const std::vector<TextList>& parts) {
  size_t texts = 0;
  for (const TextList& p : parts) texts += p.size();
  return texts;
}

}  // namespace

TextList TextList::joined(std::vector<TextList> parts) {
  TextList out;
  out.spans_.reserve(textsIn(parts));
  for (TextList& p : parts) {
    const uint32_t base = out.adopt(p);
    for (Span s : p.spans_) out.spans_.push_back({s.offset, s.size, s.chunk + base});
  }
  return out;
}

TextList TextList::mergedFolded(std::vector<TextList> sortedParts) {
  const size_t texts = textsIn(sortedParts);
  TextList out;
  std::vector<uint32_t> base(sortedParts.size());
  for (size_t p = 0; p < sortedParts.size(); ++p) base[p] = out.adopt(sortedParts[p]);
  // The parts' lines now live in `out`: their places, renumbered, are merged.
  std::vector<std::vector<Span>> heads(sortedParts.size());
  for (size_t p = 0; p < sortedParts.size(); ++p) {
    heads[p] = std::move(sortedParts[p].spans_);
    for (Span& s : heads[p]) s.chunk += base[p];
  }
  out.spans_.resize(texts);
  // A long list is merged in two halves at once: the lines before the middle
  // line of the longest part, and the rest from there.
  std::vector<size_t> zero(heads.size(), 0), end(heads.size());
  for (size_t p = 0; p < heads.size(); ++p) end[p] = heads[p].size();
  std::vector<size_t> cut = end;
  const auto longest = std::max_element(heads.begin(), heads.end(),
                                        [](const auto& a, const auto& b) { return a.size() < b.size(); });
  if (texts >= kParallelMerge) {
    const std::string_view middle = out.text((*longest)[longest->size() / 2]);
    for (size_t p = 0; p < heads.size(); ++p)
      cut[p] = static_cast<size_t>(
          std::lower_bound(heads[p].begin(), heads[p].end(), middle,
                           [&](const Span& s, std::string_view m) { return lessFolded(out.text(s), m); }) -
          heads[p].begin());
  }
  size_t before = 0;
  for (size_t c : cut) before += c;
  {
    JoinedThread second;
    try {
      if (before < texts) second.thread = std::thread([&] { out.mergeInto(heads, cut, end, before); });
    } catch (const std::system_error&) {
      out.mergeInto(heads, cut, end, before);  // no thread to be had: the halves in turn
    }
    out.mergeInto(heads, zero, cut, 0);
  }
  return out;
}

void TextList::mergeInto(const std::vector<std::vector<Span>>& heads, std::vector<size_t> at,
                         const std::vector<size_t>& end, size_t to) {
  // Few parts (one per core): the smallest head is found by looking at each.
  // lessFolded is a total order, so equal lines are equal bytes and the
  // result is the one a single sort gives.
  const size_t none = heads.size();
  for (;;) {
    size_t best = none;
    for (size_t p = 0; p < heads.size(); ++p) {
      if (at[p] == end[p]) continue;
      if (best == none || lessFolded(text(heads[p][at[p]]), text(heads[best][at[best]]))) best = p;
    }
    if (best == none) return;
    spans_[to++] = heads[best][at[best]++];
    // Each part's lines are in sorted order, all over its memory.
    if (at[best] + 8 < end[best]) __builtin_prefetch(text(heads[best][at[best] + 8]).data());
  }
}

std::vector<Text> TextList::toVector() const {
  std::vector<Text> out;
  out.reserve(size());
  for (std::string_view t : *this) out.emplace_back(t);
  return out;
}

}  // namespace zel
