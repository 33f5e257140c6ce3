#include "core/textlist.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <thread>
#include <utility>

namespace zel {
namespace {

unsigned char folded(char c) {
  return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
}

// Eight bytes with A-Z turned into a-z, all at once: a byte is an upper-case
// letter when its low seven bits reach 'A' (0x41) but not '[' (0x5B) and its
// top bit is clear. No sum carries into the next byte.
uint64_t foldedEight(uint64_t x) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  const uint64_t low = x & (0x7F * kOnes);
  const uint64_t upper = (low + (0x80 - 'A') * kOnes) & ~(low + (0x80 - 'Z' - 1) * kOnes) & ~x & (0x80 * kOnes);
  return x | upper >> 2;  // 0x80 >> 2 is the 0x20 between the cases
}

// Eight folded bytes of a text from `at`, big-endian, zeros past its end: an
// order of keys that never contradicts lessFolded.
uint64_t sortKey(std::string_view text, size_t at) {
  if (at + 8 <= text.size()) {
    uint64_t eight;
    std::memcpy(&eight, text.data() + at, 8);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    eight = __builtin_bswap64(eight);  // the first byte the highest
#endif
    return foldedEight(eight);
  }
  uint64_t key = 0;
  for (size_t i = at; i < at + 8; ++i) key = key << 8 | (i < text.size() ? folded(text[i]) : 0u);
  return key;
}

// How far two texts agree folded from `at`, up to `most` bytes; they stop
// agreeing where either ends.
size_t foldedAgreement(std::string_view a, std::string_view b, size_t at, size_t most) {
  const size_t end = std::min({a.size(), b.size(), at + most});
  size_t i = sameBytesUntil(a, b, at, end);  // bytes equal as they are agree folded
  while (i < end && folded(a[i]) == folded(b[i])) ++i;
  return i > at ? i - at : 0;
}

// How far ahead a group of tied lines is looked at for what they all share.
constexpr size_t kSharedLook = 64;

}  // namespace

TextList::TextList(std::initializer_list<std::string_view> texts) {
  for (std::string_view t : texts) push_back(t);
}

TextList::Bytes::Bytes(const Bytes& other) {
  reserve(other.size_);
  append(other.data_, other.size_);
}

TextList::Bytes& TextList::Bytes::operator=(const Bytes& other) {
  if (this != &other) *this = Bytes(other);
  return *this;
}

TextList::Bytes::Bytes(Bytes&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

TextList::Bytes& TextList::Bytes::operator=(Bytes&& other) noexcept {
  if (this != &other) {
    Bytes gone(std::move(*this));
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  return *this;
}

TextList::Bytes::~Bytes() {
  if (data_) LargeAllocator<char>().deallocate(data_, capacity_);
}

void TextList::Bytes::moveTo(size_t capacity) {
  Bytes moved;
  if (capacity > 0) moved.data_ = LargeAllocator<char>().allocate(capacity);
  moved.capacity_ = capacity;
  moved.size_ = size_;
  if (size_ > 0) std::memcpy(moved.data_, data_, size_);
  *this = std::move(moved);
}

void TextList::Bytes::reserve(size_t bytes) {
  if (bytes > capacity_) moveTo(bytes);
}

void TextList::Bytes::append(const char* text, size_t n) {
  if (n > room()) moveTo(std::max(size_ + n, 2 * capacity_));
  if (n > 0) std::memcpy(data_ + size_, text, n);
  size_ += n;
}

void TextList::Bytes::shrinkToFit() {
  if (size_ < capacity_) moveTo(size_);
}

uint32_t TextList::roomFor(size_t bytes) {
  constexpr size_t kFirstBuffer = 4096;
  if (chunks_.empty()) chunks_.emplace_back();
  Bytes& last = chunks_.back();
  if (last.room() < bytes) {
    // Twice the last buffer: a list grown line by line takes few buffers,
    // and none is ever copied into a larger one.
    const size_t room = std::max({bytes, kFirstBuffer, 2 * last.capacity()});
    if (last.empty()) {
      last.reserve(room);
    } else {
      Bytes next;
      next.reserve(room);
      chunks_.push_back(std::move(next));
    }
  }
  return static_cast<uint32_t>(chunks_.size() - 1);
}

void TextList::push_back(std::string_view text) {
  const uint32_t chunk = roomFor(text.size());
  Bytes& buffer = chunks_[chunk];
  spans_.push_back({buffer.size(), static_cast<uint32_t>(text.size()), chunk});
  buffer.append(text.data(), text.size());
}

void TextList::reserve(size_t texts, size_t bytes) {
  spans_.reserve(texts);
  roomFor(bytes);
}

// The line is written into the room after the buffer's bytes; close() adds
// it to them.
TextList::Line::Line(TextList& list, uint32_t chunk) : list_(list), chunk_(chunk) {
  Bytes& buffer = list_.chunks_[chunk_];
  start_ = buffer.size();
  begin_ = buffer.data() + start_;
  at_ = begin_;
  end_ = buffer.data() + buffer.capacity();
}

size_t TextList::Line::close() {
  const size_t written = size();
  list_.chunks_[chunk_].resize(start_ + written);
  return written;
}

void TextList::Line::grow(size_t n) {
  const size_t written = size();
  Bytes moved;
  moved.reserve(std::max(2 * (written + n), kLineRoom));
  if (written > 0) std::memcpy(moved.data(), begin_, written);  // into the room, as the line was
  list_.chunks_.push_back(std::move(moved));
  chunk_ = static_cast<uint32_t>(list_.chunks_.size() - 1);
  Bytes& buffer = list_.chunks_[chunk_];
  start_ = 0;
  begin_ = buffer.data();
  at_ = begin_ + written;
  end_ = buffer.data() + buffer.capacity();
}

void TextList::shrinkToFit() {
  for (Bytes& buffer : chunks_)
    if (buffer.size() < buffer.capacity() / 2) buffer.shrinkToFit();
  if (spans_.size() < spans_.capacity() / 2) spans_.shrink_to_fit();
}

void TextList::clear() {
  spans_.clear();
  if (chunks_.size() > 1) chunks_.resize(1);  // the first buffer is kept for the lines to come
  if (!chunks_.empty()) chunks_.front().clear();
}

uint32_t TextList::adopt(TextList& part) {
  const auto base = static_cast<uint32_t>(chunks_.size());
  for (Bytes& buffer : part.chunks_) chunks_.push_back(std::move(buffer));
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
  SortEntries order;
  order.reserve(spans_.size());
  for (const Span& s : spans_) order.push_back({0, s});
  sortByKeys(order.begin(), order.end(), common);
  for (size_t i = 0; i < spans_.size(); ++i) spans_[i] = order[i].span;
}

void TextList::sortByKeys(SortEntries::iterator begin, SortEntries::iterator end, size_t at) {
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
  if (end - begin >= kRadixFrom) {
    radixByKeys(begin, end);
  } else if (!longer) {
    std::sort(begin, end, [this](const SortEntry& a, const SortEntry& b) {
      if (a.key != b.key) return a.key < b.key;
      return lessFolded(text(a.span), text(b.span));
    });
    return;
  } else {
    std::sort(begin, end, [](const SortEntry& a, const SortEntry& b) { return a.key < b.key; });
  }
  for (auto run = begin; run != end;) {
    auto next = run + 1;
    while (next != end && next->key == run->key) ++next;
    if (next - run > 1) {
      if (longer) {
        sortByKeys(run, next, at + 8);
      } else {
        std::sort(run, next, [this](const SortEntry& a, const SortEntry& b) {
          return lessFolded(text(a.span), text(b.span));
        });
      }
    }
    run = next;
  }
}

// The entries in the order of their keys, one byte of the key at a time from
// the lowest (each pass keeps the order of the one before), skipping the
// bytes every key shares: the dates, codes and padded columns that lines
// begin with differ in a few bytes of the eight. A pass reads and writes
// every entry once, where a sort by comparison of a large group reads each
// some sixteen times.
void TextList::radixByKeys(SortEntries::iterator begin, SortEntries::iterator end) {
  const size_t n = static_cast<size_t>(end - begin);
  uint64_t varying = 0;
  for (auto e = begin; e != end; ++e) varying |= e->key ^ begin->key;
  SortEntries other(n);
  SortEntry* from = &*begin;
  SortEntry* to = other.data();
  for (unsigned shift = 0; shift < 64; shift += 8) {
    if (((varying >> shift) & 0xFF) == 0) continue;
    size_t place[256] = {};
    for (size_t i = 0; i < n; ++i) ++place[(from[i].key >> shift) & 0xFF];
    size_t next = 0;
    for (size_t& p : place) next += std::exchange(p, next);
    for (size_t i = 0; i < n; ++i) to[place[(from[i].key >> shift) & 0xFF]++] = from[i];
    std::swap(from, to);
  }
  if (from != &*begin) std::copy(from, from + n, begin);
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

void TextList::mergeSlice(const std::vector<TextList>& parts, const std::vector<uint32_t>& base,
                          std::vector<size_t> at, const std::vector<size_t>& stop, size_t out) {
  // The parts' lines now live here: only their places are merged.
  auto place = [&](size_t p, size_t i) {
    Span s = parts[p].spans_[i];
    s.chunk += base[p];
    return s;
  };
  // Few parts (one per core): the smallest head is found by looking at each.
  const size_t none = parts.size();
  for (;;) {
    size_t best = none;
    for (size_t p = 0; p < parts.size(); ++p) {
      if (at[p] == stop[p]) continue;
      if (best == none || lessFolded(text(place(p, at[p])), text(place(best, at[best])))) best = p;
    }
    if (best == none) break;
    spans_[out++] = place(best, at[best]++);
    // Each part's lines are in sorted order, all over its memory.
    if (at[best] + 8 < stop[best]) __builtin_prefetch(text(place(best, at[best] + 8)).data());
  }
}

TextList TextList::mergedFolded(std::vector<TextList> sortedParts) {
  TextList out;
  const size_t texts = textsIn(sortedParts);
  out.spans_.resize(texts);
  std::vector<uint32_t> base(sortedParts.size());
  for (size_t p = 0; p < sortedParts.size(); ++p) base[p] = out.adopt(sortedParts[p]);
  // A long merge is cut into slices, one per part, merged side by side:
  // slice t holds, from every part, the lines from the t-th bound (taken at
  // even steps in the longest part) up to the next. lessFolded is a total
  // order, so equal lines are equal bytes and the slices laid end to end
  // are the list a single sort gives.
  const size_t slices = texts >= kSlicedMergeFrom ? sortedParts.size() : 1;
  const auto longest = std::max_element(sortedParts.begin(), sortedParts.end(),
                                        [](const TextList& a, const TextList& b) { return a.size() < b.size(); });
  // A part's line as it now lives in `out`.
  auto lineOf = [&](size_t p, Span s) {
    s.chunk += base[p];
    return out.text(s);
  };
  std::vector<std::vector<size_t>> cuts(slices + 1, std::vector<size_t>(sortedParts.size(), 0));
  for (size_t p = 0; p < sortedParts.size(); ++p) cuts[slices][p] = sortedParts[p].size();
  for (size_t t = 1; t < slices; ++t) {
    const std::string_view bound = lineOf(static_cast<size_t>(longest - sortedParts.begin()),
                                          longest->spans_[t * longest->size() / slices]);
    for (size_t p = 0; p < sortedParts.size(); ++p) {
      const auto& spans = sortedParts[p].spans_;
      const auto first = std::lower_bound(
          spans.begin() + static_cast<long>(cuts[t - 1][p]), spans.end(), bound,
          [&](const Span& s, std::string_view b) { return lessFolded(lineOf(p, s), b); });
      cuts[t][p] = static_cast<size_t>(first - spans.begin());
    }
  }
  std::vector<size_t> starts(slices, 0);
  for (size_t t = 1; t < slices; ++t)
    for (size_t p = 0; p < sortedParts.size(); ++p) starts[t] += cuts[t][p];
  std::vector<std::thread> helpers;
  for (size_t t = 1; t < slices; ++t) {
    auto merge = [&, t] { out.mergeSlice(sortedParts, base, cuts[t], cuts[t + 1], starts[t]); };
    try {
      helpers.emplace_back(merge);
    } catch (const std::system_error&) {
      merge();  // no thread to be had: merged here
    }
  }
  if (slices > 0) out.mergeSlice(sortedParts, base, cuts[0], cuts[1], 0);
  for (std::thread& h : helpers) h.join();
  return out;
}

std::vector<Text> TextList::toVector() const {
  std::vector<Text> out;
  out.reserve(size());
  for (std::string_view t : *this) out.emplace_back(t);
  return out;
}

}  // namespace zel
