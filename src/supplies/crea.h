#pragma once
// The create-supply window: the user names a new supply and the window
// creates its empty file in the program folder.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "ui/base/helptopic.h"
#include "ui/kit.h"
#include "ui/mainscreen.h"

namespace zel {

class TfrmCrea : public MainScreen {
  Q_OBJECT
 public:
  explicit TfrmCrea(QWidget* parent = nullptr);

 public slots:
  void imgApplicaClick();
  void imgAnnullaClick();
  void imgGuidaClick();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLineEdit* txtClasse;
  QLabel* panTitolo;
  ClickLabel *imgApplica, *imgAnnulla, *imgGuida;
  QLabel *lblInfo01, *lblInfo02, *lblInfo03;
  QLabel* imgDecor;
  QPushButton* btnSfondo;  // hidden: only carries the background tile

  void FormShow() override;
  void createSupply();
  void warn(const QString& text);
};

}  // namespace zel
