#pragma once
// A window's control found by its object name, as the card suite and the
// scenarios on a real X server find them: windows keep their controls to
// themselves. The test fails when there is no such control.
#include <QObject>
#include <QString>
#include <QWidget>
#include <gtest/gtest.h>

namespace zel::test {

template <class T = QWidget>
T* named(const QObject* window, const char* name) {
  T* found = window->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

}  // namespace zel::test
