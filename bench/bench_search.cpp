// The searches at 100,000 records: the client search for "a" in Persona
// (about 390 MB of Anagrafica.pro) and the under-stock list over 100,000
// products (about 520 MB of Materiali.pro), each beside a plain read of the
// same file (`cat FILE > /dev/null`) in the same run. The client search is
// meant to stay within 1.5 times the plain read.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "store/clientsearch.h"
#include "store/productsearch.h"

namespace {

namespace fs = std::filesystem;
using zel::Record;
using zel::RecordFile;

constexpr size_t kRecords = 100000;

template <size_t N>
const char* pick(std::mt19937& rng, const char* const (&from)[N]) {
  return from[std::uniform_int_distribution<size_t>(0, N - 1)(rng)];
}

int number(std::mt19937& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

const char* const kSurnames[] = {"Rossi", "Russo", "Ferrari", "Esposito", "Bianchi", "Romano", "Colombo",
                                 "Ricci", "Marino", "Greco", "Bruno", "Gallo", "Conti", "De Luca",
                                 "Costa", "Giordano", "Mancini", "Rizzo", "Lombardi", "Moretti"};
const char* const kNames[] = {"Mario", "Giuseppe", "Luca", "Giulia", "Francesca", "Marco", "Anna",
                              "Paolo", "Chiara", "Stefano", "Elena", "Roberto", "Sara", "Davide"};
const char* const kCompanies[] = {"Ferramenta", "Edilizia", "Impianti", "Costruzioni", "Studio",
                                  "Officina", "Autotrasporti", "Falegnameria"};
const char* const kCities[] = {"20121 Milano (MI)", "00184 Roma (RM)", "10121 Torino (TO)",
                               "40121 Bologna (BO)", "50122 Firenze (FI)", "80133 Napoli (NA)",
                               "06012 Citt\xE0 di Castello (PG)", "35121 Padova (PD)"};
const char* const kStreets[] = {"Via Roma", "Corso Italia", "Via Garibaldi", "Piazza Duomo",
                                "Via Mazzini", "Viale dei Mille", "Via Verdi"};

Record client(std::mt19937& rng, size_t i) {
  const zel::Layout& l = zel::clientLayout();
  Record r = zel::emptyRecord(l);
  r[zel::client::Codice] = "CL" + std::to_string(100000 + i);
  if (number(rng, 0, 3) == 0)
    r[zel::client::Persona] = std::string(pick(rng, kCompanies)) + " " + pick(rng, kSurnames) + " S.r.l.";
  else
    r[zel::client::Persona] = std::string(pick(rng, kSurnames)) + " " + pick(rng, kNames);
  if (number(rng, 0, 4) == 0) r[zel::client::Ufficio] = "Ufficio acquisti";
  r[zel::client::Indirizzo] = std::string(pick(rng, kStreets)) + " " + std::to_string(number(rng, 1, 200));
  r[zel::client::Citta] = pick(rng, kCities);
  r[zel::client::TipoDoc] = "Carta d'identit\xE0";
  r[zel::client::NumDoc] = "CA" + std::to_string(number(rng, 10000, 99999)) + "AB";
  r[zel::client::EnteDoc] = "Comune di residenza";
  r[zel::client::CodFisc] = "RSSMRA80A01H501U";
  r[zel::client::Iva] = std::to_string(number(rng, 10000000, 99999999)) + "001";
  r[zel::client::Iban] = "IT60X0542811101000000123456";
  r[zel::client::Pagamento] = "Bonifico a 30 giorni data fattura fine mese";
  r[zel::client::TelCel] = "+39 3" + std::to_string(number(rng, 10000000, 99999999));
  r[zel::client::Email] = "cliente" + std::to_string(i) + "@esempio.it";
  if (number(rng, 0, 2) == 0) r[zel::client::Note] = "Consegne solo al mattino; chiamare prima.";
  if (number(rng, 0, 9) == 0) r[zel::client::File01] = "/home/utente/Documenti/contratto-" + std::to_string(i) + ".pdf";
  return r;
}

Record product(std::mt19937& rng, size_t i) {
  const zel::Layout& l = zel::productLayout();
  Record r = zel::emptyRecord(l);
  r[zel::product::Codice] = "ART-" + std::to_string(100000 + i);
  r[zel::product::Tipologia] = pick(rng, kCompanies);
  r[zel::product::Marca] = pick(rng, kSurnames);
  r[zel::product::Modello] = "Serie " + std::to_string(number(rng, 1, 900));
  r[zel::product::Descrizione] = "Articolo di prova numero " + std::to_string(i);
  r[zel::product::Fornitore] = std::string(pick(rng, kSurnames)) + " Forniture S.p.A.";
  r[zel::product::Recapito] = std::string(pick(rng, kStreets)) + " 1, " + pick(rng, kCities);
  r[zel::product::Costo] = std::to_string(number(rng, 1, 500)) + ",00";
  r[zel::product::Prezzo] = std::to_string(number(rng, 1, 900)) + ",50";
  r[zel::product::Giacenza] = std::to_string(number(rng, 0, 200));
  r[zel::product::Sottoscorta] = std::to_string(number(rng, 0, 20));
  if (number(rng, 0, 3) == 0) r[zel::product::Note] = "Scaffale " + std::to_string(number(rng, 1, 40));
  return r;
}

// The two archives, made once for the whole run in a private folder under
// /tmp and removed when the run ends.
class Archives {
 public:
  Archives() {
    std::string tmpl = "/tmp/zelvano-bench-XXXXXX";
    if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
    folder_ = tmpl;
    std::mt19937 rng(20260105);
    write(clients(), zel::clientLayout(), [&](size_t i) { return client(rng, i); });
    write(products(), zel::productLayout(), [&](size_t i) { return product(rng, i); });
  }
  ~Archives() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  fs::path clients() const { return folder_ / "Anagrafica.pro"; }
  fs::path products() const { return folder_ / "Materiali.pro"; }

 private:
  template <class Make>
  static void write(const fs::path& file, const zel::Layout& l, const Make& make) {
    auto f = RecordFile::createEmpty(file, l);
    constexpr size_t kChunk = 256;
    std::vector<uint8_t> block(kChunk * l.recordSize());
    for (size_t done = 0; done < kRecords; done += kChunk) {
      const size_t n = std::min(kChunk, kRecords - done);
      for (size_t j = 0; j < n; ++j) zel::encodeRecord(l, make(done + j + 1), block.data() + j * l.recordSize());
      f.appendRaw(block.data(), n);
    }
    f.close();
  }

  fs::path folder_;
};

Archives& archives() {
  static Archives a;
  return a;
}

void setBytes(benchmark::State& state, const fs::path& file) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fs::file_size(file)));
}

void catFile(benchmark::State& state, const fs::path& file) {
  const std::string command = "cat '" + file.string() + "' > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("cat failed");
      break;
    }
  }
  setBytes(state, file);
}

// The client search window's Trova with "a" in Persona: scan, match, build
// the lines, sort them.
void BM_ClientSearchPersonaA(benchmark::State& state) {
  const zel::Criteria criteria = {{zel::client::Persona, "a"}};
  size_t listed = 0;
  for (auto _ : state) {
    const auto lines = zel::searchClients(archives().clients(), criteria);
    listed = lines.size();
    benchmark::DoNotOptimize(lines[0]);
  }
  state.counters["listed"] = static_cast<double>(listed);
  setBytes(state, archives().clients());
}
BENCHMARK(BM_ClientSearchPersonaA)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CatClients(benchmark::State& state) { catFile(state, archives().clients()); }
BENCHMARK(BM_CatClients)->Unit(benchmark::kMillisecond)->UseRealTime();

// The under-stock list, built at every showing of its window.
void BM_UnderStockList(benchmark::State& state) {
  size_t listed = 0;
  for (auto _ : state) {
    const zel::PartialListing list = zel::underStockList(archives().products());
    if (!list.complete()) state.SkipWithError("listing stopped");
    listed = list.lines.size();
  }
  state.counters["listed"] = static_cast<double>(listed);
  setBytes(state, archives().products());
}
BENCHMARK(BM_UnderStockList)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CatProducts(benchmark::State& state) { catFile(state, archives().products()); }
BENCHMARK(BM_CatProducts)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  archives();  // made before any timing starts
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
