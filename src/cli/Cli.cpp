#include "cli/Cli.h"

#include "cli/ArgumentsCli.h"
#include "cli/CommandeAppartenances.h"
#include "cli/CommandeMessage.h"
#include "cli/CommandeProprietes.h"
#include "cli/CommandesGroupes.h"
#include "cli/InteractionTerminal.h"
#include "cli/ReglagesCli.h"
#include "cli/TextesCli.h"
#include "directory/EchecConnexion.h"
#include "directory/OuvertureAnnuaire.h"
#include "directory/Session.h"
#include "export/EcritureExport.h"
#include "export/Export.h"
#include "i18n/Langue.h"
#include "i18n/Traductions.h"
#include "settings/Cles.h"
#include "settings/Ini.h"
#include "settings/ParametresIni.h"
#include "settings/Valeurs.h"
#include "shell/Demarrage.h"
#include "text/Erreur.h"
#include "text/Journal.h"
#include "text/Texte.h"
#include "text/Version.h"
#include "tree/Analyse.h"
#include "tree/Arbre.h"
#include "tree/LigneCommande.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace arbrix {

namespace {

constexpr int SortieErreur = 1;

// 0 a tree, 2 no object or several to choose from, 1 anything else (a stop included).
int CodeSortie(IssueAnalyse issue) {
    switch (issue) {
    case IssueAnalyse::Arborescence:
        return 0;
    case IssueAnalyse::Introuvable:
    case IssueAnalyse::Plusieurs:
        return 2;
    default:
        return SortieErreur;
    }
}

class ExecutionCli {
public:
    ExecutionCli(const QStringList& arguments, QTextStream& sortie, QTextStream& erreurs)
        : m_lecture(LitArgumentsCli(arguments))
        , m_sortie(sortie)
        , m_erreurs(erreurs) {}

    int Execute() {
        const ArgumentsCli& a = m_lecture.arguments;
        const QString source = a.fichierReglages.value_or(FichierReglagesParDefaut());
        ReglagesCli reglages(source, a.reglages);
        std::optional<ErreurArgumentsCli> erreur = m_lecture.erreur;
        if (!erreur && a.fichierReglages && !QFileInfo(*a.fichierReglages).isFile())
            erreur = ErreurArgumentsCli{CleTexteCli::FichierReglagesIntrouvable, *a.fichierReglages};
        if (!erreur)
            erreur = reglages.Erreur();
        ChargeLangue(reglages.Fichier());
        if (erreur)
            return ErreurArguments(*erreur);
        if (a.aide) {
            m_sortie << TexteCli(CleTexteCli::Aide);
            return 0;
        }
        if (a.version) {
            m_sortie << QStringLiteral("arbrix-cli ") + TexteVersion() + u'\n';
            return 0;
        }
        try {
            m_parametres = LitParametres(reglages.Fichier());
        } catch (const ErreurExecution& e) {
            return Echec(FormateMessage(Traduction(u"MSG_ERREUR_INITIALISATION"), {e.numero(), e.texte()}));
        }
        if (a.bavard)
            ActiveJournalComplet();
        if (!AppliqueAcces())
            return SortieErreur;
        if (a.commande == CommandeArbre)
            return AnalyseEtExporte(LitOptionsExport(reglages.Fichier()));
        if (a.commande == u"send-message")
            return EnvoieMessage();
        return ExecuteCommande(a);
    }

private:
    // The language of the run, as the desktop program chooses it (never written back).
    void ChargeLangue(const QString& fichierIni) {
        const EnvironnementDemarrage environnement = EnvironnementDemarrage::DuSysteme();
        QString langue = LitIni(fichierIni, SectionConfig, CleConfig::Langue, {});
        if (langue.isEmpty()) {
            const ChoixLangue choix =
                ChoisitLangueInitiale(environnement.codeLangue, environnement.dossierLangues);
            if (choix.afficherMessage)
                m_erreurs << TexteTerminal(MessageAucuneTraduction());
            langue = choix.langue;
        }
        ChargeTraductions(CheminFichierLangue(langue, environnement.dossierLangues));
    }

    int ErreurArguments(const ErreurArgumentsCli& erreur) {
        m_erreurs << TexteTerminal(TexteCli(erreur.cle, {erreur.argument}))
                  << TexteTerminal(TexteCli(CleTexteCli::AideCourte));
        return SortieErreur;
    }

    int Echec(const QString& message) {
        m_erreurs << TexteTerminal(message);
        return SortieErreur;
    }

    // --user selects access mode 1; the password never comes from the command line itself.
    bool AppliqueAcces() {
        const ArgumentsCli& a = m_lecture.arguments;
        std::optional<QString> motDePasse;
        if (a.fichierMotDePasse) {
            motDePasse = LitMotDePasse(*a.fichierMotDePasse);
            if (!motDePasse) {
                Echec(TexteCli(CleTexteCli::MotDePasseIllisible, {*a.fichierMotDePasse}));
                return false;
            }
        } else if (qEnvironmentVariableIsSet("ARBRIX_PASSWORD")) {
            motDePasse = qEnvironmentVariable("ARBRIX_PASSWORD");
        }
        if (a.utilisateur) {
            if (!motDePasse || motDePasse->isEmpty()) {
                // An empty password would make an anonymous bind that a server may accept.
                Echec(TexteCli(CleTexteCli::MotDePasseManquant, {*a.utilisateur}));
                return false;
            }
            m_parametres.AccesAD = 1;
            m_parametres.AccesADLogin = *a.utilisateur;
        }
        if (motDePasse)
            m_parametres.AccesADPassword = *motDePasse;
        return true;
    }

    // The first line of the file, without its line break.
    static std::optional<QString> LitMotDePasse(const QString& chemin) {
        QFile fichier(chemin);
        if (!fichier.open(QIODevice::ReadOnly))
            return std::nullopt;
        QString texte = QString::fromUtf8(fichier.readAll());
        const qsizetype fin = texte.indexOf(u'\n');
        if (fin >= 0)
            texte.truncate(fin);
        if (texte.endsWith(u'\r'))
            texte.chop(1);
        return texte;
    }

    int AnalyseEtExporte(OptionsExport options) {
        std::shared_ptr<SessionAD> session = OuvreSession();
        if (!session)
            return SortieErreur;
        Arbre arbre;
        arbre.setAfficherNombreMembres(m_parametres.AfficherNombreMembres);
        InteractionTerminal interaction(m_erreurs);
        Analyse analyse(arbre, *session, m_parametres, interaction);
        LanceAnalyse(analyse);

        const ResultatAnalyse& resultat = analyse.Resultat();
        for (const clsOccurrence& candidat : resultat.candidats)
            m_erreurs << LigneCandidat(candidat) << u'\n';
        // A server that failed half-way: what was read is printed all the same, the status says 1.
        if (resultat.issue == IssueAnalyse::Arborescence || resultat.incomplete) {
            // The whole tree from the root, whatever extent the dialog last used; the type and
            // line ending the command line says, never the dialog's, so that a script's output
            // does not change with what the user last exported.
            const ArgumentsCli& a = m_lecture.arguments;
            options.Etendue = EtendueExport::Complete;
            options.Type = a.typeExport;
            options.FinLigne = a.finLigne.value_or(FinLigneExport::CrLf);
            const std::optional<QString>& fichier = a.fichierSortie;
            if (!fichier) {
                // The documents end with their own line break.
                m_sortie << GenereExportSelonType(*arbre.Racine(), options, false);
                if (options.Type == TypeExport::Texte)
                    m_sortie << u'\n';
            } else if (const std::optional<ErreurExport> erreur =
                           ExporteVersFichier(*arbre.Racine(), options, *fichier)) {
                Echec(MessageErreurExport(*erreur));
                return SortieErreur;
            }
        }
        return CodeSortie(resultat.issue);
    }

    int EnvoieMessage() {
        const ArgumentsCli& a = m_lecture.arguments;
        auto analyseDestinataires = [this](SessionAD& session, Arbre& arbre) -> Noeud* {
            InteractionTerminal interaction(m_erreurs);
            Analyse analyse(arbre, session, m_parametres, interaction);
            LanceAnalyse(analyse);
            for (const clsOccurrence& candidat : analyse.Resultat().candidats)
                m_erreurs << LigneCandidat(candidat) << u'\n';
            return analyse.Resultat().issue == IssueAnalyse::Arborescence ? arbre.Racine() : nullptr;
        };
        return EnvoieMessageCli({m_parametres, a.nomOuDn, a.fichierMessage, a.sujet,
                                 [this] { return OuvreSession(); }, analyseDestinataires},
                                m_sortie, m_erreurs);
    }

    // The commands other than the analysis, by name.
    int ExecuteCommande(const ArgumentsCli& a) {
        static const QHash<QString, int (*)(ContexteCommande&)> commandes = {
            {QStringLiteral("create-group"), &CommandeCreeGroupe},
            {QStringLiteral("rename-group"), &CommandeRenommeGroupe},
            {QStringLiteral("remove-member"), &CommandeRetireMembres},
            {QStringLiteral("delete-group"), &CommandeSupprimeGroupe},
            {QStringLiteral("add-member"), &CommandeAjouteMembres},
            {QStringLiteral("move-member"), &CommandeDeplaceMembres},
            {QStringLiteral("properties"), &CommandeProprietes},
            {QStringLiteral("member-of"), &CommandeAppartenances},
        };
        const auto commande = commandes.constFind(a.commande);
        if (commande == commandes.cend())
            return SortieErreur;
        std::shared_ptr<SessionAD> session = OuvreSession();
        if (!session)
            return SortieErreur;
        ContexteCommande contexte{a, *session, m_parametres, m_sortie, m_erreurs};
        return (*commande)(contexte);
    }

    std::shared_ptr<SessionAD> OuvreSession() {
        const AnnuaireOuvert annuaire = OuvreAnnuaireDemande();
        if (!annuaire.ouvert()) {
            Echec(MessageEchecAnnuaire(annuaire));
            return nullptr;
        }
        const std::shared_ptr<Backend>& backend = annuaire.backend;
        auto session = std::make_shared<SessionAD>(backend, AccesAnnuaire::depuis(m_parametres));
        const ResultatSession resultat = session->Ouvre();
        if (!resultat.reussi()) {
            Echec(MessageEchecSession(resultat, m_parametres.AccesAD, m_parametres.AccesADLogin));
            return nullptr;
        }
        InstalleSession(session);
        return session;
    }

    // --directory outranks ARBRIX_DIRECTORY, which outranks the setting.
    AnnuaireOuvert OuvreAnnuaireDemande() {
        const std::optional<QString>& source = m_lecture.arguments.source;
        if (!source)
            return OuvreAnnuaire(m_parametres.AccesADServeur, m_parametres.DelaiAnnuaire);
        m_parametres.AccesADServeur = *source;
        return OuvreAnnuaire(AnalyseDesignationAnnuaire(*source), m_parametres.DelaiAnnuaire);
    }

    // The desktop program's command-line rule: "OU=" and "CN=" start DNs, anything else is a name
    // searched as the chosen type.
    void LanceAnalyse(Analyse& analyse) {
        const ArgumentsCli& a = m_lecture.arguments;
        const PointDeDepart depart = InterpreteLigneCommande(a.nomOuDn);
        const qint16 mode = qint16(a.mode.value_or(m_parametres.AnalyseParDefaut));
        if (depart.dn.isEmpty())
            analyse.AnalyseTexte(mode, depart.texteRecherche.trimmed(), a.type.value_or(TypeRechercheGroupe));
        else
            analyse.LanceAnalyse(mode, depart.dn);
    }

    AnalyseArgumentsCli m_lecture;
    QTextStream& m_sortie;
    QTextStream& m_erreurs;
    Parametres m_parametres;
};

} // namespace

int runCli(const QStringList& arguments, QTextStream& sortie, QTextStream& erreurs) {
    ExecutionCli execution(arguments, sortie, erreurs);
    const int code = execution.Execute();
    sortie.flush();
    erreurs.flush();
    return code;
}

} // namespace arbrix
