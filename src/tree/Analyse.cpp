#include "tree/Analyse.h"

#include "directory/Classification.h"
#include "directory/DirectoryError.h"
#include "directory/Dn.h"
#include "directory/Gateway.h"
#include "directory/Query.h"
#include "directory/Session.h"
#include "directory/Values.h"
#include "i18n/Traductions.h"
#include "settings/Parametres.h"
#include "text/Journal.h"
#include "text/Texte.h"
#include "tree/Arbre.h"
#include "tree/ClesImages.h"
#include "tree/CollecteContenus.h"
#include "tree/EtatCompte.h"
#include "tree/Interaction.h"
#include "tree/LectureEnBloc.h"

#include <QElapsedTimer>

#include <algorithm>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace arbrix {

namespace {

bool estErreurDroits(qint32 numero) {
    return numero == ErrorNumber::QueryAccessDenied || numero == ErrorNumber::QueryNoSuchBase;
}

// The result of a step given up because Stop was pressed while the directory was awaited.
bool estAbandonSurArret(qint32 resultat) {
    return std::llabs(qint64(resultat)) ==
           std::llabs(qint64(ErrorNumber::LdapBase + LdapCode::UserCancelled));
}

// While the tree is built, a directory slow to answer (or no longer answering) leaves the
// windows running and the Stop button working.
class PatienceDuBackend {
public:
    PatienceDuBackend(Backend& backend, Interaction& interaction)
        : m_backend(backend) {
        m_backend.setPatience([&interaction] {
            interaction.TraiteEvenements();
            return !interaction.ArretDemande();
        });
    }
    ~PatienceDuBackend() { m_backend.setPatience({}); }
    PatienceDuBackend(const PatienceDuBackend&) = delete;
    PatienceDuBackend& operator=(const PatienceDuBackend&) = delete;

private:
    Backend& m_backend;
};

QString texteChamp(const Recordset& rs, QStringView champ) {
    const QVariant v = rs.Fields(champ);
    if (v.typeId() == QMetaType::QStringList) {
        const QStringList l = v.toStringList();
        return l.isEmpty() ? QString() : l.front();
    }
    return v.toString();
}

} // namespace

QString CleTexteMode(qint16 mode) {
    switch (mode) {
    case Mode::Standard:
        return QStringLiteral("TXT_ANALYSE_STANDARD");
    case Mode::Utilisateurs:
        return QStringLiteral("TXT_ANALYSE_STANDARD_UTILISATEURS");
    case Mode::Ordinateurs:
        return QStringLiteral("TXT_ANALYSE_STANDARD_ORDINATEURS");
    case Mode::ComptesDeService:
        return QStringLiteral("TXT_ANALYSE_STANDARD_COMPTES_DE_SERVICE");
    case Mode::Structure:
        return QStringLiteral("TXT_ANALYSE_STRUCTURE");
    case Mode::StructureEtendue:
        return QStringLiteral("TXT_ANALYSE_STRUCTURE_ETENDUE");
    default:
        return {};
    }
}

QString AbregeChemin(const QString& chemin, const std::function<int(const QString&)>& largeurTexte,
                     int largeurDisponible) {
    const qsizetype premier = chemin.indexOf(u'\\');
    if (premier < 0)
        return chemin;
    const QString tete = chemin.left(premier + 1);
    QString milieu;
    QString reste = chemin.mid(premier + 1);
    while (largeurTexte(tete + milieu + reste) > largeurDisponible && reste.contains(u'\\')) {
        reste = reste.mid(reste.indexOf(u'\\') + 1);
        milieu = QStringLiteral("...\\");
    }
    return tete + milieu + reste;
}

const QStringList Analyse::AttributsGroupes{u"name"_s, u"distinguishedName"_s, u"memberOf"_s, u"groupType"_s,
                                            u"objectSid"_s};

Analyse::Analyse(Arbre& arbre, SessionAD& session, const Parametres& parametres, Interaction& interaction)
    : m_arbre(arbre)
    , m_session(session)
    , m_parametres(parametres)
    , m_interaction(interaction) {}

Analyse::~Analyse() = default;

// ---------------------------------------------------------------- lookup and build

// The tree stays as it is until the root is found (remplaceArbre): a typo keeps the view.
const ResultatAnalyse& Analyse::AnalyseTexte(qint16 mode, const QString& texte, int type) {
    m_resultat = {};
    ModeAnalyse = mode;
    m_interaction.TraiteEvenements();
    if (const QString dn = texte.trimmed(); EstDnTape(dn))
        demarreParDn(dn);
    else
        rechercheParNom(texte, type == 0 ? 0 : 1);
    return m_resultat;
}

const ResultatAnalyse& Analyse::LanceAnalyse(qint16 mode, const QString& dn) {
    m_resultat = {};
    ModeAnalyse = mode;
    m_interaction.TraiteEvenements();
    demarreParDn(dn);
    return m_resultat;
}

ListeOccurrences ChercheParNom(SessionAD& session, int type, const QString& texte) {
    // Description and type come with the rows: no object is bound one by one.
    // "*" in the name is the wildcard.
    const QString filtre =
        type == 0
            ? u"(&(objectClass=organizationalUnit)(name="_s + EchappeValeurFiltreGenerique(texte) + u"))"_s
            : u"(&(objectClass=group)(cn="_s + EchappeValeurFiltreGenerique(texte) + u"))"_s;
    const SearchRequest r = searchRequest(
        session.ContexteNommage(), SearchScope::Subtree, filtre,
        {u"name"_s, u"distinguishedName"_s, u"sAMAccountName"_s, u"description"_s, u"groupType"_s});
    ListeOccurrences trouves;
    for (Recordset rs = session.ConnexionAD().Execute(r); !rs.Eof(); rs.MoveNext()) {
        clsOccurrence o;
        o.Nom = texteChamp(rs, u"Name");
        o.TypeObjet = qint16(type);
        o.Description = texteChamp(rs, u"Description");
        o.TypeObjetEnTexte = type == 0
                                 ? Traduction(u"TXT_OU")
                                 : Traduction(QString(QStringLiteral("TXT_") +
                                                      CleTypeGroupe(rs.Fields(u"GroupType").toInt(), false)));
        o.DistinguishedName = texteChamp(rs, u"DistinguishedName");
        trouves.append(o);
    }
    return trouves;
}

std::optional<ListeOccurrences> Analyse::chercheOccurrences(const QString& texte, int type) {
    const bool joker = texte.contains(u'*');
    const int passes = (joker || m_parametres.AnalyseAutreTypeSiAucuneReponse) ? 2 : 1;
    ListeOccurrences trouves;
    m_noeudEnCours = texte;
    for (int passe = 0; passe < passes; ++passe) {
        try {
            trouves += ChercheParNom(m_session, type, texte);
        } catch (const DirectoryError& e) {
            signaleEchec(e.number(), e.number(), e.text(), e.ldapCode());
            return std::nullopt;
        }
        if (!trouves.isEmpty() && !joker)
            break;
        type = 1 - type;
    }
    return trouves;
}

bool EstDnTape(const QString& texte) {
    const QString prefixe = texte.left(3).toUpper();
    return (prefixe == u"OU=" || prefixe == u"CN=") && texte.size() > 3;
}

void Analyse::rechercheParNom(const QString& texte, int type) {
    const std::optional<ListeOccurrences> trouves = chercheOccurrences(texte, type);
    if (!trouves)
        return;
    if (trouves->isEmpty()) {
        const char16_t* cle = m_parametres.AnalyseAutreTypeSiAucuneReponse ? u"MSG_ERREUR_OU_GROUPE_INCONNU"
                              : type == 0                                  ? u"MSG_ERREUR_OU_INCONNUE"
                                                                           : u"MSG_ERREUR_GROUPE_INCONNU";
        m_interaction.Message(FormateMessage(Traduction(cle), {texte}), IconeMessage::Exclamation);
        termine(IssueAnalyse::Introuvable);
        return;
    }
    std::optional<int> choix = 0;
    if (trouves->size() > 1) {
        NomRacine.clear();
        TypeRacine = 0;
        DNRacine.clear();
        choix = m_interaction.ChoisitOccurrence(*trouves);
    }
    if (!choix || *choix < 0 || *choix >= trouves->size()) {
        m_resultat.candidats = *trouves;
        termine(IssueAnalyse::Plusieurs);
        return;
    }
    const clsOccurrence& o = trouves->at(*choix);
    NomRacine = o.Nom;
    TypeRacine = o.TypeObjet;
    DNRacine = o.DistinguishedName;
    construit();
}

void Analyse::demarreParDn(const QString& dn) {
    const QString prefixe = dn.left(3).toUpper();
    if (prefixe != u"OU=" && prefixe != u"CN=") {
        m_interaction.Message(Traduction(u"MSG_ERREUR_ELEMENT_NON_TROUVE"), IconeMessage::Critique);
        termine(IssueAnalyse::Introuvable);
        return;
    }
    // The name is the value of the first RDN, escapes resolved: "R&D\, Paris" is "R&D, Paris".
    NomRacine = DnValeurRdn(dn);
    DNRacine = dn;
    TypeRacine = prefixe == u"OU=" ? 0 : 1;
    montreRacine();
    construit();
}

const ResultatAnalyse& Analyse::ConstruitArborescence() {
    m_resultat = {};
    construit();
    return m_resultat;
}

void Analyse::montreRacine() {
    m_resultat.racine = NomRacine;
    m_resultat.typeRacine = TypeRacine;
}

void Analyse::construit() {
    if (NomRacine.isEmpty())
        return;
    if (ModeAnalyse == Mode::Structure && TypeRacine != 0) {
        m_interaction.Message(Traduction(u"MSG_ERREUR_ANALYSE_STRUCTURE_OU"), IconeMessage::Exclamation);
        termine(IssueAnalyse::ModeInapplicable);
        return;
    }
    GroupesRecursifs.clear();
    m_arbre.setAfficherNombreMembres(m_parametres.AfficherNombreMembres);
    m_textesErreurs.clear();
    m_codesErreurs.clear();
    m_noeudEnCours = NomRacine;

    m_interaction.AfficheTraitementEnCours();
    montreRacine();

    qCInfo(lcAnalyse).noquote() << "build of" << DNRacine << "mode" << ModeAnalyse;
    QElapsedTimer chrono;
    chrono.start();
    qint32 resultat = 0;
    {
        const PatienceDuBackend patience(m_session.ConnexionAD().backend(), m_interaction);
        resultat = TypeRacine == 0 ? AnalyseStructureOU(DNRacine, nullptr, 0)
                                   : AnalyseMembresGroupe(DNRacine, nullptr, 0);
    }
    rapporteResultat(resultat);
    rapporteFin();
    qCInfo(lcAnalyse).noquote() << "build of" << DNRacine << "ended:" << int(m_resultat.issue) << "result"
                                << resultat << "," << m_arbre.Count() << "nodes," << chrono.elapsed() << "ms";
}

void Analyse::rapporteResultat(qint32 resultat) {
    const QString aReselectionner = CleAReselectionner;
    CleAReselectionner.clear();
    if (resultat >= 0) {
        termine(IssueAnalyse::Arborescence);
        m_arbre.Deplie(m_arbre.Racine());
        m_resultat.memoriser = true;
        if (Noeud* n = aReselectionner.isEmpty() ? nullptr : m_arbre.Node(aReselectionner)) {
            m_arbre.Deplie(n);
            m_arbre.RendVisibleEtSelectionne(n);
        }
        return;
    }
    if (m_interaction.ArretDemande() && estAbandonSurArret(resultat)) {
        // Stopped like any other stop: the tree keeps what was read, rapporteFin says so.
        termine(IssueAnalyse::Arborescence);
        return;
    }
    m_interaction.MasqueTraitementEnCours();
    const qint64 numero = std::llabs(qint64(resultat));
    if (resultat == RacineIntrouvable) {
        // Nothing of the program failed: what was typed names no O.U. or group. The search box
        // keeps it to be corrected.
        const QString cle =
            estUnCompte(DNRacine) ? u"MSG_ERREUR_DN_COMPTE"_s : u"MSG_ERREUR_OU_GROUPE_INCONNU"_s;
        m_interaction.Message(FormateMessage(Traduction(cle), {DNRacine}), IconeMessage::Exclamation);
        m_resultat.racine.clear();
        termine(IssueAnalyse::Introuvable);
        return;
    }
    signaleEchec(resultat, numero, m_textesErreurs.value(resultat), m_codesErreurs.value(resultat));
}

bool Analyse::estUnCompte(const QString& dn) {
    try {
        const Recordset rs = m_session.ConnexionAD().Execute(
            searchRequest(baseRecherche(), SearchScope::Subtree, FiltreEgalite(u"distinguishedName", dn),
                          {u"objectClass"_s}));
        return !rs.Eof() && CleCategorieCompte(rs.Fields(u"objectClass")) != u"?";
    } catch (const DirectoryError&) {
        return false; // the plain "not found" is then told
    }
}

// A server that went silent or away is no fault of the program: it is told as such, with the
// server, the node being read and the tree left incomplete; the number and the server's text
// follow.
static const char16_t* cleServeurEnPanne(int codeLdap) {
    if (codeLdap == LdapCode::Timeout)
        return u"MSG_ERREUR_ANNUAIRE_MUET";
    if (codeLdap == LdapCode::ServerDown)
        return u"MSG_ERREUR_ANNUAIRE_PERDU";
    return nullptr;
}

void Analyse::signaleEchec(qint32 numero, qint64 numeroAffiche, const QString& texte, int codeLdap) {
    if (estErreurDroits(numero)) {
        m_interaction.Message(Traduction(u"MSG_ERREUR_DROITS_AD"), IconeMessage::Critique);
        termine(IssueAnalyse::Erreur, numero);
        return;
    }
    if (const char16_t* cle = cleServeurEnPanne(codeLdap)) {
        const QString serveur = m_session.AdresseAnnuaire();
        m_interaction.Message(FormateMessage(Traduction(cle), {serveur, m_noeudEnCours}) + u"\r\n\r\n("_s +
                                  QString::number(numeroAffiche) + u") "_s + texte,
                              IconeMessage::Exclamation);
        termine(IssueAnalyse::Erreur, numeroAffiche);
        m_resultat.incomplete = m_arbre.Racine() != nullptr;
        return;
    }
    m_interaction.Message(FormateMessage(Traduction(u"MSG_ERREUR"), {numeroAffiche, texte}),
                          IconeMessage::Exclamation);
    termine(IssueAnalyse::Erreur, numeroAffiche);
}

void Analyse::termine(IssueAnalyse issue, qint64 numeroErreur) {
    m_resultat.issue = issue;
    m_resultat.numeroErreur = numeroErreur;
}

void Analyse::rapporteFin() {
    m_interaction.TraiteEvenements();
    m_interaction.MasqueTraitementEnCours();
    if (m_interaction.ArretDemande()) {
        m_interaction.Message(Traduction(u"TXT_ENVOI_MESSAGE_OPERATION_ANNULEE"), IconeMessage::Exclamation);
        if (m_resultat.issue == IssueAnalyse::Arborescence)
            termine(IssueAnalyse::Arretee);
    }
    if (!GroupesRecursifs.isEmpty()) {
        QString liste;
        for (const QString& nom : std::as_const(GroupesRecursifs))
            liste += QStringLiteral("\r\n\t") + nom;
        const QString valeur = QStringLiteral("\r\n") + liste + QStringLiteral("\r\n\r\n");
        m_interaction.Message(FormateMessage(Traduction(u"MSG_ERREUR_RECURSIVITE"), {valeur}),
                              IconeMessage::Critique);
    }
    m_resultat.construite = true;
}

// A directory failure, or a Key met twice, becomes the negative result of the step.
template <typename Etape> qint32 Analyse::resultatDe(Etape&& etape) {
    try {
        return etape();
    } catch (const DirectoryError& e) {
        return erreur(e.number(), e.text(), e.ldapCode());
    } catch (const ErreurCleDupliquee& e) {
        return erreur(e.number(), e.text());
    }
}

// ---------------------------------------------------------------- O.U. scan

qint32 Analyse::AnalyseStructureOU(const QString& dn, Noeud* parent, qint32 profondeur) {
    const Appel appel(*this);
    return resultatDe([&]() -> qint32 {
        Noeud* noeud = parent;
        if (!dn.isEmpty()) {
            const Recordset rs = m_session.ConnexionAD().Execute(
                searchRequest(baseRecherche(), SearchScope::Subtree, FiltreEgalite(u"distinguishedName", dn),
                              {u"name"_s, u"distinguishedName"_s}));
            if (rs.Eof())
                return RacineIntrouvable;
            const QString nom = texteChamp(rs, u"Name");
            remplaceArbre();
            noeud = ajouteNoeud(nullptr, nom, nom, u'O' + texteChamp(rs, u"DistinguishedName"),
                                QStringLiteral("ou"), true);
            litEnBloc(noeud->DN());
        }
        afficheProgression(noeud);

        qint32 nombre = 0;
        if (ModeAnalyse != Mode::Structure) {
            const qint32 n = AnalyseMembresGroupe({}, noeud, profondeur + 1);
            if (n >= 0)
                nombre = n;
        }

        Recordset rs = sousOU(noeud->DN());
        for (; !rs.Eof() && !m_interaction.ArretDemande(); rs.MoveNext()) {
            const QString nom = texteChamp(rs, u"Name");
            Noeud* sousOU = ajouteNoeud(noeud, nom, nom, u'O' + texteChamp(rs, u"DistinguishedName"),
                                        QStringLiteral("ou"), true);
            const qint32 n = AnalyseStructureOU({}, sousOU, profondeur + 1);
            if (n >= 0)
                nombre += n;
        }
        m_arbre.ChangeTexte(noeud, m_arbre.FormateLibelle(NomDuLibelle(noeud->Text()), nombre));
        return nombre;
    });
}

// ---------------------------------------------------------------- group expansion

qint32 Analyse::AnalyseMembresGroupe(const QString& dn, Noeud* parent, qint32 profondeur) {
    const Appel appel(*this);
    return resultatDe([&]() -> qint32 {
        if (dn.isEmpty()) {
            const std::optional<quint32> rid =
                parent->LettreType() == u'G' ? ridDe(parent->DN()) : std::optional<quint32>();
            return developpeContenu(parent, profondeur, rid);
        }
        const Recordset rs = m_session.ConnexionAD().Execute(
            searchRequest(baseRecherche(), SearchScope::Subtree,
                          u"(&"_s + FiltreEgalite(u"distinguishedName", dn) + u"(objectCategory=group))"_s,
                          AttributsGroupes));
        if (rs.Eof())
            return RacineIntrouvable;
        const QString nom = texteChamp(rs, u"Name");
        const QString dnGroupe = texteChamp(rs, u"DistinguishedName");
        const qint32 groupType = rs.Fields(u"GroupType").toInt();
        m_memberOf.insert(DnNormalise(dnGroupe), rs.Fields(u"memberOf"));
        remplaceArbre();
        Noeud* racine =
            ajouteNoeud(nullptr, nom, nom, u'G' + dnGroupe, CleTypeGroupe(groupType, false), true);
        return developpeContenu(racine, profondeur, RidGroupePrincipal(groupType, rs.Fields(u"objectSid")));
    });
}

qint32 Analyse::developpeContenu(Noeud* noeud, qint32 profondeur, std::optional<quint32> rid) {
    return resultatDe([&]() -> qint32 {
        if (m_interaction.TraitementEnCoursAffiche())
            afficheProgression(noeud);
        qint32 nombre = 0;
        if (ModeAnalyse < Mode::Structure)
            nombre += ajouteComptes(noeud, rid);
        if (ModeAnalyse != Mode::Structure)
            nombre += ajouteGroupes(noeud, profondeur);
        if (noeud->LettreType() == u'G')
            m_arbre.ChangeTexte(noeud, m_arbre.FormateLibelle(NomDuLibelle(noeud->Text()), nombre));
        return nombre;
    });
}

qint32 Analyse::ajouteComptes(Noeud* parent, std::optional<quint32> rid) {
    const QString dn = parent->DN();
    Recordset rs =
        parent->LettreType() == u'O' ? comptesDeLOU(dn) : Recordset(collecte().Comptes(dn, ridUtile(rid)));
    qint32 nombre = 0;
    for (; !rs.Eof() && !m_interaction.ArretDemande(); rs.MoveNext()) {
        ajouteCompte(parent, rs, nombre);
        m_interaction.TraiteEvenements();
    }
    return nombre;
}

void Analyse::ajouteCompte(Noeud* parent, const Recordset& rs, qint32& nombre) {
    const QString categorie = CleCategorieMembre(rs.Fields(u"objectClass"));
    if (EstAutreMembre(LettreTypeCompte(categorie))) {
        ajouteAutreMembre(parent, rs, categorie);
        ++nombre;
        return;
    }
    const QString sam = texteChamp(rs, u"sAMAccountName");
    const QString dn = texteChamp(rs, u"DistinguishedName");
    EtatCompte etat;
    etat.desactive = rs.Fields(u"userAccountControl").toInt() & 2;
    if (m_parametres.ControlerVerrouilleExpire) {
        etat.verrouille = estVerrouille(rs);
        if (!etat.verrouille)
            etat.expiration = ExpirationCompte(rs.Fields(u"accountExpires"));
    }
    const AspectCompte aspect =
        AspectDuCompte(categorie,
                       NomCompte(texteChamp(rs, u"objectCategory"), texteChamp(rs, u"DisplayName"),
                                 texteChamp(rs, u"CN"), sam),
                       sam, etat, m_parametres.ControlerVerrouilleExpire, maintenant());
    const bool probleme = aspect.image != categorie;

    const QString lettre = categorie.left(1).toUpper();
    Noeud* noeud = ajouteNoeud(parent, sam, aspect.texte, lettre + dn, aspect.image, false);
    ++nombre;
    if (m_parametres.DeplierGroupesEtOU ||
        (m_parametres.DeplierGroupesContenantComptesDesactivesVerrouillesExpires && probleme))
        m_arbre.RendVisibleEtSelectionne(noeud);
}

void Analyse::ajouteAutreMembre(Noeud* parent, const Recordset& rs, const QString& categorie) {
    const QString cn = texteChamp(rs, u"CN");
    QString nom;
    if (categorie == u"fsp")
        nom = nomsPrincipaux().Libelle(cn);
    else
        nom = NomCompte(texteChamp(rs, u"objectCategory"), texteChamp(rs, u"DisplayName"), cn, {});
    if (nom.trimmed().isEmpty())
        nom = DnValeurRdn(texteChamp(rs, u"DistinguishedName"));
    // No account name: the Key takes the common name, unique within the container.
    Noeud* noeud =
        ajouteNoeud(parent, cn.isEmpty() ? nom : cn, nom,
                    LettreTypeCompte(categorie) + texteChamp(rs, u"DistinguishedName"), categorie, false);
    if (m_parametres.DeplierGroupesEtOU)
        m_arbre.RendVisibleEtSelectionne(noeud);
}

qint32 Analyse::ajouteGroupes(Noeud* parent, qint32 profondeur) {
    const bool sousOU = parent->LettreType() == u'O';
    const QString dn = parent->DN();
    QList<LdapEntry> lignes;
    if (sousOU) {
        lignes = groupesDeLOU(dn);
        // Every group of the O.U. is asked for at once.
        for (const LdapEntry& g : std::as_const(lignes))
            collecte().Annonce(g.dn, ridAChercher(g));
    } else {
        lignes = collecte().Groupes(dn, std::nullopt);
    }
    // The memberships of the whole list, known beforehand, spare reads when deciding which
    // groups show at O.U. level.
    for (const LdapEntry& g : std::as_const(lignes)) {
        const LdapAttribute* memberOf = g.find(u"memberOf");
        m_memberOf.insert(DnNormalise(g.dn), memberOf ? valeurAttribut(*memberOf) : QVariant());
    }
    Recordset rs(std::move(lignes));

    qint32 nombre = 0;
    for (; !rs.Eof() && !m_interaction.ArretDemande(); rs.MoveNext()) {
        const QString nom = texteChamp(rs, u"Name");
        const QString dnGroupe = texteChamp(rs, u"DistinguishedName");
        const QVariant memberOf = rs.Fields(u"MemberOf");
        const qint32 groupType = rs.Fields(u"GroupType").toInt();

        if (sousOU && !memberOf.isNull() && !montreAuNiveauOU(dnGroupe, memberOf)) {
            m_interaction.TraiteEvenements();
            continue;
        }
        Noeud* noeud = ajouteNoeud(parent, nom, nom, u'G' + dnGroupe, CleTypeGroupe(groupType, false), true);
        if (estRecursif(noeud)) {
            noteRecursif(noeud->Text());
            m_arbre.ChangeImage(noeud, CleTypeGroupe(groupType, true));
            if (m_parametres.DeplierGroupesContenantGroupesRecursifs)
                m_arbre.RendVisibleEtSelectionne(noeud);
        } else {
            const qint32 n = developpeContenu(noeud, profondeur + 1,
                                              RidGroupePrincipal(groupType, rs.Fields(u"objectSid")));
            if (n >= 0)
                nombre += n;
        }
        m_interaction.TraiteEvenements();
    }
    return nombre;
}

Analyse::Appel::~Appel() {
    // The searches still under way when the analysis ends (a Stop) are given up.
    if (--m_analyse.m_appels == 0) {
        m_analyse.m_collecte.reset();
        m_analyse.m_bloc.reset();
    }
}

Noeud* Analyse::ajouteNoeud(Noeud* parent, const QString& nom, const QString& texte, const QString& tag,
                            const QString& image, bool trier) {
    // A sibling of the same name gives a numbered Key rather than ending the expansion.
    return m_arbre.Ajoute(parent, m_arbre.CleLibre(parent, nom), texte, tag, image, trier);
}

void Analyse::afficheProgression(const Noeud* noeud) {
    m_noeudEnCours = noeud->Key();
    m_interaction.ChangeTraitementEnCours(noeud->Key());
    m_interaction.TraiteEvenements();
}

void Analyse::remplaceArbre() {
    m_arbre.Vide();
}

Recordset Analyse::litObjet(const QString& dn, const QStringList& attributs) {
    return m_session.ConnexionAD().Execute(
        searchRequest(dn, SearchScope::Base, u"(objectClass=*)"_s, attributs));
}

qint32 Analyse::erreur(qint32 numero, const QString& texte, int codeLdap) {
    const qint64 absolu = std::llabs(qint64(numero));
    const qint32 resultat = absolu > INT32_MAX ? INT32_MIN : qint32(-absolu);
    m_textesErreurs.insert(resultat, texte);
    m_codesErreurs.insert(resultat, codeLdap);
    return resultat;
}

QString Analyse::baseRecherche() const {
    return m_session.ContexteNommage();
}

QDateTime Analyse::maintenant() {
    // Read once per analysis: the local time costs a look at the time zone each time.
    if (!m_instant)
        m_instant = m_horloge ? m_horloge() : QDateTime::currentDateTime();
    return *m_instant;
}

} // namespace arbrix
