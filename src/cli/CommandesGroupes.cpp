#include "cli/CommandesGroupes.h"

#include "cli/ArgumentsCli.h"
#include "cli/DesignationCli.h"
#include "cli/InteractionTerminal.h"
#include "cli/TextesCli.h"
#include "directory/DirectoryError.h"
#include "directory/Dn.h"
#include "directory/Gateway.h"
#include "directory/Session.h"
#include "groupops/ChoixMembres.h"
#include "groupops/OperationsGroupes.h"
#include "settings/Parametres.h"
#include "tree/Analyse.h"
#include "tree/Arbre.h"

#include <QFile>

#include <algorithm>
#include <variant>

#include <unistd.h>

namespace arbrix {

namespace {

constexpr int Fait = 0;
constexpr int Echec = 1;
constexpr int Introuvable = 2;

QString LigneChangement(const Changement& c) {
    switch (c.nature) {
    case Changement::Nature::Creation:
        return QStringLiteral("created\t") + c.dn;
    case Changement::Nature::Ajout:
        return QStringLiteral("added\t") + c.dn + u'\t' + c.autre;
    case Changement::Nature::Retrait:
        return QStringLiteral("removed\t") + c.dn + u'\t' + c.autre;
    case Changement::Nature::Suppression:
        return QStringLiteral("deleted\t") + c.dn;
    case Changement::Nature::Renommage:
        return QStringLiteral("renamed\t") + c.dn + u'\t' + c.autre;
    }
    return {};
}

int CodeDe(IssueOperation issue) {
    return issue == IssueOperation::Faite ? Fait : Echec;
}

// A small tree of the named objects, the operations on it, and the changes on the output.
class Execution {
public:
    explicit Execution(ContexteCommande& c)
        : m_c(c)
        , m_interaction(c.erreurs)
        , m_analyse(m_arbre, c.session, c.parametres, m_interaction)
        , m_operations(m_arbre, c.session, c.parametres, m_interaction, m_analyse) {
        m_arbre.setAfficherNombreMembres(c.parametres.AfficherNombreMembres);
        m_operations.setJournal([this](const Changement& changement) {
            m_c.sortie << LigneChangement(changement) << u'\n';
            m_c.sortie.flush();
        });
    }

    // The object a word names, or the exit status of a failed lookup (candidates listed).
    std::variant<Designation, int> Trouve(const QString& texte, GenreDesignation genre) {
        RechercheDesignation r;
        try {
            r = TrouveDesignation(m_c.session, texte, genre);
        } catch (const DirectoryError& e) {
            m_c.erreurs << TexteTerminal(TexteErreurOperation(e));
            return Echec;
        }
        if (r.trouve)
            return *r.trouve;
        if (r.candidats.isEmpty()) {
            const QString cle = genre == GenreDesignation::Groupe   ? CleTexteCli::GroupeIntrouvable
                                : genre == GenreDesignation::Parent ? CleTexteCli::ParentIntrouvable
                                                                    : CleTexteCli::MembreIntrouvable;
            m_c.erreurs << TexteTerminal(TexteCli(cle, {texte}));
        } else {
            m_c.erreurs << TexteTerminal(TexteCli(CleTexteCli::Plusieurs, {texte}));
            for (const clsOccurrence& o : std::as_const(r.candidats))
                m_c.erreurs << LigneCandidat(o) << u'\n';
        }
        return Introuvable;
    }

    // A member named by its DN, account name, address or group name, or the exit status of a
    // failed lookup (several objects listed by DN).
    std::variant<MembreChoisi, int> TrouveMembre(const QString& texte) {
        MembreTrouve t;
        try {
            t = arbrix::TrouveMembre(m_c.session, texte, GenreMembre::CompteOuGroupe);
        } catch (const DirectoryError& e) {
            m_c.erreurs << TexteTerminal(TexteErreurOperation(e));
            return Echec;
        }
        if (t.membre)
            return *t.membre;
        if (t.homonymes.isEmpty()) {
            m_c.erreurs << TexteTerminal(TexteCli(CleTexteCli::MembreIntrouvable, {texte}));
        } else {
            m_c.erreurs << TexteTerminal(TexteCli(CleTexteCli::Plusieurs, {texte}));
            for (const QString& dn : std::as_const(t.homonymes))
                m_c.erreurs << dn << u'\n';
        }
        return Introuvable;
    }

    Noeud* Ajoute(Noeud* parent, const Designation& d) {
        return m_arbre.Ajoute(parent, m_arbre.CleLibre(parent, d.nom), m_arbre.FormateLibelle(d.nom, 0),
                              d.tag, {}, true);
    }

    ContexteCommande& m_c;
    Arbre m_arbre;
    InteractionTerminal m_interaction;
    Analyse m_analyse;
    OperationsGroupes m_operations;
};

bool EstTerminal() {
    return isatty(STDIN_FILENO) == 1;
}

// A line typed on the terminal: yes for an answer starting with "o" or "y".
bool LitOuiSurLeTerminal(QTextStream& erreurs) {
    erreurs << TexteCli(CleTexteCli::QuestionOuiNon).trimmed() << u' ';
    erreurs.flush();
    QFile entree;
    if (!entree.open(stdin, QIODevice::ReadOnly))
        return false;
    const QString reponse = QString::fromLocal8Bit(entree.readLine()).trimmed().toLower();
    return reponse.startsWith(u'o') || reponse.startsWith(u'y');
}

} // namespace

int CommandeCreeGroupe(ContexteCommande& c) {
    Execution e(c);
    const auto parent = e.Trouve(c.arguments.mots[0], GenreDesignation::Parent);
    if (const int* code = std::get_if<int>(&parent))
        return *code;
    ChoixCreationGroupe choix;
    choix.nom = c.arguments.mots[1];
    choix.type = c.arguments.typeGroupe.value_or(c.parametres.TypeGroupe);
    choix.etendue = c.arguments.etendueGroupe.value_or(c.parametres.EtendueGroupe);
    return CodeDe(e.m_operations.CreeGroupe(e.Ajoute(nullptr, std::get<Designation>(parent)), choix));
}

int CommandeRenommeGroupe(ContexteCommande& c) {
    Execution e(c);
    const auto groupe = e.Trouve(c.arguments.mots[0], GenreDesignation::Groupe);
    if (const int* code = std::get_if<int>(&groupe))
        return *code;
    return CodeDe(
        e.m_operations.RenommeGroupe(e.Ajoute(nullptr, std::get<Designation>(groupe)), c.arguments.mots[1]));
}

int CommandeRetireMembres(ContexteCommande& c) {
    Execution e(c);
    const auto groupe = e.Trouve(c.arguments.mots[0], GenreDesignation::Groupe);
    if (const int* code = std::get_if<int>(&groupe))
        return *code;
    Noeud* racine = e.Ajoute(nullptr, std::get<Designation>(groupe));
    int code = Fait;
    for (const QString& mot : c.arguments.mots.mid(1)) {
        const auto membre = e.Trouve(mot, GenreDesignation::Membre);
        if (const int* echec = std::get_if<int>(&membre)) {
            code = std::max(code, *echec);
            continue;
        }
        Noeud* noeud = e.Ajoute(racine, std::get<Designation>(membre));
        const IssueOperation issue = noeud->LettreType() == u'G' ? e.m_operations.RetireMembre(noeud)
                                                                 : e.m_operations.RetireCompte(noeud);
        if (issue != IssueOperation::Faite)
            code = std::max(code, Echec);
    }
    return code;
}

namespace {

QString DnDe(const MembreChoisi& m) {
    return std::visit([](const auto& choisi) { return choisi.DistinguishedName; }, m);
}

Designation DesignationDe(const MembreChoisi& m) {
    if (const auto* g = std::get_if<GroupeChoisi>(&m))
        return {u'G' + g->DistinguishedName, g->Nom};
    const auto& compte = std::get<CompteChoisi>(m);
    return {compte.Categorie.left(1).toUpper() + compte.DistinguishedName, compte.Nom};
}

bool EstMembreDe(SessionAD& session, const QString& dnGroupe, const QString& dn) {
    return session.ConnexionAD().Bind(session.CheminObjet(dnGroupe))->IsMember(session.CheminObjet(dn));
}

} // namespace

int CommandeAjouteMembres(ContexteCommande& c) {
    Execution e(c);
    const auto groupe = e.Trouve(c.arguments.mots[0], GenreDesignation::Groupe);
    if (const int* code = std::get_if<int>(&groupe))
        return *code;
    Noeud* racine = e.Ajoute(nullptr, std::get<Designation>(groupe));
    int code = Fait;
    for (const QString& mot : c.arguments.mots.mid(1)) {
        const auto membre = e.TrouveMembre(mot);
        if (const int* echec = std::get_if<int>(&membre)) {
            code = std::max(code, *echec);
            continue;
        }
        const MembreChoisi& m = std::get<MembreChoisi>(membre);
        const IssueOperation issue = std::holds_alternative<GroupeChoisi>(m)
                                         ? e.m_operations.AjouteGroupes(racine, {std::get<GroupeChoisi>(m)})
                                         : e.m_operations.AjouteComptes(racine, {std::get<CompteChoisi>(m)});
        code = std::max(code, CodeDe(issue));
    }
    return code;
}

int CommandeDeplaceMembres(ContexteCommande& c) {
    Execution e(c);
    const auto depart = e.Trouve(c.arguments.mots[0], GenreDesignation::Groupe);
    if (const int* code = std::get_if<int>(&depart))
        return *code;
    const auto arrivee = e.Trouve(c.arguments.mots[1], GenreDesignation::Groupe);
    if (const int* code = std::get_if<int>(&arrivee))
        return *code;
    const Designation& de = std::get<Designation>(depart);
    Noeud* cible = e.Ajoute(nullptr, std::get<Designation>(arrivee));
    int code = Fait;
    for (const QString& mot : c.arguments.mots.mid(2)) {
        const auto membre = e.TrouveMembre(mot);
        if (const int* echec = std::get_if<int>(&membre)) {
            code = std::max(code, *echec);
            continue;
        }
        const MembreChoisi& m = std::get<MembreChoisi>(membre);
        try {
            if (!EstMembreDe(c.session, de.tag.mid(1), DnDe(m))) {
                c.erreurs << TexteTerminal(TexteCli(CleTexteCli::PasMembre, {mot, de.nom}));
                code = std::max(code, Echec);
                continue;
            }
        } catch (const DirectoryError& erreur) {
            c.erreurs << TexteTerminal(TexteErreurOperation(erreur));
            code = std::max(code, Echec);
            continue;
        }
        // A fresh instance of FROM each time: the previous move took its member node away.
        Noeud* source = e.Ajoute(nullptr, de);
        Noeud* noeud = e.Ajoute(source, DesignationDe(m));
        code = std::max(code, CodeDe(e.m_operations.DeposeMembre(noeud, cible, false)));
        e.m_arbre.Supprime(source);
    }
    return code;
}

int CommandeSupprimeGroupe(ContexteCommande& c) {
    Execution e(c);
    const auto groupe = e.Trouve(c.arguments.mots[0], GenreDesignation::Groupe);
    if (const int* code = std::get_if<int>(&groupe))
        return *code;
    if (!c.arguments.confirme && !EstTerminal()) {
        c.erreurs << TexteTerminal(TexteCli(CleTexteCli::ConfirmationImpossible));
        return Echec;
    }
    if (c.arguments.confirme)
        e.m_interaction.setReponse([] { return true; });
    else
        e.m_interaction.setReponse([&c] { return LitOuiSurLeTerminal(c.erreurs); });
    // The group under its container, as the window shows it when it may be deleted.
    const Designation& d = std::get<Designation>(groupe);
    Noeud* conteneur =
        e.Ajoute(nullptr, {u'O' + DnParent(d.tag.mid(1)), DnValeurRdn(DnParent(d.tag.mid(1)))});
    return CodeDe(e.m_operations.SupprimeGroupe(e.Ajoute(conteneur, d)));
}

} // namespace arbrix
