#include "ui/behaviour.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>

#include "ui/base/services.h"

namespace zel {

namespace {

const char* kOwnColour = "zelOwnColour";

void paintBase(QWidget* w, const QColor& c) {
  QPalette p = w->palette();
  p.setColor(QPalette::Base, c);
  p.setColor(QPalette::Window, c);
  w->setPalette(p);
  w->setAutoFillBackground(true);
}

class FocusColourFilter : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* o, QEvent* e) override {
    auto* w = qobject_cast<QWidget*>(o);
    if (w && (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut)) {
      // A combo box's inner edit reports to the combo that carries the colour.
      QWidget* target = w->property(kOwnColour).isValid() ? w : w->parentWidget();
      if (target && target->property(kOwnColour).isValid())
        paintBase(target, e->type() == QEvent::FocusIn ? kFocusYellow
                                                       : target->property(kOwnColour).value<QColor>());
    }
    return false;
  }
};

FocusColourFilter* focusFilter() {
  static auto* filter = new FocusColourFilter(qApp);
  return filter;
}

bool isEnter(const QKeyEvent* k) { return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter; }

class EnterChainFilter : public QObject {
 public:
  EnterChainFilter(const QList<QWidget*>& chain, QObject* parent) : QObject(parent) {
    for (QWidget* w : chain) chain_.append(w);
  }
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() != QEvent::KeyPress || !isEnter(static_cast<QKeyEvent*>(e))) return false;
    for (int i = 0; i < chain_.size(); ++i) {
      QWidget* w = chain_[i];
      if (w && (o == w || (w->focusProxy() && o == w->focusProxy()) || o->parent() == w)) {
        QWidget* next = chain_[(i + 1) % chain_.size()];
        if (next) next->setFocus(Qt::TabFocusReason);
        return true;  // multi-line boxes get no line break either
      }
    }
    return false;
  }

 private:
  QList<QPointer<QWidget>> chain_;
};

class KeyFilter : public QObject {
 public:
  KeyFilter(std::function<bool(QChar)> accept, QObject* parent)
      : QObject(parent), accept_(std::move(accept)) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() != QEvent::KeyPress) return false;
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    const QString t = k->text();
    if (t.isEmpty() || t.at(0).unicode() < 32 || t.at(0).unicode() == 127) return false;
    for (QChar c : t)
      if (!accept_(c)) return true;
    return false;
  }

 private:
  std::function<bool(QChar)> accept_;
};

}  // namespace

void applyFocusColour(QWidget* field, const QColor& own) {
  field->setProperty(kOwnColour, own);
  paintBase(field, own);
  field->installEventFilter(focusFilter());
  if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit())
    combo->lineEdit()->installEventFilter(focusFilter());
}

void applyFocusColours(const QList<QWidget*>& fields, const QColor& own) {
  for (QWidget* f : fields) applyFocusColour(f, own);
}

QColor fieldColour(const QWidget* field) { return field->palette().color(QPalette::Base); }

void installEnterChain(const QList<QWidget*>& chain) {
  if (chain.isEmpty()) return;
  auto* filter = new EnterChainFilter(chain, chain.first());
  for (int i = 0; i < chain.size(); ++i) {
    QWidget* w = chain[i];
    w->installEventFilter(filter);
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit())
      combo->lineEdit()->installEventFilter(filter);
    if (i + 1 < chain.size()) QWidget::setTabOrder(w, chain[i + 1]);
  }
}

void installKeyFilter(QWidget* field, std::function<bool(QChar)> accept) {
  auto* filter = new KeyFilter(std::move(accept), field);
  field->installEventFilter(filter);
  if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit())
    combo->lineEdit()->installEventFilter(filter);
}

void installDigitFilter(QWidget* field, const QString& message) {
  installKeyFilter(field, [field, message](QChar c) {
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) return true;
    services().message(field->window(), message);
    return false;
  });
}

void limitLength(QPlainTextEdit* box, int maxChars) {
  QObject::connect(box, &QPlainTextEdit::textChanged, box, [box, maxChars] {
    const QString t = box->toPlainText();
    const auto fit = static_cast<qsizetype>(fittingLength(
        std::u16string_view(reinterpret_cast<const char16_t*>(t.utf16()), static_cast<size_t>(t.size())),
        static_cast<size_t>(maxChars)));
    if (fit >= t.size()) return;
    QTextCursor cursor = box->textCursor();
    const int pos = std::min<int>(cursor.position(), static_cast<int>(fit));
    box->setPlainText(t.left(fit));
    cursor = box->textCursor();
    cursor.setPosition(pos);
    box->setTextCursor(cursor);
  });
}

void installLiveUpperCase(QWidget* widget) {
  auto* edit = qobject_cast<QLineEdit*>(widget);
  if (!edit) return;
  QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
    if (text.isEmpty()) return;
    // Only the ASCII letters change; accented letters stay as they are.
    QString result = text;
    for (QChar& c : result)
      if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
    if (result == text) return;  // setText below does not run this again
    const int caret = edit->cursorPosition();
    edit->setText(result);
    edit->setCursorPosition(caret);
  });
}

bool isEnterKey(const QKeyEvent* key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

// ---- leaving a box ----

namespace {

class ExitFilter : public QObject {
 public:
  ExitFilter(std::function<void()> onExit, QObject* parent) : QObject(parent), onExit_(std::move(onExit)) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::FocusOut) {
      // A message box or another window taking the focus for a while is not
      // leaving the box.
      const Qt::FocusReason r = static_cast<QFocusEvent*>(e)->reason();
      if (r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason) onExit_();
    }
    return false;
  }

 private:
  std::function<void()> onExit_;
};

}  // namespace

void onExit(QWidget* box, QWidget* owner, std::function<void()> handler) {
  box->installEventFilter(
      new ExitFilter([owner, handler = std::move(handler)] { guarded(owner, handler); }, box));
}

}  // namespace zel
