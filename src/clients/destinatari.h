#pragma once
// The client card: one client of Anagrafica.pro at a time, with new, save,
// navigation, delete, search, exports, attachments, the identifier checks and
// an e-mail to the client.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QUrl>

#include "ui/cardscreen.h"

namespace zel {

class TfrmDestinatari : public CardScreen {
  Q_OBJECT
 public:
  explicit TfrmDestinatari(QWidget* parent = nullptr);

  // The "mailto:" link for an address: the trimmed address, percent-encoded
  // so that it can never carry a subject, a body or further headers.
  static QUrl mailtoUrl(const QString& address);

  // The data controls in Enter (and Tab) order.
  QList<QWidget*> dataControls() const;

  // The card's own commands (the shared ones are the base's).
  void cmdRicercaClick();
  void cmdWordClick();
  void cmdExcelClick();
  void chkCodFiscClick();
  void chkIvaClick();
  void chkNumCartaClick();
  void chkIbanClick();
  void imgEmailClick();

 protected:
  void FormShow() override { newCardCommand(); }
  QWidget* firstField() const override { return txtCodice; }
  HelpTopic helpTopic() const override;
  std::unique_ptr<AttachmentsWindow> newAttachmentsWindow() override;
  std::unique_ptr<FolderWindow> newFolderWindow() override;

 private:
  // Toolbar group boxes and panels.
  QGroupBox *grpControlli, *grpWord, *grpExcel, *grpFrecce, *grpAllega, *grpAssocia, *grpDecoro,
      *grpGuida, *grpElimina, *grpEsci;
  QFrame *panRiquadro01, *panRiquadro02, *panRiquadro03, *panRiquadro04, *panRiquadro05,
      *panRiquadro06, *panRiquadro07;
  QLabel* panInfo;

  // Commands.
  ClickLabel *cmdNuovo, *cmdSalva, *cmdRicerca, *cmdWord, *cmdExcel, *imgPrimo, *imgIndietro,
      *imgAvanti, *imgUltimo, *cmdAllega, *cmdAssocia, *cmdGuida, *cmdElimina, *cmdEsci;
  ClickLabel *chkCodFisc, *chkIva, *chkNumCarta, *chkIban, *imgEmail;
  QLabel *imgDecoro, *imgRiquadro;

  // Data controls.
  QLineEdit *txtCodice, *txtPersona, *txtUfficio, *txtIndirizzo, *txtCitta;
  QLineEdit *txtTipoDoc, *txtNumDoc, *txtEnteDoc, *txtRilDoc, *txtScaDoc;
  QLineEdit *txtCodFisc, *txtIva;
  QLineEdit *txtCarta, *txtTipoCarta, *txtScaCarta, *txtIban, *txtBanca, *txtIntestatario,
      *txtPagamento;
  QLineEdit *txtTelCasa, *txtTelUff, *txtTelCel, *txtFax, *txtEmail;
  QPlainTextEdit* txtNote;

  void buildToolbar();
  void buildPanels();
  void wireCommands();
  void setRules();
  QGroupBox* toolGroup(const char* name, int left, int width);
  QLineEdit* edit(const char* name, QWidget* panel, const QString& caption, int left, int top, int width,
                  int captionWidth = -1);
};

}  // namespace zel
