#include "app/info.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPixmap>

#include "core/maker.h"
#include "ui/base/services.h"

namespace zel {
namespace {

// A rectangle outlined in white, framing a picture.
QLabel* whiteFrame(QWidget* parent, const char* name, const QRect& where) {
  auto* frame = new QLabel(parent);
  frame->setObjectName(QString::fromLatin1(name));
  frame->setGeometry(where);
  frame->setStyleSheet(QStringLiteral("border: 2px solid white;"));
  return frame;
}

void setTextColour(QWidget* w, const QColor& colour) {
  QPalette p = w->palette();
  if (p.color(QPalette::WindowText) == colour) return;
  p.setColor(QPalette::WindowText, colour);
  w->setPalette(p);
}

}  // namespace

ClickLabel* TfrmInfo::link(const char* name, const QString& text, const QRect& where) {
  auto* l = new ClickLabel(QString::fromLatin1(name), grpInfo);
  l->setGeometry(where);
  l->setText(text);
  QFont f(QStringLiteral("Verdana"));
  f.setPointSize(8);
  f.setUnderline(true);
  l->setFont(f);
  setTextColour(l, kNavy);
  return l;
}

TfrmInfo::TfrmInfo(QWidget* parent)
    : Dialog(QStringLiteral("frmInfo"), QStringLiteral(" Informazioni su Zelvano ©"), parent) {
  setBackground(kSilver);
  setClientSize(440, 330);
  setMouseTracking(true);

  grpInfo = new QGroupBox(this);
  grpInfo->setObjectName(QStringLiteral("grpInfo"));
  grpInfo->setGeometry(8, 4, 424, 282);
  grpInfo->setMouseTracking(true);

  shpLogo = whiteFrame(grpInfo, "shpLogo", QRect(12, 14, 400, 64));
  imgLogo = pictureLabel(grpInfo, "imgLogo", QStringLiteral(":/art/info_logo.png"), QRect(16, 18, 392, 56));
  shpFoto = whiteFrame(grpInfo, "shpFoto", QRect(12, 88, 130, 150));
  imgFoto = pictureLabel(grpInfo, "imgFoto", QStringLiteral(":/art/info_foto.jpg"), QRect(16, 92, 122, 142));

  panInformativa = new QFrame(grpInfo);
  panInformativa->setObjectName(QStringLiteral("panInformativa"));
  panInformativa->setGeometry(152, 88, 260, 150);
  panInformativa->setAutoFillBackground(true);
  QPalette white = panInformativa->palette();
  white.setColor(QPalette::Window, Qt::white);
  panInformativa->setPalette(white);
  imgInformativa = pictureLabel(panInformativa, "imgInformativa", QStringLiteral(":/art/info_pannello.png"),
                                QRect(4, 4, 252, 142), Qt::AlignLeft | Qt::AlignVCenter);

  imgEmail = new ClickLabel(QStringLiteral("imgEmail"), grpInfo);
  imgEmail->setGeometry(16, 252, 16, 16);
  imgEmail->setPixmap(QPixmap(QStringLiteral(":/art/info_email.png")));
  lblEmail = link("lblEmail", QStringLiteral("Invia e-mail"), QRect(38, 251, 110, 18));
  imgWeb = new ClickLabel(QStringLiteral("imgWeb"), grpInfo);
  imgWeb->setGeometry(226, 252, 16, 16);
  imgWeb->setPixmap(QPixmap(QStringLiteral(":/art/info_web.png")));
  lblWeb = link("lblWeb", QStringLiteral("Visita sito Internet"), QRect(248, 251, 160, 18));

  cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setGeometry(340, 294, 92, 28);
  cmdOK->setDefault(true);

  for (QObject* watched : {static_cast<QObject*>(grpInfo), static_cast<QObject*>(lblEmail),
                           static_cast<QObject*>(imgEmail), static_cast<QObject*>(lblWeb),
                           static_cast<QObject*>(imgWeb)})
    watched->installEventFilter(this);
  wireCommands<TfrmInfo>(this, nullptr, {
      {lblEmail, &TfrmInfo::lblEmailClick, nullptr},
      {imgEmail, &TfrmInfo::lblEmailClick, nullptr},
      {lblWeb, &TfrmInfo::lblWebClick, nullptr},
      {imgWeb, &TfrmInfo::lblWebClick, nullptr},
      {cmdOK, &TfrmInfo::cmdOKClick, nullptr},
  });
}

QUrl TfrmInfo::mailtoUrl() {
  // Blanks, "," and ":" of the subject and body are encoded, so that the
  // mail program receives them as written; "@" stays readable.
  const QByteArray link = QByteArrayLiteral("mailto:") + QUrl::toPercentEncoding(QString::fromUtf8(maker::kEmail), "@") +
                          QByteArrayLiteral("?subject=") + QUrl::toPercentEncoding(QString::fromUtf8(maker::kMailSubject)) +
                          QByteArrayLiteral("&body=") + QUrl::toPercentEncoding(QString::fromUtf8(maker::kMailBody));
  return QUrl::fromEncoded(link, QUrl::StrictMode);
}

void TfrmInfo::lblEmailClick() {
  guarded(this, [this] {
    if (!services().openUrl(mailtoUrl())) services().message(this, QStringLiteral("Invio e-mail non riuscito."));
  });
}

void TfrmInfo::lblWebClick() {
  guarded(this, [] {
    WaitCursor wait;
    services().openUrl(QUrl(QString::fromUtf8(maker::kSite)));
  });
}

void TfrmInfo::cmdOKClick() { accept(); }

void TfrmInfo::setLinkColours(const QColor& email, const QColor& web) {
  setTextColour(lblEmail, email);
  setTextColour(lblWeb, web);
}

bool TfrmInfo::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::Enter || type == QEvent::MouseMove) {
    if (watched == lblEmail || watched == imgEmail) {
      setLinkColours(Qt::red, kNavy);
    } else if (watched == lblWeb || watched == imgWeb) {
      setLinkColours(kNavy, Qt::red);
    } else if (watched == grpInfo && type == QEvent::MouseMove) {
      // Only the group box's own surface: moves over its pictures arrive here too.
      const auto* move = static_cast<QMouseEvent*>(event);
      if (!grpInfo->childAt(move->position().toPoint())) setLinkColours(kNavy, kNavy);
    }
  }
  return Dialog::eventFilter(watched, event);
}

void TfrmInfo::mouseMoveEvent(QMouseEvent* event) {
  if (!childAt(event->position().toPoint())) setLinkColours(kNavy, kNavy);
  Dialog::mouseMoveEvent(event);
}

}  // namespace zel
