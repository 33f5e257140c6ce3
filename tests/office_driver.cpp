// Writes card documents for the office-file test, which has no window to
// press the button: office_driver clienti|prodotti|fornitura FOLDER
// [NAME=VALUE...], where NAME is a record field (Codice) or, for a supply item,
// "panClasse" for the supply's name. Values are UTF-8. Prints the path
// of the new document; exit 1 on an export failure.
#include <iostream>
#include <map>
#include <string>

#include "core/text.h"
#include "output/core/cards.h"
#include "output/core/docx.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: office_driver clienti|prodotti|fornitura FOLDER [NAME=VALUE...]\n";
    return 2;
  }
  const std::string kind = argv[1];
  std::map<std::string, zel::Text, std::less<>> controls;
  for (int i = 3; i < argc; ++i) {
    const std::string arg = argv[i];
    const size_t eq = arg.find('=');
    if (eq != std::string::npos) controls[arg.substr(0, eq)] = zel::utf8ToCp1252(arg.substr(eq + 1));
  }
  const zel::FieldText text = [&](std::string_view field) -> zel::Text {
    const auto it = controls.find(field);
    return it == controls.end() ? zel::Text() : it->second;
  };

  zel::CardDocument card;
  if (kind == "clienti") card = zel::clientCardDocument(text);
  else if (kind == "prodotti") card = zel::productCardDocument(text);
  else if (kind == "fornitura") card = zel::supplyCardDocument(text("panClasse"), text);
  else return 2;
  try {
    std::cout << zel::writeCardDocument(card, zel::Destination::newFileIn(argv[2], card.fileName)).string()
              << '\n';
  } catch (const zel::ExportError& e) {
    std::cerr << e.what() << '\n';
    return 1;
  }
  return 0;
}
