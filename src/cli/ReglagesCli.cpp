#include "cli/ReglagesCli.h"

#include "cli/TextesCli.h"
#include "settings/Cles.h"
#include "settings/Ini.h"
#include "settings/ParametresIni.h"
#include "settings/Valeurs.h"

#include <QFile>
#include <QFileInfo>

namespace arbrix {

namespace {

const QStringList& ClesConfig() {
    using namespace CleConfig;
    static const QStringList cles = {
        Langue,
        FenetreMemoriserTaille,
        FenetreMemoriserPosition,
        MinimiserSystray,
        ToujoursAuDessus,
        FenetreEtat,
        FenetreHauteur,
        FenetreLargeur,
        FenetreGauche,
        FenetreHaut,
        AnalyseAutreTypeSiAucuneReponse,
        AnalyseParDefaut,
        ControlerVerrouilleExpire,
        DeplierGroupesContenantComptesDesactivesVerrouillesExpires,
        DeplierGroupesContenantGroupesRecursifs,
        DeplierGroupesEtOU,
        RepresenterGroupesRacineOU,
        AfficherNombreMembres,
        RequetesSimultanees,
        DelaiAnnuaire,
        AccesAD,
        AccesADServeur,
        AccesADDomaine,
        AccesADLogin,
        AccesADPassword,
        AccesADSansTLS,
        TypeGroupe,
        EtendueGroupe,
        NbElementsMemorisesMax,
        Memos,
        NbMemos,
        ExportEtendue,
        ExportFormat,
        ExportDestination,
        ExportStructure,
        ExportModeColonne,
        ExportComptesUtilisateurs,
        ExportComptesOrdinateur,
        ExportComptesDeService,
        ExportIndentation,
        ExportSeparateur,
        ExportFichier,
        MessagerieCommande,
        MessagerieExpediteur,
    };
    return cles;
}

// "Mémo1", "Mémo2", ...: the numbered memorised entries of the older form.
bool EstCleMemoNumerotee(const QString& cle) {
    const QString& prefixe = CleConfig::PrefixeMemo;
    if (!cle.startsWith(prefixe, Qt::CaseInsensitive) || cle.size() == prefixe.size())
        return false;
    for (qsizetype i = prefixe.size(); i < cle.size(); ++i) {
        if (cle[i] < u'0' || cle[i] > u'9')
            return false;
    }
    return true;
}

} // namespace

bool EstCleConfig(const QString& cle) {
    return ClesConfig().contains(cle, Qt::CaseInsensitive) || EstCleMemoNumerotee(cle);
}

ReglagesCli::ReglagesCli(const QString& source, const QList<ReglageCli>& reglages) {
    if (!m_dossier.isValid()) {
        m_erreur = ErreurArgumentsCli{CleTexteCli::CopieReglagesImpossible, m_dossier.errorString()};
        return;
    }
    m_fichier = m_dossier.filePath(QStringLiteral("Arbrix.ini"));
    if (QFileInfo(source).isFile() && !QFile::copy(source, m_fichier)) {
        m_erreur = ErreurArgumentsCli{CleTexteCli::CopieReglagesImpossible, source};
        m_fichier.clear();
        return;
    }
    // The copy may hold a password: only its owner reads it, like the original.
    QFile::setPermissions(m_fichier, QFile::ReadOwner | QFile::WriteOwner);
    for (const ReglageCli& reglage : reglages)
        Applique(reglage);
}

void ReglagesCli::Applique(const ReglageCli& reglage) {
    if (m_erreur)
        return;
    if (reglage.cle.compare(CleConfig::AccesADPassword, Qt::CaseInsensitive) == 0) {
        m_erreur = ErreurArgumentsCli{CleTexteCli::ReglageMotDePasse, reglage.cle};
        return;
    }
    if (!EstCleConfig(reglage.cle)) {
        m_erreur = ErreurArgumentsCli{CleTexteCli::ReglageInconnu, reglage.cle};
        return;
    }
    const EcritureIni ecriture =
        EcritIni(m_fichier, SectionConfig, reglage.cle, reglage.valeur, AccesIni::ProprietaireSeul);
    if (!ecriture)
        m_erreur = ErreurArgumentsCli{CleTexteCli::CopieReglagesImpossible,
                                      m_fichier + QStringLiteral(": ") + ecriture.raison};
}

QString FichierReglagesParDefaut() {
    const EmplacementParametres emplacement = CalculeEmplacementParametres();
    if (!QFileInfo(emplacement.CheminIni).isFile() && !emplacement.AncienFichier.isEmpty())
        return emplacement.AncienFichier;
    return emplacement.CheminIni;
}

} // namespace arbrix
