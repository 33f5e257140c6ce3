// Hostile text pasted into the windows that store or search: more than a
// field holds, characters outside Windows-1252, control characters, ten
// thousand characters, every character a file name cannot hold. Whatever is
// pasted, nothing crashes, and an archive changes only into what the window
// shows, or else the user is told.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <filesystem>
#include <memory>
#include <set>

#include "clients/cercadestinatari.h"
#include "clients/destinatari.h"
#include "products/cercamateriale.h"
#include "products/materiali.h"
#include "store/archives.h"
#include "store/recordfile.h"
#include "supplies/cercafornitura.h"
#include "supplies/crea.h"
#include "supplies/forniture.h"
#include "support/files.h"
#include "support/records.h"
#include "support/ui/fakes.h"
#include "support/ui/named.h"
#include "ui/cardbinding.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

struct Hostile {
  const char* name;
  QString text;
};

const Hostile kHostile[] = {
    {"OverCapacity", QString(300, QLatin1Char('x')) + QStringLiteral("fine")},
    {"OutsideCp1252", QStringLiteral("Ελλάδα 日本 \U0001F600 Ω ") + QChar(0x85)},  // U+0085: a C1 control
    {"Controls", QStringLiteral("a\tb\rc\nd") + QChar(0) + QStringLiteral("e\x1B" "f")},
    {"LongPaste", QString(10000, QLatin1Char('k'))},
    {"FileNameForbidden", QStringLiteral("a\\b/c:d*e?f\"g<h>i|j")},
};

enum class Screen { ClientCard, ProductCard, SupplySheet, ClientSearch, ProductSearch, SupplySearch, CreateSupply };

const char* screenName(Screen s) {
  switch (s) {
    case Screen::ClientCard: return "ClientCard";
    case Screen::ProductCard: return "ProductCard";
    case Screen::SupplySheet: return "SupplySheet";
    case Screen::ClientSearch: return "ClientSearch";
    case Screen::ProductSearch: return "ProductSearch";
    case Screen::SupplySearch: return "SupplySearch";
    case Screen::CreateSupply: return "CreateSupply";
  }
  return "?";
}

// Keeps the test names in reports readable instead of a dump of bytes.
void PrintTo(Screen s, std::ostream* os) { *os << screenName(s); }
void PrintTo(const Hostile& h, std::ostream* os) { *os << h.name; }

// Pastes as the clipboard would: the box's own limits apply.
void paste(QWidget* control, const QString& text) {
  if (auto* e = qobject_cast<QLineEdit*>(control)) {
    e->clear();
    e->insert(text);
  } else if (auto* m = qobject_cast<QPlainTextEdit*>(control)) {
    m->clear();
    m->insertPlainText(text);
  } else if (auto* c = qobject_cast<QComboBox*>(control); c && c->lineEdit()) {
    c->lineEdit()->clear();
    c->lineEdit()->insert(text);
  }
}

class HostileInput : public ::testing::TestWithParam<std::tuple<Screen, Hostile>> {
 protected:
  void SetUp() override {
    home = std::make_unique<QWidget>();
    MainScreen::setHomeScreen(home.get());
    sheet = std::make_unique<TfrmForniture>();
    nav.set(WindowId::SupplySheet, sheet.get());
    // Archives with one record each, so that searches have something to go through.
    auto seed = [](const fs::path& file, const Layout& layout, const char* field) {
      test::appendRecords(file, layout, {test::recordOf(layout, {{field, "Rossi"}})});
    };
    seed(folder.file(kClientArchive), clientLayout(), "Persona");
    seed(folder.file(kProductArchive), productLayout(), "Codice");
    seed(folder.file("Rossi.for"), supplyLayout(), "Prodotto");
    sheet->openSupply(pathToQ(folder.file("Rossi.for")), QStringLiteral("Rossi"));
  }
  void TearDown() override { MainScreen::setHomeScreen(nullptr); }

  const QString& hostile() const { return std::get<1>(GetParam()).text; }

  // Chooses the hostile text as a path and pastes it as a description into
  // every slot of the attachments or folder window, and applies.
  void attach(CardScreen& screen, const char* command) {
    flow.onModal = [this](QDialog& d) {
      const QString path = QStringLiteral("/dati/") + hostile();
      fake.nextFile = fake.nextFolder = path;
      for (int i = 1; i <= 3; ++i) {
        const QString n = QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
        auto* browse = d.findChild<QWidget*>(QStringLiteral("cmdSfoglia") + n);
        if (!browse) break;
        QTest::mouseClick(browse, Qt::LeftButton);
        paste(d.findChild<QLineEdit*>(QStringLiteral("txtDesc") + n), hostile());
      }
      QTest::mouseClick(d.findChild<QWidget*>(QStringLiteral("cmdApplica")), Qt::LeftButton);
      return 0;
    };
    QTest::mouseClick(screen.findChild<QWidget*>(QString::fromLatin1(command)), Qt::LeftButton);
    flow.onModal = nullptr;
  }

  // Pastes into every field of the card and its attachments, and saves. The
  // fields in `numbers` get a number, so that the card's own rules (stock
  // and threshold must be numbers) let the rest reach the archive.
  void card(CardScreen& screen, const fs::path& archive, const char* attachments, const char* folderCommand,
            std::set<std::string> numbers = {}) {
    test::showActive(&screen);
    CardBinding& binding = screen.binding();
    for (size_t i = 0; i < binding.layout().fieldCount(); ++i)
      paste(binding.control(i), numbers.count(binding.layout().field(i).name) ? QStringLiteral("7,5") : hostile());
    attach(screen, attachments);
    attach(screen, folderCommand);
    const std::string before = test::readText(archive);
    fake.clear();
    QTest::mouseClick(screen.findChild<QWidget*>(saveName(screen)), Qt::LeftButton);
    ASSERT_FALSE(fake.messages.empty()) << "a save says how it went";

    if (test::readText(archive) == before) return;  // refused, and the user was told
    // Stored: every field as its control shows it, nothing changed on the way.
    const size_t k = trimmed(test::label(&screen, "lblPosizione")->text()).toULongLong();
    const Record stored = readRecord(archive, binding.layout(), k);
    for (size_t i = 0; i < binding.layout().fieldCount(); ++i) {
      const QString shown = trimmed(controlText(binding.control(i)));
      // The notes box shows a line break where the archive holds CR LF.
      const bool notes = qobject_cast<QPlainTextEdit*>(binding.control(i)) != nullptr;
      EXPECT_EQ(toQ(notes ? shownLineBreaks(stored[i]) : stored[i]).toStdString(), shown.toStdString())
          << binding.layout().field(i).name << ": " << stored[i].size() << " bytes stored, " << shown.size()
          << " characters shown";
    }
  }
  static QString saveName(const CardScreen& screen) {
    return screen.findChild<QWidget*>(QStringLiteral("cmdSalva")) ? QStringLiteral("cmdSalva")
                                                                   : QStringLiteral("imgSalva");
  }

  // Pastes into every criterion and searches, then finds in the list.
  void search(SearchWindow& window, const fs::path& archive) {
    window.show();
    QCoreApplication::processEvents();
    const std::string before = test::readText(archive);
    for (QLineEdit* box : test::named<QGroupBox>(&window, "grpCriteri")->findChildren<QLineEdit*>())
      paste(box, hostile());
    QTest::mouseClick(test::button(&window, "cmdTrova"), Qt::LeftButton);
    EXPECT_TRUE(test::named<QGroupBox>(&window, "grpElenco")->isVisible());
    paste(test::edit(&window, "txtTrova"), hostile());
    QTest::mouseClick(test::button(&window, "cmdTrova02"), Qt::LeftButton);
    window.cmdIndietroClick();
    // An empty criterion list finds the seeded record; find in list over it.
    for (QLineEdit* box : test::named<QGroupBox>(&window, "grpCriteri")->findChildren<QLineEdit*>()) box->clear();
    QTest::mouseClick(test::button(&window, "cmdTrova"), Qt::LeftButton);
    EXPECT_EQ(window.resultList().lines().size(), 1u);
    paste(test::edit(&window, "txtTrova"), hostile());
    QTest::mouseClick(test::button(&window, "cmdTrova02"), Qt::LeftButton);
    EXPECT_EQ(test::readText(archive), before);  // a search changes nothing
  }

  // Pastes a supply name and creates the supply.
  void create() {
    TfrmCrea crea;
    crea.show();
    QCoreApplication::processEvents();
    auto supplies = [this] {
      std::set<fs::path> found;
      for (const auto& e : fs::directory_iterator(folder.path()))
        if (e.path().extension() == ".for") found.insert(e.path().filename());
      return found;
    };
    const auto before = supplies();
    paste(test::edit(&crea, "txtClasse"), hostile());
    fake.clear();
    QTest::mouseClick(test::clickLabel(&crea, "imgApplica"), Qt::LeftButton);
    ASSERT_FALSE(fake.messages.empty());
    const auto after = supplies();
    if (after == before) return;  // refused, and the user was told
    ASSERT_EQ(after.size(), before.size() + 1);
    // The file is named as the box shows the name.
    const QString shown = trimmed(test::edit(&crea, "txtClasse")->text()) + QStringLiteral(".for");
    EXPECT_EQ(after.count(fs::path(shown.toStdString())), 1u) << shown.toStdString();
  }

  test::FakeServices fake;
  test::FakeFlow flow;
  test::FakeNavigation nav;
  test::TempProgramFolder folder;
  std::unique_ptr<QWidget> home;
  std::unique_ptr<TfrmForniture> sheet;
};

TEST_P(HostileInput, IsStoredAsShownOrRefusedAloud) {
  switch (std::get<0>(GetParam())) {
    case Screen::ClientCard: {
      TfrmDestinatari c;
      card(c, folder.file(kClientArchive), "cmdAllega", "cmdAssocia");
      break;
    }
    case Screen::ProductCard: {
      TfrmMateriali c;
      card(c, folder.file(kProductArchive), "imgFile", "imgCartella", {"Giacenza", "Sottoscorta"});
      break;
    }
    case Screen::SupplySheet:
      card(*sheet, folder.file("Rossi.for"), "cmdAllega", "cmdAssocia");
      break;
    case Screen::ClientSearch: {
      TfrmCercaDestinatari w;
      w.searchFor(SearchCaller::ClientCard);
      search(w, folder.file(kClientArchive));
      break;
    }
    case Screen::ProductSearch: {
      TfrmCercaMateriale w;
      w.searchFor(SearchCaller::ProductCard);
      search(w, folder.file(kProductArchive));
      break;
    }
    case Screen::SupplySearch: {
      TfrmCercaFornitura w;
      w.searchFor(SearchCaller::SupplySheet);
      search(w, folder.file("Rossi.for"));
      break;
    }
    case Screen::CreateSupply:
      create();
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, HostileInput,
    ::testing::Combine(::testing::Values(Screen::ClientCard, Screen::ProductCard, Screen::SupplySheet,
                                         Screen::ClientSearch, Screen::ProductSearch, Screen::SupplySearch,
                                         Screen::CreateSupply),
                       ::testing::ValuesIn(kHostile)),
    [](const ::testing::TestParamInfo<HostileInput::ParamType>& info) {
      return std::string(screenName(std::get<0>(info.param))) + "_" + std::get<1>(info.param).name;
    });

}  // namespace
}  // namespace zel
