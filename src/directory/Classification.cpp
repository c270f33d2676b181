#include "directory/Classification.h"

#include "directory/Dn.h"

using namespace Qt::StringLiterals;

namespace arbrix {

QString CleCategorieCompte(const QStringList& objectClass) {
    if (TableauContient(objectClass, QStringLiteral("msDS-GroupManagedServiceAccount")) ||
        TableauContient(objectClass, QStringLiteral("msDS-ManagedServiceAccount")))
        return QStringLiteral("svce");
    if (TableauContient(objectClass, QStringLiteral("computer")))
        return QStringLiteral("comp");
    // A contact is a "person" too, but no account: it has neither logon nor state.
    if (TableauContient(objectClass, QStringLiteral("contact")))
        return QStringLiteral("?");
    if (TableauContient(objectClass, QStringLiteral("person")))
        return QStringLiteral("user");
    return QStringLiteral("?");
}

QString CleCategorieMembre(const QStringList& objectClass) {
    const QString compte = CleCategorieCompte(objectClass);
    if (compte != u"?")
        return compte;
    if (TableauContient(objectClass, QStringLiteral("contact")))
        return QStringLiteral("contact");
    if (TableauContient(objectClass, QStringLiteral("foreignSecurityPrincipal")))
        return QStringLiteral("fsp");
    return QStringLiteral("autre");
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

QString CleCategorieMembre(const QVariant& objectClass) {
    return CleCategorieMembre(valeursTexte(objectClass));
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

} // namespace arbrix
