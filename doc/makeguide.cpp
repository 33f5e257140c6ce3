// makeguide: typesets the user guide from its HTML source into an A4 PDF.
//
//   makeguide GUIDE.html OUTPUT.pdf
//
// The PDF gets a title page drawn from the <title> and <meta> data of the
// source, a table of contents with page numbers, numbered chapters (h1) and
// sections (h2), a running header with the chapter title and a page number in
// the footer. Headings are kept together with the text that follows them.
// Runs without a display (QT_QPA_PLATFORM=offscreen).
#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

const QString kSerif = QStringLiteral("Liberation Serif");
const QString kSans = QStringLiteral("DejaVu Sans");
const QColor kNavy(0x1d, 0x2b, 0x5c);
const QColor kMaroon(0x80, 0x1c, 0x1c);
const QColor kGrey(0x5a, 0x5a, 0x5a);

// Page geometry in millimetres.
constexpr double kPageW = 210.0, kPageH = 297.0;
constexpr double kLeft = 22.0, kRight = 20.0, kTop = 25.0, kBottom = 22.0;
constexpr double kHeaderBase = 15.0;  // baseline of the running header
constexpr double kFooterBase = 286.0;  // baseline of the page number

struct Heading {
  int level = 0;
  QString text;            // with its number
  int page = 0;            // 0-based page of the body document
  bool opensPage = false;  // first thing on its page
};

struct Meta {
  QString title, subtitle, tagline, edition, author, header, contentsTitle;
};

QString metaValue(const QString& html, const QString& name) {
  const QRegularExpression re(QStringLiteral("<meta\\s+name=\"%1\"\\s+content=\"([^\"]*)\"").arg(name),
                              QRegularExpression::CaseInsensitiveOption);
  const auto m = re.match(html);
  return m.hasMatch() ? m.captured(1) : QString();
}

Meta readMeta(const QString& html) {
  Meta m;
  const auto t = QRegularExpression(QStringLiteral("<title>([^<]*)</title>")).match(html);
  m.title = t.hasMatch() ? t.captured(1).trimmed() : QStringLiteral("Zelvano");
  m.subtitle = metaValue(html, QStringLiteral("subtitle"));
  m.tagline = metaValue(html, QStringLiteral("tagline"));
  m.edition = metaValue(html, QStringLiteral("edition"));
  m.author = metaValue(html, QStringLiteral("author"));
  m.header = metaValue(html, QStringLiteral("running-header"));
  m.contentsTitle = metaValue(html, QStringLiteral("contents-title"));
  if (m.contentsTitle.isEmpty()) m.contentsTitle = QStringLiteral("Indice");
  return m;
}

class Typesetter {
 public:
  explicit Typesetter(QPdfWriter& pdf) : pdf_(pdf) {
    dpmm_ = pdf.resolution() / 25.4;
    body_ = QRectF(mm(kLeft), mm(kTop), mm(kPageW - kLeft - kRight), mm(kPageH - kTop - kBottom));
  }

  double mm(double v) const { return v * dpmm_; }
  const QRectF& body() const { return body_; }

  // A document laid out on the PDF's resolution, paginated to the body area.
  std::unique_ptr<QTextDocument> makeDocument(const QString& html, const QUrl& base) const {
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(&pdf_);
    doc->setBaseUrl(base);
    QFont f(kSerif);
    f.setPointSizeF(11.0);
    doc->setDefaultFont(f);
    doc->setDocumentMargin(0);
    doc->setPageSize(body_.size());
    doc->setHtml(html);
    layoutAll(*doc);
    return doc;
  }

  // QTextDocumentLayout lays blocks out lazily and draws nothing for a block
  // it has not reached yet; asking for every block's rectangle completes it.
  static void layoutAll(QTextDocument& doc) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) doc.documentLayout()->blockBoundingRect(b);
  }

  int pageOf(QTextDocument& doc, const QTextBlock& b) const {
    const QRectF r = doc.documentLayout()->blockBoundingRect(b);
    return static_cast<int>(r.top() / body_.height());
  }

  // Page-break rules, applied in reading order so that each decision sees the
  // final position of everything before it:
  // - a heading that would stand at the foot of a page without a few lines of
  //   its text moves to the next page;
  // - a figure, a note or a short table that does not fit in what is left of
  //   the page, and a long table that would start in its last few
  //   centimetres, start on the next page, taking a heading right before
  //   them along;
  // - a table's heading row (navy cells) repeats on every page it spans.
  void applyPageBreaks(QTextDocument& doc) const {
    const double minFollow = mm(16.0), minTableStart = mm(30.0);
    layoutAll(doc);
    auto roomBelow = [this](double y) { return (std::floor(y / body_.height()) + 1) * body_.height() - y; };
    QTextBlock previousHeading;  // the heading just before the current item, if any
    QTextBlock spacer;           // a blank line right before the current item, if any
    for (QTextFrame::iterator it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
      if (QTextFrame* f = it.currentFrame()) {
        auto* table = qobject_cast<QTextTable*>(f);
        if (table && table->rows() > 0 && table->columns() > 0) {
          QTextTableFormat tf = table->format();
          const QBrush head = table->cellAt(0, 0).format().background();
          // Data tables open with a navy heading row; figures, drawn as tables,
          // carry a background of their own.
          const bool dataTable =
              head.style() != Qt::NoBrush && head.color() == kNavy && tf.background().style() == Qt::NoBrush;
          if (dataTable) tf.setHeaderRowCount(1);
          const QRectF r = doc.documentLayout()->frameBoundingRect(table);
          // A long data table may continue on the next page; short ones,
          // figures and notes stay whole, a figure with its caption line.
          const double need = !dataTable                 ? r.height() + mm(8.0)
                              : r.height() > mm(100.0)   ? minTableStart
                                                         : r.height();
          if (r.top() > 1.0 && need < body_.height() && roomBelow(r.top()) < need) {
            // Breaking before a block keeps the table's first row from
            // leaving a sliver of its background at the foot of the page.
            if (previousHeading.isValid())
              breakBefore(previousHeading);
            else if (spacer.isValid())
              breakBefore(spacer);
            else
              tf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
          }
          table->setFormat(tf);
          layoutAll(doc);
        }
        previousHeading = QTextBlock();
        spacer = QTextBlock();
        continue;
      }
      const QTextBlock b = it.currentBlock();
      if (b.blockFormat().headingLevel() == 0) {
        if (b.text().trimmed().isEmpty()) {
          spacer = b;
        } else {
          previousHeading = QTextBlock();
          spacer = QTextBlock();
        }
        continue;
      }
      spacer = QTextBlock();
      const QTextBlock leading = previousHeading;  // a heading right above this one
      previousHeading = b;
      if (b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) continue;
      const QRectF r = doc.documentLayout()->blockBoundingRect(b);
      if (r.top() > 1.0 && roomBelow(r.top()) - r.height() < minFollow) {
        breakBefore(leading.isValid() ? leading : b);
        layoutAll(doc);
      }
    }
  }

  static void breakBefore(const QTextBlock& b) {
    QTextCursor c(b);
    QTextBlockFormat bf = b.blockFormat();
    bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    c.setBlockFormat(bf);
  }

  // Numbers h1 as "1", h2 as "1.1" and collects the headings with their pages.
  std::vector<Heading> numberHeadings(QTextDocument& doc) const {
    std::vector<Heading> out;
    int chapter = 0, section = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
      const int level = b.blockFormat().headingLevel();
      if (level != 1 && level != 2) continue;
      QString number;
      if (level == 1) {
        ++chapter;
        section = 0;
        number = QString::number(chapter);
      } else {
        ++section;
        number = QStringLiteral("%1.%2").arg(chapter).arg(section);
      }
      QTextCursor c(b);
      c.movePosition(QTextCursor::StartOfBlock);
      c.insertText(number + QStringLiteral("\u2002"));
      out.push_back({level, b.text(), 0});
    }
    return out;
  }

  void assignPages(QTextDocument& doc, std::vector<Heading>& headings) const {
    layoutAll(doc);
    size_t i = 0;
    for (QTextBlock b = doc.begin(); b.isValid() && i < headings.size(); b = b.next()) {
      const int level = b.blockFormat().headingLevel();
      if (level != 1 && level != 2) continue;
      const QRectF r = doc.documentLayout()->blockBoundingRect(b);
      headings[i].page = pageOf(doc, b);
      headings[i].opensPage = r.top() - headings[i].page * body_.height() < mm(15.0);
      ++i;
    }
  }

  int pageCount(QTextDocument& doc) const {
    layoutAll(doc);
    return std::max(1, static_cast<int>(std::ceil(doc.documentLayout()->documentSize().height() / body_.height() - 1e-6)));
  }

  void drawBodyPage(QPainter& p, QTextDocument& doc, int page) const {
    p.save();
    p.translate(body_.topLeft());
    const QRectF clip(0, page * body_.height(), body_.width(), body_.height());
    p.setClipRect(QRectF(0, 0, body_.width(), body_.height()));
    p.translate(0, -clip.top());
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.clip = clip;
    ctx.palette.setColor(QPalette::Text, Qt::black);
    doc.documentLayout()->draw(&p, ctx);
    p.restore();
  }

  void drawHeaderFooter(QPainter& p, const QString& left, const QString& right, int number) const {
    p.save();
    QFont f(kSans);
    f.setPointSizeF(7.5);
    p.setFont(f);
    p.setPen(kGrey);
    const double x0 = body_.left(), x1 = body_.right();
    const double hb = mm(kHeaderBase);
    p.drawText(QPointF(x0, hb), left);
    const double rw = QFontMetricsF(f, &pdf_).horizontalAdvance(right);
    p.drawText(QPointF(x1 - rw, hb), right);
    p.setPen(QPen(kMaroon, mm(0.35)));
    p.drawLine(QPointF(x0, hb + mm(2.0)), QPointF(x1, hb + mm(2.0)));

    p.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), mm(0.2)));
    const double fb = mm(kFooterBase);
    p.drawLine(QPointF(x0, fb - mm(5.5)), QPointF(x1, fb - mm(5.5)));
    QFont nf(kSans);
    nf.setPointSizeF(8.5);
    p.setFont(nf);
    p.setPen(kNavy);
    const QString n = QString::number(number);
    const double nw = QFontMetricsF(nf, &pdf_).horizontalAdvance(n);
    p.drawText(QPointF((x0 + x1 - nw) / 2, fb), n);
    p.restore();
  }

  void drawTitlePage(QPainter& p, const Meta& m) const {
    p.save();
    const double W = mm(kPageW);
    // Navy band with the program name, maroon rules above and below it.
    const QRectF band(0, mm(62), W, mm(78));
    p.fillRect(band, kNavy);
    p.fillRect(QRectF(0, band.top() - mm(3.2), W, mm(2.2)), kMaroon);
    p.fillRect(QRectF(0, band.bottom() + mm(1.0), W, mm(2.2)), kMaroon);

    QFont big(kSans);
    big.setPointSizeF(50);
    big.setBold(true);
    big.setLetterSpacing(QFont::PercentageSpacing, 104);
    p.setFont(big);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, band.top() + mm(10), W, mm(32)), Qt::AlignHCenter | Qt::AlignVCenter, m.title);

    QFont sub(kSans);
    sub.setPointSizeF(20);
    p.setFont(sub);
    p.setPen(QColor(0xdc, 0xe4, 0xf5));
    p.drawText(QRectF(0, band.top() + mm(44), W, mm(16)), Qt::AlignHCenter | Qt::AlignVCenter, m.subtitle);

    QFont tag(kSerif);
    tag.setPointSizeF(14);
    tag.setItalic(true);
    p.setFont(tag);
    p.setPen(kNavy);
    p.drawText(QRectF(mm(30), mm(158), W - mm(60), mm(30)), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
               m.tagline);

    // Four squares for the four work areas of the program.
    const double s = mm(15), gap = mm(6);
    const double x = (W - 4 * s - 3 * gap) / 2, y = mm(200);
    const QColor tones[4] = {kNavy, QColor(0x2f, 0x5d, 0x8a), QColor(0x3f, 0x7a, 0x5a), kMaroon};
    for (int i = 0; i < 4; ++i) p.fillRect(QRectF(x + i * (s + gap), y, s, s), tones[i]);

    QFont small(kSans);
    small.setPointSizeF(10);
    p.setFont(small);
    p.setPen(kGrey);
    p.drawText(QRectF(0, mm(262), W, mm(7)), Qt::AlignHCenter, m.edition);
    p.drawText(QRectF(0, mm(269), W, mm(7)), Qt::AlignHCenter, m.author);
    p.restore();
  }

 private:
  QPdfWriter& pdf_;
  double dpmm_ = 1.0;
  QRectF body_;
};

QString escape(const QString& s) { return s.toHtmlEscaped(); }

// One column of the contents: chapters in bold, their sections indented.
QString contentsColumn(const std::vector<Heading>& headings, size_t from, size_t to, int firstBodyPage) {
  QString h = QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\">");
  for (size_t i = from; i < to; ++i) {
    const Heading& x = headings[i];
    const QString page = QString::number(firstBodyPage + x.page);
    if (x.level == 1)
      h += QStringLiteral(
               "<tr><td valign=\"bottom\" class=\"toc1\" style=\"padding-top:10px\">%1</td>"
               "<td valign=\"bottom\" class=\"toc1\" align=\"right\" style=\"padding-top:10px\">%2</td></tr>")
               .arg(escape(x.text), page);
    else
      h += QStringLiteral(
               "<tr><td valign=\"top\" class=\"toc2\" style=\"padding-left:16px\">%1</td>"
               "<td valign=\"top\" class=\"toc2\" align=\"right\">%2</td></tr>")
               .arg(escape(x.text), page);
  }
  return h + QStringLiteral("</table>");
}

// The contents in two columns, split at the chapter that balances them best.
QString contentsHtml(const Meta& m, const std::vector<Heading>& headings, int firstBodyPage,
                     const QString& style) {
  auto weight = [](const Heading& x) { return x.level == 1 ? 1.8 : 1.0; };
  double total = 0;
  for (const Heading& x : headings) total += weight(x);
  size_t split = headings.size();
  double best = total, left = 0;
  for (size_t i = 0; i < headings.size(); ++i) {
    if (headings[i].level == 1 && i > 0) {
      const double worst = std::max(left, total - left);
      if (worst < best) {
        best = worst;
        split = i;
      }
    }
    left += weight(headings[i]);
  }
  QString h = QStringLiteral("<html><head><style>%1</style></head><body>").arg(style);
  h += QStringLiteral("<h1 class=\"toc\">%1</h1>").arg(escape(m.contentsTitle));
  h += QStringLiteral(
           "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"0\"><tr>"
           "<td width=\"47%\" valign=\"top\">%1</td><td width=\"6%\"></td>"
           "<td width=\"47%\" valign=\"top\">%2</td></tr></table>")
           .arg(contentsColumn(headings, 0, split, firstBodyPage),
                contentsColumn(headings, split, headings.size(), firstBodyPage));
  h += QStringLiteral("</body></html>");
  return h;
}

QString styleOf(const QString& html) {
  const auto m = QRegularExpression(QStringLiteral("<style[^>]*>(.*?)</style>"),
                                    QRegularExpression::DotMatchesEverythingOption)
                     .match(html);
  return m.hasMatch() ? m.captured(1) : QString();
}

int run(const QString& inPath, const QString& outPath) {
  QFile in(inPath);
  if (!in.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "makeguide: cannot read %s\n", qPrintable(inPath));
    return 1;
  }
  const QString html = QString::fromUtf8(in.readAll());
  // The guide is set in these two families; without them Qt substitutes
  // another font and the PDF still comes out, only less handsome.
  const QStringList families = QFontDatabase::families();
  for (const QString& family : {kSerif, kSans})
    if (!families.contains(family))
      std::fprintf(stderr, "makeguide: warning: font \"%s\" not installed, using a substitute\n", qPrintable(family));
  const Meta meta = readMeta(html);
  const QUrl base = QUrl::fromLocalFile(QFileInfo(inPath).absoluteDir().absolutePath() + QLatin1Char('/'));

  const QString tmpPath = outPath + QStringLiteral(".part");
  int pages = 0;
  {
    QPdfWriter pdf(tmpPath);
    pdf.setResolution(600);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                  QPageLayout::Millimeter));
    pdf.setTitle(meta.title + QStringLiteral(" - ") + meta.subtitle);
    pdf.setCreator(meta.title);

    Typesetter ts(pdf);
    auto body = ts.makeDocument(html, base);
    std::vector<Heading> headings = ts.numberHeadings(*body);
    ts.applyPageBreaks(*body);
    ts.assignPages(*body, headings);
    const int bodyPages = ts.pageCount(*body);

    // The contents come before the body, so their length decides the page
    // numbers they list: lay them out until the count is stable.
    const QString style = styleOf(html);
    int tocPages = 1;
    std::unique_ptr<QTextDocument> toc;
    for (int i = 0; i < 4; ++i) {
      toc = ts.makeDocument(contentsHtml(meta, headings, 2 + tocPages, style), base);
      const int n = ts.pageCount(*toc);
      if (n == tocPages) break;
      tocPages = n;
    }
    const int firstBody = 2 + tocPages;  // printed number of the first body page

    QPainter p;
    if (!p.begin(&pdf)) {
      std::fprintf(stderr, "makeguide: cannot write %s\n", qPrintable(tmpPath));
      return 1;
    }
    p.setRenderHint(QPainter::Antialiasing);
    ts.drawTitlePage(p, meta);
    ++pages;
    for (int i = 0; i < tocPages; ++i) {
      pdf.newPage();
      ts.drawBodyPage(p, *toc, i);
      ts.drawHeaderFooter(p, meta.header, meta.contentsTitle, 2 + i);
      ++pages;
    }
    QString chapter;
    size_t next = 0;
    for (int i = 0; i < bodyPages; ++i) {
      pdf.newPage();
      // The header names the chapter in force at the top of the page: one
      // that opens the page counts, one that starts further down does not.
      while (next < headings.size() &&
             (headings[next].page < i || (headings[next].page == i && headings[next].opensPage))) {
        if (headings[next].level == 1) chapter = headings[next].text;
        ++next;
      }
      ts.drawBodyPage(p, *body, i);
      ts.drawHeaderFooter(p, meta.header, chapter, firstBody + i);
      ++pages;
    }
    p.end();
  }
  QFile::remove(outPath);
  if (!QFile::rename(tmpPath, outPath)) {
    std::fprintf(stderr, "makeguide: cannot create %s\n", qPrintable(outPath));
    return 1;
  }
  std::printf("makeguide: %s, %d pages\n", qPrintable(outPath), pages);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = QGuiApplication::arguments();
  if (args.size() != 3) {
    std::fprintf(stderr, "usage: makeguide GUIDE.html OUTPUT.pdf\n");
    return 2;
  }
  return run(args.at(1), args.at(2));
}
