#include "groupops/OperationsAnnuaire.h"

#include "directory/CheckedWrite.h"
#include "directory/Classification.h"
#include "directory/DirectoryError.h"
#include "directory/Dn.h"
#include "directory/Gateway.h"
#include "directory/Query.h"
#include "directory/Session.h"
#include "groupops/NomGroupe.h"
#include "i18n/Traductions.h"
#include "text/Journal.h"
#include "text/Texte.h"
#include "tree/ClesImages.h"
#include "tree/Interaction.h"

#include <algorithm>

namespace arbrix {

namespace {

CompteChoisi CompteDepuisObjet(const DirectoryObject& o) {
    CompteChoisi c;
    c.Categorie = CleCategorieCompte(o.GetEx(u"objectClass"));
    c.Compte = o.Get(u"sAMAccountName").toString();
    c.Nom = NomCompte(o.Get(u"objectCategory").toString(), o.Get(u"displayName").toString(),
                      o.Get(u"cn").toString(), c.Compte);
    c.DistinguishedName = o.dn();
    c.UserAccountControl = o.Get(u"userAccountControl").toInt();
    return c;
}

} // namespace

IssueOperation IssueDeLErreur(const DirectoryError& e) {
    const bool refus = e.number() == ErrorNumber::UnwillingToPerform ||
                       e.number() == ErrorNumber::ObjectAccessDenied ||
                       e.number() == ErrorNumber::AlreadyExists;
    return refus ? IssueOperation::Refusee : IssueOperation::Echouee;
}

QString TexteErreurOperation(const DirectoryError& e) {
    // A change whose answer was lost is told as the directory read back holds it (a change it
    // holds is no error), and never sends the user to the author for a fault of the server.
    if (e.ldapCode() == LdapCode::ChangeNotMade)
        return FormateMessage(Traduction(u"MSG_ERREUR_OPERATION_NON_FAITE"), {qint64(e.number()), e.text()});
    if (answerLost(e.ldapCode()))
        return FormateMessage(Traduction(u"MSG_ERREUR_OPERATION_INCERTAINE"), {qint64(e.number()), e.text()});
    switch (e.number()) {
    case ErrorNumber::UnwillingToPerform:
        return Traduction(u"MSG_ERREUR_OPERATION_REFUSEE");
    case ErrorNumber::ObjectAccessDenied:
        return Traduction(u"MSG_ERREUR_DROITS_INSUFFISANTS");
    case ErrorNumber::AlreadyExists:
        return Traduction(u"MSG_ERREUR_CREATION_GROUPE_EXISTE_DEJA");
    default:
        return FormateMessage(Traduction(u"MSG_ERREUR"), {qint64(e.number()), e.text()});
    }
}

QString QuestionSuppressionGroupe(const QString& dnGroupe) {
    return FormateMessage(Traduction(u"TXT_CONFIRMATION_SUPPRESSION_GROUPE"), {DnValeurRdn(dnGroupe)});
}

OperationsAnnuaire::OperationsAnnuaire(SessionAD& session, Interaction& interaction)
    : m_session(session)
    , m_interaction(interaction) {}

void OperationsAnnuaire::note(ResultatAnnuaire& o, Changement changement) {
    static const char* const natures[] = {"created", "added", "removed", "deleted", "renamed"};
    qCInfo(lcOperations).noquote() << natures[int(changement.nature)] << changement.dn << changement.autre;
    o.changements.append(changement);
    if (m_journal)
        m_journal(o.changements.constLast());
}

void OperationsAnnuaire::dit(const QString& texte) {
    m_interaction.Message(texte, IconeMessage::Exclamation);
}

void OperationsAnnuaire::refuse(ResultatAnnuaire& o, const QString& texte) {
    dit(texte);
    o.issue = IssueOperation::Refusee;
}

void OperationsAnnuaire::echec(ResultatAnnuaire& o, const DirectoryError& e) {
    dit(TexteErreurOperation(e));
    o.issue = IssueDeLErreur(e);
}

bool OperationsAnnuaire::nomRefuse(ResultatAnnuaire& o, const QString& nom) {
    const std::optional<QString> refus = RefusNomGroupe(nom);
    if (refus)
        refuse(o, Traduction(*refus));
    return refus.has_value();
}

std::optional<QString> OperationsAnnuaire::RefusNouveauGroupe(const QString& nom) {
    if (const std::optional<QString> refus = RefusNomGroupe(nom))
        return Traduction(*refus);
    // A group's common name is checked in the whole domain, whatever its container; its account
    // name is shared with users and computers. Exact matches: a "*" is a character.
    const QString filtre = QStringLiteral("(|(&(objectCategory=group)") + FiltreEgalite(u"cn", nom) + u')' +
                           FiltreEgalite(u"sAMAccountName", nom) + u')';
    QString cle, dn;
    for (Recordset rs = m_session.ConnexionAD().Execute(
             searchRequest(m_session.ContexteNommage(), SearchScope::Subtree, filtre,
                           {QStringLiteral("distinguishedName"), QStringLiteral("objectClass")}));
         !rs.Eof(); rs.MoveNext()) {
        const QVariant classes = rs.Fields(u"objectClass");
        const bool groupe = TableauContient(classes, QStringLiteral("group"));
        // A group said first: it is what the user was told to look for.
        if (!cle.isEmpty() && !groupe)
            continue;
        dn = rs.Fields(u"DistinguishedName").toString();
        cle = groupe ? QStringLiteral("MSG_ERREUR_CREATION_GROUPE_NOM_GROUPE")
              : TableauContient(classes, QStringLiteral("computer"))
                  ? QStringLiteral("MSG_ERREUR_CREATION_GROUPE_NOM_ORDINATEUR")
                  : QStringLiteral("MSG_ERREUR_CREATION_GROUPE_NOM_UTILISATEUR");
        if (groupe)
            break;
    }
    if (cle.isEmpty())
        return std::nullopt;
    return FormateMessage(Traduction(cle), {nom, dn});
}

bool OperationsAnnuaire::creeCycle(const QString& dnAjoute, const QString& dnCible) {
    // The target already inside the added group, at any depth: the directory follows the chain,
    // cycles included, so no walk of ours can loop.
    if (DnEgaux(dnAjoute, dnCible))
        return true;
    const Recordset rs = m_session.ConnexionAD().Execute(searchRequest(
        dnCible, SearchScope::Base,
        QStringLiteral("(memberOf:1.2.840.113556.1.4.1941:=") + EchappeValeurFiltre(dnAjoute) + u')',
        {QStringLiteral("distinguishedName")}));
    return !rs.Eof();
}

ResultatAnnuaire OperationsAnnuaire::CreeGroupe(const QString& dnParent, bool dansGroupe,
                                                const ChoixCreationGroupe& choix) {
    ResultatAnnuaire o;
    const QString nom = NomGroupeNettoye(choix.nom);
    const qint32 groupType = ValeurGroupType(choix.type == 0 ? 0 : 1, std::clamp(choix.etendue, 0, 2));
    try {
        if (const std::optional<QString> refus = RefusNouveauGroupe(nom)) {
            refuse(o, *refus);
            return o;
        }
        DirectoryConnection& connexion = m_session.ConnexionAD();
        const std::unique_ptr<DirectoryObject> selection = connexion.Bind(m_session.CheminObjet(dnParent));
        const std::unique_ptr<DirectoryObject> conteneur =
            dansGroupe ? connexion.Bind(selection->Parent()) : connexion.Bind(selection->ADsPath());
        const std::unique_ptr<DirectoryObject> groupe =
            conteneur->Create(QStringLiteral("group"), RdnGroupe(nom));
        groupe->Put(QStringLiteral("sAMAccountName"), nom);
        groupe->Put(QStringLiteral("groupType"), groupType);
        groupe->SetInfo();
        const QString dnNouveau = groupe->Get(u"distinguishedName").toString();
        note(o, {Changement::Nature::Creation, dnNouveau, {}, {}, groupType, nom});
        if (dansGroupe) {
            try {
                selection->Add(groupe->ADsPath());
            } catch (const DirectoryError& e) {
                refuse(o, FormateMessage(Traduction(u"MSG_ERREUR_GROUPE_CREE_NON_MEMBRE"),
                                         {nom, DnValeurRdn(selection->dn()), TexteErreurOperation(e)}));
                return o;
            }
            note(o, {Changement::Nature::Ajout, dnNouveau, selection->dn(), GroupeChoisi{nom, dnNouveau},
                     groupType, nom});
        }
    } catch (const DirectoryError& e) {
        echec(o, e);
    }
    return o;
}

ResultatAnnuaire OperationsAnnuaire::RenommeGroupe(const QString& ancienDn, const QString& nouveauNom) {
    ResultatAnnuaire o;
    const QString nom = NomGroupeNettoye(nouveauNom);
    // A name made elsewhere may hold characters refused here: left as it is, it is no change.
    if (nom == DnValeurRdn(ancienDn))
        return o;
    if (nomRefuse(o, nom))
        return o;
    try {
        DirectoryConnection& connexion = m_session.ConnexionAD();
        const std::unique_ptr<DirectoryObject> groupe = connexion.Bind(m_session.CheminObjet(ancienDn));
        const std::unique_ptr<DirectoryObject> conteneur = connexion.Bind(groupe->Parent());
        const std::unique_ptr<DirectoryObject> renomme =
            conteneur->MoveHere(groupe->ADsPath(), RdnGroupe(nom));
        try {
            renomme->Put(QStringLiteral("sAMAccountName"), nom);
            renomme->SetInfo();
        } catch (const DirectoryError& e) {
            // The relative name stays changed: the change says the group as it now is, and the
            // user learns which half of the rename is missing or not known.
            const auto resteRenomme = [&](const char16_t* cleMessage) {
                note(o, {Changement::Nature::Renommage, ancienDn, renomme->dn(), {}, 0, nom});
                dit(FormateMessage(Traduction(cleMessage), {nom, groupe->Get(u"sAMAccountName").toString(),
                                                            TexteErreurOperation(e)}));
                o.issue = IssueOperation::Echouee;
                return o;
            };
            // Not known to have failed: putting the name back would meet the same silent server.
            if (answerLost(e.ldapCode()))
                return resteRenomme(u"MSG_ERREUR_GROUPE_RENOMME_COMPTE_INCERTAIN");
            try {
                conteneur->MoveHere(renomme->ADsPath(), groupe->Name());
            } catch (const DirectoryError&) {
                return resteRenomme(u"MSG_ERREUR_GROUPE_RENOMME_SANS_COMPTE");
            }
            echec(o, e);
            return o;
        }
        note(o, {Changement::Nature::Renommage,
                 ancienDn,
                 renomme->Get(u"distinguishedName").toString(),
                 {},
                 0,
                 nom});
    } catch (const DirectoryError& e) {
        echec(o, e);
    }
    return o;
}

ResultatAnnuaire OperationsAnnuaire::SupprimeGroupe(const QString& dn) {
    ResultatAnnuaire o;
    try {
        DirectoryConnection& connexion = m_session.ConnexionAD();
        const std::unique_ptr<DirectoryObject> groupe = connexion.Bind(m_session.CheminObjet(dn));
        const std::unique_ptr<DirectoryObject> conteneur = connexion.Bind(groupe->Parent());
        conteneur->Delete(QStringLiteral("group"), groupe->Name());
        note(o, {Changement::Nature::Suppression, groupe->dn(), {}});
    } catch (const DirectoryError& e) {
        echec(o, e);
    }
    return o;
}

ResultatAnnuaire
OperationsAnnuaire::surGroupe(const QString& dnGroupe,
                              const std::function<void(ResultatAnnuaire&, DirectoryObject&)>& etape) {
    ResultatAnnuaire o;
    try {
        etape(o, *m_session.ConnexionAD().Bind(m_session.CheminObjet(dnGroupe)));
    } catch (const DirectoryError& e) {
        echec(o, e);
    }
    return o;
}

ResultatAnnuaire OperationsAnnuaire::RetireMembre(const QString& dnGroupe, const QString& dnMembre) {
    return surGroupe(dnGroupe, [&](ResultatAnnuaire& o, DirectoryObject& g) {
        g.Remove(m_session.CheminObjet(dnMembre));
        note(o, {Changement::Nature::Retrait, dnMembre, dnGroupe});
    });
}

ResultatAnnuaire OperationsAnnuaire::AjouteComptes(const QString& dnGroupe,
                                                   const QList<CompteChoisi>& comptes) {
    return surGroupe(dnGroupe, [&](ResultatAnnuaire& o, DirectoryObject& g) {
        for (const CompteChoisi& c : comptes) {
            const QString chemin = m_session.CheminObjet(c.DistinguishedName);
            if (g.IsMember(chemin)) {
                refuse(o, FormateMessage(Traduction(u"MSG_ERREUR_AJOUT_COMPTE_DEJA_MEMBRE"),
                                         {c.Nom, DnValeurRdn(g.dn())}));
                continue;
            }
            g.Add(chemin);
            note(o, {Changement::Nature::Ajout, c.DistinguishedName, g.dn(), c});
        }
    });
}

bool OperationsAnnuaire::ajouteGroupe(ResultatAnnuaire& o, DirectoryObject& cible, const GroupeChoisi& g) {
    // Several groups may be added at once: each refusal names the two groups.
    const QString nomCible = DnValeurRdn(cible.dn());
    if (DnEgaux(g.DistinguishedName, cible.dn())) {
        refuse(o, FormateMessage(Traduction(u"MSG_ERREUR_AJOUT_GROUPE_RECURSIVITE"), {g.Nom}));
        return false;
    }
    bool cycle = false;
    try {
        cycle = creeCycle(g.DistinguishedName, cible.dn());
    } catch (const DirectoryError& e) {
        refuse(o, FormateMessage(Traduction(u"MSG_ERREUR_CONTROLE_RECURSIVITE"),
                                 {g.Nom, TexteErreurOperation(e)}));
        return false;
    }
    if (cycle) {
        refuse(o, FormateMessage(Traduction(u"MSG_ERREUR_AJOUT_GROUPE_CIRCULAIRE"), {g.Nom, nomCible}));
        return false;
    }
    const QString chemin = m_session.CheminObjet(g.DistinguishedName);
    if (cible.IsMember(chemin)) {
        refuse(o, FormateMessage(Traduction(u"MSG_ERREUR_AJOUT_GROUPE_DEJA_MEMBRE"), {g.Nom, nomCible}));
        return false;
    }
    cible.Add(chemin);
    const qint32 groupType = m_session.ConnexionAD().Bind(chemin)->Get(u"groupType").toInt();
    note(o, {Changement::Nature::Ajout, g.DistinguishedName, cible.dn(), g, groupType, g.Nom});
    return true;
}

ResultatAnnuaire OperationsAnnuaire::AjouteGroupes(const QString& dnGroupe,
                                                   const QList<GroupeChoisi>& groupes) {
    return surGroupe(dnGroupe, [&](ResultatAnnuaire& o, DirectoryObject& cible) {
        for (const GroupeChoisi& g : groupes)
            ajouteGroupe(o, cible, g);
    });
}

ResultatAnnuaire OperationsAnnuaire::DeplaceMembre(const Deplacement& d) {
    ResultatAnnuaire o;
    if (d.groupe && !d.dnSource.isEmpty() && !DnEgaux(DnParent(d.dnMembre), DnParent(d.dnCible))) {
        refuse(o, Traduction(u"MSG_ERREUR_DEPLACEMENT_GROUPE_HORS_OU"));
        return o;
    }
    try {
        DirectoryConnection& connexion = m_session.ConnexionAD();
        const std::unique_ptr<DirectoryObject> g = connexion.Bind(m_session.CheminObjet(d.dnCible));
        const std::unique_ptr<DirectoryObject> objet = connexion.Bind(m_session.CheminObjet(d.dnMembre));
        QString refus;
        if (g->IsMember(objet->ADsPath()))
            refus = QStringLiteral("MSG_ERREUR_DEPLACEMENT_DEJA_MEMBRE");
        else if (d.groupe && creeCycle(objet->dn(), g->dn()))
            refus = QStringLiteral("MSG_ERREUR_DEPLACEMENT_AJOUT_RECURSIVITE");
        if (!refus.isEmpty()) {
            refuse(o, Traduction(refus));
            return o;
        }
        g->Add(objet->ADsPath());
        if (d.groupe)
            note(o, {Changement::Nature::Ajout, objet->dn(), g->dn(),
                     GroupeChoisi{DnValeurRdn(objet->dn()), objet->dn()}, objet->Get(u"groupType").toInt(),
                     DnValeurRdn(objet->dn())});
        else
            note(o, {Changement::Nature::Ajout, objet->dn(), g->dn(), CompteDepuisObjet(*objet)});
        if (d.dnSource.isEmpty())
            return o;
        try {
            connexion.Bind(m_session.CheminObjet(d.dnSource))->Remove(m_session.CheminObjet(d.dnMembre));
        } catch (const DirectoryError& e) {
            refuse(o, FormateMessage(
                          Traduction(u"MSG_ERREUR_DEPLACEMENT_RETRAIT_ECHOUE"),
                          {d.nomMembre, d.nomCible, DnValeurRdn(d.dnSource), TexteErreurOperation(e)}));
            return o;
        }
        note(o, {Changement::Nature::Retrait, d.dnMembre, d.dnSource});
    } catch (const DirectoryError& e) {
        echec(o, e);
    }
    return o;
}

} // namespace arbrix
