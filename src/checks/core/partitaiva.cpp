#include "checks/core/partitaiva.h"

#include <algorithm>
#include <iterator>

namespace zel {
namespace {

struct Office {
  const char* code;
  const char* name;  // Windows-1252
};

// Codes 103 to 119 were never issued; 120 and 121 repeat the names of 101
// and 102.
constexpr Office kOffices[] = {
    {"001", "Torino"},          {"002", "Vercelli"},        {"003", "Novara"},
    {"004", "Cuneo"},           {"005", "Asti"},            {"006", "Alessandria"},
    {"007", "Aosta"},           {"008", "Imperia"},         {"009", "Savona"},
    {"010", "Genova 1"},        {"011", "La Spezia"},       {"012", "Varese"},
    {"013", "Como"},            {"014", "Sondrio"},         {"015", "Milano 1"},
    {"016", "Bergamo"},         {"017", "Brescia 1"},       {"018", "Pavia"},
    {"019", "Cremona"},         {"020", "Mantova"},         {"021", "Bolzano"},
    {"022", "Trento"},          {"023", "Verona"},          {"024", "Vicenza"},
    {"025", "Belluno"},         {"026", "Treviso"},         {"027", "Venezia"},
    {"028", "Padova"},          {"029", "Rovigo"},          {"030", "Udine"},
    {"031", "Gorizia"},         {"032", "Trieste"},         {"033", "Piacenza"},
    {"034", "Parma"},           {"035", "Reggio Emilia"},   {"036", "Modena"},
    {"037", "Bologna 1"},       {"038", "Ferrara"},         {"039", "Ravenna"},
    {"040", "Forl\xEC"},        {"041", "Pesaro"},          {"042", "Ancona"},
    {"043", "Macerata"},        {"044", "Ascoli Piceno"},   {"045", "Massa Carrara"},
    {"046", "Lucca"},           {"047", "Pistoia"},         {"048", "Firenze 1"},
    {"049", "Livorno"},         {"050", "Pisa"},            {"051", "Arezzo"},
    {"052", "Siena"},           {"053", "Grosseto"},        {"054", "Perugia"},
    {"055", "Terni"},           {"056", "Viterbo"},         {"057", "Rieti"},
    {"058", "Roma 1"},          {"059", "Latina"},          {"060", "Frosinone"},
    {"061", "Caserta"},         {"062", "Benevento"},       {"063", "Napoli 1"},
    {"064", "Avellino"},        {"065", "Salerno"},         {"066", "Aquila"},
    {"067", "Teramo"},          {"068", "Pescara"},         {"069", "Chieti"},
    {"070", "Campobasso"},      {"071", "Foggia"},          {"072", "Bari"},
    {"073", "Taranto"},         {"074", "Brindisi"},        {"075", "Lecce"},
    {"076", "Potenza"},         {"077", "Matera"},          {"078", "Cosenza"},
    {"079", "Catanzaro"},       {"080", "Reggio Calabria"}, {"081", "Trapani"},
    {"082", "Palermo"},         {"083", "Messina"},         {"084", "Agrigento"},
    {"085", "Caltanissetta"},   {"086", "Enna"},            {"087", "Catania"},
    {"088", "Ragusa"},          {"089", "Siracusa"},        {"090", "Sassari"},
    {"091", "Nuoro"},           {"092", "Cagliari"},        {"093", "Pordenone"},
    {"094", "Isernia"},         {"095", "Oristano"},        {"096", "Monza (Milano 2)"},
    {"097", "Prato (Firenze 2)"}, {"098", "Brescia 2"},     {"099", "Chiavari (Genova 2)"},
    {"100", "Roma 2"},          {"101", "Bologna 2"},       {"102", "Napoli 2"},
    {"120", "Bologna 2"},       {"121", "Napoli 2"},
};
static_assert(std::size(kOffices) == 104);

const char kTitle[] = "Risultato controllo partita IVA";

}  // namespace

bool IsPartitaIvaValid(std::string_view number) {
  if (number.size() != partitaiva::kLength || !isDigitsOnly(number)) return false;
  int sum = 0;
  for (size_t i = 0; i < 10; ++i) {
    const int d = number[i] - '0';
    // i counts from 0: odd i is an even position, whose digit is doubled
    // and counted by the digits of the double.
    if (i % 2 == 0) sum += d;
    else sum += (2 * d) / 10 + (2 * d) % 10;
  }
  const int check = (10 - sum % 10) % 10;
  return number[10] - '0' == check;
}

Text UfficioIva(std::string_view code) {
  const auto it = std::find_if(std::begin(kOffices), std::end(kOffices),
                               [&](const Office& o) { return code == o.code; });
  return it == std::end(kOffices) ? Text() : Text(it->name);
}

bool partitaiva::canCheck(std::string_view text) { return text.size() >= kLength; }
bool partitaiva::enterChecks(std::string_view text) { return text.size() == kLength; }

CheckResult partitaIvaResult(std::string_view number) {
  if (!IsPartitaIvaValid(number))
    return {false, false, kTitle,
            "Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\n"
            "Non \xE8 quindi possibile fornire informazioni relative all'Ufficio IVA che lo ha "
            "rilasciato.",
            CheckIcon::Warning};
  return {true, false, "",
          "Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n"
          "E' stato rilasciato dall'Ufficio IVA del Comune di " +
              UfficioIva(number.substr(7, 3)) + ".",
          CheckIcon::None};
}

CheckResult partitaIvaButtonResult(std::string_view text) {
  if (text.size() == partitaiva::kLength) return partitaIvaResult(upperAscii(text));
  return {false, true, "", "Attenzione: la partita IVA deve essere composta da 11 caratteri numerici.",
          CheckIcon::None};
}

}  // namespace zel
