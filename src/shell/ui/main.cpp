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
    QApplication::setWindowIcon(IcôneApplication());
    QGuiApplication::setDesktopFileName(QStringLiteral("arbrix"));

    frmPrincipal fenêtre;
    ÉtapesDémarrage étapes;
    étapes.appliqueParamètres = [&fenêtre](const ÉtatProgramme&) {
        fenêtre.TraduitEtDispose();
        fenêtre.AppliqueOptionsFenêtre();
    };
    étapes.chargeMémos = [&fenêtre](const QString&) { fenêtre.ChargeMémos(); };
    étapes.afficheFenêtre = [&fenêtre] { fenêtre.show(); };
    étapes.ouvreSession = [&fenêtre] { return fenêtre.OuvreSession(); };
    étapes.lanceAnalyse = [&fenêtre](qint16 mode, const QString& dn) { fenêtre.LanceAnalyse(mode, dn); };
    // A failed start-up ends the program at once, saving nothing.
    if (!Démarre(ArgumentsDuProgramme(), fenêtre, étapes))
        return 1;
    fenêtre.FinDémarrage();
    return QApplication::exec();
}
