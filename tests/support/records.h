#pragma once
// Records built field by field and archives written from them, as the tests
// lay out what a card, a search or a command is to find.
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/layout.h"

namespace zel::test {

// A record of `layout` with the fields given (by name, or by number such as
// client::Persona) and every other field empty.
Record recordOf(const Layout& layout, std::initializer_list<std::pair<std::string_view, Text>> fields);
Record recordOf(const Layout& layout, std::initializer_list<std::pair<size_t, Text>> fields);

// A client card with its two mandatory fields: `code` and "Persona <code>".
Record clientCard(const Text& code);

// A supply item with every field the sheet needs to save it.
Record supplyItem(const Text& prodotto, const Text& quantita = "1", const Text& prezzo = "0,00",
                  const Text& importo = "0,00", const Text& pagamento = "Saldato");

// `file` holding exactly `records`.
void writeRecords(const std::filesystem::path& file, const Layout& layout, const std::vector<Record>& records);
// `records` added at the end of `file`, which is made when missing.
void appendRecords(const std::filesystem::path& file, const Layout& layout, const std::vector<Record>& records);

}  // namespace zel::test
