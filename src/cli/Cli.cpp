#include "cli/Cli.h"

#include "cli/ArgumentsCli.h"
#include "cli/InteractionTerminal.h"
#include "cli/ReglagesCli.h"
#include "cli/TextesCli.h"
#include "directory/OuvertureAnnuaire.h"
#include "directory/Session.h"
#include "export/Export.h"
#include "i18n/Langue.h"
#include "i18n/Traductions.h"
#include "settings/Ini.h"
#include "settings/ParametresIni.h"
#include "settings/Valeurs.h"
#include "shell/Demarrage.h"
#include "shell/LigneCommande.h"
#include "text/Erreur.h"
#include "text/Texte.h"
#include "text/Version.h"
#include "tree/Analyse.h"
#include "tree/Arbre.h"

#include <QFile>
#include <QFileInfo>

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

class ExécutionCli {
public:
    ExécutionCli(const QStringList& arguments, QTextStream& sortie, QTextStream& erreurs)
        : m_lecture(LitArgumentsCli(arguments))
        , m_sortie(sortie)
        , m_erreurs(erreurs) {}

    int Exécute() {
        const ArgumentsCli& a = m_lecture.arguments;
        const QString source = a.fichierRéglages.value_or(FichierRéglagesParDéfaut());
        RéglagesCli réglages(source, a.réglages);
        std::optional<ErreurArgumentsCli> erreur = m_lecture.erreur;
        if (!erreur && a.fichierRéglages && !QFileInfo(*a.fichierRéglages).isFile())
            erreur = ErreurArgumentsCli{CléTexteCli::FichierRéglagesIntrouvable, *a.fichierRéglages};
        if (!erreur)
            erreur = réglages.Erreur();
        ChargeLangue(réglages.Fichier());
        if (erreur)
            return ErreurArguments(*erreur);
        if (a.aide) {
            m_sortie << TexteCli(CléTexteCli::Aide);
            return 0;
        }
        try {
            m_paramètres = LitParamètres(réglages.Fichier());
        } catch (const ErreurExécution& e) {
            return Échec(FormateMessage(Traduction(u"MSG_ERREUR_INITIALISATION"), {e.numéro(), e.texte()}));
        }
        if (!AppliqueAccès())
            return SortieErreur;
        return AnalyseEtExporte(LitOptionsExport(réglages.Fichier()));
    }

private:
    // The language of the run, as the desktop program chooses it (never written back).
    void ChargeLangue(const QString& fichierIni) {
        const EnvironnementDémarrage environnement = EnvironnementDémarrage::DuSystème();
        QString langue = LitIni(fichierIni, SectionConfig, QStringLiteral("Langue"), {});
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
        m_erreurs << TexteTerminal(TexteCli(erreur.clé, {erreur.argument}))
                  << TexteTerminal(TexteCli(CléTexteCli::AideCourte));
        return SortieErreur;
    }

    int Échec(const QString& message) {
        m_erreurs << TexteTerminal(message);
        return SortieErreur;
    }

    // --user selects access mode 1; the password never comes from the command line itself.
    bool AppliqueAccès() {
        const ArgumentsCli& a = m_lecture.arguments;
        std::optional<QString> motDePasse;
        if (a.fichierMotDePasse) {
            motDePasse = LitMotDePasse(*a.fichierMotDePasse);
            if (!motDePasse) {
                Échec(TexteCli(CléTexteCli::MotDePasseIllisible, {*a.fichierMotDePasse}));
                return false;
            }
        } else if (qEnvironmentVariableIsSet("ARBRIX_PASSWORD")) {
            motDePasse = qEnvironmentVariable("ARBRIX_PASSWORD");
        }
        if (a.utilisateur) {
            if (!motDePasse || motDePasse->isEmpty()) {
                // An empty password would make an anonymous bind that a server may accept.
                Échec(TexteCli(CléTexteCli::MotDePasseManquant, {*a.utilisateur}));
                return false;
            }
            m_paramètres.AccèsAD = 1;
            m_paramètres.AccèsADLogin = *a.utilisateur;
        }
        if (motDePasse)
            m_paramètres.AccèsADPassword = *motDePasse;
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
        arbre.setAfficherNombreMembres(m_paramètres.AfficherNombreMembres);
        InteractionTerminal interaction(m_erreurs);
        Analyse analyse(arbre, *session, m_paramètres, interaction);
        LanceAnalyse(analyse, interaction);

        const RésultatAnalyse& résultat = analyse.Résultat();
        for (const clsOccurrence& candidat : résultat.candidats)
            m_erreurs << LigneCandidat(candidat) << u'\n';
        if (résultat.issue == IssueAnalyse::Arborescence) {
            // The whole tree from the root, whatever extent the dialog last used.
            options.Etendue = EtendueExport::Complète;
            m_sortie << GénérateurExport(options).GénèreExport(*arbre.Racine(), false) << u'\n';
        }
        return CodeSortie(résultat.issue);
    }

    std::shared_ptr<SessionAD> OuvreSession() {
        const AnnuaireOuvert annuaire = OuvreAnnuaireDemandé();
        if (!annuaire.ouvert()) {
            Échec(Traduction(u"MSG_ERREUR_ACCES_AD") + QStringLiteral("\n") + annuaire.erreur);
            return nullptr;
        }
        const std::shared_ptr<Backend>& backend = annuaire.backend;
        auto session = std::make_shared<SessionAD>(backend, AccesAnnuaire::depuis(m_paramètres));
        const ResultatSession résultat = session->Ouvre();
        if (!résultat.reussi()) {
            const char16_t* clé = résultat.issue == IssueSession::EchecAcces
                                      ? u"MSG_ERREUR_ACCES_AD"
                                      : u"MSG_ERREUR_RECHERCHE_ROOT_AD";
            QString message = Traduction(clé);
            if (!résultat.texte.isEmpty())
                message += QStringLiteral("\n") + résultat.texte;
            Échec(message);
            return nullptr;
        }
        InstalleSession(session);
        return session;
    }

    // --directory outranks ARBRIX_DIRECTORY, which outranks the setting.
    AnnuaireOuvert OuvreAnnuaireDemandé() {
        const std::optional<QString>& source = m_lecture.arguments.source;
        if (!source)
            return OuvreAnnuaire(m_paramètres.AccèsADServeur);
        m_paramètres.AccèsADServeur = *source;
        return OuvreAnnuaire(AnalyseDesignationAnnuaire(*source));
    }

    // The desktop program's command-line rule: "OU=" and "CN=" start DNs, anything else is a name
    // searched as the chosen type.
    void LanceAnalyse(Analyse& analyse, InteractionTerminal& interaction) {
        const ArgumentsCli& a = m_lecture.arguments;
        const PointDeDépart départ = InterprèteLigneCommande(a.nomOuDn);
        const qint16 mode = qint16(a.mode.value_or(m_paramètres.AnalyseParDéfaut));
        if (départ.dn.isEmpty()) {
            interaction.ChangeTypeRecherche(a.type.value_or(TypeRechercheGroupe));
            interaction.ChangeTexteRecherche(départ.texteRecherche.trimmed());
        } else {
            interaction.ChangeTypeRecherche(départ.type);
        }
        analyse.LanceAnalyse(mode, départ.dn);
    }

    AnalyseArgumentsCli m_lecture;
    QTextStream& m_sortie;
    QTextStream& m_erreurs;
    Paramètres m_paramètres;
};

} // namespace

int runCli(const QStringList& arguments, QTextStream& sortie, QTextStream& erreurs) {
    ExécutionCli exécution(arguments, sortie, erreurs);
    const int code = exécution.Exécute();
    sortie.flush();
    erreurs.flush();
    return code;
}

} // namespace arbrix
