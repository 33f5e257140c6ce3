// Help topic texts: titles, paragraph counts and required openings, the
// paragraph separator of the body, and that every text fits Windows-1252.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

#include "help/helptopics.h"
#include "core/text.h"

namespace {

struct ExpectedTopic {
  const char* name;
  std::function<zel::HelpTopic()> make;
  const char* title;                  // UTF-8
  std::vector<const char*> openings;  // UTF-8, one per paragraph, in order
};

QString u8(const char* s) { return QString::fromUtf8(s); }

const std::vector<ExpectedTopic>& topics() {
  static const std::vector<ExpectedTopic> all = {
      {"start", zel::help::startScreenTopic, "Uno sguardo a Zelvano",
       {
           "Zelvano è un software gestionale facile e intuitivo",
           "Il software si compone di quattro ambienti di lavoro",
           "Il primo applicativo memorizza i dati anagrafici dei clienti",
           "Il secondo ambiente registra informazioni sui prodotti e servizi",
           "La terza applicazione serve a creare il file relativo ad una nuova fornitura",
           "L'ultimo ambiente di lavoro visualizza un elenco di selezione",
           "L'anagrafica clienti è una completa rubrica elettronica",
           "L'archivio dei prodotti e servizi permette di gestire in un'unica schermata",
           "L'operazione da effettuare per creare una nuova fornitura è molto semplice.",
           "L'ambiente per l'archiviazione delle forniture è composto da un elenco",
           "Ogni scheda permette di registrare informazioni",
           "I dati relativi al nome del cliente e al prodotto o servizio fornito possono essere importati",
           "L'utente ha la possibilità di allegare file esterni",
           "Il programma dispone di una funzione di ricerca",
           "Per stampare la scheda informativa di una singola fornitura",
           "Un apposito pulsante permette di visualizzare l'elenco di tutte le forniture",
           "Zelvano è quindi il software ideale",
       }},
      {"client", zel::help::clientCardTopic, "Gestione anagrafica clienti",
       {
           "Zelvano mette a disposizione un database per memorizzare l'anagrafica dei clienti",
           "L'archivio anagrafico è una completa rubrica elettronica dotata di funzioni avanzate",
           "Si può associare alla scheda di ciascun nominativo il percorso di una cartella",
           "Per inserire una nuova scheda in archivio, è sufficiente fare clic sul pulsante Nuovo",
           "Le icone delle frecce permettono di scorrere i vari record dal primo all'ultimo",
           "La scheda di ogni singolo cliente può essere esportata in un file di Microsoft Word",
       }},
      {"product", zel::help::productCardTopic, "Gestione dell'archivio dei prodotti e servizi",
       {
           "L'archivio dei prodotti e servizi permette di gestire in un'unica schermata i dati più importanti",
           "In ogni scheda è possibile annotare il codice e la tipologia dell'articolo",
           "Alla scheda di ciascun articolo è possibile allegare file esterni di qualsiasi genere",
       }},
      {"createSupply", zel::help::createSupplyTopic, "Creazione di una nuova fornitura",
       {
           "L'operazione da effettuare per creare una nuova fornitura è molto semplice.",
           "Per individuare la fornitura archiviata senza possibilità di errore",
           "Una volta indicato il nome della fornitura",
           "Quando si crea una nuova fornitura si genera un file nella cartella del programma",
           "L'utente che vuole comunicare a terzi i dati relativi ad una fornitura",
           "Il fatto che tutti i file delle forniture sono posizionati nella cartella di installazione",
       }},
      {"openSupply", zel::help::openSupplyTopic, "Accesso ad una fornitura esistente",
       {
           "La funzione Apri fornitura esistente",
           "Per avere accesso all'ambiente di gestione di una fornitura",
           "Se la fornitura di interesse non compare nella lista",
           "Così facendo, l'utente avrà accesso ad un ambiente dedicato",
           "Per individuare la fornitura archiviata senza possibilità di errore",
           "Una volta indicato il nome della fornitura",
           "Una scritta presente in fondo all'elenco",
           "Per eliminare una fornitura dall'elenco",
       }},
      {"supplySheet", zel::help::supplySheetTopic, "Archiviazione schede di fornitura",
       {
           "L'ambiente per l'archiviazione delle schede di fornitura è composto da un elenco",
           "Per assegnare un nuovo prodotto o servizio alla fornitura, l'utente deve premere il pulsante Nuovo",
           "Ogni scheda permette di registrare informazioni riguardanti il prodotto o servizio fornito",
           "I dati relativi al nome del cliente e al prodotto o servizio fornito possono essere importati "
           "dai relativi archivi.",
           "L'utente ha la possibilità di allegare file esterni di qualsiasi genere alla scheda di ciascuna "
           "fornitura.",
           "Il programma dispone di una funzione di ricerca per trovare una scheda nell'archivio della fornitura",
           "Per stampare la scheda informativa di una singola fornitura basta esportarla in Microsoft Word",
           "Un apposito pulsante permette di visualizzare l'elenco di tutte le forniture il cui stato di "
           "pagamento è in sospeso",
           "Per richiamare i dati di una scheda di fornitura in archivio si possono utilizzare le frecce di "
           "scorrimento dei record",
           "L'icona del cestino consente di eliminare la scheda di fornitura selezionata",
           "Infine, per uscire dall'ambiente di archiviazione delle schede di fornitura",
       }},
      {"clientExport", zel::help::clientExportTopic,
       "Esportazione archivio anagrafico clienti in Microsoft Word ed Excel",
       {"E' possibile esportare l'archivio anagrafico clienti", "Questa operazione", "A questo punto"}},
      {"productExport", zel::help::productExportTopic,
       "Esportazione archivio prodotti e servizi in Microsoft Word ed Excel",
       {"E' possibile esportare le schede contenute", "Questa operazione", "A questo punto"}},
      {"supplyExport", zel::help::supplyExportTopic,
       "Esportazione archivio prodotti e servizi forniti in Microsoft Word ed Excel",
       {"E' possibile esportare l'archivio dei prodotti e servizi di ciascuna fornitura", "Questa operazione",
        "A questo punto", "Come è facile intuire"}},
  };
  return all;
}

std::u16string toU16(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
}

}  // namespace

TEST(HelpTopics, TitlesCountsAndOpeningsFollowTheTable) {
  for (const ExpectedTopic& want : topics()) {
    SCOPED_TRACE(want.name);
    const zel::HelpTopic topic = want.make();
    EXPECT_EQ(topic.title, u8(want.title));
    ASSERT_EQ(topic.paragraphs.size(), static_cast<qsizetype>(want.openings.size()));
    for (size_t i = 0; i < want.openings.size(); ++i) {
      const QString& p = topic.paragraphs[static_cast<qsizetype>(i)];
      EXPECT_TRUE(p.startsWith(u8(want.openings[i]))) << "paragraph " << i + 1 << ": " << p.left(100).toStdString();
      // An opening alone is not a paragraph: each one goes on to cover its subject.
      EXPECT_GT(p.size(), u8(want.openings[i]).size() + 40) << "paragraph " << i + 1;
    }
  }
}

TEST(HelpTopics, BodyIsParagraphsSeparatedByOneBlankLine) {
  for (const ExpectedTopic& want : topics()) {
    SCOPED_TRACE(want.name);
    const zel::HelpTopic topic = want.make();
    const QString body = topic.body();
    for (const QString& p : topic.paragraphs) {
      EXPECT_FALSE(p.contains(QLatin1Char('\r')) || p.contains(QLatin1Char('\n'))) << p.toStdString();
      EXPECT_EQ(p, p.trimmed()) << "blanks around: " << p.toStdString();
    }
    EXPECT_EQ(body.split(QStringLiteral("\r\n\r\n")), topic.paragraphs);
    EXPECT_FALSE(body.startsWith(QLatin1Char('\r')) || body.endsWith(QLatin1Char('\n')));
    // Every line break in the body is part of a CR LF CR LF separator.
    const qsizetype separators = topic.paragraphs.size() - 1;
    EXPECT_EQ(body.count(QLatin1Char('\r')), 2 * separators);
    EXPECT_EQ(body.count(QLatin1Char('\n')), 2 * separators);
    EXPECT_EQ(body.count(QStringLiteral("\r\n\r\n")), separators);
    EXPECT_FALSE(body.contains(QStringLiteral("\r\n\r\n\r\n")));
  }
}

TEST(HelpTopics, PiecesAreJoinedWithoutLostOrDoubledBlanks) {
  // Several paragraphs are written as consecutive pieces; a piece that lost or
  // gained its blank shows up as a doubled blank or a word glued to a comma.
  static const QRegularExpression doubled(QStringLiteral("  "));
  static const QRegularExpression gluedComma(QStringLiteral(",\\S"));
  for (const ExpectedTopic& want : topics()) {
    SCOPED_TRACE(want.name);
    for (const QString& p : want.make().paragraphs) {
      EXPECT_FALSE(p.contains(doubled)) << p.toStdString();
      EXPECT_FALSE(p.contains(gluedComma)) << p.toStdString();
    }
  }
  const QStringList client = zel::help::clientCardTopic().paragraphs;
  ASSERT_EQ(client.size(), 6);
  EXPECT_TRUE(client[1].contains(u8("del codice fiscale, dell'IBAN bancario")));
  EXPECT_TRUE(client[1].contains(u8("il campo relativo al nome del cliente nelle schede di fornitura")));
  EXPECT_TRUE(client[2].contains(u8("La funzione Allega file permette, invece,")));
  EXPECT_TRUE(client[3].contains(u8("una scheda già archiviata, bisogna richiamarla")));
  EXPECT_TRUE(client[4].contains(u8("ricerche avanzate in archivio utilizzando")));
  EXPECT_TRUE(client[5].endsWith(u8("può essere convertito in un foglio di Excel.")));

  const QStringList product = zel::help::productCardTopic().paragraphs;
  ASSERT_EQ(product.size(), 3);
  EXPECT_TRUE(product[1].contains(u8("del prodotto o servizio, i dati del fornitore")));
  EXPECT_TRUE(product[1].contains(u8("al momento indicando un numero di pezzi minimo")));
  EXPECT_TRUE(product[1].endsWith(u8("quando si redige una scheda di fornitura per velocizzarne la compilazione.")));
  EXPECT_TRUE(product[2].contains(u8("relativa al prodotto o servizio descritto.")));
  EXPECT_TRUE(product[2].contains(u8("l'elenco dei prodotti in esaurimento, mentre la funzione Cerca sul Web")));
}

TEST(HelpTopics, EveryTextConvertsToWindows1252WithoutLoss) {
  for (const ExpectedTopic& want : topics()) {
    SCOPED_TRACE(want.name);
    const zel::HelpTopic topic = want.make();
    QStringList texts = topic.paragraphs;
    texts << topic.title << topic.body();
    for (const QString& t : texts) {
      EXPECT_TRUE(zel::fitsCp1252(t.toUtf8().toStdString())) << t.toStdString();
      const zel::Text bytes = zel::utf16ToCp1252(toU16(t));
      EXPECT_EQ(bytes.size(), static_cast<size_t>(t.size()));
      EXPECT_EQ(zel::cp1252ToUtf16(bytes), toU16(t)) << t.toStdString();
      // UTF-8 read as Latin-1 would still fit the code page; catch it by its marks.
      EXPECT_FALSE(t.contains(QChar(0x00C3)) || t.contains(QChar(0xFFFD))) << t.toStdString();
    }
    texts.removeLast();  // the body carries its separators; the pieces carry no control character
    for (const QString& t : texts)
      for (const QChar c : t) EXPECT_GE(c.unicode(), 0x20) << "control character in " << t.toStdString();
  }
  // The accented letters reach the code page as their own single bytes.
  const zel::Text first = zel::utf16ToCp1252(toU16(zel::help::startScreenTopic().paragraphs.at(0)));
  EXPECT_EQ(first.substr(0, 10), std::string("Zelvano \xE8 "));
  const zel::Text product = zel::utf16ToCp1252(toU16(zel::help::productCardTopic().paragraphs.at(0)));
  EXPECT_NE(product.find("i dati pi\xF9 importanti"), std::string::npos);
}
