#pragma once
#include <QLabel>
#include <QMovie>
#include <QPushButton>

#include "ui/kit.h"
#include "ui/mainscreen.h"

namespace zel {

// The start screen: four entries to the work areas, help, about, credits and
// exit. Closing it ends the program.
class TfrmAvvio : public MainScreen {
  Q_OBJECT
 public:
  explicit TfrmAvvio(QWidget* parent = nullptr);

  // The maker's web site opened by the bottom band.
  static QUrl makerSite();

  // How many times the animation strip was loaded (once per showing).
  int animationLoads() const { return animationLoads_; }
  QMovie* animation() const { return animation_; }

  // Where the animation strip comes from; tests point it elsewhere.
  QString animationSource = QStringLiteral(":/RESNAME");
  // The smallest the whole window may be, its frame included.
  static constexpr QSize kOuterMinimum{1030, 742};

 public slots:
  void btnClientiClick();
  void btnProdottiClick();
  void btnCreaClick();
  void btnFornitureClick();
  void imgGuidaClick();
  void imgInfoClick();
  void imgCopyrightClick();
  void imgEsciClick();
  void lblWebClick();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  bool returnsHomeOnClose() const override { return false; }

 private:
  ClickLabel *imgLogo01, *imgLogo02, *imgInfo, *imgGuida, *imgCopyright, *imgEsci, *imgAnimata;
  ClickLabel *btnClienti, *titClienti, *infClienti;
  ClickLabel *btnProdotti, *titProdotti, *infProdotti;
  ClickLabel *btnCrea, *titCrea, *infCrea;
  ClickLabel *btnForniture, *titForniture, *infForniture;
  QLabel *shpSubTitle, *lblSubTitle, *shpLinea01, *shpLinea02, *shpWeb;
  ClickLabel* lblWeb;
  QPushButton* btnSfondo;  // hidden: only carries the background tile

  void FormShow() override;
  void reloadAnimation();
  void keepOuterMinimum();
  void buildEntry(int column, const char* key, ClickLabel*& btn, ClickLabel*& tit, ClickLabel*& inf,
                  void (TfrmAvvio::*click)());

  QMovie* animation_ = nullptr;
  int animationLoads_ = 0;
};

}  // namespace zel
