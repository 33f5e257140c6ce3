#include "ui/attachwindow.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QUrl>

#include "core/text.h"
#include "store/fields.h"
#include "ui/base/flow.h"
#include "ui/base/services.h"
#include "ui/kit.h"

namespace zel {
namespace {

// ---- the texts of the variants ----

QString captionOf(AttachKind kind, AttachCard card) {
  if (kind == AttachKind::Folder) return QStringLiteral(" Associa cartella");
  return card == AttachCard::Product ? QStringLiteral(" Allega file") : QStringLiteral(" File allegati");
}

QString info01(AttachKind kind) {
  return kind == AttachKind::Files
             ? QStringLiteral(
                   "Selezionare i file da allegare alla scheda corrente servendosi del pulsante Sfoglia.")
             : QStringLiteral(
                   "Selezionare la cartella da associare alla scheda corrente servendosi del pulsante Sfoglia.");
}

QString info02(AttachKind kind, AttachCard card) {
  // The client card and the supply sheet save with a floppy icon.
  if (kind == AttachKind::Files && card != AttachCard::Product)
    return QStringLiteral(
        "Quindi fare clic su Applica e chiudi e poi sull'icona del floppy per salvare la scheda.");
  return QStringLiteral("Quindi fare clic su Applica e chiudi e poi sul pulsante Salva per salvare le modifiche.");
}

QString info03(AttachKind kind) {
  return kind == AttachKind::Files
             ? QStringLiteral("Per visualizzare un file è sufficiente premere il pulsante Apri.")
             : QStringLiteral("Per aprire la cartella è sufficiente premere il pulsante Apri.");
}

// The product card ends its captions with a colon.
QString captionText(const QString& text, AttachCard card) {
  return card == AttachCard::Product ? text + QLatin1Char(':') : text;
}

QString fileCaption(AttachKind kind, int i) {
  return kind == AttachKind::Files ? QStringLiteral("File allegato %1").arg(i + 1)
                                   : QStringLiteral("Cartella associata");
}

// ---- the layout ----

constexpr int kClientWidth = 560;
constexpr int kInfoTop = 10, kInfoStep = 28;
constexpr int kFirstGroupTop = 100, kGroupStep = 112;
const QSize kGroupSize(536, 104);
const QSize kApplySize(144, 26);

QString numbered(const char* name, int i) {
  return QString::fromLatin1(name) + QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'));
}

QFont windowFont() { return uiFont(FontFamily::Verdana, pt(8)); }

QLabel* label(QWidget* parent, const QString& name, const QString& text, const QRect& where) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  l->setGeometry(where);
  l->setFont(windowFont());
  return l;
}

QLabel* infoLabel(QWidget* parent, const char* name, const QString& text, const QRect& where) {
  QLabel* l = label(parent, QString::fromLatin1(name), text, where);
  l->setWordWrap(true);
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPalette p = l->palette();
  p.setColor(QPalette::WindowText, kNavy);
  l->setPalette(p);
  return l;
}

QLineEdit* box(QWidget* parent, const QString& name, const QRect& where) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setGeometry(where);
  e->setFont(windowFont());
  return e;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text, const QRect& where) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  b->setGeometry(where);
  b->setFont(windowFont());
  // Enter presses the button that has the focus, never a default one.
  b->setAutoDefault(false);
  return b;
}

// Backspace in the read-only path box is how an attachment is removed: it
// empties the whole box. Every other key does what a read-only box does.
class BackspaceEmpties : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Backspace)
      return false;
    if (auto* path = qobject_cast<QLineEdit*>(watched)) path->clear();
    return true;
  }
};

void fill(QLineEdit* box, const QLabel* field) { box->setText(field ? trimmed(field->text()) : QString()); }

void store(QLabel* field, const QLineEdit* box) {
  if (field) field->setText(trimmed(box->text()));
}

}  // namespace

QString unstorablePathMessage() {
  return QStringLiteral(
      "Attenzione: il percorso scelto contiene caratteri che non possono essere memorizzati nella scheda, "
      "per cui non sarebbe possibile aprirlo in seguito.\r\n\r\n"
      "Rinominare il file o la cartella senza tali caratteri e selezionarli di nuovo.");
}

QString tooLongPathMessage() {
  return QStringLiteral(
      "Attenzione: il percorso scelto è troppo lungo per essere memorizzato nella scheda (al massimo %1 "
      "caratteri), per cui non sarebbe possibile aprirlo in seguito.\r\n\r\n"
      "Spostare il file o la cartella in una posizione dal percorso più breve e selezionarli di nuovo.")
      .arg(kAttachmentCapacity);
}

QString unopenedPathMessage(AttachKind kind) {
  return kind == AttachKind::Files
             ? QStringLiteral(
                   "Attenzione: non è stato possibile aprire il file.\r\n\r\n"
                   "Accertarsi che il file esista ancora e che sul computer sia installato un programma in "
                   "grado di aprirlo.")
             : QStringLiteral(
                   "Attenzione: non è stato possibile aprire la cartella.\r\n\r\n"
                   "Accertarsi che la cartella esista ancora.");
}

AttachmentSlotsWindow::AttachmentSlotsWindow(const QString& objectName, AttachKind kind, AttachCard card,
                                             QWidget* parent)
    : Dialog(objectName, captionOf(kind, card), parent), kind_(kind) {
  setBackground(Qt::white);
  // The attachments window keeps its left edge for a picture.
  const int infoLeft = kind == AttachKind::Files ? 72 : 12;
  const int infoWidth = kClientWidth - infoLeft - 12;
  lblInfo01 = infoLabel(this, "lblInfo01", info01(kind), QRect(infoLeft, kInfoTop, infoWidth, kInfoStep));
  lblInfo02 = infoLabel(this, "lblInfo02", info02(kind, card),
                        QRect(infoLeft, kInfoTop + kInfoStep, infoWidth, kInfoStep));
  lblInfo03 =
      infoLabel(this, "lblInfo03", info03(kind), QRect(infoLeft, kInfoTop + 2 * kInfoStep, infoWidth, kInfoStep));

  const int count = kind == AttachKind::Files ? 3 : 1;
  for (int i = 0; i < count; ++i)
    buildSlot(i, card, QRect(QPoint(12, kFirstGroupTop + i * kGroupStep), kGroupSize));

  const int applyTop = kFirstGroupTop + count * kGroupStep;
  cmdApplica = button(this, QStringLiteral("cmdApplica"), QStringLiteral("Applica e chiudi"),
                      QRect(QPoint(kClientWidth - 12 - kApplySize.width(), applyTop), kApplySize));
  onClick(cmdApplica, this, [this] { cmdApplicaClick(); });
  setClientSize(kClientWidth, applyTop + kApplySize.height() + 12);

  // Slot by slot: path, description, Sfoglia..., Apri; then Applica e chiudi.
  QList<QWidget*> order;
  for (const AttachmentSlot& s : items_) order << s.txtFile << s.txtDesc << s.cmdSfoglia << s.cmdApri;
  order << cmdApplica;
  for (int i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}

void AttachmentSlotsWindow::buildSlot(int i, AttachCard card, const QRect& where) {
  AttachmentSlot s;
  s.grpAllegato = new QGroupBox(this);
  s.grpAllegato->setObjectName(numbered("grpAllegato", i));
  s.grpAllegato->setGeometry(where);
  QWidget* g = s.grpAllegato;
  s.lblFile = label(g, numbered("lblFile", i), captionText(fileCaption(kind_, i), card), QRect(12, 16, 300, 16));
  s.txtFile = box(g, numbered("txtFile", i), QRect(12, 34, 400, 22));
  s.lblDesc =
      label(g, numbered("lblDesc", i), captionText(QStringLiteral("Descrizione"), card), QRect(12, 58, 300, 16));
  s.txtDesc = box(g, numbered("txtDesc", i), QRect(12, 74, 400, 22));
  s.txtDesc->setMaxLength(kAttachmentCapacity);  // what the card's field holds
  s.cmdSfoglia = button(g, numbered("cmdSfoglia", i), QStringLiteral("Sfoglia..."), QRect(420, 33, 104, 24));
  s.cmdApri = button(g, numbered("cmdApri", i), QStringLiteral("Apri"), QRect(420, 73, 104, 24));

  s.txtFile->setReadOnly(true);
  QPalette p = s.txtFile->palette();
  p.setColor(QPalette::Text, Qt::red);
  s.txtFile->setPalette(p);
  s.txtFile->installEventFilter(new BackspaceEmpties(s.txtFile));
  applyFocusColours({s.txtFile, s.txtDesc}, kMoneyGreen);
  s.cmdApri->setEnabled(false);

  connect(s.txtFile, &QLineEdit::textChanged, this, [this, i] { txtFileChange(i); });
  onClick(s.cmdSfoglia, this, [this, i] { cmdSfogliaClick(i); });
  onClick(s.cmdApri, this, [this, i] { cmdApriClick(i); });
  items_.append(s);
}

int AttachmentSlotsWindow::edit(const AttachmentFields& fields) {
  fields_ = fields;
  for (int i = 0; i < items_.size(); ++i) {
    fill(items_[i].txtFile, cardPath(i));
    fill(items_[i].txtDesc, cardDescription(i));
    txtFileChange(i);
  }
  return flow().runModal(*this);
}

QLabel* AttachmentSlotsWindow::cardPath(int i) const {
  return kind_ == AttachKind::Files ? fields_.file[i] : fields_.folder;
}

QLabel* AttachmentSlotsWindow::cardDescription(int i) const {
  return kind_ == AttachKind::Files ? fields_.description[i] : fields_.folderDescription;
}

QString AttachmentSlotsWindow::choosePath(int i) {
  // The dialog opens where the slot points, so that an attachment is changed
  // for one beside it; with no path, or one that is gone, at the user's home
  // folder (the root of the file system means nothing to most users).
  const QString current = QDir::fromNativeSeparators(trimmed(items_[i].txtFile->text()));
  const QString start = !current.isEmpty() && QFileInfo::exists(current) ? current : QDir::homePath();
  if (kind_ == AttachKind::Folder)
    return services().chooseFolder(this, QStringLiteral("Selezionare una cartella:"), start);
  return services().chooseFile(this, QStringLiteral("Selezionare un file e premere Apri:"), start,
                               QStringLiteral("Tutti i file (*.*)"));
}

void AttachmentSlotsWindow::cmdSfogliaClick(int i) {
  QLineEdit* path = items_[i].txtFile;
  QString chosen;
  try {
    chosen = choosePath(i);
  } catch (...) {
    // A dialog that fails leaves the slot empty and says nothing.
    path->clear();
    return;
  }
  if (chosen.isEmpty()) return;  // the user cancelled
  chosen = QDir::toNativeSeparators(chosen);
  if (!fitsArchive(chosen)) {
    services().message(this, unstorablePathMessage());
    return;
  }
  if (chosen.size() > kAttachmentCapacity) {
    services().message(this, tooLongPathMessage());
    return;
  }
  path->setText(chosen);
}

void AttachmentSlotsWindow::txtFileChange(int i) {
  items_[i].cmdApri->setEnabled(!trimmed(items_[i].txtFile->text()).isEmpty());
}

void AttachmentSlotsWindow::cmdApriClick(int i) {
  const QString path = trimmed(items_[i].txtFile->text());
  if (path.isEmpty()) return;
  // A local-file URL, never a command line: blanks, '#' and '%' stay part of
  // the name, and nothing in it can run.
  if (!services().openUrl(QUrl::fromLocalFile(QDir::fromNativeSeparators(path))))
    services().message(this, unopenedPathMessage(kind_));
}

void AttachmentSlotsWindow::cmdApplicaClick() {
  for (int i = 0; i < items_.size(); ++i) {
    store(cardPath(i), items_[i].txtFile);
    store(cardDescription(i), items_[i].txtDesc);
  }
  accept();
}

AttachmentsWindow::AttachmentsWindow(const QString& objectName, AttachCard card, QWidget* parent)
    : AttachmentSlotsWindow(objectName, AttachKind::Files, card, parent), imgGuida(new QLabel(this)) {
  imgGuida->setObjectName(QStringLiteral("imgGuida"));
  imgGuida->setGeometry(12, kInfoTop, 48, 48);
  imgGuida->setPixmap(QPixmap(QStringLiteral(":/art/guida.png")));
}

FolderWindow::FolderWindow(const QString& objectName, AttachCard card, QWidget* parent)
    : AttachmentSlotsWindow(objectName, AttachKind::Folder, card, parent) {}

}  // namespace zel
