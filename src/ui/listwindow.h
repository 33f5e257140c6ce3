#pragma once
// A list window: one result list built afresh at every showing, with find in
// list, printing and the pick of a line by a double click (the under-stock
// list, the pending payments, the product import's list).
#include <QPushButton>

#include "ui/dialog.h"
#include "ui/resultlist.h"

namespace zel {

class ListWindow : public Dialog {
  Q_OBJECT
 public:
  // Shows the window modally; the list is built as it appears.
  int showModal();

  QPushButton* cmdStampa;
  ResultList* results;

 protected:
  ListWindow(const QString& objectName, const QString& caption, QWidget* parent, const QFont& listFont,
             int listExtent);

  // The button "Annulla" that closes the window (not every list has one).
  QPushButton* addCancelButton();

  // The lines to show, read afresh.
  virtual QStringList buildList() = 0;
  // A double click on a line.
  virtual void pick(const QString&) {}
  virtual void print() {}

  void showEvent(QShowEvent* event) override;
};

}  // namespace zel
