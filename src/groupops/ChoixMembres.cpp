#include "groupops/ChoixMembres.h"

#include "directory/Classification.h"
#include "directory/DirectoryError.h"
#include "directory/Gateway.h"
#include "directory/Query.h"
#include "directory/Session.h"
#include "i18n/Traductions.h"
#include "text/Texte.h"
#include "tree/ClesImages.h"
#include "tree/LigneCommande.h"

#include <algorithm>

namespace arbrix {

std::optional<Recordset> LitObjetParDn(SessionAD& session, const QString& dn, const QStringList& attributs) {
    try {
        Recordset rs = session.ConnexionAD().Execute(
            searchRequest(dn, SearchScope::Base, QStringLiteral("(objectClass=*)"), attributs));
        if (rs.Eof())
            return std::nullopt;
        return rs;
    } catch (const DirectoryError& e) {
        if (e.number() == ErrorNumber::QueryNoSuchBase || e.number() == ErrorNumber::NoSuchObject)
            return std::nullopt;
        throw;
    }
}

namespace {

const QStringList ColonnesCompte{QStringLiteral("sAMAccountName"),
                                 QStringLiteral("displayName"),
                                 QStringLiteral("cn"),
                                 QStringLiteral("name"),
                                 QStringLiteral("distinguishedName"),
                                 QStringLiteral("userAccountControl"),
                                 QStringLiteral("objectCategory"),
                                 QStringLiteral("objectClass")};

QString champ(const Recordset& rs, QStringView nom) {
    const QVariant v = rs.Fields(nom);
    return v.typeId() == QMetaType::QStringList ? v.toStringList().value(0) : v.toString();
}

MembreChoisi DepuisLigne(const Recordset& rs) {
    const QVariant classes = rs.Fields(u"objectClass");
    if (TableauContient(classes, QStringLiteral("group")))
        return GroupeChoisi{champ(rs, u"Name"), champ(rs, u"DistinguishedName")};
    CompteChoisi c;
    c.Categorie = CleCategorieCompte(classes);
    c.Compte = champ(rs, u"sAMAccountName");
    c.Nom = NomCompte(champ(rs, u"objectCategory"), champ(rs, u"DisplayName"), champ(rs, u"CN"), c.Compte);
    c.DistinguishedName = champ(rs, u"DistinguishedName");
    c.UserAccountControl = rs.Fields(u"userAccountControl").toInt();
    return c;
}

bool Convient(const MembreChoisi& m, GenreMembre genre) {
    if (genre == GenreMembre::CompteOuGroupe)
        return true;
    return std::holds_alternative<GroupeChoisi>(m) == (genre == GenreMembre::Groupe);
}

MembreTrouve ParDn(SessionAD& session, const QString& dn, GenreMembre genre) {
    const std::optional<Recordset> rs = LitObjetParDn(session, dn, ColonnesCompte);
    if (!rs)
        return {};
    const QVariant classes = rs->Fields(u"objectClass");
    const bool compte =
        !CleCategorieCompte(classes).isEmpty() && TableauContient(classes, QStringLiteral("user"));
    if (!compte && !TableauContient(classes, QStringLiteral("group")))
        return {};
    MembreChoisi m = DepuisLigne(*rs);
    if (!Convient(m, genre))
        return {};
    return {std::move(m), {}};
}

// The rows a filter finds: the member when there is exactly one.
MembreTrouve ParFiltre(SessionAD& session, const QString& filtre) {
    MembreTrouve t;
    std::optional<MembreChoisi> premier;
    for (Recordset rs = session.ConnexionAD().Execute(
             searchRequest(session.ContexteNommage(), SearchScope::Subtree, filtre, ColonnesCompte));
         !rs.Eof(); rs.MoveNext()) {
        if (!premier)
            premier = DepuisLigne(rs);
        t.homonymes.append(champ(rs, u"DistinguishedName"));
    }
    if (t.homonymes.size() == 1) {
        t.membre = premier;
        t.homonymes.clear();
    }
    return t;
}

MembreTrouve CompteParNom(SessionAD& session, const QString& entree) {
    const QString attribut =
        entree.contains(u'@') ? QStringLiteral("mail") : QStringLiteral("sAMAccountName");
    return ParFiltre(session, QStringLiteral("(&(objectClass=user)(") + attribut + u'=' +
                                  EchappeValeurFiltre(entree) + QStringLiteral("))"));
}

MembreTrouve GroupeParNom(SessionAD& session, const QString& entree) {
    return ParFiltre(session, QStringLiteral("(&(objectClass=group)(name=") + EchappeValeurFiltre(entree) +
                                  QStringLiteral("))"));
}

QString CleRefusNonTrouve(GenreMembre genre) {
    return genre == GenreMembre::Groupe ? QStringLiteral("MSG_ERREUR_AJOUT_GROUPE_NON_TROUVE")
                                        : QStringLiteral("MSG_ERREUR_AJOUT_COMPTE_NON_TROUVE");
}

} // namespace

MembreTrouve TrouveMembre(SessionAD& session, const QString& saisie, GenreMembre genre) {
    const QString entree = saisie.trimmed();
    if (entree.isEmpty())
        return {};
    const PointDeDepart depart = InterpreteLigneCommande(entree);
    if (!depart.dn.isEmpty())
        return ParDn(session, depart.dn, genre);
    if (genre != GenreMembre::Groupe) {
        MembreTrouve t = CompteParNom(session, entree);
        if (t.membre || !t.homonymes.isEmpty() || genre == GenreMembre::Compte)
            return t;
    }
    return GroupeParNom(session, entree);
}

Resolution ResoutSelection(SessionAD& session, const QString& selection, GenreMembre genre,
                           const QHash<QString, QString>& choisis) {
    Resolution r;
    for (const QString& piece : NormaliseSelection(selection).split(u';')) {
        const QString entree = piece.trimmed();
        if (entree.isEmpty())
            continue;
        const QString dnChoisi = choisis.value(entree.toLower());
        const MembreTrouve t = TrouveMembre(session, dnChoisi.isEmpty() ? entree : dnChoisi, genre);
        if (t.membre) {
            r.membres.append(*t.membre);
            continue;
        }
        r.refus = t.homonymes.isEmpty() ? FormateMessage(Traduction(CleRefusNonTrouve(genre)), {entree})
                                        : FormateMessage(Traduction(u"MSG_ERREUR_AJOUT_PLUSIEURS_OBJETS"),
                                                         {entree, t.homonymes.join(QStringLiteral(" ; "))});
        break;
    }
    return r;
}

QString NormaliseSelection(const QString& texte) {
    QString t = texte;
    t.remove(u'\n');
    t.replace(u'\t', u';');
    t.replace(u'\r', u';');
    return t;
}

QString TexteColle(const QString& pressePapiers, bool dollar) {
    QString t = NormaliseSelection(pressePapiers);
    if (t.endsWith(u';'))
        t.chop(1);
    if (!dollar)
        return t;
    QStringList pieces = t.split(u';');
    for (QString& p : pieces)
        p = p.trimmed() + u'$';
    return pieces.join(u';');
}

namespace {

// The text typed in a dialog's search field: a prefix in which a "*" stands for any characters.
QString ValeurRecherche(const QString& texte) {
    return EchappeValeurFiltreGenerique(QString(texte + u'*'));
}

// No name holds a control character; a server may even cut the value at a NUL and find more.
bool NommeRien(const QString& texte) {
    return std::any_of(texte.begin(), texte.end(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

} // namespace

QList<LigneCompte> ChercheComptes(SessionAD& session, const QString& texte) {
    if (NommeRien(texte))
        return {};
    const QString v = ValeurRecherche(texte);
    QString criteres;
    for (const char16_t* attribut : {u"sAMAccountName", u"displayName", u"cn", u"userPrincipalName"})
        criteres += u'(' + QString::fromUtf16(attribut) + u'=' + v + u')';
    const QString filtre =
        QStringLiteral(
            "(&(|(&(objectCategory=person)(objectClass=user))(objectCategory=computer)"
            "(objectCategory=msDS-GroupManagedServiceAccount)(objectCategory=msDS-ManagedServiceAccount))"
            "(|") +
        criteres + QStringLiteral("))");
    QList<LigneCompte> lignes;
    // Description and telephone come with the rows: no account is bound one by one.
    for (Recordset rs = session.ConnexionAD().Execute(searchRequest(
             session.ContexteNommage(), SearchScope::Subtree, filtre,
             {QStringLiteral("sAMAccountName"), QStringLiteral("displayName"), QStringLiteral("cn"),
              QStringLiteral("distinguishedName"), QStringLiteral("objectCategory"),
              QStringLiteral("description"), QStringLiteral("telephoneNumber")}));
         !rs.Eof(); rs.MoveNext()) {
        const QString sam = champ(rs, u"sAMAccountName");
        lignes.append(
            {NomCompte(champ(rs, u"objectCategory"), champ(rs, u"DisplayName"), champ(rs, u"CN"), sam),
             champ(rs, u"Description"), champ(rs, u"TelephoneNumber"), sam.toLower(),
             champ(rs, u"DistinguishedName")});
    }
    return lignes;
}

QList<LigneGroupe> ChercheGroupes(SessionAD& session, const QString& texte) {
    if (NommeRien(texte))
        return {};
    QList<LigneGroupe> lignes;
    for (Recordset rs = session.ConnexionAD().Execute(searchRequest(
             session.ContexteNommage(), SearchScope::Subtree,
             QStringLiteral("(&(objectClass=group)(cn=") + ValeurRecherche(texte) + QStringLiteral("))"),
             {QStringLiteral("name"), QStringLiteral("distinguishedName"), QStringLiteral("groupType"),
              QStringLiteral("sAMAccountName"), QStringLiteral("description")}));
         !rs.Eof(); rs.MoveNext()) {
        const QString nom = champ(rs, u"Name");
        const QString sam = champ(rs, u"sAMAccountName");
        lignes.append(
            {nom, champ(rs, u"Description"),
             Traduction(QStringLiteral("txt_") + CleTypeGroupe(rs.Fields(u"GroupType").toInt(), false)),
             sam == nom ? QString() : sam, champ(rs, u"DistinguishedName")});
    }
    return lignes;
}

} // namespace arbrix
