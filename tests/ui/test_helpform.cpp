#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

#include "help/helpform.h"
#include "support/ui/fakes.h"
#include "support/ui/named.h"

namespace zel {
namespace {

class HelpForm : public ::testing::Test {
 protected:
  QColor linkColour() const { return test::clickLabel(&help, "lblPDF")->palette().color(QPalette::WindowText); }
  // A mouse move without buttons, as the pointer passing over `w` sends it.
  static void hover(QWidget* w, QPoint at = QPoint(2, 2)) {
    QEnterEvent enter(at, w->mapTo(w->window(), at), w->mapToGlobal(at));
    QApplication::sendEvent(w, &enter);
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
  }

  test::FakeServices fake;
  test::TempProgramFolder folder;
  TfrmHelpForm help;
};

TEST_F(HelpForm, EachTopicShowsOnlyItsOwnTitleAndBody) {
  EXPECT_EQ(help.windowTitle(), QStringLiteral(" Guida in linea"));
  const HelpTopic first{QStringLiteral("Gestione anagrafica clienti"),
                        {QStringLiteral("Primo paragrafo."), QStringLiteral("Secondo."), QStringLiteral("Terzo.")}};
  const HelpTopic second{QStringLiteral("Creazione di una nuova fornitura"), {QStringLiteral("Unico paragrafo.")}};

  help.setTopic(first);
  EXPECT_EQ(test::named<TitlePanel>(&help, "panTitle")->text(), first.title);
  // One blank line between paragraphs: the CR LF pairs break once each.
  EXPECT_EQ(test::named<QPlainTextEdit>(&help, "memTopic")->toPlainText(),
            QStringLiteral("Primo paragrafo.\n\nSecondo.\n\nTerzo."));
  EXPECT_EQ(test::named<QPlainTextEdit>(&help, "memTopic")->document()->blockCount(), 5);
  EXPECT_TRUE(test::named<QPlainTextEdit>(&help, "memTopic")->isReadOnly());

  help.setTopic(second);
  EXPECT_EQ(test::named<TitlePanel>(&help, "panTitle")->text(), second.title);
  EXPECT_EQ(test::named<QPlainTextEdit>(&help, "memTopic")->toPlainText(), QStringLiteral("Unico paragrafo."));
}

TEST_F(HelpForm, ShowTopicRunsTheWindowModallyAndOKClosesIt) {
  const HelpTopic topic{QStringLiteral("Uno sguardo a Zelvano"), {QStringLiteral("Testo.")}};
  test::FakeFlow flow;
  QString shownTitle;
  int result = -1;
  flow.onModal = [&](QDialog& d) {
    shownTitle = test::named<TitlePanel>(&help, "panTitle")->text();
    // The user presses OK in the window the flow shows.
    d.show();
    QTest::mouseClick(test::button(&help, "cmdOK"), Qt::LeftButton);
    result = d.result();
    return result;
  };
  help.showTopic(topic);
  EXPECT_EQ(flow.dialogs, QStringList{QStringLiteral("zel::TfrmHelpForm")});
  EXPECT_EQ(shownTitle, topic.title);
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_FALSE(help.isVisible());
}

TEST_F(HelpForm, LongBodyScrollsAndLongTitleStaysOnOneLine) {
  QStringList paragraphs;
  for (int i = 0; i < 60; ++i) paragraphs << QStringLiteral("Paragrafo %1 con qualche parola in più per riempire la riga.").arg(i);
  const QString title = QStringLiteral("Esportazione archivio prodotti e servizi forniti in Microsoft Word ed Excel, ") +
                        QStringLiteral("con un titolo ancora più lungo del consueto");
  help.setTopic({title, paragraphs});
  help.show();
  QCoreApplication::processEvents();
  EXPECT_GT(test::named<QPlainTextEdit>(&help, "memTopic")->verticalScrollBar()->maximum(), 0);
  EXPECT_EQ(test::named<QPlainTextEdit>(&help, "memTopic")->verticalScrollBar()->value(), 0);
  EXPECT_FALSE(test::named<TitlePanel>(&help, "panTitle")->wordWrap());
  EXPECT_LE(test::named<TitlePanel>(&help, "panTitle")->geometry().bottom(),
            test::named<QFrame>(&help, "panContainer")->geometry().top());
  EXPECT_EQ(test::named<TitlePanel>(&help, "panTitle")->text(), title);

  // A new topic starts at the top again.
  test::named<QPlainTextEdit>(&help, "memTopic")
      ->verticalScrollBar()
      ->setValue(test::named<QPlainTextEdit>(&help, "memTopic")->verticalScrollBar()->maximum());
  help.setTopic({title, paragraphs});
  QCoreApplication::processEvents();
  EXPECT_EQ(test::named<QPlainTextEdit>(&help, "memTopic")->verticalScrollBar()->value(), 0);
  help.hide();
}

TEST_F(HelpForm, LinkOpensTheGuideOfTheProgramFolder) {
  help.show();
  // The release of any button opens it.
  QTest::mouseClick(test::clickLabel(&help, "lblPDF"), Qt::LeftButton);
  QTest::mouseClick(test::clickLabel(&help, "imgPDF"), Qt::RightButton);
  QTest::mouseClick(test::clickLabel(&help, "lblPDF"), Qt::MiddleButton);
  ASSERT_EQ(fake.urls.size(), 3);
  for (const QUrl& url : fake.urls) {
    EXPECT_TRUE(url.isLocalFile());
    EXPECT_EQ(qToPath(url.toLocalFile()), folder.file("Guida.pdf"));
  }
  EXPECT_EQ(test::clickLabel(&help, "lblPDF")->text(), QStringLiteral("Visualizza guida in formato PDF"));
  EXPECT_EQ(test::clickLabel(&help, "lblPDF")->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the hourglass is gone again
  help.hide();
}

TEST_F(HelpForm, LinkTurnsRedUnderTheMouseAndWhiteOverBackgroundOrMemo) {
  help.show();
  EXPECT_EQ(linkColour(), QColor(Qt::white));
  hover(test::clickLabel(&help, "lblPDF"));
  EXPECT_EQ(linkColour(), QColor(Qt::red));
  hover(test::named<QPlainTextEdit>(&help, "memTopic")->viewport());
  EXPECT_EQ(linkColour(), QColor(Qt::white));
  hover(test::clickLabel(&help, "imgPDF"));
  EXPECT_EQ(linkColour(), QColor(Qt::red));
  // Over the OK button the link keeps its colour; over the bare background it resets.
  hover(test::button(&help, "cmdOK"));
  EXPECT_EQ(linkColour(), QColor(Qt::red));
  hover(&help, QPoint(help.width() - 4, help.height() / 2 + 100));
  ASSERT_EQ(help.childAt(QPoint(help.width() - 4, help.height() / 2 + 100)), nullptr);
  EXPECT_EQ(linkColour(), QColor(Qt::white));
  help.hide();
}

}  // namespace
}  // namespace zel
