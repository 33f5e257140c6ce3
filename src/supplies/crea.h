#pragma once
// The create-supply window: the user names a new supply and the window
// creates its empty file in the program folder.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "ui/base/helptopic.h"
#include "ui/behaviour.h"
#include "ui/mainscreen.h"

namespace zel {

// A command of the supply windows: a framed clickable label with its
// picture (when the artwork is there) and its caption.
ClickLabel* supplyCommand(const char* name, const QString& picture, const QString& caption,
                          QWidget* parent, const QRect& where);
// A wrapping navy instruction text of the supply windows.
QLabel* infoLabel(const char* name, const QString& text, QWidget* parent, const QRect& where);
// The white card with a navy heading that holds a supply window's controls.
QWidget* supplyCard(const char* name, const QString& heading, QWidget* parent, const QRect& where);

class TfrmCrea : public MainScreen {
  Q_OBJECT
 public:
  explicit TfrmCrea(QWidget* parent = nullptr);

  QLineEdit* txtClasse;
  QLabel* panTitolo;
  ClickLabel *imgApplica, *imgAnnulla, *imgGuida;
  QLabel *lblInfo01, *lblInfo02, *lblInfo03;
  QLabel* imgDecor;
  QPushButton* btnSfondo;  // hidden: only carries the background tile


 public slots:
  void imgApplicaClick();
  void imgAnnullaClick();
  void imgGuidaClick();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FormShow() override;
  void createSupply();
  void warn(const QString& text);
};

}  // namespace zel
