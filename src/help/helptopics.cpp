// The texts of the help topics. This file is UTF-8; QStringLiteral turns each
// literal into UTF-16 at compile time, so accented letters arrive intact. Every
// character used here also exists in Windows-1252, the program's code page.
// Paragraphs split over several literals are plain concatenations: each piece
// carries its own blanks, nothing is added between pieces.
#include "help/helptopics.h"

namespace zel::help {

HelpTopic startScreenTopic() {
  return HelpTopic{
      QStringLiteral("Uno sguardo a Zelvano"),
      {
          QStringLiteral(
              "Zelvano è un software gestionale facile e intuitivo pensato per le piccole imprese che "
              "forniscono prodotti, materiali e servizi alla propria clientela. Il programma raccoglie in "
              "un unico posto i dati dei clienti, l'archivio degli articoli e dei servizi offerti e le "
              "schede di ogni fornitura effettuata, così da tenere sempre sotto controllo consegne, "
              "importi e pagamenti."),
          QStringLiteral(
              "Il software si compone di quattro ambienti di lavoro, a cui si accede dalla schermata di "
              "avvio facendo clic sulle rispettive immagini: l'anagrafica clienti, l'archivio dei prodotti "
              "e servizi, la creazione di una nuova fornitura e l'apertura di una fornitura esistente. Per "
              "tornare alla schermata di avvio è sufficiente chiudere l'ambiente di lavoro in cui ci si "
              "trova."),
          QStringLiteral(
              "Il primo applicativo memorizza i dati anagrafici dei clienti: il nome della persona o "
              "dell'azienda, l'indirizzo, il documento di identità, il codice fiscale e la partita IVA, i "
              "dati della carta di credito e del conto bancario, le modalità di pagamento, i recapiti "
              "telefonici, l'indirizzo e-mail e le note. Ogni cliente dispone di una propria scheda, "
              "contraddistinta da un codice identificativo."),
          QStringLiteral(
              "Il secondo ambiente registra informazioni sui prodotti e servizi offerti alla clientela: "
              "codice articolo, tipologia, marca, modello e accessori, descrizione, fornitore, dati di "
              "acquisto, prezzo unitario, collocazione in magazzino e giacenza disponibile."),
          QStringLiteral(
              "La terza applicazione serve a creare il file relativo ad una nuova fornitura, al quale si "
              "assegna un nome a scelta. Ogni fornitura è un archivio a sé stante che raccoglie le schede "
              "di tutti i prodotti e servizi forniti sotto quel nome."),
          QStringLiteral(
              "L'ultimo ambiente di lavoro visualizza un elenco di selezione con tutte le forniture create, "
              "in ordine alfabetico: basta scegliere quella di interesse e premere il pulsante Apri "
              "fornitura selezionata, oppure fare doppio clic sul suo nome, per accedere alle relative "
              "schede. Dallo stesso elenco è possibile anche eliminare una fornitura che non serve più."),
          QStringLiteral(
              "L'anagrafica clienti è una completa rubrica elettronica dotata di funzioni avanzate: "
              "consente di controllare la validità del codice fiscale, della partita IVA, indicando "
              "l'ufficio che l'ha rilasciata, del numero di carta di credito, indicandone il circuito, e "
              "del codice IBAN, nonché di inviare un messaggio e-mail al cliente con un semplice clic. A "
              "ogni scheda si possono inoltre associare una cartella e fino a tre file allegati."),
          QStringLiteral(
              "L'archivio dei prodotti e servizi permette di gestire in un'unica schermata tutti i dati di "
              "ciascun articolo, dal codice al fornitore, dal prezzo unitario alla giacenza in magazzino. "
              "Per ogni articolo si può indicare una scorta minima: quando la giacenza scende fino a quel "
              "numero di pezzi, il prodotto compare nell'elenco dei prodotti in esaurimento, a ricordare "
              "che è il momento di effettuare un nuovo ordinativo."),
          QStringLiteral(
              "L'operazione da effettuare per creare una nuova fornitura è molto semplice. È sufficiente "
              "digitare il nome da assegnarle e fare clic su Applica e chiudi. Conviene scegliere un nome "
              "completo e facile da riconoscere, che contenga ad esempio il nome del cliente e il periodo "
              "di riferimento, perché sarà proprio questo nome a identificare la fornitura nell'elenco di "
              "selezione."),
          QStringLiteral(
              "L'ambiente per l'archiviazione delle forniture è composto da un elenco di tutti i prodotti e "
              "servizi forniti, nella parte inferiore della schermata, e da una scheda, nella parte "
              "superiore, in cui si inseriscono o si modificano i dati di ciascuna voce. Sotto l'elenco "
              "compare il totale degli importi di tutte le voci della fornitura, aggiornato a ogni "
              "salvataggio."),
          QStringLiteral(
              "Ogni scheda permette di registrare informazioni sul prodotto o servizio fornito: data e ora "
              "della consegna, luogo di consegna, quantità, unità di misura, prezzo unitario, importo "
              "totale, stato del pagamento (saldato o in sospeso), aspetto esteriore dei beni, cliente, "
              "fornitore, consegnatario, vettore o conducente e annotazioni. L'importo totale viene "
              "calcolato dal programma moltiplicando la quantità per il prezzo unitario."),
          QStringLiteral(
              "I dati relativi al nome del cliente e al prodotto o servizio fornito possono essere "
              "importati dai rispettivi archivi con pochi clic, senza doverli digitare di nuovo. Importando "
              "un prodotto, la scheda riceve la descrizione, il prezzo unitario e il fornitore "
              "dell'articolo e, se lo si desidera, la giacenza in magazzino viene diminuita "
              "automaticamente della quantità fornita."),
          QStringLiteral(
              "L'utente ha la possibilità di allegare file esterni di qualsiasi tipo alla scheda di ogni "
              "voce di fornitura, fino a un massimo di tre, ciascuno con una propria descrizione, e di "
              "associarle una cartella che può contenere un numero illimitato di documenti. I file e le "
              "cartelle non vengono copiati: il programma ne memorizza soltanto il percorso e li apre con "
              "un clic."),
          QStringLiteral(
              "Il programma dispone di una funzione di ricerca che permette di trovare le voci di una "
              "fornitura utilizzando più criteri contemporaneamente, come il prodotto, la data, il luogo "
              "di consegna, il cliente o il fornitore. Facendo doppio clic su una voce dell'elenco dei "
              "risultati, i suoi dati vengono richiamati nella scheda."),
          QStringLiteral(
              "Per stampare la scheda informativa di una singola fornitura basta esportarla in un "
              "documento di Microsoft Word, da cui può essere stampata o salvata, mentre l'intero elenco "
              "di una fornitura può essere esportato in un foglio di Microsoft Excel o in una tabella di "
              "Word. L'elenco dei prodotti e servizi forniti, completo del totale degli importi, può anche "
              "essere stampato direttamente."),
          QStringLiteral(
              "Un apposito pulsante permette di visualizzare l'elenco di tutte le forniture il cui "
              "pagamento è ancora in sospeso, insieme alla somma degli importi da riscuotere. Una volta "
              "ricevuto il pagamento, basta richiamare la scheda, impostare lo stato del pagamento su "
              "Saldato e salvare perché la voce scompaia dall'elenco."),
          QStringLiteral(
              "Zelvano è quindi il software ideale per chi desidera organizzare in modo semplice e ordinato "
              "il proprio lavoro di fornitore di prodotti, materiali e servizi, avendo sempre a portata di "
              "mano i dati dei clienti, lo stato del magazzino e l'andamento dei pagamenti."),
      }};
}

HelpTopic clientCardTopic() {
  return HelpTopic{
      QStringLiteral("Gestione anagrafica clienti"),
      {
          QStringLiteral(
              "Zelvano mette a disposizione un database per memorizzare l'anagrafica dei clienti il cui "
              "scopo principale è quello di facilitare la compilazione delle schede di fornitura "
              "importando i dati dall'archivio."),
          QStringLiteral(
              "L'archivio anagrafico è una completa rubrica elettronica dotata di funzioni avanzate con cui "
              "è possibile controllare la validità del numero di partita IVA, del codice fiscale,"
              " dell'IBAN bancario e del numero di carta di credito, nonché inviare un messaggio e-mail al "
              "cliente selezionato. Registrando le informazioni in questo archivio sarà possibile compilare "
              "in pochi secondi il campo relativo al"
              " nome del cliente nelle schede di fornitura utilizzando una semplice funzione di "
              "importazione dei dati."),
          QStringLiteral(
              "Si può associare alla scheda di ciascun nominativo il percorso di una cartella che potrà "
              "contenere qualsiasi tipo di file attinente al cliente corrente. La funzione Allega file"
              " permette, invece, di abbinare singoli documenti alla scheda da visualizzare velocemente con "
              "pochi clic."),
          QStringLiteral(
              "Per inserire una nuova scheda in archivio, è sufficiente fare clic sul pulsante Nuovo, "
              "immettere i dati nelle caselle di testo e premere Salva. Per modificare una scheda già"
              " archiviata, bisogna richiamarla nella schermata di lavoro, effettuare le modifiche e premere "
              "Salva. Per cancellare una scheda basta visualizzarla e fare clic sull'icona del cestino."),
          QStringLiteral(
              "Le icone delle frecce permettono di scorrere i vari record dal primo all'ultimo e viceversa. "
              "L'icona della lente di ingrandimento permette di effettuare ricerche avanzate"
              " in archivio utilizzando più campi contemporaneamente e di richiamare i dati nella schermata "
              "di lavoro selezionando con un doppio clic il record di interesse. I risultati delle ricerche "
              "possono essere stampati."),
          QStringLiteral(
              "La scheda di ogni singolo cliente può essere esportata in un file di Microsoft Word mentre "
              "l'intero archivio anagrafico può essere convertito in un foglio di Excel."),
      }};
}

HelpTopic productCardTopic() {
  return HelpTopic{
      QStringLiteral("Gestione dell'archivio dei prodotti e servizi"),
      {
          QStringLiteral(
              "L'archivio dei prodotti e servizi permette di gestire in un'unica schermata i dati più "
              "importanti relativi a ciascun articolo o servizio offerto alla clientela. L'operazione di "
              "archiviazione dei dati è utile per tenere traccia di ogni indicazione inerente ai prodotti o "
              "servizi per la compilazione delle schede di fornitura."),
          QStringLiteral(
              "In ogni scheda è possibile annotare il codice e la tipologia dell'articolo, la marca, il "
              "modello e gli accessori, una descrizione sintetica del prodotto o servizio,"
              " i dati del fornitore da cui si è acquistato il prodotto, il prezzo unitario, la "
              "collocazione dell'articolo sugli scaffali del proprio magazzino, la giacenza di cui si "
              "dispone al momento indicando"
              " un numero di pezzi minimo oltre il quale si desidera essere avvisati per effettuare un nuovo "
              "ordinativo. La descrizione del prodotto o servizio, il nome del fornitore e il prezzo "
              "unitario sono dati che possono essere importati quando si redige"
              " una scheda di fornitura per velocizzarne la compilazione."),
          QStringLiteral(
              "Alla scheda di ciascun articolo è possibile allegare file esterni di qualsiasi genere che "
              "potrebbero contenere, ad esempio, una sua foto o la documentazione tecnica relativa"
              " al prodotto o servizio descritto. Anche in questo ambiente si ha la possibilità di "
              "associare una cartella ad ogni scheda la quale può contenere un numero illimitato di file. "
              "Il pulsante Sottoscorta permette di visualizzare l'elenco dei prodotti"
              " in esaurimento, mentre la funzione Cerca sul Web consente di reperire su Internet, tramite "
              "il motore di ricerca Google, informazioni relative all'articolo descritto nella scheda "
              "corrente."),
      }};
}

HelpTopic createSupplyTopic() {
  return HelpTopic{
      QStringLiteral("Creazione di una nuova fornitura"),
      {
          QStringLiteral(
              "L'operazione da effettuare per creare una nuova fornitura è molto semplice. Dalla schermata "
              "di avvio si fa clic su Crea nuova fornitura e, nella finestra che appare, si digita nella "
              "casella di testo il nome completo da assegnare alla nuova fornitura. I caratteri "
              "\\ / : * ? \" < > | non possono far parte del nome e non vengono accettati durante la "
              "digitazione."),
          QStringLiteral(
              "Per individuare la fornitura archiviata senza possibilità di errore è consigliabile "
              "scegliere un nome completo e significativo, che contenga parole chiave come il nome del "
              "cliente e la data o il periodo della fornitura, ad esempio Rossi Mario marzo 2026. Il nome "
              "deve essere diverso da quello delle forniture già esistenti."),
          QStringLiteral(
              "Una volta indicato il nome della fornitura basta fare clic sul pulsante Applica e chiudi: "
              "il programma crea la nuova fornitura e torna alla schermata di avvio. Per inserire i "
              "prodotti e servizi forniti si utilizza poi la funzione Apri fornitura esistente, "
              "selezionando nell'elenco la fornitura appena creata. Il pulsante Annulla chiude invece la "
              "finestra senza creare nulla."),
          QStringLiteral(
              "Quando si crea una nuova fornitura si genera un file nella cartella del programma che ha per "
              "nome quello della fornitura e per estensione .for. Questo file, inizialmente vuoto, "
              "conterrà tutte le schede dei prodotti e servizi forniti che verranno registrate."),
          QStringLiteral(
              "L'utente che vuole comunicare a terzi i dati relativi ad una fornitura può inviare il "
              "relativo file .for a un'altra persona che utilizza Zelvano: basterà copiarlo nella cartella "
              "del programma perché la fornitura compaia nel suo elenco. A chi non possiede Zelvano si "
              "possono invece inviare i dati esportati in un foglio di Microsoft Excel."),
          QStringLiteral(
              "Il fatto che tutti i file delle forniture sono posizionati nella cartella di installazione "
              "rende molto semplice la creazione di copie di sicurezza: per salvare tutti i dati, compresi "
              "l'anagrafica clienti e l'archivio dei prodotti e servizi, è sufficiente copiare l'intera "
              "cartella del programma su un altro disco o su un supporto esterno."),
      }};
}

HelpTopic openSupplyTopic() {
  return HelpTopic{
      QStringLiteral("Accesso ad una fornitura esistente"),
      {
          QStringLiteral(
              "La funzione Apri fornitura esistente mostra in ordine alfabetico l'elenco di tutte le "
              "forniture create con la funzione Crea nuova fornitura, ossia di tutti i file .for presenti "
              "nella cartella del programma."),
          QStringLiteral(
              "Per avere accesso all'ambiente di gestione di una fornitura è sufficiente selezionarne il "
              "nome nell'elenco e premere il pulsante Apri fornitura selezionata, oppure fare doppio clic "
              "sul nome stesso. Il pulsante Annulla riporta invece alla schermata di avvio."),
          QStringLiteral(
              "Se la fornitura di interesse non compare nella lista significa che non è ancora stata "
              "creata: occorre tornare alla schermata di avvio con il pulsante Annulla e scegliere la "
              "funzione Crea nuova fornitura."),
          QStringLiteral(
              "Così facendo, l'utente avrà accesso ad un ambiente dedicato in cui dovrà digitare il nome da "
              "assegnare alla nuova fornitura."),
          QStringLiteral(
              "Per individuare la fornitura archiviata senza possibilità di errore è bene scegliere un nome "
              "completo, che contenga parole chiave come il nome del cliente e la data o il periodo della "
              "fornitura."),
          QStringLiteral(
              "Una volta indicato il nome della fornitura si fa clic su Applica e chiudi: da quel momento "
              "la nuova fornitura comparirà nell'elenco della funzione Apri fornitura esistente."),
          QStringLiteral(
              "Una scritta presente in fondo all'elenco indica quante forniture sono archiviate. Il numero "
              "di forniture che si possono creare è illimitato."),
          QStringLiteral(
              "Per eliminare una fornitura dall'elenco basta selezionarla, fare clic sull'icona del cestino "
              "e confermare l'operazione. Attenzione: la fornitura viene cancellata definitivamente insieme "
              "a tutte le sue schede e i dati eliminati non potranno più essere recuperati. I file allegati "
              "e le cartelle associate alle schede non vengono invece toccati."),
      }};
}

HelpTopic supplySheetTopic() {
  return HelpTopic{
      QStringLiteral("Archiviazione schede di fornitura"),
      {
          QStringLiteral(
              "L'ambiente per l'archiviazione delle schede di fornitura è composto da un elenco dei "
              "prodotti e servizi forniti, nella parte inferiore della schermata, e da una serie di caselle "
              "di testo, nella parte superiore, in cui si inseriscono i dati di ciascuna scheda. Il nome "
              "della fornitura aperta è riportato in alto."),
          QStringLiteral(
              "Per assegnare un nuovo prodotto o servizio alla fornitura, l'utente deve premere il "
              "pulsante Nuovo, compilare le caselle di testo e fare clic su Salva. La scheda viene aggiunta "
              "all'elenco sottostante, in cui ogni riga riporta la data, la quantità, l'unità di misura, il "
              "prezzo unitario, la descrizione e l'importo totale della voce. Sotto l'elenco compare il "
              "totale degli importi di tutte le schede della fornitura. Il pulsante Nuovo conserva il "
              "luogo di consegna, il cliente, il fornitore, il consegnatario e il vettore della scheda "
              "precedente, per velocizzare l'inserimento di più voci di una stessa consegna, mentre il "
              "pulsante accanto svuota tutte le caselle."),
          QStringLiteral(
              "Ogni scheda permette di registrare informazioni riguardanti il prodotto o servizio fornito: "
              "la descrizione, la data e l'ora della consegna, il luogo di consegna, la quantità, il prezzo "
              "unitario, l'importo totale, l'unità di misura, l'aspetto esteriore dei beni, il cliente, il "
              "fornitore, il consegnatario, il vettore o conducente e le annotazioni. Nella casella "
              "Pagamento si indica se il pagamento è in sospeso o è stato saldato. L'importo totale è "
              "calcolato moltiplicando la quantità per il prezzo unitario quando si preme il pulsante = e, "
              "in ogni caso, al momento del salvataggio."),
          QStringLiteral(
              "I dati relativi al nome del cliente e al prodotto o servizio fornito possono essere "
              "importati dai relativi archivi. L'icona accanto alla casella Cliente apre la ricerca "
              "nell'anagrafica clienti: un doppio clic sul nominativo desiderato ne riporta il nome nella "
              "scheda. L'icona accanto alla casella del prodotto apre invece l'elenco dei prodotti e "
              "servizi in archivio, da cui si importano la descrizione, il prezzo unitario e il fornitore; "
              "se è scelta l'opzione Aggiorna giacenza, la giacenza in magazzino dell'articolo viene "
              "diminuita della quantità indicata."),
          QStringLiteral(
              "L'utente ha la possibilità di allegare file esterni di qualsiasi genere alla scheda di "
              "ciascuna fornitura. Con la funzione Allega file si possono abbinare alla scheda fino a tre "
              "documenti, ciascuno con una descrizione, da aprire velocemente con un clic; è inoltre "
              "possibile associare alla scheda una cartella che potrà contenere un numero illimitato di "
              "file. Allegati e cartella vengono registrati quando si salva la scheda."),
          QStringLiteral(
              "Il programma dispone di una funzione di ricerca per trovare una scheda nell'archivio della "
              "fornitura utilizzando più chiavi contemporaneamente: prodotto o servizio, data di "
              "fornitura, luogo di consegna, cliente, fornitore, aspetto esteriore dei beni, vettore, "
              "consegnatario e annotazioni. I risultati possono essere stampati e, con un doppio clic su "
              "una voce, la relativa scheda viene richiamata nella schermata di lavoro."),
          QStringLiteral(
              "Per stampare la scheda informativa di una singola fornitura basta esportarla in Microsoft "
              "Word, da cui la si può stampare o salvare. Il pulsante Stampa, posto sopra l'elenco, stampa "
              "invece l'elenco completo dei prodotti e servizi forniti con il totale degli importi. "
              "L'intero archivio della fornitura può inoltre essere esportato in un foglio di Microsoft "
              "Excel, utile anche per condividere i dati con chi non possiede Zelvano."),
          QStringLiteral(
              "Un apposito pulsante permette di visualizzare l'elenco di tutte le forniture il cui stato di "
              "pagamento è in sospeso, insieme al totale degli importi ancora da riscuotere. Quando il "
              "cliente salda il dovuto, basta richiamare la scheda con un doppio clic sulla voce "
              "dell'elenco, impostare il pagamento su Saldato e salvare: la voce non comparirà più tra i "
              "pagamenti in sospeso."),
          QStringLiteral(
              "Per richiamare i dati di una scheda di fornitura in archivio si possono utilizzare le frecce "
              "di scorrimento dei record, che permettono di passare dalla prima all'ultima scheda e "
              "viceversa, oppure fare clic sulla voce desiderata nell'elenco sottostante. In alternativa si "
              "può ricorrere alla funzione di ricerca."),
          QStringLiteral(
              "L'icona del cestino consente di eliminare la scheda di fornitura selezionata, dopo una "
              "richiesta di conferma. Attenzione: la cancellazione è definitiva e i dati eliminati non "
              "potranno essere recuperati."),
          QStringLiteral(
              "Infine, per uscire dall'ambiente di archiviazione delle schede di fornitura e tornare alla "
              "schermata di avvio, è sufficiente fare clic sull'icona della porta in alto a destra. "
              "Eventuali modifiche non salvate andranno perse."),
      }};
}

// The export windows share their closing paragraphs.
namespace {

QString exportCreatesFile() {
  return QStringLiteral("Questa operazione crea in tempo reale un file di Word o di Excel contenente i dati "
                        "dell'archivio.");
}

QString exportSaveIt() {
  return QStringLiteral("A questo punto è sufficiente salvare il file sul proprio disco fisso assegnandogli "
                        "un nome qualsiasi.");
}

}  // namespace

HelpTopic clientExportTopic() {
  return HelpTopic{
      QStringLiteral("Esportazione archivio anagrafico clienti in Microsoft Word ed Excel"),
      {
          QStringLiteral(
              "E' possibile esportare l'archivio anagrafico clienti in un foglio di Microsoft Excel o in una "
              "tabella di Word. A tal fine, basta fare clic sul pulsante Esporta archivio e, nella finestra "
              "che appare, selezionare l'icona di Word o Excel."),
          exportCreatesFile(),
          exportSaveIt(),
      }};
}

HelpTopic productExportTopic() {
  return HelpTopic{
      QStringLiteral("Esportazione archivio prodotti e servizi in Microsoft Word ed Excel"),
      {
          QStringLiteral(
              "E' possibile esportare le schede contenute nell'archivio dei prodotti e servizi in un foglio "
              "di Microsoft Excel o in una tabella di Word. A tal fine, basta fare clic sul pulsante Esporta "
              "archivio e, nella finestra che appare, selezionare l'icona di Word o Excel."),
          exportCreatesFile(),
          exportSaveIt(),
      }};
}

HelpTopic supplyExportTopic() {
  return HelpTopic{
      QStringLiteral("Esportazione archivio prodotti e servizi forniti in Microsoft Word ed Excel"),
      {
          QStringLiteral(
              "E' possibile esportare l'archivio dei prodotti e servizi di ciascuna fornitura in un foglio "
              "di Microsoft Excel o in una tabella di Word. A tal fine, basta fare clic sul pulsante Esporta "
              "archivio e, nella finestra che appare, selezionare l'icona di Word o Excel."),
          exportCreatesFile(),
          exportSaveIt(),
          QStringLiteral(
              "Come è facile intuire, l'esportazione in Word ed Excel consente anche di condividere i dati "
              "con chi non possiede Zelvano."),
      }};
}

}  // namespace zel::help
