// Plays one instance of the program on a program folder, for the tests that
// need several processes on one client archive (Anagrafica.pro):
//
//   store_driver session FOLDER
//     A client card driven line by line from standard input, one answer line
//     per command, exactly as the card window does it (it remembers the
//     record it showed and hands it to every save and delete):
//       show K       load record K        -> "ok CODICE"
//       save TEXT    Persona = TEXT, save -> "ok K"
//       delete       delete the card      -> "ok"
//       new          an empty card        -> "ok"
//     and, as the other windows do it:
//       supply NAME       create the supply NAME         -> "ok" or "in use"
//       item NAME TEXT    a new item TEXT in supply NAME -> "ok K"
//       items NAME        the item count of supply NAME  -> "ok N"
//       password OLD NEW  change the password            -> "ok" or "refused"
//       login TEXT        check a password at login      -> "ok" or "wrong"
//     A refusal answers "changed" (the record changed elsewhere), "busy" or
//     "gone" (the supply no longer exists); any other failure "error WHY".
//
//   store_driver churn FOLDER SEED OPS SERIALBASE [THINK [SUPPLY]]
//     OPS random actions (0: until killed) on records made by tests/support/churn.h
//     in the client archive (or in the supply file SUPPLY of the folder),
//     each card kept on screen up to THINK milliseconds before its save or
//     deletion:
//     save over a record (its version + 1), save a new one (serials from
//     SERIALBASE), delete one. Before each action a line "B O|A|X SERIAL
//     VERSION" goes to standard output, after it "D" when it was done, "C"
//     when the record changed meanwhile, "Y" when the archive was busy.
//     Another failure prints "E WHY" and ends with status 3.
//
//   store_driver stock FOLDER SEED
//     Until killed, takes 1 off the stock of a random product of
//     Materiali.pro, as the product import does: "B T K" before, "D" after.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include "store/archives.h"
#include "store/card.h"
#include "store/passwordstore.h"
#include "store/stockupdate.h"
#include "store/supplyfiles.h"
#include "store/supplysheet.h"
#include "support/churn.h"

namespace {

using namespace zel;

// Unbuffered, so that a line written before a kill is never lost.
void say(const std::string& line) {
  const std::string text = line + "\n";
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(1, text.data() + done, text.size() - done);
    if (n <= 0) std::_Exit(4);
    done += static_cast<size_t>(n);
  }
}

// ---- session ----

struct Card {
  std::string label;
  std::optional<Record> shown;
  Record fields = emptyRecord(clientLayout());
};

// The first word of a command's arguments, and the rest of the line.
std::pair<std::string, std::string> split(const std::string& rest) {
  const size_t space = rest.find(' ');
  if (space == std::string::npos) return {rest, ""};
  return {rest.substr(0, space), rest.substr(space + 1)};
}

std::string otherWindows(const std::filesystem::path& folder, const std::string& verb, const std::string& rest) {
  const auto [first, more] = split(rest);
  const std::filesystem::path supply = folder / (first + kSupplyExtension);
  if (verb == "supply") {
    const auto made = supplyfiles::createSupply(folder, rest);
    return made.outcome == supplyfiles::CreateOutcome::Created ? "ok" : "in use";
  }
  if (verb == "item") {
    Record r = emptyRecord(supplyLayout());
    r[supply::Prodotto] = more;
    r[supply::Quantita] = supplysheet::kDefaultQuantity;
    r[supply::Prezzo] = r[supply::Importo] = supplysheet::kDefaultMoney;
    r[supply::Pagamento] = supplysheet::kPaid;
    return "ok " + std::to_string(saveCard(supplyArchive(folder, supply), "", r).recordNumber);
  }
  if (verb == "items") {
    const auto list = supplysheet::listItems(supply, supplysheet::Items::All, Access::Existing);
    if (!list.complete) return "error " + list.problem;
    return "ok " + std::to_string(list.lines.size());
  }
  if (verb == "password")
    return changePassword(passwordStorePath(folder), first, more, more) == PasswordChange::Changed ? "ok" : "refused";
  if (verb == "login") return checkPassword(passwordStorePath(folder), rest) ? "ok" : "wrong";
  return "error unknown command";
}

std::string answer(const CardArchive& archive, Card& card, const std::string& command) {
  const std::string verb = command.substr(0, command.find(' '));
  const std::string rest = command.size() > verb.size() ? command.substr(verb.size() + 1) : "";
  if (verb == "show") {
    const size_t k = std::stoul(rest);
    card.fields = readRecord(archive.file, *archive.layout, k);
    card.shown = card.fields;
    card.label = std::to_string(k);
    return "ok " + card.fields[0];
  }
  if (verb == "save") {
    Record r = card.fields;
    r[1] = rest;
    const SaveOutcome out = saveCard(archive, card.label, r, card.shown ? &*card.shown : nullptr);
    card.fields = r;
    card.shown = r;
    card.label = std::to_string(out.recordNumber);
    return "ok " + card.label;
  }
  if (verb == "new") {
    card = Card{};
    return "ok";
  }
  if (verb == "delete") {
    deleteCard(archive, card.label, {}, card.shown ? &*card.shown : nullptr);
    card = Card{};
    return "ok";
  }
  return otherWindows(archive.file.parent_path(), verb, rest);
}

int session(const std::string& folder) {
  const CardArchive archive = clientArchive(folder);
  Card card;
  std::string line;
  while (std::getline(std::cin, line) && line != "quit") {
    try {
      say(answer(archive, card, line));
    } catch (const CardChanged&) {
      say("changed");
    } catch (const StoreBusy&) {
      say("busy");
    } catch (const SupplyGone&) {
      say("gone");
    } catch (const std::exception& e) {
      say(std::string("error ") + e.what());
    }
  }
  return 0;
}

// ---- churn ----

// One random action; returns the line that tells its outcome.
std::string churnOnce(const CardArchive& archive, std::mt19937_64& random, uint64_t& nextSerial, int think) {
  // The card shows a record chosen at random, in one action of its own.
  size_t n = 0, k = 0;
  Record shown;
  {
    RecordFile file = RecordFile::openForUpdate(archive.file, *archive.layout, Lock::Shared);
    n = file.count();
    if (n > 0) shown = file.read(k = std::uniform_int_distribution<size_t>(1, n)(random));
    file.close();
  }
  const unsigned roll = std::uniform_int_distribution<unsigned>(0, 99)(random);
  if (n == 0 || roll < 30) {
    const test::ChurnId id{nextSerial++, 0};
    say("B A " + std::to_string(id.serial) + " 0");
    saveCard(archive, "", test::churnRecord(id, *archive.layout));
    return "D";
  }
  const std::optional<test::ChurnId> id = test::churnIdentity(shown, *archive.layout);
  if (!id) throw StoreError("record " + std::to_string(k) + " is torn or foreign");
  const std::string label = std::to_string(k);
  if (think > 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution<int>(0, think)(random)));
  if (roll < 65) {
    const test::ChurnId next{id->serial, id->version + 1};
    say("B O " + std::to_string(next.serial) + " " + std::to_string(next.version));
    saveCard(archive, label, test::churnRecord(next, *archive.layout), &shown);
  } else {
    say("B X " + std::to_string(id->serial) + " " + std::to_string(id->version));
    deleteCard(archive, label, {}, &shown);
  }
  return "D";
}

int churnLoop(const std::string& folder, uint64_t seed, uint64_t ops, uint64_t serialBase, int think,
              const std::string& supply) {
  const CardArchive archive =
      supply.empty() ? clientArchive(folder) : supplyArchive(folder, std::filesystem::path(folder) / supply);
  std::mt19937_64 random(seed);
  uint64_t nextSerial = serialBase;
  for (uint64_t i = 0; ops == 0 || i < ops; ++i) {
    try {
      say(churnOnce(archive, random, nextSerial, think));
    } catch (const CardChanged&) {
      say("C");
    } catch (const StoreBusy&) {
      say("Y");
    } catch (const std::exception& e) {
      say(std::string("E ") + e.what());
      return 3;
    }
  }
  return 0;
}

// ---- stock ----

int stockLoop(const std::string& folder, uint64_t seed) {
  const CardArchive products = productArchive(folder);
  std::mt19937_64 random(seed);
  for (;;) {
    try {
      RecordFile file = RecordFile::openForUpdate(products.file, *products.layout, Lock::Shared);
      const size_t n = file.count();
      file.close();
      const size_t k = std::uniform_int_distribution<size_t>(1, n)(random);
      say("B T " + std::to_string(k));
      takeFromStock(products.file, k, "1");
      say("D");
    } catch (const StoreBusy&) {
      say("Y");
    } catch (const std::exception& e) {
      say(std::string("E ") + e.what());
      return 3;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "session" && argc == 3) return session(argv[2]);
  if (command == "churn" && argc >= 6 && argc <= 8)
    return churnLoop(argv[2], std::stoull(argv[3]), std::stoull(argv[4]), std::stoull(argv[5]),
                     argc >= 7 ? std::stoi(argv[6]) : 0, argc == 8 ? argv[7] : "");
  if (command == "stock" && argc == 4) return stockLoop(argv[2], std::stoull(argv[3]));
  std::cerr << "usage: store_driver session FOLDER | churn FOLDER SEED OPS SERIALBASE [THINK [SUPPLY]]"
               " | stock FOLDER SEED\n";
  return 2;
}
