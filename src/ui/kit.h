#pragma once
// The widget kit every window is built from, by topic: building widgets
// (fonts, colours, labels, captioned boxes, pictures and commands, panels,
// the position label, hidden fields), status texts and guarded command
// wiring. The input rules of the boxes are in ui/behaviour.h, which comes
// along. A window describes its controls with these pieces and keeps only
// what is its own.
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <initializer_list>

#include "ui/behaviour.h"

class QFrame;

namespace zel {

class Layout;
struct FieldDef;

// The object name of the card control that edits a record field: "txt" and
// the field name for a data control, "lbl" and the field name for a hidden
// attachment field.
QString controlName(const FieldDef& field);

// ======== building widgets ========

// ---- fonts and colours ----

enum class FontFamily { Verdana, Tahoma, CourierNew, Arial };

// A font size says its unit: the screens are laid out partly in points and
// partly in pixels, and both must survive a change of screen resolution the
// way they were designed.
struct FontSize {
  double value;
  bool pixels;
};
constexpr FontSize pt(double points) { return {points, false}; }
constexpr FontSize px(double pixels) { return {pixels, true}; }

enum FontStyle { Plain = 0, Bold = 1, Italic = 2, Underline = 4 };

QFont uiFont(FontFamily family, FontSize size, int style = Plain);

inline const QColor kNavy{0, 0, 128};
inline const QColor kMaroon{128, 0, 0};
inline const QColor kSilver{192, 192, 192};

// ---- labels, captions and edit boxes ----

// An invisible label that carries state (a record field the user never edits).
QLabel* hiddenLabel(QWidget* parent, const char* objectName);

// A wrapping navy instruction text (the supply windows).
QLabel* instructionLabel(QWidget* parent, const char* name, const QString& text, const QRect& where);

// Where a caption stands in relation to its box.
struct CaptionStyle {
  QFont font;
  int above;   // the caption's top is this many pixels above the box's top
  int height;  // the caption's height
};

// A plain label of text: instructions, hints, titles.
QLabel* textLabel(QWidget* parent, const char* name, const QString& text, const QRect& where, const QFont& font,
                  const QColor& colour = Qt::black);
// A title on a coloured band, in white bold text.
QLabel* titleBand(QWidget* parent, const char* name, const QString& text, const QRect& where,
                  const QColor& band = kNavy);

// A caption label named "lbl" + the box's name without its "txt".
QLabel* captionFor(QWidget* box, const QString& text, const QRect& where, const QFont& font);
// A line edit at `box` with its caption above it, the same width.
QLineEdit* captionedEdit(QWidget* parent, const char* name, const QString& caption, const QRect& box,
                         const CaptionStyle& style);
// A line edit at `box` with its caption to its left, in `caption`.
QLineEdit* captionLeftEdit(QWidget* parent, const char* name, const QString& text, const QRect& caption,
                           const QRect& box, const QFont& font);

// ---- pictures and commands ----

// A picture centred in its place (a logo, a decoration); with
// `align`, placed so instead.
QLabel* pictureLabel(QWidget* parent, const char* name, const QString& resource, const QRect& where,
                     Qt::Alignment align = Qt::AlignCenter);
// A picture or label that runs its command on click, with a hand cursor.
class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ClickLabel(QWidget* parent = nullptr);
  ClickLabel(const QString& objectName, QWidget* parent);
  // Whether the release of any mouse button clicks, not only the left one's.
  void setAnyButtonClicks(bool any) { anyButton_ = any; }
 signals:
  void clicked();
 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
 private:
  bool anyButton_ = false;
};

// A clickable picture centred in its place (hand cursor).
ClickLabel* iconCommand(QWidget* parent, const char* name, const QString& resource, const QRect& where);
// A command drawn as one picture: the icon at the left and the caption in
// bold navy beside it, on a shaded rounded plate of the given size.
QPixmap captionedCommandPicture(const QString& resource, const QString& caption, QSize size);
// A command on a navy plate: its picture (when the artwork is there) and
// its bold white caption, lighter while the mouse is over it.
ClickLabel* plateCommand(QWidget* parent, const char* name, const QString& picture, const QString& caption,
                         const QRect& where);
// A toolbar command: its picture above a short caption (or alone when the
// caption is empty), framed lightly while the mouse is over it.
class ToolbarCommand : public ClickLabel {
  Q_OBJECT
 public:
  ToolbarCommand(const char* name, const QPixmap& icon, const QString& caption, QWidget* parent);

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap icon_;
};

// ---- panels ----

// A text panel with its own background and text colours and font.
QLabel* colourPanel(QWidget* parent, const char* name, const QString& text, const QRect& where,
                    const QColor& background, const QColor& foreground, const QFont& font);
// A raised panel of the given face colour that groups boxes.
QFrame* raisedPanel(QWidget* parent, const char* name, const QRect& where, const QColor& face);
// The white card with a navy heading that holds a window's controls.
QWidget* headedCard(QWidget* parent, const char* name, const QString& heading, const QRect& where);
// Where a main screen places its container: W div 2 − w div 2 − 8 and
// H div 2 − h div 2 − 18, with W×H the window's outer size.
QPoint centredContainer(QSize window, QSize container);

// ---- the position label ----

// The label that shows the record number of the card on screen: centred,
// bold Verdana; a framed one is white and sunken with navy figures.
QLabel* positionLabel(QWidget* parent, const QRect& where, FontSize size, bool framed);

// ---- the attachment fields ----

// The eight hidden labels that carry a card's attachments and folder. They
// are record fields the user never edits on the card itself; the
// attachments and folder windows read and write them.
struct AttachmentFields {
  QLabel* file[3] = {};
  QLabel* description[3] = {};
  QLabel* folder = nullptr;
  QLabel* folderDescription = nullptr;

  // The eight, files and descriptions first, then the folder's two.
  QList<QLabel*> all() const {
    return {file[0], file[1], file[2], description[0], description[1], description[2], folder, folderDescription};
  }
};
// Creates them, hidden, one per attachment field of the layout, each named
// after its control ("lbl" + field name).
AttachmentFields createAttachmentFields(QWidget* parent, const Layout& layout);

// ======== status texts ========

struct StatusText {
  QWidget* target;
  const char* text;  // UTF-8, beginning with a blank
};
// The one way a window gives its status panel texts: the panel shows each
// target's text while the mouse is over it, and moving over any of the
// background areas empties it. A command's text is given in its row of
// wireCommands, which comes here.
void installStatusTexts(QLabel* panel, std::initializer_list<StatusText> texts,
                        const QList<QWidget*>& backgrounds);

// ======== guarded command wiring ========

// Runs `handler` when the control is clicked (a ClickLabel or a button).
// The handler runs guarded: nothing it throws escapes into the event loop.
void onClick(QWidget* control, QWidget* owner, std::function<void()> handler);
// A window's commands as one table: control, handler and status text.
template <class Window>
struct Command {
  QWidget* control;
  void (Window::*handler)();
  const char* status;  // nullptr: the command has no status text
};

template <class Window>
void wireCommands(Window* window, QLabel* panel, std::initializer_list<Command<Window>> commands) {
  for (const Command<Window>& c : commands) {
    const auto handler = c.handler;
    onClick(c.control, window, [window, handler] { (window->*handler)(); });
    if (c.status && panel) installStatusTexts(panel, {{c.control, c.status}}, {});
  }
}

}  // namespace zel
