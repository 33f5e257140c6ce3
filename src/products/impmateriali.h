#pragma once
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "ui/listwindow.h"

namespace zel {

// The product import: the product chosen in the list fills the supply
// sheet's item (description, price, supplier) and, unless the user says
// otherwise, its stock in Materiali.pro is lowered by the quantity.
class TfrmImpMateriali : public ListWindow {
  Q_OBJECT
 public:
  explicit TfrmImpMateriali(QWidget* parent = nullptr);

  // Puts the sheet's quantity into the quantity box and shows the window.
  int importWith(const QString& quantity);

  // A line chosen by the user: its product's stock and record number are
  // noted, and Importa can be pressed.
  void lstRecordsClick(const Text& line);
  // Importa.
  void cmdAnnullaClick();
  void txtQuantExit();

 protected:
  TextList buildList(const Progress& progress) override;

 private:
  QLabel* imgClienti;
  QLabel* imgLente;
  QRadioButton* optAggiorna;
  QRadioButton* optNonAggiornare;
  QLineEdit* txtGiacenza;
  QLineEdit* txtQuant;
  QLabel* lblPosizione;
  QPushButton* cmdAnnulla;  // "Importa"
  QLabel* imgMano;          // shown while Importa can be pressed

  void setImportEnabled(bool enabled);
  void colourOptions();
};

}  // namespace zel
