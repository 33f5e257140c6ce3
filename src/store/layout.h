#pragma once
// Record layouts: a table of ShortString fields that drives reading, writing,
// card filling and export rows alike.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/text.h"

namespace zel {

struct FieldDef {
  const char* name;         // field name, also the key in dumps and exports
  int capacity;             // N: the field takes N + 1 bytes
  bool attachment = false;  // one of the attachments and folder every layout ends with
};

class Layout {
 public:
  Layout(std::string name, std::vector<FieldDef> fields);

  const std::string& name() const { return name_; }
  size_t recordSize() const { return size_; }
  size_t fieldCount() const { return fields_.size(); }
  const FieldDef& field(size_t i) const { return fields_[i]; }
  size_t offset(size_t i) const { return offsets_[i]; }
  const std::vector<FieldDef>& fields() const { return fields_; }
  // Index of a field by name; throws std::out_of_range for an unknown name.
  size_t indexOf(std::string_view fieldName) const;

 private:
  std::string name_;
  std::vector<FieldDef> fields_;
  std::vector<size_t> offsets_;
  size_t size_ = 0;
};

// One record in memory: the text of every field, in layout order.
struct Record {
  std::vector<Text> values;

  const Text& operator[](size_t i) const { return values[i]; }
  Text& operator[](size_t i) { return values[i]; }
};

// A record with every field empty.
Record emptyRecord(const Layout& layout);
// Text as it goes into a field: trimmed, then cut to the capacity.
Text fieldText(std::string_view text, int capacity);

// Writes the record into size() bytes: each field trimmed and cut to its
// capacity, the bytes after each text zero.
void encodeRecord(const Layout& layout, const Record& record, uint8_t* out);
// Reads a record; each text trimmed. A length byte above the field's
// capacity (a damaged file) is read as the capacity.
Record decodeRecord(const Layout& layout, const uint8_t* in);
// The same into an existing record, reusing its strings' storage: a scan that
// decodes record after record into one Record allocates almost nothing.
void decodeRecordInto(const Layout& layout, const uint8_t* in, Record& record);

// The text of field i as stored in a raw record, untrimmed, as a view into
// the record's bytes (a length byte above the capacity is read as the capacity).
inline std::string_view storedText(const Layout& layout, const uint8_t* record, size_t i) {
  const uint8_t* p = record + layout.offset(i);
  const size_t cap = static_cast<size_t>(layout.field(i).capacity);
  return std::string_view(reinterpret_cast<const char*>(p + 1), p[0] < cap ? p[0] : cap);
}

// Anomalies of one stored record, for the verifier: the fields whose length
// byte exceeds their capacity.
std::vector<size_t> oversizedFields(const Layout& layout, const uint8_t* in);

const Layout& clientLayout();   // Anagrafica.pro, 3890 bytes
const Layout& productLayout();  // Materiali.pro, 5170 bytes
const Layout& supplyLayout();   // *.for, 4106 bytes

}  // namespace zel
