#include "cli/search_cmd.h"

#include <filesystem>
#include <ostream>
#include <string_view>
#include <vector>

#include "cli/command.h"
#include "store/archives.h"
#include "store/clientsearch.h"
#include "store/productsearch.h"
#include "store/supplysearch.h"

namespace zel::cli {
namespace {

namespace fs = std::filesystem;

const char kUsage[] =
    "  search clienti [--folder DIR] [--Codice T] [--Persona T] [--Ufficio T]\n"
    "                 [--Indirizzo T] [--Citta T] [--NumDoc T] [--CodFisc T] [--Iva T]\n"
    "                 [--Note T]\n"
    "  search prodotti [--folder DIR] [--Codice T] [--Tipologia T] [--Marca T]\n"
    "                  [--Modello T] [--Accessori T] [--Descrizione T] [--Note T]\n"
    "  search sottoscorta [--folder DIR]\n"
    "  search FILE.for [--Prodotto T] [--Data T] [--Luogo T] [--Cliente T]\n"
    "                  [--Fornitore T] [--Aspetto T] [--Vettore T]\n"
    "                  [--Consegnatario T] [--Annotazioni T]\n"
    "  search sospesi FILE.for\n"
    "      Prints the list that the search window shows, one line per entry, in\n"
    "      the window's order and with its blanks: the clients, the products or\n"
    "      the items of a supply whose fields contain every criterion given\n"
    "      (letters a-z in either case, the text taken as given, blanks\n"
    "      included; a blank criterion is ignored; none lists everything), the\n"
    "      products at or below their under-stock threshold, or the pending\n"
    "      items of a supply followed by the line \"Totale importi in sospeso: \"\n"
    "      and their total. The archives are read in DIR (default: the folder\n"
    "      of zelvano-cli); a missing archive lists nothing, and nothing is\n"
    "      ever created. Exit status 0 when done, 1 when a file cannot be read,\n"
    "      the listing stops early at a damaged record (the lines so far are\n"
    "      printed) or a journal could not be applied, 2 on a usage error.\n";

// A full listing prints some 15 MB: written into one buffer and out a
// block at a time, with no string of its own per line. The lines come in
// sorted order from all over the list's memory; the ones a few places ahead
// are fetched meanwhile, or each would wait for memory in turn.
template <class Lines>
void printLines(std::ostream& out, const Lines& lines) {
  constexpr size_t kBlock = size_t{256} << 10;
  constexpr size_t kAhead = 8;
  std::vector<char> block(kBlock);
  char* at = block.data();
  const auto flush = [&] {
    out.write(block.data(), static_cast<std::streamsize>(at - block.data()));
    at = block.data();
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i + kAhead < lines.size()) {
      const std::string_view ahead = lines[i + kAhead];
      for (size_t a = 0; a < ahead.size(); a += 64) __builtin_prefetch(ahead.data() + a);
    }
    const std::string_view line = lines[i];
    const size_t room = kMostPrintedPerByte * line.size() + 2;  // and the line's end
    if (static_cast<size_t>(block.data() + block.size() - at) < room) {
      flush();
      if (block.size() < room) block.resize(room);
      at = block.data();
    }
    at = writePrintableUtf8(at, line);
    *at++ = '\n';
  }
  flush();
}

// The option names of a search: --folder when it reads the program folder,
// then one per searchable field, named after it.
template <size_t N, class FieldEnum>
std::vector<std::string> optionNames(const Layout& layout, const FieldEnum (&fields)[N], bool folder) {
  std::vector<std::string> names;
  if (folder) names.push_back("folder");
  for (FieldEnum f : fields) names.push_back(layout.field(f).name);
  return names;
}

// The criteria given, each converted to Windows-1252 and kept as typed.
Criteria criteriaOf(const ParsedArgs& parsed, const Layout& layout) {
  Criteria criteria;
  for (const auto& [name, value] : parsed.options) {
    if (name == "folder") continue;
    if (!fitsCp1252(value))
      throw UsageError{"--" + name + " holds a character that the archives cannot hold"};
    criteria.push_back({layout.indexOf(name), utf8ToCp1252(value)});
  }
  return criteria;
}

void noPositional(const ParsedArgs& parsed, const std::string& form) {
  if (!parsed.positional.empty())
    throw UsageError{"search " + form + " takes no argument '" + parsed.positional.front() + "'"};
}

bool isSupplyFile(const std::string& name) {
  const std::string lower = lowerAscii(fs::path(name).filename().string());
  const std::string ext = kSupplyExtension;
  return lower.size() > ext.size() && lower.compare(lower.size() - ext.size(), ext.size(), ext) == 0;
}

// Prints a listing the window shows even when cut short; the reason of a
// stop goes to `err` and makes the exit status 1.
int finish(std::ostream& err, const Text& problem) {
  if (problem.empty()) return kExitOk;
  err << kProgram << ": the listing stopped early: " << printable(problem) << '\n';
  return kExitFailed;
}

int clients(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const Layout& layout = clientLayout();
  const ParsedArgs parsed = parseArgs(args, optionNames(layout, kClientSearchFields, true));
  noPositional(parsed, "clienti");
  const Criteria criteria = criteriaOf(parsed, layout);
  const fs::path archive = folderOption(parsed) / kClientArchive;
  return readSettled(archive, layout, err, [&] {
    printLines(out, searchClients(archive, criteria, Access::ReadOnly));
    return kExitOk;
  });
}

int products(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const Layout& layout = productLayout();
  const ParsedArgs parsed = parseArgs(args, optionNames(layout, kProductSearchFields, true));
  noPositional(parsed, "prodotti");
  const Criteria criteria = criteriaOf(parsed, layout);
  const fs::path archive = folderOption(parsed) / kProductArchive;
  return readSettled(archive, layout, err, [&] {
    printLines(out, searchProducts(archive, criteria, Access::ReadOnly));
    return kExitOk;
  });
}

int underStock(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const ParsedArgs parsed = parseArgs(args, {"folder"});
  noPositional(parsed, "sottoscorta");
  const fs::path archive = folderOption(parsed) / kProductArchive;
  return readSettled(archive, productLayout(), err, [&] {
    const PartialListing listing = underStockList(archive, Access::ReadOnly);
    printLines(out, listing.lines);
    return finish(err, listing.problem);
  });
}

int pending(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const ParsedArgs parsed = parseArgs(args, {});
  if (parsed.positional.size() != 1 || !isSupplyFile(parsed.positional.front()))
    throw UsageError{"search sospesi takes one supply file (FILE.for)"};
  const std::string& file = parsed.positional.front();
  return readSettled(file, supplyLayout(), err, [&] {
    const supplysheet::ItemList items = pendingItems(file, Access::ReadOnly);
    printLines(out, items.lines);
    out << "Totale importi in sospeso: " << cp1252ToUtf8(items.total()) << '\n';
    return finish(err, items.problem);
  });
}

int supply(const std::string& file, const std::vector<std::string>& args, std::ostream& out,
           std::ostream& err) {
  const Layout& layout = supplyLayout();
  const ParsedArgs parsed = parseArgs(args, optionNames(layout, kSupplySearchFields, false));
  noPositional(parsed, file);
  const Criteria criteria = criteriaOf(parsed, layout);
  return readSettled(file, layout, err, [&] {
    printLines(out, searchSupply(file, criteria, Access::ReadOnly));
    return kExitOk;
  });
}

}  // namespace

std::string searchUsageText() { return kUsage; }

int searchCommand(const std::vector<std::string>& args, std::istream&, std::ostream& out,
                  std::ostream& err) {
  if (args.empty())
    throw UsageError{"search needs clienti, prodotti, sottoscorta, sospesi FILE.for or FILE.for"};
  const std::string& what = args.front();
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (what == "clienti") return clients(rest, out, err);
  if (what == "prodotti") return products(rest, out, err);
  if (what == "sottoscorta") return underStock(rest, out, err);
  if (what == "sospesi") return pending(rest, out, err);
  if (isSupplyFile(what)) return supply(what, rest, out, err);
  throw UsageError{"search cannot list '" + what +
                   "' (clienti, prodotti, sottoscorta, sospesi FILE.for or FILE.for)"};
}

}  // namespace zel::cli
