#pragma once
// The two kinds of window a card opens for its attachments: three attached
// files with descriptions, and one associated folder with its description.
// Each card has its own class of each kind; they share these bases.
#include <QLineEdit>

#include "ui/dialog.h"

namespace zel {

class AttachmentsWindow : public Dialog {
  Q_OBJECT
 public:
  AttachmentsWindow(const QString& objectName, const QString& caption, QWidget* parent);

  // Fills the six boxes from the card's hidden labels lblFile01..lblFile03
  // and lblDesc01..lblDesc03, trimmed.
  void takeFrom(const QWidget* card);

  QLineEdit* txtFile01;
  QLineEdit* txtFile02;
  QLineEdit* txtFile03;
  QLineEdit* txtDesc01;
  QLineEdit* txtDesc02;
  QLineEdit* txtDesc03;
};

class FolderWindow : public Dialog {
  Q_OBJECT
 public:
  FolderWindow(const QString& objectName, const QString& caption, QWidget* parent);

  // Fills the folder and its description from the card's hidden labels
  // lblCartella and lblCartellaDesc, trimmed.
  void takeFrom(const QWidget* card);

  QLineEdit* txtFile01;
  QLineEdit* txtDesc01;
};

}  // namespace zel
