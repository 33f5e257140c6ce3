// The start screen's own limits: the minimum size of the whole window and an
// animation strip that cannot be loaded.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/avvio.h"
#include "support/ui/fakes.h"

namespace zel {
namespace {

TEST(StartScreen, TheMinimumSizeIsTheWholeWindowsFrameIncluded) {
  test::FakeServices fake;
  test::FakeFlow flow;  // closing the start screen quits: not here
  TfrmAvvio start;
  start.showNormal();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&start));
  const QSize frame = start.frameGeometry().size() - start.size();
  ASSERT_GT(frame.width(), 0) << "the platform draws no frame";
  start.resize(600, 400);
  QCoreApplication::processEvents();
  EXPECT_EQ(start.frameGeometry().size(), QSize(1030, 742));
  start.close();
}

TEST(StartScreen, AnAnimationThatCannotBeLoadedIsReported) {
  test::FakeServices fake;
  test::FakeFlow flow;  // closing the start screen quits: not here
  TfrmAvvio start;
  start.animationSource = QStringLiteral(":/manca.gif");
  start.show();
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_TRUE(fake.last().text.contains(QStringLiteral("animazione")));
  EXPECT_TRUE(start.isVisible());
  start.close();
}

}  // namespace
}  // namespace zel
