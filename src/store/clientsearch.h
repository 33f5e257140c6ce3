#pragma once
// The client search over Anagrafica.pro: nine criteria, one fixed-column line
// per client, and the pick that hands the chosen client back to the card or
// the supply sheet.
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "store/fields.h"
#include "store/recordsearch.h"

namespace zel {

// Field indexes of the client layout.
// The fields the nine criteria boxes search, in the order of the boxes.
inline constexpr client::Field kClientSearchFields[] = {
    client::Codice, client::Persona, client::Ufficio, client::Indirizzo, client::Citta,
    client::NumDoc, client::CodFisc, client::Iva,     client::Note};

// The list line of a client: "Cod. id. " Codice(20) "  " Persona(30)
// "  Uff. " Ufficio(30) "  - " Citta(25) "  -  Cel. " TelCel, every field
// trimmed, padded with spaces or cut to its width; TelCel as it is.
Text clientLine(const Record& client);

// The lines of the clients that match, sorted (lessFolded). The windows open
// the archive for update, creating a missing one. Throws StoreError, or
// Cancelled when `progress` is asked to stop.
TextList searchClients(const std::filesystem::path& archive, const Criteria& criteria,
                       Access access = Access::Update, const Progress& progress = {});

// The client behind a chosen line: the last in file order whose line equals
// it (both trimmed). Opens the archive for update. Throws StoreError.
std::optional<PickedRecord> pickClient(const std::filesystem::path& archive, std::string_view line);

}  // namespace zel
