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

// The error that refuses a --set; nullopt once it is among the changes.
std::optional<ErreurArgumentsCli> Applique(LotIni& lot, const ReglageCli& reglage) {
    const DescriptionCle* cle = TrouveCle(reglage.cle);
    if (cle && cle->genre == GenreCle::MotDePasse)
        return ErreurArgumentsCli{CleTexteCli::ReglageMotDePasse, reglage.cle};
    if (!EstCleConfig(reglage.cle))
        return ErreurArgumentsCli{CleTexteCli::ReglageInconnu, reglage.cle};
    lot.Ecrit(SectionConfig, reglage.cle, reglage.valeur, AccesIni::ProprietaireSeul);
    return std::nullopt;
}

} // namespace

bool EstCleConfig(const QString& cle) {
    return TrouveCle(cle) != nullptr || EstCleMemoNumerotee(cle);
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
    LotIni lot(m_fichier);
    for (const ReglageCli& reglage : reglages) {
        m_erreur = Applique(lot, reglage);
        if (m_erreur)
            break;
    }
    // The values accepted before a refused one are written too, as they always were.
    const EcritureIni ecriture = lot.Enregistre();
    if (!ecriture && !m_erreur)
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
