#pragma once
// The two kinds of window a card opens for its attachments: three attached
// files with descriptions, and one associated folder with its description.
// Each card has its own variant of each kind, differing only in a few texts;
// both kinds are the same window with a different number of slots. The card
// hands over its hidden attachment fields and nothing else: the window fills
// its boxes from them and writes the user's choices back into them when the
// user applies ("Applica e chiudi"); closing it any other way writes nothing.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPushButton>

#include "ui/dialog.h"
#include "ui/kit.h"

namespace zel {

// The card a variant serves: the product card words its labels and its
// instructions a little differently.
enum class AttachCard { Client, Supply, Product };
// What a window attaches: three files, or one folder.
enum class AttachKind { Files, Folder };

// One attached item: the read-only path (Backspace empties it), its
// description, "Sfoglia..." and "Apri".
struct AttachmentSlot {
  QGroupBox* grpAllegato = nullptr;
  QLabel* lblFile = nullptr;
  QLineEdit* txtFile = nullptr;
  QLabel* lblDesc = nullptr;
  QLineEdit* txtDesc = nullptr;
  QPushButton* cmdSfoglia = nullptr;
  QPushButton* cmdApri = nullptr;
};

class AttachmentSlotsWindow : public Dialog {
  Q_OBJECT
 public:
  // Fills the boxes from the card's fields (trimmed) and shows the window
  // modally; the fields receive what the user applies.
  int edit(const AttachmentFields& fields);

 protected:
  AttachmentSlotsWindow(const QString& objectName, AttachKind kind, AttachCard card, QWidget* parent);

 private:
  void buildSlot(int i, AttachCard card, const QRect& where);
  void cmdSfogliaClick(int i);
  void cmdApriClick(int i);
  void txtFileChange(int i);
  void cmdApplicaClick();
  // A path the user chose for slot i, or an empty text when the user
  // cancelled. The dialog starts where the slot points.
  QString choosePath(int i);
  // The card's fields behind slot i.
  QLabel* cardPath(int i) const;
  QLabel* cardDescription(int i) const;

  QLabel* lblInfo01;
  QLabel* lblInfo02;
  QLabel* lblInfo03;
  QPushButton* cmdApplica;
  AttachKind kind_;
  QList<AttachmentSlot> items_;
  AttachmentFields fields_;
};

class AttachmentsWindow : public AttachmentSlotsWindow {
  Q_OBJECT
 public:
  AttachmentsWindow(const QString& objectName, AttachCard card, QWidget* parent);

 private:
  QLabel* imgGuida;
};

class FolderWindow : public AttachmentSlotsWindow {
  Q_OBJECT
 public:
  FolderWindow(const QString& objectName, AttachCard card, QWidget* parent);
};

// Shown instead of keeping a chosen path that the record files cannot hold:
// they store Windows-1252 text, and a path with a character outside it would
// be stored altered and then open nothing.
QString unstorablePathMessage();
// Shown instead of keeping a chosen path longer than the record files hold:
// cut to fit, it would open nothing.
QString tooLongPathMessage();
// Shown when "Apri" finds nothing that opens the path: it is gone, or no
// program on the desktop takes its type.
QString unopenedPathMessage(AttachKind kind);

}  // namespace zel
