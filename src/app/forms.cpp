#include "app/forms.h"

#include "app/password.h"
#include "app/avvio.h"
#include "app/helpform.h"
#include "app/info.h"
#include "app/splash.h"
#include "supplies/crea.h"
#include "supplies/accedi.h"
#include "supplies/forniture.h"
#include "attach/allegatifor.h"
#include "attach/cartellafor.h"
#include "supplies/esportafor.h"
#include "supplies/cercaincompleti.h"
#include "supplies/cercafornitura.h"
#include "clients/destinatari.h"
#include "checks/codfisc.h"
#include "checks/iva.h"
#include "checks/carta.h"
#include "checks/iban.h"
#include "attach/allegatides.h"
#include "attach/cartellades.h"
#include "clients/esportades.h"
#include "clients/cercadestinatari.h"
#include "products/materiali.h"
#include "attach/allegatimat.h"
#include "attach/cartellamat.h"
#include "products/esportamat.h"
#include "products/cercasottoscorta.h"
#include "products/cercamateriale.h"
#include "products/impmateriali.h"
#include "app/cambiapassword.h"

namespace zel {

Forms& forms() {
  static Forms instance;
  return instance;
}

void createForms() {
  Forms& f = forms();
  f.frmPassword = new TfrmPassword();
  f.frmAvvio = new TfrmAvvio();
  f.frmHelpForm = new TfrmHelpForm();
  f.frmInfo = new TfrmInfo();
  f.frmSplash = new TfrmSplash();
  f.frmCrea = new TfrmCrea();
  f.frmAccedi = new TfrmAccedi();
  f.frmForniture = new TfrmForniture();
  f.frmAllegatiFor = new TfrmAllegatiFor();
  f.frmCartellaFor = new TfrmCartellaFor();
  f.frmEsportaFor = new TfrmEsportaFor();
  f.frmCercaIncompleti = new TfrmCercaIncompleti();
  f.frmCercaFornitura = new TfrmCercaFornitura();
  f.frmDestinatari = new TfrmDestinatari();
  f.frmCodFisc = new TfrmCodFisc();
  f.frmIva = new TfrmIva();
  f.frmCarta = new TfrmCarta();
  f.frmIban = new TfrmIban();
  f.frmAllegatiDes = new TfrmAllegatiDes();
  f.frmCartellaDes = new TfrmCartellaDes();
  f.frmEsportaDes = new TfrmEsportaDes();
  f.frmCercaDestinatari = new TfrmCercaDestinatari();
  f.frmMateriali = new TfrmMateriali();
  f.frmAllegatiMat = new TfrmAllegatiMat();
  f.frmCartellaMat = new TfrmCartellaMat();
  f.frmEsportaMat = new TfrmEsportaMat();
  f.frmCercaSottoscorta = new TfrmCercaSottoscorta();
  f.frmCercaMateriale = new TfrmCercaMateriale();
  f.frmImpMateriali = new TfrmImpMateriali();
  f.frmCambiaPassword = new TfrmCambiaPassword();
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
}

}  // namespace zel
