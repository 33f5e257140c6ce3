#include "ui/behaviour.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QValidator>

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

// ---- number boxes ----

namespace {

bool isTypedCharacter(const QString& text) {
  return !text.isEmpty() && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127;
}

class NumberBoxFilter : public QObject {
 public:
  NumberBoxFilter(QLineEdit* box, NumberBoxRule rule) : QObject(box), box_(box), rule_(std::move(rule)) {}
  bool eventFilter(QObject*, QEvent* e) override {
    switch (e->type()) {
      case QEvent::KeyPress:
        return !takesKey(static_cast<const QKeyEvent*>(e));
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
        // The middle button pastes without the paste key.
        return rule_.pasteKey && static_cast<const QMouseEvent*>(e)->button() == Qt::MiddleButton;
      default:
        return false;
    }
  }

 private:
  bool takesKey(const QKeyEvent* k) {
    if (isEnterKey(k)) return true;  // the Enter chain's
    if (k->matches(QKeySequence::Paste))
      return !rule_.pasteKey || obeys(rule_.pasteKey(text(), kept(), fromQ(QApplication::clipboard()->text())));
    if (k->key() == Qt::Key_Backspace) return !rule_.judgesBackspace || obeys(rule_.key(text(), U'\b'));
    // Only typed characters are judged: movement keys, Tab, Escape and the
    // other editing shortcuts pass untouched.
    if (!isTypedCharacter(k->text()) || (k->modifiers() & Qt::ControlModifier)) return true;
    for (const char32_t typed : k->text().toUcs4())
      if (!obeys(rule_.key(text(), typed))) return false;
    return true;
  }
  Text text() const { return fromQ(box_->text()); }
  // The box's text without its selection, which a paste replaces.
  Text kept() const {
    QString t = box_->text();
    if (box_->hasSelectedText()) t.remove(box_->selectionStart(), box_->selectedText().size());
    return fromQ(t);
  }
  // Acts on a verdict; true when the key goes into the box.
  bool obeys(BoxKey verdict) {
    switch (verdict) {
      case BoxKey::Take:
        return true;
      case BoxKey::Refuse:
        say(rule_.refusal);
        return false;
      case BoxKey::Reset:
        say(rule_.resetWarning);
        box_->setText(rule_.resetText);
        return false;
    }
    return false;
  }
  void say(const QString& text) const {
    if (!text.isEmpty()) services().box(box_->window(), text, rule_.title, MsgIcon::None, MsgButtons::Ok);
  }

  QLineEdit* box_;
  NumberBoxRule rule_;
};

// Pastes, drops and the context menu's paste bypass the key filter; the box
// takes such an edit only when the rule takes it.
class EditValidator : public QValidator {
 public:
  EditValidator(QLineEdit* box, std::function<bool(std::string_view, std::string_view)> takes)
      : QValidator(box), takes_(std::move(takes)), before_(box->text()) {
    connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { before_ = text; });
  }
  State validate(QString& text, int&) const override {
    return takes_(fromQ(before_), fromQ(text)) ? Acceptable : Invalid;
  }

 private:
  std::function<bool(std::string_view, std::string_view)> takes_;
  QString before_;  // the text before the edit being checked
};

}  // namespace

void installNumberBox(QLineEdit* box, NumberBoxRule rule) {
  if (rule.pasteKey) {
    box->setContextMenuPolicy(Qt::NoContextMenu);
    box->setAcceptDrops(false);
  }
  if (rule.takesEdit) box->setValidator(new EditValidator(box, rule.takesEdit));
  box->installEventFilter(new NumberBoxFilter(box, std::move(rule)));
}

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
