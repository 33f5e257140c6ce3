// The embedded artwork: every picture the windows load is present in the
// resources, decodes with the image plugins the program ships with, and has
// the size the window layouts are built around; the start screen's animation
// plays as a looping nine-frame strip.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QMovie>
#include <QSize>
#include <QString>

namespace {

struct Picture {
  const char* name;
  int width;
  int height;
};

// clang-format off
const Picture kStartScreen[] = {
    {"logo01.png", 120, 90},       {"logo02.png", 420, 90},      {"tile.png", 32, 32},
    {"info.png", 48, 48},          {"guida.png", 48, 48},        {"copyright.png", 48, 48},
    {"esci.png", 48, 48},
    {"clienti.jpg", 225, 256},     {"prodotti.jpg", 225, 256},   {"crea.jpg", 225, 256},
    {"forniture.jpg", 225, 256},
    {"tit_clienti.png", 224, 42},  {"tit_prodotti.png", 224, 42}, {"tit_crea.png", 224, 42},
    {"tit_forniture.png", 224, 42},
    {"inf_clienti.png", 228, 105}, {"inf_prodotti.png", 228, 105}, {"inf_crea.png", 228, 105},
    {"inf_forniture.png", 228, 105},
};

const Picture kCardScreens[] = {
    {"cmd_nuovo.png", 40, 40},    {"cmd_salva.png", 40, 40},       {"cmd_ricerca.png", 40, 40},
    {"cmd_word.png", 40, 40},     {"cmd_excel.png", 40, 40},       {"cmd_allega.png", 40, 40},
    {"cmd_associa.png", 40, 40},  {"cmd_guida.png", 40, 40},       {"cmd_elimina.png", 40, 40},
    {"cmd_esci.png", 40, 40},     {"cmd_stampa.png", 40, 40},      {"cmd_importa.png", 40, 40},
    {"cmd_sospesi.png", 40, 40},  {"cmd_sottoscorta.png", 40, 40}, {"cmd_web.png", 40, 40},
    {"cmd_email.png", 40, 40},    {"cmd_check.png", 24, 24},
    {"nav_primo.png", 24, 24},    {"nav_indietro.png", 24, 24},    {"nav_avanti.png", 24, 24},
    {"nav_ultimo.png", 24, 24},   {"mano.png", 24, 24},
    {"decor_clienti.jpg", 210, 56}, {"decor_prodotti.jpg", 210, 56}, {"decor_forniture.jpg", 210, 56},
    {"riquadro_clienti.jpg", 144, 265}, {"riquadro_prodotti.jpg", 144, 265},
    {"riquadro_forniture.jpg", 144, 265},
    {"card_tile.png", 32, 32},
};

const Picture kOthers[] = {
    {"login_logo.png", 260, 70}, {"help_logo.png", 460, 70}, {"pdf.png", 16, 16},
    {"zelvano.png", 256, 256},
};

const Picture kChecks[] = {
    {"chk_codfisc.png", 420, 56}, {"chk_iva.png", 420, 56}, {"chk_carta.png", 420, 56},
    {"chk_iban.png", 420, 56},
};

const Picture kAboutAndCredits[] = {
    {"info_logo.png", 392, 56},     {"info_foto.jpg", 122, 142}, {"info_pannello.png", 252, 142},
    {"info_email.png", 16, 16},     {"info_web.png", 16, 16},
    {"splash_sfondo.jpg", 597, 362}, {"splash_logo.png", 108, 60},
};
// clang-format on

QString artPath(const char* name) { return QStringLiteral(":/art/") + QString::fromLatin1(name); }

// Reads one picture and checks its size and its file format.
void expectPicture(const Picture& pic) {
  SCOPED_TRACE(pic.name);
  QImageReader reader(artPath(pic.name));
  const QImage img = reader.read();
  ASSERT_FALSE(img.isNull()) << reader.errorString().toStdString();
  EXPECT_EQ(img.size(), QSize(pic.width, pic.height));
  // The content matches the extension: JPEG pictures need the JPEG plugin,
  // and a picture saved in the wrong format would load by accident only.
  QFile file(artPath(pic.name));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray format = QImageReader::imageFormat(&file);
  if (QString::fromLatin1(pic.name).endsWith(QLatin1String(".jpg")))
    EXPECT_EQ(format, QByteArray("jpeg"));
  else
    EXPECT_EQ(format, QByteArray("png"));
}

TEST(Artwork, StartScreenPicturesHaveTheirLayoutSizes) {
  for (const Picture& pic : kStartScreen) expectPicture(pic);
}

TEST(Artwork, CardScreenPicturesHaveTheirLayoutSizes) {
  for (const Picture& pic : kCardScreens) expectPicture(pic);
}

TEST(Artwork, LoginHelpAndApplicationPicturesLoad) {
  for (const Picture& pic : kOthers) expectPicture(pic);
}

TEST(Artwork, CheckWindowLogosHaveTheirLayoutSizes) {
  for (const Picture& pic : kChecks) expectPicture(pic);
}

TEST(Artwork, AboutBoxAndCreditsPicturesHaveTheirLayoutSizes) {
  for (const Picture& pic : kAboutAndCredits) expectPicture(pic);
}

TEST(Artwork, CreditsLogoStandsOnItsBottomLeftKeyColour) {
  // The credits window leaves out every pixel of the bottom-left pixel's
  // colour: the corners must be that colour, the badge must not.
  const QImage img(artPath("splash_logo.png"));
  ASSERT_FALSE(img.isNull());
  const QRgb key = img.pixel(0, img.height() - 1);
  EXPECT_EQ(img.pixel(0, 0), key);
  EXPECT_EQ(img.pixel(img.width() - 1, 0), key);
  EXPECT_EQ(img.pixel(img.width() - 1, img.height() - 1), key);
  int keyed = 0;
  for (int y = 8; y < img.height() - 8; ++y)
    for (int x = 8; x < img.width() - 8; ++x) keyed += img.pixel(x, y) == key;
  EXPECT_EQ(keyed, 0);
}

TEST(Artwork, IconsKeepTheirTransparentBackground) {
  // Icons sit on tiled and coloured backgrounds: their corners must be clear
  // and their middle drawn.
  for (const char* name : {"cmd_nuovo.png", "cmd_elimina.png", "cmd_check.png", "nav_avanti.png",
                           "info.png", "esci.png", "zelvano.png", "help_logo.png"}) {
    SCOPED_TRACE(name);
    const QImage img(artPath(name));
    ASSERT_FALSE(img.isNull());
    ASSERT_TRUE(img.hasAlphaChannel());
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(img.pixel(img.width() - 1, 0)), 0);
    EXPECT_GT(qAlpha(img.pixel(img.width() / 2, img.height() / 2)), 0);
  }
}

TEST(Artwork, AnimationIsAlsoTheRawResourceRESNAME) {
  QFile named(QStringLiteral(":/RESNAME"));
  QFile art(QStringLiteral(":/art/animata.gif"));
  ASSERT_TRUE(named.open(QIODevice::ReadOnly));
  ASSERT_TRUE(art.open(QIODevice::ReadOnly));
  const QByteArray bytes = named.readAll();
  EXPECT_TRUE(bytes.startsWith("GIF89a"));
  EXPECT_EQ(bytes, art.readAll());
}

TEST(Artwork, AnimationPlaysNineFramesOf50msForever) {
  QMovie movie(QStringLiteral(":/RESNAME"));
  ASSERT_TRUE(movie.isValid()) << movie.lastErrorString().toStdString();
  EXPECT_EQ(movie.format(), QByteArray("gif"));
  EXPECT_EQ(movie.frameCount(), 9);
  EXPECT_EQ(movie.loopCount(), -1);  // -1: loop forever
  QImage first;
  int changes = 0;
  QImage previous;
  for (int i = 0; i < 9; ++i) {
    SCOPED_TRACE(i);
    ASSERT_TRUE(movie.jumpToFrame(i));
    const QImage frame = movie.currentImage();
    EXPECT_EQ(frame.size(), QSize(451, 10));
    if (i == 0) first = frame;
    if (!previous.isNull() && frame != previous) ++changes;
    previous = frame;
  }
  // Every frame moves on from the one before; a strip of identical frames
  // would decode fine and show nothing.
  EXPECT_EQ(changes, 8);
  EXPECT_NE(first, previous);

  // The delays as the file states them (hundredths of a second in each
  // frame's control block): the player's own figure shrinks by the time it
  // took to decode the frame, which depends on the machine's load.
  QFile gif(QStringLiteral(":/RESNAME"));
  ASSERT_TRUE(gif.open(QIODevice::ReadOnly));
  const QByteArray bytes = gif.readAll();
  QList<int> delays;
  for (qsizetype at = bytes.indexOf("\x21\xF9\x04"); at >= 0 && at + 6 < bytes.size();
       at = bytes.indexOf("\x21\xF9\x04", at + 1))
    delays.append(10 * (static_cast<uchar>(bytes[at + 4]) | static_cast<uchar>(bytes[at + 5]) << 8));
  EXPECT_EQ(delays, QList<int>(9, 50));
}

}  // namespace
