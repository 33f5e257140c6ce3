#pragma once
#include <QLineEdit>

#include "ui/searchwindow.h"

namespace zel {

// The client search: nine criteria over Anagrafica.pro; a picked client
// goes whole into the client card ("anagrafica") or by name into the supply
// sheet ("forniture").
class TfrmCercaDestinatari : public SearchWindow {
  Q_OBJECT
 public:
  explicit TfrmCercaDestinatari(QWidget* parent = nullptr);

 protected:
  TextList search(const Criteria& criteria, const Progress& progress) override;
  void pick(const Text& line) override;
};

}  // namespace zel
