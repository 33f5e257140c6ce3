#pragma once
// A window's control found by its object name, as the card suite and the
// scenarios on a real X server find them: windows keep their controls to
// themselves. The test fails when there is no such control. And what a user
// does first with a window and a box: brings the one to the front, types
// into the other.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QObject>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "ui/attachwindow.h"
#include "ui/kit.h"

namespace zel::test {

// A text written in the source's UTF-8, as a window shows it.
inline QString u8(const char* text) { return QString::fromUtf8(text); }

template <class T = QWidget>
T* named(const QObject* window, const char* name) {
  T* found = window->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

// Shows the window as the active one, its pending events handled.
inline void showActive(QWidget* window) {
  window->show();
  QApplication::setActiveWindow(window);
  QCoreApplication::processEvents();
}

// Empties the box and types `text` into it key by key.
inline void retype(QLineEdit* box, const QString& text) {
  box->setFocus();
  box->clear();
  QTest::keyClicks(box, text);
}

// The kinds of control the tests reach most.
inline QLineEdit* edit(const QObject* window, const char* name) { return named<QLineEdit>(window, name); }
inline QLabel* label(const QObject* window, const char* name) { return named<QLabel>(window, name); }
inline QPushButton* button(const QObject* window, const char* name) { return named<QPushButton>(window, name); }
// A picture or a caption that runs a command when clicked.
inline ClickLabel* clickLabel(const QObject* window, const char* name) { return named<ClickLabel>(window, name); }

// The same lookups in short calls for a fixture that keeps one window:
// `edit("txtCodice")`, `command("cmdSalva")`. The fixture derives from
// ControlsOf<Itself> and says which window with `window()`.
template <class Fixture>
class ControlsOf {
 public:
  QLineEdit* edit(const char* name) const { return test::edit(self(), name); }
  QLabel* label(const char* name) const { return test::label(self(), name); }
  QPushButton* button(const char* name) const { return test::button(self(), name); }
  ClickLabel* command(const char* name) const { return test::clickLabel(self(), name); }
  template <class T>
  T* control(const char* name) const {
    return test::named<T>(self(), name);
  }

 private:
  const QObject* self() const { return static_cast<const Fixture*>(this)->window(); }
};

// The slots of an attachments or folder window, as the user finds them: the
// numbered group boxes ("grpAllegato01", ...) and the controls in each.
inline QList<AttachmentSlot> slotsOf(const QWidget& window) {
  QList<AttachmentSlot> found;
  for (int i = 1;; ++i) {
    const QString n = QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    auto* group = window.findChild<QGroupBox*>(QStringLiteral("grpAllegato") + n);
    if (!group) return found;
    found.append({group, group->findChild<QLabel*>(QStringLiteral("lblFile") + n),
                  group->findChild<QLineEdit*>(QStringLiteral("txtFile") + n),
                  group->findChild<QLabel*>(QStringLiteral("lblDesc") + n),
                  group->findChild<QLineEdit*>(QStringLiteral("txtDesc") + n),
                  group->findChild<QPushButton*>(QStringLiteral("cmdSfoglia") + n),
                  group->findChild<QPushButton*>(QStringLiteral("cmdApri") + n)});
  }
}

}  // namespace zel::test
