#pragma once
// The two kinds of window a card opens for its attachments: three attached
// files with descriptions, and one associated folder with its description.
// Each card has its own variant of each kind; they share these bases. The
// card hands over its hidden attachment fields and nothing else: the window
// fills its boxes from them and writes the user's choices back into them.
#include <QLineEdit>

#include "ui/dialog.h"
#include "ui/kit.h"

namespace zel {

class AttachmentsWindow : public Dialog {
  Q_OBJECT
 public:
  AttachmentsWindow(const QString& objectName, const QString& caption, QWidget* parent);

  // Fills the six boxes from the card's fields (trimmed) and shows the
  // window modally; the fields receive what the user applies.
  int edit(const AttachmentFields& fields);

  QLineEdit* txtFile01;
  QLineEdit* txtFile02;
  QLineEdit* txtFile03;
  QLineEdit* txtDesc01;
  QLineEdit* txtDesc02;
  QLineEdit* txtDesc03;

 protected:
  // The card's fields while the window is open.
  const AttachmentFields& cardFields() const { return fields_; }

 private:
  AttachmentFields fields_;
};

class FolderWindow : public Dialog {
  Q_OBJECT
 public:
  FolderWindow(const QString& objectName, const QString& caption, QWidget* parent);

  // Fills the folder and its description from the card's fields (trimmed)
  // and shows the window modally.
  int edit(const AttachmentFields& fields);

  QLineEdit* txtFile01;
  QLineEdit* txtDesc01;

 protected:
  const AttachmentFields& cardFields() const { return fields_; }

 private:
  AttachmentFields fields_;
};

}  // namespace zel
