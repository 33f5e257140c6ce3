#pragma once
// Binds a card window's controls to a record layout: the layout's table says
// which control edits which field, so filling the card, building the record
// and the save / navigation / delete commands are written once for every
// card window.
#include <QLabel>
#include <QList>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

#include "output/core/cards.h"
#include "store/card.h"

class QWidget;

namespace zel {

// Texts of the card conventions shared by every card window.
namespace cardtext {
QString savedUpdate();        // "Le modifiche apportate ..."
QString savedUpdateTitle();
QString savedInsert();        // "La scheda corrente è stata inserita in archivio."
QString savedInsertTitle();
QString emptyArchive();       // "L'archivio non contiene nessuna scheda."
QString emptyArchiveTitle();
}  // namespace cardtext

// The text of any kind of card control (line edit, multi-line box, editable
// drop-down, label) and its setter.
QString controlText(const QWidget* control);
void setControlText(QWidget* control, const QString& text);

// Notes that this program rewrote record k of `file` without a card (the
// product import lowers a stock). A card that read that record before then
// knows the change was made here, not at another desk.
void noteRewrittenHere(const std::filesystem::path& file, size_t k);

class CardBinding {
 public:
  // Finds, inside `form`, the control of every field by its object name.
  // `archive` is asked at each action, so a supply sheet can point at the
  // supply file open at that moment.
  CardBinding(QWidget* form, const Layout& layout, QLabel* positionLabel,
              std::function<CardArchive()> archive);

  const Layout& layout() const { return *layout_; }
  QWidget* control(size_t field) const { return controls_[field]; }
  QWidget* control(std::string_view fieldName) const;
  QLabel* positionLabel() const { return position_; }
  QString position() const { return position_->text(); }

  // Empties every control (hidden ones included) and the position label.
  void clear();
  // Shows a record as number k, and remembers it: saving over it or deleting
  // it is refused if another instance has changed what record k holds.
  void show(const Record& record, size_t k);
  // Puts the record's fields into the controls (trimmed).
  void fill(const Record& record);
  // The record as the controls hold it: each text trimmed and cut.
  Record read() const;

  // The card commands. Each opens the archive, does its work, closes it and
  // gives the convention's message; an archive failure gives the access
  // message (or the busy or changed-card message) and leaves the card as it
  // was. They return true on success.
  // `prepare` may adjust the record just before it is written.
  bool save(const std::function<void(Record&)>& prepare = {});
  bool navigate(NavStep step);
  // Deletes the record on screen (the window has asked for confirmation) and
  // empties the card.
  bool deleteShown();
  // Loads record k from the archive (a search window's double click).
  bool load(size_t k);
  // Whether the controls hold anything but the record as shown or saved.
  bool edited() const;
  // The card comes back on screen: left unedited, it shows its record as the
  // archive now holds it. Failures are silent; the card stays as it was.
  void refresh();

  std::function<CardArchive()> archive;

 private:
  // What the archive held at the number shown, when this card read or wrote
  // it; nothing when the label does not name that number.
  const Record* shownAt(const QString& label) const;
  // Remembers the record the card now shows as number k.
  void remember(Record record, size_t k);
  // The refusal of a save or delete over a record that changed since the
  // card read it: this program's own rewrite is not another desk's.
  QString changedMessage() const;

  QWidget* form_;
  const Layout* layout_;
  QLabel* position_;
  QList<QWidget*> controls_;
  std::optional<Record> shown_;
  size_t shownNumber_ = 0;
  uint64_t shownAfterRewrite_ = 0;  // the rewrites noted here before the card read it
};

// The text of the card's control for each record field, as it stands: what
// a card's Word export writes.
FieldText cardFields(const CardBinding& binding);

}  // namespace zel
