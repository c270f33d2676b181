#include "shell/ui/BouclePrincipale.h"

#include "i18n/Langue.h"
#include "shell/ui/frmPrincipal.h"
#include "text/Systeme.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace arbrix {

void InstalleTraductionQt(const QString& fichierLangue) {
    static QTranslator traduction;
    QCoreApplication::removeTranslator(&traduction);
    const QString iso = fichierLangue.isEmpty() ? QStringLiteral("fr")
                                                : CodeIsoDeLangue(int(CodeLangueFichier(fichierLangue)));
    // Missing (qt6-translations-l10n not installed), Qt's texts stay in English.
    if (traduction.load(QStringLiteral("qtbase_") + iso, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&traduction);
}

EtapesDemarrage EtapesDeLaFenetre(frmPrincipal& fenetre) {
    EtapesDemarrage etapes;
    etapes.langueChoisie = &InstalleTraductionQt;
    etapes.appliqueParametres = [&fenetre](const EtatProgramme&) {
        fenetre.TraduitEtDispose();
        fenetre.AppliqueOptionsFenetre();
    };
    etapes.chargeMemos = [&fenetre](const QString&) { fenetre.ChargeMemos(); };
    etapes.afficheFenetre = [&fenetre] { fenetre.show(); };
    etapes.ouvreSession = [&fenetre] { return fenetre.OuvreSession(); };
    etapes.lanceAnalyse = [&fenetre](qint16 mode, const PointDeDepart& depart) {
        fenetre.zoneRecherche().ChangeType(depart.type);
        if (!depart.dn.isEmpty())
            return fenetre.LanceAnalyse(mode, depart.dn);
        fenetre.zoneRecherche().ChangeTexte(depart.texteRecherche);
        fenetre.AnalyseRecherche(mode);
    };
    return etapes;
}

int BouclePrincipale(frmPrincipal& fenetre) {
    if (fenetre.EstFermee())
        return 0;
    // Closing a window hidden in the tray closes no visible window, so Qt would not end the
    // loop by itself.
    QObject::connect(&fenetre, &frmPrincipal::Fermee, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    return QApplication::exec();
}

} // namespace arbrix
