#include "groupops/ProprietesCompte.h"

#include "directory/Backend.h"
#include "directory/Classification.h"
#include "directory/DirectoryError.h"
#include "directory/Filter.h"
#include "directory/Gateway.h"
#include "directory/Query.h"
#include "directory/Session.h"
#include "directory/Values.h"
#include "groupops/Appartenances.h"
#include "i18n/Traductions.h"
#include "text/Texte.h"
#include "tree/ClesImages.h"
#include "tree/EtatCompte.h"

#include <QCollator>

#include <algorithm>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {

QString Valeur(const DirectoryObject& objet, QStringView attribut) {
    const QVariant valeur = objet.Get(attribut);
    if (valeur.typeId() == QMetaType::QStringList) {
        const QStringList valeurs = valeur.toStringList();
        return valeurs.isEmpty() ? QString() : valeurs.first();
    }
    return valeur.toString();
}

// A date attribute held as a FILETIME count; nullopt when absent. 0 and the largest value
// ("never") give an invalid date.
std::optional<QDateTime> DateFiletime(const DirectoryObject& objet, QStringView attribut) {
    const QVariant valeur = objet.Get(attribut);
    if (valeur.isNull())
        return std::nullopt;
    const QDateTime date = DateDepuisFiletime(valeur.toLongLong());
    return ExpirationJamais(date) ? QDateTime() : date;
}

// The replicated time stamp lags behind the last logon on the server asked: the later wins.
// nullopt when neither is read; an invalid date when both say never.
std::optional<QDateTime> DerniereConnexion(const DirectoryObject& compte) {
    std::optional<QDateTime> resultat;
    for (QStringView attribut : {u"lastLogonTimestamp", u"lastLogon"}) {
        const std::optional<QDateTime> date = DateFiletime(compte, attribut);
        if (date && (!resultat || (date->isValid() && (!resultat->isValid() || *date > *resultat))))
            resultat = date;
    }
    return resultat;
}

QString TexteDate(const QDateTime& date) {
    return date.isValid() ? TexteDateCourte(date) : Traduction(u"TXT_PROP_JAMAIS");
}

// "désactivé, verrouillé, expiré", or "actif".
QString TexteEtat(const EtatCompte& etat, bool expire) {
    QStringList etats;
    if (etat.desactive)
        etats << Traduction(u"TXT_ETAT_INA");
    if (etat.verrouille)
        etats << Traduction(u"TXT_ETAT_VER");
    if (expire)
        etats << Traduction(u"TXT_ETAT_EXP");
    return etats.isEmpty() ? Traduction(u"TXT_PROP_ACTIF") : etats.join(u", "_s);
}

// "name (account)" of the manager; the DN alone when it can no longer be read.
QString TexteGestionnaire(SessionAD& session, const QString& dn) {
    try {
        const auto gestionnaire = session.ConnexionAD().Bind(session.CheminObjet(dn));
        const QString compte = Valeur(*gestionnaire, u"sAMAccountName");
        QString nom = Valeur(*gestionnaire, u"displayName");
        if (nom.trimmed().isEmpty())
            nom = Valeur(*gestionnaire, u"cn");
        return compte.isEmpty() ? nom : nom + u" ("_s + compte + u')';
    } catch (const DirectoryError&) {
        return dn;
    }
}

// The domain's SID with the primary group's RID: the account's own SID shares its domain part.
QByteArray SidGroupePrincipal(const QByteArray& sidCompte, quint32 rid) {
    if (sidCompte.size() < 12 || sidCompte.size() != 8 + 4 * quint8(sidCompte.at(1)))
        return {};
    QByteArray domaine = sidCompte.left(sidCompte.size() - 4);
    domaine[1] = char(quint8(domaine.at(1)) - 1);
    return SidAvecRid(domaine, rid);
}

} // namespace

std::unique_ptr<DirectoryObject> LieSiPresent(SessionAD& session, const QString& dn) {
    try {
        return session.ConnexionAD().Bind(session.CheminObjet(dn));
    } catch (const DirectoryError& e) {
        if (e.number() == ErrorNumber::NoSuchObject)
            return nullptr;
        throw;
    }
}

QByteArray SidDuGroupePrincipal(const DirectoryObject& compte) {
    const QVariant rid = compte.Get(u"primaryGroupID");
    const QVariant sid = compte.Get(u"objectSid");
    if (rid.isNull() || sid.typeId() != QMetaType::QByteArray)
        return {};
    return SidGroupePrincipal(sid.toByteArray(), quint32(rid.toLongLong()));
}

// One search for every group of the object: those that name it in "member", and the primary
// group, which never does and is found by its SID.
ListeOccurrences GroupesDirects(SessionAD& session, const QString& dn, const QByteArray& principal) {
    QString membre = FiltreEgalite(u"member", dn);
    if (!principal.isEmpty())
        membre = u"(|"_s + membre + u"(objectSid="_s + EscapeFilterBytes(principal) + u"))"_s;
    const SearchRequest requete = searchRequest(
        session.ContexteNommage(), SearchScope::Subtree, u"(&(objectClass=group)"_s + membre + u')',
        {u"name"_s, u"description"_s, u"groupType"_s, u"distinguishedName"_s});
    ListeOccurrences groupes;
    for (Recordset rs = session.ConnexionAD().Execute(requete); !rs.Eof(); rs.MoveNext())
        groupes.append(OccurrenceDuGroupe(DirectoryObject(session.ConnexionAD(), {}, rs.current())));
    // The user's collation, as the tree sorts (QString's locale-aware compare keeps a collator of
    // its own that is never freed).
    const QCollator tri;
    std::sort(groupes.begin(), groupes.end(), [&tri](const clsOccurrence& a, const clsOccurrence& b) {
        return tri.compare(a.Nom, b.Nom) < 0;
    });
    return groupes;
}

namespace {

class Lignes {
public:
    void ajoute(QStringView cle, const QString& valeur) { m_lignes.append({Traduction(cle), valeur}); }
    // Optional values take no row when the account has none.
    void ajouteSiPresent(QStringView cle, const QString& valeur) {
        if (!valeur.trimmed().isEmpty())
            ajoute(cle, valeur);
    }
    QList<LigneProprietes> m_lignes;
};

} // namespace

std::optional<ProprietesCompte> LitProprietesCompte(SessionAD& session, const QString& dn,
                                                    const QDateTime& maintenant) {
    const std::unique_ptr<DirectoryObject> compte = LieSiPresent(session, dn);
    if (!compte)
        return std::nullopt;
    const QString categorie = CleCategorieCompte(compte->GetEx(u"objectClass"));
    if (categorie == u"?")
        return std::nullopt;

    ProprietesCompte p;
    p.dn = compte->dn();
    p.compte = Valeur(*compte, u"sAMAccountName");
    const QString cn = Valeur(*compte, u"cn");
    const QString nomAffiche = Valeur(*compte, u"displayName");
    p.nom = NomCompte(Valeur(*compte, u"objectCategory"), nomAffiche, cn, p.compte);

    EtatCompte etat;
    etat.desactive = compte->Get(u"userAccountControl").toLongLong() & 2;
    etat.verrouille = compte->IsAccountLocked();
    etat.expiration = compte->AccountExpirationDate();
    const bool expire = CompteExpire(etat.expiration, maintenant);
    p.cleImage = CleImageCompte(categorie, etat, true, maintenant);

    Lignes l;
    l.ajoute(u"COL_TYPE", Traduction(QString(u"TXT_"_s + categorie.toUpper())));
    l.ajouteSiPresent(u"TXT_PROP_NOM_AFFICHE", nomAffiche);
    l.ajoute(u"TXT_PROP_CN", cn);
    l.ajoute(u"TXT_PROP_COMPTE", p.compte);
    l.ajouteSiPresent(u"TXT_PROP_UPN", Valeur(*compte, u"userPrincipalName"));
    l.ajoute(u"COL_DISTINGUISHEDNAME", p.dn);
    l.ajoute(u"TXT_PROP_ETAT", TexteEtat(etat, expire));
    l.ajoute(u"TXT_PROP_EXPIRATION",
             TexteDate(ExpirationJamais(etat.expiration) ? QDateTime() : etat.expiration));
    if (etat.verrouille)
        if (const std::optional<QDateTime> depuis = DateFiletime(*compte, u"lockoutTime");
            depuis && depuis->isValid())
            l.ajoute(u"TXT_PROP_VERROUILLE_DEPUIS", TexteDate(*depuis));
    if (const std::optional<QDateTime> motDePasse = DateFiletime(*compte, u"pwdLastSet"))
        l.ajoute(u"TXT_PROP_MOT_DE_PASSE", TexteDate(*motDePasse));
    if (const std::optional<QDateTime> connexion = DerniereConnexion(*compte))
        l.ajoute(u"TXT_PROP_DERNIERE_CONNEXION", TexteDate(*connexion));
    l.ajouteSiPresent(u"TXT_PROP_MAIL", Valeur(*compte, u"mail"));
    l.ajouteSiPresent(u"COL_DESCRIPTION", Valeur(*compte, u"description"));
    if (const QString gestionnaire = Valeur(*compte, u"manager"); !gestionnaire.isEmpty())
        l.ajoute(u"TXT_PROP_GESTIONNAIRE", TexteGestionnaire(session, gestionnaire));
    p.lignes = l.m_lignes;
    p.groupes = GroupesDirects(session, compte->dn(), SidDuGroupePrincipal(*compte));
    return p;
}

QString TitreProprietes(const ProprietesCompte& proprietes) {
    return FormateMessage(Traduction(u"TXT_PROP_TITRE"), {proprietes.nom});
}

QString TexteAucunGroupe(const QString& nom) {
    return FormateMessage(Traduction(u"TXT_PROP_AUCUN_GROUPE"), {nom});
}

} // namespace arbrix
