// The about box and the credits window opened from the start screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QUrlQuery>

#include "app/avvio.h"
#include "app/info.h"
#include "app/splash.h"
#include "support/ui/fakes.h"
#include "support/ui/named.h"

namespace zel {
namespace {

// A desktop that cannot open anything.
class RefusingServices : public test::FakeServices {
 public:
  bool openUrl(const QUrl& url) override {
    FakeServices::openUrl(url);
    return false;
  }
};

QColor textColour(const QWidget* w) { return w->palette().color(QPalette::WindowText); }

void hover(QWidget* w, QPoint at = QPoint(2, 2)) {
  QEnterEvent enter(at, w->mapTo(w->window(), at), w->mapToGlobal(at));
  QApplication::sendEvent(w, &enter);
  QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &move);
}

TEST(AboutBox, LinksReachTheDesktopAndAnUnsentMailIsReported) {
  test::FakeServices fake;
  TfrmInfo info;
  info.show();
  EXPECT_EQ(info.windowTitle(), QStringLiteral(" Informazioni su Zelvano ©"));

  QTest::mouseClick(test::clickLabel(&info, "lblEmail"), Qt::LeftButton);
  QTest::mouseClick(test::clickLabel(&info, "imgWeb"), Qt::LeftButton);
  ASSERT_EQ(fake.urls.size(), 2);
  const QUrl mail = fake.urls[0];
  EXPECT_EQ(mail.scheme(), QStringLiteral("mailto"));
  EXPECT_FALSE(mail.toEncoded().contains(' '));
  EXPECT_EQ(QUrl::fromPercentEncoding(mail.toEncoded()),
            QStringLiteral("mailto:info@zelvano.example?subject=Software Zelvano&body=Salve, desidererei avere le "
                           "seguenti informazioni sul software in oggetto:"));
  // Read back as a mail program does: address, subject and body apart.
  EXPECT_EQ(mail.path(), QStringLiteral("info@zelvano.example"));
  const QUrlQuery query(mail);
  EXPECT_EQ(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded), QStringLiteral("Software Zelvano"));
  EXPECT_TRUE(query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded).endsWith(QStringLiteral("in oggetto:")));
  EXPECT_EQ(fake.urls[1], TfrmAvvio::makerSite());
  EXPECT_TRUE(fake.messages.isEmpty());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  {
    RefusingServices refusing;
    QTest::mouseClick(test::clickLabel(&info, "imgEmail"), Qt::LeftButton);
    QTest::mouseClick(test::clickLabel(&info, "lblWeb"), Qt::LeftButton);  // the desktop reports its own failure
    EXPECT_EQ(refusing.urls.size(), 2);
    EXPECT_EQ(refusing.texts(), QStringList{QStringLiteral("Invio e-mail non riuscito.")});
    EXPECT_TRUE(refusing.last().plain);
  }

  QTest::mouseClick(test::button(&info, "cmdOK"), Qt::LeftButton);
  EXPECT_FALSE(info.isVisible());
}

TEST(AboutBox, TheLinkUnderTheMouseTurnsRed) {
  test::FakeServices fake;
  TfrmInfo info;
  info.show();
  EXPECT_EQ(textColour(test::clickLabel(&info, "lblEmail")), kNavy);
  hover(test::clickLabel(&info, "imgEmail"));
  EXPECT_EQ(textColour(test::clickLabel(&info, "lblEmail")), QColor(Qt::red));
  EXPECT_EQ(textColour(test::clickLabel(&info, "lblWeb")), kNavy);
  hover(test::clickLabel(&info, "lblWeb"));
  EXPECT_EQ(textColour(test::clickLabel(&info, "lblEmail")), kNavy);
  EXPECT_EQ(textColour(test::clickLabel(&info, "lblWeb")), QColor(Qt::red));
  // Over a picture the colours stay; over the group box's own surface both go navy.
  hover(test::label(&info, "imgFoto"));
  EXPECT_EQ(textColour(test::clickLabel(&info, "lblWeb")), QColor(Qt::red));
  const QPoint bare(147, 160);
  ASSERT_EQ(test::named<QGroupBox>(&info, "grpInfo")->childAt(bare), nullptr);
  hover(test::named<QGroupBox>(&info, "grpInfo"), bare);
  EXPECT_EQ(textColour(test::clickLabel(&info, "lblWeb")), kNavy);
  EXPECT_EQ(textColour(test::clickLabel(&info, "lblEmail")), kNavy);
  info.hide();
}

TEST(CreditsWindow, AnimatesOnlyWhileShownAndAClickVisitsTheSite) {
  test::FakeServices fake;
  TfrmSplash splash;
  EXPECT_EQ(splash.size(), QSize(600, 368));
  EXPECT_TRUE(splash.windowTitle().contains(QStringLiteral("Zelvano Software")));
  EXPECT_EQ(test::named<QTimer>(&splash, "Timer1")->interval(), 50);
  EXPECT_FALSE(test::named<QTimer>(&splash, "Timer1")->isActive());

  splash.show();
  EXPECT_TRUE(test::named<QTimer>(&splash, "Timer1")->isActive());
  const QImage first = splash.frame();
  EXPECT_EQ(first.size(), QSize(597, 362));
  ASSERT_TRUE(QTest::qWaitFor([&] { return splash.ticks() >= 3; }, 2000));
  EXPECT_NE(splash.frame(), first);  // the logos have moved

  splash.hide();
  EXPECT_FALSE(test::named<QTimer>(&splash, "Timer1")->isActive());
  const int ticks = splash.ticks();
  QTest::qWait(150);
  EXPECT_EQ(splash.ticks(), ticks);

  splash.show();
  EXPECT_TRUE(test::named<QTimer>(&splash, "Timer1")->isActive());
  // Any button, anywhere.
  QTest::mouseClick(&splash, Qt::RightButton, Qt::NoModifier, QPoint(500, 40));
  EXPECT_FALSE(splash.isVisible());
  EXPECT_FALSE(test::named<QTimer>(&splash, "Timer1")->isActive());
  ASSERT_EQ(fake.urls.size(), 1);
  EXPECT_EQ(fake.urls[0], TfrmAvvio::makerSite());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(CreditsWindow, ALogoOfAnotherDepthIsRefusedWithTheMessage) {
  test::FakeServices fake;
  TfrmSplash splash;
  ASSERT_TRUE(fake.messages.isEmpty());  // its own logo is accepted
  QImage background(597, 362, QImage::Format_RGB888);
  background.fill(QColor(10, 20, 30));
  QImage logo(108, 60, QImage::Format_ARGB32);
  logo.fill(Qt::white);
  splash.FormCreate(background, logo);
  EXPECT_EQ(fake.texts(), QStringList{QStringLiteral("only 8 bit and 24 bit bitmaps are allowed")});
  splash.Timer1Timer();
  EXPECT_EQ(splash.frame().pixel(300, 180), qRgb(10, 20, 30));  // nothing drawn

  // The picture stands in the top-left corner; the black client area shows
  // only past its right and bottom edges.
  const QImage window = splash.grab().toImage();
  EXPECT_EQ(window.pixel(0, 0), qRgb(10, 20, 30));
  EXPECT_EQ(window.pixel(596, 361), qRgb(10, 20, 30));
  EXPECT_EQ(window.pixel(597, 0), qRgb(0, 0, 0));
  EXPECT_EQ(window.pixel(0, 362), qRgb(0, 0, 0));
}

}  // namespace
}  // namespace zel
