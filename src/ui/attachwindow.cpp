#include "ui/attachwindow.h"

#include "ui/behaviour.h"
#include "ui/flow.h"

namespace zel {
namespace {

QLineEdit* box(QWidget* parent, const char* name) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(name));
  return e;
}

void fill(QLineEdit* box, const QLabel* field) { box->setText(field ? trimmed(field->text()) : QString()); }

}  // namespace

AttachmentsWindow::AttachmentsWindow(const QString& objectName, const QString& caption, QWidget* parent)
    : Dialog(objectName, caption, parent),
      txtFile01(box(this, "txtFile01")),
      txtFile02(box(this, "txtFile02")),
      txtFile03(box(this, "txtFile03")),
      txtDesc01(box(this, "txtDesc01")),
      txtDesc02(box(this, "txtDesc02")),
      txtDesc03(box(this, "txtDesc03")) {}

int AttachmentsWindow::edit(const AttachmentFields& fields) {
  fields_ = fields;
  QLineEdit* const files[] = {txtFile01, txtFile02, txtFile03};
  QLineEdit* const descriptions[] = {txtDesc01, txtDesc02, txtDesc03};
  for (int i = 0; i < 3; ++i) {
    fill(files[i], fields.file[i]);
    fill(descriptions[i], fields.description[i]);
  }
  return flow().runModal(*this);
}

FolderWindow::FolderWindow(const QString& objectName, const QString& caption, QWidget* parent)
    : Dialog(objectName, caption, parent), txtFile01(box(this, "txtFile01")), txtDesc01(box(this, "txtDesc01")) {}

int FolderWindow::edit(const AttachmentFields& fields) {
  fields_ = fields;
  fill(txtFile01, fields.folder);
  fill(txtDesc01, fields.folderDescription);
  return flow().runModal(*this);
}

}  // namespace zel
