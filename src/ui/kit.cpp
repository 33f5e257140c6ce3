#include "ui/kit.h"

#include <QAbstractButton>
#include <QFile>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "store/layout.h"

namespace zel {

QFont uiFont(FontFamily family, FontSize size, int style) {
  static const char* const kNames[] = {"Verdana", "Tahoma", "Courier New", "Arial"};
  QFont f(QString::fromLatin1(kNames[static_cast<int>(family)]));
  if (family == FontFamily::CourierNew) f.setStyleHint(QFont::TypeWriter);
  if (size.pixels) f.setPixelSize(static_cast<int>(size.value));
  else f.setPointSizeF(size.value);
  f.setBold(style & Bold);
  f.setItalic(style & Italic);
  f.setUnderline(style & Underline);
  return f;
}

// ---- labels, captions and edit boxes ----

QLabel* hiddenLabel(QWidget* parent, const char* objectName) {
  auto* l = new QLabel(parent);
  l->setObjectName(QString::fromLatin1(objectName));
  l->setTextFormat(Qt::PlainText);
  l->setVisible(false);
  return l;
}


QLabel* textLabel(QWidget* parent, const char* name, const QString& text, const QRect& where, const QFont& font,
                  const QColor& colour) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setGeometry(where);
  l->setFont(font);
  l->setTextFormat(Qt::PlainText);
  QPalette p = l->palette();
  p.setColor(QPalette::WindowText, colour);
  l->setPalette(p);
  return l;
}

QLabel* titleBand(QWidget* parent, const char* name, const QString& text, const QRect& where, const QColor& band) {
  QLabel* l = textLabel(parent, name, text, where, uiFont(FontFamily::Verdana, pt(10), Bold), Qt::white);
  l->setAutoFillBackground(true);
  QPalette p = l->palette();
  p.setColor(QPalette::Window, band);
  l->setPalette(p);
  l->setIndent(8);
  return l;
}

QLabel* captionFor(QWidget* box, const QString& text, const QRect& where, const QFont& font) {
  auto* l = new QLabel(text, box->parentWidget());
  const QString name = box->objectName();
  l->setObjectName(QStringLiteral("lbl") + (name.startsWith(QStringLiteral("txt")) ? name.mid(3) : name));
  l->setGeometry(where);
  l->setFont(font);
  l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  l->setBuddy(box);
  return l;
}

QLineEdit* captionedEdit(QWidget* parent, const char* name, const QString& caption, const QRect& box,
                         const CaptionStyle& style) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(name));
  e->setGeometry(box);
  captionFor(e, caption, QRect(box.left(), box.top() - style.above, box.width(), style.height), style.font);
  return e;
}

QLineEdit* captionLeftEdit(QWidget* parent, const char* name, const QString& text, const QRect& caption,
                           const QRect& box, const QFont& font) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(name));
  e->setGeometry(box);
  captionFor(e, text, caption, font);
  return e;
}

// ---- pictures and commands ----

QLabel* pictureLabel(QWidget* parent, const char* name, const QString& resource, const QRect& where,
                     Qt::Alignment align) {
  auto* p = new QLabel(parent);
  p->setObjectName(QString::fromLatin1(name));
  p->setGeometry(where);
  p->setAlignment(align);
  p->setPixmap(QPixmap(resource));
  return p;
}

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) { setCursor(Qt::PointingHandCursor); }

ClickLabel::ClickLabel(const QString& objectName, QWidget* parent) : ClickLabel(parent) {
  setObjectName(objectName);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool button = anyButton_ || event->button() == Qt::LeftButton;
  if (button && rect().contains(event->position().toPoint())) emit clicked();
  QLabel::mouseReleaseEvent(event);
}


ClickLabel* iconCommand(QWidget* parent, const char* name, const QString& resource, const QRect& where) {
  auto* c = new ClickLabel(QString::fromLatin1(name), parent);
  c->setGeometry(where);
  c->setAlignment(Qt::AlignCenter);
  c->setPixmap(QPixmap(resource));
  return c;
}

QPixmap captionedCommandPicture(const QString& resource, const QString& caption, QSize size) {
  QPixmap pm(size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient shade(0, 0, 0, size.height());
  shade.setColorAt(0, QColor(250, 250, 252));
  shade.setColorAt(1, QColor(214, 222, 236));
  p.setPen(QColor(120, 130, 160));
  p.setBrush(shade);
  p.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 4, 4);
  const QPixmap icon(resource);
  const int side = size.height() - 8;
  if (!icon.isNull()) p.drawPixmap(6, 4, icon.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  p.setPen(kNavy);
  p.setFont(uiFont(FontFamily::Verdana, pt(8), Bold));
  p.drawText(QRect(side + 12, 0, size.width() - side - 16, size.height()), Qt::AlignLeft | Qt::AlignVCenter,
             caption);
  return pm;
}

ToolbarCommand::ToolbarCommand(const char* name, const QPixmap& icon, const QString& caption, QWidget* parent)
    : ClickLabel(QString::fromLatin1(name), parent), icon_(icon) {
  setText(caption);
  setFont(uiFont(FontFamily::Verdana, px(10)));
}

void ToolbarCommand::enterEvent(QEnterEvent* event) {
  ClickLabel::enterEvent(event);
  update();
}

void ToolbarCommand::leaveEvent(QEvent* event) {
  ClickLabel::leaveEvent(event);
  update();
}

void ToolbarCommand::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (underMouse()) {
    p.setPen(QColor(128, 128, 128));
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawRoundedRect(rect().adjusted(0, 0, -1, -1), 3, 3);
  }
  const bool captioned = !text().isEmpty();
  const int iconTop = captioned ? 4 : (height() - icon_.height()) / 2;
  if (!icon_.isNull()) p.drawPixmap((width() - icon_.width()) / 2, iconTop, icon_);
  if (captioned) {
    p.setPen(Qt::black);
    p.setFont(font());
    p.drawText(QRect(0, height() - 18, width(), 16), Qt::AlignHCenter | Qt::AlignVCenter, text());
  }
}

// ---- plate commands, instruction texts and headed cards ----

ClickLabel* plateCommand(QWidget* parent, const char* name, const QString& picture, const QString& caption,
                         const QRect& where) {
  auto* c = new ClickLabel(QString::fromLatin1(name), parent);
  c->setGeometry(where);
  c->setAlignment(Qt::AlignCenter);
  c->setTextFormat(Qt::RichText);
  const QString text = caption.toHtmlEscaped();
  c->setText(QFile::exists(picture)
                 ? QStringLiteral("<table align=\"center\" cellspacing=\"0\" cellpadding=\"0\"><tr>"
                                  "<td valign=\"middle\"><img src=\"%1\"></td>"
                                  "<td valign=\"middle\">&nbsp;&nbsp;%2</td></tr></table>")
                       .arg(picture, text)
                 : text);
  c->setStyleSheet(QStringLiteral(
      "QLabel { background: #000080; color: white; border: 1px solid #404040; border-radius: 3px;"
      " font-family: Verdana; font-size: 9pt; font-weight: bold; }"
      "QLabel:hover { background: #1c1ca8; }"));
  return c;
}

QLabel* instructionLabel(QWidget* parent, const char* name, const QString& text, const QRect& where) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setGeometry(where);
  l->setWordWrap(true);
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  l->setStyleSheet(QStringLiteral("color: #000080; font-family: Verdana; font-size: 10pt;"));
  return l;
}

QWidget* headedCard(QWidget* parent, const char* name, const QString& heading, const QRect& where) {
  auto* card = new QLabel(parent);  // a label paints its own stylesheet background
  card->setObjectName(QString::fromLatin1(name));
  card->setGeometry(where);
  card->setStyleSheet(QStringLiteral("QLabel#%1 { background: white; border: 1px solid #000080; }")
                          .arg(QString::fromLatin1(name)));
  auto* band = new QLabel(heading, card);
  band->setObjectName(QString::fromLatin1(name) + QStringLiteral("Titolo"));
  band->setGeometry(1, 1, where.width() - 2, 34);
  band->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  band->setStyleSheet(QStringLiteral(
      "background: #000080; color: white; padding-left: 14px; font-family: Verdana; font-size: 12pt;"
      " font-weight: bold;"));
  auto* line = new QLabel(card);
  line->setGeometry(1, 35, where.width() - 2, 4);
  line->setStyleSheet(QStringLiteral("background: #800000;"));
  return card;
}

// ---- panels ----

QLabel* colourPanel(QWidget* parent, const char* name, const QString& text, const QRect& where,
                    const QColor& background, const QColor& foreground, const QFont& font) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setGeometry(where);
  l->setFont(font);
  l->setAutoFillBackground(true);
  QPalette p = l->palette();
  p.setColor(QPalette::Window, background);
  p.setColor(QPalette::WindowText, foreground);
  l->setPalette(p);
  return l;
}

QFrame* raisedPanel(QWidget* parent, const char* name, const QRect& where, const QColor& face) {
  auto* p = new QFrame(parent);
  p->setObjectName(QString::fromLatin1(name));
  p->setGeometry(where);
  p->setFrameStyle(QFrame::Panel | QFrame::Raised);
  p->setLineWidth(1);
  p->setAutoFillBackground(true);
  QPalette pal = p->palette();
  pal.setColor(QPalette::Window, face);
  p->setPalette(pal);
  return p;
}

QPoint centredContainer(QSize window, QSize container) {
  return {window.width() / 2 - container.width() / 2 - 8,
          window.height() / 2 - container.height() / 2 - 18};
}

// ---- control names ----

QString controlName(const FieldDef& field) {
  return QString::fromLatin1(field.attachment ? "lbl" : "txt") + QString::fromLatin1(field.name);
}

// ---- the position label ----

QLabel* positionLabel(QWidget* parent, const QRect& where, FontSize size, bool framed) {
  auto* l = new QLabel(parent);
  l->setObjectName(QStringLiteral("lblPosizione"));
  l->setGeometry(where);
  l->setAlignment(Qt::AlignCenter);
  l->setFont(uiFont(FontFamily::Verdana, size, Bold));
  l->setTextFormat(Qt::PlainText);
  if (framed) {
    l->setAutoFillBackground(true);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, kNavy);
    l->setPalette(p);
  }
  return l;
}

// ---- the attachment fields ----

AttachmentFields createAttachmentFields(QWidget* parent, const Layout& layout) {
  auto label = [&](const char* field) {
    const QByteArray name = controlName(layout.field(layout.indexOf(field))).toLatin1();
    return hiddenLabel(parent, name.constData());
  };
  AttachmentFields f;
  f.file[0] = label("File01");
  f.file[1] = label("File02");
  f.file[2] = label("File03");
  f.description[0] = label("Desc01");
  f.description[1] = label("Desc02");
  f.description[2] = label("Desc03");
  f.folder = label("Cartella");
  f.folderDescription = label("CartellaDesc");
  return f;
}

// ---- status texts ----

namespace {

class StatusFilter : public QObject {
 public:
  StatusFilter(QLabel* panel, QString text, QObject* parent)
      : QObject(parent), panel_(panel), text_(std::move(text)) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if ((e->type() == QEvent::Enter || e->type() == QEvent::HoverEnter) && panel_)
      panel_->setText(text_);
    // A background area gets no new Enter when the mouse comes back to it from
    // a command inside it, so the command empties the panel when it is left.
    else if ((e->type() == QEvent::Leave || e->type() == QEvent::HoverLeave) && panel_ && !text_.isEmpty() &&
             panel_->text() == text_)
      panel_->clear();
    return false;
  }

 private:
  QPointer<QLabel> panel_;
  QString text_;
};

// While the mouse is over `target`, `panel` shows `text`; an empty text
// empties it.
void setStatusText(QWidget* target, QLabel* panel, const QString& text) {
  target->setAttribute(Qt::WA_Hover);
  target->installEventFilter(new StatusFilter(panel, text, target));
}

}  // namespace

void installStatusTexts(QLabel* panel, std::initializer_list<StatusText> texts,
                        const QList<QWidget*>& backgrounds) {
  for (const StatusText& t : texts) setStatusText(t.target, panel, QString::fromUtf8(t.text));
  for (QWidget* area : backgrounds) setStatusText(area, panel, QString());
}

// ---- handlers ----

void onClick(QWidget* control, QWidget* owner, std::function<void()> handler) {
  auto run = [owner, handler = std::move(handler)] { guarded(owner, handler); };
  if (auto* label = qobject_cast<ClickLabel*>(control)) QObject::connect(label, &ClickLabel::clicked, owner, run);
  else if (auto* button = qobject_cast<QAbstractButton*>(control))
    QObject::connect(button, &QAbstractButton::clicked, owner, run);
}

}  // namespace zel
