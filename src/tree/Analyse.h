#pragma once

// The analysis: from a name typed in the search box, or a distinguished name handed over by
// another operation, to the tree of an O.U. or a group with everything found below it.
//
// Six modes restrict what is shown: 1 everything, 2 user accounts only, 3 computers only,
// 4 managed service accounts only, 5 the O.U. structure alone, 6 O.U.s and groups without
// accounts. The lookup finds the root, the build clears the tree and fills it through the O.U.
// scan or the group expansion, and afterwards reports a stop, an error and any group met again
// inside itself. Everything shown to or asked of the user goes through Interaction; how the run
// ended, and what the window should show afterwards, is returned as a RésultatAnalyse.

#include "directory/PrincipauxEtrangers.h"
#include "tree/Occurrence.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

namespace arbrix {

class Arbre;
class Noeud;
class Interaction;
class SessionAD;
class Recordset;
class CollecteContenus;
class LectureEnBloc;
struct LdapEntry;
struct Parametres;

// Analysis modes.
namespace Mode {
inline constexpr qint16 Standard = 1;
inline constexpr qint16 Utilisateurs = 2;
inline constexpr qint16 Ordinateurs = 3;
inline constexpr qint16 ComptesDeService = 4;
inline constexpr qint16 Structure = 5;
inline constexpr qint16 StructureEtendue = 6;
} // namespace Mode

// The accounts a mode shows, as a search filter (every kind of account for the modes without
// their own).
QString FiltreComptes(qint16 mode);

// Whether the group belongs to another group of its own container, given its "memberOf": such a
// group is shown under that group rather than at the level of its O.U.
bool MembreDUnGroupeDeSonOU(const QString& dnGroupe, const QStringList& memberOf);

// The translation key of a mode's text ("TXT_ANALYSE_STANDARD", ...); empty for an unknown mode.
QString CleTexteMode(qint16 mode);

// Result of a build that found no root: the group or O.U. is no longer there.
inline constexpr qint32 RacineIntrouvable = -2220;

// How the last lookup or build ended (each has shown its own message, if any).
enum class IssueAnalyse {
    AucuneAnalyse,    // nothing run yet
    Arborescence,     // the tree was built; groups met inside themselves are reported, not a failure
    Introuvable,      // no object of that name, a DN naming neither an O.U. nor a group, or a root
                      // that the build no longer found
    Plusieurs,        // several objects answer the name and none was chosen (the choice was
                      // cancelled, or could not be asked)
    ModeInapplicable, // the O.U. structure asked of a group
    Arretee,          // the user stopped the build; the tree holds what was read until then
    Erreur,           // the directory failed
};

struct ResultatAnalyse {
    IssueAnalyse issue = IssueAnalyse::AucuneAnalyse;
    // Erreur: the number the message shows, or the directory's own number for a refusal of
    // rights (whose message shows none).
    qint64 numeroErreur = 0;
    // Erreur: the server went silent or away during the build; the tree holds what was read.
    bool incomplete = false;
    ListeOccurrences candidats; // Plusieurs: the objects offered

    // What the window shows afterwards. The root once known: the search box shows its name and
    // kind (0 O.U., 1 group) from then on; empty when no root was found.
    QString racine;
    qint16 typeRacine = 0;
    // A tree was built from that name: it joins the memorised searches.
    bool memoriser = false;
    // A build ran: the tree's root, if any, is described as if clicked.
    bool construite = false;
};

// Shortens a backslash path to fit a width: keeps its head up to the first "\", then drops
// leading parts of the rest, shown as "...\", while the text is wider than largeurDisponible
// and the rest still holds a "\".
QString AbregeChemin(const QString& chemin, const std::function<int(const QString&)>& largeurTexte,
                     int largeurDisponible);

// The O.U.s (type 0) or groups (type 1) answering a name as the analysis looks it up: O.U.s by
// "name", groups by common name, "*" as a wildcard. Raises DirectoryError.
ListeOccurrences ChercheParNom(SessionAD& session, int type, const QString& texte);

// True for a search text that names an object by its DN ("OU=..." or "CN=..."), as the
// command line takes it.
bool EstDnTape(const QString& texte);

class Analyse {
public:
    Analyse(Arbre& arbre, SessionAD& session, const Parametres& parametres, Interaction& interaction);
    ~Analyse();

    // --- State of the current analysis (read and set by the windows and operations)
    qint16 ModeAnalyse = Mode::Standard;
    QString NomRacine;
    qint16 TypeRacine = 0; // 0 O.U., 1 group
    QString DNRacine;
    // Names of the groups found inside themselves, in the order met (no duplicates, compared
    // without regard to case).
    QStringList GroupesRecursifs;
    // The Key to expand and select after the next build (then emptied).
    QString CleAReselectionner;

    // Looks the root up by a typed text, a name of the given kind (0 O.U., 1 group) or a DN,
    // and builds the tree.
    const ResultatAnalyse& AnalyseTexte(qint16 mode, const QString& texte, int type);
    // Builds the tree of the O.U. or group dn.
    const ResultatAnalyse& LanceAnalyse(qint16 mode, const QString& dn);
    // Builds the tree of NomRacine / TypeRacine / DNRacine in ModeAnalyse and reports.
    const ResultatAnalyse& ConstruitArborescence();
    // How the last LanceAnalyse or ConstruitArborescence ended.
    const ResultatAnalyse& Resultat() const { return m_resultat; }

    // The O.U. scan: with a DN (and no parent) the root O.U. node is made first; with an empty
    // DN, parent is an O.U. node already in the tree. Returns the cumulative member count, or
    // RacineIntrouvable, or minus the absolute value of the first error's number.
    qint32 AnalyseStructureOU(const QString& dn, Noeud* parent, qint32 profondeur);
    // The group expansion: with a DN (and no parent) the root group node is made first; with an
    // empty DN, parent is an O.U. or group node already in the tree whose content is added.
    // Same results as AnalyseStructureOU.
    qint32 AnalyseMembresGroupe(const QString& dn, Noeud* parent, qint32 profondeur);
    // True when the group dn is reached by following "memberOf" upwards from memberOf (a
    // QStringList, or null). Ends on any data: a group is visited once per walk.
    bool EstMembreDeLuiMeme(const QString& dn, const QVariant& memberOf);

    // The moment expiry dates are compared with; the current time unless a test fixes it.
    void setHorloge(std::function<QDateTime()> horloge) { m_horloge = std::move(horloge); }

private:
    // Marks a public entry point; the outermost one empties the memberOf cache.
    class Appel {
    public:
        explicit Appel(Analyse& analyse);
        ~Appel();
        Appel(const Appel&) = delete;
        Appel& operator=(const Appel&) = delete;

    private:
        Analyse& m_analyse;
    };

    // What every search of groups asks for.
    static const QStringList AttributsGroupes;

    void rechercheParNom(const QString& texte, int type);
    std::optional<ListeOccurrences> chercheOccurrences(const QString& texte, int type);
    void construit();
    // The root is known: the result tells the window to show it in the search box.
    void montreRacine();
    // The DN names a user, a computer or a service account.
    bool estUnCompte(const QString& dn);
    void demarreParDn(const QString& dn);
    void rapporteResultat(qint32 resultat);
    void rapporteFin();
    // Shows a directory failure: a refusal of rights in words of its own, a server gone silent or
    // away in words of its own with where it happened, anything else with numéroAffiché and the
    // text.
    void signaleEchec(qint32 numero, qint64 numeroAffiche, const QString& texte, int codeLdap = 0);
    void termine(IssueAnalyse issue, qint64 numeroErreur = 0);
    template <typename Etape> qint32 resultatDe(Etape&& etape);
    Recordset litObjet(const QString& dn, const QStringList& attributs);
    // The root was read: the tree it replaces goes (the window clears the labels that described
    // it on Arbre::emptied).
    void remplaceArbre();

    Noeud* ajouteNoeud(Noeud* parent, const QString& nom, const QString& texte, const QString& tag,
                       const QString& image, bool trier);
    void afficheProgression(const Noeud* noeud);
    qint32 developpeContenu(Noeud* parent, qint32 profondeur, std::optional<quint32> rid);
    qint32 ajouteComptes(Noeud* parent, std::optional<quint32> rid);
    qint32 ajouteGroupes(Noeud* parent, qint32 profondeur);
    void ajouteCompte(Noeud* parent, const Recordset& rs, qint32& nombre);
    // A contact, a foreign security principal or another member that is no account.
    void ajouteAutreMembre(Noeud* parent, const Recordset& rs, const QString& categorie);
    NomsPrincipauxEtrangers& nomsPrincipaux();
    bool estVerrouille(const Recordset& rs);
    // The domain's lock-out duration, read once per analysis; nullopt where it does not settle
    // every account (password policies of their own) or could not be read.
    std::optional<qint64> dureeVerrouillage();
    bool estGroupePrincipalPossible(quint32 rid);
    bool montreAuNiveauOU(const QString& dnGroupe, const QVariant& memberOf);
    bool estRecursif(const Noeud* noeud) const;
    void noteRecursif(const QString& nom);
    QVariant memberOfDe(const QString& dn);
    std::optional<quint32> ridDe(const QString& dnGroupe);
    qint32 erreur(qint32 numero, const QString& texte, int codeLdap = 0);

    QString filtreComptes() const;
    // The members a group shows besides its groups: the mode's accounts, and in the standard mode
    // every other member unless the settings hide them.
    QString filtreMembres() const;
    QStringList attributsComptes() const;
    QString baseRecherche() const;
    CollecteContenus& collecte();
    // The whole O.U. read at once for the build of its tree; without it (a refusal, or the
    // expansion of one node), the O.U. levels are searched one by one.
    void litEnBloc(const QString& dnOu);
    // What lies right under an O.U. node: from the bulk read, or searched for level by level.
    Recordset sousOU(const QString& dnOu);
    QList<LdapEntry> groupesDeLOU(const QString& dnOu);
    Recordset comptesDeLOU(const QString& dnOu);
    // The RID of a member group whose primary-group members are to be searched for.
    std::optional<quint32> ridAChercher(const LdapEntry& groupe);
    // The RID when its primary-group members are worth a search, else nullopt.
    std::optional<quint32> ridUtile(std::optional<quint32> rid);
    QDateTime maintenant();

    Arbre& m_arbre;
    SessionAD& m_session;
    const Parametres& m_parametres;
    Interaction& m_interaction;
    std::function<QDateTime()> m_horloge;
    std::optional<QDateTime> m_instant; // per analysis

    // Per build: each group's "memberOf" as read (normalised DN -> value), so that a group is
    // read at most once per analysis.
    QHash<QString, QVariant> m_memberOf;
    int m_appels = 0;
    // Per analysis: the RIDs of 1000 and above that accounts have as primary group.
    std::optional<QSet<quint32>> m_ridsPrincipaux;
    // Per analysis: the domain's lock-out duration, once read.
    std::optional<std::optional<qint64>> m_dureeVerrouillage;
    // Per analysis: the trusted domains, read when a foreign principal needs its domain's name.
    std::optional<NomsPrincipauxEtrangers> m_nomsPrincipaux;
    // Per analysis: the O.U. root's objects, and the groups' contents asked for ahead of the tree.
    std::unique_ptr<LectureEnBloc> m_bloc;
    std::unique_ptr<CollecteContenus> m_collecte;
    // The text and LDAP code of the last error behind each negative result, for the report.
    QHash<qint32, QString> m_textesErreurs;
    QHash<qint32, int> m_codesErreurs;
    // The node whose content was being read last, named when the server fails.
    QString m_noeudEnCours;
    ResultatAnalyse m_resultat;
};

} // namespace arbrix
