#include "app/forms.h"

#include <QApplication>

#include "app/avvio.h"
#include "app/cambiapassword.h"
#include "app/info.h"
#include "app/password.h"
#include "app/splash.h"
#include "attach/allegatides.h"
#include "attach/allegatifor.h"
#include "attach/allegatimat.h"
#include "attach/cartellades.h"
#include "attach/cartellafor.h"
#include "attach/cartellamat.h"
#include "checks/carta.h"
#include "checks/codfisc.h"
#include "checks/iban.h"
#include "checks/iva.h"
#include "clients/cercadestinatari.h"
#include "clients/destinatari.h"
#include "clients/esportades.h"
#include "help/helpform.h"
#include "products/cercamateriale.h"
#include "products/cercasottoscorta.h"
#include "products/esportamat.h"
#include "products/impmateriali.h"
#include "products/materiali.h"
#include "supplies/accedi.h"
#include "supplies/cercafornitura.h"
#include "supplies/cercaincompleti.h"
#include "supplies/crea.h"
#include "supplies/esportafor.h"
#include "supplies/forniture.h"
#include "ui/base/flow.h"

namespace zel {

Forms& forms() {
  static Forms instance;
  return instance;
}

namespace {

QStringList& order() {
  static QStringList names;
  return names;
}

void created(QWidget* window) { order().append(window->metaObject()->className()); }

// The screens reach each other's single instances through this, never
// through the table itself.
class FormsNavigation : public Navigation {
 public:
  QWidget* window(WindowId id) const override {
    const Forms& f = forms();
    switch (id) {
      case WindowId::StartScreen: return f.frmAvvio;
      case WindowId::ClientCard: return f.frmDestinatari;
      case WindowId::ProductCard: return f.frmMateriali;
      case WindowId::CreateSupply: return f.frmCrea;
      case WindowId::OpenSupply: return f.frmAccedi;
      case WindowId::SupplySheet: return f.frmForniture;
      case WindowId::ClientExport: return f.frmEsportaDes;
      case WindowId::ProductExport: return f.frmEsportaMat;
      case WindowId::SupplyExport: return f.frmEsportaFor;
      case WindowId::PendingPayments: return f.frmCercaIncompleti;
      case WindowId::Login: return f.frmPassword;
      case WindowId::ChangePassword: return f.frmCambiaPassword;
      case WindowId::About: return f.frmInfo;
      case WindowId::Credits: return f.frmSplash;
    }
    return nullptr;
  }
};

FormsNavigation formsNavigation;

}  // namespace

int ProgramFlow::runModal(QDialog& dialog) { return dialog.exec(); }

void ProgramFlow::showHelp(const HelpTopic& topic) {
  if (forms().frmHelpForm) forms().frmHelpForm->showTopic(topic);
}

void ProgramFlow::quit() { QApplication::quit(); }

const QStringList& creationOrder() { return order(); }

void createForms() {
  order().clear();
  setNavigation(&formsNavigation);
  Forms& f = forms();
  f.frmPassword = new TfrmPassword();
  created(f.frmPassword);
  f.frmAvvio = new TfrmAvvio();
  created(f.frmAvvio);
  f.frmHelpForm = new TfrmHelpForm();
  created(f.frmHelpForm);
  f.frmInfo = new TfrmInfo();
  created(f.frmInfo);
  f.frmSplash = new TfrmSplash();
  created(f.frmSplash);
  f.frmCrea = new TfrmCrea();
  created(f.frmCrea);
  f.frmAccedi = new TfrmAccedi();
  created(f.frmAccedi);
  f.frmForniture = new TfrmForniture();
  created(f.frmForniture);
  f.frmAllegatiFor = new TfrmAllegatiFor();
  created(f.frmAllegatiFor);
  f.frmCartellaFor = new TfrmCartellaFor();
  created(f.frmCartellaFor);
  f.frmEsportaFor = new TfrmEsportaFor();
  created(f.frmEsportaFor);
  f.frmCercaIncompleti = new TfrmCercaIncompleti();
  created(f.frmCercaIncompleti);
  f.frmCercaFornitura = new TfrmCercaFornitura();
  created(f.frmCercaFornitura);
  f.frmDestinatari = new TfrmDestinatari();
  created(f.frmDestinatari);
  f.frmCodFisc = new TfrmCodFisc();
  created(f.frmCodFisc);
  f.frmIva = new TfrmIva();
  created(f.frmIva);
  f.frmCarta = new TfrmCarta();
  created(f.frmCarta);
  f.frmIban = new TfrmIban();
  created(f.frmIban);
  f.frmAllegatiDes = new TfrmAllegatiDes();
  created(f.frmAllegatiDes);
  f.frmCartellaDes = new TfrmCartellaDes();
  created(f.frmCartellaDes);
  f.frmEsportaDes = new TfrmEsportaDes();
  created(f.frmEsportaDes);
  f.frmCercaDestinatari = new TfrmCercaDestinatari();
  created(f.frmCercaDestinatari);
  f.frmMateriali = new TfrmMateriali();
  created(f.frmMateriali);
  f.frmAllegatiMat = new TfrmAllegatiMat();
  created(f.frmAllegatiMat);
  f.frmCartellaMat = new TfrmCartellaMat();
  created(f.frmCartellaMat);
  f.frmEsportaMat = new TfrmEsportaMat();
  created(f.frmEsportaMat);
  f.frmCercaSottoscorta = new TfrmCercaSottoscorta();
  created(f.frmCercaSottoscorta);
  f.frmCercaMateriale = new TfrmCercaMateriale();
  created(f.frmCercaMateriale);
  f.frmImpMateriali = new TfrmImpMateriali();
  created(f.frmImpMateriali);
  f.frmCambiaPassword = new TfrmCambiaPassword();
  created(f.frmCambiaPassword);
}

void destroyForms() {
  Forms& f = forms();
  delete f.frmCambiaPassword;
  delete f.frmImpMateriali;
  delete f.frmCercaMateriale;
  delete f.frmCercaSottoscorta;
  delete f.frmEsportaMat;
  delete f.frmCartellaMat;
  delete f.frmAllegatiMat;
  delete f.frmMateriali;
  delete f.frmCercaDestinatari;
  delete f.frmEsportaDes;
  delete f.frmCartellaDes;
  delete f.frmAllegatiDes;
  delete f.frmIban;
  delete f.frmCarta;
  delete f.frmIva;
  delete f.frmCodFisc;
  delete f.frmDestinatari;
  delete f.frmCercaFornitura;
  delete f.frmCercaIncompleti;
  delete f.frmEsportaFor;
  delete f.frmCartellaFor;
  delete f.frmAllegatiFor;
  delete f.frmForniture;
  delete f.frmAccedi;
  delete f.frmCrea;
  delete f.frmSplash;
  delete f.frmInfo;
  delete f.frmHelpForm;
  delete f.frmAvvio;
  delete f.frmPassword;
  f = Forms{};
  setNavigation(nullptr);
}

}  // namespace zel
