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

const QStringList& ClésConfig() {
    using namespace CléConfig;
    static const QStringList clés = {
        Langue,
        FenêtreMémoriserTaille,
        FenêtreMémoriserPosition,
        MinimiserSystray,
        ToujoursAuDessus,
        FenêtreEtat,
        FenêtreHauteur,
        FenêtreLargeur,
        FenêtreGauche,
        FenêtreHaut,
        AnalyseAutreTypeSiAucuneReponse,
        AnalyseParDéfaut,
        ContrôlerVerrouilléExpiré,
        DéplierGroupesContenantComptesDésactivésVerrouillésExpirés,
        DéplierGroupesContenantGroupesRécursifs,
        DéplierGroupesEtOU,
        ReprésenterGroupesRacineOU,
        AfficherNombreMembres,
        AccèsAD,
        AccèsADServeur,
        AccèsADDomaine,
        AccèsADLogin,
        AccèsADPassword,
        TypeGroupe,
        EtendueGroupe,
        NbElémentsMémorisésMax,
        Mémos,
        NbMémos,
        ExportEtendue,
        ExportFormat,
        ExportDestination,
        ExportStructure,
        ExportModeColonné,
        ExportComptesUtilisateurs,
        ExportComptesOrdinateur,
        ExportComptesDeService,
        ExportIndentation,
        ExportSéparateur,
        ExportFichier,
    };
    return clés;
}

// "Mémo1", "Mémo2", ...: the numbered memorised entries of the older form.
bool EstCléMémoNumérotée(const QString& clé) {
    const QString& préfixe = CléConfig::PréfixeMémo;
    if (!clé.startsWith(préfixe, Qt::CaseInsensitive) || clé.size() == préfixe.size())
        return false;
    for (qsizetype i = préfixe.size(); i < clé.size(); ++i) {
        if (clé[i] < u'0' || clé[i] > u'9')
            return false;
    }
    return true;
}

} // namespace

bool EstCléConfig(const QString& clé) {
    return ClésConfig().contains(clé, Qt::CaseInsensitive) || EstCléMémoNumérotée(clé);
}

RéglagesCli::RéglagesCli(const QString& source, const QList<RéglageCli>& réglages) {
    if (!m_dossier.isValid()) {
        m_erreur = ErreurArgumentsCli{CléTexteCli::CopieRéglagesImpossible, m_dossier.errorString()};
        return;
    }
    m_fichier = m_dossier.filePath(QStringLiteral("Arbrix.ini"));
    if (QFileInfo(source).isFile() && !QFile::copy(source, m_fichier)) {
        m_erreur = ErreurArgumentsCli{CléTexteCli::CopieRéglagesImpossible, source};
        m_fichier.clear();
        return;
    }
    // The copy may hold a password: only its owner reads it, like the original.
    QFile::setPermissions(m_fichier, QFile::ReadOwner | QFile::WriteOwner);
    for (const RéglageCli& réglage : réglages)
        Applique(réglage);
}

void RéglagesCli::Applique(const RéglageCli& réglage) {
    if (m_erreur)
        return;
    if (réglage.clé.compare(CléConfig::AccèsADPassword, Qt::CaseInsensitive) == 0) {
        m_erreur = ErreurArgumentsCli{CléTexteCli::RéglageMotDePasse, réglage.clé};
        return;
    }
    if (!EstCléConfig(réglage.clé)) {
        m_erreur = ErreurArgumentsCli{CléTexteCli::RéglageInconnu, réglage.clé};
        return;
    }
    if (!EcritIni(m_fichier, SectionConfig, réglage.clé, réglage.valeur, AccèsIni::PropriétaireSeul))
        m_erreur = ErreurArgumentsCli{CléTexteCli::CopieRéglagesImpossible, m_fichier};
}

QString FichierRéglagesParDéfaut() {
    const EmplacementParamètres emplacement = CalculeEmplacementParamètres();
    if (!QFileInfo(emplacement.CheminIni).isFile() && !emplacement.AncienFichier.isEmpty())
        return emplacement.AncienFichier;
    return emplacement.CheminIni;
}

} // namespace arbrix
