// The result list paints and measures most lines from a table of glyphs
// rather than through the style: what the user sees must not change by a
// pixel. Each list is painted twice, once as it paints itself and once by
// the style alone, and the two pictures compared; so are the sizes.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QImage>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "ui/kit.h"
#include "ui/resultlist.h"

namespace zel {
namespace {

struct ListFont {
  const char* name;
  FontFamily family;
  FontSize size;
};

class LinePainting : public ::testing::TestWithParam<ListFont> {};

// What a user may find on a line: accents and the euro of Windows-1252, a
// tab and a control character (shown blank), a byte the code page leaves
// undefined, a line wider than its cell (cut short by the style), nothing.
TextList sampleLines() {
  TextList lines;
  for (std::string_view t :
       {std::string_view("Cod. id. 00000017  Rossi Mario                Via Roma 1        Milano"),
        std::string_view("Niccol\xF2  Societ\xE0  Per\xF9  Agn\xE8s  Zo\xEB  \x80 1.234,56  \xAB\xBB \xB0"),
        std::string_view("colonne\tcon\x01 un controllo e \x81 un byte senza carattere"), std::string_view(""),
        std::string_view("12/03/2026  0000000042  Trapano a percussione  Bosch  3  12,50  37,50  Pagato")})
    lines.push_back(t);
  lines.push_back(std::string(400, 'W'));
  return lines;
}

QImage painted(LineList& list) {
  list.viewport()->repaint();
  return list.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST_P(LinePainting, LinesLookAsTheStylePaintsThem) {
  const QFont font = uiFont(GetParam().family, GetParam().size);
  QWidget window;
  window.resize(700, 200);
  LineList own(&window, font, 1300, QFontMetrics(font).height() + 2);
  LineList styled(&window, font, 1300, QFontMetrics(font).height() + 2);
  QStyledItemDelegate styleAlone;
  styled.setItemDelegate(&styleAlone);
  for (LineList* list : {&own, &styled}) {
    list->setGeometry(0, 0, 700, 200);
    list->setLines(sampleLines());
  }
  window.show();
  // The size the view asks for a line (its horizontal step comes from it).
  for (int row = 0; row < own.count(); ++row)
    EXPECT_EQ(own.sizeHintForIndex(own.model()->index(row, 0)), styled.sizeHintForIndex(styled.model()->index(row, 0)))
        << GetParam().name << ", line " << row;
  // A line as it is shown, then selected with the keyboard's focus on the
  // list (the selection colours and the focus frame), then scrolled across.
  for (int selected : {-1, 1, 0}) {
    for (LineList* list : {&own, &styled}) {
      if (selected >= 0) {
        list->setFocus();
        list->selectRow(selected);
      }
      if (selected == 0) list->horizontalScrollBar()->setValue(37);
    }
    const QImage a = painted(own), b = painted(styled);
    ASSERT_EQ(a.size(), b.size());
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
      for (int x = 0; x < a.width(); ++x) differing += a.pixel(x, y) != b.pixel(x, y);
    EXPECT_EQ(differing, 0) << GetParam().name << ", line " << selected << " selected";
  }
}

// The lines as a model hold together as Qt's own checker of models wants:
// rows, their places and the end of the list, before and after the lines
// are replaced.
TEST(LineListModel, HoldsTogetherAsAModel) {
  QWidget window;
  LineList list(&window, uiFont(FontFamily::CourierNew, pt(8)), 1300, 16);
  QAbstractItemModelTester checker(list.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  list.setLines(sampleLines());
  list.setLines({});
  list.setLines(sampleLines());
  const int rows = list.count();
  EXPECT_EQ(list.model()->index(rows - 1, 0).row(), rows - 1);
  EXPECT_FALSE(list.model()->index(rows, 0).isValid());
  EXPECT_FALSE(list.model()->index(0, 1).isValid());
  EXPECT_FALSE(list.model()->index(0, 0, list.model()->index(0, 0)).isValid());
}

// The lists' own fonts, and a font whose characters differ in width, which
// the style paints alone.
INSTANTIATE_TEST_SUITE_P(ListFonts, LinePainting,
                         ::testing::Values(ListFont{"CourierNew8pt", FontFamily::CourierNew, pt(8)},
                                           ListFont{"CourierNew11px", FontFamily::CourierNew, px(11)},
                                           ListFont{"Verdana8pt", FontFamily::Verdana, pt(8)}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zel
