#include <gtest/gtest.h>

#include <QApplication>
#include <QMovie>
#include <QTest>

#include "app/avvio.h"
#include "app/forms.h"
#include "app/password.h"
#include "app/startup.h"
#include "clients/destinatari.h"
#include "products/materiali.h"
#include "supplies/accedi.h"
#include "supplies/crea.h"
#include "support/ui/fakes.h"
#include "support/ui/named.h"
#include "ui/kit.h"

namespace zel {
namespace {

class StartUp : public ::testing::Test {
 protected:
  void SetUp() override {
    startUp();
  }
  void TearDown() override { destroyForms(); }

  QStringList visibleWindows() const {
    QStringList names;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible()) names << w->objectName();
    return names;
  }

  test::FakeServices fake;
  test::TempProgramFolder folder;
  test::FakeFlow flow;
};

TEST_F(StartUp, CreatesTheThirtyWindowsInOrderAndShowsOnlyTheLogin) {
  const QStringList expected = {
      "TfrmPassword", "TfrmAvvio", "TfrmHelpForm", "TfrmInfo", "TfrmSplash", "TfrmCrea",
      "TfrmAccedi", "TfrmForniture", "TfrmAllegatiFor", "TfrmCartellaFor", "TfrmEsportaFor",
      "TfrmCercaIncompleti", "TfrmCercaFornitura", "TfrmDestinatari", "TfrmCodFisc", "TfrmIva",
      "TfrmCarta", "TfrmIban", "TfrmAllegatiDes", "TfrmCartellaDes", "TfrmEsportaDes",
      "TfrmCercaDestinatari", "TfrmMateriali", "TfrmAllegatiMat", "TfrmCartellaMat",
      "TfrmEsportaMat", "TfrmCercaSottoscorta", "TfrmCercaMateriale", "TfrmImpMateriali",
      "TfrmCambiaPassword"};
  QStringList made;
  for (const QString& n : creationOrder()) made << n.section(QStringLiteral("::"), -1);
  EXPECT_EQ(made, expected);
  EXPECT_EQ(visibleWindows(), QStringList{QStringLiteral("frmPassword")});
}

TEST_F(StartUp, ClientCardRoundTripReloadsTheAnimationAndCreatesNothing) {
  TfrmAvvio* start = forms().frmAvvio;
  forms().frmPassword->hide();
  start->open();
  const int loads = start->animationLoads();
  ASSERT_NE(start->animation(), nullptr);
  EXPECT_TRUE(start->animation()->isValid());
  EXPECT_EQ(start->animation()->frameCount(), 9);
  const int before = QApplication::topLevelWidgets().size();

  // The title picture does what the large picture does.
  QTest::mouseClick(test::clickLabel(start, "titClienti"), Qt::LeftButton);
  EXPECT_TRUE(forms().frmDestinatari->isVisible());
  EXPECT_FALSE(start->isVisible());

  forms().frmDestinatari->close();
  EXPECT_TRUE(start->isVisible());
  EXPECT_FALSE(forms().frmDestinatari->isVisible());
  EXPECT_EQ(start->animationLoads(), loads + 1);
  EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
}

TEST_F(StartUp, EveryEntryLeadsToItsScreen) {
  TfrmAvvio* start = forms().frmAvvio;
  const std::pair<ClickLabel*, QWidget*> entries[] = {
      {test::clickLabel(start, "btnClienti"), static_cast<QWidget*>(forms().frmDestinatari)},
      {test::clickLabel(start, "btnProdotti"), static_cast<QWidget*>(forms().frmMateriali)},
      {test::clickLabel(start, "btnCrea"), static_cast<QWidget*>(forms().frmCrea)},
      {test::clickLabel(start, "btnForniture"), static_cast<QWidget*>(forms().frmAccedi)}};
  for (const auto& [picture, target] : entries) {
    start->open();
    QTest::mouseClick(picture, Qt::LeftButton);
    EXPECT_TRUE(target->isVisible()) << target->objectName().toStdString();
    EXPECT_FALSE(start->isVisible());
    target->hide();
  }
  // The descriptions are not entries.
  start->open();
  QTest::mouseClick(test::clickLabel(start, "infClienti"), Qt::LeftButton);
  EXPECT_TRUE(start->isVisible());
}

TEST_F(StartUp, ClosingTheStartScreenEndsTheProgramEvenWithTheLoginHidden) {
  forms().frmPassword->hide();
  forms().frmAvvio->open();
  QTest::mouseClick(test::clickLabel(forms().frmAvvio, "imgEsci"), Qt::LeftButton);
  EXPECT_EQ(flow.quits, 1);
}

TEST_F(StartUp, WebBandOpensTheMakersSiteThroughTheServices) {
  QTest::mouseClick(test::clickLabel(forms().frmAvvio, "lblWeb"), Qt::LeftButton);
  ASSERT_EQ(fake.urls.size(), 1);
  EXPECT_EQ(fake.urls.first(), TfrmAvvio::makerSite());
}

TEST(Centring, MinimumSizeGivesTheDesignPosition) {
  EXPECT_EQ(centredContainer(QSize(1030, 742), QSize(995, 688)), QPoint(10, 9));
  EXPECT_EQ(centredContainer(QSize(1281, 801), QSize(995, 688)), QPoint(640 - 497 - 8, 400 - 344 - 18));
}

}  // namespace
}  // namespace zel

namespace zel {
namespace {

TEST(StartScreen, AboutAndCreditsAreShownModally) {
  test::FakeServices fake;
  test::FakeFlow flow;
  startUp();
  QStringList shown;
  flow.onModal = [&](QDialog& d) {
    shown << d.objectName();
    return 0;
  };
  QTest::mouseClick(test::clickLabel(forms().frmAvvio, "imgInfo"), Qt::LeftButton);
  QTest::mouseClick(test::clickLabel(forms().frmAvvio, "imgCopyright"), Qt::LeftButton);
  EXPECT_EQ(shown, QStringList({QStringLiteral("frmInfo"), QStringLiteral("frmSplash")}));
  destroyForms();
}

}  // namespace
}  // namespace zel
