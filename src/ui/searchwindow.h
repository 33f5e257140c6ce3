#pragma once
// A search window: a criteria page `grpCriteri` with N criteria boxes and a
// result page `grpElenco` with the result list, shown one at a time, and the
// buttons Trova, << Indietro, Stampa and Annulla below them. The opener names
// itself with a caller tag and shows the window; a double click on a line
// hands the chosen record to the caller and closes the window.
#include <QGroupBox>
#include <QLabel>
#include <QList>
#include <QPushButton>

#include "ui/dialog.h"
#include "ui/resultlist.h"

namespace zel {

// Who opened a search; the tag is the text of the hidden label `lblMemory`.
enum class SearchCaller { ClientCard, ProductCard, SupplySheet };
QString callerTag(SearchCaller caller);

class SearchWindow : public Dialog {
  Q_OBJECT
 public:
  // Sets the caller tag and shows the window modally.
  int searchFor(SearchCaller caller);

  QLabel* lblMemory;
  QGroupBox* grpCriteri;
  QGroupBox* grpElenco;
  QPushButton* cmdTrova;
  QPushButton* cmdIndietro;
  QPushButton* cmdStampa;
  QPushButton* cmdAnnulla;
  ResultList* results;

 protected:
  SearchWindow(const QString& objectName, const QString& caption, QWidget* parent, const QFont& listFont,
               int listExtent);

  // The criteria boxes, in Enter order; set once the subclass made them.
  void setCriteria(const QList<QLineEdit*>& criteria);
  const QList<QLineEdit*>& criteria() const { return criteria_; }

  // The window's own search (run by Trova) and pick (double click).
  virtual QStringList search() = 0;
  virtual void pick(const QString& line) = 0;
  // The list printed by Stampa.
  virtual void print() {}

  // Shows the result page with these lines, or the criteria page again.
  void showResults(const QStringList& lines);
  void showCriteria();

 private:
  QList<QLineEdit*> criteria_;
};

}  // namespace zel
