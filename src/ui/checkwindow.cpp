#include "ui/checkwindow.h"

#include <QKeyEvent>
#include <QPainter>
#include <QValidator>
#include <algorithm>

#include "ui/base/flow.h"
#include "ui/base/services.h"
#include "ui/kit.h"

namespace zel {
namespace {

constexpr int kMargin = 12;
constexpr QRect logoPlace(int width) { return {kMargin, 8, width - 2 * kMargin, 56}; }
constexpr int kInfoTop = 70;
constexpr int kInfoHeight = 16;
constexpr QRect framePlace(int width) { return {kMargin, 110, width - 2 * kMargin, 60}; }
constexpr int kFieldInset = 12;
constexpr int kFieldHeight = 36;
constexpr int kButtonTop = 182;
constexpr QSize kButton{130, 30};
constexpr int kHeight = 224;

// A drawn rectangle: an outline, and a fill that may be hatched.
class Shape : public QWidget {
 public:
  Shape(const char* name, const QBrush& fill, const QColor& outline, QWidget* parent)
      : QWidget(parent), fill_(fill), outline_(outline) {
    setObjectName(QString::fromLatin1(name));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), fill_);
    p.setPen(outline_);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }

 private:
  QBrush fill_;
  QColor outline_;
};

QLabel* logo(const CheckWindowData& data, QWidget* parent) {
  auto* l = new QLabel(parent);
  l->setObjectName(QStringLiteral("imgLogo"));
  l->setGeometry(logoPlace(data.width));
  l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  l->setPixmap(QPixmap(QString::fromLatin1(data.logo)));
  return l;
}

// The frame around the box: hatched on the window's silver, or plain on a
// background shape of its own.
QWidget* frame(const CheckWindowData& data, QWidget* parent) {
  const QBrush fill = data.backgroundName ? QBrush(Qt::NoBrush) : QBrush(kNavy, Qt::BDiagPattern);
  auto* s = new Shape("shpContainer", fill, data.backgroundName ? Qt::white : kNavy, parent);
  const QRect place = framePlace(data.width);
  s->setGeometry(data.backgroundName ? place.adjusted(4, 4, -4, -4) : place);
  return s;
}

QWidget* backgroundShape(const CheckWindowData& data, QWidget* parent) {
  if (!data.backgroundName) return nullptr;
  auto* s = new Shape(data.backgroundName, QBrush(kNavy), kNavy, parent);
  s->setGeometry(framePlace(data.width));
  return s;
}

QLabel* infoLine(const char* name, const char* text, int line, int width, QWidget* parent) {
  auto* l = new QLabel(QString::fromUtf8(text), parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setGeometry(kMargin, kInfoTop + line * kInfoHeight, width - 2 * kMargin, kInfoHeight);
  l->setFont(uiFont(FontFamily::Verdana, pt(8)));
  return l;
}

QLineEdit* box(const CheckWindowData& data, QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(data.fieldName));
  const QRect f = framePlace(data.width);
  e->setGeometry(f.left() + kFieldInset, f.top() + (f.height() - kFieldHeight) / 2,
                 f.width() - 2 * kFieldInset, kFieldHeight);
  e->setFont(uiFont(FontFamily::CourierNew, px(24), Bold));
  applyFocusColour(e, Qt::white);
  return e;
}

QPushButton* controlla(const CheckWindowData& data, QWidget* parent) {
  auto* b = new QPushButton(QStringLiteral("Controlla"), parent);
  b->setObjectName(QString::fromLatin1(data.buttonName));
  b->setGeometry(QRect(QPoint(data.width - kMargin - kButton.width(), kButtonTop), kButton));
  b->setFont(uiFont(FontFamily::Verdana, pt(9), Bold));
  if (data.handCursor) b->setCursor(Qt::PointingHandCursor);
  // Enter presses it from the box only once the text is complete.
  b->setAutoDefault(false);
  b->setDefault(false);
  b->setEnabled(false);
  return b;
}

MsgIcon msgIcon(CheckIcon icon) {
  switch (icon) {
    case CheckIcon::Information: return MsgIcon::Information;
    case CheckIcon::Warning: return MsgIcon::Warning;
    case CheckIcon::None: break;
  }
  return MsgIcon::None;
}

void showResult(QWidget* parent, const CheckResult& r) {
  if (r.plain()) services().message(parent, toQ(r.text));
  else services().box(parent, toQ(r.text), toQ(r.title), msgIcon(r.icon), MsgButtons::Ok);
}

}  // namespace

// The box's length limit holds for what the user types and pastes. A text
// handed over by the opener stays whole, so that the check reports a text of
// the wrong length instead of checking a part of it (QLineEdit's own limit
// would cut it); such a text can only get shorter.
class CheckWindow::TypingLimit : public QValidator {
 public:
  TypingLimit(QLineEdit* box, int maxLength) : QValidator(box), max_(maxLength) {
    connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { shown_ = text.size(); });
  }
  // Set before the text is: the box validates it before it reports it.
  void handOver(const QString& text) { shown_ = text.size(); }
  State validate(QString& input, int&) const override {
    return input.size() <= std::max(max_, shown_) ? Acceptable : Invalid;
  }

 private:
  qsizetype max_;
  qsizetype shown_ = 0;
};

CheckWindow::CheckWindow(const CheckWindowData& data, QWidget* parent)
    : Dialog(QString::fromLatin1(data.objectName), QString::fromUtf8(data.caption), parent),
      imgLogo(logo(data, this)),
      shpContainer(frame(data, this)),
      data_(data),
      background_(backgroundShape(data, this)),
      field_(box(data, this)),
      info1_(infoLine(data.info1Name, data.info1, 0, data.width, this)),
      info2_(infoLine("lblInfo02", data.info2, 1, data.width, this)),
      button_(controlla(data, this)) {
  setBackground(kSilver);
  setClientSize(data.width, kHeight);
  if (background_) background_->stackUnder(shpContainer);
  setTabOrder(field_, button_);
  if (data.maxLength > 0) {
    limit_ = new TypingLimit(field_, data.maxLength);
    field_->setValidator(limit_);
  }

  if (data.upperCase) installLiveUpperCase(field_);
  if (data.digitsOnly)
    installKeyFilter(field_, [this](QChar typed) {
      if (isDigitBoxKey(typed.unicode())) return true;
      services().message(this, toQ(kDigitsOnlyMessage));
      return false;
    });
  field_->installEventFilter(this);
  connect(field_, &QLineEdit::textChanged, this, &CheckWindow::fieldChange);
  onClick(button_, this, [this] { checkClick(); });
}

int CheckWindow::check(const QString& text, QWidget* opener) {
  if (limit_) limit_->handOver(text);
  field_->setText(text);
  const int result = flow().runModal(*this);
  if (opener) {
    // The card's check commands are pictures, which never hold the focus:
    // when the modal window goes, nothing takes the keyboard back by itself
    // (on X11 no window has it). The card asks for it, for the checked field.
    opener->window()->activateWindow();
    opener->setFocus(Qt::OtherFocusReason);
  }
  return result;
}

bool CheckWindow::complete() const { return data_.canCheck(fromQ(field_->text())); }

void CheckWindow::fieldChange() { button_->setEnabled(complete()); }

bool CheckWindow::fieldKeyPress(const QKeyEvent* key) {
  if (!isEnterKey(key)) return false;
  const bool presses = data_.enterChecks ? data_.enterChecks(fromQ(field_->text())) : complete();
  if (presses && button_->isEnabled()) button_->click();
  return true;
}

void CheckWindow::checkClick() {
  const CheckResult r = checkTyped(data_.result, field_->text().toStdString());
  showResult(this, r);
  if (r.refused) {
    field_->setFocus();
    return;
  }
  accept();
}

bool CheckWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == field_ && event->type() == QEvent::KeyPress && fieldKeyPress(static_cast<QKeyEvent*>(event)))
    return true;
  return Dialog::eventFilter(watched, event);
}

}  // namespace zel
