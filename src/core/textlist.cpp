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
  // The lines of one list share a long head ("Cod. id. ", a date): they are
  // sorted by the eight bytes after it, whole lines compared only on a tie.
  // Only the spans move; the texts stay where they are.
  const std::string_view first = (*this)[0];
  size_t common = first.size();
  for (size_t i = 1; i < spans_.size() && common > 0; ++i) {
    const std::string_view t = (*this)[i];
    const size_t n = std::min(common, t.size());
    size_t j = 0;
    while (j < n && t[j] == first[j]) ++j;
    common = j;
  }
  struct Entry {
    uint64_t key;
    Span span;
  };
  std::vector<Entry> order(spans_.size());
  for (size_t i = 0; i < spans_.size(); ++i) order[i] = {sortKey((*this)[i], common), spans_[i]};
  auto text = [&](const Span& s) { return std::string_view(data_.data() + s.offset, s.size); };
  std::sort(order.begin(), order.end(), [&](const Entry& a, const Entry& b) {
    if (a.key != b.key) return a.key < b.key;
    return lessFolded(text(a.span), text(b.span));
  });
  for (size_t i = 0; i < spans_.size(); ++i) spans_[i] = order[i].span;
}

std::vector<Text> TextList::toVector() const {
  std::vector<Text> out;
  out.reserve(size());
  for (std::string_view t : *this) out.emplace_back(t);
  return out;
}

}  // namespace zel
