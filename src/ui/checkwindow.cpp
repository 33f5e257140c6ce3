#include "ui/checkwindow.h"

#include "ui/flow.h"
#include "ui/kit.h"

namespace zel {

CheckWindow::CheckWindow(const QString& objectName, const QString& caption, QWidget* parent,
                         const char* fieldName, const char* info1Name, const char* buttonName, int threshold)
    : Dialog(objectName, caption, parent),
      field_(new QLineEdit(this)),
      info1_(new QLabel(this)),
      info2_(new QLabel(this)),
      button_(new QPushButton(QStringLiteral("Controlla"), this)),
      threshold_(threshold) {
  field_->setObjectName(QString::fromLatin1(fieldName));
  info1_->setObjectName(QString::fromLatin1(info1Name));
  info2_->setObjectName(QStringLiteral("lblInfo02"));
  button_->setObjectName(QString::fromLatin1(buttonName));
  button_->setEnabled(false);
  connect(field_, &QLineEdit::textChanged, this, [this] { button_->setEnabled(complete()); });
  onClick(button_, this, [this] { runCheck(); });
}

int CheckWindow::check(const QString& text) {
  field_->setText(text);
  return flow().runModal(*this);
}

}  // namespace zel
