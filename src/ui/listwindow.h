#pragma once
// A list window: one result list built afresh at every showing, with find in
// list, printing and the pick of a line (the under-stock list, the pending
// payments, the product import's list). A long build shows its progress; a
// build the user stops closes the window. Closing the window empties the list.
#include <QGroupBox>
#include <QPushButton>

#include "core/printlayout.h"
#include "core/progress.h"
#include "ui/dialog.h"
#include "ui/resultlist.h"

namespace zel {

class ListWindow : public Dialog {
  Q_OBJECT
 public:
  // Shows the window modally; the list is built as it appears.
  int showModal();
  // The lines of the list, as it shows them, and find in list over them.
  ResultList& resultList() { return *results; }
  const ResultList& resultList() const { return *results; }

  void cmdStampaClick();

 protected:
  QPushButton* cmdStampa;
  ResultList* results;

  ListWindow(const QString& objectName, const QString& caption, QWidget* parent, const QFont& listFont,
             int listExtent, PrintedList printed);

  // The button "Annulla" that closes the window (not every list has one).
  QPushButton* addCancelButton();
  // A group box `grpElenco` at `where` that takes in the result list.
  QGroupBox* addListGroup(const QRect& where);
  // The two instructions of the find above a result list, and the hint
  // under it (by default: pick with a double click).
  void addInstructions(QWidget* parent, int left, int top, int width, int hintTop, const QString& hint = {});

  // The lines to show, read afresh (one progress step per record read).
  // Failures are the window's to keep quiet.
  virtual TextList buildList(const Progress& progress) = 0;
  // A double click on the list: the selected line, or nothing when no line
  // is selected.
  virtual void pick(const std::optional<Text>&) {}
  // What a printed list of this window needs besides its lines.
  virtual QString supplyName() const { return {}; }
  virtual QString total() const { return {}; }

  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  PrintedList printed_;
};

}  // namespace zel
