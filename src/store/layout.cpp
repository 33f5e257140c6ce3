#include "store/layout.h"

#include "store/fields.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <stdexcept>

namespace zel {

Layout::Layout(std::string name, std::vector<FieldDef> fields)
    : name_(std::move(name)), fields_(std::move(fields)) {
  for (const auto& f : fields_) {
    offsets_.push_back(size_);
    size_ += static_cast<size_t>(f.capacity) + 1;
  }
}

size_t Layout::indexOf(std::string_view fieldName) const {
  for (size_t i = 0; i < fields_.size(); ++i)
    if (fieldName == fields_[i].name) return i;
  throw std::out_of_range("unknown field " + std::string(fieldName));
}

Record emptyRecord(const Layout& layout) {
  return Record{std::vector<Text>(layout.fieldCount())};
}

Text fieldText(std::string_view text, int capacity) {
  Text t = trim(text);
  if (t.size() > static_cast<size_t>(capacity)) t.resize(static_cast<size_t>(capacity));
  return t;
}

void encodeRecord(const Layout& layout, const Record& record, uint8_t* out) {
  std::memset(out, 0, layout.recordSize());
  for (size_t i = 0; i < layout.fieldCount(); ++i) {
    const int cap = layout.field(i).capacity;
    const Text t = i < record.values.size() ? fieldText(record.values[i], cap) : Text();
    uint8_t* p = out + layout.offset(i);
    p[0] = static_cast<uint8_t>(t.size());
    std::memcpy(p + 1, t.data(), t.size());
  }
}

void decodeRecordInto(const Layout& layout, const uint8_t* in, Record& record) {
  record.values.resize(layout.fieldCount());
  for (size_t i = 0; i < layout.fieldCount(); ++i) {
    const std::string_view t = trimView(storedText(layout, in, i));
    Text& value = record.values[i];
    if (t.empty()) value.clear();  // most fields are empty: skip the library call
    else value.assign(t.data(), t.size());
  }
}

Record decodeRecord(const Layout& layout, const uint8_t* in) {
  Record r;
  decodeRecordInto(layout, in, r);
  return r;
}

std::vector<size_t> oversizedFields(const Layout& layout, const uint8_t* in) {
  std::vector<size_t> bad;
  for (size_t i = 0; i < layout.fieldCount(); ++i)
    if (in[layout.offset(i)] > layout.field(i).capacity) bad.push_back(i);
  return bad;
}

namespace {

#define ZEL_DATA_FIELD(name, capacity) FieldDef{#name, capacity, false},
#define ZEL_ATTACHMENT_FIELD(name, capacity) FieldDef{#name, capacity, true},

}  // namespace

const Layout& clientLayout() {
  static const Layout layout("clienti", {ZEL_CLIENT_FIELDS(ZEL_DATA_FIELD, ZEL_ATTACHMENT_FIELD)});
  return layout;
}

const Layout& productLayout() {
  static const Layout layout("prodotti", {ZEL_PRODUCT_FIELDS(ZEL_DATA_FIELD, ZEL_ATTACHMENT_FIELD)});
  return layout;
}

const Layout& supplyLayout() {
  static const Layout layout("fornitura", {ZEL_SUPPLY_FIELDS(ZEL_DATA_FIELD, ZEL_ATTACHMENT_FIELD)});
  return layout;
}

}  // namespace zel
