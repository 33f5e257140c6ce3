#pragma once
// The lines of a result list, stored end to end in one buffer: a list of
// 100,000 lines costs a handful of allocations, not one per line, taken in
// large pages (largememory.h). Lists made apart and then joined or merged
// keep the buffers they were built in, so their lines are never copied a
// second time.
#include <cstddef>
#include <cstdint>
#include <cstring>
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
  // The bytes of some lines, end to end, in memory of LargeAllocator. A line
  // is written straight into the room after them, which is theirs already:
  // nothing is made or cleared before it is written.
  class Bytes {
   public:
    Bytes() = default;
    Bytes(const Bytes& other);
    Bytes& operator=(const Bytes& other);
    Bytes(Bytes&& other) noexcept;
    Bytes& operator=(Bytes&& other) noexcept;
    ~Bytes();
    char* data() const { return data_; }
    size_t size() const { return size_; }
    size_t capacity() const { return capacity_; }
    bool empty() const { return size_ == 0; }
    size_t room() const { return capacity_ - size_; }
    // Room for `bytes` in all; the bytes held stay.
    void reserve(size_t bytes);
    void append(const char* text, size_t n);
    // The bytes written into the room up to `size` are now held.
    void resize(size_t size) { size_ = size; }
    void clear() { size_ = 0; }
    void shrinkToFit();

   private:
    void moveTo(size_t capacity);
    char* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
  };

 public:
  // A line written straight at the end of the list's buffer, with no string
  // of its own to be copied from: the line builders append to it as to a
  // Text. Only TextList::emplace makes one.
  class Line {
   public:
    Line& operator+=(std::string_view t) {
      put(t.data(), t.size());
      return *this;
    }
    Line& operator+=(char c) {
      put(&c, 1);
      return *this;
    }
    void append(size_t n, char c) {
      if (n > room()) grow(n);
      std::memset(at_, c, n);
      at_ += n;
    }
    size_t size() const { return static_cast<size_t>(at_ - begin_); }
    void clear() { at_ = begin_; }

   private:
    friend class TextList;
    Line(TextList& list, uint32_t chunk);
    size_t room() const { return static_cast<size_t>(end_ - at_); }
    void put(const char* text, size_t n) {
      if (n > room()) grow(n);
      if (n) std::memcpy(at_, text, n);
      at_ += n;
    }
    // Moves the line begun to a buffer of its own with room for n more.
    void grow(size_t n);
    // The line's bytes held by its buffer; their number.
    size_t close();

    TextList& list_;
    uint32_t chunk_;
    size_t start_;  // where the line begins in its buffer
    char* begin_;
    char* at_;
    char* end_;
  };

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
  // Appends the line that `write(TextList::Line&)` writes.
  template <class Write>
  void emplace(Write&& write) {
    Line line(*this, roomFor(kLineRoom));
    write(line);
    const size_t size = line.close();
    spans_.push_back({line.start_, static_cast<uint32_t>(size), line.chunk_});
  }
  void reserve(size_t texts, size_t bytes);
  // Gives back room reserved but mostly left unused.
  void shrinkToFit();
  // Empties the list; its first buffer is kept for the lines to come.
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
  using SortEntries = std::vector<SortEntry, LargeAllocator<SortEntry>>;
  void sortByKeys(SortEntries::iterator begin, SortEntries::iterator end, size_t at);
  // Groups of this many lines and more are put in the order of their keys
  // by their bytes rather than by comparisons.
  static constexpr long kRadixFrom = 512;
  static void radixByKeys(SortEntries::iterator begin, SortEntries::iterator end);
  // Merges of this many lines and more are cut into slices merged side by
  // side, one per part.
  static constexpr size_t kSlicedMergeFrom = 8192;
  // Merges the lines of `parts` (adopted here, their chunks moved by `base`)
  // from `at` up to `stop` into the places from `out` on.
  void mergeSlice(const std::vector<TextList>& parts, const std::vector<uint32_t>& base, std::vector<size_t> at,
                  const std::vector<size_t>& stop, size_t out);
  std::string_view text(const Span& s) const { return std::string_view(chunks_[s.chunk].data() + s.offset, s.size); }
  // Room a line takes up front; a longer one moves to a buffer of its own.
  static constexpr size_t kLineRoom = 1024;
  // The buffer new lines go to, with room for `bytes` more: the last one, or
  // a new one when the last is full (the lines written stay where they are).
  uint32_t roomFor(size_t bytes);
  // Takes over the buffers of `part`; the chunk numbers of its lines grow
  // by what this returns.
  uint32_t adopt(TextList& part);

  std::vector<Bytes> chunks_;
  std::vector<Span, LargeAllocator<Span>> spans_;
};

}  // namespace zel
