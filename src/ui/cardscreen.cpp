#include "ui/cardscreen.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "ui/attachwindow.h"
#include "ui/base/flow.h"

namespace zel {
namespace {

QString unstorableTextMessage() {
  return QStringLiteral(
      "Attenzione: alcuni dati della scheda contengono caratteri che non possono essere memorizzati in "
      "archivio (ad esempio lettere greche o cirilliche).\r\n\r\n"
      "Sostituire tali caratteri prima di salvare la scheda.");
}

}  // namespace

void Refusal::show(QWidget* parent) const {
  if (title.isEmpty()) services().message(parent, text);
  else services().box(parent, text, title, icon, MsgButtons::Ok);
  if (focus) focus->setFocus(Qt::OtherFocusReason);
}

CardScreen::CardScreen(const QString& objectName, const QString& caption, const Layout& layout,
                       std::function<CardArchive()> archive, QWidget* parent)
    : MainScreen(objectName, caption, parent), layout_(layout), archive_(std::move(archive)) {}

CardScreen::~CardScreen() = default;

void CardScreen::createAttachmentFields(QWidget* parent) {
  attachments_ = zel::createAttachmentFields(parent, layout_);
}

void CardScreen::wireSaveAndNavigation(QWidget* save, QWidget* first, QWidget* previous, QWidget* next,
                                       QWidget* last) {
  wireCommands<CardScreen>(this, statusPanel(), {
      {save, &CardScreen::saveCommand,
       " Salva in archivio i dati relativi alla scheda corrente oppure aggiorna la scheda esistente."},
      {first, &CardScreen::firstCommand, " Visualizza la prima scheda in archivio."},
      {previous, &CardScreen::previousCommand, " Visualizza la scheda precedente in archivio."},
      {next, &CardScreen::nextCommand, " Visualizza la scheda successiva in archivio."},
      {last, &CardScreen::lastCommand, " Visualizza l'ultima scheda in archivio"},
  });
}

void CardScreen::bindCard() {
  binding_ = std::make_unique<CardBinding>(this, layout_, lblPosizione, archive_);
  // The maximum lengths are the capacities of the record's fields.
  for (size_t i = 0; i < layout_.fieldCount(); ++i) {
    QWidget* c = binding_->control(i);
    const int capacity = layout_.field(i).capacity;
    if (auto* e = qobject_cast<QLineEdit*>(c)) e->setMaxLength(capacity);
    else if (auto* m = qobject_cast<QPlainTextEdit*>(c)) limitLength(m, capacity);
    else if (auto* b = qobject_cast<QComboBox*>(c); b && b->lineEdit()) b->lineEdit()->setMaxLength(capacity);
  }
}

void CardScreen::showRecord(const Record& record, size_t k) { binding_->show(record, k); }

bool CardScreen::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && binding_) binding_->refresh();
  return MainScreen::event(event);
}

void CardScreen::newCardCommand() {
  binding_->clear();
  setDefaults();
  firstField()->setFocus(Qt::OtherFocusReason);
}

void CardScreen::saveCommand() {
  for (const MandatoryField& m : mandatory_) {
    if (trimmed(controlText(m.control)).isEmpty()) {
      m.refusal.show(this);
      return;
    }
  }
  if (refuseUnstorableText() || !beforeSave()) return;
  Record stored;
  const bool saved = binding_->save([this, &stored](Record& r) {
    prepareRecord(r);
    stored = r;
  });
  if (saved) afterSave(stored);
}

bool CardScreen::refuseUnstorableText() {
  for (size_t i = 0; i < layout_.fieldCount(); ++i) {
    QWidget* c = binding_->control(i);
    if (fitsArchive(controlText(c))) continue;
    services().message(this, unstorableTextMessage());
    // A hidden field (an attachment's description) cannot take the focus.
    if (c->isVisible() && c->isEnabled()) c->setFocus(Qt::OtherFocusReason);
    return true;
  }
  return false;
}

void CardScreen::deleteCommand() {
  if (trimmed(lblPosizione->text()).isEmpty()) {
    deleteTexts_.notStored.show(this);
    return;
  }
  if (services().box(this, deleteTexts_.question, deleteTexts_.questionTitle, deleteTexts_.questionIcon,
                     MsgButtons::YesNo) != MsgAnswer::Yes)
    return;
  if (binding_->deleteShown()) afterDelete();
}

void CardScreen::attachmentsCommand() { newAttachmentsWindow()->edit(attachments_); }

void CardScreen::folderCommand() { newFolderWindow()->edit(attachments_); }

void CardScreen::helpCommand() { flow().showHelp(helpTopic()); }

}  // namespace zel
