#include "ui/base/pdfprint.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <stdexcept>

#include "output/core/outputfile.h"
#include "ui/base/programfolder.h"
#include "ui/base/textconv.h"

namespace zel {
namespace {

constexpr int kPdfDpi = 600;

// A file that remembers any write that did not go through: the PDF engine
// does not look at what its writes return.
class CheckedFile : public QFile {
 public:
  using QFile::QFile;
  bool failed() const { return failed_; }

 protected:
  qint64 writeData(const char* data, qint64 length) override {
    const qint64 written = QFile::writeData(data, length);
    if (written != length) failed_ = true;
    return written;
  }

 private:
  bool failed_ = false;
};

}  // namespace

QString unopenedPrintoutMessage() {
  return QStringLiteral(
      "La stampa è stata salvata in un documento PDF, ma sul computer non risulta installato un programma "
      "in grado di aprirlo.");
}

std::filesystem::path printoutFolder() { return programFolder() / "Stampe"; }

std::filesystem::path printToPdf(const std::filesystem::path& folder, const QString& title,
                                 const std::function<void(QPagedPaintDevice&)>& render) {
  std::filesystem::create_directories(folder);
  PendingFile file(Destination::newFileIn(folder, fromQ(title)), ".pdf");
  CheckedFile out(pathToQ(file.path()));
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
    throw std::runtime_error("cannot write " + file.path().string());
  {
    QPdfWriter writer(&out);
    writer.setResolution(kPdfDpi);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Zelvano"));
    // A laser printer's printable area: the sheet less about 5 mm each side.
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
    render(writer);
  }
  // A short file would pass for a printout: any write that failed on the way
  // (a full disk) fails the whole, and the unpublished file goes with it.
  const bool flushed = !out.isOpen() || out.flush();
  if (out.isOpen()) out.close();
  if (out.failed() || !flushed || out.error() != QFileDevice::NoError)
    throw std::runtime_error("cannot write " + file.path().string());
  return file.publish();  // it reaches the disk, or fails, here
}

}  // namespace zel
