#include "help/helpform.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QShowEvent>
#include <QUrl>
#include <exception>

#include "ui/base/flow.h"
#include "ui/base/programfolder.h"
#include "ui/base/services.h"
#include "ui/kit.h"

namespace zel {
namespace {

void colourText(QWidget* w, const QColor& background, const QColor& text) {
  QPalette p = w->palette();
  p.setColor(QPalette::Window, background);
  p.setColor(QPalette::Base, background);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Text, text);
  w->setPalette(p);
  w->setAutoFillBackground(true);
}

}  // namespace

void TitlePanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.setFont(font());
  const QRect area = contentsRect().adjusted(6, 0, -6, 0);
  painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine,
                   fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
}

TfrmHelpForm::TfrmHelpForm(QWidget* parent)
    : Dialog(QStringLiteral("frmHelpForm"), QStringLiteral(" Guida in linea"), parent) {
  setBackground(kNavy);
  setClientSize(620, 532);
  setMouseTracking(true);  // moving over the background resets the link

  imgLogo = new QLabel(this);
  imgLogo->setObjectName(QStringLiteral("imgLogo"));
  imgLogo->setGeometry(8, 8, 604, 64);
  imgLogo->setAlignment(Qt::AlignCenter);
  const QPixmap logo(QStringLiteral(":/art/help_logo.png"));
  if (!logo.isNull())
    imgLogo->setPixmap(logo.width() > 604 || logo.height() > 64
                           ? logo.scaled(imgLogo->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)
                           : logo);

  panTitle = new TitlePanel(this);
  panTitle->setObjectName(QStringLiteral("panTitle"));
  panTitle->setGeometry(8, 80, 604, 28);
  panTitle->setWordWrap(false);
  panTitle->setFont(uiFont(FontFamily::Verdana, pt(10)));
  colourText(panTitle, Qt::black, Qt::white);

  panContainer = new QFrame(this);
  panContainer->setObjectName(QStringLiteral("panContainer"));
  panContainer->setGeometry(8, 116, 604, 364);
  colourText(panContainer, kNavy, Qt::white);
  panContainer->setMouseTracking(true);

  memTopic = new QPlainTextEdit(panContainer);
  memTopic->setObjectName(QStringLiteral("memTopic"));
  memTopic->setGeometry(6, 6, 592, 352);
  memTopic->setReadOnly(true);
  memTopic->setFrameShape(QFrame::NoFrame);
  memTopic->setFont(uiFont(FontFamily::Verdana, pt(10)));
  memTopic->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  memTopic->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  memTopic->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memTopic->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  colourText(memTopic, kNavy, Qt::white);
  colourText(memTopic->viewport(), kNavy, Qt::white);
  memTopic->viewport()->setMouseTracking(true);

  imgPDF = new ClickLabel(QStringLiteral("imgPDF"), this);
  imgPDF->setGeometry(8, 498, 16, 16);
  const QPixmap pdf(QStringLiteral(":/art/pdf.png"));
  if (!pdf.isNull()) imgPDF->setPixmap(pdf.scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation));

  lblPDF = new ClickLabel(QStringLiteral("lblPDF"), this);
  lblPDF->setText(QStringLiteral("Visualizza guida in formato PDF"));
  QFont link = uiFont(FontFamily::Verdana, pt(8));
  link.setUnderline(true);
  lblPDF->setFont(link);
  lblPDF->setGeometry(28, 498, 260, 16);
  setLinkColour(Qt::white);

  cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setGeometry(520, 492, 92, 30);
  cmdOK->setCursor(Qt::PointingHandCursor);
  cmdOK->setAutoDefault(false);
  cmdOK->setDefault(false);
  setTabOrder(cmdOK, memTopic);

  for (QObject* watched : {static_cast<QObject*>(imgPDF), static_cast<QObject*>(lblPDF),
                           static_cast<QObject*>(panContainer), static_cast<QObject*>(memTopic->viewport())})
    watched->installEventFilter(this);
  // The guide opens on the release of any mouse button.
  imgPDF->setAnyButtonClicks(true);
  lblPDF->setAnyButtonClicks(true);
  wireCommands<TfrmHelpForm>(this, nullptr, {
      {imgPDF, &TfrmHelpForm::lblPDFClick, nullptr},
      {lblPDF, &TfrmHelpForm::lblPDFClick, nullptr},
      {cmdOK, &TfrmHelpForm::cmdOKClick, nullptr},
  });
}

void TfrmHelpForm::setTopic(const HelpTopic& topic) {
  panTitle->setText(topic.title);
  panTitle->setToolTip(topic.title);
  // The memo breaks lines at CR as well as at LF: a CR LF pair must count once.
  QString body = topic.body();
  body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  memTopic->setPlainText(body);
  memTopic->moveCursor(QTextCursor::Start);
  memTopic->verticalScrollBar()->setValue(0);
  setLinkColour(Qt::white);
}

void TfrmHelpForm::showTopic(const HelpTopic& topic) {
  setTopic(topic);
  flow().runModal(*this);
}

void TfrmHelpForm::lblPDFClick() {
  try {
    WaitCursor wait;
    // The outcome is not examined: the desktop reports its own failures.
    services().openUrl(QUrl::fromLocalFile(pathToQ(programFile("Guida.pdf"))));
  } catch (const std::exception&) {
  }
}

void TfrmHelpForm::cmdOKClick() { accept(); }

void TfrmHelpForm::setLinkColour(const QColor& colour) {
  QPalette p = lblPDF->palette();
  if (p.color(QPalette::WindowText) == colour) return;
  p.setColor(QPalette::WindowText, colour);
  lblPDF->setPalette(p);
}

bool TfrmHelpForm::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::Enter || type == QEvent::MouseMove) {
    if (watched == lblPDF || watched == imgPDF) setLinkColour(Qt::red);
    else if (watched == panContainer || watched == memTopic->viewport()) setLinkColour(Qt::white);
  }
  return Dialog::eventFilter(watched, event);
}

void TfrmHelpForm::mouseMoveEvent(QMouseEvent* event) {
  // Only the bare background counts; moves over other controls reach here too.
  if (!childAt(event->position().toPoint())) setLinkColour(Qt::white);
  Dialog::mouseMoveEvent(event);
}

void TfrmHelpForm::showEvent(QShowEvent* event) {
  Dialog::showEvent(event);
  cmdOK->setFocus();
}

}  // namespace zel
