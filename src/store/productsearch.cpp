#include "store/productsearch.h"

#include "core/numbers.h"
#include "store/archivescan.h"

namespace zel {
namespace {

// One builder for a decoded record and for raw bytes, so the two never differ.
template <class FieldOf, class Out>
void buildSearchLine(const FieldOf& field, Out& out) {
  out.clear();
  appendPadded(out, field(product::Codice), 30);
  out += "  ";
  appendPadded(out, field(product::Tipologia), 25);
  out += "  ";
  // Brand and model share one column: cut together, not each.
  const std::string_view marca = field(product::Marca);
  const size_t start = out.size();
  out += marca.substr(0, 30);
  if (marca.size() < 30) {
    out += ' ';
    out += field(product::Modello).substr(0, 30 - marca.size() - 1);
  }
  out.append(30 - (out.size() - start), ' ');
  out += "  Prezzo: ";
  appendPadded(out, field(product::Prezzo), 15);
  out += "  Giacenza: ";
  appendPadded(out, field(product::Giacenza), 10);
  out += "  ";
  out += field(product::Note);
}

template <class FieldOf, class Out>
void buildStockLine(const FieldOf& field, Out& out) {
  out.clear();
  out += "Cod. ";
  out += field(product::Codice);
  out += " - ";
  out += field(product::Marca);
  out += ' ';
  out += field(product::Modello);
  out += " - Fornitore: ";
  out += field(product::Fornitore);
  out += " - Recapito: ";
  out += field(product::Recapito);
  out += " - Costo: ";
  out += field(product::Costo);
  out += " - Giacenza: ";
  out += field(product::Giacenza);
}

// The fields each line is made of, as the builders above read them.
const std::vector<size_t> kSearchLineFields = {product::Codice, product::Tipologia, product::Marca, product::Modello,
                                               product::Prezzo, product::Giacenza, product::Note};
const std::vector<size_t> kStockLineFields = {product::Codice,   product::Marca, product::Modello, product::Fornitore,
                                              product::Recapito, product::Costo, product::Giacenza};

template <class FieldOf>
std::optional<bool> underStock(const FieldOf& field) {
  const std::optional<double> stock = parseNumber(field(product::Giacenza));
  const std::optional<double> threshold = parseNumber(field(product::Sottoscorta));
  if (!stock || !threshold) return std::nullopt;
  return *stock <= *threshold;
}

auto rawFields(const uint8_t* bytes) {
  return [bytes](size_t i) { return trimView(storedText(productLayout(), bytes, i)); };
}

auto recordFields(const Record& r) {
  return [&r](size_t i) { return trimView(r[i]); };
}

void rawSearchLine(const uint8_t* bytes, TextList::Line& out) { buildSearchLine(rawFields(bytes), out); }
void rawStockLine(const uint8_t* bytes, TextList::Line& out) { buildStockLine(rawFields(bytes), out); }

struct StopListing {
  Text why;
};

// Scans the archive adding the stock line of each record that `keep` wants
// (it throws StopListing to end the listing); whatever happens, the lines
// reached so far (in file order) are kept and sorted. The ranges of the file
// are read and sorted on their own threads, then merged.
// The user's stop (Cancelled) is not kept quiet: the listing ends unlisted.
template <class Keep>
PartialListing stockListing(const std::filesystem::path& archive, Access access, const Progress& progress,
                            std::vector<size_t> fieldsRead, const Keep& keep) {
  PartialListing listing;
  std::vector<TextList> found;
  PartedScan scan;
  scan.fieldsRead = std::move(fieldsRead);
  scan.prepare = [&](size_t parts) { found.resize(parts); };
  scan.visit = [&](size_t part, size_t k, const uint8_t* bytes) {
    if (!keep(k, rawFields(bytes))) return;
    found[part].emplace([bytes](TextList::Line& line) { rawStockLine(bytes, line); });
  };
  scan.finish = [&](size_t part) { found[part].sortFolded(); };
  try {
    const std::vector<ScanPart> parts = scanInParts(archive, productLayout(), access, progress, scan);
    found.resize(partsKept(parts));
    listing.lines = found.size() == 1 ? std::move(found.front()) : TextList::mergedFolded(std::move(found));
    rethrowFirstFailure(parts);
  } catch (const StopListing& stop) {
    listing.problem = stop.why;
  } catch (const Cancelled&) {
    throw;
  } catch (const std::exception& e) {
    listing.problem = e.what();
  }
  return listing;
}

}  // namespace

Text productSearchLine(const Record& product) {
  Text out;
  buildSearchLine(recordFields(product), out);
  return out;
}

Text stockLine(const Record& product) {
  Text out;
  buildStockLine(recordFields(product), out);
  return out;
}

std::optional<bool> isUnderStock(const Record& product) { return underStock(recordFields(product)); }

TextList searchProducts(const std::filesystem::path& archive, const Criteria& criteria,
                        Access access, const Progress& progress) {
  return searchLines(archive, productLayout(), access, criteria, rawSearchLine, kSearchLineFields, progress);
}

PartialListing underStockList(const std::filesystem::path& archive, Access access, const Progress& progress) {
  // Few products are under stock: the two numbers are read of every one.
  return stockListing(archive, access, progress, {product::Giacenza, product::Sottoscorta},
                      [](size_t k, const auto& field) {
    const std::optional<bool> under = underStock(field);
    if (!under)
      throw StopListing{"record " + std::to_string(k) +
                        ": the stock or the under-stock threshold is not a number"};
    return *under;
  });
}

PartialListing importList(const std::filesystem::path& archive, Access access, const Progress& progress) {
  // Most products have a stock: the line is made of nearly every one.
  return stockListing(archive, access, progress, kStockLineFields,
                      [](size_t, const auto& field) { return !field(product::Giacenza).empty(); });
}

std::optional<PickedRecord> pickProduct(const std::filesystem::path& archive, std::string_view line) {
  return pickRecord(archive, productLayout(), Access::Update, line, rawSearchLine);
}

std::optional<PickedRecord> pickByStockLine(const std::filesystem::path& archive,
                                            std::string_view line) {
  return pickRecord(archive, productLayout(), Access::Update, line, rawStockLine);
}

}  // namespace zel
