#include "app/avvio.h"

#include <QApplication>
#include <QCloseEvent>
#include <QShowEvent>
#include <stdexcept>

#include "core/maker.h"
#include "help/helptopics.h"
#include "ui/base/flow.h"
#include "ui/base/services.h"

namespace zel {
namespace {

constexpr int kEntryTop = 150;
constexpr int kEntryLeft = 22;
constexpr int kEntryStep = 245;

QLabel* band(QWidget* parent, const char* name, const QColor& colour, const QRect& where) {
  auto* l = new QLabel(parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setGeometry(where);
  l->setAutoFillBackground(true);
  QPalette p = l->palette();
  p.setColor(QPalette::Window, colour);
  p.setColor(QPalette::WindowText, Qt::white);
  l->setPalette(p);
  return l;
}

// The start screen reaches the dialogs it opens through the program's
// navigation, as every screen does.
void runDialog(WindowId id) {
  if (auto* dialog = windowAs<QDialog>(id)) flow().runModal(*dialog);
}

}  // namespace

QUrl TfrmAvvio::makerSite() { return QUrl(QString::fromUtf8(maker::kSite)); }

void TfrmAvvio::buildEntry(int column, const char* key, ClickLabel*& btn, ClickLabel*& tit, ClickLabel*& inf,
                           void (TfrmAvvio::*click)()) {
  const QString k = QString::fromLatin1(key);
  const QString cap = k.left(1).toUpper() + k.mid(1);
  const int left = kEntryLeft + column * kEntryStep;
  QWidget* c = container();
  btn = iconCommand(c, qPrintable(QStringLiteral("btn") + cap), QStringLiteral(":/art/%1.jpg").arg(k),
                    QRect(left, kEntryTop, 225, 256));
  tit = iconCommand(c, qPrintable(QStringLiteral("tit") + cap), QStringLiteral(":/art/tit_%1.png").arg(k),
                    QRect(left, kEntryTop + 262, 224, 42));
  inf = iconCommand(c, qPrintable(QStringLiteral("inf") + cap), QStringLiteral(":/art/inf_%1.png").arg(k),
                    QRect(left - 2, kEntryTop + 308, 228, 105));
  inf->setCursor(Qt::ArrowCursor);  // the description is not an entry
  wireCommands<TfrmAvvio>(this, nullptr, {
      {btn, click, nullptr},
      {tit, click, nullptr},
  });
}

TfrmAvvio::TfrmAvvio(QWidget* parent)
    : MainScreen(QStringLiteral("frmAvvio"), QStringLiteral(" Zelvano"), parent) {
  QWidget* c = container();
  imgInfo = iconCommand(c, "imgInfo", QStringLiteral(":/art/info.png"), QRect(8, 8, 48, 48));
  imgInfo->setToolTip(QStringLiteral(" Informazioni su... "));
  imgGuida = iconCommand(c, "imgGuida", QStringLiteral(":/art/guida.png"), QRect(939, 8, 48, 48));
  imgGuida->setToolTip(QStringLiteral(" Guida "));
  imgLogo01 = iconCommand(c, "imgLogo01", QStringLiteral(":/art/logo01.png"), QRect(200, 8, 130, 90));
  imgLogo01->setCursor(Qt::ArrowCursor);
  imgLogo02 = iconCommand(c, "imgLogo02", QStringLiteral(":/art/logo02.png"), QRect(340, 8, 440, 90));
  imgLogo02->setCursor(Qt::ArrowCursor);

  shpSubTitle = band(c, "shpSubTitle", kNavy, QRect(0, 104, 995, 28));
  lblSubTitle = new QLabel(shpSubTitle);
  lblSubTitle->setObjectName(QStringLiteral("lblSubTitle"));
  lblSubTitle->setGeometry(0, 0, 995, 28);
  lblSubTitle->setAlignment(Qt::AlignCenter);
  lblSubTitle->setText(QStringLiteral(
      "Software gestionale per organizzare il lavoro dei fornitori di prodotti, materiali e servizi."));
  lblSubTitle->setStyleSheet(QStringLiteral("color: white; font-family: Verdana; font-style: italic; font-size: 10pt;"));
  shpLinea01 = band(c, "shpLinea01", kMaroon, QRect(0, 132, 995, 7));

  buildEntry(0, "clienti", btnClienti, titClienti, infClienti, &TfrmAvvio::btnClientiClick);
  buildEntry(1, "prodotti", btnProdotti, titProdotti, infProdotti, &TfrmAvvio::btnProdottiClick);
  buildEntry(2, "crea", btnCrea, titCrea, infCrea, &TfrmAvvio::btnCreaClick);
  buildEntry(3, "forniture", btnForniture, titForniture, infForniture, &TfrmAvvio::btnFornitureClick);

  shpLinea02 = band(c, "shpLinea02", kMaroon, QRect(0, 574, 995, 7));
  shpWeb = band(c, "shpWeb", kNavy, QRect(0, 581, 995, 30));
  lblWeb = new ClickLabel(QStringLiteral("lblWeb"), shpWeb);
  lblWeb->setGeometry(0, 0, 995, 30);
  lblWeb->setAlignment(Qt::AlignCenter);
  lblWeb->setText(QStringLiteral("Zelvano © 2026 - Software gestionale per fornitori - ") +
                  QString::fromUtf8(maker::kSiteShown));
  lblWeb->setStyleSheet(QStringLiteral("color: white; font-family: Verdana; font-style: italic; font-size: 9pt;"));
  lblWeb->setToolTip(QStringLiteral("  Visita il sito Internet dell'autore "));

  imgCopyright = iconCommand(c, "imgCopyright", QStringLiteral(":/art/copyright.png"), QRect(8, 625, 48, 48));
  imgCopyright->setToolTip(QStringLiteral(" Copyright "));
  imgAnimata = iconCommand(c, "imgAnimata", QString(), QRect(272, 645, 451, 10));
  imgAnimata->setCursor(Qt::ArrowCursor);
  imgEsci = iconCommand(c, "imgEsci", QStringLiteral(":/art/esci.png"), QRect(939, 625, 48, 48));
  imgEsci->setToolTip(QStringLiteral(" Esci "));

  btnSfondo = addTileCarrier(QStringLiteral(":/art/tile.png"));

  wireCommands<TfrmAvvio>(this, nullptr, {
      {imgGuida, &TfrmAvvio::imgGuidaClick, nullptr},
      {imgInfo, &TfrmAvvio::imgInfoClick, nullptr},
      {imgCopyright, &TfrmAvvio::imgCopyrightClick, nullptr},
      {imgEsci, &TfrmAvvio::imgEsciClick, nullptr},
      {lblWeb, &TfrmAvvio::lblWebClick, nullptr},
  });
  MainScreen::setHomeScreen(this);
}

void TfrmAvvio::btnClientiClick() { moveTo(windowAs<MainScreen>(WindowId::ClientCard)); }
void TfrmAvvio::btnProdottiClick() { moveTo(windowAs<MainScreen>(WindowId::ProductCard)); }
void TfrmAvvio::btnCreaClick() { moveTo(windowAs<MainScreen>(WindowId::CreateSupply)); }
void TfrmAvvio::btnFornitureClick() { moveTo(windowAs<MainScreen>(WindowId::OpenSupply)); }

void TfrmAvvio::imgGuidaClick() { flow().showHelp(help::startScreenTopic()); }
void TfrmAvvio::imgInfoClick() { runDialog(WindowId::About); }
void TfrmAvvio::imgCopyrightClick() { runDialog(WindowId::Credits); }
void TfrmAvvio::imgEsciClick() { close(); }

void TfrmAvvio::lblWebClick() { services().openUrl(makerSite()); }

void TfrmAvvio::FormShow() {
  setBackgroundTile(QStringLiteral(":/art/tile.png"));
  keepOuterMinimum();
  reloadAnimation();
}

void TfrmAvvio::resizeEvent(QResizeEvent* event) {
  MainScreen::resizeEvent(event);
  keepOuterMinimum();
}

void TfrmAvvio::moveEvent(QMoveEvent* event) {
  MainScreen::moveEvent(event);
  keepOuterMinimum();
}

void TfrmAvvio::keepOuterMinimum() {
  // The frame is known once the window manager has framed the window; until
  // then the whole minimum goes to the client area.
  const QSize frame = frameGeometry().size() - size();
  const QSize minimum = kOuterMinimum - frame.expandedTo(QSize(0, 0));
  if (minimumSize() != minimum) setMinimumSize(minimum);
}

void TfrmAvvio::reloadAnimation() {
  // A fresh decoder at every showing; the previous one is released first.
  imgAnimata->clear();
  delete animation_;
  animation_ = new QMovie(animationSource, QByteArray(), this);
  // A strip that cannot be decoded is a damaged program: said, not hidden.
  if (!animation_->isValid())
    throw std::runtime_error("Attenzione: impossibile caricare l'animazione della schermata di avvio.");
  animation_->setCacheMode(QMovie::CacheAll);
  imgAnimata->setMovie(animation_);
  animation_->start();
  ++animationLoads_;
}

void TfrmAvvio::closeEvent(QCloseEvent* event) {
  // Closing the start screen ends the program, the hidden login included.
  event->accept();
  if (animation_) animation_->stop();
  flow().quit();
}

}  // namespace zel
