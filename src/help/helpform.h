#pragma once
// The help window: shows one help topic at a time, handed over by the screen
// that asks for help, and links to the user guide Guida.pdf.
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/base/helptopic.h"
#include "ui/kit.h"
#include "ui/dialog.h"

namespace zel {

// A one-line caption panel: a title too long for it is cut with an ellipsis
// instead of wrapping; text() keeps the whole title.
class TitlePanel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class TfrmHelpForm : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmHelpForm(QWidget* parent = nullptr);

  // Fills the window with the topic (title and body; both replace what the
  // previous topic left) and shows it modally.
  void showTopic(const HelpTopic& topic);
  // Fills the window without showing it.
  void setTopic(const HelpTopic& topic);

 public slots:
  void lblPDFClick();
  void cmdOKClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* imgLogo;
  TitlePanel* panTitle;
  QFrame* panContainer;
  QPlainTextEdit* memTopic;
  ClickLabel* imgPDF;
  ClickLabel* lblPDF;
  QPushButton* cmdOK;

  void setLinkColour(const QColor& colour);
};

}  // namespace zel
