#pragma once
// The help topics of the working screens. Each screen hands its topic to the
// help window, which shows the title and the paragraphs joined by a blank line.
#include "ui/base/helptopic.h"

namespace zel::help {

// Start screen: "Uno sguardo a Zelvano", an overview of the whole program.
HelpTopic startScreenTopic();
// Client card: "Gestione anagrafica clienti".
HelpTopic clientCardTopic();
// Product card: "Gestione dell'archivio dei prodotti e servizi".
HelpTopic productCardTopic();
// Create-supply window: "Creazione di una nuova fornitura".
HelpTopic createSupplyTopic();
// Open-supply window: "Accesso ad una fornitura esistente".
HelpTopic openSupplyTopic();
// Supply sheet: "Archiviazione schede di fornitura".
HelpTopic supplySheetTopic();
// The three archive export windows.
HelpTopic clientExportTopic();
HelpTopic productExportTopic();
HelpTopic supplyExportTopic();

}  // namespace zel::help
