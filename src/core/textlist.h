#pragma once
// The lines of a result list, stored end to end in one buffer: a list of
// 100,000 lines costs a handful of allocations, not one per line, taken in
// large pages (largememory.h). Lists made apart and then joined or merged
// keep the buffers they were built in, so their lines are never copied a
// second time.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string_view>
#include <vector>

#include "core/largememory.h"
#include "core/text.h"

namespace zel {

class TextList {
  struct Span {
    size_t offset;   // in its buffer
    uint32_t size;
    uint32_t chunk;  // which buffer
  };

 public:
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;

    const_iterator(const TextList* list, size_t i) : list_(list), i_(i) {}
    std::string_view operator*() const { return (*list_)[i_]; }
    const_iterator& operator++() {
      ++i_;
      return *this;
    }
    bool operator==(const const_iterator& o) const { return i_ == o.i_; }
    bool operator!=(const const_iterator& o) const { return i_ != o.i_; }

   private:
    const TextList* list_;
    size_t i_;
  };

  TextList() = default;
  TextList(std::initializer_list<std::string_view> texts);

  size_t size() const { return spans_.size(); }
  bool empty() const { return spans_.empty(); }
  std::string_view operator[](size_t i) const { return text(spans_[i]); }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, spans_.size()}; }

  void push_back(std::string_view text);
  void reserve(size_t texts, size_t bytes);
  // Gives back room reserved but mostly left unused.
  void shrinkToFit();
  void clear();

  // Puts the texts in the order of every sorted result list (lessFolded).
  void sortFolded();

  // Lists made apart (the ranges of a scan, each on its own thread) as one:
  // joined end to end in the order given, or, each being sorted already
  // (sortFolded), merged into the one sorted list. The parts' buffers move
  // into the result; only the places of the lines are written anew.
  static TextList joined(std::vector<TextList> parts);
  static TextList mergedFolded(std::vector<TextList> sortedParts);

  std::vector<Text> toVector() const;

 private:
  struct SortEntry {
    uint64_t key;
    Span span;
  };
  using Bytes = std::vector<char, LargeAllocator<char>>;
  using SortEntries = std::vector<SortEntry, LargeAllocator<SortEntry>>;
  void sortByKeys(SortEntries::iterator begin, SortEntries::iterator end, size_t at);
  std::string_view text(const Span& s) const { return std::string_view(chunks_[s.chunk].data() + s.offset, s.size); }
  // The buffer new lines go to: the last one.
  Bytes& tail();
  // Takes over the buffers of `part`; the chunk numbers of its lines grow
  // by what this returns.
  uint32_t adopt(TextList& part);

  std::vector<Bytes> chunks_;
  std::vector<Span, LargeAllocator<Span>> spans_;
};

}  // namespace zel
