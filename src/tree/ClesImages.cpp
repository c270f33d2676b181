#include "tree/ClesImages.h"

#include "directory/Dn.h"
#include "tree/EtatCompte.h"

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

QChar LettreTypeCompte(const QString& categorie) {
    if (categorie == u"contact")
        return u'K';
    if (categorie == u"fsp")
        return u'F';
    if (categorie == u"user" || categorie == u"comp" || categorie == u"svce")
        return categorie.at(0).toUpper();
    return u'?';
}

bool EstAutreMembre(QChar lettre) {
    return lettre == u'K' || lettre == u'F' || lettre == u'?';
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

QString NomCompte(const QString& objectCategory, const QString& displayName, const QString& cn,
                  const QString& sam) {
    const bool personne = objectCategory.size() >= 4 && objectCategory.at(3).toUpper() == u'P';
    for (const QString* nom : {personne ? &displayName : &cn, &cn})
        if (!nom->trimmed().isEmpty())
            return *nom;
    return sam;
}

AspectCompte AspectDuCompte(const QString& categorie, const QString& nom, const QString& sam,
                            const EtatCompte& etat, bool controlerVerrouilleExpire,
                            const QDateTime& maintenant) {
    QString texte = nom + QStringLiteral(" (") + sam.toLower() + u')';
    // A locked account's expiry is neither read nor noted.
    if (controlerVerrouilleExpire && !etat.verrouille && !ExpirationJamais(etat.expiration))
        texte += NoteExpiration(etat.expiration, CompteExpire(etat.expiration, maintenant));
    return {texte, CleImageCompte(categorie, etat, controlerVerrouilleExpire, maintenant)};
}

QString TagConteneur(const QString& tag) {
    if (tag.isEmpty())
        return {};
    const QString parent = DnParent(QStringView(tag).mid(1));
    return parent.isEmpty() ? QString() : u'O' + parent;
}

} // namespace arbrix
