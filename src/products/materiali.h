#pragma once
// The product card: one record of Materiali.pro at a time. The edit boxes and
// the hidden attachment labels are the record being edited; lblPosizione holds
// its record number (empty for a card not yet saved).
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <QUrl>
#include <functional>
#include <memory>

#include "ui/behaviour.h"
#include "ui/cardbinding.h"
#include "ui/mainscreen.h"

class QDialog;

namespace zel {

class TfrmMateriali : public MainScreen {
  Q_OBJECT
 public:
  explicit TfrmMateriali(QWidget* parent = nullptr);
  ~TfrmMateriali() override;

  // The web search address for a brand and a model: the trimmed brand, one
  // space and the trimmed model as the value of q, percent-encoded.
  static QUrl webSearchUrl(const QString& brand, const QString& model);

  // The card's boxes in the order of the Enter cycle.
  QList<QLineEdit*> editBoxes() const;
  CardBinding& binding() { return *binding_; }


  // Edit boxes.
  QLineEdit *txtCodice, *txtTipologia, *txtMarca, *txtModello, *txtAccessori, *txtDescrizione;
  QLineEdit *txtFornitore, *txtRecapito, *txtData, *txtCosto, *txtDocumento, *txtOrdine;
  QLineEdit *txtPrezzo, *txtCollocazione, *txtGiacenza, *txtSottoscorta, *txtNote;
  // Hidden labels with the attachment fields.
  QLabel *lblFile01, *lblFile02, *lblFile03, *lblDesc01, *lblDesc02, *lblDesc03;
  QLabel *lblCartella, *lblCartellaDesc;
  QLabel* lblPosizione;
  // Navigation and command images.
  ClickLabel *imgPrimo, *imgIndietro, *imgAvanti, *imgUltimo;
  ClickLabel *imgNuovo, *imgSalva, *imgTrova, *imgWord, *imgExcel, *imgFile, *imgCartella;
  ClickLabel *imgDoppioTurno, *imgElimina, *imgGuida, *imgEsci;
  QGroupBox *grpLogo, *grpControlli, *grpSezione01, *grpSezione02, *grpSezione03;
  QLabel *icoScatole, *icoLogo04, *imgFornitore, *imgCollocazione, *imgSottoscorta;
  QPushButton* btnSfondo;  // hidden: only carries the background tile

 public slots:
  void imgNuovoMouseUp();
  void imgSalvaMouseUp();
  void imgTrovaMouseUp();
  void imgWordClick();
  void imgExcelMouseUp();
  void imgFileMouseUp();
  void imgCartellaMouseUp();
  void imgDoppioTurnoMouseUp();
  void imgEliminaMouseUp();
  void imgGuidaMouseUp();
  void imgEsciMouseUp();
  void imgPrimoMouseUp();
  void imgIndietroMouseUp();
  void imgAvantiMouseUp();
  void imgUltimoMouseUp();

  void txtPrezzoExit();
  void txtGiacenzaExit();
  void txtSottoscortaExit();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormShow() override;
  // Empties the card and puts the defaults back: a new card.
  void newCard();
  void buildControls();
  void wireCommands();
  QLineEdit* addBox(QGroupBox* group, const char* name, const QString& caption, int maxLength,
                    const QRect& where);
  ClickLabel* addCommand(const char* name, const QString& resource, const QString& caption, int row);
  ClickLabel* addArrow(const char* name, const QString& resource, const QRect& where);
  // The key rule of a number box; true when the key was handled (discarded).
  bool numberBoxKey(QLineEdit* box, QKeyEvent* key);

  std::unique_ptr<CardBinding> binding_;
};

}  // namespace zel
