#pragma once
// The client card: one client of Anagrafica.pro at a time, with new, save,
// navigation, delete, search, exports, attachments, the identifier checks and
// an e-mail to the client.
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>
#include <memory>

#include "ui/behaviour.h"
#include "ui/cardbinding.h"
#include "ui/mainscreen.h"

namespace zel {

class TfrmDestinatari : public MainScreen {
  Q_OBJECT
 public:
  explicit TfrmDestinatari(QWidget* parent = nullptr);
  ~TfrmDestinatari() override;

  // The card's link to the archive (the client search loads records with it).
  CardBinding& binding() { return *binding_; }

  // The "mailto:" link for an address: the trimmed address, percent-encoded
  // so that it can never carry a subject, a body or further headers.
  static QUrl mailtoUrl(const QString& address);

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

  // Position label and hidden fields.
  QLabel* lblPosizione;
  QLabel *lblFile01, *lblFile02, *lblFile03, *lblDesc01, *lblDesc02, *lblDesc03, *lblCartella,
      *lblCartellaDesc;

  // Data controls.
  QLineEdit *txtCodice, *txtPersona, *txtUfficio, *txtIndirizzo, *txtCitta;
  QLineEdit *txtTipoDoc, *txtNumDoc, *txtEnteDoc, *txtRilDoc, *txtScaDoc;
  QLineEdit *txtCodFisc, *txtIva;
  QLineEdit *txtCarta, *txtTipoCarta, *txtScaCarta, *txtIban, *txtBanca, *txtIntestatario,
      *txtPagamento;
  QLineEdit *txtTelCasa, *txtTelUff, *txtTelCel, *txtFax, *txtEmail;
  QPlainTextEdit* txtNote;

  // The data controls in Enter (and Tab) order.
  QList<QWidget*> dataControls() const;

 public slots:
  void cmdNuovoClick();
  void cmdSalvaClick();
  void imgPrimoClick();
  void imgIndietroClick();
  void imgAvantiClick();
  void imgUltimoClick();
  void cmdEliminaClick();
  void cmdRicercaClick();
  void cmdWordClick();
  void cmdExcelClick();
  void cmdAllegaClick();
  void cmdAssociaClick();
  void chkCodFiscClick();
  void chkIvaClick();
  void chkNumCartaClick();
  void chkIbanClick();
  void imgEmailClick();
  void cmdGuidaClick();
  void cmdEsciClick();
  void FormShow() override;

 protected:

 private:
  void buildToolbar();
  void buildPanels();
  void wireCommands();
  QGroupBox* toolGroup(const char* name, int left, int width);
  QFrame* panel(const char* name, const QRect& where);
  ClickLabel* command(const char* name, QWidget* parent, const QString& resource, const QRect& where);
  QLineEdit* edit(const char* name, QWidget* panel, const QString& caption, int left, int top, int width,
                  int captionWidth = -1);
  QLabel* caption(QWidget* panel, const QString& text, const QRect& where);
  void newCard();

  std::unique_ptr<CardBinding> binding_;
};

}  // namespace zel
