#include "store/clientsearch.h"

namespace zel {
namespace {

// One builder for a decoded record and for raw bytes, so the two never differ.
template <class FieldOf, class Out>
void buildClientLine(const FieldOf& field, Out& out) {
  out.clear();
  out += "Cod. id. ";
  appendPadded(out, field(client::Codice), 20);
  out += "  ";
  appendPadded(out, field(client::Persona), 30);
  out += "  Uff. ";
  appendPadded(out, field(client::Ufficio), 30);
  out += "  - ";
  appendPadded(out, field(client::Citta), 25);
  out += "  -  Cel. ";
  out += field(client::TelCel);
}

// The fields the line is made of, as buildClientLine reads them.
const std::vector<size_t> kClientLineFields = {client::Codice, client::Persona, client::Ufficio, client::Citta,
                                               client::TelCel};

void rawClientLine(const uint8_t* bytes, TextList::Line& out) {
  const Layout& layout = clientLayout();
  buildClientLine([&](size_t i) { return trimView(storedText(layout, bytes, i)); }, out);
}

}  // namespace

Text clientLine(const Record& c) {
  Text out;
  buildClientLine([&](size_t i) { return trimView(c[i]); }, out);
  return out;
}

TextList searchClients(const std::filesystem::path& archive, const Criteria& criteria,
                       Access access, const Progress& progress) {
  return searchLines(archive, clientLayout(), access, criteria, rawClientLine, kClientLineFields, progress);
}

std::optional<PickedRecord> pickClient(const std::filesystem::path& archive, std::string_view line) {
  return pickRecord(archive, clientLayout(), Access::Update, line, rawClientLine);
}

}  // namespace zel
