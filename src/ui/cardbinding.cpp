#include "ui/cardbinding.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <stdexcept>

#include "ui/behaviour.h"
#include "ui/kit.h"
#include "ui/services.h"

namespace zel {

namespace cardtext {
QString savedUpdate() {
  return QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
}
QString savedUpdateTitle() { return QStringLiteral("Aggiornamento scheda effettuato con successo"); }
QString savedInsert() { return QStringLiteral("La scheda corrente è stata inserita in archivio."); }
QString savedInsertTitle() { return QStringLiteral("Salvataggio scheda effettuato con successo"); }
QString emptyArchive() { return QStringLiteral("L'archivio non contiene nessuna scheda."); }
QString emptyArchiveTitle() { return QStringLiteral("Visualizzazione dati non applicabile"); }
}  // namespace cardtext

QString controlText(const QWidget* c) {
  if (auto* e = qobject_cast<const QLineEdit*>(c)) return e->text();
  if (auto* m = qobject_cast<const QPlainTextEdit*>(c)) return m->toPlainText();
  if (auto* b = qobject_cast<const QComboBox*>(c)) return b->currentText();
  if (auto* l = qobject_cast<const QLabel*>(c)) return l->text();
  return {};
}

void setControlText(QWidget* c, const QString& text) {
  if (auto* e = qobject_cast<QLineEdit*>(c)) e->setText(text);
  else if (auto* m = qobject_cast<QPlainTextEdit*>(c)) m->setPlainText(text);
  else if (auto* b = qobject_cast<QComboBox*>(c)) b->setEditText(text);
  else if (auto* l = qobject_cast<QLabel*>(c)) l->setText(text);
}

CardBinding::CardBinding(QWidget* form, const Layout& layout, QLabel* positionLabel,
                         std::function<CardArchive()> archiveOf)
    : archive(std::move(archiveOf)), form_(form), layout_(&layout), position_(positionLabel) {
  for (const FieldDef& f : layout.fields()) {
    auto* c = form->findChild<QWidget*>(controlName(f));
    if (!c) throw std::logic_error("card control missing: " + controlName(f).toStdString());
    controls_.append(c);
  }
}

QWidget* CardBinding::control(std::string_view fieldName) const {
  return controls_[static_cast<qsizetype>(layout_->indexOf(fieldName))];
}

void CardBinding::clear() {
  for (QWidget* c : controls_) setControlText(c, QString());
  position_->clear();
  shown_.reset();
}

// A multi-line box shows plain line feeds; the archive holds CR LF.
static bool isMultiLine(const QWidget* c) { return qobject_cast<const QPlainTextEdit*>(c) != nullptr; }

void CardBinding::fill(const Record& record) {
  for (qsizetype i = 0; i < controls_.size(); ++i) {
    const Text t = trim(record[static_cast<size_t>(i)]);
    setControlText(controls_[i], toQ(isMultiLine(controls_[i]) ? shownLineBreaks(t) : t));
  }
}

void CardBinding::show(const Record& record, size_t k) {
  fill(record);
  position_->setText(QString::number(k));
  shown_ = record;
  shownNumber_ = k;
}

const Record* CardBinding::shownAt(const QString& label) const {
  const std::optional<size_t> k = labelNumber(fromQ(label));
  return shown_ && k == shownNumber_ ? &*shown_ : nullptr;
}

Record CardBinding::read() const {
  Record r = emptyRecord(*layout_);
  for (qsizetype i = 0; i < controls_.size(); ++i) {
    const auto f = static_cast<size_t>(i);
    const Text t = fromQ(controlText(controls_[i]));
    r[f] = fieldText(isMultiLine(controls_[i]) ? storedLineBreaks(t) : t, layout_->field(f).capacity);
  }
  return r;
}

bool CardBinding::save(const std::function<void(Record&)>& prepare) {
  SaveOutcome outcome;
  Record r;
  const bool ok = withArchive(form_, [&] {
    r = read();
    if (prepare) prepare(r);
    outcome = saveCard(archive(), fromQ(position()), r, shownAt(position()));
  });
  if (!ok) return false;
  position_->setText(QString::number(outcome.recordNumber));
  shown_ = std::move(r);
  shownNumber_ = outcome.recordNumber;
  if (outcome.appended)
    services().box(form_, cardtext::savedInsert(), cardtext::savedInsertTitle(), MsgIcon::Information,
                   MsgButtons::Ok);
  else
    services().box(form_, cardtext::savedUpdate(), cardtext::savedUpdateTitle(), MsgIcon::Information,
                   MsgButtons::Ok);
  return true;
}

bool CardBinding::navigate(NavStep step) {
  NavOutcome outcome;
  if (!withArchive(form_, [&] { outcome = zel::navigate(archive(), step, fromQ(position())); }))
    return false;
  switch (outcome.kind) {
    case NavOutcome::Kind::Show:
      show(outcome.record, outcome.recordNumber);
      break;
    case NavOutcome::Kind::EmptyArchive:
      if (outcome.clearLabel) position_->clear();
      services().box(form_, cardtext::emptyArchive(), cardtext::emptyArchiveTitle(), MsgIcon::Information,
                     MsgButtons::Ok);
      break;
    case NavOutcome::Kind::Unchanged:
      break;
  }
  return true;
}

bool CardBinding::deleteShown() {
  if (!withArchive(form_, [&] { deleteCard(archive(), fromQ(position()), {}, shownAt(position())); }))
    return false;
  clear();
  return true;
}

bool CardBinding::load(size_t k) {
  Record r;
  if (!withArchive(form_, [&] { r = readCard(archive(), k); })) return false;
  show(r, k);
  return true;
}

}  // namespace zel
