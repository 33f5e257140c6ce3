#include "attach/attachwindows.h"

#include <QLabel>

#include "ui/behaviour.h"

namespace zel {
namespace {

QLineEdit* box(QWidget* parent, const char* name) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(name));
  return e;
}

QString hiddenText(const QWidget* card, const char* name) {
  const auto* label = card->findChild<const QLabel*>(QString::fromLatin1(name));
  return label ? trimmed(label->text()) : QString();
}

}  // namespace

AttachmentsWindow::AttachmentsWindow(const QString& objectName, const QString& caption, QWidget* parent)
    : Dialog(objectName, caption, parent),
      txtFile01(box(this, "txtFile01")),
      txtFile02(box(this, "txtFile02")),
      txtFile03(box(this, "txtFile03")),
      txtDesc01(box(this, "txtDesc01")),
      txtDesc02(box(this, "txtDesc02")),
      txtDesc03(box(this, "txtDesc03")) {}

void AttachmentsWindow::takeFrom(const QWidget* card) {
  txtFile01->setText(hiddenText(card, "lblFile01"));
  txtFile02->setText(hiddenText(card, "lblFile02"));
  txtFile03->setText(hiddenText(card, "lblFile03"));
  txtDesc01->setText(hiddenText(card, "lblDesc01"));
  txtDesc02->setText(hiddenText(card, "lblDesc02"));
  txtDesc03->setText(hiddenText(card, "lblDesc03"));
}

FolderWindow::FolderWindow(const QString& objectName, const QString& caption, QWidget* parent)
    : Dialog(objectName, caption, parent), txtFile01(box(this, "txtFile01")), txtDesc01(box(this, "txtDesc01")) {}

void FolderWindow::takeFrom(const QWidget* card) {
  txtFile01->setText(hiddenText(card, "lblCartella"));
  txtDesc01->setText(hiddenText(card, "lblCartellaDesc"));
}

}  // namespace zel
