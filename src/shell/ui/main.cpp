// The desktop program: the main window started up in the documented order, then the event loop.

#include "shell/Demarrage.h"
#include "shell/LigneCommande.h"
#include "shell/ui/frmPrincipal.h"
#include "text/Version.h"
#include "tree/ui/Icones.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    using namespace arbrix;
    QApplication application(argc, argv);
    QApplication::setApplicationName(NomApplication());
    QApplication::setApplicationVersion(TexteVersion());
    QApplication::setWindowIcon(IconeApplication());
    QGuiApplication::setDesktopFileName(QStringLiteral("arbrix"));

    frmPrincipal fenetre;
    EtapesDemarrage etapes;
    etapes.appliqueParametres = [&fenetre](const EtatProgramme&) {
        fenetre.TraduitEtDispose();
        fenetre.AppliqueOptionsFenetre();
    };
    etapes.chargeMemos = [&fenetre](const QString&) { fenetre.ChargeMemos(); };
    etapes.afficheFenetre = [&fenetre] { fenetre.show(); };
    etapes.ouvreSession = [&fenetre] { return fenetre.OuvreSession(); };
    etapes.lanceAnalyse = [&fenetre](qint16 mode, const QString& dn) { fenetre.LanceAnalyse(mode, dn); };
    // A failed start-up ends the program at once, saving nothing.
    if (!Demarre(ArgumentsDuProgramme(), fenetre, etapes))
        return 1;
    fenetre.FinDemarrage();
    return QApplication::exec();
}
