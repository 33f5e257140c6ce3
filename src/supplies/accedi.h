#pragma once
// The open-supply window: lists the supplies of the program folder, opens
// the chosen one in the supply sheet or deletes its file.
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <functional>
#include <string>

#include "ui/base/helptopic.h"
#include "ui/kit.h"
#include "ui/mainscreen.h"

namespace zel {

class TfrmAccedi : public MainScreen {
  Q_OBJECT
 public:
  explicit TfrmAccedi(QWidget* parent = nullptr);

  // Each list line keeps its file name, byte for byte as the folder holds it.
  static constexpr int kEntryRole = Qt::UserRole;

 public slots:
  void imgApriClick();
  void lstClassiDblClick();
  void imgAnnullaClick();
  void btnCancellaClick();
  void imgGuidaClick();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QListWidget* lstClassi;
  QLabel* lblTotale;
  QLabel* lblMemory;  // hidden: what closing means, "avvio" or "forniture"
  ClickLabel *imgApri, *imgAnnulla, *btnCancella, *imgGuida;
  QLabel *lblInfo01, *lblInfo02;
  QPushButton* btnSfondo;  // hidden: only carries the background tile

  void FormShow() override;
  // Rebuilds the list and the count line from the folder; false after a
  // failure, which has been reported.
  bool fillList();
  // The selected entry, or false when none is selected.
  bool selectedEntry(std::string& entry) const;
  void openSelected();
};

}  // namespace zel
