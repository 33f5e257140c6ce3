#pragma once
// The supply sheet: the card of one item of the open supply above, the list
// of every item with the total of the amounts below.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/cardscreen.h"
#include "ui/pickreceiver.h"
#include "ui/resultlist.h"

namespace zel {

class TfrmForniture : public CardScreen, public PickReceiver, public SupplyOnSheet {
  Q_OBJECT
 public:
  explicit TfrmForniture(QWidget* parent = nullptr);

  // Opens a supply: the file's full path goes into lblFile, the name into the
  // title panel, and the sheet is shown in place of `from`.
  void openSupply(const QString& file, const QString& name);
  // The client chosen in the client search goes into txtCliente.
  void setClient(const QString& persona) override;
  // The product chosen in the product import: its description, unit price
  // and supplier. The quantity and the amount stay as they are.
  void setProduct(const QString& description, const QString& price, const QString& supplier) override;

  // The supply file as lblFile names it now (trimmed).
  QString supplyFile() const override;
  // The open supply's name, as its title panel shows it.
  QString supplyName() const override { return panClasse->text(); }
  // Shows an item as record number k (a search or pending list's double click).
  void showItem(const Record& item, size_t k) override { showRecord(item, k); }

  // The sheet's own commands (the shared ones are the base's).
  void cmdNuovoClick();
  void cmdCancellaClick();
  // Returns false when the values could not be read (the message was shown).
  bool cmdCalcolaClick();
  void calculateCommand();
  void lstStudentiClick();
  void impClienteClick();
  void impProdottoClick();
  void cmdRicercaClick();
  void cmdSospesiClick();
  void cmdWordClick();
  void cmdExcelClick();
  void cmdStampaClick();
  void txtQuantitaExit();
  void txtPrezzoExit();
  void txtImportoExit();
  // Reloads the item list and the total from the supply file.
  void loadItemList();

 protected:
  void FormShow() override;
  QWidget* firstField() const override { return txtProdotto; }
  HelpTopic helpTopic() const override;
  std::unique_ptr<AttachmentsWindow> newAttachmentsWindow() override;
  std::unique_ptr<FolderWindow> newFolderWindow() override;
  // Saving stores quantity × price as the amount and reloads the list.
  bool beforeSave() override;
  void prepareRecord(Record& record) override;
  void afterSave(const Record& stored) override;
  void afterDelete() override { newItem(false); }

 private:
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
  LineList* lstStudenti;  // despite its name, the list of the supply's items
  QLabel* infTotale;
  QLabel* repTotale;

  QWidget* panDati01;
  QWidget* panDati02;
  QLabel* panInfo;

  // Set by openSupply: the supply file's full path (hidden) and the
  // supply's name in the title panel.
  QLabel* lblFile;
  QLabel* panClasse;

  void buildToolbar();
  void buildFields();
  void buildItemList();
  void bindEvents();
  void bindStatusTexts();
  void setRules();
  // Every field to its default; `keepDelivery` keeps place, client,
  // supplier, consignee and carrier (Nuovo).
  void resetFields(bool keepDelivery);
  // Resets the card, reloads the list, empties the position, focus to the product.
  void newItem(bool keepDelivery);
  CardArchive archive() const;
};

}  // namespace zel
