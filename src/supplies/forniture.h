#pragma once
// The supply sheet: the card of one item of the open supply above, the list
// of every item with the total of the amounts below.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <functional>
#include <memory>

#include "ui/behaviour.h"
#include "ui/cardbinding.h"
#include "ui/mainscreen.h"

class QDialog;

namespace zel {

class TfrmForniture : public MainScreen {
  Q_OBJECT
 public:
  explicit TfrmForniture(QWidget* parent = nullptr);
  ~TfrmForniture() override;

  // Set by the open-supply window: the supply file's full path (hidden) and
  // the supply's name in the title panel.
  QLabel* lblFile;
  QLabel* panClasse;

  // The item's fields, in the order of the Enter chain.
  QLineEdit* txtProdotto;
  QLineEdit* txtData;
  QLineEdit* txtOra;
  QLineEdit* txtLuogo;
  QLineEdit* txtQuantita;
  QLineEdit* txtPrezzo;
  QLineEdit* txtImporto;
  QLineEdit* txtUM;
  QComboBox* txtPagamento;
  QLineEdit* txtAspetto;
  QLineEdit* txtCliente;
  QLineEdit* txtFornitore;
  QLineEdit* txtConsegnatario;
  QLineEdit* txtVettore;
  QLineEdit* txtAnnotazioni;

  // Hidden attachment and folder fields, written by the attachments and
  // folder windows and stored with the item at the next save.
  QLabel* lblFile01;
  QLabel* lblFile02;
  QLabel* lblFile03;
  QLabel* lblDesc01;
  QLabel* lblDesc02;
  QLabel* lblDesc03;
  QLabel* lblCartella;
  QLabel* lblCartellaDesc;
  // Number of the item on screen; empty for a new item.
  QLabel* lblPosizione;

  QLabel* lblPer;            // the "X" between quantity and price
  QPushButton* cmdCalcola;   // "=" between price and amount
  ClickLabel* impProdotto;
  ClickLabel* impCliente;

  // Toolbar.
  ClickLabel* cmdNuovo;
  ClickLabel* cmdCancella;
  ClickLabel* cmdSalva;
  ClickLabel* cmdRicerca;
  ClickLabel* cmdAllega;
  ClickLabel* cmdAssocia;
  ClickLabel* cmdWord;
  ClickLabel* cmdExcel;
  ClickLabel* imgPrimo;
  ClickLabel* imgIndietro;
  ClickLabel* imgAvanti;
  ClickLabel* imgUltimo;
  ClickLabel* cmdSospesi;
  QLabel* imgDecorazione;
  ClickLabel* cmdGuida;
  ClickLabel* cmdElimina;
  ClickLabel* cmdEsci;

  // The item list and its total.
  QLabel* panTitolo;
  QLabel* panIstruzioni;
  QPushButton* cmdStampa;
  QListWidget* lstStudenti;
  QLabel* infTotale;
  QLabel* repTotale;

  QWidget* panDati01;
  QWidget* panDati02;
  QLabel* panInfo;


  // The card: its controls bound to the supply item layout, its archive the
  // supply file named in lblFile at the moment of each action.
  CardBinding& card() { return *card_; }
  // The supply file as lblFile names it now (trimmed).
  QString supplyFile() const;
  // Shows an item as record number k (a search or pending list's double click).
  void showItem(const Record& item, size_t k);

  // Event handlers.
  void FormShow() override;
  void cmdNuovoClick();
  void cmdCancellaClick();
  void cmdSalvaClick();
  // Returns false when the values could not be read (the message was shown).
  bool cmdCalcolaClick();
  void cmdEliminaClick();
  void imgPrimoClick();
  void imgIndietroClick();
  void imgAvantiClick();
  void imgUltimoClick();
  void lstStudentiClick();
  void impClienteClick();
  void impProdottoClick();
  void cmdRicercaClick();
  void cmdSospesiClick();
  void cmdAllegaClick();
  void cmdAssociaClick();
  void cmdWordClick();
  void cmdExcelClick();
  void cmdStampaClick();
  void cmdGuidaClick();
  void cmdEsciClick();
  void txtQuantitaExit();
  void txtPrezzoExit();
  void txtImportoExit();
  // Reloads the item list and the total from the supply file.
  void loadItemList();

 protected:

 private:
  void buildToolbar();
  void buildFields();
  void buildItemList();
  void bindEvents();
  void bindStatusTexts();
  // Every field to its default; `keepDelivery` keeps place, client,
  // supplier, consignee and carrier (Nuovo).
  void resetFields(bool keepDelivery);
  // Resets the card, reloads the list, empties the position, focus to the product.
  void newItem(bool keepDelivery);
  CardArchive archive() const;
  void numberFilter(QLineEdit* box, const char* defaultText);

  std::unique_ptr<CardBinding> card_;
  bool reloading_ = false;
};

}  // namespace zel
