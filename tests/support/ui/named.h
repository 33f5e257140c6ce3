#pragma once
// A window's control found by its object name, as the card suite and the
// scenarios on a real X server find them: windows keep their controls to
// themselves. The test fails when there is no such control. And what a user
// does first with a window and a box: brings the one to the front, types
// into the other.
#include <QApplication>
#include <QLineEdit>
#include <QObject>
#include <QString>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace zel::test {

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

}  // namespace zel::test
