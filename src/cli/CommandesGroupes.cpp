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
#include "groupops/OperationsAnnuaire.h"
#include "i18n/Traductions.h"
#include "settings/Parametres.h"
#include "tree/Interaction.h"

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

int CodeDe(const ResultatAnnuaire& resultat) {
    return resultat.issue == IssueOperation::Faite ? Fait : Echec;
}

} // namespace

std::variant<Designation, int> TrouveObjet(ContexteCommande& c, const QString& texte,
                                           GenreDesignation genre) {
    RechercheDesignation r;
    try {
        r = TrouveDesignation(c.session, texte, genre);
    } catch (const DirectoryError& e) {
        c.erreurs << TexteTerminal(TexteErreurOperation(e));
        return Echec;
    }
    if (r.trouve)
        return *r.trouve;
    if (r.candidats.isEmpty()) {
        const QString cle = genre == GenreDesignation::Groupe   ? CleTexteCli::GroupeIntrouvable
                            : genre == GenreDesignation::Parent ? CleTexteCli::ParentIntrouvable
                                                                : CleTexteCli::MembreIntrouvable;
        c.erreurs << TexteTerminal(TexteCli(cle, {texte}));
    } else {
        c.erreurs << TexteTerminal(TexteCli(CleTexteCli::Plusieurs, {texte}));
        for (const clsOccurrence& o : std::as_const(r.candidats))
            c.erreurs << LigneCandidat(o) << u'\n';
    }
    return Introuvable;
}

namespace {

// The operations on the directory, each change on the output as soon as it is made.
class Execution {
public:
    explicit Execution(ContexteCommande& c)
        : m_c(c)
        , m_interaction(c.erreurs)
        , m_operations(c.session, m_interaction) {
        m_operations.setJournal([this](const Changement& changement) {
            m_c.sortie << LigneChangement(changement) << u'\n';
            m_c.sortie.flush();
        });
    }

    std::variant<Designation, int> Trouve(const QString& texte, GenreDesignation genre) {
        return TrouveObjet(m_c, texte, genre);
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

    ContexteCommande& m_c;
    InteractionTerminal m_interaction;
    OperationsAnnuaire m_operations;
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
    const Designation& d = std::get<Designation>(parent);
    return CodeDe(e.m_operations.CreeGroupe(d.tag.mid(1), !d.tag.startsWith(u'O'), choix));
}

int CommandeRenommeGroupe(ContexteCommande& c) {
    Execution e(c);
    const auto groupe = e.Trouve(c.arguments.mots[0], GenreDesignation::Groupe);
    if (const int* code = std::get_if<int>(&groupe))
        return *code;
    return CodeDe(
        e.m_operations.RenommeGroupe(std::get<Designation>(groupe).tag.mid(1), c.arguments.mots[1]));
}

int CommandeRetireMembres(ContexteCommande& c) {
    Execution e(c);
    const auto groupe = e.Trouve(c.arguments.mots[0], GenreDesignation::Groupe);
    if (const int* code = std::get_if<int>(&groupe))
        return *code;
    const QString dnGroupe = std::get<Designation>(groupe).tag.mid(1);
    int code = Fait;
    for (const QString& mot : c.arguments.mots.mid(1)) {
        const auto membre = e.Trouve(mot, GenreDesignation::Membre);
        if (const int* echec = std::get_if<int>(&membre)) {
            code = std::max(code, *echec);
            continue;
        }
        code = std::max(
            code, CodeDe(e.m_operations.RetireMembre(dnGroupe, std::get<Designation>(membre).tag.mid(1))));
    }
    return code;
}

namespace {

QString DnDe(const MembreChoisi& m) {
    return std::visit([](const auto& choisi) { return choisi.DistinguishedName; }, m);
}

QString NomDe(const MembreChoisi& m) {
    return std::visit([](const auto& choisi) { return choisi.Nom; }, m);
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
    const QString dnGroupe = std::get<Designation>(groupe).tag.mid(1);
    int code = Fait;
    for (const QString& mot : c.arguments.mots.mid(1)) {
        const auto membre = e.TrouveMembre(mot);
        if (const int* echec = std::get_if<int>(&membre)) {
            code = std::max(code, *echec);
            continue;
        }
        const MembreChoisi& m = std::get<MembreChoisi>(membre);
        code =
            std::max(code, CodeDe(std::holds_alternative<GroupeChoisi>(m)
                                      ? e.m_operations.AjouteGroupes(dnGroupe, {std::get<GroupeChoisi>(m)})
                                      : e.m_operations.AjouteComptes(dnGroupe, {std::get<CompteChoisi>(m)})));
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
    const Designation& vers = std::get<Designation>(arrivee);
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
        code = std::max(code, CodeDe(e.m_operations.DeplaceMembre({DnDe(m), de.tag.mid(1), vers.tag.mid(1),
                                                                   std::holds_alternative<GroupeChoisi>(m),
                                                                   NomDe(m), vers.nom})));
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
    c.erreurs << TexteTerminal(QuestionSuppressionGroupe(std::get<Designation>(groupe).tag.mid(1)));
    c.erreurs.flush();
    if (!c.arguments.confirme && !LitOuiSurLeTerminal(c.erreurs))
        return Echec;
    return CodeDe(e.m_operations.SupprimeGroupe(std::get<Designation>(groupe).tag.mid(1)));
}

} // namespace arbrix
