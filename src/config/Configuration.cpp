#include "config/Configuration.h"

#include "i18n/Langue.h"

#include <limits>

namespace arbrix {

namespace {

bool AccèsDifférent(const SaisieConfiguration& saisie, const Paramètres& p) {
    return saisie.AccèsAD != p.AccèsAD || saisie.AccèsADServeur != p.AccèsADServeur ||
           saisie.AccèsADDomaine != p.AccèsADDomaine || saisie.AccèsADLogin != p.AccèsADLogin ||
           saisie.AccèsADPassword != p.AccèsADPassword;
}

// The analysis and display options bear the same names in the settings and in the window's
// entry, and pass from one to the other as they are.
template <typename De, typename Vers> void CopieOptionsAnalyse(const De& de, Vers& vers) {
    vers.AnalyseParDéfaut = de.AnalyseParDéfaut;
    vers.AnalyseAutreTypeSiAucuneReponse = de.AnalyseAutreTypeSiAucuneReponse;
    vers.ContrôlerVerrouilléExpiré = de.ContrôlerVerrouilléExpiré;
    vers.DéplierGroupesContenantComptesDésactivésVerrouillésExpirés =
        de.DéplierGroupesContenantComptesDésactivésVerrouillésExpirés;
    vers.DéplierGroupesContenantGroupesRécursifs = de.DéplierGroupesContenantGroupesRécursifs;
    vers.DéplierGroupesEtOU = de.DéplierGroupesEtOU;
    vers.ReprésenterGroupesRacineOU = de.ReprésenterGroupesRacineOU;
    vers.AfficherNombreMembres = de.AfficherNombreMembres;
}

QString LangueEffective(const QString& langue) {
    return langue.isEmpty() ? LangueFrançaise : langue;
}

} // namespace

SaisieConfiguration SaisieDepuis(const Paramètres& p, const Mémos& mémos) {
    SaisieConfiguration s;
    s.Langue = LangueEffective(p.Langue);
    s.AccèsAD = p.AccèsAD;
    s.AccèsADServeur = p.AccèsADServeur;
    s.AccèsADDomaine = p.AccèsADDomaine;
    s.AccèsADLogin = p.AccèsADLogin;
    s.AccèsADPassword = p.AccèsADPassword;
    CopieOptionsAnalyse(p, s);
    s.NbElémentsMémorisésMax = QString::number(p.NbElémentsMémorisésMax);
    s.ListeMémos = mémos.ListeÉdition();
    return s;
}

std::optional<qint16> NombreÉlémentsMémorisés(const QString& texte) {
    const QString nombre = texte.trimmed();
    if (nombre.isEmpty() || nombre.size() > 6)
        return std::nullopt;
    for (QChar c : nombre) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    const int valeur = nombre.toInt();
    if (valeur > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qint16(valeur);
}

ErreurSaisie VérifieSaisie(const SaisieConfiguration& saisie) {
    if (saisie.AccèsAD == 2 && saisie.AccèsADDomaine.trimmed().isEmpty())
        return ErreurSaisie::Domaine;
    if (!NombreÉlémentsMémorisés(saisie.NbElémentsMémorisésMax))
        return ErreurSaisie::NombreElementsMemorises;
    return ErreurSaisie::Aucune;
}

QString CléMessage(ErreurSaisie erreur) {
    switch (erreur) {
    case ErreurSaisie::Domaine:
        return QStringLiteral("MSG_ERREUR_DOMAINE");
    case ErreurSaisie::NombreElementsMemorises:
        return QStringLiteral("MSG_ERREUR_NOMBRE_ELEMENTS_MEMORISES_MAX");
    case ErreurSaisie::Aucune:
        break;
    }
    return {};
}

IssueConfiguration AppliqueSaisie(const SaisieConfiguration& s, Paramètres& p, Mémos& mémos) {
    IssueConfiguration issue;
    issue.LangueChangée = s.Langue.compare(LangueEffective(p.Langue), Qt::CaseInsensitive) != 0;
    issue.RedémarrageDemandé = AccèsDifférent(s, p);

    p.Langue = s.Langue;
    p.AccèsAD = s.AccèsAD;
    p.AccèsADServeur = s.AccèsADServeur.trimmed();
    p.AccèsADDomaine = s.AccèsADDomaine.trimmed();
    p.AccèsADLogin = s.AccèsADLogin.trimmed();
    p.AccèsADPassword = s.AccèsADPassword;
    CopieOptionsAnalyse(s, p);

    const qint16 maximum =
        NombreÉlémentsMémorisés(s.NbElémentsMémorisésMax).value_or(p.NbElémentsMémorisésMax);
    p.NbElémentsMémorisésMax = maximum;
    mémos.FixeMaximumRécents(maximum);
    mémos.AppliqueListeÉdition(s.ListeMémos);
    return issue;
}

bool ÉditionMémos::EstSéparateur(qsizetype i) const {
    return i >= 0 && i < m_éléments.size() && m_éléments[i].nom == SéparateurMémos();
}

bool ÉditionMémos::PeutSupprimer(qsizetype i) const {
    return i >= 0 && i < m_éléments.size() && !EstSéparateur(i);
}

qsizetype ÉditionMémos::Monte(qsizetype i) {
    if (!PeutMonter(i))
        return i;
    m_éléments.swapItemsAt(i, i - 1);
    return i - 1;
}

qsizetype ÉditionMémos::Descend(qsizetype i) {
    if (!PeutDescendre(i))
        return i;
    m_éléments.swapItemsAt(i, i + 1);
    return i + 1;
}

qsizetype ÉditionMémos::Supprime(qsizetype i) {
    if (!PeutSupprimer(i))
        return i;
    m_éléments.removeAt(i);
    if (m_éléments.isEmpty())
        return -1;
    return std::min(i, m_éléments.size() - 1);
}

} // namespace arbrix
