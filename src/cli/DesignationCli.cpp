#include "cli/DesignationCli.h"

#include "directory/Classification.h"
#include "directory/DirectoryError.h"
#include "directory/Gateway.h"
#include "directory/Query.h"
#include "directory/Session.h"
#include "groupops/ChoixMembres.h"
#include "tree/Analyse.h"
#include "tree/ClesImages.h"
#include "tree/LigneCommande.h"

namespace arbrix {

namespace {

QString valeurChamp(const Recordset& rs, QStringView champ) {
    const QVariant v = rs.Fields(champ);
    return v.typeId() == QMetaType::QStringList ? v.toStringList().value(0) : v.toString();
}

// The type letter of a directory object by its classes.
QChar LettreObjet(const QVariant& objectClass) {
    if (TableauContient(objectClass, QStringLiteral("group")))
        return u'G';
    if (TableauContient(objectClass, QStringLiteral("organizationalUnit")))
        return u'O';
    return LettreTypeCompte(CleCategorieMembre(objectClass));
}

bool Convient(QChar lettre, GenreDesignation genre) {
    switch (genre) {
    case GenreDesignation::Groupe:
        return lettre == u'G';
    case GenreDesignation::Parent:
        return lettre == u'G' || lettre == u'O';
    case GenreDesignation::Membre:
        // A group may hold an object of any class: a contact, a foreign principal or another.
        return lettre != u'O';
    }
    return false;
}

RechercheDesignation ParDn(SessionAD& session, const QString& dn, GenreDesignation genre) {
    const std::optional<Recordset> rs = LitObjetParDn(
        session, dn,
        {QStringLiteral("name"), QStringLiteral("distinguishedName"), QStringLiteral("objectClass")});
    if (!rs)
        return {};
    const QChar lettre = LettreObjet(rs->Fields(u"objectClass"));
    if (!Convient(lettre, genre))
        return {};
    return {Designation{lettre + valeurChamp(*rs, u"distinguishedName"), valeurChamp(*rs, u"name")}, {}};
}

RechercheDesignation DepuisOccurrences(const ListeOccurrences& trouves, QChar lettre) {
    if (trouves.size() != 1)
        return {std::nullopt, trouves};
    return {Designation{lettre + trouves.first().DistinguishedName, trouves.first().Nom}, {}};
}

// Accounts whose account name is texte (users, computers, service accounts).
ListeOccurrences ComptesNommes(SessionAD& session, const QString& texte, QList<QChar>& lettres) {
    ListeOccurrences comptes;
    for (Recordset rs = session.ConnexionAD().Execute(searchRequest(
             session.ContexteNommage(), SearchScope::Subtree,
             QStringLiteral("(&") + FiltreEgalite(u"sAMAccountName", texte) +
                 QStringLiteral("(|(objectClass=user)(objectClass=computer)))"),
             {QStringLiteral("name"), QStringLiteral("distinguishedName"), QStringLiteral("objectClass")}));
         !rs.Eof(); rs.MoveNext()) {
        clsOccurrence o;
        o.Nom = valeurChamp(rs, u"name");
        o.TypeObjetEnTexte = CleCategorieCompte(rs.Fields(u"objectClass"));
        o.DistinguishedName = valeurChamp(rs, u"distinguishedName");
        lettres.append(LettreTypeCompte(o.TypeObjetEnTexte));
        comptes.append(o);
    }
    return comptes;
}

} // namespace

RechercheDesignation TrouveDesignation(SessionAD& session, const QString& saisie, GenreDesignation genre) {
    const QString nom = saisie.trimmed();
    const PointDeDepart depart = InterpreteLigneCommande(nom);
    if (!depart.dn.isEmpty())
        return ParDn(session, depart.dn, genre);
    if (genre == GenreDesignation::Membre) {
        QList<QChar> lettres;
        const ListeOccurrences comptes = ComptesNommes(session, nom, lettres);
        if (!comptes.isEmpty())
            return DepuisOccurrences(comptes, lettres.first());
    }
    return DepuisOccurrences(ChercheParNom(session, 1, nom), u'G');
}

} // namespace arbrix
