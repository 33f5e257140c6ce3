#include "benchdata.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <random>

#include "store/fields.h"
#include "store/recordfile.h"
#include "store/supplysheet.h"

namespace zel::bench {
namespace {

namespace fs = std::filesystem;

// ---- realistic texts ----

const char* const kSurnames[] = {"Rossi",    "Russo",   "Ferrari", "Esposito", "Bianchi", "Romano",  "Colombo",
                                 "Ricci",    "Marino",  "Greco",   "Bruno",    "Gallo",   "Conti",   "De Luca",
                                 "Costa",    "Giordano", "Mancini", "Rizzo",   "Lombardi", "Moretti", "Barbieri",
                                 "Fontana",  "Santoro", "Mariani", "Rinaldi",  "Caruso",  "Ferrara", "Gall\xEC"};
const char* const kNames[] = {"Mario",  "Giuseppe", "Luca",  "Giulia",   "Francesca", "Marco",  "Anna",
                              "Paolo",  "Chiara",   "Stefano", "Elena",  "Roberto",   "Sara",   "Davide",
                              "Nicol\xF2", "Niccol\xF2", "Ilaria", "Matteo", "Federica", "Andrea"};
const char* const kCompanies[] = {"Ferramenta", "Edilizia",  "Impianti",      "Costruzioni", "Studio",
                                  "Officina",   "Autotrasporti", "Falegnameria", "Idraulica",  "Elettrica"};
const char* const kCities[] = {"20121 Milano (MI)",   "00184 Roma (RM)",    "10121 Torino (TO)",
                               "40121 Bologna (BO)",  "50122 Firenze (FI)", "80133 Napoli (NA)",
                               "06012 Citt\xE0 di Castello (PG)", "35121 Padova (PD)", "37121 Verona (VR)",
                               "90133 Palermo (PA)"};
const char* const kStreets[] = {"Via Roma",   "Corso Italia", "Via Garibaldi",   "Piazza Duomo",
                                "Via Mazzini", "Viale dei Mille", "Via Verdi",     "Via Cavour",
                                "Largo Augusto", "Via XX Settembre"};
const char* const kKinds[] = {"Utensileria", "Minuteria", "Ricambi", "Servizio", "Materiale elettrico",
                              "Idraulica",   "Vernici",   "Trasporto", "Consulenza"};
const char* const kBrands[] = {"Bosch", "Makita", "Fischer", "W\xFCrth", "Stanley", "Festool", "Hilti", "Beta",
                               "Usag", "Vimar"};
const char* const kThings[] = {"Trapano a percussione", "Tassello in nylon", "Vite autofilettante",
                               "Cavo unipolare", "Raccordo in ottone", "Smalto all'acqua", "Flessibile",
                               "Pinza regolabile", "Interruttore bipolare", "Manutenzione impianto",
                               "Sopralluogo tecnico", "Nastro isolante"};
const char* const kUnits[] = {"pz", "m", "kg", "conf.", "h", "l"};
const char* const kLooks[] = {"Imballo integro", "Scatola danneggiata", "Merce sfusa", "Bancale pellicolato", ""};

template <size_t N>
const char* pick(std::mt19937& rng, const char* const (&from)[N]) {
  return from[std::uniform_int_distribution<size_t>(0, N - 1)(rng)];
}

int number(std::mt19937& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::string date(std::mt19937& rng) {
  return twoDigits(number(rng, 1, 28)) + "/" + twoDigits(number(rng, 1, 12)) + "/" +
         std::to_string(number(rng, 2018, 2026));
}

std::string person(std::mt19937& rng) {
  if (number(rng, 0, 3) == 0) return std::string(pick(rng, kCompanies)) + " " + pick(rng, kSurnames) + " S.r.l.";
  return std::string(pick(rng, kSurnames)) + " " + pick(rng, kNames);
}

std::string address(std::mt19937& rng) { return std::string(pick(rng, kStreets)) + " " + std::to_string(number(rng, 1, 200)); }

// Each record from its own generator, so record i is the same whoever asks.
std::mt19937 generatorFor(unsigned kind, size_t i) {
  std::seed_seq seed{kind, static_cast<unsigned>(i), static_cast<unsigned>(i >> 32), 20260105u};
  return std::mt19937(seed);
}

// ---- the run ----

std::vector<size_t>& chosenSizes() {
  static std::vector<size_t> s{1000, 10000, 100000};
  return s;
}

std::map<size_t, std::unique_ptr<Archives>>& allArchives() {
  static std::map<size_t, std::unique_ptr<Archives>> all;
  return all;
}

const Layout& layoutOf(Kind kind) {
  switch (kind) {
    case Kind::Clients: return clientLayout();
    case Kind::Products: return productLayout();
    case Kind::Supply: break;
  }
  return supplyLayout();
}

Record recordOf(Kind kind, size_t i) {
  switch (kind) {
    case Kind::Clients: return client(i);
    case Kind::Products: return product(i);
    case Kind::Supply: break;
  }
  return supplyItem(i);
}

const char* fileName(Kind kind) {
  switch (kind) {
    case Kind::Clients: return "Anagrafica.pro";
    case Kind::Products: return "Materiali.pro";
    case Kind::Supply: break;
  }
  return "Consegne 2026.for";
}

void writeArchive(const fs::path& file, Kind kind, size_t records) {
  const Layout& l = layoutOf(kind);
  RecordFile f = RecordFile::createEmpty(file, l);
  constexpr size_t kChunk = 256;
  std::vector<uint8_t> block(kChunk * l.recordSize());
  for (size_t done = 0; done < records; done += kChunk) {
    const size_t n = std::min(kChunk, records - done);
    for (size_t j = 0; j < n; ++j) encodeRecord(l, recordOf(kind, done + j + 1), block.data() + j * l.recordSize());
    f.appendRaw(block.data(), n);
  }
  f.close();
}

}  // namespace

double childrenCpu() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

const char* kindName(Kind kind) {
  switch (kind) {
    case Kind::Clients: return "clients";
    case Kind::Products: return "products";
    case Kind::Supply: break;
  }
  return "supply";
}

Record client(size_t i) {
  std::mt19937 rng = generatorFor(1, i);
  Record r = emptyRecord(clientLayout());
  r[client::Codice] = "CL" + std::to_string(100000 + i);
  r[client::Persona] = person(rng);
  if (number(rng, 0, 4) == 0) r[client::Ufficio] = "Ufficio acquisti";
  r[client::Indirizzo] = address(rng);
  r[client::Citta] = pick(rng, kCities);
  r[client::TipoDoc] = "Carta d'identit\xE0";
  r[client::NumDoc] = "CA" + std::to_string(number(rng, 10000, 99999)) + "AB";
  r[client::EnteDoc] = "Comune di residenza";
  r[client::RilDoc] = date(rng);
  r[client::ScaDoc] = date(rng);
  r[client::CodFisc] = "RSSMRA80A01H501U";
  r[client::Iva] = std::to_string(number(rng, 10000000, 99999999)) + "001";
  r[client::Iban] = "IT60X0542811101000000123456";
  r[client::Banca] = "Banca Popolare di " + std::string(pick(rng, kCities) + 6);
  r[client::Pagamento] = "Bonifico a 30 giorni data fattura fine mese";
  r[client::TelCel] = "+39 3" + std::to_string(number(rng, 10000000, 99999999));
  r[client::Email] = "cliente" + std::to_string(i) + "@esempio.it";
  if (number(rng, 0, 2) == 0) r[client::Note] = "Consegne solo al mattino;\r\nchiamare prima.";
  if (number(rng, 0, 9) == 0) {
    r[client::File01] = "/home/utente/Documenti/contratto-" + std::to_string(i) + ".pdf";
    r[client::Desc01] = "Contratto firmato";
  }
  return r;
}

Record product(size_t i) {
  std::mt19937 rng = generatorFor(2, i);
  Record r = emptyRecord(productLayout());
  r[product::Codice] = "ART-" + std::to_string(100000 + i);
  r[product::Tipologia] = pick(rng, kKinds);
  r[product::Marca] = pick(rng, kBrands);
  r[product::Modello] = "Serie " + std::to_string(number(rng, 1, 900));
  r[product::Descrizione] = std::string(pick(rng, kThings)) + " " + std::to_string(number(rng, 2, 60)) + " mm";
  r[product::Fornitore] = std::string(pick(rng, kSurnames)) + " Forniture S.p.A.";
  r[product::Recapito] = address(rng) + ", " + pick(rng, kCities);
  r[product::Data] = date(rng);
  r[product::Costo] = std::to_string(number(rng, 1, 500)) + ",00";
  r[product::Documento] = "Fattura n. " + std::to_string(number(rng, 1, 9999));
  r[product::Prezzo] = std::to_string(number(rng, 1, 900)) + "," + twoDigits(number(rng, 0, 99));
  r[product::Collocazione] = "Scaffale " + std::to_string(number(rng, 1, 40));
  // The card stores whole pieces; about one product in ten is at or below its threshold.
  r[product::Giacenza] = std::to_string(number(rng, 0, 200));
  r[product::Sottoscorta] = std::to_string(number(rng, 0, 20));
  if (number(rng, 0, 3) == 0) r[product::Note] = "Ordinare a fine mese";
  return r;
}

Record supplyItem(size_t i) {
  std::mt19937 rng = generatorFor(3, i);
  Record r = emptyRecord(supplyLayout());
  r[supply::Prodotto] = std::string(pick(rng, kThings)) + " " + pick(rng, kBrands) + " ART-" +
                        std::to_string(100000 + number(rng, 1, 100000));
  r[supply::Data] = date(rng);
  r[supply::Ora] = twoDigits(number(rng, 7, 19)) + ":" + twoDigits(number(rng, 0, 59));
  r[supply::Luogo] = address(rng) + ", " + pick(rng, kCities);
  const std::string quantity = std::to_string(number(rng, 1, 50));
  const std::string price = std::to_string(number(rng, 1, 300)) + "," + twoDigits(number(rng, 0, 99));
  const supplysheet::Calculation c = supplysheet::calculate(quantity, price, "");
  r[supply::Quantita] = c.quantity;
  r[supply::Prezzo] = c.price;
  r[supply::Importo] = c.amount;
  r[supply::UM] = pick(rng, kUnits);
  r[supply::Pagamento] = number(rng, 0, 6) == 0 ? supplysheet::kPending : supplysheet::kPaid;
  r[supply::Aspetto] = pick(rng, kLooks);
  r[supply::Cliente] = person(rng);
  r[supply::Fornitore] = std::string(pick(rng, kSurnames)) + " Forniture S.p.A.";
  r[supply::Consegnatario] = person(rng);
  r[supply::Vettore] = number(rng, 0, 1) ? "Corriere espresso" : "Mezzo proprio";
  if (number(rng, 0, 4) == 0) r[supply::Annotazioni] = "Consegna al piano";
  return r;
}

Archives::Archives(size_t records) : records_(records), made_(3) {}

const fs::path& Archives::file(Kind kind) const {
  fs::path& made = made_[static_cast<size_t>(kind)];
  if (made.empty()) {
    made = folder() / fileName(kind);
    writeArchive(made, kind, records_);
  }
  return made;
}

void Archives::remake(Kind kind) const { writeArchive(file(kind), kind, records_); }

const Archives& archivesOf(size_t records) {
  auto& all = allArchives();
  auto& a = all[records];
  if (!a) {
    // Every file is made now, before the first benchmark of this size times anything.
    a = std::make_unique<Archives>(records);
    for (Kind kind : {Kind::Clients, Kind::Products, Kind::Supply}) a->file(kind);
  }
  return *a;
}

const std::vector<size_t>& sizes() { return chosenSizes(); }

void atSizes(const std::string& name, const std::vector<size_t>& at, const Run& run, benchmark::TimeUnit unit,
             benchmark::IterationCount rounds) {
  for (size_t n : at) {
    auto* registered = benchmark::RegisterBenchmark((name + "/" + std::to_string(n)).c_str(),
                                                    [run, n](benchmark::State& state) { run(state, archivesOf(n)); })
                           ->Unit(unit)
                           ->UseRealTime()
                           ->MeasureProcessCPUTime();  // a listing's ranges run on threads of their own
    if (rounds > 0) registered->Iterations(rounds);
  }
}

void atEverySize(const std::string& name, const Run& run, benchmark::TimeUnit unit) {
  atSizes(name, sizes(), run, unit);
}

void scans(benchmark::State& state, const Archives& archives, Kind kind) {
  state.SetLabel(std::string("scan:") + kindName(kind));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fs::file_size(archives.file(kind))));
}

void registerRawReads(std::initializer_list<Kind> kinds, const std::vector<size_t>& at) {
  for (Kind kind : kinds) {
    atSizes(std::string("RawRead/") + kindName(kind), at, [kind](benchmark::State& state, const Archives& a) {
      const std::string command = "dd if='" + a.file(kind).string() + "' of=/dev/null bs=128k status=none";
      const double before = childrenCpu();
      for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
          state.SkipWithError("dd failed");
          break;
        }
      }
      // The CPU time of the read itself (the shell and dd), which the load
      // of other work on the machine does not stretch as it does the wall clock.
      state.counters["cpu_s"] = (childrenCpu() - before) / static_cast<double>(state.iterations());
      state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fs::file_size(a.file(kind))));
    });
  }
}

int runBenchmarks(int argc, char** argv, const std::function<void()>& registerAll) {
  // --sizes= is ours; the rest belongs to the benchmark library.
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--sizes=", 8) != 0) {
      args.push_back(argv[i]);
      continue;
    }
    std::vector<size_t> chosen;
    for (const char* p = argv[i] + 8; *p;) {
      char* end = nullptr;
      const unsigned long long n = std::strtoull(p, &end, 10);
      if (end == p || n == 0) {
        std::fprintf(stderr, "%s: --sizes takes record counts, such as --sizes=1000,10000\n", argv[0]);
        return 2;
      }
      chosen.push_back(static_cast<size_t>(n));
      p = *end == ',' ? end + 1 : end;
    }
    chosenSizes() = chosen;
  }
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 2;
  registerAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  allArchives().clear();
  return 0;
}

}  // namespace zel::bench
