#pragma once
// A result list as every search and list window shows it: the list of lines
// `lstRecords`, the find box `txtTrova` with its button `cmdTrova02`, and
// the pick of a line by a double click. The lines live in one model, filled
// in one step, so that a long list appears at once.
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringList>
#include <QStringListModel>
#include <functional>

namespace zel {

class ResultList : public QObject {
  Q_OBJECT
 public:
  // Creates the three controls inside `parent`; `extent` is the width in
  // pixels the list scrolls over horizontally.
  ResultList(QWidget* parent, const QFont& font, int extent);

  QListView* lstRecords;
  QLineEdit* txtTrova;
  QPushButton* cmdTrova02;

  // Replaces every line at once.
  void setLines(const QStringList& lines);
  void clear() { setLines({}); }
  const QStringList& lines() const { return lines_; }
  int count() const { return static_cast<int>(lines_.size()); }
  // The selected line's number, or -1.
  int selectedRow() const;
  void selectRow(int row);
  QString selectedLine() const;
  // Forgets the last text searched and empties the find box (at every showing).
  void resetFind();
  // The text the last find looked for.
  const QString& lastSearched() const { return lastSearched_; }
  void setLastSearched(const QString& text) { lastSearched_ = text; }

  // Called with the line double-clicked.
  std::function<void(const QString& line)> onPick;
  // Called by the find button and by Enter in the find box.
  std::function<void()> onFind;

 private:
  QStringListModel model_;
  QStringList lines_;
  QString lastSearched_;
};

}  // namespace zel
