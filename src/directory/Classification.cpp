#include "directory/Classification.h"

#include "directory/Dn.h"

#include <QDate>

using namespace Qt::StringLiterals;

namespace arbrix {

QString CleTypeGroupe(qint32 groupType, bool recursif) {
    const QString base = groupType < 0 ? QStringLiteral("grp_sec") : QStringLiteral("grp_dis");
    if (recursif)
        return base + u"_rec"_s;
    if (groupType & 4)
        return base + u"_loc"_s;
    if (groupType & 2)
        return base + u"_glo"_s;
    if (groupType & 8)
        return base + u"_uni"_s;
    return base;
}

QString CleCategorieCompte(const QStringList& objectClass) {
    if (TableauContient(objectClass, QStringLiteral("msDS-GroupManagedServiceAccount")) ||
        TableauContient(objectClass, QStringLiteral("msDS-ManagedServiceAccount")))
        return QStringLiteral("svce");
    if (TableauContient(objectClass, QStringLiteral("computer")))
        return QStringLiteral("comp");
    if (TableauContient(objectClass, QStringLiteral("person")))
        return QStringLiteral("user");
    return QStringLiteral("?");
}

static QStringList valeursTexte(const QVariant& valeurs) {
    if (valeurs.isNull() || !valeurs.isValid())
        return {};
    if (valeurs.typeId() == QMetaType::QStringList)
        return valeurs.toStringList();
    if (valeurs.typeId() == QMetaType::QVariantList) {
        QStringList textes;
        for (const QVariant& v : valeurs.toList())
            textes += v.toString();
        return textes;
    }
    return {valeurs.toString()};
}

QString CleCategorieCompte(const QVariant& objectClass) {
    return CleCategorieCompte(valeursTexte(objectClass));
}

bool TableauContient(const QStringList& valeurs, const QString& texte, int mode) {
    const Qt::CaseSensitivity casse = mode == 1 ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (const QString& v : valeurs) {
        if (v.compare(texte, casse) == 0)
            return true;
    }
    return false;
}

bool TableauContient(const QVariant& valeurs, const QString& texte, int mode) {
    return TableauContient(valeursTexte(valeurs), texte, mode);
}

QChar LettreTypeCompte(const QString& categorie) {
    return categorie.isEmpty() ? QChar(u'?') : categorie.at(0).toUpper();
}

bool ExpirationJamais(const QDateTime& expiration) {
    if (!expiration.isValid())
        return true;
    const QDate jour = expiration.date();
    return jour == QDate(1601, 1, 1) || jour == QDate(1970, 1, 1);
}

bool CompteExpire(const QDateTime& expiration, const QDateTime& maintenant) {
    return !ExpirationJamais(expiration) && expiration <= maintenant;
}

QString CleImageCompte(const QString& categorie, const EtatCompte& etat, bool controlerVerrouilleExpire,
                       const QDateTime& maintenant) {
    QString cle = etat.desactive ? categorie + u"_ina"_s : categorie;
    if (controlerVerrouilleExpire) {
        if (etat.verrouille)
            cle = categorie + u"_ver"_s;
        else if (CompteExpire(etat.expiration, maintenant))
            cle = categorie + u"_exp"_s;
    }
    return cle;
}

QString EchappeCheminLDAP(const QString& dn) {
    QString chemin = dn;
    chemin.replace(QStringLiteral("/"), QStringLiteral("\\/"));
    return chemin;
}

QString PrefixeCheminObjet(qint16 accesAD, const QString& baseRechercheAD) {
    return accesAD == 2 ? baseRechercheAD + u'/' : QString();
}

QString CheminObjet(const QString& dn, qint16 accesAD, const QString& baseRechercheAD) {
    return QStringLiteral("LDAP://") + PrefixeCheminObjet(accesAD, baseRechercheAD) + EchappeCheminLDAP(dn);
}

QString DoubleApostrophes(const QString& texte) {
    QString resultat = texte;
    resultat.replace(QStringLiteral("'"), QStringLiteral("''"));
    return resultat;
}

QString TagConteneur(const QString& tag) {
    if (tag.isEmpty())
        return {};
    const QString parent = DnParent(QStringView(tag).mid(1));
    return parent.isEmpty() ? QString() : u'O' + parent;
}

} // namespace arbrix
