#include "ui/cardbinding.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <stdexcept>
#include <vector>

#include "store/fileio.h"
#include "ui/base/services.h"
#include "ui/behaviour.h"
#include "ui/kit.h"

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

namespace {

// The records this program rewrote without a card, each with the count of
// rewrites noted up to it; a card compares with the count when it read.
struct Rewrite {
  std::filesystem::path file;
  size_t k;
  uint64_t count;
};
std::vector<Rewrite>& rewrites() {
  static std::vector<Rewrite> noted;
  return noted;
}
uint64_t rewriteCount() { return rewrites().empty() ? 0 : rewrites().back().count; }

}  // namespace

void noteRewrittenHere(const std::filesystem::path& file, size_t k) {
  rewrites().push_back({file, k, rewriteCount() + 1});
}

void CardBinding::show(const Record& record, size_t k) {
  fill(record);
  position_->setText(QString::number(k));
  remember(record, k);
}

void CardBinding::remember(Record record, size_t k) {
  shown_ = std::move(record);
  shownNumber_ = k;
  shownAfterRewrite_ = rewriteCount();
}

QString CardBinding::changedMessage() const {
  for (const Rewrite& r : rewrites())
    if (r.count > shownAfterRewrite_ && r.k == shownNumber_ && r.file == archive().file)
      return cardChangedHereMessage();
  return cardChangedMessage();
}

bool CardBinding::edited() const {
  if (!shown_) return true;
  // The record as the controls showed it: filled (trimmed), then read back.
  Record asShown = emptyRecord(*layout_);
  for (qsizetype i = 0; i < controls_.size(); ++i) {
    const auto f = static_cast<size_t>(i);
    const Text t = trim((*shown_)[f]);
    asShown[f] = fieldText(isMultiLine(controls_[i]) ? storedLineBreaks(shownLineBreaks(t)) : t,
                           layout_->field(f).capacity);
  }
  return read().values != asShown.values;
}

void CardBinding::refresh() {
  if (!shown_ || labelNumber(fromQ(position())) != shownNumber_ || edited()) return;
  try {
    // Another desk saving or deleting meanwhile: the card is left as it is
    // rather than the window held still until the archive is free.
    const NoLockWait atOnce;
    const Record now = readRecord(archive().file, *layout_, shownNumber_);
    if (now.values != shown_->values) show(now, shownNumber_);
  } catch (...) {
    // Unreadable now: the card stays as it was, and a save will say why.
  }
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
  }, changedMessage());
  if (!ok) return false;
  position_->setText(QString::number(outcome.recordNumber));
  remember(std::move(r), outcome.recordNumber);
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
  if (!withArchive(
          form_, [&] { deleteCard(archive(), fromQ(position()), {}, shownAt(position())); }, changedMessage()))
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

FieldText cardFields(const CardBinding& binding) {
  return [&binding](std::string_view field) { return fromQ(controlText(binding.control(field))); };
}

}  // namespace zel
