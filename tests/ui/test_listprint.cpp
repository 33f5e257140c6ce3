// Printed lists on the PDF back end, read back with pdftotext -bbox: where
// the header, the entries, a page break, the total and the stamp land, in
// the device units of a 600 dpi page; and what is said instead of printing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QProcess>
#include <QPainter>
#include <QPrinterInfo>
#include <QRegularExpression>

#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "output/listprint.h"
#include "support/ui/fakes.h"
#include "ui/base/pdfprint.h"
#include "ui/base/programfolder.h"
#include "ui/base/services.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

// The PDF back end: 600 dpi, 5 mm margins. h(N) = N × 600 / 72, rounded.
constexpr double kMarginPt = 5 / 25.4 * 72;
constexpr int kH8 = 67, kH12 = 100, kH14 = 117;
double toPoints(int deviceUnits) { return kMarginPt + deviceUnits * 72.0 / 600; }
const double kLeftPt = toPoints(150);

struct Word {
  int page;
  double x, y;
  QString text;
};

// Every word of the PDF with its page (1-based) and top-left corner in points.
std::vector<Word> wordsOf(const fs::path& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pathToQ(pdf), QStringLiteral("-")});
  EXPECT_TRUE(p.waitForFinished(30000)) << "pdftotext (poppler-utils) must be installed";
  const QString html = QString::fromUtf8(p.readAllStandardOutput());
  std::vector<Word> words;
  int page = 0;
  static const QRegularExpression token(
      QString::fromLatin1(R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</word>)re"));
  for (auto it = token.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    if (m.captured(0).startsWith(QStringLiteral("<page"))) {
      ++page;
      continue;
    }
    QString text = m.captured(3);
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    words.push_back({page, m.captured(1).toDouble(), m.captured(2).toDouble(), text});
  }
  return words;
}

const Word* find(const std::vector<Word>& words, const QString& text, int page = 0) {
  for (const Word& w : words)
    if (w.text == text && (page == 0 || w.page == page)) return &w;
  return nullptr;
}

// A services fake whose printer is the PDF back end, in the program folder.
class PdfServices : public test::FakeServices {
 public:
  bool print(const QString& name, const std::function<void(QPagedPaintDevice&)>& render) override {
    printed.append(name);
    hourglass = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    pdfs.push_back(printToPdf(printoutFolder(), name, render));
    return true;
  }
  std::vector<fs::path> pdfs;
  bool hourglass = false;
};

TextList numberedEntries(int count) {
  TextList entries;
  for (int i = 1; i <= count; ++i) entries.push_back("Voce" + std::to_string(100 + i) + " 12,50");
  return entries;
}

// Within half a point (four device units): a misplaced line is off by 8 points
// or more.
#define EXPECT_AT(word, xPt, yPt)                                     \
  do {                                                                \
    ASSERT_NE(word, nullptr);                                         \
    EXPECT_NEAR((word)->x, xPt, 0.5) << (word)->text.toStdString(); \
    EXPECT_NEAR((word)->y, yPt, 0.5) << (word)->text.toStdString(); \
  } while (0)

TEST(ListPrint, SupplySheetListGoesOverTwoPagesWithItsTotalAndStamp) {
  test::TempProgramFolder folder;
  PdfServices fake;
  // 200 mm of printable height at 600 dpi is 4724 device units; entries
  // start at 2·h14 + 2·h12 + 3·h8 = 635 and go on every 2·h8 = 134 while
  // y < 4724 − 3·h8 = 4523: thirty entries on the first page.
  ASSERT_TRUE(printList(nullptr, numberedEntries(34), PrintedList::SupplySheet, QStringLiteral("  Rossi  "),
                        QStringLiteral(" 425,00 ")));
  ASSERT_EQ(fake.pdfs.size(), 1u);
  EXPECT_EQ(fake.printed, QStringList{QStringLiteral("Rossi")});
  EXPECT_EQ(fake.pdfs[0], folder.path() / "Stampe" / "Rossi.pdf");
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().title, "Conferma operazione di stampa");
  EXPECT_EQ(fake.last().text, "Si vuole stampare il presente elenco di fornitura?");
  EXPECT_TRUE(fake.hourglass);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the hourglass is gone";

  const std::vector<Word> words = wordsOf(fake.pdfs[0]);
  ASSERT_FALSE(words.empty());
  EXPECT_EQ(words.back().page, 2);
  // Header: separator, title, separator, one h12 apart after 2·h14.
  const QString separator(50, QLatin1Char('-'));
  EXPECT_AT(find(words, separator, 1), kLeftPt, toPoints(2 * kH14));
  EXPECT_AT(find(words, QStringLiteral("Rossi"), 1), kLeftPt, toPoints(2 * kH14 + kH12));
  EXPECT_AT(find(words, QStringLiteral("Voce101"), 1), kLeftPt, toPoints(635));
  EXPECT_AT(find(words, QStringLiteral("Voce130"), 1), kLeftPt, toPoints(635 + 29 * 2 * kH8));
  // The continuation page has no header; its first entry is at 2·h8.
  EXPECT_AT(find(words, QStringLiteral("Voce131"), 2), kLeftPt, toPoints(2 * kH8));
  EXPECT_EQ(find(words, QStringLiteral("Rossi"), 2), nullptr);
  // Closing: after four more entries y = 134 + 4·134 = 670.
  const int y = 2 * kH8 + 4 * 2 * kH8;
  EXPECT_AT(find(words, separator, 2), kLeftPt, toPoints(y));
  EXPECT_AT(find(words, QStringLiteral("TOTALE"), 2), kLeftPt, toPoints(y + kH12));
  EXPECT_NE(find(words, QStringLiteral("€"), 2), nullptr);
  EXPECT_NE(find(words, QStringLiteral("425,00"), 2), nullptr);
  EXPECT_AT(find(words, QStringLiteral("Stampa"), 2), kLeftPt, toPoints(y + 2 * kH12 + kH8 + 150));
  EXPECT_NE(find(words, QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")), 2), nullptr);
}

TEST(ListPrint, NothingIsPrintedForAnEmptyListAnAnswerNoOrABrokenPrinter) {
  test::TempProgramFolder folder;
  {
    PdfServices fake;
    EXPECT_FALSE(printList(nullptr, {}, PrintedList::ClientSearch));
    EXPECT_EQ(fake.texts(),
              QStringList{"Operazione di stampa non applicabile: la lista non contiene nessuna voce."});
    fake.messages.clear();
    fake.answers = {MsgAnswer::No};
    EXPECT_FALSE(printList(nullptr, numberedEntries(3), PrintedList::ClientSearch));
    EXPECT_EQ(fake.messages.size(), 1) << "only the question";
    EXPECT_TRUE(fake.printed.isEmpty());
    EXPECT_FALSE(fs::exists(folder.path() / "Stampe"));
  }
  // A printer that fails is reported, not taken for done.
  struct BrokenPrinter : test::FakeServices {
    bool print(const QString&, const std::function<void(QPagedPaintDevice&)>&) override { return false; }
  } broken;
  EXPECT_FALSE(printList(nullptr, numberedEntries(3), PrintedList::UnderStock));
  ASSERT_EQ(broken.messages.size(), 2);
  EXPECT_TRUE(broken.last().plain);
  EXPECT_TRUE(broken.last().text.startsWith("Attenzione: la stampa non è stata eseguita."));
}

// A printout the user stops in the progress window leaves no PDF and says
// nothing more; the desktop's printing hands the stop back, not a failure.
TEST(ListPrint, AStoppedPrintoutLeavesNothingAndSaysNothing) {
  test::TempProgramFolder folder;
  PdfServices fake;
  fake.cancelLongWork = true;
  EXPECT_FALSE(printList(nullptr, numberedEntries(40), PrintedList::ClientSearch));
  EXPECT_EQ(fake.longWork, QStringList{"Stampa in corso..."});
  EXPECT_EQ(fake.messages.size(), 1) << "only the question";
  EXPECT_TRUE(fake.pdfs.empty());
  EXPECT_TRUE(!fs::exists(folder.path() / "Stampe") || fs::is_empty(folder.path() / "Stampe"));

  DesktopServices desktop;
  if (QPrinterInfo::defaultPrinter().isNull()) {
    EXPECT_THROW(desktop.print(QStringLiteral("Fermata"), [](QPagedPaintDevice&) { throw Cancelled(); }),
                 Cancelled);
    EXPECT_TRUE(fs::is_empty(folder.path() / "Stampe"));
  }
}

// The program folder on a disk with `free` bytes left: a tmpfs of that size
// when this runs as root (mount), otherwise the same write errors through the
// process's file-size limit (EFBIG where a full disk gives ENOSPC).
class SmallDisk {
 public:
  SmallDisk(const fs::path& folder, size_t free) : folder_(folder) {
    const std::string options = "size=" + std::to_string(free > 0 ? free : 4096);
    mounted_ = ::geteuid() == 0 && ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
    if (mounted_) {
      if (free == 0) std::ofstream(folder / "riempitivo") << std::string(4096, 'x');  // fills it
      return;
    }
    previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit small = previous_;
    small.rlim_cur = free;
    ::setrlimit(RLIMIT_FSIZE, &small);
  }
  ~SmallDisk() {
    if (mounted_) {
      ::umount2(folder_.c_str(), MNT_DETACH);
      return;
    }
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousSignal_);
  }
  bool mounted() const { return mounted_; }

 private:
  fs::path folder_;
  bool mounted_ = false;
  rlimit previous_{};
  void (*previousSignal_)(int) = SIG_DFL;
};

// A full disk once published an empty or cut PDF and called it printed.
TEST(ListPrint, APrintoutTheDiskCannotHoldIsRefusedAloudAndLeavesNoFile) {
  size_t whole = 0;
  {
    test::TempProgramFolder folder;
    PdfServices fake;
    ASSERT_TRUE(printList(nullptr, numberedEntries(80), PrintedList::ClientSearch));
    whole = fs::file_size(fake.pdfs.at(0));
  }
  for (const size_t free : {size_t{0}, size_t{4096}}) {
    ASSERT_GT(whole, free + 4096) << "the printout must not fit";
    test::TempProgramFolder folder;
    SmallDisk disk(folder.path(), free);
    PdfServices fake;
    EXPECT_FALSE(printList(nullptr, numberedEntries(80), PrintedList::ClientSearch)) << free;
    EXPECT_TRUE(fake.last().plain);
    EXPECT_TRUE(fake.last().text.startsWith(QStringLiteral("Attenzione: la stampa non è stata eseguita.")))
        << fake.last().text.toStdString();
    const fs::path printouts = folder.path() / "Stampe";
    EXPECT_TRUE(fs::exists(printouts) && fs::is_empty(printouts))
        << free << " bytes free, " << (disk.mounted() ? "tmpfs" : "file-size limit");
  }
}

TEST(ListPrint, WithoutAPrinterThePagesGoToANewPdfOpenedForTheUser) {
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a printer is installed here";
  test::TempProgramFolder folder;
  test::FakeServices fake;  // records the URL opened
  DesktopServices desktop;
  const auto render = [](QPagedPaintDevice& device) {
    QPainter p(&device);
    p.drawText(100, 100, QStringLiteral("prova"));
  };
  ASSERT_TRUE(desktop.print(QStringLiteral("Elenco: prova"), render));
  ASSERT_TRUE(desktop.print(QStringLiteral("Elenco: prova"), render));
  const fs::path first = folder.path() / "Stampe" / "Elenco_ prova.pdf";
  const fs::path second = folder.path() / "Stampe" / "Elenco_ prova (2).pdf";
  EXPECT_EQ(fake.urls, (QList<QUrl>{QUrl::fromLocalFile(pathToQ(first)), QUrl::fromLocalFile(pathToQ(second))}));
  EXPECT_NE(find(wordsOf(first), QStringLiteral("prova")), nullptr);
  EXPECT_TRUE(fs::exists(second));
  EXPECT_TRUE(fake.messages.isEmpty());

  // No PDF viewer: still printed, and the user is told where the PDF is.
  fake.urlsOpen = false;
  ASSERT_TRUE(desktop.print(QStringLiteral("Elenco: prova"), render));
  const fs::path third = folder.path() / "Stampe" / "Elenco_ prova (3).pdf";
  EXPECT_EQ(fake.texts(), QStringList{keptDocumentMessage(unopenedPrintoutMessage(), third)});
  EXPECT_TRUE(fake.texts().value(0).endsWith(QStringLiteral("Il documento è stato salvato in: ") + pathToQ(third)));
  EXPECT_TRUE(fs::exists(third));
}

}  // namespace
}  // namespace zel
