#include "core/printlayout.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace zel {
namespace {

constexpr int kLeft = 150;  // every text starts here

class Pages {
 public:
  explicit Pages(std::vector<PrintPage>& pages) : pages_(pages) { pages_.emplace_back(); }
  void put(int y, int points, Text text) { pages_.back().push_back({kLeft, y, points, std::move(text)}); }
  void newPage() { pages_.emplace_back(); }

 private:
  std::vector<PrintPage>& pages_;
};

}  // namespace

int charHeight(int points, int dpi) {
  return static_cast<int>(std::lround(static_cast<double>(points) * dpi / 72.0));
}

std::vector<PrintPage> layoutPrintedList(const PrintRequest& r) {
  if (r.dpi <= 0 || r.pageHeight <= 0) throw std::invalid_argument("printer without a page size");
  std::vector<PrintPage> pages;
  if (r.entries.empty()) return pages;
  const int h8 = charHeight(8, r.dpi), h12 = charHeight(12, r.dpi), h14 = charHeight(14, r.dpi);
  const Text separator(r.separatorLength, '-');
  Pages out(pages);

  int y = 2 * h14;
  out.put(y, 14, separator);
  y += h12;
  out.put(y, 12, r.title);
  y += h12;
  out.put(y, 14, separator);
  y += 3 * h8;

  for (std::string_view entry : r.entries) {
    if (y >= r.pageHeight - 3 * h8) {
      out.newPage();
      y = 2 * h8;
    }
    out.put(y, 8, Text(entry));
    y += 2 * h8;
  }

  // The closing stays in one piece: when its last line would end below the
  // printable area it starts a page of its own.
  const int closingBottom = r.total ? y + 2 * h12 + h8 + 150 + h8 : y + 150 + h8;
  if (closingBottom > r.pageHeight) {
    out.newPage();
    y = 2 * h8;
  }
  if (r.total) {
    out.put(y, 14, separator);
    y += h12;
    out.put(y, 12, r.total->label + r.total->amount);
    y += h12;
    out.put(y, 14, separator);
    y += h8;
    out.put(y + 150, 8, r.stamp);
  } else {
    out.put(y + 50, 8, Text(20, '_'));
    out.put(y + 150, 8, r.stamp);
  }
  return pages;
}

PrintVariant printVariant(PrintedList list, std::string_view supplyName) {
  const Text supply = trim(supplyName);
  switch (list) {
    case PrintedList::ClientSearch:
      return {"Si vuole stampare il presente elenco?", "Anagrafica clienti", 17, std::nullopt, true};
    case PrintedList::ProductSearch:
      return {"Si vuole stampare il presente elenco di prodotti e servizi?", "Elenco prodotti e servizi",
              14, std::nullopt, true};
    case PrintedList::UnderStock:
      return {"Si vuole stampare il presente elenco di materiali?", "Materiali in esaurimento", 24,
              std::nullopt, true};
    case PrintedList::ProductImport:
      return {"Si vuole stampare il presente elenco di prodotti?", "Prodotti e servizi", 24,
              std::nullopt, true};
    case PrintedList::SupplySearch:
      return {"Si vuole stampare il presente elenco?", supply, 17, std::nullopt, true};
    case PrintedList::SupplySheet:
      return {"Si vuole stampare il presente elenco di fornitura?", supply, 50,
              Text("TOTALE IMPORTI:  \x80 "), false};
    case PrintedList::PendingPayments:
      return {"Si vuole stampare il presente elenco di prodotti o servizi con pagamento in sospeso?",
              "Pagamenti in sospeso " + supply, 50, Text("TOTALE IMPORTI IN SOSPESO:  \x80 "), true};
  }
  throw std::invalid_argument("unknown printed list");
}

Text printStamp(const Timestamp& t) {
  char buf[80];
  std::snprintf(buf, sizeof buf, "Stampa eseguita in data %02d/%02d/%04d alle ore %02d:%02d:%02d",
                t.day, t.month, t.year, t.hour, t.minute, t.second);
  return buf;
}

}  // namespace zel
