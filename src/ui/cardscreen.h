#pragma once
// A card screen: a main screen that shows one record of an archive at a time
// (the client card, the product card, the supply sheet). The base holds what
// the three share: the binding of the controls to the record layout, new,
// save, delete, the four navigation steps, the attachments and folder
// windows, help and exit. A card describes itself with data (its mandatory
// fields, its deletion texts) and overrides only what is its own.
#include <QLabel>
#include <QList>
#include <functional>
#include <memory>

#include "ui/base/helptopic.h"
#include "ui/base/services.h"
#include "ui/cardbinding.h"
#include "ui/kit.h"
#include "ui/mainscreen.h"

namespace zel {

class AttachmentsWindow;
class FolderWindow;

// A message that refuses a command: a task-modal box with title and icon, or
// a plain message when the title is empty. The focus goes to `focus` after.
struct Refusal {
  QWidget* focus = nullptr;
  QString text;
  QString title;
  MsgIcon icon = MsgIcon::None;

  void show(QWidget* parent) const;
};

// A field that must not be blank (after trimming) for the card to be saved.
struct MandatoryField {
  QWidget* control;
  Refusal refusal;  // its focus is the control itself
};

// What deleting says: the refusal on a card not yet stored, and the question.
struct DeleteTexts {
  Refusal notStored;
  QString question;
  QString questionTitle;
  MsgIcon questionIcon = MsgIcon::Question;
};

class CardScreen : public MainScreen {
  Q_OBJECT
 public:
  // The card's link to its archive.
  CardBinding& binding() { return *binding_; }
  // The hidden attachment fields: the one way to them.
  const AttachmentFields& attachmentFields() const { return attachments_; }
  // Shows record k as the stored card (a search window's pick).
  void showRecord(const Record& record, size_t k);

  ~CardScreen() override;

 protected:
  // The record number of the card shown (empty for a card not yet saved).
  QLabel* lblPosizione = nullptr;

  CardScreen(const QString& objectName, const QString& caption, const Layout& layout,
             std::function<CardArchive()> archive, QWidget* parent = nullptr);

  // Creates the eight hidden attachment fields inside `parent`.
  void createAttachmentFields(QWidget* parent);
  // Binds the controls, found by name, to the layout's fields and gives
  // every edit box its field's capacity. Called once the card's controls and
  // its position label exist.
  void bindCard();
  void setMandatoryFields(QList<MandatoryField> fields) { mandatory_ = std::move(fields); }
  // Wires the save command and the four navigation steps, with the status
  // texts every card gives them.
  void wireSaveAndNavigation(QWidget* save, QWidget* first, QWidget* previous, QWidget* next, QWidget* last);
  void setDeleteTexts(DeleteTexts texts) { deleteTexts_ = std::move(texts); }

  // ---- the shared commands ----
  // Empties the card (defaults put back) and focuses the first field.
  void newCardCommand();
  // Saves after the mandatory fields are checked, and after checking that
  // the archive can hold every character of the card.
  void saveCommand();
  // Asks, deletes the card shown and starts a new one.
  void deleteCommand();
  void firstCommand() { binding_->navigate(NavStep::First); }
  void previousCommand() { binding_->navigate(NavStep::Previous); }
  void nextCommand() { binding_->navigate(NavStep::Next); }
  void lastCommand() { binding_->navigate(NavStep::Last); }
  void attachmentsCommand();
  void folderCommand();
  void helpCommand();
  void exitCommand() { close(); }

  // ---- what each card gives ----
  virtual QWidget* firstField() const = 0;
  virtual HelpTopic helpTopic() const = 0;
  // A new window of the card's variant, owned by the card for one use.
  virtual std::unique_ptr<AttachmentsWindow> newAttachmentsWindow() = 0;
  virtual std::unique_ptr<FolderWindow> newFolderWindow() = 0;
  // The empty card: puts the defaults back after everything was emptied.
  virtual void setDefaults() {}
  // Runs once the mandatory fields are there, before the record is read from
  // the controls; false stops the save (the card said why).
  virtual bool beforeSave() { return true; }
  // Adjusts the record just before it is written; a StoreError stops the
  // save with the archive message.
  virtual void prepareRecord(Record&) {}
  // After a save stored `record`.
  virtual void afterSave(const Record&) {}
  // After a deletion emptied the card.
  virtual void afterDelete() { newCardCommand(); }

  // Back in front of the user, an unedited card shows its record as the
  // archive now holds it: meanwhile a product import may have lowered a
  // stock, here or at another desk.
  bool event(QEvent* event) override;

 private:
  // True, having said so, when a field holds a character the archive's
  // code page cannot hold (it would be stored as '?').
  bool refuseUnstorableText();

  const Layout& layout_;
  std::function<CardArchive()> archive_;
  std::unique_ptr<CardBinding> binding_;
  AttachmentFields attachments_;
  QList<MandatoryField> mandatory_;
  DeleteTexts deleteTexts_;
};

}  // namespace zel
