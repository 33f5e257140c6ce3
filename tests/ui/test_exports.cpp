// The exports as the user runs them: each card to Word, and each archive
// export window with its grid, its commands and its files. The documents go
// to a temporary folder; python3-openpyxl and python3-docx read them back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <clocale>
#include <fstream>
#include <thread>

#include "clients/destinatari.h"
#include "clients/esportades.h"
#include "output/officeexport.h"
#include "products/esportamat.h"
#include "products/materiali.h"
#include "store/archives.h"
#include "store/recordfile.h"
#include "supplies/esportafor.h"
#include "supplies/forniture.h"
#include "support/records.h"
#include "support/tempfolder.h"
#include "support/ui/fakes.h"
#include "support/ui/named.h"
#include "ui/cardbinding.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

using test::u8;

// A workbook's first sheet, or a Word document's first paragraph and table.
QJsonObject readBack(const fs::path& file) {
  static const char kScript[] = R"(
import json, sys
path = sys.argv[1]
if path.endswith(".xlsx"):
    import openpyxl
    ws = openpyxl.load_workbook(path).worksheets[0]
    out = {"title": ws.title, "range": ws.dimensions, "A1": ws["A1"].value, "A1bold": bool(ws["A1"].font.b),
           "B1": ws["B1"].value, "B1bold": bool(ws["B1"].font.b), "A2": ws["A2"].value,
           "formats": sorted({c.number_format for row in ws[ws.dimensions] for c in row})}
else:
    import docx
    doc = docx.Document(path)
    t = doc.tables[0]
    out = {"title": doc.paragraphs[0].text, "columns": len(t.columns),
           "cells": [[c.text for c in r.cells] for r in t.rows]}
print(json.dumps(out))
)";
  QProcess python;
  python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(kScript), pathToQ(file)});
  const bool ended = python.waitForFinished(60000);
  EXPECT_TRUE(ended) << "python3 did not end within a minute";
  if (!ended) return {};
  EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
  return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

QStringList row(const QJsonObject& doc, int r) {
  QStringList out;
  for (const QJsonValue& v : doc["cells"].toArray().at(r).toArray()) out << v.toString();
  return out;
}

// The exports of a test go to a temporary folder of their own.
class ExportFolder {
 public:
  ExportFolder() { setExportFolder(path()); }
  ~ExportFolder() { setExportFolder({}); }
  const fs::path& path() const { return dir_.path(); }
  std::vector<fs::path> files() const { return {fs::directory_iterator(path()), fs::directory_iterator()}; }
  // No file can be created "in" a path that names a file.
  void makeUnwritable() {
    std::ofstream(path() / "file").put('x');
    setExportFolder(path() / "file");
  }

 private:
  test::TempFolder dir_;
};

// One record for each value, holding it in `field`.
void appendRecords(const fs::path& file, const Layout& layout, const char* field,
                   std::initializer_list<const char*> values) {
  for (const char* v : values) test::appendRecords(file, layout, {test::recordOf(layout, {{field, v}})});
}

// ---- a card to Word ----

struct CardCase {
  const char* name;
  std::function<std::unique_ptr<CardScreen>(const fs::path& folder)> make;
  const char* key;
  const char* word;
  const char* title;
  int rows;
  int priceRow;  // -1: no price on the card
  const char* price;
  const char* refusalTitle;  // empty: a plain message
};

std::ostream& operator<<(std::ostream& out, const CardCase& c) { return out << c.name; }

const CardCase kCards[] = {
    {"client", [](const fs::path&) { return std::make_unique<TfrmDestinatari>(); }, "txtCodice", "cmdWord",
     "SCHEDA ANAGRAFICA CLIENTE", 25, -1, "", "Esportazione scheda non applicabile"},
    {"product", [](const fs::path&) { return std::make_unique<TfrmMateriali>(); }, "txtCodice", "imgWord",
     "SCHEDA PRODOTTO O SERVIZIO", 16, 12, "3,50", ""},
    {"supply",
     [](const fs::path& f) {
       auto sheet = std::make_unique<TfrmForniture>();
       sheet->openSupply(pathToQ(f / "Rossi.for"), QStringLiteral(" Rossi "));
       return sheet;
     },
     "txtProdotto", "cmdWord", "Rossi", 15, 5, "€ 3,50", "Esportazione scheda non applicabile"},
};

class CardToWord : public ::testing::TestWithParam<CardCase> {
 protected:
  test::FakeServices fake;
  test::FakeFlow flow;
  test::TempProgramFolder program;
  ExportFolder exports;
};

TEST_P(CardToWord, WarnsOnAnEmptyKeyThenWritesTheTextsOnScreenAndOpensThem) {
  const CardCase& c = GetParam();
  std::unique_ptr<CardScreen> card = c.make(program.path());
  card->show();
  QApplication::setActiveWindow(card.get());
  auto* key = card->findChild<QWidget*>(QString::fromLatin1(c.key));
  auto* word = card->findChild<QWidget*>(QString::fromLatin1(c.word));
  fake.clear();

  setControlText(key, QStringLiteral("   "));
  QTest::mouseClick(word, Qt::LeftButton);
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().title, u8(c.refusalTitle));
  EXPECT_EQ(QApplication::focusWidget(), key);
  EXPECT_TRUE(fake.longWork.isEmpty() && exports.files().empty());

  fake.clear();
  setControlText(key, QStringLiteral("  K/7 "));  // unsaved
  if (auto* price = card->findChild<QLineEdit*>(QStringLiteral("txtPrezzo"))) price->setText(QStringLiteral("3,50"));
  QTest::mouseClick(word, Qt::LeftButton);
  EXPECT_TRUE(fake.messages.isEmpty()) << fake.texts().join(QLatin1Char('|')).toStdString();
  const auto files = exports.files();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_NE(files[0].filename().string().find("K_7"), std::string::npos) << files[0];  // named after the code
  EXPECT_EQ(fake.urls, QList<QUrl>{QUrl::fromLocalFile(pathToQ(files[0]))});
  const QJsonObject doc = readBack(files[0]);
  EXPECT_EQ(doc["title"].toString(), u8(c.title));
  EXPECT_EQ(doc["cells"].toArray().size(), c.rows);
  EXPECT_EQ(row(doc, 0).value(1), QStringLiteral("K/7"));
  if (c.priceRow >= 0) {
    EXPECT_EQ(row(doc, c.priceRow).value(1), u8(c.price));
  }

  exports.makeUnwritable();
  QTest::mouseClick(word, Qt::LeftButton);
  EXPECT_EQ(fake.texts().value(0),
            u8("Si è verificato un errore imprevisto durante l'esportazione della scheda in Microsoft Word."));
}

INSTANTIATE_TEST_SUITE_P(EachCard, CardToWord, ::testing::ValuesIn(kCards),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- the archive export windows ----

struct WindowCase {
  const char* name;
  std::function<std::unique_ptr<ExportWindow>()> make;
  const Layout& (*layout)();
  const char* archive;
  const char* key;
  const char* sheet;
  const char* lastCell;  // of three records in the workbook
  int columns;
  const char* firstHeading;
  int helpParagraphs;
};

std::ostream& operator<<(std::ostream& out, const WindowCase& w) { return out << w.name; }

const WindowCase kWindows[] = {
    {"clients", [] { return std::make_unique<TfrmEsportaDes>(); }, clientLayout, kClientArchive, "Codice",
     "Anagrafica clienti", "Z4", 26, " Codice identificativo", 3},
    {"products", [] { return std::make_unique<TfrmEsportaMat>(); }, productLayout, kProductArchive, "Codice",
     "Prodotti e servizi", "Q4", 17, " Codice articolo", 3},
    {"supply", [] { return std::make_unique<TfrmEsportaFor>(); }, supplyLayout, "Rossi.for", "Prodotto",
     "Elenco fornitura", "P4", 16, " Prodotto o servizio fornito", 4},
};

class ExportWindows : public ::testing::TestWithParam<WindowCase> {
 protected:
  test::FakeServices fake;
  test::FakeFlow flow;
  test::FakeNavigation windows;
  test::TempProgramFolder program;
  ExportFolder exports;
};

TEST_P(ExportWindows, ShowTheArchiveAsItStandsAndExportTheGridAsShown) {
  const WindowCase& c = GetParam();
  const fs::path archive = program.file(c.archive);
  TfrmForniture sheet;  // the supply export shows the supply open in the sheet
  sheet.openSupply(pathToQ(archive), QStringLiteral("Rossi"));
  windows.set(WindowId::SupplySheet, &sheet);
  std::unique_ptr<ExportWindow> window = c.make();
  const auto* model =
      static_cast<const ArchiveGridModel*>(test::named<QTableView>(window.get(), "grdRecords")->model());
  if (c.layout == supplyLayout) {
    // Only the create window makes a supply file: a missing one is told gone.
    window->show();
    EXPECT_EQ(fake.texts(), QStringList{supplyGoneMessage()});
    EXPECT_FALSE(fs::exists(archive));
    window->hide();
    fake.clear();
    RecordFile::openForUpdate(archive, supplyLayout()).close();
  }

  window->show();  // an empty archive: one empty row under empty headings
  EXPECT_EQ(model->rowCount(), 1);
  EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QString());
  window->hide();
  appendRecords(archive, c.layout(), c.key, {" K1 ", "K2", "K3"});
  window->show();
  ASSERT_EQ(model->rowCount(), 3);
  EXPECT_EQ(model->cellText(0, 0), QStringLiteral("K1"));

  QTest::mouseClick(test::clickLabel(window.get(), "lblExcel"), Qt::LeftButton);
  const QJsonObject book = readBack(exports.path() / (std::string(c.sheet) + ".xlsx"));
  EXPECT_EQ(book["title"].toString(), u8(c.sheet));
  EXPECT_EQ(book["range"].toString(), QStringLiteral("A1:") + QString::fromLatin1(c.lastCell));
  EXPECT_TRUE(book["A1"].isNull() && !book["A1bold"].toBool());
  EXPECT_EQ(book["B1"].toString(), trimmed(u8(c.firstHeading)));
  EXPECT_TRUE(book["B1bold"].toBool());
  EXPECT_EQ(book["A2"].toString(), QStringLiteral("1"));
  EXPECT_EQ(book["formats"].toArray(), QJsonArray{QStringLiteral("@")});

  QTest::mouseClick(test::clickLabel(window.get(), "imgWord"), Qt::LeftButton);
  const QJsonObject doc = readBack(exports.path() / (std::string(c.sheet) + ".docx"));
  EXPECT_EQ(doc["columns"].toInt(), c.columns);
  EXPECT_EQ(row(doc, 0).mid(0, 2), (QStringList{QString(), u8(c.firstHeading)}));
  EXPECT_EQ(row(doc, 3).mid(0, 2), (QStringList{QStringLiteral("3"), QStringLiteral("K3")}));
  EXPECT_EQ(fake.urls.size(), 2);

  exports.makeUnwritable();
  QTest::mouseClick(test::clickLabel(window.get(), "imgWord"), Qt::LeftButton);
  QTest::mouseClick(test::clickLabel(window.get(), "imgExcel"), Qt::LeftButton);
  EXPECT_EQ(fake.texts(),
            (QStringList{u8("Attenzione: il sistema non consente di creare il file di Microsoft Word.\n\r\n\r"
                            "Esportazione dati non riuscita."),
                         u8("Si è verificato un errore durante l'esportazione dei dati in Excel.\r\n\r\n"
                            "Accertarsi che il pacchetto Microsoft Office sia installato sul proprio computer.")}));

  QTest::mouseClick(test::clickLabel(window.get(), "lblGuida"), Qt::LeftButton);
  ASSERT_EQ(flow.helpShown.size(), 1);
  EXPECT_EQ(flow.helpShown[0].paragraphs.size(), c.helpParagraphs);
  QTest::mouseClick(test::clickLabel(window.get(), "imgEsci"), Qt::LeftButton);
  EXPECT_FALSE(window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(EachArchive, ExportWindows, ::testing::ValuesIn(kWindows),
                         [](const auto& info) { return std::string(info.param.name); });

// What the three windows share, seen on one of them.
class ClientExportWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    appendRecords(program.file(kClientArchive), clientLayout(), "Persona", {"  Rossi   Mario ", "Bianchi"});
    window.show();
  }
  static QColor colour(const QLabel* l) { return l->palette().color(QPalette::WindowText); }
  static void send(QWidget* w, QEvent::Type type) {
    QEvent e(type);
    QCoreApplication::sendEvent(w, &e);
  }

  test::FakeServices fake;
  test::FakeFlow flow;
  test::TempProgramFolder program;
  ExportFolder exports;
  TfrmEsportaDes window;
};

TEST_F(ClientExportWindow, PairsTellWhatTheyDoTheGridItsCurrentCellAndRowsAlternate) {
  send(test::clickLabel(&window, "imgExcel"), QEvent::Enter);
  EXPECT_EQ(test::label(&window, "panInfo")->text(),
            u8(" Esporta l'archivio in un foglio di lavoro di Microsoft Excel."));
  EXPECT_EQ(colour(test::clickLabel(&window, "lblExcel")), QColor(Qt::red));
  EXPECT_EQ(colour(test::clickLabel(&window, "lblWord")), QColor(Qt::black));
  send(test::clickLabel(&window, "imgExcel"), QEvent::Leave);
  send(test::named<QGroupBox>(&window, "grpComandi"), QEvent::Enter);
  EXPECT_TRUE(test::label(&window, "panInfo")->text().isEmpty());
  EXPECT_EQ(colour(test::clickLabel(&window, "lblExcel")), QColor(Qt::black));

  test::named<QTableView>(&window, "grdRecords")
      ->setCurrentIndex(test::named<QTableView>(&window, "grdRecords")->model()->index(0, 1));
  QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(test::named<QTableView>(&window, "grdRecords")->viewport(), &move);
  EXPECT_EQ(test::label(&window, "panInfo")->text(), QStringLiteral(" Rossi   Mario"));

  // Data rows alternate from pale blue; column 2 is away from the current cell
  // and its right part holds no text.
  const QImage shot = test::named<QTableView>(&window, "grdRecords")->viewport()->grab().toImage();
  const int x = test::named<QTableView>(&window, "grdRecords")->columnViewportPosition(2) + 100;
  EXPECT_EQ(QColor(shot.pixel(x, 12)), QColor(223, 235, 255));       // grid row 1
  EXPECT_EQ(QColor(shot.pixel(x, 24 + 12)), QColor(249, 255, 225));  // grid row 2
}

// Filling the grid is long work too: stopped, the window closes empty.
TEST_F(ClientExportWindow, AStoppedFillingClosesTheWindow) {
  EXPECT_EQ(fake.longWork, QStringList{"Lettura dell'archivio in corso..."});
  window.hide();
  fake.cancelLongWork = true;
  window.show();
  QCoreApplication::processEvents();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(test::named<QTableView>(&window, "grdRecords")->model()->rowCount(), 0);
  EXPECT_TRUE(fake.messages.isEmpty());
}

// A cancelled export leaves nothing; one that nothing opens is kept, and the
// failure message tells where it is.
TEST_F(ClientExportWindow, ACancelledExportLeavesNoFileAnUnopenedOneIsKept) {
  fake.cancelLongWork = true;
  QTest::mouseClick(test::clickLabel(&window, "imgWord"), Qt::LeftButton);
  EXPECT_TRUE(fake.messages.isEmpty() && fake.urls.isEmpty());  // a cancel is no failure
  EXPECT_TRUE(exports.files().empty());

  fake.cancelLongWork = false;
  fake.urlsOpen = false;  // no application for the file
  QTest::mouseClick(test::clickLabel(&window, "imgExcel"), Qt::LeftButton);
  const fs::path kept = exports.path() / "Anagrafica clienti.xlsx";
  EXPECT_EQ(exports.files(), std::vector<fs::path>{kept});
  EXPECT_EQ(fake.texts(),
            QStringList{u8("Si è verificato un errore durante l'esportazione dei dati in Excel.\r\n\r\n"
                           "Accertarsi che il pacchetto Microsoft Office sia installato sul proprio computer."
                           "\r\n\r\nIl documento è stato salvato in: ") +
                        pathToQ(kept)});
  EXPECT_EQ(readBack(kept)["B1"].toString(), QStringLiteral("Codice identificativo"));
}

// Under an Italian locale the C library writes "0,7" for 0.7; the workbook
// library formats its widths and margins with printf. ctest runs this again
// with LANG=it_IT.UTF-8 (ui_italian_locale), the way a user starts the program.
TEST(ItalianLocale, FilesFromTheWindowsReadBackUnderTheUsersLocale) {
  if (!QByteArray(std::setlocale(LC_CTYPE, nullptr)).startsWith("it_IT"))
    GTEST_SKIP() << "needs LANG=it_IT.UTF-8 in force (ctest -R ui_italian_locale)";
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  test::FakeServices fake;
  test::FakeFlow flow;
  test::TempProgramFolder program;
  ExportFolder exports;
  appendRecords(program.file(kClientArchive), clientLayout(), "Persona", {"Rossi", "Bianchi"});
  TfrmEsportaDes window;
  window.show();
  QTest::mouseClick(test::clickLabel(&window, "lblExcel"), Qt::LeftButton);
  QTest::mouseClick(test::clickLabel(&window, "lblWord"), Qt::LeftButton);
  EXPECT_TRUE(fake.messages.isEmpty()) << fake.texts().join(QLatin1Char('|')).toStdString();
  const QJsonObject book = readBack(exports.path() / "Anagrafica clienti.xlsx");
  EXPECT_EQ(book["range"].toString(), QStringLiteral("A1:Z3"));
  const QJsonObject doc = readBack(exports.path() / "Anagrafica clienti.docx");
  EXPECT_EQ(row(doc, 2).value(2), QStringLiteral("Bianchi"));
}

// The desktop's progress window comes up during a long export, and its
// cancel button stops the export at its next step.
TEST(DesktopProgress, ALongExportShowsProgressAndCanBeCancelled) {
  QWidget owner;
  DesktopServices desktop;
  // Timers run only while the progress window handles events.
  bool seen = false;
  QTimer::singleShot(0, [&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible()) {
        seen = true;
        QTest::mouseClick(p->findChild<QPushButton*>(), Qt::LeftButton);
      }
  });
  size_t steps = 0;
  EXPECT_THROW(desktop.withProgress(&owner, QStringLiteral("Esportazione"),
                                    [&](const Progress& progress) {
                                      for (size_t done = 0; done <= 256 * 400; done += 256, ++steps) {
                                        progress.step(done, 256 * 400);
                                        std::this_thread::sleep_for(std::chrono::milliseconds(10));
                                      }
                                    }),
               Cancelled);
  EXPECT_TRUE(seen);
  EXPECT_LT(steps, 300u);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the hourglass is gone
}

// Outside a desktop session Qt hands a file to xdg-open and calls that a
// success; the desktop's records are asked first, through xdg-mime.
TEST(DesktopOpen, AFileNoApplicationOpensIsReportedAsNotOpened) {
  QTemporaryDir tools;
  ASSERT_TRUE(tools.isValid());
  const auto fakeXdgMime = [&](const QByteArray& answer) {
    QFile script(tools.filePath(QStringLiteral("xdg-mime")));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
    script.write("#!/bin/sh\n[ \"$1 $2\" = \"query default\" ] || exit 2\nprintf '" + answer + "'\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
  };
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", tools.path().toLocal8Bit() + ":" + path);
  const QUrl workbook = QUrl::fromLocalFile(tools.filePath(QStringLiteral("Anagrafica clienti.xlsx")));

  QFile(workbook.toLocalFile()).open(QIODevice::WriteOnly);
  const QUrl mail(QStringLiteral("mailto:info@zelvano.example"));
  fakeXdgMime("");
  EXPECT_TRUE(noApplicationOpens(workbook));
  EXPECT_TRUE(noApplicationOpens(mail));
  EXPECT_FALSE(noApplicationOpens(QUrl(QStringLiteral("https://zelvano.example"))));  // the desktop's affair
  fakeXdgMime("libreoffice-calc.desktop");
  EXPECT_FALSE(noApplicationOpens(workbook));
  EXPECT_FALSE(noApplicationOpens(mail));
  // A file that is gone opens in nothing, whatever its type.
  EXPECT_TRUE(noApplicationOpens(QUrl::fromLocalFile(tools.filePath(QStringLiteral("sparito.xlsx")))));

  qputenv("PATH", path);
}

}  // namespace
}  // namespace zel
