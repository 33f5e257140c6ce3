#pragma once
// The about box: the product's artwork, links to write to the maker and to
// visit the maker's site, and OK.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "ui/kit.h"
#include "ui/dialog.h"

namespace zel {

class TfrmInfo : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmInfo(QWidget* parent = nullptr);

  // The e-mail to the maker with its subject and opening line, percent-encoded
  // for the desktop.
  static QUrl mailtoUrl();

 public slots:
  void lblEmailClick();
  void lblWebClick();
  void cmdOKClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QGroupBox* grpInfo;
  QLabel *shpLogo, *imgLogo, *shpFoto, *imgFoto;
  QFrame* panInformativa;
  QLabel* imgInformativa;
  ClickLabel *lblEmail, *imgEmail, *lblWeb, *imgWeb;
  QPushButton* cmdOK;

  ClickLabel* link(const char* name, const QString& text, const QRect& where);
  // Each link changes only when it is not of that colour already.
  void setLinkColours(const QColor& email, const QColor& web);
};

}  // namespace zel
