#include "groupops/Appartenances.h"

#include "directory/Classification.h"
#include "directory/DirectoryError.h"
#include "directory/Session.h"
#include "i18n/Traductions.h"
#include "text/Texte.h"
#include "tree/ClesImages.h"

namespace arbrix {

namespace {

// A single-valued read; a multi-valued answer gives its first value.
QString Texte(const QVariant& valeur) {
    if (valeur.typeId() == QMetaType::QStringList) {
        const QStringList valeurs = valeur.toStringList();
        return valeurs.isEmpty() ? QString() : valeurs.first();
    }
    return valeur.toString();
}

std::unique_ptr<DirectoryObject> Lie(SessionAD& session, const QString& dn) {
    return session.ConnexionAD().Bind(session.CheminObjet(dn));
}

QString LitGestionnaire(SessionAD& session, const QString& dnGestionnaire) {
    Gestionnaire g;
    g.dn = dnGestionnaire;
    try {
        const auto objet = Lie(session, dnGestionnaire);
        g.compte = Texte(objet->Get(u"sAMAccountName"));
        g.nom = Texte(objet->Get(u"displayName"));
    } catch (const std::exception&) {
        return {}; // a manager that can no longer be read shows nothing
    }
    if (g.nom.isEmpty())
        g.nom = g.compte;
    return g.Texte();
}

} // namespace

clsOccurrence OccurrenceDuGroupe(const DirectoryObject& groupe) {
    clsOccurrence o;
    o.Nom = Texte(groupe.Get(u"name"));
    o.TypeObjet = 1;
    o.Description = Texte(groupe.Get(u"description"));
    const QVariant type = groupe.Get(u"groupType");
    o.TypeObjetEnTexte = Traduction(QStringLiteral("TXT_") + CleTypeGroupe(type.toInt(), false));
    o.DistinguishedName = Texte(groupe.Get(u"distinguishedName"));
    if (o.DistinguishedName.isEmpty())
        o.DistinguishedName = groupe.dn();
    return o;
}

QString Gestionnaire::Texte() const {
    QString texte = nom;
    if (!compte.isEmpty())
        texte += QStringLiteral(" (") + compte + u')';
    return texte + u'\t' + dn;
}

QString Gestionnaire::TexteAffiche() const {
    QString texte = nom;
    if (!compte.isEmpty())
        texte += QStringLiteral(" (") + compte + u')';
    return texte;
}

std::optional<Gestionnaire> Gestionnaire::Depuis(const QString& texte) {
    if (texte.isEmpty())
        return std::nullopt;
    Gestionnaire g;
    const qsizetype tab = texte.lastIndexOf(u'\t');
    const QString affiche = tab < 0 ? texte : texte.left(tab);
    if (tab >= 0)
        g.dn = texte.mid(tab + 1);
    // The account follows the last " (": a display name may hold brackets of its own.
    const qsizetype parenthese = affiche.lastIndexOf(u" (");
    if (parenthese >= 0 && affiche.endsWith(u')')) {
        g.nom = affiche.left(parenthese);
        g.compte = affiche.mid(parenthese + 2, affiche.size() - parenthese - 3);
    } else {
        g.nom = affiche;
    }
    return g;
}

DescriptionEtGestionnaire LitDescriptionEtGestionnaire(SessionAD& session, const QString& tag) {
    DescriptionEtGestionnaire resultat;
    if (tag.isEmpty())
        return resultat;
    const QChar lettre = tag.front();
    const bool avecGestionnaire = lettre == u'O' || lettre == u'G';
    if (!avecGestionnaire && lettre != u'U' && lettre != u'C' && lettre != u'S' && !EstAutreMembre(lettre))
        return resultat;
    QString dnGestionnaire;
    try {
        const auto objet = Lie(session, tag.mid(1));
        resultat.description = Texte(objet->Get(u"description"));
        if (avecGestionnaire)
            dnGestionnaire = Texte(objet->Get(u"managedBy"));
    } catch (const std::exception&) {
        return resultat;
    }
    if (!dnGestionnaire.isEmpty())
        resultat.gestionnaire = LitGestionnaire(session, dnGestionnaire);
    return resultat;
}

} // namespace arbrix
