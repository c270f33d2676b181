// The desktop program: the main window started up in the documented order, then the event loop.

#include "settings/secretservice/TrousseauSecretService.h"
#include "shell/Demarrage.h"
#include "shell/PagesLarges.h"
#include "shell/ui/BouclePrincipale.h"
#include "shell/ui/frmPrincipal.h"
#include "text/Systeme.h"
#include "text/Version.h"
#include "tree/LigneCommande.h"
#include "tree/ui/Icones.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    using namespace arbrix;
    RelanceAvecPagesLarges(argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(NomApplication());
    QApplication::setApplicationVersion(TexteVersion());
    QApplication::setWindowIcon(IconeApplication());
    QGuiApplication::setDesktopFileName(QStringLiteral("arbrix"));
    InstalleTrousseau(std::make_unique<TrousseauSecretService>());

    frmPrincipal fenetre;
    // A failed start-up ends the program at once, saving nothing.
    fenetre.pointeur().Attend();
    const bool demarre = Demarre(ArgumentsDuProgramme(), fenetre, EtapesDeLaFenetre(fenetre));
    fenetre.pointeur().Retablit();
    if (!demarre)
        return 1;
    fenetre.FinDemarrage();
    return BouclePrincipale(fenetre);
}
