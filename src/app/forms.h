#pragma once
#include <QStringList>

#include "ui/base/flow.h"
// The program's windows: one instance of each class, created at start-up in a
// fixed order and reachable through one program-wide reference per class.

namespace zel {

class TfrmPassword;
class TfrmAvvio;
class TfrmHelpForm;
class TfrmInfo;
class TfrmSplash;
class TfrmCrea;
class TfrmAccedi;
class TfrmForniture;
class TfrmAllegatiFor;
class TfrmCartellaFor;
class TfrmEsportaFor;
class TfrmCercaIncompleti;
class TfrmCercaFornitura;
class TfrmDestinatari;
class TfrmCodFisc;
class TfrmIva;
class TfrmCarta;
class TfrmIban;
class TfrmAllegatiDes;
class TfrmCartellaDes;
class TfrmEsportaDes;
class TfrmCercaDestinatari;
class TfrmMateriali;
class TfrmAllegatiMat;
class TfrmCartellaMat;
class TfrmEsportaMat;
class TfrmCercaSottoscorta;
class TfrmCercaMateriale;
class TfrmImpMateriali;
class TfrmCambiaPassword;

struct Forms {
  TfrmPassword* frmPassword = nullptr;
  TfrmAvvio* frmAvvio = nullptr;
  TfrmHelpForm* frmHelpForm = nullptr;
  TfrmInfo* frmInfo = nullptr;
  TfrmSplash* frmSplash = nullptr;
  TfrmCrea* frmCrea = nullptr;
  TfrmAccedi* frmAccedi = nullptr;
  TfrmForniture* frmForniture = nullptr;
  TfrmAllegatiFor* frmAllegatiFor = nullptr;
  TfrmCartellaFor* frmCartellaFor = nullptr;
  TfrmEsportaFor* frmEsportaFor = nullptr;
  TfrmCercaIncompleti* frmCercaIncompleti = nullptr;
  TfrmCercaFornitura* frmCercaFornitura = nullptr;
  TfrmDestinatari* frmDestinatari = nullptr;
  TfrmCodFisc* frmCodFisc = nullptr;
  TfrmIva* frmIva = nullptr;
  TfrmCarta* frmCarta = nullptr;
  TfrmIban* frmIban = nullptr;
  TfrmAllegatiDes* frmAllegatiDes = nullptr;
  TfrmCartellaDes* frmCartellaDes = nullptr;
  TfrmEsportaDes* frmEsportaDes = nullptr;
  TfrmCercaDestinatari* frmCercaDestinatari = nullptr;
  TfrmMateriali* frmMateriali = nullptr;
  TfrmAllegatiMat* frmAllegatiMat = nullptr;
  TfrmCartellaMat* frmCartellaMat = nullptr;
  TfrmEsportaMat* frmEsportaMat = nullptr;
  TfrmCercaSottoscorta* frmCercaSottoscorta = nullptr;
  TfrmCercaMateriale* frmCercaMateriale = nullptr;
  TfrmImpMateriali* frmImpMateriali = nullptr;
  TfrmCambiaPassword* frmCambiaPassword = nullptr;
};

// The program-wide references.
Forms& forms();
// Creates every window, in start-up order; the first is the main window.
void createForms();
// The class names of the windows, in the order createForms() made them.
const QStringList& creationOrder();
// Destroys them (end of the program, and between tests).
void destroyForms();

// The program's window flow: dialogs run modally with their own event loop,
// help topics go to the help window, quitting ends the event loop.
class ProgramFlow : public WindowFlow {
 public:
  int runModal(QDialog& dialog) override;
  void showHelp(const HelpTopic& topic) override;
  void quit() override;
};

}  // namespace zel
