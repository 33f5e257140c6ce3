#pragma once
// A result list as every search and list window shows it: the list of lines
// `lstRecords`, the find box `txtTrova` with its button `cmdTrova02`, and
// the pick of a line by a double click. The view shows the lines straight
// from the core's TextList, in the order the core gave them (the view never
// sorts), and converts only the lines on screen: a list of 100,000 lines
// appears at once. The supply sheet's item list is the same view.
#include <QAbstractListModel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRawFont>
#include <QStyledItemDelegate>
#include <array>
#include <bitset>
#include <functional>
#include <optional>

#include "core/text.h"
#include "core/textlist.h"

namespace zel {

// The lines of a TextList as a list model, read-only.
class TextListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  using QAbstractListModel::QAbstractListModel;
  void setLines(TextList lines);
  const TextList& lines() const { return lines_; }
  int rowCount(const QModelIndex& parent = {}) const override;
  // A row's place straight from the list's length: the view asks for every
  // row's whenever it lays the list out.
  QModelIndex index(int row, int column = 0, const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  TextList lines_;
};

// Paints the lines of a TextListModel as the style paints an item, but for
// their text: in a font whose characters are all as wide (the lists'
// Courier New), a line's glyphs are looked up in a table made once for the
// 256 characters and set side by side, where the style would lay out and
// shape every line it paints, twice over. The style paints what the table
// cannot show as it would: a character without a glyph of its own in the
// font, a line wider than its cell, and the selected line.
class LineDelegate : public QStyledItemDelegate {
 public:
  LineDelegate(QObject* parent, const TextListModel& model);
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  // The glyph table for `font`, made anew when the font is not the last one.
  void useFont(const QFont& font) const;
  // The line of `index` when the table shows it, or nothing.
  std::optional<std::string_view> tableLine(const QStyleOptionViewItem& option, const QModelIndex& index) const;
  // The line's options as the style sees them, with no text to lay out.
  QStyleOptionViewItem withoutText(const QStyleOptionViewItem& option, const QModelIndex& index) const;
  static QStyle* styleOf(const QStyleOptionViewItem& option);

  const TextListModel& model_;
  mutable QFont font_;
  mutable bool tableMade_ = false;
  mutable QRawFont raw_;
  mutable std::array<quint32, 256> glyphs_{};
  mutable std::bitset<256> inTable_;
  mutable qreal advance_ = 0;
};

// A list of lines on one TextListModel: one row per line, every row as high
// as the next and as wide as the extent the list scrolls over, no object
// per line. Single selection; not reachable by Tab.
class LineList : public QListView {
  Q_OBJECT
 public:
  LineList(QWidget* parent, const QFont& font, int extent, int rowHeight);

  // Replaces every line at once, in the order given (no `chosen`).
  void setLines(TextList lines);
  const TextList& lines() const { return model_.lines(); }
  int count() const { return static_cast<int>(lines().size()); }
  // A line as the list shows it.
  QString lineText(int row) const;
  // The current line's number, or -1.
  int currentRow() const;
  // Makes a line current and selected, and scrolls to it (no `chosen`).
  void selectRow(int row);

 signals:
  // The user chose a line: a click, or moving the selection with the keyboard.
  void chosen(int row);
  // A double click with the left button anywhere in the list, over a line
  // or over the blank space below the lines.
  void doubleClickedAnywhere();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  TextListModel model_;
  LineDelegate delegate_;
  bool programmatic_ = false;
};

class ResultList : public QObject {
  Q_OBJECT
 public:
  // Creates the three controls inside `parent`; `extent` is the width in
  // pixels the list scrolls over horizontally.
  ResultList(QWidget* parent, const QFont& font, int extent);

  // Places the three in the parent: the find box (300×22) at `findBox`,
  // "Trova" beside it, and the list of `listSize` 30 pixels below the box.
  void place(QPoint findBox, QSize listSize);
  // Moves the three into `group` (a box inside the parent), shown.
  void moveInto(QWidget* group);
  // The keyboard to the find box.
  void focusFind();

  // Replaces every line at once, in the order given.
  void setLines(TextList lines) { lstRecords->setLines(std::move(lines)); }
  void clear() { setLines({}); }
  const TextList& lines() const { return lstRecords->lines(); }
  int count() const { return lstRecords->count(); }
  // The selected line's number, or -1.
  int selectedRow() const;
  // Selects a line (as the find does: no onSelect).
  void selectRow(int row);
  // The selected line as the list holds it (Windows-1252), or nothing.
  std::optional<Text> selectedLine() const;

  // Find in list (cmdTrova02, or Enter in txtTrova): steps the selection to
  // the next line that holds the text of txtTrova; says so when the list is
  // empty; any other failure is silent.
  void find();
  // Forgets the last text searched and empties the find box (at every showing).
  void resetFind();
  // The key of the last find (lower-cased), for the next one.
  QString lastSearched() const;

  // Called at a double click on the list with the selected line, or with
  // nothing when no line is selected (an empty list, blank space).
  std::function<void(const std::optional<Text>& line)> onPick;
  // Called when the user selects a line: a click, or moving the selection
  // with the keyboard. Not called when find or the program selects a line.
  std::function<void(const Text& line)> onSelect;

 private:
  void userSelected(int row);

  LineList* lstRecords;
  QLineEdit* txtTrova;
  QPushButton* cmdTrova02;
  Text lastKey_;
};

}  // namespace zel
