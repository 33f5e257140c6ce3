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

#include "ui/cardscreen.h"

namespace zel {

class TfrmMateriali : public CardScreen {
  Q_OBJECT
 public:
  explicit TfrmMateriali(QWidget* parent = nullptr);

  // The web search address for a brand and a model: the trimmed brand, one
  // space and the trimmed model as the value of q, percent-encoded.
  static QUrl webSearchUrl(const QString& brand, const QString& model);

  // The card's boxes in the order of the Enter cycle.
  QList<QLineEdit*> editBoxes() const;

 public slots:
  // The card's own commands (the shared ones are the base's).
  void imgTrovaMouseUp();
  void imgWordClick();
  void imgExcelMouseUp();
  void imgDoppioTurnoMouseUp();
  void imgEliminaMouseUp();

  void txtPrezzoExit();
  void txtGiacenzaExit();
  void txtSottoscortaExit();

 protected:
  void FormShow() override { newCardCommand(); }
  QWidget* firstField() const override { return txtCodice; }
  HelpTopic helpTopic() const override;
  std::unique_ptr<AttachmentsWindow> newAttachmentsWindow() override;
  std::unique_ptr<FolderWindow> newFolderWindow() override;
  // A new card shows price "0,00", stock "0" and threshold "0".
  void setDefaults() override;
  void prepareRecord(Record& record) override;
  void afterSave(const Record& stored) override;

 private:
  // Edit boxes.
  QLineEdit *txtCodice, *txtTipologia, *txtMarca, *txtModello, *txtAccessori, *txtDescrizione;
  QLineEdit *txtFornitore, *txtRecapito, *txtData, *txtCosto, *txtDocumento, *txtOrdine;
  QLineEdit *txtPrezzo, *txtCollocazione, *txtGiacenza, *txtSottoscorta, *txtNote;
  // Navigation and command images.
  ClickLabel *imgPrimo, *imgIndietro, *imgAvanti, *imgUltimo;
  ClickLabel *imgNuovo, *imgSalva, *imgTrova, *imgWord, *imgExcel, *imgFile, *imgCartella;
  ClickLabel* imgDoppioTurno;  // the under-stock list
  ClickLabel* imgElimina;      // despite its name, the web search of the article
  ClickLabel *imgGuida, *imgEsci;
  QGroupBox *grpLogo, *grpControlli, *grpSezione01, *grpSezione02, *grpSezione03;
  QLabel *icoScatole, *icoLogo04, *imgFornitore, *imgCollocazione, *imgSottoscorta;
  QPushButton* btnSfondo;  // hidden: only carries the background tile

  void buildControls();
  void wireCommands();
  QLineEdit* addBox(QGroupBox* group, const char* name, const QString& caption, const QRect& where);
  ClickLabel* addCommand(const char* name, const QString& resource, const QString& caption, int row);
};

}  // namespace zel
