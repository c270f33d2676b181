#include "config/Configuration.h"

#include "i18n/Langue.h"
#include "netsend/Courriel.h"

#include <limits>

namespace arbrix {

namespace {

bool AccesDifferent(const SaisieConfiguration& saisie, const Parametres& p) {
    return saisie.AccesAD != p.AccesAD || saisie.AccesADServeur != p.AccesADServeur ||
           saisie.AccesADDomaine != p.AccesADDomaine || saisie.AccesADLogin != p.AccesADLogin ||
           saisie.AccesADPassword != p.AccesADPassword || saisie.AccesADSansTLS != p.AccesADSansTLS;
}

// The analysis and display options bear the same names in the settings and in the window's
// entry, and pass from one to the other as they are.
template <typename De, typename Vers> void CopieOptionsAnalyse(const De& de, Vers& vers) {
    vers.AnalyseParDefaut = de.AnalyseParDefaut;
    vers.AnalyseAutreTypeSiAucuneReponse = de.AnalyseAutreTypeSiAucuneReponse;
    vers.ControlerVerrouilleExpire = de.ControlerVerrouilleExpire;
    vers.DeplierGroupesContenantComptesDesactivesVerrouillesExpires =
        de.DeplierGroupesContenantComptesDesactivesVerrouillesExpires;
    vers.DeplierGroupesContenantGroupesRecursifs = de.DeplierGroupesContenantGroupesRecursifs;
    vers.DeplierGroupesEtOU = de.DeplierGroupesEtOU;
    vers.RepresenterGroupesRacineOU = de.RepresenterGroupesRacineOU;
    vers.AfficherNombreMembres = de.AfficherNombreMembres;
}

QString LangueEffective(const QString& langue) {
    return langue.isEmpty() ? LangueFrancaise : langue;
}

} // namespace

SaisieConfiguration SaisieDepuis(const Parametres& p, const Memos& memos) {
    SaisieConfiguration s;
    s.Langue = LangueEffective(p.Langue);
    s.AccesAD = p.AccesAD;
    s.AccesADServeur = p.AccesADServeur;
    s.AccesADDomaine = p.AccesADDomaine;
    s.AccesADLogin = p.AccesADLogin;
    s.AccesADPassword = p.AccesADPassword;
    s.AccesADSansTLS = p.AccesADSansTLS;
    CopieOptionsAnalyse(p, s);
    s.MessagerieCommande = p.MessagerieCommande;
    s.MessagerieExpediteur = p.MessagerieExpediteur;
    s.NbElementsMemorisesMax = QString::number(p.NbElementsMemorisesMax);
    s.ListeMemos = memos.ListeEdition();
    return s;
}

std::optional<qint16> LitNombreElementsMemorises(const QString& texte) {
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

ErreurSaisie VerifieSaisie(const SaisieConfiguration& saisie) {
    if (saisie.AccesAD == 2 && saisie.AccesADDomaine.trimmed().isEmpty())
        return ErreurSaisie::Domaine;
    if (!LitNombreElementsMemorises(saisie.NbElementsMemorisesMax))
        return ErreurSaisie::NombreElementsMemorises;
    if (!DecoupeCommande(saisie.MessagerieCommande))
        return ErreurSaisie::MessagerieCommande;
    const QString expediteur = saisie.MessagerieExpediteur.trimmed();
    if (!expediteur.isEmpty() && !AdresseValide(expediteur))
        return ErreurSaisie::MessagerieExpediteur;
    return ErreurSaisie::Aucune;
}

QString CleMessage(ErreurSaisie erreur) {
    switch (erreur) {
    case ErreurSaisie::Domaine:
        return QStringLiteral("MSG_ERREUR_DOMAINE");
    case ErreurSaisie::NombreElementsMemorises:
        return QStringLiteral("MSG_ERREUR_NOMBRE_ELEMENTS_MEMORISES_MAX");
    case ErreurSaisie::MessagerieCommande:
        return QStringLiteral("MSG_ERREUR_MESSAGERIE_COMMANDE");
    case ErreurSaisie::MessagerieExpediteur:
        return QStringLiteral("MSG_ERREUR_MESSAGERIE_EXPEDITEUR");
    case ErreurSaisie::Aucune:
        break;
    }
    return {};
}

IssueConfiguration AppliqueSaisie(const SaisieConfiguration& s, Parametres& p, Memos& memos) {
    IssueConfiguration issue;
    issue.LangueChangee = s.Langue.compare(LangueEffective(p.Langue), Qt::CaseInsensitive) != 0;
    issue.RedemarrageDemande = AccesDifferent(s, p);

    p.Langue = s.Langue;
    p.AccesAD = s.AccesAD;
    p.AccesADServeur = s.AccesADServeur.trimmed();
    p.AccesADDomaine = s.AccesADDomaine.trimmed();
    p.AccesADLogin = s.AccesADLogin.trimmed();
    p.AccesADPassword = s.AccesADPassword;
    p.AccesADSansTLS = s.AccesADSansTLS;
    CopieOptionsAnalyse(s, p);
    p.MessagerieCommande = s.MessagerieCommande.trimmed();
    p.MessagerieExpediteur = s.MessagerieExpediteur.trimmed();

    const qint16 maximum =
        LitNombreElementsMemorises(s.NbElementsMemorisesMax).value_or(p.NbElementsMemorisesMax);
    p.NbElementsMemorisesMax = maximum;
    memos.FixeMaximumRecents(maximum);
    memos.AppliqueListeEdition(s.ListeMemos);
    return issue;
}

bool EditionMemos::EstSeparateur(qsizetype i) const {
    return i >= 0 && i < m_elements.size() && m_elements[i].nom == SeparateurMemos();
}

bool EditionMemos::PeutSupprimer(qsizetype i) const {
    return i >= 0 && i < m_elements.size() && !EstSeparateur(i);
}

qsizetype EditionMemos::Monte(qsizetype i) {
    if (!PeutMonter(i))
        return i;
    m_elements.swapItemsAt(i, i - 1);
    return i - 1;
}

qsizetype EditionMemos::Descend(qsizetype i) {
    if (!PeutDescendre(i))
        return i;
    m_elements.swapItemsAt(i, i + 1);
    return i + 1;
}

qsizetype EditionMemos::Supprime(qsizetype i) {
    if (!PeutSupprimer(i))
        return i;
    m_elements.removeAt(i);
    if (m_elements.isEmpty())
        return -1;
    return std::min(i, m_elements.size() - 1);
}

} // namespace arbrix
