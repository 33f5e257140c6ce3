#pragma once
// A search window: a criteria page `grpCriteri` with its criteria boxes and a
// result page `grpElenco` with the result list, shown one at a time in the
// same place, and the buttons << Indietro, Stampa, Trova and Annulla below
// them. The opener names itself with a caller tag and shows the window; a
// double click on a line hands the chosen record to the caller and closes
// the window. The three searches (clients, products, supply items) differ
// only in their criteria, their archive and where a pick goes.
#include <QGroupBox>
#include <QLabel>
#include <QList>
#include <QPushButton>
#include <initializer_list>

#include "core/printlayout.h"
#include "store/recordsearch.h"
#include "ui/dialog.h"
#include "ui/resultlist.h"

namespace zel {

// Who opened a search; the tag is the text of the hidden label `lblMemory`.
enum class SearchCaller { ClientCard, ProductCard, SupplySheet };
QString callerTag(SearchCaller caller);

// What one search window looks like and prints.
struct SearchLook {
  QString title;         // on the navy band of the criteria page
  QString whatToFind;    // the second line of the instructions ("dei clienti da cercare ...")
  QColor background;
  QFont criteriaFont;    // the criteria boxes (bold)
  QFont listFont;
  int listExtent = 0;    // pixels the list scrolls over horizontally
  PrintedList printed;
  bool countLabel = false;  // the count of filled criteria shows in a hidden lblConta
};

// One criteria box: its control name, its caption and the record field it
// searches.
struct CriterionBox {
  const char* name;
  const char* caption;  // UTF-8
  size_t field;
};

class SearchWindow : public Dialog {
  Q_OBJECT
 public:
  // Sets the caller tag and shows the window modally.
  int searchFor(SearchCaller caller);
  // The lines found at the last Trova, as the result page shows them, and
  // find in list over them.
  ResultList& resultList() { return *results; }
  const ResultList& resultList() const { return *results; }

  // Trova: counts the filled criteria, searches (with progress and cancel
  // when it takes long) and shows the result page; an archive failure says
  // so and keeps the criteria page, as does a search the user stopped,
  // without a word.
  void cmdTrovaClick();
  // << Indietro: back to the criteria, which keep their texts.
  void cmdIndietroClick();
  void cmdStampaClick();
  // The number of criteria filled at the last Trova.
  int filledCriteria() const { return filled_; }

 protected:
  SearchWindow(const QString& objectName, const QString& caption, QWidget* parent, const SearchLook& look);

  // Makes the criteria boxes, in Enter (and Tab) order, laid out two to a
  // row.
  void addCriteria(std::initializer_list<CriterionBox> boxes);

  // The window's own search over its archive (StoreError when it cannot be
  // read; one progress step per record) and pick of a double-clicked line.
  // A pick that fails loads nothing and closes the window without a word.
  virtual TextList search(const Criteria& criteria, const Progress& progress) = 0;
  virtual void pick(const Text& line) = 0;
  // The supply the printed list is titled after (the supply search).
  virtual QString supplyName() const { return {}; }

  // True when the caller tag, trimmed, names `caller`.
  bool calledBy(SearchCaller caller) const;

  void showEvent(QShowEvent* event) override;
  // Every way of closing (Annulla, the close box, Escape, a pick) leaves
  // the window as it was first shown.
  void done(int result) override;

 private:
  void showResults(TextList lines);
  void showCriteria();

  QLabel* lblMemory;
  QLabel* lblConta = nullptr;  // only where the window has it
  QGroupBox* grpCriteri;
  QGroupBox* grpElenco;
  QLabel* lblTitolo;
  QPushButton* cmdTrova;
  QPushButton* cmdIndietro;
  QPushButton* cmdStampa;
  QPushButton* cmdAnnulla;
  ResultList* results;
  SearchLook look_;
  QList<QLineEdit*> criteria_;
  std::vector<size_t> fields_;
  int filled_ = 0;
};

}  // namespace zel
